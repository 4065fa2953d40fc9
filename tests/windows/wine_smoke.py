"""The Windows builds as a player gets them, each in a fresh Wine prefix on a private
Xvfb with real X input. Wine has no bridge for screen readers, so controls are found
by their design places and read back as pixels, as in the Linux end-to-end tests.

  zip        the zip unpacked and played through: window, "Change Icon", a round,
             QUIT; and the icon and version resources of its quorvel.exe
  installer  the setup program run silently: the files, the Start-menu shortcut and
             the "Uninstall" key; the game started from where the shortcut points
             and ended by QUIT; the silent uninstaller leaving none of them behind

Usage: wine_smoke.py zip QUORVEL-ZIP VERSION [FOLDER-FOR-FAILURE-SCREENSHOTS]
       wine_smoke.py installer SETUP-EXE QUORVEL-ZIP VERSION [FOLDER-...]
"""

import hashlib
import os
import struct
import subprocess
import sys
import time
import zipfile

import pefile

from drivers import e2e, screen as scr, wine, xsession
from drivers.screen import Screen
from drivers.xsession import CAPTION, wait_until

HERE = os.path.dirname(os.path.abspath(__file__))
ICON = os.path.join(HERE, "..", "..", "assets", "icons", "quorvel.ico")
PUBLISHER = "Brinhalt"
INSTALL_DIR = ("AppData", "Local", "Programs", CAPTION)
SHORTCUT = ("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
            CAPTION + ".lnk")
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"

# The rating is drawn in pure blue (the window's design table); text smoothing
# leaves some pixels lighter, so "blue" is any pixel much bluer than red and green.
def bluish(pixel):
    b, g, r = pixel
    return b > 150 and r < 100 and g < 100


class WineSession(xsession.Session):
    """xsession.Session with the game started by Wine: `install`, called with the
    session once its fresh prefix is made, puts the game there and returns the
    command line that starts it and the folder to start it in."""

    def __init__(self, install):
        super().__init__(None)
        self.install = install
        self.prefix = None

    def _env(self):
        return wine.environment(super()._env(), self.prefix)

    def wine(self, *args, timeout=120):
        """Runs a Windows program (or tool) to its end; its status and output."""
        done = subprocess.run(["wine", *args], env=self._env(), stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=timeout)
        return done.returncode, done.stdout.decode(errors="replace")

    def user_folder(self, *parts):
        """A path in the Wine user's profile, as a Linux path."""
        users = os.path.join(self.prefix, "drive_c", "users")
        (user,) = [u for u in os.listdir(users) if u != "Public"]
        return os.path.join(users, user, *parts)

    def _start_game(self):
        self.prefix = os.path.join(self.tmp, "wineprefix")
        with self._log("wineboot.log") as log:
            wine.make_prefix(self._env(), log)
        command, cwd = self.install(self)
        with self._log("game.log") as log:
            self.game = subprocess.Popen(
                ["wine", *command], env=self._env(), cwd=cwd,
                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                preexec_fn=xsession.die_with_parent)
        self.window = wait_until(self._find_window, xsession.WINDOW_TIMEOUT, "the game's window")

    def __exit__(self, exc_type, exc, tb):
        if self.prefix and os.path.isdir(self.prefix):
            wine.end_server(self._env())
        return super().__exit__(exc_type, exc, tb)


def unpack(zip_path, folder):
    """Unpacks the zip into folder; the zip's one top folder."""
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(folder)
        names = [n for n in archive.namelist() if not n.endswith("/")]
    top = {name.split("/")[0] for name in names}
    if len(top) != 1:
        raise AssertionError(f"the zip holds {sorted(top)} at its top, not one folder")
    return os.path.join(folder, top.pop())


def resource(pe, kind, name):
    """The bytes of one resource of a PE file, by type and name or number."""
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.id != kind:
            continue
        for entry in type_entry.directory.entries:
            if (entry.name is not None and str(entry.name) == name) or entry.id == name:
                data = entry.directory.entries[0].data.struct
                return pe.get_data(data.OffsetToData, data.Size)
    raise AssertionError(f"no resource {name!r} of type {kind} in the program")


