#include "model/PipCount.h"
#include "model/Positions.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

TPositions position(int colour, std::initializer_list<std::pair<int, int>> counts)
{
    TPositions p;
    p.Colour = colour;
    for (auto [index, count] : counts)
        p.Board(index) = count;
    return p;
}

} // namespace

TEST(PipCount, CountsAndThorpOfWorkedPositions)
{
    struct Case {
        const char* what;
        TPositions p;
        int nearPips, farPips, nearThorp, farThorp;
    };
    TPositions startO;
    SetStartingPosition(startO);
    TPositions startX = startO;
    startX.Colour = -1;
    const Case cases[] = {
        // 167 + 30 + the two opposing checkers on the one-point - the six-point held.
        {"start, near side O", startO, 167, 167, 198, 198},
        {"start, near side X", startX, 167, 167, 198, 198},
        {"both sides borne off", position(1, {{-1, 15}, {26, -15}}), 0, 0, 0, 0},
        {"near side X on index 20", position(-1, {{20, -1}, {26, -14}, {-1, 15}}), 5, 0, 6, 0},
        {"near side O on index 20", position(1, {{20, 1}, {-1, 14}, {26, -15}}), 20, 0, 22, 0},
        {"bars count 25", position(1, {{25, 1}, {0, -1}, {-1, 14}, {26, -14}}), 25, 25, 27, 27},
        // X near: 3 on 20 and 2 on its one-point (24); O: 2 on its one-point (1) and 3 on 5.
        {"bear-off race, near side X",
         position(-1, {{20, -3}, {24, -2}, {26, -10}, {1, 2}, {5, 3}, {-1, 10}}), 17, 17, 27, 27},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PipCount(c.p, 1), c.nearPips) << c.what;
        EXPECT_EQ(PipCount(c.p, 2), c.farPips) << c.what;
        const TThorpCounts t = ThorpCounts(c.p);
        EXPECT_EQ(t.Player, c.nearThorp) << c.what;
        EXPECT_EQ(t.Opponent, c.farThorp) << c.what;
    }
}

TEST(PipCount, OpposingCheckersOnASidesOnePointRaiseItsThorpCount)
{
    // O near; an X checker sits on O's one-point, an O checker on X's one-point (index 24).
    const TPositions p = position(1, {{1, -1}, {24, 1}, {-1, 14}, {26, -14}});
    const TThorpCounts t = ThorpCounts(p);
    EXPECT_EQ(PipCount(p, 1), 24);
    EXPECT_EQ(PipCount(p, 2), 24);
    EXPECT_EQ(t.Player, 24 + 2 + 1);
    EXPECT_EQ(t.Opponent, 24 + 2 + 1);
}
