#include "SessionFixture.h"

#include "model/Positions.h"
#include "protocol/StateJson.h"

#include <QFile>

namespace {

const QByteArray exampleLine =
    "board:You:bob:5:1:2:0:-2:0:0:0:0:5:0:3:0:0:0:-5:5:0:0:0:-3:0:-5:0:0:0:0:2:0:"
    "1:6:2:0:0:1:1:1:0:1:-1:0:25:0:0:0:0:2:0:0:0";

// The fourth board line of the recorded watched match: GammonBot_VII (X) has been hit.
const QByteArray hitLine =
    "board:GammonBot_VII:pipcat:5:0:0:0:-1:0:0:0:-1:5:0:3:0:0:0:-4:5:0:0:0:-3:-1:-5:0:0:0:0:1:1:"
    "1:0:0:0:0:1:1:1:0:-1:1:25:0:0:0:0:1:2:1:0:0";

QStringList panels(const std::array<QString, 3>& bar)
{
    return {bar[0], bar[1]};
}

} // namespace

TEST_F(SessionTest, BoardLineSetsThePositionItsCopiesTheBoardAndThePanels)
{
    session->CurrentPosition.MoveText = "Doubles => 2";
    receive(exampleLine + "\r\n\r\n");

    TPositions expected;
    expected.MoveText = "Doubles => 2";
    ASSERT_TRUE(ParseBoardLine(QString::fromLatin1(exampleLine), expected, nullptr));
    EXPECT_TRUE(session->CurrentPosition == expected);
    EXPECT_TRUE(session->BoardLinePosition == expected);
    EXPECT_TRUE(session->CommittedPosition == expected);
    EXPECT_EQ(rec.board.draws, 1);
    EXPECT_TRUE(memo().isEmpty()) << "the board line is consumed";
    EXPECT_EQ(panels(session->Status.SBJoueur),
              (QStringList{"You Pips:167 Thorp:198", "Score : 1  LP : 5"}));
    EXPECT_EQ(panels(session->Status.SBAdversaire),
              (QStringList{"bob Pips:167 Thorp:198", "Score : 2  LP : 5"}));

    receive(hitLine + "\r\n");
    EXPECT_EQ(panels(session->Status.SBJoueur),
              (QStringList{"GammonBot_VII Pips:157 Thorp:187", "Score : 0  LP : 5"}));
    EXPECT_EQ(panels(session->Status.SBAdversaire),
              (QStringList{"pipcat Pips:168 Thorp:198", "Score : 0  LP : 5"}));
    const QJsonObject state = SessionStateJson(*session);
    EXPECT_EQ(state["PipCount"].toObject(), (QJsonObject{{"Player", 157}, {"Opponent", 168}}));
    EXPECT_EQ(state["ThorpCount"].toObject(), (QJsonObject{{"Player", 187}, {"Opponent", 198}}));
}

TEST_F(SessionTest, RejectedBoardLineKeepsThePositionAndTheIntakeGoesOn)
{
    receive(exampleLine + "\r\n");
    const TPositions good = session->CurrentPosition;
    const QString panel = session->Status.SBJoueur[0];

    QByteArray crowded = exampleLine;
    crowded.replace("board:You:bob:5:1:2:0:-2", "board:You:bob:5:1:2:0:-16");
    receive("board:You:bob:5\r\n" + crowded + "\r\nnext line\r\n");

    EXPECT_TRUE(session->CurrentPosition == good);
    EXPECT_TRUE(session->BoardLinePosition == good);
    EXPECT_EQ(rec.board.draws, 1);
    EXPECT_EQ(session->Status.SBJoueur[0], panel);
    EXPECT_EQ(memo(), QStringList{"next line"}) << "refused lines are not shown";
    const QString debug = session->MDebug.texts().join('\n');
    EXPECT_TRUE(debug.contains("only 3 of the 49 words")) << debug.toStdString();
    EXPECT_TRUE(debug.contains("word 7 (board) is out of range: -16")) << debug.toStdString();

    receive(hitLine + "\r\n");
    EXPECT_EQ(session->CurrentPosition.Player, "GammonBot_VII");
    EXPECT_EQ(rec.board.draws, 2);
}

