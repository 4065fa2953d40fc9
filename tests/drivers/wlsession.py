"""A private Wayland compositor (weston's headless backend, no X anywhere) and a D-Bus
session with the accessibility bus, with the real game running on Qt's Wayland
platform. Everything started here is ended on leaving the `with` block."""

import os
import re
import signal
import subprocess
import sys

from drivers.xsession import Session, WINDOW_TIMEOUT, die_with_parent, wait_until

SOCKET = "quorvel-wayland-0"


def headless_backend():
    """The headless backend's name as this weston takes it: weston 10 (Debian 12) knows
    only "headless-backend.so"; later releases call it "headless" and may drop the
    old form."""
    shown = subprocess.run(["weston", "--help"], capture_output=True, text=True)
    text = shown.stdout + shown.stderr
    if "headless-backend.so" in text:
        return "headless-backend.so"
    if re.search(r"\bheadless\b", text):
        return "headless"
    raise AssertionError("weston offers no headless backend:\n" + text)


class WaylandSession(Session):
    def __init__(self, game):
        super().__init__(game, accessibility=True)
        self.weston = None

    # The X session sets up the temporary folder, signals, bus and game; the display
    # server it starts first is weston instead of Xvfb.
    def _start_xvfb(self):
        # libatspi would look for the accessibility bus on an X display first.
        os.environ.pop("DISPLAY", None)
        self._start_weston()

    def _start_weston(self):
        backend = headless_backend()
        print("weston backend:", backend)
        with self._log("weston.log") as log:
            self.weston = subprocess.Popen(
                ["weston", "--backend=" + backend, "--socket=" + SOCKET,
                 "--width=1024", "--height=768", "--idle-time=0", "--no-config",
                 # The debug protocol, through which weston-debug reads what it holds.
                 "--debug"],
                env=self._env(), stdin=subprocess.DEVNULL, stdout=log,
                stderr=subprocess.STDOUT, preexec_fn=die_with_parent)
        socket = os.path.join(self.tmp, SOCKET)

        def listening():
            if self.weston.poll() is not None:
                raise AssertionError(f"weston exited with {self.weston.returncode}: "
                                     + self.log_text("weston.log"))
            return os.path.exists(socket)

        wait_until(listening, WINDOW_TIMEOUT, "weston's socket", 0.05)

    def app_ids(self):
        """The app id weston holds for each top-level window, by title, as its scene graph
        shows them ("top-level window 'TITLE' of APP-ID")."""
        shown = subprocess.run(["weston-debug", "scene-graph"], env=self._env(),
                               capture_output=True, text=True, timeout=10)
        return dict(re.findall(r"top-level window '(.*)' of (\S+?)[,)]", shown.stdout))

    def __exit__(self, exc_type, exc, tb):
        if self.game and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        if self.weston and self.weston.poll() is None:
            self.weston.send_signal(signal.SIGTERM)
            try:
                self.weston.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.weston.kill()
                self.weston.wait()
        if exc_type is not None:
            text = self.log_text("weston.log").strip()
            if text:
                print(f"--- weston.log\n{text[-4000:]}", file=sys.stderr)
        return super().__exit__(exc_type, exc, tb)

    def _env(self):
        env = super()._env()
        del env["DISPLAY"]
        env["WAYLAND_DISPLAY"] = SOCKET
        # Only Wayland: no fallback to X, which is not there anyway.
        env["QT_QPA_PLATFORM"] = "wayland"
        return env

    def _find_window(self):
        # No X server to ask: the window is found over AT-SPI by the test.
        if self.game.poll() is not None:
            raise AssertionError(f"the game exited with {self.game.returncode} before "
                                 "showing its window: " + self.log_text("game.log"))
        return -1
