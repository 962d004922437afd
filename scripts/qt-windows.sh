#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (MinGW-w64, posix threads, static) from
# Debian's own source of the Qt this machine runs, once per machine, into a
# cache outside the work tree; later runs find it there at once. Prints the
# folder of the built Qt on its last line.
#   scripts/qt-windows.sh            build if missing, print the folder
#   scripts/qt-windows.sh --where    print the folder it would use, build nothing
set -euo pipefail
source "$(dirname "$0")/common.sh"

# The host's Qt provides the tools (moc, rcc, uic) and decides the version.
"$repo_root/scripts/install-deps.sh" qt6-base-dev qt6-base-dev-tools >&2
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)

# Only what the window and its tests use: Core, Gui, Widgets and Test, the
# windows platform plugin and styles, PNG for the icons, and the bundled
# third-party libraries, so nothing else needs building for Windows.
# Debian's source leaves out the tablet-support header, so tablet events go.
options=(
  -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
  -DINPUT_opengl=no -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_sql_sqlite=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_doubleconversion=OFF -DFEATURE_zstd=OFF
)
key=$(printf '%s\n' "$version" "${options[@]}" | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/ambrelay
prefix=$cache/qt-windows-${version//[^0-9A-Za-z.]/_}-$key
if [ "${1:-}" = --where ]; then
  echo "$prefix"
  exit 0
fi
if [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "$prefix"
  exit 0
fi

"$repo_root/scripts/install-deps.sh" cmake ninja-build perl python3 dpkg-dev g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 >&2

# apt-get source needs a deb-src entry; one is made from the machine's own
# deb entries, so the source comes from where its packages come from.
if ! grep -rqs '^\s*\(Types:.*deb-src\|deb-src\)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -e "$list" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$list" | "${sudo_cmd[@]}" tee "${list%.sources}-ambrelay-src.sources" >/dev/null
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/ambrelay-src.list >/dev/null
  fi
  "${sudo_cmd[@]}" apt-get update -q >&2
fi

work=$cache/qt-windows-work-$key
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
started=$(date +%s)
(cd "$work" && apt-get source -q "qt6-base=$version" >&2)
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)

cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo_root/cmake/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >&2
cmake --build "$work/build" --parallel "$(nproc)" >&2
cmake --install "$work/build" >&2
echo "Built Qt $version for Windows in $(( ($(date +%s) - started) / 60 )) minutes into $prefix" >&2
echo "$prefix"
