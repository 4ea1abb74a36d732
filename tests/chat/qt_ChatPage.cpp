// The real main window's Chat tab and messages window: server lines routed into the coloured
// panes and the in box, the inputs and the messages window sending to a plain TCP server.
#include "app/TFTabulon.h"
#include "chat/TFMessages.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTreeView>
#include <QtTest>

namespace {

struct PaneLine {
    QString text;
    QColor colour;
};

QList<PaneLine> paneLines(QPlainTextEdit* pane)
{
    QList<PaneLine> out;
    if (pane->document()->isEmpty())
        return out;
    for (QTextBlock b = pane->document()->firstBlock(); b.isValid(); b = b.next())
        out.append({b.text(), b.begin().fragment().charFormat().foreground().color()});
    return out;
}

// A server that keeps every byte the program sends.
class Server : public QObject {
public:
    Server()
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            socket_ = server_.nextPendingConnection();
            connect(socket_, &QTcpSocket::readyRead, this, [this] { bytes += socket_->readAll(); });
        });
    }
    QString port() const { return QString::number(server_.serverPort()); }
    // The text was sent as whole lines.
    bool sentLine(const QByteArray& lines) const { return bytes.contains("\r\n" + lines); }
    QByteArray bytes;

private:
    QTcpServer server_;
    QTcpSocket* socket_ = nullptr;
};

void connectTo(TFTabulon& window, Server& server)
{
    window.session().StartConnection(QStringLiteral("127.0.0.1"), server.port());
    QTRY_VERIFY(window.session().IsConnected());
}

void enter(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// The messages window is a window of its own, not a child of the main window.
TFFibsMessage* messagesWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<TFFibsMessage*>(w))
            return box;
    }
    return nullptr;
}

} // namespace

class TestChatPage : public QObject {
    Q_OBJECT
private slots:
    void panesShowRoutedLinesInTheirColours();
    void inputsSendOneLineEach();
    void messagesWindowInBoxAndWriting();
    void messagesWindowGoesWithTheMainWindow();
};

void TestChatPage::panesShowRoutedLinesInTheirColours()
{
    QTemporaryDir folder;
    TFTabulon window(folder.path());
    ClientSession& s = window.session();
    s.LVFriends.Add({QStringLiteral("bob"), "0", "0", "Offline"});
    s.LVVilains.Add({QStringLiteral("mallory"), "0", "0", "Offline"});
    window.PageControl2->setCurrentIndex(0);

    s.IdTelnetDataAvailable("13 bob hi all\r\n13 mallory buy gold\r\n17 hello\r\n"
                            "16 carol see you\r\n12 carol ok\r\n12 mallory psst\r\n");
    QTRY_COMPARE(paneLines(window.MPrivateMessages).size(), 2);
    const QList<PaneLine> pub = paneLines(window.MPublicMessages);
    QCOMPARE(pub.size(), 2);
    QCOMPARE(pub.at(0).text, QStringLiteral("bob hi all"));
    QCOMPARE(pub.at(0).colour, QColor(0, 128, 0));
    QCOMPARE(pub.at(1).text, QStringLiteral("hello"));
    QCOMPARE(pub.at(1).colour, QColor(0, 0, 0));
    const QList<PaneLine> priv = paneLines(window.MPrivateMessages);
    QCOMPARE(priv.at(0).text, QStringLiteral("You told : carol see you"));
    QCOMPARE(priv.at(0).colour, QColor(0, 128, 0));
    QCOMPARE(priv.at(1).text, QStringLiteral("carol ok"));
    QCOMPARE(priv.at(1).colour, QColor(0, 0, 0));

    QCOMPARE(window.CBPrivate->currentText(), QStringLiteral("Tell carol"));
    QCOMPARE(window.CBPrivate->count(), 3);
    QCOMPARE(window.PageControl2->currentWidget(), window.TabSheet4);
    QVERIFY(!window.DisplayMemo->toPlainText().contains(QStringLiteral("gold")));
    QVERIFY(!window.DisplayMemo->toPlainText().contains(QStringLiteral("psst")));
}

void TestChatPage::inputsSendOneLineEach()
{
    QTemporaryDir folder;
    TFTabulon window(folder.path());
    ClientSession& s = window.session();

    // Not connected: nothing goes anywhere, the inputs are emptied all the same.
    enter(window.EShout, QStringLiteral("lost"));
    QVERIFY(window.EShout->text().isEmpty());

    Server server;
    connectTo(window, server);
    enter(window.EShout, QStringLiteral("hi\r\nshout all"));
    QVERIFY(window.EShout->text().isEmpty());
    enter(window.EKibitz, QStringLiteral("nice"));
    QTRY_VERIFY(server.sentLine("shout hi shout all\r\nKibitz nice\r\n"));

    QTest::keyClick(window.CBPrivate, Qt::Key_Down);
    QCOMPARE(window.CBPrivate->currentText(), QStringLiteral("Whisper"));
    enter(window.EKibitz, QStringLiteral("gg"));
    QTRY_VERIFY(server.sentLine("Whisper gg\r\n"));

    // A typed private command is no entry: nothing is sent.
    QTest::keyClicks(window.CBPrivate->lineEdit(), QStringLiteral("x"));
    QCOMPARE(s.CBPrivate.ItemIndex(), -1);
    enter(window.EKibitz, QStringLiteral("dropped"));
    QVERIFY(window.EKibitz->text().isEmpty());

    // The players list's Tell picks the private addressee.
    s.IdTelnetDataAvailable("5 dave - - 1 0 1500.00 100 12 1593778125 host.example.net - -\r\n6\r\n");
    QTRY_COMPARE(window.LVPlayers->model()->rowCount(), 1);
    window.LVPlayers->setCurrentIndex(window.LVPlayers->model()->index(0, 0));
    QAction* tell = window.PopupMenuPlayer->findChild<QAction*>(QStringLiteral("Tell1"));
    QVERIFY(tell);
    QCOMPARE(tell->text(), QStringLiteral("Tell"));
    tell->trigger();
    tell->trigger();
    QCOMPARE(window.CBPrivate->currentText(), QStringLiteral("Tell dave"));
    QCOMPARE(window.CBPrivate->count(), 3);
    enter(window.EKibitz, QStringLiteral("see you\nlater"));
    QTRY_VERIFY(server.sentLine("Tell dave see you later\r\n"));
    QVERIFY(!server.bytes.contains("dropped"));
}

