#!/usr/bin/env python3
"""A faulty network between a client and the FIBS simulator, for robustness tests.

Usage:
  python3 fibs_faults.py --upstream PORT --port N [--drop-after BYTES]
                         [--drop-on TEXT [--drop-on-count K]] [--drop-in-negotiation]
                         [--flood LINES] [--garbage] [--long-line BYTES]
                         [--trigger LINE] [--command LINE]...

--port 0 picks a free port; the first line on stdout is "LISTENING <port>".  Every connection
is passed on to the simulator listening on 127.0.0.1:PORT.  The faults hit the first
connection only, so the client's next connection goes through unharmed.

--drop-after BYTES cuts the connection after that many bytes from the server, wherever they
fall (inside a line when they do).  --drop-on TEXT cuts it in the middle of the first server
line containing TEXT (the K-th with --drop-on-count K): half that line is sent, then
nothing.  --drop-in-negotiation cuts it inside the server's first telnet command (start the
simulator with --negotiation full).

Once the client sends the line TRIGGER (default "set boardstyle 3"), the server's output is
preceded by: --flood LINES lines of ordinary server text (plain lines and shouts by bob,
taking turns); --garbage a burst of random bytes, control
characters and stray telnet commands; --long-line BYTES a line that long before its line end.
Each --command LINE is sent to the server on the client's behalf after TRIGGER, as if the
user had typed it.

--log FILE records "INJECT <what>", "INJECTED" (once the injection is sent whole) and
"DROP <why>" lines.
"""

import argparse
import random
import select
import signal
import socket
import sys
import threading

IAC = 255


class Faults:
    def __init__(self, args):
        self.drop_after = args.drop_after
        self.drop_on = args.drop_on.encode("latin-1") if args.drop_on else None
        self.drop_on_count = args.drop_on_count
        self.drop_in_negotiation = args.drop_in_negotiation
        self.flood = args.flood
        self.garbage = args.garbage
        self.long_line = args.long_line
        self.trigger = args.trigger
        self.commands = args.command
        self.log_path = args.log
        self.lock = threading.Lock()

    def log(self, text):
        if not self.log_path:
            return
        with self.lock, open(self.log_path, "a", encoding="latin-1") as f:
            f.write(text + "\n")

    def injection(self):
        """The bytes put before the server's output once the trigger line passes."""
        parts = []
        if self.flood:
            lines = []
            for n in range(self.flood):
                if n % 2:
                    lines.append("13 bob flood shout number %d" % n)
                else:
                    lines.append("** flood line %d of the server's ordinary text" % n)
            parts.append("".join(line + "\r\n" for line in lines).encode("latin-1"))
            self.log("INJECT flood %d" % self.flood)
        if self.garbage:
            rng = random.Random(9)
            # Bytes 255 only in whole telnet commands (a subnegotiation left open rightly
            # swallows everything after it) and no zero bytes (the client cuts a read at one).
            noise = bytearray(rng.randrange(1, 255) for _ in range(20000))
            noise += b"\r\r\n\n\x1b[31m\x08\x7f\xc3\x28\xe2\x82\r\n"
            noise += bytes((IAC, 241, IAC, IAC, IAC, 253, 99, IAC, 250, 24, 7, 7, IAC, 240))
            noise += b"\r\n"
            parts.append(bytes(noise))
            self.log("INJECT garbage")
        if self.long_line:
            parts.append(b"x" * self.long_line + b"\r\n")
            self.log("INJECT long line %d" % self.long_line)
        return b"".join(parts)


