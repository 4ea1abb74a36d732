#include "protocol/GameCommands.h"

#include "model/Positions.h"
#include "records/MatchRecord.h"

#include "GameLines.h"
#include "SessionFixture.h"

#include <functional>

namespace {

class GameCommandsTest : public SessionTest {
protected:
    // The user is playing, on roll, with a move half entered.
    void SetUp() override
    {
        SessionTest::SetUp();
        ResetMatchRecord(*session);
        session->Playing = true;
        TPositions& p = session->CurrentPosition;
        SetStartingPosition(p);
        p.Player = QStringLiteral("You");
        p.Opponent = QStringLiteral("bob");
        p.MatchLength = 5;
        p.Turn = 1;
        p.Cube = 1;
        p.PlayerMayDouble = p.OpponentMayDouble = true;
        session->BoardLinePosition = p;
        p.Board(13) -= 1;
        p.Board(7) += 1;
        session->MoveNotation = QStringLiteral("13/7 ");
        MousePlay& m = session->Mouse;
        m.MoveCommand = QStringLiteral("move  13-7");
        m.MovedCount = 1;
        m.Die1Used = true;
        m.Dragging = true;
    }

    // Starts the case of a table afresh.
    void fresh()
    {
        rec.clock.runUntilIdle();
        session.reset();
        rec.link.sent.clear();
        rec.sound.played.clear();
        rec.prompter.boxes.clear();
        SetUp();
    }

    QByteArray sent()
    {
        rec.clock.runUntilIdle();
        return rec.link.sent;
    }

    bool entryReset() const
    {
        const MousePlay& m = session->Mouse;
        return m.MoveCommand.isEmpty() && m.MovedCount == 0 && !m.Die1Used && !m.Die2Used;
    }

