#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the program's icon as a square PNG of SIZE pixels: the tan rounded
# tile bearing the black character 映, the same look as the window icon in
# resources/sorinel-icon.ico (drawn there at 48 px). Each size is drawn on its
# own rather than scaled from a large one, so the small sizes stay crisp.
#
#   draw-icon.sh SIZE OUT.png
set -eu

if [ $# -ne 2 ]; then
  echo "usage: $0 SIZE OUT.png" >&2
  exit 2
fi
size=$1
out=$2
case $size in
  '' | *[!0-9]*) echo "$0: SIZE must be a whole number of pixels" >&2; exit 2 ;;
esac
if [ "$size" -lt 16 ] || [ "$size" -gt 1024 ]; then
  echo "$0: SIZE must lie between 16 and 1024" >&2
  exit 2
fi

# The 48 px drawing, scaled: a 1 px margin, corners of radius 8, a 38 pt
# character set 1 px below the centre. awk does the fractional arithmetic.
read -r margin far radius points shift <<EOF_GEOMETRY
$(awk -v s="$size" 'BEGIN {
  k = s / 48
  m = k < 1 ? 0 : k
  printf "%.2f %.2f %.2f %.2f %d\n", m, s - 1 - m, 8 * k, 38 * k, int(k + 0.5)
}')
EOF_GEOMETRY

# IPAGothic comes from fonts-ipafont-gothic; without it ImageMagick would
# silently fall back to a font without the character and draw an empty tile.
if ! fc-list IPAGothic | grep -q .; then
  echo "$0: the IPAGothic font is missing (Debian package fonts-ipafont-gothic)" >&2
  exit 1
fi

tmp="$out.tmp.png"
# -strip and the excluded chunks keep the file free of dates, so two builds
# give the same bytes.
convert -size "${size}x${size}" xc:none \
  -fill 'rgb(210,180,140)' -draw "roundrectangle $margin,$margin $far,$far $radius,$radius" \
  -fill black -font IPAGothic -pointsize "$points" \
  -gravity center -annotate "+0+$shift" '映' \
  -strip -define png:exclude-chunks=date,time \
  "PNG32:$tmp"
mv "$tmp" "$out"
