#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS (default 60).
# Usage: fuzz/run.sh [BUILD_DIR]   (default build/fuzz)
# FUZZ_TARGETS picks targets (default: pmml settings readwrite); FUZZ_PARALLEL=1
# runs them at once. The corpus grows in BUILD_DIR/corpus/<target>; crashing
# inputs land in BUILD_DIR/artifacts/<target>/ (copy them to fuzz/regressions/).
# FUZZ_FLAGS adds libFuzzer options, e.g. "-fork=1 -ignore_crashes=1" to go on
# after a crash.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/fuzz}"
seconds="${FUZZ_SECONDS:-60}"
targets="${FUZZ_TARGETS:-pmml settings readwrite}"
jobs="${JOBS:-$(nproc)}"

CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" >/dev/null
cmake --build "$build" -j "$jobs"

run_one() {
  local target="$1"
  local rc=0
  mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
  # The regressions run first: an old crash that comes back stops the run.
  "$build/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -dict="$root/fuzz/xml.dict" -artifact_prefix="$build/artifacts/$target/" \
    -print_final_stats=1 ${FUZZ_FLAGS:-} "$build/corpus/$target" "$root/fuzz/seeds/$target" \
    "$root/fuzz/regressions" >"$build/fuzz_$target.log" 2>&1 || rc=$?
  # Executions: the final statistics, or in fork mode the last progress line.
  local runs
  runs="$(grep -E '^stat::number_of_executed_units' "$build/fuzz_$target.log" ||
    grep -E '^#[0-9]+' "$build/fuzz_$target.log" | tail -1)"
  echo "fuzz_$target: exit $rc, $runs (log: $build/fuzz_$target.log)"
  return $rc
}

status=0
if [ "${FUZZ_PARALLEL:-0}" = 1 ]; then
  pids=()
  for target in $targets; do run_one "$target" & pids+=($!); done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
else
  for target in $targets; do run_one "$target" || status=1; done
fi
exit $status
