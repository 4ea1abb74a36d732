#include "model/Positions.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <limits>

int MirrorIndex(int i, int colour)
{
    if (colour != -1)
        return i;
    if (i < -1 || i > 26)
        return -1;
    return 25 - i;
}

int MirrorIndex(int i, const TPositions& position)
{
    return MirrorIndex(i, position.Colour);
}

void SetStartingPosition(TPositions& position)
{
    position.BoardCells.fill(0);
    position.Board(24) = 2;
    position.Board(13) = 5;
    position.Board(8) = 3;
    position.Board(6) = 5;
    position.Board(1) = -2;
    position.Board(12) = -5;
    position.Board(17) = -3;
    position.Board(19) = -5;
    position.Cube = 0;
    position.Turn = 0;
    position.Colour = 1;
}

namespace {

constexpr int CheckersPerSide = 15;
// The last word the mapping reads; later words are ignored.
constexpr int LastWordRead = 49;

class WordReader {
public:
    explicit WordReader(const QStringList& words) : words_(words) {}

    // The word as a decimal integer within [low, high]; on failure the first reason is kept.
    int number(int n, const char* field, int low, int high)
    {
        bool ok = false;
        const int value = words_.at(n).toInt(&ok, 10);
        if (!ok) {
            fail(QStringLiteral("word %1 (%2) is not a number: \"%3\"")
                     .arg(n).arg(QLatin1String(field), words_.at(n)));
            return 0;
        }
        if (value < low || value > high) {
            fail(QStringLiteral("word %1 (%2) is out of range: %3")
                     .arg(n).arg(QLatin1String(field)).arg(value));
            return 0;
        }
        return value;
    }

    int number(int n, const char* field)
    {
        return number(n, field, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    }

    void fail(const QString& reason)
    {
        if (error_.isEmpty())
            error_ = reason;
    }

    const QString& error() const { return error_; }

private:
    const QStringList& words_;
    QString error_;
};

} // namespace

bool ParseBoardLine(const QString& line, TPositions& out, QString* error)
{
    auto refuse = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!line.startsWith(QLatin1String("board")))
        return refuse(QStringLiteral("not a board line"));
    const QStringList words = line.split(QChar(':'));
    if (words.size() <= LastWordRead)
        return refuse(QStringLiteral("only %1 of the %2 words of a board line")
                          .arg(words.size() - 1)
                          .arg(LastWordRead));

    WordReader r(words);
    TPositions p = out;
    p.Player = words.at(1);
    p.Opponent = words.at(2);
    p.MatchLength = r.number(3, "match length");
    p.PlayerScore = r.number(4, "player's score");
    p.OpponentScore = r.number(5, "opponent's score");
    for (int i = 0; i <= 25; ++i)
        p.Board(i) = r.number(6 + i, "board", -CheckersPerSide, CheckersPerSide);
    p.Turn = r.number(32, "turn", -1, 1);
    p.PlayerDie1 = r.number(33, "player's die", 0, 6);
    p.PlayerDie2 = r.number(34, "player's die", 0, 6);
    if (p.PlayerDie1 < p.PlayerDie2)
        std::swap(p.PlayerDie1, p.PlayerDie2);
    p.OpponentDie1 = r.number(35, "opponent's die", 0, 6);
    p.OpponentDie2 = r.number(36, "opponent's die", 0, 6);
    if (p.OpponentDie1 < p.OpponentDie2)
        std::swap(p.OpponentDie1, p.OpponentDie2);
    p.Cube = r.number(37, "cube");
    p.PlayerMayDouble = r.number(38, "player may double") != 0;
    p.OpponentMayDouble = r.number(39, "opponent may double") != 0;
    p.Colour = r.number(41, "colour", -1, 1);
    if (p.Colour == 0)
        r.fail(QStringLiteral("word 41 (colour) is neither -1 nor 1"));
    p.Direction = r.number(42, "direction");
    const int nearOff = r.number(45, "player's borne-off count", 0, CheckersPerSide);
    const int farOff = r.number(46, "opponent's borne-off count", 0, CheckersPerSide);
    if (p.Colour == 1) {
        p.Board(-1) = nearOff;
        p.Board(26) = -farOff;
    } else {
        p.Board(26) = -nearOff;
        p.Board(-1) = farOff;
    }
    p.CanMove = r.number(49, "checkers to move", 0, 4);
    if (!r.error().isEmpty())
        return refuse(r.error());

    int countO = 0;
    int countX = 0;
    for (int i = -1; i <= 26; ++i)
        (p.Board(i) > 0 ? countO : countX) += std::abs(p.Board(i));
    if (countO > CheckersPerSide || countX > CheckersPerSide)
        return refuse(QStringLiteral("more than %1 checkers of one side (O %2, X %3)")
                          .arg(CheckersPerSide)
                          .arg(countO)
                          .arg(countX));
    out = p;
    return true;
}
