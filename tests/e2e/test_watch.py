"""The real program watches the simulator's pair of robots play a whole 3-point match (a double
and a take, a gammon, the Crawford game, a resignation): the moves list, the game list and the
match file it writes follow the match the server reported.

The program is told to watch as a user would type it: the test stands between the program and
the simulator and puts "watch GammonBot_XXX" on the program's connection once it has logged in,
and "unwatch" once the match is over, so the pair does not start another one."""

import re
import shutil
import socket
import threading
import unittest

from harness import Program, Simulator, make_app_folder, wait_for

WATCHED, OTHER = "GammonBot_XXX", "BlunderBot_XXX"
MOVE = re.compile(r"^\d\d (bar|\d+)/(off|\d+)( (bar|\d+)/(off|\d+))*$")


class Relay:
    """One client connection passed on to the simulator, with both directions kept as lines;
    lines of its own can be put on the way to the server between the client's lines."""

    def __init__(self, server_port):
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.server_port = server_port
        self.lock = threading.Lock()
        self.to_server = []
        self.from_server = b""
        self.upstream = None
        self.on_server_line = None
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        client, _ = self.listener.accept()
        self.upstream = socket.create_connection(("127.0.0.1", self.server_port))
        self.client = client
        threading.Thread(target=self._pump_up, daemon=True).start()
        threading.Thread(target=self._pump_down, daemon=True).start()

    def _pump_up(self):
        pending = b""
        while True:
            data = self.client.recv(4096)
            if not data:
                self.upstream.close()
                return
            pending += data
            # Whole lines only, so an injected line never lands inside one of the client's.
            while b"\n" in pending:
                line, pending = pending.split(b"\n", 1)
                self.send(line + b"\n", own=False)

    def _pump_down(self):
        seen = b""
        while True:
            try:
                data = self.upstream.recv(4096)
            except OSError:
                return
            if not data:
                self.client.close()
                return
            self.client.sendall(data)
            with self.lock:
                self.from_server += data
            seen += data
            while b"\r\n" in seen:
                line, seen = seen.split(b"\r\n", 1)
                if self.on_server_line:
                    self.on_server_line(line.decode("latin-1"))

    def send(self, line, own=True):
        with self.lock:
            self.upstream.sendall(line)
            if not own:
                self.to_server.append(line.decode("latin-1").rstrip("\r\n"))

    def server_lines(self):
        with self.lock:
            return self.from_server.decode("latin-1").split("\r\n")

    def close(self):
        for sock in (self.listener, self.upstream, getattr(self, "client", None)):
            if sock:
                sock.close()


def games_reported(lines):
    """The server's lines of the watched match, one list per game."""
    start = lines.index("%s and %s start a 3 point match." % (WATCHED, OTHER))
    games = []
    for line in lines[start:]:
        if line.startswith("Starting a new game"):
            games.append([])
        elif games:
            games[-1].append(line)
        if "wins the 3 point match" in line:
            break
    return games


