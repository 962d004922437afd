#!/usr/bin/env bash
# The installer's pictures, drawn from the program's own icon and colours:
# wizard.bmp (164x314) beside the welcome and finish pages, header.bmp
# (150x57) at the right of the other pages' header. The icon's SVG is set
# into a small SVG of each picture, rendered by rsvg-convert and written as
# the 24-bit BMP the installer takes by ImageMagick.
#   installer-pictures.sh OUTPUT_FOLDER ICON.svg VERSION
set -euo pipefail
out=$1 icon=$2 version=$3
mkdir -p "$out"

# The icon's drawing, without its XML declaration and outer element, to nest
# at any size in a picture.
shapes=$(sed -e '/<?xml/d' -e '/<!--.*-->/d' -e '/<svg/d' -e '/<\/svg>/d' "$icon")
icon_at() { # x y size
  printf '<svg x="%s" y="%s" width="%s" height="%s" viewBox="0 0 256 256">%s</svg>' "$1" "$2" "$3" "$3" "$shapes"
}

# The icon's frame colour at the top deepening into its blue bar's below,
# the icon, the name and the version in its light fill.
cat >"$out/wizard.svg" <<EOF
<svg xmlns="http://www.w3.org/2000/svg" width="164" height="314" viewBox="0 0 164 314">
  <defs>
    <linearGradient id="ground" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#303080"/>
      <stop offset="1" stop-color="#3050C0"/>
    </linearGradient>
  </defs>
  <rect width="164" height="314" fill="url(#ground)"/>
  $(icon_at 26 48 112)
  <text x="82" y="196" text-anchor="middle" font-family="Liberation Sans, Arial, sans-serif" font-weight="bold"
        font-size="24" fill="#FFFFFF">Ambrelay</text>
  <text x="82" y="218" text-anchor="middle" font-family="Liberation Sans, Arial, sans-serif" font-size="13"
        fill="#C0C0FF">Version $version</text>
  <rect x="40" y="286" width="84" height="4" fill="#C0C0FF"/>
</svg>
EOF

# The header is white, as the pages' header is; the icon stands at its right.
cat >"$out/header.svg" <<EOF
<svg xmlns="http://www.w3.org/2000/svg" width="150" height="57" viewBox="0 0 150 57">
  <rect width="150" height="57" fill="#FFFFFF"/>
  $(icon_at 97 5 47)
</svg>
EOF

for picture in wizard header; do
  rsvg-convert "$out/$picture.svg" -o "$out/$picture.png"
  convert "$out/$picture.png" -background white -flatten -alpha off -type TrueColor "BMP3:$out/$picture.bmp"
done
