#!/usr/bin/env bash
# Builds the library for an Apple platform with zig's clang, its libc++ and the Apple headers it
# bundles (`scripts/install-deps.sh zig` installs zig): every library source under src/, without
# OpenSSL (a phone's platform brings the RSA through a crypto provider), with the project's
# warnings as errors, archived into BUILD_DIR/libsdkcore.a. Every source is compiled even when
# one fails; the failures are listed at the end and the exit status is then 1, with no archive.
#
# Usage: scripts/build-apple.sh [BUILD_DIR]   (default build-apple; TARGET, default aarch64-macos,
#        and JOBS, default 2, from the environment)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-apple}
target=${TARGET:-aarch64-macos}
jobs=${JOBS:-2}
zig=(python3 -m ziglang)

if ! "${zig[@]}" version >/dev/null 2>&1; then
  echo "build-apple: zig is missing; run scripts/install-deps.sh zig" >&2
  exit 2
fi

rm -rf "$build_dir"
generated=$build_dir/generated
mkdir -p "$generated/system/nlohmann" "$build_dir/obj"

# nlohmann/json alone from the system's headers: the rest of /usr/include is Linux's. (The
# version header and the embedded string tables are committed sources.)
cp -R /usr/include/nlohmann/. "$generated/system/nlohmann/"

# Every source, as the Swift package compiles them: those that need OpenSSL compile to nothing
# with SDKCORE_WITH_OPENSSL=0.
mapfile -t sources < <(find src -name '*.cpp' | sort)

# The flags of the CMake build's library (warnings, visibility), for the target.
export BUILD_DIR=$build_dir TARGET_TRIPLE=$target
export CXXFLAGS="-std=c++20 -O2 -DNDEBUG -fvisibility=hidden -fvisibility-inlines-hidden \
-Wall -Wextra -Wpedantic -Werror -DSDKCORE_WITH_OPENSSL=0 -Iinclude -Isrc \
-isystem $generated/system"

# Compiles one source into BUILD_DIR/obj; on failure keeps the compiler's messages in a .log.
compile_one() {
  local source=$1 object
  object=$BUILD_DIR/obj/$(printf '%s' "$source" | sed 's|^\./||; s|/|_|g').o
  # shellcheck disable=SC2086
  if ! python3 -m ziglang c++ -target "$TARGET_TRIPLE" $CXXFLAGS -c "$source" -o "$object" \
    >"$object.log" 2>&1; then
    rm -f "$object"
    echo "$source" >>"$BUILD_DIR/failed.txt"
    return 0
  fi
  rm -f "$object.log"
}
export -f compile_one

printf '%s\n' "${sources[@]}" | xargs -P "$jobs" -I{} bash -c 'compile_one "$1"' _ {}

if [ -s "$build_dir/failed.txt" ]; then
  sort -o "$build_dir/failed.txt" "$build_dir/failed.txt"
  echo "build-apple: $(wc -l <"$build_dir/failed.txt") of ${#sources[@]} sources failed for $target:" >&2
  while IFS= read -r source; do
    log=$build_dir/obj/$(printf '%s' "$source" | sed 's|^\./||; s|/|_|g').o.log
    echo "  $source: $(grep -m1 -E 'error:' "$log" || head -n1 "$log")" >&2
  done <"$build_dir/failed.txt"
  echo "build-apple: the compiler's messages are in $build_dir/obj/*.log" >&2
  exit 1
fi

"${zig[@]}" ar rcs "$build_dir/libsdkcore.a" "$build_dir"/obj/*.o
echo "build-apple: $build_dir/libsdkcore.a for $target (${#sources[@]} sources)"
