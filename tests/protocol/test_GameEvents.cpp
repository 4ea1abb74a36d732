#include "GameLines.h"
#include "KeepingBoard.h"
#include "SessionFixture.h"

#include "records/MatchRecord.h"

namespace {

class GameEventsTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        session->Ports().board = &board;
        session->Settings.EnableSound = true;
        session->Settings.ShowEndGameMessage = false;
        session->Settings.EndMessage.clear();
    }

    void line(const QByteArray& text) { receive(text + "\r\n"); }

    // The user plays bob; the first game has begun, nobody has rolled.
    void play(BoardFields fields = {})
    {
        line("** Player bob has joined you for a 5 point match.");
        line(BoardLine(fields));
        line("Starting a new game with bob.");
        line(BoardLine(fields));
        clearRecords();
    }

    // The user watches alice (the near side) play bob.
    void watch(BoardFields fields = {})
    {
        fields.player = QStringLiteral("alice");
        line("You're now watching alice.");
        line("alice and bob start a 5 point match.");
        line(BoardLine(fields));
        line("Starting a new game with bob.");
        line(BoardLine(fields));
        clearRecords();
    }

    void clearRecords()
    {
        rec.link.sent.clear();
        rec.sound.played.clear();
        rec.prompter.boxes.clear();
        board.animations.clear();
        session->DisplayMemo.clear();
    }

    QString cell(int col, int row) const { return session->SGMovesList.Cell(col, row); }
    QStringList row(int r) const { return {cell(0, r), cell(1, r), cell(2, r)}; }
    const TGames& live() const { return session->Games.last(); }
    QString sent() const { return QString::fromLatin1(rec.link.sent); }
    QString status() const { return session->Status.SBJoueur[2]; }
    const TPositions& current() const { return session->CurrentPosition; }

    KeepingBoard board;
};

} // namespace

