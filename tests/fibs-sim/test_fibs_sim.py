"""Tests of the FIBS simulator, talking to it over real sockets."""

import os
import re
import select
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import fibs_sim  # noqa: E402

IAC, DONT, DO, WONT, WILL, SB, SE = 255, 254, 253, 252, 251, 250, 240
LOGIN_PROMPT = "login: "
REGISTER_HINT = "Please type 'bye' if you don't want to register now.\r\n> "


class TelnetTestClient:
    """A raw socket client with its own telnet parsing (independent of the server's).

    With answer=True it answers negotiations the way the desktop client does.
    """

    def __init__(self, port, answer=True):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=5)
        self.answer = answer
        self.raw = bytearray()
        self.text = ""        # telnet-free data not yet consumed
        self.commands = []    # telnet commands received, in order
        self.reads = 0
        self.eof = False
        self._state = "data"
        self._command = bytearray()

    def close(self):
        self.sock.close()

    def send(self, data):
        self.sock.sendall(data.encode("latin-1") if isinstance(data, str) else data)

    def send_line(self, line):
        self.send(line + "\r\n")

    def _pump(self, deadline):
        remaining = deadline - time.monotonic()
        if remaining <= 0 or self.eof:
            return False
        ready, _, _ = select.select([self.sock], [], [], remaining)
        if not ready:
            return False
        chunk = self.sock.recv(65536)
        if not chunk:
            self.eof = True
            return False
        self.reads += 1
        self.raw += chunk
        self._parse(chunk)
        return True

    def _parse(self, chunk):
        data = bytearray()
        for b in chunk:
            if self._state == "data":
                if b == IAC:
                    self._state = "iac"
                else:
                    data.append(b)
            elif self._state == "iac":
                if b == IAC:
                    data.append(b)
                    self._state = "data"
                elif b == SB:
                    self._command = bytearray((IAC, SB))
                    self._state = "sub"
                else:
                    self._command = bytearray((IAC, b))
                    self._state = "option"
            elif self._state == "option":
                self._command.append(b)
                self._on_command(bytes(self._command))
                self._state = "data"
            else:
                self._command.append(b)
                if self._command[-2:] == bytes((IAC, SE)):
                    self._on_command(bytes(self._command))
                    self._state = "data"
        self.text += data.decode("latin-1")

    def _on_command(self, command):
        self.commands.append(command)
        if not self.answer:
            return
        replies = {
            bytes((IAC, DO, 24)): bytes((IAC, WILL, 24)),
            bytes((IAC, WILL, 1)): bytes((IAC, DO, 1)),
            bytes((IAC, WILL, 3)): bytes((IAC, DO, 3)),
            bytes((IAC, SB, 24, 1, IAC, SE)): bytes((IAC, SB, 24, 0)) + b"VT100" + bytes((IAC, SE)),
        }
        if command in replies:
            self.send(replies[command])
        elif command[1] == WILL:
            self.send(bytes((IAC, DONT, command[2])))
        elif command[1] == DO:
            self.send(bytes((IAC, WONT, command[2])))

    def read_until(self, marker, timeout=5.0):
        """Consumes and returns the text up to and including marker."""
        deadline = time.monotonic() + timeout
        while marker not in self.text:
            if not self._pump(deadline):
                raise AssertionError("no %r in %r" % (marker, self.text[-400:]))
        end = self.text.index(marker) + len(marker)
        taken, self.text = self.text[:end], self.text[end:]
        return taken

    def read_commands(self, count, timeout=5.0):
        """Reads until count telnet commands have arrived."""
        deadline = time.monotonic() + timeout
        while len(self.commands) < count:
            if not self._pump(deadline):
                raise AssertionError("only %r arrived" % self.commands)
        return self.commands

    def read_to_eof(self, timeout=5.0):
        deadline = time.monotonic() + timeout
        while not self.eof:
            if not self._pump(deadline) and not self.eof:
                raise AssertionError("connection still open; got %r" % self.text[-400:])
        taken, self.text = self.text, ""
        return taken

    def login(self, name, password="secret", client="TestClient"):
        self.read_until(LOGIN_PROMPT)
        self.send_line("login %s 1008 %s %s" % (client, name, password))
        self.read_until("\r\n")  # the line end that closes the prompt
        return self.read_until("\r\n6\r\n\r\n")