class Pair:
    """One client connection and its connection to the simulator."""

    def __init__(self, faults, client, upstream_port, faulty):
        self.faults = faults if faulty else None
        self.client = client
        self.upstream = socket.create_connection(("127.0.0.1", upstream_port))
        self.pending = []
        self.sent = 0
        self.lock = threading.Lock()
        self.done = threading.Event()
        threading.Thread(target=self._up, daemon=True).start()
        threading.Thread(target=self._down, daemon=True).start()

    def _close(self, why=None):
        if why and self.faults:
            self.faults.log("DROP " + why)
        self.done.set()
        for sock in (self.client, self.upstream):
            try:
                sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            sock.close()

    def _up(self):
        line = b""
        while not self.done.is_set():
            try:
                data = self.client.recv(4096)
            except OSError:
                data = b""
            if not data:
                self._close()
                return
            if not self.faults:
                self._send_up(data)
                continue
            line += data
            # whole lines only, so a command of ours never lands inside one of the client's
            while b"\n" in line:
                one, line = line.split(b"\n", 1)
                text = one.rstrip(b"\r").decode("latin-1")
                if text == self.faults.trigger:
                    with self.lock:
                        self.pending.append(self.faults.injection())
                self._send_up(one + b"\n")
                if text == self.faults.trigger:
                    for command in self.faults.commands:
                        self.faults.log("INJECT command " + command)
                        self._send_up(command.encode("latin-1") + b"\r\n")
                    self.faults.trigger = None

    def _send_up(self, data):
        try:
            self.upstream.sendall(data)
        except OSError:
            self._close()

    def _down(self):
        seen = b""
        while not self.done.is_set():
            with self.lock:
                pending, self.pending = self.pending, []
            if pending and not seen:
                self._send_down(b"".join(pending))
                self.faults.log("INJECTED")
            elif pending:
                with self.lock:
                    self.pending[:0] = pending
            ready, _, _ = select.select([self.upstream], [], [], 0.05)
            if not ready:
                continue
            try:
                data = self.upstream.recv(4096)
            except OSError:
                data = b""
            if not data:
                self._close()
                return
            if self.faults and not self._cut(data):
                return
            if not self.faults:
                self._send_down(data)
                continue
            # The injection waits for a line boundary in the server's output.
            seen = (seen + data).rsplit(b"\r\n", 1)[-1] if b"\r\n" in data else seen + data

    def _cut(self, data):
        """Sends data unless a fault ends the connection inside it; False once it has."""
        f = self.faults
        cut = None
        why = None
        if f.drop_after is not None and self.sent + len(data) > f.drop_after:
            cut, why = f.drop_after - self.sent, "after %d bytes" % f.drop_after
        elif f.drop_in_negotiation and IAC in data:
            cut, why = data.index(IAC) + 2, "in negotiation"
        elif f.drop_on and f.drop_on in data and self._nth(data) is not None:
            at = self._nth(data)
            start = data.rfind(b"\n", 0, at) + 1
            end = data.find(b"\r\n", at)
            end = len(data) if end < 0 else end
            cut, why = start + (end - start) // 2, "on " + f.drop_on.decode("latin-1")
        if cut is None:
            if f.drop_on:
                f.drop_on_count -= data.count(f.drop_on)
            self._send_down(data)
            return True
        self._send_down(data[:cut])
        self._close(why)
        return False

    def _nth(self, data):
        """Where the occurrence of the --drop-on text that ends the connection is in data."""
        at = -1
        for _ in range(self.faults.drop_on_count):
            at = data.find(self.faults.drop_on, at + 1)
            if at < 0:
                return None
        return at

    def _send_down(self, data):
        try:
            self.client.sendall(data)
            self.sent += len(data)
        except OSError:
            self._close()


def serve(faults, listener, upstream_port, stop):
    first = True
    listener.settimeout(0.2)
    while not stop.is_set():
        try:
            client, _ = listener.accept()
        except socket.timeout:
            continue
        except OSError:
            return
        client.settimeout(None)
        Pair(faults, client, upstream_port, first)
        first = False


def main(argv=None):
    parser = argparse.ArgumentParser(description="faulty network in front of the FIBS simulator")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--upstream", type=int, required=True)
    parser.add_argument("--drop-after", type=int, metavar="BYTES")
    parser.add_argument("--drop-on", metavar="TEXT")
    parser.add_argument("--drop-on-count", type=int, default=1, metavar="K")
    parser.add_argument("--drop-in-negotiation", action="store_true")
    parser.add_argument("--flood", type=int, default=0, metavar="LINES")
    parser.add_argument("--garbage", action="store_true")
    parser.add_argument("--long-line", type=int, default=0, metavar="BYTES")
    parser.add_argument("--trigger", default="set boardstyle 3", metavar="LINE")
    parser.add_argument("--command", action="append", default=[], metavar="LINE")
    parser.add_argument("--log")
    args = parser.parse_args(argv)
    listener = socket.create_server(("127.0.0.1", args.port))
    stop = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.set())
    thread = threading.Thread(target=serve, args=(Faults(args), listener, args.upstream, stop),
                              daemon=True)
    thread.start()
    print("LISTENING %d" % listener.getsockname()[1], flush=True)
    stop.wait()
    listener.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