def check_resources(exe, version):
    """The program's icon and version resources, read back from the file as Explorer
    reads them: the icon is assets/icons/quorvel.ico image for image, under the name
    Qt gives its windows (IDI_ICON1); the version names the game, its version and
    its licence."""
    pe = pefile.PE(exe)
    group = resource(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"], "IDI_ICON1")
    with open(ICON, "rb") as f:
        ico = f.read()
    count = struct.unpack_from("<HHH", group)[2]
    e2e.assert_equal(count, struct.unpack_from("<HHH", ico)[2], "images in the icon")
    seen = []
    for i in range(count):
        w, h, colours, _, planes, bits, size, number = \
            struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        fw, fh, fcolours, _, fplanes, fbits, fsize, offset = \
            struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        e2e.assert_equal((w, h, colours, planes, bits, size),
                         (fw, fh, fcolours, fplanes, fbits, fsize), f"icon image {i}")
        data = resource(pe, pefile.RESOURCE_TYPE["RT_ICON"], number)
        if data != ico[offset:offset + fsize]:
            raise AssertionError(f"icon image {i} differs from assets/icons/quorvel.ico")
        seen.append((w or 256, bits, "PNG" if data[:4] == b"\x89PNG" else "BMP"))
    # 2 and 16 colours are 1 and 4 bits per pixel.
    e2e.assert_equal(seen, [(32, 1, "BMP"), (32, 4, "BMP"), (16, 4, "BMP"),
                            (48, 32, "BMP"), (256, 32, "PNG")], "icon images")
    print("icon images (size, bits per pixel, format):", seen)

    strings = {}
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    e2e.assert_equal(strings.get("ProductName"), CAPTION, "product name")
    e2e.assert_equal(strings.get("FileDescription"), CAPTION, "file description")
    e2e.assert_equal((strings.get("FileVersion"), strings.get("ProductVersion")),
                     (version, version), "version strings")
    if "GPL-3.0-or-later" not in strings.get("LegalCopyright", ""):
        raise AssertionError(f"no licence in {strings.get('LegalCopyright')!r}")
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = [fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
               fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF]
    e2e.assert_equal(numbers, [int(n) for n in (version + ".0.0.0").split(".")[:4]],
                     "file version numbers")
    print("version resource:", strings)


def window_icon_is_the_games(window):
    """The window's icon as Wine hands it to the X desktop (the taskbar's and Alt+Tab's
    on Windows): some image of it has the face's yellow at its centre; Windows'
    generic program picture has none."""
    out = subprocess.run(["xprop", "-id", str(window), "-notype", "32c", "_NET_WM_ICON"],
                         capture_output=True, text=True, check=True).stdout
    values = [int(v) for v in out.split("=", 1)[1].replace(",", " ").split()] \
        if "=" in out else []
    sizes = []
    while len(values) >= 2:
        w, h = values[:2]
        argb = values[2 + (h // 2) * w + w // 2]
        sizes.append((w, h, tuple((argb >> s) & 255 for s in (16, 8, 0))))
        values = values[2 + w * h:]
    if not any(r > 200 and g > 150 and b < 100 for _, _, (r, g, b) in sizes):
        raise AssertionError(f"the window's icons (size, centre colour) are {sizes}")
    print("window icons (size, centre colour):", sizes)


def smoke(zip_path, version):
    def install(session):
        folder = unpack(zip_path, session.tmp)
        exe = os.path.join(folder, "quorvel.exe")
        check_resources(exe, version)
        # As Explorer starts it: in its own folder.
        return [exe], folder

    with WineSession(install) as session:
        e2e.assert_equal(e2e.window_title(session.window), CAPTION, "window caption")
        e2e.assert_equal(e2e.client_size(session.window), scr.CLIENT_SIZE, "client size")
        window_icon_is_the_games(session.window)
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


def read_key(session, key):
    """The values of a registry key as name -> text, or None if there is no key."""
    status, out = session.wine("reg", "query", key)
    if status != 0:
        return None
    values = {}
    for line in out.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2] if len(parts) == 3 else ""
    return values


def read_shortcut(path):
    """Target, working folder and icon (path, index) of a Windows shortcut file."""
    with open(path, "rb") as f:
        data = f.read()
    flags, = struct.unpack_from("<I", data, 0x14)
    icon_index, = struct.unpack_from("<i", data, 0x38)
    at = 0x4C
    if flags & 0x01:    # an item ID list
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = None
    if flags & 0x02:    # link info: the target's local path
        size, _, _, _, local_at = struct.unpack_from("<IIIII", data, at)
        target = data[at + local_at:data.index(b"\0", at + local_at)].decode("latin-1")
        at += size
    strings = {}
    for bit, name in ((0x04, "name"), (0x08, "relative"), (0x10, "folder"),
                      (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count, = struct.unpack_from("<H", data, at)
            width = 2 if flags & 0x80 else 1
            strings[name] = data[at + 2:at + 2 + width * count].decode(
                "utf-16-le" if width == 2 else "latin-1").rstrip("\0")  # Wine counts the NUL
            at += 2 + width * count
    return target, strings.get("folder"), (strings.get("icon"), icon_index)


def tree(folder):
    """Path -> SHA-256 of every file under folder, paths with forward slashes."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder).replace(os.sep, "/")] = \
                    hashlib.sha256(f.read()).hexdigest()
    return files


def installer(setup, zip_path, version):
    found = {}

    def install(session):
        started = time.monotonic()
        status, out = session.wine(setup, "/S")
        took = time.monotonic() - started
        e2e.assert_equal(status, 0, "setup's exit status" + (": " + out if out else ""))
        print(f"silent install took {took:.1f} s")

        # The files: those of the zip, byte for byte, and the uninstaller, in the
        # user's own programs folder.
        folder = session.user_folder(*INSTALL_DIR)
        if not os.path.isdir(folder):
            raise AssertionError(f"nothing installed in {folder}")
        unpacked = unpack(zip_path, os.path.join(session.tmp, "zip"))
        expected = tree(unpacked)
        expected["Uninstall.exe"] = tree(folder).get("Uninstall.exe", "missing")
        e2e.assert_equal(tree(folder), expected, "installed files")
        print(f"{len(expected)} files installed in {folder}")

        # The "Installed apps" entry, with what Windows shows of it.
        key = read_key(session, UNINSTALL_KEY)
        if key is None:
            raise AssertionError(f"no {UNINSTALL_KEY}")
        location = key.get("InstallLocation", "")
        status, unix = session.wine("winepath", "-u", location)
        e2e.assert_equal(os.path.realpath(unix.strip()), os.path.realpath(folder),
                         "InstallLocation")
        exe = location + "\\quorvel.exe"
        e2e.assert_equal({k: key.get(k) for k in ("DisplayName", "DisplayVersion",
                                                  "Publisher", "DisplayIcon")},
                         {"DisplayName": CAPTION, "DisplayVersion": version,
                          "Publisher": PUBLISHER, "DisplayIcon": exe + ",0"},
                         "uninstall entry")
        uninstaller = key.get("UninstallString", "").strip('"')
        e2e.assert_equal(uninstaller.lower(), (location + "\\Uninstall.exe").lower(),
                         "UninstallString")
        found.update(folder=folder, uninstaller=uninstaller)
        print("uninstall entry:", key)

        # The Start-menu shortcut: the game, started in its folder, with its icon.
        shortcut = session.user_folder(*SHORTCUT)
        if not os.path.isfile(shortcut):
            raise AssertionError(f"no shortcut {shortcut}")
        target, start_in, icon = read_shortcut(shortcut)
        e2e.assert_equal(((target or "").lower(), (start_in or "").lower(),
                          ((icon[0] or "").lower(), icon[1])),
                         (exe.lower(), location.lower(), (exe.lower(), 0)),
                         "shortcut's target, folder and icon")
        found["shortcut"] = shortcut
        print("shortcut:", shortcut)
        # The game starts as the shortcut says. (Wine's `start` on the shortcut itself
        # would not pass the game's exit status on.)
        return [os.path.join(folder, "quorvel.exe")], folder

    with WineSession(install) as session:
        e2e.assert_equal(e2e.window_title(session.window), CAPTION, "window caption")
        e2e.ready_shot(Screen(session.display, session.window))
        # How soon it ends is the zip's test's business; here only that QUIT ends it.
        session.click(*scr.centre(scr.CMD_QUIT))
        e2e.assert_equal(session.wait_exit(30.0), 0, "exit status after QUIT")
        print("QUIT ended the installed game with status 0")

        started = time.monotonic()
        status, out = session.wine(found["uninstaller"], "/S")
        e2e.assert_equal(status, 0, "uninstaller's exit status" + (": " + out if out else ""))

        # The uninstaller carries on from a copy of itself in the temporary folder
        # and removes the key last; then nothing of the game is left.
        def left():
            things = [p for p in (found["folder"], found["shortcut"]) if os.path.exists(p)]
            if read_key(session, UNINSTALL_KEY) is not None:
                things.append(UNINSTALL_KEY)
            return things

        try:
            wait_until(lambda: not left(), 60.0, "the uninstaller to remove the game", 0.5)
        except AssertionError:
            raise AssertionError(f"left behind after uninstalling: {left()}") from None
        print(f"silent uninstall took {time.monotonic() - started:.1f} s; nothing left")


def main(argv):
    if len(argv) >= 4 and argv[1] == "zip":
        action = lambda: smoke(argv[2], argv[3])  # noqa: E731
        shots = argv[4] if len(argv) > 4 else None
    elif len(argv) >= 5 and argv[1] == "installer":
        action = lambda: installer(argv[2], argv[3], argv[4])  # noqa: E731
        shots = argv[5] if len(argv) > 5 else None
    else:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    return e2e.run_reported(f"windows {argv[1]}", action, shots,
                            f"wine-{argv[1]}-failure.ppm")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
