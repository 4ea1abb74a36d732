"""tabulon-replay's "!invite LENGTH" and the invitation fields of its state."""

import json
import unittest

from test_replay import replay, traces

PLAYERS = ("5 bob - - 1 0 1600.00 400 0 1593778125 host - -\n"
           "5 carol dave - 1 0 1500.00 20 0 1593778125 host - -\n"
           "6\n")


def state(out):
    return json.loads(traces(out, "STATE")[0])


class InviteReplayTest(unittest.TestCase):
    def test_invite_commands_for_each_length(self):
        for length, command in (("0", "Invite bob\\r\\n"), ("5", "Invite bob 5\\r\\n"),
                                ("100", "Invite bob unlimited\\r\\n")):
            with self.subTest(length=length):
                code, out, err = replay(PLAYERS + "!select-player bob\n!invite %s\n" % length)
                self.assertEqual(code, 0, err)
                sent = traces(out, "SEND")
                self.assertEqual(sent[-2:], ["Tell RepBot ask bob\\r\\n", command])
                final = state(out)
                self.assertTrue(final["OwnInfo"]["Ready"])
                self.assertFalse(final["InviteAwaitsRepBot"])

    def test_a_busy_player_waits_in_the_auto_invite_lists(self):
        code, out, err = replay(PLAYERS + "!select-player carol\n!invite 7\n!invite 0\n"
                                "5 carol - - 1 0 1500.00 20 0 1593778125 host - -\n")
        self.assertEqual(code, 0, err)
        final = state(out)
        self.assertEqual(final["AutoInviteNames"], ["carol", "carol"])
        self.assertEqual(final["AutoInviteLengths"], ["7", "0"])
        self.assertEqual(traces(out, "SEND")[-2:], ["Invite carol 7\\r\\n", "Invite carol\\r\\n"])

    def test_an_invitation_fills_the_join_window(self):
        code, out, err = replay(PLAYERS + "bob wants to play a 5 point match with you.\n"
                                "Type 'join bob' to accept.\n")
        self.assertEqual(code, 0, err)
        join = state(out)["FJoin"]
        self.assertTrue(join["Visible"])
        self.assertEqual(join["Caption"], "Join bob")
        self.assertEqual(join["Label1"], "bob wants to play a 5 point match with you.")
        self.assertEqual(join["Memo1"], ["Name : bob", "Rating : 1600", "Experience : 400"])
        for label in ("LProb", "LWin", "LLose"):
            self.assertTrue(join[label]["Visible"], label)
        self.assertTrue(join["LProb"]["Caption"].startswith(
            "Your probability to win this match is "))
        self.assertNotIn("bob wants to play a 5 point match with you.", traces(out, "MEMO"))

    def test_malformed_invite_actions_stop_the_replay(self):
        for script in ("!select-player bob\n!invite 101\n", "!select-player bob\n!invite x\n",
                       "!invite 5\n"):
            with self.subTest(script=script):
                code, _, err = replay(PLAYERS + script)
                self.assertEqual(code, 2)
                self.assertIn("!invite", err)


if __name__ == "__main__":
    unittest.main()
