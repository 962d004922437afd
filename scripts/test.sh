#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite
# on the offscreen platform (no display needed), the Python package's too.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_preset default "${CHECK_PACKAGES[@]}"
ctest --preset default
# The Python package, installed as its users install it, against this build's ambrelay-cli.
python=$("$repo_root/scripts/python-package.sh")
AMBRELAY_CLI="$repo_root/build/default/cli/ambrelay-cli" "$python" -m pytest -q -p no:cacheprovider tests/python
