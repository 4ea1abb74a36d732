// The invite, join and auto-invite windows over a headless session with recording ports.
#include "invite/Invitations.h"
#include "invite/TFAutoInvite.h"
#include "invite/TFInvite.h"
#include "invite/TFJoin.h"
#include "protocol/ClientSession.h"
#include "protocol/MatchStartStretch.h"
#include "protocol/RecordingPorts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

namespace {

QStringList column(QTreeView* view, int c)
{
    QStringList out;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        out << view->model()->index(row, c).data().toString();
    return out;
}

} // namespace

class TestInviteWindows : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    RecordingPorts rec_;
    std::unique_ptr<ClientSession> session_;

    void receive(const QByteArray& lines)
    {
        session_->IdTelnetDataAvailable(lines);
        rec_.clock.runUntilIdle();
    }
    QByteArray takeSent()
    {
        rec_.clock.runUntilIdle();
        const QByteArray sent = rec_.link.sent;
        rec_.link.sent.clear();
        return sent;
    }

private slots:
    void init()
    {
        // The figures below are written with a decimal point, whatever the machine's locale.
        QLocale::setDefault(QLocale::c());
        rec_.link.connected = true;
        rec_.link.sent.clear();
        session_ = std::make_unique<ClientSession>(folder_.path(), rec_.ports());
        session_->FirstDataSeen = true;
        session_->OwnInfo.Rating = 1500;
        session_->OwnInfo.Experience = 100;
        receive("5 bob - - 1 0 1600.00 400 0 1593778125 host - -\r\n"
                "5 carol dave - 1 0 1500.00 20 0 1593778125 host - -\r\n6\r\n");
    }

    void inviteWindowChoosesTheLengthAndInvites()
    {
        SelectPlayer(*session_, QStringLiteral("bob"));
        QVERIFY(Invite1Click(*session_));
        TFInvite window(*session_);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Invite bob"));
        QCOMPARE(window.EMatchLength->text(), QStringLiteral("5"));
        QCOMPARE(window.Label2->text(), QStringLiteral("bob profile :"));
        QCOMPARE(window.Memo1->toPlainText(),
                 QStringLiteral("Name : bob\nRating : 1600\nExperience : 400"));
        QCOMPARE(window.LProb->text(), QStringLiteral("Your probability to win this match is 44 %"));
        QVERIFY(window.LWin->isVisible());
        QCOMPARE(window.BInvite->text(), QStringLiteral("Invite"));

        // Down to 0: resume, no stakes; one step further is refused.
        for (int i = 0; i < 6; ++i)
            window.UpDown->Down->click();
        QCOMPARE(window.UpDown->Position(), 0);
        QCOMPARE(window.EMatchLength->text(), QStringLiteral("Resume saved game"));
        QVERIFY(!window.LProb->isVisible());
        window.UpDown->Propose(100);
        QTest::keyClick(&window, Qt::Key_Up);
        QCOMPARE(window.UpDown->Position(), 100);
        QCOMPARE(window.EMatchLength->text(), QStringLiteral("Unlimited match"));
        QVERIFY(window.LProb->isVisible());

        takeSent();
        window.BInvite->click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(takeSent(), QByteArray("Invite bob unlimited\r\n"));
        QVERIFY(session_->OwnInfo.Ready);
        QVERIFY(!session_->InviteWindow.Open);
    }

    void busyPlayerIsKeptForAnAutomaticInvitation()
    {
        SelectPlayer(*session_, QStringLiteral("carol"));
        QVERIFY(Invite1Click(*session_));
        {
            TFInvite window(*session_);
            window.show();
            QCOMPARE(window.BInvite->text(), QStringLiteral("AutoInvite"));
            window.UpDown->Up->click();
            takeSent();
            window.BInvite->click();
            QCOMPARE(window.result(), TFInvite::AutoInviteResult);
        }
        QVERIFY(takeSent().isEmpty());
        session_->AutoInviteNames << QStringLiteral("bob");
        session_->AutoInviteLengths << QStringLiteral("0");

        TFAutoInvite list(*session_);
        QCOMPARE(list.windowTitle(), QStringLiteral("AutoInvite"));
        QCOMPARE(column(list.LVAutoInvite, 0), QStringList({"carol", "bob"}));
        QCOMPARE(column(list.LVAutoInvite, 1), QStringList({"6", "0"}));
        list.BDelete->click();
        QCOMPARE(session_->AutoInviteNames.size(), 2);
        list.LVAutoInvite->setCurrentIndex(list.LVAutoInvite->model()->index(0, 0));
        list.BDelete->click();
        QCOMPARE(column(list.LVAutoInvite, 0), QStringList({"bob"}));
        QCOMPARE(session_->AutoInviteNames, QStringList({"bob"}));
        QCOMPARE(session_->AutoInviteLengths, QStringList({"0"}));
    }

    void joinWindowFollowsTheInvitations()
    {
        TFJoin window(*session_);
        QVERIFY(!window.isVisible());
        session_->SavedGames = {{QStringLiteral("bob"), QStringLiteral("3"), QStringLiteral("1 - 0")}};
        receive("bob wants to play a 5 point match with you.\r\n");
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("Join bob"));
        QCOMPARE(window.Label1->text(), QStringLiteral("bob wants to play a 5 point match with you."));
        QVERIFY(window.ESavedGames->isVisible());
        QCOMPARE(window.ESavedGames->text(), QStringLiteral("Warning : You have a saved game with bob"));
        QCOMPARE(window.LWin->text(),
                 QStringLiteral("If you win, your rating will increase by 19.93 points"));

        // Escape does not dismiss it; a second invitation refreshes it.
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        receive("carol wants to resume a saved match with you.\r\n");
        QCOMPARE(window.windowTitle(), QStringLiteral("Join carol"));
        QCOMPARE(window.Memo1->toPlainText(),
                 QStringLiteral("Name : carol\nRating : 1500\nExperience : 20"));
        QVERIFY(!window.ESavedGames->isVisible());
        QVERIFY(!window.GroupBox1->isVisible());

        takeSent();
        session_->Settings.DeclineMessage = QStringLiteral("Not now, playername.");
        window.Button2->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(takeSent(), QByteArray("tell carol Not now, carol.\r\n"));

        receive("bob wants to play a 1 point match with you.\r\n");
        QVERIFY(window.isVisible());
        takeSent();
        window.BOk->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(takeSent(), QByteArray("Join bob\r\n"));
    }
};

QTEST_MAIN(TestInviteWindows)
#include "qt_InviteWindows.moc"
