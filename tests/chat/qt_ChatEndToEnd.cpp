// The real main window logged in to the FIBS simulator as alice: a stored message waits for her
// at login, she shouts, tells two robots what to do, they shout, answer and leave her a
// message, and she writes messages through the messages window to a robot and to a player who
// is away. Friends show in green, a villain's shout is hidden.
#include "app/TFTabulon.h"
#include "../SimulatorProcess.h"
#include "chat/TFMessages.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTreeView>
#include <QtTest>

namespace {

const QColor Green(0, 128, 0);
const QColor Black(0, 0, 0);

// The pane's line with that text, in its colour; an invalid colour when there is none.
QColor lineColour(QPlainTextEdit* pane, const QString& text)
{
    for (QTextBlock b = pane->document()->firstBlock(); b.isValid(); b = b.next()) {
        if (b.text() == text)
            return b.begin().fragment().charFormat().foreground().color();
    }
    return QColor();
}

TFFibsMessage* messagesWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<TFFibsMessage*>(w))
            return box;
    }
    return nullptr;
}

void enter(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void selectPlayer(TFTabulon& window, const QString& name)
{
    QAbstractItemModel* model = window.LVPlayers->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() == name) {
            window.LVPlayers->setCurrentIndex(model->index(row, 0));
            return;
        }
    }
    QFAIL(qPrintable(name + QStringLiteral(" is not in the players list")));
}

} // namespace

class TestChatEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void userAndTwoRobotsChat();
};

void TestChatEndToEnd::userAndTwoRobotsChat()
{
    Simulator sim({QStringLiteral("--population"), QStringLiteral("4"), QStringLiteral("--seed"),
                   QStringLiteral("3"), QStringLiteral("--robot-pace"), QStringLiteral("50"),
                   QStringLiteral("--message"), QStringLiteral("carol:alice:see_you_at_eight")});
    QVERIFY(sim.port() > 0);
    QTemporaryDir folder;
    {
        QFile ini(folder.filePath(QStringLiteral("tabulon.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Settings]\r\nAutologin=1\r\n[Connection]\r\nServer=127.0.0.1\r\n"
                                 "Port=%1\r\n[Account]\r\nUsername=alice\r\nPassword=secret\r\n")
                      .arg(sim.port())
                      .toLatin1());
    }
    TFTabulon window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ClientSession& s = window.session();
    TFFibsMessage* box = messagesWindow();
    QVERIFY(box);

    // The message stored before the login opens the in box.
    QTRY_VERIFY_WITH_TIMEOUT(box->isVisible(), 20000);
    QCOMPARE(box->PageControl1->currentIndex(), 0);
    QCOMPARE(box->LVInBox->model()->index(0, 0).data().toString(), QStringLiteral("carol"));
    box->LVInBox->setCurrentIndex(box->LVInBox->model()->index(0, 2));
    QCOMPARE(box->MMessage->toPlainText(), QStringLiteral("see\nyou\nat\neight "));

    // The two robots besides RepBot and TourneyBot.
    QStringList robots;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            robots.clear();
            for (const TPlayerRow& row : s.LVTemp.Rows()) {
                if (row.Caption != QLatin1String("alice") && row.Caption != QLatin1String("RepBot")
                    && row.Caption != QLatin1String("TourneyBot"))
                    robots << row.Caption;
            }
            return robots.size() == 2;
        }(),
        20000);
    const QString friendBot = robots.at(0);
    const QString otherBot = robots.at(1);
    s.LVFriends.Add({friendBot, "0", "0", "Offline"});

    enter(window.EShout, QStringLiteral("hello everyone"));
    QTRY_COMPARE(lineColour(window.MPublicMessages, QStringLiteral("hello everyone")), Black);

    // Players list > Tell, then the private input: the friend shouts what he is told.
    selectPlayer(window, friendBot);
    window.PopupMenuPlayer->findChild<QAction*>(QStringLiteral("Tell1"))->trigger();
    QCOMPARE(window.CBPrivate->currentText(), QStringLiteral("Tell ") + friendBot);
    window.PageControl2->setCurrentIndex(0);
    enter(window.EKibitz, QStringLiteral("shout good game"));
    QTRY_COMPARE(lineColour(window.MPublicMessages, friendBot + QStringLiteral(" good game")), Green);
    QCOMPARE(lineColour(window.MPrivateMessages,
                        QStringLiteral("You told : ") + friendBot + QStringLiteral(" shout good game")),
             Green);
    QCOMPARE(window.PageControl2->currentWidget(), window.TabSheet4);

    // The other robot answers a tell: a reply target, in black.
    selectPlayer(window, otherBot);
    window.PopupMenuPlayer->findChild<QAction*>(QStringLiteral("Tell1"))->trigger();
    enter(window.EKibitz, QStringLiteral("how are you"));
    QTRY_COMPARE(lineColour(window.MPrivateMessages, otherBot + QStringLiteral(" You said: how are you")),
                 Black);
    QCOMPARE(window.CBPrivate->currentText(), QStringLiteral("Tell ") + otherBot);

    // A robot leaves alice a message while she is on line.
    enter(window.EKibitz, QStringLiteral("message alice call_me"));
    QTRY_COMPARE(box->LVInBox->model()->rowCount(), 2);
    QCOMPARE(box->LVInBox->model()->index(1, 0).data().toString(), otherBot);
    QCOMPARE(box->LVInBox->model()->index(1, 2).data().toString(), QStringLiteral("call_me "));

    // Messages written in the window: one delivered, one stored for a player who is away.
    box->PageControl1->setCurrentIndex(2);
    for (const QString& recipient : {otherBot, QStringLiteral("dave")}) {
        box->CBRecipient->lineEdit()->selectAll();
        QTest::keyClicks(box->CBRecipient->lineEdit(), recipient);
        box->MWriteMessage->setPlainText(QStringLiteral("two\nlines"));
        QTest::mouseClick(box->BSend, Qt::LeftButton);
        QCOMPARE(box->MWriteMessage->toPlainText(), QStringLiteral("two_lines"));
    }
    QTRY_COMPARE(box->LVSend->model()->rowCount(), 2);
    QCOMPARE(box->LVSend->model()->index(0, 0).data().toString(), otherBot);
    QCOMPARE(box->LVSend->model()->index(0, 2).data().toString(), QStringLiteral("Message delivered"));
    QCOMPARE(box->LVSend->model()->index(1, 0).data().toString(), QStringLiteral("dave"));
    QCOMPARE(box->LVSend->model()->index(1, 2).data().toString(), QStringLiteral("Message saved"));

    // A villain's shout is never shown; the friend's next one is.
    s.LVVilains.Add({otherBot, "0", "0", "Offline"});
    enter(window.EKibitz, QStringLiteral("shout hidden words"));
    selectPlayer(window, friendBot);
    window.PopupMenuPlayer->findChild<QAction*>(QStringLiteral("Tell1"))->trigger();
    enter(window.EKibitz, QStringLiteral("shout after that"));
    QTRY_COMPARE(lineColour(window.MPublicMessages, friendBot + QStringLiteral(" after that")), Green);
    QVERIFY(!window.MPublicMessages->toPlainText().contains(QStringLiteral("hidden words")));
    QVERIFY(!window.MPrivateMessages->toPlainText().contains(QStringLiteral("hidden words")));
}

QTEST_MAIN(TestChatEndToEnd)
#include "qt_ChatEndToEnd.moc"
