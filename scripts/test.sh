#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite
# on the offscreen platform (no display needed).
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_preset default "${CHECK_PACKAGES[@]}"
ctest --preset default
