#!/usr/bin/env bash
# The Windows window and its installer, checked from outside as Wine shows
# them on a virtual X display: the title and client size, the worked example
# typed in and the report Ctrl+C puts on the clipboard (with its HTML table),
# the message box of a blank box, the system colours following the user's
# scheme; then the installer: silent installs for the user alone and for
# everyone (an older version first, and each over the other), every value of
# their entries read back from the registry, the installed window and its
# help page, the uninstallers leaving nothing behind; and the installer's
# own window: its footer, its pages and Finish.
# Expects the windows preset built with its window and installer, and the cli
# preset's Linux ambrelay-cli (scripts/windows.sh builds both and runs this).
#   scripts/windows-window.sh [--screenshot]   (also writes docs/window-windows.png
#                                               and docs/help/installer-finish.png)
set -euo pipefail
# A command that ends the script early says so, with its line.
trap 'echo "FAIL: the checks stopped at line $LINENO: $BASH_COMMAND" >&2' ERR
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" wine64 xvfb xauth openbox xdotool x11-utils xclip imagemagick icoutils \
  g++-mingw-w64-x86-64-posix nsis >&2
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
# Wine's menu builder stays off: the shortcuts checked are the ones in the
# prefix, and the checks leave the home folder's menus alone.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LC_ALL=C.UTF-8
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
# Beside it, the same copy's HTML table, as Windows hands it to other programs.
xclip -o -selection clipboard -t text/html 2>/dev/null | tr -d '\r' >"$work/report.html" || true
rows=$(grep -c '^<tr><td>' "$work/report.html" || true)
figures=$(sed -n '/^$/,/^$/p' "$work/expected.txt" | grep -c ': ' || true)
if grep -qF '<tr><td>Verdict</td><td>Variation B is the clear and undisputed winner with a likelihood of 98.214%</td></tr>' \
  "$work/report.html" && [ "$rows" = "$figures" ]; then
  pass "an HTML table beside it, a row for each of the report's $figures figures"
else
  fail "no HTML table of the report's $figures figures beside it ($rows rows)"
fi
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

# Windows helpers built here with MinGW: a stand-in browser that records
# what the shell asks it to open, and a reader of the texts a window shows.
cat >"$work/record.c" <<'EOF'
#include <stdio.h>
int main(int argc, char** argv) {
  FILE* f = fopen("C:\\opened.txt", "a");
  for (int i = 1; f && i < argc; ++i) fprintf(f, "%s\n", argv[i]);
  return f ? fclose(f) : 1;
}
EOF
x86_64-w64-mingw32-gcc-posix -static -o "$WINEPREFIX/drive_c/record.exe" "$work/record.c"
# texts.exe TITLE: the visible window of that title (trailing spaces aside),
# then each of its visible controls as "id<TAB>text", in UTF-8, as Windows
# itself reports them (GetWindowTextW, and WM_GETTEXT for what it cannot).
cat >"$work/texts.c" <<'EOF'
#include <windows.h>
#include <stdio.h>
#include <wchar.h>
static const wchar_t* wanted;
static void say(int id, HWND w) {
  wchar_t text[1024] = L"";
  char utf8[4096];
  /* GetWindowTextW reads an edit box of another program as empty; the
     message asks the box itself. */
  SendMessageW(w, WM_GETTEXT, 1024, (LPARAM)text);
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL);
  printf("%d\t%s\n", id, utf8);
}
static BOOL CALLBACK control(HWND w, LPARAM unused) {
  (void)unused;
  if (IsWindowVisible(w)) say(GetDlgCtrlID(w), w);
  return TRUE;
}
static BOOL CALLBACK top(HWND w, LPARAM found) {
  wchar_t title[1024];
  size_t n = GetWindowTextW(w, title, 1024);
  while (n > 0 && title[n - 1] == L' ') title[--n] = 0;
  if (!IsWindowVisible(w) || wcscmp(title, wanted) != 0) return TRUE;
  say(0, w);
  EnumChildWindows(w, control, 0);
  *(int*)found = 1;
  return FALSE;
}
int wmain(int argc, wchar_t** argv) {
  int found = 0;
  if (argc != 2) return 2;
  wanted = argv[1];
  EnumWindows(top, (LPARAM)&found);
  return found ? 0 : 1;
}
EOF
x86_64-w64-mingw32-gcc-posix -municode -static -o "$WINEPREFIX/drive_c/texts.exe" "$work/texts.c"
texts() { "$wine" 'C:\texts.exe' "$1" 2>/dev/null | tr -d '\r'; }

