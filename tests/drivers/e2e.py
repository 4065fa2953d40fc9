"""What the end-to-end tests of every build (Linux, Windows under Wine, the page)
check of the game's window, and how a check reports: the last screenshot taken is
kept for the failure report."""

import os
import subprocess
import sys
import time
import traceback

from drivers import screen as scr
from drivers.xsession import wait_until

ROUND_SECONDS = 10.1
ROUND_TIMEOUT = ROUND_SECONDS + 15.0
EXIT_LIMIT = 1.0
START_CONTROLS = {"cmdGo": scr.CMD_GO, "cmdIco": scr.CMD_ICO, "lstSpeed": scr.LST_SPEED}

last_shot = None


def shoot(screen):
    global last_shot
    last_shot = screen.shot()
    return last_shot


def sunken_frame(shot, rect):
    """The 2-pixel sunken frame of a picture box: dark along the top and left, light
    along the bottom and right, one colour along each outer edge."""
    x, y, w, h = rect
    top = {shot.pixel(i, y) for i in range(x, x + w - 1)}
    left = {shot.pixel(x, j) for j in range(y, y + h - 1)}
    bottom = {shot.pixel(i, y + h - 1) for i in range(x + 1, x + w)}
    right = {shot.pixel(x + w - 1, j) for j in range(y + 1, y + h)}
    if len(top | left) != 1 or len(bottom | right) != 1:
        return False
    return sum(next(iter(top))) < sum(next(iter(bottom)))


def ready_shot(screen):
    """A screenshot of the window once it has been painted and holds still."""
    previous = None

    def painted():
        nonlocal previous
        shot = shoot(screen)
        if (shot.width, shot.height) != scr.CLIENT_SIZE or not sunken_frame(shot, scr.PIC_START):
            return None
        if shot.plain(scr.CMD_GO, shot.background()):
            return None
        same = previous is not None and previous.data == shot.data
        previous = shot
        return shot if same else None

    return wait_until(painted, 20.0, "the window to be painted", 0.05)


def locate(shot, template):
    """The picture's rectangle in `shot`, or None while it is not seen exactly once."""
    hits = shot.find(template)
    if len(hits) != 1:
        return None
    return (*hits[0], scr.PIC_START[2], scr.PIC_START[3])


def start_hidden(shot, picture):
    """True when the start controls are gone: their places show only the window's
    background, apart from the picture passing over them."""
    colour = shot.background()
    return all(shot.plain(rect, colour, hole=picture) for rect in START_CONTROLS.values())


def start_round(session, screen):
    """Presses GO! and waits until the round runs: start controls hidden, picture moved.
    Returns the picture template, the time of the press and the picture's rectangle."""
    before = ready_shot(screen)
    template = before.block(scr.PIC_START)
    session.click(*scr.centre(scr.CMD_GO))
    pressed = time.monotonic()

    def running():
        shot = shoot(screen)
        picture = locate(shot, template)
        if picture and picture != scr.PIC_START and start_hidden(shot, picture):
            return picture
        return None

    picture = wait_until(running, 10.0, "the round to start after GO!", 0.02)
    return template, pressed, picture


def assert_equal(actual, expected, what):
    if actual != expected:
        raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def assert_exits(session, started, what):
    status = session.wait_exit(10.0)
    took = time.monotonic() - started
    if status is None:
        raise AssertionError(f"the game still runs 10 s after {what}")
    assert_equal(status, 0, f"exit status after {what}")
    if took > EXIT_LIMIT:
        raise AssertionError(f"the game took {took:.3f} s to end after {what}")
    print(f"ended {took * 1000:.0f} ms after {what}")


def window_title(window):
    return subprocess.run(["xdotool", "getwindowname", str(window)],
                          capture_output=True, text=True, check=True).stdout.strip()


def window_info(window):
    """What xwininfo says of a window, field by field ("Width", "Map State", ...)."""
    info = subprocess.run(["xwininfo", "-id", str(window)],
                          capture_output=True, text=True, check=True).stdout
    return dict(line.strip().split(": ", 1) for line in info.splitlines()
                if ": " in line and not line.strip().startswith("xwininfo"))


def client_size(window):
    fields = window_info(window)
    return int(fields["Width"]), int(fields["Height"])


def run_reported(label, action, shot_folder, shot_name):
    """Runs one end-to-end check and returns its exit status. A failure prints its
    traceback and, given a folder, saves the last screenshot there."""
    started = time.monotonic()
    try:
        action()
    except Exception:
        traceback.print_exc()
        if last_shot is not None and shot_folder:
            path = os.path.join(shot_folder, shot_name)
            last_shot.save_ppm(path)
            print("last screenshot:", path, file=sys.stderr)
        print(f"FAILED {label} after {time.monotonic() - started:.1f} s")
        return 1
    print(f"passed {label} in {time.monotonic() - started:.1f} s")
    return 0
