"""The browser build's page in a browser engine, served from this machine, with real
pointer and touch input (WebDriver actions, which the browser turns into input events)
and the window read back from the page's accessibility tree and from its pixels: Debian's
headless Chromium, or Firefox ESR or WebKitGTK's MiniBrowser on a private Xvfb, where
Mesa's llvmpipe gives them WebGL. Shared by the end-to-end test and the browser benchmark."""

import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.remote.command import Command
from Xlib import X, display as xdisplay

from drivers import marionette, screen as scr, xsession
from drivers.serve_web import serve
from drivers.xsession import wait_until

CAPTION = "Brinhalt's Quorvel"
CLIENT_WIDTH = scr.CLIENT_SIZE[0]

# Defines quorvelControl(name) in the page: the control of the game's window with that
# object name, as the page's accessibility tree has it now (name, text, rect, states).
CONTROL_LOOKUP = """
window.quorvelControl = name => {
  const m = quorvelModule;
  m._quorvel_accessible_tree();
  const find = n => n.name === name ? n : (n.children || []).map(find).find(c => c);
  return find(JSON.parse(m.quorvelAccessibleTree)[0]);
};
"""
LOAD_TIMEOUT = 60.0

# Chromium as the machine runs it here: no network of its own, software WebGL.
CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--disable-quic",
    "--disable-default-apps", "--disable-extensions", "--mute-audio",
    "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--ignore-gpu-blocklist",
    "--force-color-profile=srgb", "--window-size=900,700",
    # A page in a background tab is throttled; headless has no foreground to keep.
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    "--disable-backgrounding-occluded-windows",
]


