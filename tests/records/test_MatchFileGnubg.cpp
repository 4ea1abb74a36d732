#include "../TestApp.h"
#include "../protocol/SessionFixture.h"
#include "MatchRecordFixture.h"

#include "records/MatchFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

// Written match files read back by GNU Backgammon: every game, roll, move, cube action and
// result must come back as recorded.

namespace {

const QString GnubgProgram = QStringLiteral("/usr/games/gnubg");
constexpr int GnubgTimeoutMs = 120000;


// A 5-point match between two robots: doubles taken and dropped, dances, hits, entries from
// the bar, bear-offs, a gammon, the Crawford game, then a game with a double taken that ends in
// a backgammon resigned on the doubled cube.
const char* const RobotMatch = R"(
game 0 0
-                           | 21 12/14 1/2
52 13/8 24/22               | 63 17/20 14/20
53 8/3 6/3                  | 62 12/18 18/20
42 8/4 6/4                  | 41 12/16 16/17
31 22/21 24/21              | 21 20/22 19/20
43 13/10 10/6               | 65 2/7 1/7
52 6/1 3/1                  | 33 7/10 7/10 12/15 12/15
51 6/5 8/3                  | 52 22/24 19/24
65 13/7 7/2                 | 32 20/22 19/22
63 5/2 8/2                  | 62 17/23 22/24
51 2/1 21/16                | 42 17/21 21/23
66 Can't move               | 22 10/12 12/14 14/16 22/24
54 bar/21                   | Doubles
Gives up                    |
                            | Wins 1 points
game 0 1
-                           | 31 17/20 19/20
43 13/9 24/21               | 53 1/4 4/9
52 bar/23 13/8              | Doubles
Accepts                     | 31 9/12 19/20
32 23/21 24/21              | 43 12/15 15/19
63 13/10 21/15              | 33 1/4 4/7 7/10 12/15
32 bar/22 bar/23            | 63 12/18 15/18
65 22/16 16/11              | 22 10/12 12/14 14/16 16/18
41 8/4 6/5                  | 21 12/14 19/20
43 8/5 8/4                  | 32 14/17 17/19
42 11/7 6/4                 | 63 20/23 17/23
33 bar/22 13/10 13/10 10/7  | 53 17/22 19/22
63 Can't move               | 65 18/24 19/24
32 Can't move               | 52 12/17 17/19
43 bar/21 8/5               | 43 12/15 15/19
44 21/17 17/13 7/3 7/3      | 42 18/22 18/20
33 13/10 10/7 10/7 5/2      | 51 24/off 20/off
31 7/6 4/1                  | 55 19/24 20/off 20/off 20/off
54 21/17 17/12              | 55 19/24 19/24 19/24 22/off
63 12/6 21/18               | 65 22/off 22/off
11 18/17 17/16 16/15 7/6    | 42 23/off 23/off
44 15/11 11/7 7/3 6/2       | 62 24/off 24/off
                            | Wins 2 points
game 0 3
61 13/7 8/7                 | 63 1/4 4/10
64 13/7 24/20               | 43 17/20 10/14
66 Can't move               | 41 19/20 1/5
21 bar/23 6/5               | 31 bar/3 19/20
55 8/3 8/3 7/2 7/2          | 33 Can't move
Doubles                     | Gives up
Wins 1 points               |
game 1 3
-                           | 51 12/17 1/2
43 13/10 24/20              | 32 2/4 1/4
52 13/11 10/5               | 61 4/5 5/11
32 bar/22 bar/23            | 43 12/15 11/15
65 23/18 24/18              | 53 4/9 9/12
41 13/9 6/5                 | 53 19/22 17/22
53 bar/20 6/3               | 62 15/21 15/17
65 9/4 13/7                 | 52 12/17 22/24
62 13/7 6/4                 | 31 22/23 19/22
63 20/14 8/5                | 22 17/19 17/19 19/21 22/24
32 14/11 11/9               | 53 12/17 19/22
65 8/3 8/2                  | 51 22/23 17/22
44 20/16 9/5 7/3 5/1        | 31 19/20 17/20
33 16/13 13/10 7/4 4/1      | 53 17/22 17/20
63 10/7 7/1                 | 54 20/24 19/24
51 6/1 3/2                  | 55 12/17 12/17 17/22 17/22
54 18/13 13/9               | Doubles
Gives up                    |
                            | Wins 1 points
game 1 4
-                           | 21 1/3 3/4
33 24/21 24/21 13/10 13/10  | 63 4/7 1/7
21 6/5 6/4                  | 54 19/23 12/17
43 8/4 8/5                  | 54 17/22 19/23
62 10/4 10/8                | 51 23/24 12/17
42 8/6 13/9                 | 43 17/20 20/24
51 4/3 8/3                  | 42 17/19 19/23
43 9/5 5/2                  | 21 19/20 20/22
55 21/16 21/16 13/8 13/8    | 63 12/18 17/20
21 6/5 6/4                  | 44 7/11 7/11 11/15 11/15
54 8/3 5/1                  | 63 15/21 15/18
22 16/14 16/14 8/6 6/4      | 42 18/20 17/21
66 14/8 14/8 8/2 8/2        | 64 12/18 12/16
42 2/off 4/off              | 63 18/21 16/22
65 5/off 6/off              | 64 18/22 19/off
21 2/off 1/off              | 43 21/off 22/off
65 5/off 6/off              | 43 21/off 22/off
51 3/2 4/off                | 31 24/off 22/off
32 2/off 3/off              | 54 20/off 21/off
51 2/1 4/off                | 41 24/off 19/23
63 3/off 4/off              |
Wins 1 points               |
game 2 4
-                           | 41 1/5 1/2
Doubles                     | Accepts
61 6/5 13/7                 | 41 bar/1 1/5
42 bar/21 7/5               | 51 bar/5 2/3
43 bar/21 8/5               | 21 bar/1 3/5
21 bar/23 6/5               | 42 bar/2 1/5
61 bar/24 13/7              | 66 5/11 11/17 12/18 12/18
42 7/5 24/20                | 11 2/3 17/18 19/20 19/20
53 bar/22 13/8              | 62 3/9 12/14
31 13/10 23/22              | 55 9/14 12/17 12/17 14/19
63 13/7 7/4                 | 42 14/18 18/20
66 21/15 21/15 15/9 15/9    | 61 20/21 17/23
32 6/4 24/21                | 42 bar/2 19/23
31 8/7 24/21                | 65 2/7 7/13
21 bar/24 9/7               | 52 13/18 18/20
51 8/7 10/5                 | 32 17/20 17/19
53 9/6 8/3                  | 42 18/20 19/23
42 7/3 7/5                  | 44 19/23 20/24 20/24 20/24
42 bar/21 5/3               | 55 18/23 18/23 19/24 19/24
41 3/2 6/2                  | 52 17/19 19/24
33 21/18 18/15 15/12 12/9   | 63 17/20 20/off
62 9/7 7/1                  | 62 20/off 23/off
53 21/16 16/13              | 51 24/off 20/off
                            | Wins 6 points and the match
)";

