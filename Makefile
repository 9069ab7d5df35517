# Entry points. `make test` and `make demo` do the whole set-up themselves
# on a fresh Debian 12 machine.
.PHONY: all setup build build-win64 build-win32 build-native test unit-test wine-test bench fuzz soak demo dist clean

JOBS ?= 2
# Seconds each fuzz target runs in `make fuzz`; `make test` gives each 30.
FUZZ_SECONDS ?= 60

all: build

setup:
	@bash scripts/setup.sh
	@bash scripts/fetch-pcre.sh build/deps

build-win64: setup
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)

# The programs for 32-bit Windows: built, not run (this machine's Wine is
# 64-bit only).
build-win32: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)

build-native: setup
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	cmake --preset native-asan >/dev/null
	cmake --build --preset native-asan -j $(JOBS)

build: build-win64 build-win32 build-native

# The benchmark figures first, then the native unit tests under the
# sanitizers, then the whole suite (native unit tests and the Wine tests) in
# one CTest run, whose summary closes the output; last every fuzz target
# for 30 s.
test: build
	@bash scripts/bench.sh build/native
	ctest --preset native-asan -j $(JOBS)
	ctest --preset native -j $(JOBS)
	@JOBS=$(JOBS) bash scripts/fuzz.sh 30

# The full soak run under Wine: 20,000 windows and 52,000 input events.
soak: build-win64
	TARNELIX_WINE_ROOT=$(CURDIR)/build/wine bash scripts/wine-run.sh --name soak-full \
	  --program-dir $(CURDIR)/build/win64/bin --exe $(CURDIR)/build/win64/tests/SoakRun.exe --timeout 3600 -- --rounds=4000

fuzz: setup
	@JOBS=$(JOBS) bash scripts/fuzz.sh $(FUZZ_SECONDS)

bench: build-native
	@bash scripts/bench.sh build/native --strict

# dist/Tarnelix-<version>-win64.zip, dist/TarnelixSetup-<version>.exe and the
# signed files for the update server. Set TARNELIX_SIGNING_KEY to the release
# key's PEM file; the win64 tree is configured again so that TarnelixCtrl.exe
# embeds the public half of the same key.
dist: build-win64
	@bash scripts/dist.sh build/win64 dist

demo: build-win64
	@bash scripts/demo.sh

clean:
	rm -rf build/native build/native-asan build/win64 build/win32 build/wine build/demo build/fuzz dist
