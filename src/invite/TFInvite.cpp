#include "invite/TFInvite.h"

#include "invite/Invitations.h"
#include "protocol/ClientSession.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("UpDown"));
    Up = new QToolButton(this);
    Up->setArrowType(Qt::UpArrow);
    Down = new QToolButton(this);
    Down->setArrowType(Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {Up, Down}) {
        button->setAutoRepeat(true);
        button->setFixedSize(18, 12);
        layout->addWidget(button);
    }
    connect(Up, &QToolButton::clicked, this, [this] { Propose(position_ + 1); });
    connect(Down, &QToolButton::clicked, this, [this] { Propose(position_ - 1); });
}

void TUpDown::Propose(int value)
{
    if (Changing && Changing(value))
        position_ = value;
}

TFInvite::TFInvite(ClientSession& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("FInvite"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowStaysOnTopHint);

    EMatchLength = new QLineEdit(this);
    EMatchLength->setObjectName(QStringLiteral("EMatchLength"));
    EMatchLength->setReadOnly(true);
    EMatchLength->setFixedWidth(130);
    UpDown = new TUpDown(this);
    Label1 = PlainLabel(this, "Label1");
    Label1->setText(QStringLiteral("points match."));
    Label2 = PlainLabel(this, "Label2");
    static_cast<TStakesWidgets&>(*this) = MakeStakesWidgets(this);

    BInvite = new QPushButton(QStringLiteral("Invite"), this);
    BInvite->setObjectName(QStringLiteral("BInvite"));
    BInvite->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* length = new QHBoxLayout;
    length->addWidget(EMatchLength);
    length->addWidget(UpDown);
    length->addWidget(Label1);
    length->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BInvite);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(length);
    layout->addWidget(Label2);
    layout->addWidget(Memo1);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    UpDown->SetPosition(session_.InviteWindow.Length);
    UpDown->Changing = [this](int value) { return InviteUpDownChanging(session_, value); };
    connect(BInvite, &QPushButton::clicked, this, &TFInvite::BInviteClick);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(&session_.InviteWindow, &InviteWindowModel::changed, this, &TFInvite::ShowContent);
    ShowContent();
}

void TFInvite::ShowContent()
{
    const InviteWindowModel& w = session_.InviteWindow;
    setWindowTitle(w.Caption);
    EMatchLength->setText(w.EMatchLength);
    Label2->setText(w.Label2);
    if (Memo1->toPlainText() != w.Memo1.join(QChar('\n')))
        Memo1->setPlainText(w.Memo1.join(QChar('\n')));
    BInvite->setText(w.BInvite);
    const TProbabilitiesBox& p = w.Probabilities;
    LProb->setText(p.LProb);
    LWin->setText(p.LWin);
    LLose->setText(p.LLose);
    LProb->setVisible(p.LProbVisible);
    LWin->setVisible(p.LWinVisible);
    LLose->setVisible(p.LLoseVisible);
}

void TFInvite::BInviteClick()
{
    done(session_.InviteWindow.Busy ? AutoInviteResult : Accepted);
}

void TFInvite::done(int result)
{
    InviteFormClose(session_, result == Accepted           ? InviteResult::Invite
                                  : result == AutoInviteResult ? InviteResult::AutoInvite
                                                               : InviteResult::Cancel);
    QDialog::done(result);
}

void TFInvite::keyPressEvent(QKeyEvent* event)
{
    // The arrow keys move the length as the arrows beside it do.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        UpDown->Propose(UpDown->Position() + (event->key() == Qt::Key_Up ? 1 : -1));
        return;
    }
    QDialog::keyPressEvent(event);
}
