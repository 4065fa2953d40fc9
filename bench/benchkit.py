"""What the benchmarks share: programs followed on a private Xvfb from their start to
their first drawing, the figures of the rounds they play, and the report's tables,
where every figure with a target is a ratio to a yardstick measured in the same run.
"""

import json
import os
import platform
import select
import statistics
import subprocess
import sys
import time
from pathlib import Path

from Xlib import X, display
from Xlib import error as xerror
from Xlib.ext import damage

ROOT = Path(__file__).resolve().parent.parent
SPEEDS = ("EASY", "MEDIUM", "INSANITY")
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
            "ideal": [r.get("ideal_ticks") for r in mine],
            "steps": sorted({step_name(r["smallest_step"]) for r in mine}),
            "clicks": [c for r in mine for c in r["click_us"]],
            "clicks_late": sum(r["clicks_late"] for r in mine),
            "counts_match": all(r["clicks_shown"] == str(r["click_state"]) for r in mine),
            "hwm": [r["hwm_kib"] for r in mine],
            "longest_pump_us": max(longest_pumps, default=float("nan")),
            "slow_pumps": sum(1 for p in longest_pumps if p > SLOW_PUMP_US),
        }
    return figures


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


# --- rows of the reports: a figure, its yardstick, its target and its result ----------

HEADER = ("Figure", "Yardstick, measured in the same run", "Target", "Measured", "Result")


def target_row(figure, yardstick, value, base, limit, shown):
    """A row held to `value` ≤ `limit` × `base`; `shown` gives the two figures."""
    ratio = value / base
    return (figure, yardstick, f"≤ {limit:.2f}×", f"{ratio:.3f}× ({shown})",
            verdict(ratio <= limit))


def info_row(figure, yardstick, measured):
    return (figure, yardstick, "none (information only)", measured, "–")


def tick_rows(system, games, floors, yardstick):
    """The tick work of each speed in wall time against the tick floor's, median and
    p99, for information: `make bench` holds it in instructions."""
    rows = []
    for speed in SPEEDS:
        game, floor = games[speed], floors[speed]
        for key, name in (("work_median_us", "median"), ("work_p99_us", "p99")):
            rows.append(info_row(f"Tick work outside the wait{system}, {speed}: {name}, wall time",
                                 yardstick, f"{game[key] / floor[key]:.3f}× "
                                 f"({game[key]:.1f} µs / {floor[key]:.1f} µs)"))
    return rows
