#!/usr/bin/env python3
"""Draws the program's icon and tool-button glyphs as PNG files.

Run from resources/: ./draw-pictures.py. Only the standard library is used,
so the pictures can be redrawn anywhere.
"""
import os
import struct
import zlib

CLEAR = (0, 0, 0, 0)


def write_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def canvas(size):
    return [[CLEAR] * size for _ in range(size)]


def fill(pixels, left, top, right, bottom, colour):
    """Fills the box from (left, top) to (right - 1, bottom - 1)."""
    for y in range(top, bottom):
        for x in range(left, right):
            pixels[y][x] = colour


def frame(pixels, left, top, right, bottom, colour):
    fill(pixels, left, top, right, top + 1, colour)
    fill(pixels, left, bottom - 1, right, bottom, colour)
    fill(pixels, left, top, left + 1, bottom, colour)
    fill(pixels, right - 1, top, right, bottom, colour)


def grey(pixels):
    """The disabled look: light grey in place of every colour."""
    out = []
    for row in pixels:
        out.append([(160, 160, 160, 255) if p[3] else CLEAR for p in row])
    return out


def save_glyph():
    """A diskette."""
    p = canvas(16)
    fill(p, 1, 1, 15, 15, (40, 70, 160, 255))
    fill(p, 4, 1, 12, 6, (230, 230, 230, 255))
    fill(p, 9, 2, 11, 5, (40, 70, 160, 255))
    fill(p, 3, 9, 13, 15, (250, 250, 250, 255))
    fill(p, 4, 11, 12, 12, (150, 150, 150, 255))
    frame(p, 1, 1, 15, 15, (20, 30, 80, 255))
    return p


def open_glyph():
    """An opened folder."""
    p = canvas(16)
    fill(p, 1, 3, 7, 5, (200, 150, 30, 255))
    fill(p, 1, 5, 14, 14, (200, 150, 30, 255))
    frame(p, 1, 5, 14, 14, (120, 80, 10, 255))
    fill(p, 4, 8, 15, 14, (240, 200, 70, 255))
    frame(p, 4, 8, 15, 14, (120, 80, 10, 255))
    return p


def application_icon():
    """A dark chart with a red and a yellow trace under a green reading."""
    p = canvas(32)
    fill(p, 0, 0, 32, 32, (10, 20, 90, 255))
    frame(p, 0, 0, 32, 32, (200, 200, 200, 255))
    fill(p, 3, 3, 29, 11, (0, 0, 0, 255))
    for x in (5, 11, 17, 23):  # four lime digit bars
        fill(p, x, 5, x + 4, 6, (0, 255, 0, 255))
        fill(p, x, 8, x + 4, 9, (0, 255, 0, 255))
    red = [26, 24, 23, 21, 22, 19, 17, 18, 16, 15, 16, 14, 15, 13]
    yellow = [28, 28, 27, 26, 26, 25, 25, 24, 23, 23, 22, 22, 21, 21]
    for i, (r, y) in enumerate(zip(red, yellow)):
        x = 3 + 2 * i
        fill(p, x, r, x + 2, r + 2, (255, 40, 40, 255))
        fill(p, x, y, x + 2, y + 1, (255, 255, 0, 255))
    return p


def scaled(pixels, size):
    """Whole-pixel blocks for a larger icon; the mean of each block for a smaller one."""
    old = len(pixels)
    if size >= old:
        step = size // old
        return [[pixels[y // step][x // step] for x in range(size)] for y in range(size)]
    step = old // size
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            block = [pixels[y * step + j][x * step + i] for j in range(step) for i in range(step)]
            row.append(tuple(sum(p[c] for p in block) // len(block) for c in range(4)))
        out.append(row)
    return out


# The sizes of the installed icon theme (hicolor).
ICON_SIZES = (16, 32, 64, 128, 256)


if __name__ == "__main__":
    write_png("icons/sensor-monitor.png", application_icon())
    for size in ICON_SIZES:
        folder = f"icons/hicolor/{size}x{size}"
        os.makedirs(folder, exist_ok=True)
        write_png(f"{folder}/sensor-monitor.png", scaled(application_icon(), size))
    for name, draw in (("save", save_glyph), ("open", open_glyph)):
        write_png(f"glyphs/{name}.png", draw())
        write_png(f"glyphs/{name}-disabled.png", grey(draw()))
