#!/usr/bin/env bash
# Installs the Python package, as the README says, into a virtual
# environment in build/venv that sees Debian's pandas and Dask; builds its
# module first (the "python" preset). Prints the environment's interpreter.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$repo_root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${PYTHON_PACKAGES[@]}" >&2
cd "$repo_root"
venv=build/venv
# Debian's interpreter: a `python3` first on the PATH may be another one
# that cannot see Debian's packages.
[ -x "$venv/bin/python" ] || /usr/bin/python3 -m venv --system-site-packages "$venv" >&2
"$venv/bin/pip" install --quiet --no-build-isolation --no-deps --force-reinstall ./python >&2
echo "$repo_root/$venv/bin/python"
