#!/usr/bin/env bash
# Cross-builds Ambrelay for 64-bit Windows with MinGW-w64: the window
# (ambrelay.exe, against a Qt for Windows that scripts/qt-windows.sh builds
# once per machine), ambrelay-cli.exe, the installer and a portable zip. Runs
# the command line's black-box tests and the window's suites under Wine, and
# proves what Windows users get: programs that need only Windows' own DLLs
# and carry their version record, a command line that writes, byte for byte,
# what the Linux build writes, and a window and installer that behave as on
# Linux (scripts/windows-window.sh).
#   scripts/windows.sh [ROWS [SEED]]   (the generated table: 20000 rows by default)
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" cmake make g++ ccache g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  wine64 libboost-math-dev libcli11-dev nlohmann-json3-dev libdragonbox-dev nsis icoutils librsvg2-bin imagemagick fonts-liberation
cd "$repo_root"
AMBRELAY_QT_WINDOWS=$(scripts/qt-windows.sh | tail -n 1)
export AMBRELAY_QT_WINDOWS
cmake --preset windows
cmake --build --preset windows
ctest --preset windows
exe=build/windows/cli/ambrelay-cli.exe
window=build/windows/app/ambrelay.exe

for program in "$exe" "$window"; do
  echo "== DLLs $program imports"
  x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name:/ { print $3 }' | while read -r dll; do
    echo "$dll"
    case "${dll,,}" in
      kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | shell32.dll | ntdll.dll | api-ms-win-* | gdi32.dll \
        | comdlg32.dll | ole32.dll | oleaut32.dll | imm32.dll | winmm.dll | ws2_32.dll | uxtheme.dll | dwmapi.dll \
        | shlwapi.dll | version.dll | userenv.dll | netapi32.dll | d3d9.dll | dwrite.dll | d2d1.dll | dxgi.dll \
        | d3d11.dll | setupapi.dll | uuid.dll | wtsapi32.dll | mpr.dll | authz.dll | comctl32.dll | crypt32.dll \
        | rpcrt4.dll | secur32.dll | bcrypt.dll | shcore.dll) ;;
      *) echo "$program needs $dll, which Windows does not have of its own" >&2; exit 1 ;;
    esac
  done
done

echo "== The version record of $window, read back from the built file"
wrestool -x --raw -t 16 "$window" >build/windows/window-version.res
strings -el build/windows/window-version.res >build/windows/window-version.txt
for entry in "FileVersion 1.00" "ProductVersion 1.00" "InternalName Kelvory" "OriginalFilename ambrelay.exe"; do
  read -r name value <<<"$entry"
  grep -A1 -x "$name" build/windows/window-version.txt | tail -n 1 | grep -qx "$value" \
    || { echo "$window: $name is not $value" >&2; exit 1; }
  echo "$name: $value"
done
wrestool -l -t 14 "$window" | grep -q . || { echo "$window carries no icon" >&2; exit 1; }
echo "an icon"

echo "== The same bytes as the Linux build"
cmake --preset cli
cmake --build --preset cli
linux=build/cli/cli/ambrelay-cli
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v rows="${1:-20000}" -v seed="${2:-20261209}" -f tests/cli/varied_table.awk >"$work/table.csv"
windows_table="Z:${work//\//\\}\\table.csv"
# Tests of three versions in long form, each test's rows together, and the
# same rows with the tests scattered: a file read as it comes, or read again
# whole, on either system.
awk 'BEGIN { srand(36); print "test,version,views,responses"
  for (t = 1; t <= 3000; t++) for (v = 0; v < 3; v++) {
    n = int(100 + rand() * 5000); print "t" t "," substr("ABC", v + 1, 1) "," n "," int(n * rand() * 0.3) } }' \
  >"$work/long.csv"
{ head -n 1 "$work/long.csv"; tail -n +2 "$work/long.csv" | sort -t, -k2,2 -s; } >"$work/scattered.csv"
windows_long="Z:${work//\//\\}\\long.csv"
windows_scattered="Z:${work//\//\\}\\scattered.csv"

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
# One thread or two, on either system: the same bytes; and a choice of figures.
compare "table on one thread" - -- judge --csv "$work/table.csv" --jobs 2 -- judge --csv "$windows_table" --jobs 1
compare "table on two threads" - -- judge --csv "$work/table.csv" --jobs 1 -- judge --csv "$windows_table" --jobs 2
compare "table, figures chosen" - -- judge --csv "$work/table.csv" --figures p_two_sided,fisher_p_two_sided,chance_to_beat \
  -- judge --csv "$windows_table" --figures p_two_sided,fisher_p_two_sided,chance_to_beat

compare "versions, tests together" - -- judge --csv "$work/long.csv" -- judge --csv "$windows_long"
compare "versions, tests scattered" - -- judge --csv "$work/scattered.csv" --json -- judge --csv "$windows_scattered" --json
compare "versions on standard input" "$work/long.csv" -- judge --csv - --jobs 1 -- judge --csv - --jobs 2

echo "== The window and the installer under Wine"
scripts/windows-window.sh
