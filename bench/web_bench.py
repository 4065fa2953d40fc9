#!/usr/bin/python3
"""Measures the browser build in headless Chromium against the Linux build, in the same
run, and writes the "In the browser" section of docs/PERFORMANCE.md.

    /usr/bin/python3 bench/web_bench.py --linux build/default --web build/web

Page weight is what a browser downloads: each file as sent brotli- or gzip-compressed.
First frame is the time from navigation to the first animation frame after the game's
window is there: in a fresh browser profile each time, against the Linux build's time
from process start to its first drawing on Xvfb; and through a throttled connection
(10 Mbit/s down, 40 ms latency), cold in a fresh profile and again on a repeat visit,
which the service worker serves. Ticks per round come from the bench build of the game
(`quorvel_bench round SPEED`) in a page of its own, in Chromium, Firefox and WebKit,
and on Linux, each against the ideal for the clock step in force (the same program
works that out on a clock that moves only while the game waits). Frame gaps are the
longest time between two animation frames of the page during a round. Click-to-count is the time from a real
mouse press on the picture (the page's own pointerdown time stamp) to the clicks label
showing the new count, read through the page's accessibility tree.
"""

import argparse
import json
import subprocess
import time
from pathlib import Path

import run_bench as rb
from drivers import browser as web, screen as scr
from drivers.serve_web import Link
from drivers.xsession import Session, wait_until

MARK = "<!-- in-the-browser -->"
# What the page is held to: the program's compressed size, the first frame cold through
# the slow line and again from the service worker, the share of the ideal ticks per
# speed in every engine and the longest time between two frames of a round.
WASM_BROTLI_BYTES = 2.56e6
WASM_GZIP_BYTES = 3.30e6
COLD_FIRST_FRAME_MS = 3500
REPEAT_FIRST_FRAME_MS = 1000
TICK_SHARE = {"EASY": 0.97, "MEDIUM": 0.97, "INSANITY": 0.95}
FRAME_GAP_MS = 50
FILES = ("index.html", "qtloader.js", "quorvel.js", "quorvel.wasm", "sw.js")
ENGINES = ("chromium", "firefox", "webkit")
# A player's slow line: 10 Mbit/s down, 40 ms before each answer.
SLOW_LINK = Link(rate=10e6 / 8, latency=0.040)

# Keeps what the page prints (the bench program's result is one JSON line).
CONSOLE_RECORDER = """
window.quorvelLines = [];
const print = console.log.bind(console);
console.log = (...parts) => { quorvelLines.push(parts.join(' ')); print(...parts); };
"""

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
const canvas = document.getElementById('screen');
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
    """Each file's size: plain, gzip and brotli (None where there is no such copy)."""
    def size(path):
        return path.stat().st_size if path.exists() else None
    return {name: (size(site / name), size(site / (name + ".gz")), size(site / (name + ".br")))
            for name in FILES}


def first_frames(url, runs):
    times = []
    for run in range(runs):
        rb.log(f"first frame in Chromium, load {run + 1}/{runs}")
        with web.Browser("chromium") as b:
            times.append(web.Game(b, url).open() * 1000.0)
    return times


def throttled_first_frames(folder, runs):
    """First frames through a slow connection: cold, each in a fresh profile, then
    repeat visits in one profile whose service worker has kept the page. The server
    itself sends through the slow link, so that it slows the page's worker too, which
    the browser's own throttling would leave out."""
    cold = []
    with web.Site(folder, link=SLOW_LINK) as site:
        url = site.url
        for run in range(runs):
            rb.log(f"cold first frame through 10 Mbit/s, load {run + 1}/{runs}")
            with web.Browser("chromium") as b:
                cold.append(web.Game(b, url).open() * 1000.0)
        repeat = repeat_first_frames(url, runs)
    return cold, repeat


def repeat_first_frames(url, runs):
    repeat = []
    with web.Browser("chromium") as b:
        game = web.Game(b, url)
        game.open()
        wait_until(lambda: game.script("return !!navigator.serviceWorker.controller"),
                   60.0, "the service worker to keep the page", 0.5)
        for run in range(runs):
            rb.log(f"repeat first frame through 10 Mbit/s, load {run + 1}/{runs}")
            repeat.append(game.open() * 1000.0)
    return repeat


def click_latencies(url, presses):
    with web.Browser("chromium") as b:
        game = web.Game(b, url)
        game.open()
        latencies = []
        b.driver.set_script_timeout(5)
        for press in range(presses):
            game.script(ARM_CLICK_TIMER)
            game.click(*scr.centre(scr.PIC_START))
            latencies.append(b.execute_async_script("window.quorvelClick.then(arguments[0]);"))
            time.sleep(0.6)   # never a double-click
        return latencies


