#include "analysis/GnubgParser.h"
#include "protocol/TextLog.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// Recorded from GNU Backgammon 1.07 (Debian) answering "hint" and "eval" for a position set
// with "set matchid" and "set board", match equities printed as MWC.
QStringList Fixture(const char* name)
{
    QFile file(QStringLiteral(TABULON_SOURCE_DIR "/tests/analysis/fixtures/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

struct Boxes {
    TextLog moves;
    TextLog cube;
    GnubgOutputParser parser{moves, cube};

    void feed(const QStringList& lines)
    {
        for (const QString& line : lines)
            parser.ReceiveLine(line);
    }
};

// What the "Moves" box shows for a candidate: rank, the move columns, the equity text
// (which the engine starts one column after the move columns).
QString Candidate(const QString& rank, const QString& move, const QString& equity)
{
    return rank + u':' + move.leftJustified(28) + u' ' + equity;
}

TEST(GnubgParser, MirrorPoint)
{
    const std::pair<int, int> cases[] = {{0, 25}, {1, 24}, {13, 12}, {25, 0}, {-1, 26}, {26, -1}, {-2, -1}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(MirrorPoint(in), out) << in;
}

TEST(GnubgParser, FirstColumnMovesKeepTheEnginesNumbering)
{
    Boxes b;
    b.feed(Fixture("opening-53.txt"));
    const QStringList moves = b.moves.texts();
    ASSERT_EQ(moves.size(), 18); // nine candidates, a move line and a probability line each
    EXPECT_EQ(moves.at(0), Candidate("1", "8/3 6/3", "MWC:  50.50%"));
    EXPECT_EQ(moves.at(1), QStringLiteral("       0.515 0.159 0.008 - 0.485 0.132 0.005"));
    EXPECT_EQ(moves.at(2), Candidate("2", "24/21 13/8", "MWC:  50.26%  -0.24%"));
    EXPECT_EQ(moves.at(16), Candidate("9", "8/5 8/3", "MWC:  47.99%  -2.52%"));
    EXPECT_FALSE(b.parser.MovesListening);
}

TEST(GnubgParser, SecondColumnMovesAreMirroredButRepeatCountsStay)
{
    struct Case {
        const char* fixture;
        int line;
        QString expected;
    } cases[] = {
        {"opening-33.txt", 0, Candidate("1", "17/20(2) 19/22(2)", "MWC:  52.31%")},
        {"opening-33.txt", 2, Candidate("2", "1/4(2) 17/20(2)", "MWC:  52.02%  -0.28%")},
        // Ten candidates: the list stops after the tenth, whose rank takes two columns.
        {"opening-33.txt", 18, Candidate("10", "12/18(2)", "MWC:  51.20%  -1.11%")},
        {"bar.txt", 0, Candidate("1", "bar/6 12/16", "MWC:  56.40%")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        Boxes b;
        b.parser.AnalysingSecondColumn = true;
        b.feed(Fixture(c.fixture));
        ASSERT_GT(b.moves.texts().size(), c.line);
        EXPECT_EQ(b.moves.texts().at(c.line), c.expected);
    }
}

TEST(GnubgParser, APromptBeforeTheFirstCandidateIsDropped)
{
    QStringList prompted = Fixture("opening-33.txt");
    QStringList plain = prompted;
    const qsizetype first = prompted.indexOf(QRegularExpression(QStringLiteral(".*1\\. Cubeful.*")));
    ASSERT_GE(first, 0);
    prompted[first].prepend(QStringLiteral("(gnubg) "));
    Boxes withPrompt, without;
    withPrompt.feed(prompted);
    without.feed(plain);
    EXPECT_EQ(withPrompt.moves.texts(), without.moves.texts());
    EXPECT_EQ(withPrompt.moves.texts().first(), Candidate("1", "8/5(2) 6/3(2)", "MWC:  52.31%"));
}

TEST(GnubgParser, CubeTableLength)
{
    {
        // Sixth line empty: the whole cube analysis, fifteen lines from the table header.
        Boxes b;
        b.feed(Fixture("opening-53.txt"));
        const QStringList cube = b.cube.texts();
        ASSERT_EQ(cube.size(), 15);
        EXPECT_TRUE(cube.first().contains(QLatin1String("Win")));
        EXPECT_EQ(cube.at(7), QStringLiteral("Cube analysis"));
        EXPECT_EQ(cube.last(), QStringLiteral("Proper cube action: No double, take (23.8%)"));
        EXPECT_FALSE(b.parser.CubeListening);
    }
    {
        // A deeper evaluation fills the sixth line: only the table's first five lines.
        Boxes b;
        b.feed(Fixture("four-ply.txt"));
        const QStringList cube = b.cube.texts();
        ASSERT_EQ(cube.size(), 5);
        EXPECT_TRUE(cube.at(4).startsWith(QLatin1String(" 3 ply:")));
        EXPECT_FALSE(b.parser.CubeListening);
    }
}

TEST(GnubgParser, NoLegalMoveStillGivesTheCubeAnalysis)
{
    Boxes b;
    b.moves.addLine(QStringLiteral("Please wait...."));
    b.feed(Fixture("no-move.txt"));
    EXPECT_EQ(b.moves.texts(), QStringList{QStringLiteral("There are no legal moves.")});
    EXPECT_EQ(b.cube.texts().size(), 15);
}

TEST(GnubgParser, MoneyEquitiesAreReadLikeMatchEquities)
{
    Boxes b;
    b.parser.AnalysingSecondColumn = true;
    b.feed({QStringLiteral("    1. Cubeful 2-ply    24/12(2)                     Eq.: -1.000"),
            QStringLiteral("       0.000 0.000 0.000 - 1.000 0.000 0.000"),
            QStringLiteral("        2-ply cubeful prune [world class]"),
            QStringLiteral("    2. Cubeful 2-ply    24/6 24/18                   Eq.: -1.000 (-0.000)")});
    EXPECT_EQ(b.moves.texts().at(0), Candidate("1", "1/13(2)", "Eq.: -1.000"));
    EXPECT_EQ(b.moves.texts().at(2), Candidate("2", "1/19 1/7", "Eq.: -1.000 -0.000"));
}

} // namespace
