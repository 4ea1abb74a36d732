#include "model/Positions.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Words 1 to 52 of a board line; the words a case changes are replaced before joining.
QStringList exampleWords()
{
    QStringList w{"board", "You", "bob", "5", "1", "2"};
    for (int v : {0, -2, 0, 0, 0, 0, 5, 0, 3, 0, 0, 0, -5, 5, 0, 0, 0, -3, 0, -5, 0, 0, 0, 0, 2, 0})
        w << QString::number(v);
    for (int v : {1, 6, 2, 0, 0, 1, 1, 1, 0, 1, -1, 0, 25, 0, 0, 0, 0, 2, 0, 0, 0})
        w << QString::number(v);
    return w;
}

QString line(const QStringList& words)
{
    return words.join(QChar(':'));
}

// A position that a board line must leave partly alone.
TPositions earlier()
{
    TPositions p;
    p.Player = "old";
    p.MoveText = "63 13/7 8/5";
    p.Crawford = true;
    p.Board(-1) = 7;
    return p;
}

} // namespace

TEST(BoardLine, ExampleLineFillsEveryField)
{
    TPositions p = earlier();
    QString error;
    ASSERT_TRUE(ParseBoardLine(line(exampleWords()), p, &error)) << error.toStdString();
    EXPECT_EQ(p.Player, "You");
    EXPECT_EQ(p.Opponent, "bob");
    EXPECT_EQ(p.MatchLength, 5);
    EXPECT_EQ(p.PlayerScore, 1);
    EXPECT_EQ(p.OpponentScore, 2);
    EXPECT_EQ(p.Board(1), -2);
    EXPECT_EQ(p.Board(6), 5);
    EXPECT_EQ(p.Board(24), 2);
    EXPECT_EQ(p.Turn, 1);
    EXPECT_EQ(p.PlayerDie1, 6);
    EXPECT_EQ(p.PlayerDie2, 2);
    EXPECT_EQ(p.OpponentDie1, 0);
    EXPECT_EQ(p.OpponentDie2, 0);
    EXPECT_EQ(p.Cube, 1);
    EXPECT_TRUE(p.PlayerMayDouble);
    EXPECT_TRUE(p.OpponentMayDouble);
    EXPECT_EQ(p.Colour, 1);
    EXPECT_EQ(p.Direction, -1);
    EXPECT_EQ(p.Board(-1), 0);
    EXPECT_EQ(p.Board(26), 0);
    EXPECT_EQ(p.CanMove, 2);
    EXPECT_EQ(p.MoveText, "63 13/7 8/5");
    EXPECT_TRUE(p.Crawford);
}

TEST(BoardLine, RealServerLineFieldByField)
{
    const QString real = "board:GammonBot_VII:pipcat:5:0:0:0:-2:0:0:0:0:5:0:3:0:0:0:-5:5:0:0:0:-3:0:"
                         "-5:0:0:0:0:2:0:1:0:0:5:1:1:1:1:0:-1:1:25:0:0:0:0:0:2:1:0:0";
    TPositions p = earlier();
    ASSERT_TRUE(ParseBoardLine(real, p, nullptr));
    EXPECT_EQ(p.Player, "GammonBot_VII");
    EXPECT_EQ(p.Opponent, "pipcat");
    EXPECT_EQ(p.MatchLength, 5);
    EXPECT_EQ(p.PlayerScore, 0);
    EXPECT_EQ(p.OpponentScore, 0);
    const std::array<int, 28> board{0, 0, -2, 0, 0, 0, 0, 5, 0, 3, 0, 0, 0, -5,
                                    5, 0, 0, 0, -3, 0, -5, 0, 0, 0, 0, 2, 0, 0};
    EXPECT_EQ(p.BoardCells, board);
    EXPECT_EQ(p.Turn, 1);
    EXPECT_EQ(p.PlayerDie1, 0);
    EXPECT_EQ(p.PlayerDie2, 0);
    EXPECT_EQ(p.OpponentDie1, 5);
    EXPECT_EQ(p.OpponentDie2, 1);
    EXPECT_EQ(p.Cube, 1);
    EXPECT_TRUE(p.PlayerMayDouble);
    EXPECT_TRUE(p.OpponentMayDouble);
    EXPECT_EQ(p.Colour, -1);
    EXPECT_EQ(p.Direction, 1);
    EXPECT_EQ(p.CanMove, 2);
    EXPECT_EQ(p.MoveText, "63 13/7 8/5");
    EXPECT_TRUE(p.Crawford);
}

