#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# File to file with a sound server: Sorinel's own advance through a folder of
# short clips against mpv's play list of the same files, on the same null
# sink, in the same run (bench/file_to_file.py). Called by bench/run-all.sh;
# alone:
#
#   bench/file-to-file.sh SORINEL MEDIA_DIR [REPEAT] [SERVER...]
#
# SERVER is pulse, pipewire or none (default: pulse pipewire); each gets a
# server of its own (bench/with-sound-server.sh). Needs DISPLAY, mpv,
# xdotool, ffmpeg, the servers, and python3-pyatspi with at-spi2-core to find
# Sorinel's list. Five 3-s clips (MPEG-1 with MP2 sound, 320x240) are made in
# MEDIA_DIR/file-to-file when missing. Prints the measurements, then
# "@ f2f_SERVER_{gap,period,still}[_max]_{sorinel,x11,gpu} SECONDS" medians
# and maxima.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sorinel=$1
clips=$2/file-to-file
repeat=${3:-2}
shift $(($# < 3 ? $# : 3))
servers=("$@")
[ ${#servers[@]} -gt 0 ] || servers=(pulse pipewire)

# Clip k is colour k of file_to_file.py's palette, with two grey bands across
# the middle that tell which frame shows: frame N is 15 * the upper band's
# step (40 levels a step) + the lower band's (15 levels a step).
colours=(0xFF0000 0x00FF00 0x0000FF 0xFFFF00 0xFF00FF)
mkdir -p "$clips"
for k in "${!colours[@]}"; do
  clip=$clips/$k.mpg
  [ -f "$clip" ] && continue
  upper="between(Y,H*0.35,H*0.5-1)"; lower="between(Y,H*0.5,H*0.65)"
  level="if($upper,16+40*floor(N/15),if($lower,16+15*mod(N,15),lum(X,Y)))"
  grey="if($upper+$lower,128,"
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "color=c=${colours[$k]}:s=320x240:r=25:d=3,format=yuv420p,geq=lum='$level':cb='${grey}cb(X,Y))':cr='${grey}cr(X,Y))'" \
    -f lavfi -i "sine=frequency=440:duration=3" \
    -c:v mpeg1video -q:v 2 -c:a mp2 -f mpeg "$clip.part"
  mv "$clip.part" "$clip"
done

status=0
for server in "${servers[@]}"; do
  echo "-- sound server: $server"
  "$here/with-sound-server.sh" "$server" "$here/file_to_file.py" "$sorinel" "$clips" "$repeat" "$server" || status=1
done
exit $status
