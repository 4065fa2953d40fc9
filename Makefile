# Two commands for players and contributors: `make run` and `make test`.
# Everything else is here for developers; see README.md.

PRESET ?= default
BUILD  := build/$(PRESET)
JOBS   ?= $(shell nproc)
# Where the tests' and benchmarks' Python finds the drivers they share (tests/drivers/).
export PYTHONPATH := $(CURDIR)/tests

.PHONY: all deps configure build run test test-asan e2e bench package test-on windows test-windows bench-windows web serve-web test-web bench-web release release-check clean

all: build

deps:
	@sh tools/install-deps.sh

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	$(BUILD)/quorvel

test: build
	ctest --preset $(PRESET) -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first report. The package test is left out: it packs a release build.
test-asan:
	$(MAKE) build PRESET=asan
	ctest --preset asan -j $(JOBS) --label-exclude package

# The Debian package, $(BUILD)/quorvel_<version>_<arch>.deb, made by CPack.
package: build
	cd $(BUILD) && cpack

# Start-up, memory, tick, click and gallery timings against a bare Qt window, under
# Xvfb, in a few minutes; rewrites docs/PERFORMANCE.md and docs/tick-intervals.svg.
# BEFORE=<a built clone of an earlier commit> times its game in the same start-up runs
# (here and in bench-windows).
bench: build
	cmake --build --preset $(PRESET) -j $(JOBS) --target barewindow floorwindow quorvel_bench
	/usr/bin/python3 bench/run_bench.py --build $(BUILD) \
		$(if $(BEFORE),--before $(BEFORE)/$(BUILD))

# `make test` on a fresh minimal Debian of another release, DIST=trixie or bookworm,
# in a debootstrap chroot with only make added and a clean clone of HEAD (root only);
# TARGET=... runs another target there instead, such as test-windows.
test-on:
	@test -n "$(DIST)" || { echo "usage: make test-on DIST=trixie [TARGET=test-windows]"; exit 2; }
	bash tools/test-on.sh $(DIST) $(TARGET)

# The game for 64-bit Windows, cross-compiled with MinGW-w64:
# build/windows/quorvel-<version>-win64.zip and, beside it, the setup program
# quorvel-<version>-win64-setup.exe (NSIS). Qt for MinGW is built from source
# the first time (about 11 minutes on two idle cores) and kept in ~/.cache/quorvel, or
# wherever QUORVEL_QT_MINGW points.
windows: deps
	bash tools/build-qt-mingw.sh
	QUORVEL_QT_MINGW="$$(bash tools/build-qt-mingw.sh --prefix)" && export QUORVEL_QT_MINGW && \
	{ test -f build/windows/CMakeCache.txt || cmake --preset windows; }
	cmake --build --preset windows -j $(JOBS)

# The Windows build's tests under Wine, and the zip's smoke test on a private Xvfb.
test-windows: windows
	ctest --preset windows -j $(JOBS)

# Start-up and tick work of the Windows build under Wine against the Linux build, in
# one run; writes the "Under Wine" section of docs/PERFORMANCE.md.
bench-windows: build windows
	cmake --build --preset $(PRESET) -j $(JOBS) --target barewindow quorvel_bench
	cmake --build --preset windows -j $(JOBS) --target barewindow quorvel_bench
	/usr/bin/python3 bench/wine_bench.py --linux $(BUILD) --windows build/windows \
		$(if $(BEFORE),--before $(BEFORE)/build/windows)

# The game in a web page: build/web/, a folder of static files for any web server.
# Built with Qt 6.8 for WebAssembly and Debian 13's emscripten: on Debian 13 here, on
# Debian 12 (as root) in a Debian 13 system that tools/web.sh makes and keeps in
# ~/.cache/quorvel. The first build takes about 20 minutes on two cores.
web:
	bash tools/web.sh

# The page on http://127.0.0.1:<port>/, for playing it here.
serve-web: web
	/usr/bin/python3 -m drivers.serve_web build/web

# The page end to end in headless Chromium, and in Firefox ESR and WebKitGTK's
# MiniBrowser on a private Xvfb.
test-web: web
	bash tools/web.sh --browsers
	ctest --preset web

# Page weight, first frame (also through a throttled connection, cold and from the
# service worker), ticks per round and frame gaps in Chromium, Firefox and WebKit, and
# click-to-count latency, against the desktop build; writes the "In the browser"
# section of docs/PERFORMANCE.md.
bench-web: build web
	bash tools/web.sh --browsers
	cmake --build --preset $(PRESET) -j $(JOBS) --target quorvel_bench
	bash tools/web.sh quorvel_bench_page
	/usr/bin/python3 bench/web_bench.py --linux $(BUILD) --web build/web \
		--bench-site build/wasm/bench-site

# A release into dist/, from the last commit: the .deb, the Windows zip and setup
# program, the page as a .tar.gz, and SHA256SUMS; the same bytes from any clone of the
# commit, at any time (tools/release.sh). Refuses a tree with uncommitted changes.
release:
	bash tools/release.sh

# The release of the last commit made twice, from clones at two paths, the second an
# hour later by its clock and in another time zone; fails, naming the files and showing
# diffoscope's report, unless both give the same SHA256SUMS (tools/release-check.sh).
release-check:
	bash tools/release-check.sh

clean:
	rm -rf build
