#!/usr/bin/env python3
"""A FIBS look-alike server for testing the client over a real socket.

Usage:
  python3 fibs_sim.py --port N [--population K] [--seed S] [--chunking random|none]
                      [--negotiation default|none|full] [--log FILE] [--accounts FILE]
                      [--activity SECONDS] [--robot-pace MS] [--robot-accept SHARE]
                      [--robot-pair [NAME,NAME]] [--message FROM:TO:TEXT]...

--port 0 picks a free port; the first line on stdout is "LISTENING <port>".
The server listens on 127.0.0.1 only and stops cleanly on SIGTERM or SIGINT.

Accounts: alice, bob, carol and dave exist with the password "secret".  --accounts FILE adds
accounts, one "name password" pair a line (blank lines and lines starting with "#" are
skipped); a name already known gets the new password.  Accounts created through the guest
registration dialogue live until the server stops.

--population K: robot players (default 20, at most 2000), the same for the same --seed.  The first two are
RepBot and TourneyBot.  --activity SECONDS (default 0, off) lets a robot log in, log out or
change its ready flag every SECONDS seconds.

--negotiation: "none" never sends a telnet command; "default" sends nothing on connect, like
the real server, and turns the echo off (IAC WILL ECHO) while a password is typed during
registration; "full" does the same and on connect also sends IAC DO TERMINAL-TYPE,
IAC WILL ECHO, IAC WILL SUPPRESS-GO-AHEAD and IAC DO 31, then asks for the terminal type
(IAC SB 24 1 IAC SE) once the client answers IAC WILL TERMINAL-TYPE.

--saved NAME:OPPONENT:LENGTH:SCORE:OPPONENTSCORE (repeatable) keeps an unfinished match between
two names, shown by 'show saved' to both (each sees his own points first; a mark " *" before
the name: the opponent is logged in, "**": logged in and ready to play) and by
'oldboard NAME' as a board line of the starting position.  'rawwho' lists in the order
'set sortwho' chose: login (time of login), name, rating (highest first), rrating (lowest
first).

Matches (fibs_matches.py, with the rules in backgammon.py): invite, join, roll, move, double,
accept, reject, resign, leave, board, watch, unwatch and look, with the texts and board
lines (board style 3) of the real server; boards follow every move under 'toggle autoboard'
and every roll under 'toggle moreboards'.  A match left, or whose player logs out or drops
connection, is saved: 'show saved' and 'oldboard' list it, and 'invite NAME' without a length
resumes it.  The population's robots play legal moves with seeded dice: --robot-accept SHARE
(default 0.5) of them join the matches they are invited to (a robot with a saved match with
the inviter always resumes it), any of them answers "tell ROBOT play N" (or "play unlimited")
with an invitation, and a robot pair listed as playing each other plays when watched or looked
at.  --robot-pace MS (default 400) is the pause before every robot action.  --robot-pair
[NAME,NAME] adds two robots (by default GammonBot_XXX and BlunderBot_XXX) that play 3-point
matches one after the other while someone watches one of them; their dice do not depend on
--seed, and their first match has a double and a take, a gammon, the Crawford game and a
resignation.

Chat (fibs_chat.py): shout, tell, say (to the opponent), kibitz (to the players and watchers
of a match), whisper (to its watchers), message, whois and waitfor, with the real echoes and
CLIP codes 9 to 19; 'toggle silent' keeps shouts away.  A message to a player logged in reaches
him at once (he gets a "9" line, the sender "10"); else it is stored (the sender gets "11") and
delivered at his next login after "There are messages for you:".  --message FROM:TO:TEXT
(repeatable) stores one before the start.  Robots answer tells after their pace:
"tell ROBOT shout TEXT" (it shouts TEXT), "tell ROBOT tell NAME TEXT" (it tells NAME),
"tell ROBOT message NAME TEXT" (it leaves NAME a message), "tell ROBOT resume" (it invites the
sender to resume their saved match), "tell ROBOT play N" (see above); anything else it tells
back as "You said: TEXT".  RepBot and TourneyBot do not answer.

--chunking random cuts every write into random pieces sent apart, so lines and telnet
commands are split between the client's reads; "none" writes whole.

--log FILE records, flushed at once: "NEG <conn> <bytes in decimal>" for every telnet
negotiation received, "NEGOUT <conn> <bytes>" for every one sent, "RECV <conn> <line>" for
every command line and "SEND <conn> <line>" for every line or prompt sent.

In-process use: start_server(port=0, ...) returns a running Server with .port and .stop().
"""

import argparse
import queue
import random
import re
import selectors
import signal
import socket
import sys
import threading
import time

import fibs_chat
import fibs_matches

IAC, DONT, DO, WONT, WILL, SB, SE = 255, 254, 253, 252, 251, 250, 240
OPT_ECHO, OPT_SGA, OPT_TTYPE, OPT_UNKNOWN = 1, 3, 24, 31
TTYPE_SEND = 1

CLIP_VERSION = "1008"
BOARDSTYLES = ("1", "2", "3")
SORTWHO_ORDERS = ("login", "name", "rating", "rrating")
SAVED_HEADER = "  opponent          matchlength   score (your points first)"
# board entries 0..25 of a starting position, as the server writes them
START_BOARD = [0, -2, 0, 0, 0, 0, 5, 0, 3, 0, 0, 0, -5, 5, 0, 0, 0, -3, 0, -5, 0, 0, 0, 0, 2, 0]

DEFAULT_ACCOUNTS = {
    # name: (password, rating, experience, e-mail, last login, last host)
    "alice": ("secret", 1623.47, 245, "-", 1593778125, "host.example.net"),
    "bob": ("secret", 1544.21, 3021, "bob@example.org", 1593701217, "dsl-81-12-4-77.example.net"),
    "carol": ("secret", 1811.02, 15022, "-", 1593612210, "carol.example.com"),
    "dave": ("secret", 1500.00, 0, "-", 1593790001, "192.0.2.14"),
}

BANNER = [
    "",
    "WELCOME TO THE",
    "     ____________  ______   ______",
    "    / ___/_  _/ _ )/ ___/  First Internet",
    "   / _/  _/ // _  |\\__ \\   Backgammon",
    "  /_/   /___/____/____/   Server",
    "",
    "         Questions and bug reports go to the server administrators.",
    "",
    "       This server is on the net to meet people from all countries.",
    "        Rude language will not be tolerated on this server. Be nice.",
    " ",
    "              LOGIN AS guest IF YOU ARE NEW TO THIS SERVER! ",
    "\t\t     One account per person only!",
    "",
]

