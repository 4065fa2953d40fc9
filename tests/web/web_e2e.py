"""The browser build end to end: its page served on 127.0.0.1 and played in a browser
(headless Chromium, Firefox ESR or WebKitGTK's MiniBrowser) with real mouse and touch
input, read back from the page's pixels and from the window's accessibility tree.

Usage: web_e2e.py CASE SITE-FOLDER [FOLDER-FOR-FAILURE-SCREENSHOTS] [--engine=ENGINE]
A case the engine cannot run is skipped with the reason, exit status 77.
"""

import gzip
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

from selenium.webdriver.common.keys import Keys

from drivers import browser as web, e2e, screen as scr
from drivers.e2e import ROUND_SECONDS, assert_equal
from drivers.xsession import wait_until

# The design's places of the controls, in CSS pixels of the page (the window has no
# frame in a page: it fills the canvas).
DESIGN = {
    "lstSpeed": scr.LST_SPEED, "Label1": scr.LABEL1, "lblTimer": scr.LBL_TIMER,
    "Lable2": scr.LABLE2, "lblClicks": scr.LBL_CLICKS, "cmdGo": scr.CMD_GO,
    "cmdIco": scr.CMD_ICO, "cmdQuit": scr.CMD_QUIT, "lblFeedback": scr.LBL_FEEDBACK,
    "picIco": scr.PIC_START,
}
LIST_ROW = scr.LST_SPEED[3] // 3   # the three items share the list's height
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
const canvas = document.getElementById('screen');
window.addEventListener('pointerdown', e => {
  const [x, y, w, h] = quorvelControl('picIco').rect;
  const r = Element.prototype.getBoundingClientRect.call(canvas), s = r.width / canvas.offsetWidth;
  const px = (e.clientX - r.left) / s, py = (e.clientY - r.top) / s;
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
# and whose rating comes 10.1 s after the press; "Change Icon"; "QUIT" mid-round. All of
# it also in a browser whose WebGL is turned off (case nowebgl).
def case_mouse(site, webgl=True):
    with web.Browser(webgl=webgl) as b:
        game = web.Game(b, site.url)
        game.open()
        has_webgl = game.script("return !!document.createElement('canvas').getContext('webgl');")
        if not webgl and has_webgl:
            raise AssertionError("the browser offers WebGL although it was turned off")
        assert_equal(b.title, web.CAPTION, "page title")
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


# Qt's bridge to screen readers, turned on as a reader's user does, with the control Qt
# puts first in the window (a visually hidden button). It must neither move nor cover
# the window.
ENABLE_READER = """
const root = document.getElementById('screen').firstElementChild.shadowRoot;
const button = root.querySelector('.qt-window-a11y-container button');
if (!button) return false;
button.click();
return true;
"""


CHOOSE_OPTION = """
const root = document.getElementById('screen').firstElementChild.shadowRoot;
[...root.querySelectorAll('[role="option"]')].find(o => o.textContent === arguments[0]).click();
"""


def read(game, role, name=None):
    """The nodes a screen reader has of that role (and name)."""
    return [n for n in game.browser.reader_tree()
            if n["role"] == role and (name is None or n["name"] == name)]


def reads_text(game, text):
    """Whether a reader has the text, as a name or as a read-only text box's value."""
    return any(n["role"] == "textbox" and n["value"].strip() == text or n["name"] == text
               for n in game.browser.reader_tree())


def speeds(game):
    boxes = read(game, "listbox")
    if len(boxes) != 1:
        return None
    return [(n["name"], n["selected"]) for n in read(game, "option")]


# Screen readers: with the bridge on, GO!, Change Icon and QUIT read as buttons with
# their captions, the timer's and the clicks' labels and values as text, and the speed
# list as a list box of its three speeds with the chosen one selected, following the
# arrow keys; while a round runs the list and the two start buttons are gone; at the
# end the rating is read out from a polite live region. The window stays where it was.
def case_reader(site):
    with web.Browser() as b:
        game = web.Game(b, site.url)
        game.open()
        before = game.canvas_rect()
        if not game.script(ENABLE_READER):
            raise AssertionError("no control that turns on Qt's screen reader bridge")
        assert_equal(game.canvas_rect(), before, "the window's place with the bridge on")
        for caption in ("GO!", "Change Icon", "QUIT"):
            wait_until(lambda c=caption: read(game, "button", c), 5.0, f"{caption} as a button")
        for text in ("Timer:", "Clicks:", "0"):
            if not reads_text(game, text):
                raise AssertionError(f"no text {text!r} for screen readers")
        assert_equal(speeds(game), [("EASY", True), ("MEDIUM", False), ("INSANITY", False)],
                     "the speed list as a reader has it")
        game.click(scr.LST_SPEED[0] + 20, scr.LST_SPEED[1] + LIST_ROW // 2)
        game.key(Keys.ARROW_DOWN)
        wait_until(lambda: speeds(game) == [("EASY", False), ("MEDIUM", True), ("INSANITY", False)],
                   2.0, "the down arrow to select MEDIUM for readers too")
        # A reader's user picks an option by activating it, which the browser sends as
        # a click on its element.
        game.script(CHOOSE_OPTION, "INSANITY")
        wait_until(lambda: speeds(game) == [("EASY", False), ("MEDIUM", False), ("INSANITY", True)],
                   2.0, "INSANITY, chosen through the reader, to be selected")
        wait_until(lambda: list_item(game, "INSANITY")["selected"], 2.0, "the game to pick INSANITY")
        game.key(Keys.ARROW_UP)
        wait_until(lambda: speeds(game) == [("EASY", False), ("MEDIUM", True), ("INSANITY", False)],
                   2.0, "the up arrow to select MEDIUM again")
        game.key(Keys.TAB)
        wait_until(lambda: game.controls()["cmdGo"]["focused"], 2.0, "Tab to reach GO!")
        game.key(Keys.SPACE)
        pressed = time.monotonic()
        wait_until(lambda: not read(game, "button", "GO!") and speeds(game) is None, 2.0,
                   "the list and GO! to leave the reader's view during the round")
        wait_round_end(game, pressed)
        rating = game.text("lblFeedback").strip()
        clicks = game.text("lblClicks")
        if not rating and int(clicks) not in (5, 20, 30):
            raise AssertionError("no rating after the round")
        if rating:
            wait_until(lambda: [n["text"] for n in read(game, "status")] == [rating], 2.0,
                       f"the rating {rating!r} in a live region")
            if not reads_text(game, rating):
                raise AssertionError("the rating is not among the texts a reader has")
        print(f"reader: {len(b.reader_tree())} nodes; the live region says "
              f"{[n['text'] for n in read(game, 'status')]}")
        wait_until(lambda: read(game, "button", "GO!") and speeds(game), 2.0,
                   "the list and GO! back for readers after the round")
        assert_equal(game.canvas_rect(), before, "the window's place after a round")


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


# Screens the page is fitted to, in CSS pixels: (name, width, height, device pixel
# ratio, a touch screen). Chromium's device emulation stands in for the devices.
SCREENS = [
    ("phone upright", 390, 844, 3, True),
    ("phone sideways", 844, 390, 3, True),
    ("tablet", 1180, 820, 2, True),
    ("small desktop window", 600, 450, 1, False),
]


def emulate(browser, width, height, ratio, touch):
    """Makes the page's screen a phone's, a tablet's or a desktop's, either way up."""
    upright = height > width
    browser.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": touch,
        "screenWidth": width, "screenHeight": height,
        "screenOrientation": {"type": "portraitPrimary" if upright else "landscapePrimary",
                              "angle": 0 if upright else 90}})
    browser.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                   {"enabled": True, "maxTouchPoints": 5} if touch else
                                   {"enabled": False})


