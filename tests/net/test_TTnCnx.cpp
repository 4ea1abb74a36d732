#include "../TestApp.h"
#include "net/TTnCnx.h"
#include "net/TelnetLink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <initializer_list>

namespace {

constexpr int WaitMs = 10000;
constexpr int IAC = 255, DO = 253, WILL = 251, SB = 250, SE = 240;


QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// Reads from the server's end until `count` bytes have come.
QByteArray readExactly(QTcpSocket* peer, int count)
{
    if (!QTest::qWaitFor([&] { return peer->bytesAvailable() >= count; }, WaitMs))
        return peer->readAll();
    return peer->read(count);
}

// Everything the connection emitted.
struct Received {
    QList<QByteArray> chunks;
    QByteArray data;
    QStringList display;

    explicit Received(TTnCnx& cnx)
    {
        QObject::connect(&cnx, &TTnCnx::dataAvailable, [this](const QByteArray& chunk) {
            chunks.append(chunk);
            data += chunk;
        });
        QObject::connect(&cnx, &TTnCnx::display,
                         [this](const QString& text) { display.append(text); });
    }
    bool waitFor(const QByteArray& expected)
    {
        return QTest::qWaitFor([&] { return data.size() >= expected.size(); }, WaitMs)
            && data == expected;
    }
};

class TTnCnxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureApp();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    }

    // Connects and returns the server's end of the new connection.
    QTcpSocket* open(TTnCnx& cnx)
    {
        cnx.setHost(QStringLiteral("127.0.0.1"));
        cnx.setPort(QString::number(server.serverPort()));
        QSignalSpy connected(&cnx, &TTnCnx::sessionConnected);
        cnx.Connect();
        if (!QTest::qWaitFor(
                [&] { return !connected.isEmpty() && server.hasPendingConnections(); }, WaitMs))
            return nullptr;
        EXPECT_EQ(connected.size(), 1);
        EXPECT_EQ(connected.first().at(0).value<quint16>(), 0);
        EXPECT_TRUE(cnx.IsConnected());
        return server.nextPendingConnection();
    }

    quint16 closedPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return port;
    }

    QTcpServer server;
};

} // namespace

TEST_F(TTnCnxTest, NegotiatesOnTheWireAndPassesDataOnly)
{
    TTnCnx cnx;
    Received in(cnx);
    QSignalSpy echo(&cnx, &TTnCnx::localEcho);
    QSignalSpy termType(&cnx, &TTnCnx::termType);
    QTcpSocket* peer = open(cnx);
    ASSERT_NE(peer, nullptr);

    peer->write(bytes({IAC, DO, 24}) + "hel" + bytes({IAC, WILL, 1}) + "lo\r\n"
                + bytes({IAC, SB, 24, 1, IAC, SE}) + "login: ");
    ASSERT_TRUE(in.waitFor("hello\r\nlogin: ")) << in.data.constData();
    EXPECT_EQ(readExactly(peer, 17).toHex(' '),
              bytes({IAC, WILL, 24, IAC, DO, 1, IAC, SB, 24, 0, 'V', 'T', '1', '0', '0', IAC, SE})
                  .toHex(' '));
    EXPECT_EQ(echo.size(), 1);
    EXPECT_EQ(termType.size(), 1);
    EXPECT_FALSE(cnx.LocalEcho());
}

TEST_F(TTnCnxTest, LargeWriteArrivesInBoundedChunks)
{
    TTnCnx cnx;
    Received in(cnx);
    QTcpSocket* peer = open(cnx);
    ASSERT_NE(peer, nullptr);

    QByteArray sent;
    for (int i = 0; i < 200000; ++i)
        sent.append(char(i % 251));
    peer->write(sent);
    ASSERT_TRUE(in.waitFor(sent));
    // Each read takes at most 2048 bytes and is handed on by itself.
    for (const QByteArray& chunk : in.chunks)
        EXPECT_LE(chunk.size(), 2048);
}

TEST_F(TTnCnxTest, RefusedConnectionReportsErrorAndReason)
{
    TTnCnx cnx;
    cnx.setHost(QStringLiteral("127.0.0.1"));
    cnx.setPort(QString::number(closedPort()));
    QSignalSpy connected(&cnx, &TTnCnx::sessionConnected);
    QSignalSpy closed(&cnx, &TTnCnx::sessionClosed);
    cnx.Connect();
    ASSERT_TRUE(connected.wait(WaitMs));
    EXPECT_NE(connected.first().at(0).value<quint16>(), 0);
    EXPECT_FALSE(cnx.lastErrorText().isEmpty());
    EXPECT_FALSE(cnx.IsConnected());
    EXPECT_EQ(cnx.Send("x"), -1);
    EXPECT_TRUE(closed.isEmpty());

    for (int e = QAbstractSocket::UnknownSocketError; e <= QAbstractSocket::OperationError; ++e)
        EXPECT_NE(TTnCnx::ErrorCode(QAbstractSocket::SocketError(e)), 0) << e;
}

