#include "SessionFixture.h"

#include "protocol/WhoInfoStretch.h"

#include <QSignalSpy>

#include <algorithm>

namespace {

struct Who {
    QString name;
    QString opponent = "-";
    QString ready = "1";
    QString away = "0";
    QString rating = "1500.00";
    QString experience = "100";
    QString client = "-";
    QString email = "-";
    QString host = "host.example.net";

    QByteArray line() const
    {
        return QStringLiteral("5 %1 %2 - %3 %4 %5 %6 12 1593778125 %7 %8 %9\r\n")
            .arg(name, opponent, ready, away, rating, experience, host, client, email)
            .toLatin1();
    }
};

QStringList cells(const TPlayerRow& row)
{
    QStringList out;
    for (int c = 0; c < PlayerColumnCount; ++c)
        out << row.Cell(c);
    return out;
}

QStringList names(const PlayersListModel& list)
{
    QStringList out;
    for (const TPlayerRow& row : list.Rows())
        out << row.Caption;
    return out;
}

class WhoInfoTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        session->CountryNames = QStringList{"Neutral Zone", "France", "Switzerland"};
        session->CountryCodes = QStringList{"NT", "FR", "CH"};
    }

    void see(const Who& w) { receive(w.line()); }
    void see(std::initializer_list<Who> players)
    {
        QByteArray data;
        for (const Who& w : players)
            data += w.line();
        receive(data + "6\r\n");
    }
    const TPlayerRow& master(const QString& name)
    {
        const int i = session->LVTemp.Find(name);
        EXPECT_GE(i, 0) << name.toStdString();
        return session->LVTemp.Row(std::max(i, 0));
    }
    const TPlayerRow* shown(const QString& name)
    {
        const int i = session->LVPlayers.Find(name);
        return i < 0 ? nullptr : &session->LVPlayers.Row(i);
    }
};

} // namespace

TEST(ClientIdDecoding, TwentyCharacterIdentifications)
{
    const QStringList codes{"NT", "FR", "CH"};
    const QStringList countries{"Neutral Zone", "France", "Switzerland"};
    struct Case {
        const char* word;
        bool decoded;
        int gender;
        const char* country;
        const char* first;
        const char* last;
        const char* client;
    };
    const Case cases[] = {
        {"?FRAnn_.ee_________T", true, 7, "France", "Ann ", "Lee         ", "Tabulon"},
        {"<CHPeter)ruenbaum__!", true, 9, "Switzerland", "Peter", "Gruenbaum  ", "JavaFibs"},
        {"=NTTourney1rganizer2", true, 10, "Neutral Zone", "Tourney", "Organizer", "JavaFibs"},
        {">XY________________T", true, 8, "Unknowed", "                ", "", "Tabulon"},
        {"AFRAnn_.ee_________T", false, -1, "-", "", "", "AFRAnn_.ee_________T"},
        {"?FRAnn_.ee________T", false, -1, "-", "", "", "?FRAnn_.ee________T"},
        {"3DFiBs4.0.79", false, -1, "-", "", "", "3DFiBs4.0.79"},
        {"-", false, -1, "-", "", "", "-"},
    };
    for (const Case& c : cases) {
        const TClientIdInfo info = DecodeClientId(c.word, codes, countries);
        SCOPED_TRACE(c.word);
        EXPECT_EQ(info.Decoded, c.decoded);
        EXPECT_EQ(info.GenderImage, c.gender);
        EXPECT_EQ(info.Country, c.country);
        EXPECT_EQ(info.FirstName, c.first);
        EXPECT_EQ(info.LastName, c.last);
        EXPECT_EQ(info.Client, c.client);
    }
    // Without a country table every code is unknown.
    EXPECT_EQ(DecodeClientId("?FRAnn_.ee_________T", {}, {}).Country, "Unknowed");
}

