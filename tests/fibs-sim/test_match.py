"""Tests of the simulator's matches: the rules, the board line, and matches played and watched
over real sockets."""

import os
import pathlib
import random
import re
import select
import socket
import sys
import threading
import time
import types
import unittest

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import backgammon as bg  # noqa: E402
import fibs_matches  # noqa: E402
import fibs_sim  # noqa: E402
from backgammon import O, X  # noqa: E402

SOURCE = pathlib.Path(os.environ.get("TABULON_SOURCE_DIR", HERE.parent.parent))
RECORDING = (SOURCE.parent / "shared" / "fixtures" / "fibs-sessions"
             / "fibs-2020-07-03-watching.txt")

# the protocol page's example: watching GammonBot_VII against pipcat, before pipcat's first move
PAGE_EXAMPLE = ("board:GammonBot_VII:pipcat:5:0:0:0:-2:0:0:0:0:5:0:3:0:0:0:-5:5:0:0:0:-3:0:-5:0:0:"
                "0:0:2:0:1:0:0:5:1:1:1:1:0:-1:1:25:0:0:0:0:0:2:1:0:0")


def position(o=None, x=None, o_off=0, x_off=0):
    """A position from {point: count} for each colour; the bars are 25 (O) and 0 (X)."""
    board = [0] * 26
    for point, n in (o or {}).items():
        board[point] = n
    for point, n in (x or {}).items():
        board[point] = -n
    return bg.Position(board, {O: o_off, X: x_off})


def position_of(board_line):
    """The position and the near side's colour and dice of a board line."""
    f = board_line.split(":")
    colour = int(f[41])
    pos = bg.Position([int(v) for v in f[6:32]], {colour: int(f[45]), -colour: int(f[46])})
    return pos, colour, (int(f[33]), int(f[34]))


