#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Sorinel in Release, generates the benchmark media and prints every
# performance figure, measured beside the mpv command-line player in the same
# run where a comparison is made, then a table of them all.
#
#   bench/run-all.sh [--idle-seconds N] [--changes N] [--repeat N] [--file-to-file N] [--sound-only]
#
#   --idle-seconds  how long the idle window is watched (default 10; 30 for the full figure)
#   --changes       automatic file changes for the memory figure (default 200: the size levels off after two to four passes)
#   --repeat        start-up repetitions of each program (default 7)
#   --file-to-file  turns of each player through the folder of clips, on each sound server (default 2)
#   --sound-only    only the figures with a sound server (click to picture, file to file) and their rows
# Environment: SORINEL_BUILD_DIR (default build-bench). Without a DISPLAY it
# starts its own 1920x1080 Xvfb, and openbox for the full-screen figures. The
# mpv command line is installed with apt when missing; it is used only for
# comparison, drawing through OpenGL (vo=gpu) and through X11 images (vo=x11).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
idle_seconds=10
changes=200
repeat=7
file_turns=2
sound_only=no
while [ $# -gt 0 ]; do
  case $1 in
    --idle-seconds) idle_seconds=$2; shift 2 ;;
    --changes) changes=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    --file-to-file) file_turns=$2; shift 2 ;;
    --sound-only) sound_only=yes; shift ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done

build=${SORINEL_BUILD_DIR:-$root/build-bench}
media=$build/bench-media
work=$(mktemp -d)
log=$work/log
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

say() { printf '\n== %s\n' "$*"; }
# A benchmark that did not finish leaves its figures out of the table, and
# the script's exit status says so once the table is out.
status=0
failed() { echo "(this benchmark did not finish; its figures are missing)"; status=1; }
# The value of one "@ key value" line of a benchmark's output.
figure() { awk -v k="$1" '$1 == "@" && $2 == k { print $3 }' "$2"; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else printf "%.3f\n", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "nan"; else printf "%.2f", a / b }'; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# "tid name ticks" for each thread of a process.
thread_ticks() {
  for t in /proc/"$1"/task/*; do
    printf '%s %s %s\n' "${t##*/}" "$(tr ' ' '_' <"$t/comm")" "$(awk '{ sub(/.*\) /, ""); print $12 + $13 }' "$t/stat")"
  done 2>/dev/null
}
# Where the CPU went between two thread_ticks snapshots, numbered workers together.
thread_shares() {
  awk 'NR == FNR { was[$1] = $3; next }
       { name = $2; sub(/-?[0-9]+$/, "", name); used[name] += $3 - was[$1]; total += $3 - was[$1] }
       END { for (n in used) if (total > 0 && used[n] * 50 >= total) printf "%d %s %d%%\n", used[n], n, 100 * used[n] / total }' "$1" "$2" \
    | sort -rn | awk '{ printf "%s%s %s", (NR > 1 ? ", " : ""), $2, $3 } END { print "" }'
}

say "Build (Release) in $build"
# The test suite is left out of a build made for the figures: on a small
# machine it is most of the build's time.
SORINEL_BUILD_DIR=$build SORINEL_BUILD_TYPE=Release "$root/scripts/build.sh" -DSORINEL_BUILD_TESTS=OFF >"$log" 2>&1 \
  || { cat "$log"; exit 1; }
grep -q 'CMAKE_BUILD_TYPE:STRING=Release' "$build/CMakeCache.txt" \
  || echo "note: $build was configured earlier with another build type"
b=$build/bench

# What the black-box figures drive, installed with apt where missing: the
# mpv command line (comparison only), the X tools, the sound servers, and the
# accessibility tree through which Sorinel's list is found.
missing=()
for need in mpv:mpv xdotool:xdotool pulseaudio:pulseaudio pipewire:pipewire wireplumber:wireplumber \
  pipewire-pulse:pipewire-pulse pactl:pulseaudio-utils dbus-run-session:dbus-bin \
  /usr/libexec/at-spi-bus-launcher:at-spi2-core /usr/lib/python3/dist-packages/pyatspi:python3-pyatspi; do
  if [ "${need:0:1}" = / ]; then [ -e "${need%%:*}" ]; else command -v "${need%%:*}" >/dev/null; fi \
    || missing+=("${need#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "Installing ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$log" 2>&1 \
    || { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"; }
