"""Chat on the FIBS simulator: shout, tell, say, kibitz, whisper, message, whois and waitfor,
stored messages, and the robots' answers to tells.

Chat lines are numbered CLIP lines and come without the empty lines that precede most
plain-text messages.  Everything here runs with the server's lock held: the command methods of
ChatCommands take it, the login and logout hooks run under it, and the robots' clock takes it
before every robot action.
"""

import time

from fibs_matches import UNLIMITED, a_match, is_robot

# What each command answers when its text is missing.
MISSING_TEXT = {
    "shout": "** Shout what?",
    "tell": "** Tell whom what?",
    "say": "** Say what?",
    "kibitz": "** Kibitz what?",
    "whisper": "** Whisper what?",
    "message": "** Message whom what?",
}


def no_one(name):
    return "** There is no one called %s." % name


def login_date(unix_time):
    return time.strftime("%a %b %d %H:%M %Y", time.gmtime(unix_time))


class ChatDesk:
    """Stored messages, the players waited for, and what robots do when told something."""

    def __init__(self, server, messages=()):
        """messages: (sender, recipient, text) stored before the start."""
        self.server = server
        self.stored = {}   # recipient name -> [(sender name, unix time, text)]
        self.waiting = {}  # name waited for -> names of those waiting, in order
        for sender, recipient, text in messages:
            account = self.account(recipient)
            self.stored.setdefault(account.name if account else recipient, []).append(
                (sender, server.started_at, text))

    # -- names and delivery

    def account(self, name):
        accounts = self.server.accounts
        if name in accounts:
            return accounts[name]
        for key, account in accounts.items():
            if key.lower() == name.lower():
                return account
        return None

    def online(self, name):
        return self.server.hall.find(name)

    @staticmethod
    def send(player, line):
        if player is not None and player.connection is not None:
            player.connection.send_lines([line])

    def shout(self, sender, text):
        """Everyone else hears it but those with 'toggle silent'; returns how many heard it."""
        heard = 0
        for player in self.server.online.values():
            if player is sender or player.account.toggles.get("silent"):
                continue
            heard += 1
            self.send(player, "13 %s %s" % (sender.name, text))
        return heard

    def tell(self, sender, target, text):
        """A tell or a say reaching target; a robot that is told something answers it."""
        if is_robot(target):
            if not is_robot(sender):
                self.robot_told(target, sender, text)
        else:
            self.send(target, "12 %s %s" % (sender.name, text))

    def message(self, sender, account, text):
        """Delivers at once to a player logged in, else stores; the sender's notice code."""
        target = self.server.online.get(account.name)
        if target is None:
            self.stored.setdefault(account.name, []).append((sender.name, int(time.time()), text))
            return 11
        self.send(target, "9 %s %d %s" % (sender.name, int(time.time()), text))
        return 10

    # -- logging in and out

    def arrived(self, player):
        """player has just logged in: his stored messages, then who waited for him."""
        lines = []
        messages = self.stored.pop(player.name, [])
        if messages:
            lines.append("There are messages for you:")
            lines += ["9 %s %d %s" % message for message in messages]
        waiters = [self.server.online.get(name) for name in self.waiting.pop(player.name, [])]
        waiters = [w for w in waiters if w is not None]
        lines += ["%s is waiting for you to log in." % w.name for w in waiters]
        if lines and player.connection is not None:
            player.connection.send_lines(lines)
        for waiter in waiters:
            self.send(waiter, "** FINALLY!!! %s logs in" % player.name)

    def departed(self, player):
        """Waiting ends when the one who waits logs out."""
        for name, waiters in list(self.waiting.items()):
            if player.name in waiters:
                waiters.remove(player.name)
            if not waiters:
                del self.waiting[name]

    # -- robots

    def robot_told(self, robot, sender, text):
        """What a told robot does, after its pace:
        "shout TEXT", "tell NAME TEXT", "message NAME TEXT": it does so;
        "play N" / "play unlimited": it invites the sender; "resume": it invites the sender to
        resume their saved match; anything else: it tells the sender "You said: TEXT".
        RepBot and TourneyBot keep quiet."""
        if robot.special:
            return
        hall = self.server.hall
        hall.clock.later(hall.pace, lambda: self._robot_answer(robot, sender, text))

    def _robot_answer(self, robot, sender, text):
        server = self.server
        if server.online.get(robot.name) is not robot:
            return
        words = text.split()
        command = words[0].lower() if words else ""
        robot.last_active = time.time()
        if command == "shout" and len(words) > 1:
            self.shout(robot, " ".join(words[1:]))
        elif command == "tell" and len(words) > 2:
            target = self.online(words[1])
            if target is not None:
                self.tell(robot, target, " ".join(words[2:]))
        elif command == "message" and len(words) > 2:
            account = self.account(words[1])
            if account is not None:
                self.message(robot, account, " ".join(words[2:]))
        elif server.online.get(sender.name) is not sender:
            return
        elif command == "play":
            self._robot_invites(robot, sender, words[1:])
        elif command == "resume" and len(words) == 1:
            self._robot_invites(robot, sender, None)
        else:
            self.tell(robot, sender, "You said: %s" % text)

    def _robot_invites(self, robot, sender, length_words):
        """length_words: the words after "play", or None to resume the saved match."""
        hall = self.server.hall
        if robot.opponent is not None:
            self.tell(robot, sender, "Sorry, I'm playing with %s." % robot.opponent.name)
            return
        if not sender.account.toggles.get("ready"):
            self.tell(robot, sender, "Please toggle ready first.")
            return
        if length_words is None:
            if hall._find_saved(robot.name, sender.name) is None:
                self.tell(robot, sender, "We have no saved match.")
                return
            length, notice = None, "%s wants to resume a saved match with you." % robot.name
        else:
            length = 1
            if length_words:
                if length_words[0].lower() == "unlimited":
                    length = UNLIMITED
                elif length_words[0].isdigit() and 1 <= int(length_words[0]) <= 99:
                    length = int(length_words[0])
            notice = "%s wants to play %s with you." % (robot.name, a_match(length))
        hall.invitations.setdefault(sender.name, {})[robot.name] = length
        sender.connection.send_lines(["", notice, "Type 'join %s' to accept." % robot.name])


