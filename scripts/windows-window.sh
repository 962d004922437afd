#!/usr/bin/env bash
# The Windows window and its installer, checked from outside as Wine shows
# them on a virtual X display: the title and client size, the worked example
# typed in and the report Ctrl+C puts on the clipboard, the message box of a
# blank box, the system colours following the user's scheme, then a silent
# install, the installed window and its help page, and a silent uninstall.
# Expects the windows preset built with its window and installer, and the cli
# preset's Linux ambrelay-cli (scripts/windows.sh builds both and runs this).
#   scripts/windows-window.sh [--screenshot]   (also writes docs/window-windows.png)
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" wine64 xvfb xauth openbox xdotool x11-utils xclip imagemagick icoutils \
  g++-mingw-w64-x86-64-posix >&2
build=$repo_root/build/windows
exe=$build/app/ambrelay.exe
setup=$(ls "$build"/Ambrelay-*-setup.exe)
linux_cli=$repo_root/build/cli/cli/ambrelay-cli
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver_program=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
wineserver() { "$wineserver_program" "$@"; }
for needed in "$exe" "$setup" "$linux_cli"; do
  [ -e "$needed" ] || { echo "missing $needed: build the windows and cli presets first" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
Xvfb :91 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=:91
sleep 1
openbox >/dev/null 2>&1 & pids+=($!)
"$wine" wineboot --init >/dev/null 2>&1
wineserver -w

status=0
fail() { echo "FAIL: $*" >&2; status=1; }
pass() { echo "ok: $*"; }

# Starts a Windows program and waits for its window of that exact title.
start() { # title, program, arguments...
  local title=$1 id=""
  shift
  "$wine" "$@" >/dev/null 2>&1 &
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { fail "no window titled $title from $*"; return 1; }
  sleep 1.5
  xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
  echo "$id"
}
stop() { wineserver -k 2>/dev/null || true; sleep 0.5; }
pixel() { # window id, x, y -> "r,g,b"
  import -window "$1" "$work/shot.png" 2>/dev/null
  convert "$work/shot.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
# Points inside a caption with the inactive border's colour (Z Statistic) and
# a value field with the 3-D light colour (the z statistic, empty at start).
caption_point=(130 238)
field_point=(118 255)

echo "== The window"
id=$(start Ambrelay "$exe") || exit 1
size=$(xwininfo -id "$id" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = 350x464 ] && pass "client size $size" || fail "client size $size, not 350x464"
# A fixed dialog frame: no resizing, no minimise or maximise button (Motif
# hints: flags, functions, decorations, ...).
read -r functions decorations < <(xprop -id "$id" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g' | awk '{ print $2, $3 }')
if [ -n "${functions:-}" ] && (( (functions & 0x1a) == 0 && (decorations & 0x64) == 0 )); then
  pass "a fixed dialog frame without minimise or maximise (functions $functions, decorations $decorations)"
else
  fail "the frame offers resizing, minimising or maximising (functions ${functions:-?}, decorations ${decorations:-?})"
fi
read -r left top < <(xwininfo -id "$id" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x, y }')
if (( left >= 307 && left <= 367 && top >= 122 && top <= 182 )); then
  pass "centred on the screen (client at $left,$top)"
else
  fail "not centred: the client is at $left,$top on a 1024x768 screen"
fi
title=$(xdotool getwindowname "$id")
[ "$title" = Ambrelay ] && pass "titled $title" || fail "titled '$title'"
default_caption=$(pixel "$id" "${caption_point[@]}")
default_field=$(pixel "$id" "${field_point[@]}")
for count in 1000 100 1000 130; do
  xdotool type --delay 40 "$count"
  xdotool key Return
  sleep 0.3
done
xdotool key Return
sleep 1.5
if [ "${1:-}" = --screenshot ]; then
  import -window "$id" "$repo_root/docs/window-windows.png"
  echo "Wrote docs/window-windows.png"
fi
xdotool key ctrl+c
sleep 1
xclip -o -selection clipboard 2>/dev/null | tr -d '\r' >"$work/report.txt" || true
{
  printf 'Ambrelay A/B test result\nVersion 1 (A): 1000 observations, 100 responses\n'
  printf 'Version 2 (B): 1000 observations, 130 responses\n\n'
  "$linux_cli" judge 1000 100 1000 130
} >"$work/expected.txt"
# The clipboard holds no final line end.
if diff <(cat "$work/report.txt"; echo) "$work/expected.txt" >"$work/report.diff" \
  || diff "$work/report.txt" "$work/expected.txt" >/dev/null; then
  pass "the report on the clipboard is the Linux report"
else
  fail "the report differs from the Linux one:"; cat "$work/report.diff" >&2
fi
grep -q "^Verdict: Variation B is the clear and undisputed winner with a likelihood of 98.214%$" "$work/report.txt" \
  && pass "the verdict" || fail "no verdict in the report"
# A blank box: empty the first box, four tabs on to Go.
xdotool key ctrl+a BackSpace
for _ in 1 2 3 4; do xdotool key Tab; sleep 0.2; done
xdotool key Return
sleep 1.5
if box=$(xdotool search --onlyvisible --name '^Kelvory$' 2>/dev/null | head -n 1) && [ -n "$box" ]; then
  pass "a blank box raises the message box titled Kelvory"
  xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
  xdotool key Return
else
  fail "no message box titled Kelvory after a blank box"
fi
stop

echo "== The colour scheme"
"$wine" reg add 'HKCU\Control Panel\Colors' /v ButtonLight /t REG_SZ /d "10 200 30" /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Control Panel\Colors' /v InactiveBorder /t REG_SZ /d "200 40 90" /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
id=$(start Ambrelay "$exe") || exit 1
caption=$(pixel "$id" "${caption_point[@]}")
field=$(pixel "$id" "${field_point[@]}")
[ "$field" = 10,200,30 ] && pass "3-D light follows the scheme ($default_field, then $field)" \
  || fail "the value field is $field, not the scheme's 3-D light 10,200,30"
[ "$caption" = 200,40,90 ] && pass "inactive border follows the scheme ($default_caption, then $caption)" \
  || fail "the caption is $caption, not the scheme's inactive border 200,40,90"
stop

echo "== The installer"
"$wine" "$setup" /S >/dev/null 2>&1
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/Ambrelay"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ambrelay/Ambrelay.lnk"
for file in "$installed/ambrelay.exe" "$installed/ambrelay-cli.exe" "$installed/help/kelvoryhelp.html" "$shortcut"; do
  [ -e "$file" ] && pass "installed ${file#"$WINEPREFIX/"}" || fail "not installed: ${file#"$WINEPREFIX/"}"
done
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ambrelay'
"$wine" reg query "$key" /v DisplayVersion 2>/dev/null | tr -d '\r' | grep -q "REG_SZ *1.00$" \
  && pass "listed among the installed programs" || fail "no entry among the installed programs"
# Help: a stand-in browser, a small Windows program, records what the shell
# asks it to open.
cat >"$work/record.c" <<'EOF'
#include <stdio.h>
int main(int argc, char** argv) {
  FILE* f = fopen("C:\\opened.txt", "a");
  for (int i = 1; f && i < argc; ++i) fprintf(f, "%s\n", argv[i]);
  return f ? fclose(f) : 1;
}
EOF
x86_64-w64-mingw32-gcc-posix -static -o "$WINEPREFIX/drive_c/record.exe" "$work/record.c"
opened=$WINEPREFIX/drive_c/opened.txt
# Starts the installed window, tabs on to Help and presses it; then checks
# what the stand-in was asked to open against a pattern.
press_help() { # pattern, what it is
  rm -f "$opened"
  wineserver -k 2>/dev/null || true
  if id=$(start Ambrelay "$installed/ambrelay.exe"); then
    pass "the installed window starts"
    for _ in 1 2 3 4 5 6; do xdotool key Tab; sleep 0.2; done
    xdotool key Return
    sleep 3
  fi
  if grep -qi "$1" "$opened" 2>/dev/null; then
    pass "Help opens $2: $(tr -d '\r' <"$opened")"
  else
    fail "Help did not open $2 (opened: $(cat "$opened" 2>/dev/null))"
  fi
  stop
}
# First with a browser: the stand-in takes web addresses, and Help hands it
# the help page's web address through the shell.
"$wine" reg add 'HKCR\http' /ve /d "URL:HyperText Transfer Protocol" /f >/dev/null 2>&1
"$wine" reg add 'HKCR\http' /v "URL Protocol" /d "" /f >/dev/null 2>&1
"$wine" reg add 'HKCR\http\shell\open\command' /ve /d 'C:\record.exe "%1"' /f >/dev/null 2>&1
press_help '^http://[^/]*/kelvoryhelp.html?ambrelayhelp' "the web address with a browser set"
# Then with none: nothing takes a web address, and the installed page opens.
for scheme in http https; do "$wine" reg delete "HKCR\\$scheme" /f >/dev/null 2>&1 || true; done
"$wine" reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1
"$wine" reg add 'HKCR\htmlfile\shell\open\command' /ve /d 'C:\record.exe "%1"' /f >/dev/null 2>&1
press_help 'Program Files.Ambrelay.help.kelvoryhelp.html' "the installed page with no browser"
"$wine" "C:\\Program Files\\Ambrelay\\uninstall.exe" /S >/dev/null 2>&1
wineserver -w
sleep 2
wineserver -w
left=()
[ -e "$installed" ] && left+=("$installed")
[ -e "$(dirname "$shortcut")" ] && left+=("the Start-menu folder")
"$wine" reg query "$key" >/dev/null 2>&1 && left+=("the installed-programs entry")
[ ${#left[@]} -eq 0 ] && pass "the silent uninstall leaves nothing behind" || fail "left behind: ${left[*]}"

[ "$status" -eq 0 ] && echo "The window and its installer pass under Wine." || echo "Some checks failed under Wine." >&2
exit "$status"
