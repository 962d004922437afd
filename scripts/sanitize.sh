#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the whole test suite, window tests included; any finding stops it.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${CHECK_PACKAGES[@]}"
cd "$repo_root"
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize
