"""Matches on the FIBS simulator: invitations, play, watching, saved matches and robot players.

The texts and the empty lines around them follow the recorded sessions: most messages come
as an empty line and the text, a board line after a roll as empty line, board, empty line,
and a board line after a move right under the move.

Everything here runs with the server's lock held: the command methods of MatchCommands take
it, and the robots' clock takes it before every robot action.
"""

import heapq
import itertools
import math
import random
import threading
import time

import backgammon as bg
from backgammon import O, X, UNLIMITED

PAIR_NAMES = ("GammonBot_XXX", "BlunderBot_XXX")
PAIR_LENGTH = 3
# The pair's dice do not depend on --seed; with these, its first match has a double and a
# take, a gammon, the Crawford game and a resignation.
PAIR_DICE = "5"
RESIGN_LEVELS = {"n": 1, "normal": 1, "g": 2, "gammon": 2, "b": 3, "backgammon": 3}


def points_text(n):
    return "%d point%s" % (n, "" if n == 1 else "s")


def match_kind(length):
    return "unlimited match" if length == UNLIMITED else "%d point match" % length


def a_match(length):
    return "an unlimited match" if length == UNLIMITED else "a %d point match" % length


def is_robot(player):
    return player.connection is None


class Side:
    """One player of a match; player is None while the match is saved."""

    def __init__(self, key, player):
        self.key = key
        self.name = player.name
        self.player = player
        self.colour = O
        self.can_move = 2      # board field 49: checkers this side could move on its last roll
        self.single_die = 1    # board field 50: the die of its last one-checker roll
        self.joined = False


class LiveMatch:
    """A match being played (or saved): the score, the game in progress and who acts next."""

    def __init__(self, hall, player_a, player_b, length, dice_seed, score_a=0, score_b=0,
                 crawford=True):
        self.hall = hall
        self.sides = {"a": Side("a", player_a), "b": Side("b", player_b)}
        self.score = bg.MatchScore(length, crawford, score_a, score_b)
        if length - 1 in (score_a, score_b):
            # a match taken up at such a score has had its Crawford game
            self.score.crawford_done = True
        self.rng = random.Random(dice_seed)
        self.robot_rng = random.Random("robot " + str(dice_seed))
        self.game_number = 0
        self.position = bg.Position.start()
        self.phase = "between"   # roll, move, double, resign, between, over
        self.turn = None
        self.dice = None
        self.cube = 1
        self.cube_owner = None
        self.offer = None        # the side that doubled and waits for the answer
        self.resignation = None  # (side, points, phase before the offer)
        self.version = 0
        self.robots_resign = False

    @property
    def length(self):
        return self.score.length

    @property
    def names(self):
        return (self.sides["a"].name, self.sides["b"].name)

    def seen_by(self, name):
        """(opponent, length, own points, opponent's points) for one of the two, else None."""
        if name not in self.names:
            return None
        mine = "a" if self.sides["a"].name == name else "b"
        other = self.other(mine)
        return (self.sides[other].name, self.length, self.score.points[mine],
                self.score.points[other])

    def board_line(self, name):
        """The board line of the saved match from name's side (what 'oldboard' shows)."""
        return self.board_for("a" if self.sides["a"].name == name else "b", True)

    def describe(self):
        return "%s %d-%d" % (match_kind(self.length), self.score.points["a"],
                             self.score.points["b"])

    def other(self, key):
        return "b" if key == "a" else "a"

    def side_of(self, player):
        for side in self.sides.values():
            if side.player is player:
                return side.key
        return None

    def _changed(self):
        self.version += 1

    # -- who hears what

    def _audience(self):
        """(player, the side seen from, whether it is that side's own player) for every listener."""
        listeners = []
        for key, side in self.sides.items():
            if side.player is not None and not is_robot(side.player):
                listeners.append((side.player, key, True))
        for player in self.hall.server.online.values():
            if player.connection is None or player.watching is None:
                continue
            for key, side in self.sides.items():
                if side.player is not None and player.watching is side.player:
                    listeners.append((player, key, False))
        return listeners

    def _emit(self, make, board=None):
        """Sends make(view, you) to every listener, with the board line their toggles ask for.

        board "roll" is the board after a roll (toggle moreboards), "move" the one after a move
        (toggle autoboard).
        """
        for player, view, you in self._audience():
            lines = list(make(view, you) or [])
            toggles = player.account.toggles
            if board == "roll" and toggles.get("moreboards"):
                lines += ["", self.board_for(view, you), ""]
            elif board == "move" and toggles.get("autoboard"):
                lines.append(self.board_for(view, you))
            if lines:
                player.connection.send_lines(lines)

    def _tell_side(self, key, lines):
        player = self.sides[key].player
        if player is not None and not is_robot(player):
            player.connection.send_lines(lines)

    # -- the board line

    def board_for(self, view, you):
        me, them = self.sides[view], self.sides[self.other(view)]
        pos = self.position

        def dice_of(key):
            if self.dice and self.turn == key and self.phase in ("move", "resign"):
                return self.dice
            return (0, 0)

        playing = self.phase not in ("between", "over")
        turn = self.sides[self.turn].colour if playing and self.turn else 0
        direction, home, bar = (1, 25, 0) if me.colour == X else (-1, 0, 25)
        fields = [
            "board", "You" if you else me.name, them.name, self.length,
            self.score.points[view], self.score.points[them.key],
        ] + pos.board + [
            turn, *dice_of(view), *dice_of(them.key), self.cube,
            int(self.cube_owner in (None, view)), int(self.cube_owner in (None, them.key)),
            int(self.offer is not None and self.offer != view),
            me.colour, direction, home, bar,
            pos.off[me.colour], pos.off[them.colour], pos.on_bar(me.colour),
            pos.on_bar(them.colour), me.can_move, me.single_die, 0, 0,
        ]
        return ":".join(str(f) for f in fields)

    # -- the course of a game

    def start_game(self):
        self.game_number += 1
        self.position = bg.Position.start()
        self.cube, self.cube_owner, self.offer, self.resignation = 1, None, None, None
        for side in self.sides.values():
            side.joined = False
        a, b = self.sides["a"], self.sides["b"]
        if self.game_number == 1:
            a.colour = self.rng.choice((O, X))
        else:
            a.colour = -a.colour
        b.colour = -a.colour
        self._emit(lambda view, you: [
            "", "Starting a new game with %s." % self.sides[self.other(view)].name])
        x_key = "a" if a.colour == X else "b"
        while True:
            rolled = {"a": self.rng.randint(1, 6), "b": self.rng.randint(1, 6)}

            def opening(view, you, rolled=rolled):
                if you:
                    o = self.other(view)
                    return ["", "You rolled %d, %s rolled %d" % (
                        rolled[view], self.sides[o].name, rolled[o])]
                o = self.other(x_key)
                return ["", "%s rolled %d, %s rolled %d" % (
                    self.sides[x_key].name, rolled[x_key], self.sides[o].name, rolled[o])]
            self._emit(opening)
            if rolled["a"] != rolled["b"]:
                break
        first = "a" if rolled["a"] > rolled["b"] else "b"
        self.turn = first
        self.dice = (rolled[first], rolled[self.other(first)])
        self.phase = "move"
        self._changed()
        plays = self._note_roll(first)
        self._emit(lambda view, you: ["", "It's your turn to move." if you and view == first
                                      else "%s makes the first move." % self.sides[first].name],
                   board="roll")
        self._after_roll(first, plays, prompt=False)

    def _note_roll(self, key):
        side = self.sides[key]
        plays = bg.legal_plays(self.position, side.colour, self.dice)
        side.can_move = bg.checkers_to_move(plays)
        die = bg.single_die(self.position, side.colour, self.dice, plays)
        if die is not None:
            side.single_die = die
        return plays

    def roll(self, key):
        self.turn = key
        self.dice = (self.rng.randint(1, 6), self.rng.randint(1, 6))
        self.phase = "move"
        self._changed()
        plays = self._note_roll(key)
        d1, d2 = self.dice
        self._emit(lambda view, you: [
            "", "%s %d and %d." % ("You roll" if you and view == key
                                   else self.sides[key].name + " rolls", d1, d2)], board="roll")
        self._after_roll(key, plays, prompt=True)

    def _after_roll(self, key, plays, prompt):
        side = self.sides[key]
        count = bg.checkers_to_move(plays)
        if count == 0:
            def dance(view, you):
                lines = ["You can't move." if you and view == key
                         else "%s can't move." % side.name, ""]
                return lines + ([""] if view != key else [])
            self._emit(dance)
            self._pass_turn()
            self._next_turn()
            return
        if is_robot(side.player):
            self.hall.robot_turn(self)
            return
        toggles = side.player.account.toggles
        if toggles.get("automove") and len(plays) == 1:
            text = bg.format_steps(side.colour, plays[0].steps)
            forced = text.replace("bar-", "%d-" % bg.bar_point(side.colour))
            self._play(key, plays[0].steps, plays[0].position,
                       own_text=["", "The only possible move is %s ." % forced])
            return
        greedy = self._greedy_bearoff(plays, side.colour) if toggles.get("greedy") else None
        if greedy is not None:
            self._play(key, greedy.steps, greedy.position, own_text=[
                "", "Bearing off: " + " ".join("%d o" % src for src, _ in greedy.steps)])
            return
        if prompt:
            self._tell_side(key, ["", "Please move %d piece%s." % (count, "" if count == 1
                                                                   else "s")])

    @staticmethod
    def _greedy_bearoff(plays, colour):
        off = bg.off_point(colour)
        for play in plays:
            if all(dst == off for _, dst in play.steps):
                return play
        return None

    def move(self, key, steps):
        """A player's move command; raises IllegalMove with the server's refusal."""
        side = self.sides[key]
        after = bg.find_play(self.position, side.colour, self.dice, steps)
        self._play(key, steps, after)

    def _play(self, key, steps, after, own_text=None):
        side = self.sides[key]
        text = bg.format_steps(side.colour, steps)
        self.position = after
        won = after.winner() is not None
        if won:
            self.phase = "between"
            self.dice = None
            self._changed()
        else:
            self._pass_turn()

        def moved(view, you):
            if you and view == key:
                return own_text
            return ["", "%s moves %s ." % (side.name, text)]
        self._emit(moved, board="move")
        if won:
            self.end_game(key, after.result(side.colour) * self.cube, "bearoff")
        else:
            self._next_turn()

    def _pass_turn(self):
        """The other side is on turn (the board after a move already shows it so)."""
        self.turn = self.other(self.turn)
        self.dice = None
        self.phase = "roll"
        self._changed()

    def _next_turn(self):
        """The side on turn rolls, or doubles first when it may."""
        key = self.turn
        side = self.sides[key]
        if not self.may_double(key):
            self.roll(key)
        elif is_robot(side.player):
            self.hall.robot_turn(self)
        else:
            self._tell_side(key, ["", "It's your turn. Please roll or double"])

    def may_double(self, key):
        player = self.sides[key].player
        return (self.score.may_double(key, self.cube_owner)
                and bool(player.account.toggles.get("double", 1)))

    def double(self, key):
        other = self.other(key)
        self.offer = key
        self.phase = "double"
        self._changed()
        name, other_name = self.sides[key].name, self.sides[other].name

        def doubled(view, you):
            if you and view == key:
                return ["", "You double. Please wait for %s to accept or reject." % other_name]
            if you:
                return ["", "%s doubles. Type 'accept' or 'reject'." % name]
            return ["", "%s doubles." % name]
        self._emit(doubled)
        if is_robot(self.sides[other].player):
            self.hall.robot_turn(self)

    def take(self, key):
        doubler = self.offer
        self.cube *= 2
        self.cube_owner = key
        self.offer = None
        self._changed()
        name, cube = self.sides[key].name, self.cube

        def taken(view, you):
            if you and view == key:
                return ["", "You accept the double.  The cube shows %d." % cube]
            if you:
                return ["", "%s accepts the double.  The cube shows %d." % (name, cube)]
            return ["", "%s accepts the double." % name]
        self._emit(taken)
        self.roll(doubler)

    def drop(self, key):
        doubler = self.offer
        points = self.cube
        name, winner = self.sides[key].name, self.sides[doubler].name

        def dropped(view, you):
            if you and view == key:
                return ["", "You give up. %s wins %s." % (winner, points_text(points))]
            if you:
                return ["", "%s gives up. You win %s." % (name, points_text(points))]
            return ["", "%s gives up. %s wins %s." % (name, winner, points_text(points))]
        self._emit(dropped)
        self.end_game(doubler, points, "drop")

    def resign(self, key, level):
        other = self.other(key)
        points = level * self.cube
        self.resignation = (key, points, self.phase)
        self.phase = "resign"
        self._changed()
        name, other_name = self.sides[key].name, self.sides[other].name

        def offered(view, you):
            if you and view == key:
                return ["", "You want to resign. %s will win %s." % (other_name,
                                                                   points_text(points))]
            if you:
                return ["", "%s wants to resign. You will win %s. Type 'accept' or 'reject'."
                        % (name, points_text(points))]
            return ["", "%s wants to resign. %s will win %s." % (name, other_name,
                                                                points_text(points))]
        self._emit(offered)
        if is_robot(self.sides[other].player):
            self.hall.robot_turn(self)

    def accept_resignation(self, key):
        _, points, _ = self.resignation
        name = self.sides[key].name
        self._emit(lambda view, you: [
            "", "You accept and win %s." % points_text(points) if you and view == key
            else "%s accepts and wins %s." % (name, points_text(points))])
        self.end_game(key, points, "resign")

    def reject_resignation(self, key):
        _, _, phase = self.resignation
        self.resignation = None
        self.phase = phase
        self._changed()
        name = self.sides[key].name
        self._emit(lambda view, you: [
            "", "You reject. The game continues." if you and view == key
            else "%s rejects. The game continues." % name])
        self._continue_turn()

    def _continue_turn(self):
        """Asks the side on turn to go on after a refused resignation or a resume."""
        key = self.turn
        side = self.sides[key]
        if is_robot(side.player):
            self.hall.robot_turn(self)
        elif self.phase == "move":
            count = side.can_move
            self._tell_side(key, ["", "Please move %d piece%s." % (count, "" if count == 1
                                                                   else "s")])
        elif self.phase == "roll":
            if self.may_double(key):
                self._tell_side(key, ["", "It's your turn to roll or double."])
            else:
                self.roll(key)

    def end_game(self, key, points, how):
        loser = self.other(key)
        self.phase = "between"
        self.turn = None
        self.dice = None
        self.offer = None
        self.resignation = None
        self._changed()
        name = self.sides[key].name
        if how == "bearoff":
            def won(view, you):
                if you and view == key:
                    return ["", "You win the game and get %s. Congratulations!"
                            % points_text(points)]
                if you:
                    return ["", "%s wins the game and gets %s. Sorry." % (name,
                                                                         points_text(points))]
                return ["", "%s wins the game and gets %s." % (name, points_text(points))]
            self._emit(won)
        self.score.record(key, points)
        if self.score.winner() is not None:
            self._end_match(key, loser)
            return

        def scoreline(view, you):
            o = self.other(view)
            return ["", "score in %s: %s-%d %s-%d" % (
                match_kind(self.length), "You" if you else self.sides[view].name,
                self.score.points[view], self.sides[o].name, self.score.points[o])]
        self._emit(scoreline)
        for k in ("a", "b"):
            self._tell_side(k, ["", "Type 'join' if you want to play the next game, "
                                    "type 'leave' if you don't."])
        if any(is_robot(s.player) for s in self.sides.values()):
            self.hall.robot_turn(self)

    def join_next(self, key):
        self.sides[key].joined = True
        if all(s.joined for s in self.sides.values()):
            self.start_game()
        else:
            self._tell_side(key, ["** Please wait for %s to join too."
                                  % self.sides[self.other(key)].name])

    def _end_match(self, winner, loser):
        self.phase = "over"
        self._changed()
        w, l = self.sides[winner], self.sides[loser]
        final = "%d-%d" % (self.score.points[winner], self.score.points[loser])
        kind = match_kind(self.length)
        self._emit(lambda view, you: [
            "", "You win the %s %s ." % (kind, final) if you and view == winner
            else "%s wins the %s %s ." % (w.name, kind, final)])
        self.hall.report(self, ["", "%s wins a %s against %s  %s ." % (w.name, kind, l.name,
                                                                       final)], False)
        self.hall.rate(w.player, l.player, self.length)
        self.hall.finished(self)


# ---------------------------------------------------------------- the robots' clock

class RobotClock:
    """Runs robot actions later, one at a time, on its own thread with the server's lock."""

    def __init__(self, lock):
        self._lock = lock
        self._queue = []
        self._order = itertools.count()
        self._wake = threading.Condition()
        self._stopping = False
        self._thread = threading.Thread(target=self._loop, daemon=True, name="fibs-sim-robots")

    def start(self):
        self._thread.start()

    def stop(self):
        with self._wake:
            self._stopping = True
            self._wake.notify()
        if self._thread.is_alive():
            self._thread.join(5)

    def later(self, delay, action):
        with self._wake:
            heapq.heappush(self._queue, (time.monotonic() + delay, next(self._order), action))
            self._wake.notify()

    def _loop(self):
        while True:
            with self._wake:
                while not self._stopping and (
                        not self._queue or self._queue[0][0] > time.monotonic()):
                    timeout = self._queue[0][0] - time.monotonic() if self._queue else None
                    self._wake.wait(timeout)
                if self._stopping:
                    return
                _, _, action = heapq.heappop(self._queue)
            with self._lock:
                action()


# ---------------------------------------------------------------- robot decisions

def pip_lead(position, colour):
    """How far colour leads the race, as a share of its own pip count."""
    mine, theirs = position.pips(colour), position.pips(-colour)
    return (theirs - mine) / max(mine, 1)