// A 2-point match: the second player resigns right after his move; in the Crawford game the
// first player resigns after rolling, before he moves; after it a double is dropped.
const char* const ResignationsMatch = R"(
game 0 0
31 8/5 6/5                  | 64 1/7 12/16
Wins 1 points               |
game 1 0
-                           | 21 12/14 1/2
Dice: 6 4                   |
                            | Wins 1 points
game 1 1
-                           | 43 12/16 12/15
Doubles                     | Gives up
Wins 1 points and the match |
)";

int pointNumber(const QString& word, bool secondColumn)
{
    if (word == QLatin1String("bar"))
        return 25;
    if (word == QLatin1String("off"))
        return 0;
    return secondColumn ? 25 - word.toInt() : word.toInt();
}

QString describeMove(const QString& player, int die1, int die2, QStringList moves)
{
    std::sort(moves.begin(), moves.end());
    return QStringLiteral("%1 %2%3 %4").arg(player).arg(die1).arg(die2).arg(moves.join(QChar(' ')));
}

// One recorded half-move as GNU Backgammon reports it; empty for cells that record nothing.
QString describeCell(const QString& text, bool secondColumn)
{
    const QString player = secondColumn ? QStringLiteral("O") : QStringLiteral("X");
    if (text.isEmpty() || text == QLatin1String("-"))
        return {};
    if (text == QLatin1String("Doubles"))
        return player + QStringLiteral(" double");
    if (text == QLatin1String("Accepts"))
        return player + QStringLiteral(" take");
    if (text == QLatin1String("Gives up"))
        return player + QStringLiteral(" drop");
    if (text.startsWith(QLatin1String("Dice: ")))
        return player + QStringLiteral(" rolls ") + text.mid(6).remove(QChar(' '));
    const int die1 = text.at(0).digitValue();
    const int die2 = text.at(1).digitValue();
    QStringList moves;
    if (!text.contains(QLatin1String("Can't move"))) {
        for (const QString& move : text.mid(3).split(QChar(' '))) {
            const QStringList ends = move.split(QChar('/'));
            moves << QStringLiteral("%1/%2")
                         .arg(pointNumber(ends.at(0), secondColumn))
                         .arg(pointNumber(ends.at(1), secondColumn));
        }
    }
    return describeMove(player, die1, die2, moves);
}

