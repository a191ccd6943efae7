#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Click to picture, black box, with and without a sound server: Sorinel
# against mpv vo=gpu and vo=x11 in the same run (bench/click_to_picture.py).
# Called by bench/run-all.sh; alone:
#
#   bench/click-to-picture.sh SORINEL MEDIA_DIR [REPEAT]
#
# Needs DISPLAY (a 1920x1080 Xvfb), mpv, xdotool, ffmpeg, pulseaudio, and
# python3-pyatspi with at-spi2-core, through which Sorinel's list entries are
# found (bench/sorinel_places.py); the script ends with an error when they
# are not.
# The two clips (1080p H.264 with sound, a red or a blue box in the middle)
# are made in MEDIA_DIR when missing. Prints the measurements, then
# "@ click_{sound,silent}_{idle,switch}_{sorinel,gpu,x11} SECONDS" medians.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sorinel=$1
media=$2
repeat=${3:-5}
mkdir -p "$media"
for colour in red blue; do
  clip=$media/click-$colour.mov
  [ -f "$clip" ] && continue
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc2=size=1920x1080:rate=30:duration=8,drawbox=x=iw/4:y=ih/4:w=iw/2:h=ih/2:color=$colour:t=fill" \
    -f lavfi -i "sine=frequency=440:duration=8" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -f mov "$clip.part"
  mv "$clip.part" "$clip"
done

echo "-- with a sound server (PulseAudio, null sink)"
"$here/with-sound-server.sh" pulse \
  "$here/click_to_picture.py" "$sorinel" "$media/click-red.mov" "$media/click-blue.mov" "$repeat" sound
echo "-- without a sound server"
"$here/with-sound-server.sh" none \
  "$here/click_to_picture.py" "$sorinel" "$media/click-red.mov" "$media/click-blue.mov" "$repeat" silent