def expected_result(position, winner):
    """What the winner of a decided race would win: 1, 2 or 3 (1 while it is not bearing off)."""
    loser = -winner
    if position.off[loser] or not position.all_home(winner):
        return 1
    if position.on_bar(loser) or any(position.count(p, loser) for p in bg.home_points(winner)):
        return 3
    return 1 if position.all_home(loser) else 2


# ---------------------------------------------------------------- the hall

class MatchHall:
    """Invitations, live and saved matches, watching, and the robots that play."""

    def __init__(self, server, pace=0.4, accept_share=0.5, pair=()):
        """pair: two robots (not of the population) that play each other while watched."""
        self.server = server
        self.pace = pace
        self.clock = RobotClock(server.lock)
        self.invitations = {}   # invitee name -> {inviter name: length, or None to resume}
        self.match_count = 0
        rng = random.Random("fibs-sim accepting %d" % server.seed)
        self.accepting = {r.name for r in server.robots
                          if not r.special and rng.random() < accept_share}
        self.pair = list(pair)
        self.pair_matches = 0
        self.pair_waiting = False

    def start(self):
        self.clock.start()

    def stop(self):
        self.clock.stop()

    # -- helpers

    def find(self, name):
        online = self.server.online
        if name in online:
            return online[name]
        for key, player in online.items():
            if key.lower() == name.lower():
                return player
        return None

    def live(self, player):
        """The LiveMatch the player is in, making a robot pair's listed match a played one."""
        match = player.match
        if isinstance(match, LiveMatch):
            return match
        opponent = player.opponent
        if match is None or opponent is None or not (is_robot(player) and is_robot(opponent)):
            return None
        # the listing names first whichever of the two comes first among those online
        order = list(self.server.online.values())
        first, second = sorted((player, opponent), key=order.index)
        live = LiveMatch(self, first, second, match.length,
                         "fibs-sim listed %d %s %s" % (self.server.seed, first.name, second.name),
                         min(match.score_a, max(match.length - 1, 0)),
                         min(match.score_b, max(match.length - 1, 0)))
        live.robots_resign = True
        first.match = second.match = live
        live.start_game()
        return live

    def who(self, players):
        now = time.time()
        lines = []
        for p in players:
            if p is not None and self.server.online.get(p.name) is p:
                lines += [p.who_line(now), "6"]
        if lines:
            self.server.broadcast(lines)

    def report(self, match, lines, to_watchers=True):
        """A notice for the players with 'report' on; the match's watchers get it whatever
        their toggle unless to_watchers is false (they have seen the result already)."""
        involved = {s.player for s in match.sides.values()}
        for player in self.server.online.values():
            if player.connection is None or player in involved:
                continue
            if player.watching in involved:
                if to_watchers:
                    player.connection.send_lines(lines)
            elif player.account.toggles.get("report"):
                player.connection.send_lines(lines)

    def rate(self, winner, loser, length):
        if length == UNLIMITED:
            return
        for p in (winner, loser):
            p.account.experience += length
        wa, la = winner.account, loser.account
        diff = abs(wa.rating - la.rating)
        upset = 1.0 / (10 ** (diff * math.sqrt(length) / 2000.0) + 1.0)
        win_chance = 1.0 - upset if wa.rating >= la.rating else upset
        change = 4.0 * math.sqrt(length) * (1.0 - win_chance)
        wa.rating = round(wa.rating + change, 2)
        la.rating = round(la.rating - change, 2)

    def _seed(self, *parts):
        return "fibs-sim dice %d %s" % (self.server.seed, " ".join(str(p) for p in parts))

    # -- starting, ending, saving

    def begin(self, inviter, joiner, length):
        self.match_count += 1
        match = LiveMatch(self, inviter, joiner, length,
                          self._seed(inviter.name, joiner.name, self.match_count),
                          crawford=bool(inviter.account.toggles.get("crawford", 1)
                                        or joiner.account.toggles.get("crawford", 1)))
        self._take_saved(inviter.name, joiner.name)
        self._seat(match, inviter, joiner)
        if not is_robot(inviter):
            inviter.connection.send_lines(["** Player %s has joined you for %s." % (
                joiner.name, a_match(length))])
        if not is_robot(joiner):
            joiner.connection.send_lines(["** You are now playing %s with %s" % (
                a_match(length), inviter.name)])
        self.who([inviter, joiner])
        self.report(match, ["", "%s and %s start %s." % (inviter.name, joiner.name,
                                                         a_match(length))])
        match.start_game()
        return match

    def _seat(self, match, a, b):
        for p in (a, b):
            self.invitations.pop(p.name, None)
            for offers in self.invitations.values():
                offers.pop(p.name, None)
            p.watching = None
        a.opponent, b.opponent = b, a
        a.match = b.match = match

    def finished(self, match):
        players = [s.player for s in match.sides.values()]
        for p in players:
            p.opponent = None
            p.match = None
        self.who(players)
        if self.pair and all(p in self.pair for p in players):
            self._pair_rest()

    def leave(self, player, how):
        """The player leaves the match (how: leave, logs out, drops connection); it is saved."""
        match = player.match
        key = match.side_of(player)
        other = match.other(key)
        name, other_name = player.name, match.sides[other].name
        if match.phase == "double":
            match.offer = None
            match.phase = "roll"
        elif match.phase == "resign":
            match.phase = match.resignation[2]
            match.resignation = None
        match._changed()
        if how == "leave":
            player.connection.send_lines(["** You terminated the game. The game was saved."])
            match._tell_side(other, ["** Player %s has left the game. The game was saved."
                                     % name])
            self.report(match, ["", "%s has left the game with %s." % (name, other_name), ""])
        else:
            note = ["", "%s %s. The game was saved." % (name, how)]
            match._emit(lambda view, you: None if you and view == key else note)
        players = [s.player for s in match.sides.values()]
        for side in match.sides.values():
            side.player = None
        for p in players:
            p.opponent = None
            p.match = None
        self._take_saved(name, other_name)
        self.server.saved.append(match)
        self.who([p for p in players if p is not player or how == "leave"])

    def _find_saved(self, name, other):
        for entry in self.server.saved:
            if set(entry.names) == {name, other}:
                return entry
        return None

    def _take_saved(self, name, other):
        """Removes and returns the saved match of the two, or None."""
        entry = self._find_saved(name, other)
        if entry is not None:
            self.server.saved.remove(entry)
        return entry

    def resume(self, inviter, joiner):
        match = self._take_saved(inviter.name, joiner.name)
        if not isinstance(match, LiveMatch):
            # a match saved before this server started: it goes on with a new game
            first = inviter if match.names[0] == inviter.name else joiner
            second = joiner if first is inviter else inviter
            self.match_count += 1
            match = LiveMatch(self, first, second, match.length,
                              self._seed(first.name, second.name, self.match_count),
                              *match.scores)
        for side in match.sides.values():
            side.player = inviter if side.name == inviter.name else joiner
        self._seat(match, inviter, joiner)
        match._changed()
        if not is_robot(joiner):
            joiner.connection.send_lines([
                "", "You are now playing with %s. Your running match was loaded." % inviter.name])
        if not is_robot(inviter):
            inviter.connection.send_lines([
                "", "%s has joined you. Your running match was loaded." % joiner.name])
        a, b = match.sides["a"], match.sides["b"]
        on_turn = match.sides[match.turn].name if match.turn else a.name
        length = "unlimited" if match.length == UNLIMITED else str(match.length)
        details = ["turn: %s." % on_turn, "match length: %s" % length,
                   "points for %s: %d" % (a.name, match.score.points["a"]),
                   "points for %s: %d" % (b.name, match.score.points["b"])]
        for p in (inviter, joiner):
            if not is_robot(p):
                p.connection.send_lines(details)
        self.who([inviter, joiner])
        kind = "unlimited match" if match.length == UNLIMITED else "%d-point match" % match.length
        self.report(match, ["", "%s and %s are resuming their %s." % (inviter.name, joiner.name,
                                                                       kind)])
        if match.phase == "between":
            match.start_game()
            return
        match._emit(lambda view, you: [], board="move")
        match._continue_turn()

    def player_leaving(self, player, reason):
        """The player logs out or drops connection: the match is saved, watchers let go."""
        if isinstance(player.match, LiveMatch):
            self.leave(player, reason)
        self.invitations.pop(player.name, None)
        for offers in self.invitations.values():
            offers.pop(player.name, None)
        for other in list(self.server.online.values()):
            if other.watching is player:
                other.watching = None
                if other.connection is not None:
                    other.connection.send_lines(["You stop watching %s." % player.name])
        player.watching = None

    # -- invitations

    def invite(self, player, args):
        if not args:
            return ["** invite whom?"]
        target = self.find(args[0])
        if target is None:
            return ["** There is no one called %s." % args[0]]
        if target is player:
            return ["** You can't invite yourself."]
        if not player.account.toggles.get("ready"):
            return ["** Use 'toggle ready' first"]
        if player.match is not None:
            return ["** You are already playing."]
        if target.opponent is not None or target.match is not None:
            return ["** Error: %s is already playing with someone else." % target.name]
        if not target.account.toggles.get("ready"):
            return ["** %s is refusing games." % target.name]
        if len(args) < 2:
            if self._find_saved(player.name, target.name) is None:
                return ["** You have no saved match with %s. Please give a match length."
                        % target.name]
            length = None
        elif args[1].lower() in ("unlimited", "u"):
            length = UNLIMITED
        elif args[1].isdigit() and 1 <= int(args[1]) <= 99:
            length = int(args[1])
        else:
            return ["** The match length must be a number from 1 to 99 or 'unlimited'."]
        self.invitations.setdefault(target.name, {})[player.name] = length
        if length is None:
            reply = ["** You invited %s to resume a saved match." % target.name]
            notice = "%s wants to resume a saved match with you." % player.name
        else:
            reply = ["** You invited %s to %s." % (target.name, a_match(length))]
            notice = "%s wants to play %s with you." % (player.name, a_match(length))
        reply.append("** Please wait for %s to join too." % target.name)
        if is_robot(target):
            self._robot_invited(target, player, length)
        else:
            target.connection.send_lines(["", notice, "Type 'join %s' to accept." % player.name])
        return reply

    def join(self, player, args):
        match = player.match
        if not args:
            if isinstance(match, LiveMatch) and match.phase == "between":
                match.join_next(match.side_of(player))
                return []
            if match is not None:
                return ["** You are already playing."]
            return ["** Nobody invited you."]
        if match is not None:
            return ["** You are already playing."]
        offers = self.invitations.get(player.name, {})
        inviter = self.find(args[0])
        if inviter is None:
            return ["** There is no one called %s." % args[0]]
        if inviter.name not in offers:
            return ["** %s didn't invite you." % inviter.name]
        if inviter.match is not None:
            return ["** Error: %s is already playing with someone else." % inviter.name]
        length = offers[inviter.name]
        if length is None:
            self.resume(inviter, player)
        else:
            self.begin(inviter, player, length)
        return []

    # -- watching

    def watch(self, player, args):
        if not args:
            return ["** Watch whom?"]
        if player.match is not None:
            return ["** You can't watch another game while you're playing."]
        target = self.find(args[0])
        if target is None:
            return ["** There is no one called %s." % args[0]]
        if target is player:
            return ["** You can't watch yourself."]
        player.watching = target
        player.connection.send_lines(["You're now watching %s." % target.name])
        playing = isinstance(target.match, LiveMatch)
        match = self.live(target)
        if match is None:
            player.connection.send_lines(["%s is not doing anything interesting." % target.name])
        elif playing:
            # a match that has just been taken up has shown its start already
            player.connection.send_lines(["", match.board_for(match.side_of(target), False), ""])
        self.who([player])
        if target in self.pair and target.match is None:
            self._pair_rest(0)
        return []

    def unwatch(self, player):
        if player.watching is None:
            return ["** You're not watching."]
        name = player.watching.name
        player.watching = None
        player.connection.send_lines(["You stop watching %s." % name])
        self.who([player])
        return []

    def look(self, player, args):
        if not args:
            return ["** Look at whom?"]
        target = self.find(args[0])
        if target is None:
            return ["** There is no one called %s." % args[0]]
        match = self.live(target)
        if match is None:
            return ["** %s is not playing." % target.name]
        return [match.board_for(match.side_of(target), target is player)]

    def board(self, player):
        match = player.match
        if isinstance(match, LiveMatch):
            return ["", match.board_for(match.side_of(player), True), ""]
        if player.watching is not None:
            match = self.live(player.watching)
            if match is not None:
                return ["", match.board_for(match.side_of(player.watching), False), ""]
        return ["** You're not playing."]

    # -- play commands

    def game_command(self, player, command, args):
        match = player.match
        if not isinstance(match, LiveMatch):
            return ["** You're not playing."]
        key = match.side_of(player)
        handler = getattr(self, "_cmd_" + command)
        return handler(match, key, args) or []

    def _cmd_roll(self, match, key, args):
        if match.phase == "between":
            return ["** The game is over. Type 'join' to play the next game."]
        if match.turn != key:
            return ["** It's not your turn to roll the dice."]
        if match.phase == "move":
            return ["** You did already roll the dice."]
        if match.phase != "roll":
            return ["** You can't roll now."]
        match.roll(key)

    def _cmd_move(self, match, key, args):
        if match.turn != key or match.phase not in ("move", "roll"):
            return ["** It's not your turn to move."]
        if match.phase == "roll":
            return ["** You have to roll the dice first."]
        try:
            steps = bg.parse_steps(match.sides[key].colour, args)
            match.move(key, steps)
        except bg.IllegalMove as refusal:
            return [str(refusal)]

    def _cmd_double(self, match, key, args):
        if match.turn != key or match.phase not in ("roll", "move"):
            return ["** It's not your turn to double."]
        if match.phase == "move":
            return ["** You can only double before you roll the dice."]
        if match.score.crawford_game:
            return ["** You can't double during the Crawford game."]
        if not match.score.may_double(key, match.cube_owner):
            return ["** You can't double. %s has the cube."
                    % match.sides[match.other(key)].name]
        match.double(key)

    def _cmd_accept(self, match, key, args):
        if match.phase == "double" and match.offer != key:
            match.take(key)
        elif match.phase == "resign" and match.resignation[0] != key:
            match.accept_resignation(key)
        else:
            return ["** There's nothing to accept."]

    def _cmd_reject(self, match, key, args):
        if match.phase == "double" and match.offer != key:
            match.drop(key)
        elif match.phase == "resign" and match.resignation[0] != key:
            match.reject_resignation(key)
        else:
            return ["** There's nothing to reject."]

    def _cmd_resign(self, match, key, args):
        level = RESIGN_LEVELS.get(args[0].lower()) if args else None
        if level is None:
            return ["** Usage: resign normal, resign gammon or resign backgammon."]
        if match.phase in ("between", "over"):
            return ["** The game is over. Type 'join' to play the next game."]
        if match.phase == "resign":
            return ["** There is a resignation to answer first."]
        if match.phase == "double":
            return ["** Please accept or reject the double first."]
        match.resign(key, level)

    def _cmd_leave(self, match, key, args):
        self.leave(match.sides[key].player, "leave")

    # -- robots

    def robot_turn(self, match):
        """Some robot of the match has to act: it does so after the pace delay."""
        version = match.version
        self.clock.later(self.pace, lambda: self._robot_act(match, version))

    def _robot_act(self, match, version):
        if match.version != version or match.phase == "over":
            return
        if any(s.player is None for s in match.sides.values()):
            return
        now = time.time()
        for side in match.sides.values():
            if is_robot(side.player):
                side.player.last_active = now
        phase = match.phase
        if phase == "between":
            for key, side in match.sides.items():
                if is_robot(side.player) and not side.joined:
                    match.join_next(key)
                    if match.phase == "between":
                        self.robot_turn(match)
                    return
            return
        if phase == "double":
            key = match.other(match.offer)
            if is_robot(match.sides[key].player):
                (match.take if self._robot_takes(match, key) else match.drop)(key)
            return
        if phase == "resign":
            resigner, points, _ = match.resignation
            key = match.other(resigner)
            if is_robot(match.sides[key].player):
                colour = match.sides[key].colour
                if points >= expected_result(match.position, colour) * match.cube:
                    match.accept_resignation(key)
                else:
                    match.reject_resignation(key)
            return
        key = match.turn
        side = match.sides[key]
        if not is_robot(side.player):
            return
        if phase == "roll":
            level = self._robot_resignation(match, key)
            if level:
                match.resign(key, level)
            elif match.may_double(key) and self._robot_doubles(match, key):
                match.double(key)
            else:
                match.roll(key)
        elif phase == "move":
            play = bg.choose_play(match.position, side.colour, match.dice, match.robot_rng)
            match._play(key, play.steps, play.position)

    @staticmethod
    def _robot_doubles(match, key):
        score = match.score
        if score.length != UNLIMITED and score.length - score.points[key] <= match.cube:
            return False  # the cube already wins the match
        if (score.crawford_done and match.cube == 1
                and score.points[match.other(key)] == score.length - 1):
            return True   # after the Crawford game the trailer doubles at once
        lead = pip_lead(match.position, match.sides[key].colour)
        return 0.12 <= lead < 0.3

    @staticmethod
    def _robot_takes(match, key):
        score = match.score
        doubler = match.offer
        if score.length != UNLIMITED and score.length - score.points[doubler] <= match.cube:
            return True   # the game decides the match anyway
        return pip_lead(match.position, match.sides[doubler].colour) < 0.22

    @staticmethod
    def _robot_resignation(match, key):
        if not match.robots_resign:
            return 0
        colour = match.sides[key].colour
        pos = match.position
        if not pos.all_home(-colour) or pos.pips(colour) - pos.pips(-colour) < 60:
            return 0
        level = expected_result(pos, -colour)
        # with a backgammon in sight a robot plays on: the dice may still save it
        return level if level < 3 else 0

    def _robot_invited(self, robot, inviter, length):
        if robot.special:
            return
        resume = length is None
        if not resume and robot.name not in self.accepting:
            return

        def answer():
            offers = self.invitations.get(robot.name, {})
            if (inviter.name in offers and offers[inviter.name] == length
                    and self.server.online.get(inviter.name) is inviter
                    and inviter.match is None and robot.match is None):
                if resume:
                    self.resume(inviter, robot)
                else:
                    self.begin(inviter, robot, length)
        self.clock.later(self.pace, answer)

    # -- the pair of robots that play each other while someone watches

    def _pair_rest(self, delay=None):
        if self.pair_waiting:
            return
        self.pair_waiting = True
        if delay is None:
            delay = max(1.0, 10 * self.pace)
        self.clock.later(delay, self._pair_start)

    def _pair_start(self):
        self.pair_waiting = False
        a, b = self.pair
        if a.match is not None or b.match is not None:
            return
        if not any(p.watching in (a, b) for p in self.server.online.values()):
            return
        self.pair_matches += 1
        self.match_count += 1
        match = LiveMatch(self, a, b, PAIR_LENGTH,
                          "fibs-sim pair %s %d" % (PAIR_DICE, self.pair_matches))
        match.robots_resign = True
        self._seat(match, a, b)
        self.who([a, b])
        self.report(match, ["", "%s and %s start %s." % (a.name, b.name,
                                                         a_match(PAIR_LENGTH))])
        match.start_game()


