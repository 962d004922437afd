#!/usr/bin/env bash
# One listening session, run by screen-reader-check.sh inside dbus-run-session
# with SCRATCH (a scratch folder) and PROGRAM set.
set -u
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; }
trap cleanup EXIT

Xvfb :77 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=:77
sleep 1
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & pids+=($!)
openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
/usr/bin/python3 "$SCRATCH/orca" --replace -u "$SCRATCH/orca-prefs" --debug-file "$SCRATCH/orca.log" >/dev/null 2>&1 &
pids+=($!)
sleep 6
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb "$PROGRAM" >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do
  xdotool search --name '^Ambrelay$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 3

type_counts() {
  for count in 1000 100 1000 130; do
    xdotool type --delay 60 "$count"; xdotool key Return; sleep 0.6
  done
}

# The worked example, and Enter on Go.
type_counts
xdotool key Return
sleep 5
# The window on the accessibility bus.
/usr/bin/python3 - >"$SCRATCH/frame" 2>/dev/null <<'PY'
import pyatspi
desktop = pyatspi.Registry.getDesktop(0)
for app in desktop:
    if app is None:
        continue
    for window in app:
        if window is not None and window.name == "Ambrelay":
            print(window.getRoleName(), window.name)
            # The interpretation's insights, which a screen reader reads as its description.
            for label in pyatspi.findAllDescendants(window, lambda o: "If you have looked before" in (o.description or "")):
                for line in label.description.split("\n"):
                    print("insights", line)
            # The bars as a screen reader reads them: value, minimum, maximum.
            for bar in pyatspi.findAllDescendants(window, lambda o: o.getRoleName() == "progress bar"):
                if bar.getState().contains(pyatspi.STATE_SHOWING):
                    v = bar.queryValue()
                    print("bar", bar.name, round(100 * (v.currentValue - v.minimumValue)
                                                  / (v.maximumValue - v.minimumValue)), "percent")
PY
# A blank box: empty the first box and press Go (four tabs on).
xdotool key ctrl+a BackSpace; sleep 0.5
for _ in 1 2 3 4; do xdotool key Tab; sleep 0.3; done
xdotool key Return; sleep 3
xdotool key Return; sleep 2
# Clear is one tab on from Go.
xdotool key Tab; sleep 0.5
xdotool key Return; sleep 3
# The example again, then Copy.
type_counts
xdotool key Return; sleep 4
xdotool key ctrl+c; sleep 3
# The averages window: Ctrl+Shift+A, the order-value example, and the answer
# spoken once typing pauses.
xdotool key ctrl+shift+a; sleep 2
for number in 1200 52.30 41.7 1180 55.90 44.2; do
  xdotool type --delay 60 "$number"; xdotool key Tab; sleep 0.4
done
sleep 4
# Compare more versions: Ctrl+Shift+V opens it on A's observations; three
# homepages typed cell by cell, Tab between them, and the answer spoken.
xdotool key ctrl+shift+v; sleep 2
for cell in 12500 310 "" 12480 355 "" 12510 342; do
  [ -n "$cell" ] && xdotool type --delay 60 "$cell"
  xdotool key Tab; sleep 0.4
done
sleep 4
