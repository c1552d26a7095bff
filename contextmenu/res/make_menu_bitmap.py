#!/usr/bin/env python3
"""Draws the context-menu bitmap (resource 201): a 16x16, 24-bit BMP of a white star on a
rounded blue tile, anti-aliased by 8x8 supersampling. Run it to regenerate menu.bmp."""
import math
import struct
import sys

SIZE = 16
SUB = 8
BACKGROUND = (245, 245, 245)   # a light menu colour behind the rounded corners
TOP, BOTTOM = (58, 128, 222), (28, 84, 170)
STAR = (255, 255, 255)


def inside_tile(x, y):
    r = 3.2
    lo, hi = 0.5, SIZE - 0.5
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def star_polygon(cx, cy, outer, inner):
    pts = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        rad = outer if i % 2 == 0 else inner
        pts.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))
    return pts


def inside_polygon(x, y, pts):
    hit = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def mix(a, b, t):
    return tuple(a[k] * (1 - t) + b[k] * t for k in range(3))


def render():
    star = star_polygon(8.0, 8.6, 6.0, 2.45)
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SUB):
                for sx in range(SUB):
                    x = px + (sx + 0.5) / SUB
                    y = py + (sy + 0.5) / SUB
                    if inside_polygon(x, y, star):
                        c = STAR
                    elif inside_tile(x, y):
                        c = mix(TOP, BOTTOM, y / SIZE)
                    else:
                        c = BACKGROUND
                    for k in range(3):
                        acc[k] += c[k]
            row.append(tuple(int(round(v / (SUB * SUB))) for v in acc))
        rows.append(row)
    return rows


def bmp_bytes(rows):
    stride = (SIZE * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "menu.bmp"
    with open(out, "wb") as f:
        f.write(bmp_bytes(render()))
