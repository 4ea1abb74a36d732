#include "model/MoveRules.h"
#include "model/Positions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Counts = std::vector<std::pair<int, int>>;

constexpr int R = MoveRefused;
constexpr int Off = MoveOff;
constexpr int Colours[] = {1, -1};

// A position written in the near side's numbering: positive counts are own checkers, negative
// ones the other side's (display 0 is its bar, 26 its tray).
TPositions position(int colour, const Counts& counts, int die1 = 0, int die2 = 0, int canMove = 2)
{
    TPositions p;
    p.Colour = colour;
    p.Turn = colour;
    p.PlayerDie1 = die1;
    p.PlayerDie2 = die2;
    p.CanMove = canMove;
    for (auto [display, count] : counts)
        p.Board(MirrorIndex(display, colour)) += count * colour;
    return p;
}

std::string label(const char* what, int colour)
{
    return std::string(what) + (colour == 1 ? " (colour 1)" : " (colour -1)");
}

// Checkers of each side anywhere on the board, bars and trays included.
std::pair<int, int> checkerCounts(const TPositions& p)
{
    int o = 0;
    int x = 0;
    for (int i = -1; i <= 26; ++i)
        (p.Board(i) > 0 ? o : x) += std::abs(p.Board(i));
    return {o, x};
}

// A far side kept out of the way, so that each side has 15 checkers.
Counts withFarSide(Counts own)
{
    own.push_back({26, -15});
    return own;
}

} // namespace

TEST(MoveRules, HomeCountCountsOwnCheckersOnTheHomePointsAndInTheTray)
{
    struct Case {
        const char* what;
        Counts counts;
        int expected;
    };
    const Case cases[] = {
        {"opening set-up", {{6, 5}, {8, 3}, {13, 5}, {24, 2}, {1, -2}, {12, -5}}, 5},
        {"tray counts", {{1, 2}, {6, 3}, {-1, 9}, {9, 1}}, 14},
        {"far side's checkers at home and in its tray do not", {{2, -2}, {5, 1}, {26, -4}}, 1},
        {"the bar does not", {{25, 2}, {3, 1}}, 1},
    };
    for (int colour : Colours)
        for (const Case& c : cases)
            EXPECT_EQ(HomeCount(position(colour, c.counts)), c.expected) << label(c.what, colour);
}

TEST(MoveRules, AnyMoveWithDie1LooksAtThePointsOnly)
{
    struct Case {
        const char* what;
        Counts counts;
        bool expected;
    };
    const Case cases[] = {
        {"an open six", {{13, 1}}, true},
        {"every six blocked", {{13, 1}, {8, 1}, {7, -2}, {2, -3}}, false},
        {"a blot does not block", {{13, 1}, {7, -1}}, true},
        // The checker on the bar keeps every checker on the points still.
        {"checker on the bar", {{25, 1}, {13, 1}}, false},
    };
    for (int colour : Colours)
        for (const Case& c : cases) {
            const TPositions p = position(colour, c.counts, 6, 2, 1);
            EXPECT_EQ(AnyMoveWithDie1(p), c.expected) << label(c.what, colour);
            EXPECT_EQ(p.CanMove, 1) << label(c.what, colour);
        }
}

