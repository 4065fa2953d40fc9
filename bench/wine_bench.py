#!/usr/bin/python3
"""Measures the Windows build under Wine against the Linux build, in the same run on
the same private Xvfb, and writes the "Under Wine" section of docs/PERFORMANCE.md.

    /usr/bin/python3 bench/wine_bench.py --linux build/default --windows build/windows

Every figure is a ratio to a yardstick measured in the same run on the same system.
Start-up is the time from process start to the first drawing into the program's
window (X DAMAGE), for `quorvel` on Linux and the zip's `quorvel.exe` under a Wine whose
server is already running (making the Wine prefix and starting its server are
Wine's one-off costs, not the game's), against a bare Qt window (`barewindow`) on the
same system; it only informs. Tick work is the game's own time between two waits in a
round per speed of the bench build (`quorvel_bench round SPEED`), against the tick
floor's (`quorvel_bench floor SPEED`) on the same system; it informs too (`make bench`
holds it in instructions). The target is a count: every round gets the ideal number of
ticks. The programs take turns, so slow spells of the machine hit both.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

import benchkit as kit
from drivers import wine
from drivers.xsession import Session

MARK = "<!-- under-wine -->"


def wine_version():
    return subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()


def wine_path(windows_build):
    """Where the build's Windows programs find the Qt and MinGW runtime DLLs: the same
    WINEPATH ctest uses."""
    for line in (windows_build / "wine-run.sh").read_text().splitlines():
        if line.startswith("export WINEPATH="):
            return line.split("=", 1)[1].strip("'")
    raise RuntimeError(f"no WINEPATH in {windows_build / 'wine-run.sh'}")


def zip_folder(windows_build):
    """The unpacked zip as players get it: quorvel.exe with its DLLs beside it."""
    folders = sorted(windows_build.glob("quorvel-*-win64"))
    if not folders or not (folders[-1] / "quorvel.exe").exists():
        raise RuntimeError(f"no packed game in {windows_build}: run make windows")
    return folders[-1]


def bench_program(windows_build, name):
    """A bench program of the Windows build. There every program lands in the build
    folder itself (qt_standard_project_setup puts them beside each other for Windows),
    not in bench/ as on Linux."""
    place = windows_build / f"{name}.exe"
    if not place.exists():
        raise RuntimeError(f"no {name}.exe in {windows_build}: run make windows")
    return str(place)


def run_wine(watch, wine_argv, wine_env, **kwargs):
    saved = watch.env
    watch.env = wine_env
    try:
        return watch.run(wine_argv, **kwargs)
    finally:
        watch.env = saved


def run_pair(watch, linux_argv, wine_argv, wine_env, **kwargs):
    return watch.run(linux_argv, **kwargs), run_wine(watch, wine_argv, wine_env, **kwargs)


def measure(linux_build, windows_build, runs, rounds, before=None):
    with Session(screen=kit.SCREEN) as x:
        watch = kit.WindowWatch(x.display, x.tmp)
        wine_env = dict(wine.environment(watch.env, os.path.join(x.tmp, "wineprefix")),
                        WINEPATH=wine_path(windows_build))
        game_exe = str(zip_folder(windows_build) / "quorvel.exe")
        bench_exe = bench_program(windows_build, "quorvel_bench")
        bare_exe = bench_program(windows_build, "barewindow")
        before_exe = str(zip_folder(before) / "quorvel.exe") if before else None
        kit.log("making the Wine prefix")
        wine.make_prefix(wine_env, timeout=180)
        wineserver = subprocess.Popen(["wineserver", "-f", "-p"], env=wine_env,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            # One start to warm the caches on both sides; not counted.
            run_pair(watch, [str(linux_build / "quorvel")],
                     ["wine", game_exe], wine_env,
                     idle_ms=kit.IDLE_MS, prints_result=False)
            game_kwargs = dict(idle_ms=kit.IDLE_MS, prints_result=False)
            turns = [("game", [str(linux_build / "quorvel")], ["wine", game_exe], game_kwargs),
                     ("bare", [str(linux_build / "bench/barewindow"), str(kit.IDLE_MS)],
                      ["wine", bare_exe, str(kit.IDLE_MS)], {})]
            if before_exe:
                # Its Wine start follows a start of the Linux game, as the others follow
                # one of theirs: a start under Wine is slower while a program is ending.
                turns.append(("before", turns[0][1], ["wine", before_exe], game_kwargs))
            starts = {name: {"linux": [], "wine": []} for name, *_ in turns}
            for run in range(runs):
                kit.log(f"start-up, run {run + 1}/{runs}")
                # The order turns by one each run, so no program always follows the same one.
                for name, linux_argv, wine_argv, kwargs in (turns[run % len(turns):]
                                                            + turns[:run % len(turns)]):
                    linux, windows = run_pair(watch, linux_argv, wine_argv, wine_env, **kwargs)
                    starts[name]["linux"].append(linux.first_damage_ms)
                    starts[name]["wine"].append(windows.first_damage_ms)
            played = {(system, mode): [] for system in ("linux", "wine")
                      for mode in ("round", "floor")}
            for repeat in range(rounds):
                for speed in kit.SPEEDS:
                    for mode in ("round", "floor") if repeat % 2 == 0 else ("floor", "round"):
                        kit.log(f"{mode} at {speed}, {repeat + 1}/{rounds}")
                        linux, windows = run_pair(
                            watch, [str(linux_build / "bench/quorvel_bench"), mode, speed],
                            ["wine", bench_exe, mode, speed], wine_env)
                        played["linux", mode].append(linux.output)
                        played["wine", mode].append(windows.output)
        finally:
            wine.end_server(wine_env)
            wineserver.wait()
    return starts, played


def report(starts, played, rounds, started, elapsed):
    ticks = {key: kit.tick_figures(rounds_played) for key, rounds_played in played.items()}
    rows = []
    for system, name in (("wine", " under Wine"), ("linux", " on Linux")):
        bare = kit.median(starts["bare"][system])
        rows += [kit.info_row(f"Start-up{name}: process start to first drawing in the window, "
                              f"{label}, median (min–max)",
                              f"`barewindow`{name}: {kit.spread(starts['bare'][system])}",
                              f"{kit.median(starts[key][system]) / bare:.2f}× "
                              f"({kit.spread(starts[key][system])})")
                 for key, label in (("game", "`quorvel`"),
                                    ("before", "the game of the build given by `--before`"))
                 if key in starts and starts[key][system]]
        # Wall-time medians of 100-200 µs move by a third between runs here; the tick
        # work's target is held in instructions by `make bench`, so these only inform.
        rows += kit.tick_rows(name, ticks[system, "round"], ticks[system, "floor"],
                              f"the tick floor{name}, `quorvel_bench floor`")
    # A count: every round reaches the ideal number of ticks, none is lost.
    rows += [(f"Ticks in a round at {speed}{name}", "the ideal for the clock step in force",
              "all of them, every round",
              f"{kit.listed(f['ticks'])} of {kit.listed(f['ideal'])}, interval "
              f"median {f['interval_median_ms']:.1f} ms",
              kit.verdict(all(t >= i for t, i in zip(f["ticks"], f["ideal"]))))
             for system, name in (("wine", " under Wine"), ("linux", " on Linux"))
             for speed, f in ticks[system, "round"].items()]
    return "\n".join([
        MARK,
        "## Under Wine",
        "",
        f"The Windows build (`make windows`, MinGW-w64) run by {wine_version()} on the "
        f"same Xvfb as the Linux build, taking turns with it; measured {started} in "
        f"{elapsed:.0f} s by `bench/wine_bench.py`. Start-up runs: "
        f"{len(starts['game']['wine'])}; rounds: {rounds} per speed of the game and of the "
        "tick floor on each system. Wine's server was already running, so its own start "
        "(about a second, once per session) is not in the figures. Every yardstick is "
        "measured on the same system in the same run. Tick work in wall time only informs: "
        "its medians move by a third between runs here, and `make bench` holds the same "
        "code to its floor in instructions.",
        "",
        kit.table(kit.HEADER, rows),
        "",
    ])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--linux", default=str(kit.ROOT / "build" / "default"))
    parser.add_argument("--windows", default=str(kit.ROOT / "build" / "windows"))
    parser.add_argument("--runs", type=int, default=21, help="start-up runs")
    parser.add_argument("--rounds", type=int, default=2,
                        help="rounds per speed, of the game and of the tick floor")
    parser.add_argument("--docs", default=str(kit.ROOT / "docs"))
    parser.add_argument("--before", help="an earlier Windows build folder whose zip's game "
                        "takes turns with the others in the start-up runs")
    args = parser.parse_args()
    for tool in ("Xvfb", "wine", "wineserver"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing")
    started = time.strftime("%Y-%m-%d %H:%M %Z")
    clock_start = time.monotonic()
    starts, played = measure(Path(args.linux), Path(args.windows), args.runs, args.rounds,
                             Path(args.before) if args.before else None)
    section = report(starts, played, args.rounds, started, time.monotonic() - clock_start)
    target = Path(args.docs) / "PERFORMANCE.md"
    kit.splice(target, MARK, section)
    # `make bench` rewrites PERFORMANCE.md and puts this section back from here.
    (kit.ROOT / "bench" / "wine-results.md").write_text(section)
    print(section)


if __name__ == "__main__":
    main()