fi

if [ -z "${DISPLAY:-}" ]; then
  exec 5>"$work/display"
  # -noreset: without it the server turns clients away for a moment each
  # time its last one leaves, as between two benchmarks.
  Xvfb -displayfd 5 -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -1 "$work/display")
  echo "started Xvfb on $DISPLAY"
fi
echo "screen: $(xdpyinfo 2>/dev/null | awk '/dimensions:/ { print $2 }'), load: $(cut -d' ' -f1-3 /proc/loadavg)"
# mpv is told to use the null audio output (except for click to picture and
# file to file, where both choose their own); Sorinel uses the desktop's sound and falls
# back to the null output by itself when there is none.
if [ -e /dev/snd ] || [ -n "${PULSE_SERVER:-}" ] || [ -S "${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" ]; then
  echo "note: a sound device is present: Sorinel's figures include playing sound, mpv's do not"
fi
say "Media in $media"
"$root/scripts/gen-media.sh" "$media/short" 1
clip=$media/clip-1080p.mov
if [ ! -f "$clip" ]; then
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc2=size=1920x1080:rate=30:duration=16" -f lavfi -i "sine=frequency=440:duration=16" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -f mov "$clip.part"
  mv "$clip.part" "$clip"
fi
echo "1080p clip: $(ffprobe -v error -select_streams v -show_entries stream=codec_name,width,height,r_frame_rate -of csv=p=0 "$clip"), 16 s"