TEST(MoveRules, MoveTargetFollowsEveryRule)
{
    struct Case {
        const char* what;
        Counts counts;
        int die1, die2, canMove;
        int src, dist, kind;
        int expected;
    };
    const Counts allHome = {{1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}};
    const Counts fourteenHome = {{1, 4}, {2, 4}, {3, 3}, {4, 3}, {9, 1}};
    const Case cases[] = {
        {"plain step", {{13, 2}}, 6, 4, 2, 13, 6, 1, 7},
        {"larger die first: the smaller refused", {{13, 2}}, 6, 2, 1, 13, 2, 1, R},
        {"larger die first: the larger allowed", {{13, 2}}, 6, 2, 1, 13, 6, 1, 7},
        {"smaller die when the larger is blocked", {{13, 2}, {7, -2}}, 6, 2, 1, 13, 2, 1, 11},
        {"bar first: a point refused", {{25, 1}, {13, 2}}, 6, 4, 2, 13, 4, 1, R},
        {"bar first: entering allowed", {{25, 1}, {13, 2}}, 6, 4, 2, 25, 4, 1, 21},
        {"entry blocked", {{25, 1}, {19, -2}}, 6, 4, 2, 25, 6, 1, R},
        {"blot hit", {{13, 1}, {9, -1}}, 6, 4, 2, 13, 4, 1, 9},
        {"point blocked", {{13, 1}, {9, -2}}, 6, 4, 2, 13, 4, 1, R},
        {"own point", {{13, 1}, {9, 3}}, 6, 4, 2, 13, 4, 1, 9},
        {"bear-off with a checker outside", fourteenHome, 6, 3, 2, 3, 3, 1, R},
        {"exact bear-off", allHome, 6, 4, 2, 4, 4, 1, Off},
        {"higher die from the rearmost point", {{2, 7}, {5, 8}}, 6, 1, 2, 5, 6, 1, Off},
        {"higher die with a checker behind", {{2, 7}, {5, 8}}, 6, 1, 2, 2, 6, 1, R},
        {"two dice bring the last checker home and off", fourteenHome, 5, 5, 4, 9, 10, 2, Off},
        {"three fives from 9 pass checkers at home", fourteenHome, 5, 5, 4, 9, 15, 3, R},
        {"two sixes from 3 with checkers below", {{1, 7}, {2, 7}, {3, 1}}, 6, 6, 4, 3, 12, 2, R},
        {"two dice from a lone rearmost checker", {{1, 7}, {2, 7}, {5, 1}}, 4, 3, 2, 5, 7, 2, Off},
        {"two dice, the rearmost point not alone", {{1, 7}, {2, 6}, {5, 2}}, 4, 3, 2, 5, 7, 2, R},
        {"two dice, a checker above the middle point", {{1, 7}, {3, 7}, {5, 1}}, 4, 3, 2, 5, 7, 2, R},
        // A home checker cannot bear off while another is outside, whatever the dice.
        {"two dice exactly off, a checker outside",
         {{1, 4}, {2, 4}, {3, 3}, {5, 3}, {9, 1}}, 3, 2, 2, 5, 5, 2, R},
        {"four dice exactly off, a checker outside",
         {{1, 4}, {2, 4}, {3, 3}, {4, 3}, {8, 1}}, 1, 1, 4, 4, 4, 4, R},
    };
    for (int colour : Colours)
        for (const Case& c : cases) {
            const TPositions p = position(colour, withFarSide(c.counts), c.die1, c.die2, c.canMove);
            EXPECT_EQ(MoveTarget(p, c.src, c.dist, c.kind), c.expected) << label(c.what, colour);
        }
}

