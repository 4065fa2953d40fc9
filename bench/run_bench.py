#!/usr/bin/python3
"""Measures the game against a bare Qt window and writes docs/PERFORMANCE.md and
docs/tick-intervals.svg.

    /usr/bin/python3 bench/run_bench.py --build build/default

Everything runs under a private Xvfb. Start-up is timed from outside, as the time from
process start to the first drawing into the program's window (X DAMAGE), for the real
`quorvel` and for `barewindow`; the bench build of the game (`quorvel_bench`) also
reports its first frame from inside, next to `barewindow` doing the same. The programs
run alternately, so slow spells of the machine hit both sides alike.
"""

import argparse
import json
import os
import platform
import select
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

from Xlib import X, display
from Xlib import error as xerror
from Xlib.ext import damage

from drivers.xsession import Session

ROOT = Path(__file__).resolve().parent.parent
SPEEDS = ("EASY", "MEDIUM", "INSANITY")
NOMINAL_WAIT_MS = {"EASY": 50.0, "MEDIUM": 35.0, "INSANITY": 20.0}
NAIVE_TICKS = {"EASY": 202, "MEDIUM": 288, "INSANITY": 505}
STEP_NAMES = {"1ms": "1 ms", "1/1024s": "1/1024 s", "1/512s": "1/512 s",
              "1/256s": "1/256 s", "1/128s": "1/128 s"}
IDLE_MS = 1000
SLOW_PUMP_US = 2000.0
LAUNCH_TIMEOUT_S = 30.0
SCREEN = "1280x1024x24"   # the private Xvfb's, in every benchmark


def log(message):
    print(message, file=sys.stderr, flush=True)


def median(values):
    return statistics.median(values) if values else float("nan")


def p99(values):
    """The 99th percentile, interpolated between the nearest ranks."""
    if len(values) < 2:
        return median(values)
    return statistics.quantiles(values, n=100, method="inclusive")[98]


def step_name(seconds):
    """The clock step a round saw, from its smallest rise between two readings."""
    for name, size in (("1/128s", 1 / 128), ("1/256s", 1 / 256), ("1/512s", 1 / 512),
                       ("1/1024s", 1 / 1024)):
        if abs(seconds - size) < size * 0.01:
            return name
    return "1ms"


class Launch:
    """One run of a program: when its window was mapped and first drawn into, what it
    printed, and its peak resident memory if read from outside."""

    def __init__(self):
        self.map_ms = None
        self.first_damage_ms = None
        self.output = None
        self.hwm_kib = None
        self.start_ns = None


