#include "../TestApp.h"
#include "net/TTnCnx.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr int WaitMs = 20000;

QByteArray pattern(int size, int seed)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 7 + seed) % 251); // never 255: no telnet commands
    return out;
}

// A closed read gate holds the server back (its bytes wait unsent) and loses nothing: once
// the gate opens, every byte arrives in order, also those sent before the server hung up.
TEST(TTnCnxReadGate, AClosedGateHoldsTheServerBackAndLosesNothing)
{
    ensureApp();
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    TTnCnx cnx;
    bool open = false;
    cnx.SetReadGate([&open] { return open; });
    QByteArray received;
    QObject::connect(&cnx, &TTnCnx::dataAvailable,
                     [&received](const QByteArray& chunk) { received += chunk; });
    QSignalSpy closed(&cnx, &TTnCnx::sessionClosed);
    cnx.setHost(QStringLiteral("127.0.0.1"));
    cnx.setPort(QString::number(server.serverPort()));
    cnx.Connect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, WaitMs));
    QTcpSocket* peer = server.nextPendingConnection();

    // Far more than the socket's own buffer and the system's together.
    const QByteArray first = pattern(16 * 1024 * 1024, 1);
    peer->write(first);
    QTest::qWait(300);
    EXPECT_TRUE(received.isEmpty());
    EXPECT_GT(peer->bytesToWrite(), 0);

    open = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() >= first.size(); }, WaitMs));
    EXPECT_TRUE(received == first);

    // Closed again, the server sends its last words and hangs up.
    open = false;
    received.clear();
    const QByteArray last = pattern(512 * 1024, 2);
    peer->write(last);
    peer->disconnectFromHost();
    QTest::qWait(300);
    open = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() >= last.size(); }, WaitMs));
    EXPECT_TRUE(received == last);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !closed.isEmpty(); }, WaitMs));
}

} // namespace
