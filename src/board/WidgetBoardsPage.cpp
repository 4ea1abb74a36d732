#include "board/WidgetBoardsPage.h"

#include "app/SettingsFile.h"
#include "board/BoardTheme.h"
#include "model/TSettings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

QLabel* makePictureBox(QWidget* parent, const char* name, QSize size)
{
    auto* box = new QLabel(parent);
    box->setObjectName(QLatin1String(name));
    box->setFixedSize(size);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return box;
}

// A checker preview: the box cleared with a framed rectangle, the checker centred by the
// blue checker's size.
QPixmap checkerPreview(const QImage& checker, QSize blueSize, int side)
{
    QImage box(side, side, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&box);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.fillRect(box.rect(), Qt::white);
    painter.drawRect(box.rect().adjusted(0, 0, -1, -1));
    if (!checker.isNull()) {
        const int x = int(std::nearbyint((side - blueSize.height()) / 2.0));
        const int y = int(std::nearbyint((side - blueSize.width()) / 2.0));
        painter.drawImage(x, y, checker);
    }
    painter.end();
    return QPixmap::fromImage(box);
}

} // namespace

WidgetBoardsPage::WidgetBoardsPage(const QString& appFolder, QWidget* parent)
    : QWidget(parent), appFolder_(appFolder)
{
    // DefaultBoard is the program folder followed by the stored relative path.
    if (!appFolder_.isEmpty() && !appFolder_.endsWith(QChar('/')) && !appFolder_.endsWith(QChar('\\')))
        appFolder_.append(QChar('/'));
    setObjectName(QStringLiteral("TabSheet2"));

    LVBoards = new QTreeWidget(this);
    LVBoards->setObjectName(QStringLiteral("LVBoards"));
    LVBoards->setColumnCount(1);
    LVBoards->setHeaderLabels({QStringLiteral("Board Name")});
    LVBoards->setRootIsDecorated(false);
    LVBoards->setSelectionMode(QAbstractItemView::SingleSelection);
    LVBoards->setFixedWidth(150);

    IpreviewBoard = makePictureBox(this, "IpreviewBoard", PreviewBoardSize);
    const QSize checkerBox(PreviewCheckerSide, PreviewCheckerSide);
    IPreviewCheckerBlue = makePictureBox(this, "IPreviewCheckerBlue", checkerBox);
    IPreviewCheckerRed = makePictureBox(this, "IPreviewCheckerRed", checkerBox);

    RadioButton1 = new QRadioButton(this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));

    MAbout = new QPlainTextEdit(this);
    MAbout->setObjectName(QStringLiteral("MAbout"));
    MAbout->setReadOnly(true);

    TBAnimationSpeed = new QSlider(Qt::Horizontal, this);
    TBAnimationSpeed->setObjectName(QStringLiteral("TBAnimationSpeed"));
    TBAnimationSpeed->setRange(0, 10);
    TBAnimationSpeed->setPageStep(1);
    TBAnimationSpeed->setTickPosition(QSlider::TicksBelow);
    TBAnimationSpeed->setTickInterval(1);

    auto* top = new QHBoxLayout;
    top->addWidget(LVBoards);
    top->addWidget(IpreviewBoard, 0, Qt::AlignTop);
    top->addStretch(1);

    auto* checkers = new QHBoxLayout;
    checkers->addWidget(IPreviewCheckerBlue);
    checkers->addWidget(RadioButton1);
    checkers->addSpacing(24);
    checkers->addWidget(IPreviewCheckerRed);
    checkers->addWidget(RadioButton2);
    checkers->addStretch(1);

    auto* speed = new QHBoxLayout;
    speed->addWidget(new QLabel(QStringLiteral("Animation speed : "), this));
    speed->addWidget(TBAnimationSpeed, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Choose your checkers : "), this));
    layout->addLayout(checkers);
    layout->addWidget(new QLabel(QStringLiteral("About :"), this));
    layout->addWidget(MAbout, 1);
    layout->addLayout(speed);

    connect(LVBoards, &QTreeWidget::currentItemChanged, this, &WidgetBoardsPage::LVBoardsChange);
}

void WidgetBoardsPage::Fill(const TSettings& settings, const QString& currentBoardName)
{
    currentBoardName_ = currentBoardName;
    const QSignalBlocker quiet(LVBoards);
    LVBoards->clear();
    for (const QString& caption : ListBoardThemes(appFolder_))
        LVBoards->addTopLevelItem(new QTreeWidgetItem(QStringList{caption}));
    LVBoards->setCurrentItem(nullptr);
    (settings.PlayWithBlueChecker ? RadioButton1 : RadioButton2)->setChecked(true);
    TBAnimationSpeed->setValue(settings.AnimationSpeed);
}

void WidgetBoardsPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        TabSheet2Show();
}

void WidgetBoardsPage::TabSheet2Show()
{
    LVBoards->setFocus();
    const QList<QTreeWidgetItem*> current =
        LVBoards->findItems(currentBoardName_, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (!current.isEmpty()) {
        const QSignalBlocker quiet(LVBoards);
        LVBoards->setCurrentItem(current.constFirst());
        showPreview(current.constFirst()->text(0));
    }
}

void WidgetBoardsPage::LVBoardsChange()
{
    const QTreeWidgetItem* item = LVBoards->currentItem();
    if (item && !item->text(0).isEmpty())
        showPreview(item->text(0));
}

void WidgetBoardsPage::showPreview(const QString& caption)
{
    const TThemePreview preview = LoadThemePreview(appFolder_, caption);
    IpreviewBoard->setPixmap(
        preview.Board.isNull()
            ? QPixmap()
            : QPixmap::fromImage(preview.Board.scaled(PreviewBoardSize, Qt::KeepAspectRatio,
                                                      Qt::SmoothTransformation)));
    const QSize blueSize = preview.BlueChecker.size();
    IPreviewCheckerBlue->setPixmap(checkerPreview(preview.BlueChecker, blueSize, PreviewCheckerSide));
    IPreviewCheckerRed->setPixmap(checkerPreview(preview.RedChecker, blueSize, PreviewCheckerSide));
    MAbout->setPlainText(preview.About);
}

void WidgetBoardsPage::ReleasePreviews()
{
    IpreviewBoard->clear();
    IPreviewCheckerBlue->clear();
    IPreviewCheckerRed->clear();
}

void WidgetBoardsPage::ApplyBoardSettings(TSettings& settings, SettingsFile& file)
{
    settings.AnimationSpeed = TBAnimationSpeed->value();
    file.writeInt("Settings", QStringLiteral("AnimationSpeed"), settings.AnimationSpeed);
    if (const QTreeWidgetItem* item = LVBoards->currentItem(); item && item->isSelected()) {
        const QString caption = item->text(0);
        if (caption != currentBoardName_) {
            const QString relative = QStringLiteral("Themes\\%1\\%1.ini").arg(caption);
            file.writeString("Board", QStringLiteral("DefaultBoard"), relative);
            settings.DefaultBoard = appFolder_ + relative;
        }
        settings.PlayWithBlueChecker = RadioButton1->isChecked();
        file.writeBool("Board", QStringLiteral("Playwithbluechecker"), settings.PlayWithBlueChecker);
    }
    emit themeReloadWanted();
}
