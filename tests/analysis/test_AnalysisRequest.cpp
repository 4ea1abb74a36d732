#include "../protocol/SessionFixture.h"

#include "model/GnubgIds.h"
#include "model/Positions.h"
#include "records/MatchRecord.h"

namespace {

const QString Waiting = QStringLiteral("Please wait....");
const QString NoMove = QStringLiteral("No move selected");

// Selecting a moves-list cell in a session that runs no engine.
class AnalysisRequestTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        ResetMatchRecord(*session);
        SetStartingPosition(session->CurrentPosition);
        session->CurrentPosition.Colour = 1;
        session->CurrentPosition.MatchLength = 7;
        addRow(QStringLiteral("53 8/3 6/3"), QStringLiteral("Doubles"));
        addRow(QStringLiteral("Accepts"), QString());
    }

    void addRow(const QString& left, const QString& right)
    {
        AppendGameRow(*session);
        TGames& game = session->Games.last();
        game.PlayerPositions.last().MoveText = left;
        game.OpponentPositions.last() = session->CurrentPosition;
        game.OpponentPositions.last().MoveText = right;
        session->SGMovesList.SetCell(1, session->GameRowCount, left);
        session->SGMovesList.SetCell(2, session->GameRowCount, right);
    }

    QStringList moves() const { return session->MMoves.texts(); }
    QStringList cube() const { return session->MCube.texts(); }
};

TEST_F(AnalysisRequestTest, AMoveCellShowsItsIdsAndTheEnginesState)
{
    SGMovesListClick(*session, 1, 1);
    const TPositions& p = session->Games.last().PlayerPositions.first();
    EXPECT_EQ(session->EPosId, PositionId(p));
    EXPECT_EQ(session->EMatchId, MatchId(p));
    EXPECT_EQ(p.Turn, p.Colour); // the side that moved is on roll in the request
    ASSERT_EQ(moves().size(), 1);
    EXPECT_TRUE(moves().first().startsWith(QLatin1String("The analysis is unavailable")));
    EXPECT_EQ(cube(), moves());
}

TEST_F(AnalysisRequestTest, CellsWithoutAMoveNeverLeaveTheBoxesWaiting)
{
    for (const int col : {1, 2}) {
        SCOPED_TRACE(col);
        // The empty cell of the second row's right column, and an empty left cell.
        session->SGMovesList.SetCell(1, 2, QString());
        session->Games.last().PlayerPositions[1].MoveText.clear();
        SGMovesListClick(*session, col, 2);
        EXPECT_EQ(moves(), QStringList{NoMove});
        EXPECT_EQ(cube(), QStringList{NoMove});
    }
    // The header and the empty last row only clear the boxes.
    for (const int row : {0, 3}) {
        session->MMoves.addLine(Waiting);
        SGMovesListSelectCell(*session, 1, row);
        EXPECT_TRUE(moves().isEmpty()) << row;
        EXPECT_TRUE(cube().isEmpty()) << row;
    }
}

TEST_F(AnalysisRequestTest, NothingIsAskedWhilePlayingTheLiveGame)
{
    session->Playing = true;
    SGMovesListClick(*session, 1, 1);
    EXPECT_TRUE(session->EPosId.isEmpty());
    EXPECT_TRUE(moves().isEmpty());
    EXPECT_TRUE(cube().isEmpty());
}

} // namespace
