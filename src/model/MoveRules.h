#pragma once

#include "model/TPositions.h"

#include <QVector>
#include <array>

// Where a checker of the near side may go while the user enters a move. Every index here is a
// display index (the near side moves from 24 towards 1, enters from 25, bears off to -1); the
// server stays the judge of the whole move.

// A destination that is refused (or was never computed).
constexpr int MoveRefused = -2;
// The destination of a checker that is borne off.
constexpr int MoveOff = -1;

// The destination of a checker at src moved dist pips using kind dice (1 to 4), or MoveRefused.
int MoveTarget(const TPositions& position, int src, int dist, int kind);

// Own checkers on display 1 to 6 plus own checkers borne off.
int HomeCount(const TPositions& position);

// Whether some own checker on the points (not the bar) can move PlayerDie1 pips.
bool AnyMoveWithDie1(const TPositions& position);

// One single step of a checker, display from and to.
struct TMoveStep {
    int From = 0;
    int To = 0;

    bool operator==(const TMoveStep&) const = default;
};

// The destinations G1 to G4 of a checker picked up at Source, with the single steps that reach
// each of them. Ghosts[k - 1] is Gk.
struct TDestinations {
    int Source = MoveRefused;
    std::array<int, 4> Ghosts{MoveRefused, MoveRefused, MoveRefused, MoveRefused};
    std::array<QVector<TMoveStep>, 4> Paths;

    bool Allowed(int k) const { return k >= 1 && k <= 4 && Ghosts[std::size_t(k - 1)] != MoveRefused; }
};

// The destination set of an own checker at display src, computed with the checker still there.
// movedCount partial moves have been entered this turn; die1Used / die2Used tell which dice of a
// non-double roll are spent.
TDestinations DestinationSet(const TPositions& position, int src, int movedCount, bool die1Used,
                             bool die2Used);

// Takes one own checker off display src (the picked-up checker while it is dragged). Returns
// false, changing nothing, unless src is a point or the own bar holding an own checker.
bool LiftChecker(TPositions& position, int src);

// Moves the checker at destinations.Source to Gk along its steps, hitting every blot it lands
// on; the checker is still on its source. Returns false, changing nothing, when Gk is refused,
// the source no longer holds an own checker or a step would land on a blocked point.
bool MakePartialMove(TPositions& position, const TDestinations& destinations, int k);
