#!/usr/bin/env bash
# Renders the window after the worked example into docs/window.png, and the
# same under a dark desktop scheme (GTK's Adwaita dark, on a virtual X
# display) into docs/window-dark.png; with a Windows build at hand, also the
# window as Wine shows it into docs/window-windows.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_preset default xvfb xauth qt6-gtk-platformtheme gnome-themes-extra --target window_screenshot
QT_QPA_PLATFORM=offscreen build/default/docs/window_screenshot docs/window.png
echo "Wrote docs/window.png"
for companion in details planner averages versions; do
  QT_QPA_PLATFORM=offscreen build/default/docs/window_screenshot "docs/help/$companion.png" "$companion"
  QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 build/default/docs/window_screenshot "docs/help/$companion-2x.png" "$companion"
done
echo "Wrote the details, planner, averages and versions pictures into docs/help/"
QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark \
  xvfb-run -a -s "-screen 0 1024x768x24" build/default/docs/window_screenshot docs/window-dark.png
echo "Wrote docs/window-dark.png"
# The window as Wine shows it, when the Windows build is there (scripts/windows.sh).
if [ -x build/windows/app/ambrelay.exe ] && [ -x build/cli/cli/ambrelay-cli ]; then
  scripts/windows-window.sh --screenshot
fi
