"""End-to-end cases for the real game on a private X server, driven by real X input.

Usage: quorvel_e2e.py CASE PATH-TO-QUORVEL [FOLDER-FOR-FAILURE-SCREENSHOTS]
"""

import re
import sys
import time

from drivers import e2e, screen as scr
from drivers.e2e import (ROUND_SECONDS, ROUND_TIMEOUT, START_CONTROLS, assert_equal,
                         assert_exits, client_size, locate, ready_shot, run_reported, shoot,
                         start_hidden, start_round, window_info, window_title)
from drivers.screen import Screen
from drivers.xsession import CAPTION, Session, wait_until


def picture_clear_of(screen, template, rect, margin=30):
    def clear():
        picture = locate(shoot(screen), template)
        return picture and not scr.overlaps(picture, rect, margin)

    wait_until(clear, 5.0, "the picture to move away", 0.02)


# The window opens with the game's caption and a 711 x 501 client area.
def case_window(game):
    with Session(game) as session:
        assert_equal(window_title(session.window), CAPTION, "window caption")
        assert_equal(window_info(session.window).get("Map State"), "IsViewable", "map state")
        assert_equal(client_size(session.window), scr.CLIENT_SIZE, "client size")


# GO! hides the three start controls and sets the picture wandering; before it,
# the picture holds still at its start.
def case_go(game):
    with Session(game) as session:
        screen = Screen(session.display, session.window)
        first = ready_shot(screen)
        template = first.block(scr.PIC_START)
        # Only a wait shows that something holds still.
        time.sleep(0.3)
        assert_equal(locate(shoot(screen), template), scr.PIC_START,
                     "picture before GO! (it must not move by itself)")

        _, _, picture = start_round(session, screen)
        seen = [picture]

        def moved_on():
            now = locate(shoot(screen), template)
            if now and now != seen[-1]:
                seen.append(now)
            return len(seen) >= 4

        wait_until(moved_on, 5.0, "the picture to keep moving", 0.03)
        if not start_hidden(e2e.last_shot, seen[-1]):
            raise AssertionError("a start control is drawn again during the round")
        print("picture path:", seen)
        screen.close()


# A left click on the wandering picture is counted: after the round the clicks label
# shows at least one click and never more than were made.
def case_click(game):
    with Session(game, accessibility=True) as session:
        from drivers import a11y
        window = a11y.game_window()
        assert_equal(a11y.role(window), "FRAME", "role of the game window")
        controls = a11y.controls_by_rect(window)
        clicks_label = controls[scr.LBL_CLICKS]
        go_button = controls[scr.CMD_GO]

        screen = Screen(session.display, session.window)
        template, pressed, _ = start_round(session, screen)
        sent = 0
        last_click = 0.0
        while time.monotonic() < pressed + ROUND_SECONDS - 2.0:
            picture = locate(shoot(screen), template)
            # Clicks half a second apart are never taken for a double-click.
            if (picture and not scr.overlaps(picture, scr.CMD_QUIT, 30)
                    and time.monotonic() - last_click > 0.5):
                session.click(*scr.centre(picture))
                last_click = time.monotonic()
                sent += 1
            time.sleep(0.01)
        if sent == 0:
            raise AssertionError("the picture was never seen during the round")

        wait_until(lambda: "showing" in a11y.states(go_button), ROUND_TIMEOUT,
                   "the round to end", 0.1)
        text = a11y.name(clicks_label)
        print(f"{sent} clicks made, label shows {text!r}")
        if not text.strip().isdigit() or not 1 <= int(text) <= sent:
            raise AssertionError(f"clicks label shows {text!r} after {sent} clicks")
        screen.close()


# QUIT in the middle of a round ends the program at once with status 0.
def case_quit(game):
    with Session(game) as session:
        screen = Screen(session.display, session.window)
        template, pressed, _ = start_round(session, screen)
        picture_clear_of(screen, template, scr.CMD_QUIT)
        started = time.monotonic()
        if started - pressed > ROUND_SECONDS - 3.0:
            raise AssertionError("too late in the round to test QUIT")
        session.click(*scr.centre(scr.CMD_QUIT))
        assert_exits(session, started, "QUIT")
        screen.close()