TEST_F(WhoInfoTest, NewPlayerGetsEveryCellAndTheProfileBoxReadsThem)
{
    session->OwnInfo.Name = "alice";
    see({{.name = "annlee", .rating = "1650.30", .experience = "3021",
          .client = "?FRAnn_.ee_________T", .email = "ann@example.org"},
         {.name = "bob", .ready = "0", .rating = "1400.99", .client = "3DFiBs4.0.79"}});

    const QStringList annExpected{"annlee", "-", "Ready", "1650", "3021", "", "France",
                                  "ann@example.org", "None", "Tabulon", "Ann ", "Lee         ",
                                  "host.example.net"};
    EXPECT_EQ(cells(master("annlee")), annExpected);
    EXPECT_EQ(master("annlee").StateIndex, 3);
    EXPECT_EQ(master("annlee").GenderImage, 7);
    const QStringList bobExpected{"bob", "-", "On line", "1400", "100", "", "-", "-", "None",
                                  "3DFiBs4.0.79", "", "", "host.example.net"};
    EXPECT_EQ(cells(master("bob")), bobExpected);
    EXPECT_EQ(master("bob").StateIndex, 0);
    EXPECT_EQ(master("bob").GenderImage, -1);
    ASSERT_NE(shown("annlee"), nullptr);
    EXPECT_EQ(cells(*shown("annlee")), annExpected);
    EXPECT_EQ(shown("annlee")->GenderImage, 7);
    EXPECT_EQ(session->LNbPlayers.text(), "Number of players online  : 2");

    // What the views show is the same, once the lines are handled.
    const QModelIndex ann = session->LVPlayers.index(0, ColPlayerName);
    EXPECT_EQ(session->LVPlayers.rowCount(), 2);
    EXPECT_EQ(ann.data().toString(), "annlee");
    EXPECT_EQ(ann.data(PlayersListModel::ImageIndexRole).toInt(), 3);
    EXPECT_EQ(ann.siblingAtColumn(ColGender).data(PlayersListModel::ImageIndexRole).toInt(), 7);

    Profile1Click(*session, session->LVPlayers.ShownRow(0));
    Profile1Click(*session, session->LVPlayers.ShownRow(1));
    Profile1Click(*session, nullptr);
    EXPECT_EQ(rec.prompter.boxes,
              QStringList({"annlee Profile | Fisrt name :Ann \rLast Name :Lee         \rGender "
                           ":Unknown\rCountry :France",
                           "bob Profile | Fisrt name :\rLast Name :\rGender :\rCountry :-"}));
}

TEST_F(WhoInfoTest, RatingIconsAndTheOwnLine)
{
    session->OwnInfo.Name = "alice";
    const struct {
        const char* rating;
        const char* cell;
        int icon;
    } cases[] = {{"1650.30", "1650", 3}, {"1400.99", "1400", 0}, {"0.00", "0", -1},
                 {"1401.00", "1401", 1}, {"1500.00", "1500", 1}, {"1501.00", "1501", 2},
                 {"1800.00", "1800", 4}, {"1900.00", "1900", 5}, {"1900.01", "1900", 5},
                 {"1901.00", "1901", 6}, {"2201.94", "2201", 6}, {"1.00", "1", 0}};
    int i = 0;
    for (const auto& c : cases) {
        const QString name = QStringLiteral("P%1").arg(i++);
        see(Who{.name = name, .rating = c.rating});
        EXPECT_EQ(master(name).Cell(ColRating), c.cell) << c.rating;
        EXPECT_EQ(master(name).StateIndex, c.icon) << c.rating;
    }
    // A rating of 0 on a later line leaves the icon as it was.
    see(Who{.name = "P0", .rating = "0.00"});
    EXPECT_EQ(master("P0").StateIndex, 3);
    EXPECT_EQ(master("P0").Cell(ColRating), "0");

    see(Who{.name = "alice", .rating = "1623.47", .experience = "245"});
    EXPECT_EQ(session->OwnInfo.Rating, 1623);
    EXPECT_EQ(session->OwnInfo.Experience, 245);
}

TEST_F(WhoInfoTest, MalformedLinesChangeNothingAndTheIntakeGoesOn)
{
    receive("5 bob - - 1 0 1544.21 3021 12 1593778125 host -\r\n"        // 11 blanks
            "5 carol - - 1 0 nil 3021 12 1593778125 host - -\r\n"        // no rating
            "5 dave - - 1 0 1500.00 10 12 1593778125 host - -\r\n");
    EXPECT_EQ(names(session->LVTemp), QStringList{"dave"});
    EXPECT_TRUE(memo().isEmpty());
}

