"""The real program logs in to a busy simulator and shows its players, filtered and sorted
as the settings file says, with the saved matches the server reports."""

import shutil
import socket
import time
import unittest

from harness import Program, Simulator, make_app_folder, wait_for

NAME, OPPONENT, STATUS, RATING, SAVED, CLIENT, COUNTRY = 0, 1, 2, 3, 8, 9, 6


class PlayersTest(unittest.TestCase):
    def setUp(self):
        self.sim = Simulator("--population", "1000", "--seed", "5",
                             "--saved", "alice:RepBot:3:0:2", "--saved", "alice:bob:5:2:1")
        self.addCleanup(self.sim.stop)

    def log_in_as_bob(self):
        """Another player arrives while the program is logged in."""
        sock = socket.create_connection(("127.0.0.1", self.sim.port), timeout=10)
        self.addCleanup(sock.close)
        sock.sendall(b"login TestClient 1008 bob secret\r\n")
        return sock

    def test_a_thousand_players_sorted_by_rating(self):
        folder = make_app_folder(
            "[Settings]\nAutologin=1\nColumnSort=3\nDescending=1\n[Connection]\n"
            "Server=127.0.0.1\nPort=%d\n[Account]\nUsername=alice\nPassword=secret\n"
            % self.sim.port)
        self.addCleanup(shutil.rmtree, folder, True)
        program = Program(folder)
        self.addCleanup(lambda: program.process.poll() is None and program.process.kill())

        self.assertTrue(wait_for(lambda: "show saved" in self.sim.received(), timeout=30),
                        self.sim.received())
        received = self.sim.received()
        refresh = ["rawwho", "set sortwho name", "rawwho", "set sortwho rrating", "rawwho",
                   "set sortwho rating"]
        start = received.index("rawwho")
        self.assertEqual(received[start:start + 6], refresh)
        self.log_in_as_bob()
        # The listings are thousands of lines: give the program time to work them off.
        time.sleep(5)
        state = program.close()

        temp, shown = state["LVTemp"], state["LVPlayers"]
        self.assertGreaterEqual(len(temp), 1002)  # the population, alice and bob
        names = [row[NAME] for row in temp]
        self.assertEqual(len(names), len(set(names)))
        self.assertIn("bob", names)
        self.assertEqual(state["LNbPlayers"], "Number of players online  : %d" % len(temp))
        for row in temp + shown:
            self.assertEqual(len(row), 13)

        # Every filter is down: everyone but the players first seen away is shown.
        self.assertLessEqual({row[NAME] for row in shown}, set(names))
        self.assertLessEqual({row[NAME] for row in temp if row[STATUS] != "Away"},
                             {row[NAME] for row in shown})
        ratings = [int(row[RATING]) for row in shown]
        self.assertEqual(ratings, sorted(ratings, reverse=True))

        by_name = {row[NAME]: row for row in temp}
        alice = by_name["alice"]
        self.assertEqual((alice[COUNTRY], alice[CLIENT]), ("Neutral Zone", "Tabulon"))
        self.assertTrue([row for row in temp if row[CLIENT] == "JavaFibs" and row[COUNTRY] != "-"])
        self.assertTrue([row for row in temp if row[COUNTRY] == "-" and row[CLIENT] != "-"])

        # The saved matches: read from the listing, shown in the list and in the window.
        self.assertEqual(state["SavedGames"], [["RepBot", " 3", " 0 -  2"], ["bob", " 5", " 2 -  1"]])
        self.assertEqual(by_name["RepBot"][SAVED], "ML:  3 Score:  0 -  2")
        self.assertEqual(by_name["bob"][SAVED], "ML :  5 Score :  2 -  1")
        window = {row[0]: row for row in state["LVSavedGames"]}
        self.assertEqual(window["bob"][1:], [" 5", " 2 -  1", "On line"])
        self.assertEqual(window["RepBot"][3], by_name["RepBot"][STATUS])


if __name__ == "__main__":
    unittest.main()
