#!/usr/bin/env bash
# Builds Sorinel in Release, generates the benchmark media and prints every
# performance figure, measured beside the mpv command-line player in the same
# run where a comparison is made, then a table of them all.
#
#   bench/run-all.sh [--idle-seconds N] [--changes N] [--repeat N]
#
#   --idle-seconds  how long the idle window is watched (default 10; 30 for the full figure)
#   --changes       automatic file changes for the memory figure (default 50)
#   --repeat        start-up repetitions of each program (default 7)
# Environment: SORINEL_BUILD_DIR (default build-bench). Without a DISPLAY it
# starts its own Xvfb. The mpv command line is installed with apt when missing;
# it is used only for comparison.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
idle_seconds=10
changes=50
repeat=7
while [ $# -gt 0 ]; do
  case $1 in
    --idle-seconds) idle_seconds=$2; shift 2 ;;
    --changes) changes=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
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
# A benchmark that did not finish leaves its figures out of the table.
failed() { echo "(this benchmark did not finish; its figures are missing)"; }
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
SORINEL_BUILD_DIR=$build SORINEL_BUILD_TYPE=Release "$root/scripts/build.sh" >"$log" 2>&1 || { cat "$log"; exit 1; }
grep -q 'CMAKE_BUILD_TYPE:STRING=Release' "$build/CMakeCache.txt" \
  || echo "note: $build was configured earlier with another build type"
b=$build/bench

if ! command -v mpv >/dev/null; then
  say "Installing the mpv command line (comparison only)"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends mpv >"$log" 2>&1 \
    || { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends mpv; }
fi

if [ -z "${DISPLAY:-}" ]; then
  exec 5>"$work/display"
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -1 "$work/display")
  echo "started Xvfb on $DISPLAY"
fi
# mpv is told to use the null audio output; Sorinel uses the desktop's sound
# and falls back to the null output by itself when there is none.
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

# mpv drawing through OpenGL on the software renderer, as Sorinel's render
# API path does (Debian's mpv offers EGL on X11; Qt draws through GLX); no
# user configuration, no on-screen controller.
mpv_gl=(mpv --no-config --osc=no --vo=gpu --gpu-api=opengl --gpu-context=x11egl --opengl-sw=yes --hwdec=auto-safe --ao=null)
echo "comparison: $(mpv --no-config --version | head -1)"

say "Start-up: process start to window mapped ($repeat times each, alternating; empty Qt windows as the floor)"
empty=$work/empty; mkdir -p "$empty"
: >"$work/start-sorinel"; : >"$work/start-mpv"; : >"$work/start-qt"; : >"$work/start-qt-gl"; : >"$work/start-qt-mpv"
for _ in $(seq "$repeat"); do
  (cd "$empty" && "$b/window_map_timer" "$build/app/sorinel") | tee -a "$work/start-sorinel" || failed
  "$b/window_map_timer" "${mpv_gl[@]}" --idle=yes --force-window=yes | tee -a "$work/start-mpv" || failed
  "$b/window_map_timer" "$b/bare_qt_window" >>"$work/start-qt" || failed
  "$b/window_map_timer" "$b/bare_qt_window" --gl >>"$work/start-qt-gl" || failed
  "$b/window_map_timer" "$b/bare_qt_window" --mpv >>"$work/start-qt-mpv" || failed
done
start_sorinel=$(awk '{ print $1 }' "$work/start-sorinel" | median)
start_mpv=$(awk '{ print $1 }' "$work/start-mpv" | median)
start_qt=$(awk '{ print $1 }' "$work/start-qt" | median)
start_qt_gl=$(awk '{ print $1 }' "$work/start-qt-gl" | median)
start_qt_mpv=$(awk '{ print $1 }' "$work/start-qt-mpv" | median)
echo "median: sorinel $start_sorinel s, mpv $start_mpv s, ratio $(ratio "$start_sorinel" "$start_mpv")"
echo "floors: empty Qt window $start_qt s, with an OpenGL widget $start_qt_gl s, and an initialised libmpv $start_qt_mpv s"

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
start_bus_on=$(awk '{ print $1 }' "$work/start-bus-on" | median)
start_bus_off=$(awk '{ print $1 }' "$work/start-bus-off" | median)
qt_bus_on=$(awk '{ print $1 }' "$work/qt-bus-on" | median)
qt_bus_off=$(awk '{ print $1 }' "$work/qt-bus-off" | median)
bus_name=$(median <"$work/bus-name")
echo "median to window mapped: bus $start_bus_on s, no bus $start_bus_off s (ratio $(ratio "$start_bus_on" "$start_bus_off")); mpv $start_mpv s"
echo "empty Qt window: bus $qt_bus_on s, no bus $qt_bus_off s"
echo "median to the name on the bus (media keys answered): $bus_name s"

