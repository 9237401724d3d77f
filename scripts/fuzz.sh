#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (preset fuzz) and runs each one in turn for a short
# time: $1 seconds per target (default 20). Each run starts from the seed corpus in
# fuzz/corpus/<target>/ and from what earlier runs found (build/fuzz/corpus/<target>/); the
# seeds are never changed. A finding is saved under build/fuzz/findings/<target>/ and fails
# the run. Long runs: see docs/fuzzing.md.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-20}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
status=0
for exe in build/fuzz/bin/fuzz_*; do
  t=${exe##*/fuzz_}
  work=build/fuzz/corpus/$t
  findings=build/fuzz/findings/$t
  log=build/fuzz/$t.log
  mkdir -p "$work" "$findings"
  if "$exe" -max_total_time="$secs" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
      -artifact_prefix="$findings/" "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $t: ${runs:-?} executions in ${secs} s, no finding"
  else
    status=1
    echo "fuzz $t: FINDING (log: $log, inputs: $findings/)"
    grep -E "ERROR|fuzz check failed|runtime error|SUMMARY" "$log" | head -n 5 || true
  fi
done
exit $status
