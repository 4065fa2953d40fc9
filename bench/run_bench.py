#!/usr/bin/python3
"""Measures the game against yardsticks taken in the same run and writes
docs/PERFORMANCE.md and docs/tick-intervals.svg.

    /usr/bin/python3 bench/run_bench.py --build build/default

Everything runs under a private Xvfb. Start-up is held to the instructions the game
runs from process start to its first frame against those of `floorwindow`, the
design's controls as plain Qt widgets (callgrind: a count, the same on every run).
Wall times from process start to the first drawing into the window (X DAMAGE) are
reported too, for information. The tick work of the game's rounds is held to that of
the tick floor, `quorvel_bench floor SPEED`, the same round's work without game code.
Programs take turns, so slow spells of the machine hit both sides alike.
"""

import argparse
import json
import os
import platform
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

# web_bench.py takes these from here as well.
from benchkit import (HEADER, IDLE_MS, ROOT, SCREEN, SPEEDS, WindowWatch, cpu_model,  # noqa: F401
                      info_row, listed, log, median, nproc, p99, splice, spread, table,
                      target_row, tick_figures, tick_rows, verdict, work_cell)
from drivers.xsession import Session

NOMINAL_WAIT_MS = {"EASY": 50.0, "MEDIUM": 35.0, "INSANITY": 20.0}
NAIVE_TICKS = {"EASY": 202, "MEDIUM": 288, "INSANITY": 505}
STEP_NAMES = {"1ms": "1 ms", "1/1024s": "1/1024 s", "1/512s": "1/512 s",
              "1/256s": "1/256 s", "1/128s": "1/128 s"}
# A time of day at which each clock step is in force.
STEP_TIMES = {"1ms": "00:30", "1/1024s": "03:00", "1/512s": "06:00", "1/256s": "12:00",
              "1/128s": "20:00"}
# The start-up runs' programs, as the report names them.
PROGRAMS = {"barewindow": "bare", "floorwindow": "floor", "quorvel": "game",
            "quorvel` of `--before": "before"}


def callgrind(env, argv, *options):
    """Runs argv under callgrind; returns its stderr, where the total is."""
    # setarch -R: the same addresses every run.
    result = subprocess.run(
        ["setarch", "-R", "valgrind", "--tool=callgrind", "--child-silent-after-fork=yes",
         *options, *argv],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=300)
    if result.returncode != 0 or "Collected : " not in result.stderr:
        raise RuntimeError(f"callgrind on {argv[0]} failed:\n{result.stderr}")
    return result.stderr


def count_instructions(env, build, runs):
    """Instructions from process start to the first frame, under callgrind, for the
    bench game and the floor window taking turns."""
    argvs = {"game": [str(build / "bench/quorvel_bench"), "startup", "0"],
             "floor": [str(build / "bench/floorwindow"), "0"]}
    counts = {key: [] for key in argvs}
    for run in range(runs):
        for key, argv in argvs.items():
            log(f"instructions to the first frame, {key}, run {run + 1}/{runs}")
            stderr = callgrind(env, argv, "--callgrind-out-file=/dev/null")
            counts[key].append(int(re.search(r"Collected : (\d+)", stderr).group(1)))
    return counts


def count_tick_instructions(env, build, tmp):
    """Instructions of each tick's work in one round per speed of the game and of the
    tick floor: the bench program dumps a tick's count at every wait's start."""
    counts = {"round": {}, "floor": {}}
    for speed in SPEEDS:
        for mode in counts:
            log(f"instructions per tick, {mode} at {speed}")
            out = Path(tmp) / f"ticks-{mode}-{speed}"
            shutil.rmtree(out, ignore_errors=True)
            out.mkdir()
            callgrind(env, [str(build / "bench/quorvel_bench"), mode, speed],
                      f"--callgrind-out-file={out}/part", "--dump-instr=no", "--dump-line=no")
            # part.1, part.2, ... one a tick; "part" itself holds what came after.
            dumps = sorted(out.glob("part.*"), key=lambda f: int(f.suffix[1:]))
            counts[mode][speed] = [
                int(re.search(r"^summary: (\d+)", f.read_text(), re.M).group(1)) for f in dumps]
            shutil.rmtree(out)
    return counts