TEST(MoveRules, DestinationSetsForDoublesAndNonDoubles)
{
    struct Case {
        const char* what;
        Counts counts;
        int die1, die2, canMove;
        int src, movedCount;
        bool die1Used, die2Used;
        std::array<int, 4> ghosts;
        std::vector<TMoveStep> g3Path;
    };
    const Counts opening = {{6, 5}, {8, 3}, {13, 5}, {24, 2}};
    const Case cases[] = {
        {"each die and the sum", opening, 6, 4, 2, 13, 0, false, false, {7, 9, 3, R},
         {{13, 7}, {7, 3}}},
        {"the sum through the second die's point",
         {{13, 1}, {7, -2}}, 6, 4, 2, 13, 0, false, false, {R, 9, 3, R}, {{13, 9}, {9, 3}}},
        {"no sum when both points are blocked",
         {{13, 1}, {7, -2}, {9, -2}}, 6, 4, 2, 13, 0, false, false, {R, R, R, R}, {}},
        {"first die used", opening, 6, 4, 2, 13, 1, true, false, {R, 9, R, R}, {}},
        {"second die used", opening, 6, 4, 2, 13, 1, false, true, {7, R, R, R}, {}},
        {"no sum with one checker to move", opening, 6, 4, 1, 13, 0, false, false,
         {7, R, R, R}, {}},
        {"no sum with one checker to move, the larger die blocked", {{13, 1}, {7, -2}}, 6, 4, 1,
         13, 0, false, false, {R, 9, R, R}, {}},
        // With a single checker to move and that move entered, nothing more is offered.
        {"nothing after the last checker to move",
         {{13, 1}, {7, -2}}, 6, 4, 1, 13, 1, true, false, {R, R, R, R}, {}},
        {"nothing when no checker may move", opening, 6, 4, 0, 13, 0, false, false,
         {R, R, R, R}, {}},
        {"entering from the bar", {{25, 1}, {13, 2}}, 6, 4, 2, 25, 0, false, false,
         {19, 21, 15, R}, {{25, 19}, {19, 15}}},
        {"a point while a checker is on the bar", {{25, 1}, {13, 2}}, 6, 4, 2, 13, 0, false,
         false, {R, R, R, R}, {}},
        {"four steps of a double", opening, 3, 3, 4, 13, 0, false, false, {10, 7, 4, 1}, {}},
        {"doubles limited by the moves left", opening, 3, 3, 4, 13, 2, false, false,
         {10, 7, R, R}, {}},
        {"doubles stop at a block", {{13, 1}, {7, -2}}, 3, 3, 4, 13, 0, false, false,
         {10, R, R, R}, {}},
        {"doubles do not jump a block", {{13, 1}, {10, -2}, {4, 2}}, 3, 3, 4, 13, 0, false,
         false, {R, R, R, R}, {}},
        {"last checker home and off with two fives",
         {{1, 4}, {2, 4}, {3, 3}, {4, 3}, {9, 1}}, 5, 5, 4, 9, 0, false, false,
         {4, Off, R, R}, {}},
        {"the checker still counts as home", {{1, 5}, {2, 5}, {4, 5}}, 4, 4, 4, 4, 0, false,
         false, {Off, R, R, R}, {}},
        // Borne off by the first four, the checker has no use for the other three.
        {"a checker borne off takes no more steps", {{4, 1}, {-1, 14}}, 4, 4, 4, 4, 0, false,
         false, {Off, R, R, R}, {}},
        {"nor after two steps", {{7, 1}, {-1, 14}}, 4, 4, 4, 7, 0, false, false,
         {3, Off, R, R}, {}},
        // Bearing off 5/2/off: through 1 the checker on 2 would not be the rearmost.
        {"bearing off with the sum goes through the second die",
         {{2, 1}, {5, 1}, {-1, 13}}, 4, 3, 2, 5, 0, false, false, {1, 2, Off, R},
         {{5, 2}, {2, Off}}},
        {"bearing off with the sum past a blocked second point",
         {{5, 1}, {2, -2}, {-1, 14}}, 4, 3, 2, 5, 0, false, false, {1, R, Off, R},
         {{5, 1}, {1, Off}}},
        {"no sum when neither route leaves the checker the rearmost",
         {{5, 1}, {2, 1}, {3, -2}, {-1, 13}}, 4, 2, 2, 5, 0, false, false, {1, R, R, R}, {}},
        {"no step from the tray when the first die bears off",
         {{5, 1}, {-1, 14}}, 6, 2, 2, 5, 0, false, false, {Off, 3, Off, R},
         {{5, 3}, {3, Off}}},
        {"an empty point", opening, 6, 4, 2, 12, 0, false, false, {R, R, R, R}, {}},
        {"the far side's checkers", {{13, 1}, {12, -3}}, 6, 4, 2, 12, 0, false, false,
         {R, R, R, R}, {}},
        {"the own tray", {{-1, 14}, {1, 1}}, 6, 4, 2, Off, 0, false, false, {R, R, R, R}, {}},
        {"dice not rolled", opening, 0, 0, 2, 13, 0, false, false, {R, R, R, R}, {}},
    };
    for (int colour : Colours)
        for (const Case& c : cases) {
            const TPositions p = position(colour, withFarSide(c.counts), c.die1, c.die2, c.canMove);
            const TDestinations g =
                DestinationSet(p, c.src, c.movedCount, c.die1Used, c.die2Used);
            EXPECT_EQ(g.Ghosts, c.ghosts) << label(c.what, colour);
            if (!c.g3Path.empty())
                EXPECT_EQ(std::vector<TMoveStep>(g.Paths[2].begin(), g.Paths[2].end()), c.g3Path)
                    << label(c.what, colour);
        }
}