    QString status() const { return session->Status.panel(QStringLiteral("SBJoueur"), 2); }
};

TEST_F(GameCommandsTest, CommandsSendTheirTextsAndResetTheEntry)
{
    const struct {
        const char* what;
        std::function<void(ClientSession&)> command;
        const char* bytes;
        bool resetsEntry;
    } cases[] = {
        {"refresh", TBRefreshBoardClick, "Board\r\n", true},
        {"undo", TBUndoClick, "", true},
        {"roll", Roll1Click, "Roll \r\n", false},
        {"reject", TBRejectClick, "reject\r\n", false},
        {"leave", Leave1Click, "leave\r\n", false},
        {"resign", [](ClientSession& s) { ResignCommand(s, QStringLiteral("gammon")); },
         "resign gammon\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        c.command(*session);
        EXPECT_EQ(sent(), QByteArray(c.bytes));
        EXPECT_EQ(entryReset(), c.resetsEntry);
        if (c.resetsEntry)
            EXPECT_TRUE(session->MoveNotation.isEmpty());
    }
}

TEST_F(GameCommandsTest, UndoReturnsToTheLastBoardLine)
{
    TBUndoClick(*session);
    EXPECT_EQ(session->CurrentPosition, session->BoardLinePosition);
    EXPECT_FALSE(session->Mouse.Dragging);
    EXPECT_GT(rec.board.draws, 0);
}

TEST_F(GameCommandsTest, NothingIsSentWhileDisconnected)
{
    rec.link.connected = false;
    for (auto command : {TBRefreshBoardClick, Roll1Click, TBRejectClick, Leave1Click})
        command(*session);
    ResignCommand(*session, QStringLiteral("normal"));
    EXPECT_TRUE(sent().isEmpty());
    // Leaving still ends the match here.
    EXPECT_FALSE(session->Playing);
    EXPECT_TRUE(session->CurrentPosition.Player.isEmpty());
    EXPECT_EQ(status(), QStringLiteral("You have left the match"));
}

TEST_F(GameCommandsTest, RejectAndAccept)
{
    session->OpponentDoubled = true;
    session->CurrentPosition.Cube = -2;
    TBRejectClick(*session);
    EXPECT_FALSE(session->OpponentDoubled);
    EXPECT_EQ(session->CurrentPosition.Turn, -1);
    EXPECT_EQ(rec.sound.played, QStringList{QStringLiteral("Sounds\\drop.wav")});

    // Accept does nothing without a double pending.
    rec.link.sent.clear();
    TBAcceptClick(*session);
    EXPECT_TRUE(sent().isEmpty());

    session->OpponentDoubled = true;
    session->Settings.ConfirmDoubles = true;
    rec.prompter.answer = false;
    TBAcceptClick(*session);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(session->OpponentDoubled);
    EXPECT_EQ(rec.prompter.boxes.last(),
              QStringLiteral("Confirm | Do you really want to accept the double?"));

    rec.prompter.answer = true;
    TBAcceptClick(*session);
    EXPECT_EQ(sent(), QByteArray("accept\r\n"));
    EXPECT_FALSE(session->OpponentDoubled);
    EXPECT_EQ(session->CurrentPosition.Cube, 2);
    EXPECT_TRUE(session->CurrentPosition.PlayerMayDouble);
    EXPECT_FALSE(session->CurrentPosition.OpponentMayDouble);
    EXPECT_EQ(session->CurrentPosition.Turn, -1);
    EXPECT_EQ(status(), QStringLiteral("Accept"));
    EXPECT_TRUE(entryReset());
}

TEST_F(GameCommandsTest, DoubleRequest)
{
    const struct {
        const char* what;
        int playerScore, cube, matchLength;
        bool confirm, answer;
        bool doubles;
        const char* box;
    } cases[] = {
        {"plain", 0, 1, 5, false, false, true, nullptr},
        {"confirmed", 0, 2, 5, true, true, true, "Confirm | Do you really want to double?"},
        {"not confirmed", 0, 1, 5, true, false, false, "Confirm | Do you really want to double?"},
        {"the cube wins the match", 3, 2, 5, true, true, false,
         "Double | Don't double, the cube is high enough to win the match"},
        {"one point wins the match", 4, 1, 5, false, true, false,
         "Double | Don't double, the cube is high enough to win the match"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        TPositions& p = session->CurrentPosition;
        p.PlayerScore = c.playerScore;
        p.Cube = c.cube;
        p.MatchLength = c.matchLength;
        p.OpponentDie1 = 3;
        session->Settings.ConfirmDoubles = c.confirm;
        rec.prompter.answer = c.answer;
        Double1Click(*session);
        EXPECT_EQ(rec.prompter.boxes.isEmpty() ? QString() : rec.prompter.boxes.last(),
                  c.box ? QString::fromLatin1(c.box) : QString());
        if (!c.doubles) {
            EXPECT_TRUE(sent().isEmpty());
            EXPECT_EQ(p.Cube, c.cube);
            EXPECT_EQ(session->GameRowCount, 0);
            continue;
        }
        EXPECT_EQ(sent(), QByteArray("Double\r\n"));
        EXPECT_EQ(p.Cube, -2 * c.cube);
        EXPECT_EQ(p.Turn, -1);
        EXPECT_EQ(p.OpponentDie1, 0);
        EXPECT_EQ(status(), QStringLiteral("You double"));
        EXPECT_EQ(session->GameRowCount, 1);
        EXPECT_EQ(session->SGMovesList.Cell(0, 1), QStringLiteral("1"));
        EXPECT_EQ(session->SGMovesList.Cell(1, 1), QStringLiteral("Doubles"));
        const TPositions& stored = LiveGame(*session).PlayerPositions.at(0);
        EXPECT_EQ(stored.Cube, -2 * c.cube);
        EXPECT_EQ(stored.MoveText, QStringLiteral("Doubles"));
        EXPECT_EQ(rec.sound.played, QStringList{QStringLiteral("Sounds\\double.wav")});
    }
}

TEST_F(GameCommandsTest, TheUsersDoubleReachesTheMatchRecordAndTheOpponentsTake)
{
    // The server's answer to the double comes on the same row.
    receive(BoardLine({.turn = 1, .cube = 1}) + "\r\n");
    Double1Click(*session);
    receive("bob accepts the double. The cube shows 2.\r\n");
    EXPECT_EQ(session->SGMovesList.Cell(1, 1), QStringLiteral("Doubles"));
    EXPECT_EQ(session->SGMovesList.Cell(2, 1), QStringLiteral("Accepts"));
}

} // namespace
