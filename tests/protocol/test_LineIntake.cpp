#include "SessionFixture.h"

#include "protocol/LineDispatcher.h"
#include "protocol/LineQueue.h"

#include <stdexcept>

TEST(LineQueue, AppendToQueueKeepsTheOpenLine)
{
    struct Case {
        std::vector<QString> chunks;
        QStringList expected;
    };
    const Case cases[] = {
        {{"abc"}, {"abc"}},
        {{"abc\r\n"}, {"abc", ""}},
        {{"a\r\nb\r\nc"}, {"a", "b", "c"}},
        {{"ab", "c\r\nd"}, {"abc", "d"}},
        // The line feed of a CR LF split between two reads belongs to that line end.
        {{"abc\r", "\ndef\r\n"}, {"abc", "def", ""}},
        // A lone line feed stays in the text; only one after a carriage return is dropped.
        {{"a\nb\r\n"}, {"a\nb", ""}},
        {{"a\r\r\n"}, {"a", "", ""}},
        {{"x\r", "y\r", "\n"}, {"x", "y", ""}},
    };
    for (const Case& c : cases) {
        LineQueue q;
        for (const QString& chunk : c.chunks)
            q.AppendToQueue(chunk);
        EXPECT_EQ(q.Lines, c.expected) << c.chunks.front().toStdString();
    }
}

TEST_F(SessionTest, LinesAreShownInOrderAndTheQueueEmptiesItself)
{
    receive("hello\r\nworld\r\n");
    EXPECT_EQ(memo(), (QStringList{"hello", "world"}));
    EXPECT_EQ(session->MBuffer.count(), 0);
    EXPECT_EQ(session->ProcessedLineCount, 0);
}

TEST_F(SessionTest, PromptWithoutLineEndIsHandledOnceTheServerIsQuiet)
{
    session->IdTelnetDataAvailable("\r\nFIBS banner\r\nlogin: ");
    rec.clock.advance(50);
    EXPECT_EQ(memo(), QStringList{"FIBS banner"});
    rec.clock.advance(60);
    EXPECT_EQ(memo(), (QStringList{"FIBS banner", "login: "}));
}

TEST_F(SessionTest, LineSplitAcrossReadsStaysWholeWhenTheRestComesSoon)
{
    session->IdTelnetDataAvailable("You're now watching ali");
    rec.clock.advance(40);
    session->IdTelnetDataAvailable("ce.\r\n");
    rec.clock.runUntilIdle();
    EXPECT_EQ(memo(), QStringList{"You're now watching alice."});
}

TEST_F(SessionTest, ALineTricklingInWakesTheIntakeAboutTwicePerRead)
{
    // Every read ends mid-line: once for the read, once to wait for quiet. A wait overtaken by
    // the next read must lapse, not wake the intake and arm another wait.
    const QByteArray line(200, 'x');
    const qint64 before = rec.clock.timersRun();
    for (const char c : line) {
        session->IdTelnetDataAvailable(QByteArray(1, c));
        rec.clock.advance(5);
    }
    session->IdTelnetDataAvailable("\r\n");
    rec.clock.runUntilIdle();
    EXPECT_EQ(memo(), QStringList{QString::fromLatin1(line)});
    EXPECT_LE(rec.clock.timersRun() - before, 2 * (line.size() + 1) + 2);
}

TEST_F(SessionTest, LineSplitByALongPauseIsHandledAsTwoPieces)
{
    session->IdTelnetDataAvailable("half a li");
    rec.clock.advance(150);
    session->IdTelnetDataAvailable("ne and more\r\n");
    rec.clock.runUntilIdle();
    EXPECT_EQ(memo(), (QStringList{"half a li", "ne and more"}));
}

TEST_F(SessionTest, CrLfSplitBetweenReadsDoesNotSpoilTheNextLine)
{
    session->IdTelnetDataAvailable("first\r");
    rec.clock.runUntilIdle();
    session->IdTelnetDataAvailable("\n** second\r\n");
    rec.clock.runUntilIdle();
    EXPECT_EQ(memo(), (QStringList{"first", "** second"}));
}

TEST_F(SessionTest, ChunkIsCutAtAZeroByte)
{
    receive(QByteArray("kept\r\n\0dropped\r\n", 17));
    EXPECT_EQ(memo(), QStringList{"kept"});
}

TEST_F(SessionTest, EightBitTextComesThroughUnchanged)
{
    receive("caf\xe9 \xff\r\n");
    ASSERT_EQ(memo().size(), 1);
    EXPECT_EQ(memo().first().toLatin1(), QByteArray("caf\xe9 \xff"));
}