TEST_F(GameEventsTest, OpeningRollGoesToTheSideThatMovesFirst)
{
    struct Case {
        bool watching;
        QByteArray roll;
        bool nearFirst;
        int die1;
        int die2;
        QString cellText;
        QString sent;
    };
    const Case cases[] = {
        {false, "You rolled 5, bob rolled 2", true, 5, 2, "Dice: 2 5", "Board\r\n"},
        {false, "You rolled 2, bob rolled 5", false, 2, 5, "Dice: 5 2", "Board\r\n"},
        {true, "bob rolled 3, alice rolled 6", true, 3, 6, "Dice: 6 3", ""},
        {true, "alice rolled 6, bob rolled 1", true, 6, 1, "Dice: 1 6", ""},
        {true, "alice rolled 1, bob rolled 4", false, 1, 4, "Dice: 4 1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.roll.constData());
        SetUp();
        c.watching ? watch() : play();
        const TPositions before = current();
        line(c.roll);

        EXPECT_EQ(session->GameRowCount, 1);
        EXPECT_EQ(sent(), c.sent);
        EXPECT_EQ(rec.sound.played, QStringList({"Sounds\\roll.wav", "Sounds\\roll.wav"}));
        EXPECT_TRUE(memo().isEmpty());
        const TPositions& p = current();
        if (c.nearFirst) {
            EXPECT_EQ(row(1), QStringList({"1", c.cellText, ""}));
            EXPECT_EQ(std::pair(p.PlayerDie1, p.PlayerDie2), std::pair(c.die1, c.die2));
            EXPECT_EQ(std::pair(p.OpponentDie1, p.OpponentDie2), std::pair(0, 0));
            EXPECT_EQ(p.Turn, p.Colour);
            TPositions stored = p;
            stored.MoveText = c.cellText;
            EXPECT_TRUE(live().PlayerPositions.at(0) == stored);
        } else {
            EXPECT_EQ(row(1), QStringList({"1", "", c.cellText}));
            EXPECT_EQ(std::pair(p.OpponentDie1, p.OpponentDie2), std::pair(c.die1, c.die2));
            EXPECT_EQ(std::pair(p.PlayerDie1, p.PlayerDie2), std::pair(0, 0));
            EXPECT_EQ(p.Turn, -p.Colour);
            // The near side's cell keeps the position from before the roll.
            EXPECT_EQ(live().PlayerPositions.at(0).Turn, before.Turn);
            TPositions stored = p;
            stored.MoveText = c.cellText;
            EXPECT_TRUE(live().OpponentPositions.at(0) == stored);
        }
    }
}

TEST_F(GameEventsTest, OpeningRollWithEqualDiceChangesNothing)
{
    play();
    const TPositions before = current();
    line("You rolled 4, bob rolled 4");
    EXPECT_EQ(session->GameRowCount, 0);
    EXPECT_EQ(session->SGMovesList.RowCount(), 2);
    EXPECT_TRUE(current() == before);
    EXPECT_TRUE(memo().isEmpty()) << "consumed";
    EXPECT_EQ(sent(), "Board\r\n");
}

TEST_F(GameEventsTest, RollKeepsTheMessageOrderUntilTheBoardLineSortsIt)
{
    play();
    line("You roll 6 and 4.");
    EXPECT_EQ(std::pair(current().PlayerDie1, current().PlayerDie2), std::pair(4, 6));
    EXPECT_EQ(row(1), QStringList({"1", "Dice: 6 4", ""}));
    EXPECT_EQ(status(), "You roll 6 and 4. ");

    BoardFields fields;
    fields.turn = 1;
    fields.playerDie1 = 4;
    fields.playerDie2 = 6;
    line(BoardLine(fields));
    EXPECT_EQ(std::pair(current().PlayerDie1, current().PlayerDie2), std::pair(6, 4));
    EXPECT_EQ(live().PlayerPositions.at(0).PlayerDie1, 4) << "the record keeps the roll";

    line("bob rolls 5 and 2.");
    EXPECT_EQ(row(1), QStringList({"1", "Dice: 6 4", "Dice: 5 2"}));
    EXPECT_EQ(std::pair(live().OpponentPositions.at(0).OpponentDie1,
                        live().OpponentPositions.at(0).OpponentDie2),
              std::pair(2, 5));
}

TEST_F(GameEventsTest, MoveNotationIsInTheNearSidesNumbering)
{
    struct Case {
        bool watching;
        int colour;
        QByteArray move;
        QString notation;
        QStringList animations;
        int column;
    };
    const Case cases[] = {
        {false, 1, "bob moves 13-7 7-4 .", "63 13/7 7/4", {"13-7", "7-4"}, 2},
        {false, -1, "bob moves 13-7 7-4 .", "63 12/18 18/21", {"13-7", "7-4"}, 2},
        {true, 1, "bob moves bar-3 22-off .", "63 bar/3 22/off", {"0-3", "22-26"}, 2},
        {true, -1, "bob moves bar-22 3-off .", "63 bar/3 22/off", {"25-22", "3--1"}, 2},
        {true, 1, "alice moves bar-20 6-off .", "54 bar/20 6/off", {"25-20", "6--1"}, 1},
        {true, -1, "alice moves bar-5 19-off .", "54 bar/20 6/off", {"0-5", "19-26"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.move.constData() << " colour " << c.colour);
        SetUp();
        BoardFields fields;
        fields.colour = c.colour;
        c.watching ? watch(fields) : play(fields);
        fields.player = c.watching ? QStringLiteral("alice") : QStringLiteral("You");
        fields.opponentDie1 = 6;
        fields.opponentDie2 = 3;
        fields.playerDie1 = 5;
        fields.playerDie2 = 4;
        line(BoardLine(fields));
        line(c.move);

        EXPECT_EQ(cell(c.column, 1), c.notation);
        const TGames& game = live();
        EXPECT_EQ((c.column == 1 ? game.PlayerPositions : game.OpponentPositions).at(0).MoveText,
                  c.notation);
        EXPECT_EQ(board.animations, c.animations);
        EXPECT_EQ(rec.sound.played,
                  QStringList({"Sounds\\chequer.wav", "Sounds\\chequer.wav"}));
        EXPECT_EQ(status(), QString::fromLatin1(c.move));
        EXPECT_TRUE(memo().isEmpty());
    }
}

TEST_F(GameEventsTest, BearingOffLineIsTheUsersMoveOnlyWhenPlaying)
{
    BoardFields fields;
    fields.turn = 1;
    fields.playerDie1 = 6;
    fields.playerDie2 = 5;
    play(fields);
    line("Bearing off: 6 o 5 o");
    EXPECT_EQ(row(1), QStringList({"1", "65 6/off 5/off", ""}));
    EXPECT_EQ(board.animations, QStringList({"6--1", "5--1"}));
    EXPECT_TRUE(memo().isEmpty());

    SetUp();
    fields.player = QStringLiteral("alice");
    watch(fields);
    line("Bearing off: 6 o 5 o");
    EXPECT_EQ(session->GameRowCount, 0);
    EXPECT_TRUE(board.animations.isEmpty());
    EXPECT_TRUE(memo().isEmpty()) << "the final filters hide it";
}

TEST_F(GameEventsTest, RefusedDoubleIsRecordedInBothColumns)
{
    struct Case {
        bool watching;
        QByteArray doubles;
        QByteArray refusal;
    };
    const Case cases[] = {
        {false, "bob doubles. Type 'accept' or 'reject'.", "You give up. bob wins 1 point."},
        {true, "bob doubles.", "alice gives up. bob wins 1 point."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal.constData());
        SetUp();
        c.watching ? watch() : play();
        line(c.doubles);
        EXPECT_EQ(row(1), QStringList({"1", "-", "Doubles"}));
        EXPECT_TRUE(session->OpponentDoubled);
        EXPECT_EQ(current().Cube, -2);
        EXPECT_EQ(live().OpponentPositions.at(0).MoveText, "Doubles");

        line(c.refusal);
        EXPECT_EQ(row(2), QStringList({"2", "Gives up", ""}));
        EXPECT_EQ(row(3), QStringList({"3", "", "Wins 1 points"}));
        EXPECT_EQ(row(4), QStringList({"", "", ""})) << "one empty row below";
        EXPECT_EQ(session->SGMovesList.RowCount(), 5);
        EXPECT_EQ(live().PlayerPositions.at(1).MoveText, "Gives up");
        EXPECT_EQ(live().OpponentPositions.at(2).MoveText, "Wins 1 points");
        EXPECT_EQ(current().Cube, 1);
        EXPECT_EQ(status(), "bob win 1 points");
        EXPECT_EQ(rec.sound.played, QStringList({"Sounds\\double.wav", "Sounds\\drop.wav"}));
        EXPECT_TRUE(memo().isEmpty());
    }
}

TEST_F(GameEventsTest, CubeActionsOfBothSides)
{
    watch();
    line("alice doubles.");
    EXPECT_EQ(row(1), QStringList({"1", "Doubles", ""}));
    EXPECT_EQ(current().Cube, -2);
    EXPECT_EQ(current().Turn, current().Colour);
    line("bob accepts the double.");
    EXPECT_EQ(row(1), QStringList({"1", "Doubles", "Accepts"}));
    EXPECT_EQ(current().Cube, 2);
    EXPECT_EQ(status(), "bob accepts the cube.");
    line("alice rolls 6 and 4.");
    line("bob doubles.");
    line("alice accepts the double.");
    EXPECT_EQ(row(2), QStringList({"2", "Dice: 6 4", "Doubles"}));
    EXPECT_EQ(row(3), QStringList({"3", "Accepts", ""}));
    EXPECT_EQ(current().Cube, 4);
    EXPECT_EQ(live().OpponentPositions.at(1).Cube, -4) << "stored while offered";
    EXPECT_EQ(rec.sound.played,
              QStringList({"Sounds\\double.wav", "Sounds\\take.wav", "Sounds\\roll.wav",
                           "Sounds\\double.wav", "Sounds\\take.wav"}));
}

TEST_F(GameEventsTest, CrawfordGameIsSetOnceAndClearedByTheNextScore)
{
    play();
    line("score in 5 point match: You-4 bob-2");
    EXPECT_TRUE(session->CrawfordGame);
    EXPECT_FALSE(session->CrawfordDone);
    EXPECT_EQ(session->CBGames.Items(), QStringList({"Game 1 Score 0-0", "Game 2 Score 4 2"}));
    EXPECT_EQ(session->CBGames.ItemIndex(), 1);
    EXPECT_EQ(session->Games.size(), 2);
    EXPECT_EQ(session->ShownGame, 2);

    line("Starting a new game with bob.");
    line("You roll 3 and 1.");
    EXPECT_TRUE(current().Crawford);
    EXPECT_TRUE(live().PlayerPositions.at(0).Crawford);

    line("score in 5 point match: You-4 bob-3");
    EXPECT_FALSE(session->CrawfordGame);
    EXPECT_TRUE(session->CrawfordDone);
    line("score in 5 point match: You-4 bob-4");
    EXPECT_FALSE(session->CrawfordGame) << "set once per match";
    EXPECT_EQ(session->Games.size(), 4);

    // The score that ends the match opens no game.
    line("score in 5 point match: You-5 bob-4");
    EXPECT_EQ(session->Games.size(), 4);
    EXPECT_EQ(session->CBGames.Items().size(), 4);
}

TEST_F(GameEventsTest, MatchEndSplitsTheFinalScore)
{
    struct Case {
        bool watching;
        QByteArray result;
        QByteArray matchEnd;
        int playerScore;
        int opponentScore;
        int column;
        QString sound;
        QStringList boxes;
    };
    const Case cases[] = {
        {true, "bob wins the game and gets 2 points.", "bob wins the 11 point match 11-5 .", 5, 11,
         2, "Sounds\\loose.wav", {}},
        {true, "alice wins the game and gets 1 point.", "alice wins the 11 point match 11-10 .", 11,
         10, 1, "Sounds\\win.wav", {}},
        {false, "You win the game and get 4 points. Congratulations!",
         "You win the 7 point match 13-1 .", 13, 1, 1, "Sounds\\win.wav",
         {"You win the game | You win the game and get 4 points. Congratulations!",
          "You win the match | You win the 7 point match 13-1 ."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.matchEnd.constData());
        SetUp();
        c.watching ? watch() : play();
        line(c.result);
        line(c.matchEnd);

        EXPECT_EQ(current().PlayerScore, c.playerScore);
        EXPECT_EQ(current().OpponentScore, c.opponentScore);
        EXPECT_TRUE(cell(c.column, 1).endsWith(" points and the match"))
            << cell(c.column, 1).toStdString();
        const TGames& game = live();
        EXPECT_EQ((c.column == 1 ? game.PlayerPositions : game.OpponentPositions).at(0).MoveText,
                  cell(c.column, 1));
        EXPECT_TRUE(status().endsWith(" points and the match"));
        EXPECT_EQ(rec.sound.played, QStringList({c.sound}));
        EXPECT_EQ(rec.prompter.boxes, c.boxes);
        EXPECT_FALSE(session->Playing);
        EXPECT_EQ(session->Watching, c.watching);
        EXPECT_EQ(session->WatchedPlayer, c.watching ? "alice" : "");
        EXPECT_TRUE(current().Opponent.isEmpty());
        EXPECT_EQ(session->ToolButtons.TBReady, !c.watching);
        EXPECT_EQ(session->OwnInfo.Ready, !c.watching);
        EXPECT_TRUE(memo().isEmpty());
    }
}

TEST_F(GameEventsTest, EndOfGameBoxes)
{
    struct Case {
        bool watching;
        bool showEndGameMessage;
        QByteArray line;
        QStringList boxes;
    };
    const Case cases[] = {
        {false, false, "You win the game and get 1 point. Congratulations!",
         {"You win the game | You win the game and get 1 point. Congratulations!"}},
        {false, false, "bob gives up. You win 2 points.",
         {"You win the game | bob gives up. You win 2 points."}},
        {true, false, "bob wins the game and gets 1 point.", {}},
        {true, true, "bob wins the game and gets 1 point.",
         {"bob wins the game | bob wins the game and gets 1 point."}},
        {false, true, "bob accepts and wins 2 points.",
         {"bob wins the game | bob accepts and wins 2 points."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.constData());
        SetUp();
        session->Settings.ShowEndGameMessage = c.showEndGameMessage;
        c.watching ? watch() : play();
        line(c.line);
        EXPECT_EQ(rec.prompter.boxes, c.boxes);
        EXPECT_TRUE(memo().isEmpty());
    }
}

TEST_F(GameEventsTest, GameResultRowsAndTheEndMessage)
{
    struct Case {
        QByteArray line;
        QStringList lastRow;
        QString status;
    };
    const Case cases[] = {
        {"You win the game and get 1 point. Congratulations!", {"1", "Wins 1 points", ""},
         "You win 1 points"},
        {"You accept and win 2 points.", {"1", "Wins 2 points", ""}, "You win 2 points"},
        {"bob wins the game and gets 3 points. Sorry.", {"1", "", "Wins 3 points"},
         "bob win 3 points"},
        {"bob accepts and wins 4 points.", {"1", "", "Wins 4 points"}, "bob win 4 points"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.constData());
        SetUp();
        session->Settings.EndMessage = QStringLiteral("Thanks playername, bye playername");
        play();
        line(c.line);
        EXPECT_EQ(row(1), c.lastRow);
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(sent(), "Tell bob Thanks bob, bye bob\r\n");
    }

    // A watcher thanks nobody.
    SetUp();
    session->Settings.EndMessage = QStringLiteral("Thanks");
    watch();
    line("alice wins the game and gets 1 point.");
    EXPECT_EQ(row(1), QStringList({"1", "Wins 1 points", ""}));
    EXPECT_EQ(status(), "alice wins 1 points");
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(GameEventsTest, BlockedRollHoldsTheLinesUntilTheDanceIsShown)
{
    play();
    line("bob rolls 3 and 1.");
    BoardFields fields;
    fields.turn = -1;
    fields.opponentDie1 = 3;
    fields.opponentDie2 = 1;
    line(BoardLine(fields));
    clearRecords();
    const int draws = board.draws;

    session->IdTelnetDataAvailable("bob can't move.\r\nYou roll 6 and 4.\r\n");
    rec.clock.advance(199);
    EXPECT_EQ(row(1), QStringList({"1", "", "31 Can't move"}));
    EXPECT_EQ(live().OpponentPositions.at(0).MoveText, "31 Can't move");
    EXPECT_EQ(current().Turn, current().Colour);
    EXPECT_EQ(std::tuple(current().PlayerDie1, current().PlayerDie2, current().OpponentDie1,
                         current().OpponentDie2),
              std::tuple(0, 0, 0, 0));
    EXPECT_EQ(status(), "bob can't move.");
    EXPECT_TRUE(rec.sound.played.isEmpty());
    EXPECT_EQ(session->GameRowCount, 1) << "the next line waits";

    rec.clock.runUntilIdle();
    EXPECT_EQ(rec.sound.played, QStringList({"Sounds\\dance.wav", "Sounds\\roll.wav"}));
    EXPECT_EQ(board.draws, draws + 1);
    EXPECT_EQ(session->GameRowCount, 2);

    line("You can't move.");
    EXPECT_EQ(row(2), QStringList({"2", "46 Can't move", ""}));
}

TEST_F(GameEventsTest, ResignationOfferIsAskedOnlyOfAPlayer)
{
    for (const bool yes : {true, false}) {
        SetUp();
        rec.prompter.answer = yes;
        play();
        line("bob wants to resign. You will win 1 point. Type 'accept' or 'reject'.");
        EXPECT_EQ(rec.prompter.boxes, QStringList({"bob wants to resign | "
                                                   "bob wants to resign. You will win 1 point."}));
        EXPECT_EQ(sent(), yes ? "accept\r\n" : "reject\r\n");
        EXPECT_TRUE(memo().isEmpty());
    }
    SetUp();
    watch();
    line("bob wants to resign. alice will win 4 points.");
    EXPECT_TRUE(rec.prompter.boxes.isEmpty());
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(memo().isEmpty());
}

TEST_F(GameEventsTest, NextGamePromptJoinsThenAsksForTheBoard)
{
    play();
    session->IdTelnetDataAvailable(
        "Type 'join' if you want to play the next game, type 'leave' if you don't.\r\n");
    rec.clock.advance(249);
    EXPECT_EQ(sent(), "join\r\n");
    rec.clock.advance(1);
    EXPECT_EQ(sent(), "join\r\nboard\r\n");
    EXPECT_TRUE(memo().isEmpty());
}

TEST_F(GameEventsTest, NewGameStartsFromTheListHeaderNames)
{
    play();
    line("You roll 6 and 4.");
    line("score in 5 point match: You-1 bob-0");
    session->CurrentPosition.Player.clear();
    session->OpponentDoubled = true;
    session->ToolButtons.setPressed(QStringLiteral("TBGreedy"), true);
    session->OwnInfo.Greedy = true;
    line("Starting a new game with bob.");
    EXPECT_EQ(current().Player, "You");
    EXPECT_EQ(current().Opponent, "bob");
    EXPECT_EQ(current().Board(24), 2);
    EXPECT_EQ(current().Cube, 0);
    EXPECT_EQ(session->GameRowCount, 0);
    EXPECT_EQ(session->SGMovesList.RowCount(), 2);
    EXPECT_TRUE(live().PlayerPositions.isEmpty());
    EXPECT_EQ(session->Games.first().PlayerPositions.size(), 1) << "the finished game stays";
    EXPECT_FALSE(session->OpponentDoubled);
    EXPECT_FALSE(session->ToolButtons.TBGreedy);
    EXPECT_FALSE(session->OwnInfo.Greedy);
}

TEST_F(GameEventsTest, EventsNeedAMatchAndAreOtherwiseShown)
{
    line(BoardLine({}));
    line("You roll 6 and 4.");
    EXPECT_EQ(session->GameRowCount, 0);
    EXPECT_EQ(memo(), QStringList({"You roll 6 and 4."}));
}

TEST_F(GameEventsTest, MalformedLineDoesNotStopTheIntake)
{
    play();
    line("bob rolls x and y.");
    line("bob moves 13-seven .");
    line("score in 5 point match: You-x bob-0");
    line("You roll 6 and 4.");
    EXPECT_EQ(row(1), QStringList({"1", "Dice: 6 4", ""}));
    EXPECT_EQ(session->CBGames.Items().size(), 1);

    // Actions out of turn: after the score line the next game has no row yet.
    line("score in 5 point match: You-1 bob-0");
    const int cube = current().Cube;
    line("bob doubles.");
    line("bob accepts the double.");
    EXPECT_FALSE(session->OpponentDoubled) << "a dropped line changes nothing";
    EXPECT_EQ(current().Cube, cube);
    line("Starting a new game with bob.");
    line("You roll 5 and 3.");
    EXPECT_EQ(row(1), QStringList({"1", "Dice: 5 3", ""}));
    EXPECT_EQ(session->Games.last().PlayerPositions.size(), 1);
}

TEST_F(GameEventsTest, SoundsFollowTheSetting)
{
    session->Settings.EnableSound = false;
    BoardFields fields;
    fields.opponentDie1 = 6;
    fields.opponentDie2 = 3;
    play(fields);
    session->Settings.EnableSound = false;
    line("bob rolls 6 and 3.");
    line("bob moves 13-7 7-4 .");
    line("bob doubles. Type 'accept' or 'reject'.");
    EXPECT_TRUE(rec.sound.played.isEmpty());
    EXPECT_EQ(board.animations.size(), 2) << "the board still follows";
}

TEST_F(GameEventsTest, StoredPositionOnTheBoardKeepsLiveMovesOffIt)
{
    BoardFields fields;
    fields.opponentDie1 = 6;
    fields.opponentDie2 = 3;
    play(fields);
    line("bob rolls 6 and 3.");
    line("bob moves 13-7 7-4 .");
    line("You roll 5 and 2.");
    SGMovesListClick(*session, 2, 1);
    ASSERT_TRUE(session->ShowingStoredPosition);
    clearRecords();
    const int draws = board.draws;

    line("You moves 13-8 6-4 .");
    line("bob rolls 4 and 1.");
    line(BoardLine(fields));
    EXPECT_TRUE(board.animations.isEmpty());
    EXPECT_EQ(board.draws, draws);
    EXPECT_TRUE(rec.sound.played.isEmpty());
    EXPECT_EQ(row(2), QStringList({"2", "25 13/8 6/4", "Dice: 4 1"})) << "still recorded";
}

TEST_F(GameEventsTest, ScoreWhileAStoredPositionIsShownLeavesTheListOnItsGame)
{
    play();
    line("You roll 6 and 4.");
    line("bob rolls 5 and 2.");
    line("You roll 3 and 3.");
    SGMovesListClick(*session, 2, 1);
    ASSERT_TRUE(session->ShowingStoredPosition);

    line("You win the game and get 1 point. Congratulations!");
    line("score in 5 point match: You-1 bob-0");
    EXPECT_EQ(session->CBGames.ItemIndex(), 0);
    EXPECT_EQ(session->ShownGame, 1);
    EXPECT_TRUE(session->BrowsingOldGame);

    line("Starting a new game with bob.");
    line("You roll 3 and 1.");
    EXPECT_EQ(row(1), QStringList({"1", "Dice: 6 4", "Dice: 5 2"})) << "game 1 still shown";
    EXPECT_EQ(session->Games.at(0).PlayerPositions.size(), 3) << "game 1 kept whole";

    SpeedButton4Click(*session);
    EXPECT_EQ(session->ShownGame, 2);
    EXPECT_EQ(session->CBGames.ItemIndex(), 1);
    EXPECT_FALSE(session->BrowsingOldGame);
    EXPECT_EQ(row(1), QStringList({"1", "Dice: 3 1", ""})) << "rebuilt from the record";
    EXPECT_EQ(live().PlayerPositions.at(0).PlayerDie1, 1);
}

TEST_F(GameEventsTest, WatchedPlayersNextMatchStartsARecordOfItsOwn)
{
    session->Settings.SaveWatchedMatches = true;
    watch();
    line("alice rolls 6 and 4.");
    line("alice wins the game and gets 3 points.");
    line("alice wins the 3 point match 3-0 .");
    EXPECT_FALSE(session->LastMatchFile.isEmpty()) << "the finished match is saved";
    EXPECT_TRUE(session->Watching);

    line("alice and bob start a 3 point match.");
    line("Starting a new game with bob.");
    line("bob rolls 5 and 2.");
    EXPECT_EQ(session->CBGames.Items(), QStringList({"Game 1 Score 0-0"}));
    ASSERT_EQ(session->Games.size(), 1);
    EXPECT_EQ(row(1), QStringList({"1", "", "Dice: 5 2"}));
    EXPECT_EQ(session->SGMovesList.RowCount(), 3);
}
