#include "../protocol/KeepingBoard.h"
#include "../protocol/SessionFixture.h"

#include "records/MatchRecord.h"

#include <QSignalSpy>

namespace {

class MatchRecordTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        session->Ports().board = &board;
        session->CurrentPosition.Colour = 1;
        session->CurrentPosition.MatchLength = 5;
    }

    // A row of the live game; the position's PlayerScore tells the rows apart.
    void addRow(const QString& left, const QString& right)
    {
        MovesListModel& grid = session->SGMovesList;
        session->CurrentPosition.PlayerScore = ++marker;
        AppendGameRow(*session);
        TGames& game = session->Games.last();
        game.PlayerPositions.last().MoveText = left;
        if (!session->BrowsingOldGame)
            grid.SetCell(1, session->GameRowCount, left);
        if (right.isEmpty())
            return;
        session->CurrentPosition.PlayerScore = ++marker;
        game.OpponentPositions.last() = session->CurrentPosition;
        game.OpponentPositions.last().MoveText = right;
        if (!session->BrowsingOldGame)
            grid.SetCell(2, session->GameRowCount, right);
    }

    // The next game begins, as the score line and the new-game line make it.
    void nextGame()
    {
        session->Games.append(TGames{});
        session->CBGames.Add(QStringLiteral("Game %1").arg(session->Games.size()));
        session->CBGames.SetItemIndex(int(session->Games.size()) - 1);
        session->ShownGame = int(session->Games.size());
        session->GameRowCount = 0;
        session->SGMovesList.ClearRows();
    }

    // Game 1 of three rows, game 2 (live) of three rows, the last one half filled.
    void twoGames()
    {
        ResetMatchRecord(*session);
        session->CBGames.Add(QStringLiteral("Game 1"));
        session->CBGames.SetItemIndex(0);
        addRow("Dice: 6 4", "51 13/8 6/5");
        addRow("64 24/18 13/9", "Doubles");
        addRow("Accepts", "");
        nextGame();
        addRow("31 8/5 6/5", "62 24/18 13/11");
        addRow("Doubles", "Gives up");
        addRow("", "");
    }

    QStringList row(int r) const
    {
        const MovesListModel& grid = session->SGMovesList;
        return {grid.Cell(0, r), grid.Cell(1, r), grid.Cell(2, r)};
    }
    std::pair<int, int> current() const
    {
        return {session->SGMovesList.Col(), session->SGMovesList.Row()};
    }
    std::pair<bool, bool> flags() const
    {
        return {session->BrowsingOldGame, session->ShowingStoredPosition};
    }

    KeepingBoard board;
    int marker = 0;
};

} // namespace

TEST_F(MatchRecordTest, ResetLeavesTheHeaderOneEmptyRowAndOneEmptyGame)
{
    twoGames();
    session->SGMovesList.SetCell(1, 0, QStringLiteral("alice"));
    session->CrawfordGame = session->CrawfordDone = session->OpponentDoubled = true;
    session->BrowsingOldGame = session->ShowingStoredPosition = true;
    QSignalSpy boardPage(session.get(), &ClientSession::boardPageWanted);

    ResetMatchRecord(*session);
    const MovesListModel& grid = session->SGMovesList;
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(row(0), QStringList({"Nb", "alice", "Player2"})) << "the header stays";
    EXPECT_EQ(row(1), QStringList({"", "", ""}));
    EXPECT_EQ(grid.rowCount(), 1) << "the view shows the empty row below its header";
    EXPECT_EQ(grid.headerData(1, Qt::Horizontal).toString(), "alice");
    EXPECT_TRUE(session->CBGames.Items().isEmpty());
    EXPECT_EQ(session->CBGames.ItemIndex(), -1);
    ASSERT_EQ(session->Games.size(), 1);
    EXPECT_TRUE(session->Games.first().PlayerPositions.isEmpty());
    EXPECT_TRUE(session->Games.first().OpponentPositions.isEmpty());
    EXPECT_EQ(session->GameRowCount, 0);
    EXPECT_EQ(session->ShownGame, 1);
    EXPECT_FALSE(session->CrawfordGame || session->CrawfordDone || session->OpponentDoubled);
    EXPECT_EQ(flags(), std::pair(false, false));
    EXPECT_EQ(boardPage.count(), 1);
}