def boxed(texts):
    rule = "+" + "-" * 68 + "+"
    return [rule] + ["|  %-66s|" % text for text in texts] + [rule]


MOTD = boxed([
    "",
    "Welcome back.  Please be patient with new players and keep the",
    "chat friendly.  Type 'help' to see the list of commands.",
    "",
    "The server restarts every Monday at 04:00 UTC for maintenance.",
    "",
]) + [""]

GUEST_TEXT = [
    "",
    "Welcome to FIBS. You just logged in as guest.",
    "Please register before using this server:",
    "",
    "Type 'name username' where 'username' is the name you want to use.",
    "Use only letters and the underscore character _ in your username.",
    "The server will then ask for your password twice.",
    "",
    "One account per person only!",
    "Please type 'bye' if you don't want to register now.",
]

GOODBYE = [
    "",
    "                             Goodbye.",
    "     Thank you for playing on the First Internet Backgammon Server.",
    "",
]

VALID_NAME = re.compile(r"[A-Za-z_]+\Z")

# What 'toggle <name>' answers: (text once it is on, text once it is off).
TOGGLE_TEXTS = {
    "allowpip": ("** You allow the use the server's 'pip' command.",
                 "** You don't allow the use of the server's 'pip' command."),
    "autoboard": ("** The board will be refreshed after every move.",
                  "** The board won't be refreshed after every move."),
    "autodouble": ("** You agree that doublets during opening double the cube.",
                   "** You don't agree that doublets during opening double the cube."),
    "automove": ("** Forced moves will be done automatically.",
                 "** Forced moves won't be done automatically."),
    "bell": ("** Your terminal will ring the bell if someone talks to you or invites you",
             "** Your terminal won't ring the bell if someone talks to you or invites you"),
    "crawford": ("** You insist on playing with the Crawford rule.",
                 "** You would like to play without using the Crawford rule."),
    "double": ("** You will be asked if you want to double.",
               "** You won't be asked if you want to double."),
    "greedy": ("** Will use automatic greedy bearoffs.",
               "** Won't use automatic greedy bearoffs."),
    "moreboards": ("** Will send rawboards after rolling.",
                   "** Won't send rawboards after rolling."),
    "moves": ("** You want a list of moves after this game.",
              "** You won't see a list of moves after this game."),
    "notify": ("** You'll be notified when new users log in.",
               "** You won't be notified when new users log in."),
    "ratings": ("** You'll see how the rating changes are calculated.",
                "** You won't see how the rating changes are calculated."),
    "ready": ("** You're now ready to invite or join someone.",
              "** You're now refusing to play with someone."),
    "report": ("** You will be informed about starting and ending matches.",
               "** You won't be informed about starting and ending matches."),
    "silent": ("** You won't hear what other players shout.",
               "** You will hear what other players shout."),
}


def date_line(now):
    """The server's date line, as shown under the banner and by 'time'."""
    t = time.gmtime(now)
    return "%s UTC   ( %s UTC )" % (
        time.strftime("%A, %B %d %H:%M:%S", t),
        time.strftime("%a %b ", t) + ("%2d" % t.tm_mday) + time.strftime(" %H:%M:%S %Y", t))


class Account:
    """A registered name with the values the server keeps between logins."""

    def __init__(self, name, password, rating=1500.0, experience=0, email="-",
                 last_login=0, last_host="-"):
        self.name = name
        self.password = password  # None: nobody can log in with it (robots)
        self.rating = rating
        self.experience = experience
        self.email = email
        self.last_login = last_login
        self.last_host = last_host
        self.toggles = {
            "allowpip": 1, "autoboard": 1, "autodouble": 0, "automove": 0, "bell": 0,
            "crawford": 1, "double": 1, "greedy": 0, "moreboards": 0, "moves": 0,
            "notify": 1, "ratings": 0, "ready": 0, "report": 0, "silent": 0,
        }
        self.variables = {
            "boardstyle": "1", "linelength": "0", "pagelength": "0", "redoubles": "none",
            "sortwho": "login", "timezone": "UTC",
        }

    def own_info_line(self, away):
        t = self.toggles
        redoubles = self.variables["redoubles"]
        return " ".join(str(v) for v in (
            2, self.name, t["allowpip"], t["autoboard"], t["autodouble"], t["automove"],
            int(away), t["bell"], t["crawford"], t["double"], self.experience, t["greedy"],
            t["moreboards"], t["moves"], t["notify"], "%.2f" % self.rating, t["ratings"],
            t["ready"], "0" if redoubles == "none" else redoubles, t["report"], t["silent"],
            self.variables["timezone"]))


class Match:
    def __init__(self, length, score_a, score_b):
        self.length = length  # 9999: unlimited
        self.score_a = score_a
        self.score_b = score_b

    def describe(self):
        kind = "unlimited match" if self.length == 9999 else "%d point match" % self.length
        return "%s %d-%d" % (kind, self.score_a, self.score_b)


class SavedMatch:
    """An unfinished match the server keeps for both players."""

    def __init__(self, name, opponent, length, score, opponent_score):
        self.names = (name, opponent)
        self.length = length
        self.scores = (score, opponent_score)
        self.board = list(START_BOARD)

    def seen_by(self, name):
        """(opponent, length, own points, opponent's points) for one of the two, else None."""
        if name not in self.names:
            return None
        me = self.names.index(name)
        return self.names[1 - me], self.length, self.scores[me], self.scores[1 - me]

    def board_line(self, name):
        """Board style 3, from name's side: the first player moves X from 1 to 24."""
        me = self.names.index(name)
        colour, direction, home, bar = (-1, 1, 25, 0) if me == 0 else (1, -1, 0, 25)
        fields = (["board", "You", self.names[1 - me], self.length, self.scores[me],
                   self.scores[1 - me]] + self.board
                  + [0, 0, 0, 0, 0, 1, 1, 1, 0, colour, direction, home, bar, 0, 0, 0, 0, 0, 0,
                     0, 0])
        return ":".join(str(f) for f in fields)


