# Shared by the scripts: the packages a build and its tests need.
# shellcheck shell=bash
BUILD_PACKAGES=(cmake make g++ ccache qt6-base-dev qt6-qpa-plugins fonts-liberation libboost-math-dev libcli11-dev nlohmann-json3-dev libdragonbox-dev)
# The validators the tests run on the desktop entry, metainfo and help page.
CHECK_PACKAGES=(desktop-file-utils appstream libxml2-utils)
# The Python package's build, its virtual environment and its tests.
PYTHON_PACKAGES=(pybind11-dev python3-pybind11 python3-dev python3-venv python3-wheel python3-setuptools
                 python3-numpy python3-pandas python3-dask python3-distributed python3-pytest)
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# ccache finds what another clone compiled: paths below the clone count
# from its top, and the folder a debug build runs in is not part of the key.
export CCACHE_BASEDIR="$repo_root" CCACHE_NOHASHDIR=true

# The preamble every script shares: installs what a build needs and the
# further packages named, then configures and builds the preset (or only the
# targets named after --target), from the top of the repository.
#   build_preset PRESET [PACKAGE...] [--target TARGET...]
build_preset() {
  local preset=$1 packages=() targets=()
  shift
  while [ $# -gt 0 ] && [ "$1" != --target ]; do packages+=("$1"); shift; done
  [ $# -gt 0 ] && shift && targets=(--target "$@")
  "$repo_root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${packages[@]}"
  cd "$repo_root"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" "${targets[@]}"
}
