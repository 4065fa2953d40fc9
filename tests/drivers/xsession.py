"""A private X server (and, when asked, a D-Bus session with the accessibility bus)
with the real game running on it, or with nothing on it. Everything started here is
ended on leaving the `with` block, and dies with the test if the test itself is killed."""

import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

CAPTION = "Brinhalt's Quorvel"
WINDOW_TIMEOUT = 20.0

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def die_with_parent():
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


def _raise_on_term(signum, _frame):
    raise SystemExit(128 + signum)


def wait_until(predicate, timeout, what, interval=0.02):
    """Polls `predicate` until it returns something true, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Session:
    """The game at `game` on a private X server of `screen` ("WxHxDEPTH"), or with
    no game the server alone."""

    def __init__(self, game=None, accessibility=False, screen="1024x768x24"):
        self.game_path = game
        self.accessibility = accessibility
        self.screen = screen
        self.tmp = None
        self.xvfb = None
        self.bus = None
        self.game = None
        self.display = None
        self.bus_address = None
        self.window = None

    def __enter__(self):
        # ctest ends a test that runs too long with SIGTERM; clean up then as well.
        signal.signal(signal.SIGTERM, _raise_on_term)
        signal.signal(signal.SIGHUP, _raise_on_term)
        self.tmp = tempfile.mkdtemp(prefix="quorvel-session-")
        os.chmod(self.tmp, 0o700)
        try:
            self._start_xvfb()
            if self.accessibility:
                self._start_bus()
            self._start_game()
        except BaseException:
            self.__exit__(*sys.exc_info())
            raise
        return self

    def __exit__(self, exc_type, _exc, _tb):
        if self.game and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        if self.bus:
            # The accessibility bus launcher, its bus and the registry that the session
            # bus starts stay in the session bus's process group.
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(self.bus.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    self.bus.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    pass
            self.bus.wait()
            self.bus.stdout.close()
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
        if self.tmp:
            if exc_type is not None:
                for name in ("game.log", "dbus.log", "xvfb.log"):
                    text = self.log_text(name).strip()
                    if text:
                        print(f"--- {name}\n{text[-4000:]}", file=sys.stderr)
            shutil.rmtree(self.tmp, ignore_errors=True)
        return False

    def _log(self, name):
        return open(os.path.join(self.tmp, name), "wb")

    def log_text(self, name):
        try:
            with open(os.path.join(self.tmp, name), "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        try:
            with self._log("xvfb.log") as log:
                self.xvfb = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen,
                     "-nolisten", "tcp", "-noreset"],
                    pass_fds=[write_end], stdin=subprocess.DEVNULL,
                    stdout=log, stderr=subprocess.STDOUT, preexec_fn=die_with_parent)
            os.close(write_end)
            write_end = -1
            number = b""
            deadline = time.monotonic() + WINDOW_TIMEOUT
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise AssertionError("Xvfb did not report a display number")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise AssertionError("Xvfb exited: " + self.log_text("xvfb.log"))
                number += chunk
        finally:
            os.close(read_end)
            if write_end >= 0:
                os.close(write_end)
        self.display = ":" + number.decode().strip()
        os.environ["DISPLAY"] = self.display

    def _start_bus(self):
        with self._log("dbus.log") as log:
            self.bus = subprocess.Popen(
                ["dbus-daemon", "--session", "--nofork", "--print-address",
                 "--address=unix:dir=" + self.tmp],
                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=log,
                env=self._env(), start_new_session=True, preexec_fn=die_with_parent)
        ready = select.select([self.bus.stdout], [], [], WINDOW_TIMEOUT)[0]
        line = self.bus.stdout.readline().decode().strip() if ready else ""
        if not line:
            raise AssertionError("dbus-daemon gave no address: " + self.log_text("dbus.log"))
        self.bus_address = line
        # pyatspi, imported later by the test, finds the accessibility bus through it.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address

    def _env(self):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "DBUS_", "AT_SPI", "XDG_", "WAYLAND"))}
        env["DISPLAY"] = self.display
        env["XDG_RUNTIME_DIR"] = self.tmp
        env["QT_QPA_PLATFORM"] = "xcb"
        if self.bus_address:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        return env

    def _start_game(self):
        if self.game_path is None:
            return
        env = self._env()
        if self.accessibility:
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        with self._log("game.log") as log:
            self.game = subprocess.Popen(
                [self.game_path], env=env, stdin=subprocess.DEVNULL,
                stdout=log, stderr=subprocess.STDOUT, preexec_fn=die_with_parent)
        self.window = wait_until(self._find_window, WINDOW_TIMEOUT, "the game's window")

    def _find_window(self):
        if self.game.poll() is not None:
            raise AssertionError(f"the game exited with {self.game.returncode} before "
                                 "showing its window: " + self.log_text("game.log"))
        found = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^" + CAPTION + "$"],
            capture_output=True, text=True)
        ids = found.stdout.split()
        return int(ids[0]) if ids else None

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True)

    def click(self, x, y):
        """A real left click at client pixel (x, y) of the game's window."""
        self.xdotool("mousemove", "--window", self.window, x, y, "click", "1")

    def wait_exit(self, timeout):
        try:
            return self.game.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None