def measure_startup(watch, build, runs, before=None):
    """Wall time to the first drawing and idle peak memory; the bare window, the floor
    window, the game (and the game of an earlier build, if given) take turns, in an
    order turned by one each run, so that no program always follows the same one."""
    games = {"game": build, "before": before} if before else {"game": build}
    figures = {key: {"external": [], "hwm": []} for key in ("bare", "floor", *games)}

    def probed(key, program):
        launch = watch.run([str(build / "bench" / program), str(IDLE_MS)])
        figures[key]["external"].append(launch.first_damage_ms)
        figures[key]["hwm"].append(launch.output["hwm_kib"])

    def game(key):
        launch = watch.run([str(games[key] / "quorvel")], idle_ms=IDLE_MS, prints_result=False)
        figures[key]["external"].append(launch.first_damage_ms)
        figures[key]["hwm"].append(launch.hwm_kib)

    turns = [lambda: probed("bare", "barewindow"), lambda: probed("floor", "floorwindow"),
             *(lambda key=key: game(key) for key in games)]
    for run in range(runs):
        log(f"start-up and idle memory, run {run + 1}/{runs}")
        for turn in turns[run % len(turns):] + turns[:run % len(turns)]:
            turn()
    return figures


def measure_gallery(watch, build, runs):
    presses = []
    for run in range(runs):
        log(f"first 'Change Icon' press, run {run + 1}/{runs}")
        launch = watch.run([str(build / "bench/quorvel_bench"), "gallery"])
        presses.append(launch.output["first_press_us"] / 1000.0)
    return presses


def measure_rounds(watch, build, rounds_per_speed):
    """Rounds of the game and of the tick floor, taking turns."""
    played = {"round": [], "floor": []}
    for repeat in range(rounds_per_speed):
        for speed in SPEEDS:
            modes = ("round", "floor") if repeat % 2 == 0 else ("floor", "round")
            for mode in modes:
                log(f"{mode} at {speed}, {repeat + 1}/{rounds_per_speed}")
                launch = watch.run([str(build / "bench/quorvel_bench"), mode, speed])
                played[mode].append(launch.output)
    return played


def ideal_table(build, env):
    result = subprocess.run([str(build / "bench/quorvel_bench"), "ideal"], env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True,
                            timeout=120)
    return json.loads(result.stdout.decode().splitlines()[-1])


def step_names(figures):
    return ", ".join(STEP_NAMES[s] for s in sorted({s for f in figures.values()
                                                    for s in f["steps"]}))


# --- the plot -------------------------------------------------------------------------

