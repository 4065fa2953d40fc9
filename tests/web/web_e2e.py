"""The browser build end to end: its page served on 127.0.0.1 and played in headless
Chromium with real mouse and touch input, read back from the page's pixels and from the
window's accessibility tree.

Usage: web_e2e.py CASE SITE-FOLDER [FOLDER-FOR-FAILURE-SCREENSHOTS]
"""

import sys
import time

from selenium.webdriver.common.keys import Keys

import browser as web
import quorvel_e2e as e2e
import screen as scr
from quorvel_e2e import assert_equal
from xsession import wait_until

# The design's places of the controls, in CSS pixels of the page (the window has no
# frame in a page: it fills the canvas).
DESIGN = {
    "lstSpeed": scr.LST_SPEED, "Label1": scr.LABEL1, "lblTimer": scr.LBL_TIMER,
    "Lable2": scr.LABLE2, "lblClicks": scr.LBL_CLICKS, "cmdGo": scr.CMD_GO,
    "cmdIco": scr.CMD_ICO, "cmdQuit": scr.CMD_QUIT, "lblFeedback": scr.LBL_FEEDBACK,
    "picIco": scr.PIC_START,
}
LIST_ROW = scr.LST_SPEED[3] // 3   # the three items share the list's height
ROUND_SECONDS = 10.1
PICTURE_SIDE = scr.PIC_START[2]


def scaled(rect, scale):
    return tuple(round(v * scale) for v in rect)


def shot(game):
    e2e.last_shot = game.shot()
    return e2e.last_shot


def picture_at(game, template):
    """The picture's rectangle in CSS pixels, found by its pixels, or None."""
    hits = shot(game).find(template)
    if len(hits) != 1:
        return None
    s = game.browser.scale
    return (round(hits[0][0] / s), round(hits[0][1] / s), PICTURE_SIDE, PICTURE_SIDE)


def last():
    return e2e.last_shot


# Notes where every press lands and where the picture is at that moment, from the
# page's own events, before the game sees the press.
RECORD_PRESSES = """
window.quorvelPresses = [];
const canvas = document.getElementById('qtcanvas');
window.addEventListener('pointerdown', e => {
  const [x, y, w, h] = quorvelControl('picIco').rect;
  const r = canvas.getBoundingClientRect(), px = e.clientX - r.left, py = e.clientY - r.top;
  quorvelPresses.push({px, py, hit: px >= x && px < x + w && py >= y && py < y + h});
}, {capture: true});
"""


def visible(game, name):
    return game.controls()[name]["visible"]


def list_item(game, text):
    items = [c for c in game.controls()["lstSpeed"].get("children", []) if c["text"] == text]
    return items[0] if items else None


def change_icon(game, press):
    """Presses "Change Icon" until the picture changes (a press may draw the same one)."""
    where = scaled(tuple(game.controls()["picIco"]["rect"]), game.browser.scale)
    before = shot(game).block(where)
    for _ in range(4):
        press(*scr.centre(scr.CMD_ICO))

        def changed():
            return shot(game).block(where) != before
        try:
            wait_until(changed, 1.0, "the picture to change", 0.05)
            return
        except AssertionError:
            continue
    raise AssertionError("four presses of Change Icon never changed the picture")


def wait_round_end(game, pressed):
    wait_until(lambda: visible(game, "cmdGo"), ROUND_SECONDS + 10, "the round to end", 0.01)
    return time.monotonic() - pressed


