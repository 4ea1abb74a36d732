#include "OakTheme.h"

#include "model/Positions.h"
#include "protocol/ClientSession.h"
#include "protocol/RecordingPorts.h"
#include "protocol/StateJson.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A board port whose slides end only when the test says so.
class HoldingBoard : public BoardPort {
public:
    void drawPosition(const TPositions& position) override { draws.push_back(position); }
    void animateChecker(const TPositions& position, int from, int to,
                        std::function<void()> done) override
    {
        slides.push_back({position, from, to});
        pending.push_back(std::move(done));
    }
    void finishOne()
    {
        ASSERT_FALSE(pending.empty());
        auto done = std::move(pending.front());
        pending.erase(pending.begin());
        done();
    }

    struct Slide {
        TPositions before;
        int from, to;
    };
    std::vector<TPositions> draws;
    std::vector<Slide> slides;
    std::vector<std::function<void()>> pending;
};

class BoardViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        ASSERT_TRUE(oak::Install(folder));
        rec.link.connected = true;
        SessionPorts ports = rec.ports();
        ports.board = &board;
        session = std::make_unique<ClientSession>(folder, ports);
    }

    void writeSettings(const QByteArray& text)
    {
        QFile file(folder + "/tabulon.ini");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    void receive(const QByteArray& data)
    {
        session->IdTelnetDataAvailable(data);
        rec.clock.runUntilIdle();
    }

    QTemporaryDir dir;
    QString folder;
    RecordingPorts rec;
    HoldingBoard board;
    std::unique_ptr<ClientSession> session;
};

TEST_F(BoardViewTest, StartUpAppliesTheThemeAndDrawsTheStartingPosition)
{
    writeSettings("[Board]\r\nDefaultBoard=Themes\\Oak\\Oak.ini\r\nPlaywithbluechecker=0\r\n");
    session->FormCreate();
    EXPECT_EQ(session->BoardDescription.BoardName, "Oak");
    EXPECT_EQ(session->BoardDescription.Point[13], 34);
    EXPECT_TRUE(session->Board.Renderer.HasTheme());
    EXPECT_EQ(session->Board.Renderer.Pictures().OwnCheckerPicture.pixelColor(8, 8), oak::Red);
    EXPECT_EQ(session->Board.Renderer.PointAnchor(6), QPoint(164, 180));
    EXPECT_EQ(SessionStateJson(*session).value("Theme").toString(), "Oak");
    EXPECT_TRUE(session->DisplayMemo.texts().isEmpty()) << session->DisplayMemo.texts().join('\n').toStdString();
    ASSERT_FALSE(board.draws.empty());
    EXPECT_EQ(board.draws.back().Board(6), 5);

    session->FormDestroy();
    EXPECT_FALSE(session->Board.Renderer.HasTheme());
}

TEST_F(BoardViewTest, AThemeThatFailsLeavesTheOneInPlaceAndNamesTheFile)
{
    writeSettings("[Board]\r\nDefaultBoard=Themes\\Gone\\Gone.ini\r\n");
    session->FormCreate();
    EXPECT_TRUE(session->BoardDescription.BoardName.isEmpty());
    EXPECT_FALSE(session->Board.Renderer.HasTheme());
    ASSERT_EQ(session->DisplayMemo.texts().size(), 1);
    EXPECT_TRUE(session->DisplayMemo.texts().first().startsWith(
        "**The board theme could not be loaded: cannot read "));
    EXPECT_TRUE(session->DisplayMemo.texts().first().endsWith("Gone.ini**"));
    EXPECT_EQ(SessionStateJson(*session).value("Theme").toString(), "");

    session->DisplayMemo.clear();
    session->Settings.DefaultBoard = oak::DescriptionPath(folder);
    ASSERT_TRUE(session->Board.ApplyTheme());

    QFile::remove(folder + "/themes/oak/indred.png");
    session->Settings.PlayWithBlueChecker = false;
    EXPECT_FALSE(session->Board.ApplyTheme());
    ASSERT_EQ(session->DisplayMemo.texts().size(), 1);
    EXPECT_TRUE(session->DisplayMemo.texts().first().contains("IndRed.png"));
    EXPECT_EQ(session->BoardDescription.BoardName, "Oak");
    // Still the blue checkers of the theme that loaded.
    EXPECT_EQ(session->Board.Renderer.Pictures().OwnCheckerPicture.pixelColor(8, 8), oak::Blue);
}

