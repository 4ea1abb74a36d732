#include "../protocol/SessionFixture.h"

#include "model/GnubgIds.h"
#include "model/Positions.h"
#include "protocol/StateJson.h"
#include "records/MatchRecord.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>

#include <array>

namespace {

// The match ID read back field by field, so a check names the field it is about.
struct MatchFields {
    int Cube, Owner, OnRoll, Crawford, State, Turn, Doubled, Resign, Die1, Die2, Length,
        Score0, Score1, NoJacoby, Padding;
};

QString Bits(const QString& id)
{
    const QByteArray bytes = QByteArray::fromBase64(id.toLatin1());
    QString bits;
    for (char byte : bytes)
        for (int k = 0; k < 8; ++k)
            bits += QLatin1Char((uchar(byte) >> k) & 1 ? '1' : '0');
    return bits;
}

MatchFields Decode(const QString& matchId)
{
    const QString bits = Bits(matchId);
    int at = 0;
    const auto field = [&](int width) {
        int v = 0;
        for (int i = 0; i < width; ++i)
            v |= (bits.at(at + i) == QLatin1Char('1')) << i;
        at += width;
        return v;
    };
    MatchFields f{};
    f.Cube = field(4);
    f.Owner = field(2);
    f.OnRoll = field(1);
    f.Crawford = field(1);
    f.State = field(3);
    f.Turn = field(1);
    f.Doubled = field(1);
    f.Resign = field(2);
    f.Die1 = field(3);
    f.Die2 = field(3);
    f.Length = field(15);
    f.Score0 = field(15);
    f.Score1 = field(15);
    f.NoJacoby = field(1);
    f.Padding = field(5);
    return f;
}

TPositions Started(int turn)
{
    TPositions p;
    SetStartingPosition(p);
    p.Turn = turn;
    return p;
}

// A race: the near side has nine checkers on its points 2 and 3, the far side eight on its 2
// and 3 points.
TPositions Race(int colour, int turn)
{
    TPositions p;
    p.Colour = colour;
    p.Turn = turn;
    p.Board(MirrorIndex(3, colour)) = 5 * colour;
    p.Board(MirrorIndex(2, colour)) = 4 * colour;
    p.Board(MirrorIndex(22, colour)) = -6 * colour;
    p.Board(MirrorIndex(23, colour)) = -2 * colour;
    return p;
}

} // namespace

TEST(GnubgIds, BinaryDigitsLowestFirstAndExactlyWidth)
{
    EXPECT_EQ(BinaryDigits(6, 3), "011");
    EXPECT_EQ(BinaryDigits(0, 4), "0000");
    EXPECT_EQ(BinaryDigits(1, 1), "1");
    EXPECT_EQ(BinaryDigits(5, 15), "101000000000000");
    // A value too wide for its field must not shift the fields after it.
    EXPECT_EQ(BinaryDigits(9, 3), "100");
}

TEST(GnubgIds, StartingPositionWhoeverIsOnRoll)
{
    for (int turn : {1, -1, 0}) {
        SCOPED_TRACE(turn);
        EXPECT_EQ(PositionId(Started(turn)), "4HPwATDgc/ABMA");
    }
    // The same board seen by the other colour.
    TPositions p;
    for (int i = 0; i <= 25; ++i)
        p.Board(MirrorIndex(i, -1)) = -Started(1).Board(i);
    p.Colour = -1;
    p.Turn = 1;
    EXPECT_EQ(PositionId(p), "4HPwATDgc/ABMA");
}

TEST(GnubgIds, SideNotOnRollComesFirst)
{
    for (int colour : {1, -1}) {
        SCOPED_TRACE(colour);
        const QString nearOnRoll = PositionId(Race(colour, colour));
        const QString farOnRoll = PositionId(Race(colour, -colour));
        EXPECT_NE(nearOnRoll, farOnRoll);
        EXPECT_EQ(PositionId(Race(colour, 0)), farOnRoll);
        // Far side not on roll: its 2 and 6 checkers, a zero, then the near side's 4 and 5.
        EXPECT_TRUE(Bits(nearOnRoll).startsWith(
            "0" "110" "1111110" + QString(22, QLatin1Char('0')) + "0" "11110" "111110"))
            << qPrintable(Bits(nearOnRoll));
        EXPECT_TRUE(Bits(farOnRoll).startsWith("0" "11110" "111110"));
        EXPECT_EQ(PositionId(Race(colour, colour)).size(), 14);
    }
}

