"""Backgammon rules in the server's representation, for the FIBS simulator.

The board is 26 signed counts: points 1 to 24, positive for O and negative for X; index 25 is
O's bar (a positive count) and index 0 is X's bar (a negative count). O moves from 24 towards
1, X from 1 towards 24. Borne-off checkers are counted apart. A step is a (source, destination)
pair of indexes: the mover's bar is its source index 25 (O) or 0 (X), and bearing off goes to
0 (O) or 25 (X), one step beyond the last point, so every step runs in the mover's direction.
"""

import collections
import itertools

O, X = 1, -1
CHECKERS = 15
UNLIMITED = 9999

Play = collections.namedtuple("Play", "steps position")


class IllegalMove(Exception):
    """A move the rules refuse; the message says why."""


def bar_point(colour):
    return 25 if colour == O else 0


def off_point(colour):
    return 0 if colour == O else 25


def home_points(colour):
    return range(1, 7) if colour == O else range(19, 25)


class Position:
    """Checkers on the board and borne off; copied, never shared between games."""

    __slots__ = ("board", "off")

    def __init__(self, board, off):
        self.board = list(board)
        self.off = dict(off)

    @classmethod
    def start(cls):
        board = [0] * 26
        for point, count in ((24, 2), (13, 5), (8, 3), (6, 5)):
            board[point] = count
            board[25 - point] = -count
        return cls(board, {O: 0, X: 0})

    def copy(self):
        return Position(self.board, self.off)

    def key(self):
        return tuple(self.board) + (self.off[O], self.off[X])

    def __eq__(self, other):
        return isinstance(other, Position) and self.key() == other.key()

    def count(self, point, colour):
        """How many of colour's checkers stand on point (a bar index included)."""
        return max(0, self.board[point] * colour)

    def on_bar(self, colour):
        return self.count(bar_point(colour), colour)

    def all_home(self, colour):
        home = home_points(colour)
        return all(self.count(p, colour) == 0 for p in range(0, 26) if p not in home)

    def pips(self, colour):
        if colour == O:
            return sum(p * self.count(p, O) for p in range(1, 26))
        return sum((25 - p) * self.count(p, X) for p in range(0, 25))

    def winner(self):
        for colour in (O, X):
            if self.off[colour] == CHECKERS:
                return colour
        return None

    def result(self, winner):
        """1 single, 2 gammon, 3 backgammon for the given winner."""
        loser = -winner
        if self.off[loser] > 0:
            return 1
        if self.on_bar(loser) or any(self.count(p, loser) for p in home_points(winner)):
            return 3
        return 2

    def apply(self, colour, src, dst):
        """The position after one step (assumed legal), hitting a lone opposing checker."""
        after = self.copy()
        board = after.board
        board[src] -= colour
        if dst == off_point(colour):
            after.off[colour] += 1
        else:
            if board[dst] * colour == -1:
                board[dst] = 0
                board[bar_point(-colour)] -= colour
            board[dst] += colour
        return after


def step_target(position, colour, src, die):
    """Where a checker of colour on src lands with die, or None when it cannot move so."""
    if position.count(src, colour) == 0:
        return None
    bar = bar_point(colour)
    if src != bar and position.on_bar(colour):
        return None
    dst = src - die * colour
    if 1 <= dst <= 24:
        return None if position.board[dst] * colour <= -2 else dst
    if src == bar or not position.all_home(colour):
        return None
    if dst != off_point(colour):
        # a larger die bears off only the rearmost checker
        behind = range(src + 1, 7) if colour == O else range(19, src)
        if any(position.count(p, colour) for p in behind):
            return None
    return off_point(colour)


def _dice_list(dice):
    d1, d2 = dice
    return [d1] * 4 if d1 == d2 else [d1, d2]


def legal_plays(position, colour, dice):
    """Every distinct outcome of the roll that the rules allow, each with one way to play it.

    A play uses as many dice as possible; when only one die can be used, the larger one must
    be used if it can. With no possible move the result is one empty play.
    """
    found = {}
    seen = set()

    def walk(pos, remaining, steps):
        state = (pos.key(), tuple(sorted(remaining)))
        if state in seen:
            return
        seen.add(state)
        moved = False
        for die in sorted(set(remaining), reverse=True):
            rest = list(remaining)
            rest.remove(die)
            for src in range(26):
                dst = step_target(pos, colour, src, die)
                if dst is None:
                    continue
                moved = True
                walk(pos.apply(colour, src, dst), rest, steps + [(src, dst, die)])
        if not moved:
            key = pos.key()
            if key not in found or len(steps) > len(found[key][0]):
                found[key] = (steps, pos)

    walk(position, _dice_list(dice), [])
    most = max(len(steps) for steps, _ in found.values())
    plays = [(steps, pos) for steps, pos in found.values() if len(steps) == most]
    d1, d2 = dice
    if most == 1 and d1 != d2:
        larger = max(d1, d2)
        with_larger = [(s, p) for s, p in plays if s[0][2] == larger]
        plays = with_larger or plays
    return [Play(tuple((s, d) for s, d, _ in steps), pos) for steps, pos in plays]


def checkers_to_move(plays):
    """The number of checkers a roll moves (the board line's can-move field)."""
    return len(plays[0].steps) if plays else 0