struct GameSummary {
    QString header; // "X:O score, winner points"
    QStringList actions;
};

bool operator==(const GameSummary& a, const GameSummary& b)
{
    return a.header == b.header && a.actions == b.actions;
}

void PrintTo(const GameSummary& g, std::ostream* os)
{
    *os << g.header.toStdString() << " [" << g.actions.join(QStringLiteral(", ")).toStdString()
        << "]";
}

QVector<GameSummary> summariseRecord(const QVector<TGames>& games)
{
    QVector<GameSummary> out;
    for (const TGames& game : games) {
        const TPositions& start = game.PlayerPositions.at(1);
        GameSummary s;
        QString winner, points;
        for (int r = 0; r < game.PlayerPositions.size(); ++r) {
            const QString left = game.PlayerPositions.at(r).MoveText;
            const QString right = game.OpponentPositions.at(r).MoveText;
            for (const auto& [text, second] : {std::pair {left, false}, std::pair {right, true}}) {
                if (text.startsWith(QLatin1String("Wins"))) {
                    winner = second ? QStringLiteral("O") : QStringLiteral("X");
                    points = text.split(QChar(' ')).at(1);
                    break;
                }
                if (const QString action = describeCell(text, second); !action.isEmpty())
                    s.actions << action;
            }
        }
        s.header = QStringLiteral("%1:%2, %3 wins %4")
                       .arg(start.PlayerScore)
                       .arg(start.OpponentScore)
                       .arg(winner, points);
        out << s;
    }
    return out;
}

QVector<GameSummary> summariseImport(const QJsonArray& games)
{
    QVector<GameSummary> out;
    for (const QJsonValue& value : games) {
        const QJsonObject info = value[QLatin1String("info")].toObject();
        GameSummary s;
        s.header = QStringLiteral("%1:%2, %3 wins %4")
                       .arg(info[QLatin1String("score-X")].toInt())
                       .arg(info[QLatin1String("score-O")].toInt())
                       .arg(info[QLatin1String("winner")].toString())
                       .arg(info[QLatin1String("points-won")].toInt());
        for (const QJsonValue& a : value[QLatin1String("game")].toArray()) {
            const QString kind = a[QLatin1String("action")].toString();
            const QString player = a[QLatin1String("player")].toString();
            const QJsonArray dice = a[QLatin1String("dice")].toArray();
            if (kind == QLatin1String("resign"))
                continue; // how a result that is not a bear-off or a drop is read
            if (kind == QLatin1String("move")) {
                QStringList moves;
                for (const QJsonValue& m : a[QLatin1String("move")].toArray())
                    moves << QStringLiteral("%1/%2").arg(m[0].toInt()).arg(m[1].toInt());
                s.actions << describeMove(player, dice[0].toInt(), dice[1].toInt(), moves);
            } else if (kind == QLatin1String("set") && !dice.isEmpty()) {
                s.actions << QStringLiteral("%1 rolls %2%3")
                                 .arg(player)
                                 .arg(dice[0].toInt())
                                 .arg(dice[1].toInt());
            } else {
                s.actions << player + QChar(' ') + kind;
            }
        }
        out << s;
    }
    return out;
}

