#!/usr/bin/env python3
"""Draws the camera picture and the icon.

camera.bmp  28 x 25, 24-bit: a camera on magenta; its non-magenta pixels are
            exactly the camera window's outline.

Run it after changing a drawing; the unit tests check that the picture and the
outline table agree.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

CAMERA_RECTS = [(11, 1, 17, 2), (10, 2, 18, 3), (9, 3, 19, 5), (8, 5, 20, 6), (3, 6, 25, 7),
                (2, 7, 26, 8), (1, 8, 27, 21), (2, 21, 26, 22), (3, 22, 25, 23)]

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (192, 192, 192)
DARK = (96, 96, 96)
MID = (128, 128, 128)
BLUE = (0, 0, 128)
LIGHTBLUE = (64, 96, 192)


def camera():
    w, h = 28, 25
    inside = [[False] * w for _ in range(h)]
    for l, t, r, b in CAMERA_RECTS:
        for y in range(t, b):
            for x in range(l, r):
                inside[y][x] = True
    px = [[MAGENTA] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if not inside[y][x]:
                continue
            edge = any(not (0 <= x + dx < w and 0 <= y + dy < h and inside[y + dy][x + dx])
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                px[y][x] = BLACK
            elif y < 6:
                px[y][x] = DARK          # viewfinder housing
            else:
                px[y][x] = GREY          # body
    # shutter button and flash window
    for x in range(4, 7):
        px[7][x] = DARK
    for y in (9, 10):
        for x in range(21, 25):
            px[y][x] = WHITE
    # lens: black ring, dark blue glass, a highlight
    cx, cy = 13.5, 14.5
    for y in range(8, 22):
        for x in range(5, 23):
            d = math.hypot(x + 0.5 - cx - 0.5, y + 0.5 - cy - 0.5)
            if d <= 6.2:
                px[y][x] = BLACK if d > 5.0 else (LIGHTBLUE if d > 3.6 else BLUE)
    for x, y in ((11, 12), (12, 12), (11, 13)):
        px[y][x] = WHITE
    return px


def write_bmp24(path, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(struct.pack("BBB", b, g, r) for r, g, b in px[y])
        data += row + b"\0" * (stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_icon(path):
    """The program's icon: a 32 x 32, 16-colour camera, with its mask."""
    palette = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
               (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
               (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    index = {c: i for i, c in enumerate(palette)}
    cam = camera()
    w = h = 32
    px = [[None] * w for _ in range(h)]
    for y in range(25):
        for x in range(28):
            c = cam[y][x]
            if c == MAGENTA:
                continue
            nearest = min(palette, key=lambda p: sum((a - b) ** 2 for a, b in zip(p, c)))
            px[y + 4][x + 2] = index[nearest]
    stride = 16
    xor = b""
    for y in range(h - 1, -1, -1):
        row = [px[y][x] if px[y][x] is not None else 0 for x in range(w)]
        xor += bytes((row[i] << 4) | row[i + 1] for i in range(0, w, 2))
    mask = b""
    for y in range(h - 1, -1, -1):
        bits = 0
        for x in range(w):
            bits = (bits << 1) | (1 if px[y][x] is None else 0)
        mask += bits.to_bytes(4, "big")
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + pal + xor + mask
    header = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(image), 22)
    with open(path, "wb") as f:
        f.write(header + image)


def main():
    cam = camera()
    assert all((cam[y][x] != MAGENTA) == any(l <= x < r and t <= y < b for l, t, r, b in CAMERA_RECTS)
               for y in range(25) for x in range(28))
    write_bmp24(os.path.join(HERE, "camera.bmp"), cam)
    write_icon(os.path.join(HERE, "kirasoe.ico"))


if __name__ == "__main__":
    main()
