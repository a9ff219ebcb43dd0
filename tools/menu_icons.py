#!/usr/bin/env python3
"""The add-on's button images, drawn from simple shapes, and the README's picture of them.

  menu_icons.py bitmaps OUTDIR       writes <command>_16.bmp and <command>_32.bmp for each command
  menu_icons.py picture BMPDIR OUT   draws the toolbar and the ribbon panel from those bitmaps as a PNG

Shapes are given on a 32-unit grid and drawn at 16 and 32 pixels with 4x4 samples a pixel;
edges on even units fall on whole pixels at both sizes, which keeps the small icons sharp.
The bitmaps are 32-bit BGRA (bottom-up, alpha in the fourth byte), so each one sits on
whatever background the toolbar or the ribbon has.
"""
import math
import struct
import sys
import zlib

# The order of the buttons on the toolbar and the ribbon panel.
COMMANDS = ["kvs_on", "kvs_off", "kvs_status", "kvs_list", "kvs_undo", "init_kvs"]

BLUE = (0, 84, 166)
GREEN = (0, 140, 60)
RED = (200, 30, 30)
AMBER = (214, 120, 0)
DARK = (70, 70, 70)
GREY = (130, 130, 130)
WHITE = (255, 255, 255)


def rect(x0, y0, x1, y1, color):
    return (lambda x, y: x0 <= x < x1 and y0 <= y < y1), color


def circle(cx, cy, r, color):
    return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 < r * r), color


def polygon(points, color):
    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside, color


def arc(cx, cy, r0, r1, start, end, color):
    """A ring between radii r0 and r1 from angle `start` to `end`, in degrees, counter-clockwise
    as seen on the screen, 0 pointing right."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return r0 <= d < r1 and (a - start) % 360 <= (end - start) % 360
    return inside, color


def page():
    """A sheet with a folded corner, outlined."""
    return [polygon([(6, 2), (20, 2), (26, 8), (26, 30), (6, 30)], DARK),
            polygon([(8, 4), (19, 4), (24, 9), (24, 28), (8, 28)], WHITE),
            polygon([(19, 4), (19, 9), (24, 9)], GREY)]


def letter_ge(color):
    """The Cyrillic capital Ge, the first letter of GOST."""
    return [rect(10, 8, 14, 24, color), rect(10, 8, 20, 12, color)]


def badge(color):
    return [circle(24, 24, 8, WHITE), circle(24, 24, 6.5, color)]


ICONS = {
    # To the GOST library: the GOST sheet with a green tick.
    "kvs_on": page() + letter_ge(BLUE) + badge(GREEN) + [
        polygon([(19, 24), (21.5, 21.5), (23.5, 23.5), (27, 20), (29.5, 22.5), (23.5, 28.5)], WHITE)],
    # Back to the stock library: the GOST sheet greyed, with a red bar.
    "kvs_off": page() + letter_ge(GREY) + badge(RED) + [rect(20, 23, 28, 26, WHITE)],
    # What the active project uses: "i" for information.
    "kvs_status": [circle(16, 16, 14, BLUE), rect(14, 6, 18, 10, WHITE), rect(14, 12, 18, 26, WHITE)],
    # The registered projects: a sheet with three listed lines.
    "kvs_list": page() + [rect(10, y, 12, y + 2, BLUE) for y in (10, 16, 22)]
                       + [rect(14, y, 22, y + 2, DARK) for y in (10, 16, 22)],
    # The newest kept version back: an arrow turning back to the left.
    "kvs_undo": [arc(17, 18, 6, 10, 270, 180, AMBER),
                 polygon([(2, 16), (16, 16), (9, 25)], AMBER)],
    # The add-on's menu: a window with a row of toolbar buttons.
    "init_kvs": [rect(2, 4, 30, 28, DARK), rect(4, 6, 28, 12, BLUE), rect(4, 12, 28, 26, WHITE),
                 rect(6, 16, 10, 20, BLUE), rect(12, 16, 16, 20, GREEN), rect(18, 16, 22, 20, RED)],
}

SAMPLES = 4


def render(shapes, size):
    """Rows of (r, g, b, a), top row first."""
    scale = 32.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    color = None
                    for inside, c in shapes:
                        if inside(x, y):
                            color = c
                    if color:
                        r, g, b, hits = r + color[0], g + color[1], b + color[2], hits + 1
            if hits:
                row.append((round(r / hits), round(g / hits), round(b / hits), round(255 * hits / SAMPLES ** 2)))
            else:
                row.append((255, 255, 255, 0))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    size = len(rows)
    pixels = b"".join(struct.pack("<4B", b, g, r, a) for row in reversed(rows) for r, g, b, a in row)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 32:
        raise SystemExit(path + ": not a 32-bit bitmap")
    rows = []
    for y in range(height):
        start = offset + y * width * 4
        rows.append([(data[i + 2], data[i + 1], data[i], data[i + 3]) for i in range(start, start + width * 4, 4)])
    rows.reverse()
    return rows


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def picture(bmp_dir, out):
    """The toolbar (16-pixel images) above the ribbon panel (32-pixel images), each on its own
    background, drawn twice as large so that the README shows every pixel."""
    pad, zoom = 8, 2
    strips = [(16, 4, (240, 240, 240)), (32, 8, (222, 230, 240))]
    width = max(len(COMMANDS) * (size + gap) + gap for size, gap, _ in strips) + 2 * pad
    height = sum(size + 2 * gap for size, gap, _ in strips) + 3 * pad
    canvas = [[WHITE] * width for _ in range(height)]
    top = pad
    for size, gap, background in strips:
        strip_width = len(COMMANDS) * (size + gap) + gap
        for y in range(top, top + size + 2 * gap):
            for x in range(pad, pad + strip_width):
                edge = y in (top, top + size + 2 * gap - 1) or x in (pad, pad + strip_width - 1)
                canvas[y][x] = GREY if edge else background
        for n, command in enumerate(COMMANDS):
            icon = read_bmp("%s/%s_%d.bmp" % (bmp_dir, command, size))
            left = pad + gap + n * (size + gap)
            for y, row in enumerate(icon):
                for x, (r, g, b, a) in enumerate(row):
                    under = canvas[top + gap + y][left + x]
                    canvas[top + gap + y][left + x] = tuple((v * a + u * (255 - a) + 127) // 255
                                                            for v, u in zip((r, g, b), under))
        top += size + 2 * gap + pad
    write_png(out, [[pixel for pixel in row for _ in range(zoom)] for row in canvas for _ in range(zoom)])


def main(args):
    if len(args) == 2 and args[0] == "bitmaps":
        for command in COMMANDS:
            for size in (16, 32):
                write_bmp("%s/%s_%d.bmp" % (args[1], command, size), render(ICONS[command], size))
    elif len(args) == 3 and args[0] == "picture":
        picture(args[1], args[2])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
