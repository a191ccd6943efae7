#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Generates one short clip for each media extension the player lists, with
# the ffmpeg command line, into DIR:   gen-media.sh DIR [SECONDS] [PREFIX]
# SECONDS defaults to 4. Files already there are kept (a stamp records the
# duration they were made with), so repeated calls cost nothing.
set -euo pipefail
dir=${1:?usage: gen-media.sh DIR [SECONDS] [PREFIX]}
secs=${2:-4}
prefix=${3:-clip}
mkdir -p "$dir"
stamp="$dir/.generated-$prefix-$secs"
[ -f "$stamp" ] && exit 0

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
video=(-f lavfi -i "testsrc=size=320x240:rate=25:duration=$secs")
audio=(-f lavfi -i "sine=frequency=440:duration=$secs")
o="$dir/$prefix"

ff "${video[@]}" "${audio[@]}" -c:v mpeg1video -b:v 800k -c:a mp2 -f mpeg "$o.mpeg"
ff "${video[@]}" "${audio[@]}" -c:v mpeg1video -b:v 800k -c:a mp2 -f mpeg "$o.mpg"
ff "${video[@]}" "${audio[@]}" -c:v mpeg2video -b:v 800k -c:a mp2 -f vob "$o.m2p"
ff "${video[@]}" "${audio[@]}" -c:v wmv2 -b:v 800k -c:a wmav2 -f asf "$o.wmv"
ff "${video[@]}" "${audio[@]}" -c:v wmv2 -b:v 800k -c:a wmav2 -f asf "$o.asf"
ff "${video[@]}" "${audio[@]}" -c:v mpeg2video -b:v 800k -c:a mp2 -f asf "$o.dvr-ms"
ff "${video[@]}" "${audio[@]}" -c:v mpeg4 -c:a libmp3lame -f avi "$o.avi"
ff "${video[@]}" "${audio[@]}" -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -f mov "$o.mov"
ff "${audio[@]}" -c:a wmav2 -f asf "$o.wma"
ff "${audio[@]}" -c:a libmp3lame -f mp3 "$o.mp3"
ff "${audio[@]}" -c:a mp2 -f mp2 "$o.mp2"
ff "${audio[@]}" -c:a pcm_s16le -f wav "$o.wav"
ff "${audio[@]}" -c:a pcm_s16be -f aiff "$o.aiff"
ff "${audio[@]}" -ar 8000 -c:a pcm_mulaw -f au "$o.au"

# A Standard MIDI File, byte by byte: format 0, one track, 96 ticks a quarter,
# 120 beats a minute (a quarter is 0.5 s), one quarter note per half second.
notes=$(awk -v s="$secs" 'BEGIN { print int(s * 2) }')  # SECONDS may have a fraction
track=""
track+='\x00\xff\x51\x03\x07\xa1\x20'   # tempo 500000 us a quarter
track+='\x00\xc0\x00'                    # program 0, piano
for n in $(seq 0 $(( notes - 1 ))); do
  key=$(printf '\\x%02x' $(( 60 + (n % 8) )))
  track+="\\x00\\x90${key}\\x64\\x60\\x80${key}\\x40"   # on, 96 ticks, off
done
track+='\x00\xff\x2f\x00'                # end of track
len=$(printf "$track" | wc -c)
{
  printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60'
  printf 'MTrk'
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((len>>24&255)) $((len>>16&255)) $((len>>8&255)) $((len&255)))"
  printf "$track"
} > "$o.midi"

touch "$stamp"