class Player:
    """Someone logged in: a connected client or a robot of the population."""

    def __init__(self, account, host, client, login_time, connection=None):
        self.account = account
        self.host = host
        self.client = client
        self.login_time = login_time
        self.connection = connection
        self.opponent = None
        self.watching = None
        self.match = None
        self.away = False
        self.last_active = login_time

    @property
    def name(self):
        return self.account.name

    def idle_seconds(self, now):
        return max(0, int(now - self.last_active))

    def who_line(self, now):
        return "5 %s %s %s %d %d %.2f %d %d %d %s %s %s" % (
            self.name, self.opponent.name if self.opponent else "-",
            self.watching.name if self.watching else "-", self.account.toggles["ready"],
            int(self.away), self.account.rating, self.account.experience,
            self.idle_seconds(now), self.login_time, self.host, self.client or "-",
            self.account.email or "-")


class Robot(Player):
    """A population member: always logged in unless the activity thread logs it out."""

    def __init__(self, account, host, client, login_time, last_active, special=False):
        super().__init__(account, host, client, login_time)
        self.last_active = last_active
        self.special = special
        self.online = True


# ---------------------------------------------------------------- population

FIRST_NAMES = ["Anna", "Bruno", "Clara", "Dmitri", "Elif", "Farid", "Greta", "Hugo", "Ines",
               "Jonas", "Katja", "Luis", "Mira", "Nils", "Olga", "Pavel", "Rosa", "Stefan",
               "Tove", "Umberto", "Vera", "Willem", "Yara", "Zoltan", "Agnes", "Bjorn", "Carmen",
               "Dario", "Emma", "Felix", "Gianni", "Hanna", "Igor", "Joao", "Kenji", "Lena",
               "Marco", "Nadia", "Oskar", "Paula", "Rafael", "Sofia", "Tomas", "Ulla", "Viktor",
               "Wanda", "Xavier", "Yusuf", "Zofia", "Alan", "Beth", "Chris", "Diane", "Eric",
               "Fiona", "Gary", "Helen", "Ian", "Julia", "Kevin", "Laura", "Mike", "Nancy"]
LAST_NAMES = ["Berg", "Costa", "Dahl", "Eriksen", "Fischer", "Gomez", "Horvath", "Ivanov",
              "Jansen", "Kowalski", "Lindqvist", "Moreau", "Novak", "Olsen", "Petrov", "Quist",
              "Rossi", "Schmidt", "Tanaka", "Urban", "Vidal", "Weber", "Andersen", "Bauer",
              "Conti", "Dubois", "Esposito", "Ferreira", "Garcia", "Hoffmann", "Ito", "Jensen",
              "Keller", "Lambert", "Martin", "Nielsen", "Ortiz", "Peters", "Ricci", "Silva",
              "Thomas", "Varga", "Walsh", "Young", "Zimmermann", "Brown", "Clark", "Evans",
              "Hughes", "Murphy"]
HANDLE_HEADS = ["sun", "river", "lucky", "dice", "night", "stone", "blue", "red", "cube", "pip",
                "fox", "owl", "wolf", "tiger", "jazz", "pepper", "maple", "coral", "iron",
                "silver", "quiet", "happy", "old", "wild", "north", "south", "crazy", "golden",
                "little", "big", "shadow", "storm", "frost", "ember", "lazy", "swift", "green",
                "black", "white", "sly", "moon", "star", "gammon", "backgammon", "double"]
HANDLE_TAILS = ["ray", "walker", "man", "girl", "king", "dog", "cat", "rider", "smith", "hawk",
                "berry", "fan", "master", "runner", "queen", "bear", "player", "lady", "boy",
                "fish", "jack", "monk", "pirate", "ninja", "wizard", "dancer", "shark", "baron",
                "duke", "roller"]
ROMAN = ["I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII", "XIII", "XIV",
         "XV", "XVI", "XVII", "XVIII", "XIX", "XX"]
FREE_CLIENTS = ["3DFiBs4.0.79", "3DFiBs4.0.76", "BGOnline_v1.5.2", "JavaFIBS_1.5",
                "Padgammon_v3.2.1", "OdesysMobileR315L", "FIBzilla5.0.49", "kbackgammon-2.6.0",
                "CocoaFIBS0.9", "BBGT_4.0_beta"]
COUNTRIES = ["NT", "NT", "NT", "US", "DE", "FR", "GB", "NL", "SE", "IT", "ES", "CA", "AU", "JP",
             "BR", "DK", "CH", "FI", "HU", "IL"]
# the name parts below give well over this many distinct names
MAX_POPULATION = 2000
MATCH_LENGTHS = [1, 1, 1, 3, 5, 5, 7, 9, 11, 13, 9999]


def coded_profile(rng):
    """20 characters: gender mark, country, 16 of first and last name, client mark."""
    gender = rng.choice("????<>=")
    country = rng.choice(COUNTRIES)
    if rng.random() < 0.6:
        names = "_" * 16
    else:
        last = rng.choice(LAST_NAMES)
        names = (rng.choice(FIRST_NAMES) + chr(ord(last[0]) - 30) + last[1:])[:16].ljust(16, "_")
    return gender + country + names + rng.choice("!!!T$")


def random_host(rng):
    a, b, c, d = (rng.randint(1, 254) for _ in range(4))
    forms = [
        "%d.%d.%d.%d" % (a, b, c, d),
        "p%08X.dip0.t-ipconnect.de" % rng.getrandbits(32),
        "cpe-%d-%d-%d-%d.nyc.res.rr.com" % (a, b, c, d),
        "c-%d-%d-%d-%d.hsd1.ma.comcast.net" % (a, b, c, d),
        "%d-%d-%d-%d.lightspeed.irvnca.sbcglobal.net" % (a, b, c, d),
        "host%d-%d-%d-%d.range%d-%d.btcentralplus.com" % (a, b, c, d, a, b),
        "mobile-%d-%d.pool.example.net" % (c, d),
    ]
    return rng.choice(forms)


def human_name(rng):
    r = rng.random()
    if r < 0.35:
        name = rng.choice(HANDLE_HEADS) + rng.choice(HANDLE_TAILS)
        return name.capitalize() if rng.random() < 0.4 else name
    if r < 0.55:
        return rng.choice(HANDLE_HEADS) + "_" + rng.choice(HANDLE_TAILS)
    if r < 0.85:
        name = rng.choice(FIRST_NAMES)
        return name.lower() if rng.random() < 0.5 else name
    return rng.choice(FIRST_NAMES).lower() + "_" + rng.choice(LAST_NAMES).lower()