def web_rounds(bench_url, rounds, engine):
    played = []
    for repeat in range(rounds):
        for speed in rb.SPEEDS:
            rb.log(f"round at {speed} in {engine}, {repeat + 1}/{rounds}")
            with web.Browser(engine) as b:
                game = web.Game(b, f"{bench_url}?QUORVEL_BENCH=round%20{speed}")
                game.open()
                game.script(FRAME_RECORDER + CONSOLE_RECORDER)

                def printed():
                    line = game.script("return quorvelLines.find(l => l.startsWith('{'));")
                    return json.loads(line) if line else None
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
    with Session(screen=rb.SCREEN) as x:
        watch = rb.WindowWatch(x.display, x.tmp)
        startup = [watch.run([str(build / "quorvel")], idle_ms=rb.IDLE_MS,
                             prints_result=False).first_damage_ms for _ in range(runs)]
        played = []
        for _ in range(rounds):
            for speed in rb.SPEEDS:
                played.append(watch.run([str(build / "bench/quorvel_bench"), "round", speed]).output)
    return startup, played


def report(weight, frames, throttled, linux_startup, clicks, played, linux_played, started,
           elapsed):
    """`played` holds each engine's rounds."""
    ticks = {engine: rb.tick_figures(rounds) for engine, rounds in played.items()}
    linux = rb.tick_figures(linux_played)
    engines = list(played)

    def mb(size):
        return f"{size / 1e6:.2f} MB" if size >= 10000 else f"{size / 1000:.1f} kB"

    def spread(values):
        return rb.spread(values, digits=0)

    def round_ticks(f):
        share = min(t / i * 100 for t, i in zip(f["ticks"], f["ideal"]))
        return (f"{rb.listed(f['ticks'])} of {rb.listed(f['ideal'])}: {share:.1f} %, "
                f"{f['interval_median_ms']:.1f} ms")

    def posted(figures):
        """Posted clicks' latencies over every speed, as "median / max" in ms."""
        us = [c for speed in rb.SPEEDS for c in figures[speed]["clicks"]]
        return f"{rb.median(us) / 1000:.2f} / {max(us) / 1000:.2f} ms"

    sizes = [(f"`{name}`", mb(plain), mb(gz) if gz else "–", mb(br) if br else "–")
             for name, (plain, gz, br) in weight.items()]
    sizes.append(("All", "", mb(sum(g or p for p, g, _ in weight.values())),
                  mb(sum(b or p for p, _, b in weight.values()))))
    loads = [
        (f"Chromium, from navigation, {len(frames)} loads", spread(frames)),
        (f"Chromium through the slow line (10 Mbit/s, 40 ms), cold, {len(throttled[0])} loads",
         spread(throttled[0])),
        (f"Chromium through the slow line, repeat visit (service worker), "
         f"{len(throttled[1])} loads", spread(throttled[1])),
        (f"Linux (xcb), from process start, {len(linux_startup)} runs", spread(linux_startup)),
    ]
    compared = [(f"Ticks in a round at {speed} (of the ideal for the clock step), interval "
                 "median", *(round_ticks(ticks[e][speed]) for e in engines),
                 f"{rb.listed(linux[speed]['ticks'])} of {rb.listed(linux[speed]['ideal'])}, "
                 f"{linux[speed]['interval_median_ms']:.1f} ms") for speed in rb.SPEEDS]
    compared += [(f"Tick work at {speed}, median / p99",
                  *(rb.work_cell(ticks[e][speed]) for e in engines), rb.work_cell(linux[speed]))
                 for speed in rb.SPEEDS]
    compared += [
        ("Longest time between two frames during a round",
         *(f"{max(r['frame_gap_ms'] for r in played[e]):.1f} ms" for e in engines), "–"),
        ("Click posted in a wait to count shown, median / max",
         *(posted(ticks[e]) for e in engines), posted(linux)),
    ]
    names = ["WebKit" if e == "webkit" else e.capitalize() for e in engines]
    name_of = dict(zip(engines, names))

    def at_most(figure, yardstick, value, limit, shown):
        return (figure, yardstick, f"≤ {shown(limit)}", shown(value), rb.verdict(value <= limit))
    _, wasm_gz, wasm_br = weight["quorvel.wasm"]
    held = [
        at_most("`quorvel.wasm`, brotli -q 11", "none (a count of bytes)", wasm_br,
                WASM_BROTLI_BYTES, lambda v: f"{v:,.0f} bytes"),
        at_most("`quorvel.wasm`, gzip -9", "none (a count of bytes)", wasm_gz,
                WASM_GZIP_BYTES, lambda v: f"{v:,.0f} bytes"),
        at_most("First frame in Chromium through the slow line, cold, median of "
                f"{len(throttled[0])}", "none", rb.median(throttled[0]), COLD_FIRST_FRAME_MS,
                lambda v: f"{v:.0f} ms"),
        at_most("First frame in Chromium through the slow line, repeat visit (service "
                f"worker), median of {len(throttled[1])}", "none", rb.median(throttled[1]),
                REPEAT_FIRST_FRAME_MS, lambda v: f"{v:.0f} ms"),
    ]
    for e in engines:
        for speed in rb.SPEEDS:
            f = ticks[e][speed]
            share = min(t / i for t, i in zip(f["ticks"], f["ideal"]))
            held.append((f"Ticks in a round at {speed}, {name_of[e]}",
                         "the ideal for the clock step in force",
                         f"≥ {TICK_SHARE[speed]:.2f}×", f"{share:.3f}× ({rb.listed(f['ticks'])} "
                         f"of {rb.listed(f['ideal'])})", rb.verdict(share >= TICK_SHARE[speed])))
        gap = max(r["frame_gap_ms"] for r in played[e])
        held.append(at_most(f"Longest time between two frames during a round, {name_of[e]}",
                            "none", gap, FRAME_GAP_MS, lambda v: f"{v:.1f} ms"))
    return "\n".join([
        MARK,
        "## In the browser",
        "",
        "The browser build (`make web`: Qt 6.8 for WebAssembly, emscripten, Asyncify) "
        f"served on 127.0.0.1, in Debian's headless {chromium_version()}, and in Firefox "
        "ESR and WebKitGTK's MiniBrowser on Xvfb, against the Linux build in the same run; "
        f"measured {started} in {elapsed:.0f} s by `bench/web_bench.py` on this machine's "
        f"{rb.nproc()} cores. The slow line is the server's own: 10 Mbit/s that every "
        "request shares, and 40 ms before each answer starts.",
        "",
        rb.table(rb.HEADER, held),
        "",
        rb.table(("File", "Size", "gzip -9", "brotli -q 11"), sizes),
        "",
        rb.table(("First frame, median (min–max)", "Time"), loads),
        "",
        rb.table(("", *names, "Linux (xcb)"), compared),
        "",
        f"A mouse press on the picture to the count shown, in Chromium, median / max of "
        f"{len(clicks)}: {rb.median(clicks):.1f} / {max(clicks):.1f} ms.",
        "",
    ])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--linux", default=str(rb.ROOT / "build" / "default"))
    parser.add_argument("--web", default=str(rb.ROOT / "build" / "web"))
    parser.add_argument("--bench-site", default=str(rb.ROOT / "build" / "wasm" / "bench-site"))
    parser.add_argument("--runs", type=int, default=9, help="page loads")
    parser.add_argument("--rounds", type=int, default=1, help="rounds per speed")
    parser.add_argument("--presses", type=int, default=15, help="clicks timed")
    parser.add_argument("--throttled-runs", type=int, default=5,
                        help="page loads through a slow connection, cold and repeat")
    parser.add_argument("--engines", nargs="+", default=list(ENGINES), choices=ENGINES)
    parser.add_argument("--docs", default=str(rb.ROOT / "docs"))
    args = parser.parse_args()
    started = time.strftime("%Y-%m-%d %H:%M %Z")
    clock_start = time.monotonic()
    site, bench_site = Path(args.web), Path(args.bench_site)
    weight = page_weight(site)
    with web.Site(str(site)) as game_site, web.Site(str(bench_site)) as bench:
        frames = first_frames(game_site.url, args.runs)
        throttled = throttled_first_frames(str(site), args.throttled_runs)
        clicks = click_latencies(game_site.url, args.presses)
        played = {engine: web_rounds(bench.url, args.rounds, engine) for engine in args.engines}
    linux_startup, linux_played = linux_side(Path(args.linux), args.runs, args.rounds)
    section = report(weight, frames, throttled, linux_startup, clicks, played, linux_played,
                     started, time.monotonic() - clock_start)
    rb.splice(Path(args.docs) / "PERFORMANCE.md", MARK, section)
    # `make bench` rewrites PERFORMANCE.md and puts this section back from here.
    (rb.ROOT / "bench" / "web-results.md").write_text(section)
    print(section)


if __name__ == "__main__":
    main()