class ChatCommands:
    """The chat commands of a logged-in connection (mixed into ClientConnection)."""

    CHAT_COMMANDS = {
        "shout": "cmd_shout", "tell": "cmd_tell", "say": "cmd_say", "kibitz": "cmd_kibitz",
        "whisper": "cmd_whisper", "message": "cmd_message", "whois": "cmd_whois",
        "waitfor": "cmd_waitfor",
    }

    def _match_people(self):
        """(players, watchers) of the match this player plays or watches; None for neither.
        Watching someone who plays nobody, the players are just him."""
        me = self.player
        hub = me if me.opponent is not None else me.watching
        if hub is None:
            return None
        players = [hub] + ([hub.opponent] if hub.opponent is not None else [])
        watchers = [p for p in self.server.online.values() if p.watching in players]
        return players, watchers

    def cmd_shout(self, args):
        with self.server.lock:
            if not args:
                self.send_lines([MISSING_TEXT["shout"]])
                return
            text = " ".join(args)
            heard = self.server.chat.shout(self.player, text)
            self.send_lines(["17 %s" % text, "** %d users heard you." % heard])

    def cmd_tell(self, args):
        with self.server.lock:
            if len(args) < 2:
                self.send_lines([MISSING_TEXT["tell"]])
                return
            chat = self.server.chat
            target = chat.online(args[0])
            if target is None:
                self.send_lines([no_one(args[0])])
                return
            text = " ".join(args[1:])
            self.send_lines(["16 %s %s" % (target.name, text)])
            chat.tell(self.player, target, text)

    def cmd_say(self, args):
        with self.server.lock:
            opponent = self.player.opponent
            if opponent is None:
                self.send_lines(["** You're not playing."])
                return
            if not args:
                self.send_lines([MISSING_TEXT["say"]])
                return
            text = " ".join(args)
            self.send_lines(["16 %s %s" % (opponent.name, text)])
            self.server.chat.tell(self.player, opponent, text)

    def _match_chat(self, command, args, code, echo, to_players):
        with self.server.lock:
            people = self._match_people()
            if people is None:
                self.send_lines(["** You're not watching or playing."])
                return
            if not args:
                self.send_lines([MISSING_TEXT[command]])
                return
            text = " ".join(args)
            players, watchers = people
            line = "%d %s %s" % (code, self.player.name, text)
            for listener in (players if to_players else []) + watchers:
                if listener is not self.player:
                    self.server.chat.send(listener, line)
            self.send_lines(["%d %s" % (echo, text)])

    def cmd_kibitz(self, args):
        self._match_chat("kibitz", args, 15, 19, to_players=True)

    def cmd_whisper(self, args):
        self._match_chat("whisper", args, 14, 18, to_players=False)

    def cmd_message(self, args):
        with self.server.lock:
            if len(args) < 2:
                self.send_lines([MISSING_TEXT["message"]])
                return
            account = self.server.chat.account(args[0])
            if account is None:
                self.send_lines([no_one(args[0])])
                return
            code = self.server.chat.message(self.player, account, " ".join(args[1:]))
            self.send_lines(["%d %s" % (code, account.name)])

    def cmd_whois(self, args):
        with self.server.lock:
            if not args:
                self.send_lines(["** Whois whom?"])
                return
            account = self.server.chat.account(args[0])
            if account is None:
                self.send_lines([no_one(args[0])])
                return
            player = self.server.online.get(account.name)
            lines = ["Information about %s:" % account.name]
            if player is not None:
                idle = player.idle_seconds(time.time())
                lines += ["  Last login: %s from %s" % (login_date(player.login_time),
                                                       player.host),
                          "  Still logged in. %d:%02d minutes idle." % divmod(idle, 60)]
            elif account.last_login:
                lines += ["  Last login: %s from %s" % (login_date(account.last_login),
                                                       account.last_host),
                          "  Not logged in right now."]
            else:
                lines.append("  Never logged in.")
            lines.append("  Rating: %.2f Experience: %d" % (account.rating, account.experience))
            email = account.email
            lines.append("  Email address: %s" % email if email and email != "-"
                         else "  No email address.")
            self.send_lines(lines)

    def cmd_waitfor(self, args):
        with self.server.lock:
            waiting = self.server.chat.waiting
            me = self.player.name
            if not args:
                names = [name for name, waiters in waiting.items() if me in waiters]
                self.send_lines(["You're waiting for: %s" % " ".join(names) if names
                                 else "** You're not waiting for anyone."])
                return
            account = self.server.chat.account(args[0])
            if account is None:
                self.send_lines([no_one(args[0])])
                return
            if account.name in self.server.online:
                self.send_lines(["** %s is already logged in." % account.name])
                return
            waiters = waiting.setdefault(account.name, [])
            if me not in waiters:
                waiters.append(me)
            self.send_lines(["** You'll be notified when %s logs in." % account.name])
