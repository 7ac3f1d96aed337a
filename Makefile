# The one front door: `make test` and `make demo` install what is missing, configure, build and run.
BUILD_DIR ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

PREFIX ?= /usr/local
BENCH_DIR ?= build-bench
BENCH_REPETITIONS ?= 9

.PHONY: all deps configure build test demo install bench clean format

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Builds the library and installs it with its headers, resource bundle, CMake package and
# pkg-config file under PREFIX: `make install PREFIX=DIR`.
install: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target sdkcore_installable
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The demo builds only the program, quietly: the build log is shown only when the build fails.
demo: configure
	@echo "Building the sdkcore program (quietly; this takes a few minutes the first time)..."
	@log=$$(mktemp); \
	if ! cmake --build $(BUILD_DIR) -j $(JOBS) --target sdkcore_cli >$$log 2>&1; then \
	  cat $$log; rm -f $$log; exit 1; \
	fi; rm -f $$log
	@scripts/demo.sh $(BUILD_DIR)

# Builds the benchmark program in Release and runs it: a short table of medians, then the ratios
# (the last lines); the full results go to $(BENCH_DIR)/bench.json. Repetitions run in random
# order, so that a slow spell of the machine does not fall on one benchmark alone.
bench: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DSDKCORE_BUILD_BENCHMARKS=ON \
	  -DSDKCORE_BUILD_TESTS=OFF -DSDKCORE_BUILD_CLI=OFF -DSDKCORE_BUILD_JAVA=OFF -DSDKCORE_INSTALL=OFF \
	  $(CMAKE_FLAGS) >/dev/null
	@log=$$(mktemp); \
	if ! cmake --build $(BENCH_DIR) -j $(JOBS) --target sdkcore_benchmark >$$log 2>&1; then \
	  cat $$log; rm -f $$log; exit 1; \
	fi; rm -f $$log
	@$(BENCH_DIR)/benchmarks/sdkcore_benchmark --benchmark_repetitions=$(BENCH_REPETITIONS) \
	  --benchmark_min_time=0.2 --benchmark_enable_random_interleaving=true \
	  --benchmark_out=$(BENCH_DIR)/bench.json --benchmark_out_format=json

format:
	@git ls-files '*.hpp' '*.cpp' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
