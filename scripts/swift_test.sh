#!/usr/bin/env bash
# `make swift-test`: the Swift package at the root built by the package manager from the sources
# alone (no CMake, no installed library), then its tests and the README's example.
#
# nlohmann/json, the package's dependency, resolves to a local stand-in for its repository, made
# from the system's headers (scripts/json_package_mirror.py), through the package manager's mirror
# setting: this machine fetches no package. Warnings fail the run, the Swift compiler's, the C and
# C++ compilers' (with the project's warning flags) and the package manager's own.
#
#   scripts/swift_test.sh [extra swift build flags...]     (JOBS: parallel jobs, default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

# Where PATH names no toolchain, the one installed under /opt/swift serves, placed last on PATH so
# that its clang never shadows the system's.
if ! command -v swift >/dev/null && [ -x /opt/swift/usr/bin/swift ]; then
  PATH=$PATH:/opt/swift/usr/bin
fi
if ! command -v swift >/dev/null; then
  echo "swift-test: no Swift toolchain (swift) on PATH or in /opt/swift" >&2
  exit 2
fi

# The mirror's directory name is the identity of the package it stands in for.
mirror=$PWD/.build/mirrors/json
python3 scripts/json_package_mirror.py "$mirror"
swift package config set-mirror --original https://github.com/nlohmann/json --mirror "$mirror"

warnings=(-Wall -Wextra -Wpedantic -Werror)
flags=(-j "${JOBS:-2}" -Xswiftc -warnings-as-errors)
for flag in "${warnings[@]}"; do flags+=(-Xcc "$flag" -Xcxx "$flag"); done
# The package manager's own build system compiles C++20 with clang's standard C++ modules on,
# under which a header of another target's module map (json's) cannot be included textually.
flags+=(-Xcxx -fno-cxx-modules)
flags+=("$@")

log=$(mktemp)
trap 'rm -f "$log"' EXIT
swift build --build-tests "${flags[@]}" 2>&1 | tee "$log"
if grep -q "warning:" "$log"; then
  echo "swift-test: the build gave warnings:" >&2
  grep "warning:" "$log" | sort -u >&2
  exit 1
fi

# One test at a time: the resident-size test measures the whole process.
swift test --skip-build --no-parallel "${flags[@]}"

token=$(.build/debug/Example cli/demo_key/demo_public.pem 2>/dev/null)
if ! [[ $token =~ ^[A-Za-z0-9+/]+=*$ ]]; then
  echo "swift-test: the example printed no token: $token" >&2
  exit 1
fi
echo "swift-test: the example made a token"
