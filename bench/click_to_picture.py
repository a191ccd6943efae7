#!/usr/bin/env python3
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
a sound server. Needs DISPLAY, libX11, libXtst, xdotool and mpv.
"""
import ctypes
import glob
import json
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong),
                ("obdata", ctypes.c_void_p),
                ("create_image", ctypes.c_void_p),
                ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p))]


x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("click_to_picture: no X display")
root = x11.XDefaultRootWindow(display)
ALL_PLANES = ctypes.c_ulong(-1).value
# Where there is a GPU, Sorinel draws with OpenGL and decodes on the GPU where
# it can: mpv is asked to do the same there.
HWDEC = "auto-safe" if glob.glob("/dev/dri/renderD*") else "no"
Z_PIXMAP = 2


def pixels(x, y, w, h):
    """(r, g, b) of each pixel of a screen region, row by row."""
    image = x11.XGetImage(display, root, x, y, w, h, ALL_PLANES, Z_PIXMAP)
    if not image:
        return []
    im = image.contents
    out = []
    for row in range(h):
        base = row * im.bytes_per_line
        for col in range(w):
            b, g, r = im.data[base + 4 * col], im.data[base + 4 * col + 1], im.data[base + 4 * col + 2]
            out.append((r, g, b))
    im.destroy_image(image)
    return out


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


def window_of(pid, timeout=20.0):
    """(x, y, width, height) of the largest visible window of a process."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                             capture_output=True, text=True).stdout.split()
        best = None
        for wid in ids:
            geo = dict(line.split("=", 1) for line in subprocess.run(
                ["xdotool", "getwindowgeometry", "--shell", wid], capture_output=True, text=True).stdout.split())
            box = tuple(int(geo[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
            if best is None or box[2] * box[3] > best[2] * best[3]:
                best = box
        if best and best[2] > 50:
            return best
        time.sleep(0.1)
    return None


def click(x, y):
    xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
    x11.XFlush(display)
    time.sleep(0.05)
    started = time.monotonic()
    xtst.XTestFakeButtonEvent(display, 1, 1, 0)
    xtst.XTestFakeButtonEvent(display, 1, 0, 0)
    x11.XFlush(display)
    return started


def text_rows(x, y, w, h):
    """Centres (screen y) of the bands of light pixels in a region: the
    list's entries, white on black."""
    px = pixels(x, y, w, h)
    lit = [any(sum(px[row * w + col]) > 384 for col in range(w)) for row in range(h)]
    bands, start = [], None
    for row, on in enumerate(lit + [False]):
        if on and start is None:
            start = row
        elif not on and start is not None:
            bands.append(y + (start + row) // 2)
            start = None
    return bands


def end(process):
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def sorinel_turn(binary, folder):
    """[from idle, switching, switching] for one Sorinel process."""
    process = subprocess.Popen([binary], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        win = window_of(process.pid)
        if not win:
            return None
        time.sleep(1.5)
        wx, wy = win[0], win[1]
        # The list stands right of the player (296 px wide), its video area
        # above the transport bar; the video's middle is polled.
        rows = text_rows(wx + 300, wy + 2, 60, 180)
        if len(rows) < 2:
            print("sorinel: list entries not found", file=sys.stderr)
            return None
        spot = (wx + 146, wy + 110)
        times = []
        for row, colour in ((0, "red"), (1, "blue"), (0, "red")):
            if looks(colour, pixels(*spot, 1, 1)[0]):
                print("sorinel: %s already on screen" % colour, file=sys.stderr)
                return None
            times.append(wait_for_colour(*spot, colour, click(wx + 320, rows[row])))
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
    # Sorinel's video area: its player is 296x285, less the transport bar.
    area = (296, 250)
    found = {p: {"idle": [], "switch": []} for p in ("sorinel", "gpu", "x11")}
    for _ in range(repeat):
        for player in found:
            times = sorinel_turn(binary, folder) if player == "sorinel" else mpv_turn(player, red, blue, area)
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
    return 0 if all(rows["idle"] for rows in found.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
