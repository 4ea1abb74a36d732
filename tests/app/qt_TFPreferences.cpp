#include "app/AppFolder.h"
#include "app/TFPreferences.h"
#include "board/WidgetBoardsPage.h"
#include "protocol/ClientSession.h"
#include "protocol/RecordingPorts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QByteArray Ini = "[Settings]\r\nFontSize=10\r\nAutologin=1\r\nHideShouts=1\r\nEnableSound=0\r\n"
                       "[Chat]\r\nGreting=Hello playername\r\n"
                       "[Profile]\r\nFirstName=Jean_Paul\r\nLastName=&upont\r\nGender=2\r\n"
                       "Country=3\r\nEMail=jp@example.org\r\n";

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTFPreferences : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(CopyShippedData(QStringLiteral(TABULON_SOURCE_DIR "/data"), dir_->path(), nullptr));
        QFile ini(dir_->filePath("tabulon.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(Ini);
        ini.close();
        rec_ = std::make_unique<RecordingPorts>();
        rec_->link.connected = true;
        session_ = std::make_unique<ClientSession>(dir_->path(), rec_->ports());
        session_->FormCreate();
        session_->OwnInfo.Greedy = true;
        session_->OwnInfo.Silent = true;
        // The first chunk's request for saved games is not part of what is looked at here.
        session_->FirstDataSeen = true;
    }

    void cleanup()
    {
        session_.reset();
        dir_.reset();
    }

    void tabsAndCaptions()
    {
        TFPreferences window(*session_);
        QCOMPARE(window.windowTitle(), QStringLiteral("Preferences"));
        QStringList tabs, names;
        for (int i = 0; i < window.PageControl1->count(); ++i) {
            tabs << window.PageControl1->tabText(i);
            names << window.PageControl1->widget(i)->objectName();
        }
        QCOMPARE(tabs, (QStringList{"General", "Own info", "Messages", "Board", "Profile",
                                    "Programmable buttons"}));
        QCOMPARE(names, (QStringList{"General", "OwnInfo", "TabSheet1", "TabSheet2", "TabSheet3",
                                     "TabSheet4"}));
        QVERIFY(qobject_cast<WidgetBoardsPage*>(window.PageControl1->widget(3)));
        QCOMPARE(window.BOk->text(), QStringLiteral("Ok"));
        QCOMPARE(window.BCancel->text(), QStringLiteral("Cancel"));

        const std::pair<const char*, const char*> boxes[] = {
            {"CBSound", "Enable sound."},
            {"CBConfirmDoubles", "Confirm doubles and takes"},
            {"CBSaveWatched", "Save watched matches."},
            {"CBSavePlayed", "Save played matches."},
            {"CBShowMessages", "Show message at the end of a game or match."},
            {"CBAutologin", "auto log in with last login/password."},
            {"CBHideShouts", "Hide shouts"},
            {"CBShowChatTab", "Show Chat tab when someone speak to me"},
            {"CBDebug", "Debug mode on"},
            {"CBAutodouble", "Autodouble"},
            {"CBAutomove", "Automove"},
            {"CBCrawford", "Crawford"},
            {"CBDouble", "Double"},
            {"CBGreedy", "Greedy"},
            {"CBReady", "Ready"},
            {"CBSilent", "Silent"},
            {"CBRatings", "Ratings"}};
        for (const auto& [name, caption] : boxes) {
            auto* box = window.findChild<QCheckBox*>(QLatin1String(name));
            QVERIFY2(box, name);
            QCOMPARE(box->text(), QLatin1String(caption));
        }
        QStringList labels;
        for (QWidget* sheet : {window.General, window.OwnInfoSheet, window.TabSheet1, window.TabSheet3})
            for (QLabel* label : sheet->findChildren<QLabel*>())
                labels << label->text();
        for (const char* text :
             {"Font size : ", "If checked, you agree that doublets during opening double the cube.",
              "If checked,  forced moves will be done automatically.",
              "If checked, you insist on playing with the crawford rule. ",
              "If checked, you will be asked if you want to double. ",
              "If checked, will use automatic greedy bearoffs.",
              "If checked, you're ready to invite or join someone. ",
              "If checked, you won't hear what other players shout. ",
              "If checked, FIBS will sends a descriptive ratings calculation at the end of the match",
              "Decline message : ", "Greting message : ",
              "Thank message  send at the end of a match : ", "First : ", "Last : "})
            QVERIFY2(labels.contains(QLatin1String(text)), text);
        QStringList groups;
        for (QGroupBox* box : window.TabSheet3->findChildren<QGroupBox*>())
            groups << box->title();
        groups.sort();
        QCOMPARE(groups, (QStringList{"Country", "Email address", "Gender", "Name"}));
        QStringList genders;
        for (QAbstractButton* item : window.GenderItems->buttons())
            genders << item->text();
        QCOMPARE(genders, (QStringList{"Unknown", "Female", "Male", "Computer"}));
        QStringList sizes;
        for (int i = 0; i < window.CBFontSize->count(); ++i)
            sizes << window.CBFontSize->itemText(i);
        QCOMPARE(sizes, (QStringList{"Default", "8", "10", "12"}));
    }

    void filledFromTheSettings()
    {
        TFPreferences window(*session_);
        QVERIFY(!window.CBSound->isChecked());
        QVERIFY(window.CBAutologin->isChecked());
        QVERIFY(window.CBHideShouts->isChecked());
        QVERIFY(window.CBSaveWatched->isChecked());
        QCOMPARE(window.CBFontSize->currentText(), QStringLiteral("10"));
        QVERIFY(window.CBGreedy->isChecked());
        QVERIFY(window.CBSilent->isChecked());
        QVERIFY(!window.CBReady->isChecked());
        QCOMPARE(window.Egreting->text(), QStringLiteral("Hello playername"));
        QCOMPARE(window.EDecline->text(), QStringLiteral("Sorry, not now."));
        QCOMPARE(window.EFirstName->text(), QStringLiteral("Jean Paul"));
        QCOMPARE(window.Elast->text(), QStringLiteral("Dupont"));
        QCOMPARE(window.GenderItems->checkedId(), 2);
        QCOMPARE(window.CBCountries->count(), session_->CountryNames.size());
        QVERIFY(window.CBCountries->count() > 200);
        QCOMPARE(window.CBCountries->currentIndex(), 3);
        QCOMPARE(window.CBCountries->itemText(0), QStringLiteral("Neutral Zone"));
        QCOMPARE(window.EEMail->text(), QStringLiteral("jp@example.org"));
        QCOMPARE(window.TabSheet2->LVBoards->topLevelItemCount(), 3);
        QCOMPARE(window.TabSheet4->children().size(), 0);
    }

    void okWritesTheSettingsAndSendsTheChanges()
    {
        QList<QPair<qint64, QByteArray>> sends;
        rec_->link.onSend = [&](const QByteArray& b) { sends.append({rec_->clock.now(), b}); };
        TFPreferences window(*session_);
        QSignalSpy reload(&window, &TFPreferences::themeReloadWanted);
        window.show();
        window.CBGreedy->setChecked(false);
        window.CBReady->setChecked(true);
        window.CBSound->setChecked(true);
        window.Elast->setText("Martin");
        window.CBCountries->setCurrentIndex(5);
        window.GenderItems->button(1)->setChecked(true);
        window.EEMail->setText("jean@example.org");
        QTest::mouseClick(window.BOk, Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        window.ApplyOk();
        QCOMPARE(reload.count(), 1);
        rec_->clock.runUntilIdle();

        const QList<QPair<qint64, QByteArray>> expected{{800, "toggle greedy\r\n"},
                                                        {1000, "toggle ready\r\n"},
                                                        {1400, "address jean@example.org\r\n"}};
        QCOMPARE(sends, expected);
        const QString ini = QString::fromLatin1(readAll(dir_->filePath("tabulon.ini")));
        for (const char* key : {"EnableSound=1", "LastName=/artin", "FirstName=Jean_Paul",
                                "Country=5", "Gender=1", "EMail=jean@example.org", "FontSize=10",
                                "AnimationSpeed=5"})
            QVERIFY2(ini.contains(QLatin1String(key)), qPrintable(key + QStringLiteral("\n") + ini));
        QCOMPARE(session_->Settings.LastName, QString(QChar('M' - 30)) + "artin");
        QVERIFY(!session_->OwnInfo.Greedy);
        QVERIFY(session_->OwnInfo.Ready);
    }

    void cancelWritesAndSendsNothing()
    {
        const QByteArray before = readAll(dir_->filePath("tabulon.ini"));
        TFPreferences window(*session_);
        window.show();
        window.CBGreedy->setChecked(false);
        window.Elast->setText("Martin");
        window.EEMail->setText("jean@example.org");
        QTest::mouseClick(window.BCancel, Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Rejected));
        rec_->clock.runUntilIdle();
        QVERIFY(rec_->link.sent.isEmpty());
        QCOMPARE(readAll(dir_->filePath("tabulon.ini")), before);
        QVERIFY(session_->OwnInfo.Greedy);
    }

    void everyControlFitsItsTab()
    {
        TFPreferences window(*session_);
        window.show();
        for (int i = 0; i < window.PageControl1->count(); ++i) {
            window.PageControl1->setCurrentIndex(i);
            QWidget* sheet = window.PageControl1->widget(i);
            QCoreApplication::processEvents();
            for (QWidget* child : sheet->findChildren<QWidget*>()) {
                if (!child->isVisible() || child->parentWidget() != sheet)
                    continue;
                QVERIFY2(sheet->rect().contains(child->geometry()),
                         qPrintable(child->objectName() + " on " + sheet->objectName()));
            }
        }
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingPorts> rec_;
    std::unique_ptr<ClientSession> session_;
};

QTEST_MAIN(TestTFPreferences)
#include "qt_TFPreferences.moc"
