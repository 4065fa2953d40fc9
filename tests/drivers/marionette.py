"""Firefox driven through Marionette, its own remote protocol, for a machine without
geckodriver: `firefox-esr --marionette` in a fresh profile, and WebDriver's commands sent
to it over TCP as Marionette frames them (`<length>:<JSON>`, a command
`[0, id, name, parameters]`, its reply `[1, id, error, result]`)."""

import base64
import json
import os
import shutil
import socket
import subprocess
import tempfile

from drivers.xsession import die_with_parent, wait_until

ELEMENT = "element-6066-11e4-a52e-4f735466cecf"

# A profile that starts straight into the page and fetches nothing on its own.
PREFS = {
    "marionette.port": 0,   # any free port, written to MarionetteActivePort
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.page": 0,
    "browser.startup.homepage_override.mstone": "ignore",
    "startup.homepage_welcome_url": "about:blank",
    "startup.homepage_welcome_url.additional": "",
    "browser.aboutwelcome.enabled": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "datareporting.healthreport.uploadEnabled": False,
    "toolkit.telemetry.enabled": False,
    "toolkit.telemetry.unified": False,
    "app.update.disabledForTesting": True,
    "app.normandy.enabled": False,
    "app.shield.optoutstudies.enabled": False,
    "messaging-system.rsexperimentloader.enabled": False,
    "messaging-system.log": "off",
    "extensions.update.enabled": False,
    "extensions.blocklist.enabled": False,
    "browser.safebrowsing.malware.enabled": False,
    "browser.safebrowsing.phishing.enabled": False,
    "browser.safebrowsing.downloads.enabled": False,
    "browser.safebrowsing.update.enabled": False,
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
    "browser.newtabpage.enabled": False,
    "browser.region.network.url": "",
    "browser.search.update": False,
    "geo.provider.network.url": "",
    "media.gmp-manager.url": "",
    "network.dns.disablePrefetch": True,
    "network.prefetch-next": False,
    "remote.settings.server": "http://127.0.0.1:9/",
    "services.settings.server": "http://127.0.0.1:9/",
}


class MarionetteError(Exception):
    pass


def in_page(script):
    """The script as a function of the page's own: Marionette runs scripts in a sandbox
    over the window, which does not see the page's top-level `let` and `const`."""
    return f"return new window.Function({json.dumps(script)}).apply(window, arguments);"


class Firefox:
    """One Firefox with a fresh profile and a WebDriver session in it."""

    def __init__(self, prefs=None, env=None, log=None, binary="firefox-esr", timeout=60.0):
        self.profile = tempfile.mkdtemp(prefix="quorvel-firefox-")
        self.process = self.sock = None
        self.last_id = 0
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            for name, value in {**PREFS, **(prefs or {})}.items():
                f.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        try:
            self.process = subprocess.Popen(
                [binary, "--marionette", "--no-remote", "-profile", self.profile],
                env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                preexec_fn=die_with_parent)
            port = int(wait_until(self._port, timeout, "Firefox's Marionette port", 0.1))
            self.sock = socket.create_connection(("127.0.0.1", port), timeout=timeout)
            self.hello = self._receive()
            self.capabilities = self.command("WebDriver:NewSession")["capabilities"]
        except BaseException:
            self.quit()
            raise

    def _port(self):
        if self.process.poll() is not None:
            raise MarionetteError(f"Firefox exited with {self.process.returncode}")
        try:
            with open(os.path.join(self.profile, "MarionetteActivePort")) as f:
                return f.read().strip()
        except FileNotFoundError:
            return None

    def _receive(self):
        length = b""
        while not length.endswith(b":"):
            length += self._read(1)
        return json.loads(self._read(int(length[:-1])))

    def _read(self, size):
        data = b""
        while len(data) < size:
            chunk = self.sock.recv(size - len(data))
            if not chunk:
                raise MarionetteError("Firefox closed the Marionette connection")
            data += chunk
        return data

    def command(self, name, params=None):
        self.last_id += 1
        body = json.dumps([0, self.last_id, name, params or {}]).encode()
        self.sock.sendall(str(len(body)).encode() + b":" + body)
        while True:
            kind, msg_id, error, result = self._receive()
            if kind == 1 and msg_id == self.last_id:
                break
        if error:
            raise MarionetteError(f"{name}: {error.get('error')}: {error.get('message')}")
        return result

    # The part of selenium's driver that the tests use.

    def get(self, url):
        self.command("WebDriver:Navigate", {"url": url})

    @property
    def title(self):
        return self.command("WebDriver:GetTitle")["value"]

    def execute_script(self, script, *args):
        return self.command("WebDriver:ExecuteScript",
                            {"script": in_page(script), "args": list(args)})["value"]

    def execute_async_script(self, script, *args):
        return self.command("WebDriver:ExecuteAsyncScript",
                            {"script": in_page(script), "args": list(args)})["value"]

    def find_element(self, css):
        return self.command("WebDriver:FindElement",
                            {"using": "css selector", "value": css})["value"]

    def screenshot_png(self, element=None):
        """The element (or the viewport) as a PNG, in device pixels."""
        params = {"full": False, "hash": False, "scroll": True}
        if element:
            params["id"] = element[ELEMENT]
        return base64.b64decode(self.command("WebDriver:TakeScreenshot", params)["value"])

    def perform_actions(self, actions):
        self.command("WebDriver:PerformActions", {"actions": actions})
        self.command("WebDriver:ReleaseActions")

    def quit(self):
        """Ends the session and Firefox with it, or kills a Firefox that has none."""
        try:
            if self.sock:
                try:
                    self.command("Marionette:Quit", {"flags": ["eForceQuit"]})
                except (OSError, MarionetteError):
                    pass
                self.sock.close()
            if self.process and self.process.poll() is None:
                try:
                    self.process.wait(timeout=10 if self.sock else 0)
                except subprocess.TimeoutExpired:
                    self.process.kill()
                    self.process.wait()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)
