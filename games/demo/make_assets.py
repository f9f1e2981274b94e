#!/usr/bin/env python3
"""Paints the demo game's pictures (our own, made in code) as 8-bit BMP files.

Run from anywhere: python3 games/demo/make_assets.py. The pictures are checked in; run
this again only to change them.
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "assets", "resource", "gfx")


def write_bmp(name, width, height, pixel):
    """pixel(x, y) -> palette index; the palette is a fixed 6x6x6 colour cube + greys."""
    palette = []
    for r in range(6):
        for g in range(6):
            for b in range(6):
                palette.append((r * 51, g * 51, b * 51))
    while len(palette) < 256:
        v = (len(palette) - 216) * 6
        palette.append((v, v, v))
    row = (width + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray(pixel(x, y) for x in range(width))
        line += b"\0" * (row - width)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + 1024 + len(data), 0, 0, 14 + 40 + 1024)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(header + info + pal + data)


def rgb(r, g, b):
    """The nearest colour of the cube."""
    return int(round(r / 51)) * 36 + int(round(g / 51)) * 6 + int(round(b / 51))


def shore(x, y):
    if y < 200:  # evening sky
        t = y / 200
        return rgb(40 + 160 * t, 40 + 80 * t, 120 - 40 * t)
    if y < 300 + 10 * math.sin(x / 40):  # sea
        return rgb(0, 60, 140 + 20 * math.sin((x + y * 3) / 17))
    return rgb(200, 170, 100 - (y - 300) // 6)  # sand


def tower(x, y):
    if 260 < x < 440 and y > 40:  # the tower
        if 300 < x < 400 and 120 < y < 280:
            return rgb(90, 50, 20)  # the door
        return rgb(220, 220, 210) if (y // 40) % 2 == 0 else rgb(200, 40, 40)
    return shore(x, y)


def lamp(x, y):
    d = math.hypot(x - 350, y - 200)
    glow = max(0, 255 - d)
    return rgb(min(255, 40 + glow), min(255, 30 + glow * 0.9), 30 + glow * 0.3)


def key(x, y):
    if (x - 10) ** 2 + (y - 12) ** 2 < 81:
        return rgb(230, 190, 60)
    if 16 < x < 46 and 9 < y < 15:
        return rgb(230, 190, 60)
    if x in (36, 37, 42, 43) and 14 < y < 20:
        return rgb(230, 190, 60)
    return rgb(200, 170, 100)  # the sand it lies on


def door(x, y):
    return rgb(110, 60, 25) if (x // 10) % 2 else rgb(90, 50, 20)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    write_bmp("shore.bmp", 700, 475, shore)
    write_bmp("tower.bmp", 700, 475, tower)
    write_bmp("lamp.bmp", 700, 475, lamp)
    write_bmp("key.bmp", 50, 24, key)
    write_bmp("key_bar.bmp", 40, 40, lambda x, y: key(x, y - 8) if 8 <= y < 32 else rgb(40, 40, 40))
    write_bmp("door.bmp", 100, 160, door)