class MatchCommands:
    """The match commands of a logged-in connection (mixed into ClientConnection)."""

    MATCH_COMMANDS = {
        "invite": "cmd_invite", "join": "cmd_join", "leave": "cmd_leave", "roll": "cmd_roll",
        "move": "cmd_move", "m": "cmd_move", "double": "cmd_double", "redouble": "cmd_double",
        "accept": "cmd_accept", "reject": "cmd_reject", "resign": "cmd_resign",
        "board": "cmd_board", "watch": "cmd_watch", "unwatch": "cmd_unwatch",
        "look": "cmd_look",
    }

    def _hall_reply(self, lines):
        if lines:
            self.send_lines(lines)

    def cmd_invite(self, args):
        with self.server.lock:
            self._hall_reply(self.server.hall.invite(self.player, args))

    def cmd_join(self, args):
        with self.server.lock:
            self._hall_reply(self.server.hall.join(self.player, args))

    def _game(self, command, args):
        with self.server.lock:
            self._hall_reply(self.server.hall.game_command(self.player, command, args))

    def cmd_leave(self, args):
        self._game("leave", args)

    def cmd_roll(self, args):
        self._game("roll", args)

    def cmd_move(self, args):
        self._game("move", args)

    def cmd_double(self, args):
        self._game("double", args)

    def cmd_accept(self, args):
        self._game("accept", args)

    def cmd_reject(self, args):
        self._game("reject", args)

    def cmd_resign(self, args):
        self._game("resign", args)

    def cmd_board(self, args):
        with self.server.lock:
            self._hall_reply(self.server.hall.board(self.player))

    def cmd_watch(self, args):
        with self.server.lock:
            self._hall_reply(self.server.hall.watch(self.player, args))

    def cmd_unwatch(self, args):
        with self.server.lock:
            self._hall_reply(self.server.hall.unwatch(self.player))

    def cmd_look(self, args):
        with self.server.lock:
            self._hall_reply(self.server.hall.look(self.player, args))