class ServerTestCase(unittest.TestCase):
    server_options = {}

    def setUp(self):
        options = dict({"population": 6, "seed": 3}, **self.server_options)
        self.server = fibs_sim.start_server(port=0, **options)
        self.addCleanup(self.server.stop)

    def connect(self, answer=True):
        client = TelnetTestClient(self.server.port, answer)
        self.addCleanup(client.close)
        return client

    def connection_of(self, client):
        self.assertTrue(self.server.wait_until(
            lambda: self.server.connection_for(client.sock.getsockname()) is not None))
        return self.server.connection_for(client.sock.getsockname())


class FullNegotiationTest(ServerTestCase):
    def setUp(self):
        self.log_dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.log_dir.cleanup)
        self.log_path = os.path.join(self.log_dir.name, "sim.log")
        self.server_options = {"negotiation": "full", "log_path": self.log_path}
        super().setUp()

    def test_sends_the_full_set_and_records_every_reply(self):
        client = self.connect()
        client.read_until(LOGIN_PROMPT)
        # the terminal-type request follows the client's answer, possibly after the prompt
        client.read_commands(5)
        conn = self.connection_of(client)
        expected_replies = [bytes((IAC, WILL, 24)), bytes((IAC, DO, 1)), bytes((IAC, DO, 3)),
                            bytes((IAC, WONT, 31)),
                            bytes((IAC, SB, 24, 0)) + b"VT100" + bytes((IAC, SE))]
        self.assertTrue(self.server.wait_until(lambda: len(conn.negotiation_replies) >= 5))
        self.assertEqual(conn.negotiation_replies, expected_replies)
        self.assertEqual(client.commands, [
            bytes((IAC, DO, 24)), bytes((IAC, WILL, 1)), bytes((IAC, WILL, 3)),
            bytes((IAC, DO, 31)), bytes((IAC, SB, 24, 1, IAC, SE))])
        # the negotiation never reaches the line parser
        client.send_line("login TestClient 1008 alice secret")
        client.read_until("\r\n6\r\n")
        self.assertEqual(conn.received_lines, ["login TestClient 1008 alice secret"])

        with open(self.log_path, encoding="utf-8") as f:
            log = f.read().splitlines()
        cid = conn.conn_id
        for reply in expected_replies:
            self.assertIn("NEG %d %s" % (cid, " ".join(str(b) for b in reply)), log)
        self.assertIn("RECV %d login TestClient 1008 alice secret" % cid, log)
        self.assertIn("SEND %d 3" % cid, log)
        self.assertIn("SEND %d %s" % (cid, LOGIN_PROMPT), log)


class TelnetInputTest(ServerTestCase):
    def test_quiet_modes_send_no_telnet_command_on_connect(self):
        for mode in ("default", "none"):
            with self.subTest(mode=mode):
                server = fibs_sim.start_server(port=0, population=2, negotiation=mode)
                self.addCleanup(server.stop)
                client = TelnetTestClient(server.port)
                self.addCleanup(client.close)
                client.read_until(LOGIN_PROMPT)
                self.assertNotIn(IAC, client.raw)
                self.assertTrue(client.raw.endswith(b"\r\n" + LOGIN_PROMPT.encode()))

    def test_commands_inside_lines_and_escaped_255(self):
        client = self.connect()
        client.login("alice")
        conn = self.connection_of(client)
        client.send(b"set bo" + bytes((IAC, WILL)))
        client.send(bytes((24,)) + b"ardstyle 3\r\nxy" + bytes((IAC,)))
        client.send(bytes((IAC,)) + b"z\r\n")
        self.assertEqual(client.read_until("\r\n"), "Value of 'boardstyle' set to 3.\r\n")
        self.assertEqual(client.read_until("\r\n"), "** Unknown command: 'xy\xffz'\r\n")
        self.assertIn(b"'xy\xff\xffz'", client.raw)
        self.assertEqual(conn.received_lines[1:], ["set boardstyle 3", "xy\xffz"])
        self.assertEqual(conn.negotiation_replies, [bytes((IAC, WILL, 24))])


