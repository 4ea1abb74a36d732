"""Helpers for end-to-end tests: a program folder in a temporary place, the FIBS simulator
as a child process, and the real program started against it."""

import json
import os
import pathlib
import shutil
import signal
import subprocess
import sys
import tempfile
import time

BUILD = pathlib.Path(os.environ.get("TABULON_BUILD_DIR", "build")).resolve()
SOURCE = pathlib.Path(os.environ.get("TABULON_SOURCE_DIR", ".")).resolve()
SIMULATOR = SOURCE / "tests" / "fibs-sim" / "fibs_sim.py"
SHIPPED = ["countriescodes.txt", "Themes", "Sounds", "Buttons", "GNUBG"]


def wait_for(predicate, timeout=20.0, interval=0.05):
    """Polls predicate until it is true; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def make_app_folder(ini_text):
    """A copy of the program with its shipped data, as a user would lay it out elsewhere."""
    folder = pathlib.Path(tempfile.mkdtemp(prefix="tabulon-e2e-"))
    shutil.copy2(BUILD / "tabulon", folder / "tabulon")
    for entry in SHIPPED:
        source = BUILD / entry
        if source.is_dir():
            shutil.copytree(source, folder / entry)
        elif source.is_file():
            shutil.copy2(source, folder / entry)
    if ini_text is not None:
        (folder / "tabulon.ini").write_bytes(ini_text.replace("\n", "\r\n").encode("latin-1"))
    return folder


class Simulator:
    def __init__(self, *args):
        self.log = pathlib.Path(tempfile.mkstemp(prefix="fibs-sim-", suffix=".log")[1])
        self.process = subprocess.Popen(
            [sys.executable, str(SIMULATOR), "--port", "0", "--log", str(self.log), *args],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        first = self.process.stdout.readline().split()
        if len(first) != 2 or first[0] != "LISTENING":
            self.stop()
            raise RuntimeError("simulator did not start: %r %s" % (first, self.process.stderr.read()))
        self.port = int(first[1])

    def log_lines(self):
        return self.log.read_text(encoding="latin-1").splitlines()

    def received(self):
        """Command lines the simulator received, in order."""
        return [line.split(" ", 2)[2] if line.count(" ") >= 2 else ""
                for line in self.log_lines() if line.startswith("RECV ")]

    def negotiation_replies(self):
        """The client's telnet replies, each as a list of byte values."""
        return [[int(b) for b in line.split()[2:]]
                for line in self.log_lines() if line.startswith("NEG ")]

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        for stream in (self.process.stdout, self.process.stderr):
            if stream:
                stream.close()
        self.log.unlink(missing_ok=True)


class Program:
    """The real tabulon binary on the offscreen platform. Its state is written to a file when
    it shuts down (the diagnostic TABULON_STATE_FILE)."""

    def __init__(self, folder):
        self.folder = folder
        self.state_file = folder / "state.json"
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TABULON_STATE_FILE=str(self.state_file))
        self.process = subprocess.Popen([str(folder / "tabulon")], env=env, cwd=str(folder),
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)

    def close(self):
        """Closes the window the way the desktop does (SIGTERM) and returns the final state."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise
        self.output = self.process.stdout.read()
        self.process.stdout.close()
        if not self.state_file.exists():
            raise AssertionError("no state written; program output:\n" + self.output)
        return json.loads(self.state_file.read_text(encoding="latin-1"))
