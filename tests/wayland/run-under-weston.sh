#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command as a native Wayland client of a headless weston of its own:
# a private runtime folder and socket, no X display, Qt on its wayland plugin.
#
#   run-under-weston.sh COMMAND [ARGS...]
# The command's exit status is this script's. Weston's log is shown only when
# the command failed.
set -uo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=sorinel-$$
# The pixman renderer composites in memory, so what a client draws really
# reaches an output (the default headless renderer draws nothing). --debug
# lets weston-screenshooter take a picture of that output.
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --width=1280 --height=1024 \
  --socket="$socket" --idle-time=0 --no-config --debug --log="$runtime/weston.log" &
weston_pid=$!
cleanup() {
  kill "$weston_pid" 2>/dev/null
  wait "$weston_pid" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/$socket" ]; then
  echo "weston did not start:" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$@"
status=$?
[ "$status" -eq 0 ] || { echo "--- weston log" >&2; cat "$runtime/weston.log" >&2; }
exit "$status"
