"""The real program connects to the simulator, talks telnet correctly and shows the server."""

import shutil
import unittest

from harness import Program, Simulator, make_app_folder, wait_for

IAC, DO, DONT, WILL, WONT, SB, SE = 255, 253, 254, 251, 252, 250, 240


class ConnectTest(unittest.TestCase):
    def setUp(self):
        self.sim = Simulator("--negotiation", "full", "--chunking", "random", "--seed", "7")
        self.addCleanup(self.sim.stop)

    def start(self, ini):
        folder = make_app_folder(ini)
        self.addCleanup(shutil.rmtree, folder, True)
        program = Program(folder)
        self.addCleanup(lambda: program.process.poll() is None and program.process.kill())
        return program

    def test_autologin_negotiates_logs_in_and_shows_the_server(self):
        program = self.start(
            "[Settings]\nAutologin=1\n[Connection]\nServer=127.0.0.1\nPort=%d\n"
            "[Account]\nUsername=alice\nPassword=secret\n" % self.sim.port)
        self.assertTrue(wait_for(lambda: "show saved" in self.sim.received()),
                        "the program never asked for its saved games")
        state = program.close()

        replies = self.sim.negotiation_replies()
        self.assertIn([IAC, WILL, 24], replies)                      # DO TERMINAL-TYPE
        self.assertIn([IAC, DO, 1], replies)                         # WILL ECHO
        self.assertIn([IAC, DO, 3], replies)                         # WILL SUPPRESS-GO-AHEAD
        self.assertIn([IAC, WONT, 31], replies)                      # DO an unknown option
        self.assertIn([IAC, SB, 24, 0] + list(b"VT100") + [IAC, SE], replies)

        received = self.sim.received()
        self.assertEqual(received[0], "login ?NT________________T 1008 alice secret")
        self.assertEqual(received[1], "set boardstyle 3")
        self.assertIn("show saved", received)

        memo = state["DisplayMemo"]
        self.assertEqual(memo[:2], ["**Trying to connect to FIBS**", "**Connected to FIBS**"])
        self.assertIn("login: ", memo)
        self.assertIn("Value of 'boardstyle' set to 3.", memo)
        # Protocol lines that carry no text for the user are not shown.
        self.assertFalse([line for line in memo if line.startswith("1 alice ")])
        self.assertEqual(state["SBAdversaire"][2], "Connected")
        self.assertIn("TabSelected=", (program.folder / "tabulon.ini").read_text("latin-1"))

    def test_without_autologin_the_program_stays_offline(self):
        program = self.start("[Connection]\nServer=127.0.0.1\nPort=%d\n" % self.sim.port)
        # The connection poll runs every five seconds from start-up, which itself takes a few
        # seconds in the sanitizer build.
        wait_for(lambda: False, timeout=8)
        state = program.close()
        self.assertEqual(self.sim.received(), [])
        self.assertEqual(state["SBAdversaire"][2], "Not Connected")
        self.assertNotIn("**Trying to connect to FIBS**", state["DisplayMemo"])

    def test_refused_connection_is_reported(self):
        port = self.sim.port
        self.sim.stop()
        program = self.start(
            "[Settings]\nAutologin=1\n[Connection]\nServer=127.0.0.1\nPort=%d\n" % port)
        wait_for(lambda: False, timeout=2)
        state = program.close()
        self.assertTrue([line for line in state["DisplayMemo"]
                         if line.startswith("**Could not connect to FIBS: ")], state["DisplayMemo"])


if __name__ == "__main__":
    unittest.main()