echo "== The installer: for one user, for everyone, and both"
version=1.00
site=$(sed -n 's/.*kSiteHost = QStringLiteral("\([^"]*\)").*/\1/p' "$repo_root/ui/site_addresses.h")
# An older version built from the same files, to install a newer one over.
makensis -V1 -DVERSION=0.99 -DSTAGE="$build/windows-stage" -DPICTURES="$build/installer-pictures" -DSITE="$site" \
  -DOUTFILE="$work/Ambrelay-0.99-setup.exe" "$repo_root/app/windows/installer.nsi" >/dev/null
windows_folder() { "$wine" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
unix_path() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
own_programs=$(windows_folder LOCALAPPDATA)'\Programs\Ambrelay'
everyones_programs='C:\Program Files\Ambrelay'
own_menu=$(unix_path "$(windows_folder APPDATA)"'\Microsoft\Windows\Start Menu\Programs\Ambrelay')
everyones_menu=$(unix_path "$(windows_folder ProgramData)"'\Microsoft\Windows\Start Menu\Programs\Ambrelay')
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Runs an installer or uninstaller and waits for Wine to go quiet; one that
# exits other than 0 is a failure said, not a silent end.
run_setup() { # program, arguments...
  local code=0
  "$wine" "$@" >/dev/null 2>&1 || code=$?
  wineserver -w || true
  [ "$code" = 0 ] || fail "$* exited with status $code"
}
# The uninstaller copies itself away and returns at once; wait for the copy.
run_uninstaller() { run_setup "$1\\uninstall.exe" /S; sleep 2; wineserver -w || true; }
value() { # root, value name
  "$wine" reg query "$1\\$uninstall_key\\Ambrelay" /v "$2" 2>/dev/null | tr -d '\r' \
    | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" || true
}
entries() { # root: how many Ambrelay entries its installed programs list
  "$wine" reg query "$1\\$uninstall_key" 2>/dev/null | tr -d '\r' | grep -ci '\\Ambrelay' || true
}
# Every value of the entry under ROOT for a copy in FOLDER, named NAME; the
# size in KiB of the files actually there.
check_entry() { # root, folder (Windows), name, what it is
  local root=$1 folder=$2 name=$3 what=$4 bytes expected got problems=()
  if [ ! -d "$(unix_path "$folder")" ]; then
    fail "$what: nothing installed in $folder ($(entries HKCU) entries for the user, $(entries HKLM) for everyone)"
    return
  fi
  bytes=$(find "$(unix_path "$folder")" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  expected=$(printf '0x%x' $((bytes / 1024)))
  local -A want=(
    [DisplayName]=$name [DisplayVersion]=$version [Publisher]="The Ambrelay developers"
    [DisplayIcon]="$folder\\ambrelay.exe" [InstallLocation]=$folder
    [UninstallString]="\"$folder\\uninstall.exe\"" [QuietUninstallString]="\"$folder\\uninstall.exe\" /S"
    [URLInfoAbout]="http://$site/about.html" [HelpLink]="http://$site/kelvoryhelp.html?ambrelayhelp"
    [NoModify]=0x1 [NoRepair]=0x1 [EstimatedSize]=$expected
  )
  for v in "${!want[@]}"; do
    got=$(value "$root" "$v")
    [ "${got,,}" = "${want[$v],,}" ] || problems+=("$v is '$got', not '${want[$v]}'")
  done
  if [ ${#problems[@]} -eq 0 ]; then
    pass "$what: the entry's ${#want[@]} values, EstimatedSize $((bytes / 1024)) KiB as installed"
  else
    fail "$what: ${problems[*]}"
  fi
}
installed_in() { # folder (Windows), menu folder (Unix), shortcut name, what it is
  local missing=() file
  for file in ambrelay.exe ambrelay-cli.exe uninstall.exe help/kelvoryhelp.html; do
    [ -e "$(unix_path "$1")/$file" ] || missing+=("$file")
  done
  [ -e "$2/$3.lnk" ] || missing+=("the Start-menu shortcut $3")
  cmp -s "$(unix_path "$1")/ambrelay.exe" "$build/windows-stage/ambrelay.exe" || missing+=("this build's ambrelay.exe")
  if [ ${#missing[@]} -eq 0 ]; then
    pass "$4: the programs, the help page and the shortcut '$3'"
  else
    fail "$4: missing ${missing[*]}"
  fi
}
gone() { # what it is, then Unix paths that must not exist
  local what=$1 left=() path
  shift
  for path in "$@"; do [ -e "$path" ] && left+=("$path"); done
  [ ${#left[@]} -eq 0 ] && pass "$what" || fail "$what: left behind ${left[*]}"
}

# Wine counts every account an administrator, so the path of a user without
# those rights (for the user alone, asking nothing) cannot be proved here;
# /CurrentUser takes the same path by choice.
run_setup "$work/Ambrelay-0.99-setup.exe" /S /CurrentUser
[ "$(value HKCU DisplayVersion)" = 0.99 ] && pass "0.99 installed for the user alone" \
  || fail "0.99 for the user alone: DisplayVersion '$(value HKCU DisplayVersion)'"
run_setup "$setup" /S /CurrentUser
[ "$(entries HKCU)" = 1 ] && [ "$(entries HKLM)" = 0 ] \
  && pass "$version over 0.99 for the user: one entry, in the user's registry" \
  || fail "over 0.99 for the user: $(entries HKCU) entries for the user, $(entries HKLM) for everyone"
check_entry HKCU "$own_programs" Ambrelay "for the user alone"
installed_in "$own_programs" "$own_menu" Ambrelay "for the user alone, under $own_programs"

run_setup "$setup" /S /AllUsers
check_entry HKLM "$everyones_programs" Ambrelay "for everyone"
installed_in "$everyones_programs" "$everyones_menu" Ambrelay "for everyone, under $everyones_programs"
[ "$(entries HKCU)" = 0 ] && pass "for everyone replaces the user's own copy: one entry" \
  || fail "the user's own entry stayed beside the one for everyone"
gone "the user's own copy and shortcut are gone" "$(unix_path "$own_programs")" "$own_menu"

run_setup "$setup" /S /CurrentUser
check_entry HKCU "$own_programs" "Ambrelay (just for me)" "for the user beside everyone's"
installed_in "$own_programs" "$own_menu" "Ambrelay (just for me)" "the user's own copy beside everyone's"
[ "$(value HKLM DisplayName)" = Ambrelay ] && [ -e "$everyones_menu/Ambrelay.lnk" ] \
  && pass "everyone's copy keeps its name: two names, no two alike" || fail "everyone's copy changed"
run_uninstaller "$own_programs"
[ "$(entries HKCU)" = 0 ] && [ "$(entries HKLM)" = 1 ] && pass "the user's uninstaller removes the user's entry alone" \
  || fail "after the user's uninstall: $(entries HKCU) entries for the user, $(entries HKLM) for everyone"
gone "the user's uninstaller leaves nothing of the user's copy" "$(unix_path "$own_programs")" "$own_menu"
installed_in "$everyones_programs" "$everyones_menu" Ambrelay "everyone's copy untouched"

installed="$WINEPREFIX/drive_c/Program Files/Ambrelay"
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
echo "== The installer as a user sees it"
# Just for the user, chosen on the command line, where everyone's copy is
# installed: the pages, the footer, what the installer says of the other
# copy, the folder it picks, the finish page and Finish.
title="Ambrelay $version Setup"
shows() { # a whole text of the window (a page, or a message over it): waits up to 30 s for it
  for _ in $(seq 60); do texts "$title" | cut -f2 | grep -qxF "$1" && return 0; sleep 0.5; done
  return 1
}
if id=$(start "$title" "$setup" /CurrentUser); then
  shows "Welcome to Ambrelay $version Setup" && pass "the welcome page" || fail "no welcome page"
  xdotool key Return
  shows "Install just for me" && pass "an administrator is asked: for anyone, or just for me" \
    || fail "no choice between anyone and just me"
  # The footer, control 1028 of the installer's window, shows below the
  # pages between the welcome and the finish page.
  texts "$title" >"$work/page.txt"
  footer=$(awk -F'\t' '$1 == 1028 { print $2 }' "$work/page.txt")
  [ "$footer" = "Ambrelay $version" ] && pass "the footer reads '$footer'" || fail "the footer reads '$footer'"
  if grep -qi nullsoft "$work/page.txt"; then
    fail "a text names the tool that built the installer"
  else
    pass "no text names the tool that built the installer"
  fi
  xdotool key Return
  said="Ambrelay $version is already installed for everyone on this computer, in $everyones_programs."
  if shows "$said"; then
    pass "it says everyone's copy is there, and how the user's own is named: $(texts "$title" \
      | grep -F -A3 "$said" | cut -f2 | tr -s '\n' ' ')"
    xdotool key Return
  else
    fail "nothing said of everyone's copy"
  fi
  shows "Destination Folder" && pass "the folder page" || fail "no folder page"
  if shows "$own_programs"; then
    pass "the user's own programs folder: $own_programs"
  else
    fail "not the user's own programs folder: $(texts "$title" | awk -F'\t' '$1 == 1019 { print $2 }')"
  fi
  xdotool key Return
  if shows "Completing Ambrelay $version Setup"; then
    pass "the finish page"
    sleep 1
    import -window "$id" "$build/installer-finish.png"
    if [ "${1:-}" = --screenshot ]; then
      cp "$build/installer-finish.png" "$repo_root/docs/help/installer-finish.png"
      echo "Wrote docs/help/installer-finish.png"
    fi
    # Finish, with "Start Ambrelay" ticked, starts the installed program.
    xdotool key Return
    for _ in $(seq 50); do
      xdotool search --onlyvisible --name '^Ambrelay$' >/dev/null 2>&1 && break
      sleep 0.2
    done
    xdotool search --onlyvisible --name '^Ambrelay$' >/dev/null 2>&1 && pass "Finish starts Ambrelay" \
      || fail "Finish did not start Ambrelay"
  else
    fail "no finish page"
  fi
fi
stop
[ "$(value HKCU DisplayName)" = "Ambrelay (just for me)" ] && pass "listed for the user as 'Ambrelay (just for me)'" \
  || fail "listed for the user as '$(value HKCU DisplayName)'"
run_uninstaller "$own_programs"
run_uninstaller "$everyones_programs"
[ "$(entries HKLM)" = 0 ] && [ "$(entries HKCU)" = 0 ] && pass "both uninstallers remove their entries" \
  || fail "after both uninstalls: $(entries HKLM) entries for everyone, $(entries HKCU) for the user"
gone "both uninstallers leave nothing behind" "$installed" "$everyones_menu" "$(unix_path "$own_programs")" "$own_menu"

[ "$status" -eq 0 ] && echo "The window and its installer pass under Wine." || echo "Some checks failed under Wine." >&2
exit "$status"