# The comparison: mpv with no user configuration, no on-screen controller and
# no hardware decoding, drawing through OpenGL (allowed on a software
# renderer) or into X11 images.
mpv_base=(mpv --no-config --osc=no --hwdec=no --ao=null --opengl-sw=yes)
mpv_gpu=("${mpv_base[@]}" --vo=gpu)
mpv_x11=("${mpv_base[@]}" --vo=x11)
echo "comparison: $(mpv --no-config --version | head -1)"
rss_mib() { awk '/^VmRSS:/ { printf "%.1f\n", $2 / 1024 }' "/proc/$1/status"; }
# CPU seconds per second of an mpv playing the 1080p clip after a warm-up:
#   mpv_cpu FIGURE_FILE MPV_ARGS...
mpv_cpu() {
  local out=$1; shift
  "$@" --really-quiet --keep-open=yes "$clip" >/dev/null 2>&1 &
  local pid=$!
  pids+=("$pid")
  sleep 3   # start and warm up, as Sorinel's 2 s after its first playing report
  thread_ticks "$pid" >"$work/threads0"
  local t0 w0 t1 w1
  t0=$(cpu_ticks "$pid"); w0=$(date +%s.%N)
  sleep 10
  t1=$(cpu_ticks "$pid"); w1=$(date +%s.%N)
  thread_ticks "$pid" >"$work/threads1"
  kill "$pid"; wait "$pid" 2>/dev/null || true
  local figure
  figure=$(awk -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" -v w0="$w0" -v w1="$w1" 'BEGIN { printf "%.3f", t / hz / (w1 - w0) }')
  echo "$figure" >>"$out"
  echo "mpv ${*: -1}: $figure CPU s per second; by thread: $(thread_shares "$work/threads0" "$work/threads1")"
}

say "Click to picture: a click on an entry (mpv: loadfile on its socket) to the new file's first pixel on the screen, 1080p H.264 with sound, 5 processes each"
"$root/bench/click-to-picture.sh" "$build/app/sorinel" "$media" 5 2>&1 | tee "$work/click" || failed
click() { figure "click_$1" "$work/click"; }

say "File to file: five 3-s clips (MPEG-1, MP2 sound), Sorinel's own advance against mpv's play list, on a PulseAudio and a PipeWire null sink, $file_turns turns each"
"$root/bench/file-to-file.sh" "$build/app/sorinel" "$media" "$file_turns" pulse pipewire 2>&1 | tee "$work/f2f" || failed
f2f() { figure "f2f_$1" "$work/f2f"; }

# The rows of the two figures above, in the full table or alone.
row() { printf '%-50s %-56s %-38s %s\n' "$1" "$2" "$3" "$4"; }
header() {
  row "Figure" "Sorinel vs mpv (ratio)" "mpv, other output (vo=x11 unless said)" "Target"
  row "$(printf '%.0s-' $(seq 50))" "$(printf '%.0s-' $(seq 56))" "$(printf '%.0s-' $(seq 38))" "------"
}
quickest() { awk -v g="$1" -v x="$2" 'BEGIN { if (g == "" || (x != "" && x + 0 < g + 0)) print "vo=x11 " x; else print "vo=gpu " g }'; }
spread() { printf '%s (%s)' "$(f2f "$1_$2")" "$(f2f "$1_max_$2")"; }
sound_rows() {
  # Click to picture against each of mpv's outputs, and against the quicker.
  for entry in "sound idle|from idle, sound server" "sound switch|switching, sound server" "silent idle|from idle, no sound server"; do
    read -r sound when <<<"${entry%%|*}"
    sorinel=$(click ${sound}_${when}_sorinel); gpu=$(click ${sound}_${when}_gpu); x11=$(click ${sound}_${when}_x11)
    best=$(quickest "$gpu" "$x11")
    row "Click to picture, ${entry#*|}" "$sorinel s vs quickest mpv, $best s ($(ratio "$sorinel" "${best#* }")x)" \
      "vo=gpu $gpu s ($(ratio "$sorinel" "$gpu")x) / vo=x11 $x11 s" "<= 1.0x vo=gpu"
  done
  # File to file: median (largest) over every change of file in the turns.
  for server in pulse pipewire; do
    name=$([ $server = pulse ] && echo PulseAudio || echo PipeWire)
    row "File to file, $name: gap, end to next picture" "$(spread ${server}_gap sorinel) s vs vo=gpu $(spread ${server}_gap gpu) s" \
      "vo=x11 $(spread ${server}_gap x11) s" "~1 s wait by design"
    row "  period, a file's start to the next's (3-s clips)" "$(spread ${server}_period sorinel) s vs vo=gpu $(spread ${server}_period gpu) s" \
      "vo=x11 $(spread ${server}_period x11) s" "3 s + the gap"
    row "  longest still picture within a file" "$(spread ${server}_still sorinel) s vs vo=gpu $(spread ${server}_still gpu) s" \
      "vo=x11 $(spread ${server}_still x11) s" "a frame or two (0.04 s each)"
  done
}
if [ "$sound_only" = yes ]; then
  say "Summary (load at the end: $(cut -d' ' -f1-3 /proc/loadavg))"
  header
  sound_rows
  exit $status
fi

say "Start-up: process start to window mapped ($repeat times each, alternating; empty Qt windows as the floor)"
empty=$work/empty; mkdir -p "$empty"
for f in sorinel mpv-gpu mpv-x11 qt qt-gl qt-mpv; do : >"$work/start-$f"; done
for _ in $(seq "$repeat"); do
  (cd "$empty" && "$b/window_map_timer" "$build/app/sorinel") | tee -a "$work/start-sorinel" || failed
  "$b/window_map_timer" "${mpv_gpu[@]}" --idle=yes --force-window=yes | tee -a "$work/start-mpv-gpu" || failed
  "$b/window_map_timer" "${mpv_x11[@]}" --idle=yes --force-window=yes | tee -a "$work/start-mpv-x11" || failed
  "$b/window_map_timer" "$b/bare_qt_window" >>"$work/start-qt" || failed
  "$b/window_map_timer" "$b/bare_qt_window" --gl >>"$work/start-qt-gl" || failed
  "$b/window_map_timer" "$b/bare_qt_window" --mpv >>"$work/start-qt-mpv" || failed
done
start() { awk '{ print $1 }' "$work/start-$1" | median; }
start_sorinel=$(start sorinel); start_gpu=$(start mpv-gpu); start_x11=$(start mpv-x11)
start_qt=$(start qt); start_qt_gl=$(start qt-gl); start_qt_mpv=$(start qt-mpv)
echo "median: sorinel $start_sorinel s, mpv vo=gpu $start_gpu s ($(ratio "$start_sorinel" "$start_gpu")x), vo=x11 $start_x11 s"
echo "floors: empty Qt window $start_qt s ($(ratio "$start_qt" "$start_gpu")x vo=gpu), with an OpenGL widget $start_qt_gl s, and an initialised libmpv $start_qt_mpv s"

say "Start-up with the desktop's media controls: a session bus (served) and none (not), $repeat times each, alternating"
# A private session bus for this run; "none" is an address with no bus
# behind it, as on a machine without a session bus.
bus_on="unix:path=$work/bus"
bus_off="unix:path=$work/no-bus"
dbus-daemon --session --nofork --nopidfile --address="$bus_on" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -S "$work/bus" ] && break; sleep 0.1; done
# Seconds from the program's start until its MPRIS name is on the bus, that
# is until media keys reach it; polled every 10 ms or so.
time_to_bus_name() {
  local t0 t1="" pid
  t0=$(date +%s.%N)
  (cd "$empty" && DBUS_SESSION_BUS_ADDRESS=$bus_on exec "$build/app/sorinel") >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1000); do
    if DBUS_SESSION_BUS_ADDRESS=$bus_on dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
         org.freedesktop.DBus.NameHasOwner string:org.mpris.MediaPlayer2.sorinel 2>/dev/null | grep -q 'boolean true'; then
      t1=$(date +%s.%N); break
    fi
    sleep 0.01
  done
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  [ -n "$t1" ] && awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f\n", b - a }'
}
: >"$work/start-bus-on"; : >"$work/start-bus-off"; : >"$work/bus-name"; : >"$work/qt-bus-on"; : >"$work/qt-bus-off"
for _ in $(seq "$repeat"); do
  (cd "$empty" && DBUS_SESSION_BUS_ADDRESS=$bus_on "$b/window_map_timer" "$build/app/sorinel") >>"$work/start-bus-on" || failed
  (cd "$empty" && DBUS_SESSION_BUS_ADDRESS=$bus_off "$b/window_map_timer" "$build/app/sorinel") >>"$work/start-bus-off" || failed
  time_to_bus_name >>"$work/bus-name" || failed
  # Qt itself talks to a session bus at start (accessibility, the tray): the
  # empty window shows that share.
  DBUS_SESSION_BUS_ADDRESS=$bus_on "$b/window_map_timer" "$b/bare_qt_window" >>"$work/qt-bus-on" || failed
  DBUS_SESSION_BUS_ADDRESS=$bus_off "$b/window_map_timer" "$b/bare_qt_window" >>"$work/qt-bus-off" || failed
