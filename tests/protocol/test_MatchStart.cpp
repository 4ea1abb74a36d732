#include "GameLines.h"
#include "SessionFixture.h"

#include "protocol/MatchStartStretch.h"
#include "protocol/WhoInfoStretch.h"
#include "records/MatchRecord.h"

#include <QSignalSpy>

namespace {

class MatchStartTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        session->FirstDataSeen = true;
        session->Settings.GreetingMessage = QStringLiteral("Hi playername!");
    }

    void line(const QByteArray& text) { receive(text + "\r\n"); }

    void addPlayer(const QByteArray& name, const QByteArray& opponent = "-")
    {
        line("5 " + name + " " + opponent + " - 1 0 1500.00 10 0 1593778125 host - -");
        line("6");
    }

    // A match record with two rows and two games, browsed.
    void fillRecord()
    {
        line(BoardLine({}));
        AppendGameRow(*session);
        AppendGameRow(*session);
        session->Games.append(TGames{});
        session->CBGames.Add(QStringLiteral("Game 2 Score 1 0"));
        session->ShowingStoredPosition = true;
        session->BrowsingOldGame = true;
    }

    void expectFreshRecord(const QStringList& games)
    {
        EXPECT_EQ(session->SGMovesList.RowCount(), 2);
        EXPECT_EQ(session->SGMovesList.Cell(0, 1), "");
        EXPECT_EQ(session->Games.size(), 1);
        EXPECT_TRUE(session->Games.first().PlayerPositions.isEmpty());
        EXPECT_EQ(session->ShownGame, 1);
        EXPECT_EQ(session->CBGames.Items(), games);
        EXPECT_EQ(session->CBGames.ItemIndex(), 0);
        EXPECT_FALSE(session->ShowingStoredPosition);
        EXPECT_FALSE(session->BrowsingOldGame);
    }

    QString sent() const { return QString::fromLatin1(rec.link.sent); }
};

} // namespace

TEST_F(MatchStartTest, MatchWithTheUserStarts)
{
    struct Case {
        QByteArray notice;
        int matchLength;
    };
    const Case cases[] = {
        {"** Player bob has joined you for a 5 point match.", 5},
        {"** You are now playing a 7 point match with bob", 7},
        // An unlimited match has no length in its notice: the first board line brings it.
        {"** Player bob has joined you for an unlimited match.", 0},
        {"** You are now playing an unlimited match with bob", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice.constData());
        SetUp();
        fillRecord();
        session->Watching = true;
        session->WatchedPlayer = QStringLiteral("alice");
        session->CrawfordGame = session->CrawfordDone = session->OpponentDoubled = true;
        session->ToolButtons.setPressed(QStringLiteral("TBReady"), true);
        session->ToolButtons.setPressed(QStringLiteral("TBGreedy"), true);
        session->OwnInfo.Ready = session->OwnInfo.Greedy = true;
        rec.link.sent.clear();
        QSignalSpy boardPage(session.get(), &ClientSession::boardPageWanted);

        line(c.notice);
        expectFreshRecord({"Game 1 Score 0-0"});
        EXPECT_EQ(boardPage.count(), 1);
        EXPECT_TRUE(session->Playing);
        EXPECT_FALSE(session->Watching);
        EXPECT_TRUE(session->WatchedPlayer.isEmpty());
        EXPECT_EQ(session->OpponentName, "bob");
        EXPECT_FALSE(session->CrawfordGame || session->CrawfordDone || session->OpponentDoubled);
        EXPECT_FALSE(session->ToolButtons.TBReady || session->ToolButtons.TBGreedy);
        EXPECT_FALSE(session->OwnInfo.Ready || session->OwnInfo.Greedy);
        EXPECT_EQ(sent(), "tell bob Hi bob!\r\nBoard\r\n");
        EXPECT_TRUE(memo().isEmpty());
        const TPositions& p = session->CurrentPosition;
        EXPECT_EQ(p.Opponent, "bob");
        EXPECT_EQ(p.MatchLength, c.matchLength);
        EXPECT_EQ(std::tuple(p.Colour, p.Cube, p.CanMove, p.PlayerScore, p.OpponentScore),
                  std::tuple(1, 1, 2, 0, 0));
        EXPECT_TRUE(p.PlayerMayDouble && p.OpponentMayDouble);
        EXPECT_EQ(p.Board(24), 2);
        EXPECT_EQ(p.Board(1), -2);

        BoardFields fields;
        fields.matchLength = c.matchLength == 0 ? 9999 : c.matchLength;
        line(BoardLine(fields));
        EXPECT_EQ(session->CurrentPosition.MatchLength, fields.matchLength);
    }
}

