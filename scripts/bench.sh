#!/usr/bin/env bash
# Runs the native benchmarks briefly and prints their figures and ratios.
# Figures are reported, not asserted: a loaded machine must not fail a build.
set -euo pipefail
dir=${1:-build/native}
shopt -s nullglob
for b in "$dir"/tests/bench/*Bench; do
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.05 2>&1 | grep -v -E '^\*\*\*|^Run on|^CPU Caches|^  L[0-9]|^Load Average'
done
