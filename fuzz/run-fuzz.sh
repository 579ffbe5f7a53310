#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS (default 60), starting from the
# seed corpus in fuzz/corpus/<target>. Prints the executions run and the crashes found per target;
# exits non-zero when any target crashed, leaked, hung or failed to run.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="${FUZZ_BUILD:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
targets=(${FUZZ_TARGETS:-fuzz_orderlines fuzz_val fuzz_wildcard fuzz_clientbook})
cxx="${FUZZ_CXX:-clang++-14}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target "${targets[@]}" >/dev/null

failed=0
total_runs=0
total_crashes=0
for t in "${targets[@]}"; do
  work="$build/work/$t"
  artifacts="$build/artifacts/$t"
  rm -rf "$artifacts"
  mkdir -p "$work" "$artifacts"
  log="$build/$t.log"
  # New inputs go to the work folder; the committed seeds are only read.
  set +e
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" UBSAN_OPTIONS="print_stacktrace=1" \
    "$build/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$work" "$here/corpus/$t" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -1)
  runs=${runs:-0}
  crashes=$(find "$artifacts" -type f | wc -l)
  echo "$t: $runs executions in ${seconds}s, $crashes crashes"
  total_runs=$((total_runs + runs))
  total_crashes=$((total_crashes + crashes))
  if [ "$rc" -ne 0 ] || [ "$crashes" -ne 0 ] || [ "$runs" -eq 0 ]; then
    failed=1
    echo "  $t failed (exit $rc); log: $log" >&2
    grep -E "ERROR|property failed|runtime error|SUMMARY" "$log" | head -5 >&2 || true
  fi
done
echo "fuzz total: $total_runs executions, $total_crashes crashes"
exit $failed
