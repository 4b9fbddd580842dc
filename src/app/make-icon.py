#!/usr/bin/env python3
"""Draws the program's icon and writes wayfarer.ico beside this script: three
64 x 64 images (32-bit with alpha, 256 colours, 16 colours), so every desktop
finds one it can show. Run it again after changing the picture."""
import math
import os
import struct

SIZE = 64


def picture():
    """A sea chart: land in the sea, a dotted route and the map window's cross."""
    sea, deep, land, hill, sand, frame, route, cross = (
        (46, 110, 168), (30, 80, 140), (86, 150, 70), (60, 118, 52),
        (222, 200, 140), (60, 45, 30), (200, 40, 30), (0, 0, 0))
    px = [[None] * SIZE for _ in range(SIZE)]
    islands = [(20, 22, 13), (44, 42, 15), (16, 48, 7)]
    for y in range(SIZE):
        for x in range(SIZE):
            # Rounded square from 2 to 61 with a 7-pixel corner radius.
            cx = min(max(x, 9), 54)
            cy = min(max(y, 9), 54)
            d = math.hypot(x - cx, y - cy)
            if d > 7.5 or x < 2 or y < 2 or x > 61 or y > 61:
                continue
            if d > 5.5:
                px[y][x] = frame
                continue
            shore = min(math.hypot(x - ix, y - iy) - r for ix, iy, r in islands)
            if shore < -5:
                px[y][x] = hill
            elif shore < 0:
                px[y][x] = land
            elif shore < 1.5:
                px[y][x] = sand
            else:
                px[y][x] = deep if (x + 2 * y) % 11 == 0 else sea
    # Dotted route from one island to the other.
    for t in range(0, 28, 3):
        x, y = 22 + t, 24 + int(t * 0.65)
        for dx in (0, 1):
            for dy in (0, 1):
                px[y + dy][x + dx] = route
    # The cross of the detail view, open at its centre.
    c = 42
    for i in range(6, 14):
        for a, b in ((c - i, c), (c + i, c), (c, c - i), (c, c + i)):
            px[b][a] = cross
    return px


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def dib(px, bits, palette=None):
    """One icon image: BITMAPINFOHEADER (double height), palette, XOR rows
    bottom-up, then the 1-bit AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, bits, 0, 0, 0, 0,
                         len(palette) if palette else 0, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in (palette or []))
    rows = []
    for y in reversed(range(SIZE)):
        row = bytearray()
        if bits == 32:
            for x in range(SIZE):
                c = px[y][x]
                row += struct.pack('<BBBB', c[2], c[1], c[0], 255) if c else b'\0\0\0\0'
        else:
            idx = [nearest(c, palette) if c else 0 for c in px[y]]
            if bits == 8:
                row += bytes(idx)
            else:
                row += bytes((idx[i] << 4) | idx[i + 1] for i in range(0, SIZE, 2))
        rows.append(bytes(row))
    mask = []
    for y in reversed(range(SIZE)):
        row = bytearray(SIZE // 8)
        for x in range(SIZE):
            if px[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        mask.append(bytes(row) + b'\0' * (4 - (SIZE // 8) % 4 if (SIZE // 8) % 4 else 0))
    return header + pal + b''.join(rows) + b''.join(mask)


def main():
    px = picture()
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(v, v, v) for v in range(8, 248, 6)][:40]
    vga16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    images = [(32, 0, dib(px, 32)), (8, 0, dib(px, 8, cube + greys)), (4, 16, dib(px, 4, vga16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for bits, colours, data in images:
        out += struct.pack('<BBBBHHII', SIZE, SIZE, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, _, data in images)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'wayfarer.ico'), 'wb') as f:
        f.write(out)


main()