def single_die(position, colour, dice, plays):
    """The die a one-checker play uses, or None when the play moves another number."""
    if checkers_to_move(plays) != 1:
        return None
    src, dst = plays[0].steps[0]
    d1, d2 = dice
    for die in sorted((d1, d2), reverse=True):
        if step_target(position, colour, src, die) == dst:
            return die
    return None


def parse_steps(colour, words):
    """Reads "8-5", "bar-22", "6-off" (or "8 5" pairs split over words) into steps."""
    text = " ".join(words).replace("/", "-")
    tokens = []
    for chunk in text.split():
        tokens.extend(part for part in chunk.split("-") if part)
    if not tokens or len(tokens) % 2:
        raise IllegalMove("** Illegal move.")

    def point(token, is_source):
        t = token.lower()
        if t in ("bar", "b") and is_source:
            return bar_point(colour)
        if t in ("off", "o") and not is_source:
            return off_point(colour)
        if t.isdigit():
            n = int(t)
            # the bar and the tray may also be given by their numbers (25-24, 3-0)
            if 1 <= n <= 24 or n == (bar_point(colour) if is_source else off_point(colour)):
                return n
        raise IllegalMove("** Illegal move.")

    return [(point(tokens[i], True), point(tokens[i + 1], False))
            for i in range(0, len(tokens), 2)]


def find_play(position, colour, dice, steps):
    """The position after the given steps, checked against the rules; raises IllegalMove."""
    plays = legal_plays(position, colour, dice)
    need = checkers_to_move(plays)
    if need == 0:
        raise IllegalMove("** You can't move.")
    if len(steps) != need:
        raise IllegalMove("** You must give %d move%s." % (need, "" if need == 1 else "s"))
    outcomes = {play.position.key() for play in plays}

    def walk_in(pos, remaining, order):
        if not order:
            return pos if pos.key() in outcomes else None
        src, dst = order[0]
        for die in sorted(set(remaining)):
            if step_target(pos, colour, src, die) == dst:
                rest = list(remaining)
                rest.remove(die)
                end = walk_in(pos.apply(colour, src, dst), rest, order[1:])
                if end is not None:
                    return end
        return None

    # the steps may come in any order that the rules allow (7-6 before 3-off, say)
    for order in itertools.permutations(steps):
        result = walk_in(position, _dice_list(dice), list(order))
        if result is not None:
            return result
    src, _ = steps[0]
    if position.count(src, colour) == 0:
        if src == bar_point(colour):
            raise IllegalMove("** You don't have a piece on the bar.")
        raise IllegalMove("** You don't have a piece on point %d." % src)
    raise IllegalMove("** You can't move that way.")


def format_steps(colour, steps):
    """The server's move text: "8-5 6-5", "bar-22", "24-off" (without the closing " .")."""
    def name(point, is_source):
        if is_source and point == bar_point(colour):
            return "bar"
        if not is_source and point == off_point(colour):
            return "off"
        return str(point)
    return " ".join("%s-%s" % (name(s, True), name(d, False)) for s, d in steps)


# ---------------------------------------------------------------- match scoring

class MatchScore:
    """Points of two sides ("a" and "b") in a match, with the Crawford rule when it applies."""

    def __init__(self, length, crawford=True, score_a=0, score_b=0):
        self.length = length
        self.points = {"a": score_a, "b": score_b}
        self.use_crawford = crawford and length != UNLIMITED
        self.crawford_game = False
        self.crawford_done = False

    def winner(self):
        if self.length == UNLIMITED:
            return None
        for side in ("a", "b"):
            if self.points[side] >= self.length:
                return side
        return None

    def record(self, side, points):
        """Adds a game's points; afterwards crawford_game tells whether the next game is one."""
        self.points[side] += points
        if self.crawford_game:
            self.crawford_game = False
            self.crawford_done = True
        elif (self.use_crawford and not self.crawford_done and self.winner() is None
              and self.length - 1 in self.points.values()):
            self.crawford_game = True

    def may_double(self, side, cube_owner):
        """Whether side may offer the cube now: it is centred or its own, outside Crawford."""
        if self.crawford_game or self.length == 1:
            return False
        return cube_owner in (None, side)


# ---------------------------------------------------------------- robot play

def evaluate(position, colour):
    """A rough score of a position for colour: higher is better for colour."""
    them = -colour
    score = -position.pips(colour) + 0.6 * position.pips(them)
    score += 9 * position.on_bar(them) + 4 * position.off[colour]
    theirs = [p for p in range(26) if position.count(p, them)]
    for point in range(1, 25):
        n = position.count(point, colour)
        if n >= 2:
            score += 2.5 if point in home_points(colour) else 1.5
        elif n == 1 and theirs:
            # a blot that some opposing checker still has to pass
            reachable = point > min(theirs) if them == X else point < max(theirs)
            if reachable:
                score -= 3 + (1.5 if point in home_points(colour) else 0)
    return score


def choose_play(position, colour, dice, rng, style="greedy"):
    """A robot's play: the best-scoring one ("greedy") or any legal one ("random")."""
    plays = legal_plays(position, colour, dice)
    if style == "random":
        return rng.choice(plays)
    scored = [(evaluate(play.position, colour), rng.random(), i) for i, play in enumerate(plays)]
    return plays[max(scored)[2]]