class GnubgImport : public SessionTest {
protected:
    void SetUp() override
    {
        if (!QFileInfo(GnubgProgram).isExecutable())
            GTEST_SKIP() << GnubgProgram.toStdString()
                         << " is missing: install the gnubg package to check the import";
        ensureApp();
        SessionTest::SetUp();
        ASSERT_TRUE(gnubgHome.isValid());
    }

    // Writes the match as the session does at match end and hands the file to GNU Backgammon.
    QString writeMatch(const QString& table, int matchLength)
    {
        session->Watching = true;
        session->Games = ParseMatchTable(table, "alice", "bob", matchLength);
        session->CurrentPosition = GameStart("alice", 0, "bob", 0, matchLength);
        WriteMatchFileAtMatchEnd(*session);
        EXPECT_TRUE(memo().isEmpty()) << memo().join(QChar('\n')).toStdString();
        return session->LastMatchFile;
    }

    // GNU Backgammon's view of the imported match (its console output goes to `console`).
    QJsonObject import(const QString& file, QString* console)
    {
        QProcess gnubg;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), gnubgHome.path());
        gnubg.setProcessEnvironment(env);
        gnubg.start(GnubgProgram,
            {QStringLiteral("-t"), QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("-s"),
                gnubgHome.path()});
        if (!gnubg.waitForStarted(GnubgTimeoutMs))
            return {};
        gnubg.write("import mat \"" + QFile::encodeName(file) + "\"\n");
        gnubg.write(">import json; m = gnubg.match(0, 0, 0, 0); "
                    "print('MATCH ' + json.dumps({'info': m['match-info'], "
                    "'games': [{'info': g['info'], 'game': g['game']} for g in m['games']]}))\n");
        gnubg.closeWriteChannel();
        gnubg.waitForFinished(GnubgTimeoutMs);
        const QString output
            = QString::fromLocal8Bit(gnubg.readAllStandardOutput() + gnubg.readAllStandardError());
        *console = output;
        for (const QString& line : output.split(QChar('\n')))
            if (line.startsWith(QLatin1String("MATCH ")))
                return QJsonDocument::fromJson(line.mid(6).toUtf8()).object();
        return {};
    }

    void expectImportedAsRecorded(const QString& table, int matchLength)
    {
        const QString file = writeMatch(table, matchLength);
        ASSERT_FALSE(file.isEmpty());
        QString console;
        const QJsonObject match = import(file, &console);
        ASSERT_FALSE(match.isEmpty()) << console.toStdString();
        for (const char* complaint : {"WARNING", "Unrecognised", "doesn't follow", "not a valid"})
            EXPECT_FALSE(console.contains(QLatin1String(complaint))) << console.toStdString();
        const QJsonObject info = match[QLatin1String("info")].toObject();
        EXPECT_EQ(info[QLatin1String("X")][QLatin1String("name")].toString(), "alice");
        EXPECT_EQ(info[QLatin1String("O")][QLatin1String("name")].toString(), "bob");
        EXPECT_EQ(info[QLatin1String("match-length")].toInt(), matchLength);
        const QVector<GameSummary> recorded = summariseRecord(session->Games);
        const QVector<GameSummary> imported
            = summariseImport(match[QLatin1String("games")].toArray());
        ASSERT_EQ(imported.size(), recorded.size());
        for (int g = 0; g < recorded.size(); ++g)
            EXPECT_EQ(imported.at(g), recorded.at(g)) << "game " << g + 1;
    }

    QTemporaryDir gnubgHome;
};

} // namespace

TEST_F(GnubgImport, ARobotMatchComesBackWithEveryGameAndMove)
{
    expectImportedAsRecorded(QString::fromLatin1(RobotMatch), 5);
}

TEST_F(GnubgImport, ResignationsAndUnplayedRollsComeBackAsRecorded)
{
    expectImportedAsRecorded(QString::fromLatin1(ResignationsMatch), 2);
}
