#include "invite/TFJoin.h"

#include "invite/Invitations.h"
#include "protocol/ClientSession.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFJoin::TFJoin(ClientSession& session, QWidget* owner)
    : QDialog(nullptr), session_(session), owner_(owner)
{
    setObjectName(QStringLiteral("FJoin"));
    setModal(false);
    // An open invitation does not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowStaysOnTopHint);

    Label1 = PlainLabel(this, "Label1");
    Label1->setWordWrap(true);
    Label2 = PlainLabel(this, "Label2");
    Label3 = PlainLabel(this, "Label3");
    Label3->hide();
    ESavedGames = PlainLabel(this, "ESavedGames");
    ESavedGames->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    ESavedGames->hide();
    static_cast<TStakesWidgets&>(*this) = MakeStakesWidgets(this);

    BOk = new QPushButton(QStringLiteral("Join"), this);
    BOk->setObjectName(QStringLiteral("BOk"));
    Button2 = new QPushButton(QStringLiteral("Decline"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BOk);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label3);
    layout->addWidget(ESavedGames);
    layout->addWidget(Label2);
    layout->addWidget(Memo1);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(BOk, &QPushButton::clicked, this, [this] { JoinBOkClick(session_); });
    connect(Button2, &QPushButton::clicked, this, [this] { JoinButton2Click(session_); });
    connect(&session_.JoinWindow, &JoinWindowModel::changed, this, &TFJoin::ShowContent);
    ShowContent();
}

void TFJoin::ShowContent()
{
    const JoinWindowModel& w = session_.JoinWindow;
    setWindowTitle(w.Caption);
    Label1->setText(w.Label1);
    Label2->setText(w.Label2);
    Label3->setText(w.Label3);
    ESavedGames->setText(w.ESavedGames);
    ESavedGames->setVisible(w.ESavedGamesVisible);
    Memo1->setPlainText(w.Memo1.join(QChar('\n')));
    const TProbabilitiesBox& p = w.Probabilities;
    GroupBox1->setVisible(p.GroupBox1Visible);
    LProb->setText(p.LProb);
    LWin->setText(p.LWin);
    LLose->setText(p.LLose);
    LProb->setVisible(p.LProbVisible);
    LWin->setVisible(p.LWinVisible);
    LLose->setVisible(p.LLoseVisible);
    adjustSize();
    if (w.Visible && !isVisible())
        show();
    else if (!w.Visible && isVisible())
        hide();
}

void TFJoin::ShowInFront()
{
    if (!session_.JoinWindow.Visible)
        return;
    show();
    raise();
    activateWindow();
}

void TFJoin::showEvent(QShowEvent* event)
{
    if (owner_)
        move(owner_->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TFJoin::closeEvent(QCloseEvent* event)
{
    JoinFormClose(session_);
    QDialog::closeEvent(event);
}
