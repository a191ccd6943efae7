#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Talks to an mpv started with --input-ipc-server, for the comparison
figures of bench/run-all.sh.

  mpv_ipc.py first-frame SOCKET CLIP TIMES   seconds from each loadfile to
                                             mpv's playback-restart, one a line
  mpv_ipc.py wait-idle SOCKET TIMEOUT        waits until the play list is done
"""
import json
import socket
import sys
import time


def connect(path, timeout=20.0):
    deadline = time.monotonic() + timeout
    while True:
        try:
            s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            s.connect(path)
            return s.makefile("rw", encoding="utf-8")
        except OSError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.05)


def send(conn, *command):
    conn.write(json.dumps({"command": list(command)}) + "\n")
    conn.flush()


def wait_event(conn, name, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        line = conn.readline()
        if not line:
            return False
        if json.loads(line).get("event") == name:
            return True
    return False


def first_frame(path, clip, times):
    conn = connect(path)
    for _ in range(times):
        send(conn, "stop")
        time.sleep(1.0)
        started = time.monotonic()
        send(conn, "loadfile", clip, "replace")
        if not wait_event(conn, "playback-restart", 30):
            return 1
        print("%.3f" % (time.monotonic() - started), flush=True)
    return 0


def wait_idle(path, timeout):
    """Idle again after having played: the whole play list is done."""
    conn = connect(path)
    deadline = time.monotonic() + timeout
    played = False
    while time.monotonic() < deadline:
        send(conn, "get_property", "idle-active")
        while True:
            reply = json.loads(conn.readline())
            if "error" in reply:
                break
        idle = reply.get("data") is True
        if idle and played:
            return 0
        played = played or not idle
        time.sleep(0.2)
    return 1


if __name__ == "__main__":
    if sys.argv[1] == "first-frame":
        sys.exit(first_frame(sys.argv[2], sys.argv[3], int(sys.argv[4])))
    if sys.argv[1] == "wait-idle":
        sys.exit(wait_idle(sys.argv[2], float(sys.argv[3])))
    sys.exit(2)
