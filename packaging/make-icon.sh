#!/usr/bin/env bash
# Composes the desktop icon from the Walnut theme's checkers (ImageMagick); output committed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
theme="$here/../data/Themes/Walnut"
convert -size 128x128 xc:none -fill '#6b4423' -draw "roundrectangle 4,4 123,123 18,18" \
  \( "$theme/checker_red.png" -resize 72x72 \) -geometry +14+14 -composite \
  \( "$theme/checker_blue.png" -resize 72x72 \) -geometry +42+42 -composite \
  "$here/tabulon.png"
