#!/usr/bin/env bash
# Fuzzes, for SECONDS each (default 60): the path from four texts to the
# shown result, and ambrelay-cli's CSV reader and argument path. Reports
# executions and coverage. New inputs go to working corpora under build/,
# never into the seeds kept in fuzz/corpus*.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
seconds=${1:-60}

"$repo_root/scripts/install-deps.sh" cmake make ccache clang libclang-rt-14-dev libboost-math-dev libcli11-dev \
  nlohmann-json3-dev libdragonbox-dev
cd "$repo_root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_calculation fuzz_cli

run() { # target, seed folder
  local target=$1 seeds=$2
  local work=build/fuzz/corpus-$target log=build/fuzz/last-run-$target.log
  mkdir -p "$work"
  build/fuzz/fuzz/"$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/"$target"- "$work" "$seeds" 2>"$log" || {
    tail -n 40 "$log"
    echo "The fuzzer found a failing input for $target; it is saved under build/fuzz/." >&2
    exit 1
  }
  local executions coverage features
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*')
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*')
  echo "Fuzzed $target for ${seconds} s: ${executions} executions, ${coverage} coverage points, ${features} features, no failure."
}

run fuzz_calculation fuzz/corpus
run fuzz_cli fuzz/corpus_cli
