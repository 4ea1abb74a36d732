#include "SessionFixture.h"

#include "protocol/LineQueue.h"

// A server that keeps talking while the queue is held (or while handling falls behind): the
// queue keeps only what is still to be handled, and nothing is lost or handled twice.
TEST_F(SessionTest, HandledLinesLeaveTheQueueBeforeItRunsEmpty)
{
    int held = 0;
    QObject::connect(&session->DisplayMemo, &TextLog::lineAdded, [this, &held](int index) {
        if (session->DisplayMemo.lines().at(index).text.startsWith(QLatin1String("hold"))) {
            session->HoldQueue();
            ++held;
        }
    });

    receive("one\r\ntwo\r\nhold 1\r\nthree\r\n");
    EXPECT_EQ(held, 1);
    // Only the line after the hold and the empty open line remain.
    EXPECT_EQ(session->MBuffer.Lines, (QStringList{"three", ""}));
    EXPECT_EQ(session->ProcessedLineCount, 0);

    // More arrives while held, itself with a hold in it.
    receive("four\r\nhold 2\r\nfive\r\n");
    EXPECT_EQ(session->MBuffer.Lines, (QStringList{"three", "four", "hold 2", "five", ""}));
    session->ReleaseQueue();
    rec.clock.runUntilIdle();
    EXPECT_EQ(held, 2);
    EXPECT_EQ(session->MBuffer.Lines, (QStringList{"five", ""}));

    session->ReleaseQueue();
    rec.clock.runUntilIdle();
    EXPECT_EQ(session->MBuffer.count(), 0);
    EXPECT_EQ(memo(), (QStringList{"one", "two", "hold 1", "three", "four", "hold 2", "five"}));
}