done
start_bus_on=$(start bus-on)
start_bus_off=$(start bus-off)
qt_bus_on=$(awk '{ print $1 }' "$work/qt-bus-on" | median)
qt_bus_off=$(awk '{ print $1 }' "$work/qt-bus-off" | median)
bus_name=$(median <"$work/bus-name")
echo "median to window mapped: bus $start_bus_on s, no bus $start_bus_off s (ratio $(ratio "$start_bus_on" "$start_bus_off")); mpv vo=gpu $start_gpu s"
echo "empty Qt window: bus $qt_bus_on s, no bus $qt_bus_off s"
echo "median to the name on the bus (media keys answered): $bus_name s"

say "First frame: a click on an entry to the first playing report (1080p H.264), three processes; mpv: loadfile to its playback restart"
: >"$work/first"
for _ in 1 2 3; do "$b/first_frame_bench" "$clip" 4 2>/dev/null | tee -a "$work/first" || failed; done
first_idle=$(awk '$2 == "first_frame_idle" { print $3 }' "$work/first" | median)
first_switch=$(awk '$2 == "first_frame_switch" { print $3 }' "$work/first" | median)
"${mpv_gpu[@]}" --idle=yes --force-window=yes --input-ipc-server="$work/mpv.sock" >/dev/null 2>&1 &
mpv_pid=$!; pids+=("$mpv_pid")
"$root/bench/mpv_ipc.py" first-frame "$work/mpv.sock" "$clip" 5 >"$work/first-mpv" || failed
kill "$mpv_pid"; wait "$mpv_pid" 2>/dev/null || true
first_mpv=$(median <"$work/first-mpv")
echo "median: sorinel from idle $first_idle s, switching $first_switch s; mpv vo=gpu $first_mpv s"

