#include "app/TFPreferences.h"

#include "board/WidgetBoardsPage.h"
#include "protocol/ClientSession.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit* makeEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QWidget* makeSheet(const char* name)
{
    auto* sheet = new QWidget;
    sheet->setObjectName(QLatin1String(name));
    return sheet;
}

} // namespace

TFPreferences::TFPreferences(ClientSession& session, QWidget* parent)
    : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("FPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setModal(true);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    // Every tab's caption in full: the window is as wide as the row of tabs.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->tabBar()->setElideMode(Qt::ElideNone);
    PageControl1->addTab(buildGeneral(), QStringLiteral("General"));
    PageControl1->addTab(buildOwnInfo(), QStringLiteral("Own info"));
    PageControl1->addTab(buildMessages(), QStringLiteral("Messages"));
    TabSheet2 = new WidgetBoardsPage(session_.AppFolder);
    connect(TabSheet2, &WidgetBoardsPage::themeReloadWanted, this,
            &TFPreferences::themeReloadWanted);
    PageControl1->addTab(TabSheet2, QStringLiteral("Board"));
    PageControl1->addTab(buildProfile(), QStringLiteral("Profile"));
    // The programmable buttons' editor comes with the buttons themselves.
    TabSheet4 = makeSheet("TabSheet4");
    PageControl1->addTab(TabSheet4, QStringLiteral("Programmable buttons"));

    BOk = new QPushButton(QStringLiteral("Ok"), this);
    BOk->setObjectName(QStringLiteral("BOk"));
    BOk->setDefault(true);
    BCancel = new QPushButton(QStringLiteral("Cancel"), this);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Fill();
}

QWidget* TFPreferences::buildGeneral()
{
    General = makeSheet("General");
    CBSound = makeCheckBox(General, "CBSound", QStringLiteral("Enable sound."));
    CBConfirmDoubles =
        makeCheckBox(General, "CBConfirmDoubles", QStringLiteral("Confirm doubles and takes"));
    CBSaveWatched = makeCheckBox(General, "CBSaveWatched", QStringLiteral("Save watched matches."));
    CBSavePlayed = makeCheckBox(General, "CBSavePlayed", QStringLiteral("Save played matches."));
    CBShowMessages = makeCheckBox(General, "CBShowMessages",
                                  QStringLiteral("Show message at the end of a game or match."));
    CBAutologin = makeCheckBox(General, "CBAutologin",
                               QStringLiteral("auto log in with last login/password."));
    CBHideShouts = makeCheckBox(General, "CBHideShouts", QStringLiteral("Hide shouts"));
    CBShowChatTab = makeCheckBox(General, "CBShowChatTab",
                                 QStringLiteral("Show Chat tab when someone speak to me"));
    CBDebug = makeCheckBox(General, "CBDebug", QStringLiteral("Debug mode on"));
    CBFontSize = new QComboBox(General);
    CBFontSize->setObjectName(QStringLiteral("CBFontSize"));
    CBFontSize->addItems({QStringLiteral("Default"), QStringLiteral("8"), QStringLiteral("10"),
                          QStringLiteral("12")});

    auto* font = new QHBoxLayout;
    auto* fontCaption = new QLabel(QStringLiteral("Font size : "), General);
    fontCaption->setBuddy(CBFontSize);
    font->addWidget(fontCaption);
    font->addWidget(CBFontSize);
    font->addStretch(1);
    auto* layout = new QVBoxLayout(General);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    for (QCheckBox* box : {CBSound, CBConfirmDoubles, CBSaveWatched, CBSavePlayed, CBShowMessages,
                           CBAutologin, CBHideShouts, CBShowChatTab, CBDebug})
        layout->addWidget(box);
    layout->addSpacing(6);
    layout->addLayout(font);
    layout->addStretch(1);
    return General;
}