TEST_F(BoardViewTest, AHitSendsTheCheckerToTheBarOfTheSideNotOnTurn)
{
    struct Case {
        const char* what;
        int colour, turn, from, fromCount, to, toCount;
        int bar; // board index of the bar the hit checker goes to
        int barCount;
    };
    const Case cases[] = {
        {"near side O hits", 1, 1, 13, 5, 8, -1, 0, -1},
        {"near side X hits", -1, -1, 12, -5, 17, 1, 25, 1},
        {"far side X hits", 1, -1, 1, -2, 4, 1, 25, 1},
        {"far side O hits", -1, 1, 24, 2, 20, -1, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPositions& p = session->CurrentPosition;
        p = TPositions{};
        p.Colour = c.colour;
        p.Turn = c.turn;
        p.Board(c.from) = c.fromCount;
        p.Board(c.to) = c.toCount;
        session->Board.MoveChecker(c.from, c.to);
        board.finishOne();
        const int s = c.fromCount < 0 ? -1 : 1;
        EXPECT_EQ(p.Board(c.from), c.fromCount - s);
        EXPECT_EQ(p.Board(c.to), s);
        EXPECT_EQ(p.Board(c.bar), c.barCount);
        EXPECT_EQ(board.draws.back().BoardCells, p.BoardCells);
    }
    // With the near side on turn the hit checker lands on display 0, the far side's bar.
    EXPECT_EQ(MirrorIndex(0, 1), 0);
    EXPECT_EQ(MirrorIndex(0, -1), 25);
}

TEST_F(BoardViewTest, MovesWaitForEachOtherAndHoldTheLineQueue)
{
    TPositions& p = session->CurrentPosition;
    SetStartingPosition(p);
    p.Turn = 1;
    bool after = false;
    session->Board.MoveChecker(13, 8);
    session->Board.MoveChecker(8, 5);
    session->Board.AfterCheckerMoves([&] { after = true; });

    // The first slide runs: the checker has left 13 and not yet arrived on 8.
    ASSERT_EQ(board.slides.size(), 1u);
    EXPECT_EQ(board.slides[0].before.Board(13), 5);
    EXPECT_EQ(board.draws.back().Board(13), 4);
    EXPECT_EQ(board.draws.back().Board(8), 3);
    EXPECT_TRUE(session->QueueHeld());

    receive("Some line from the server\r\n");
    EXPECT_TRUE(session->DisplayMemo.texts().isEmpty());

    board.finishOne();
    ASSERT_EQ(board.slides.size(), 2u);
    EXPECT_EQ(board.slides[1].before.Board(8), 4);
    EXPECT_FALSE(after);
    EXPECT_TRUE(session->QueueHeld());

    board.finishOne();
    EXPECT_TRUE(after);
    EXPECT_FALSE(session->QueueHeld());
    EXPECT_EQ(p.Board(8), 3);
    EXPECT_EQ(p.Board(5), 1);
    rec.clock.runUntilIdle();
    EXPECT_EQ(session->DisplayMemo.texts(), QStringList{"Some line from the server"});
}

TEST_F(BoardViewTest, MovesOffTheBoardAreIgnored)
{
    TPositions& p = session->CurrentPosition;
    SetStartingPosition(p);
    const TPositions before = p;
    bool after = false;
    session->Board.MoveChecker(13, 27);
    session->Board.MoveChecker(-2, 5);
    session->Board.AfterCheckerMoves([&] { after = true; });
    EXPECT_TRUE(after);
    EXPECT_TRUE(board.slides.empty());
    EXPECT_EQ(p.BoardCells, before.BoardCells);
    EXPECT_FALSE(session->QueueHeld());
}

TEST_F(BoardViewTest, APortThatEndsSlidesAtOnceRunsEveryMoveInOrder)
{
    SessionPorts ports = rec.ports();
    ClientSession replay(folder, ports); // the recording board ends each slide at once
    TPositions& p = replay.CurrentPosition;
    SetStartingPosition(p);
    p.Turn = 1;
    QStringList order;
    replay.Board.MoveChecker(24, 18);
    replay.Board.AfterCheckerMoves([&] { order << "after first"; });
    replay.Board.MoveChecker(18, 14);
    replay.Board.AfterCheckerMoves([&] { order << "after second"; });
    EXPECT_EQ(rec.board.animations, (QStringList{"24-18", "18-14"}));
    EXPECT_EQ(order, (QStringList{"after first", "after second"}));
    EXPECT_EQ(p.Board(24), 1);
    EXPECT_EQ(p.Board(14), 1);
    EXPECT_FALSE(replay.QueueHeld());
}

} // namespace
