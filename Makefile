# The one front door: `make test` and `make demo` install what is missing, configure, build and run.
BUILD_DIR ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

PREFIX ?= /usr/local
BENCH_DIR ?= build-bench
BENCH_REPETITIONS ?= 21
# ccache, where present, serves every build of the project.
CCACHE := $(if $(shell command -v ccache 2>/dev/null),\
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

.PHONY: all deps configure build test test-no-openssl demo install bench clean format sanitize tsan \
  memcheck fuzz test-arm64 test-armhf size cold-start build-apple swift-test generated-sources

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CCACHE) $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The library built without OpenSSL (SDKCORE_WITH_OPENSSL=OFF), as on a phone whose platform
# brings the RSA: builds only that configuration's library, its tests (with the tests' own crypto
# provider) and the Java binding, whose tests run with JdkCryptoProvider, and runs them.
NO_OPENSSL_DIR ?= build-no-openssl
test-no-openssl: deps
	@cmake -S . -B $(NO_OPENSSL_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DSDKCORE_WITH_OPENSSL=OFF $(CCACHE) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(NO_OPENSSL_DIR) -j $(JOBS)
	@cd $(NO_OPENSSL_DIR) && ctest --output-on-failure -j $(JOBS)

# The Swift package at the root, as an app's build compiles it: the package manager builds the
# library from its sources (no CMake build), then the package's tests and the README's example
# run. Needs a Swift 6 toolchain on PATH. SWIFT_BUILD_FLAGS adds flags to swift build and test.
SWIFT_BUILD_FLAGS ?=
swift-test: deps
	@JOBS=$(JOBS) scripts/swift_test.sh $(SWIFT_BUILD_FLAGS)

# Rewrites the committed sources that are generated from other files (the version header from
# the project version, the embedded string tables from the resource bundle); commit the result.
generated-sources:
	@cmake -DUPDATE=ON -P cmake/generated_sources.cmake

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

# The cold start of a host (a fresh process: the core and two card tokens) under callgrind, in
# Release: fails over COLD_START_LIMIT instructions of main().
COLD_START_LIMIT ?= 4000000
cold-start: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DSDKCORE_BUILD_BENCHMARKS=ON \
	  -DSDKCORE_BUILD_TESTS=OFF -DSDKCORE_BUILD_CLI=OFF -DSDKCORE_BUILD_JAVA=OFF -DSDKCORE_INSTALL=OFF \
	  $(CCACHE) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target sdkcore_cold_start >/dev/null
	@scripts/cold_start.sh $(BENCH_DIR)/benchmarks/sdkcore_cold_start cli/demo_key/demo_public.pem \
	  $(COLD_START_LIMIT)

# Instrumented builds with clang, each in a directory of its own (ccache is used when present).
# They leave out the Java and Swift bindings and their tests: neither the JVM nor the Swift runtime
# is instrumented. Tests labelled "timing" run too, but skip their time and memory bounds.
CLANG_CMAKE = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DSDKCORE_BUILD_JAVA=OFF -DSDKCORE_BUILD_BENCHMARKS=OFF \
  $(CCACHE) $(CMAKE_FLAGS)
CHECKS = -fno-omit-frame-pointer -fno-sanitize-recover=all
INSTRUMENTED_CTEST = ctest --output-on-failure -j $(JOBS)
FUZZ_SECONDS ?= 60

# The whole suite under AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer. C
# programs link the C++ part of UBSan (and so the C++ library) too: the library's C++ code in them
# calls it.
sanitize: deps
	@cmake -S . -B build-asan $(CLANG_CMAKE) "-DCMAKE_C_FLAGS=-fsanitize=address,undefined $(CHECKS)" \
	  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined $(CHECKS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize-link-c++-runtime -lstdc++" >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 $(INSTRUMENTED_CTEST)

# The whole suite under ThreadSanitizer. ICU, the tests' referee, is not instrumented, so the locks
# and atomics that guard its internal caches are invisible to it; tests/tsan.supp silences ICU's
# own frames only.
tsan: deps
	@cmake -S . -B build-tsan $(CLANG_CMAKE) "-DCMAKE_C_FLAGS=-fsanitize=thread -fno-omit-frame-pointer" \
	  "-DCMAKE_CXX_FLAGS=-fsanitize=thread -fno-omit-frame-pointer" >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@cd build-tsan && TSAN_OPTIONS="suppressions=$(CURDIR)/tests/tsan.supp halt_on_error=1" \
	  $(INSTRUMENTED_CTEST)

# One token of each variant under valgrind: no memory error, nothing definitely or indirectly lost.
memcheck: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target sdkcore_cli
	@scripts/memcheck.sh $(BUILD_DIR)/sdkcore

# Every libFuzzer target for FUZZ_SECONDS seconds each (make fuzz FUZZ_SECONDS=600 for a campaign).
fuzz: deps
	@cmake -S . -B build-fuzz $(CLANG_CMAKE) -DSDKCORE_BUILD_FUZZERS=ON -DSDKCORE_BUILD_TESTS=OFF \
	  -DSDKCORE_BUILD_CLI=OFF -DSDKCORE_INSTALL=OFF \
	  "-DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link,address,undefined $(CHECKS)" \
	  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined $(CHECKS)" >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@scripts/fuzz.sh build-fuzz $(FUZZ_SECONDS)

# The whole suite built for a phone's processor with Debian's cross compilers and run under
# qemu-user (the Java and Swift bindings aside), in build-arm64/ or
# build-armhf/. armhf has a 32-bit time_t, as 32-bit ARM Android. The first run installs the
# cross packages (scripts/install-deps.sh arm64|armhf). CROSS_TARGETS builds only the given
# targets; CROSS_CTEST adds ctest arguments (-R, -E). Each test program is one ctest test.
CROSS_TRIPLE_arm64 = aarch64-linux-gnu
CROSS_TRIPLE_armhf = arm-linux-gnueabihf
CROSS_CTEST ?=
CROSS_TARGETS ?=
# No debug information: it would double the compile time of cross builds.
CROSS_CMAKE = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG" \
  -DSDKCORE_BUILD_JAVA=OFF -DSDKCORE_BUILD_BENCHMARKS=OFF \
  $(CCACHE) $(CMAKE_FLAGS)

test-arm64 test-armhf: test-%:
	@scripts/install-deps.sh $*
	@cmake -S . -B build-$* -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/$(CROSS_TRIPLE_$*).cmake \
	  $(CROSS_CMAKE) >/dev/null
	@cmake --build build-$* -j $(JOBS) $(if $(CROSS_TARGETS),--target $(CROSS_TARGETS))
	@cd build-$* && ctest --output-on-failure -j $(JOBS) $(CROSS_CTEST)

# What the library adds to an app, built as an app links it (the phone preset) for x86-64, arm64
# and armhf: one table, then the arm64 figures. Fails over the budgets in size/budget.txt (by more
# than 100 KB) or over the limits (on arm64, 4.4 MB with OpenSSL, 1.2 MB without).
size:
	@scripts/install-deps.sh arm64 armhf
	@scripts/size.sh $(CCACHE)

# The static library for an Apple platform, cross-compiled with zig's clang and libc++ without
# OpenSSL, into build-apple/libsdkcore.a (APPLE_TARGET: aarch64-macos or x86_64-macos). The
# first run installs zig from PyPI (scripts/install-deps.sh zig).
APPLE_TARGET ?= aarch64-macos
build-apple:
	@scripts/install-deps.sh zig
	@TARGET=$(APPLE_TARGET) JOBS=$(JOBS) scripts/build-apple.sh build-apple

format:
	@git ls-files '*.hpp' '*.cpp' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(NO_OPENSSL_DIR) build-asan build-tsan build-fuzz build-arm64 build-armhf \
	  build-size build-apple
