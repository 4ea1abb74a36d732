#include "../protocol/SessionFixture.h"

#include "protocol/WhoInfoStretch.h"
#include "records/SavedGames.h"

namespace {

const QByteArray Header = "  opponent          matchlength   score (your points first)\r\n";

// A listing row: a two-character mark, then 47 characters (name, length at 24, score at 41).
QByteArray row(const char* mark, const QString& name, int length, int mine, int theirs)
{
    const QString text = QStringLiteral("%1%2%3%4%5 - %6")
                             .arg(QLatin1String(mark))
                             .arg(name, -23)
                             .arg(length, 2)
                             .arg(QString(), 15)
                             .arg(mine, 2)
                             .arg(theirs, 2);
    return text.toLatin1() + "\r\n";
}

QStringList games(const ClientSession& s)
{
    QStringList out;
    for (const TSavedgame& g : s.SavedGames)
        out << g.opponent + "|" + g.length + "|" + g.score;
    return out;
}

using SavedGamesTest = SessionTest;

} // namespace

TEST_F(SavedGamesTest, ListingWithMarkedRows)
{
    ASSERT_EQ(row("  ", "bob", 5, 0, 0), "  bob                     5                0 -  0\r\n");
    receive(Header + row("  ", "bob", 5, 0, 0) + row(" *", "carol", 11, 10, 3)
            + row("**", "dave", 1, 0, 0) + "\r\n");
    EXPECT_EQ(games(*session),
              QStringList({"bob| 5| 0 -  0", "carol|11|10 -  3", "dave| 1| 0 -  0"}));
    EXPECT_FALSE(session->ReadingSavedList);
    // The listing is not consumed: every line of it is shown.
    const QStringList shown = memo();
    EXPECT_EQ(shown.size(), 4);
    EXPECT_TRUE(shown.contains(QString::fromLatin1(row("**", "dave", 1, 0, 0)).trimmed()));
}

TEST_F(SavedGamesTest, ListingShapesAndWhatEndsThem)
{
    struct Case {
        const char* what;
        QByteArray data;
        QStringList expected;
    };
    const QByteArray bob = row("  ", "bob", 5, 2, 1);
    QByteArray longer = bob;
    longer.insert(3, ' ');
    QByteArray shorter = bob;
    shorter.remove(3, 1);
    const Case cases[] = {
        {"no saved games", "no saved games.\r\n", {}},
        {"a row of 48 ends the listing", Header + longer + bob, {}},
        {"a row of 46 ends the listing", Header + shorter + bob, {}},
        {"another line ends the listing", Header + bob + "12 carol hello\r\n" + bob, {"bob| 5| 2 -  1"}},
        {"a consumed line ends it too", Header + bob + "5 x - - 1 0 1500.00 1 1 1 h - -\r\n" + bob,
         {"bob| 5| 2 -  1"}},
        {"a second header in the same block starts nothing",
         Header + bob + "\r\n" + Header + bob, {"bob| 5| 2 -  1"}},
        {"47 characters without a header are not a listing", bob, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        session->SavedGames.clear();
        session->ReadingSavedList = false;
        receive(c.data);
        receive("\r\n");
        EXPECT_EQ(games(*session), c.expected);
    }
}

TEST_F(SavedGamesTest, ARepeatedListingAddsTheMatchesAgain)
{
    const QByteArray listing = Header + row("  ", "bob", 5, 2, 1) + "\r\n";
    receive(listing);
    receive(listing);
    EXPECT_EQ(games(*session), QStringList({"bob| 5| 2 -  1", "bob| 5| 2 -  1"}));
    EXPECT_EQ(SavedGamesWindowRows(*session).size(), 2);
}

TEST_F(SavedGamesTest, PlayersListShowsTheMatchAndTheWindowTheirStatus)
{
    receive("5 bob - - 1 0 1544.21 3021 12 1593778125 host - -\r\n"
            "5 carol - - 0 0 1811.02 10 12 1593778125 host - -\r\n6\r\n");
    receive(Header + row("  ", "carol", 3, 1, 2) + row("  ", "bob", 5, 2, 1)
            + row("  ", "zoe", 7, 0, 6) + "\r\n");
    for (PlayersListModel* list : {&session->LVPlayers, &session->LVTemp})
        EXPECT_EQ(list->Row(list->Find("bob")).Cell(ColSavedGames), "ML:  5 Score:  2 -  1");

    const QVector<TSavedgameRow> rows = SavedGamesWindowRows(*session);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].Opponent, "bob");
    EXPECT_EQ(rows[0].Status, "Ready");
    EXPECT_EQ(rows[1].Opponent, "carol");
    EXPECT_EQ(rows[1].Status, "On line");
    EXPECT_EQ(rows[2].Opponent, "zoe");
    EXPECT_EQ(rows[2].Status, "Offline");
    EXPECT_TRUE(SavedGameInvitable(rows[0].Status));
    EXPECT_FALSE(SavedGameInvitable(rows[1].Status));
    EXPECT_FALSE(SavedGameInvitable(rows[2].Status));

    // A filtered-out player is not in the visible list: the window cannot tell his status.
    SBReadyClick(*session);
    EXPECT_EQ(SavedGamesWindowRows(*session)[0].Status, "Offline");
}

TEST_F(SavedGamesTest, ShowPositionAndInvite)
{
    EXPECT_TRUE(BShowPositionClick(*session, "bob"));
    EXPECT_TRUE(BInviteClick(*session, "bob"));
    rec.clock.runUntilIdle();
    EXPECT_EQ(rec.link.sent, QByteArray("oldboard bob\n\nInvite bob\r\n"));
    rec.link.connected = false;
    rec.link.sent.clear();
    EXPECT_FALSE(BShowPositionClick(*session, "bob"));
    EXPECT_FALSE(BInviteClick(*session, "bob"));
    rec.clock.runUntilIdle();
    EXPECT_TRUE(rec.link.sent.isEmpty());
}
