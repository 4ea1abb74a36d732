"""Tests of the simulator's chat: what the sender sees and what everyone else receives, stored
messages, whois and waitfor, and the robots that answer tells, over real sockets."""

import argparse
import re
import signal
import subprocess
import sys
import time
import unittest

# test_match puts this folder on the import path
from test_match import HERE, SocketCase, Wire
import fibs_sim

CHAT_LINE = re.compile(r"^(9|1[0-9]) ")


def chat_until(wire, marker):
    """The chat lines (codes 9 to 19) read up to the line equal to marker, marker included."""
    return [line for line in wire.until("^%s$" % re.escape(marker)) if CHAT_LINE.match(line)]


class ChatCase(SocketCase):
    def setUp(self):
        super().setUp()
        self.names = {}

    def connect(self, name, ready=False):
        wire = super().connect(name, ready)
        self.names[wire] = name
        return wire

    def mark(self, sender, *listeners):
        """sender shouts a marker: each listener's chat lines before it (since the last mark)."""
        text = "mark %f" % time.monotonic()
        sender.send("shout " + text)
        heard = {wire: chat_until(wire, "13 %s %s" % (self.names[sender], text))[:-1]
                 for wire in listeners}
        chat_until(sender, "17 " + text)
        return heard

    def robots(self):
        with self.server.lock:
            return sorted(r.name for r in self.server.robots
                          if not r.special and r.opponent is None)


class PublicAndPrivateTest(ChatCase):
    def test_shout_reaches_everyone_but_the_silent(self):
        alice, bob, carol = (self.connect(n) for n in ("alice", "bob", "carol"))
        carol.send("toggle silent")
        carol.until("won't hear what other players shout")
        with self.server.lock:
            others = len(self.server.online) - 2  # all but alice and the silent carol
        alice.send("shout hello all")
        self.assertEqual(alice.until("heard you")[-2:],
                         ["17 hello all", "** %d users heard you." % others])
        self.assertEqual(chat_until(bob, "13 alice hello all"), ["13 alice hello all"])
        bob.send("tell carol psst")
        self.assertEqual(chat_until(carol, "12 bob psst"), ["12 bob psst"])

    def test_tell_echo_and_delivery_ignore_the_case_of_the_name(self):
        alice, bob = self.connect("alice"), self.connect("bob")
        alice.send("tell BOB see you at 9")
        self.assertEqual(chat_until(alice, "16 bob see you at 9"), ["16 bob see you at 9"])
        self.assertEqual(chat_until(bob, "12 alice see you at 9"), ["12 alice see you at 9"])

    def test_refusals(self):
        alice = self.connect("alice")
        self.connect("bob")
        for command, reply in [
            ("shout", "** Shout what?"),
            ("tell bob", "** Tell whom what?"),
            ("tell nobody hi", "** There is no one called nobody."),
            ("tell dave hi", "** There is no one called dave."),
            ("say hi", "** You're not playing."),
            ("kibitz hi", "** You're not watching or playing."),
            ("whisper hi", "** You're not watching or playing."),
            ("message bob", "** Message whom what?"),
            ("message nobody hi", "** There is no one called nobody."),
            ("whois nobody", "** There is no one called nobody."),
            ("waitfor nobody", "** There is no one called nobody."),
            ("waitfor bob", "** bob is already logged in."),
            ("waitfor", "** You're not waiting for anyone."),
        ]:
            with self.subTest(command=command):
                alice.send(command)
                self.assertEqual(alice.until(r"^\*\* ")[-1], reply)


class MatchChatTest(ChatCase):
    """alice plays bob; carol watches alice and dave watches bob."""

    def setUp(self):
        super().setUp()
        self.alice = self.connect("alice", ready=True)
        self.bob = self.connect("bob", ready=True)
        self.carol, self.dave = self.connect("carol"), self.connect("dave")
        self.alice.send("invite bob 3")
        self.bob.until("Type 'join alice'")
        self.bob.send("join alice")
        self.alice.until("has joined you")
        for watcher, target in ((self.carol, "alice"), (self.dave, "bob")):
            watcher.send("watch " + target)
            watcher.until("now watching")
        self.everyone = (self.alice, self.bob, self.carol, self.dave)

    def test_who_hears_what(self):
        a, b, c, d = self.everyone
        for sender, command, own, others in [
            (a, "say good luck", ["16 bob good luck"], {b: ["12 alice good luck"]}),
            (b, "kibitz thanks", ["19 thanks"],
             {a: ["15 bob thanks"], c: ["15 bob thanks"], d: ["15 bob thanks"]}),
            (c, "whisper he should run", ["18 he should run"], {d: ["14 carol he should run"]}),
            (d, "kibitz go alice", ["19 go alice"],
             {a: ["15 dave go alice"], b: ["15 dave go alice"], c: ["15 dave go alice"]}),
            (a, "whisper not for bob", ["18 not for bob"],
             {c: ["14 alice not for bob"], d: ["14 alice not for bob"]}),
        ]:
            with self.subTest(command=command):
                sender.send(command)
                self.assertEqual(chat_until(sender, own[-1]), own)
                listeners = [w for w in self.everyone if w is not sender]
                heard = self.mark(sender, *listeners)
                for wire in listeners:
                    self.assertEqual(heard[wire], others.get(wire, []), self.names[wire])

    def test_a_watcher_cannot_say_and_match_chat_needs_a_text(self):
        self.carol.send("say hi")
        self.assertEqual(self.carol.until(r"^\*\*")[-1], "** You're not playing.")
        self.alice.send("kibitz")
        self.assertEqual(self.alice.until(r"^\*\*")[-1], "** Kibitz what?")
        self.dave.send("whisper")
        self.assertEqual(self.dave.until(r"^\*\*")[-1], "** Whisper what?")


