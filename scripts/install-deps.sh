#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing SDKCore needs.
# As root it runs apt-get itself; otherwise it prints the exact command and fails.
set -euo pipefail

packages=(
  g++ clang cmake ninja-build pkg-config make valgrind
  libicu-dev libssl-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  tzdata openjdk-17-jdk-headless junit4
  # The tests convert a key with the openssl program, as a merchant would; the Swift package's
  # tests decrypt tokens with it.
  openssl
  # The sanitizer and libFuzzer runtimes of clang: only a recommended package of clang, which
  # --no-install-recommends leaves out.
  libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "SDKCore needs these Debian packages: ${missing[*]}" >&2
  echo "Run as root:  apt-get update && $cmd" >&2
  exit 1
fi

echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