QWidget* TFPreferences::buildOwnInfo()
{
    OwnInfoSheet = makeSheet("OwnInfo");
    const struct {
        QCheckBox** box;
        const char* name;
        const char* caption;
        const char* explanation;
    } boxes[] = {
        {&CBAutodouble, "CBAutodouble", "Autodouble",
         "If checked, you agree that doublets during opening double the cube."},
        {&CBAutomove, "CBAutomove", "Automove",
         "If checked,  forced moves will be done automatically."},
        {&CBCrawford, "CBCrawford", "Crawford",
         "If checked, you insist on playing with the crawford rule. "},
        {&CBDouble, "CBDouble", "Double", "If checked, you will be asked if you want to double. "},
        {&CBGreedy, "CBGreedy", "Greedy", "If checked, will use automatic greedy bearoffs."},
        {&CBReady, "CBReady", "Ready", "If checked, you're ready to invite or join someone. "},
        {&CBSilent, "CBSilent", "Silent", "If checked, you won't hear what other players shout. "},
        {&CBRatings, "CBRatings", "Ratings",
         "If checked, FIBS will sends a descriptive ratings calculation at the end of the match"},
    };
    auto* grid = new QGridLayout(OwnInfoSheet);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    int row = 0;
    for (const auto& b : boxes) {
        *b.box = makeCheckBox(OwnInfoSheet, b.name, QLatin1String(b.caption));
        auto* explanation = new QLabel(QLatin1String(b.explanation), OwnInfoSheet);
        explanation->setObjectName(QLatin1String("L") + QLatin1String(b.caption));
        grid->addWidget(*b.box, row, 0);
        grid->addWidget(explanation, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return OwnInfoSheet;
}

QWidget* TFPreferences::buildMessages()
{
    TabSheet1 = makeSheet("TabSheet1");
    EDecline = makeEdit(TabSheet1, "EDecline");
    Egreting = makeEdit(TabSheet1, "Egreting");
    EEndMessage = makeEdit(TabSheet1, "EEndMessage");
    auto* layout = new QVBoxLayout(TabSheet1);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(4);
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"Decline message : ", EDecline},
        {"Greting message : ", Egreting},
        {"Thank message  send at the end of a match : ", EEndMessage}};
    for (const auto& [caption, edit] : rows) {
        auto* label = new QLabel(QLatin1String(caption), TabSheet1);
        label->setBuddy(edit);
        layout->addWidget(label);
        layout->addWidget(edit);
        layout->addSpacing(8);
    }
    layout->addStretch(1);
    return TabSheet1;
}

QWidget* TFPreferences::buildProfile()
{
    TabSheet3 = makeSheet("TabSheet3");

    auto* name = new QGroupBox(QStringLiteral("Name"), TabSheet3);
    name->setObjectName(QStringLiteral("GBName"));
    EFirstName = makeEdit(name, "EFirstName");
    Elast = makeEdit(name, "Elast");
    auto* names = new QFormLayout(name);
    names->addRow(QStringLiteral("First : "), EFirstName);
    names->addRow(QStringLiteral("Last : "), Elast);

    RGGender = new QGroupBox(QStringLiteral("Gender"), TabSheet3);
    RGGender->setObjectName(QStringLiteral("RGGender"));
    GenderItems = new QButtonGroup(RGGender);
    auto* genders = new QVBoxLayout(RGGender);
    const QString genderCaptions[] = {QStringLiteral("Unknown"), QStringLiteral("Female"),
                                      QStringLiteral("Male"), QStringLiteral("Computer")};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QRadioButton(genderCaptions[i], RGGender);
        item->setObjectName(QStringLiteral("RGGender%1").arg(i));
        GenderItems->addButton(item, i);
        genders->addWidget(item);
    }

    auto* country = new QGroupBox(QStringLiteral("Country"), TabSheet3);
    country->setObjectName(QStringLiteral("GBCountry"));
    CBCountries = new QComboBox(country);
    CBCountries->setObjectName(QStringLiteral("CBCountries"));
    CBCountries->setMaxVisibleItems(20);
    auto* countryLayout = new QVBoxLayout(country);
    countryLayout->addWidget(CBCountries);

    auto* email = new QGroupBox(QStringLiteral("Email address"), TabSheet3);
    email->setObjectName(QStringLiteral("GBEmail"));
    EEMail = makeEdit(email, "EEMail");
    auto* emailLayout = new QVBoxLayout(email);
    emailLayout->addWidget(EEMail);

    auto* left = new QVBoxLayout;
    left->addWidget(name);
    left->addWidget(country);
    left->addWidget(email);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(RGGender);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(TabSheet3);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    return TabSheet3;
}

