#!/usr/bin/env python3
"""Draws the program's icon (a bookmark ribbon on a rounded blue tile) and
writes it as a Windows .ico with 16, 32 and 48 pixel images (32-bit, alpha).

usage: make_icon.py OUTPUT.ico
"""
import sys

from icon_file import icon_image, render, write_icon

SIZES = (16, 32, 48)

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
    """Colour of one point of the unit square, or None outside the tile."""
    if not inside_rounded_square(x, y, 0.2):
        return None
    if inside_accent(x, y):
        return ACCENT
    if inside_ribbon(x, y):
        return RIBBON
    return tuple(int(a + (b - a) * y) for a, b in zip(TILE_TOP, TILE_BOTTOM))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    write_icon(sys.argv[1], [(s, icon_image(render(s, lambda x, y: shade(x / s, y / s)))) for s in SIZES])


if __name__ == "__main__":
    main()
