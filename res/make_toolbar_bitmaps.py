"""Draws the toolbar's image strips and the title-bar pin as 24-bit BMP files.

    make_toolbar_bitmaps.py <output folder>

Strips (magenta 255,0,255 is transparent), images in toolbar order:
  toolbar.bmp        16 x 15, 15 images (the toolbar resource's own strip)
  toolbar20c/h/u.bmp 20 x 20, 17 images: normal, hot, disabled
  toolbar28c/h/u.bmp 28 x 28, 17 images
  pin.bmp            16 x 16, 5 images: normal, pressed, hot, checked, disabled
  dropwindow.bmp     32 x 32, the floating drop window's picture (opaque)
Every picture is drawn from shapes on a unit square, so each size is drawn
afresh rather than scaled.
"""
import math
import struct
import sys
from pathlib import Path

MAGENTA = (255, 0, 255)

# Colours.
BLUE = (40, 90, 190)
GREEN = (30, 150, 60)
RED = (200, 40, 40)
YELLOW = (235, 190, 60)
FOLDER = (230, 180, 70)
FOLDER_DARK = (170, 120, 30)
PAPER = (250, 250, 245)
INK = (60, 60, 70)
GREY = (120, 120, 130)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def _each(self, inside, colour):
        n = self.size
        for y in range(n):
            for x in range(n):
                u, v = (x + 0.5) / n, (y + 0.5) / n
                if inside(u, v):
                    self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self._each(lambda u, v: x0 <= u <= x1 and y0 <= v <= y1, colour)

    def frame(self, x0, y0, x1, y1, colour, w=0.08):
        self.rect(x0, y0, x1, y0 + w, colour)
        self.rect(x0, y1 - w, x1, y1, colour)
        self.rect(x0, y0, x0 + w, y1, colour)
        self.rect(x1 - w, y0, x1, y1, colour)

    def circle(self, cx, cy, r, colour, inner=0.0):
        self._each(lambda u, v: inner * inner <= (u - cx) ** 2 + (v - cy) ** 2 <= r * r, colour)

    def line(self, x0, y0, x1, y1, colour, w=0.1):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9

        def inside(u, v):
            t = max(0.0, min(1.0, ((u - x0) * dx + (v - y0) * dy) / length2))
            px, py = x0 + t * dx, y0 + t * dy
            return (u - px) ** 2 + (v - py) ** 2 <= (w / 2) ** 2
        self._each(inside, colour)

    def polygon(self, points, colour):
        def inside(u, v):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > v) != (yj > v) and u < (xj - xi) * (v - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        self._each(inside, colour)


def folder(c):
    c.polygon([(0.08, 0.25), (0.4, 0.25), (0.48, 0.33), (0.92, 0.33), (0.92, 0.85), (0.08, 0.85)], FOLDER)
    c.frame(0.08, 0.25, 0.92, 0.85, FOLDER_DARK, 0.06)


def ribbon(c):
    c.polygon([(0.25, 0.1), (0.75, 0.1), (0.75, 0.9), (0.5, 0.68), (0.25, 0.9)], BLUE)


def plus(c, colour=GREEN):
    c.rect(0.58, 0.5, 0.98, 0.64, colour)
    c.rect(0.71, 0.37, 0.85, 0.77, colour)


def cross(c):
    c.line(0.58, 0.5, 0.94, 0.86, RED, 0.14)
    c.line(0.94, 0.5, 0.58, 0.86, RED, 0.14)


def pencil(c):
    c.line(0.5, 0.92, 0.94, 0.48, YELLOW, 0.18)
    c.line(0.44, 0.98, 0.52, 0.9, INK, 0.1)


def tray(c):
    c.rect(0.1, 0.62, 0.9, 0.9, GREY)
    c.rect(0.2, 0.62, 0.8, 0.75, PAPER)


def arrow(c, up, colour):
    if up:
        c.polygon([(0.5, 0.08), (0.82, 0.42), (0.62, 0.42), (0.62, 0.8), (0.38, 0.8), (0.38, 0.42), (0.18, 0.42)],
                  colour)
    else:
        c.polygon([(0.5, 0.92), (0.82, 0.58), (0.62, 0.58), (0.62, 0.2), (0.38, 0.2), (0.38, 0.58), (0.18, 0.58)],
                  colour)


def small_arrow(c, up, colour):
    if up:
        c.polygon([(0.5, 0.05), (0.75, 0.35), (0.25, 0.35)], colour)
        c.rect(0.42, 0.3, 0.58, 0.58, colour)
    else:
        c.polygon([(0.5, 0.58), (0.75, 0.28), (0.25, 0.28)], colour)
        c.rect(0.42, 0.02, 0.58, 0.32, colour)


def draw_import(c):
    tray(c)
    small_arrow(c, False, GREEN)


def draw_export(c):
    tray(c)
    small_arrow(c, True, BLUE)


def draw_house(c):
    c.polygon([(0.5, 0.1), (0.92, 0.5), (0.08, 0.5)], RED)
    c.rect(0.2, 0.48, 0.8, 0.9, PAPER)
    c.frame(0.2, 0.48, 0.8, 0.9, INK, 0.06)
    c.rect(0.42, 0.62, 0.58, 0.9, BLUE)


def draw_dice(c):
    c.rect(0.12, 0.12, 0.88, 0.88, PAPER)
    c.frame(0.12, 0.12, 0.88, 0.88, INK, 0.07)
    for x, y in ((0.3, 0.3), (0.5, 0.5), (0.7, 0.7), (0.7, 0.3), (0.3, 0.7)):
        c.circle(x, y, 0.07, RED)


def draw_disk(c):
    c.rect(0.12, 0.1, 0.88, 0.9, BLUE)
    c.rect(0.28, 0.1, 0.72, 0.38, PAPER)
    c.rect(0.56, 0.14, 0.66, 0.32, INK)
    c.rect(0.24, 0.56, 0.76, 0.9, PAPER)


def draw_gear(c):
    for k in range(8):
        a = k * math.pi / 4
        c.line(0.5, 0.5, 0.5 + 0.4 * math.cos(a), 0.5 + 0.4 * math.sin(a), GREY, 0.16)
    c.circle(0.5, 0.5, 0.3, GREY)
    c.circle(0.5, 0.5, 0.12, PAPER)


def draw_info(c):
    c.circle(0.5, 0.5, 0.42, BLUE)
    c.circle(0.5, 0.3, 0.07, PAPER)
    c.rect(0.44, 0.42, 0.56, 0.76, PAPER)


def draw_globe(c):
    c.circle(0.5, 0.5, 0.42, BLUE)
    c.circle(0.5, 0.5, 0.42, GREEN, 0.36)
    c.line(0.1, 0.5, 0.9, 0.5, GREEN, 0.06)
    c.line(0.5, 0.1, 0.5, 0.9, GREEN, 0.06)


def draw_star(c):
    points = []
    for k in range(10):
        r = 0.42 if k % 2 == 0 else 0.18
        a = -math.pi / 2 + k * math.pi / 5
        points.append((0.5 + r * math.cos(a), 0.52 + r * math.sin(a)))
    c.polygon(points, YELLOW)


GLYPHS = [
    draw_import,                                   # 32910 import
    draw_export,                                   # 32915 export
    lambda c: (folder(c), plus(c)),                # 32770 add category
    lambda c: (folder(c), cross(c)),               # 32795 delete category
    lambda c: (folder(c), pencil(c)),              # 32820 edit category
    lambda c: (ribbon(c), plus(c)),                # 32805 add bookmark
    lambda c: (ribbon(c), cross(c)),               # 32815 delete bookmark
    lambda c: (ribbon(c), pencil(c)),              # 32825 edit bookmark
    lambda c: arrow(c, True, BLUE),                # 32855 move up
    lambda c: arrow(c, False, BLUE),               # 32870 move down
    draw_house,                                    # 32800 homepage group
    draw_dice,                                     # 32940 random
    draw_disk,                                     # 32880 backup
    draw_gear,                                     # 32790 options
    draw_info,                                     # 57664 about
    draw_globe,
    draw_star,
]


def lighter(colour):
    return tuple(min(255, int(v + (255 - v) * 0.35)) for v in colour)


def greyed(colour):
    grey = int(0.3 * colour[0] + 0.59 * colour[1] + 0.11 * colour[2])
    grey = 128 + grey // 3
    return (grey, grey, grey)


def render(glyph, size, look):
    c = Canvas(size)
    glyph(c)
    rows = []
    for row in c.px:
        out = []
        for p in row:
            if p is None:
                out.append(MAGENTA)
            elif look == "hot":
                out.append(lighter(p))
            elif look == "disabled":
                out.append(greyed(p))
            else:
                out.append(p)
        rows.append(out)
    return rows


def strip(images, width, height):
    rows = []
    for y in range(height):
        row = []
        for image in images:
            line = image[y] if y < len(image) else [MAGENTA] * width
            row.extend(line[:width] + [MAGENTA] * (width - len(line[:width])))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + pixels)


