#!/bin/sh
# Cuts an ICU data package that holds only the given items out of the system's ICU data, which
# libicudata carries as one symbol (ENTRY_dat), and writes it as assembly that defines that same
# symbol, so that the object links in place of libicudata.
# Usage: icu_data_package.sh LIBICUDATA ENTRY OUTPUT.S [ITEM...]
#   ENTRY: the data's entry name, icudt<major> (icudt72); ITEM: brkitr/char.brk, ...
# No ITEM gives an empty package: ICU then finds none of its data.
set -eu
lib=$1 entry=$2 output=$3
shift 3
work=$output.d
rm -rf "$work"
mkdir -p "$work/full" "$work/items" "$work/package"
# The package's name inside the data: the entry name and the byte order, little-endian on every
# target built here.
name=${entry}l

# The symbol's address and size, and where its section lies in the file.
set -- "$@" -- $(readelf -sW "$lib" | awk -v symbol="${entry}_dat" '$8 == symbol { print $2, $3, $7; exit }')
items=
while [ "$1" != -- ]; do items="$items $1"; shift; done
shift
[ $# -eq 3 ] || { echo "icu_data_package: no symbol ${entry}_dat in $lib" >&2; exit 1; }
address=$((0x$1)) size=$(($2)) section=$3
set -- $(readelf -SW "$lib" | sed -n "s/^ *\[ *$section\] *//p")
offset=$((address - 0x$3 + 0x$4))
tail -c +$((offset + 1)) "$lib" | head -c "$size" >"$work/full/$name.dat"

: >"$work/items.txt"
for item in $items; do echo "$item" >>"$work/items.txt"; done
if [ -n "$items" ]; then icupkg -d "$work/items" -x "$work/items.txt" "$work/full/$name.dat"; fi
# --ignore-deps: the break rules' resource names rules for other kinds of breaks too, which the
# library never opens.
icupkg --ignore-deps -s "$work/items" -a "$work/items.txt" new "$work/package/$name.dat" 2>/dev/null
genccode -e "$entry" -a gcc -d "$work" -f package "$work/package/$name.dat" >/dev/null
mv "$work/package.S" "$output"
cp "$work/package/$name.dat" "$output.dat"
rm -rf "$work"
