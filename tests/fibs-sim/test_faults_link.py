"""Tests of the faulty link (fibs_faults.py) in front of the simulator, over real sockets:
each fault cuts or fills the first connection exactly as asked, and the next connection
passes through unharmed."""

import os
import socket
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import fibs_sim  # noqa: E402

IAC = 255
CUT_LINE = [line for line in fibs_sim.BANNER if "Backgammon" in line][0].encode("latin-1")


def start(*args):
    process = subprocess.Popen([sys.executable, os.path.join(HERE, "fibs_faults.py"),
                                "--port", "0", *args], stdout=subprocess.PIPE, text=True)
    first = process.stdout.readline().split()
    assert first[0] == "LISTENING", first
    return process, int(first[1])


def read_until_closed(port, send=b"", until=None, limit=8 << 20):
    """Everything the server sends until it closes, sends `until` or stops talking for two
    seconds."""
    sock = socket.create_connection(("127.0.0.1", port), timeout=2)
    if send:
        sock.sendall(send)
    data = b""
    try:
        while len(data) < limit:
            chunk = sock.recv(65536)
            if not chunk:
                break
            data += chunk
            if until and until in data:
                break
    except socket.timeout:
        pass
    sock.close()
    return data


class FaultsLinkTest(unittest.TestCase):
    def setUp(self):
        self.server = fibs_sim.start_server(port=0, population=2, negotiation="full")
        self.addCleanup(self.server.stop)

    def link(self, *args):
        process, port = start("--upstream", str(self.server.port), *args)
        self.addCleanup(lambda: (process.terminate(), process.wait(), process.stdout.close()))
        return port

    def test_cuts_and_the_next_connection(self):
        cases = [
            # link options, what the first connection gets
            (["--drop-after", "300"], lambda data: len(data) == 300),
            (["--drop-in-negotiation"], lambda data: data == bytes((IAC, 253))),
            (["--drop-on", "Backgammon"],
             lambda data: data.split(b"\r\n")[-1] == CUT_LINE[:len(CUT_LINE) // 2]),
        ]
        for args, first_is_right in cases:
            with self.subTest(args=args):
                port = self.link(*args)
                first = read_until_closed(port)
                self.assertTrue(first_is_right(first), first[-60:])
                second = read_until_closed(port, until=b"login: ")
                self.assertTrue(second.endswith(b"login: "), second[-60:])

    def test_injections_come_whole_after_the_trigger_line(self):
        port = self.link("--trigger", "hello", "--flood", "1000", "--long-line", "100000",
                         "--garbage")
        data = read_until_closed(port, send=b"hello\r\n", until=b"x" * 100000 + b"\r\n")
        lines = data.split(b"\r\n")
        floods = [line for line in lines if b"flood" in line]
        self.assertEqual(len(floods), 1000)
        self.assertEqual(floods[-1], b"13 bob flood shout number 999")
        self.assertIn(b"x" * 100000, lines)
        # the garbage holds no zero byte and no open telnet subnegotiation
        self.assertNotIn(b"\0", data)
        self.assertNotIn(bytes((IAC, 250, 24, 7, 7, IAC)) + b"\r", data)
        self.assertIn(bytes((IAC, 250, 24, 7, 7, IAC, 240)), data)


if __name__ == "__main__":
    unittest.main()
