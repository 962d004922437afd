#!/usr/bin/env bash
# Installs what is missing, builds the program and opens its window.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_preset default xvfb xauth --target ambrelay
exec "$repo_root/build/default/app/ambrelay"
