#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing SDKCore needs.
# As root it runs apt-get itself; otherwise it prints the exact command and fails.
#
# Arguments name extra targets, installed only when asked for:
#   arm64, armhf  the cross compiler, the target's ICU, OpenSSL and GoogleTest (multiarch) and
#                 qemu-user, for `make test-arm64` / `make test-armhf`
#   phone         icu-devtools, to cut the ICU data package of the phone build (`make size`)
set -euo pipefail

packages=(
  g++ clang cmake ninja-build pkg-config make valgrind
  libicu-dev libssl-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  tzdata openjdk-17-jdk-headless junit4 unicode-data
  # The tests convert a key with the openssl program, as a merchant would; the Swift package's
  # tests decrypt tokens with it.
  openssl
  # The sanitizer and libFuzzer runtimes of clang: only a recommended package of clang, which
  # --no-install-recommends leaves out.
  libclang-rt-14-dev
)
architectures=()

for target in "$@"; do
  case "$target" in
    arm64 | armhf)
      architectures+=("$target")
      # libc6:<arch> brings the dynamic loader that runs target programs under qemu-user.
      packages+=(crossbuild-essential-"$target" qemu-user-static icu-devtools libc6:"$target"
        libicu-dev:"$target" libssl-dev:"$target" libgtest-dev:"$target" libgmock-dev:"$target")
      ;;
    phone) packages+=(icu-devtools) ;;
    *)
      echo "install-deps: unknown target '$target' (known: arm64, armhf, phone)" >&2
      exit 2
      ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
new_architectures=()
for a in "${architectures[@]}"; do
  dpkg --print-foreign-architectures | grep -qx "$a" || new_architectures+=("$a")
done
if [ "$(id -u)" -ne 0 ]; then
  echo "SDKCore needs these Debian packages: ${missing[*]}" >&2
  for a in "${new_architectures[@]}"; do echo "Run as root:  dpkg --add-architecture $a" >&2; done
  echo "Run as root:  apt-get update && $cmd" >&2
  exit 1
fi

for a in "${new_architectures[@]}"; do dpkg --add-architecture "$a"; done
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