TEST_F(SessionTest, DispatchRowsAndFinalFilters)
{
    struct Case {
        const char* line;
        bool shown;
    };
    const Case cases[] = {
        {"1 alice 1593778125 host", false},
        {"3", false},
        {"4", false},
        {"7 bob bob logs in.", false},
        {"2 alice 1 1 0 0 0 0 1 1 245 0 1 0 1 1623.47 0 0 0 0 0 UTC", false},
        {"Please move 2 pieces.", false},
        {"Pleased to meet you", true},
        {"You double. Please wait for bob to accept or reject.", false},
        {"bob wins a 7 point match against carol  8-3 .", false},
        {"It's your turn to move.", false},
        {"It's your turn to move. ", true},
        {"x", false},
        {"The only possible move is 25-24 .", false},
        {"bob makes the first move.", false},
        {"Bearing off: 1 o", false},
        {"bob waves goodbye.", false},
        {"Hello there", true},
    };
    for (const Case& c : cases) {
        session->DisplayMemo.clear();
        receive(QByteArray(c.line) + "\r\n");
        EXPECT_EQ(memo().size() == 1, c.shown) << c.line;
    }
}

TEST_F(SessionTest, NoticesAreShownAtOnceAndSkipTheFilters)
{
    QStringList reachedBoardRow;
    session->Dispatcher().SetHandler("board-line",
                                     [&](QString& line) {
                                         if (!line.isEmpty())
                                             reachedBoardRow.append(line);
                                     });
    receive("** You double the cube? wins a\r\nboard:You:bob:1\r\n");
    EXPECT_EQ(memo(), (QStringList{"** You double the cube? wins a", "board:You:bob:1"}));
    EXPECT_EQ(reachedBoardRow, QStringList{"board:You:bob:1"});
}

TEST_F(SessionTest, AFailingHandlerDoesNotStopTheIntake)
{
    session->Settings.Debug = true;
    session->Dispatcher().SetHandler("who-info", [](QString& line) {
        if (line.startsWith(QLatin1String("5 ")))
            throw std::runtime_error("bad number");
    });
    receive("5 broken\r\nafter one\r\nafter two\r\n");
    EXPECT_EQ(memo(), (QStringList{"after one", "after two"}));
    const QStringList debug = session->MDebug.texts();
    ASSERT_FALSE(debug.filter("bad number").isEmpty());
    EXPECT_TRUE(debug.filter("bad number").first().contains("who-info"));
}

TEST_F(SessionTest, DebugEchoAddsTheShownTextInGreen)
{
    session->Settings.Debug = true;
    receive("3\r\nshown line\r\n");
    const auto& lines = session->MDebug.lines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].text, "3");
    EXPECT_FALSE(lines[0].colour.isValid());
    EXPECT_EQ(lines[1].text, "shown line//shown line");
    EXPECT_EQ(lines[1].colour, QColor(0, 128, 0));
}

TEST_F(SessionTest, HeldQueueWaitsAndThenResumesInOrder)
{
    session->HoldQueue();
    receive("one\r\ntwo\r\n");
    EXPECT_TRUE(memo().isEmpty());
    session->ReleaseQueue();
    rec.clock.runUntilIdle();
    EXPECT_EQ(memo(), (QStringList{"one", "two"}));
}

TEST_F(SessionTest, AModalQuestionHoldsLaterLinesWithoutReentry)
{
    // A handler that asks a question: while the box is open more data arrives and the tick
    // fires, as it does under a nested event loop; nothing may be handled before it returns.
    QStringList order;
    rec.prompter.onBox = [&](const QString&) {
        session->IdTelnetDataAvailable("late\r\n");
        session->Timer1Timer();
        order.append("box closed");
    };
    session->Dispatcher().SetHandler("match-start", [&](QString& line) {
        order.append(line);
        if (line == QLatin1String("ask")) {
            rec.prompter.question("Q", "?");
            line.clear();
        }
    });
    receive("ask\r\nnext\r\n");
    EXPECT_EQ(order, (QStringList{"ask", "box closed", "next", "late"}));
}

TEST_F(SessionTest, FirstChunkAsksForSavedGamesOnceAfterAPause)
{
    session->IdTelnetDataAvailable("login: ");
    rec.clock.advance(250);
    EXPECT_TRUE(rec.link.sent.isEmpty());
    rec.clock.advance(60);
    EXPECT_EQ(rec.link.sent, QByteArray("show saved\r\n"));
    receive("more\r\n");
    EXPECT_EQ(rec.link.sent, QByteArray("show saved\r\n"));
}

TEST_F(SessionTest, FirstChunkWhileRegisteringDoesNotAskForSavedGames)
{
    session->Registering = true;
    receive("login: ");
    EXPECT_TRUE(rec.link.sent.isEmpty());
}

TEST_F(SessionTest, BurstIsHandledInBudgetedTicksInOrder)
{
    QByteArray burst;
    for (int i = 0; i < 2000; ++i)
        burst += "line " + QByteArray::number(i) + "\r\n";
    receive(burst);
    const QStringList shown = memo();
    ASSERT_EQ(shown.size(), 2000);
    EXPECT_EQ(shown.first(), "line 0");
    EXPECT_EQ(shown.last(), "line 1999");
}
