#pragma once

#include "model/TPositions.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <utility>

// Match records written by hand, as the game-event handlers leave them: one pair of cell texts
// per moves-list row, both columns in the first player's numbering.

using RecordRow = std::pair<QString, QString>;

// One game: every row's positions carry the names, the game's starting score and the cube as
// it stands after the row's actions.
inline TGames MakeGame(const TPositions& start, const QVector<RecordRow>& rows)
{
    TGames game;
    int cube = 1;
    for (const auto& [left, right] : rows) {
        TPositions near = start;
        if (left == QLatin1String("Doubles"))
            cube *= 2;
        near.Cube = cube;
        near.MoveText = left;
        TPositions far = start;
        if (right == QLatin1String("Doubles"))
            cube *= 2;
        far.Cube = cube;
        far.MoveText = right;
        game.PlayerPositions.append(near);
        game.OpponentPositions.append(far);
    }
    return game;
}

inline TPositions GameStart(const QString& player, int playerScore, const QString& opponent,
    int opponentScore, int matchLength)
{
    TPositions p;
    p.Player = player;
    p.Opponent = opponent;
    p.PlayerScore = playerScore;
    p.OpponentScore = opponentScore;
    p.MatchLength = matchLength;
    return p;
}

// A match written as text: "game <first player's score> <second player's score>" opens a
// game, then one "<left cell> | <right cell>" line per row (a left cell "-" is the placeholder).
inline QVector<TGames> ParseMatchTable(
    const QString& table, const QString& player, const QString& opponent, int matchLength)
{
    QVector<TGames> games;
    TPositions start;
    QVector<RecordRow> rows;
    const auto flush = [&] {
        if (!start.Player.isEmpty())
            games.append(MakeGame(start, rows));
        rows.clear();
    };
    for (const QString& line : table.split(QChar('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("game "))) {
            flush();
            const QStringList words = line.split(QChar(' '));
            start = GameStart(
                player, words.at(1).toInt(), opponent, words.at(2).toInt(), matchLength);
            continue;
        }
        const int bar = int(line.indexOf(QChar('|')));
        rows.append({line.left(bar).trimmed(), line.mid(bar + 1).trimmed()});
    }
    flush();
    return games;
}
