# Two commands for players and contributors: `make run` and `make test`.
# Everything else is here for developers; see README.md.

PRESET ?= default
BUILD  := build/$(PRESET)
JOBS   ?= $(shell nproc)

.PHONY: all deps configure build run test test-asan e2e bench package clean test-on

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
bench: build
	/usr/bin/python3 bench/run_bench.py --build $(BUILD)

# `make test` on a fresh minimal Debian of another release, DIST=trixie or bookworm,
# in a debootstrap chroot with only make added and a clean clone of HEAD (root only).
test-on:
	@test -n "$(DIST)" || { echo "usage: make test-on DIST=trixie"; exit 2; }
	bash tools/test-on.sh $(DIST)

clean:
	rm -rf build