TEST(MoveRules, DoublesPathsAreSingleStepsOfTheDie)
{
    const TPositions p = position(1, withFarSide({{13, 1}}), 3, 3, 4);
    const TDestinations g = DestinationSet(p, 13, 0, false, false);
    const std::vector<TMoveStep> expected = {{13, 10}, {10, 7}, {7, 4}, {4, 1}};
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(std::vector<TMoveStep>(g.Paths[k - 1].begin(), g.Paths[k - 1].end()),
                  std::vector<TMoveStep>(expected.begin(), expected.begin() + k))
            << "G" << k;
}

TEST(MoveRules, PartialMoveHitsEveryBlotItLandsOn)
{
    struct Case {
        const char* what;
        Counts before;
        int die1, die2, canMove;
        int src, k;
        Counts after;
    };
    const Case cases[] = {
        {"single step onto a blot", {{13, 2}, {7, -1}, {26, -14}}, 6, 4, 2, 13, 1,
         {{13, 1}, {7, 1}, {0, -1}, {26, -14}}},
        {"the sum hits on the way and at the end",
         {{13, 1}, {7, -1}, {3, -1}, {1, 1}, {26, -13}}, 6, 4, 2, 13, 3,
         {{3, 1}, {1, 1}, {0, -2}, {26, -13}}},
        {"the sum through the second die's blot",
         {{13, 1}, {7, -2}, {9, -1}, {26, -12}}, 6, 4, 2, 13, 3,
         {{3, 1}, {7, -2}, {0, -1}, {26, -12}}},
        {"doubles hit at every step", {{13, 1}, {11, -1}, {9, -1}, {7, -1}, {26, -12}}, 2, 2, 4,
         13, 3, {{7, 1}, {0, -3}, {26, -12}}},
        {"entering onto a blot", {{25, 1}, {20, -1}, {0, -1}, {26, -13}}, 5, 3, 2, 25, 1,
         {{20, 1}, {0, -2}, {26, -13}}},
        {"bearing off", {{5, 1}, {2, 2}, {-1, 12}, {26, -15}}, 6, 2, 2, 5, 1,
         {{2, 2}, {-1, 13}, {26, -15}}},
        {"bearing off with the sum", {{5, 1}, {2, 1}, {3, -1}, {-1, 13}, {26, -14}}, 4, 3, 2, 5, 3,
         {{2, 1}, {-1, 14}, {3, -1}, {26, -14}}},
    };
    for (int colour : Colours)
        for (const Case& c : cases) {
            TPositions p = position(colour, c.before, c.die1, c.die2, c.canMove);
            const TDestinations g = DestinationSet(p, c.src, 0, false, false);
            ASSERT_TRUE(MakePartialMove(p, g, c.k)) << label(c.what, colour);
            const TPositions expected = position(colour, c.after, c.die1, c.die2, c.canMove);
            EXPECT_EQ(p.BoardCells, expected.BoardCells) << label(c.what, colour);
        }
}

TEST(MoveRules, RefusedMovesAndLiftsChangeNothing)
{
    for (int colour : Colours) {
        const TPositions start = position(colour, {{13, 1}, {7, -2}, {-1, 14}, {26, -13}}, 6, 4);
        const TDestinations g = DestinationSet(start, 13, 0, false, false);
        TPositions p = start;
        EXPECT_FALSE(MakePartialMove(p, g, 1)) << label("blocked ghost", colour);
        EXPECT_FALSE(MakePartialMove(p, g, 4)) << label("ghost never computed", colour);
        EXPECT_FALSE(MakePartialMove(p, g, 0)) << label("no ghost 0", colour);
        EXPECT_FALSE(LiftChecker(p, 7)) << label("lift the far side's checkers", colour);
        EXPECT_FALSE(LiftChecker(p, Off)) << label("lift from the tray", colour);
        EXPECT_EQ(p, start) << label("untouched", colour);

        // The far side made the intermediate point after the destinations were computed.
        const TDestinations sum = DestinationSet(start, 13, 0, false, false);
        ASSERT_EQ(sum.Ghosts[2], 3) << label("sum", colour);
        p.Board(MirrorIndex(9, colour)) = -2 * colour;
        EXPECT_FALSE(MakePartialMove(p, sum, 3)) << label("stale ghost", colour);
        EXPECT_EQ(p.Board(MirrorIndex(13, colour)), colour) << label("stale ghost", colour);
        p = start;

        // The checker was moved away after the destinations were computed.
        ASSERT_TRUE(LiftChecker(p, 13)) << label("lift", colour);
        EXPECT_FALSE(MakePartialMove(p, g, 2)) << label("source emptied", colour);
        EXPECT_EQ(p.Board(MirrorIndex(13, colour)), 0) << label("lifted", colour);
    }
}