class RulesTest(unittest.TestCase):
    def outcomes(self, pos, colour, dice):
        return sorted(tuple(sorted(play.steps)) for play in bg.legal_plays(pos, colour, dice))

    def test_legal_plays(self):
        cases = [
            # (what, position, colour, dice, every legal play)
            ("a checker on the bar enters before anything else moves",
             position(o={25: 1, 13: 5}, x={22: 2}), O, (3, 1),
             [((25, 24), (24, 21)), ((25, 24), (13, 10))]),
            ("no entry on a closed point: the roll is lost",
             position(o={25: 1, 13: 5}, x={19: 2, 20: 2}), O, (6, 5), [()]),
            ("either die alone but not both: the larger one",
             position(o={13: 1}, o_off=14, x={2: 2, 1: 13}), O, (6, 5), [((13, 7),)]),
            ("the smaller die when the larger one cannot move",
             position(o={13: 1}, o_off=14, x={7: 2, 2: 2, 1: 11}), O, (6, 5), [((13, 8),)]),
            ("both dice have to be played when they can",
             position(o={13: 1}, o_off=14, x={8: 2, 1: 13}), O, (6, 5), [((13, 7), (7, 2))]),
            ("a larger die bears off the rearmost checker only",
             position(o={6: 1, 3: 1}, o_off=13), O, (6, 2),
             [((6, 0), (3, 1)), ((6, 4), (4, 0))]),
            ("no bearing off while a checker is outside the home board",
             position(o={7: 1, 3: 1}, o_off=13), O, (3, 1),
             [((3, 2), (7, 4)), ((7, 4), (4, 3)), ((7, 6), (3, 0))]),
            ("X bears off towards 25",
             position(x={19: 1, 22: 1}, x_off=13), X, (6, 3),
             [((19, 25), (22, 25)), ((19, 22), (22, 25))]),
        ]
        for what, pos, colour, dice, plays in cases:
            with self.subTest(what):
                self.assertEqual(self.outcomes(pos, colour, dice),
                                 sorted(tuple(sorted(p)) for p in plays))

    def test_doubles_move_four_checkers_and_hits_go_to_the_bar(self):
        plays = bg.legal_plays(bg.Position.start(), O, (6, 6))
        self.assertEqual({len(p.steps) for p in plays}, {4})
        self.assertEqual(bg.checkers_to_move(plays), 4)
        hit = position(o={8: 1}, x={5: 1, 12: 5}).apply(O, 8, 5)
        self.assertEqual((hit.board[5], hit.board[0]), (1, -1))
        hit = position(x={4: 1}, o={9: 1}).apply(X, 4, 9)
        self.assertEqual((hit.board[9], hit.board[25]), (-1, 1))

    def test_a_move_command_is_checked_against_the_rules(self):
        start = bg.Position.start()
        moved = bg.find_play(start, O, (3, 1), bg.parse_steps(O, ["8-5", "6-5"]))
        self.assertEqual((moved.board[8], moved.board[6], moved.board[5]), (2, 4, 2))
        # the order of the steps does not matter when both orders are legal in the end
        pos = position(o={7: 1, 3: 1}, o_off=13)
        self.assertEqual(bg.find_play(pos, O, (3, 1), bg.parse_steps(O, ["3-off", "7-6"])),
                         bg.find_play(pos, O, (3, 1), bg.parse_steps(O, ["7-6", "3-off"])))
        refusals = [
            (start, (3, 1), ["8-5"], "** You must give 2 moves."),
            (start, (3, 1), ["9-6", "6-5"], "** You don't have a piece on point 9."),
            (start, (3, 1), ["13-10", "24-23"], None),
            (start, (6, 5), ["6-1", "6-0"], "** You can't move that way."),
            (start, (3, 1), ["8-x"], "** Illegal move."),
            (position(o={25: 1, 13: 5}, x={19: 2, 20: 2}), (6, 5), ["13-7", "13-8"],
             "** You can't move."),
            (position(o={13: 1}, o_off=14, x={2: 2, 1: 13}), (6, 5), ["13-8"],
             "** You can't move that way."),
        ]
        for pos, dice, words, refusal in refusals:
            with self.subTest(words=words, dice=dice):
                if refusal is None:
                    bg.find_play(pos, O, dice, bg.parse_steps(O, words))
                    continue
                with self.assertRaises(bg.IllegalMove) as caught:
                    bg.find_play(pos, O, dice, bg.parse_steps(O, words))
                self.assertEqual(str(caught.exception), refusal)

    def test_move_texts_name_the_bar_and_the_tray(self):
        self.assertEqual(bg.parse_steps(O, ["bar-22", "6-off"]), [(25, 22), (6, 0)])
        self.assertEqual(bg.parse_steps(X, ["bar-3", "22-off"]), [(0, 3), (22, 25)])
        self.assertEqual(bg.parse_steps(O, ["25-24"]), [(25, 24)])
        self.assertEqual(bg.format_steps(X, [(0, 3), (3, 5), (20, 25)]), "bar-3 3-5 20-off")

    def test_results(self):
        cases = [
            ("single", position(o={}, o_off=15, x={20: 14}, x_off=1), 1),
            ("gammon", position(o={}, o_off=15, x={20: 15}), 2),
            ("backgammon: a checker in the winner's home board",
             position(o={}, o_off=15, x={20: 14, 3: 1}), 3),
            ("backgammon: a checker on the bar", position(o={}, o_off=15, x={20: 14, 0: 1}), 3),
        ]
        for what, pos, points in cases:
            with self.subTest(what):
                self.assertEqual(pos.winner(), O)
                self.assertEqual(pos.result(O), points)

    def test_crawford_game_and_cube(self):
        score = bg.MatchScore(3)
        self.assertTrue(score.may_double("a", None))
        self.assertFalse(score.may_double("a", "b"))
        self.assertTrue(score.may_double("b", "b"))
        score.record("a", 2)
        self.assertTrue(score.crawford_game)
        self.assertFalse(score.may_double("b", None))
        score.record("b", 1)
        self.assertFalse(score.crawford_game)
        self.assertTrue(score.crawford_done)
        self.assertTrue(score.may_double("b", None))
        score.record("b", 1)
        self.assertFalse(score.crawford_game)
        self.assertIsNone(score.winner())
        score.record("a", 1)
        self.assertEqual(score.winner(), "a")

        without = bg.MatchScore(3, crawford=False)
        without.record("a", 2)
        self.assertFalse(without.crawford_game)
        unlimited = bg.MatchScore(bg.UNLIMITED)
        unlimited.record("a", 9998)
        self.assertFalse(unlimited.crawford_game)
        self.assertIsNone(unlimited.winner())


# ---------------------------------------------------------------- the recorded match

class _Dice:
    """Dice that come out as the recording says."""

    def __init__(self, colour):
        self.values = []
        self.colour = colour

    def randint(self, low, high):
        return self.values.pop(0)

    def choice(self, options):
        return self.colour


class _Capture:
    def __init__(self):
        self.lines = []

    def send_lines(self, lines):
        self.lines += lines


class _QuietHall:
    """Just enough of a hall for a match driven by hand."""

    def __init__(self, online):
        self.server = types.SimpleNamespace(online=online)

    def robot_turn(self, match):
        pass

    def report(self, match, lines, to_watchers=True):
        pass

    def rate(self, winner, loser, length):
        pass

    def finished(self, match):
        pass


def _player(name, connection=None):
    return fibs_sim.Player(fibs_sim.Account(name, None), "host.example.net", "-", 0, connection)


