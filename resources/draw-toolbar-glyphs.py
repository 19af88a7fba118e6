#!/usr/bin/env python3
"""Draws the plot toolbar's glyphs, 24 x 24 and 16 x 16, as PNG files.

Run from resources/: ./draw-toolbar-glyphs.py. The background is 0x808000
(teal), which the toolbar draws as transparent. Each picture is drawn on a
24-unit grid and scaled to the pixel size.
"""
import os
import runpy

# The PNG writer and box helpers of the program's other pictures.
_pictures = runpy.run_path(
    os.path.join(os.path.dirname(os.path.abspath(__file__)), "draw-pictures.py"))
fill, frame, write_png = _pictures["fill"], _pictures["frame"], _pictures["write_png"]

TEAL = (0, 128, 128, 255)
BLACK = (0, 0, 0, 255)
NAVY = (0, 0, 128, 255)
GREEN = (0, 150, 0, 255)
RED = (200, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (128, 128, 128, 255)
SILVER = (192, 192, 192, 255)
SKIN = (250, 210, 160, 255)
BROWN = (120, 70, 20, 255)
GLASS = (200, 230, 255, 255)


class Glyph:
    def __init__(self, size):
        self.size = size
        self.k = size / 24
        self.p = [[TEAL] * size for _ in range(size)]

    def s(self, v):
        return int(round(v * self.k))

    def box(self, l, t, r, b, colour):
        """Fills the grid box (l, t) .. (r, b), at least one pixel each way."""
        L, T = self.s(l), self.s(t)
        R, B = max(self.s(r), L + 1), max(self.s(b), T + 1)
        fill(self.p, L, T, min(R, self.size), min(B, self.size), colour)

    def frame(self, l, t, r, b, colour):
        L, T = self.s(l), self.s(t)
        R, B = max(self.s(r), L + 2), max(self.s(b), T + 2)
        frame(self.p, L, T, R, B, colour)

    def dot(self, x, y, colour):
        X, Y = int(x * self.k), int(y * self.k)
        if 0 <= X < self.size and 0 <= Y < self.size:
            self.p[Y][X] = colour

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0)) * 2 + 1
        for i in range(int(steps) + 1):
            t = i / steps
            self.dot(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, colour)

    def ring(self, cx, cy, radius, colour, inside=None):
        for y in range(self.size):
            for x in range(self.size):
                d = (((x + 0.5) / self.k - cx) ** 2 + ((y + 0.5) / self.k - cy) ** 2) ** 0.5
                if inside and d < radius - 1.5:
                    self.p[y][x] = inside
                elif abs(d - radius) <= 0.5 / self.k + 0.5:
                    self.p[y][x] = colour

    def triangle_right(self, l, t, r, b, colour):
        for y in range(self.size):
            Y = (y + 0.5) / self.k
            if t <= Y <= b:
                reach = l + (r - l) * (1 - abs(Y - (t + b) / 2) / ((b - t) / 2))
                for x in range(self.size):
                    if l <= (x + 0.5) / self.k <= reach:
                        self.p[y][x] = colour


def auto(g):
    g.triangle_right(6, 3, 20, 21, GREEN)


def pause(g):
    g.box(6, 4, 10, 20, NAVY)
    g.box(14, 4, 18, 20, NAVY)


def scroll(g):
    """An open hand."""
    for x in (6, 9, 12, 15):
        g.box(x, 4 + (x == 6) * 2, x + 2, 14, SKIN)
        g.frame(x, 4 + (x == 6) * 2, x + 3, 14, BROWN)
    g.box(6, 12, 18, 21, SKIN)
    g.frame(6, 12, 18, 21, BROWN)
    g.line(18, 14, 21, 10, BROWN)


def magnifier(g):
    g.ring(10, 10, 6.5, BLACK, GLASS)
    g.line(14.5, 14.5, 21, 21, BROWN)
    g.line(15.5, 14.5, 22, 21, BROWN)


def zoom(g):
    magnifier(g)


def zoom_in(g):
    magnifier(g)
    g.box(6, 9, 14, 11, BLACK)
    g.box(9, 6, 11, 14, BLACK)


def zoom_out(g):
    magnifier(g)
    g.box(6, 9, 14, 11, BLACK)


def select(g):
    """An arrow pointer."""
    for y in range(3, 17):
        g.line(5, y, 5 + (y - 3) * 0.7, y, WHITE)
    g.line(5, 3, 5, 17, BLACK)
    g.line(5, 3, 15, 13, BLACK)
    g.line(5, 17, 9, 13, BLACK)
    g.line(9, 13, 15, 13, BLACK)
    g.line(9, 14, 12, 21, BLACK)


def scroll_box(g):
    """A dashed box."""
    for v in range(3, 21, 4):
        g.line(v, 4, v + 2, 4, BLACK)
        g.line(v, 19, v + 2, 19, BLACK)
        g.line(3, v + 1, 3, v + 3, BLACK)
        g.line(20, v + 1, 20, v + 3, BLACK)


def cursor(g):
    """A crosshair."""
    g.ring(12, 12, 6, RED)
    g.line(12, 2, 12, 22, BLACK)
    g.line(2, 12, 22, 12, BLACK)


def properties(g):
    """A wrench."""
    g.ring(8, 8, 4.5, GREY, GREY)
    g.box(7, 3, 10, 7, TEAL)
    for o in (-1, 0, 1):
        g.line(10 + o, 11 - o, 20 + o, 21 - o, GREY)


def copy(g):
    for l, t in ((3, 3), (9, 8)):
        g.box(l, t, l + 11, t + 13, WHITE)
        g.frame(l, t, l + 11, t + 13, BLACK)
    for y in (11, 14, 17):
        g.box(11, y, 18, y + 1, GREY)


def save(g):
    """A diskette."""
    g.box(3, 3, 21, 21, NAVY)
    g.box(7, 3, 17, 9, SILVER)
    g.box(13, 4, 15, 8, NAVY)
    g.box(6, 13, 18, 21, WHITE)


def printer(g):
    g.box(7, 3, 17, 9, WHITE)
    g.frame(7, 3, 17, 9, BLACK)
    g.box(3, 9, 21, 17, SILVER)
    g.frame(3, 9, 21, 17, BLACK)
    g.box(7, 14, 17, 21, WHITE)
    g.frame(7, 14, 17, 21, BLACK)
    g.box(17, 11, 19, 12, GREEN)


def preview(g):
    g.box(3, 2, 15, 20, WHITE)
    g.frame(3, 2, 15, 20, BLACK)
    g.ring(13, 13, 5, BLACK, GLASS)
    g.line(16.5, 16.5, 22, 22, BROWN)


GLYPHS = {
    "AUTO": auto, "PAUSE": pause, "SCROLL": scroll, "ZOOM": zoom, "ZOOMIN": zoom_in,
    "ZOOMOUT": zoom_out, "SELECT": select, "SCROLLBOX": scroll_box, "CURSOR": cursor,
    "PROPERTIES": properties, "COPY": copy, "SAVE": save, "PRINTER": printer, "PREVIEW": preview,
}

if __name__ == "__main__":
    os.makedirs("glyphs/toolbar", exist_ok=True)
    for name, draw in GLYPHS.items():
        for prefix, size in (("", 24), ("SMALL", 16)):
            g = Glyph(size)
            draw(g)
            write_png(f"glyphs/toolbar/{prefix}{name}.png", g.p)
