#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""File to file, black box: how one file follows another in a folder of
short clips, seen on the X server by polling pixels every 2 ms. Sorinel
(a click on the first entry, then its own advance) and mpv playing the same
files as its play list (vo=x11 and vo=gpu) take turns, a fresh process
each, in the same video area:

  file_to_file.py SORINEL FOLDER [REPEAT] [LABEL]

FOLDER holds the clips in list order (bench/file-to-file.sh makes them):
clip k fills its frame with colour k of PALETTE, but for two grey bands
across the middle whose levels tell the frame's number. For every player
alike:

  a file is on screen from the first poll that shows its colour and a frame
    number; its picture moves when a poll shows a later frame of it than any
    before (a frame shown again, as by a stop that goes back to the start,
    is not a move);
  gap     from file N's last move to file N+1 on screen: the end of one
          file to the next one's picture;
  period  from file N on screen to file N+1 on screen;
  still   the longest time between two moves of one file, from its start
          to its last move: a stall in the middle of a file shows here.

Sorinel waits on purpose between files: 0.2 s confirming the stop, then
until a second after the clock's whole second nearest the wait's start
(0.5 to 1.5 s). Its gap so depends on where in a second a file ends, and
its period comes out near whole seconds: a stall can lengthen it by a full
second.

Prints a line per turn, then "@ f2f_LABEL_{gap,period,still}_PLAYER
SECONDS", medians over every transition (still: over every whole file), and
"@ f2f_LABEL_{gap,period,still}_max_PLAYER SECONDS", the largest.
Sound goes where the environment sends it (bench/with-sound-server.sh).
"""
import glob
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

import screen
import sorinel_places

# The clips' colours, in list order; bench/file-to-file.sh uses the same.
PALETTE = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (255, 0, 255), (0, 255, 255)]
POLL = 0.002


def colour_of(data):
    """Index in PALETTE of the colour every pixel of a patch shows; None."""
    found = None
    for k in range(0, len(data), 4):
        b, g, r = data[k], data[k + 1], data[k + 2]
        near = [i for i, (pr, pg, pb) in enumerate(PALETTE) if abs(r - pr) + abs(g - pg) + abs(b - pb) < 150]
        if not near or (found is not None and near[0] != found):
            return None
        found = near[0]
    return found


def level(data, step, steps):
    """Which of `steps` grey levels, `step` apart from black, every pixel
    of a patch shows; None for anything else (a colour, a frame half
    drawn)."""
    found = None
    for k in range(0, len(data), 4):
        b, g, r = data[k], data[k + 1], data[k + 2]
        n = round(g / step)
        if max(r, g, b) - min(r, g, b) > 20 or abs(g - n * step) > 6 or n >= steps or found not in (None, n):
            return None
        found = n
    return found


# The bands' levels as they come out on screen: 40 and 15 steps of the
# video's 219 levels from black to white, spread over 255.
UPPER, LOWER = 40 * 255 / 219, 15 * 255 / 219


def frame_number(upper, lower):
    coarse, fine = level(upper, UPPER, 5), level(lower, LOWER, 15)
    return None if coarse is None or fine is None else 15 * coarse + fine


def watch(video, files, timeout):
    """Polls the video area until the last file is on screen; per file, the
    times its picture moved (the first is its arrival), from 0 at the
    call."""
    x, y, w, h = video

    def patch(height):
        return (x + w // 2 - 2, y + int(h * height) - 2, 4, 4)

    mark, upper, lower = patch(0.30), patch(0.425), patch(0.575)
    moves = [[] for _ in range(files)]
    latest = [-1] * files
    started = time.monotonic()
    while time.monotonic() - started < timeout:
        now = time.monotonic() - started
        k = colour_of(screen.raw(*mark))
        n = frame_number(screen.raw(*upper), screen.raw(*lower)) if k is not None and k < files else None
        if n is not None and n > latest[k]:
            moves[k].append(now)
            latest[k] = n
        if moves[-1] and now - moves[-1][0] > 0.3:
            break
        time.sleep(POLL)
    return moves


def figures(moves):
    """(gaps, periods, stills) of one turn; None when a file never showed."""
    if not all(moves):
        return None
    pairs = list(zip(moves, moves[1:]))
    gaps = [b[0] - a[-1] for a, b in pairs]
    periods = [b[0] - a[0] for a, b in pairs]
    stills = [max((t1 - t0 for t0, t1 in zip(a, a[1:])), default=0.0) for a, _ in pairs]
    return gaps, periods, stills


def sorinel_turn(binary, folder, places, files):
    process = subprocess.Popen([binary], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        win = screen.window_of(process.pid)
        if not win:
            return None
        time.sleep(1.5)
        ex, ey, ew, eh = places["entries"][0]
        vx, vy, vw, vh = places["video"]
        screen.click(win[0] + ex + ew // 2, win[1] + ey + eh // 2)
        return watch((win[0] + vx, win[1] + vy, vw, vh), files, 15.0 * files)
    finally:
        screen.end(process)


def mpv_turn(vo, clips, area):
    """mpv opens its play list paused and is let go once its window shows,
    as Sorinel is clicked once its window shows."""
    work = tempfile.mkdtemp()
    path = os.path.join(work, "socket")
    hwdec = "auto-safe" if glob.glob("/dev/dri/renderD*") else "no"
    process = subprocess.Popen(
        ["mpv", "--no-config", "--osc=no", "--hwdec=" + hwdec, "--opengl-sw=yes", "--vo=" + vo, "--pause",
         "--force-window=yes", "--keepaspect-window=no", "--geometry=%dx%d+0+0" % area,
         "--input-ipc-server=" + path] + clips, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        win = screen.window_of(process.pid)
        for _ in range(200):
            if os.path.exists(path):
                break
            time.sleep(0.05)
        if not win or not os.path.exists(path):
            return None
        time.sleep(1.5)
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as conn:
            conn.connect(path)
            conn.sendall((json.dumps({"command": ["set_property", "pause", False]}) + "\n").encode())
            return watch(win, len(clips), 15.0 * len(clips))
    finally:
        screen.end(process)
        shutil.rmtree(work, ignore_errors=True)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    binary, folder = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    repeat = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    label = sys.argv[4] if len(sys.argv) > 4 else "sound"
    clips = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(".mpg"))
    if not 2 <= len(clips) <= len(PALETTE):
        sys.exit("file_to_file: %s needs 2 to %d clips" % (folder, len(PALETTE)))
    places = sorinel_places.ask(binary, folder)
    area = tuple(places["video"][2:])
    found = {p: ([], [], []) for p in ("sorinel", "x11", "gpu")}
    for _ in range(repeat):
        for player, kept in found.items():
            moves = sorinel_turn(binary, folder, places, len(clips)) if player == "sorinel" \
                else mpv_turn(player, clips, area)
            turn = figures(moves) if moves else None
            if not turn:
                shown = [len(m) for m in moves] if moves else None
                print("%s: a file never showed (moves seen per file: %s)" % (player, shown), flush=True)
                continue
            for into, values in zip(kept, turn):
                into += values
            print("%s: gap %s s; period %s s; longest still %s s" % (
                player, *("/".join("%.2f" % v for v in values) for values in turn)), flush=True)
    # A stall that comes to some files only hides in a median: the worst
    # is printed beside it.
    for player, kept in found.items():
        for name, values in zip(("gap", "period", "still"), kept):
            if values:
                print("@ f2f_%s_%s_%s %.3f" % (label, name, player, statistics.median(values)))
                print("@ f2f_%s_%s_max_%s %.3f" % (label, name, player, max(values)))
    return 0 if found["sorinel"][0] else 1


if __name__ == "__main__":
    sys.exit(main())
