#!/usr/bin/env bash
# Runs every libFuzzer target for a bounded time (FUZZ_SECONDS each, 60 by default), starting from the
# committed corpus. New inputs go to the build folder; a crash is saved there as crash-* and fails the run.
set -euo pipefail
build=${1:?usage: fuzz.sh <fuzz build folder>}
seconds=${FUZZ_SECONDS:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in "$build"/tests/fuzz/fuzz_*; do
  name=$(basename "$target"); name=${name#fuzz_}
  work="$build/fuzz-corpus/$name"; mkdir -p "$work" "$build/fuzz-artifacts/$name"
  echo "== $name: ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-artifacts/$name/" "$work" "$root/tests/fuzz/corpus/$name" \
        > "$build/fuzz-artifacts/$name.log" 2>&1; then
    echo "!! $name found a failure: see $build/fuzz-artifacts/$name.log and $build/fuzz-artifacts/$name/"
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz-artifacts/$name.log" | sed 's/^/   /' || true
done
exit $status
