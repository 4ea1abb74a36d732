"""tabulon-replay: transcripts in, one trace line per effect out."""

import json
import pathlib
import subprocess
import tempfile
import unittest

from harness import BUILD, SOURCE

FIXTURES = SOURCE.parent / "shared" / "fixtures" / "fibs-sessions"


def replay(text, *args):
    with tempfile.NamedTemporaryFile("wb", suffix=".txt", delete=False) as f:
        f.write(text.encode("latin-1"))
        path = f.name
    try:
        return run(path, *args)
    finally:
        pathlib.Path(path).unlink()


def run(path, *args):
    result = subprocess.run([str(BUILD / "tabulon-replay"), *args, str(path)],
                            capture_output=True, timeout=120)
    return result.returncode, result.stdout.decode("ascii").splitlines(), result.stderr.decode()


def traces(lines, kind):
    return [line[len(kind) + 1:] for line in lines if line.startswith(kind + " ")]


class ReplayTest(unittest.TestCase):
    def test_trace_of_a_short_session(self):
        code, out, err = replay(
            "# a comment line is not fed\n"
            "!chunk login: \n"
            "!wait 150\n"
            "3\n"
            "Welcome to the server\n"
            "4\n"
            "** You're now ready\n"
            "!chunk caf\\xe9 au \\\n"
            "!chunk lait\\r\\n\n")
        self.assertEqual(code, 0, err)
        self.assertEqual(traces(out, "MEMO"),
                         ["login: ", "Welcome to the server", "** You're now ready",
                          "caf\\xe9 au \\\\lait"])
        self.assertEqual(traces(out, "SEND"), ["show saved\\r\\n"])
        self.assertTrue(out[-1].startswith("STATE "))
        state = json.loads(out[-1][len("STATE "):])
        for field in ("OwnInfo", "Settings", "Playing", "Watching", "WatchedPlayer",
                      "OpponentName", "CurrentPosition", "GameRowCount", "ShownGame",
                      "SGMovesList", "CBGames", "LVPlayers", "LVTemp", "SavedGames",
                      "SBAdversaire", "SBJoueur"):
            self.assertIn(field, state)
        self.assertEqual(len(state["CurrentPosition"]["Board"]), 28)
        self.assertEqual(state["Settings"]["Port"], "4321")

    def test_autologin_folder_logs_in(self):
        with tempfile.TemporaryDirectory() as folder:
            (pathlib.Path(folder) / "tabulon.ini").write_text(
                "[Settings]\nAutologin=1\n[Account]\nUsername=bob\nPassword=pw\n")
            code, out, err = replay("1 bob 1593778125 host\n", "--app-folder", folder)
        self.assertEqual(code, 0, err)
        self.assertEqual(traces(out, "SEND"),
                         ["login ?________________T 1008 bob pw\\r\\n",
                          "set boardstyle 3\\r\\n", "rawwho\\r\\n",
                          "set sortwho name\\r\\n", "rawwho\\r\\n",
                          "set sortwho rrating\\r\\n", "rawwho\\r\\n",
                          "set sortwho rating\\r\\n", "show saved\\r\\n"])
        self.assertIn("SBAdversaire.2 Connected", traces(out, "STATUS"))

    def test_bad_arguments_fail(self):
        self.assertEqual(replay("x\n", "--answer", "maybe")[0], 2)
        self.assertEqual(run("/nonexistent/transcript")[0], 2)
        self.assertEqual(replay("!wait soon\n")[0], 2)

    def test_recorded_sessions_replay_to_the_end(self):
        for name in ("fibs-2011-02-23-lobby.txt", "fibs-2020-07-03-watching.txt"):
            with self.subTest(name):
                code, out, err = run(FIXTURES / name)
                self.assertEqual(code, 0, err)
                memo = traces(out, "MEMO")
                self.assertTrue(memo)
                self.assertTrue(out[-1].startswith("STATE "))
                json.loads(out[-1][len("STATE "):])
                # Login notices and protocol markers never reach the memo.
                self.assertFalse([m for m in memo if m in ("3", "4", "6")])


if __name__ == "__main__":
    unittest.main()
