# Thin wrapper: every target installs what is missing first, then builds with CMake.
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

.PHONY: deps build run test test-asan bench fuzz clean

deps:
	@bash scripts/deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/src/brentoval

# The whole suite, then the same suite under the sanitizers, then a short run of every fuzz target.
test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 900
	@$(MAKE) --no-print-directory test-asan
	@FUZZ_BUILD=$(abspath $(FUZZ_BUILD)) FUZZ_SECONDS=5 JOBS=$(JOBS) bash fuzz/run-fuzz.sh

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENTOVAL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 900

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENTOVAL_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target brentoval_bench
	@QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/bench/brentoval_bench

fuzz: deps
	@FUZZ_BUILD=$(abspath $(FUZZ_BUILD)) FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) bash fuzz/run-fuzz.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
