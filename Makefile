# make run   installs what is missing, builds and starts the application
# make test  installs what is missing, builds with ASan+UBSan and runs every test
# make bench builds the optimised tree and runs the benchmarks
# make shots builds the screenshot program and writes a PNG of every scene under Xvfb
# make tsan  builds with ThreadSanitizer and runs every test
# make fuzz  builds the fuzz targets (clang, libFuzzer, ASan+UBSan) and runs each for FUZZ_SECONDS on its seeds
JOBS ?= $(shell nproc)
BUILD_DIR ?= build/release
TEST_DIR ?= build/sanitize
SHOTS_DIR ?= build/shots
TSAN_DIR ?= build/tsan
FUZZ_DIR ?= build/fuzz
FUZZ_SECONDS ?= 5
FUZZ_JOBS ?= 3

.PHONY: run test bench build deps shots tsan fuzz

deps:
	@./scripts/install-packages.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Orvel looks at the sample home (with its sample app) unless ORVEL_HOME is set; set but empty
# (ORVEL_HOME= make run) it uses the real home folder.
run: build
	@if [ -z "$${ORVEL_HOME+set}" ]; then export ORVEL_HOME="$(abspath $(BUILD_DIR))/sample-home"; fi; \
		exec $(BUILD_DIR)/Orvel/orvel

test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEL_SANITIZE=ON -DORVEL_BUILD_BENCHMARKS=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bench/orvel_bench

shots: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS) --target orvel-shots
	mkdir -p $(SHOTS_DIR) && rm -f $(SHOTS_DIR)/*.png
	QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1200x24" $(BUILD_DIR)/Orvel/shots/orvel-shots $(SHOTS_DIR)

# Reports whose frames lie wholly in uninstrumented system libraries are suppressed in scripts/tsan.supp.
tsan: deps
	cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEL_TSAN=ON -DORVEL_BUILD_BENCHMARKS=OFF
	cmake --build $(TSAN_DIR) -j $(JOBS)
	cd $(TSAN_DIR) && TSAN_OPTIONS="suppressions=$(CURDIR)/scripts/tsan.supp halt_on_error=1 second_deadlock_stack=1" \
		ctest --output-on-failure -j $(JOBS)

fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DORVEL_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target orvel_fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_JOBS=$(FUZZ_JOBS) ./scripts/run-fuzzers.sh $(FUZZ_DIR)