TEST_F(MatchRecordTest, AppendGameRowKeepsOneEmptyRowBelow)
{
    ResetMatchRecord(*session);
    session->CurrentPosition.Cube = 2;
    AppendGameRow(*session);
    AppendGameRow(*session);
    EXPECT_EQ(session->SGMovesList.RowCount(), 4);
    EXPECT_EQ(row(2), QStringList({"2", "", ""}));
    EXPECT_EQ(row(3), QStringList({"", "", ""}));
    const TGames& game = session->Games.last();
    EXPECT_EQ(game.PlayerPositions.size(), 2);
    EXPECT_EQ(game.OpponentPositions.size(), 2);
    EXPECT_TRUE(game.PlayerPositions.at(1) == session->CurrentPosition);
    EXPECT_TRUE(game.OpponentPositions.at(1) == TPositions{}) << "filled by the far side later";
}

TEST_F(MatchRecordTest, RowsRecordedWhileBrowsingAppearOnReturn)
{
    twoGames();
    CBClick(*session);
    ASSERT_TRUE(session->BrowsingOldGame);
    addRow("Wins 2 points", "");
    EXPECT_EQ(session->SGMovesList.RowCount(), 5) << "game 1 stays on the list";
    EXPECT_EQ(row(3), QStringList({"3", "Accepts", ""}));
    EXPECT_EQ(session->GameRowCount, 4);

    SpeedButton4Click(*session);
    EXPECT_EQ(session->SGMovesList.RowCount(), 6);
    EXPECT_EQ(row(4), QStringList({"4", "Wins 2 points", ""}));

    CBClick(*session);
    addRow("Wins 4 points", "");
    CBGamesChange(*session, 1);
    EXPECT_EQ(row(5), QStringList({"5", "Wins 4 points", ""}));
}

TEST_F(MatchRecordTest, GameButtonsMoveBetweenGames)
{
    twoGames();
    SpeedButton4Click(*session);
    EXPECT_EQ(session->ShownGame, 2) << "next game on the live game does nothing";
    const int draws = board.draws;

    CBClick(*session);
    EXPECT_EQ(session->ShownGame, 1);
    EXPECT_EQ(session->CBGames.ItemIndex(), 0);
    EXPECT_EQ(flags(), std::pair(true, true));
    EXPECT_EQ(row(2), QStringList({"2", "64 24/18 13/9", "Doubles"}));
    EXPECT_EQ(session->SGMovesList.RowCount(), 5);
    EXPECT_EQ(board.draws, draws) << "the board is not redrawn";

    CBClick(*session);
    EXPECT_EQ(session->ShownGame, 1) << "previous game on game 1 does nothing";

    SpeedButton4Click(*session);
    EXPECT_EQ(session->ShownGame, 2);
    EXPECT_EQ(session->CBGames.ItemIndex(), 1);
    EXPECT_EQ(row(1), QStringList({"1", "31 8/5 6/5", "62 24/18 13/11"}));
    EXPECT_EQ(current(), std::pair(1, 3)) << "the last recorded row";
    EXPECT_EQ(board.last.PlayerScore, session->Games.at(1).PlayerPositions.at(2).PlayerScore);
    EXPECT_EQ(flags(), std::pair(false, false));
}

TEST_F(MatchRecordTest, ChoosingAGameDrawsItsFirstPosition)
{
    twoGames();
    CBGamesChange(*session, 0);
    EXPECT_EQ(session->ShownGame, 1);
    EXPECT_EQ(flags(), std::pair(true, true));
    EXPECT_EQ(row(1), QStringList({"1", "Dice: 6 4", "51 13/8 6/5"}));
    EXPECT_EQ(board.last.PlayerScore, 1);
    EXPECT_EQ(session->Status.SBJoueur[1], "Score : 1  LP : 5");

    CBGamesChange(*session, 1);
    EXPECT_EQ(flags(), std::pair(false, false));
    EXPECT_EQ(board.last.PlayerScore, session->Games.at(1).PlayerPositions.at(0).PlayerScore);

    // A game just begun has no position to show.
    nextGame();
    CBGamesChange(*session, 0);
    const int draws = board.draws;
    CBGamesChange(*session, 2);
    EXPECT_EQ(board.draws, draws);
    EXPECT_EQ(session->ShownGame, 3);
    EXPECT_EQ(flags(), std::pair(false, false));
}

