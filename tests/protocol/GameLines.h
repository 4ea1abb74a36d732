#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Board lines (board style 3) for match tests: the opening set-up, with the fields a test sets.
struct BoardFields {
    QString player = QStringLiteral("You");
    QString opponent = QStringLiteral("bob");
    int matchLength = 5;
    int playerScore = 0;
    int opponentScore = 0;
    int colour = 1;
    int turn = 0;
    int playerDie1 = 0;
    int playerDie2 = 0;
    int opponentDie1 = 0;
    int opponentDie2 = 0;
    int cube = 1;
};

inline QByteArray BoardLine(const BoardFields& b)
{
    int board[26] = {};
    board[24] = 2;
    board[13] = 5;
    board[8] = 3;
    board[6] = 5;
    board[1] = -2;
    board[12] = -5;
    board[17] = -3;
    board[19] = -5;
    QStringList words{QStringLiteral("board"), b.player, b.opponent,
                      QString::number(b.matchLength), QString::number(b.playerScore),
                      QString::number(b.opponentScore)};
    for (int count : board)
        words << QString::number(count);
    const int direction = b.colour == 1 ? -1 : 1;
    const int home = b.colour == 1 ? 0 : 25;
    const int bar = b.colour == 1 ? 25 : 0;
    for (int value : {b.turn, b.playerDie1, b.playerDie2, b.opponentDie1, b.opponentDie2, b.cube,
                      1, 1, 0, b.colour, direction, home, bar, 0, 0, 0, 0, 2, 0, 0, 0})
        words << QString::number(value);
    return words.join(QChar(':')).toLatin1();
}