def fitted(game, width, height, touch):
    """Checks the window's place on a screen of width x height: whole, in its own shape,
    as large as the design (a desktop) or the screen (a touch screen) allows, and drawn
    with a device pixel for every one it covers. Returns the scale."""
    left, top, w, h, backing_w, _ = game.canvas_rect()
    where = f"on a {width} x {height} screen"
    if left < -0.5 or top < -0.5 or left + w > width + 0.5 or top + h > height + 0.5:
        raise AssertionError(f"window cut {where}: {left:.1f}, {top:.1f}, {w:.1f} x {h:.1f}")
    scale = w / scr.CLIENT_SIZE[0]
    if abs(h - scr.CLIENT_SIZE[1] * scale) > 1:
        raise AssertionError(f"window out of shape {where}: {w:.1f} x {h:.1f}")
    limit = min(width / scr.CLIENT_SIZE[0], height / scr.CLIENT_SIZE[1])
    if touch and scale < 0.9 * limit:
        raise AssertionError(f"window at scale {scale:.3f} {where}, which allows {limit:.3f}")
    if not touch and abs(scale - min(1.0, limit)) > 0.01:
        raise AssertionError(f"window at scale {scale:.3f} {where}, not {min(1.0, limit):.3f}")
    ratio = game.script("return window.matchMedia('(resolution: 3dppx)').matches ? 3 : "
                        "window.matchMedia('(resolution: 2dppx)').matches ? 2 : 1;")
    if backing_w < w * ratio - 1:
        raise AssertionError(f"blurred {where}: {backing_w} canvas pixels for "
                             f"{w * ratio:.0f} device pixels")
    return scale


