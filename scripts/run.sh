#!/usr/bin/env bash
# Installs what is missing, builds the program and opens its window.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" xvfb xauth
cd "$repo_root"
cmake --preset default
cmake --build --preset default --target ambrelay
exec "$repo_root/build/default/app/ambrelay"
