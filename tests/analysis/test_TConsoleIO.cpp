#include "../TestApp.h"
#include "analysis/TConsoleIO.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

namespace {

constexpr int WaitMs = 10000;


// Every event of the component, in the order it was delivered.
struct Recorder {
    QStringList events;
    QStringList lines;
    QString errors;
    int ends = 0;

    void attach(TConsoleIO& io)
    {
        io.OnReceiveOutput = [this](TConsoleIO*, const QString& line) {
            lines << line;
            events << QStringLiteral("line:") + line;
        };
        io.OnReceiveError = [this](TConsoleIO*, const QString& text) { errors += text; };
        io.OnProcessStatusChange = [this](TConsoleIO*, bool running) {
            events << (running ? QStringLiteral("started") : QStringLiteral("ended"));
            if (!running)
                ++ends;
        };
    }
    bool waitForEnd() { return QTest::qWaitFor([this] { return ends > 0; }, WaitMs); }
};

bool StartShell(TConsoleIO& io, const QString& script)
{
    QString error;
    const bool ok = io.Start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, QString(),
                             false, &error);
    EXPECT_TRUE(ok) << error.toStdString();
    return ok;
}

struct SplitCase {
    const char* name;
    TSplitMode mode;
    bool dropCR;
    const char* script;
    QStringList lines; // everything delivered, the final remainder last
};

TEST(TConsoleIO, CutsOutputIntoLinesByTheSplitMode)
{
    ensureApp();
    const QString longLine(5000, u'x');
    const SplitCase cases[] = {
        // A separator cut in two by separate writes still ends one line.
        {"crlf across writes", sm0D0A, false, "printf 'abc\\r'; sleep 0.2; printf '\\ndef\\r\\n'",
         {"abc", "def", ""}},
        {"crlf keeps lone line feeds", sm0D0A, false, "printf 'a\\nb\\r\\n'", {"a\nb", ""}},
        {"line feed drops a carriage return", smSplitchar, true, "printf 'a\\r\\nb\\nc\\r\\n'",
         {"a", "b", "c", ""}},
        {"line feed keeps it when asked", smSplitchar, false, "printf 'a\\r\\n'", {"a\r", ""}},
        {"remainder without a line end", smSplitchar, true, "printf 'one\\ntwo'", {"one", "two"}},
        {"line longer than a read", smSplitchar, true,
         "python3 -c \"print('x' * 5000)\"", {longLine, ""}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        TConsoleIO io;
        io.SplitMode = c.mode;
        io.SplitChar = '\n';
        io.DropTrailingCR = c.dropCR;
        Recorder rec;
        rec.attach(io);
        ASSERT_TRUE(StartShell(io, QString::fromLatin1(c.script)));
        ASSERT_TRUE(rec.waitForEnd());
        EXPECT_EQ(rec.lines, c.lines);
        EXPECT_FALSE(io.IsRunning());
    }
}

TEST(TConsoleIO, WithoutSplittingEveryChunkIsDeliveredWhole)
{
    ensureApp();
    // smNone, or any mode with SplitReceive off.
    for (const bool noneMode : {false, true}) {
        TConsoleIO io;
        io.SplitMode = noneMode ? smNone : sm0D0A;
        io.SplitReceive = noneMode;
        Recorder rec;
        rec.attach(io);
        ASSERT_TRUE(StartShell(io, QStringLiteral("printf 'a\\r\\nb'; sleep 0.2; printf 'c\\r\\n'")));
        ASSERT_TRUE(rec.waitForEnd());
        EXPECT_EQ(rec.lines.join(QString()), QStringLiteral("a\r\nbc\r\n"));
        EXPECT_EQ(rec.lines.last(), QString()); // the end flushes the empty buffer too
    }
}

TEST(TConsoleIO, OutputWithoutALineEndWaitsForTheEnd)
{
    ensureApp();
    TConsoleIO io;
    Recorder rec;
    rec.attach(io);
    ASSERT_TRUE(StartShell(io, QStringLiteral("printf 'first\\r\\npartial'; sleep 0.3")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rec.lines.isEmpty(); }, WaitMs));
    EXPECT_EQ(rec.lines, QStringList{QStringLiteral("first")});
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.events, (QStringList{"started", "line:first", "line:partial", "ended"}));
}