void TestChatPage::messagesWindowInBoxAndWriting()
{
    QTemporaryDir folder;
    TFTabulon window(folder.path());
    ClientSession& s = window.session();
    TFFibsMessage* box = messagesWindow();
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QStringLiteral("Messages"));
    QVERIFY(box->isHidden());
    QCOMPARE(box->PageControl1->tabText(2), QStringLiteral("Write message"));

    box->PageControl1->setCurrentIndex(1);
    s.IdTelnetDataAvailable("There are messages for you:\r\n9 bob 1593778125 see_you_soon\r\n"
                            "10 carol\r\n11 dave\r\n");
    QTRY_VERIFY(box->isVisible());
    QCOMPARE(box->PageControl1->currentIndex(), 0);
    QCOMPARE(box->LVInBox->model()->rowCount(), 1);
    QCOMPARE(box->LVInBox->model()->index(0, 0).data().toString(), QStringLiteral("bob"));
    QCOMPARE(box->LVInBox->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Message"));
    QTRY_COMPARE(box->LVSend->model()->rowCount(), 2);
    QCOMPARE(box->LVSend->model()->index(1, 2).data().toString(), QStringLiteral("Message saved"));
    box->LVInBox->setCurrentIndex(box->LVInBox->model()->index(0, 2));
    QCOMPARE(box->MMessage->toPlainText(), QStringLiteral("see\nyou\nsoon "));
    QVERIFY(window.DisplayMemo->toPlainText().contains(QStringLiteral("see_you_soon ")));

    QTest::mouseClick(box->BCancel, Qt::LeftButton);
    QVERIFY(box->isHidden());
    QVERIFY(!s.FFibsMessage.Visible());

    s.LVFriends.Add({QStringLiteral("erin"), "0", "0", "Offline"});
    s.LVFriends.Add({QStringLiteral("alice"), "0", "0", "Offline"});
    window.Message1->trigger();
    window.Showmessagesbox1->trigger();
    QVERIFY(box->isVisible());
    QCOMPARE(box->PageControl1->currentIndex(), 0);
    QCOMPARE(box->CBRecipient->count(), 2);
    QCOMPARE(box->CBRecipient->currentText(), QStringLiteral("alice"));

    Server server;
    connectTo(window, server);
    box->PageControl1->setCurrentIndex(2);
    box->MWriteMessage->setPlainText(QStringLiteral("first\nsecond\nthird"));
    QTest::mouseClick(box->BSend, Qt::LeftButton);
    QTRY_VERIFY(server.sentLine("message alice first_second_third\r\n"));
    QCOMPARE(box->MWriteMessage->toPlainText(), QStringLiteral("first_second_third"));
    QVERIFY(box->isVisible());

    // Players list > Send message: the write page, addressed to the selected player.
    s.IdTelnetDataAvailable("5 frank - - 1 0 1500.00 100 12 1593778125 host.example.net - -\r\n6\r\n");
    QTRY_COMPARE(window.LVPlayers->model()->rowCount(), 1);
    window.LVPlayers->setCurrentIndex(window.LVPlayers->model()->index(0, 0));
    box->hide();
    QAction* message2 = window.PopupMenuPlayer->findChild<QAction*>(QStringLiteral("Message2"));
    QVERIFY(message2);
    QCOMPARE(message2->text(), QStringLiteral("Send message"));
    message2->trigger();
    QVERIFY(box->isVisible());
    QCOMPARE(box->PageControl1->currentIndex(), 2);
    QCOMPARE(box->CBRecipient->currentText(), QStringLiteral("frank"));
    QCOMPARE(box->focusWidget(), box->MWriteMessage);
}

void TestChatPage::messagesWindowGoesWithTheMainWindow()
{
    QTemporaryDir folder;
    {
        TFTabulon window(folder.path());
        QVERIFY(messagesWindow());
        QVERIFY(!window.findChild<TFFibsMessage*>());
        window.session().IdTelnetDataAvailable("9 bob 1 hi\r\n");
        QTRY_VERIFY(messagesWindow()->isVisible());
    }
    QVERIFY(!messagesWindow());
}

QTEST_MAIN(TestChatPage)
#include "qt_ChatPage.moc"