say "First frame: click on an entry to the first playing report (1080p H.264), three processes"
: >"$work/first"
for _ in 1 2 3; do "$b/first_frame_bench" "$clip" 4 2>/dev/null | tee -a "$work/first" || failed; done
first_idle=$(awk '$2 == "first_frame_idle" { print $3 }' "$work/first" | median)
first_switch=$(awk '$2 == "first_frame_switch" { print $3 }' "$work/first" | median)
echo "median: from idle $first_idle s, switching $first_switch s"

say "Playback cost: CPU seconds per second of the 1080p clip, same video area, twice each alternating"
: >"$work/play-sorinel"; : >"$work/play-mpv"
for _ in 1 2; do
  "$b/playback_cost_bench" "$clip" 10 2>/dev/null | tee "$work/play" || failed
  figure playback_cpu "$work/play" >>"$work/play-sorinel"
  area=$(figure video_area "$work/play")
  "${mpv_gl[@]}" --really-quiet --keep-open=yes --geometry="$area" "$clip" >/dev/null 2>&1 &
  mpv_pid=$!
  pids+=("$mpv_pid")
  sleep 3   # start and warm up, as Sorinel's 2 s after its first playing report
  thread_ticks "$mpv_pid" >"$work/threads0"
  t0=$(cpu_ticks "$mpv_pid"); w0=$(date +%s.%N)
  sleep 10
  t1=$(cpu_ticks "$mpv_pid"); w1=$(date +%s.%N)
  thread_ticks "$mpv_pid" >"$work/threads1"
  kill "$mpv_pid"; wait "$mpv_pid" 2>/dev/null || true
  awk -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" -v w0="$w0" -v w1="$w1" -v a="$area" \
    'BEGIN { printf "mpv: %.2f CPU s over %.1f s, %.3f CPU s per second; window %s\n", t / hz, w1 - w0, t / hz / (w1 - w0), a }'
  echo "by thread: $(thread_shares "$work/threads0" "$work/threads1")"
  awk -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" -v w0="$w0" -v w1="$w1" 'BEGIN { printf "%.3f\n", t / hz / (w1 - w0) }' >>"$work/play-mpv"
done
play_sorinel=$(median <"$work/play-sorinel")
play_mpv=$(median <"$work/play-mpv")
echo "median: sorinel $play_sorinel, mpv $play_mpv CPU s per second, ratio $(ratio "$play_sorinel" "$play_mpv")"

say "Memory: resident set size across $changes automatic file changes (1 s clips of every kind)"
"$b/memory_bench" "$media/short" "$changes" 2>/dev/null | tee "$work/memory" || failed

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

say "Summary"
row() { printf '%-54s %-38s %s\n' "$1" "$2" "$3"; }
row "Figure" "Sorinel (vs mpv)" "Target"
row "$(printf '%.0s-' $(seq 54))" "$(printf '%.0s-' $(seq 38))" "------"
row "Start-up to window mapped, median of $repeat" "$start_sorinel s vs $start_mpv s = $(ratio "$start_sorinel" "$start_mpv")x" "<= 1x mpv"
row "  floors: empty Qt window / + OpenGL widget / + libmpv" "$start_qt / $start_qt_gl / $start_qt_mpv s" "-"
row "Start-up, session bus / none (media controls on / off)" "$start_bus_on s / $start_bus_off s vs mpv $start_mpv s" "-"
row "  empty Qt window, session bus / none" "$qt_bus_on s / $qt_bus_off s" "-"
row "  to the media-control name on the bus" "$bus_name s" "-"
row "First frame, click to playing, 1080p: idle / switching" "$first_idle s / $first_switch s" "-"
row "Playback CPU s per s, 1080p, $(figure video_area "$work/play")" "$play_sorinel vs $play_mpv = $(ratio "$play_sorinel" "$play_mpv")x" "<= 1.2x mpv"
row "RSS (MiB) after start / $(figure rss_warm_change "$work/memory") / $(figure rss_changes "$work/memory") changes" "$(figure rss_start "$work/memory") / $(figure rss_warm "$work/memory") / $(figure rss_end "$work/memory")" "-"
row "RSS growth: from start / from change $(figure rss_warm_change "$work/memory") / last pass" "$(figure rss_growth_start "$work/memory")% / $(figure rss_growth_warm "$work/memory")% / $(figure rss_growth_last_pass "$work/memory")%" "<= 5%"
row "Idle CPU, no file, $(figure idle_seconds "$work/idle") s" "$(figure idle_percent "$work/idle")% of one core" "< 0.5%"
row "Folder of 30,000 files: listing / list box" "$listing_bare ms / $listing_ms ms" "-"
row "Ten automatic changes: gap, median" "$gap_median s (CPU $advance_cpu% of a core)" "-"
row "One-second wait between files, CPU" "$wait_cpu" "-"
