#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite
# on the offscreen platform (no display needed).
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${CHECK_PACKAGES[@]}"
cd "$repo_root"
cmake --preset default
cmake --build --preset default
ctest --preset default
