#!/bin/sh
# Runs every fuzz target of a fuzz build for a set time, starting from the
# committed seeds; fails on the first target that finds anything.
# Usage: tools/run-fuzzers.sh BUILD_DIR SECONDS
set -e
build=$1
seconds=${2:-60}
status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target" | sed 's/^fuzz_//')
  work="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts/$name/"
  mkdir -p "$work" "$artifacts" "fuzz/corpus/$name"
  echo "== $name: $seconds s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=512 \
      -print_final_stats=1 -dict=fuzz/lightwave.dict -artifact_prefix="$artifacts" \
      "$work" "fuzz/corpus/$name" > "$build/fuzz-$name.log" 2>&1; then
    tail -40 "$build/fuzz-$name.log"
    echo "== $name FAILED; the input is in $artifacts"
    status=1
  else
    grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|cov:" "$build/fuzz-$name.log" | tail -4
  fi
done
exit $status