say "Playback cost in the window: CPU seconds per second of the 1080p clip, same video area, twice each alternating"
for f in sorinel gpu x11; do : >"$work/play-$f"; done
for _ in 1 2; do
  "$b/playback_cost_bench" "$clip" 10 2>/dev/null | tee "$work/play" || failed
  figure playback_cpu "$work/play" >>"$work/play-sorinel"
  area=$(figure video_area "$work/play")
  mpv_cpu "$work/play-gpu" "${mpv_gpu[@]}" --geometry="$area" --vo=gpu
  mpv_cpu "$work/play-x11" "${mpv_x11[@]}" --geometry="$area" --vo=x11
done
play_sorinel=$(median <"$work/play-sorinel"); play_gpu=$(median <"$work/play-gpu"); play_x11=$(median <"$work/play-x11")
echo "median: sorinel $play_sorinel, mpv vo=gpu $play_gpu ($(ratio "$play_sorinel" "$play_gpu")x), vo=x11 $play_x11 CPU s per second"

say "Playback cost at full screen (openbox), twice each alternating"
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
  openbox >/dev/null 2>&1 &
  wm_pid=$!; pids+=("$wm_pid"); sleep 1
fi
for f in sorinel gpu x11; do : >"$work/full-$f"; done
for _ in 1 2; do
  "$b/playback_cost_bench" --full-screen "$clip" 10 2>/dev/null | tee "$work/full" || failed
  figure playback_cpu "$work/full" >>"$work/full-sorinel"
  full_area=$(figure video_area "$work/full")
  mpv_cpu "$work/full-gpu" "${mpv_gpu[@]}" --fs --vo=gpu
  mpv_cpu "$work/full-x11" "${mpv_x11[@]}" --fs --vo=x11
done
[ -n "${wm_pid:-}" ] && { kill "$wm_pid"; wait "$wm_pid" 2>/dev/null || true; }
full_sorinel=$(median <"$work/full-sorinel"); full_gpu=$(median <"$work/full-gpu"); full_x11=$(median <"$work/full-x11")
echo "median: sorinel $full_sorinel, mpv vo=x11 $full_x11 ($(ratio "$full_sorinel" "$full_x11")x), vo=gpu $full_gpu CPU s per second"

say "Memory: resident set size across $changes automatic file changes (1 s clips of every kind); mpv after start and after the same files as a play list"
"$b/memory_bench" "$media/short" "$changes" 2>/dev/null | tee "$work/memory" || failed
for vo in gpu x11; do
  if [ $vo = gpu ]; then args=("${mpv_gpu[@]}"); else args=("${mpv_x11[@]}"); fi
  "${args[@]}" --idle=yes --force-window=yes >/dev/null 2>&1 &
  mpv_pid=$!; pids+=("$mpv_pid"); sleep 2
  rss_mib "$mpv_pid" >"$work/rss-start-$vo"
  kill "$mpv_pid"; wait "$mpv_pid" 2>/dev/null || true
  rm -f "$work/mpv.sock"
  "${args[@]}" --idle=yes --force-window=yes --input-ipc-server="$work/mpv.sock" "$media"/short/clip.* >/dev/null 2>&1 &
  mpv_pid=$!; pids+=("$mpv_pid")
  "$root/bench/mpv_ipc.py" wait-idle "$work/mpv.sock" 120 || failed
  rss_mib "$mpv_pid" >"$work/rss-pass-$vo"
  kill "$mpv_pid"; wait "$mpv_pid" 2>/dev/null || true
  echo "mpv vo=$vo: $(cat "$work/rss-start-$vo") MiB after start, $(cat "$work/rss-pass-$vo") MiB after the $(ls "$media"/short/clip.* | wc -l) files"
done
rss_start=$(figure rss_start "$work/memory"); rss_warm=$(figure rss_warm "$work/memory")
rss_start_gpu=$(cat "$work/rss-start-gpu"); rss_pass_gpu=$(cat "$work/rss-pass-gpu")
rss_start_x11=$(cat "$work/rss-start-x11"); rss_pass_x11=$(cat "$work/rss-pass-x11")

