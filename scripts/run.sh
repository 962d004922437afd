#!/usr/bin/env bash
# Installs what is missing (the Python package's build packages too), builds
# the program and opens its window.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_preset default xvfb xauth "${PYTHON_PACKAGES[@]}" --target ambrelay
exec "$repo_root/build/default/app/ambrelay"
