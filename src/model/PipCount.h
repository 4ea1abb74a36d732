#pragma once

#include "model/TPositions.h"

// Pips still to travel for one side: 1 the near side, 2 the far side. The trays do not count.
int PipCount(const TPositions& position, int side);

struct TThorpCounts {
    int Player = 0;   // near side
    int Opponent = 0; // far side
};

// The plain Thorp count of both sides: pips, plus 2 per checker not borne off, plus 1 per
// checker on the side's own one-point (whoever owns it), minus 1 per home point the side holds.
TThorpCounts ThorpCounts(const TPositions& position);
