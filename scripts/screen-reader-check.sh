#!/usr/bin/env bash
# Listens to the window as a blind user would: Orca on a virtual X display
# with openbox, the accessibility bus and speech-dispatcher (to ALSA's null
# device), the program driven by xdotool. Checks what Orca spoke after Go,
# a blank box, Clear and Copy, the averages window's answer and the versions
# window's, and that the
# window is a frame named "Ambrelay". Expects a build of the default preset.
#   scripts/screen-reader-check.sh [PROGRAM]
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" xvfb xauth openbox at-spi2-core dbus-x11 orca \
  speech-dispatcher speech-dispatcher-espeak-ng espeak-ng xdotool python3-pyatspi
program=${1:-$repo_root/build/default/app/ambrelay}
[ -x "$program" ] || { echo "no program at $program: build the default preset first" >&2; exit 2; }

# One listening session inside its own D-Bus session. Prints what Orca spoke.
listen() {
  local scratch=$1
  mkdir -p "$scratch/config" "$scratch/orca-prefs"
  cp -r /etc/speech-dispatcher "$scratch/config/speech-dispatcher"
  # No sound card here: speech goes to ALSA's null device instead of hanging on PulseAudio.
  printf 'AudioOutputMethod "alsa"\nAudioALSADevice "null"\n' >>"$scratch/config/speech-dispatcher/speechd.conf"
  # Orca writes its log block-buffered; line-buffered, every line arrives.
  sed 's/open(args.debug_file, .w.)/open(args.debug_file, "w", buffering=1)/' /usr/bin/orca >"$scratch/orca"
  XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch" SCRATCH="$scratch" PROGRAM="$program" \
    dbus-run-session -- bash "$repo_root/scripts/screen-reader-session.sh"
}

check() { # spoken-file, text that must be spoken
  if ! grep -F -q -- "$2" "$1"; then
    echo "not spoken: $2" >&2
    return 1
  fi
}

attempt() {
  local scratch
  scratch=$(mktemp -d)
  listen "$scratch" || true
  # speech-dispatcher and its modules leave the session: end whatever still runs from the scratch folder.
  pkill -f "$scratch" 2>/dev/null || true
  grep -o "SPEECH OUTPUT: '.*'" "$scratch/orca.log" 2>/dev/null | sed "s/^SPEECH OUTPUT: //" >"$scratch/spoken" || true
  cp "$scratch/spoken" "$repo_root/build/screen-reader-spoken.txt" 2>/dev/null || true
  cat "$scratch/frame" >>"$repo_root/build/screen-reader-spoken.txt" 2>/dev/null || true
  local status=0
  if [ ! -s "$scratch/spoken" ]; then
    status=3  # Orca missed its start: nothing at all was spoken
  else
    check "$scratch/spoken" "Variation B is the clear and undisputed winner with a likelihood of 98.214%" || status=1
    check "$scratch/spoken" "p value 0.01786" || status=1
    check "$scratch/spoken" "98 percent." || status=1
    if grep -F -q "326 percent" "$scratch/spoken"; then echo "spoken: 326 percent" >&2; status=1; fi
    check "$scratch/spoken" "You must fill in all four values to obtain a result." || status=1
    check "$scratch/spoken" "The form was cleared." || status=1
    check "$scratch/spoken" "The result was copied to the clipboard." || status=1
    check "$scratch/spoken" "B's average is higher: 55.90 against 52.30, 6.9% more" || status=1
    # Orca's log quotes what it speaks, so the apostrophe of Holm's ends the extract.
    check "$scratch/spoken" "B responded 14.7% more often than A; with 3 versions compared, p = 0.147 after Holm" || status=1
    grep -q "^frame Ambrelay$" "$scratch/frame" 2>/dev/null || { echo "no frame named Ambrelay" >&2; status=1; }
    grep -q "^bar Likelihood for version 2 98 percent$" "$scratch/frame" 2>/dev/null \
      || { echo "the bar is not read as 98 percent by its name" >&2; status=1; }
    grep -q "^insights If you have looked before: the peeking-safe p value is 0.3789" "$scratch/frame" 2>/dev/null \
      || { echo "the insights' peeking-safe line is not on the accessibility bus" >&2; status=1; }
  fi
  rm -rf "$scratch"
  return $status
}

mkdir -p "$repo_root/build"
status=0
attempt || status=$?
if [ "$status" -eq 3 ]; then
  echo "Orca spoke nothing: it missed its start; trying once more." >&2
  status=0
  attempt || status=$?
fi
if [ "$status" -ne 0 ]; then
  echo "What Orca spoke is in build/screen-reader-spoken.txt" >&2
  exit 1
fi
echo "Orca spoke the verdict, the p value, the bar, the blank box's message, Clear, Copy, the averages' answer and the versions' answer; the insights are on the bus."
