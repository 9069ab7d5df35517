#!/usr/bin/env bash
# Runs the native benchmarks briefly and prints their figures and ratios.
#   bench.sh BUILD_DIR [--strict]
# Each benchmark program checks its own targets and exits non-zero on a
# miss. Without --strict a miss is reported but does not fail the run, so a
# loaded CI machine cannot fail a build; `make bench` runs with --strict.
set -uo pipefail
dir=${1:-build/native}
strict=${2:-}
missed=()
shopt -s nullglob
for b in "$dir"/tests/bench/*Bench; do
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.05 --benchmark_color=false 2>&1 |
    grep -v -E '^\*\*\*|^Run on|^CPU Caches|^  L[0-9]|^Load Average'
  [ "${PIPESTATUS[0]}" = 0 ] || missed+=("$(basename "$b")")
done
if [ ${#missed[@]} -gt 0 ]; then
  echo "bench: targets missed in: ${missed[*]}"
  [ "$strict" = "--strict" ] && exit 1
fi
exit 0
