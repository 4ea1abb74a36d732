// The real main window against the FIBS simulator: the user invites a robot through the
// invite window and the match starts; a robot invites the user, the join window shows the
// stakes and the user joins.
#include "app/AppFolder.h"
#include "app/TFTabulon.h"
#include "../SimulatorProcess.h"
#include "invite/TFInvite.h"
#include "invite/TFJoin.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <functional>

namespace {

// Closes message boxes and hands each invite window to the scripted answer.
class ModalDriver : public QObject {
public:
    ModalDriver()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                box->accept();
            else if (auto* window = qobject_cast<TFInvite*>(modal); window && invite)
                std::exchange(invite, nullptr)(window);
        });
        timer_.start(20);
    }
    std::function<void(TFInvite*)> invite;

private:
    QTimer timer_;
};

} // namespace

class TestInviteEndToEnd : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<Simulator> sim_;
    std::unique_ptr<ModalDriver> modals_;
    std::unique_ptr<TFTabulon> window_;

    // A robot of the population that is free and ready, as the players list shows it.
    QString readyRobot() const
    {
        for (const TPlayerRow& row : window_->session().LVPlayers.Rows()) {
            if (row.Cell(ColStatus) == QLatin1String("Ready") && row.Caption != "alice"
                && row.Caption != "RepBot" && row.Caption != "TourneyBot")
                return row.Caption;
        }
        return QString();
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(CopyShippedData(QStringLiteral(TABULON_SOURCE_DIR "/data"), folder_->path(), nullptr));
        // Every robot joins the invitations it gets.
        sim_ = std::make_unique<Simulator>(
            QStringList{QStringLiteral("--population"), QStringLiteral("12"),
                        QStringLiteral("--robot-accept"), QStringLiteral("1"),
                        QStringLiteral("--robot-pace"), QStringLiteral("50")},
            folder_->filePath("sim.log"));
        QVERIFY2(sim_->port() > 0, "the simulator did not start");
        QFile ini(folder_->filePath("tabulon.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Settings]\r\nAutologin=1\r\n[Connection]\r\nServer=127.0.0.1\r\n"
                                 "Port=%1\r\n[Account]\r\nUsername=alice\r\nPassword=secret\r\n")
                      .arg(sim_->port())
                      .toLatin1());
        ini.close();
        modals_ = std::make_unique<ModalDriver>();
        window_ = std::make_unique<TFTabulon>(folder_->path());
        window_->show();
        ClientSession& session = window_->session();
        QTRY_COMPARE_WITH_TIMEOUT(session.OwnInfo.Name, QStringLiteral("alice"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!readyRobot().isEmpty(), 20000);
        if (!session.OwnInfo.Ready) {
            QTest::mouseClick(window_->TBReady, Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(sim_->saw(QStringLiteral("toggle ready")), 10000);
        }
    }

    void cleanup()
    {
        if (window_)
            window_->close();
        window_.reset();
        modals_.reset();
        sim_.reset();
        folder_.reset();
    }

    void userInvitesARobot()
    {
        ClientSession& session = window_->session();
        const QString robot = readyRobot();
        QTreeView* list = window_->LVPlayers;
        QModelIndex at;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            if (list->model()->index(row, 0).data().toString() == robot)
                at = list->model()->index(row, 0);
        }
        QVERIFY(at.isValid());
        list->selectionModel()->select(at, QItemSelectionModel::ClearAndSelect
                                               | QItemSelectionModel::Rows);

        bool answered = false;
        modals_->invite = [&](TFInvite* invite) {
            QCOMPARE(invite->windowTitle(), QStringLiteral("Invite ") + robot);
            QVERIFY(invite->LProb->text().startsWith(
                QStringLiteral("Your probability to win this match is ")));
            invite->UpDown->Down->click();
            invite->UpDown->Down->click();
            QCOMPARE(invite->EMatchLength->text(), QStringLiteral("3"));
            answered = true;
            invite->BInvite->click();
        };
        window_->Invite2->trigger();
        QVERIFY(answered);
        QTRY_VERIFY_WITH_TIMEOUT(session.Playing, 20000);
        QCOMPARE(session.OpponentName, robot);
        QCOMPARE(session.CurrentPosition.MatchLength, 3);
        QVERIFY(sim_->saw(QStringLiteral("Tell RepBot ask ") + robot));
        QVERIFY(sim_->saw(QStringLiteral("Invite ") + robot + QStringLiteral(" 3")));
    }

    void robotInvitesTheUser()
    {
        ClientSession& session = window_->session();
        const QString robot = readyRobot();
        TFJoin* join = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<TFJoin*>(top))
                join = found;
        }
        QVERIFY(join);
        QVERIFY(!join->isVisible());
        window_->ECommand->setText(QStringLiteral("tell ") + robot + QStringLiteral(" play 3"));
        QTest::mouseClick(window_->BSendCommand, Qt::LeftButton);

        QTRY_VERIFY_WITH_TIMEOUT(join->isVisible(), 20000);
        QCOMPARE(join->windowTitle(), QStringLiteral("Join ") + robot);
        QCOMPARE(join->Label1->text(), robot + QStringLiteral(" wants to play a 3 point match with you."));
        QVERIFY(join->GroupBox1->isVisible());
        QVERIFY(join->LProb->text().startsWith(QStringLiteral("Your probability to win this match is ")));
        QVERIFY(join->LWin->text().startsWith(QStringLiteral("If you win, your rating will increase by ")));
        QVERIFY(!session.DisplayMemo.texts().contains(join->Label1->text()));

        QTest::mouseClick(join->BOk, Qt::LeftButton);
        QVERIFY(!join->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(session.Playing, 20000);
        QCOMPARE(session.OpponentName, robot);
        QVERIFY(sim_->saw(QStringLiteral("Join ") + robot));
    }
};

QTEST_MAIN(TestInviteEndToEnd)
#include "qt_InviteEndToEnd.moc"