TEST(GnubgIds, CubeAndDiceFields)
{
    struct Case {
        const char* name;
        int cube, playerDie1, playerDie2, opponentDie1, opponentDie2;
        bool playerMay, opponentMay;
        int cubeField, owner, doubled, die1, die2;
    };
    const Case cases[] = {
        // Without dice the cube holds the doubled value: halving gives the cube before it.
        {"offered 2, near owned", -2, 0, 0, 0, 0, true, false, 0, 1, 1, 0, 0},
        {"offered 2, far owned", -2, 0, 0, 0, 0, false, true, 0, 0, 1, 0, 0},
        {"offered 8", -8, 0, 0, 0, 0, true, true, 2, 3, 1, 0, 0},
        {"accepted 4, no dice", 4, 0, 0, 0, 0, false, true, 1, 0, 1, 0, 0},
        {"cube 4 rolled 52", 4, 5, 2, 0, 0, true, false, 2, 1, 0, 5, 2},
        {"cube 1 rolled 66", 1, 6, 6, 0, 0, true, true, 0, 3, 0, 6, 6},
        {"never updated", 0, 3, 1, 0, 0, true, false, 0, 3, 0, 3, 1},
        {"Crawford game", 1, 4, 2, 0, 0, false, false, 0, 3, 0, 4, 2},
        {"far dice unused", 2, 3, 3, 6, 5, true, true, 1, 3, 0, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPositions p = Started(1);
        p.Cube = c.cube;
        p.PlayerDie1 = c.playerDie1;
        p.PlayerDie2 = c.playerDie2;
        p.OpponentDie1 = c.opponentDie1;
        p.OpponentDie2 = c.opponentDie2;
        p.PlayerMayDouble = c.playerMay;
        p.OpponentMayDouble = c.opponentMay;
        const QString id = MatchId(p);
        ASSERT_EQ(id.size(), 12);
        const MatchFields f = Decode(id);
        EXPECT_EQ(f.Cube, c.cubeField);
        EXPECT_EQ(f.Owner, c.owner);
        EXPECT_EQ(f.Doubled, c.doubled);
        EXPECT_EQ(f.Die1, c.die1);
        EXPECT_EQ(f.Die2, c.die2);
        EXPECT_EQ(f.OnRoll, 1);
        // While a double is offered the far side must answer it.
        EXPECT_EQ(f.Turn, c.doubled ? 0 : 1);
        EXPECT_EQ(f.State, 1);
        EXPECT_EQ(f.Resign, 0);
        EXPECT_EQ(f.NoJacoby, 1);
        EXPECT_EQ(f.Padding, 0);
    }
}

TEST(GnubgIds, SidesScoresAndLength)
{
    TPositions p = Started(-1);
    p.Cube = 1;
    p.OpponentDie1 = 6;
    p.OpponentDie2 = 4;
    p.PlayerDie1 = 2;
    p.MatchLength = 7;
    p.PlayerScore = 6;
    p.OpponentScore = 3;
    p.Crawford = true;
    MatchFields f = Decode(MatchId(p));
    EXPECT_EQ(f.OnRoll, 0);
    EXPECT_EQ(f.Turn, 0);
    EXPECT_EQ(f.Die1, 6);
    EXPECT_EQ(f.Die2, 4);
    EXPECT_EQ(f.Crawford, 1);
    EXPECT_EQ(f.Length, 7);
    EXPECT_EQ(f.Score0, 3);
    EXPECT_EQ(f.Score1, 6);

    // The engine takes no unlimited match: it is analysed as a money game.
    p.MatchLength = UnlimitedMatchLength;
    f = Decode(MatchId(p));
    EXPECT_EQ(f.Length, 0);
    EXPECT_EQ(f.Score0, 0);
    EXPECT_EQ(f.Score1, 0);
    EXPECT_EQ(f.Crawford, 0);
    EXPECT_EQ(f.NoJacoby, 1);
}

namespace {

const char* const EnginePath = "/usr/games/gnubg";

enum class Owner { Near, Far, Centre };

// A position described as a player sees it: display 0 is the far side's bar, 1 to 24 the near
// side's points, 25 the near side's bar; positive counts are near-side checkers.
struct EngineCase {
    const char* name;
    int colour;
    bool nearOnRoll;
    std::array<int, 26> display;
    int die1, die2; // 0: the side on roll has just doubled
    int cube;       // before any double
    Owner owner;
    int length;     // UnlimitedMatchLength: money
    int playerScore, opponentScore;
    bool crawford;
};

std::array<int, 26> StartBoard()
{
    std::array<int, 26> d{};
    d[24] = 2, d[13] = 5, d[8] = 3, d[6] = 5;
    d[1] = -2, d[12] = -5, d[17] = -3, d[19] = -5;
    return d;
}

// Checkers on both bars and some of each side borne off.
std::array<int, 26> BarBoard()
{
    std::array<int, 26> d{};
    d[25] = 1, d[6] = 4, d[5] = 3, d[1] = 2, d[20] = -1;
    d[0] = -2, d[24] = -3, d[19] = -5, d[18] = -1;
    return d;
}

std::array<int, 26> RaceBoard()
{
    std::array<int, 26> d{};
    d[3] = 5, d[2] = 4, d[22] = -6, d[23] = -2, d[15] = 1;
    return d;
}

TPositions Recorded(const EngineCase& c)
{
    TPositions p;
    p.Colour = c.colour;
    for (int i = 0; i <= 25; ++i)
        p.Board(MirrorIndex(i, c.colour)) = c.display[std::size_t(i)] * c.colour;
    p.Turn = c.nearOnRoll ? c.colour : -c.colour;
    (c.nearOnRoll ? p.PlayerDie1 : p.OpponentDie1) = c.die1;
    (c.nearOnRoll ? p.PlayerDie2 : p.OpponentDie2) = c.die2;
    // A double is recorded with the doubled cube, negated.
    p.Cube = c.die1 == 0 ? -2 * c.cube : c.cube;
    p.PlayerMayDouble = !c.crawford && c.owner != Owner::Far;
    p.OpponentMayDouble = !c.crawford && c.owner != Owner::Near;
    p.MatchLength = c.length;
    p.PlayerScore = c.playerScore;
    p.OpponentScore = c.opponentScore;
    p.Crawford = c.crawford;
    return p;
}

// The engine's own commands for the case. It is player 1 for the near side, and its simple
// board lists the bar of the side on roll, that side's points 1 to 24 and the other bar.
QStringList EngineCommands(const EngineCase& c)
{
    QStringList board;
    if (c.nearOnRoll) {
        board << QString::number(c.display[25]);
        for (int i = 1; i <= 24; ++i)
            board << QString::number(c.display[std::size_t(i)]);
        board << QString::number(c.display[0]);
    } else {
        board << QString::number(-c.display[0]);
        for (int j = 1; j <= 24; ++j)
            board << QString::number(-c.display[std::size_t(25 - j)]);
        board << QString::number(-c.display[25]);
    }
    QStringList cmds{"set player 0 human", "set player 1 human", "set automatic roll off"};
    if (c.length == UnlimitedMatchLength) {
        // The server plays unlimited matches without the Jacoby rule.
        cmds << "set jacoby off" << "new session";
    } else {
        cmds << QStringLiteral("new match %1").arg(c.length)
             << QStringLiteral("set score %1 %2").arg(c.opponentScore).arg(c.playerScore);
    }
    if (c.crawford)
        cmds << "set crawford on";
    cmds << QStringLiteral("set turn %1").arg(c.nearOnRoll ? 1 : 0)
         << "set board simple " + board.join(' ');
    if (c.cube > 1)
        cmds << QStringLiteral("set cube value %1").arg(c.cube);
    switch (c.owner) {
    case Owner::Near: cmds << "set cube owner 1"; break;
    case Owner::Far: cmds << "set cube owner 0"; break;
    case Owner::Centre: cmds << "set cube centre"; break;
    }
    if (c.die1 == 0)
        cmds << "double";
    else
        cmds << QStringLiteral("set dice %1 %2").arg(c.die1).arg(c.die2);
    cmds << "show board";
    return cmds;
}

struct EngineIds {
    QString positionId, matchId, output;
};

EngineIds RunEngine(const QStringList& commands)
{
    QTemporaryDir home;
    QProcess engine;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    engine.setProcessEnvironment(env);
    engine.start(EnginePath, {"-t", "-q", "-s", home.path()});
    EngineIds ids;
    if (!engine.waitForStarted(10000))
        return ids;
    engine.write((commands.join('\n') + '\n').toUtf8());
    engine.closeWriteChannel();
    engine.waitForFinished(30000);
    ids.output = QString::fromUtf8(engine.readAllStandardOutput() + engine.readAllStandardError());
    // The last board shown is the one of the finished set-up.
    static const QRegularExpression pos(R"(Position ID: (\S+))");
    static const QRegularExpression match(R"(Match ID\s*: (\S+))");
    for (auto it = pos.globalMatch(ids.output); it.hasNext();)
        ids.positionId = it.next().captured(1);
    for (auto it = match.globalMatch(ids.output); it.hasNext();)
        ids.matchId = it.next().captured(1);
    return ids;
}

} // namespace

TEST(GnubgIds, SameAsTheEngine)
{
    if (!QFileInfo(EnginePath).isExecutable())
        GTEST_SKIP() << EnginePath << " is not installed: the engine cross-check is skipped";
    const EngineCase cases[] = {
        {"start, near rolled", 1, true, StartBoard(), 3, 1, 1, Owner::Centre, 5, 0, 0, false},
        {"start, other colour, far rolled, near owns", -1, false, StartBoard(), 6, 4, 2,
         Owner::Near, 7, 2, 4, false},
        {"bars and borne off, far rolled, far owns", 1, false, BarBoard(), 5, 5, 4, Owner::Far,
         11, 3, 8, false},
        {"bars, other colour, near rolled", -1, true, BarBoard(), 2, 1, 1, Owner::Centre, 5, 4, 2,
         false},
        {"Crawford game", 1, false, RaceBoard(), 6, 2, 1, Owner::Centre, 5, 2, 4, true},
        {"near doubles", 1, true, RaceBoard(), 0, 0, 1, Owner::Centre, 7, 1, 1, false},
        {"far doubles, other colour", -1, false, RaceBoard(), 0, 0, 1, Owner::Centre, 7, 3, 0,
         false},
        {"far redoubles", -1, false, BarBoard(), 0, 0, 2, Owner::Far, 9, 3, 5, false},
        {"near redoubles, money", 1, true, RaceBoard(), 0, 0, 2, Owner::Near,
         UnlimitedMatchLength, 0, 0, false},
        {"money, far rolled", -1, false, BarBoard(), 4, 2, 1, Owner::Centre,
         UnlimitedMatchLength, 0, 0, false},
    };
    for (const EngineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList commands = EngineCommands(c);
        const EngineIds engine = RunEngine(commands);
        ASSERT_FALSE(engine.matchId.isEmpty()) << qPrintable(engine.output);
        const TPositions p = Recorded(c);
        EXPECT_EQ(PositionId(p).toStdString(), engine.positionId.toStdString())
            << qPrintable(commands.join('\n'));
        EXPECT_EQ(MatchId(p).toStdString(), engine.matchId.toStdString())
            << qPrintable(commands.join('\n'));
    }
}

namespace {
class GnubgIdsSession : public SessionTest {};
} // namespace

TEST_F(GnubgIdsSession, SelectedCellShowsTheIdsOfItsPosition)
{
    ResetMatchRecord(*session);
    session->Watching = true;
    TPositions start;
    SetStartingPosition(start);
    start.Cube = 1;
    start.PlayerMayDouble = start.OpponentMayDouble = true;
    start.MatchLength = 5;
    start.PlayerDie1 = 3;
    start.PlayerDie2 = 1;
    session->CurrentPosition = start;
    AppendGameRow(*session);
    TGames& game = session->Games.last();
    game.PlayerPositions.last().MoveText = "31 8/5 6/5";
    session->SGMovesList.SetCell(1, 1, "31 8/5 6/5");
    TPositions doubled = Race(-1, 0);
    doubled.Cube = -2;
    doubled.PlayerMayDouble = doubled.OpponentMayDouble = true;
    doubled.MatchLength = 5;
    doubled.MoveText = "Doubles";
    game.OpponentPositions.last() = doubled;
    session->SGMovesList.SetCell(2, 1, "Doubles");
    session->SGMovesList.SetRowCount(3);

    QSignalSpy shown(session.get(), &ClientSession::idsShown);
    SGMovesListClick(*session, 1, 1);
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(session->EPosId, "4HPwATDgc/ABMA");
    EXPECT_EQ(session->EMatchId, MatchId(game.PlayerPositions.at(0)));
    EXPECT_EQ(Decode(session->EMatchId).Die1, 3);

    // The far side's double: its turn is set before the IDs are written.
    SGMovesListClick(*session, 2, 1);
    EXPECT_EQ(shown.count(), 2);
    TPositions expected = doubled;
    expected.Turn = 1;
    EXPECT_EQ(session->EPosId, PositionId(expected));
    const MatchFields f = Decode(session->EMatchId);
    EXPECT_EQ(f.OnRoll, 0);
    EXPECT_EQ(f.Turn, 1);
    EXPECT_EQ(f.Doubled, 1);

    const QJsonObject state = SessionStateJson(*session);
    EXPECT_EQ(state.value("EPosId").toString(), session->EPosId);
    EXPECT_EQ(state.value("EMatchId").toString(), session->EMatchId);
}