# Closing the window through the window system mid-round ends the program with status 0.
def case_close(game):
    with Session(game) as session:
        screen = Screen(session.display, session.window)
        _, pressed, _ = start_round(session, screen)
        started = time.monotonic()
        if started - pressed > ROUND_SECONDS - 3.0:
            raise AssertionError("too late in the round to test closing")
        screen.send_delete_window()
        assert_exits(session, started, "WM_DELETE_WINDOW")
        screen.close()


def running_round(shot, template):
    """True while a round runs: the start controls are gone from their places, where
    the wandering picture (found by `template`) may pass over them."""
    picture = locate(shot, template)
    return bool(picture) and start_hidden(shot, picture)


def watch(screen, seconds, what, still):
    """Screenshots for `seconds`; each must pass `still`, or `what` went wrong."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not still(shoot(screen)):
            raise AssertionError(what)
        time.sleep(0.05)


# The keyboard alone, with keys held as a player holds them (the X server repeats a held
# key as release-and-press pairs): a held Space presses a button once, when it goes up;
# a key still held when "GO!" gets the focus back after a round starts no new round;
# Return presses the focused button as Space does.
def case_keyboard(game):
    with Session(game) as session:
        screen = Screen(session.display, session.window)
        ready_shot(screen)
        session.xdotool("windowfocus", "--sync", session.window)
        session.xdotool("key", "Tab")  # from the picture to Change Icon

        before = shoot(screen).block(scr.PIC_START)
        session.xdotool("keydown", "space")
        watch(screen, 1.5, "the picture changed while Space was held on Change Icon",
              lambda shot: shot.block(scr.PIC_START) == before)
        session.xdotool("keyup", "space")
        pictures = [before]

        def settled(shot):
            now = shot.block(scr.PIC_START)
            if now != pictures[-1]:
                pictures.append(now)
            return len(pictures) <= 2

        watch(screen, 1.0, "Change Icon changed the picture more than once", settled)
        print(f"Change Icon: {len(pictures) - 1} change(s) after Space went up")
        template = pictures[-1]

        def no_round(seconds, what):
            watch(screen, seconds, what, lambda shot: not running_round(shot, template))

        def round_starts(when):
            wait_until(lambda: running_round(shoot(screen), template), 5.0,
                       f"the round to start {when}", 0.02)

        session.xdotool("key", "Tab", "Tab")  # on to the list, then GO!
        session.xdotool("keydown", "space")
        no_round(1.5, "a round started while Space was held on GO!")
        session.xdotool("keyup", "space")
        round_starts("when Space went up on GO!")

        # Space goes down during the round and stays down past its end.
        session.xdotool("keydown", "space")
        try:
            wait_until(lambda: not running_round(shoot(screen), template), ROUND_TIMEOUT,
                       "the round to end", 0.05)
            rating = shoot(screen).block(scr.LBL_FEEDBACK)
            if e2e.last_shot.plain(scr.LBL_FEEDBACK, e2e.last_shot.background()):
                raise AssertionError("no rating after the round")
            watch(screen, 1.5, "the still-held Space started another round",
                  lambda shot: not running_round(shot, template)
                  and shot.block(scr.LBL_FEEDBACK) == rating)
        finally:
            session.xdotool("keyup", "space")
        no_round(0.5, "Space going up on GO! started another round")

        session.xdotool("key", "Return")
        round_starts("on Return")
        picture_clear_of(screen, template, scr.CMD_QUIT)
        started = time.monotonic()
        session.click(*scr.centre(scr.CMD_QUIT))
        assert_exits(session, started, "QUIT")
        screen.close()


# What each control tells assistive technology before the first round, by its place.
A11Y_CONTROLS = {
    scr.LST_SPEED: ("LIST", "Speed"),
    scr.LABEL1: ("LABEL", "Timer:"),
    scr.LBL_TIMER: ("LABEL", " 0"),
    scr.LABLE2: ("LABEL", "Clicks:"),
    scr.LBL_CLICKS: ("LABEL", " 0"),
    scr.CMD_GO: ("PUSH_BUTTON", "GO!"),
    scr.CMD_ICO: ("PUSH_BUTTON", "Change Icon"),
    scr.CMD_QUIT: ("PUSH_BUTTON", "QUIT"),
    scr.LBL_FEEDBACK: ("LABEL", " "),
    scr.PIC_START: ("IMAGE", "Wandering picture"),
}
FOCUSABLE = {scr.LST_SPEED, scr.CMD_GO, scr.CMD_ICO, scr.CMD_QUIT, scr.PIC_START}
ON_SCREEN = {"enabled", "sensitive", "showing", "visible"}


# Over AT-SPI the window is a frame and every control reports its role, name, place and
# state: the picture box as a named image, the speed list with its items and selection, the start controls as not
# showing and offering no Press during a round, the clicks label's and rating's texts after it.
def case_accessibility(game):
    with Session(game, accessibility=True) as session:
        from drivers import a11y
        screen = Screen(session.display, session.window)
        ready_shot(screen)
        window = a11y.game_window()
        assert_equal(a11y.role(window), "FRAME", "role of the game window")
        controls = a11y.controls_by_rect(window)
        assert_equal(sorted(controls), sorted(A11Y_CONTROLS), "control rectangles")
        for rect, (role, name) in A11Y_CONTROLS.items():
            control = controls[rect]
            what = f"control at {rect}"
            assert_equal(a11y.role(control), role, f"role of {what}")
            if name is not None:
                assert_equal(a11y.name(control), name, f"name of {what}")
            expected = ON_SCREEN | ({"focusable"} if rect in FOCUSABLE else set())
            a11y.require_states(control, expected, what=what)

        speed = controls[scr.LST_SPEED]
        items = list(a11y.fresh(speed))
        assert_equal([a11y.name(i) for i in items], ["EASY", "MEDIUM", "INSANITY"],
                     "speed list items")
        assert_equal([a11y.role(i) for i in items], ["LIST_ITEM"] * 3, "speed item roles")
        assert_equal(["selected" in a11y.states(i) for i in items], [True, False, False],
                     "speed selection")

        picture = controls[scr.PIC_START]
        if not picture.description:
            raise AssertionError("the picture has no description")
        ox, oy = screen.origin()
        x, y, w, h = scr.PIC_START
        assert_equal(a11y.extents(picture, on_screen=True),
                     (ox + x, oy + y, w, h), "picture's place on the screen")

        start = {rect: controls[rect] for rect in START_CONTROLS.values()}
        buttons = [controls[scr.CMD_GO], controls[scr.CMD_ICO]]
        assert_equal(["Press" in a11y.action_names(b) for b in buttons], [True, True],
                     "GO! and Change Icon offer Press before the round")
        session.click(*scr.centre(scr.CMD_GO))
        wait_until(lambda: all("showing" not in a11y.states(c) for c in start.values()),
                   10.0, "the start controls to report not showing", 0.05)
        for rect, control in start.items():
            a11y.require_states(control, absent={"showing", "visible"},
                                what=f"start control at {rect} during the round")
        a11y.require_states(picture, ON_SCREEN | {"focusable"}, what="picture during the round")
        a11y.require_states(controls[scr.CMD_QUIT], ON_SCREEN, what="QUIT during the round")
        # A hidden GO! must not start a round inside the round, nor a hidden Change Icon
        # swap the picture: neither offers Press while hidden.
        assert_equal(["Press" in a11y.action_names(b) for b in buttons], [False, False],
                     "hidden GO! and Change Icon offer Press")
        places = {a11y.extents(picture)}
        wait_until(lambda: places.add(a11y.extents(picture)) or len(places) >= 3, 5.0,
                   "the picture's reported place to follow it", 0.05)
        timer = a11y.name(controls[scr.LBL_TIMER])
        if not re.fullmatch(r"\d+([.,]\d+)?", timer):
            raise AssertionError(f"timer label reads {timer!r} during the round")

        wait_until(lambda: all("showing" in a11y.states(c) for c in start.values()),
                   ROUND_TIMEOUT, "the round to end", 0.1)
        assert_equal(a11y.name(controls[scr.LBL_CLICKS]), "0", "clicks label after the round")
        assert_equal(a11y.name(controls[scr.LBL_FEEDBACK]),
                     "This game is best played while awake", "rating after a round on EASY")
        a11y.require_states(picture, {"showing", "visible", "focusable"},
                            absent={"enabled", "sensitive"}, what="picture after the round")
        assert_equal((a11y.role(picture), a11y.name(picture)), ("IMAGE", "Wandering picture"),
                     "picture's role and name after the round")
        print("picture's reported places during the round:", sorted(places)[:5])
        screen.close()


# On a Wayland compositor alone (weston's headless backend, no X server at all) with
# Qt's Wayland platform: the window comes up with every control in its place, with the
# desktop entry's id as its app id (what docks and task switchers match it by), a round
# pressed through AT-SPI runs with the picture wandering and ends with the rating, and
# QUIT pressed in the middle of a second round ends the game with status 0.
def case_wayland(game):
    from drivers.wlsession import WaylandSession
    with WaylandSession(game) as session:
        from drivers import a11y
        window = a11y.game_window()
        assert_equal(a11y.role(window), "FRAME", "role of the game window")
        a11y.require_states(window, {"showing", "visible"}, what="the game window")
        assert_equal(session.app_ids().get(CAPTION), "org.example.quorvel",
                     "app id weston holds for the game's window")
        controls = a11y.controls_by_rect(window)
        assert_equal(sorted(controls), sorted(A11Y_CONTROLS), "control rectangles")
        start = [controls[rect] for rect in START_CONTROLS.values()]
        picture = controls[scr.PIC_START]

        def start_showing(showing):
            return all(("showing" in a11y.states(c)) == showing for c in start)

        a11y.press(controls[scr.CMD_GO])
        wait_until(lambda: start_showing(False), 10.0, "the round to start", 0.05)
        places = set()

        def round_over():
            places.add(a11y.extents(picture))
            return start_showing(True)

        wait_until(round_over, ROUND_TIMEOUT, "the round to end", 0.05)
        if len(places) < 10:
            raise AssertionError(f"the picture was seen at only {len(places)} places")
        assert_equal(a11y.name(controls[scr.LBL_CLICKS]), "0", "clicks label after the round")
        assert_equal(a11y.name(controls[scr.LBL_FEEDBACK]),
                     "This game is best played while awake", "rating after a round on EASY")
        print(f"picture seen at {len(places)} places, right edge up to "
              f"{max(x + w for x, _, w, _ in places)}, bottom up to "
              f"{max(y + h for _, y, _, h in places)}")

        a11y.press(controls[scr.CMD_GO])
        wait_until(lambda: start_showing(False), 10.0, "the second round to start", 0.05)
        started = time.monotonic()
        try:
            a11y.press(controls[scr.CMD_QUIT])
        except Exception as error:  # the game may end before it answers
            print("QUIT pressed, no answer:", error)
        assert_exits(session, started, "QUIT pressed over AT-SPI")


CASES = {
    "window": case_window,
    "go": case_go,
    "click": case_click,
    "quit": case_quit,
    "close": case_close,
    "keyboard": case_keyboard,
    "accessibility": case_accessibility,
    "wayland": case_wayland,
}


def main(argv):
    if len(argv) < 3 or argv[1] not in CASES:
        print(__doc__.strip(), "\ncases:", ", ".join(CASES), file=sys.stderr)
        return 2
    case, game = argv[1], argv[2]
    return run_reported(case, lambda: CASES[case](game), argv[3] if len(argv) > 3 else None,
                        f"e2e-{case}-failure.ppm")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
