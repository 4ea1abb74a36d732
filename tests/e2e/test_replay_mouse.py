"""tabulon-replay: mouse play on the board of the shipped default theme and the game commands."""

import json
import unittest

from test_replay import replay, traces

START = "** You are now playing a 3 point match with bob"

# Board pixels of the default theme: the middle of a point's column, the own dice, the roll area.
POINT_13 = "90 40"
POINT_7 = "285 460"
POINT_3 = "495 460"
OWN_DICE = "450 245"
ROLL_AREA = "380 250"


def board_line(turn=1, dice=(0, 0), cube=1, can_move=2):
    counts = [0] * 26
    counts[24], counts[13], counts[8], counts[6] = 2, 5, 3, 5
    counts[1], counts[12], counts[17], counts[19] = -2, -5, -3, -5
    words = ["board", "You", "bob", "3", "0", "0"] + [str(c) for c in counts]
    words += [str(v) for v in (turn, dice[0], dice[1], 0, 0, cube, 1, 1, 0, 1, -1, 0, 25,
                               0, 0, 0, 0, can_move, 0, 0, 0)]
    return ":".join(words)


def drag(a, b):
    (ax, ay), (bx, by) = a.split(), b.split()
    return ["!mouse down %s %s" % (ax, ay), "!mouse move %d %s" % (int(ax) + 9, ay),
            "!mouse move %s %s" % (bx, by), "!mouse up %s %s" % (bx, by)]


def press(at, button="left"):
    return ["!mouse down %s %s" % (at, button), "!mouse up %s %s" % (at, button)]


class ReplayMouseTest(unittest.TestCase):
    def run_lines(self, lines):
        opening = [START, board_line(), "You roll 6 and 4.", board_line(dice=(6, 4))]
        code, out, err = replay("\n".join(opening + lines) + "\n")
        self.assertEqual(code, 0, err)
        self.assertTrue(out[-1].startswith("STATE "))
        return out, json.loads(out[-1][len("STATE "):])

    def test_a_move_entered_and_sent(self):
        cases = [
            ("two drags", drag(POINT_13, POINT_7) + drag(POINT_7, POINT_3)),
            ("one drag over both dice", drag(POINT_13, POINT_3)),
            ("a drag and a right click", drag(POINT_13, POINT_7) + press(POINT_7, "right")),
        ]
        for what, lines in cases:
            with self.subTest(what):
                out, state = self.run_lines(lines + press(OWN_DICE))
                self.assertIn("move  13-7 7-3\\r\\n", traces(out, "SEND"))
                self.assertIn("SBJoueur.2 You move  13-7 7-3", traces(out, "STATUS"))
                # The release after the press on the dice opens the next entry.
                self.assertEqual(state["MoveCommand"], "move ")
                self.assertEqual(state["MovedCount"], 0)
                self.assertEqual(state["MoveNotation"], "")
                self.assertEqual(state["Games"][-1]["PlayerPositions"][-1]["MoveText"],
                                 "64 13/7 7/3 ")

    def test_the_entry_before_the_dice_are_pressed(self):
        out, state = self.run_lines(drag(POINT_13, POINT_7) + drag(POINT_7, POINT_3))
        self.assertFalse([s for s in traces(out, "SEND") if s.startswith("move")])
        self.assertEqual(state["MoveCommand"], "move  13-7 7-3")
        self.assertEqual(state["MoveNotation"], "13/7 7/3 ")
        self.assertEqual(state["MovedCount"], 2)
        self.assertTrue(state["Die1Used"])
        self.assertTrue(state["Die2Used"])
        self.assertEqual(state["Ghosts"], [-2, 3, -2, -2])
        board = state["CurrentPosition"]["Board"]
        self.assertEqual((board[13 + 1], board[7 + 1], board[3 + 1]), (4, 0, 1))
        # Undo returns to the board line.
        _, state = self.run_lines(drag(POINT_13, POINT_7) + ["!click TBUndo"])
        self.assertEqual(state["CurrentPosition"]["Board"][13 + 1], 5)
        self.assertEqual(state["MoveCommand"], "")

    def test_commands_by_control_name(self):
        cases = [
            ("TBRefreshBoard", "Board\\r\\n"),
            ("Roll1", "Roll \\r\\n"),
            ("TBReject", "reject\\r\\n"),
            ("Leave1", "leave\\r\\n"),
        ]
        for control, sent in cases:
            with self.subTest(control):
                out, _ = self.run_lines(["!click " + control])
                self.assertEqual(traces(out, "SEND")[-1], sent)

    def test_roll_and_double_by_pressing_the_board(self):
        code, out, err = replay("\n".join(
            [START, board_line(), *press(ROLL_AREA), "!click Double1"]) + "\n")
        self.assertEqual(code, 0, err)
        sent = traces(out, "SEND")
        self.assertEqual(sent[-2:], ["roll\\r\\n", "Double\\r\\n"])
        state = json.loads(out[-1][len("STATE "):])
        self.assertEqual(state["CurrentPosition"]["Cube"], -2)
        self.assertEqual(state["SGMovesList"][1][1], "Doubles")

    def test_a_malformed_mouse_line_stops_the_replay(self):
        for line in ("!mouse down 10", "!mouse press 10 10", "!mouse up 10 10 middle"):
            with self.subTest(line):
                code, _, err = replay(START + "\n" + line + "\n")
                self.assertEqual(code, 2)
                self.assertIn("!mouse takes", err)


if __name__ == "__main__":
    unittest.main()
