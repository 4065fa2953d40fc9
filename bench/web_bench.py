#!/usr/bin/python3
"""Measures the browser build in headless Chromium against the Linux build, in the same
run, and writes the "In the browser" section of docs/PERFORMANCE.md.

    /usr/bin/python3 bench/web_bench.py --linux build/default --web build/web

Page weight is what a browser downloads: each file as sent gzip-compressed. First frame
is the time from navigation to the first animation frame after the game's window is
there, in a fresh browser profile each time, against the Linux build's time from
process start to its first drawing on Xvfb. Ticks per round come from the bench build
of the game (`quorvel_bench round SPEED`) in a page of its own and on Linux, each
against the ideal for the clock step in force (the same program works that out on a
clock that moves only while the game waits). Frame gaps are the longest time between
two animation frames of the page during a round. Click-to-count is the time from a real
mouse press on the picture (the page's own pointerdown time stamp) to the clicks label
showing the new count, read through the page's accessibility tree.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
sys.path.insert(0, str(HERE.parent / "tests" / "web"))

import browser as web  # noqa: E402
import run_bench as rb  # noqa: E402
import screen as scr  # noqa: E402
from xsession import wait_until  # noqa: E402

MARK = "<!-- in-the-browser -->"
FILES = ("index.html", "qtloader.js", "quorvel.js", "quorvel.wasm")

# Records every animation frame's time stamp from now on.
FRAME_RECORDER = """
window.quorvelFrames = [];
(function frame() { quorvelFrames.push(performance.now()); requestAnimationFrame(frame); })();
"""

# Presses on the canvas and the clicks label's changes, with the page's time stamps:
# the label is read between every two tasks of the page.
ARM_CLICK_TIMER = """
window.quorvelClick = new Promise(done => {
const clicks = () => quorvelControl('lblClicks').text;
const canvas = document.getElementById('qtcanvas');
const before = clicks();
let pressed;
canvas.addEventListener('pointerdown', e => { pressed = performance.now(); }, {capture: true, once: true});
const channel = new MessageChannel();
channel.port1.onmessage = () => {
  if (pressed !== undefined && clicks() !== before)
    done(performance.now() - pressed);
  else
    channel.port2.postMessage(null);
};
channel.port2.postMessage(null);
});
"""


def chromium_version():
    return subprocess.run(["chromium", "--version"], capture_output=True,
                          text=True).stdout.strip()


def page_weight(site):
    weight = {}
    for name in FILES:
        plain = site / name
        packed = site / (name + ".gz")
        weight[name] = (plain.stat().st_size, packed.stat().st_size if packed.exists() else None)
    return weight


def first_frames(url, runs):
    times = []
    for run in range(runs):
        rb.log(f"first frame in Chromium, load {run + 1}/{runs}")
        with web.Browser() as b:
            times.append(web.Game(b, url).open() * 1000.0)
    return times


def click_latencies(url, presses):
    with web.Browser() as b:
        game = web.Game(b, url)
        game.open()
        latencies = []
        b.driver.set_script_timeout(5)
        for press in range(presses):
            game.script(ARM_CLICK_TIMER)
            game.click(*scr.centre(scr.PIC_START))
            latencies.append(b.driver.execute_async_script(
                "window.quorvelClick.then(arguments[0]);"))
            time.sleep(0.6)   # never a double-click
        return latencies


def web_rounds(bench_url, rounds):
    played = []
    for repeat in range(rounds):
        for speed in rb.SPEEDS:
            rb.log(f"round at {speed} in Chromium, {repeat + 1}/{rounds}")
            with web.Browser() as b:
                game = web.Game(b, f"{bench_url}?QUORVEL_BENCH=round%20{speed}")
                game.open()
                game.script(FRAME_RECORDER)

                def printed():
                    # Console lines come as "<source> <line:column> <JSON string>".
                    for entry in b.driver.get_log("browser"):
                        text = entry["message"].split(" ", 2)[-1]
                        if text.startswith('"{'):
                            return json.loads(json.loads(text))
                    return None
                result = wait_until(printed, 60.0, f"the round at {speed} to report", 0.25)
                frames = game.script("return quorvelFrames;")
                # The round starts 300 ms after the first frame and lasts 10.1 s.
                start = result["frame_ns"] / 1e6 + 300
                frames = [t for t in frames if start <= t <= start + 10100]
                result["frame_gap_ms"] = max((b - a for a, b in zip(frames, frames[1:])),
                                             default=float("nan"))
                played.append(result)
    return played


def linux_side(build, runs, rounds):
    runtime_dir = tempfile.mkdtemp(prefix="quorvel-webbench-")
    os.chmod(runtime_dir, 0o700)
    server = rb.Xvfb()
    try:
        watch = rb.WindowWatch(server.name, runtime_dir)
        startup = [watch.run([str(build / "quorvel")], idle_ms=rb.IDLE_MS,
                             prints_result=False).first_damage_ms for _ in range(runs)]
        played = []
        for _ in range(rounds):
            for speed in rb.SPEEDS:
                played.append(watch.run([str(build / "bench/quorvel_bench"), "round", speed]).output)
    finally:
        server.close()
        shutil.rmtree(runtime_dir, ignore_errors=True)
    return startup, played


def spread(values):
    return f"{rb.median(values):.0f} ms ({min(values):.0f}–{max(values):.0f})"


def report(weight, frames, linux_startup, clicks, played, linux_played, started, elapsed):
    web_ticks = rb.tick_figures(played)
    linux_ticks = rb.tick_figures(linux_played)
    total_packed = sum(p for _, p in weight.values() if p)
    lines = [
        MARK,
        "## In the browser",
        "",
        "The browser build (`make web`: Qt for WebAssembly, emscripten, Asyncify) in "
        f"Debian's headless {chromium_version()} (software WebGL) on a server on "
        "127.0.0.1, against the "
        f"Linux build in the same run; measured {started} in {elapsed:.0f} s by "
        "`bench/web_bench.py` on this machine's "
        f"{rb.nproc()} cores.",
        "",
        "| File | Size | Sent gzip-compressed |",
        "| --- | --- | --- |",
    ]
    for name, (plain, packed) in weight.items():
        lines.append(f"| `{name}` | {plain / 1e6:.2f} MB | "
                     f"{packed / 1e6:.2f} MB |" if packed else f"| `{name}` | {plain} B | – |")
    lines += [
        f"| All | | {total_packed / 1e6:.2f} MB |",
        "",
        "| | Browser | Linux (xcb) |",
        "| --- | --- | --- |",
        f"| First frame, median (min–max) of {len(frames)} | {spread(frames)} from navigation | "
        f"{spread(linux_startup)} from process start |",
    ]
    for speed in rb.SPEEDS:
        a, b = web_ticks[speed], linux_ticks[speed]
        share = [t / i * 100 for t, i in zip(a["ticks"], a["ideal"])]
        lines.append(
            f"| Ticks in a round at {speed} (ideal for the clock step), interval median | "
            f"{', '.join(map(str, a['ticks']))} ({', '.join(map(str, a['ideal']))}): "
            f"{min(share):.1f} %, {a['interval_median_ms']:.1f} ms | "
            f"{', '.join(map(str, b['ticks']))} ({', '.join(map(str, b['ideal']))}), "
            f"{b['interval_median_ms']:.1f} ms |")
    for speed in rb.SPEEDS:
        a, b = web_ticks[speed], linux_ticks[speed]
        lines.append(
            f"| Tick work at {speed}, median / p99 | {a['work_median_us']:.0f} / "
            f"{a['work_p99_us']:.0f} µs | {b['work_median_us']:.0f} / {b['work_p99_us']:.0f} µs |")
    gaps = [r["frame_gap_ms"] for r in played]

    def posted(ticks):
        """Posted clicks' latencies over every speed, as "median / max" in ms."""
        us = [c for speed in rb.SPEEDS for c in ticks[speed]["clicks"]]
        return f"{rb.median(us) / 1000:.2f} / {max(us) / 1000:.2f} ms"
    lines += [
        f"| Longest time between two frames during a round | {max(gaps):.1f} ms | – |",
        f"| Click posted in a wait to count shown, median / max | {posted(web_ticks)} | "
        f"{posted(linux_ticks)} |",
        f"| Mouse press on the picture to count shown, median / max of {len(clicks)} | "
        f"{rb.median(clicks):.1f} / {max(clicks):.1f} ms | – |",
        "",
    ]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--linux", default=str(rb.ROOT / "build" / "default"))
    parser.add_argument("--web", default=str(rb.ROOT / "build" / "web"))
    parser.add_argument("--bench-site", default=str(rb.ROOT / "build" / "wasm" / "bench-site"))
    parser.add_argument("--runs", type=int, default=9, help="page loads")
    parser.add_argument("--rounds", type=int, default=1, help="rounds per speed")
    parser.add_argument("--presses", type=int, default=15, help="clicks timed")
    parser.add_argument("--docs", default=str(rb.ROOT / "docs"))
    args = parser.parse_args()
    started = time.strftime("%Y-%m-%d %H:%M %Z")
    clock_start = time.monotonic()
    site, bench_site = Path(args.web), Path(args.bench_site)
    weight = page_weight(site)
    with web.Site(str(site)) as game_site, web.Site(str(bench_site)) as bench:
        frames = first_frames(game_site.url, args.runs)
        clicks = click_latencies(game_site.url, args.presses)
        played = web_rounds(bench.url, args.rounds)
    linux_startup, linux_played = linux_side(Path(args.linux), args.runs, args.rounds)
    section = report(weight, frames, linux_startup, clicks, played, linux_played, started,
                     time.monotonic() - clock_start)
    rb.splice(Path(args.docs) / "PERFORMANCE.md", MARK, section)
    # `make bench` rewrites PERFORMANCE.md and puts this section back from here.
    (rb.ROOT / "bench" / "web-results.md").write_text(section)
    print(section)


if __name__ == "__main__":
    main()
