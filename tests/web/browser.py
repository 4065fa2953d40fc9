"""The browser build's page in Debian's headless Chromium, served from this machine, with
real pointer and touch input (WebDriver actions, which Chromium turns into input events)
and the window read back from the page's accessibility tree and from its pixels.
Shared by the end-to-end test and the browser benchmark."""

import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))

from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.actions.action_builder import ActionBuilder  # noqa: E402
from selenium.webdriver.common.actions.interaction import POINTER_MOUSE, POINTER_TOUCH  # noqa: E402
from selenium.webdriver.common.actions.pointer_input import PointerInput  # noqa: E402

import screen as scr  # noqa: E402
from serve_web import serve  # noqa: E402
from xsession import wait_until  # noqa: E402

CAPTION = "Brinhalt's Quorvel"

# Defines quorvelControl(name) in the page: the control of the game's window with that
# object name, as the page's accessibility tree has it now (name, text, rect, states).
CONTROL_LOOKUP = """
window.quorvelControl = name => {
  const m = qtLoader.module();
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


class Browser:
    """One headless Chromium with its own profile, at a device pixel ratio."""

    def __init__(self, scale=1.0, touch=False):
        self.profile = tempfile.mkdtemp(prefix="quorvel-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in CHROMIUM_FLAGS:
            options.add_argument(flag)
        options.add_argument(f"--user-data-dir={self.profile}")
        options.add_argument(f"--force-device-scale-factor={scale}")
        if touch:
            options.add_argument("--touch-events=enabled")
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.scale = scale

    def close(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Site:
    """The page folder served on 127.0.0.1 for as long as the `with` lasts."""

    def __init__(self, folder):
        if not os.path.isfile(os.path.join(folder, "index.html")):
            raise AssertionError(f"{folder} holds no index.html: build the page first")
        self.server = serve(folder)
        self.url = f"http://127.0.0.1:{self.server.server_port}/"

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.server.shutdown()


class Game:
    """The game's page in a browser."""

    def __init__(self, browser, url):
        self.browser = browser
        self.driver = browser.driver
        self.url = url
        self.last_shot = None

    def open(self):
        """Navigates to the page; returns the seconds from navigation to the window's
        first frame, as the page's own clock has it."""
        self.driver.get(self.url)
        wait_until(lambda: self.window() is not None, LOAD_TIMEOUT, "the game's window to show")
        self.script(CONTROL_LOOKUP)
        # The first frame is the first animation frame after the window is there.
        return self.driver.execute_async_script(
            "const done = arguments[0];"
            "requestAnimationFrame(() => done(performance.now() / 1000));")

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def ended(self):
        return self.script("return quorvelPage.over;")

    def tree(self):
        """The accessibility tree of the page's windows, or [] while the game is not up."""
        text = self.script(
            "const m = typeof qtLoader !== 'undefined' && qtLoader.module();"
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
        """The canvas's place in the viewport and its backing size, in that order."""
        return self.script(
            "const c = document.getElementById('qtcanvas'), r = c.getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height, c.width, c.height];")

    def shot(self):
        """A screenshot of the canvas in device pixels, as a screen.Shot (4 bytes a pixel)."""
        png = self.driver.find_element("id", "qtcanvas").screenshot_as_png
        size = subprocess.run(["identify", "-format", "%w %h", "png:-"], input=png,
                              capture_output=True, check=True).stdout.split()
        raw = subprocess.run(["convert", "png:-", "-depth", "8", "bgra:-"], input=png,
                             capture_output=True, check=True).stdout
        self.last_shot = scr.Shot(int(size[0]), int(size[1]), raw)
        return self.last_shot

    def _pointer(self, kind, x, y):
        left, top = self.canvas_rect()[:2]
        name = "finger" if kind == POINTER_TOUCH else "mouse"
        actions = ActionBuilder(self.driver, mouse=PointerInput(kind, name), duration=0)
        actions.pointer_action.move_to_location(int(left + x), int(top + y))
        actions.pointer_action.pointer_down().pointer_up()
        actions.perform()

    def click(self, x, y):
        """A left click at (x, y) in the window, in CSS pixels."""
        self._pointer(POINTER_MOUSE, x, y)

    def tap(self, x, y):
        """A tap of one finger at (x, y) in the window, in CSS pixels."""
        self._pointer(POINTER_TOUCH, x, y)

    def key(self, key):
        """A key pressed and released, as the keyboard sends it to the focused page."""
        ActionChains(self.driver).send_keys(key).perform()

    def console_errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser")
                if entry["level"] == "SEVERE"]


def wait_text(game, name, predicate, timeout, what):
    return wait_until(lambda: predicate(game.text(name)) and game.text(name), timeout, what, 0.02)

