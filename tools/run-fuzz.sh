#!/usr/bin/env bash
# Runs every libFuzzer target built in BUILD_DIR for SECONDS each, starting from the committed
# seeds in tests/fuzz/corpus/<target>. New inputs are kept in BUILD_DIR/corpus/<target> for the
# next run; a finding is written to BUILD_DIR/findings/ and fails the run.
#   tools/run-fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
seconds=$2
case "$seconds" in '' | *[!0-9]*) echo "SECONDS must be a whole number" >&2; exit 2 ;; esac

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/findings" "$dir/logs"
failed=()
count=0
for target in "$dir"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=tests/fuzz/corpus/$name
  mkdir -p "$dir/corpus/$name"
  log=$dir/logs/$name.log
  count=$((count + 1))
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$dir/findings/$name-" "$dir/corpus/$name" "$seeds" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$name: ${runs:-?} inputs in ${seconds} s, no finding"
  else
    echo "$name: FINDING (log: $log)"
    grep -E "ERROR|property failed|SUMMARY|Test unit written" "$log" | head -n 8 || true
    failed+=("$name")
  fi
done
[ "$count" -gt 0 ] || { echo "no fuzz targets in $dir/tests/fuzz" >&2; exit 1; }
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]}; turn each finding into a regression test." >&2
  exit 1
fi
echo "$count fuzz targets ran clean"
