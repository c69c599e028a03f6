#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for its share of the time, each from its seeds in
# the repository and what earlier runs found, and prints the executions and crashes of each.
# Exits non-zero when any target crashed; the crashing inputs stay in BUILD/crashes/TARGET/.
#   run-fuzzers.sh BUILD SEEDS SECONDS
set -euo pipefail

build=$1 seeds=$2 seconds=$3
targets=("$build"/bin/fuzz_*)
share=$(( seconds / ${#targets[@]} ))
(( share > 0 )) || share=1
status=0

for target in "${targets[@]}"; do
  name=${target##*/fuzz_}
  corpus="$build/corpus/$name" crashes="$build/crashes/$name" log="$build/fuzz-$name.log"
  mkdir -p "$corpus"
  rm -rf "$crashes"
  mkdir -p "$crashes"
  "$target" -max_total_time="$share" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" "$seeds/$name/corpus" >"$log" 2>&1 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(find "$crashes" -type f | wc -l)
  printf 'fuzz: %-16s %12s executions %4d crashes\n' "$name" "${runs:-?}" "$found"
  if (( found > 0 )) || [ -z "$runs" ]; then
    status=1
    grep -m1 -A20 '^==[0-9]*==ERROR\|^SUMMARY\|runtime error' "$log" || tail -20 "$log"
    find "$crashes" -type f
  fi
done
exit "$status"