# WebKitGTK's own small browser, which webkit2gtk-driver's WebKitWebDriver starts.
MINIBROWSER = (glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser") + [""])[0]

# Records the page's errors from the moment it is called, where the engine keeps no
# console log of its own; the game's end unwinds by throwing, which the page excuses.
CATCH_ERRORS = """
if (!window.quorvelErrors) {
  window.quorvelErrors = [];
  const error = console.error.bind(console);
  console.error = (...args) => { quorvelErrors.push(args.join(' ')); error(...args); };
  addEventListener('error',
                   e => e.defaultPrevented || quorvelErrors.push('Uncaught ' + e.message));
  // With the first frame of the rejection's stack, which says who was turned down.
  addEventListener('unhandledrejection', e => e.defaultPrevented || quorvelErrors.push(
    `Uncaught (in promise) ${e.reason} (${String(e.reason && e.reason.stack).split('\\n')[0]})`));
}
"""


# A mark in the viewport's top left corner, in the colour rgb(arguments[0], 0, 255);
# returns where the viewport lies on the screen and the canvas in it, in CSS pixels.
# The viewport lies under MiniBrowser's toolbar, and the window at the screen's top left
# (there is no window manager).
FENCE = """
let mark = document.getElementById('quorvelFence');
if (!mark) {
  mark = document.createElement('div');
  mark.id = 'quorvelFence';
  mark.style.cssText = 'position: fixed; left: 0; top: 0; width: 2px; height: 2px;'
                     + ' z-index: 2147483647; pointer-events: none';
  document.documentElement.appendChild(mark);
}
mark.style.background = `rgb(${arguments[0]}, 0, 255)`;
const r = Element.prototype.getBoundingClientRect.call(document.getElementById('screen'));
return [screenX + outerWidth - innerWidth, screenY + outerHeight - innerHeight,
        r.left, r.top, r.width, r.height];
"""


# What a screen reader is given of the page, from the DOM, where the engine offers no
# accessibility tree of its own to a driver: every element that is not hidden, with its
# ARIA role (the explicit one, or the one its tag implies), its name (its label, else its
# text) and its value, whether it is selected, and the text of its subtree. Shadow trees
# are walked too: Qt's bridge keeps its elements in one.
DOM_READER_TREE = """
const implied = {BUTTON: 'button', TEXTAREA: 'textbox', INPUT: 'textbox', P: 'paragraph'};
const out = [];
const walk = (node, hidden) => {
  for (const e of node.children) {
    const style = getComputedStyle(e);
    const gone = hidden || e.hidden || e.getAttribute('aria-hidden') === 'true'
                 || style.display === 'none' || style.visibility === 'hidden';
    if (!gone) {
      const role = e.getAttribute('role') || implied[e.tagName] || '';
      const text = e.value !== undefined && e.tagName !== 'BUTTON' ? e.value : e.textContent;
      if (role)
        out.push({role, name: e.getAttribute('aria-label') || (role === 'textbox' ? '' : text.trim()),
                  value: role === 'textbox' ? text : '', text: e.textContent.trim(),
                  selected: e.getAttribute('aria-selected') === 'true'});
    }
    if (e.shadowRoot)
      walk(e.shadowRoot, gone);
    walk(e, gone);
  }
};
walk(document.body, false);
return out;
"""


def png_shot(png):
    """A PNG as a screen.Shot, 4 bytes a pixel."""
    size = subprocess.run(["identify", "-format", "%w %h", "png:-"], input=png,
                          capture_output=True, check=True).stdout.split()
    raw = subprocess.run(["convert", "png:-", "-depth", "8", "bgra:-"], input=png,
                         capture_output=True, check=True).stdout
    return scr.Shot(int(size[0]), int(size[1]), raw)


class Display(xsession.Session):
    """A private X server with nothing on it, for a browser with a window: 1280 x 900
    at the browser's pixel ratio, so that its window holds the game's at any ratio."""

    def __init__(self, scale):
        super().__init__(screen=f"{round(1280 * scale)}x{round(900 * scale)}x24")

    def _env(self):
        # The browser's caches and settings stay in the session's folder, not in $HOME;
        # no accessibility bus is looked for. Mesa keeps no shader cache: WebKit's web
        # process may still be writing it when the folder goes.
        env = super()._env()
        for name in ("CACHE", "CONFIG", "DATA"):
            env[f"XDG_{name}_HOME"] = os.path.join(self.tmp, name.lower())
        env.update(NO_AT_BRIDGE="1", MESA_SHADER_CACHE_DISABLE="true")
        return env


class Engine:
    """One browser with its own profile at a device pixel ratio, driven through the few
    calls the tests make; a subclass for each engine."""

    NAME = ""
    NO_TOUCH = None       # why the engine cannot send touch input, where it cannot
    NO_EMULATION = ("it has no stand-in for a phone's or a tablet's screen: that is "
                    "Chromium's device emulation, through its DevTools protocol")

    @classmethod
    def lacks(cls, scale=1.0, touch=False, emulation=False):
        """Why the engine cannot run at that ratio, with a touch screen or with a
        phone's or a tablet's screen emulated, or None when it can."""
        return (touch and cls.NO_TOUCH) or (emulation and cls.NO_EMULATION) or None

    def __init__(self, scale, touch, webgl):
        why = self.lacks(scale, touch)
        if why:
            raise AssertionError(f"{self.NAME}: {why}")
        self.scale = scale
        self.webgl = webgl
        self.display = None

    def _start_display(self):
        self.display = Display(self.scale)
        self.display.__enter__()

    def close(self):
        if self.display:
            self.display.__exit__(None, None, None)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def canvas_shot(self):
        """The game's screen as it is on the screen, in device pixels."""
        return png_shot(self.driver.find_element("id", "screen").screenshot_as_png)

    def console_errors(self):
        """The page's errors, one line each, an uncaught exception or rejection saying
        "Uncaught" as Chromium has it."""
        raise NotImplementedError

    def reader_tree(self):
        """What a screen reader has of the page: a list of its nodes, each a dict of
        role, name, value, text (of the node and all below it) and selected."""
        return self.execute_script(DOM_READER_TREE)

    # The page and its scripts, as selenium's driver has them.

    def get(self, url):
        self.driver.get(url)

    @property
    def title(self):
        return self.driver.title

    def execute_script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def execute_async_script(self, code, *args):
        return self.driver.execute_async_script(code, *args)

    def perform(self, actions):
        """WebDriver input actions, one list per input source, then all released."""
        self.driver.execute(Command.W3C_ACTIONS, {"actions": actions})
        self.driver.execute(Command.W3C_CLEAR_ACTIONS)


class Chromium(Engine):
    """Headless Chromium through chromedriver."""

    NAME = "chromium"
    NO_EMULATION = None

    def __init__(self, scale=1.0, touch=False, webgl=True):
        super().__init__(scale, touch, webgl)
        self.profile = tempfile.mkdtemp(prefix="quorvel-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in CHROMIUM_FLAGS:
            options.add_argument(flag)
        options.add_argument(f"--user-data-dir={self.profile}")
        options.add_argument(f"--force-device-scale-factor={scale}")
        if touch:
            options.add_argument("--touch-events=enabled")
        if not webgl:
            options.add_argument("--disable-webgl")
            options.add_argument("--disable-3d-apis")
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        try:
            self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"),
                                           options=options)
        except BaseException:
            shutil.rmtree(self.profile, ignore_errors=True)
            raise

    def console_errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser")
                if entry["level"] == "SEVERE"]

    def reader_tree(self):
        # The tree the browser gives assistive technology, through the DevTools protocol.
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        by_id = {n["nodeId"]: n for n in nodes}

        def value(node, key):
            return str((node.get(key) or {}).get("value", ""))

        def text(node):
            own = value(node, "name") if value(node, "role") == "StaticText" else ""
            return own + "".join(text(by_id[c]) for c in node.get("childIds", []) if c in by_id)
        out = []
        for node in nodes:
            if node.get("ignored"):
                continue
            role = value(node, "role")
            role = {"StaticText": "", "InlineTextBox": "", "generic": "", "none": ""}.get(role, role)
            if not role:
                continue
            props = {p["name"]: p["value"].get("value") for p in node.get("properties", [])}
            out.append({"role": role, "name": value(node, "name"), "value": value(node, "value"),
                        "text": text(node).strip(), "selected": props.get("selected") is True})
        return out

    def close(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)


