#!/usr/bin/env bash
# make size: builds the phone preset (static, size-optimized) for x86-64, arm64 and armhf, and for
# arm64 without OpenSSL, and prints what the library adds to an app: the stripped size of the
# static library, and of a static C program that makes one token less the empty program linked
# the same way, split by origin from the linker map. Fails when an arm64 figure exceeds its limit
# or grows more than 100 KB over its budget in size/budget.txt.
# Usage: scripts/size.sh [cmake arguments for every build, e.g. the compiler launcher]
set -euo pipefail
cd "$(dirname "$0")/.."
extra=("$@")
out=build-size
mkdir -p "$out"

declare -A toolchain=([x86-64]="" [arm64]=aarch64-linux-gnu [armhf]=arm-linux-gnueabihf)
declare -A added

# The bytes that the kept, allocated input sections of a linker map take, by origin:
# "library libcrypto c++-runtime other".
split_map() {
  awk '
    /^Linker script and memory map/ { on = 1; next }
    !on { next }
    /^ [^ *]/ && NF == 1 { pending = $1; next }
    /^ [^ *]/ && NF >= 4 && $2 ~ /^0x/ && $3 ~ /^0x/ { add($1, $3, $4); pending = ""; next }
    pending != "" && $1 ~ /^0x/ && $2 ~ /^0x/ && NF >= 3 { add(pending, $2, $3) }
    { pending = "" }
    function add(section, size, file,   origin) {
      if (section ~ /^\.(bss|tbss|debug|comment|note|gnu\.attributes|ARM\.attributes)/ || section == "COMMON") return
      if (file ~ /libsdkcore\.a/) origin = "library"
      else if (file ~ /libcrypto\.a/) origin = "libcrypto"
      else if (file ~ /libstdc\+\+|libsupc\+\+|libgcc/) origin = "c++-runtime"
      else origin = "other"
      bytes[origin] += hex(size)
    }
    function hex(text,   value, i) {
      value = 0
      for (i = 3; i <= length(text); i++) value = value * 16 + index("0123456789abcdef", tolower(substr(text, i, 1))) - 1
      return value
    }
    END { printf "%d %d %d %d\n", bytes["library"], bytes["libcrypto"], bytes["c++-runtime"],
                 bytes["other"] }' "$1"
}

stripped_size() {  # STRIP FILE
  local copy
  copy=$(mktemp)
  "$1" --strip-debug -o "$copy" "$2"
  [[ $2 == *.a ]] || "$1" -o "$copy" "$copy"
  stat -c %s "$copy"
  rm -f "$copy"
}

# measure ARCH LABEL [cmake arguments]: builds one variant and prints its row.
measure() {
  local arch=$1 label=$2
  shift 2
  local dir=$out/$arch${label:+-${label// /-}} triple=${toolchain[$arch]} strip=strip args=()
  if [[ -n $triple ]]; then
    args+=("-DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/$triple.cmake")
    strip=$triple-strip
  fi
  # --no-warn-unused-cli: the preset names OpenSSL, which a build without it never reads.
  cmake --preset phone --no-warn-unused-cli -B "$dir" "${args[@]}" "$@" "${extra[@]}" >/dev/null
  cmake --build "$dir" --target sdkcore sdkcore_size_token sdkcore_size_empty >/dev/null
  local library token empty
  library=$(stripped_size "$strip" "$dir/src/libsdkcore.a")
  token=$(stripped_size "$strip" "$dir/size/sdkcore_size_token")
  empty=$(stripped_size "$strip" "$dir/size/sdkcore_size_empty")
  read -r -a parts <<<"$(split_map "$dir/size/sdkcore_size_token.map")"
  read -r -a base <<<"$(split_map "$dir/size/sdkcore_size_empty.map")"
  added["$arch $label"]=$((token - empty))
  printf '%-8s %-16s %12d %12d %12d %12d %12d\n' "$arch" "$label" "$library" \
    $((token - empty)) "${parts[0]}" "${parts[1]}" $((parts[2] - base[2]))
}

printf '%-8s %-16s %12s %12s %12s %12s %12s\n' arch variant "static lib" "app grows" \
  "this lib" libcrypto "C++ runtime"
for arch in ${SIZE_ARCHES:-x86-64 arm64 armhf}; do measure "$arch" "with OpenSSL"; done
# As on a phone whose platform brings the RSA: the library without its built-in provider.
measure arm64 "without OpenSSL" -DSDKCORE_WITH_OPENSSL=OFF
echo "(bytes; static lib stripped of debug information; app grows: the stripped token program less"
echo " the stripped empty program; the split: sections each origin keeps, from the linker map)"

echo "arm64 with OpenSSL adds ${added[arm64 with OpenSSL]} bytes"
echo "arm64 without OpenSSL adds ${added[arm64 without OpenSSL]} bytes"

status=0
check() {  # DESCRIPTION VALUE LIMIT
  if (($2 > $3)); then echo "size: $1: $2 bytes, over $3" >&2; status=1; fi
}
# Each arm64 variant: its hard limit, and its budget plus 100 KB.
declare -A limit=([with OpenSSL]=4400000 [without OpenSSL]=1200000)
for variant in "with OpenSSL" "without OpenSSL"; do
  budget=$(awk -v v="arm64 $variant" 'index($0, v) == 1 { print $NF }' size/budget.txt)
  check "arm64 $variant" "${added[arm64 $variant]}" "${limit[$variant]}"
  check "arm64 $variant, against the budget in size/budget.txt plus 100 KB" \
    "${added[arm64 $variant]}" $((${budget:-0} + 102400))
done
exit $status
