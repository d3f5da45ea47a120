#!/bin/sh
# Runs every fuzz target of a fuzz build for a set time, starting from the
# committed seeds; fails on the first target that finds anything. Ends with
# one line a target: the inputs run, how many a second, coverage and memory,
# from libFuzzer's final statistics.
# Usage: tools/run-fuzzers.sh BUILD_DIR SECONDS
set -e
build=$1
seconds=${2:-60}
status=0
summary=""
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target" | sed 's/^fuzz_//')
  work="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts/$name/"
  log="$build/fuzz-$name.log"
  mkdir -p "$work" "$artifacts" "fuzz/corpus/$name"
  echo "== $name: $seconds s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=512 \
      -print_final_stats=1 -dict=fuzz/lightwave.dict -artifact_prefix="$artifacts" \
      "$work" "fuzz/corpus/$name" > "$log" 2>&1; then
    tail -40 "$log"
    echo "== $name FAILED; the input is in $artifacts"
    status=1
    line=$(printf '%-12s FAILED' "$name")
  else
    line=$(awk -v name="$name" '
      $2 == "DONE" { for (i = 3; i < NF; ++i) if ($i == "cov:") cov = $(i + 1) }
      /^stat::number_of_executed_units:/ { runs = $2 }
      /^stat::average_exec_per_sec:/ { rate = $2 }
      /^stat::peak_rss_mb:/ { rss = $2 }
      END { printf "%-12s %8s execs/s %10s inputs  cov %s  peak %s MB", name, rate, runs, cov, rss }' "$log")
    echo "$line"
  fi
  summary="$summary$line
"
done
echo "== executions per second ($seconds s a target)"
printf '%s' "$summary"
exit $status
