#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (ASan and UBSan) in
# build/fuzz and runs each for a bounded time.
#   fuzz.sh [SECONDS]        (default: $FUZZ_SECONDS, else 60)
# Each target starts from its seeds in tests/fuzz/corpus/<name>/; what it
# finds on the way goes to build/fuzz/corpus/<name>/, never into the tree.
# A crash leaves its input in build/fuzz/artifacts/ and fails the run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${FUZZ_SECONDS:-60}}
build="$root/build/fuzz"
jobs=${JOBS:-2}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DTARNELIX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build "$build" -j "$jobs" >/dev/null || { cmake --build "$build" -j 1; exit 1; }

# Runs one target; its filtered output goes to build/fuzz/<name>.log.
fuzz_one() {
  local name=$1 work="$build/corpus/$1"
  mkdir -p "$work"
  # -timeout: one input that runs for seconds is a fault of its own (a
  # matcher that backtracks without end); -rss_limit_mb likewise for memory.
  "$build/tests/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
      "$work" "$root/tests/fuzz/corpus/$name" 2>&1 |
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==|SUMMARY|.*ERROR|.*runtime error|artifact_prefix|Test unit written)' \
      >"$build/$name.log"
  return "${PIPESTATUS[0]}"
}

# The targets run side by side, as many at a time as there are jobs.
mkdir -p "$build/artifacts"
names=() pids=()
for src in "$root"/tests/fuzz/*Fuzz.cpp; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  name=$(basename "$src" .cpp)
  fuzz_one "$name" &
  names+=("$name") pids+=($!)
done
failed=()
for i in "${!names[@]}"; do
  wait "${pids[$i]}" || failed+=("${names[$i]}")
  echo "== ${names[$i]} (${seconds}s)"
  cat "$build/${names[$i]}.log"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failures in ${failed[*]} (inputs in $build/artifacts)"
  exit 1
fi
echo "fuzz: all targets ran ${seconds}s without a failure"