TEST_F(MatchStartTest, GreetingIsSentEvenWhenEmpty)
{
    session->Settings.GreetingMessage.clear();
    line("** Player bob has joined you for a 5 point match.");
    EXPECT_EQ(sent(), "tell bob \r\nBoard\r\n");
}

TEST_F(MatchStartTest, EachMatchStartRemovesOneAutoInviteEntry)
{
    session->AutoInviteNames = QStringList{"carol", "bob", "bob"};
    session->AutoInviteLengths = QStringList{"3", "5", "7"};
    line("** Player bob has joined you for a 5 point match.");
    EXPECT_EQ(session->AutoInviteNames, QStringList({"carol", "bob"}));
    EXPECT_EQ(session->AutoInviteLengths, QStringList({"3", "7"}));
    line("** You are now playing a 7 point match with bob");
    EXPECT_EQ(session->AutoInviteNames, QStringList({"carol"}));
    EXPECT_EQ(session->AutoInviteLengths, QStringList({"3"}));
}

TEST_F(MatchStartTest, TwoMatchStartsInARowLeaveOneGame)
{
    line("** Player bob has joined you for a 5 point match.");
    fillRecord();
    line("** Player carol has joined you for a 3 point match.");
    expectFreshRecord({"Game 1 Score 0-0"});
    EXPECT_EQ(session->CurrentPosition.Opponent, "carol");
}

TEST_F(MatchStartTest, WatchingWithoutASelectionSendsNoLook)
{
    addPlayer("alice");
    fillRecord();
    rec.link.sent.clear();
    line("You're now watching alice.");
    expectFreshRecord({"Game 1 Start watching"});
    EXPECT_TRUE(session->Watching);
    EXPECT_EQ(session->WatchedPlayer, "alice");
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(memo(), QStringList({"You're now watching alice."})) << "shown in the console";

    // The name comes from the selection, not from the line.
    SelectPlayer(*session, QStringLiteral("alice"));
    line("You're now watching bob.");
    EXPECT_EQ(session->WatchedPlayer, "bob");
    EXPECT_EQ(sent(), "Look alice\r\n");
}

TEST_F(MatchStartTest, WatchedPlayersMatchStartsAndResumes)
{
    line("You're now watching alice.");
    session->DisplayMemo.clear();

    line("carol and dave start a 5 point match.");
    EXPECT_EQ(session->CBGames.Items(), QStringList({"Game 1 Start watching"}));
    line("alice and bob start a 7 point match.");
    expectFreshRecord({"Game 1 Score 0-0"});
    EXPECT_EQ(session->CurrentPosition.MatchLength, 7);
    EXPECT_EQ(session->CurrentPosition.Cube, 1);
    line("alice and bob start an unlimited match.");
    EXPECT_EQ(session->CurrentPosition.MatchLength, 0);

    line("carol and dave are resuming their 5-point match.");
    EXPECT_EQ(session->Games.first().PlayerPositions.size(), 0);
    line("bob and alice are resuming their 13-point match.");
    EXPECT_EQ(session->CBGames.Items(), QStringList({"Game 1 Resumed game"}));
    EXPECT_EQ(session->GameRowCount, 1);
    EXPECT_EQ(session->SGMovesList.Cell(0, 1), "1");
    EXPECT_EQ(session->Status.SBJoueur[2], "bob and alice are resuming their 13-point match.");
    EXPECT_TRUE(session->Watching);
    EXPECT_TRUE(memo().isEmpty()) << "every such notice is consumed";
}

TEST_F(MatchStartTest, OtherMatchStartsChangeNothingWhileNobodyIsWatched)
{
    fillRecord();
    const QStringList games = session->CBGames.Items();
    line("carol and dave start a 5 point match.");
    line("carol and dave are resuming their 5-point match.");
    EXPECT_EQ(session->GameRowCount, 2);
    EXPECT_EQ(session->CBGames.Items(), games);
    EXPECT_TRUE(memo().isEmpty());
}