void TFPreferences::Fill()
{
    const TPreferencesValues v = PreferencesValuesOf(session_);
    const std::pair<QCheckBox*, bool> boxes[] = {
        {CBSound, v.EnableSound},          {CBConfirmDoubles, v.ConfirmDoubles},
        {CBSaveWatched, v.SaveWatchedMatches}, {CBSavePlayed, v.SavePlayedMatches},
        {CBShowMessages, v.ShowEndGameMessage}, {CBAutologin, v.Autologin},
        {CBHideShouts, v.HideShouts},      {CBShowChatTab, v.ShowChatTab},
        {CBDebug, v.Debug},                {CBAutodouble, v.AutoDouble},
        {CBAutomove, v.AutoMove},          {CBCrawford, v.Crawford},
        {CBDouble, v.Double},              {CBGreedy, v.Greedy},
        {CBReady, v.Ready},                {CBSilent, v.Silent},
        {CBRatings, v.Ratings}};
    for (const auto& [box, checked] : boxes)
        box->setChecked(checked);
    // A size the list does not offer is applied as "Default", and shown so.
    CBFontSize->setCurrentIndex(std::max(0, CBFontSize->findText(v.FontSize)));

    EDecline->setText(v.DeclineMessage);
    Egreting->setText(v.GreetingMessage);
    EEndMessage->setText(v.EndMessage);

    TabSheet2->Fill(session_.Settings, session_.BoardDescription.BoardName);

    EFirstName->setText(v.FirstName);
    Elast->setText(v.LastName);
    if (QAbstractButton* item = GenderItems->button(v.Gender))
        item->setChecked(true);
    CBCountries->clear();
    CBCountries->addItems(session_.CountryNames);
    const bool listed = v.Country >= 0 && v.Country < CBCountries->count();
    CBCountries->setCurrentIndex(listed ? v.Country : -1);
    EEMail->setText(v.EMail);
}

TPreferencesValues TFPreferences::Values() const
{
    TPreferencesValues v = PreferencesValuesOf(session_);
    v.EnableSound = CBSound->isChecked();
    v.ConfirmDoubles = CBConfirmDoubles->isChecked();
    v.SaveWatchedMatches = CBSaveWatched->isChecked();
    v.SavePlayedMatches = CBSavePlayed->isChecked();
    v.ShowEndGameMessage = CBShowMessages->isChecked();
    v.Autologin = CBAutologin->isChecked();
    v.HideShouts = CBHideShouts->isChecked();
    v.ShowChatTab = CBShowChatTab->isChecked();
    v.Debug = CBDebug->isChecked();
    v.FontSize = CBFontSize->currentText();
    v.AutoDouble = CBAutodouble->isChecked();
    v.AutoMove = CBAutomove->isChecked();
    v.Crawford = CBCrawford->isChecked();
    v.Double = CBDouble->isChecked();
    v.Greedy = CBGreedy->isChecked();
    v.Ready = CBReady->isChecked();
    v.Silent = CBSilent->isChecked();
    v.Ratings = CBRatings->isChecked();
    v.DeclineMessage = EDecline->text();
    v.GreetingMessage = Egreting->text();
    v.EndMessage = EEndMessage->text();
    v.FirstName = EFirstName->text();
    v.LastName = Elast->text();
    // With nothing chosen (no country table, a hand-edited number) the stored value stays.
    if (GenderItems->checkedId() >= 0)
        v.Gender = GenderItems->checkedId();
    if (CBCountries->currentIndex() >= 0)
        v.Country = CBCountries->currentIndex();
    v.EMail = EEMail->text();
    return v;
}

void TFPreferences::ApplyOk()
{
    ApplyPreferences(session_, Values(), [this](TSettings& settings, SettingsFile& file) {
        TabSheet2->ApplyBoardSettings(settings, file);
    });
}

void TFPreferences::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TFPreferences::FormClose()
{
    TabSheet2->ReleasePreviews();
}
