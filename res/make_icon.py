#!/usr/bin/env python3
"""Draws the program's icon (a bookmark ribbon on a rounded blue tile) and
writes it as a Windows .ico with 16, 32 and 48 pixel images (32-bit, alpha).

usage: make_icon.py OUTPUT.ico
"""
import sys

from ico_file import icon_image, write_icon

SIZES = (16, 32, 48)
SAMPLES = 4  # supersampling per axis, for smooth edges

TILE_TOP = (0x3A, 0x8E, 0xE6)
TILE_BOTTOM = (0x1F, 0x5F, 0xB8)
RIBBON = (0xFF, 0xFF, 0xFF)
ACCENT = (0xF5, 0xA6, 0x23)


def inside_rounded_square(x, y, radius):
    """Unit square [0,1]^2 with rounded corners of the given radius."""
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_ribbon(x, y):
    """A bookmark ribbon: a tall strip whose lower end has a V notch."""
    left, right, top, bottom = 0.32, 0.68, 0.16, 0.84
    if not (left <= x <= right and top <= y <= bottom):
        return False
    notch_depth = 0.16
    mid = (left + right) / 2
    half = (right - left) / 2
    # Below bottom - notch_depth the notch cuts in from the middle.
    cut = bottom - notch_depth * (1 - abs(x - mid) / half)
    return y <= cut


def inside_accent(x, y):
    """A small fold band across the top of the ribbon."""
    return 0.32 <= x <= 0.68 and 0.16 <= y <= 0.27


def shade(x, y):
    """Colour and coverage (0..1) of one sample point."""
    if not inside_rounded_square(x, y, 0.2):
        return (0, 0, 0), 0.0
    if inside_accent(x, y):
        return ACCENT, 1.0
    if inside_ribbon(x, y):
        return RIBBON, 1.0
    t = y
    colour = tuple(int(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM))
    return colour, 1.0


def render(size):
    """Rows of (r, g, b, a), top row first."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = cover = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour, c = shade(x, y)
                    r += colour[0] * c
                    g += colour[1] * c
                    b += colour[2] * c
                    cover += c
            if cover > 0:
                row.append((int(r / cover), int(g / cover), int(b / cover), int(255 * cover / n + 0.5)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    write_icon(sys.argv[1], [(s, icon_image(render(s))) for s in SIZES])


if __name__ == "__main__":
    main()
