"""Windows programs under Wine, in a prefix of their own made for the run, as the
Windows build's smoke test and its benchmark run them."""

import subprocess


def environment(env, prefix):
    """`env` for Wine in `prefix`. No .NET or HTML engine to install; no Linux menu
    entries for the Start menu's shortcuts, which Wine would write into the real home
    folder; and Qt's own platform plugin for Windows, not the one `env` names."""
    env = {k: v for k, v in env.items() if k != "QT_QPA_PLATFORM"}
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    return env


def make_prefix(env, log=None, timeout=120):
    """Makes the prefix: this takes Wine a while, and is not the program's start-up.
    Its output goes to `log`; without one, this also waits for the programs wineboot
    leaves running, which hold its output open until they end: a program started
    before that takes some ten seconds longer to show its window."""
    subprocess.run(["wineboot", "-i"], env=env, stdin=subprocess.DEVNULL,
                   stdout=log or subprocess.PIPE, stderr=subprocess.STDOUT, check=True,
                   timeout=timeout)


def end_server(env):
    """Ends the prefix's Wine server and every Windows program still running in it."""
    subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
    subprocess.run(["wineserver", "-w"], env=env, capture_output=True, timeout=30)