class LoginTest(ServerTestCase):
    def test_failed_logins_get_the_bare_prompt_again(self):
        client = self.connect()
        client.read_until(LOGIN_PROMPT)
        attempts = ["login TestClient 1008 alice wrong", "login TestClient 1008 nobody secret",
                    "login TestClient 1008 RepBot secret", "login alice secret", "login guest",
                    ""]
        for attempt in attempts:
            client.send_line(attempt)
        client.send_line("login TestClient 1008 alice secret")
        text = client.read_until("\r\n6\r\n")
        self.assertTrue(text.startswith(LOGIN_PROMPT * len(attempts) + "\r\n1 alice "), text[:200])

    def test_login_sequence(self):
        client = self.connect()
        text = client.login("alice", client="?NT________________T")
        lines = text.split("\r\n")
        self.assertRegex(lines[0], r"^1 alice \d+ host\.example\.net$")
        own = lines[1].split()
        self.assertEqual(len(own), 22)
        self.assertEqual((own[0], own[1], own[10], own[15], own[21]),
                         ("2", "alice", "245", "1623.47", "UTC"))
        self.assertEqual(lines[2], "3")
        four = lines.index("4")
        self.assertIn("+" + "-" * 68 + "+", lines[3:four])
        self.assertEqual(lines[four + 1], "")
        who = lines[four + 2:-3]
        self.assertEqual(lines[-3:], ["6", "", ""])
        self.assertEqual(len(who), 7)  # six robots and the user
        for line in who:
            self.assertEqual(len(line.split()), 13, line)
            self.assertTrue(line.startswith("5 "), line)
        mine = [line.split() for line in who if line.split()[1] == "alice"]
        self.assertEqual(len(mine), 1)
        self.assertEqual(mine[0][2:6], ["-", "-", "0", "0"])
        self.assertEqual(mine[0][6:8], ["1623.47", "245"])
        self.assertEqual(mine[0][10:], ["127.0.0.1", "?NT________________T", "-"])

        # command replies come without the empty line that precedes notices
        client.send_line("set boardstyle 3")
        self.assertEqual(client.read_until("\r\n"), "Value of 'boardstyle' set to 3.\r\n")
        client.send_line("frobnicate now")
        self.assertEqual(client.read_until("\r\n"), "** Unknown command: 'frobnicate'\r\n")
        client.send_line("bye")
        self.assertIn("Goodbye", client.read_to_eof())

    def test_next_login_shows_the_previous_one(self):
        first = self.connect()
        first.login("bob")
        first.send_line("bye")
        first.read_to_eof()
        second = self.connect()
        self.assertRegex(second.login("bob").split("\r\n")[0], r"^1 bob \d+ 127\.0\.0\.1$")

    def test_others_see_logins_logouts_and_drops(self):
        alice = self.connect()
        alice.login("alice")
        bob = self.connect()
        batch = bob.login("bob")
        self.assertEqual(len([l for l in batch.split("\r\n") if l.startswith("5 alice ")]), 1)
        update = alice.read_until("\r\n6\r\n").split("\r\n")
        self.assertEqual(update[0], "7 bob bob logs in.")
        self.assertTrue(update[1].startswith("5 bob "), update)

        bob.send_line("bye")
        bob.read_to_eof()
        self.assertEqual(alice.read_until("\r\n"), "8 bob bob logs out.\r\n")

        carol = self.connect()
        carol.login("carol")
        alice.read_until("\r\n6\r\n")
        carol.close()
        self.assertEqual(alice.read_until("\r\n"), "8 carol carol drops connection.\r\n")

    def test_second_login_warns_and_ends_the_first(self):
        first = self.connect()
        first.login("alice")
        watcher = self.connect()
        watcher.login("bob")
        second = self.connect()
        text = second.login("alice")
        self.assertTrue(text.startswith("** Warning: You are already logged in.\r\n1 alice "))
        self.assertEqual(len([l for l in text.split("\r\n") if l.startswith("5 alice ")]), 1)
        first.read_to_eof()
        # the name stayed logged in: a who update, no logout notice
        self.assertTrue(watcher.read_until("\r\n6\r\n").startswith("5 alice "))
        second.send_line("rawwho")
        self.assertEqual(second.read_until("\r\n6\r\n").count("5 alice "), 1)


