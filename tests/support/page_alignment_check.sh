#!/bin/sh
# Checks that every LOAD segment of each shared object is aligned to at least 16 KB, so that it
# loads on systems with 16 KB pages.
# Usage: page_alignment_check.sh SHARED_OBJECT...
set -eu
status=0
for object in "$@"; do
  alignments=$(readelf -lW "$object" | awk '$1 == "LOAD" { print $NF }')
  [ -n "$alignments" ] || { echo "$object: no LOAD segment" >&2; status=1; }
  for alignment in $alignments; do
    if [ $((alignment)) -lt 16384 ]; then
      echo "$object: LOAD segment aligned to $alignment, below 0x4000" >&2
      status=1
    fi
  done
done
exit $status
