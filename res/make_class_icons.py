#!/usr/bin/env python3
"""Draws the category icons of the tree views: a closed folder (icon 204) and
an open folder with a sheet in it (icon 205), each as a Windows .ico with 16,
20, 24 and 32 pixel images (32-bit, alpha), for 100 % to 200 % scaling.

Shapes are convex polygons on a 16-unit grid, scaled per size with their
straight edges snapped to whole pixels so that small sizes stay sharp; each
has a one-pixel outline.

usage: make_class_icons.py CLOSED.ico OPEN.ico
"""
import sys

from icon_file import icon_image, render, write_icon

SIZES = (16, 20, 24, 32)

OUTLINE = (0xA8, 0x6A, 0x0C)
BACK = (0xE9, 0xA8, 0x2A)
BACK_DARK = (0xD8, 0x92, 0x1A)
FRONT_TOP = (0xFD, 0xD8, 0x6A)
FRONT_BOTTOM = (0xF2, 0xB6, 0x38)
PAPER = (0xFF, 0xFF, 0xFF)
PAPER_EDGE = (0x8C, 0x8C, 0x8C)
PAPER_LINE = (0x9F, 0xBF, 0xE8)


def snap(v, scale):
    return round(v * scale)


def polygon(points, scale):
    return [(snap(x, scale), snap(y, scale)) for x, y in points]


def inside(poly, x, y):
    """Point in a convex polygon given clockwise (y down) or anticlockwise."""
    sign = 0
    n = len(poly)
    for i in range(n):
        x1, y1 = poly[i]
        x2, y2 = poly[(i + 1) % n]
        cross = (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1)
        if cross != 0:
            s = 1 if cross > 0 else -1
            if sign == 0:
                sign = s
            elif s != sign:
                return False
    return True


def edge_distance(poly, x, y):
    best = float("inf")
    n = len(poly)
    for i in range(n):
        x1, y1 = poly[i]
        x2, y2 = poly[(i + 1) % n]
        dx, dy = x2 - x1, y2 - y1
        length2 = dx * dx + dy * dy
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
        px, py = x1 + t * dx, y1 + t * dy
        best = min(best, ((x - px) ** 2 + (y - py) ** 2) ** 0.5)
    return best


def lerp(a, b, t):
    return tuple(int(p + (q - p) * t) for p, q in zip(a, b))


class Layer:
    """A filled polygon with a one-pixel outline; fill may vary with y."""

    def __init__(self, points, fill, edge, scale, size):
        self.poly = polygon(points, scale)
        self.fill = fill
        self.edge = edge
        self.size = size

    def colour(self, x, y):
        if not inside(self.poly, x, y):
            return None
        if edge_distance(self.poly, x, y) < 1.0:
            return self.edge
        return self.fill(y / self.size) if callable(self.fill) else self.fill


def closed_folder(scale, size):
    back = Layer([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 14), (1, 14)], BACK, OUTLINE, scale, size)
    front = Layer([(1, 6), (15, 6), (15, 14), (1, 14)],
                  lambda t: lerp(FRONT_TOP, FRONT_BOTTOM, t), OUTLINE, scale, size)
    return [back, front]


def open_folder(scale, size):
    back = Layer([(1, 3), (6, 3), (7.5, 4.5), (14, 4.5), (14, 14), (1, 14)], BACK_DARK, OUTLINE, scale, size)
    paper = Layer([(3, 2), (13, 2), (13, 11), (3, 11)], PAPER, PAPER_EDGE, scale, size)
    front = Layer([(4, 7.5), (15, 7.5), (12.5, 14), (1, 14)],
                  lambda t: lerp(FRONT_TOP, FRONT_BOTTOM, t), OUTLINE, scale, size)
    return [back, paper, front]


def paper_lines(scale):
    """Two ruled lines on the sheet, whole pixels high."""
    rows = [snap(4.5, scale), snap(6.5, scale)]
    return [(snap(5, scale), snap(11, scale), r) for r in rows]


def draw(size, layers_for, lines=False):
    scale = size / 16.0
    layers = layers_for(scale, size)
    ruled = paper_lines(scale) if lines else []
    thickness = max(1, round(scale))

    def colour_at(x, y):
        colour = None
        for i, layer in enumerate(layers):
            c = layer.colour(x, y)
            if c is None:
                continue
            colour = c
            if lines and i == 1 and c == PAPER:
                for x1, x2, top in ruled:
                    if x1 <= x < x2 and top <= y < top + thickness:
                        colour = PAPER_LINE
        return colour

    return render(size, colour_at)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write_icon(sys.argv[1], [(s, icon_image(draw(s, closed_folder))) for s in SIZES])
    write_icon(sys.argv[2], [(s, icon_image(draw(s, open_folder, lines=True))) for s in SIZES])


if __name__ == "__main__":
    main()
