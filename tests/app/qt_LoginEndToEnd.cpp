// The real main window against the FIBS simulator: an account is created through the Connect
// window's "Create account" and the registration dialogue, the program logs in with it, own
// settings are changed with a tool button and in Preferences, and everything is found again
// after a restart.
#include "app/AppFolder.h"
#include "app/TFConnect.h"
#include "app/TFPreferences.h"
#include "app/TFTabulon.h"
#include "../SimulatorProcess.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

// Answers the modal windows as they come up: message boxes are closed and their texts kept;
// each Connect or Preferences window gets the next scripted answer, and a Connect window with
// no answer left is cancelled and noted.
class ModalDriver : public QObject {
public:
    ModalDriver()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                boxes << box->text();
                box->accept();
            } else if (auto* window = qobject_cast<TFConnect*>(modal)) {
                if (connects.isEmpty()) {
                    boxes << QStringLiteral("unexpected Connect window");
                    window->reject();
                } else {
                    connects.takeFirst()(window);
                }
            } else if (auto* window = qobject_cast<TFPreferences*>(modal);
                       window && !preferences.isEmpty()) {
                preferences.takeFirst()(window);
            }
        });
        timer_.start(20);
    }
    QStringList boxes;
    QList<std::function<void(TFConnect*)>> connects;
    QList<std::function<void(TFPreferences*)>> preferences;

private:
    QTimer timer_;
};

// A Connect window answer: fills it and presses one of its buttons.
std::function<void(TFConnect*)> connectAs(int port, const QString& user, const QString& password,
                                          QPushButton* TFConnect::*button)
{
    return [=](TFConnect* window) {
        window->EServer->setText(QStringLiteral("127.0.0.1"));
        window->EPort->setText(QString::number(port));
        window->EUserName->setText(user);
        window->EPAssword->setText(password);
        QTest::mouseClick(window->*button, Qt::LeftButton);
    };
}

// Whether `expected` appears in `lines` in this order (other lines may come between).
bool inOrder(const QStringList& lines, const QStringList& expected)
{
    qsizetype at = 0;
    for (const QString& line : lines) {
        if (at < expected.size() && line == expected.at(at))
            ++at;
    }
    return at == expected.size();
}

} // namespace

class TestLoginEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void createAccountLogInChangeSettingsAndRestart()
    {
        QTemporaryDir folder;
        QVERIFY(CopyShippedData(QStringLiteral(TABULON_SOURCE_DIR "/data"), folder.path(), nullptr));
        Simulator sim({QStringLiteral("--population"), QStringLiteral("8")}, folder.filePath("sim.log"));
        QVERIFY2(sim.port() > 0, "the simulator did not start");
        ModalDriver modals;
        modals.connects << connectAs(sim.port(), "newbie", "pw1234", &TFConnect::BCreateAccount);

        {
            TFTabulon window(folder.path());
            window.show();
            ClientSession& session = window.session();
            QTest::mouseClick(window.TBConnect, Qt::LeftButton);
            QVERIFY(modals.connects.isEmpty());

            // Registered, reconnected and logged in: the server's own-information line.
            QTRY_COMPARE_WITH_TIMEOUT(session.OwnInfo.Name, QStringLiteral("newbie"), 20000);
            QVERIFY2(modals.boxes.isEmpty(), qPrintable(modals.boxes.join(" | ")));
            QVERIFY(session.DisplayMemo.texts().contains(QStringLiteral("You are registered")));
            QVERIFY(!window.TBReady->isChecked());

            // A toggle button: sent, confirmed in a box, copied into OwnInfo.
            QTest::mouseClick(window.TBReady, Qt::LeftButton);
            QVERIFY(window.TBReady->isChecked());
            QTRY_VERIFY_WITH_TIMEOUT(
                modals.boxes.contains(QStringLiteral("You're now ready to invite or join someone.")),
                10000);
            QTRY_VERIFY(session.OwnInfo.Ready);

            // Preferences: another own setting, automatic login and the profile.
            modals.preferences << [](TFPreferences* preferences) {
                QVERIFY(preferences->CBReady->isChecked());
                preferences->CBGreedy->setChecked(true);
                preferences->CBAutologin->setChecked(true);
                preferences->EFirstName->setText(QStringLiteral("Jean"));
                preferences->Elast->setText(QStringLiteral("Dupont"));
                preferences->EEMail->setText(QStringLiteral("newbie@example.org"));
                QTest::mouseClick(preferences->BOk, Qt::LeftButton);
            };
            window.Preferences1->trigger();
            QVERIFY(modals.preferences.isEmpty());
            QTRY_VERIFY_WITH_TIMEOUT(sim.saw(QStringLiteral("address newbie@example.org")), 10000);
            QTRY_VERIFY_WITH_TIMEOUT(
                modals.boxes.contains(QStringLiteral("Will use automatic greedy bearoffs.")), 10000);
            window.close();
        }

        // The guest connection answered the registration dialogue; the new one logged in.
        QCOMPARE(sim.receivedOn(1), (QStringList{"login guest", "guest", "name newbie", "pw1234",
                                                  "pw1234", "bye"}));
        const QStringList second = sim.receivedOn(2);
        QVERIFY2(inOrder(second, {"login ?NT________________T 1008 newbie pw1234",
                                  "set boardstyle 3", "toggle moreboards", "rawwho",
                                  "set sortwho rating", "toggle ready", "toggle greedy",
                                  "address newbie@example.org"}),
                 qPrintable(second.join(" | ")));
        QVERIFY(!second.contains(QStringLiteral("toggle crawford")));

        const QString ini = readText(folder.filePath("tabulon.ini"));
        for (const QString& key :
             {QStringLiteral("Server=127.0.0.1"), QStringLiteral("Port=%1").arg(sim.port()),
              QStringLiteral("Username=newbie"), QStringLiteral("Password=pw1234"),
              QStringLiteral("Autologin=1"), QStringLiteral("FirstName=Jean"),
              QStringLiteral("LastName=&upont"), QStringLiteral("EMail=newbie@example.org")})
            QVERIFY2(ini.contains(key), qPrintable(key + "\n" + ini));

        // A restart logs in by itself with the new account; the server kept the toggles.
        TFTabulon again(folder.path());
        again.show();
        ClientSession& session = again.session();
        QCOMPARE(session.Settings.Username, QStringLiteral("newbie"));
        QTRY_COMPARE_WITH_TIMEOUT(session.OwnInfo.Name, QStringLiteral("newbie"), 20000);
        QVERIFY(session.OwnInfo.Ready);
        QVERIFY(session.OwnInfo.Greedy);
        QVERIFY(again.TBReady->isChecked());
        QVERIFY(again.TBGreedy->isChecked());
        QVERIFY(sim.receivedOn(3).contains(
            QStringLiteral("login ?NTJean&upont______T 1008 newbie pw1234")));
        // One rating record for each of the two logins.
        QCOMPARE(QFileInfo(folder.filePath("newbie.rat")).size(), 32);
        again.close();
    }

    void refusedNamesShowTheServersLineAndTheConnectWindowAgain()
    {
        QTemporaryDir folder;
        QVERIFY(CopyShippedData(QStringLiteral(TABULON_SOURCE_DIR "/data"), folder.path(), nullptr));
        Simulator sim({QStringLiteral("--population"), QStringLiteral("8")}, folder.filePath("sim.log"));
        QVERIFY2(sim.port() > 0, "the simulator did not start");
        ModalDriver modals;
        modals.connects << connectAs(sim.port(), "alice", "secret", &TFConnect::BCreateAccount)
                        << connectAs(sim.port(), "bad1", "pw1234", &TFConnect::BCreateAccount)
                        << connectAs(sim.port(), "bad1", "pw1234", &TFConnect::BCancel);
        TFTabulon window(folder.path());
        window.show();
        window.Connect1->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(modals.connects.isEmpty(), 20000);
        // The refusal usually follows the registration prompt "> " on the same line.
        QCOMPARE(modals.boxes.size(), 2);
        QVERIFY2(modals.boxes.at(0).endsWith(
                     "** Please use another name. 'alice' is already used by someone else."),
                 qPrintable(modals.boxes.at(0)));
        QVERIFY2(modals.boxes.at(1).endsWith(
                     "** Your name may only contain letters and the underscore character _ ."),
                 qPrintable(modals.boxes.at(1)));
        QCOMPARE(sim.receivedOn(1), (QStringList{"login guest", "guest", "name alice"}));
        QCOMPARE(sim.receivedOn(2), (QStringList{"login guest", "guest", "name bad1"}));
        QCOMPARE(window.session().Settings.Username, QStringLiteral("bad1"));
        window.close();
    }
};

QTEST_MAIN(TestLoginEndToEnd)
#include "qt_LoginEndToEnd.moc"