def make_population(count, seed, now, taken):
    """Robots for --population, deterministic for a seed (times count back from now)."""
    rng = random.Random("fibs-sim population %d" % seed)
    robots = []
    taken = {n.lower() for n in taken}

    def add(account, host, client, idle, special=False):
        taken.add(account.name.lower())
        login_time = now - rng.randint(max(idle, 60), 8 * 3600)
        robots.append(Robot(account, host, client, login_time, now - idle, special))

    specials = [
        Account("RepBot", None, 1500.0, 0, "repbot@example.org", 0, "localhost"),
        Account("TourneyBot", None, 1500.0, 0, "tourneys@example.org", 0, "localhost"),
    ]
    for account in specials[:count]:
        add(account, "localhost", "-", rng.randint(0, 120), special=True)
    bot_numbers = list(ROMAN)
    rng.shuffle(bot_numbers)
    while len(robots) < count:
        if bot_numbers and rng.random() < 0.2:
            name = rng.choice(["GammonBot", "BlunderBot"]) + "_" + bot_numbers.pop()
            if name.lower() in taken:
                continue
            account = Account(name, None, round(rng.uniform(1900, 2250), 2),
                              rng.randint(20000, 1500000), "bots@example.org")
            account.toggles["ready"] = 1
            add(account, "bots.example.org", "ParlorBot", rng.randint(0, 60))
            continue
        name = human_name(rng)
        if name.lower() in taken:
            # as people do when their name is gone: a surname, an initial or underscores
            last = rng.choice(LAST_NAMES)
            name = rng.choice([name + last.lower(), name + "_" + last[0], name + last,
                               name + "_" * rng.randint(1, 3)])
            if name.lower() in taken:
                continue
        rating = round(min(2100.0, max(900.0, rng.gauss(1550, 150))), 2)
        experience = int(rng.expovariate(1 / 5000.0))
        if rng.random() < 0.08:
            # a new account: the starting rating and a handful of matches at most
            rating, experience = 1500.0, rng.randint(0, 12)
        email = "-"
        if rng.random() < 0.15:
            email = "%s@example.%s" % (name.lower(), rng.choice(["com", "net", "org"]))
        account = Account(name, None, rating, experience, email)
        account.toggles["ready"] = int(rng.random() < 0.6)
        r = rng.random()
        client = coded_profile(rng) if r < 0.35 else "-" if r < 0.45 else rng.choice(FREE_CLIENTS)
        add(account, random_host(rng), client, int(rng.expovariate(1 / 120.0)))
        robots[-1].away = rng.random() < 0.08

    ordinary = [r for r in robots if not r.special]
    order = list(ordinary)
    rng.shuffle(order)
    while len(order) >= 2:
        a = order.pop()
        if rng.random() < 0.5 and not a.away:
            b = order.pop()
            if b.away:
                continue
            length = rng.choice(MATCH_LENGTHS)
            limit = 12 if length == 9999 else length - 1
            match = Match(length, rng.randint(0, limit), rng.randint(0, limit))
            a.opponent, b.opponent = b, a
            a.match = b.match = match
            a.account.toggles["ready"] = b.account.toggles["ready"] = 1
    players = [r for r in ordinary if r.opponent]
    if players:
        for r in ordinary:
            if not r.opponent and rng.random() < 0.2:
                r.watching = rng.choice(players)
    return robots


def make_robot_pair(names, now, taken):
    """The two robots of --robot-pair: always logged in, ready, and apart from the population."""
    robots = []
    for index, name in enumerate(names):
        if name in taken:
            raise ValueError("--robot-pair: the name %s is already taken" % name)
        account = Account(name, None, 2010.0 - 45 * index, 700000 + 5000 * index,
                          "bots@example.org")
        account.toggles["ready"] = 1
        robots.append(Robot(account, "bots.example.org", "ParlorBot", now - 3600, now))
    return robots


def load_accounts(path):
    """Reads "name password" lines."""
    accounts = {}
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            words = line.split()
            if len(words) != 2:
                raise ValueError("%s:%d: expected 'name password'" % (path, number))
            accounts[words[0]] = words[1]
    return accounts


# ---------------------------------------------------------------- telnet

class TelnetParser:
    """Splits a received byte stream into data and telnet commands.

    State is kept between feeds, so a command cut between two reads is completed by the next.
    IAC IAC is a data byte 255; other two-byte commands (NOP, GA, ...) are dropped.
    """

    def __init__(self):
        self._state = "data"
        self._command = bytearray()

    def feed(self, chunk):
        data = bytearray()
        commands = []
        for b in chunk:
            state = self._state
            if state == "data":
                if b == IAC:
                    self._state = "iac"
                else:
                    data.append(b)
            elif state == "iac":
                if b == IAC:
                    data.append(IAC)
                    self._state = "data"
                elif b in (WILL, WONT, DO, DONT):
                    self._command = bytearray((IAC, b))
                    self._state = "option"
                elif b == SB:
                    self._command = bytearray((IAC, SB))
                    self._state = "sub"
                else:
                    self._state = "data"
            elif state == "option":
                self._command.append(b)
                commands.append(bytes(self._command))
                self._state = "data"
            elif state == "sub":
                if b == IAC:
                    self._state = "sub-iac"
                else:
                    self._command.append(b)
            else:  # sub-iac
                if b == SE:
                    self._command += bytes((IAC, SE))
                    commands.append(bytes(self._command))
                    self._state = "data"
                else:
                    # kept as sent: the recording shows the client's bytes unchanged
                    self._command += bytes((IAC, b))
                    self._state = "sub"
        return bytes(data), commands


class EventLog:
    def __init__(self, path):
        self._file = open(path, "a", encoding="utf-8", errors="replace") if path else None
        self._lock = threading.Lock()

    def write(self, kind, conn_id, text):
        with self._lock:
            if self._file is None:
                return
            self._file.write("%s %d %s\n" % (kind, conn_id, text))
            self._file.flush()

    def close(self):
        with self._lock:
            if self._file is not None:
                self._file.close()
                self._file = None


_CLOSE = object()