// Random positions with 15 checkers a side: no destination offered may change either count,
// leave a point with checkers of both sides, or walk a checker off the board.
TEST(MoveRules, EveryOfferedMoveKeepsFifteenCheckersASide)
{
    std::mt19937 random(20261210);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    int movesMade = 0;
    for (int round = 0; round < 3000; ++round) {
        const int colour = Colours[pick(0, 1)];
        // Display numbering: own checkers in -1..25, the far side's in 0..24 and 26.
        std::array<int, 28> own{};
        std::array<int, 28> far{};
        const bool race = pick(0, 3) == 0;
        for (int n = 0; n < 15; ++n) {
            const int roll = pick(0, 9);
            own[std::size_t(1 + (roll == 0 ? Off : roll == 1 ? 25 : pick(1, race ? 6 : 24)))] += 1;
        }
        for (int n = 0; n < 15; ++n) {
            int at = 0;
            do {
                const int roll = pick(0, 9);
                at = roll == 0 ? 26 : roll == 1 ? 0 : pick(race ? 19 : 1, 24);
            } while (at >= 1 && at <= 24 && own[std::size_t(1 + at)] > 0);
            far[std::size_t(1 + at)] += 1;
        }
        Counts counts;
        for (int i = -1; i <= 26; ++i) {
            if (own[std::size_t(1 + i)] > 0)
                counts.push_back({i, own[std::size_t(1 + i)]});
            if (far[std::size_t(1 + i)] > 0)
                counts.push_back({i, -far[std::size_t(1 + i)]});
        }
        const TPositions start = position(colour, counts, pick(1, 6), pick(1, 6), pick(0, 4));
        TPositions p = start;
        if (p.PlayerDie1 < p.PlayerDie2)
            std::swap(p.PlayerDie1, p.PlayerDie2);
        const int movedCount = pick(0, 2);
        const bool die1Used = movedCount > 0 && pick(0, 1) == 1;
        const bool die2Used = movedCount > 0 && !die1Used;

        for (int src = Off; src <= 26; ++src) {
            const TDestinations g = DestinationSet(p, src, movedCount, die1Used, die2Used);
            for (int k = 1; k <= 4; ++k) {
                if (!g.Allowed(k))
                    continue;
                const QVector<TMoveStep>& path = g.Paths[std::size_t(k - 1)];
                ASSERT_FALSE(path.isEmpty());
                EXPECT_EQ(path.front().From, src);
                EXPECT_EQ(path.back().To, g.Ghosts[std::size_t(k - 1)]);
                for (qsizetype s = 0; s < path.size(); ++s) {
                    EXPECT_GE(path[s].From, 1) << "a step from off the board";
                    EXPECT_LT(path[s].To, path[s].From) << "a step backwards";
                    EXPECT_GE(path[s].To, Off);
                    EXPECT_NE(path[s].To, 0);
                    if (s > 0)
                        EXPECT_EQ(path[s].From, path[s - 1].To);
                }
                TPositions after = p;
                ASSERT_TRUE(MakePartialMove(after, g, k));
                ++movesMade;
                EXPECT_EQ(checkerCounts(after), std::make_pair(15, 15))
                    << "colour " << colour << " src " << src << " G" << k;
                for (int i = 1; i <= 24; ++i)
                    EXPECT_TRUE(after.Board(i) * start.Board(i) >= 0 || after.Board(i) * colour > 0)
                        << "point " << i << " changed hands without a hit";
                EXPECT_GE(after.Board(-1), 0);
                EXPECT_GE(after.Board(25), 0);
                EXPECT_LE(after.Board(0), 0);
                EXPECT_LE(after.Board(26), 0);
            }
        }
    }
    // The generator must actually exercise the rules.
    EXPECT_GT(movesMade, 1000);
}
