#!/usr/bin/env bash
# Renders the window after the worked example into docs/window.png, offscreen.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}"
cd "$repo_root"
cmake --preset default
cmake --build --preset default --target window_screenshot
QT_QPA_PLATFORM=offscreen build/default/docs/window_screenshot docs/window.png
echo "Wrote docs/window.png"
