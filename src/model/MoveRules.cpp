#include "model/MoveRules.h"

#include "model/Positions.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int CheckersPerSide = 15;
constexpr int OwnBar = 25;
constexpr int FarBar = 0;

int& cell(TPositions& p, int display)
{
    return p.Board(MirrorIndex(display, p));
}

int cell(const TPositions& p, int display)
{
    return p.Board(MirrorIndex(display, p));
}

bool own(const TPositions& p, int display)
{
    return cell(p, display) * p.Colour > 0;
}

// Bearing off with more pips than needed: nothing of ours may stand behind the checker's last
// point before the tray (from). The moving checker itself is exempt when it stands alone.
bool rearmost(const TPositions& p, int src, int from, int upTo)
{
    for (int i = std::max(from + 1, MoveOff); i <= upTo; ++i) {
        if (i == src && cell(p, i) == p.Colour)
            continue;
        if (own(p, i))
            return false;
    }
    return true;
}

bool isPoint(int destination)
{
    return destination >= 1 && destination <= 24;
}

// Lands one step: a blot there goes to the far side's bar.
void hit(TPositions& p, int display)
{
    if (cell(p, display) * p.Colour >= 0)
        return;
    cell(p, FarBar) -= p.Colour;
    cell(p, display) = 0;
}

} // namespace

int HomeCount(const TPositions& position)
{
    int count = 0;
    for (int i = 1; i <= 6; ++i) {
        if (own(position, i))
            count += std::abs(cell(position, i));
    }
    return count + std::abs(cell(position, MoveOff));
}

bool AnyMoveWithDie1(const TPositions& position)
{
    // Two checkers to move keeps the larger-die rule out of the inner test.
    TPositions p = position;
    p.CanMove = 2;
    for (int i = 1; i <= 24; ++i) {
        if (p.Board(i) * p.Colour > 0
            && MoveTarget(p, MirrorIndex(i, p), p.PlayerDie1, 1) != MoveRefused)
            return true;
    }
    return false;
}

int MoveTarget(const TPositions& position, int src, int dist, int kind)
{
    const TPositions& p = position;
    // With one checker to move, the smaller die only when the larger cannot be played.
    if (p.CanMove == 1 && dist != p.PlayerDie1 && AnyMoveWithDie1(p))
        return MoveRefused;
    if (src != OwnBar && own(p, OwnBar))
        return MoveRefused;
    const int d = src - dist;
    if (d <= 0) {
        const int home = HomeCount(p);
        if (kind == 1 && home < CheckersPerSide)
            return MoveRefused;
        if (kind > 1) {
            if (home < CheckersPerSide - 1)
                return MoveRefused;
            // With 14 home the moving checker must be the one outside, and its first steps
            // must bring it home.
            if (home == CheckersPerSide - 1
                && (src <= 6 || src - (kind - 1) * p.PlayerDie1 > 6))
                return MoveRefused;
        }
    }
    if (d < 0) {
        const bool last = kind == 1 ? rearmost(p, src, src, 6)
                                    : rearmost(p, src,
                                               kind == 2 ? src - p.PlayerDie2
                                                         : src - (kind - 1) * p.PlayerDie1,
                                               24);
        return last ? MoveOff : MoveRefused;
    }
    if (d == 0)
        return MoveOff;
    if (cell(p, d) * p.Colour <= -2)
        return MoveRefused;
    return d;
}

TDestinations DestinationSet(const TPositions& position, int src, int movedCount, bool die1Used,
                             bool die2Used)
{
    const TPositions& p = position;
    TDestinations g;
    g.Source = src;
    const int die1 = p.PlayerDie1;
    const int die2 = p.PlayerDie2;
    // Only a checker on the board or the bar moves, and only with rolled dice.
    if (src < 1 || src > OwnBar || !own(p, src) || die1 < 1 || die1 > 6 || die2 < 1 || die2 > 6)
        return g;

    if (die1 == die2) {
        int at = src;
        for (int k = 1; k <= 4 && movedCount + k <= p.CanMove; ++k) {
            // A checker borne off has finished its journey; later dice are not its own.
            if (k > 1 && !isPoint(at))
                break;
            const int t = MoveTarget(p, src, k * die1, k);
            if (t == MoveRefused)
                break;
            const auto i = std::size_t(k - 1);
            g.Ghosts[i] = t;
            g.Paths[i] = k > 1 ? g.Paths[i - 1] : QVector<TMoveStep>{};
            g.Paths[i].append({at, t});
            at = t;
        }
        return g;
    }

    int& g1 = g.Ghosts[0];
    int& g2 = g.Ghosts[1];
    if (movedCount < p.CanMove) {
        if (!die1Used)
            g1 = MoveTarget(p, src, die1, 1);
        if (!die2Used)
            g2 = MoveTarget(p, src, die2, 1);
    }
    if (g1 != MoveRefused)
        g.Paths[0] = {{src, g1}};
    if (g2 != MoveRefused)
        g.Paths[1] = {{src, g2}};
    if (die1Used || die2Used || movedCount + 2 > p.CanMove || !(isPoint(g1) || isPoint(g2)))
        return g;
    const int t = MoveTarget(p, src, die1 + die2, 2);
    if (t == MoveRefused)
        return g;
    // The intermediate point is always on the board. Bearing off with pips to spare goes
    // through the second die's point, the one the rearmost test was made for, or else through
    // the first die's point when the checker is the rearmost from there too.
    int via = isPoint(g1) ? g1 : g2;
    if (src - die1 - die2 < 0)
        via = isPoint(g2) ? g2 : (isPoint(g1) && rearmost(p, src, g1, 24) ? g1 : MoveRefused);
    if (via == MoveRefused)
        return g;
    g.Ghosts[2] = t;
    g.Paths[2] = {{src, via}, {via, t}};
    return g;
}

bool LiftChecker(TPositions& position, int src)
{
    // Only checkers in play are picked up; the trays stay as they are.
    if (src < 1 || src > OwnBar || !own(position, src))
        return false;
    cell(position, src) -= position.Colour;
    return true;
}

bool MakePartialMove(TPositions& position, const TDestinations& destinations, int k)
{
    if (!destinations.Allowed(k))
        return false;
    const auto i = std::size_t(k - 1);
    // Destinations computed on an earlier position may since have been blocked.
    for (const TMoveStep& step : destinations.Paths[i]) {
        if (cell(position, step.To) * position.Colour <= -2)
            return false;
    }
    if (!LiftChecker(position, destinations.Source))
        return false;
    for (const TMoveStep& step : destinations.Paths[i])
        hit(position, step.To);
    cell(position, destinations.Ghosts[i]) += position.Colour;
    return true;
}