def refitted(game, width, height):
    try:
        return fitted(game, width, height, True)
    except AssertionError:
        return False


def lands(game, press, count):
    """A press just inside the picture's far corner counts, one just outside it does not."""
    x, y, w, h = game.controls()["picIco"]["rect"]
    press(x + w - 3, y + h - 3)
    web.wait_text(game, "lblClicks", lambda t: t == str(count + 1), 2.0,
                  "a press inside the picture's corner to count")
    time.sleep(0.6)
    press(x + w + 3, y + h + 3)
    time.sleep(0.6)
    assert_equal(game.text("lblClicks"), str(count + 1), "clicks after a press beside the picture")
    return count + 1


# The window fits phones either way up, a tablet and a small desktop window, whole and
# crisp; a press lands on what is drawn under it; only an upright phone hints at turning.
def case_fit(site):
    for name, width, height, ratio, touch in SCREENS:
        with web.Browser(touch=touch) as b:
            emulate(b, width, height, ratio, touch)
            game = web.Game(b, site.url)
            game.open()
            scale = fitted(game, width, height, touch)
            lands(game, game.tap if touch else game.click, 0)
            hint = game.script("const t = document.getElementById('turn');"
                               "return t.hidden ? null : t.getBoundingClientRect().top;")
            upright = touch and height > width
            if upright != (hint is not None):
                raise AssertionError(f"{name}: the hint to turn is {'missing' if upright else 'shown'}")
            if hint is not None and hint < game.canvas_rect()[1] + game.canvas_rect()[3]:
                raise AssertionError(f"{name}: the hint to turn covers the window")
            print(f"{name} ({width} x {height}, ratio {ratio}): scale {scale:.3f}")


# Turning a phone mid-round re-fits the window; the round goes on in the window's own
# 711 x 501 pixels, taps on the moving picture keep counting, and it ends on time.
def case_rotate(site):
    with web.Browser(touch=True) as b:
        emulate(b, 844, 390, 3, True)
        game = web.Game(b, site.url)
        game.open()
        fitted(game, 844, 390, True)
        game.tap(*scr.centre(scr.CMD_GO))
        pressed = time.monotonic()
        wait_until(lambda: not visible(game, "cmdGo"), 2.0, "a tap on GO! to start a round")
        game.script(RECORD_PRESSES)
        for width, height in ((390, 844), (844, 390), (390, 844)):
            time.sleep(0.5)
            emulate(b, width, height, 3, True)
            try:
                wait_until(lambda: refitted(game, width, height), 2.0, "the window to re-fit")
            finally:
                fitted(game, width, height, True)
            timer = game.text("lblTimer")
            wait_until(lambda: game.text("lblTimer") != timer, 2.0, "the round to go on")
            picture = tuple(game.controls()["picIco"]["rect"])
            if not (0 <= picture[0] and picture[0] + picture[2] <= scr.CLIENT_SIZE[0]
                    and 0 <= picture[1] and picture[1] + picture[3] <= scr.CLIENT_SIZE[1]):
                raise AssertionError(f"the picture left the window: {picture}")
            game.tap(*scr.centre(picture))
        took = wait_round_end(game, pressed)
        taps = game.script("return quorvelPresses.filter(p => p.hit).length;")
        print(f"rotated three times; {taps} taps on the picture, "
              f"{game.text('lblClicks')} counted; rating after {took:.3f} s")
        assert_equal(game.text("lblClicks"), str(taps), "clicks counted against taps on the picture")
        if abs(took - ROUND_SECONDS) > 0.3:
            raise AssertionError(f"the rating came {took:.3f} s after GO!, not 10.1 s")