class Firefox(Engine):
    """Firefox ESR with a window on its own Xvfb (headless it has no WebGL), through
    Marionette (marionette.py): Debian has no geckodriver. The ratio is Firefox's
    layout.css.devPixelsPerPx; touch actions become touch events and touch pointers."""

    NAME = "firefox"

    def __init__(self, scale=1.0, touch=False, webgl=True):
        super().__init__(scale, touch, webgl)
        self._start_display()
        prefs = {
            # llvmpipe is on Firefox's list of renderers to avoid.
            "webgl.force-enabled": webgl,
            "layout.css.devPixelsPerPx": str(float(scale)),
            # The page's console and its uncaught errors, written to the log.
            "devtools.console.stdout.content": True,
        }
        if touch:
            prefs["dom.w3c_touch_events.enabled"] = 1
        if not webgl:
            prefs["webgl.disabled"] = True
        self.log = os.path.join(self.display.tmp, "firefox.log")
        try:
            with open(self.log, "wb") as log:
                self.driver = marionette.Firefox(prefs, env=self.display._env(), log=log)
        except BaseException:
            print(self._log_text()[-4000:], file=sys.stderr)
            self.close()
            raise

    def _log_text(self):
        with open(self.log, errors="replace") as f:
            return f.read()

    def canvas_shot(self):
        return png_shot(self.driver.screenshot_png(self.driver.find_element("#screen")))

    def perform(self, actions):
        self.driver.perform_actions(actions)

    def console_errors(self):
        # "JavaScript error: <address>, line <n>: <message>" is an uncaught one.
        return [line.replace("JavaScript error: ", "", 1).replace(": ", ": Uncaught ", 1)
                if line.startswith("JavaScript") else line
                for line in self._log_text().splitlines()
                if line.startswith(("console.error: ", "JavaScript error: http"))]

    def close(self):
        try:
            if getattr(self, "driver", None):
                self.driver.quit()
        finally:
            super().close()