TEST_F(WhoInfoTest, StatusRules)
{
    // First seen ready and away: "Ready"; the next line shows "Away" and the row stays.
    see(Who{.name = "bob", .ready = "1", .away = "1"});
    EXPECT_EQ(master("bob").Cell(ColStatus), "Ready");
    see(Who{.name = "bob", .ready = "1", .away = "1"});
    EXPECT_EQ(master("bob").Cell(ColStatus), "Away");
    ASSERT_NE(shown("bob"), nullptr);
    EXPECT_EQ(shown("bob")->Cell(ColStatus), "Away");

    // An away player is not brought back by the filters.
    SBOnLineClick(*session);
    SBOnLineClick(*session);
    EXPECT_EQ(shown("bob"), nullptr);
    EXPECT_EQ(master("bob").Cell(ColStatus), "Away");

    // With "playing" filtered out, a visible player who starts a match leaves the list only.
    see(Who{.name = "carol", .ready = "0"});
    SBPlayingClick(*session);
    ASSERT_NE(shown("carol"), nullptr);
    see(Who{.name = "carol", .opponent = "dave", .ready = "1"});
    EXPECT_EQ(shown("carol"), nullptr);
    EXPECT_EQ(master("carol").Cell(ColStatus), "Playing");
    EXPECT_EQ(master("carol").Cell(ColOpponent), "dave");
    // ... and comes back once he is free and the filter allows him.
    see(Who{.name = "carol", .ready = "0"});
    ASSERT_NE(shown("carol"), nullptr);
    EXPECT_EQ(shown("carol")->Cell(ColStatus), "On line");
    // A visible player who turns ready while "ready" is filtered out leaves the list.
    SBReadyClick(*session);
    see(Who{.name = "carol", .ready = "1"});
    EXPECT_EQ(shown("carol"), nullptr);
    EXPECT_EQ(master("carol").Cell(ColStatus), "Ready");
}

TEST_F(WhoInfoTest, FiltersRebuildTheVisibleList)
{
    see({{.name = "Anna", .ready = "1"},
         {.name = "Bruno", .ready = "0"},
         {.name = "Clara", .opponent = "Dmitri"},
         {.name = "Dmitri", .opponent = "Clara"}});
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));
    SBReadyClick(*session);
    EXPECT_FALSE(session->SBReady);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Bruno", "Clara", "Dmitri"}));
    SBPlayingClick(*session);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Bruno"}));
    SBOnLineClick(*session);
    EXPECT_TRUE(names(session->LVPlayers).isEmpty());
    EXPECT_EQ(session->LVTemp.Count(), 4);
    SBReadyClick(*session);
    SBPlayingClick(*session);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Clara", "Dmitri"}));
    // New players pass the same filters.
    see(Who{.name = "Elif", .ready = "0"});
    see(Who{.name = "Farid", .ready = "1"});
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Clara", "Dmitri", "Farid"}));
    // The rebuilt list has the opponents' icons again.
    ASSERT_NE(shown("Clara"), nullptr);
    EXPECT_EQ(shown("Clara")->OpponentImage, 1);
}

TEST_F(WhoInfoTest, OpponentIconsAtTheEndOfABatch)
{
    see({{.name = "Clara", .opponent = "Dmitri", .rating = "1700.00"},
         {.name = "Dmitri", .opponent = "Clara", .rating = "1950.00"},
         {.name = "Elif", .opponent = "Ghost", .rating = "1550.00"}});
    EXPECT_EQ(shown("Clara")->OpponentImage, 6);
    EXPECT_EQ(shown("Dmitri")->OpponentImage, 3);
    EXPECT_EQ(shown("Elif")->OpponentImage, -1);
    EXPECT_EQ(session->LVPlayers.index(session->LVPlayers.Find("Clara"), ColOpponent)
                  .data(PlayersListModel::ImageIndexRole)
                  .toInt(),
              6);
    // Clara is free again, at 1500: her own opponent icon goes, Dmitri's follows her rating.
    receive(Who{.name = "Clara"}.line() + "6\r\n");
    EXPECT_EQ(shown("Clara")->OpponentImage, -1);
    EXPECT_EQ(shown("Dmitri")->OpponentImage, 1);
}

