# make run   installs what is missing, builds and starts the application
# make test  installs what is missing, builds with ASan+UBSan and runs every test
# make bench builds the optimised tree and runs the benchmarks
# make shots builds the screenshot program and writes a PNG of every scene under Xvfb
JOBS ?= $(shell nproc)
BUILD_DIR ?= build/release
TEST_DIR ?= build/sanitize
SHOTS_DIR ?= build/shots

.PHONY: run test bench build deps shots

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
