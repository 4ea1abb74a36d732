#include "app/SettingsFile.h"
#include "app/TFConnect.h"
#include "protocol/ClientSession.h"
#include "protocol/RecordingPorts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString iniText(const QTemporaryDir& dir)
{
    QFile f(dir.filePath("tabulon.ini"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

QStringList labelTexts(QWidget* box)
{
    QStringList texts;
    for (QLabel* label : box->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

} // namespace

class TestTFConnect : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        rec_ = std::make_unique<RecordingPorts>();
        session_ = std::make_unique<ClientSession>(dir_.path(), rec_->ports());
        session_->Settings.Server = "fibs.example.net";
        session_->Settings.Port = "4321";
        session_->Settings.Username = "alice";
        session_->Settings.Password = "secret";
        session_->Settings.StorePassword = true;
    }

    void cleanup()
    {
        session_.reset();
        QFile::remove(dir_.filePath("tabulon.ini"));
    }

    void captionsAndFilling()
    {
        TFConnect window(*session_);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Connect"));
        QCOMPARE(window.GBAccount->title(), QStringLiteral("Account"));
        QCOMPARE(window.GBConnection->title(), QStringLiteral("Connection"));
        QCOMPARE(labelTexts(window.GBAccount), (QStringList{"User name :", "Password : "}));
        QCOMPARE(labelTexts(window.GBConnection), (QStringList{"Server : ", "Port : "}));
        QCOMPARE(window.CBStorePassWord->text(), QStringLiteral("Store password"));
        QCOMPARE(window.BOk->text(), QStringLiteral("Connect"));
        QCOMPARE(window.BCancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(window.BCreateAccount->text(), QStringLiteral("Create account"));
        QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));

        QCOMPARE(window.EUserName->text(), QStringLiteral("alice"));
        QCOMPARE(window.EPAssword->text(), QStringLiteral("secret"));
        QCOMPARE(window.EPAssword->echoMode(), QLineEdit::Password);
        QCOMPARE(window.EServer->text(), QStringLiteral("fibs.example.net"));
        QCOMPARE(window.EPort->text(), QStringLiteral("4321"));
        QVERIFY(window.CBStorePassWord->isChecked());
        for (QLineEdit* edit : window.findChildren<QLineEdit*>())
            QVERIFY2(edit->objectName().startsWith('E'), qPrintable(edit->objectName()));
    }

    void buttonsNeedAUserNameAndAPassword_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("both long enough") << "abc" << "abcd" << true;
        QTest::newRow("user name of two") << "ab" << "abcdef" << false;
        QTest::newRow("password of three") << "abcdef" << "abc" << false;
        QTest::newRow("empty") << "" << "" << false;
    }

    void buttonsNeedAUserNameAndAPassword()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, enabled);
        TFConnect window(*session_);
        window.show();
        QVERIFY(window.BOk->isEnabled());
        window.EUserName->clear();
        QTest::keyClicks(window.EUserName, user);
        window.EPAssword->clear();
        QTest::keyClicks(window.EPAssword, password);
        QCOMPARE(window.BOk->isEnabled(), enabled);
        QCOMPARE(window.BCreateAccount->isEnabled(), enabled);
        QVERIFY(window.BCancel->isEnabled());
    }

    void cancelStillSavesWhatTheWindowHolds()
    {
        TFConnect window(*session_);
        window.show();
        window.EServer->setText("127.0.0.1");
        window.EPort->setText("4000");
        window.EUserName->setText("newbie");
        window.EPAssword->setText("pw1234");
        QTest::mouseClick(window.BCancel, Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(window.Choice(), ConnectChoice::Cancel);
        const QString text = iniText(dir_);
        QVERIFY2(text.contains("Server=127.0.0.1"), qPrintable(text));
        QVERIFY(text.contains("Port=4000"));
        QVERIFY(text.contains("Username=newbie"));
        QVERIFY(text.contains("Password=pw1234"));
        QVERIFY(text.contains("Storepassword=1"));
        QCOMPARE(session_->Settings.Username, QStringLiteral("newbie"));
        // The password in memory is taken only when a connection is made.
        QCOMPARE(session_->Settings.Password, QStringLiteral("secret"));
    }

    void closingWithoutStoringRemovesTheStoredPassword()
    {
        TFConnect first(*session_);
        first.show();
        QTest::mouseClick(first.BOk, Qt::LeftButton);
        QVERIFY(iniText(dir_).contains("Password=secret"));

        TFConnect second(*session_);
        second.show();
        second.CBStorePassWord->setChecked(false);
        QTest::mouseClick(second.BCreateAccount, Qt::LeftButton);
        QCOMPARE(second.result(), TFConnect::Yes);
        QCOMPARE(second.Choice(), ConnectChoice::CreateAccount);
        const QString text = iniText(dir_);
        QVERIFY2(!text.contains("Password="), qPrintable(text));
        QVERIFY(text.contains("Storepassword=0"));
        QVERIFY(!session_->Settings.StorePassword);
    }

    void escapeClosesAsCancelAndSaves()
    {
        TFConnect window(*session_);
        window.show();
        window.EUserName->setText("carol");
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.Choice(), ConnectChoice::Cancel);
        QVERIFY(iniText(dir_).contains("Username=carol"));
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<RecordingPorts> rec_;
    std::unique_ptr<ClientSession> session_;
};

QTEST_MAIN(TestTFConnect)
#include "qt_TFConnect.moc"