TEST_F(WhoInfoTest, SortingByColumnHeaders)
{
    see({{.name = "Clara", .ready = "0", .rating = "1700.00", .experience = "999"},
         {.name = "Anna", .rating = "1500.00", .experience = "1500"},
         {.name = "Dmitri", .opponent = "Bruno", .rating = "1950.00", .experience = "20"},
         {.name = "Bruno", .opponent = "Dmitri", .rating = "1500.00", .experience = "7"}});
    // Without a sort column the list is in name order.
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));

    // "Rating" twice: highest first, then lowest first; equal ratings stay in name order.
    LVPlayersColumnClick(*session, ColRating);
    EXPECT_EQ(session->WindowSettings.ColumnSort, ColRating);
    EXPECT_TRUE(session->WindowSettings.Descending);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Dmitri", "Clara", "Anna", "Bruno"}));
    LVPlayersColumnClick(*session, ColRating);
    EXPECT_FALSE(session->WindowSettings.Descending);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));

    // Experience compares as numbers: 999 is below 1500.
    LVPlayersColumnClick(*session, ColExperience);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Clara", "Dmitri", "Bruno"}));

    // A new line re-sorts by the stored column and direction.
    see(Who{.name = "Bruno", .opponent = "Dmitri", .rating = "1500.00", .experience = "5000"});
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Bruno", "Anna", "Clara", "Dmitri"}));

    // Text columns compare byte by byte: "On line" < "Playing" < "Ready".
    LVPlayersColumnClick(*session, ColStatus);
    LVPlayersColumnClick(*session, ColStatus);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Clara", "Bruno", "Dmitri", "Anna"}));

    // "Player Name" sorts A to Z however often it is clicked.
    LVPlayersColumnClick(*session, ColPlayerName);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));
    LVPlayersColumnClick(*session, ColPlayerName);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));
    EXPECT_EQ(session->WindowSettings.ColumnSort, ColPlayerName);

    // The "G" column sorts by the gender images.
    see(Who{.name = "Elif", .client = ">FR________________T"});
    see(Who{.name = "Farid", .client = "<FR________________T"});
    LVPlayersColumnClick(*session, ColGender);
    EXPECT_EQ(names(session->LVPlayers).mid(0, 2), QStringList({"Farid", "Elif"}));
}

TEST_F(WhoInfoTest, StoredSortColumnAppliesToNewRows)
{
    session->WindowSettings.ColumnSort = ColRating;
    session->WindowSettings.Descending = true;
    see({{.name = "Anna", .rating = "1500.00"},
         {.name = "Bruno", .rating = "1900.00"},
         {.name = "Clara", .rating = "1700.00"}});
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Bruno", "Clara", "Anna"}));

    // A column number from a hand-edited file that is not a column sorts by name.
    session->WindowSettings.ColumnSort = 40;
    see(Who{.name = "Dmitri", .rating = "2000.00"});
    EXPECT_EQ(session->WindowSettings.ColumnSort, 0);
    EXPECT_EQ(names(session->LVPlayers), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));
}