TEST(BoardLine, DiceAreSortedLargerFirst)
{
    struct Case { const char* dice; int d1, d2, o1, o2; };
    const Case cases[] = {
        {"2:6:0:0", 6, 2, 0, 0},
        {"6:2:0:0", 6, 2, 0, 0},
        {"0:0:1:4", 0, 0, 4, 1},
        {"0:3:0:0", 3, 0, 0, 0},
        {"5:5:0:0", 5, 5, 0, 0},
    };
    for (const Case& c : cases) {
        QStringList w = exampleWords();
        const QStringList dice = QString::fromLatin1(c.dice).split(':');
        for (int i = 0; i < 4; ++i)
            w[33 + i] = dice[i];
        TPositions p;
        ASSERT_TRUE(ParseBoardLine(line(w), p, nullptr)) << c.dice;
        EXPECT_EQ(p.PlayerDie1, c.d1) << c.dice;
        EXPECT_EQ(p.PlayerDie2, c.d2) << c.dice;
        EXPECT_EQ(p.OpponentDie1, c.o1) << c.dice;
        EXPECT_EQ(p.OpponentDie2, c.o2) << c.dice;
    }
}

TEST(BoardLine, BorneOffCountsGoToTheTraysOfTheirColour)
{
    struct Case { int colour, nearOff, farOff, trayO, trayX; };
    const Case cases[] = {
        {-1, 3, 4, 4, -3},
        {1, 3, 4, 3, -4},
    };
    for (const Case& c : cases) {
        QStringList w = exampleWords();
        // Take the borne-off checkers from the board so the counts stay possible.
        for (int i = 6; i <= 31; ++i)
            w[i] = "0";
        w[6 + 10] = "5";
        w[6 + 15] = "-5";
        w[41] = QString::number(c.colour);
        w[45] = QString::number(c.nearOff);
        w[46] = QString::number(c.farOff);
        TPositions p;
        ASSERT_TRUE(ParseBoardLine(line(w), p, nullptr)) << c.colour;
        EXPECT_EQ(p.Board(-1), c.trayO) << c.colour;
        EXPECT_EQ(p.Board(26), c.trayX) << c.colour;
    }
}

TEST(BoardLine, MayDoubleWordsAreBooleans)
{
    QStringList w = exampleWords();
    w[38] = "0";
    w[39] = "1";
    TPositions p;
    ASSERT_TRUE(ParseBoardLine(line(w), p, nullptr));
    EXPECT_FALSE(p.PlayerMayDouble);
    EXPECT_TRUE(p.OpponentMayDouble);
}

TEST(BoardLine, WordsAfterTheLastOneReadAreOptional)
{
    TPositions p;
    EXPECT_TRUE(ParseBoardLine(line(exampleWords().mid(0, 50)), p, nullptr));
    EXPECT_EQ(p.CanMove, 2);
    EXPECT_TRUE(ParseBoardLine(line(exampleWords() << "extra" << "words"), p, nullptr));
}

