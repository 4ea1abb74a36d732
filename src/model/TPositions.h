#pragma once

#include <QString>
#include <QVector>
#include <array>

// One position: names, score, checkers, dice, cube and flags. Board keeps the server's
// numbering; entries -1..26 are stored at offset +1.
struct TPositions {
    QString Player;
    QString Opponent;
    int MatchLength = 0;
    int PlayerScore = 0;
    int OpponentScore = 0;
    std::array<int, 28> BoardCells{};
    int Turn = 0;
    int PlayerDie1 = 0;
    int PlayerDie2 = 0;
    int OpponentDie1 = 0;
    int OpponentDie2 = 0;
    int Cube = 0;
    bool PlayerMayDouble = false;
    bool OpponentMayDouble = false;
    int Colour = 0;
    int Direction = 0;
    int CanMove = 0;
    QString MoveText;
    bool Crawford = false;

    int& Board(int i) { return BoardCells.at(std::size_t(i + 1)); }
    int Board(int i) const { return BoardCells.at(std::size_t(i + 1)); }

    bool operator==(const TPositions&) const = default;
};

// The positions of one game, one element per moves-list row.
struct TGames {
    QVector<TPositions> PlayerPositions;
    QVector<TPositions> OpponentPositions;
};