def tick_svg(rounds, path):
    """Tick intervals and the work between waits through one round per speed (the first
    round of each), as a hand-made SVG."""
    colours = {"EASY": "#1b7837", "MEDIUM": "#762a83", "INSANITY": "#d6604d"}
    width, left, right = 720, 60, 150
    plot_w = width - left - right
    panels = [  # title, y label, top, height, y maximum, y grid step
        ("Time from one tick's wait to the next", "interval, ms", 34, 210, 70.0, 10.0),
        ("Work between two waits (the game's own time per tick)", "work, µs", 300, 150, 200.0, 50.0),
    ]
    height = 500
    intervals, work = {}, {}
    for speed in SPEEDS:
        first = next((r for r in rounds if r["speed"] == speed), None)
        if first:
            s, e = first["wait_start_us"], first["wait_end_us"]
            intervals[speed] = [(s[i + 1] / 1e6, (s[i + 1] - s[i]) / 1000) for i in range(len(s) - 1)]
            work[speed] = [(s[i + 1] / 1e6, s[i + 1] - e[i]) for i in range(len(s) - 1)]
    x_max = max([10.1] + [p[0] for pts in intervals.values() for p in pts])

    def sx(x):
        return left + x / x_max * plot_w

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'viewBox="0 0 {width} {height}" font-family="sans-serif" font-size="11">',
           f'<rect width="{width}" height="{height}" fill="white"/>']
    for (title, label, top, plot_h, y_max, y_step), data in zip(panels, (intervals, work)):
        def sy(y, top=top, plot_h=plot_h, y_max=y_max):
            return top + (1 - min(y, y_max) / y_max) * plot_h
        out.append(f'<text x="{left}" y="{top - 10}" font-size="13">{title}</text>')
        y = 0.0
        while y <= y_max:
            out.append(f'<line x1="{left}" y1="{sy(y):.1f}" x2="{left + plot_w}" '
                       f'y2="{sy(y):.1f}" stroke="#ddd"/>')
            out.append(f'<text x="{left - 6}" y="{sy(y) + 4:.1f}" text-anchor="end">{y:g}</text>')
            y += y_step
        for x in range(0, int(x_max) + 1, 2):
            out.append(f'<text x="{sx(x):.1f}" y="{top + plot_h + 15}" '
                       f'text-anchor="middle">{x}</text>')
        out.append(f'<rect x="{left}" y="{top}" width="{plot_w}" height="{plot_h}" '
                   f'fill="none" stroke="#888"/>')
        out.append(f'<text x="16" y="{top + plot_h / 2}" text-anchor="middle" '
                   f'transform="rotate(-90 16 {top + plot_h / 2})">{label}</text>')
        for speed in SPEEDS:
            if speed not in data:
                continue
            colour = colours[speed]
            if data is intervals:
                nominal = NOMINAL_WAIT_MS[speed]
                out.append(f'<line x1="{left}" y1="{sy(nominal):.1f}" x2="{left + plot_w}" '
                           f'y2="{sy(nominal):.1f}" stroke="{colour}" stroke-dasharray="4 4" '
                           f'stroke-opacity="0.6"/>')
                points = " ".join(f"{sx(x):.1f},{sy(y):.1f}" for x, y in data[speed])
                out.append(f'<polyline points="{points}" fill="none" stroke="{colour}" '
                           f'stroke-width="1"/>')
            else:
                dots = "".join(f"M{sx(x):.1f} {sy(y):.1f}h0" for x, y in data[speed])
                out.append(f'<path d="{dots}" stroke="{colour}" stroke-opacity="0.6" '
                           f'stroke-width="2.6" stroke-linecap="round"/>')
    out.append(f'<text x="{left + plot_w / 2}" y="{height - 8}" text-anchor="middle">'
               f'seconds into the round (work above 200 µs drawn at the top)</text>')
    for i, speed in enumerate(SPEEDS):
        colour = colours[speed]
        ly = panels[0][2] + 14 + i * 34
        out.append(f'<line x1="{left + plot_w + 12}" y1="{ly}" x2="{left + plot_w + 32}" '
                   f'y2="{ly}" stroke="{colour}" stroke-width="2"/>')
        out.append(f'<text x="{left + plot_w + 38}" y="{ly + 4}">{speed}</text>')
        out.append(f'<text x="{left + plot_w + 38}" y="{ly + 17}" fill="#555">'
                   f'wait {NOMINAL_WAIT_MS[speed]:g} ms (dashed)</text>')
    out.append("</svg>")
    path.write_text("\n".join(out) + "\n")


# --- the report -----------------------------------------------------------------------