TEST_F(SessionTest, CapitalBoardIsAnOrdinaryLine)
{
    receive("Board:You:bob:5\r\n");
    EXPECT_EQ(memo(), QStringList{"Board:You:bob:5"});
    EXPECT_EQ(rec.board.draws, 0);
    EXPECT_TRUE(session->CurrentPosition == TPositions());
}

TEST_F(SessionTest, BrowsedPositionIsNotOverdrawnByABoardLine)
{
    session->ShowingStoredPosition = true;
    receive(exampleLine + "\r\n");
    EXPECT_EQ(session->CurrentPosition.Opponent, "bob");
    EXPECT_EQ(session->BoardLinePosition.Opponent, "bob");
    EXPECT_EQ(rec.board.draws, 0);
    EXPECT_EQ(session->Status.SBAdversaire[0], "Player2");

    session->ShowingStoredPosition = false;
    session->BrowsingOldGame = true;
    receive(hitLine + "\r\n");
    EXPECT_EQ(session->CurrentPosition.Opponent, "pipcat");
    EXPECT_EQ(rec.board.draws, 0);
    EXPECT_EQ(session->Status.SBAdversaire[0], "Player2");
}

TEST_F(SessionTest, StartUpDrawsTheStartingPosition)
{
    session->FormCreate();
    TPositions start;
    SetStartingPosition(start);
    EXPECT_EQ(session->CurrentPosition.BoardCells, start.BoardCells);
    EXPECT_EQ(session->CurrentPosition.Colour, 1);
    EXPECT_EQ(rec.board.draws, 1);
}

TEST_F(SessionTest, RecordedWatchingSessionFollowsTheBoardLines)
{
    QFile file(QStringLiteral(TABULON_FIXTURES_DIR "/fibs-2020-07-03-watching.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Back to the server's line ends; cut after the fourth board line.
    QByteArray head;
    QByteArray rest;
    QByteArray* into = &head;
    QByteArray lastBoard;
    int boards = 0;
    while (!file.atEnd()) {
        QByteArray text = file.readLine();
        if (text.endsWith('\n'))
            text.chop(1);
        *into += text + "\r\n";
        if (text.startsWith("board:")) {
            lastBoard = text;
            if (++boards == 4)
                into = &rest;
        }
    }
    ASSERT_GT(boards, 4);
    receive(head);

    TPositions expected;
    ASSERT_TRUE(ParseBoardLine(QString::fromLatin1(hitLine), expected, nullptr));
    const TPositions& p = session->CurrentPosition;
    EXPECT_EQ(p.Player, "GammonBot_VII");
    EXPECT_EQ(p.Opponent, "pipcat");
    EXPECT_EQ(p.BoardCells, expected.BoardCells);
    EXPECT_EQ(p.Board(0), 0);
    EXPECT_EQ(p.Board(25), 1);
    EXPECT_EQ(p.Turn, 1);
    EXPECT_EQ(p.PlayerDie1 + p.PlayerDie2 + p.OpponentDie1 + p.OpponentDie2, 0);
    EXPECT_EQ(p.Colour, -1);
    EXPECT_EQ(p.CanMove, 2);
    EXPECT_TRUE(session->BoardLinePosition == p);

    // The whole match: every real board line is accepted and none reaches the memo.
    receive(rest);
    ASSERT_TRUE(ParseBoardLine(QString::fromLatin1(lastBoard), expected, nullptr));
    EXPECT_EQ(session->BoardLinePosition.BoardCells, expected.BoardCells);
    EXPECT_FALSE(session->MDebug.texts().join('\n').contains("board line ignored"));
    for (const QString& line : memo())
        EXPECT_FALSE(line.startsWith("board:")) << line.toStdString();
}
