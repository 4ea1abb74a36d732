#!/usr/bin/env python3
"""Prints what a watcher receives of one long match between two robots, for the memory bench.

Usage: python3 watched_match.py [--min-games N]

The match is played by the test server's own match code and rules (tests/fibs-sim), without
a socket: the robots act at once instead of on their clock. The output starts with the
answer to 'watch', then the whole match with the board lines of 'toggle moreboards' and
'autoboard' as the server sends them, lines ending in CR LF. The match is made longer
until it has at least N games (default 25), so the record really holds them; the last line
on stderr says how many games and points it took.
"""

import argparse
import collections
import os
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "fibs-sim"))

import fibs_matches  # noqa: E402
from fibs_sim import Account, Player, Robot  # noqa: E402

ROBOTS = ("GammonBot_XXX", "BlunderBot_XXX")
WATCHER = "benchwatcher"
LOGIN_TIME = int(time.time())


class Capture:
    def __init__(self):
        self.lines = []

    def send_lines(self, lines):
        self.lines.extend(lines)


class Server:
    """What the match hall asks of the server: who is online and a broadcast."""

    def __init__(self, seed):
        self.seed = seed
        self.lock = threading.Lock()
        self.online = {}
        self.robots = []
        self.saved = []

    def broadcast(self, lines, exclude=None):
        for player in self.online.values():
            if player.connection is not None and player.connection is not exclude:
                player.connection.send_lines(lines)


class InstantHall(fibs_matches.MatchHall):
    """The hall with the robots' actions run in turn, as soon as the one before has ended."""

    def __init__(self, server):
        # The robots' clock is made but never started.
        super().__init__(server, pace=0)
        self.actions = collections.deque()

    def robot_turn(self, match):
        version = match.version
        self.actions.append(lambda: self._robot_act(match, version))

    def run(self):
        while self.actions:
            self.actions.popleft()()


def play(length, seed):
    """The watcher's lines of one match of the given length, and the match."""
    server = Server(seed)
    hall = InstantHall(server)
    robots = [Robot(Account(name, None, rating=1800.0 + 100 * i, experience=50000),
                    "47.199.55.93", "ParlorBot", LOGIN_TIME, LOGIN_TIME)
              for i, name in enumerate(ROBOTS)]
    capture = Capture()
    watcher = Player(Account(WATCHER, "secret"), "localhost", "-", LOGIN_TIME, capture)
    watcher.account.toggles["moreboards"] = 1
    for player in robots + [watcher]:
        server.online[player.name] = player
    hall.watch(watcher, [ROBOTS[0]])
    match = hall.begin(robots[0], robots[1], length)
    # Resignations too, so every way a game ends shows up.
    match.robots_resign = True
    hall.run()
    if match.phase != "over":
        raise SystemExit("the match between the robots did not end")
    return capture.lines, match


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--min-games", type=int, default=25)
    parser.add_argument("--seed", type=int, default=9)
    args = parser.parse_args()
    # A game is worth about a point and a half between these robots.
    length = 2 * args.min_games
    while True:
        lines, match = play(length, args.seed)
        if match.game_number >= args.min_games:
            break
        if length > 8 * args.min_games:
            raise SystemExit("no match up to %d points has %d games" % (length, args.min_games))
        length += 3 * (args.min_games - match.game_number)
    out = sys.stdout.buffer
    out.write("".join(line + "\r\n" for line in lines).encode("latin-1"))
    out.flush()
    print("%d games, %d point match, %d lines" % (match.game_number, match.length, len(lines)),
          file=sys.stderr)


if __name__ == "__main__":
    main()