# Crisp at device pixel ratios 1.5 and 2: the canvas has a device pixel for every
# pixel of the screen it covers, and the window keeps its size in CSS pixels.
def case_scales(site):
    for scale in (1.5, 2):
        why = web.lacks(scale=scale)
        if why:
            print(f"scale {scale} not tried in {web.ENGINE}: {why}")
            continue
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


# What a browser that asks for these codings is sent: (Accept-Encoding, Content-Encoding).
CODINGS = (("gzip, deflate, br", "br"), ("gzip, deflate", "gzip"), (None, None))
UNPACK = {
    "br": lambda body: subprocess.run(["brotli", "-d", "-c"], input=body,
                                      capture_output=True, check=True).stdout,
    "gzip": gzip.decompress,
    None: lambda body: body,
}
# The app manifest the page links to, and each of its icons decoded.
READ_MANIFEST = """
const done = arguments[0];
(async () => {
  const link = document.querySelector("link[rel=manifest]").href;
  const manifest = await (await fetch(link)).json();
  for (const icon of manifest.icons) {
    const picture = await createImageBitmap(await (await fetch(new URL(icon.src, link))).blob());
    icon.decoded = picture.width + "x" + picture.height;
  }
  return manifest;
})().then(done, error => done(String(error)));
"""


def served(url, codings):
    request = urllib.request.Request(url, headers={"Accept-Encoding": codings} if codings else {})
    with urllib.request.urlopen(request, timeout=30) as response:
        return response.headers, response.read()


def uncaught(game):
    return [e for e in game.console_errors() if "Uncaught" in e]


def cannot_load(browser, url, what):
    """Opens the page and waits for its plain message that the game could not be loaded."""
    start = time.monotonic()
    browser.get(url)

    def message():
        return browser.execute_script(
            "const stage = document.getElementById('stage');"
            "return quorvelPage.over && stage.classList.contains('waiting')"
            "  && document.getElementById('progress').hidden"
            "  && document.getElementById('status').textContent;")
    text = wait_until(message, 30.0, f"the page to say that the game could not be loaded ({what})")
    if not text.startswith("The game could not be loaded"):
        raise AssertionError(f"with {what} the page says: {text}")
    print(f"{what}: the page said after {time.monotonic() - start:.1f} s: {text}")


