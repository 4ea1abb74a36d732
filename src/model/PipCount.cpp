#include "model/PipCount.h"

#include "model/Positions.h"

#include <cstdlib>

int PipCount(const TPositions& position, int side)
{
    const int colour = position.Colour;
    // The near side owns the checkers of its colour, the far side those of the other colour.
    const int owner = side == 1 ? colour : -colour;
    int sum = 0;
    for (int k = 0; k <= 25; ++k) {
        const int count = position.Board(k);
        if (count * owner > 0)
            sum += count * (owner == 1 ? k : 25 - k);
    }
    return std::abs(sum);
}

TThorpCounts ThorpCounts(const TPositions& p)
{
    auto at = [&p](int displayIndex) { return p.Board(MirrorIndex(displayIndex, p)); };
    TThorpCounts t;
    t.Player = PipCount(p, 1) + 2 * (15 - std::abs(at(-1))) + std::abs(at(1));
    for (int i = 1; i <= 6; ++i) {
        if (at(i) * p.Colour > 0)
            --t.Player;
    }
    t.Opponent = PipCount(p, 2) + 2 * (15 - std::abs(at(26))) + std::abs(at(24));
    for (int i = 19; i <= 24; ++i) {
        if (at(i) * p.Colour < 0)
            --t.Opponent;
    }
    return t;
}