def draw_pin(state):
    c = Canvas(16)
    if state == 2:
        c.rect(0.0, 0.0, 1.0, 1.0, (200, 220, 245))
    if state == 1:
        c.rect(0.0, 0.0, 1.0, 1.0, (170, 190, 220))
    colour = GREY if state == 4 else INK
    head = GREY if state == 4 else RED
    if state == 3:
        # Pushed in: seen from above, head on top of a short needle.
        c.rect(0.0, 0.0, 1.0, 1.0, (200, 220, 245))
        c.circle(0.5, 0.42, 0.3, head)
        c.line(0.5, 0.7, 0.5, 0.95, colour, 0.12)
    else:
        c.rect(0.12, 0.3, 0.38, 0.7, head)
        c.rect(0.38, 0.4, 0.72, 0.6, colour)
        c.line(0.72, 0.5, 0.98, 0.5, colour, 0.08)
        c.rect(0.06, 0.22, 0.14, 0.78, head)
    rows = []
    for row in c.px:
        rows.append([MAGENTA if p is None else p for p in row])
    return rows


def draw_drop_window():
    """A bookmark ribbon over a tray, with an arrow pointing into it."""
    c = Canvas(32)
    c.rect(0.0, 0.0, 1.0, 1.0, (225, 235, 250))
    c.frame(0.0, 0.0, 1.0, 1.0, BLUE, 0.06)
    c.polygon([(0.16, 0.62), (0.84, 0.62), (0.84, 0.88), (0.16, 0.88)], FOLDER)
    c.rect(0.16, 0.62, 0.84, 0.68, FOLDER_DARK)
    c.polygon([(0.58, 0.12), (0.8, 0.12), (0.8, 0.52), (0.69, 0.44), (0.58, 0.52)], RED)
    c.line(0.34, 0.12, 0.34, 0.46, GREEN, 0.12)
    c.polygon([(0.2, 0.42), (0.48, 0.42), (0.34, 0.58)], GREEN)
    return [[PAPER if p is None else p for p in row] for row in c.px]


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    base = [render(g, 16, "normal") for g in GLYPHS[:15]]
    # The resource strip is 15 pixels high: the bottom row of each is left out.
    write_bmp(out / "toolbar.bmp", strip([img[:15] for img in base], 16, 15))
    for size in (20, 28):
        for suffix, look in (("c", "normal"), ("h", "hot"), ("u", "disabled")):
            images = [render(g, size, look) for g in GLYPHS]
            write_bmp(out / f"toolbar{size}{suffix}.bmp", strip(images, size, size))
    write_bmp(out / "pin.bmp", strip([draw_pin(s) for s in range(5)], 16, 16))
    write_bmp(out / "dropwindow.bmp", draw_drop_window())


if __name__ == "__main__":
    main()