TEST(BoardLine, MalformedLineIsRefusedWholeAndSaysWhy)
{
    struct Case {
        const char* what;
        int word; // -1: the line is cut to value words after "board"
        const char* value;
        const char* reason;
    };
    const Case cases[] = {
        {"cut after the last bar count", -1, "48", "only 48 of the 49 words"},
        {"name only", -1, "2", "only 2 of the 49 words"},
        {"score is text", 4, "nil", "word 4 (player's score) is not a number: \"nil\""},
        {"board entry is empty", 12, "", "word 12 (board) is not a number"},
        {"board entry holds two numbers", 12, "5 1", "word 12 (board) is not a number"},
        {"16 checkers on one point", 12, "16", "word 12 (board) is out of range: 16"},
        {"16 O checkers on the board", 8, "1", "more than 15 checkers of one side (O 16, X 15)"},
        {"16 X checkers with the tray", 46, "1", "more than 15 checkers of one side (O 15, X 16)"},
        {"die of 7", 34, "7", "word 34 (player's die) is out of range: 7"},
        {"negative die", 35, "-1", "word 35 (opponent's die) is out of range: -1"},
        {"turn 2", 32, "2", "word 32 (turn) is out of range: 2"},
        {"colour 0", 41, "0", "word 41 (colour) is neither -1 nor 1"},
        {"negative borne-off count", 45, "-2", "word 45 (player's borne-off count) is out of range: -2"},
        {"may-double is text", 38, "yes", "word 38 (player may double) is not a number"},
        {"five checkers to move", 49, "5", "word 49 (checkers to move) is out of range: 5"},
        {"cube is text", 37, "x", "word 37 (cube) is not a number"},
    };
    for (const Case& c : cases) {
        QStringList w = exampleWords();
        if (c.word < 0)
            w = w.mid(0, QString::fromLatin1(c.value).toInt() + 1);
        else
            w[c.word] = QString::fromLatin1(c.value);
        TPositions p = earlier();
        const TPositions before = p;
        QString error;
        EXPECT_FALSE(ParseBoardLine(line(w), p, &error)) << c.what;
        EXPECT_TRUE(p == before) << c.what;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.reason)))
            << c.what << ": " << error.toStdString();
    }
}

TEST(BoardLine, OnlyLowerCaseBoardStartsABoardLine)
{
    QStringList w = exampleWords();
    w[0] = "Board";
    TPositions p = earlier();
    const TPositions before = p;
    QString error;
    EXPECT_FALSE(ParseBoardLine(line(w), p, &error));
    EXPECT_EQ(error, "not a board line");
    EXPECT_TRUE(p == before);
}

TEST(MirrorIndex, SwapsEndsForColourXOnly)
{
    for (int i = -1; i <= 26; ++i) {
        EXPECT_EQ(MirrorIndex(i, -1), 25 - i) << i;
        EXPECT_EQ(MirrorIndex(MirrorIndex(i, -1), -1), i) << i;
        EXPECT_EQ(MirrorIndex(i, 1), i) << i;
    }
    struct Case { int i, colour, expected; };
    const Case cases[] = {
        {-1, -1, 26}, {26, -1, -1}, {25, -1, 0}, {0, -1, 25}, {1, -1, 24}, {13, -1, 12},
        {-1, 1, -1},  {25, 1, 25},  {27, -1, -1}, {-2, -1, -1}, {100, -1, -1},
        {27, 1, 27},  {-2, 1, -2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MirrorIndex(c.i, c.colour), c.expected) << c.i << " colour " << c.colour;

    TPositions x;
    x.Colour = -1;
    TPositions o;
    o.Colour = 1;
    EXPECT_EQ(MirrorIndex(-1, x), 26);
    EXPECT_EQ(MirrorIndex(25, x), 0);
    EXPECT_EQ(MirrorIndex(-1, o), -1);
    EXPECT_EQ(MirrorIndex(25, o), 25);
}

TEST(StartingPosition, SetsTheBoardAndKeepsTheRest)
{
    TPositions p;
    ASSERT_TRUE(ParseBoardLine(line(exampleWords()), p, nullptr));
    p.Colour = -1;
    p.Turn = -1;
    p.Board(3) = 4;
    p.Board(-1) = 2;
    p.Board(26) = -6;
    p.MoveText = "Doubles => 2";
    p.Crawford = true;
    const TPositions before = p;

    SetStartingPosition(p);
    std::array<int, 28> board{};
    for (auto [index, count] : {std::pair{24, 2}, {13, 5}, {8, 3}, {6, 5},
                                {1, -2}, {12, -5}, {17, -3}, {19, -5}})
        board[std::size_t(index + 1)] = count;
    EXPECT_EQ(p.BoardCells, board);
    EXPECT_EQ(p.Cube, 0);
    EXPECT_EQ(p.Turn, 0);
    EXPECT_EQ(p.Colour, 1);

    TPositions kept = p;
    kept.BoardCells = before.BoardCells;
    kept.Cube = before.Cube;
    kept.Turn = before.Turn;
    kept.Colour = before.Colour;
    EXPECT_TRUE(kept == before) << "names, scores, dice, flags and MoveText stay";
}