@unittest.skipUnless(RECORDING.is_file(), "the recorded sessions are not at %s" % RECORDING)
class RecordedMatchTest(unittest.TestCase):
    """The watched 5-point match of the recording, replayed through the simulator's match."""

    def setUp(self):
        lines = RECORDING.read_text(encoding="latin-1").split("\n")
        first = lines.index("Starting a new game with pipcat.") - 1
        last = lines.index("GammonBot_VII wins the 5 point match 5-0 .") + 1
        # what the watcher got from this match alone: no CLIP lines, no other match's news
        self.expected = []
        drop_blank = False
        for line in lines[first:last]:
            if re.match(r"\d+( |$)", line):
                continue
            if re.search(r" start a | wins a \d+ point match| are resuming | has left the game",
                         line):
                if self.expected and self.expected[-1] == "":
                    self.expected.pop()
                drop_blank = "has left the game" in line
                continue
            if drop_blank and line == "":
                drop_blank = False
                continue
            self.expected.append(line)

    def test_the_watcher_gets_the_recorded_lines(self):
        watcher = _player("jonathanballs", _Capture())
        watcher.account.toggles["moreboards"] = 1
        gammonbot, pipcat = _player("GammonBot_VII"), _player("pipcat")
        watcher.watching = gammonbot
        hall = _QuietHall({p.name: p for p in (gammonbot, pipcat, watcher)})
        match = fibs_matches.LiveMatch(hall, gammonbot, pipcat, 5, "recorded")
        key = {"GammonBot_VII": "a", "pipcat": "b"}
        dice = match.rng = _Dice(X)
        for line in self.expected:
            opening = re.match(r"(\S+) rolled (\d), (\S+) rolled (\d)$", line)
            if opening:
                rolled = {key[opening[1]]: int(opening[2]), key[opening[3]]: int(opening[4])}
                dice.values += [rolled["a"], rolled["b"]]
            roll = re.match(r"\S+ rolls (\d) and (\d)\.$", line)
            if roll:
                dice.values += [int(roll[1]), int(roll[2])]

        for line in self.expected:
            name = line.split(" ")[0]
            side = key.get(name)
            if line.startswith("Starting a new game"):
                if match.game_number:
                    match.join_next("a")
                    match.join_next("b")
                else:
                    match.start_game()
            elif " rolls " in line and match.phase == "roll" and match.turn == side:
                match.roll(side)
            elif " moves " in line:
                steps = line.split(" moves ")[1][:-2].split()
                match.move(side, bg.parse_steps(match.sides[side].colour, steps))
            elif line.endswith(" doubles."):
                match.double(side)
            elif line.endswith(" accepts the double."):
                match.take(side)
            elif " wants to resign." in line:
                points = int(re.search(r"win (\d+) point", line)[1])
                match.resign(side, points // match.cube)
            elif " accepts and wins " in line:
                match.accept_resignation(side)
        self.assertEqual(watcher.connection.lines, self.expected)

    def test_the_board_line_of_the_protocol_page(self):
        gammonbot, pipcat = _player("GammonBot_VII"), _player("pipcat")
        match = fibs_matches.LiveMatch(_QuietHall({}), gammonbot, pipcat, 5, "page")
        match.rng = _Dice(X)
        match.rng.values = [1, 5]
        match.start_game()
        self.assertEqual(match.board_for("a", False), PAGE_EXAMPLE)
        self.assertEqual(match.board_for("a", True), PAGE_EXAMPLE.replace("GammonBot_VII", "You"))
        fields = match.board_for("b", True).split(":")
        self.assertEqual(len(fields), 53)
        # pipcat's own view: O moving towards 0, its dice first, the opponent's bar at 0
        self.assertEqual(fields[1:3] + fields[32:37] + fields[41:45],
                         ["You", "GammonBot_VII", "1", "5", "1", "0", "0", "1", "-1", "0", "25"])


class TurnTextsTest(unittest.TestCase):
    """What the two players of a match read, around positions set up by hand."""

    def setUp(self):
        self.alice, self.bob = _player("alice", _Capture()), _player("bob", _Capture())
        server = types.SimpleNamespace(
            lock=threading.RLock(), seed=1, robots=[], saved=[], broadcast=lambda lines: None,
            online={"alice": self.alice, "bob": self.bob})
        self.hall = fibs_matches.MatchHall(server, pace=0)
        self.match = fibs_matches.LiveMatch(self.hall, self.alice, self.bob, 5, "texts")
        self.alice.match = self.bob.match = self.match
        self.alice.opponent, self.bob.opponent = self.bob, self.alice
        self.match.sides["a"].colour, self.match.sides["b"].colour = O, X
        self.match.game_number = 1
        self.match.rng = _Dice(None)

    def alice_to_roll(self, pos, *dice):
        self.match.position = pos
        self.match.turn, self.match.phase = "a", "roll"
        self.match.rng.values = list(dice)
        self.match.roll("a")

    def heard(self, player):
        lines, player.connection.lines = player.connection.lines, []
        return [line for line in lines if not line.startswith("board:")]

    def command(self, player, command, *args):
        return self.hall.game_command(player, command, list(args))

    def test_a_forced_move_is_made_for_a_player_with_automove(self):
        self.alice.account.toggles["automove"] = 1
        blocked = {p: 2 for p in range(18, 24)}
        blocked[12] = 3
        self.alice_to_roll(position(o={25: 1, 6: 14}, x=blocked), 6, 1)
        self.assertEqual(self.heard(self.alice), [
            "", "You roll 6 and 1.", "", "The only possible move is 25-24 ."])
        self.assertEqual(self.heard(self.bob), [
            "", "alice rolls 6 and 1.", "", "alice moves bar-24 .",
            "", "It's your turn. Please roll or double"])

    def test_greedy_bear_off_ends_the_game(self):
        self.alice.account.toggles["greedy"] = 1
        self.alice_to_roll(position(o={6: 1, 5: 1}, o_off=13, x={12: 14}, x_off=1), 6, 5)
        join = "Type 'join' if you want to play the next game, type 'leave' if you don't."
        self.assertEqual(self.heard(self.alice), [
            "", "You roll 6 and 5.", "", "Bearing off: 6 o 5 o",
            "", "You win the game and get 1 point. Congratulations!",
            "", "score in 5 point match: You-1 bob-0", "", join])
        self.assertEqual(self.heard(self.bob), [
            "", "alice rolls 6 and 5.", "", "alice moves 6-off 5-off .",
            "", "alice wins the game and gets 1 point. Sorry.",
            "", "score in 5 point match: You-0 alice-1", "", join])
        self.assertEqual(self.hall.join(self.alice, []), [])
        self.assertEqual(self.heard(self.alice), ["** Please wait for bob to join too."])
        self.match.rng.values = [2, 5]
        self.hall.join(self.bob, [])
        self.assertEqual(self.heard(self.bob), [
            "", "Starting a new game with alice.", "", "You rolled 5, alice rolled 2",
            "", "It's your turn to move."])
        self.assertEqual(self.heard(self.alice)[-2:], ["", "bob makes the first move."])

    def test_a_dance_passes_the_turn(self):
        closed = {p: 2 for p in range(19, 25)}
        closed[12] = 3
        self.alice_to_roll(position(o={25: 2, 6: 13}, x=closed), 4, 2)
        self.assertEqual(self.heard(self.alice), ["", "You roll 4 and 2.", "You can't move.", ""])
        self.assertEqual(self.heard(self.bob), [
            "", "alice rolls 4 and 2.", "alice can't move.", "", "",
            "", "It's your turn. Please roll or double"])

    def test_cube_and_resignation_answers(self):
        self.match.turn, self.match.phase = "a", "roll"
        self.assertEqual(self.command(self.bob, "double"), ["** It's not your turn to double."])
        self.assertEqual(self.command(self.bob, "accept"), ["** There's nothing to accept."])
        self.command(self.alice, "resign", "g")
        self.assertEqual(self.heard(self.alice), [
            "", "You want to resign. bob will win 2 points."])
        self.assertEqual(self.heard(self.bob), [
            "", "alice wants to resign. You will win 2 points. Type 'accept' or 'reject'."])
        self.command(self.bob, "reject")
        self.assertEqual(self.heard(self.bob), ["", "You reject. The game continues."])
        self.assertEqual(self.heard(self.alice), [
            "", "bob rejects. The game continues.", "", "It's your turn to roll or double."])

        self.command(self.alice, "double")
        self.assertEqual(self.heard(self.alice), [
            "", "You double. Please wait for bob to accept or reject."])
        self.assertEqual(self.heard(self.bob), ["", "alice doubles. Type 'accept' or 'reject'."])
        self.assertEqual(self.command(self.alice, "reject"), ["** There's nothing to reject."])
        self.command(self.bob, "reject")
        self.assertEqual(self.heard(self.bob)[:2], ["", "You give up. alice wins 1 point."])
        self.assertEqual(self.heard(self.alice)[:4], [
            "", "bob gives up. You win 1 point.", "", "score in 5 point match: You-1 bob-0"])

    def test_no_double_in_the_crawford_game(self):
        self.match.score.crawford_game = True
        self.match.turn, self.match.phase = "a", "roll"
        self.assertEqual(self.command(self.alice, "double"),
                         ["** You can't double during the Crawford game."])
        # the board still shows who owns the cube, as the server does in a Crawford game
        self.assertEqual(self.match.board_for("a", True).split(":")[37:40], ["1", "1", "1"])


# ---------------------------------------------------------------- over sockets

class Wire:
    """A raw client: reads whole lines, ignores telnet (the simulator sends none here)."""

    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=10)
        self.buffer = ""
        self.seen = []

    def send(self, line):
        self.sock.sendall((line + "\r\n").encode("latin-1"))

    def line(self, timeout=10.0):
        deadline = time.monotonic() + timeout
        while "\r\n" not in self.buffer:
            remaining = deadline - time.monotonic()
            ready = select.select([self.sock], [], [], max(remaining, 0))[0]
            if not ready:
                raise AssertionError("no line within %s s; last lines %r"
                                     % (timeout, self.seen[-15:]))
            chunk = self.sock.recv(65536)
            if not chunk:
                raise AssertionError("connection closed; last lines %r" % self.seen[-15:])
            self.buffer += chunk.decode("latin-1")
        line, self.buffer = self.buffer.split("\r\n", 1)
        self.seen.append(line)
        return line

    def until(self, pattern, timeout=10.0):
        """Reads up to the first line matching pattern (a regular expression); returns the
        lines read, that one last, less the who updates, logins and logouts among them."""
        lines = []
        while True:
            line = self.line(timeout)
            if re.search(pattern, line):
                return lines + [line]
            if not re.match(r"[5678]( |$)", line):
                lines.append(line)

    def pending(self, seconds):
        """The whole lines that arrive within the given time."""
        lines = []
        deadline = time.monotonic() + seconds
        while True:
            try:
                lines.append(self.line(max(deadline - time.monotonic(), 0.001)))
            except AssertionError:
                return lines

    def login(self, name):
        self.buffer = ""
        self.sock.sendall(b"login TestClient 1008 %s secret\r\n" % name.encode())
        # the who batch closes with "6" and an empty line
        previous = None
        while True:
            line = self.line()
            if previous == "6" and line == "":
                return
            previous = line

    def close(self):
        self.sock.close()