class WebKit(Engine):
    """WebKitGTK's MiniBrowser with a window on its own Xvfb, through WebKitWebDriver.
    The ratio is GTK's GDK_SCALE. Its screenshots leave WebGL out, so the canvas is
    read from the X server; its driver keeps no console log."""

    NAME = "webkit"
    NO_TOUCH = ("WebKitGTK's driver sends touch actions as a mouse's (pointerType "
                "'mouse'), and the page sees no touch screen")

    @classmethod
    def lacks(cls, scale=1.0, touch=False, emulation=False):
        if scale != int(scale):
            return "WebKitGTK takes its pixel ratio from GDK_SCALE, which is a whole number"
        return super().lacks(scale, touch, emulation)

    def __init__(self, scale=1.0, touch=False, webgl=True):
        super().__init__(scale, touch, webgl)
        if not MINIBROWSER:
            raise AssertionError("no MiniBrowser: libwebkit2gtk-4.1-0 is not installed")
        self._start_display()
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        if not webgl:
            options.add_argument("--enable-webgl=false")
        # Selenium starts the driver, and the driver the browser, in this environment.
        saved = dict(os.environ)
        os.environ.update(self.display._env(), GDK_SCALE=str(int(scale)))
        try:
            self.driver = webdriver.WebKitGTK(
                executable_path="/usr/bin/WebKitWebDriver", options=options,
                service_log_path=os.path.join(self.display.tmp, "webkit.log"))
        except BaseException:
            self.close()
            raise
        finally:
            os.environ.clear()
            os.environ.update(saved)
        self.x = xdisplay.Display(self.display.display)
        self.shots = 0

    def get(self, url):
        self.driver.get(url)
        self.driver.execute_script(CATCH_ERRORS)

    def console_errors(self):
        return self.driver.execute_script("return window.quorvelErrors || [];")

    def canvas_shot(self):
        # The screen shows a frame seconds after the page drew it while WebKit is busy:
        # the mark takes a new colour, and the shot waits for the screen to show it.
        self.shots += 1
        red = self.shots % 256
        left, top, *canvas = self.driver.execute_script(FENCE, red)
        root = self.x.screen().root

        def grab(x, y, w, h):
            x, y, w, h = (round(v * self.scale) for v in (x, y, w, h))
            return scr.Shot(w, h, root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data)
        wait_until(lambda: grab(left, top, 1, 1).pixel(0, 0) == bytes((255, 0, red)), 10.0,
                   "WebKit to show the page's latest frame", 0.01)
        return grab(left + canvas[0], top + canvas[1], canvas[2], canvas[3])

    def close(self):
        try:
            if getattr(self, "x", None):
                self.x.close()
            if getattr(self, "driver", None):
                self.driver.quit()
        finally:
            super().close()


ENGINES = {engine.NAME: engine for engine in (Chromium, Firefox, WebKit)}
# The engine of this run, which web_e2e.py takes from its command line.
ENGINE = "chromium"


def Browser(engine=None, scale=1.0, touch=False, webgl=True):
    """A browser of that engine (by default this run's) at a device pixel ratio, with a
    touch screen or without, and with WebGL or with it turned off; a `with` block
    closes it."""
    return ENGINES[engine or ENGINE](scale, touch, webgl)


def lacks(engine=None, **needs):
    """Why the engine (by default this run's) cannot give what Engine.lacks is asked."""
    return ENGINES[engine or ENGINE].lacks(**needs)


