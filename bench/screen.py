# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The X server as the benchmarks see it: pixels read back from the root
window, clicks sent through XTEST, and the windows of a process. Black-box
figures (bench/click_to_picture.py, bench/file_to_file.py) read what a person
would see, whatever draws it."""
import ctypes
import signal
import subprocess
import sys
import time

_x11 = ctypes.CDLL("libX11.so.6")
_xtst = ctypes.CDLL("libXtst.so.6")


class _XImage(ctypes.Structure):
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


_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XDefaultRootWindow.restype = ctypes.c_ulong
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XGetImage.restype = ctypes.POINTER(_XImage)
_x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XFlush.argtypes = [ctypes.c_void_p]
_xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
_xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

_display = _x11.XOpenDisplay(None)
if not _display:
    sys.exit("no X display")
_root = _x11.XDefaultRootWindow(_display)
_ALL_PLANES = ctypes.c_ulong(-1).value
_Z_PIXMAP = 2


def raw(x, y, w, h):
    """The region's pixels as bytes, four a pixel (blue, green, red, pad),
    row after row; b"" when it cannot be read. Bytes compare cheaply: a poll
    every couple of milliseconds must not take a core from the player."""
    image = _x11.XGetImage(_display, _root, x, y, w, h, _ALL_PLANES, _Z_PIXMAP)
    if not image:
        return b""
    im = image.contents
    data = bytes(ctypes.string_at(im.data, im.bytes_per_line * h))
    stride = im.bytes_per_line
    im.destroy_image(image)
    if stride != 4 * w:
        data = b"".join(data[row * stride:row * stride + 4 * w] for row in range(h))
    return data


def pixels(x, y, w, h):
    """(r, g, b) of each pixel of a screen region, row by row."""
    data = raw(x, y, w, h)
    return [(data[k + 2], data[k + 1], data[k]) for k in range(0, len(data), 4)]


def click(x, y):
    """A left click at x, y; returns the monotonic time the button went down."""
    _xtst.XTestFakeMotionEvent(_display, -1, x, y, 0)
    _x11.XFlush(_display)
    time.sleep(0.05)
    started = time.monotonic()
    _xtst.XTestFakeButtonEvent(_display, 1, 1, 0)
    _xtst.XTestFakeButtonEvent(_display, 1, 0, 0)
    _x11.XFlush(_display)
    return started


def window_of(pid, timeout=20.0):
    """(x, y, width, height) of the largest visible window of a process: a
    tray icon is a window of the same process too."""
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


def end(process):
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