class SocketCase(unittest.TestCase):
    options = {}

    def setUp(self):
        options = dict({"population": 8, "seed": 5, "robot_pace": 0.0}, **self.options)
        self.server = fibs_sim.start_server(port=0, **options)
        self.addCleanup(self.server.stop)

    def connect(self, name, ready=False):
        wire = Wire(self.server.port)
        self.addCleanup(wire.close)
        wire.login(name)
        with self.server.lock:
            toggle = ready and not self.server.accounts[name].toggles["ready"]
        if toggle:
            wire.send("toggle ready")
            wire.until(r"^\*\* You're now ready")
        return wire

    def robot(self):
        """An idle, ready robot that accepts invitations."""
        with self.server.lock:
            names = sorted(r.name for r in self.server.robots
                           if r.name in self.server.hall.accepting and r.opponent is None
                           and r.account.toggles["ready"])
        self.assertTrue(names, "no robot accepts invitations with these options")
        return names[0]


def check_board_follows(test, before, move_line, after):
    """The board after a reported move is the one before with the move applied."""
    pos, _, _ = position_of(before)
    mover = int(before.split(":")[32])
    steps = bg.parse_steps(mover, move_line.split(" moves ")[1][:-2].split())
    for src, dst in steps:
        test.assertIsNotNone(dst, move_line)
        pos = pos.apply(mover, src, dst)
    test.assertEqual(pos.board, position_of(after)[0].board, move_line)


