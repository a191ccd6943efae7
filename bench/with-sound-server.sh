#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command beside a sound server of its own, playing into a null sink,
# as a desktop would have one:
#
#   bench/with-sound-server.sh pulse|pipewire|none COMMAND [ARG...]
#
# pulse: PulseAudio (Debian: pulseaudio). pipewire: PipeWire with WirePlumber
# and its PulseAudio service (pipewire wireplumber pipewire-pulse), under a
# session bus of its own when there is none. none: an empty runtime folder,
# where no server is found. The command gets XDG_RUNTIME_DIR set to the
# server's folder; the server ends with it; its exit status is returned.
set -u
kind=${1:?usage: with-sound-server.sh pulse|pipewire|none COMMAND [ARG...]}; shift
[ $# -gt 0 ] || { echo "usage: with-sound-server.sh pulse|pipewire|none COMMAND [ARG...]" >&2; exit 2; }
# WirePlumber will not run without a session bus.
if [ "$kind" = pipewire ] && [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$kind" "$@"
fi
rt=$(mktemp -d); chmod 700 "$rt"; export XDG_RUNTIME_DIR=$rt
unset PULSE_SERVER PIPEWIRE_REMOTE
pids=()
stop() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait "${pids[@]}" 2>/dev/null; rm -rf "$rt"; }
trap stop EXIT
up() { for _ in $(seq 50); do [ -S "$1" ] && return 0; sleep 0.1; done; cat "$rt/server.log" >&2; return 1; }
case "$kind" in
  pulse)
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
      --load="module-null-sink sink_name=null" --load=module-native-protocol-unix >"$rt/server.log" 2>&1 &
    pids+=($!)
    up "$rt/pulse/native" || { echo "PulseAudio did not start" >&2; exit 1; } ;;
  pipewire)
    pipewire >"$rt/server.log" 2>&1 & pids+=($!)
    up "$rt/pipewire-0" || { echo "PipeWire did not start" >&2; exit 1; }
    wireplumber >>"$rt/server.log" 2>&1 & pids+=($!)
    pipewire-pulse >>"$rt/server.log" 2>&1 & pids+=($!)
    up "$rt/pulse/native" || { echo "PipeWire's PulseAudio service did not start" >&2; exit 1; }
    # The session manager makes a new sink the default only once it is up.
    sleep 1
    pw-cli create-node adapter '{ factory.name=support.null-audio-sink node.name=nullsink media.class=Audio/Sink object.linger=true audio.position=[FL FR] }' >/dev/null 2>&1
    for _ in $(seq 50); do pactl info 2>/dev/null | grep -q 'Default Sink: nullsink' && break; sleep 0.1; done
    pactl info 2>/dev/null | grep -q 'Default Sink: nullsink' || echo "note: the null sink is not PipeWire's default" >&2 ;;
  none) ;;
  *) echo "with-sound-server.sh: pulse, pipewire or none, not '$kind'" >&2; exit 2 ;;
esac
"$@"
