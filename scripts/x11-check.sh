#!/usr/bin/env bash
# Runs the tests that need a real X display (what the window manager is told)
# on a virtual one. Expects a build of the default preset.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_preset default xvfb xauth x11-utils
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset x11