TEST_F(MatchRecordTest, HalfMoveButtonsWalkTheCells)
{
    twoGames();
    struct Case {
        std::pair<int, int> from;
        void (*button)(ClientSession&);
        std::pair<int, int> to;
    };
    const Case cases[] = {
        {{1, 1}, SpeedButton3Click, {2, 1}},
        {{2, 1}, SpeedButton3Click, {1, 2}},
        {{0, 1}, SpeedButton3Click, {1, 2}},
        {{1, 3}, SpeedButton3Click, {1, 3}}, // its right cell is empty
        {{2, 3}, SpeedButton3Click, {2, 3}},
        {{2, 2}, SpeedButton2Click, {1, 2}},
        {{1, 2}, SpeedButton2Click, {2, 1}},
        {{0, 2}, SpeedButton2Click, {2, 1}},
        {{1, 1}, SpeedButton2Click, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from.first << "," << c.from.second);
        session->SGMovesList.SetCurrentCell(c.from.first, c.from.second);
        c.button(*session);
        EXPECT_EQ(current(), c.to);
    }

    // Moving selects the cell as a click does.
    session->SGMovesList.SetCurrentCell(1, 2);
    SpeedButton3Click(*session);
    EXPECT_EQ(board.last.MoveText, "Gives up");
    SpeedButton3Click(*session);
    CBClick(*session);
    session->SGMovesList.SetCurrentCell(1, 3);
    SpeedButton2Click(*session);
    EXPECT_EQ(board.last.MoveText, "Doubles");
}

TEST_F(MatchRecordTest, SelectingACellDrawsItsPosition)
{
    twoGames();
    TGames& live = session->Games[1];
    // Column 1: the position the row's first action was taken from.
    live.PlayerPositions[0].Turn = 0;
    SGMovesListClick(*session, 1, 1);
    EXPECT_EQ(board.last.PlayerScore, live.PlayerPositions.at(0).PlayerScore);
    EXPECT_EQ(session->Status.SBJoueur[1],
              QStringLiteral("Score : %1  LP : 5").arg(live.PlayerPositions.at(0).PlayerScore));
    EXPECT_EQ(live.PlayerPositions.at(0).Turn, 1) << "a played cell gets the mover's turn";
    EXPECT_TRUE(session->ShowingStoredPosition);

    // Column 2: the far side's turn.
    live.OpponentPositions[1].Colour = -1;
    SGMovesListClick(*session, 2, 2);
    EXPECT_EQ(board.last.MoveText, "Gives up");
    EXPECT_EQ(live.OpponentPositions.at(1).Turn, 1);

    // The last recorded row follows the live game again.
    SGMovesListClick(*session, 1, 3);
    EXPECT_FALSE(session->ShowingStoredPosition);
    EXPECT_EQ(live.PlayerPositions.at(2).Turn, 0) << "an empty cell keeps its turn";

    // Header and the empty last row do nothing.
    const int draws = board.draws;
    SGMovesListSelectCell(*session, 1, 0);
    SGMovesListSelectCell(*session, 1, 4);
    EXPECT_EQ(board.draws, draws);
    EXPECT_FALSE(session->ShowingStoredPosition);
}

TEST_F(MatchRecordTest, PlayerSeesTheLiveGameButKeepsFollowingIt)
{
    twoGames();
    session->Playing = true;
    SGMovesListClick(*session, 1, 1);
    EXPECT_EQ(board.last.PlayerScore, session->Games.at(1).PlayerPositions.at(0).PlayerScore);
    EXPECT_FALSE(session->ShowingStoredPosition) << "no analysis: the flag stays";

    SGMovesListClick(*session, 2, 1);
    EXPECT_TRUE(session->ShowingStoredPosition);

    CBClick(*session);
    SGMovesListClick(*session, 1, 1);
    EXPECT_EQ(session->Games.at(0).PlayerPositions.at(0).Turn, 1) << "an earlier game is open";
}

TEST_F(MatchRecordTest, CellWithoutAPositionDrawsNothing)
{
    ResetMatchRecord(*session);
    addRow("Gives up", "");
    addRow("", "");
    session->Games.last().OpponentPositions[1].MoveText = QStringLiteral("Wins 1 points");
    session->SGMovesList.SetCell(2, 2, QStringLiteral("Wins 1 points"));
    addRow("", "");
    const int draws = board.draws;
    SGMovesListClick(*session, 2, 2);
    EXPECT_EQ(board.draws, draws);
    EXPECT_TRUE(session->ShowingStoredPosition);
}
