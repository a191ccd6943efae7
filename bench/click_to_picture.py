#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Click to picture, black box: from a click on a list entry (mpv: a
`loadfile` on its IPC socket) to the first pixel of the new file on the
screen, read back from the X server in a loop. Sorinel, mpv vo=gpu and mpv
vo=x11 take turns in each repetition; each turn is a fresh process:

  from idle   the first file after the window has shown (nothing played yet)
  switching   the other file while one plays (twice a turn)

  click_to_picture.py SORINEL RED_CLIP BLUE_CLIP [REPEAT] [LABEL]

RED_CLIP and BLUE_CLIP show a red and a blue box in the middle of their
first frame, so the new file's first frame differs from whatever was there.
Prints one line per measurement, then "@ click_LABEL_ROW_PLAYER SECONDS"
medians. Sound goes where the environment sends it: run it with and without
a sound server. Needs DISPLAY, libX11, libXtst, xdotool, mpv, and
python3-pyatspi with at-spi2-core to find Sorinel's list (sorinel_places.py).
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

import sorinel_places
from screen import click, end, pixels, window_of

# Where there is a GPU, Sorinel draws with OpenGL and decodes on the GPU where
# it can: mpv is asked to do the same there.
HWDEC = "auto-safe" if glob.glob("/dev/dri/renderD*") else "no"


def looks(colour, px):
    r, g, b = px
    return (r > 160 and g < 100 and b < 100) if colour == "red" else (b > 160 and r < 100 and g < 100)


def wait_for_colour(x, y, colour, started, timeout=15.0):
    """Seconds from `started` to the moment the 4x4 region at x, y shows
    `colour` everywhere; None on timeout. Polled every half millisecond: a
    tighter loop would take a core from the player on a small machine."""
    while time.monotonic() - started < timeout:
        region = pixels(x, y, 4, 4)
        if region and all(looks(colour, p) for p in region):
            return time.monotonic() - started
        time.sleep(0.0005)
    return None


def centre(box, wx=0, wy=0):
    return wx + box[0] + box[2] // 2, wy + box[1] + box[3] // 2


def sorinel_turn(binary, folder, places):
    """[from idle, switching, switching] for one Sorinel process; the list's
    entries and the video's middle where sorinel_places.py found them."""
    process = subprocess.Popen([binary], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        win = window_of(process.pid)
        if not win:
            return None
        time.sleep(1.5)
        x, y = centre(places["video"], *win[:2])
        spot = (x - 2, y - 2)
        times = []
        for row, colour in ((0, "red"), (1, "blue"), (0, "red")):
            if looks(colour, pixels(*spot, 1, 1)[0]):
                print("sorinel: %s already on screen" % colour, file=sys.stderr)
                return None
            times.append(wait_for_colour(*spot, colour, click(*centre(places["entries"][row], *win[:2]))))
            time.sleep(1.0)
        return times
    finally:
        end(process)


def mpv_turn(vo, red, blue, area):
    work = tempfile.mkdtemp()
    path = os.path.join(work, "socket")
    process = subprocess.Popen(
        ["mpv", "--no-config", "--osc=no", "--hwdec=" + HWDEC, "--opengl-sw=yes", "--vo=" + vo, "--idle=yes",
         "--force-window=yes", "--keepaspect-window=no", "--geometry=%dx%d+0+0" % area,
         "--input-ipc-server=" + path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        win = window_of(process.pid)
        if not win:
            return None
        for _ in range(200):
            if os.path.exists(path):
                break
            time.sleep(0.05)
        conn = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        conn.connect(path)
        time.sleep(1.5)
        spot = (win[0] + win[2] // 2 - 2, win[1] + win[3] // 2 - 2)
        times = []
        for clip, colour in ((red, "red"), (blue, "blue"), (red, "red")):
            started = time.monotonic()
            conn.sendall((json.dumps({"command": ["loadfile", clip, "replace"]}) + "\n").encode())
            times.append(wait_for_colour(*spot, colour, started))
            time.sleep(1.0)
        conn.close()
        return times
    finally:
        end(process)
        shutil.rmtree(work, ignore_errors=True)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    binary, red, blue = (os.path.abspath(a) for a in sys.argv[1:4])
    repeat = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    label = sys.argv[5] if len(sys.argv) > 5 else "sound"
    folder = tempfile.mkdtemp()
    os.symlink(red, os.path.join(folder, "a" + os.path.splitext(red)[1]))
    os.symlink(blue, os.path.join(folder, "b" + os.path.splitext(blue)[1]))
    places = sorinel_places.ask(binary, folder)
    if len(places["entries"]) < 2:
        sys.exit("sorinel: %d list entries found, 2 wanted" % len(places["entries"]))
    # mpv's window is as large as Sorinel's video area.
    area = tuple(places["video"][2:])
    found = {p: {"idle": [], "switch": []} for p in ("sorinel", "gpu", "x11")}
    for _ in range(repeat):
        for player in found:
            times = sorinel_turn(binary, folder, places) if player == "sorinel" else mpv_turn(player, red, blue, area)
            if not times or None in times:
                print("%s: no picture (%s)" % (player, times), flush=True)
                continue
            found[player]["idle"].append(times[0])
            found[player]["switch"] += times[1:]
            print("%s: from idle %.3f s, switching %.3f / %.3f s" % (player, *times), flush=True)
    shutil.rmtree(folder, ignore_errors=True)
    for player, rows in found.items():
        for row, values in rows.items():
            if values:
                print("@ click_%s_%s_%s %.3f" % (label, row, player, statistics.median(values)))
    # A table without Sorinel, or without the players it is set beside,
    # would say nothing.
    return 0 if all(rows["idle"] for rows in found.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