class StoredMessageTest(ChatCase):
    options = {"messages": [("carol", "dave", "call me: 555 1234"),
                            ("bob", "Dave", "and me")]}

    def login_messages(self, name):
        wire = self.connect(name)
        wire.send("shout after login")
        return chat_until(wire, "17 after login")[:-1], wire

    def test_seeded_messages_are_delivered_once_at_login(self):
        with self.server.lock:
            started = self.server.started_at
        lines, dave = self.login_messages("dave")
        self.assertEqual(lines, ["9 carol %d call me: 555 1234" % started,
                                 "9 bob %d and me" % started])
        self.assertIn("There are messages for you:", dave.seen)
        self.assertLess(dave.seen.index("There are messages for you:"),
                        dave.seen.index(lines[0]))
        dave.send("bye")
        dave.until("Goodbye")
        self.assertEqual(self.login_messages("dave")[0], [])

    def test_message_to_an_absent_player_is_saved_and_to_a_present_one_delivered(self):
        alice = self.connect("alice")
        before = int(time.time())
        alice.send("message bob don't forget_the match")
        self.assertEqual(chat_until(alice, "11 bob"), ["11 bob"])
        lines, bob = self.login_messages("bob")
        self.assertEqual(len(lines), 1)
        sender, stamp, text = lines[0][2:].split(" ", 2)
        self.assertEqual((sender, text), ("alice", "don't forget_the match"))
        self.assertGreaterEqual(int(stamp), before)
        alice.send("message BOB now you're here")
        self.assertEqual(alice.until("^1[01] ")[-1], "10 bob")
        self.assertRegex(bob.until(" now you're here$")[-1], r"^9 alice \d+ now you're here$")

    def test_the_option_reads_from_to_and_text(self):
        for text, expected in [
            ("carol:dave:hi", ("carol", "dave", "hi")),
            ("carol:dave:at 9:30: ok", ("carol", "dave", "at 9:30: ok")),
            ("carol:dave:", None),
            ("carol:hi", None),
            ("car ol:dave:hi", None),
        ]:
            with self.subTest(text=text):
                if expected is None:
                    with self.assertRaises(argparse.ArgumentTypeError):
                        fibs_sim.parse_message(text)
                else:
                    self.assertEqual(fibs_sim.parse_message(text), expected)