class WatchTest(unittest.TestCase):
    def setUp(self):
        self.sim = Simulator("--robot-pair", "--robot-pace", "40", "--population", "4")
        self.addCleanup(self.sim.stop)
        self.relay = Relay(self.sim.port)
        self.addCleanup(self.relay.close)

    def test_whole_match_is_recorded_listed_and_saved(self):
        folder = make_app_folder(
            "[Settings]\nAutologin=1\nShowendGamemessage=0\nEnableSound=0\nAnimationSpeed=10\n"
            "Savewatchedmatches=1\n[Connection]\nServer=127.0.0.1\nPort=%d\n"
            "[Account]\nUsername=alice\nPassword=secret\n" % self.relay.port)
        self.addCleanup(shutil.rmtree, folder, True)
        ended = threading.Event()

        def watch_for_the_end(line):
            if "wins the 3 point match" in line and not ended.is_set():
                ended.set()
                self.relay.send(b"unwatch\r\n")

        self.relay.on_server_line = watch_for_the_end
        program = Program(folder)
        self.addCleanup(lambda: program.process.poll() is None and program.process.kill())

        self.assertTrue(wait_for(lambda: "set sortwho rating" in self.relay.to_server, timeout=30),
                        self.relay.to_server)
        self.relay.send(("watch %s\r\n" % WATCHED).encode())
        self.assertTrue(ended.wait(timeout=240), "the match did not end")
        saved = folder / "Saved"
        self.assertTrue(wait_for(lambda: saved.is_dir() and list(saved.glob("*.mat")), timeout=240),
                        "no match file was written")
        state = program.close()

        reported = games_reported(self.relay.server_lines())
        games = state["Games"]
        self.assertEqual(len(games), len(reported))
        self.assertGreaterEqual(len(games), 2)

        # The game list: one entry per game, the first from the match start, the others from
        # the score lines.
        scores = [line for game in reported for line in game if line.startswith("score in")]
        expected = ["Game 1 Score 0-0"] + [
            "Game %d Score %s %s" % (n + 2, *re.findall(r"-(\d+)", line))
            for n, line in enumerate(scores)]
        self.assertEqual(state["CBGames"], {"items": expected, "selected": len(games) - 1})

        all_cells = []
        for number, (game, lines) in enumerate(zip(games, reported), start=1):
            with self.subTest(game=number):
                near = [p["MoveText"] for p in game["PlayerPositions"]]
                far = [p["MoveText"] for p in game["OpponentPositions"]]
                cells = near + far
                all_cells += cells
                moves = [line for line in lines if " moves " in line]
                self.assertEqual(len([c for c in cells if MOVE.match(c)]), len(moves), cells)
                blocked = [line for line in lines if line.endswith("can't move.")]
                self.assertEqual(len([c for c in cells if c.endswith("Can't move")]), len(blocked))
                self.assertEqual(cells.count("Doubles"),
                                 len([line for line in lines if line.endswith(" doubles.")]))
                result = near[-1] if near[-1] else far[-1]
                self.assertRegex(result, r"^Wins \d points")
                self.assertEqual(result.endswith(" and the match"), number == len(games))
        self.assertIn("Accepts", all_cells)
        self.assertTrue([c for c in all_cells if re.match(r"Wins [2-9] points", c)], "no gammon")
        self.assertTrue(any(p["Crawford"] for g in games for p in g["PlayerPositions"]))

        # The list shows the last game, under the players' names.
        last = games[-1]
        grid = state["SGMovesList"]
        self.assertEqual(grid[0], ["Nb", WATCHED, OTHER])
        self.assertEqual(len(grid), len(last["PlayerPositions"]) + 2)
        for row, (near, far) in enumerate(zip(last["PlayerPositions"], last["OpponentPositions"]),
                                          start=1):
            self.assertEqual(grid[row][0], str(row))
            self.assertEqual(grid[row][1], near["MoveText"])
            self.assertEqual(grid[row][2], far["MoveText"])
        self.assertEqual(grid[-1], ["", "", ""])

        # The match file: written from the same record.
        path = state["LastMatchFile"]
        self.assertTrue(path.endswith("%s_%s.mat" % (WATCHED, OTHER)), path)
        text = (saved / path.replace("\\", "/").split("/")[-1]).read_bytes().decode("latin-1")
        lines = text.split("\r\n")
        self.assertEqual(lines[0], " 3 point match")
        self.assertEqual([line for line in lines if line.startswith(" Game ")],
                         [" Game %d" % n for n in range(1, len(games) + 1)])
        self.assertEqual(len([line for line in lines if line.strip().startswith("Wins ")]),
                         len(games))
        self.assertEqual(text.count("Doubles =>"), all_cells.count("Doubles"))
        self.assertEqual(text.count("Takes"), all_cells.count("Accepts"))
        self.assertTrue(lines[-2].strip().endswith("and the match"), lines[-3:])


if __name__ == "__main__":
    unittest.main()
