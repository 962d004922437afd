#!/usr/bin/env bash
# Builds the .deb (build/package/ambrelay_<version>_<arch>.deb) and proves it:
# apt accepts it with its computed dependencies, its files land where the
# desktop looks for them, and the installed program starts.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_preset package "${CHECK_PACKAGES[@]}" dpkg-dev
rm -f build/package/ambrelay_*.deb
(cd build/package && cpack -G DEB)
deb=$(ls build/package/ambrelay_*.deb)
echo "Built $deb"

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
case "$depends" in
  *libqt6widgets6*) ;;
  *) echo "the package does not depend on the Qt widgets library" >&2; exit 1 ;;
esac
apt-get install --simulate --quiet "./$deb" >/dev/null
echo "apt can install it with its dependencies"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"
for file in usr/bin/ambrelay usr/bin/ambrelay-cli usr/share/man/man1/ambrelay-cli.1 \
            usr/share/applications/example.ambrelay.Ambrelay.desktop \
            usr/share/metainfo/example.ambrelay.Ambrelay.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/example.ambrelay.Ambrelay.svg \
            usr/share/icons/hicolor/48x48/apps/example.ambrelay.Ambrelay.png \
            usr/share/doc/ambrelay/kelvoryhelp.html; do
  [ -e "$root/$file" ] || { echo "missing from the package: $file" >&2; exit 1; }
done
desktop-file-validate "$root/usr/share/applications/example.ambrelay.Ambrelay.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/example.ambrelay.Ambrelay.metainfo.xml" >/dev/null

# The installed program keeps running until it is closed: still alive after
# three seconds means it started.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/ambrelay" || status=$?
if [ "$status" -ne 124 ]; then
  echo "the installed program did not keep running (exit status $status)" >&2
  exit 1
fi
echo "The installed program starts."
"$root/usr/bin/ambrelay-cli" judge 1000 100 1000 130 | grep -q "Variation B is the clear and undisputed winner"
echo "The installed command line judges."
