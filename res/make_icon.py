#!/usr/bin/env python3
"""Draws OrlimWeb.ico: 32 x 32 pixels, 32 bits per pixel.

A rounded square in the header strip's blue with a white "V" on it, its
edges smoothed by 4 x 4 supersampling. Run: python3 res/make_icon.py
"""
import pathlib
import struct

SIZE = 32
SUB = 4
BLUE = (0, 174, 255)
WHITE = (255, 255, 255)


def inside_rounded_square(x, y):
    r, lo, hi = 7.0, 1.0, SIZE - 1.0
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return lo <= x <= hi and lo <= y <= hi and (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_segment(x, y, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2


def on_v(x, y):
    return (near_segment(x, y, 8.5, 8.5, 16.0, 24.0, 2.6) or
            near_segment(x, y, 23.5, 8.5, 16.0, 24.0, 2.6))


def pixel(px, py):
    square = mark = 0
    for sy in range(SUB):
        for sx in range(SUB):
            x = px + (sx + 0.5) / SUB
            y = py + (sy + 0.5) / SUB
            if inside_rounded_square(x, y):
                square += 1
                if on_v(x, y):
                    mark += 1
    n = SUB * SUB
    alpha = round(255 * square / n)
    if square == 0:
        return (0, 0, 0, 0)
    w = mark / square
    rgb = [round(BLUE[i] * (1 - w) + WHITE[i] * w) for i in range(3)]
    return (rgb[2], rgb[1], rgb[0], alpha)  # BGRA


def main():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    xor = b"".join(bytes(c) for row in reversed(rows) for c in row)  # bottom-up
    and_mask = bytes(4 * SIZE)  # the alpha channel decides; the mask shows everything
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    out = pathlib.Path(__file__).resolve().parent / "OrlimWeb.ico"
    out.write_bytes(icondir + entry + image)


if __name__ == "__main__":
    main()