class WatchedPairTest(SocketCase):
    options = {"robot_pair": list(fibs_matches.PAIR_NAMES)}

    def test_a_whole_match_with_doubles_a_gammon_and_the_crawford_game(self):
        first, second = fibs_matches.PAIR_NAMES
        bob = self.connect("bob")
        bob.send("toggle report")
        bob.until("informed")
        alice = self.connect("alice")
        alice.send("watch %s" % first)
        self.assertEqual(alice.until("^You're now watching"), ["You're now watching %s." % first])
        self.assertEqual(alice.line(), "%s is not doing anything interesting." % first)
        lines = alice.until(r"wins the 3 point match \d+-\d+ \.$", timeout=60)
        self.assertIn("%s and %s start a 3 point match." % (first, second), lines)

        boards = [line for line in lines if line.startswith("board:")]
        self.assertTrue(all(len(b.split(":")) == 53 for b in boards))
        self.assertTrue(all(b.split(":")[1:4] == [first, second, "3"] for b in boards))
        games = []
        previous_board = None
        for index, line in enumerate(lines):
            if line.startswith("Starting a new game with %s." % second):
                games.append({"cube": 1, "take": False})
            elif line.startswith("board:"):
                games[-1]["cube"] = int(line.split(":")[37])
                previous_board = line
            elif " moves " in line:
                check_board_follows(self, previous_board, line, lines[index + 1])
            elif line.endswith(" accepts the double."):
                games[-1]["take"] = True
            won = re.search(r"wins the game and gets (\d+) points?\.$", line)
            if won:
                games[-1]["level"] = int(won[1]) // games[-1]["cube"]
        scores = [line for line in lines if line.startswith("score in 3 point match: ")]
        self.assertTrue(any(g["take"] for g in games), games)
        self.assertTrue(any(g.get("level") == 2 for g in games), games)
        # someone reached 2 points and the match went on: the Crawford game was played
        self.assertTrue(any(re.search(r"-2 ", s + " ") for s in scores), scores)
        self.assertGreaterEqual(len(games), len(scores) + 1)
        # the result goes to those with 'report' on, not to the watchers who saw it
        self.assertEqual(bob.until("start a")[-1],
                         "%s and %s start a 3 point match." % (first, second))
        final = re.search(r"(\S+) wins the 3 point match (\d+-\d+) \.$", lines[-1])
        loser = second if final[1] == first else first
        self.assertEqual(bob.until("wins a")[-1], "%s wins a 3 point match against %s  %s ."
                         % (final[1], loser, final[2]))

        alice.send("unwatch")
        self.assertEqual(alice.until("watching"), ["You stop watching %s." % first])
        alice.send("unwatch")
        self.assertEqual(alice.until(r"^\*\*"), ["** You're not watching."])
        alice.send("look %s" % first)
        self.assertEqual(alice.until(r"^\*\*"), ["** %s is not playing." % first])