class WindowWatch:
    """Watches the X server for new top-level windows and the first drawing into them."""

    def __init__(self, display_name, runtime_dir):
        self.display = display.Display(display_name)
        self.display.set_error_handler(self._x_error)
        self.display.damage_query_version()
        self.display.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.display.sync()
        self.env = dict(os.environ, DISPLAY=display_name, QT_QPA_PLATFORM="xcb",
                        XDG_RUNTIME_DIR=runtime_dir)
        for name in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_STYLE_OVERRIDE"):
            self.env.pop(name, None)

    @staticmethod
    def _x_error(err, request):
        # Every new top-level window gets a drawing watch; the server refuses one on an
        # input-only window (Wine makes those), which has nothing to draw anyway.
        if not isinstance(err, xerror.BadMatch):
            print(f"X error: {err}", file=sys.stderr)

    def _drain(self):
        self.display.sync()
        while self.display.pending_events():
            self.display.next_event()

    def run(self, argv, idle_ms=0, prints_result=True):
        """Starts `argv` and follows it until it prints its JSON line (programs of the
        bench), or until it has sat idle `idle_ms` after its first frame (the real game,
        which is then read from /proc and ended)."""
        self._drain()
        launch = Launch()
        damages = {}
        mapped = set()
        out = b""
        launch.start_ns = time.monotonic_ns()
        process = subprocess.Popen(argv, env=self.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + LAUNCH_TIMEOUT_S
        x_fd = self.display.fileno()
        stdout_fd = process.stdout.fileno()
        stdout_open = True
        def take_events():
            while self.display.pending_events():
                event = self.display.next_event()
                now_ms = (time.monotonic_ns() - launch.start_ns) / 1e6
                if event.type == X.CreateNotify:
                    damages[event.window.id] = event.window.damage_create(
                        damage.DamageReportNonEmpty)
                elif event.type == X.MapNotify and event.window.id in damages:
                    mapped.add(event.window.id)
                    if launch.map_ms is None:
                        launch.map_ms = now_ms
                elif (event.type == self.display.extension_event.DamageNotify
                      and event.drawable.id in mapped and launch.first_damage_ms is None):
                    launch.first_damage_ms = now_ms

        try:
            while time.monotonic() < deadline:
                if prints_result and not stdout_open:
                    break
                if not prints_result and launch.first_damage_ms is not None:
                    since = (time.monotonic_ns() - launch.start_ns) / 1e6 - launch.first_damage_ms
                    if since >= idle_ms:
                        launch.hwm_kib = read_peak_kib(process.pid)
                        break
                fds = [x_fd] + ([stdout_fd] if stdout_open else [])
                ready, _, _ = select.select(fds, [], [], 0.05)
                take_events()
                if stdout_fd in ready:
                    chunk = os.read(stdout_fd, 1 << 16)
                    if chunk:
                        out += chunk
                    else:
                        stdout_open = False
            else:
                raise RuntimeError(f"{argv[0]} did not finish in {LAUNCH_TIMEOUT_S} s")
            # Events the server sent before the program ended may still be on their way.
            self.display.sync()
            take_events()
        finally:
            if process.poll() is None:
                process.kill()
            process.wait()
            process.stdout.close()
        if prints_result:
            lines = [line for line in out.decode().splitlines() if line.startswith("{")]
            if not lines:
                raise RuntimeError(f"{' '.join(argv)} printed no result")
            launch.output = json.loads(lines[-1])
        if launch.first_damage_ms is None:
            raise RuntimeError(f"{argv[0]}: no drawing into its window was seen")
        return launch


def read_peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return None


def since_start_ms(launch, key):
    return (launch.output[key] - launch.start_ns) / 1e6


def measure_startup(watch, build, runs, before=None):
    """Start-up and idle memory; the bare window, the floor window, the real game (and
    the game of an earlier build, if given) and the bench game take turns, in an order
    turned by one each run, so that no program always follows the same one."""
    games = {"game": build, "before": before} if before else {"game": build}
    figures = {**{key: {"external": [], "internal": [], "hwm": [], "milestones": []}
                  for key in ("bare", "floor", "stand_in")},
               **{key: {"external": [], "hwm": []} for key in games}}

    def probed(key, argv):
        launch = watch.run(argv)
        figures[key]["external"].append(launch.first_damage_ms)
        figures[key]["internal"].append(since_start_ms(launch, "frame_ns"))
        figures[key]["hwm"].append(launch.output["hwm_kib"])
        figures[key]["milestones"].append({name[:-3]: since_start_ms(launch, name)
                                           for name in launch.output if name.endswith("_ns")})

    def game(key):
        launch = watch.run([str(games[key] / "quorvel")], idle_ms=IDLE_MS, prints_result=False)
        figures[key]["external"].append(launch.first_damage_ms)
        figures[key]["hwm"].append(launch.hwm_kib)

    turns = [lambda: probed("bare", [str(build / "bench/barewindow"), str(IDLE_MS)]),
             lambda: probed("floor", [str(build / "bench/floorwindow"), str(IDLE_MS)]),
             *(lambda key=key: game(key) for key in games),
             lambda: probed("stand_in", [str(build / "bench/quorvel_bench"), "startup",
                                         str(IDLE_MS)])]
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
    rounds = []
    for repeat in range(rounds_per_speed):
        for speed in SPEEDS:
            log(f"round at {speed}, {repeat + 1}/{rounds_per_speed}")
            launch = watch.run([str(build / "bench/quorvel_bench"), "round", speed])
            rounds.append(launch.output)
    return rounds


def tick_figures(rounds):
    """Per speed: work between waits, tick intervals, ticks per round against the ideal."""
    figures = {}
    for speed in SPEEDS:
        mine = [r for r in rounds if r["speed"] == speed]
        work, intervals, waits, longest_pumps = [], [], [], []
        for r in mine:
            longest_pumps += r.get("longest_pump_us", [])
            starts, ends = r["wait_start_us"], r["wait_end_us"]
            work += [starts[i + 1] - ends[i] for i in range(len(starts) - 1)]
            intervals += [(starts[i + 1] - starts[i]) / 1000 for i in range(len(starts) - 1)]
            waits += [(ends[i] - starts[i]) / 1000 for i in range(len(starts))]
        figures[speed] = {
            "rounds": len(mine),
            "work_median_us": median(work),
            "work_p99_us": p99(work),
            "work_max_us": max(work) if work else float("nan"),
            "ticks_sampled": len(work),
            "interval_median_ms": median(intervals),
            "wait_median_ms": median(waits),
            "ticks": [len(r["wait_start_us"]) for r in mine],
            "ideal": [r["ideal_ticks"] for r in mine],
            "steps": sorted({step_name(r["smallest_step"]) for r in mine}),
            "clicks": [c for r in mine for c in r["click_us"]],
            "clicks_late": sum(r["clicks_late"] for r in mine),
            "counts_match": all(r["clicks_shown"] == str(r["click_state"]) for r in mine),
            "hwm": [r["hwm_kib"] for r in mine],
            "longest_pump_us": max(longest_pumps, default=float("nan")),
            "slow_pumps": sum(1 for p in longest_pumps if p > SLOW_PUMP_US),
        }
    return figures


def ideal_table(build, env):
    result = subprocess.run([str(build / "bench/quorvel_bench"), "ideal"], env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True,
                            timeout=120)
    return json.loads(result.stdout.decode().splitlines()[-1])


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

def table(header, rows):
    """A Markdown table: the header's cells, then each row's."""
    def line(cells):
        return "|" + "".join(f" {cell} |" if str(cell) else " |" for cell in cells)
    return "\n".join([line(header), line(["---"] * len(header)), *map(line, rows)])


def spread(values, digits=1):
    """Milliseconds as "median ms (min–max)"."""
    return f"{median(values):.{digits}f} ms ({min(values):.{digits}f}–{max(values):.{digits}f})"


def listed(values):
    return ", ".join(map(str, values))


def work_cell(figures):
    """A speed's tick work as "median / p99 µs"."""
    return f"{figures['work_median_us']:.0f} / {figures['work_p99_us']:.0f} µs"


def verdict(ok):
    return "pass" if ok else "**FAIL**"


def cpu_model():
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown"


# The programs of the start-up runs (`measure_startup`), and a time of day at which
# each clock step is in force.
PROGRAMS = {"barewindow": "bare", "floorwindow": "floor", "quorvel": "game",
            "quorvel` of `--before": "before", "quorvel_bench": "stand_in"}
MILESTONES = ("main", "app", "built", "shown", "paint", "frame")
STEP_TIMES = {"1ms": "00:30", "1/1024s": "03:00", "1/512s": "06:00", "1/256s": "12:00",
              "1/128s": "20:00"}

REPORT = """\
# Performance

Written by `make bench` (`bench/run_bench.py`); do not edit by hand. The notes at the
end come from `bench/findings.md`.

Measured {started} on a machine with `nproc` = {nproc}, CPU "{cpu}", Qt {qt},
{system}, under Xvfb. The run took {elapsed:.0f} s.

Reproduce with:

    make bench

(`QUORVEL_BENCH_ROUNDS=10 make bench` plays 10 rounds per speed
instead of {rounds_per_speed}. The clock step, and with it the ideal tick count, depends on
the time of day the rounds are played.)

{summary}

## How each figure is taken

- **Start-up and idle memory**: {runs} runs each of `barewindow`, `floorwindow`, the real
  `quorvel` (and an earlier build's, with `--before BUILD`) and `quorvel_bench startup`,
  taking turns in an order that turns by one each run. `barewindow` (bench/barewindow.cpp)
  is a plain `QWidget` of 711×501 with the game's caption, shown, nothing else.
  `floorwindow` (bench/floorwindow.cpp) is the same window holding the game's ten
  controls as plain Qt widgets (a list of the three speeds, five labels, three buttons, a
  sunken frame) at the design's places with the design's texts, in the toolkit's default
  style and font, with no game code: the least any window showing these controls costs.
  From outside, the benchmark asks the X server for DAMAGE reports on every new top-level
  window and takes the first drawing into a mapped one, counted from just before the
  program was started. The bench programs also note their first frame from inside (the
  first paint event of the window, then the next turn of the event loop), on the same
  monotonic clock. Peak memory is VmHWM after the window has sat idle {idle_ms} ms past
  its first frame, read by the program itself or, for `quorvel`, from /proc by the
  benchmark.
- **Rounds**: {rounds_per_speed} rounds per speed, each in a fresh
  `quorvel_bench round SPEED` session: the game's own window and services as main.cpp
  builds them, with decorators around the clock, the random numbers and the event pump
  (bench/recordingclock.h, recordingrandom.h, recordingpump.h, tickrecorder.h). A tick's
  wait starts at the first clock reading after the tick's random draw and ends when the
  reading that finds it over returns; the work is the time from there to the next wait's
  start. The round is started by `cmdGo->click()` after the first frame. During every
  other wait a left press and release are posted to `picIco` at a random moment
  (seeded); the click time runs from the post until `lblClicks` shows a new text after a
  pump. After the round, "Change Icon" is clicked once and peak memory is read.
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

{startup}

Where the start-up goes, from inside (medians, ms from process start; the game alone
calls `setUpToolkit` between "QApplication" and "window built"):

{milestones}

First "Change Icon" press, each run (ms): {gallery}.
"""


def write_report(path, startup, gallery, figures, ideal, rounds_per_speed, started, elapsed):
    # Medians of every program's runs: m["game"]["external"], m["bare"]["hwm"], ...
    m = {program: {key: median(values) for key, values in runs.items() if key != "milestones"}
         for program, runs in startup.items()}
    bare, floor, game, stand_in = (m[key] for key in ("bare", "floor", "game", "stand_in"))
    played_hwm = median([h for f in figures.values() for h in f["hwm"]])
    clicks = [c for f in figures.values() for c in f["clicks"]]
    gallery_median = median(gallery)
    steps = ", ".join(STEP_NAMES[s] for s in sorted({s for f in figures.values() for s in f["steps"]}))

    def against(value, base, unit="ms", scale=1.0):
        return f"{value / base:.2f}× ({value * scale:.1f} {unit} / {base * scale:.1f} {unit})"

    def memory(value, base):
        return against(value, base, "MiB", 1 / 1024)

    def bounded(ratio, floor_ratio, limit=1.15):
        if ratio <= limit:
            return verdict(True)
        if floor_ratio > limit:
            return f"**FAIL**: out of reach, the toolkit floor alone is {floor_ratio:.2f}×"
        return verdict(False)

    def floor_note(floor_ratio, limit=1.15):
        return "floor above the target" if floor_ratio > limit else "floor within the target"

    floor_start = floor["external"] / bare["external"]
    floor_memory = floor["hwm"] / bare["hwm"]
    summary = [
        ("Start-up: `quorvel`, process start to first drawing in its window (X DAMAGE), "
         "against `barewindow`", "≤ 1.15×", against(game["external"], bare["external"]),
         bounded(game["external"] / bare["external"], floor_start)),
        ("Start-up: `quorvel_bench`, process start to first frame seen from inside, "
         "against `barewindow` likewise", "≤ 1.15×",
         against(stand_in["internal"], bare["internal"]),
         bounded(stand_in["internal"] / bare["internal"], floor["internal"] / bare["internal"])),
        ("Start-up, toolkit floor: `floorwindow` (the game's controls, plain) against "
         "`barewindow`", "–", against(floor["external"], bare["external"]),
         floor_note(floor_start)),
        ("Start-up, the game's own share: `quorvel` against `floorwindow`", "≤ 1.05×",
         against(game["external"], floor["external"]),
         verdict(game["external"] / floor["external"] <= 1.05)),
        *([("The same for the `quorvel` of the build given by `--before`, in the same runs",
            "–", against(m["before"]["external"], floor["external"]), "–")]
          if "before" in m else []),
        ("Peak resident memory (VmHWM): idle `quorvel`, 1 s after its first frame, against "
         "`barewindow` likewise", "≤ 1.15×", memory(game["hwm"], bare["hwm"]),
         bounded(game["hwm"] / bare["hwm"], floor_memory)),
        ("Peak resident memory: `quorvel_bench` after one round and one \"Change Icon\" press, "
         "against idle `barewindow`", "≤ 1.15×", memory(played_hwm, bare["hwm"]),
         bounded(played_hwm / bare["hwm"], floor_memory)),
        ("Peak resident memory, toolkit floor: idle `floorwindow` against `barewindow`", "–",
         memory(floor["hwm"], bare["hwm"]), floor_note(floor_memory)),
        ("Peak resident memory, the game's own share: idle `quorvel` against `floorwindow`; "
         "after a round and \"Change Icon\"", "–",
         f"{game['hwm'] / floor['hwm']:.2f}×; {played_hwm / floor['hwm']:.2f}×", "–"),
    ]
    for speed, f in figures.items():
        summary += [
            (f"Tick work outside the wait, {speed}: median", "< 100 µs",
             f"{f['work_median_us']:.1f} µs", verdict(f["work_median_us"] < 100)),
            (f"Tick work outside the wait, {speed}: 99th percentile", "< 1 ms",
             f"{f['work_p99_us']:.1f} µs", verdict(f["work_p99_us"] < 1000))]
    for speed, f in figures.items():
        ticks, ideal_ticks = median(f["ticks"]), median(f["ideal"])
        summary.append((f"Ticks per round, {speed}, against the ideal for the clock step in "
                        f"force ({steps})", "–",
                        f"{ticks:g} of {ideal_ticks:g} ({ticks / ideal_ticks:.3f})", "–"))
    summary += [
        ("Click to count: a click posted to `picIco` during a wait until `lblClicks` shows "
         "the new count (median)", "< 1 ms",
         f"{median(clicks):.1f} µs (p99 {p99(clicks):.1f} µs, {len(clicks)} clicks)",
         verdict(median(clicks) < 1000)),
        ("First \"Change Icon\" press: `Form1::cmdIco_Click()` in a fresh session (builds the "
         "gallery and draws)", "< 10 ms", f"{gallery_median:.2f} ms", verdict(gallery_median < 10)),
    ]

    text = REPORT.format(
        started=started, nproc=nproc(), cpu=cpu_model(), qt=ideal.get("qt", "unknown"),
        system=f"{platform.system()} {platform.release()}", elapsed=elapsed,
        rounds_per_speed=rounds_per_speed, runs=len(startup["bare"]["external"]),
        idle_ms=IDLE_MS, gallery_runs=len(gallery), steps=steps,
        late=sum(f["clicks_late"] for f in figures.values()),
        counts_match="yes" if all(f["counts_match"] for f in figures.values()) else "NO",
        naive=" / ".join(str(NAIVE_TICKS[speed]) for speed in SPEEDS),
        gallery=", ".join(f"{g:.2f}" for g in gallery),
        summary=table(("Figure", "Target", "Measured", "Result"), summary),
        per_speed=table(
            ("Speed", "Rounds", "Ticks measured", "Work median", "Work p99", "Work max",
             "Tick interval median", "Wait median", "Ticks per round (each round)", "Ideal",
             "Click median", "Click p99", "Pumps over 2 ms", "Longest pump"),
            [(speed, f["rounds"], f["ticks_sampled"], f"{f['work_median_us']:.1f} µs",
              f"{f['work_p99_us']:.1f} µs", f"{f['work_max_us']:.0f} µs",
              f"{f['interval_median_ms']:.2f} ms", f"{f['wait_median_ms']:.2f} ms",
              listed(f["ticks"]), listed(f["ideal"]), f"{median(f['clicks']):.1f} µs",
              f"{p99(f['clicks']):.1f} µs", f["slow_pumps"],
              f"{f['longest_pump_us'] / 1000:.1f} ms") for speed, f in figures.items()]),
        ideal=table(("Clock step (time of day)", *SPEEDS),
                    [(f"{STEP_NAMES[step]} ({STEP_TIMES[step]})",
                      *(ideal["ideal"][step][s] for s in SPEEDS)) for step in STEP_TIMES]),
        startup=table(
            ("Program", "First drawing, median (min–max)", "First frame from inside",
             "Peak memory idle"),
            [(f"`{name}`", spread(startup[key]["external"]),
              f"{m[key]['internal']:.1f} ms" if "internal" in m[key] else "–",
              f"{m[key]['hwm'] / 1024:.1f} MiB") for name, key in PROGRAMS.items()
             if key in startup]),
        milestones=table(
            ("Program", "`main` reached", "`QApplication` built", "window built",
             "`show()` returned", "first paint event", "first frame out"),
            [(f"`{name}`", *(f"{median([s[k] for s in startup[key]['milestones']]):.1f}"
                             for k in MILESTONES))
             for name, key in PROGRAMS.items() if "milestones" in startup.get(key, {})]))
    # The notes, then the Windows build under Wine and the browser build, measured by
    # bench/wine_bench.py and bench/web_bench.py.
    for kept in ("findings.md", "wine-results.md", "web-results.md"):
        section = ROOT / "bench" / kept
        if section.exists():
            text += "\n" + section.read_text().rstrip() + "\n"
    path.write_text(text)


def splice(path, mark, section):
    """Puts `section` in place of the old one (from `mark` to the next section's
    mark, or to the end), or at the end."""
    text = path.read_text() if path.exists() else ""
    if mark in text:
        start = text.index(mark)
        after = text.find("<!-- ", start + len(mark))
        rest = text[after:] if after >= 0 else ""
        text = text[:start].rstrip("\n") + "\n\n" + section.rstrip("\n") + "\n\n" + rest
    else:
        text = text.rstrip("\n") + "\n\n" + section
    path.write_text(text.rstrip("\n") + "\n")


def nproc():
    try:
        return subprocess.run(["nproc"], stdout=subprocess.PIPE, check=True).stdout.decode().strip()
    except (OSError, subprocess.CalledProcessError):
        return str(os.cpu_count())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=str(ROOT / "build" / "default"),
                        help="build folder holding quorvel and bench/")
    parser.add_argument("--runs", type=int, default=41, help="start-up and memory runs")
    parser.add_argument("--before", help="an earlier build folder whose quorvel takes turns "
                        "with the others in the start-up runs")
    parser.add_argument("--gallery-runs", type=int, default=15)
    parser.add_argument("--rounds", type=int,
                        default=int(os.environ.get("QUORVEL_BENCH_ROUNDS", "4")),
                        help="rounds per speed")
    parser.add_argument("--docs", default=str(ROOT / "docs"), help="where the report goes")
    parser.add_argument("--json", help="keep every raw figure in this file")
    parser.add_argument("--reuse", help="take raw figures from this file (written by --json) "
                        "and measure only the parts named by --parts")
    parser.add_argument("--parts", help="comma-separated: startup,gallery,rounds")
    args = parser.parse_args()

    build = Path(args.build).resolve()
    for program in ("quorvel", "bench/barewindow", "bench/floorwindow", "bench/quorvel_bench"):
        if not (build / program).exists():
            sys.exit(f"{build / program} is missing: build first")
    if not shutil.which("Xvfb"):
        sys.exit("Xvfb is missing: run tools/install-deps.sh")

    raw = json.loads(Path(args.reuse).read_text()) if args.reuse else {}
    parts = set(args.parts.split(",")) if args.parts else (
        set() if args.reuse else {"startup", "gallery", "rounds"})

    started = time.strftime("%Y-%m-%d %H:%M %Z")
    clock_start = time.monotonic()
    with Session(screen=SCREEN) as x:
        watch = WindowWatch(x.display, x.tmp)
        raw["ideal"] = ideal_table(build, dict(watch.env, QT_QPA_PLATFORM="offscreen"))
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
    if args.json:
        Path(args.json).write_text(json.dumps(raw))

    figures = tick_figures(raw["rounds"])
    docs = Path(args.docs)
    docs.mkdir(parents=True, exist_ok=True)
    tick_svg(raw["rounds"], docs / "tick-intervals.svg")
    write_report(docs / "PERFORMANCE.md", raw["startup"], raw["gallery"], figures, raw["ideal"],
                 raw["rounds_per_speed"], raw.get("started", started),
                 raw.get("elapsed", elapsed))
    log(f"wrote {docs / 'PERFORMANCE.md'} and {docs / 'tick-intervals.svg'} in {elapsed:.0f} s")


if __name__ == "__main__":
    main()
