#!/usr/bin/env bash
# Fuzzes the path from four texts to the shown result for SECONDS (default
# 60) and reports executions and coverage. New inputs go to a working corpus
# under build/, never into the seeds kept in fuzz/corpus.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
seconds=${1:-60}

"$repo_root/scripts/install-deps.sh" cmake make clang libclang-rt-14-dev libboost-math-dev
cd "$repo_root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_calculation
work=build/fuzz/corpus
mkdir -p "$work"
log=build/fuzz/last-run.log
build/fuzz/fuzz/fuzz_calculation -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/ "$work" fuzz/corpus 2>"$log" || {
  tail -n 40 "$log"
  echo "The fuzzer found a failing input; it is saved under build/fuzz/." >&2
  exit 1
}
executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*')
features=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*')
echo "Fuzzed for ${seconds} s: ${executions} executions, ${coverage} coverage points, ${features} features, no failure."
