#pragma once

#include "model/TPositions.h"

#include <QString>

// Converts between the server's numbering and the near side's own numbering (the display
// index). The mapping is its own inverse. With colour -1 an index outside -1..26 maps to -1.
int MirrorIndex(int i, int colour);
int MirrorIndex(int i, const TPositions& position);

// The standard opening set-up, O near. Names, scores, dice, flags and MoveText are kept.
void SetStartingPosition(TPositions& position);

// Reads a board line (board style 3) into out. A line that is short, holds a non-number where
// a number belongs, or describes an impossible board is refused whole: out is left as it was
// and error (when given) says why. MoveText and Crawford are never touched.
bool ParseBoardLine(const QString& line, TPositions& out, QString* error);
