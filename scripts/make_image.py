#!/usr/bin/env python3
"""Draws the About window's picture, data/Images/Foto.bmp.

A friendly cartoon robot (Вербоник as a little one) on a sky-blue ground,
179 x 108 pixels, the size of the About window's photo box. The picture is
made of simple shapes, each sampled 4 x 4 times per pixel and averaged, so
the edges are smooth. Written as an uncompressed 24-bit Windows bitmap with
the standard library only. Run from anywhere: python3 scripts/make_image.py
"""
import math
import pathlib
import struct

W, H = 179, 108
SS = 4  # samples per pixel along each axis
top = pathlib.Path(__file__).resolve().parent.parent
out = top / "data" / "Images" / "Foto.bmp"


# Shapes: each is a function (x, y) -> bool in picture coordinates.
def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def arc(cx, cy, r, width, a0, a1):
    """A band of a circle between the angles a0..a1 (degrees, y downwards)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx))
        return a0 <= a <= a1
    return inside


def star(cx, cy, r):
    return lambda x, y: abs(x - cx) ** 0.5 + abs(y - cy) ** 0.5 <= r ** 0.5


def background(x, y):
    # Sky from light blue at the top to a paler blue below.
    t = y / H
    return (int(150 + 70 * t), int(200 + 40 * t), int(245 + 8 * t))


# The robot, back to front.
BODY = (176, 196, 222)
DARK = (70, 90, 120)
LAYERS = [
    (ellipse(89, 104, 70, 10), (120, 170, 120)),           # grass hill
    (star(22, 18, 6), (255, 255, 255)),                    # sparkles
    (star(156, 28, 5), (255, 255, 255)),
    (star(148, 10, 3), (255, 255, 255)),
    (rect(87.5, 8, 90.5, 22), DARK),                       # antenna
    (ellipse(89, 7, 5, 5), (235, 70, 70)),
    (ellipse(87.5, 5.5, 1.6, 1.6), (255, 190, 190)),
    (rounded(40, 56, 50, 74, 4), DARK),                    # ears
    (rounded(128, 56, 138, 74, 4), DARK),
    (rounded(55, 86, 123, 108, 10), (150, 172, 204)),       # shoulders
    (rounded(47, 20, 131, 94, 20), DARK),                  # head outline
    (rounded(49, 22, 129, 92, 18), BODY),                  # head
    (rounded(56, 28, 122, 84, 14), (212, 226, 242)),        # face plate
    (ellipse(74, 50, 11, 12), (255, 255, 255)),            # eyes
    (ellipse(104, 50, 11, 12), (255, 255, 255)),
    (ellipse(76, 52, 6, 7), (40, 60, 100)),
    (ellipse(106, 52, 6, 7), (40, 60, 100)),
    (ellipse(78, 49, 2.2, 2.2), (255, 255, 255)),           # eye glints
    (ellipse(108, 49, 2.2, 2.2), (255, 255, 255)),
    (ellipse(63, 67, 6, 4), (250, 170, 180)),              # cheeks
    (ellipse(115, 67, 6, 4), (250, 170, 180)),
    (arc(89, 60, 15, 3.2, 25, 155), (200, 70, 90)),        # smile
    (rounded(81, 96, 97, 102, 3), (120, 200, 140)),        # a green light
]


def colour_at(x, y):
    c = background(x, y)
    for inside, fill in LAYERS:
        if inside(x, y):
            c = fill
    return c


def render():
    rows = []
    for py in range(H):
        row = []
        for px in range(W):
            r = g = b = 0
            for sy in range(SS):
                for sx in range(SS):
                    cr, cg, cb = colour_at(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
                    r, g, b = r + cr, g + cg, b + cb
            n = SS * SS
            row.append((round(r / n), round(g / n), round(b / n)))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    stride = (W * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(header + info + pixels)
    print(f"{path.relative_to(top)}: {W} x {H}, {len(header + info + pixels)} bytes")


if __name__ == "__main__":
    write_bmp(out, render())
