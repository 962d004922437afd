# Shared by the scripts: the packages a build and its tests need.
# shellcheck shell=bash
BUILD_PACKAGES=(cmake make g++ ccache qt6-base-dev qt6-qpa-plugins fonts-liberation libboost-math-dev libcli11-dev nlohmann-json3-dev)
# The validators the tests run on the desktop entry, metainfo and help page.
CHECK_PACKAGES=(desktop-file-utils appstream libxml2-utils)
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# ccache finds what another clone compiled: paths below the clone count
# from its top, and the folder a debug build runs in is not part of the key.
export CCACHE_BASEDIR="$repo_root" CCACHE_NOHASHDIR=true