TEST_F(WhoInfoTest, FriendsAndVillainsFollowTheirPlayers)
{
    session->LVFriends.Add({"Zed", "1500", " ", "Offline"});
    session->LVVilains.Add({"Yves", "1600", " ", "Offline"});
    see(Who{.name = "Zed", .ready = "0", .rating = "1488.12"});
    EXPECT_EQ(session->LVFriends.Row(0).Rating, "1488");
    EXPECT_EQ(session->LVFriends.Row(0).RatingChange, "-12");
    EXPECT_EQ(session->LVFriends.Row(0).Status, "On line");
    // The same rating again keeps the last change; a rise shows without a sign.
    see(Who{.name = "Zed", .ready = "0", .away = "1", .rating = "1488.50"});
    EXPECT_EQ(session->LVFriends.Row(0).RatingChange, "-12");
    EXPECT_EQ(session->LVFriends.Row(0).Status, "Away");
    see(Who{.name = "Zed", .opponent = "Yves", .rating = "1495.00"});
    EXPECT_EQ(session->LVFriends.Row(0).RatingChange, "7");
    EXPECT_EQ(session->LVFriends.Row(0).Status, "Playing");

    see(Who{.name = "Yves", .ready = "1", .rating = "1600.00"});
    EXPECT_EQ(session->LVVilains.Row(0).Rating, "1600");
    EXPECT_EQ(session->LVVilains.Row(0).RatingChange, " ");
    EXPECT_EQ(session->LVVilains.Row(0).Status, "Ready");
}

TEST_F(WhoInfoTest, RowColoursLastRuleWins)
{
    session->OwnInfo.Name = "alice";
    session->SavedGames.append({"bob", " 5", " 0 -  0"});
    session->SavedGames.append({"fred", " 3", " 1 -  0"});
    session->LVFriends.Add({"carol", "0", "0", "Offline"});
    session->LVFriends.Add({"dave", "0", "0", "Offline"});
    session->LVVilains.Add({"dave", "0", "0", "Offline"});
    session->LVVilains.Add({"bob", "0", "0", "Offline"});
    see({{.name = "alice"}, {.name = "bob"}, {.name = "carol"}, {.name = "dave"}, {.name = "erin"},
         {.name = "fred"}});
    const auto colour = [&](const QString& name) {
        return session->LVPlayers.index(session->LVPlayers.Find(name), ColHost)
            .data(Qt::BackgroundRole)
            .value<QColor>();
    };
    EXPECT_EQ(colour("alice"), QColor(166, 202, 240));
    EXPECT_EQ(colour("bob"), QColor(255, 0, 0));
    EXPECT_EQ(colour("carol"), QColor(0, 128, 0));
    EXPECT_EQ(colour("dave"), QColor(255, 0, 0));
    EXPECT_FALSE(colour("erin").isValid());
    // Text stays readable on the dark rows.
    const auto text = [&](const QString& name) {
        return session->LVPlayers.index(session->LVPlayers.Find(name), 0).data(Qt::ForegroundRole);
    };
    EXPECT_EQ(text("carol").value<QColor>(), QColor(Qt::white));
    EXPECT_FALSE(text("alice").isValid());
    EXPECT_FALSE(text("erin").isValid());
    EXPECT_EQ(colour("fred"), QColor(200, 200, 200));
}

TEST_F(WhoInfoTest, PlayerWithASavedMatchLogsIn)
{
    session->SavedGames.append({"bob", " 5", " 2 -  1"});
    session->SavedGames.append({"carol", " 3", " 0 -  0"});
    see(Who{.name = "bob"});
    EXPECT_EQ(master("bob").Cell(ColSavedGames), "ML :  5 Score :  2 -  1");
    EXPECT_EQ(shown("bob")->Cell(ColSavedGames), "ML :  5 Score :  2 -  1");
    const QStringList expected{"bob with whom you have a saved match as just logs in.",
                               "MatchLength :  5", "Score (Your score first) :  2 -  1", ""};
    EXPECT_EQ(session->MPrivateMessages.texts(), expected);
    for (const TextLog::Line& line : session->MPrivateMessages.lines())
        EXPECT_EQ(line.colour, QColor(185, 131, 1));
    // Only the first appearance tells.
    see(Who{.name = "bob"});
    EXPECT_EQ(session->MPrivateMessages.lines().size(), 4);
}

TEST_F(WhoInfoTest, LogoutRemovesThePlayerFromBothLists)
{
    see({{.name = "bob"}, {.name = "carol"}});
    receive("8 bob bob logs out.\r\n8 nobody nobody drops connection.\r\n");
    EXPECT_EQ(names(session->LVTemp), QStringList{"carol"});
    EXPECT_EQ(names(session->LVPlayers), QStringList{"carol"});
    EXPECT_EQ(session->LNbPlayers.text(), "Number of players online  : 2");
    EXPECT_TRUE(memo().isEmpty());
    // He is a new player when he comes back.
    see(Who{.name = "bob"});
    EXPECT_EQ(session->LNbPlayers.text(), "Number of players online  : 2");
    EXPECT_EQ(names(session->LVPlayers), QStringList({"bob", "carol"}));
}

