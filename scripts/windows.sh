#!/usr/bin/env bash
# Cross-builds ambrelay-cli.exe for 64-bit Windows with MinGW-w64, runs the
# command line's black-box tests under Wine, and proves what Windows users
# get: an .exe that needs only Windows' own DLLs and writes, byte for byte,
# what the Linux build writes for the same input.
#   scripts/windows.sh [ROWS [SEED]]   (the generated table: 20000 rows by default)
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" cmake make g++ g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  wine64 libboost-math-dev libcli11-dev nlohmann-json3-dev
cd "$repo_root"
cmake --preset windows
cmake --build --preset windows
ctest --preset windows
exe=build/windows/cli/ambrelay-cli.exe

echo "== DLLs $exe imports"
x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }' | while read -r dll; do
  echo "$dll"
  case "${dll,,}" in
    kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | shell32.dll | ntdll.dll | api-ms-win-*) ;;
    *) echo "$exe needs $dll, which Windows does not have of its own" >&2; exit 1 ;;
  esac
done

echo "== The same bytes as the Linux build"
cmake --preset cli
cmake --build --preset cli
linux=build/cli/cli/ambrelay-cli
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v rows="${1:-20000}" -v seed="${2:-20261209}" -f tests/cli/varied_table.awk >"$work/table.csv"
windows_table="Z:${work//\//\\}\\table.csv"

run_linux() { "$linux" "$@"; }
run_windows() {
  env LC_ALL="${WINDOWS_LOCALE:-C.UTF-8}" WINEPREFIX="$repo_root/build/windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= \
    "$wine" "$exe" "$@"
}
# compare NAME INPUT -- LINUX_ARGS... -- WINDOWS_ARGS...  (INPUT: a file for standard input, or -)
compare() {
  local name=$1 input=$2
  shift 3
  local linux_args=() windows_args=()
  while [ "$1" != -- ]; do linux_args+=("$1"); shift; done
  shift
  windows_args=("$@")
  local stdin=/dev/null
  [ "$input" != - ] && stdin=$input
  local linux_status=0 windows_status=0
  run_linux "${linux_args[@]}" <"$stdin" >"$work/linux.out" 2>"$work/linux.err" || linux_status=$?
  run_windows "${windows_args[@]}" <"$stdin" >"$work/windows.out" 2>"$work/windows.err" || windows_status=$?
  if [ "$linux_status" != "$windows_status" ] || ! cmp -s "$work/linux.out" "$work/windows.out" \
     || ! cmp -s "$work/linux.err" "$work/windows.err"; then
    echo "$name: Windows differs from Linux (exit status $windows_status against $linux_status)" >&2
    diff "$work/linux.out" "$work/windows.out" | head -20 >&2 || true
    diff "$work/linux.err" "$work/windows.err" | head -20 >&2 || true
    exit 1
  fi
  echo "$name: identical ($(wc -c <"$work/linux.out") bytes, exit status $linux_status)"
}
same() { # NAME ARGS...: the same arguments on both
  local name=$1
  shift
  compare "$name" - -- "$@" -- "$@"
}

same "judge" judge 1000 100 1000 130
same "judge --json" judge 1000 100 1000 130 --json
same "judge, fractions" judge 2500.5 120.25 2400 151 --json
same "judge, a billion" judge 2,000,000,000 41,000,000 2,000,000,000 41,010,000 --json
same "plan" plan --baseline 3.5% --mde 7.5 --power 0.9 --alpha 0.01 --split 30 --daily 1234 --json
same "srm" srm 50123 49877 --json
# A Windows whose locale writes decimal commas changes nothing.
WINDOWS_LOCALE=de_DE.UTF-8 same "judge, German Windows" judge 2500.5 120.25 2400 151 --json
WINDOWS_LOCALE=de_DE.UTF-8 same "plan, German Windows" plan --baseline 0.035 --mde 7.5 --power 0.9
compare "table from a file" - -- judge --csv "$work/table.csv" -- judge --csv "$windows_table"
compare "table as JSON lines" - -- judge --csv "$work/table.csv" --json -- judge --csv "$windows_table" --json
compare "table on standard input" "$work/table.csv" -- judge --csv - -- judge --csv -
