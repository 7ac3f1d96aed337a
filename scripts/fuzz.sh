#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS seconds each, one after the other, and prints
# the executions and coverage of each.   Usage: scripts/fuzz.sh BUILD_DIR SECONDS
#
# The committed seeds in fuzz/corpus/<target>/ are only read; what a run learns goes to
# BUILD_DIR/fuzz-corpus/<target>/, so the next run goes on from there. A finding (a crash, a broken
# check, an input slower than 10 s) is saved under BUILD_DIR/fuzz-findings/ and fails the run;
# turn it into a regression test of `make test`.
set -euo pipefail

build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
findings="$build/fuzz-findings"
mkdir -p "$findings"

# The last "#N ... NAME: VALUE" progress line's VALUE.
progress() { grep -E '^#[0-9]+' "$1" | tail -1 | sed -n "s/.* $2: \([0-9]*\).*/\1/p"; }

status=0
printf '%-14s %12s %9s %9s %7s  %s\n' target executions coverage features corpus result
for program in "$build"/fuzz/*_fuzzer; do
  name=$(basename "$program" _fuzzer)
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  log="$build/fuzz-$name.log"
  result=ok
  if ! "$program" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -max_len=4096 \
      -artifact_prefix="$findings/$name-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    result=FINDING
    status=1
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  printf '%-14s %12s %9s %9s %7s  %s\n' "$name" "${executions:-?}" "$(progress "$log" cov)" \
    "$(progress "$log" ft)" "$(progress "$log" corp)" "$result"
  if [ "$result" != ok ]; then
    tail -n 30 "$log" | sed 's/^/    /'
  fi
done
exit $status