class PlayingTest(SocketCase):
    options = {"robot_accept": 1.0}

    OPENING = r"^(It's your turn to move|\S+ makes the first move)\.$"

    def move(self, wire, board, rng):
        """Sends a legal move for the dice of the board line; returns the move's text."""
        pos, colour, dice = position_of(board)
        play = bg.choose_play(pos, colour, dice, rng, "random")
        text = bg.format_steps(colour, play.steps)
        wire.send("move " + text)
        return text

    def test_a_user_plays_a_match_by_commands(self):
        robot = self.robot()
        alice = self.connect("alice", ready=True)
        alice.send("invite %s 3" % robot)
        self.assertEqual(alice.until(r"^\*\* Please wait"), [
            "** You invited %s to a 3 point match." % robot,
            "** Please wait for %s to join too." % robot])
        alice.until(r"^\*\* Player %s has joined you for a 3 point match\.$" % robot)
        alice.until("^Starting a new game with %s.$" % robot)

        rng = random.Random(2)
        board = None
        cube_action = refused = False
        moves = resignations = 0
        moved_this_game = False
        while True:
            line = alice.line()
            if line.startswith("board:"):
                board = line
                self.assertEqual(line.split(":")[1:4], ["You", robot, "3"])
            elif line == "It's your turn to move." or line.startswith("Please move"):
                if line.startswith("It's"):
                    board = alice.until("^board:")[-1]
                if moved_this_game:
                    # the robot waits for this move: a safe moment to give up the game
                    alice.send("resign normal")
                    self.assertRegex(alice.until("You want to resign")[-1],
                                     r"^You want to resign\. %s will win \d+ points?\.$" % robot)
                    self.assertRegex(alice.until("accepts and wins")[-1],
                                     r"^%s accepts and wins \d+ points?\.$" % robot)
                    resignations += 1
                    continue
                if not refused:
                    alice.send("move 24-23 23-22 22-21 21-20 20-19")
                    self.assertRegex(alice.until(r"^\*\*")[-1], r"^\*\* You must give \d moves?\.$")
                    refused = True
                self.move(alice, board, rng)
                # no echo of one's own move: the board comes at once
                self.assertTrue(alice.line().startswith("board:You:%s:3:" % robot))
                moves += 1
                moved_this_game = True
            elif line == "It's your turn. Please roll or double":
                if cube_action:
                    alice.send("roll")
                    continue
                alice.send("double")
                self.assertEqual(alice.until("You double")[-1],
                                 "You double. Please wait for %s to accept or reject." % robot)
                self.assertIn(alice.until("%s (accepts|gives up)" % robot)[-1],
                              ["%s accepts the double.  The cube shows 2." % robot,
                               "%s gives up. You win 1 point." % robot])
                cube_action = True
            elif line.endswith(" doubles. Type 'accept' or 'reject'."):
                alice.send("accept")
                self.assertRegex(alice.until("You accept")[-1],
                                 r"^You accept the double\.  The cube shows \d+\.$")
                cube_action = True
            elif line == ("Type 'join' if you want to play the next game, "
                          "type 'leave' if you don't."):
                alice.send("join")
                moved_this_game = False
            elif re.match(r"(You win|%s wins) the 3 point match \d+-\d+ \.$" % robot, line):
                break
        self.assertTrue(cube_action)
        self.assertGreater(moves, 1)
        self.assertGreater(resignations, 0)
        alice.send("show saved")
        self.assertEqual(alice.until("saved"), ["no saved games."])

    def test_an_unlimited_match(self):
        alice = self.connect("alice", ready=True)
        bob = self.connect("bob", ready=True)
        alice.send("invite bob unlimited")
        self.assertEqual(alice.until(r"^\*\* You invited")[-1],
                         "** You invited bob to an unlimited match.")
        self.assertEqual(bob.until("Type 'join")[-2:], [
            "alice wants to play an unlimited match with you.", "Type 'join alice' to accept."])
        bob.send("join alice")
        self.assertEqual(bob.until(r"^\*\* You are")[-1],
                         "** You are now playing an unlimited match with alice")
        self.assertEqual(alice.until(r"^\*\* Player")[-1],
                         "** Player bob has joined you for an unlimited match.")
        self.assertEqual(alice.until("^board:")[-1].split(":")[1:6],
                         ["You", "bob", "9999", "0", "0"])

    def test_moreboards_decides_the_board_after_a_roll(self):
        alice = self.connect("alice", ready=True)
        bob = self.connect("bob", ready=True)
        bob.send("toggle moreboards")
        bob.until("rawboards")
        alice.send("invite bob 1")
        bob.until("^Type 'join alice' to accept.$")
        bob.send("join alice")
        alice_opening = alice.until(self.OPENING)[-1]
        bob.until(self.OPENING)
        # alice gets the board of the opening roll, bob does not
        self.assertEqual(alice.line(), "")
        board = alice.line()
        self.assertTrue(board.startswith("board:You:bob:1:0:0:"))
        self.assertNotIn("board:", "".join(bob.pending(0.3)))
        if alice_opening == "It's your turn to move.":
            mover, other, other_name = alice, bob, "alice"
        else:
            mover, other, other_name = bob, alice, "bob"
            bob.send("board")
            board = bob.until("^board:")[-1]
        text = self.move(mover, board, random.Random(1))
        # both get the board after the move
        self.assertTrue(mover.until("^board:")[-1].startswith("board:You:"))
        self.assertEqual(other.until(" moves ")[-1], "%s moves %s ." % (other_name, text))
        self.assertTrue(other.line().startswith("board:You:"))