TEST_F(WhoInfoTest, RefreshEmptiesTheListsAndAsksThreeTimes)
{
    see({{.name = "bob"}, {.name = "carol"}});
    QList<QPair<qint64, QByteArray>> sends;
    const qint64 start = rec.clock.now();
    rec.link.onSend = [&](const QByteArray& b) { sends.append({rec.clock.now() - start, b}); };
    PlayersRefresh(*session);
    EXPECT_EQ(session->LVTemp.Count(), 0);
    EXPECT_EQ(session->LVPlayers.rowCount(), 0);
    EXPECT_EQ(session->LNbPlayers.text(), "Number of players online  : 2");
    rec.clock.runUntilIdle();
    const QList<QPair<qint64, QByteArray>> expected{
        {0, "rawwho\r\n"},           {300, "set sortwho name\r\n"},
        {400, "rawwho\r\n"},         {700, "set sortwho rrating\r\n"},
        {800, "rawwho\r\n"},         {1100, "set sortwho rating\r\n"}};
    EXPECT_EQ(sends, expected);

    // Three listings merge by name.
    see({{.name = "bob"}, {.name = "carol"}});
    see({{.name = "carol"}, {.name = "bob"}});
    EXPECT_EQ(names(session->LVTemp), QStringList({"bob", "carol"}));

    // Not connected: the lists stay and nothing is sent.
    rec.link.connected = false;
    sends.clear();
    PlayersRefresh(*session);
    rec.clock.runUntilIdle();
    EXPECT_TRUE(sends.isEmpty());
    EXPECT_EQ(session->LVTemp.Count(), 2);
}

TEST_F(WhoInfoTest, ABurstReachesTheViewsAsOneUpdate)
{
    session->WindowSettings.ColumnSort = ColRating;
    session->WindowSettings.Descending = true;
    QSignalSpy inserted(&session->LVPlayers, &QAbstractItemModel::rowsInserted);
    QSignalSpy reordered(&session->LVPlayers, &QAbstractItemModel::layoutChanged);
    QByteArray burst;
    for (int i = 0; i < 300; ++i)
        burst += Who{.name = QStringLiteral("player%1").arg(i),
                     .rating = QStringLiteral("%1.00").arg(1200 + (i * 37) % 900)}
                     .line();
    receive(burst + "6\r\n");
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_LE(reordered.size(), 1);
    EXPECT_EQ(session->LVPlayers.rowCount(), 300);
    QList<int> ratings;
    for (int row = 0; row < 300; ++row)
        ratings << session->LVPlayers.index(row, ColRating).data().toInt();
    EXPECT_TRUE(std::is_sorted(ratings.rbegin(), ratings.rend()));
}

TEST_F(WhoInfoTest, ASelectedRowFollowsItsPlayerThroughSortsAndRemovals)
{
    see({{.name = "Anna", .rating = "1500.00"},
         {.name = "Bruno", .rating = "1900.00"},
         {.name = "Clara", .rating = "1700.00"}});
    const QPersistentModelIndex anna = session->LVPlayers.index(0, ColHost);
    ASSERT_EQ(anna.data(), QString("host.example.net"));
    LVPlayersColumnClick(*session, ColRating);
    EXPECT_EQ(session->LVPlayers.index(anna.row(), 0).data().toString(), "Anna");
    EXPECT_EQ(anna.row(), 2);
    receive("8 Bruno Bruno logs out.\r\n");
    EXPECT_EQ(anna.row(), 1);
    EXPECT_EQ(session->LVPlayers.index(anna.row(), 0).data().toString(), "Anna");
    receive("8 Anna Anna logs out.\r\n");
    EXPECT_FALSE(anna.isValid());
}