# Plays offline once visited and with no worker; br/gzip as asked; manifest; no .wasm fails plainly.
def case_offline(site):
    for name, kind in (("index.html", "text/html"), ("quorvel.wasm", "application/wasm"),
                       ("sw.js", "text/javascript"),
                       ("manifest.webmanifest", "application/manifest+json")):
        with open(os.path.join(site.folder, name), "rb") as f:
            plain = f.read()
        for codings, coding in CODINGS:
            headers, body = served(site.url + name, codings)
            got = (headers["Content-Encoding"], headers["Content-Type"].split(";")[0],
                   headers["Vary"], headers["Cache-Control"])
            assert_equal(got, (coding, kind, "Accept-Encoding", "no-cache"),
                         f"{name} for Accept-Encoding {codings}: coding, type, Vary, Cache-Control")
            if UNPACK[coding](body) != plain:
                raise AssertionError(f"{name} sent as {coding} is not the file")

    with web.Browser() as b:
        game = web.Game(b, site.url)
        game.open()
        wait_until(lambda: game.script("return !!navigator.serviceWorker.controller"), 60.0,
                   "the service worker to take the page")
        manifest = b.execute_async_script(READ_MANIFEST)
        if not isinstance(manifest, dict):
            raise AssertionError(f"the page's manifest: {manifest}")
        assert_equal((manifest["name"], manifest["start_url"], manifest["display"],
                      manifest["orientation"]),
                     (web.CAPTION, ".", "standalone", "landscape"), "the manifest")
        icons = {(i["sizes"], i["purpose"]) for i in manifest["icons"]
                 if i["decoded"] == i["sizes"]}
        want = {(f"{n}x{n}", purpose) for n in (192, 512) for purpose in ("any", "maskable")}
        assert_equal(icons, want, "the manifest's icons, as sized and as decoded")
        if isinstance(b, web.Chromium):
            assert_equal(b.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}),
                         {"installabilityErrors": []}, "what Chromium finds against installing")

        site.stop()
        try:
            served(site.url, None)
            raise AssertionError("the server still answers")
        except urllib.error.URLError:
            pass
        game.open()
        game.click(*scr.centre(scr.PIC_START))
        web.wait_text(game, "lblClicks", lambda t: t == "1", 2.0, "a click to count offline")
        game.click(*scr.centre(scr.CMD_GO))
        wait_until(lambda: not visible(game, "cmdGo"), 2.0, "GO! to start a round offline")
        timer = game.text("lblTimer")
        wait_until(lambda: game.text("lblTimer") != timer, 2.0, "the timer to run offline")
        assert_equal(uncaught(game), [], "uncaught errors")

    with tempfile.TemporaryDirectory(prefix="quorvel-web-") as folder:
        shutil.copytree(site.folder, folder, dirs_exist_ok=True)
        # No worker to register (sw.js is not found): the game plays as ever.
        for name in ("sw.js", "sw.js.br", "sw.js.gz"):
            os.remove(os.path.join(folder, name))
        with web.Site(folder) as broken, web.Browser() as b:
            game = web.Game(b, broken.url)
            game.open()
            game.click(*scr.centre(scr.PIC_START))
            web.wait_text(game, "lblClicks", lambda t: t == "1", 2.0,
                          "a click to count with no worker")
            worker = b.execute_async_script(
                "const done = arguments[0];"
                "navigator.serviceWorker.getRegistration()"
                "  .then(r => done(!!r), e => done(String(e)));")
            assert_equal(worker, False, "a worker registered from a missing sw.js")
            assert_equal(uncaught(game), [], "uncaught errors with no worker")

            wasm = os.path.join(folder, "quorvel.wasm")
            for name in ("quorvel.wasm.br", "quorvel.wasm.gz"):
                os.remove(os.path.join(folder, name))
            os.truncate(wasm, os.path.getsize(wasm) // 2)
            cannot_load(b, broken.url, "half of quorvel.wasm")
            os.remove(wasm)
            cannot_load(b, broken.url, "no quorvel.wasm")


CASES = {"mouse": case_mouse, "nowebgl": lambda site: case_mouse(site, webgl=False),
         "reader": case_reader, "touch": case_touch, "scales": case_scales,
         "fit": case_fit, "rotate": case_rotate,
         "offline": case_offline}


# What a case asks of the engine beyond a mouse and a keyboard at pixel ratio 1.
NEEDS = {"touch": {"touch": True}, "scales": {"scale": 2},
         "fit": {"emulation": True}, "rotate": {"emulation": True}}
SKIPPED = 77


def main(argv):
    engine = next((a.split("=", 1)[1] for a in argv if a.startswith("--engine=")), web.ENGINE)
    argv = [a for a in argv if not a.startswith("--engine=")]
    if len(argv) < 3 or argv[1] not in CASES or engine not in web.ENGINES:
        print(__doc__.strip(), "\ncases:", ", ".join(CASES), "\nengines:",
              ", ".join(web.ENGINES), file=sys.stderr)
        return 2
    case, folder = argv[1], argv[2]
    # Every browser the case opens is of this engine.
    web.ENGINE = engine
    why = web.lacks(**NEEDS.get(case, {}))
    if why:
        print(f"skipped web {case} in {engine}: {why}")
        return SKIPPED

    def run():
        with web.Site(folder) as site:
            CASES[case](site)
    return e2e.run_reported(f"web {case} in {engine}", run, argv[3] if len(argv) > 3 else None,
                            f"web-{case}-{engine}-failure.ppm")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
