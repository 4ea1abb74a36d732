#include "app/TFConnect.h"

#include "protocol/ClientSession.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLineEdit* makeEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumWidth(180);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFConnect::TFConnect(ClientSession& session, QWidget* parent)
    : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("FConnect"));
    setWindowTitle(QStringLiteral("Connect"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    GBAccount = new QGroupBox(QStringLiteral("Account"), this);
    GBAccount->setObjectName(QStringLiteral("GBAccount"));
    EUserName = makeEdit(GBAccount, "EUserName");
    EPAssword = makeEdit(GBAccount, "EPAssword");
    EPAssword->setEchoMode(QLineEdit::Password);
    EPAssword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    auto* account = new QFormLayout(GBAccount);
    account->addRow(QStringLiteral("User name :"), EUserName);
    account->addRow(QStringLiteral("Password : "), EPAssword);

    GBConnection = new QGroupBox(QStringLiteral("Connection"), this);
    GBConnection->setObjectName(QStringLiteral("GBConnection"));
    EServer = makeEdit(GBConnection, "EServer");
    EPort = makeEdit(GBConnection, "EPort");
    auto* connection = new QFormLayout(GBConnection);
    connection->addRow(QStringLiteral("Server : "), EServer);
    connection->addRow(QStringLiteral("Port : "), EPort);

    // The edits of both groups start at the same place.
    QList<QWidget*> labels;
    for (QFormLayout* form : {account, connection})
        for (int row = 0; row < form->rowCount(); ++row)
            labels << form->itemAt(row, QFormLayout::LabelRole)->widget();
    int labelWidth = 0;
    for (QWidget* label : labels)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QWidget* label : labels)
        label->setMinimumWidth(labelWidth);

    CBStorePassWord = new QCheckBox(QStringLiteral("Store password"), this);
    CBStorePassWord->setObjectName(QStringLiteral("CBStorePassWord"));

    BOk = makeButton(this, "BOk", QStringLiteral("Connect"));
    BOk->setDefault(true);
    BCancel = makeButton(this, "BCancel", QStringLiteral("Cancel"));
    BCreateAccount = makeButton(this, "BCreateAccount", QStringLiteral("Create account"));
    connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BCreateAccount, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(EUserName, &QLineEdit::textChanged, this, &TFConnect::EUserNameChange);
    connect(EPAssword, &QLineEdit::textChanged, this, &TFConnect::EPAsswordChange);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCreateAccount);
    buttons->addStretch(1);
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(GBAccount);
    layout->addWidget(GBConnection);
    layout->addWidget(CBStorePassWord);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFConnect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFConnect::FormShow()
{
    const TConnectValues v = ConnectValuesOf(session_.Settings);
    EUserName->setText(v.Username);
    EPAssword->setText(v.Password);
    EServer->setText(v.Server);
    EPort->setText(v.Port);
    CBStorePassWord->setChecked(v.StorePassword);
    enableButtons();
}

void TFConnect::EUserNameChange()
{
    enableButtons();
}

void TFConnect::EPAsswordChange()
{
    enableButtons();
}

void TFConnect::enableButtons()
{
    const bool usable = EUserName->text().size() > 2 && EPAssword->text().size() > 3;
    BOk->setEnabled(usable);
    BCreateAccount->setEnabled(usable);
}

void TFConnect::done(int result)
{
    FormCloseQuery();
    QDialog::done(result);
}

void TFConnect::FormCloseQuery()
{
    SaveConnectSettings(session_, Values());
}

ConnectChoice TFConnect::Choice() const
{
    switch (result()) {
    case Accepted:
        return ConnectChoice::Connect;
    case Yes:
        return ConnectChoice::CreateAccount;
    default:
        return ConnectChoice::Cancel;
    }
}

TConnectValues TFConnect::Values() const
{
    return {EServer->text(), EPort->text(), EUserName->text(), EPAssword->text(),
            CBStorePassWord->isChecked()};
}