class ClientConnection(fibs_chat.ChatCommands, fibs_matches.MatchCommands):
    """One telnet client: a reader thread feeding the line handlers, a writer thread sending."""

    MAX_LINE = 65536

    COMMANDS = {
        "address": "cmd_address",
        "average": "cmd_average",
        "oldboard": "cmd_oldboard",
        "bye": "cmd_bye",
        "rawwho": "cmd_rawwho",
        "set": "cmd_set",
        "show": "cmd_show",
        "time": "cmd_time",
        "toggle": "cmd_toggle",
        "version": "cmd_version",
    }
    COMMANDS.update(fibs_matches.MatchCommands.MATCH_COMMANDS)
    COMMANDS.update(fibs_chat.ChatCommands.CHAT_COMMANDS)

    def __init__(self, server, sock, conn_id):
        self.server = server
        self.sock = sock
        self.conn_id = conn_id
        self.peer = sock.getpeername()
        self.negotiation_replies = []
        self.received_lines = []
        self.sent_data = bytearray()
        self.player = None
        self.closed = threading.Event()
        self._parser = TelnetParser()
        self._line = bytearray()
        self._outgoing = queue.Queue()
        self._handler = self._line_login
        self._ttype_asked = False
        self._echo_off = False
        self._said_bye = False
        self._replaced = False
        self._new_name = None
        self._new_password = None
        self._rng = random.Random("fibs-sim chunks %d %d" % (server.seed, conn_id))
        self._reader = threading.Thread(target=self._read_loop, daemon=True,
                                        name="fibs-sim-read-%d" % conn_id)
        self._writer = threading.Thread(target=self._write_loop, daemon=True,
                                        name="fibs-sim-write-%d" % conn_id)

    def start(self):
        self._writer.start()
        if self.server.negotiation == "full":
            self.send_telnet(bytes((IAC, DO, OPT_TTYPE, IAC, WILL, OPT_ECHO, IAC, WILL, OPT_SGA,
                                    IAC, DO, OPT_UNKNOWN)))
        self.send_lines(BANNER + [date_line(time.time())], prompt="login: ")
        self._reader.start()

    # -- output

    def send_lines(self, lines, prompt=None):
        for line in lines:
            self.server.log.write("SEND", self.conn_id, line)
        text = "".join(line + "\r\n" for line in lines)
        if prompt is not None:
            self.server.log.write("SEND", self.conn_id, prompt)
            text += prompt
        self._enqueue(text.encode("latin-1", "replace").replace(b"\xff", b"\xff\xff"))

    def send_telnet(self, command):
        if self.server.negotiation == "none":
            return
        self.server.log.write("NEGOUT", self.conn_id, " ".join(str(b) for b in command))
        self._enqueue(command)

    def _enqueue(self, data):
        # one lock for both, so sent_data keeps the order in which the writer sends
        with self.server.changed:
            self.sent_data += data
            self._outgoing.put(data)

    def close(self):
        """Sends what is queued, then ends the connection."""
        self._outgoing.put(_CLOSE)

    def _write_loop(self):
        while True:
            item = self._outgoing.get()
            if item is _CLOSE:
                break
            try:
                self._write(item)
            except OSError:
                break
        try:
            self.sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def _write(self, data):
        if self.server.chunking != "random":
            self.sock.sendall(data)
            return
        pos = 0
        while pos < len(data):
            size = self._rng.randint(1, 48)
            self.sock.sendall(data[pos:pos + size])
            pos += size
            # a pause so that TCP sends every piece on its own
            time.sleep(0.001)

    # -- input

    def _read_loop(self):
        try:
            while True:
                try:
                    chunk = self.sock.recv(4096)
                except OSError:
                    break
                if not chunk:
                    break
                self._on_bytes(chunk)
        finally:
            self._outgoing.put(_CLOSE)
            self._writer.join(5)
            self.sock.close()
            self.server.connection_closed(self)
            self.closed.set()

    def _on_bytes(self, chunk):
        data, commands = self._parser.feed(chunk)
        for command in commands:
            self._on_negotiation(command)
        for b in data:
            if b == 10:
                line = bytes(self._line).rstrip(b"\r").replace(b"\0", b"").decode("latin-1")
                self._line.clear()
                self._on_line(line)
            elif len(self._line) < self.MAX_LINE:
                self._line.append(b)

    def _on_negotiation(self, command):
        self.server.log.write("NEG", self.conn_id, " ".join(str(b) for b in command))
        with self.server.changed:
            self.negotiation_replies.append(command)
            self.server.changed.notify_all()
        if (self.server.negotiation == "full" and command == bytes((IAC, WILL, OPT_TTYPE))
                and not self._ttype_asked):
            self._ttype_asked = True
            self.send_telnet(bytes((IAC, SB, OPT_TTYPE, TTYPE_SEND, IAC, SE)))

    def _on_line(self, line):
        self.server.log.write("RECV", self.conn_id, line)
        with self.server.changed:
            self.received_lines.append(line)
            self.server.changed.notify_all()
        if self.player is not None:
            self.player.last_active = time.time()
        self._handler(line)

    # -- login and registration

    def _line_login(self, line):
        words = line.split(None, 4)
        # "login guest" is a CLIP login without its other words: refused like any other.
        if words == ["guest"]:
            self._handler = self._line_guest
            self.send_lines(GUEST_TEXT, prompt="> ")
            return
        if len(words) == 5 and words[0] == "login":
            _, client, _version, name, password = words
            if self.server.log_in(self, client, name, password):
                self._handler = self._line_command
                return
        self.send_lines([], prompt="login: ")

    def _line_guest(self, line):
        words = line.split()
        command = words[0].lower() if words else ""
        if command == "bye":
            self._goodbye()
        elif command == "name":
            name = words[1] if len(words) > 1 else ""
            if not VALID_NAME.match(name):
                self.send_lines(
                    ["** Your name may only contain letters and the underscore character _ ."],
                    prompt="> ")
            elif self.server.name_taken(name):
                self.send_lines(
                    ["** Please use another name. '%s' is already used by someone else." % name],
                    prompt="> ")
            else:
                self._new_name = name
                self.send_lines(["Your name will be %s" % name])
                self._ask_password()
        elif command:
            self.send_lines(["** Unknown command: '%s'" % words[0]], prompt="> ")
        else:
            self.send_lines([], prompt="> ")

    def _ask_password(self):
        if not self._echo_off:
            self._echo_off = True
            self.send_telnet(bytes((IAC, WILL, OPT_ECHO)))
        self._handler = self._line_password
        self.send_lines([], prompt="Please give your password: ")

    def _line_password(self, line):
        if not line.strip():
            self.send_lines([], prompt="Please give your password: ")
            return
        self._new_password = line.strip()
        self._handler = self._line_retype
        self.send_lines([], prompt="Please retype your password: ")

    def _line_retype(self, line):
        if line.strip() != self._new_password:
            self.send_lines(["** The two passwords were not identical. Please give them again."])
            self._ask_password()
            return
        self._echo_off = False
        self.send_telnet(bytes((IAC, WONT, OPT_ECHO)))
        if not self.server.register(self._new_name, self._new_password, self.peer[0]):
            self._handler = self._line_guest
            self.send_lines(["** Please use another name. '%s' is already used by someone else."
                             % self._new_name], prompt="> ")
            return
        self._handler = self._line_registered
        self.send_lines(["You are registered."], prompt="> ")

    def _line_registered(self, line):
        words = line.split()
        if words and words[0].lower() == "bye":
            self._goodbye()
        elif words:
            self.send_lines(["** Unknown command: '%s'" % words[0]], prompt="> ")
        else:
            self.send_lines([], prompt="> ")

    def _goodbye(self):
        self._said_bye = True
        self._handler = self._line_ignored
        self.send_lines(GOODBYE)
        self.close()

    def _line_ignored(self, line):
        pass

    def replace(self):
        """The same name logged in from somewhere else: this connection just ends."""
        self._replaced = True
        self.close()

    def logout_reason(self):
        if self._replaced or self.player is None:
            return None
        return "logs out" if self._said_bye else "drops connection"

    # -- commands of a logged-in player

    def _line_command(self, line):
        words = line.split()
        if not words:
            return
        method = self.COMMANDS.get(words[0].lower())
        if method is None:
            self.send_lines(["** Unknown command: '%s'" % words[0]])
            return
        getattr(self, method)(words[1:])

    def cmd_bye(self, args):
        self.server.log_out(self)
        self._goodbye()

    def cmd_rawwho(self, args):
        self.send_lines(self.server.who_batch(self.player.account.variables["sortwho"]))

    def cmd_oldboard(self, args):
        if not args:
            self.send_lines(["** Give the name of the player whose saved game you want to see."])
            return
        line = self.server.saved_board(self.player.name, args[0])
        if line is None:
            self.send_lines(["** There's no saved game with %s." % args[0]])
        else:
            self.send_lines([line, ""])

    def cmd_set(self, args):
        variables = self.player.account.variables
        if not args:
            self.send_lines(["Settings of variables:"] + [
                "%-11s %s" % (name + ":", value) for name, value in sorted(variables.items())])
            return
        name = args[0].lower()
        if name not in variables:
            self.send_lines(["** Unknown variable '%s'." % args[0]])
            return
        if len(args) < 2:
            self.send_lines(["Value of '%s' is %s." % (name, variables[name])])
            return
        value = args[1]
        if name == "sortwho" and value not in SORTWHO_ORDERS:
            self.send_lines(["** Valid arguments are login, name, rating and rrating."])
            return
        if name == "boardstyle" and value not in BOARDSTYLES:
            self.send_lines(["** Valid arguments are 1, 2 and 3."])
            return
        variables[name] = value
        self.send_lines(["Value of '%s' set to %s." % (name, value)])

    def cmd_show(self, args):
        what = args[0].lower() if args else ""
        if what == "games":
            self.send_lines(self.server.games_listing())
        elif what == "watchers":
            self.send_lines(self.server.watchers_listing())
        elif what == "saved":
            self.send_lines(self.server.saved_listing(self.player.name))
        else:
            self.send_lines(["** Don't know how to show %s" % (args[0] if args else "nothing")])

    def cmd_time(self, args):
        self.send_lines([date_line(time.time())])

    def cmd_version(self, args):
        self.send_lines(["FIBS Version 1.30 (CLIP %s)" % CLIP_VERSION])

    def cmd_average(self, args):
        self.send_lines(self.server.average_listing())

    # -- own settings

    def cmd_toggle(self, args):
        """Flips one of the account's flags; the own-info line is not sent again, but a change
        of 'ready' reaches everyone (the user included) as a who update."""
        toggles = self.player.account.toggles
        if not args:
            self.send_lines(["The current settings are:"] + [
                "%-15s %s" % (name, "YES" if toggles[name] else "NO")
                for name in sorted(TOGGLE_TEXTS)])
            return
        name = args[0].lower()
        if name not in TOGGLE_TEXTS:
            self.send_lines(["** Don't know how to toggle %s" % args[0]])
            return
        with self.server.lock:
            toggles[name] ^= 1
            self.send_lines([TOGGLE_TEXTS[name][0 if toggles[name] else 1]])
            if name == "ready":
                self.server.broadcast([self.player.who_line(time.time()), "6"])

    def cmd_address(self, args):
        if not args:
            self.send_lines(["** You didn't give your address."])
            return
        self.player.account.email = args[0]
        self.send_lines(["Your email address is '%s'." % args[0]])


