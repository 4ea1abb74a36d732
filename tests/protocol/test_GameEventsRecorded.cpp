#include "SessionFixture.h"

#include <QFile>

namespace {

// The recorded session: a login, then watching GammonBot_VII play pipcat a whole 5-point
// match (two games: a cube turned twice and a resignation, then the Crawford game).
class RecordedWatchTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        session->Settings.EnableSound = true;
        session->Settings.ShowEndGameMessage = false;
        session->Settings.SaveWatchedMatches = true;
        QFile file(QStringLiteral(TABULON_FIXTURES_DIR "/fibs-2020-07-03-watching.txt"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the recorded session is missing";
        QByteArray text = file.readAll();
        ASSERT_TRUE(text.contains("\nYou're now watching GammonBot_VII.\n"));
        receive(text.replace("\n", "\r\n"));
    }

    static QStringList cells(const TGames& game, int row)
    {
        return {game.PlayerPositions.at(row - 1).MoveText,
                game.OpponentPositions.at(row - 1).MoveText};
    }
    QStringList gridRow(int r) const
    {
        const MovesListModel& grid = session->SGMovesList;
        return {grid.Cell(0, r), grid.Cell(1, r), grid.Cell(2, r)};
    }
};

} // namespace

TEST_F(RecordedWatchTest, MovesListAndGamesAtTheEnd)
{
    ASSERT_EQ(session->Games.size(), 2);
    const TGames& first = session->Games.at(0);
    const TGames& second = session->Games.at(1);
    ASSERT_EQ(first.PlayerPositions.size(), 51);
    ASSERT_EQ(second.PlayerPositions.size(), 25);
    EXPECT_EQ(second.OpponentPositions.size(), 25);

    // The first game's opening roll came before any board line named the players, so the
    // far side's first move opens the record (GammonBot_VII plays X: its numbering is flipped).
    EXPECT_EQ(cells(first, 1), QStringList({"", "51 1/2 2/7"}));
    EXPECT_EQ(cells(first, 2), QStringList({"64 13/7 24/20", "41 bar/4 19/20"}));
    EXPECT_EQ(cells(first, 5), QStringList({"31 bar/24 bar/22", "Doubles"}));
    EXPECT_EQ(cells(first, 6), QStringList({"Accepts", "32 bar/2 19/22"}));
    EXPECT_EQ(cells(first, 14), QStringList({"Doubles", "Accepts"}));
    EXPECT_EQ(cells(first, 15), QStringList({"65 Can't move", "63 15/18 18/24"}));
    EXPECT_EQ(cells(first, 45), QStringList({"41 9/5 1/off", "53 3/8 8/11"}));
    EXPECT_EQ(cells(first, 51), QStringList({"Wins 4 points", ""}));
    EXPECT_EQ(first.OpponentPositions.at(4).Cube, -2);
    EXPECT_EQ(first.PlayerPositions.at(13).Cube, -4);
    EXPECT_EQ(first.PlayerPositions.at(20).Cube, 4);
    EXPECT_FALSE(first.PlayerPositions.at(1).Crawford);

    EXPECT_EQ(cells(second, 1), QStringList({"62 24/18 13/11", "21 17/18 12/14"}));
    EXPECT_EQ(cells(second, 21), QStringList({"66 6/off 6/off 5/off 5/off", "62 1/7 7/9"}));
    EXPECT_EQ(cells(second, 25), QStringList({"Wins 1 points and the match", ""}));
    EXPECT_TRUE(second.PlayerPositions.at(0).Crawford);
    // The opening roll comes before the game's first board line brings the new score.
    EXPECT_EQ(second.PlayerPositions.at(0).PlayerScore, 0);
    EXPECT_EQ(second.PlayerPositions.at(1).PlayerScore, 4);

    // The list shows the last game, below the names of the last board line.
    EXPECT_EQ(session->SGMovesList.RowCount(), 27);
    EXPECT_EQ(gridRow(0), QStringList({"Nb", "GammonBot_VII", "pipcat"}));
    EXPECT_EQ(gridRow(1), QStringList({"1", "62 24/18 13/11", "21 17/18 12/14"}));
    EXPECT_EQ(gridRow(24), QStringList({"24", "62 3/off 2/off", "Dice: 5 6"}));
    EXPECT_EQ(gridRow(25), QStringList({"25", "Wins 1 points and the match", ""}));
    EXPECT_EQ(gridRow(26), QStringList({"", "", ""}));
    EXPECT_EQ(session->CBGames.Items(), QStringList({"Game 1 Score 0-0", "Game 2 Score 4 0"}));
    EXPECT_EQ(session->CBGames.ItemIndex(), 1);
    EXPECT_EQ(session->ShownGame, 2);
}

TEST_F(RecordedWatchTest, MatchEndState)
{
    EXPECT_TRUE(session->Watching);
    EXPECT_FALSE(session->Playing);
    EXPECT_EQ(session->WatchedPlayer, "GammonBot_VII");
    EXPECT_TRUE(session->CrawfordGame);
    EXPECT_FALSE(session->CrawfordDone);
    EXPECT_EQ(session->CurrentPosition.PlayerScore, 5);
    EXPECT_EQ(session->CurrentPosition.OpponentScore, 0);
    EXPECT_TRUE(session->CurrentPosition.Opponent.isEmpty());
    EXPECT_EQ(session->Status.SBJoueur[2], "GammonBot_VII wins 1 points and the match");
    EXPECT_EQ(rec.sound.played.last(), "Sounds\\win.wav");
    EXPECT_TRUE(rec.prompter.boxes.isEmpty());
    EXPECT_FALSE(session->LastMatchFile.isEmpty());
    EXPECT_TRUE(QFile::exists(session->LastMatchFile));

    // The game's own lines stay out of the console.
    for (const QString& shown : memo()) {
        EXPECT_FALSE(shown.startsWith(QLatin1String("GammonBot_VII "))
                     && shown.contains(QLatin1String("move")))
            << shown.toStdString();
        EXPECT_FALSE(shown.startsWith(QLatin1String("pipcat "))) << shown.toStdString();
        EXPECT_FALSE(shown.startsWith(QLatin1String("board:"))) << shown.toStdString();
    }
}