# The page: its title, the window at its design size with its ten controls where the
# design puts them; the picture's clicks count before a round; INSANITY picked with the
# mouse; a round after "GO!" whose timer runs, whose hits on the moving picture count,
# and whose rating comes 10.1 s after the press; "Change Icon"; "QUIT" mid-round.
def case_mouse(site):
    with web.Browser() as b:
        game = web.Game(b, site.url)
        game.open()
        assert_equal(b.driver.title, web.CAPTION, "page title")
        left, top, width, height, backing_w, backing_h = game.canvas_rect()
        assert_equal((width, height), scr.CLIENT_SIZE, "window size in the page")
        assert_equal((backing_w, backing_h), scr.CLIENT_SIZE, "canvas pixels at scale 1")
        window = game.window()
        assert_equal(tuple(window["rect"]), (0, 0, *scr.CLIENT_SIZE), "window's place")
        controls = game.controls()
        for name, rect in DESIGN.items():
            assert_equal(tuple(controls[name]["rect"]), rect, f"place of {name}")
        assert_equal(list_item(game, "EASY")["selected"], True, "EASY selected at start")

        first = shot(game)
        if not e2e.sunken_frame(first, scr.PIC_START):
            raise AssertionError("no picture box frame at the picture's place")
        for name in ("cmdGo", "cmdIco", "cmdQuit", "Label1", "Lable2"):
            if first.plain(DESIGN[name], first.background()):
                raise AssertionError(f"nothing drawn where {name} is")
        template = first.block(scr.PIC_START)

        # Before any round the picture takes clicks, each counted.
        for n in (1, 2):
            game.click(*scr.centre(scr.PIC_START))
            web.wait_text(game, "lblClicks", lambda t, n=n: t == str(n), 2.0,
                          f"the clicks label to show {n}")
            time.sleep(0.6)   # no double-click

        game.click(scr.LST_SPEED[0] + 20, scr.LST_SPEED[1] + LIST_ROW * 2 + LIST_ROW // 2)
        wait_until(lambda: list_item(game, "INSANITY")["selected"], 2.0, "INSANITY to be picked")

        game.click(*scr.centre(scr.CMD_GO))
        pressed = time.monotonic()
        wait_until(lambda: not visible(game, "cmdGo") and not visible(game, "lstSpeed")
                   and not visible(game, "cmdIco"), 2.0, "the start controls to hide")
        assert_equal(game.text("lblClicks"), "0", "clicks label at the round's start")
        timer = [game.text("lblTimer")]

        def timer_moves():
            now = game.text("lblTimer")
            if now != timer[-1]:
                timer.append(now)
            return len(timer) >= 4
        wait_until(timer_moves, 3.0, "the timer to run", 0.05)

        # Found by its pixels: the picture is drawn away from its start, the start
        # controls are gone. A screenshot takes 100-300 ms while the picture moves
        # 10 px every 20 ms, so the clicks aim where the accessibility tree has it.
        def drawn_away():
            picture = picture_at(game, template)
            return picture and picture != scr.PIC_START and e2e.start_hidden(last(), picture)
        wait_until(drawn_away, 3.0, "the picture to be drawn wandering", 0.0)
        game.script(RECORD_PRESSES)
        sent = 0
        while time.monotonic() < pressed + ROUND_SECONDS - 1.0:
            picture = tuple(game.controls()["picIco"]["rect"])
            if not scr.overlaps(picture, scr.CMD_QUIT, 30):
                game.click(*scr.centre(picture))
                sent += 1
                time.sleep(0.5)   # never a double-click
        took = wait_round_end(game, pressed)
        clicks = game.text("lblClicks")
        hits = game.script("return quorvelPresses.filter(p => p.hit).length;")
        print(f"round: {sent} clicks made, {hits} on the picture as it was when pressed, "
              f"{clicks} counted; rating after {took:.3f} s; timer showed {timer}")
        if hits < 1:
            raise AssertionError("no click landed on the picture")
        assert_equal(clicks, str(hits), "clicks counted against presses on the picture")
        if abs(took - ROUND_SECONDS) > 0.2:
            raise AssertionError(f"the rating came {took:.3f} s after GO!, not 10.1 s")
        if not game.text("lblFeedback").strip() and int(clicks) not in (5, 10):
            raise AssertionError("no rating after the round")
        if float(game.text("lblTimer")) >= ROUND_SECONDS:
            raise AssertionError(f"timer ended at {game.text('lblTimer')}")

        change_icon(game, game.click)

        # The keyboard's way in: from "Change Icon", which the clicks left with the
        # focus, Tab passes the list and reaches "GO!", and Return presses it.
        game.key(Keys.TAB)
        game.key(Keys.TAB)
        wait_until(lambda: game.controls()["cmdGo"]["focused"], 2.0, "Tab to reach GO!")
        game.key(Keys.RETURN)
        wait_until(lambda: not visible(game, "cmdGo"), 2.0, "Return on GO! to start a round")
        time.sleep(1.0)
        wait_until(lambda: not scr.overlaps(tuple(game.controls()["picIco"]["rect"]),
                                            scr.CMD_QUIT, 30), 5.0, "the picture to clear QUIT")
        game.click(*scr.centre(scr.CMD_QUIT))
        quit_at = time.monotonic()
        wait_until(game.ended, 2.0, "the page to show that the game ended")
        print(f"QUIT: the page showed the end after {time.monotonic() - quit_at:.3f} s")
        assert_equal(game.script("return document.getElementById('status').textContent"),
                     "The game has ended.", "page after QUIT")
        assert_equal(game.script("return document.getElementById('again').hidden"), False,
                     "a way to play again")
        errors = [e for e in game.console_errors() if "favicon" not in e]
        if errors:
            raise AssertionError(f"the page logged errors: {errors}")


# On a touchscreen: a tap on the picture counts as a click, a tap on "Change Icon"
# changes it, a tap on "GO!" starts a round, and the page neither scrolls nor zooms.
def case_touch(site):
    with web.Browser(touch=True) as b:
        game = web.Game(b, site.url)
        game.open()
        game.script("window.quorvelPointers = [];"
                    "addEventListener('pointerdown', e => quorvelPointers.push(e.pointerType), true);")
        for n in (1, 2):
            game.tap(*scr.centre(scr.PIC_START))
            web.wait_text(game, "lblClicks", lambda t, n=n: t == str(n), 2.0,
                          f"the clicks label to show {n} after a tap")
            time.sleep(0.6)
        change_icon(game, game.tap)
        game.tap(*scr.centre(scr.CMD_GO))
        kinds = set(game.script("return quorvelPointers;"))
        assert_equal(kinds, {"touch"}, "kinds of pointer the page saw")
        wait_until(lambda: not visible(game, "cmdGo"), 2.0, "a tap on GO! to start a round")
        scroll = game.script("return [window.scrollX, window.scrollY, visualViewport.scale];")
        assert_equal(scroll, [0, 0, 1], "page scroll and zoom during the round")


# Crisp at device pixel ratios 1.5 and 2: the canvas has a device pixel for every
# pixel of the screen it covers, and the window keeps its size in CSS pixels.
def case_scales(site):
    for scale in (1.5, 2):
        with web.Browser(scale=scale) as b:
            game = web.Game(b, site.url)
            game.open()
            _, _, width, height, backing_w, backing_h = game.canvas_rect()
            assert_equal((width, height), scr.CLIENT_SIZE, f"window size at scale {scale}")
            # A device pixel for every one the canvas covers (Qt rounds down).
            want = [v * scale for v in scr.CLIENT_SIZE]
            if abs(backing_w - want[0]) >= 1 or abs(backing_h - want[1]) >= 1:
                raise AssertionError(f"canvas pixels at scale {scale}: {backing_w} x "
                                     f"{backing_h} for {want[0]} x {want[1]}")
            # At a whole ratio the picture box's frame lines fall on whole device pixels.
            if scale == int(scale) and not e2e.sunken_frame(shot(game), scaled(scr.PIC_START, scale)):
                raise AssertionError(f"no picture box frame at scale {scale}")


CASES = {"mouse": case_mouse, "touch": case_touch, "scales": case_scales}


def main(argv):
    if len(argv) < 3 or argv[1] not in CASES:
        print(__doc__.strip(), "\ncases:", ", ".join(CASES), file=sys.stderr)
        return 2
    case, folder = argv[1], argv[2]

    def run():
        with web.Site(folder) as site:
            CASES[case](site)
    return e2e.run_reported(f"web {case}", run, argv[3] if len(argv) > 3 else None,
                            f"web-{case}-failure.ppm")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