class Server:
    """The world: accounts, who is logged in, the robot population, and the listener."""

    def __init__(self, port=0, population=20, seed=1, chunking="none", negotiation="default",
                 log_path=None, accounts=None, activity=0.0, saved=None, robot_pace=0.4,
                 robot_accept=0.5, robot_pair=None, messages=None):
        if chunking not in ("random", "none"):
            raise ValueError("chunking must be 'random' or 'none'")
        if negotiation not in ("default", "none", "full"):
            raise ValueError("negotiation must be 'default', 'none' or 'full'")
        self.seed = seed
        self.chunking = chunking
        self.negotiation = negotiation
        self.activity = activity
        self.log = EventLog(log_path)
        self.lock = threading.RLock()
        # notified whenever a connection records a received line or negotiation
        self.changed = threading.Condition(self.lock)
        self.started_at = int(time.time())
        self.accounts = {}
        for name, (password, rating, experience, email, last, host) in DEFAULT_ACCOUNTS.items():
            self.accounts[name] = Account(name, password, rating, experience, email, last, host)
            # long-standing accounts have long since turned this on
            self.accounts[name].toggles["moreboards"] = 1
        for name, password in (accounts or {}).items():
            if name in self.accounts:
                self.accounts[name].password = password
            else:
                self.accounts[name] = Account(name, password, last_login=self.started_at,
                                              last_host="localhost")
        self.robots = make_population(population, seed, self.started_at, self.accounts)
        for robot in self.robots:
            self.accounts[robot.name] = robot.account
        self.online = {robot.name: robot for robot in self.robots}
        self.saved = [SavedMatch(*entry) for entry in (saved or [])]
        pair = make_robot_pair(robot_pair or (), self.started_at, self.accounts)
        for robot in pair:
            self.accounts[robot.name] = robot.account
            self.online[robot.name] = robot
        self.hall = fibs_matches.MatchHall(self, robot_pace, robot_accept, pair)
        self.chat = fibs_chat.ChatDesk(self, messages or ())
        # every connection since the start, closed ones included, for tests to inspect
        self.connections = []
        self._next_id = 1
        self._stopping = threading.Event()
        self._listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._listener.bind(("127.0.0.1", port))
        self._listener.listen(32)
        self.port = self._listener.getsockname()[1]
        self._wake_r, self._wake_w = socket.socketpair()
        self._threads = [threading.Thread(target=self._accept_loop, daemon=True,
                                          name="fibs-sim-accept")]
        if activity > 0:
            self._threads.append(threading.Thread(target=self._activity_loop, daemon=True,
                                                  name="fibs-sim-activity"))

    def start(self):
        for thread in self._threads:
            thread.start()
        self.hall.start()
        return self

    def stop(self):
        if self._stopping.is_set():
            return
        self._stopping.set()
        self.hall.stop()
        self._wake_w.send(b"x")
        for thread in self._threads:
            thread.join(5)
        with self.lock:
            connections = list(self.connections)
        for conn in connections:
            try:
                conn.sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
        for conn in connections:
            conn.closed.wait(5)
        self._listener.close()
        self._wake_r.close()
        self._wake_w.close()
        self.log.close()

    def wait_until(self, predicate, timeout=5.0):
        """For in-process tests: waits until predicate() holds; returns its last value."""
        with self.changed:
            return self.changed.wait_for(predicate, timeout)

    def connection_for(self, client_address):
        """The connection whose peer is the given (host, port): a test socket's getsockname()."""
        with self.lock:
            for conn in self.connections:
                if conn.peer[:2] == tuple(client_address[:2]):
                    return conn
        return None

    def _accept_loop(self):
        with selectors.DefaultSelector() as selector:
            selector.register(self._listener, selectors.EVENT_READ)
            selector.register(self._wake_r, selectors.EVENT_READ)
            while not self._stopping.is_set():
                for key, _ in selector.select():
                    if key.fileobj is not self._listener or self._stopping.is_set():
                        continue
                    try:
                        sock, _ = self._listener.accept()
                    except OSError:
                        continue
                    sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
                    with self.lock:
                        conn = ClientConnection(self, sock, self._next_id)
                        self._next_id += 1
                        self.connections.append(conn)
                    conn.start()

    # -- world

    def broadcast(self, lines, exclude=None):
        with self.lock:
            for player in self.online.values():
                if player.connection is not None and player.connection is not exclude:
                    player.connection.send_lines(lines)

    def who_batch(self, order="login"):
        now = time.time()
        with self.lock:
            return [p.who_line(now) for p in self.sorted_players(order)] + ["6"]

    def sorted_players(self, order):
        players = list(self.online.values())
        if order == "name":
            players.sort(key=lambda p: p.name.lower())
        elif order == "rating":
            players.sort(key=lambda p: -p.account.rating)
        elif order == "rrating":
            players.sort(key=lambda p: p.account.rating)
        else:
            players.sort(key=lambda p: p.login_time)
        return players

    def saved_listing(self, name):
        """The reply to 'show saved': each unfinished match of name, his points first."""
        with self.lock:
            rows = []
            for match in self.saved:
                view = match.seen_by(name)
                if view is None:
                    continue
                opponent, length, mine, theirs = view
                other = self.online.get(opponent)
                mark = "  " if other is None else "**" if other.account.toggles["ready"] else " *"
                rows.append("%s%-23s%2d%15s%2d - %2d" % (mark, opponent, length, "", mine, theirs))
        return [SAVED_HEADER] + rows if rows else ["no saved games."]

    def saved_board(self, name, opponent):
        """The board line of name's saved match with opponent, or None."""
        with self.lock:
            for match in self.saved:
                view = match.seen_by(name)
                if view is not None and view[0] == opponent:
                    return match.board_line(name)
        return None

    def name_taken(self, name):
        with self.lock:
            return name.lower() == "guest" or any(n.lower() == name.lower()
                                                  for n in self.accounts)

    def register(self, name, password, host):
        with self.lock:
            if self.name_taken(name):
                return False
            self.accounts[name] = Account(name, password, last_login=int(time.time()),
                                          last_host=host)
            return True

    def log_in(self, conn, client, name, password):
        now = int(time.time())
        with self.lock:
            account = self.accounts.get(name)
            if account is None or account.password is None or account.password != password:
                return False
            # The prompt line ends once the login is accepted, as the recorded sessions show.
            lines = [""]
            old = self.online.pop(name, None)
            if old is not None:
                lines.append("** Warning: You are already logged in.")
                old.connection.replace()
                self.hall.player_leaving(old, "drops connection")
            player = Player(account, conn.peer[0], client, now, conn)
            conn.player = player
            self.online[name] = player
            lines += ["1 %s %d %s" % (name, account.last_login, account.last_host),
                      account.own_info_line(player.away), "3"] + MOTD + ["4", ""]
            lines += self.who_batch() + [""]
            account.last_login, account.last_host = now, conn.peer[0]
            conn.send_lines(lines)
            update = [player.who_line(now), "6"]
            if old is None:
                update.insert(0, "7 %s %s logs in." % (name, name))
            self.broadcast(update, exclude=conn)
            self.chat.arrived(player)
            self.changed.notify_all()
        return True

    def log_out(self, conn):
        """An orderly 'bye' of a logged-in player."""
        with self.lock:
            self._remove(conn, "logs out")

    def connection_closed(self, conn):
        with self.lock:
            reason = conn.logout_reason()
            if reason is not None:
                self._remove(conn, reason)
            self.changed.notify_all()

    def _remove(self, conn, reason):
        player = conn.player
        if player is None or self.online.get(player.name) is not player:
            return
        conn.player = None
        self.hall.player_leaving(player, reason)
        del self.online[player.name]
        self.chat.departed(player)
        self.broadcast(["8 %s %s %s." % (player.name, player.name, reason)])

    def games_listing(self):
        with self.lock:
            lines = ["List of games:"]
            seen = set()
            for p in self.online.values():
                if p.opponent is not None and p.match is not None and id(p.match) not in seen:
                    seen.add(id(p.match))
                    lines.append("%-16s - %-16s (%s)" % (p.name, p.opponent.name,
                                                         p.match.describe()))
            return lines

    def watchers_listing(self):
        with self.lock:
            pairs = [(p.name, p.watching.name) for p in self.online.values() if p.watching]
        if not pairs:
            return ["No one is watching."]
        return ["Watching players:"] + ["%s is watching %s." % pair for pair in pairs]

    def average_listing(self):
        rng = random.Random("fibs-sim average %d" % self.seed)
        base = max(len(self.robots), 1)
        return ["Time (UTC)  average min max"] + [
            " %02d:00-%02d:59  %7.2f %3d %3d" % (
                hour, hour, base * (0.8 + 0.4 * rng.random()), int(base * 0.6),
                int(base * 1.3)) for hour in range(24)]

    # -- population activity

    def _activity_loop(self):
        rng = random.Random("fibs-sim activity %d" % self.seed)
        while not self._stopping.wait(self.activity):
            with self.lock:
                self._activity_step(rng)

    def _activity_step(self, rng):
        now = int(time.time())
        offline = [r for r in self.robots if not r.online]
        watched = {p.watching for p in self.online.values() if p.watching}
        idle = [r for r in self.robots if r.online and not r.special and r.opponent is None
                and r not in watched]
        roll = rng.random()
        if offline and roll < 0.35:
            robot = rng.choice(offline)
            robot.online = True
            robot.login_time = robot.last_active = now
            self.online[robot.name] = robot
            self.broadcast(["7 %s %s logs in." % (robot.name, robot.name),
                            robot.who_line(now), "6"])
            self.chat.arrived(robot)
        elif idle and roll < 0.7:
            robot = rng.choice(idle)
            robot.online = False
            robot.watching = None
            del self.online[robot.name]
            self.broadcast(["8 %s %s logs out." % (robot.name, robot.name)])
        elif idle:
            robot = rng.choice(idle)
            robot.account.toggles["ready"] ^= 1
            self.broadcast([robot.who_line(now), "6"])