class ListingTest(ServerTestCase):
    server_options = {"population": 40}

    def test_listings_agree_with_the_who_list(self):
        client = self.connect()
        who = [line.split() for line in client.login("alice").split("\r\n")
               if line.startswith("5 ")]
        opponent = {w[1]: w[2] for w in who}
        watching = {w[1]: w[3] for w in who if w[3] != "-"}
        self.assertTrue(watching, "seed without watchers")

        client.send_line("show games")
        client.read_until("List of games:\r\n")
        games = []
        for _ in range(sum(1 for v in opponent.values() if v != "-") // 2):
            games.append(re.match(r"(\S+) +- (\S+) +\((\d+ point|unlimited) match \d+-\d+\)\r\n$",
                                  client.read_until("\r\n")))
        self.assertTrue(games, "seed without games")
        for game in games:
            self.assertIsNotNone(game)
            self.assertEqual(opponent[game.group(1)], game.group(2))
            self.assertEqual(opponent[game.group(2)], game.group(1))

        client.send_line("show watchers")
        self.assertEqual(client.read_until("\r\n"), "Watching players:\r\n")
        listed = [client.read_until("\r\n") for _ in watching]
        self.assertEqual(sorted(listed), sorted("%s is watching %s.\r\n" % pair
                                                for pair in watching.items()))

    def test_informational_commands_answer(self):
        client = self.connect()
        client.login("alice")
        cases = [("time", r"^\w+day, \w+ \d\d \d\d:\d\d:\d\d UTC "),
                 ("version", r"^FIBS Version "),
                 ("Average", r"^Time \(UTC\)"),
                 ("show saved", r"^no saved games\.$"),
                 ("set boardstyle 4", r"^\*\* Valid arguments are 1, 2 and 3\.$"),
                 ("show nonsense", r"^\*\* Don't know how to show nonsense$")]
        for command, reply in cases:
            with self.subTest(command=command):
                client.send_line(command)
                # an unknown command marks the end of the reply
                client.send_line("sync")
                answer = client.read_until("** Unknown command: 'sync'\r\n")
                self.assertRegex(answer.split("\r\n")[0], reply)


class OwnSettingsTest(ServerTestCase):
    def test_toggles_answer_with_the_servers_texts_and_last_to_the_next_login(self):
        client = self.connect()
        own = client.login("alice").split("\r\n")[1].split()
        self.assertEqual((own[5], own[11], own[17], own[20]), ("0", "0", "0", "0"))
        cases = [("toggle automove", "** Forced moves will be done automatically."),
                 ("toggle automove", "** Forced moves won't be done automatically."),
                 ("toggle greedy", "** Will use automatic greedy bearoffs."),
                 ("toggle double", "** You won't be asked if you want to double."),
                 ("toggle silent", "** You won't hear what other players shout."),
                 ("toggle Ratings", "** You'll see how the rating changes are calculated."),
                 ("toggle frobs", "** Don't know how to toggle frobs")]
        for command, answer in cases:
            with self.subTest(command):
                client.send_line(command)
                self.assertEqual(client.read_until("\r\n"), answer + "\r\n")

        # 'ready' also shows in the who list, to everyone and to the user himself.
        bob = self.connect()
        bob.login("bob")
        client.read_until("\r\n6\r\n")
        client.send_line("toggle ready")
        self.assertEqual(client.read_until("\r\n"),
                         "** You're now ready to invite or join someone.\r\n")
        mine = client.read_until("\r\n6\r\n").split("\r\n")[0].split()
        self.assertEqual((mine[1], mine[4]), ("alice", "1"))
        theirs = bob.read_until("\r\n6\r\n").split("\r\n")[0].split()
        self.assertEqual((theirs[1], theirs[4]), ("alice", "1"))

        client.send_line("toggle")
        listing = client.read_until("silent          YES\r\n").split("\r\n")
        self.assertEqual(listing[0], "The current settings are:")
        self.assertIn("greedy          YES", listing)
        self.assertIn("automove        NO", listing)
        client.send_line("bye")
        client.read_to_eof()

        again = self.connect()
        own = again.login("alice").split("\r\n")[1].split()
        # automove, double, greedy, ratings, ready, silent
        self.assertEqual((own[5], own[9], own[11], own[16], own[17], own[20]),
                         ("0", "0", "1", "1", "1", "1"))

    def test_address_is_kept_and_listed(self):
        client = self.connect()
        client.login("alice")
        client.send_line("address")
        self.assertEqual(client.read_until("\r\n"), "** You didn't give your address.\r\n")
        client.send_line("address alice@example.org")
        self.assertEqual(client.read_until("\r\n"),
                         "Your email address is 'alice@example.org'.\r\n")
        client.send_line("rawwho")
        mine = [line for line in client.read_until("\r\n6\r\n").split("\r\n")
                if line.startswith("5 alice ")]
        self.assertEqual(mine[0].split()[-1], "alice@example.org")


class RegistrationTest(ServerTestCase):
    def start_registration(self, entry="guest"):
        client = self.connect()
        client.read_until(LOGIN_PROMPT)
        client.send_line(entry)
        explanation = client.read_until(REGISTER_HINT)
        # Clients take these for a refused name wherever they appear.
        for refusal in ("use another name", "name may only contain"):
            self.assertNotIn(refusal, explanation)
        return client

    def test_happy_path_then_login_with_the_new_account(self):
        client = self.start_registration()
        conn = self.connection_of(client)
        client.send_line("name newbie")
        self.assertEqual(client.read_until("Please give your password: "),
                         "Your name will be newbie\r\nPlease give your password: ")
        self.assertEqual(client.commands, [bytes((IAC, WILL, 1))])
        client.send_line("pw12")
        self.assertEqual(client.read_until(": "), "Please retype your password: ")
        client.send_line("pw12")
        self.assertEqual(client.read_until("> "), "You are registered.\r\n> ")
        self.assertEqual(client.commands[-1], bytes((IAC, WONT, 1)))
        self.assertEqual(conn.negotiation_replies, [bytes((IAC, DO, 1))])
        client.send_line("bye")
        client.read_to_eof()

        again = self.connect()
        self.assertTrue(again.login("newbie", "pw12").startswith("1 newbie "))

    def test_refused_names(self):
        client = self.start_registration(entry="guest")
        cases = [
            ("name alice", "** Please use another name. 'alice' is already used by someone else."),
            ("name ALICE", "** Please use another name. 'ALICE' is already used by someone else."),
            ("name RepBot", "** Please use another name. 'RepBot' is already used by someone else."),
            ("name guest", "** Please use another name. 'guest' is already used by someone else."),
            ("name bad1", "** Your name may only contain letters and the underscore character _ ."),
            ("name", "** Your name may only contain letters and the underscore character _ ."),
        ]
        for line, refusal in cases:
            with self.subTest(line=line):
                client.send_line(line)
                self.assertEqual(client.read_until("> "), refusal + "\r\n> ")

    def test_different_passwords_are_asked_again(self):
        client = self.start_registration()
        client.send_line("name Second_Try")
        client.read_until("Please give your password: ")
        client.send_line("one1")
        client.read_until("Please retype your password: ")
        client.send_line("two2")
        self.assertEqual(
            client.read_until("Please give your password: "),
            "** The two passwords were not identical. Please give them again.\r\n"
            "Please give your password: ")
        client.send_line("two2")
        client.read_until("Please retype your password: ")
        client.send_line("two2")
        client.read_until("You are registered.\r\n")
        self.assertIn("Second_Try", self.server.accounts)


class RandomChunkingTest(ServerTestCase):
    server_options = {"chunking": "random", "negotiation": "full"}

    def test_pieces_arrive_whole_and_in_order(self):
        client = self.connect()
        client.login("alice")
        client.send_line("show games")
        client.read_until("List of games:\r\n")
        conn = self.connection_of(client)
        deadline = time.monotonic() + 5
        while len(client.raw) < len(conn.sent_data) and client._pump(deadline):
            pass
        self.assertEqual(bytes(client.raw), bytes(conn.sent_data))
        self.assertGreater(client.reads, 1)
        # the negotiation, cut into pieces, was still understood on both sides
        self.assertEqual(len(conn.negotiation_replies), 5)


class WhoListAndSavedGamesTest(ServerTestCase):
    server_options = {"population": 30, "accounts": {"zed": "zedpw"},
                      "saved": [("alice", "bob", 5, 2, 1), ("alice", "RepBot", 3, 0, 2),
                                ("carol", "dave", 11, 10, 3)]}

    def who_names_and_ratings(self, client):
        client.send_line("rawwho")
        rows = [line.split() for line in client.read_until("\r\n6\r\n").split("\r\n")
                if line.startswith("5 ")]
        return [r[1] for r in rows], [float(r[6]) for r in rows]

    def test_rawwho_follows_sortwho(self):
        client = self.connect()
        client.login("alice")
        names, _ = self.who_names_and_ratings(client)
        self.assertEqual(names[-1], "alice")  # the latest login comes last
        for order, check in [("name", lambda n, r: n == sorted(n, key=str.lower)),
                             ("rating", lambda n, r: r == sorted(r, reverse=True)),
                             ("rrating", lambda n, r: r == sorted(r))]:
            client.send_line("set sortwho " + order)
            self.assertEqual(client.read_until("\r\n"), "Value of 'sortwho' set to %s.\r\n" % order)
            names, ratings = self.who_names_and_ratings(client)
            self.assertEqual(len(names), 31)
            self.assertTrue(check(names, ratings), (order, names, ratings))
        client.send_line("set sortwho age")
        self.assertEqual(client.read_until("\r\n"),
                         "** Valid arguments are login, name, rating and rrating.\r\n")

    def test_show_saved_columns_marks_and_sides(self):
        client = self.connect()
        client.login("alice")
        client.send_line("show saved")
        self.assertEqual(client.read_until("\r\n"),
                         "  opponent          matchlength   score (your points first)\r\n")
        rows = [client.read_until("\r\n")[:-2] for _ in range(2)]
        self.assertEqual(rows, ["  bob                     5                2 -  1",
                                " *RepBot                  3                0 -  2"])
        for row in rows:
            self.assertEqual(len(row) - 2, 47)
        # the other side sees his own points first, and alice logged in and not ready
        bob = self.connect()
        bob.login("bob")
        bob.send_line("show saved")
        bob.read_until("(your points first)\r\n")
        self.assertEqual(bob.read_until("\r\n"), " *alice                   5                1 -  2\r\n")
        carol = self.connect()
        carol.login("carol")
        carol.send_line("show saved")
        carol.read_until("(your points first)\r\n")
        self.assertEqual(carol.read_until("\r\n"), "  dave                   11               10 -  3\r\n")
        zed = self.connect()
        zed.login("zed", "zedpw")
        zed.send_line("show saved")
        self.assertEqual(zed.read_until("\r\n"), "no saved games.\r\n")

    def test_oldboard_shows_the_saved_position(self):
        client = self.connect()
        client.login("alice")
        client.send("oldboard bob\n\n")
        line = client.read_until("\r\n")[:-2]
        fields = line.split(":")
        self.assertEqual(len(fields), 53)
        self.assertEqual(fields[:6], ["board", "You", "bob", "5", "2", "1"])
        self.assertEqual(fields[6:32], [str(v) for v in fibs_sim.START_BOARD])
        self.assertEqual(fields[41:45], ["-1", "1", "25", "0"])
        self.assertEqual(client.read_until("\r\n"), "\r\n")  # the empty line after a board
        client.send_line("oldboard carol")
        self.assertEqual(client.read_until("\r\n"), "** There's no saved game with carol.\r\n")


class ActivityTest(ServerTestCase):
    server_options = {"population": 12, "activity": 0.02}

    def test_logins_and_logouts_reach_the_logged_in(self):
        client = self.connect()
        client.login("alice")
        seen = ""
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            seen += client.read_until("\r\n")
            login = re.search(r"(?m)^7 (\w+) \1 logs in\.\r\n5 \1 .*\r\n6\r\n", seen)
            logout = re.search(r"(?m)^8 (\w+) \1 logs out\.\r\n", seen)
            if login and logout:
                break
        self.assertTrue(login and logout, seen[-600:])
        self.assertEqual(len(login.group(0).split("\r\n")[1].split()), 13)


class PopulationTest(unittest.TestCase):
    def population(self, seed, count=40):
        return fibs_sim.make_population(count, seed, 1600000000, {"alice"})

    def describe(self, robots):
        return [(r.name, r.account.rating, r.account.experience, r.host, r.client,
                 r.opponent.name if r.opponent else None, r.login_time) for r in robots]

    def test_deterministic_per_seed(self):
        self.assertEqual(self.describe(self.population(7)), self.describe(self.population(7)))
        self.assertNotEqual([r.name for r in self.population(7)],
                            [r.name for r in self.population(8)])

    def test_two_thousand_distinct_players(self):
        robots = self.population(11, count=fibs_sim.MAX_POPULATION)
        self.assertEqual(len(robots), 2000)
        self.assertEqual(len({r.name.lower() for r in robots}), 2000)
        coded = [r for r in robots if len(r.client) == 20 and r.client[0] in "?<>="]
        self.assertGreater(len(coded), 300)
        # most people picked an ordinary name, not one padded with underscores
        self.assertLess(sum(r.name.endswith("_") for r in robots), 200)
        self.assertGreater(len({int(r.account.rating) // 100 for r in robots}), 8)

    def test_population_is_consistent(self):
        robots = self.population(5, count=60)
        self.assertEqual([r.name for r in robots[:2]], ["RepBot", "TourneyBot"])
        names = [r.name.lower() for r in robots]
        self.assertEqual(len(names), len(set(names)))
        coded = [r.client for r in robots if len(r.client) == 20 and r.client[0] in "?<>="]
        self.assertTrue(coded)
        self.assertTrue(any(r.client not in coded and r.client != "-" for r in robots))
        for profile in coded:
            self.assertRegex(profile, r"^[?<>=][A-Z]{2}[^ ]{16}[!T$]$")
        for robot in robots:
            self.assertRegex(robot.name, r"^[A-Za-z_]+$")
            self.assertEqual(len(robot.who_line(1600000000).split()), 13)
            if robot.opponent:
                self.assertIs(robot.opponent.opponent, robot)
                self.assertIs(robot.match, robot.opponent.match)
            if robot.watching:
                self.assertIsNotNone(robot.watching.opponent)


class ProgramTest(unittest.TestCase):
    def test_runs_as_a_program_with_an_accounts_file_and_stops_on_sigterm(self):
        with tempfile.TemporaryDirectory() as tmp:
            accounts = os.path.join(tmp, "accounts.txt")
            with open(accounts, "w", encoding="utf-8") as f:
                f.write("# test accounts\n\nzed zedpw\nalice changed\n")
            proc = subprocess.Popen(
                [sys.executable, os.path.join(HERE, "fibs_sim.py"), "--port", "0",
                 "--population", "3", "--accounts", accounts],
                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            try:
                first = proc.stdout.readline()
                match = re.fullmatch(r"LISTENING (\d+)\n", first)
                self.assertIsNotNone(match, first)
                port = int(match.group(1))
                for name, password, accepted in [("alice", "secret", False),
                                                 ("zed", "zedpw", True),
                                                 ("alice", "changed", True)]:
                    client = TelnetTestClient(port)
                    client.read_until(LOGIN_PROMPT)
                    client.send_line("login TestClient 1008 %s %s" % (name, password))
                    if accepted:
                        self.assertEqual(client.read_until("\r\n"), "\r\n")
                        self.assertTrue(client.read_until("\r\n").startswith("1 %s " % name))
                    else:
                        self.assertEqual(client.read_until(LOGIN_PROMPT), LOGIN_PROMPT)
                    client.close()
                proc.send_signal(signal.SIGTERM)
                self.assertEqual(proc.wait(timeout=10), 0)
            finally:
                if proc.poll() is None:
                    proc.kill()
                    proc.wait()
                proc.stdout.close()
                proc.stderr.close()


if __name__ == "__main__":
    unittest.main()
