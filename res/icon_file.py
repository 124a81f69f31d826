"""Draws icon images by supersampling and writes them as a Windows .ico:
32-bit images with alpha and the AND mask that older readers use."""
import struct

SAMPLES = 4  # supersampling per axis, for smooth edges


def render(size, colour_at):
    """Rows of (r, g, b, a), top row first. Each pixel averages SAMPLES x
    SAMPLES points; `colour_at(x, y)` (in pixels) is the colour at a point, or
    None where nothing is drawn, which makes the pixel that much transparent."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = cover = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    colour = colour_at(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        cover += 1
            if cover:
                row.append((r // cover, g // cover, b // cover, int(255 * cover / n + 0.5)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(rows):
    """One ICO image from rows of (r, g, b, a): BITMAPINFOHEADER, bottom-up
    BGRA pixels, AND mask (set where fully transparent)."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def write_icon(path, images):
    """`images`: (size, image bytes) pairs, smallest first."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)