def start_server(port=0, population=20, seed=1, chunking="none", negotiation="default",
                 log_path=None, accounts=None, activity=0.0, saved=None, robot_pace=0.4,
                 robot_accept=0.5, robot_pair=None, messages=None):
    """Starts a server in this process; accounts maps extra names to passwords; saved lists
    (name, opponent, length, score, opponent's score) tuples; robot_pace is in seconds,
    robot_pair two names (see --robot-pair) and messages (from, to, text) tuples stored
    before the start."""
    return Server(port, population, seed, chunking, negotiation, log_path, accounts,
                  activity, saved, robot_pace, robot_accept, robot_pair, messages).start()


def parse_pair(text):
    """NAME,NAME of --robot-pair."""
    names = text.split(",")
    if len(names) != 2 or not all(VALID_NAME.match(n) for n in names) or names[0] == names[1]:
        raise argparse.ArgumentTypeError("expected two different names: NAME,NAME")
    return names


def parse_saved(text):
    """NAME:OPPONENT:LENGTH:SCORE:OPPONENTSCORE of --saved."""
    parts = text.split(":")
    if len(parts) != 5 or not all(parts[:2]):
        raise argparse.ArgumentTypeError("expected NAME:OPPONENT:LENGTH:SCORE:OPPONENTSCORE")
    try:
        return parts[0], parts[1], int(parts[2]), int(parts[3]), int(parts[4])
    except ValueError:
        raise argparse.ArgumentTypeError("length and scores must be numbers") from None