class SavedMatchTest(SocketCase):
    options = {"robot_accept": 1.0}

    def test_leave_then_resume(self):
        robot = self.robot()
        alice = self.connect("alice", ready=True)
        bob = self.connect("bob")
        bob.send("toggle report")
        bob.until("informed")
        alice.send("tell %s play 5" % robot)
        self.assertEqual(alice.until("Type 'join"), [
            "16 %s play 5" % robot, "", "%s wants to play a 5 point match with you." % robot,
            "Type 'join %s' to accept." % robot])
        alice.send("join %s" % robot)
        alice.until(r"^\*\* You are now playing a 5 point match with %s$" % robot)
        self.assertEqual(bob.until("start a")[-2:],
                         ["", "%s and alice start a 5 point match." % robot])
        alice.until("^board:")
        alice.send("leave")
        before = alice.until(r"^\*\* You terminated")
        self.assertEqual(before[-1], "** You terminated the game. The game was saved.")
        board = [line for line in alice.seen if line.startswith("board:")][-1]
        self.assertEqual(bob.until("left the game")[-2:],
                         ["", "alice has left the game with %s." % robot])

        alice.send("show saved")
        self.assertRegex(alice.until(r"^(\*\*| \*|  )%s " % robot)[-1],
                         r"^\*\*%s +5 +0 -  0$" % robot)
        alice.send("oldboard %s" % robot)
        saved = alice.until("^board:")[-1]
        self.assertEqual(saved.split(":")[:32], board.split(":")[:32])

        alice.send("invite %s" % robot)
        self.assertEqual(alice.until(r"^\*\* Please wait")[-2:], [
            "** You invited %s to resume a saved match." % robot,
            "** Please wait for %s to join too." % robot])
        resumed = alice.until("^turn: ")
        self.assertIn("%s has joined you. Your running match was loaded." % robot, resumed)
        self.assertRegex(resumed[-1], r"^turn: (alice|%s)\.$" % robot)
        self.assertEqual(alice.line(), "match length: 5")
        self.assertEqual({alice.line(), alice.line()},
                         {"points for alice: 0", "points for %s: 0" % robot})
        self.assertEqual(bob.until("resuming")[-2:],
                         ["", "alice and %s are resuming their 5-point match." % robot])
        self.assertEqual(alice.until("^board:")[-1].split(":")[:32], saved.split(":")[:32])
        alice.send("show saved")
        self.assertEqual(alice.until("saved")[-1], "no saved games.")

    def test_dropped_connection_and_logout_save_the_match(self):
        alice = self.connect("alice", ready=True)
        bob = self.connect("bob", ready=True)
        carol = self.connect("carol")
        alice.send("invite bob 7")
        self.assertEqual(bob.until("Type 'join"), [
            "", "alice wants to play a 7 point match with you.", "Type 'join alice' to accept."])
        bob.send("join alice")
        alice.until("has joined you")
        carol.send("watch alice")
        self.assertEqual(carol.until("watching"), ["You're now watching alice."])
        self.assertTrue(carol.until("^board:")[-1].startswith("board:alice:bob:7:0:0:"))
        carol.send("look bob")
        self.assertTrue(carol.until("^board:")[-1].startswith("board:bob:alice:7:0:0:"))
        carol.send("watch bob")
        carol.until("watching bob")
        carol.send("watch alice")
        carol.until("watching alice")
        alice.send("watch carol")
        self.assertEqual(alice.until(r"^\*\*")[-1],
                         "** You can't watch another game while you're playing.")

        alice.sock.shutdown(socket.SHUT_RDWR)
        alice.close()
        self.assertEqual(bob.until("saved")[-2:],
                         ["", "alice drops connection. The game was saved."])
        self.assertEqual(bob.until("^8 "), ["8 alice alice drops connection."])
        self.assertEqual(carol.until("saved")[-1], "alice drops connection. The game was saved.")
        bob.send("show saved")
        self.assertRegex(bob.until("^  alice ")[-1], r"^  alice +7 +0 -  0$")

        alice = self.connect("alice", ready=True)
        alice.send("invite bob")
        self.assertEqual(bob.until("Type 'join"), [
            "", "alice wants to resume a saved match with you.", "Type 'join alice' to accept."])
        bob.send("join alice")
        self.assertIn("You are now playing with alice. Your running match was loaded.",
                      bob.until("points for bob"))
        self.assertIn("bob has joined you. Your running match was loaded.",
                      alice.until("points for bob"))
        alice.send("leave")
        self.assertEqual(bob.until(r"^\*\* Player")[-1],
                         "** Player alice has left the game. The game was saved.")
        alice.send("invite bob")
        bob.until("Type 'join alice'")
        bob.send("join alice")
        alice.until("bob has joined you")
        bob.send("bye")
        self.assertEqual(alice.until("saved")[-1], "bob logs out. The game was saved.")
        alice.send("show saved")
        self.assertRegex(alice.until("^  bob ")[-1], r"^  bob +7 +0 -  0$")



