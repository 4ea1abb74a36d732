"""tabulon-replay: the recorded watched match, then the user's moves-list and watch actions."""

import json
import unittest

from test_replay import FIXTURES, replay, traces

WATCHING = FIXTURES / "fibs-2020-07-03-watching.txt"


def recorded_match(select_before_watching=None):
    lines = WATCHING.read_text(encoding="latin-1").split("\n")
    if select_before_watching:
        at = lines.index("You're now watching GammonBot_VII.")
        lines.insert(at, "!select-player " + select_before_watching)
    return lines


def state_of(out):
    assert out[-1].startswith("STATE ")
    return json.loads(out[-1][len("STATE "):])


@unittest.skipUnless(WATCHING.exists(), "the recorded sessions are not there")
class ReplayMatchTest(unittest.TestCase):
    def run_match(self, actions, select_before_watching=None):
        text = "\n".join(recorded_match(select_before_watching) + actions) + "\n"
        code, out, err = replay(text)
        self.assertEqual(code, 0, err)
        return out

    def test_browsing_back_to_a_stored_position(self):
        out = self.run_match(["!click CB", "!select 2 5"])
        state = state_of(out)
        self.assertEqual(state["CBGames"], {"items": ["Game 1 Score 0-0", "Game 2 Score 4 0"],
                                            "selected": 0})
        self.assertEqual(state["ShownGame"], 1)
        self.assertTrue(state["BrowsingOldGame"])
        self.assertTrue(state["ShowingStoredPosition"])
        self.assertEqual(len(state["SGMovesList"]), 53)
        self.assertEqual(state["SGMovesList"][5], ["5", "31 bar/24 bar/22", "Doubles"])
        self.assertEqual(state["SGMovesListCell"], {"Col": 2, "Row": 5})
        doubled = state["Games"][0]["OpponentPositions"][4]
        self.assertEqual(doubled["MoveText"], "Doubles")
        self.assertEqual(doubled["Turn"], -doubled["Colour"])
        # After the match's last sound only the selection writes the panels: the stored
        # position's score, not the final one.
        after = out[len(out) - out[::-1].index("SOUND Sounds\\\\win.wav"):]
        self.assertIn("SBJoueur.1 Score : 0  LP : 5", traces(after, "STATUS"))

    def test_half_moves_and_the_game_list(self):
        state = state_of(self.run_match(["!click CB", "!select 2 5", "!click SpeedButton3"]))
        self.assertEqual(state["SGMovesListCell"], {"Col": 1, "Row": 6})
        state = state_of(self.run_match(["!click CB", "!select 2 5", "!game 1"]))
        self.assertEqual(state["CBGames"]["selected"], 1)
        self.assertFalse(state["BrowsingOldGame"])
        self.assertFalse(state["ShowingStoredPosition"])
        self.assertEqual(state["SGMovesList"][25], ["25", "Wins 1 points and the match", ""])
        state = state_of(self.run_match(["!click CB", "!click SpeedButton4"]))
        self.assertEqual(state["ShownGame"], 2)
        self.assertEqual(state["SGMovesListCell"], {"Col": 1, "Row": 25})

    def test_watch_commands_follow_the_players_list(self):
        out = self.run_match(["!click Unwatch1", "!click Watch2", "!select-player nobody",
                              "!click Watch2"], select_before_watching="GammonBot_VII")
        self.assertEqual(traces(out, "SEND"), ["show saved\\r\\n", "Look GammonBot_VII\\r\\n",
                                               "unwatch\\r\\n", "Watch GammonBot_VII\\r\\n"])
        self.assertFalse(state_of(out)["Watching"])

    def test_actions_on_nothing_stop_the_replay(self):
        for action in ("!select 3 1", "!select 1", "!game 2", "!game x", "!click Nothing"):
            with self.subTest(action=action):
                code, _, err = replay("You're now watching alice.\n" + action + "\n")
                self.assertEqual(code, 2)
                self.assertIn(action, err)


if __name__ == "__main__":
    unittest.main()
