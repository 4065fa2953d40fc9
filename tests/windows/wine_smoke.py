"""The Windows zip, unpacked into a fresh Wine prefix, played on a private Xvfb with
real X input. Wine has no bridge for screen readers, so controls are found by their
design places and read back as pixels, as in the Linux end-to-end tests.

Usage: wine_smoke.py QUORVEL-ZIP [FOLDER-FOR-FAILURE-SCREENSHOTS]
"""

import os
import subprocess
import sys
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import quorvel_e2e as e2e  # noqa: E402
import screen as scr  # noqa: E402
import xsession  # noqa: E402
from screen import Screen  # noqa: E402
from xsession import CAPTION, wait_until  # noqa: E402

# The rating is drawn in pure blue (the window's design table); text smoothing
# leaves some pixels lighter, so "blue" is any pixel much bluer than red and green.
def bluish(pixel):
    b, g, r = pixel
    return b > 150 and r < 100 and g < 100


class WineSession(xsession.Session):
    """xsession.Session with the game started by Wine from an unpacked zip."""

    def __init__(self, zip_path):
        super().__init__(None)
        self.zip_path = zip_path
        self.prefix = None

    def _env(self):
        env = super()._env()
        env.pop("QT_QPA_PLATFORM")
        env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        return env

    def _start_game(self):
        self.prefix = os.path.join(self.tmp, "wineprefix")
        with zipfile.ZipFile(self.zip_path) as archive:
            archive.extractall(self.tmp)
            top = {name.split("/")[0] for name in archive.namelist()}
        if len(top) != 1:
            raise AssertionError(f"the zip holds {sorted(top)} at its top, not one folder")
        exe = os.path.join(self.tmp, top.pop(), "quorvel.exe")
        # Making the prefix takes Wine a while; it is not the game's start-up.
        with self._log("wineboot.log") as log:
            subprocess.run(["wineboot", "-i"], env=self._env(), stdin=subprocess.DEVNULL,
                           stdout=log, stderr=subprocess.STDOUT, check=True, timeout=120)
        self.game_path = exe
        with self._log("game.log") as log:
            self.game = subprocess.Popen(
                ["wine", exe], env=self._env(), cwd=os.path.dirname(exe),
                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                preexec_fn=xsession._die_with_parent)
        self.window = wait_until(self._find_window, xsession.WINDOW_TIMEOUT, "the game's window")

    def __exit__(self, exc_type, exc, tb):
        if self.prefix and os.path.isdir(self.prefix):
            subprocess.run(["wineserver", "-k"], env=self._env(), capture_output=True)
            subprocess.run(["wineserver", "-w"], env=self._env(), capture_output=True,
                           timeout=30)
        return super().__exit__(exc_type, exc, tb)


def smoke(zip_path):
    with WineSession(zip_path) as session:
        e2e.assert_equal(e2e.window_title(session.window), CAPTION, "window caption")
        e2e.assert_equal(e2e.client_size(session.window), scr.CLIENT_SIZE, "client size")
        screen = Screen(session.display, session.window)
        first = e2e.ready_shot(screen)
        print("window up and painted")

        # "Change Icon" puts another picture in the box; a random pick may be the
        # same picture again, so up to five presses.
        before = first.block(scr.PIC_START)
        for press in range(1, 6):
            session.click(*scr.centre(scr.CMD_ICO))
            try:
                wait_until(lambda: screen.shot().block(scr.PIC_START) != before, 2.0,
                           "the picture to change", 0.05)
                break
            except AssertionError:
                if press == 5:
                    raise
        print(f"picture changed after {press} press(es) of Change Icon")

        # GO! starts a round: the timer runs, and 10.1 s after the press the rating
        # appears and the start controls come back.
        timer_before = e2e.ready_shot(screen).block(scr.LBL_TIMER)
        template, pressed, _ = e2e.start_round(session, screen)
        wait_until(lambda: e2e.shoot(screen).block(scr.LBL_TIMER) != timer_before, 5.0,
                   "the timer to change", 0.05)
        timer_seen = time.monotonic() - pressed

        def rated():
            shot = e2e.shoot(screen)
            picture = e2e.locate(shot, template)
            x, y, w, h = scr.LBL_FEEDBACK
            for j in range(y, y + h):
                for i in range(x, x + w):
                    if picture and scr.overlaps((i, j, 1, 1), picture):
                        continue
                    if bluish(shot.pixel(i, j)):
                        return True
            return False

        wait_until(rated, e2e.ROUND_TIMEOUT, "the rating to appear", 0.02)
        took = time.monotonic() - pressed
        print(f"timer changed {timer_seen:.2f} s after GO!, rating appeared after {took:.2f} s")
        # `pressed` is taken when xdotool returns, which is after the game already has
        # the click: the round may look up to a process start (tens of ms) shorter.
        if not e2e.ROUND_SECONDS - 0.2 <= took <= e2e.ROUND_SECONDS + 1.5:
            raise AssertionError(f"the rating appeared {took:.2f} s after GO!, "
                                 f"not about {e2e.ROUND_SECONDS} s")
        wait_until(lambda: not e2e.start_hidden(e2e.shoot(screen), None) or None, 5.0,
                   "the start controls to come back", 0.05)

        # QUIT ends the program with status 0 within a second.
        started = time.monotonic()
        session.click(*scr.centre(scr.CMD_QUIT))
        e2e.assert_exits(session, started, "QUIT")
        screen.close()


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    return e2e.run_reported("windows smoke", lambda: smoke(argv[1]),
                            argv[2] if len(argv) > 2 else None, "wine-smoke-failure.ppm")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
