#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the whole test suite, window tests included; any finding stops it.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_preset sanitize "${CHECK_PACKAGES[@]}"
ctest --preset sanitize