TEST(TConsoleIO, OutputIsKeptUntilAHandlerIsSet)
{
    ensureApp();
    TConsoleIO io;
    Recorder rec;
    rec.attach(io);
    io.OnReceiveOutput = nullptr;
    ASSERT_TRUE(StartShell(io, QStringLiteral("printf 'one\\r\\ntwo'; printf x >&2; read x; "
                                              "printf '\\r\\nthree\\r\\n'; read y")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rec.errors.isEmpty(); }, WaitMs));
    rec.attach(io);
    ASSERT_TRUE(io.SendLine(QStringLiteral("go")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rec.lines.size() >= 3; }, WaitMs));
    EXPECT_EQ(rec.lines, (QStringList{"one", "two", "three"}));
    ASSERT_TRUE(io.SendLine(QStringLiteral("end")));
    ASSERT_TRUE(rec.waitForEnd());
}

TEST(TConsoleIO, SentLinesCarryTheModesLineEnd)
{
    ensureApp();
    struct Case {
        TSplitMode mode;
        bool splitSend;
        QByteArray expected;
    } cases[] = {
        {sm0D0A, true, "hi\r\n"},
        {smSplitchar, true, "hi;"},
        {smNone, true, "hi"},
        {sm0D0A, false, "hi"},
    };
    for (const Case& c : cases) {
        TConsoleIO io;
        io.SplitMode = c.mode;
        io.SplitChar = ';';
        io.SplitSend = c.splitSend;
        io.SplitReceive = false;
        QByteArray received;
        io.OnReceiveOutput = [&](TConsoleIO*, const QString& text) { received += text.toLatin1(); };
        int ends = 0;
        io.OnProcessStatusChange = [&](TConsoleIO*, bool running) { ends += running ? 0 : 1; };
        // The child echoes exactly the bytes it reads, shown as octal so line ends are visible.
        ASSERT_TRUE(StartShell(io, QStringLiteral("head -c %1 | od -An -c").arg(c.expected.size())));
        ASSERT_TRUE(io.SendLine(QStringLiteral("hi")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ends > 0; }, WaitMs));
        QByteArray shown;
        for (const char ch : c.expected)
            shown += ch == '\r' ? QByteArray("\\r") : ch == '\n' ? QByteArray("\\n") : QByteArray(1, ch);
        EXPECT_EQ(received.simplified().replace(" ", ""), shown) << int(c.mode);
    }
}

TEST(TConsoleIO, StopAsksAndKillsOnlyWhenAllowed)
{
    ensureApp();
    {
        // The terminate command is an ordinary line: a child that reads it can end itself.
        TConsoleIO io;
        Recorder rec;
        rec.attach(io);
        io.SplitMode = smSplitchar;
        ASSERT_TRUE(StartShell(io, QStringLiteral("read x; echo got:$x")));
        io.Stop();
        ASSERT_TRUE(rec.waitForEnd());
        EXPECT_EQ(rec.lines.first(), QStringLiteral("got:quit"));
    }
    {
        // A child that does not listen is killed once the wait is over.
        TConsoleIO io;
        io.EnableKill = true;
        io.WaitTimeout = 100;
        Recorder rec;
        rec.attach(io);
        ASSERT_TRUE(StartShell(io, QStringLiteral("exec sleep 60")));
        io.Stop();
        ASSERT_TRUE(rec.waitForEnd());
    }
    {
        // Nothing to send and no kill allowed: the child keeps running.
        TConsoleIO io;
        io.TerminateCommand.clear();
        Recorder rec;
        rec.attach(io);
        ASSERT_TRUE(StartShell(io, QStringLiteral("exec cat")));
        io.Stop();
        QTest::qWait(200);
        EXPECT_TRUE(io.IsRunning());
        EXPECT_EQ(rec.ends, 0);
        io.StopProcessOnFree = false;
    }
}

TEST(TConsoleIO, AChildThatDiesOrCannotStartLeavesAUsableComponent)
{
    ensureApp();
    TConsoleIO io;
    Recorder rec;
    rec.attach(io);
    ASSERT_TRUE(StartShell(io, QStringLiteral("printf 'last words'; kill -9 $$")));
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.lines, QStringList{QStringLiteral("last words")});
    EXPECT_FALSE(io.IsRunning());
    QString error;
    EXPECT_FALSE(io.SendLine(QStringLiteral("anyone?"), &error));
    EXPECT_FALSE(error.isEmpty());

    EXPECT_FALSE(io.Start(QStringLiteral("/no/such/program"), {}, QString(), false, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/no/such/program")));
    EXPECT_FALSE(io.IsRunning());

    // The same component runs the next child.
    ASSERT_TRUE(StartShell(io, QStringLiteral("printf 'again\\r\\n'")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rec.ends == 2; }, WaitMs));
    EXPECT_EQ(rec.lines.mid(1), (QStringList{"again", ""}));
}

} // namespace