TEST_F(TTnCnxTest, RemoteCloseThenReconnectStartsFresh)
{
    TTnCnx cnx;
    Received in(cnx);
    QSignalSpy closed(&cnx, &TTnCnx::sessionClosed);
    QTcpSocket* first = open(cnx);
    ASSERT_NE(first, nullptr);

    // The server goes away in the middle of a command.
    first->write("a" + bytes({IAC, DO}));
    ASSERT_TRUE(in.waitFor("a"));
    first->disconnectFromHost();
    ASSERT_TRUE(closed.wait(WaitMs));
    EXPECT_EQ(closed.first().at(0).value<quint16>(), 0);
    EXPECT_EQ(in.display, QStringList{QStringLiteral("\r\n**** Remote has closed ****\r\n")});
    EXPECT_FALSE(cnx.IsConnected());

    in.data.clear();
    QTcpSocket* second = open(cnx);
    ASSERT_NE(second, nullptr);
    second->write("xyz" + bytes({IAC, DO, 24}));
    ASSERT_TRUE(in.waitFor("xyz"));
    // A leftover DO would have answered 'x' first.
    EXPECT_EQ(readExactly(second, 3), bytes({IAC, WILL, 24}));
}

TEST_F(TTnCnxTest, ConnectClosesTheOpenConnection)
{
    TTnCnx cnx;
    Received in(cnx);
    QSignalSpy closed(&cnx, &TTnCnx::sessionClosed);
    QTcpSocket* first = open(cnx);
    ASSERT_NE(first, nullptr);
    first->write("a" + bytes({IAC}));
    ASSERT_TRUE(in.waitFor("a"));
    in.data.clear();

    QTcpSocket* second = open(cnx);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(closed.size(), 1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return first->state() == QAbstractSocket::UnconnectedState; }, WaitMs));
    second->write(bytes({DO}) + "ok");
    EXPECT_TRUE(in.waitFor(bytes({DO}) + "ok"));
}

TEST_F(TTnCnxTest, SendStrDoublesIac)
{
    TTnCnx cnx;
    QTcpSocket* peer = open(cnx);
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(cnx.SendStr(bytes({'a', 255, 'b'})), 4);
    EXPECT_EQ(cnx.Send("\r\n"), 2);
    EXPECT_EQ(readExactly(peer, 6), bytes({'a', 255, 255, 'b', '\r', '\n'}));

    QSignalSpy closed(&cnx, &TTnCnx::sessionClosed);
    cnx.Close();
    EXPECT_FALSE(cnx.IsConnected());
    EXPECT_EQ(cnx.SendStr("late"), -1);
    EXPECT_TRUE(closed.size() == 1 || closed.wait(WaitMs));
    EXPECT_EQ(closed.first().at(0).value<quint16>(), 0);
}

TEST_F(TTnCnxTest, TelnetLinkRejectsBadAddresses)
{
    struct Case { const char* host; const char* port; };
    const Case cases[] = {
        {"", "4321"}, {"   ", "4321"}, {"localhost", "abc"}, {"localhost", ""},
        {"localhost", "0"}, {"localhost", "65536"}, {"localhost", "-23"}, {"localhost", "4.5"},
    };
    for (const Case& c : cases) {
        TelnetLink link;
        QString reason;
        EXPECT_FALSE(link.connectTo(QString::fromLatin1(c.host), QString::fromLatin1(c.port),
                                    &reason))
            << c.host << ":" << c.port;
        EXPECT_FALSE(reason.isEmpty()) << c.host << ":" << c.port;
        EXPECT_FALSE(link.isConnected());
    }
}

TEST_F(TTnCnxTest, TelnetLinkForwardsTheSession)
{
    TelnetLink link;
    QSignalSpy connected(&link, &TelnetLink::sessionConnected);
    QSignalSpy closed(&link, &TelnetLink::sessionClosed);
    QByteArray data;
    QObject::connect(&link, &TelnetLink::dataAvailable,
                     [&](const QByteArray& chunk) { data += chunk; });

    QString reason = QStringLiteral("untouched");
    ASSERT_TRUE(link.connectTo(QStringLiteral("127.0.0.1"), QString::number(server.serverPort()),
                               &reason));
    ASSERT_TRUE(connected.wait(WaitMs));
    EXPECT_EQ(connected.first().at(0).toInt(), 0);
    EXPECT_TRUE(connected.first().at(1).toString().isEmpty());
    EXPECT_TRUE(link.isConnected());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, WaitMs));
    QTcpSocket* peer = server.nextPendingConnection();

    link.send(bytes({'t', 'e', 'l', 'l', ' ', 255, '\r', '\n'}));
    EXPECT_EQ(readExactly(peer, 9), bytes({'t', 'e', 'l', 'l', ' ', 255, 255, '\r', '\n'}));
    peer->write(bytes({IAC, DO, 31}) + "data");
    EXPECT_TRUE(QTest::qWaitFor([&] { return data == "data"; }, WaitMs));
    peer->disconnectFromHost();
    EXPECT_TRUE(closed.wait(WaitMs));

    TelnetLink refused;
    QSignalSpy failed(&refused, &TelnetLink::sessionConnected);
    ASSERT_TRUE(refused.connectTo(QStringLiteral("127.0.0.1"), QString::number(closedPort()),
                                  nullptr));
    ASSERT_TRUE(failed.wait(WaitMs));
    EXPECT_NE(failed.first().at(0).toInt(), 0);
    EXPECT_FALSE(failed.first().at(1).toString().isEmpty());
}