class StartupSavedTest(SocketCase):
    options = {"saved": [("alice", "bob", 5, 2, 1)]}

    def test_a_match_saved_before_the_start_resumes_with_a_new_game(self):
        alice = self.connect("alice", ready=True)
        bob = self.connect("bob", ready=True)
        alice.send("invite bob")
        bob.until("Type 'join alice'")
        bob.send("join alice")
        resumed = bob.until("^turn: ")
        self.assertIn("You are now playing with alice. Your running match was loaded.", resumed)
        self.assertEqual([bob.line(), bob.line(), bob.line()],
                         ["match length: 5", "points for alice: 2", "points for bob: 1"])
        self.assertTrue(bob.until("^board:")[-1].startswith("board:You:alice:5:1:2:"))


class ListedMatchTest(SocketCase):
    options = {"population": 40, "seed": 2}

    def test_robots_listed_as_playing_play_when_watched(self):
        with self.server.lock:
            listed = [(r.name, r.opponent.name, str(r.match.length))
                      for r in self.server.robots if r.opponent is not None]
        self.assertTrue(listed, "this population lists no match")
        name, opponent, length = listed[0]
        alice = self.connect("alice")
        alice.send("watch %s" % name)
        self.assertEqual(alice.until("^You're now watching"), ["You're now watching %s." % name])
        self.assertEqual(alice.until("^Starting a new game")[-1],
                         "Starting a new game with %s." % opponent)
        self.assertEqual(alice.until("^board:")[-1].split(":")[1:4], [name, opponent, length])


if __name__ == "__main__":
    unittest.main()
