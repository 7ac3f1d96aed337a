#!/usr/bin/env bash
# make cold-start: the instructions that main() of a fresh process runs to make the core and two
# card tokens (callgrind counts instructions, not time, so the figure repeats on a busy machine),
# and the wall time of each step from a run without valgrind. Fails over LIMIT instructions.
# Usage: scripts/cold_start.sh PROGRAM PUBLIC_KEY_PEM_FILE LIMIT
set -euo pipefail
program=$1 key=$2 limit=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
valgrind --tool=callgrind --toggle-collect=main --callgrind-out-file="$out/callgrind.out" \
  "$program" "$key" >/dev/null 2>"$out/valgrind.log"
instructions=$(callgrind_annotate "$out/callgrind.out" 2>/dev/null |
  awk '/PROGRAM TOTALS/ && !seen { gsub(",", "", $1); print $1; seen = 1 }')
echo "cold start: main() runs $instructions instructions (limit $limit)"
echo "cold start: $("$program" "$key")"
if [ -z "$instructions" ] || [ "$instructions" -gt "$limit" ]; then
  echo "cold start: over the limit" >&2
  exit 1
fi