TEST_F(MatchStartTest, UsersMatchResumes)
{
    struct Case {
        QByteArray notice;
    };
    const Case cases[] = {
        {"You are now playing with bob. Your running match was loaded."},
        {"bob has joined you. Your running match was loaded."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice.constData());
        SetUp();
        session->SavedGames = {
            {"carol", "3", "0 - 1"}, {"bob", "5", "2 - 1"}, {"bob", "7", "0 - 0"}};
        session->AutoInviteNames = QStringList{"bob"};
        session->AutoInviteLengths = QStringList{"5"};
        session->Watching = true;
        addPlayer("bob");
        addPlayer("carol", "bob");
        addPlayer("dave");
        const QString savedCell = QStringLiteral("ML : 5 Score : 2 - 1");
        for (int i = 0; i < session->LVPlayers.Count(); ++i)
            session->LVPlayers.EditRow(i).SetCell(ColSavedGames, savedCell);
        session->CurrentPosition.Board(24) = 0;
        rec.link.sent.clear();

        line(c.notice);
        EXPECT_TRUE(session->Playing);
        EXPECT_FALSE(session->Watching);
        EXPECT_EQ(session->CBGames.Items(), QStringList({"Game 1 Resumed game"}));
        EXPECT_EQ(session->GameRowCount, 1);
        EXPECT_EQ(session->Games.first().PlayerPositions.at(0).Board(24), 0)
            << "row 1 holds the position as it is";
        EXPECT_EQ(session->CurrentPosition.Board(24), 0) << "the board is not reset";
        EXPECT_EQ(session->OpponentName, "bob");
        EXPECT_EQ(session->CurrentPosition.Opponent, "bob");
        EXPECT_EQ(sent(), "board\r\n");
        EXPECT_EQ(session->Status.SBJoueur[2], QString::fromLatin1(c.notice));
        EXPECT_TRUE(session->AutoInviteNames.isEmpty());
        ASSERT_EQ(session->SavedGames.size(), 2);
        EXPECT_EQ(session->SavedGames.at(0).opponent, "carol");
        EXPECT_EQ(session->SavedGames.at(1).length, "7");
        QStringList saved;
        for (const TPlayerRow& row : session->LVPlayers.Rows())
            saved << row.Caption + QChar('=') + row.Cell(ColSavedGames);
        saved.sort();
        EXPECT_EQ(saved, QStringList({"bob=None", "carol=None", "dave=ML : 5 Score : 2 - 1"}));
        EXPECT_TRUE(memo().isEmpty());
    }

    // Without a saved entry the list stays as it is.
    SetUp();
    session->SavedGames = {{"carol", "3", "0 - 1"}};
    line("You are now playing with bob. Your running match was loaded.");
    EXPECT_EQ(session->SavedGames.size(), 1);
}

TEST_F(MatchStartTest, InvitationsGoToTheJoinWindow)
{
    QSignalSpy join(session.get(), &ClientSession::joinWindowWanted);
    line("bob wants to play a 5 point match with you.");
    line("carol wants to resume a saved match with you.");
    ASSERT_EQ(join.count(), 2);
    EXPECT_EQ(join.at(0).at(0).toString(), "bob wants to play a 5 point match with you.");
    EXPECT_EQ(join.at(0).at(1).toString(), "bob");
    EXPECT_EQ(join.at(1).at(1).toString(), "carol");
    EXPECT_TRUE(memo().isEmpty()) << "the join window shows them";

    rec.link.connected = false;
    line("dave wants to play an unlimited match with you.");
    EXPECT_EQ(join.count(), 2) << "only while connected";
}

TEST_F(MatchStartTest, LogoutLeavesTheMatchAlone)
{
    addPlayer("alice");
    line("You're now watching alice.");
    line("alice and bob start a 5 point match.");
    for (const QByteArray& logout : {QByteArray("8 nobody nobody logs out."),
                                     QByteArray("8 alice alice drops connection.")}) {
        SCOPED_TRACE(logout.constData());
        line(logout);
        EXPECT_TRUE(session->Watching);
        EXPECT_EQ(session->WatchedPlayer, "alice");
        EXPECT_EQ(session->CBGames.Items(), QStringList({"Game 1 Score 0-0"}));
    }
    EXPECT_EQ(session->LVPlayers.Count(), 0);
}

TEST_F(MatchStartTest, WatchAndUnwatchCommands)
{
    Watch1Click(*session);
    EXPECT_TRUE(sent().isEmpty()) << "no row selected";
    addPlayer("alice");
    SelectPlayer(*session, QStringLiteral("alice"));
    EXPECT_EQ(SelectedPlayerName(*session), "alice");
    Watch1Click(*session);
    rec.clock.runUntilIdle();
    EXPECT_EQ(sent(), "Watch alice\r\n");

    line("8 alice alice logs out.");
    EXPECT_TRUE(SelectedPlayerName(*session).isEmpty()) << "the selected row is gone";

    rec.link.sent.clear();
    Unwatch1Click(*session);
    rec.clock.runUntilIdle();
    EXPECT_TRUE(sent().isEmpty()) << "not watching";
    session->Watching = true;
    Unwatch1Click(*session);
    rec.clock.runUntilIdle();
    EXPECT_FALSE(session->Watching);
    EXPECT_EQ(sent(), "unwatch\r\n");
}