REPORT = """\
# Performance

Written by `make bench` (`bench/run_bench.py`); do not edit by hand. The notes at the
end come from `bench/findings.md`.

Measured {started} on a machine with `nproc` = {nproc}, CPU "{cpu}", Qt {qt},
{system}, under Xvfb. The run took {elapsed:.0f} s.

Reproduce with:

    make bench

(`QUORVEL_BENCH_ROUNDS=10 make bench` plays 10 rounds per speed of the game and of the
tick floor instead of {rounds_per_speed}. The clock step, and with it the ideal tick count,
depends on the time of day the rounds are played.)

Every target is a ratio to a yardstick measured in the same run. Rows without one
only inform.

{summary}

## The yardsticks and how each figure is taken

- **`floorwindow`** (bench/floorwindow.cpp, bench/floorcontrols.cpp): a plain `QWidget`
  of the game window's size and caption holding the game's ten controls as plain Qt
  widgets (a list of the three speeds, five labels, three buttons, a sunken 52 × 52
  frame, opaque as a picture box is) at the design's places with the design's texts,
  the list in the game's face at 18 px and the labels at 24 px, the buttons in the
  toolkit's default font, and no game code: what any implementation of this design pays. `barewindow` is the same
  window empty.
- **Instructions to the first frame**: `valgrind --tool=callgrind` on
  `quorvel_bench startup 0` and `floorwindow 0`, {instruction_runs} runs each, taking
  turns; each program prints its result and ends once its first frame is out (the
  first paint event of the window, then the next turn of the event loop). Counts move
  by a few thousand instructions between runs (the event loop's polls); the median
  is taken.
- **Instructions per tick**: one round per speed of `quorvel_bench round SPEED` and of
  `quorvel_bench floor SPEED` under callgrind. The bench program zeroes the count
  whenever a clock reading returns after a pump and dumps it at each wait's start, so
  each dump is one tick's work as the rounds below define it; the first tick (round
  start to first wait) is left out. Both draw the same random numbers on every run
  (a fixed seed), so the counts do not depend on the run.
- **Wall time and idle memory**: {runs} runs each of `barewindow`, `floorwindow`, the real
  `quorvel` (and an earlier build's, with `--before BUILD`), taking turns in an order
  that turns by one each run. The benchmark asks the X server for DAMAGE reports on
  every new top-level window and takes the first drawing into a mapped one, counted
  from just before the program was started. Peak memory is VmHWM after the window has
  sat idle {idle_ms} ms past its first frame, read by the program itself or, for
  `quorvel`, from /proc by the benchmark.
- **Rounds**: {rounds_per_speed} rounds per speed of the game (`quorvel_bench round SPEED`:
  the game's own window and services as main.cpp builds them, with decorators around
  the clock, the random numbers and the event pump) and as many of the tick floor
  (`quorvel_bench floor SPEED`, bench/floorround.cpp: the floor window on the same
  clock, random numbers and pump, writing the elapsed seconds into the timer label,
  drawing one random number, waiting as long as the game does, then moving the frame
  10 px (150 twips), Left then Top, along a heading that turns by the game's step; a
  click on the frame shows the count in the clicks label), each in a fresh session,
  the two taking turns. A tick's wait starts at the first clock reading after the
  tick's random draw and ends when the reading that finds it over returns; the work is
  the time from there to the next wait's start. During every other wait a left press
  and release are posted to the picture (the frame) at a random moment (seeded); the
  click time runs from the post until the clicks label shows a new text after a pump.
  After the game's round, "Change Icon" is clicked once and peak memory is read; the
  floor's is read after its round.
- **First "Change Icon" press**: `Form1::cmdIco_Click()` timed in {gallery_runs} fresh
  `quorvel_bench gallery` sessions, 300 ms after the first frame.
- Every figure is the median over its runs (ticks and clicks: over all of them).

## Tick figures per speed

{per_speed}

Clock step in force during the rounds: {steps} (the smallest rise between two readings
the game saw). The game's clock is seconds since midnight as a single, so its step is the
millisecond below 01:08, then the spacing of singles: 1/1024 s from 02:16, 1/512 s from
04:33, 1/256 s from 09:06 and 1/128 s from 18:12. Clicks whose count only showed after
their wait was over: {late}. Counter text matched the game's count after every
round: {counts_match}.

![Tick intervals per speed](tick-intervals.svg)

### Ideal ticks per round for each clock step

The game's own round played on a clock that reads like the real one but moves only while
the game waits (10 µs per pump), so the work between waits costs nothing
(`quorvel_bench ideal`). The rough 10.1 s ÷ wait figures are {naive}; a wait ends only at the first
reading at least the wait past its start, and the difference of two singles sometimes
falls just short, which costs a step.

{ideal}

## Start-up and memory, all runs

Instructions to the first frame, each run: {instruction_counts}.

{startup}

First "Change Icon" press, each run (ms): {gallery}.
"""


def millions(count):
    return f"{count / 1e6:.2f} M"


