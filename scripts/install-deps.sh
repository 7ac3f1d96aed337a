#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing SDKCore needs.
# As root it runs apt-get itself; otherwise it prints the exact command and fails.
#
# Arguments name extra targets, installed only when asked for:
#   arm64, armhf  the cross compiler, the target's OpenSSL, GoogleTest and ICU (the tests'
#                 referee) as multiarch packages, and qemu-user, for `make test-arm64` /
#                 `make test-armhf`
#   zig           zig from PyPI (the ziglang package, with pip), for `make build-apple`
set -euo pipefail

packages=(
  g++ clang cmake ninja-build pkg-config make valgrind
  libssl-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  # The tests' referees for the library's own Unicode: ICU, and the Unicode Character Database
  # that the committed tables are generated from (a test regenerates them).
  libicu-dev unicode-data python3
  tzdata openjdk-17-jdk-headless junit4
  # The Java tests shrink a host with the jar's own rules, as an app's release build does.
  proguard-cli
  # The tests convert a key with the openssl program, as a merchant would; the Swift package's
  # tests decrypt tokens with it.
  openssl
  # The sanitizer and libFuzzer runtimes of clang: only a recommended package of clang, which
  # --no-install-recommends leaves out.
  libclang-rt-14-dev
)
architectures=()
want_zig=0

for target in "$@"; do
  case "$target" in
    arm64 | armhf)
      architectures+=("$target")
      # libc6:<arch> brings the dynamic loader that runs target programs under qemu-user.
      packages+=(crossbuild-essential-"$target" qemu-user-static libc6:"$target"
        libicu-dev:"$target" libssl-dev:"$target" libgtest-dev:"$target" libgmock-dev:"$target")
      ;;
    zig)
      # zig comes from PyPI; pip, from Debian, installs it once the Debian packages are in.
      packages+=(python3-pip)
      want_zig=1
      ;;
    *)
      echo "install-deps: unknown target '$target' (known: arm64, armhf, zig)" >&2
      exit 2
      ;;
  esac
done

# An archive mirror in the middle of a sync serves an index of the wrong size, and apt-get update
# then fails for that index alone. Try again a few times; if it still fails, go on with the indexes
# that did download (apt keeps the old copy of the one that did not, or none).
update_indexes() {
  local attempt
  for attempt in 1 2 3; do
    if apt-get update -qq -o Acquire::Retries=3 >/dev/null 2>/tmp/sdkcore-apt-update.err; then
      return 0
    fi
    sleep $((attempt * 3))
  done
  echo "install-deps: some package indexes failed to download; going on with the others:" >&2
  grep -E '^(E|W):' /tmp/sdkcore-apt-update.err | head -5 >&2
}

# The highest version of package $1 that every architecture in needed_architectures offers, or
# nothing.
common_version() {
  local package=$1 arch versions common=""
  for arch in "${needed_architectures[@]}"; do
    versions=$(apt-cache madison "$package:$arch" 2>/dev/null | awk -F'|' '{gsub(/ /, "", $2); print $2}' |
      sort -u)
    if [ -z "$common" ]; then
      common=$versions
    else
      common=$(comm -12 <(echo "$common") <(echo "$versions"))
    fi
    [ -n "$common" ] || return 0
  done
  local best="" v
  for v in $common; do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  echo "$best"
}

# Sets 'requests' to the packages named in the arguments less those that a pin already names: a
# bare name would ask for the candidate version against the pin.
requests=()
unpinned() {
  requests=()
  local p pin
  for p in "$@"; do
    for pin in "${pins[@]}"; do
      [[ ${pin%%=*} == "${p%%:*}:${p#*:}" || ${pin%%=*} == "$p:$native" ]] && continue 2
    done
    requests+=("$p")
  done
}

# The indexes of one architecture can lag behind another's (a security update built for amd64
# first, or an index that failed to download), while a "Multi-Arch: same" package must have the
# same version on every architecture. While apt cannot resolve the install, pin each such package
# that it names to the newest version that all needed architectures offer, even if that moves a
# host package back. Sets the array 'pins' (package:arch=version arguments for apt-get).
pins=()
resolve_versions() {
  local round log names name version arch pinned=" "
  for round in 1 2 3 4 5 6 7 8; do
    unpinned "$@"
    log=$(apt-get install -s --no-install-recommends --no-remove --allow-downgrades "${requests[@]}" \
      "${pins[@]}" 2>&1) && return 0
    # Every package that an "unmet dependencies" line names: the one that depends, and those it
    # depends on (with or without an architecture).
    names=$(echo "$log" | sed -n '/unmet dependencies/,$p' | grep '^ ' |
      sed -E 's/^ +//; s/ : [A-Za-z-]+: / /; s/^[A-Za-z-]+: //; s/ \(.*//; s/ but .*//' | tr ' ' '\n' |
      grep -E '^[a-z0-9][a-z0-9.+-]+(:[a-z0-9]+)?$' | sed 's/:.*//' | sort -u)
    local progress=0
    for name in $names; do
      case "$pinned" in *" $name "*) continue ;; esac
      apt-cache show --no-all-versions "$name" 2>/dev/null | grep -q '^Multi-Arch: same' || continue
      version=$(common_version "$name")
      if [ -z "$version" ]; then
        echo "install-deps: no version of $name is offered for all of: ${needed_architectures[*]}" >&2
        exit 1
      fi
      echo "install-deps: $name $version on ${needed_architectures[*]} (their common version)" >&2
      for arch in "${needed_architectures[@]}"; do pins+=("$name:$arch=$version"); done
      pinned+="$name "
      progress=1
    done
    if [ $progress -eq 0 ]; then
      echo "install-deps: apt cannot install the packages:" >&2
      echo "$log" | sed -n '/unmet dependencies/,$p' >&2
      exit 1
    fi
  done
}

native=$(dpkg --print-architecture)
missing=()
for p in "${packages[@]}"; do
  # A name without an architecture means the host's own (or "all"), not a foreign twin.
  wanted=$([[ $p == *:* ]] && echo "${p#*:}" || echo "($native|all)")
  if ! dpkg-query -W -f='${Status} ${Architecture}\n' "${p%%:*}" 2>/dev/null |
    grep -qE "^install ok installed $wanted\$"; then
    missing+=("$p")
  fi
done

# zig from PyPI, beside a Python that Debian manages (PIP_BREAK_SYSTEM_PACKAGES).
install_zig() {
  [ "$want_zig" -eq 1 ] || return 0
  python3 -m ziglang version >/dev/null 2>&1 && return 0
  echo "Installing: ziglang (pip)" >&2
  PIP_BREAK_SYSTEM_PACKAGES=1 python3 -m pip install --quiet ziglang
}

if [ ${#missing[@]} -eq 0 ]; then
  install_zig
  exit 0
fi

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
update_indexes
# The host's own architecture and every foreign one asked for: packages marked "Multi-Arch: same"
# must have one version on all of them.
needed_architectures=("$native" "${architectures[@]}")
# Every package of the list, not only the missing ones, and no removal: a resolution that
# drops an installed host package (a -dev package whose foreign twin wants another version) must
# fail and be resolved by a pin instead.
resolve_versions "${packages[@]}"
unpinned "${packages[@]}"
apt-get install -y -qq --no-install-recommends --no-remove --allow-downgrades "${requests[@]}" \
  "${pins[@]}" >/dev/null
install_zig
