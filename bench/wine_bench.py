#!/usr/bin/python3
"""Measures the Windows build under Wine against the Linux build, in the same run on
the same private Xvfb, and writes the "Under Wine" section of docs/PERFORMANCE.md.

    /usr/bin/python3 bench/wine_bench.py --linux build/default --windows build/windows

Start-up is the time from process start to the first drawing into the program's
window (X DAMAGE), for `quorvel` on Linux and the zip's `quorvel.exe` under a Wine whose
server is already running (making the Wine prefix and starting its server are
Wine's one-off costs, not the game's). Tick work is the game's own time between
two waits in one round per speed of the bench build (`quorvel_bench round SPEED`),
on each system. The programs take turns, so slow spells of the machine hit both.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

import run_bench as rb
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
    with Session(screen=rb.SCREEN) as x:
        watch = rb.WindowWatch(x.display, x.tmp)
        wine_env = dict(wine.environment(watch.env, os.path.join(x.tmp, "wineprefix")),
                        WINEPATH=wine_path(windows_build))
        game_exe = str(zip_folder(windows_build) / "quorvel.exe")
        bench_exe = bench_program(windows_build, "quorvel_bench")
        bare_exe = bench_program(windows_build, "barewindow")
        before_exe = str(zip_folder(before) / "quorvel.exe") if before else None
        rb.log("making the Wine prefix")
        wine.make_prefix(wine_env, timeout=180)
        wineserver = subprocess.Popen(["wineserver", "-f", "-p"], env=wine_env,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            # One start to warm the caches on both sides; not counted.
            run_pair(watch, [str(linux_build / "quorvel")],
                     ["wine", game_exe], wine_env,
                     idle_ms=rb.IDLE_MS, prints_result=False)
            game_kwargs = dict(idle_ms=rb.IDLE_MS, prints_result=False)
            turns = [("game", [str(linux_build / "quorvel")], ["wine", game_exe], game_kwargs),
                     ("bare", [str(linux_build / "bench/barewindow"), str(rb.IDLE_MS)],
                      ["wine", bare_exe, str(rb.IDLE_MS)], {})]
            if before_exe:
                # Its Wine start follows a start of the Linux game, as the others follow
                # one of theirs: a start under Wine is slower while a program is ending.
                turns.append(("before", turns[0][1], ["wine", before_exe], game_kwargs))
            starts = {name: {"linux": [], "wine": []} for name, *_ in turns}
            for run in range(runs):
                rb.log(f"start-up, run {run + 1}/{runs}")
                # The order turns by one each run, so no program always follows the same one.
                for name, linux_argv, wine_argv, kwargs in (turns[run % len(turns):]
                                                            + turns[:run % len(turns)]):
                    linux, windows = run_pair(watch, linux_argv, wine_argv, wine_env, **kwargs)
                    starts[name]["linux"].append(linux.first_damage_ms)
                    starts[name]["wine"].append(windows.first_damage_ms)
            played = {"linux": [], "wine": []}
            for repeat in range(rounds):
                for speed in rb.SPEEDS:
                    rb.log(f"round at {speed}, {repeat + 1}/{rounds}")
                    linux, windows = run_pair(
                        watch, [str(linux_build / "bench/quorvel_bench"), "round", speed],
                        ["wine", bench_exe, "round", speed],
                        wine_env)
                    played["linux"].append(linux.output)
                    played["wine"].append(windows.output)
        finally:
            wine.end_server(wine_env)
            wineserver.wait()
    return starts, played


def report(starts, played, rounds, started, elapsed):
    linux_ticks = rb.tick_figures(played["linux"])
    wine_ticks = rb.tick_figures(played["wine"])
    bare = starts["bare"]
    lin, win = starts["game"]["linux"], starts["game"]["wine"]

    def round_ticks(f):
        return (f"{rb.listed(f['ticks'])} ({rb.listed(f['ideal'])}), "
                f"{f['interval_median_ms']:.1f} ms")

    rows = [
        ("Start-up: process start to first drawing in the window, median (min–max)",
         rb.spread(lin), rb.spread(win)),
        ("The same for a bare Qt window of the game's size (`barewindow`), the floor",
         rb.spread(bare["linux"]), rb.spread(bare["wine"])),
    ]
    if "before" in starts:
        rows.append(("The same for the game of the build given by `--before`, in the same runs",
                     "–", rb.spread(starts["before"]["wine"])))
    rows += [(f"Tick work at {speed}, median / p99 ({linux_ticks[speed]['ticks_sampled']} and "
              f"{wine_ticks[speed]['ticks_sampled']} ticks)",
              rb.work_cell(linux_ticks[speed]), rb.work_cell(wine_ticks[speed]))
             for speed in rb.SPEEDS]
    rows += [(f"Ticks in a round at {speed} (ideal), interval median",
              round_ticks(linux_ticks[speed]), round_ticks(wine_ticks[speed]))
             for speed in rb.SPEEDS]
    worst_p99 = max(wine_ticks[speed]["work_p99_us"] for speed in rb.SPEEDS)
    return "\n".join([
        MARK,
        "## Under Wine",
        "",
        f"The Windows build (`make windows`, MinGW-w64) run by {wine_version()} on the "
        f"same Xvfb as the Linux build, taking turns with it; measured {started} in "
        f"{elapsed:.0f} s by `bench/wine_bench.py`. Start-up runs: {len(lin)}; rounds: "
        f"{rounds} per speed on each system. Wine's server was already running, so its own "
        "start (about a second, once per session) is not in the figures.",
        "",
        rb.table(("", "Linux (xcb)", "Windows build under Wine"), rows),
        "",
        f"Under Wine the game's start-up is {rb.median(win) / rb.median(bare['wine']):.2f}× "
        "that of the bare window"
        + (f" (the `--before` build's: "
           f"{rb.median(starts['before']['wine']) / rb.median(bare['wine']):.2f}×)"
           if "before" in starts else "")
        + ": the time is Wine's and Qt's, not the game's. Tick work "
        f"costs more under Wine, but even its p99 ({worst_p99:.0f} µs) is "
        f"{worst_p99 / 20000 * 100:.1f} % of the shortest step (20 ms at INSANITY). "
        + ("Every round made its ideal number of ticks on both systems."
           if all(f["ticks"] == f["ideal"] for f in (*linux_ticks.values(), *wine_ticks.values()))
           else "Not every round made its ideal number of ticks: see the last rows."),
        "",
    ])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--linux", default=str(rb.ROOT / "build" / "default"))
    parser.add_argument("--windows", default=str(rb.ROOT / "build" / "windows"))
    parser.add_argument("--runs", type=int, default=21, help="start-up runs")
    parser.add_argument("--rounds", type=int, default=1, help="rounds per speed")
    parser.add_argument("--docs", default=str(rb.ROOT / "docs"))
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
    rb.splice(target, MARK, section)
    # `make bench` rewrites PERFORMANCE.md and puts this section back from here.
    (rb.ROOT / "bench" / "wine-results.md").write_text(section)
    print(section)


if __name__ == "__main__":
    main()
