#pragma once

#include <QString>

class TextLog;

// n in 0..25 becomes 25 - n, -1 becomes 26, anything else -1.
int MirrorPoint(int n);

// Reads the engine's answer to a hint and an eval, line by line, into the "Moves" and "Cube"
// boxes. The engine prints the candidate's rank ending in column 5, the move in columns 25 to
// 52 and the equity from column 53; a probability line and a settings line follow each move.
class GnubgOutputParser {
public:
    GnubgOutputParser(TextLog& moves, TextLog& cube) : MMoves(moves), MCube(cube) {}

    void ReceiveLine(const QString& raw);

    bool AnalysingSecondColumn = false;
    bool MovesListening = false;
    int MovesLineCount = 0;
    bool CubeListening = false;
    int CubeLineCount = 0;

private:
    TextLog& MMoves;
    TextLog& MCube;
};