say "Idle: CPU with the window shown and no file loaded, $idle_seconds s"
"$b/idle_cpu_bench" "$idle_seconds" 2>/dev/null | tee "$work/idle" || failed

say "Folder listing: 30,000 files"
"$b/folder_listing_bench" 2>/dev/null | tee "$work/listing" || failed

say "Automatic file changes: ten, 1 s clips"
"$b/auto_advance_bench" "$media/short" 2>/dev/null | tee "$work/advance" || failed

listing_ms=$(awk '/^list box:/ { print $3 }' "$work/listing")
listing_bare=$(awk '/^listing:/ { print $2 }' "$work/listing")
gap_median=$(sed -n 's/.*median \([0-9.]*\) s.*/\1/p' "$work/advance")
advance_cpu=$(sed -n 's/.*(\([0-9]*\)% of one core).*/\1/p' "$work/advance")
wait_cpu=$(sed -n 's/.*blocking \([0-9.]*\) s, spinning \([0-9.]*\) s.*/\1 s blocking, \2 s spinning/p' "$work/advance")

say "Summary (load at the end: $(cut -d' ' -f1-3 /proc/loadavg))"
header
row "Start-up to window mapped, median of $repeat" "$start_sorinel s vs vo=gpu $start_gpu s ($(ratio "$start_sorinel" "$start_gpu")x)" "$start_x11 s ($(ratio "$start_sorinel" "$start_x11")x)" "<= vo=x11"
row "Start-up, session bus / none (media controls on / off)" "$start_bus_on s / $start_bus_off s" "-" "-"
row "  empty Qt window, session bus / none" "$qt_bus_on s / $qt_bus_off s" "-" "-"
row "  to the media-control name on the bus" "$bus_name s" "-" "-"
row "  floors: empty Qt window / + OpenGL / + libmpv" "$start_qt / $start_qt_gl / $start_qt_mpv s ($(ratio "$start_qt" "$start_gpu")x)" "-" "-"
row "First frame, 1080p: from idle / switching" "$first_idle / $first_switch s vs vo=gpu $first_mpv s" "-" "no slower than before"
sound_rows
row "Playback CPU s/s, 1080p, window $area" "$play_sorinel vs vo=gpu $play_gpu ($(ratio "$play_sorinel" "$play_gpu")x)" "$play_x11 ($(ratio "$play_sorinel" "$play_x11")x)" "<= 1.0x vo=gpu"
row "Playback CPU s/s, 1080p, full screen ${full_area:-}" "$full_sorinel vs vo=gpu $full_gpu ($(ratio "$full_sorinel" "$full_gpu")x)" "$full_x11 ($(ratio "$full_sorinel" "$full_x11")x)" "<= 1.2x vo=x11"
row "RSS (MiB) after start" "$rss_start vs vo=gpu $rss_start_gpu ($(ratio "$rss_start" "$rss_start_gpu")x)" "$rss_start_x11" "<= 1.0x vo=gpu"
row "RSS (MiB) after one pass through the files" "$rss_warm vs vo=gpu $rss_pass_gpu ($(ratio "$rss_warm" "$rss_pass_gpu")x)" "$rss_pass_x11" "<= 1.1x vo=gpu"
row "RSS growth, changes $((changes / 2))-$(figure rss_changes "$work/memory") / last pass" "$(figure rss_growth_second_half "$work/memory")% / $(figure rss_growth_last_pass "$work/memory")%" "-" "< 1%"
row "Idle CPU, no file, $(figure idle_seconds "$work/idle") s" "$(figure idle_percent "$work/idle")% of one core" "-" "< 0.5%"
row "Folder of 30,000 files: listing / list box" "$listing_bare ms / $listing_ms ms" "-" "-"
row "Ten automatic changes: gap, median" "$gap_median s (CPU $advance_cpu% of a core)" "-" "-"
row "One-second wait between files, CPU" "$wait_cpu" "-" "-"
[ $status -eq 0 ] || echo "note: some benchmarks did not finish (see above); their figures are missing" >&2
exit $status