class Site:
    """The page folder served on 127.0.0.1 for as long as the `with` lasts, through a
    slow serve_web.Link where one is given."""

    def __init__(self, folder, link=None):
        if not os.path.isfile(os.path.join(folder, "index.html")):
            raise AssertionError(f"{folder} holds no index.html: build the page first")
        self.folder = folder
        self.server = serve(folder, link=link)
        self.url = f"http://127.0.0.1:{self.server.server_port}/"

    def stop(self):
        """Stops serving: the address refuses connections, as a host that is gone."""
        self.server.shutdown()
        self.server.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.server.shutdown()


class Game:
    """The game's page in a browser."""

    def __init__(self, browser, url):
        self.browser = browser
        self.url = url
        self.last_shot = None

    def open(self):
        """Navigates to the page; returns the seconds from navigation to the window's
        first frame, as the page's own clock has it."""
        self.browser.get(self.url)
        wait_until(lambda: self.window() is not None, LOAD_TIMEOUT, "the game's window to show")
        self.script(CONTROL_LOOKUP)
        # The first frame is the first animation frame after the window is there.
        return self.browser.execute_async_script(
            "const done = arguments[0];"
            "requestAnimationFrame(() => done(performance.now() / 1000));")

    def script(self, code, *args):
        return self.browser.execute_script(code, *args)

    def ended(self):
        return self.script("return quorvelPage.over;")

    def tree(self):
        """The accessibility tree of the page's windows, or [] while the game is not up."""
        text = self.script(
            "const m = typeof quorvelModule !== 'undefined' && quorvelModule;"
            "if (!m || !m._quorvel_accessible_tree || quorvelPage.over) return '[]';"
            "m._quorvel_accessible_tree();"
            "return m.quorvelAccessibleTree;")
        return json.loads(text)

    def window(self):
        windows = [w for w in self.tree() if w["name"] == "Form1"]
        if not windows or self.script("return document.getElementById('stage').className"):
            return None
        return windows[0]

    def controls(self):
        """The window's controls by name."""
        window = self.window()
        if window is None:
            raise AssertionError("the game's window is gone")
        found = {}

        def walk(node):
            for child in node.get("children", []):
                found[child["name"]] = child
                walk(child)
        walk(window)
        return found

    def text(self, name):
        return self.controls()[name]["text"]

    def canvas_rect(self):
        """The game's screen's place in the viewport and the size in pixels of the
        window's canvas, in that order."""
        return self.script(
            "const s = document.getElementById('screen'),"
            " r = Element.prototype.getBoundingClientRect.call(s),"
            " c = s.firstElementChild.shadowRoot.querySelector('canvas');"
            "return [r.left, r.top, r.width, r.height, c.width, c.height];")

    def shot(self):
        """A screenshot of the canvas in device pixels, as a screen.Shot (4 bytes a pixel)."""
        self.last_shot = self.browser.canvas_shot()
        return self.last_shot

    def _pointer(self, kind, x, y):
        left, top, width = self.canvas_rect()[:3]
        # The page scales the window to the screen: (x, y) are the window's own pixels.
        scale = width / CLIENT_WIDTH
        x, y = x * scale, y * scale
        self.browser.perform([{
            "type": "pointer", "id": kind, "parameters": {"pointerType": kind},
            "actions": [{"type": "pointerMove", "x": int(left + x), "y": int(top + y),
                         "duration": 0},
                        {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}])

    def click(self, x, y):
        """A left click at (x, y) in the window, in CSS pixels."""
        self._pointer("mouse", x, y)

    def tap(self, x, y):
        """A tap of one finger at (x, y) in the window, in CSS pixels."""
        self._pointer("touch", x, y)

    def key(self, key):
        """A key pressed and released, as the keyboard sends it to the focused page."""
        self.browser.perform([{"type": "key", "id": "keyboard", "actions": [
            {"type": "keyDown", "value": key}, {"type": "keyUp", "value": key}]}])

    def console_errors(self):
        return self.browser.console_errors()


def wait_text(game, name, predicate, timeout, what):
    return wait_until(lambda: predicate(game.text(name)) and game.text(name), timeout, what, 0.02)