def write_report(path, raw, started, elapsed):
    startup, counts, played = raw["startup"], raw["instructions"], raw["rounds"]
    ticks = raw["tick_instructions"]
    # Medians of every program's runs: m["game"]["external"], m["bare"]["hwm"], ...
    m = {program: {key: median(values) for key, values in runs.items()}
         for program, runs in startup.items()}
    bare, floor, game = (m[key] for key in ("bare", "floor", "game"))
    games, floors = tick_figures(played["round"]), tick_figures(played["floor"])
    played_hwm = median([h for f in games.values() for h in f["hwm"]])
    floor_played_hwm = median([h for f in floors.values() for h in f["hwm"]])
    clicks = [c for f in games.values() for c in f["clicks"]]
    floor_clicks = [c for f in floors.values() for c in f["clicks"]]
    gallery = raw["gallery"]
    game_ins, floor_ins = median(counts["game"]), median(counts["floor"])
    runs = len(startup["bare"]["external"])

    def wall(key):
        return f"{spread(startup[key]['external'])}, {runs} runs"

    def mib(kib):
        return f"{kib / 1024:.1f} MiB"

    summary = [
        target_row("Start-up: instructions from process start to the first frame, "
                   "`quorvel_bench startup 0`", "`floorwindow 0`", game_ins, floor_ins, 1.03,
                   f"{millions(game_ins)} / {millions(floor_ins)}"),
        info_row("Start-up, wall time: process start to first drawing in the window "
                 "(X DAMAGE), `quorvel`, median (min–max)", "`floorwindow`: " + wall("floor"),
                 f"{game['external'] / floor['external']:.2f}× ({wall('game')})"),
        *([info_row("The same for the `quorvel` of the build given by `--before`",
                    "`floorwindow`, as above",
                    f"{m['before']['external'] / floor['external']:.2f}× ({wall('before')})")]
          if "before" in m else []),
        info_row("Start-up, wall time: `floorwindow` (the toolkit floor)",
                 "`barewindow`: " + wall("bare"),
                 f"{floor['external'] / bare['external']:.2f}× ({wall('floor')})"),
        target_row("Peak resident memory (VmHWM): idle `quorvel`, 1 s after its first frame",
                   "idle `floorwindow`", game["hwm"], floor["hwm"], 1.15,
                   f"{mib(game['hwm'])} / {mib(floor['hwm'])}"),
        target_row("Peak resident memory: after one round (and one \"Change Icon\" press), "
                   "`quorvel_bench round`", "after one round of `quorvel_bench floor`",
                   played_hwm, floor_played_hwm, 1.15,
                   f"{mib(played_hwm)} / {mib(floor_played_hwm)}"),
        info_row("Peak resident memory: idle `floorwindow` (the toolkit floor)",
                 "idle `barewindow`",
                 f"{floor['hwm'] / bare['hwm']:.2f}× ({mib(floor['hwm'])} / {mib(bare['hwm'])})"),
        *(target_row(f"Tick work outside the wait, {speed}: instructions, {name}",
                     "the tick floor, `quorvel_bench floor`", stat(ticks["round"][speed]),
                     stat(ticks["floor"][speed]), limit,
                     f"{stat(ticks['round'][speed]):,.0f} / {stat(ticks['floor'][speed]):,.0f}")
          for speed in SPEEDS for name, stat, limit in (("median", median, 1.10), ("p99", p99, 1.5))),
        *tick_rows("", games, floors, "the tick floor, `quorvel_bench floor`"),
        *(info_row(f"Ticks per round, {speed}", "the ideal for the clock step in force "
                   f"({step_names(games)})",
                   f"{median(f['ticks']):g} of {median(f['ideal']):g}")
          for speed, f in games.items()),
        info_row("Click to count: a click posted to the picture during a wait until the "
                 "clicks label shows the new count, median", "the tick floor's clicks",
                 f"{median(clicks):.1f} µs / {median(floor_clicks):.1f} µs "
                 f"({len(clicks)} and {len(floor_clicks)} clicks)"),
        info_row("First \"Change Icon\" press: `Form1::cmdIco_Click()` in a fresh session "
                 "(builds the gallery and draws), median", "none",
                 f"{median(gallery):.2f} ms"),
    ]

    per_speed = []
    for speed in SPEEDS:
        for name, f in (("game", games[speed]), ("tick floor", floors[speed])):
            per_speed.append(
                (speed, name, f["rounds"], f["ticks_sampled"], f"{f['work_median_us']:.1f} µs",
                 f"{f['work_p99_us']:.1f} µs", f"{f['work_max_us']:.0f} µs",
                 f"{f['interval_median_ms']:.2f} ms", listed(f["ticks"]),
                 listed(f["ideal"]) if None not in f["ideal"] else "–",
                 f"{median(f['clicks']):.1f} µs", f["slow_pumps"],
                 f"{f['longest_pump_us'] / 1000:.1f} ms"))
    ideal = raw["ideal"]
    text = REPORT.format(
        started=started, nproc=nproc(), cpu=cpu_model(), qt=ideal.get("qt", "unknown"),
        system=f"{platform.system()} {platform.release()}", elapsed=elapsed,
        rounds_per_speed=raw["rounds_per_speed"], runs=runs, idle_ms=IDLE_MS,
        instruction_runs=len(counts["game"]), gallery_runs=len(gallery),
        steps=step_names(games), late=sum(f["clicks_late"] for f in games.values()),
        counts_match="yes" if all(f["counts_match"] for f in games.values()) else "NO",
        naive=" / ".join(str(NAIVE_TICKS[speed]) for speed in SPEEDS),
        gallery=", ".join(f"{g:.2f}" for g in gallery),
        instruction_counts="; ".join(f"`{key}` " + ", ".join(map(str, values))
                                     for key, values in counts.items()),
        summary=table(HEADER, summary),
        per_speed=table(
            ("Speed", "Program", "Rounds", "Ticks measured", "Work median", "Work p99",
             "Work max", "Tick interval median", "Ticks per round (each round)", "Ideal",
             "Click median", "Pumps over 2 ms", "Longest pump"), per_speed),
        ideal=table(("Clock step (time of day)", *SPEEDS),
                    [(f"{STEP_NAMES[step]} ({STEP_TIMES[step]})",
                      *(ideal["ideal"][step][s] for s in SPEEDS)) for step in STEP_TIMES]),
        startup=table(
            ("Program", "First drawing, median (min–max)", "Peak memory idle"),
            [(f"`{name}`", spread(startup[key]["external"]), mib(m[key]["hwm"]))
             for name, key in PROGRAMS.items() if key in startup]))
    # The notes, then the Windows build under Wine and the browser build, measured by
    # bench/wine_bench.py and bench/web_bench.py.
    for kept in ("findings.md", "wine-results.md", "web-results.md"):
        section = ROOT / "bench" / kept
        if section.exists():
            text += "\n" + section.read_text().rstrip() + "\n"
    path.write_text(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=str(ROOT / "build" / "default"),
                        help="build folder holding quorvel and bench/")
    parser.add_argument("--runs", type=int, default=11, help="wall-time start-up runs")
    parser.add_argument("--instruction-runs", type=int, default=5,
                        help="callgrind runs of the game and of the floor window")
    parser.add_argument("--before", help="an earlier build folder whose quorvel takes turns "
                        "with the others in the start-up runs")
    parser.add_argument("--gallery-runs", type=int, default=15)
    parser.add_argument("--rounds", type=int,
                        default=int(os.environ.get("QUORVEL_BENCH_ROUNDS", "4")),
                        help="rounds per speed, of the game and of the tick floor")
    parser.add_argument("--docs", default=str(ROOT / "docs"), help="where the report goes")
    parser.add_argument("--json", help="keep every raw figure in this file (by default "
                        "figures.json in the build's bench folder)")
    parser.add_argument("--reuse", help="take raw figures from this file (written by --json) "
                        "and measure only the parts named by --parts")
    parser.add_argument("--parts", help="comma-separated: instructions,startup,gallery,rounds")
    args = parser.parse_args()

    build = Path(args.build).resolve()
    for program in ("quorvel", "bench/barewindow", "bench/floorwindow", "bench/quorvel_bench"):
        if not (build / program).exists():
            sys.exit(f"{build / program} is missing: build first")
    for tool in ("Xvfb", "valgrind"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing: run tools/install-deps.sh")

    raw = json.loads(Path(args.reuse).read_text()) if args.reuse else {}
    parts = set(args.parts.split(",")) if args.parts else (
        set() if args.reuse else {"instructions", "startup", "gallery", "rounds"})

    started = time.strftime("%Y-%m-%d %H:%M %Z")
    clock_start = time.monotonic()
    with Session(screen=SCREEN) as x:
        watch = WindowWatch(x.display, x.tmp)
        raw["ideal"] = ideal_table(build, dict(watch.env, QT_QPA_PLATFORM="offscreen"))
        if "instructions" in parts:
            # What makes the count vary from run to run stays out: a session bus that
            # Qt would try to start from a thread of its own, and its hashes' random seed.
            steady = dict(watch.env, QT_HASH_SEED="0",
                          DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent/quorvel-bench-bus")
            raw["instructions"] = count_instructions(steady, build, args.instruction_runs)
            raw["tick_instructions"] = count_tick_instructions(steady, build, x.tmp)
        if "startup" in parts:
            raw["startup"] = measure_startup(watch, build, args.runs,
                                             Path(args.before).resolve() if args.before else None)
        if "gallery" in parts:
            raw["gallery"] = measure_gallery(watch, build, args.gallery_runs)
        if "rounds" in parts:
            raw["rounds"] = measure_rounds(watch, build, args.rounds)
            raw["rounds_per_speed"] = args.rounds
    elapsed = time.monotonic() - clock_start
    if parts:
        # The report gives when the figures were taken, also when it is written again
        # from them.
        raw["started"], raw["elapsed"] = started, elapsed
    Path(args.json or build / "bench" / "figures.json").write_text(json.dumps(raw))

    docs = Path(args.docs)
    docs.mkdir(parents=True, exist_ok=True)
    tick_svg(raw["rounds"]["round"], docs / "tick-intervals.svg")
    write_report(docs / "PERFORMANCE.md", raw, raw.get("started", started),
                 raw.get("elapsed", elapsed))
    log(f"wrote {docs / 'PERFORMANCE.md'} and {docs / 'tick-intervals.svg'} in {elapsed:.0f} s")


if __name__ == "__main__":
    main()
