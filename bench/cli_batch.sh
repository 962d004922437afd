#!/usr/bin/env bash
# ambrelay-cli judging a generated table of ROWS tests (views up to 100,000,
# response rates from 0.5% to 20%): every figure as CSV and as JSON lines,
# the two p values alone (--figures), the same tests in long form (a row a
# version), and the floor program beside them; the same table through pandas
# and statsmodels when WITH_PANDAS=1 and through DuckDB's Node binding (from
# npm, into the build tree) when WITH_DUCKDB=1. Prints rows a second and peak
# memory, and the peak for a tenth of the rows, to show memory stays flat
# (and for ten times the rows with WITH_TEN_TIMES=1); with WITH_PYTHON, the
# Python package on the same table in memory.
#   bench/cli_batch.sh PROGRAM ROWS
set -euo pipefail
program=$1
rows=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

generate() { # rows, file
  awk -v n="$1" 'BEGIN {
    srand(7); print "test,views1,responses1,views2,responses2"
    for (i = 1; i <= n; i++) {
      v1 = int(1 + rand() * 100000); v2 = int(1 + rand() * 100000); r = 0.005 + rand() * 0.195
      r1 = int(v1 * r); r2 = int(v2 * r * (0.9 + rand() * 0.2)); if (r2 > v2) r2 = v2
      print "t" i "," v1 "," r1 "," v2 "," r2 } }' >"$2"
}

measure() { # command... -> "seconds peak_kB"
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
  cat "$work/time"
}

# One row per user for means --values: a label, and revenue that is 0 for
# most users and long-tailed for the rest.
generate_values() { # rows, file
  awk -v n="$1" 'BEGIN {
    srand(3); print "user,group,value"
    for (i = 1; i <= n; i++) {
      v = rand() < 0.05 ? sprintf("%.2f", exp(3 + 2.4 * (rand() + rand() + rand() - 1.5))) : "0"
      print "u" i "," (rand() < 0.5 ? "A" : "B") "," v } }' >"$2"
}

# The same tests a row a version: the test's name, the version, its counts.
long_form() { # wide table, long table
  awk -F, 'NR == 1 { print "test,version,views,responses"; next }
           { print $1 ",A," $2 "," $3; print $1 ",B," $4 "," $5 }' "$1" >"$2"
}

generate "$rows" "$work/table.csv"
generate $((rows / 10)) "$work/tenth.csv"
read -r seconds peak < <(measure "$program" judge --csv "$work/table.csv")
read -r _ tenthPeak < <(measure "$program" judge --csv "$work/tenth.csv")
echo "cli_rows_per_s $(awk -v n="$rows" -v s="$seconds" 'BEGIN { printf "%.0f", n / s }')"
echo "cli_seconds $seconds"
echo "cli_peak_kB $peak $tenthPeak"
read -r jsonSeconds jsonPeak < <(measure "$program" judge --csv "$work/table.csv" --json)
echo "cli_json $jsonSeconds $jsonPeak"
read -r pSeconds pPeak < <(measure "$program" judge --csv "$work/table.csv" --figures p_two_sided,p_one_sided)
echo "cli_p_only $pSeconds $pPeak"
long_form "$work/table.csv" "$work/long.csv"
read -r longSeconds longPeak < <(measure "$program" judge --csv "$work/long.csv")
echo "cli_long $longSeconds $longPeak $(awk -v n="$rows" -v s="$longSeconds" 'BEGIN { printf "%.0f", 2 * n / s }')"
echo "cli_wide_input_rows_per_s $(awk -v n="$rows" -v s="$seconds" 'BEGIN { printf "%.0f", n / s }')"
floor="$(dirname "$program")/../bench/batch_floor"
if [ -x "$floor" ]; then
  echo "floor_every $("$floor" "$work/table.csv" "$work/floor" every | awk '{ print $2 }')"
  echo "floor_p $("$floor" "$work/table.csv" "$work/floor" p | awk '{ print $2 }')"
  rm -f "$work"/floor.*
fi
if [ "${WITH_TEN_TIMES:-0}" = 1 ]; then
  generate $((rows * 10)) "$work/ten.csv"
  read -r tenSeconds tenPeak < <(measure "$program" judge --csv "$work/ten.csv")
  echo "cli_ten_times $tenSeconds $tenPeak"
  rm -f "$work/ten.csv"
fi
generate_values "$rows" "$work/values.csv"
generate_values $((rows / 10)) "$work/tenth_values.csv"
read -r valuesSeconds valuesPeak < <(measure "$program" means --values "$work/values.csv")
read -r _ tenthValuesPeak < <(measure "$program" means --values "$work/tenth_values.csv")
read -r cappedSeconds cappedPeak < <(measure "$program" means --values "$work/values.csv" --cap 99.9%)
echo "values_rows_per_s $(awk -v n="$rows" -v s="$valuesSeconds" 'BEGIN { printf "%.0f", n / (s > 0 ? s : 0.01) }')"
echo "values_peak_kB $valuesPeak $tenthValuesPeak"
echo "values_capped $cappedSeconds $cappedPeak"
if [ "${WITH_DUCKDB:-0}" = 1 ]; then
  # DuckDB's Node binding, from npm, into a folder of the build tree: for the bench only.
  duck=$(cd "$(dirname "$program")/.." && pwd)/duckdb
  mkdir -p "$duck"
  [ -d "$duck/node_modules/@duckdb/node-api" ] || (cd "$duck" && npm install --no-audit --no-fund @duckdb/node-api >/dev/null)
  cp "$(dirname "$0")/duckdb_reference.mjs" "$duck/"
  read -r duckSeconds duckPeak < <(measure node "$duck/duckdb_reference.mjs" "$work/table.csv" "$work/duckdb.csv")
  echo "duckdb_seconds $duckSeconds $duckPeak"
fi
if [ -n "${WITH_PYTHON:-}" ]; then
  # WITH_PYTHON: the interpreter of an environment the package is installed in.
  "$WITH_PYTHON" "$(dirname "$0")/python_batch.py" "$work/table.csv" "$(dirname "$program")/../bench/batch_core"
fi
if [ "${WITH_PANDAS:-0}" = 1 ]; then
  read -r pandasSeconds pandasPeak < <(measure /usr/bin/python3 "$(dirname "$0")/pandas_reference.py" \
                                              "$work/table.csv" "$work/pandas.csv")
  echo "pandas_seconds $pandasSeconds $pandasPeak"
fi
