#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's two pictures into resources/ (run by hand; the small
results are committed):
  sorinel-icon.ico  48x48, 8 bits per pixel with a 256-colour palette and a
                    1-bit transparency mask: a tan tile bearing one black
                    character, transparent outside its rounded corners;
  title.gif         960x720 GIF89a, one frame, 256-colour global palette, no
                    transparency: the program's name in white on black.
ImageMagick rasterises the lettering; this script writes both formats itself
so that palette sizes and masks are exactly as wanted."""
import os
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources")
FONT = "IPAGothic"
TAN = (210, 180, 140)


def raster(args, size, channels):
    w, h = size
    fmt = "rgba" if channels == 4 else "gray"
    raw = subprocess.run(["convert", *args, "-depth", "8", f"{fmt}:-"],
                         check=True, capture_output=True).stdout
    assert len(raw) == w * h * channels, (len(raw), w, h)
    return raw


def draw_icon(path):
    w = h = 48
    rgba = raster(["-size", "48x48", "xc:none",
                   "-fill", "rgb(%d,%d,%d)" % TAN, "-draw", "roundrectangle 1,1,46,46,8,8",
                   "-fill", "black", "-font", FONT, "-pointsize", "38",
                   "-gravity", "center", "-annotate", "+0+1", "映"], (w, h), 4)
    # Palette: a ramp from black to tan, so antialiased lettering keeps its shades.
    palette = [tuple(round(c * k / 255) for c in TAN) for k in range(256)]
    pixels, mask = [], []
    for y in range(h):
        for x in range(w):
            r, g, b, a = rgba[(y * w + x) * 4:(y * w + x) * 4 + 4]
            if a < 128:
                pixels.append(0)
                mask.append(1)
                continue
            # Composite over tan, then find the ramp step by brightness.
            lum = (r * a + TAN[0] * (255 - a)) / 255
            pixels.append(max(0, min(255, round(lum / TAN[0] * 255))))
            mask.append(0)
    xor = bytearray()
    andmask = bytearray()
    for y in reversed(range(h)):  # bottom-up rows
        xor += bytes(pixels[y * w:(y + 1) * w])
        row = bytearray(8)  # 48 bits padded to 32-bit boundary
        for x in range(w):
            if mask[y * w + x]:
                row[x // 8] |= 0x80 >> (x % 8)
        andmask += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 8, 0, len(xor) + len(andmask), 0, 0, 256, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    image = header + pal + bytes(xor) + bytes(andmask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + image)


def lzw_encode(indices, min_code_size=8):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, bitbuf, bitcount = bytearray(), 0, 0
    code_size = min_code_size + 1

    def emit(code):
        nonlocal bitbuf, bitcount
        bitbuf |= code << bitcount
        bitcount += code_size
        while bitcount >= 8:
            out.append(bitbuf & 0xFF)
            bitbuf >>= 8
            bitcount -= 8

    table = {bytes([i]): i for i in range(clear)}
    next_code = end + 1
    emit(clear)
    w = b""
    for i in indices:
        wc = w + bytes([i])
        if wc in table:
            w = wc
            continue
        emit(table[w])
        if next_code < 4096:
            table[wc] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear)
            table = {bytes([k]): k for k in range(clear)}
            next_code = end + 1
            code_size = min_code_size + 1
        w = bytes([i])
    if w:
        emit(table[w])
    emit(end)
    if bitcount:
        out.append(bitbuf & 0xFF)
    return bytes(out)


def draw_title(path):
    w, h = 960, 720
    gray = raster(["-size", f"{w}x{h}", "xc:black", "-fill", "white", "-font", FONT,
                   "-pointsize", "190", "-gravity", "center", "-annotate", "+0-40", "Sorinel",
                   "-fill", "gray60", "-pointsize", "52", "-annotate", "+0+125", "ソリネル　Ver10.03"],
                  (w, h), 1)
    data = lzw_encode(gray)
    gif = bytearray(b"GIF89a")
    gif += struct.pack("<HHBBB", w, h, 0xF7, 0, 0)  # global table, 8-bit colour, 256 entries
    gif += b"".join(bytes([k, k, k]) for k in range(256))
    gif += struct.pack("<BHHHHB", 0x2C, 0, 0, w, h, 0)
    gif += bytes([8])
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        gif += bytes([len(block)]) + block
    gif += b"\x00\x3B"
    with open(path, "wb") as f:
        f.write(gif)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    draw_icon(os.path.join(OUT, "sorinel-icon.ico"))
    draw_title(os.path.join(OUT, "title.gif"))
    sys.exit(0)
