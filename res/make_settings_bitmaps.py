"""Draws the settings dialog's image strips as 24-bit BMP files.

    make_settings_bitmaps.py <output folder>

Strips of 16 x 16 images, magenta 255,0,255 transparent:
  options.bmp       12 images: check box off, on; radio button off, on; the
                    same four disabled; group folder; open folder, note and
                    an empty image for later use
  option_pages.bmp  7 images: general, user interface, homepage group,
                    miscellaneous; three spares (globe, star, info)
"""
import sys
from pathlib import Path

from make_toolbar_bitmaps import (BLUE, FOLDER, FOLDER_DARK, GREEN, GREY, INK, MAGENTA, PAPER, Canvas, draw_gear,
                                  draw_globe, draw_house, draw_info, draw_star, folder, strip, write_bmp)

BOX = (255, 255, 255)
BOX_DISABLED = (225, 225, 225)
FRAME = (70, 90, 120)
FRAME_DISABLED = (160, 160, 160)
MARK = (20, 110, 40)
MARK_DISABLED = (150, 150, 150)


def check_box(c, checked, enabled):
    c.rect(0.125, 0.125, 0.875, 0.875, BOX if enabled else BOX_DISABLED)
    c.frame(0.125, 0.125, 0.875, 0.875, FRAME if enabled else FRAME_DISABLED, 0.0626)
    if checked:
        colour = MARK if enabled else MARK_DISABLED
        c.line(0.28, 0.5, 0.44, 0.68, colour, 0.14)
        c.line(0.44, 0.68, 0.74, 0.3, colour, 0.14)


def radio(c, checked, enabled):
    c.circle(0.5, 0.5, 0.4, FRAME if enabled else FRAME_DISABLED)
    c.circle(0.5, 0.5, 0.33, BOX if enabled else BOX_DISABLED)
    if checked:
        c.circle(0.5, 0.5, 0.16, MARK if enabled else MARK_DISABLED)


def open_folder(c):
    c.polygon([(0.08, 0.25), (0.4, 0.25), (0.48, 0.33), (0.85, 0.33), (0.85, 0.45), (0.08, 0.45)], FOLDER_DARK)
    c.polygon([(0.2, 0.45), (0.98, 0.45), (0.85, 0.85), (0.08, 0.85)], FOLDER)


def note(c):
    c.rect(0.2, 0.1, 0.8, 0.9, PAPER)
    c.frame(0.2, 0.1, 0.8, 0.9, INK, 0.06)
    for y in (0.3, 0.5, 0.7):
        c.line(0.32, y, 0.68, y, GREY, 0.06)


def window(c):
    c.rect(0.08, 0.15, 0.92, 0.85, PAPER)
    c.rect(0.08, 0.15, 0.92, 0.32, BLUE)
    c.frame(0.08, 0.15, 0.92, 0.85, INK, 0.06)
    c.rect(0.16, 0.42, 0.42, 0.76, (200, 215, 235))


def toolbox(c):
    c.rect(0.1, 0.4, 0.9, 0.88, (200, 60, 50))
    c.frame(0.1, 0.4, 0.9, 0.88, INK, 0.06)
    c.frame(0.35, 0.22, 0.65, 0.42, INK, 0.07)
    c.rect(0.1, 0.55, 0.9, 0.6, INK)
    c.rect(0.44, 0.5, 0.56, 0.66, GREEN)


def image(draw):
    c = Canvas(16)
    draw(c)
    return [[MAGENTA if p is None else p for p in row] for row in c.px]


OPTION_IMAGES = [
    lambda c: check_box(c, False, True),
    lambda c: check_box(c, True, True),
    lambda c: radio(c, False, True),
    lambda c: radio(c, True, True),
    lambda c: check_box(c, False, False),
    lambda c: check_box(c, True, False),
    lambda c: radio(c, False, False),
    lambda c: radio(c, True, False),
    folder,
    open_folder,
    note,
    lambda c: None,
]

PAGE_IMAGES = [draw_gear, window, draw_house, toolbox, draw_globe, draw_star, draw_info]


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_bmp(out / "options.bmp", strip([image(d) for d in OPTION_IMAGES], 16, 16))
    write_bmp(out / "option_pages.bmp", strip([image(d) for d in PAGE_IMAGES], 16, 16))


if __name__ == "__main__":
    main()