class ProgramOptionTest(unittest.TestCase):
    def test_the_message_option_of_the_program(self):
        proc = subprocess.Popen(
            [sys.executable, str(HERE / "fibs_sim.py"), "--port", "0", "--population", "0",
             "--message", "carol:dave:see you at 9:30", "--message", "bob:dave:me too"],
            stdout=subprocess.PIPE, text=True)
        try:
            port = int(re.fullmatch(r"LISTENING (\d+)\n", proc.stdout.readline()).group(1))
            dave = Wire(port)
            try:
                dave.login("dave")
                self.assertEqual(dave.line(), "There are messages for you:")
                self.assertRegex(dave.line(), r"^9 carol \d+ see you at 9:30$")
                self.assertRegex(dave.line(), r"^9 bob \d+ me too$")
            finally:
                dave.close()
            proc.send_signal(signal.SIGTERM)
            self.assertEqual(proc.wait(timeout=10), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
            proc.stdout.close()


class WhoisAndWaitforTest(ChatCase):
    def test_whois_of_a_player_logged_in_and_of_one_logged_out(self):
        alice = self.connect("alice")
        self.connect("bob")
        alice.send("whois bob")
        lines = alice.until("address")
        lines = lines[lines.index("Information about bob:"):]
        self.assertRegex(lines[1], r"^  Last login: \w{3} \w{3} \d\d \d\d:\d\d \d{4} from \S+$")
        self.assertRegex(lines[2], r"^  Still logged in\. \d+:\d\d minutes idle\.$")
        self.assertEqual(lines[3:], ["  Rating: 1544.21 Experience: 3021",
                                     "  Email address: bob@example.org"])
        alice.send("whois CAROL")
        self.assertEqual(alice.until("address")[-5:], [
            "Information about carol:",
            "  Last login: Wed Jul 01 14:03 2020 from carol.example.com",
            "  Not logged in right now.",
            "  Rating: 1811.02 Experience: 15022",
            "  No email address."])

    def test_waitfor_tells_both_when_the_player_logs_in(self):
        alice, bob = self.connect("alice"), self.connect("bob")
        for wire, name in ((alice, "carol"), (alice, "dave"), (bob, "carol")):
            wire.send("waitfor " + name)
            self.assertEqual(wire.until("notified")[-1],
                             "** You'll be notified when %s logs in." % name)
        alice.send("waitfor")
        self.assertEqual(alice.until("waiting for")[-1], "You're waiting for: carol dave")
        # waiting ends with a logout
        bob.send("bye")
        bob.until("Goodbye")
        bob = self.connect("bob")
        carol = self.connect("carol")
        carol.send("waitfor")
        told = carol.until("not waiting for anyone")
        self.assertEqual([line for line in told if "waiting for you" in line],
                         ["alice is waiting for you to log in."])
        self.assertEqual(alice.until("FINALLY")[-1], "** FINALLY!!! carol logs in")
        bob.send("waitfor")
        self.assertFalse([line for line in bob.until("not waiting for anyone")
                          if "FINALLY" in line])
        alice.send("waitfor")
        self.assertEqual(alice.until("waiting for")[-1], "You're waiting for: dave")


class RobotTest(ChatCase):
    options = {"robot_accept": 1.0}

    def test_robots_do_what_they_are_told(self):
        alice, bob = self.connect("alice"), self.connect("bob")
        robot = self.robots()[0]
        for command, to_alice, to_bob in [
            ("hello there", ["12 %s You said: hello there" % robot], []),
            ("shout hi all", ["13 %s hi all" % robot], ["13 %s hi all" % robot]),
            ("tell bob psst", [], ["12 %s psst" % robot]),
            ("tell", ["12 %s You said: tell" % robot], []),
            ("message bob read me", [], None),
            ("play 3", ["12 %s Please toggle ready first." % robot], []),
            ("resume", ["12 %s Please toggle ready first." % robot], []),
        ]:
            with self.subTest(command=command):
                alice.send("tell %s %s" % (robot, command))
                self.assertEqual(chat_until(alice, "16 %s %s" % (robot, command)),
                                 ["16 %s %s" % (robot, command)])
                # RepBot keeps quiet: the robot's answer to a later tell comes next
                alice.send("tell RepBot ask alice")
                alice.send("tell %s done" % robot)
                done = "12 %s You said: done" % robot
                got = chat_until(alice, done)
                self.assertEqual([line for line in got if not line.startswith("16 ")],
                                 to_alice + [done])
                heard = self.mark(alice, bob)
                if to_bob is None:
                    self.assertEqual(len(heard[bob]), 1)
                    self.assertRegex(heard[bob][0], r"^9 %s \d+ read me$" % robot)
                else:
                    self.assertEqual(heard[bob], to_bob)

    def test_a_message_left_by_a_robot_waits_for_the_login(self):
        alice = self.connect("alice")
        robot = self.robots()[0]
        alice.send("tell %s message dave later" % robot)
        alice.send("tell %s done" % robot)
        alice.until("You said: done")
        dave = self.connect("dave")
        dave.send("shout in")
        lines = chat_until(dave, "17 in")
        self.assertRegex(lines[0], r"^9 %s \d+ later$" % robot)

    def test_invitation_to_resume_then_chat_with_the_opponent(self):
        alice = self.connect("alice", ready=True)
        robot = self.robots()[0]
        alice.send("tell %s resume" % robot)
        self.assertEqual(chat_until(alice, "12 %s We have no saved match." % robot)[-1],
                         "12 %s We have no saved match." % robot)
        with self.server.lock:
            self.server.saved.append(fibs_sim.SavedMatch(robot, "alice", 5, 2, 1))
        alice.send("tell %s resume" % robot)
        self.assertEqual(alice.until("Type 'join")[-3:], [
            "", "%s wants to resume a saved match with you." % robot,
            "Type 'join %s' to accept." % robot])
        alice.send("join %s" % robot)
        self.assertIn("You are now playing with %s. Your running match was loaded." % robot,
                      alice.until("^match length: "))
        self.assertEqual({alice.line(), alice.line()},
                         {"points for alice: 1", "points for %s: 2" % robot})
        alice.send("say well played")
        self.assertEqual(chat_until(alice, "12 %s You said: well played" % robot),
                         ["16 %s well played" % robot, "12 %s You said: well played" % robot])
        alice.send("tell %s play 5" % robot)
        self.assertEqual(alice.until("Sorry")[-1],
                         "12 %s Sorry, I'm playing with alice." % robot)


if __name__ == "__main__":
    unittest.main()