def parse_message(text):
    """FROM:TO:TEXT of --message (the text may hold colons)."""
    parts = text.split(":", 2)
    if len(parts) != 3 or not all(VALID_NAME.match(n) for n in parts[:2]) or not parts[2].strip():
        raise argparse.ArgumentTypeError("expected FROM:TO:TEXT")
    return parts[0], parts[1], parts[2]


def main(argv=None):
    parser = argparse.ArgumentParser(description="FIBS simulator for tests")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--population", type=int, default=20)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--chunking", choices=("random", "none"), default="none")
    parser.add_argument("--negotiation", choices=("default", "none", "full"), default="default")
    parser.add_argument("--log")
    parser.add_argument("--accounts")
    parser.add_argument("--activity", type=float, default=0.0,
                        help="seconds between robot logins/logouts (0: none)")
    parser.add_argument("--saved", type=parse_saved, action="append", default=[],
                        help="NAME:OPPONENT:LENGTH:SCORE:OPPONENTSCORE, an unfinished match")
    parser.add_argument("--robot-pace", type=int, default=400, metavar="MS",
                        help="milliseconds before each robot action (0: at once)")
    parser.add_argument("--robot-accept", type=float, default=0.5, metavar="SHARE",
                        help="share of the population's robots that accept invitations")
    parser.add_argument("--robot-pair", type=parse_pair, nargs="?", metavar="NAME,NAME",
                        const=list(fibs_matches.PAIR_NAMES),
                        help="two extra robots that play 3-point matches while watched")
    parser.add_argument("--message", type=parse_message, action="append", default=[],
                        metavar="FROM:TO:TEXT", help="a message stored for TO before the start")
    args = parser.parse_args(argv)
    if not 0 <= args.population <= MAX_POPULATION:
        parser.error("--population must be between 0 and %d" % MAX_POPULATION)
    try:
        accounts = load_accounts(args.accounts) if args.accounts else None
    except (OSError, ValueError) as e:
        print("fibs_sim: %s" % e, file=sys.stderr)
        return 2
    stop = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.set())
    server = start_server(args.port, args.population, args.seed, args.chunking,
                          args.negotiation, args.log, accounts, args.activity, args.saved,
                          args.robot_pace / 1000.0, args.robot_accept, args.robot_pair,
                          args.message)
    print("LISTENING %d" % server.port, flush=True)
    stop.wait()
    server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
