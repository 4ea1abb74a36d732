"""The real program logs in on its own, takes in its own settings from the server and keeps the
settings file across restarts.

Creating an account needs the Connect window's "Create account" button; that path runs with the
real main window against this same simulator in tests/app/qt_LoginEndToEnd.cpp."""

import shutil
import struct
import unittest

from harness import Program, Simulator, make_app_folder, wait_for

INI = """[Settings]
Autologin=1
Enablesound=0
Showendgamemessage=0
[Connection]
Server=127.0.0.1
Port=%d
[Account]
Username=alice
Password=secret
Storepassword=1
[Profile]
FirstName=Jean
LastName=&upont
Gender=2
EMail=jean@example.org
"""


class LoginTest(unittest.TestCase):
    def setUp(self):
        self.sim = Simulator("--population", "6")
        self.addCleanup(self.sim.stop)
        self.folder = make_app_folder(INI % self.sim.port)
        self.addCleanup(shutil.rmtree, self.folder, True)

    def run_once(self, logins):
        program = Program(self.folder)
        try:
            self.assertTrue(wait_for(lambda: self.sim.received().count("show saved") >= 1
                                     and len(self.logins()) >= logins),
                            "no login; received %r" % self.sim.received())
            # the players-list refresh ends the post-login sequence
            self.assertTrue(wait_for(lambda: self.sim.received().count("set sortwho rating")
                                     >= logins))
        finally:
            state = program.close()
        return state

    def logins(self):
        return [line for line in self.sim.received() if line.startswith("login ")]

    def test_login_own_information_and_restart(self):
        state = self.run_once(1)
        self.assertEqual(self.sim.received()[:8], [
            "login <NTJean&upont______T 1008 alice secret", "set boardstyle 3", "rawwho",
            "set sortwho name", "rawwho", "set sortwho rrating", "rawwho", "set sortwho rating"])
        own = state["OwnInfo"]
        self.assertEqual((own["Name"], own["Rating"], own["Experience"]), ("alice", 1623, 245))
        self.assertEqual(state["ToolButtons"], {"TBReady": False, "TBAutomove": False,
                                                "TBGreedy": False, "TBDouble": True})
        self.assertNotIn("2 alice", " ".join(state["DisplayMemo"]))
        records = (self.folder / "alice.rat").read_bytes()
        self.assertEqual(len(records), 16)
        self.assertEqual(struct.unpack("<i4x", records[8:]), (1623,))

        ini = (self.folder / "tabulon.ini").read_text("latin-1")
        for key in ("Enablesound=0", "Showendgamemessage=0", "Password=secret",
                    "LastName=&upont", "EMail=jean@example.org", "TabSelected="):
            self.assertIn(key, ini)

        state = self.run_once(2)
        self.assertEqual(self.logins(), ["login <NTJean&upont______T 1008 alice secret"] * 2)
        self.assertFalse(state["Settings"]["EnableSound"])
        self.assertEqual(state["Settings"]["LastName"], "&upont")
        self.assertEqual(len((self.folder / "alice.rat").read_bytes()), 32)


if __name__ == "__main__":
    unittest.main()
