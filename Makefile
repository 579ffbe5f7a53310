# Thin wrapper: every target installs what is missing first, then builds with CMake.
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
WIN_BUILD ?= build-win
WIN_ZIP ?= dist/brentoval-windows.zip
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
# ccache (CMake finds it when it configures, after deps has installed it) keyed on paths relative
# to the build so clones and worktrees share it.
export CCACHE_BASEDIR ?= $(abspath ..)

# The Windows build's cache options reach its script as typed: make would otherwise expand "$" in
# them ("Ph@rma$2026" became "Ph@rma026").
override WIN_CMAKE_ARGS := $(value WIN_CMAKE_ARGS)
export WIN_CMAKE_ARGS

.PHONY: deps build run test test-asan test-windows windows windows-args bench fuzz soak clean

deps:
	@bash scripts/deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/src/brentoval

# The whole suite, then the same suite under the sanitizers, then a short run of every fuzz target,
# then the Windows build of the tests under wine (when the Windows kit is beside the project).
test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 900
	@$(MAKE) --no-print-directory test-asan
	@FUZZ_BUILD=$(abspath $(FUZZ_BUILD)) FUZZ_SECONDS=5 JOBS=$(JOBS) bash fuzz/run-fuzz.sh
	@$(MAKE) --no-print-directory test-windows

# Cross-compiled with ../shared/windows-kit: the program and its tests, packed as $(WIN_ZIP).
windows: deps
	@JOBS=$(JOBS) bash scripts/windows.sh build $(WIN_BUILD) $(WIN_ZIP)

# The words WIN_CMAKE_ARGS gives the Windows configure step, one a line.
windows-args:
	@bash scripts/windows.sh args

test-windows: deps
	@JOBS=$(JOBS) bash scripts/windows.sh test $(WIN_BUILD) $(WIN_ZIP)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENTOVAL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 900

# A day on a bad line, long: random order actions of four processes under random faults on a
# PostgreSQL cluster of its own; SOAK_SEED repeats a run.
SOAK_ACTIONS ?= 10000
soak: build
	@$(BUILD)/tests/soak/brentoval_soak --actions $(SOAK_ACTIONS) $(if $(SOAK_SEED),--seed $(SOAK_SEED))

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENTOVAL_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target brentoval_bench
	@state=$(abspath $(BENCH_BUILD))/pg-state; \
	  bash tests/pg/pg-cluster.sh start $$state >/dev/null || state=; \
	  BRENTOVAL_PG_STATE=$$state ODBCSYSINI=$$state ODBCINI=$$state/odbc.ini QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/bench/brentoval_bench; \
	  rc=$$?; [ -z "$$state" ] || bash tests/pg/pg-cluster.sh stop $$state >/dev/null; exit $$rc

fuzz: deps
	@FUZZ_BUILD=$(abspath $(FUZZ_BUILD)) FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) bash fuzz/run-fuzz.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(WIN_BUILD) dist
