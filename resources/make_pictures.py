#!/usr/bin/env python3
"""Draws the two outline pictures and prints the rectangle table of the figure.

camera.bmp  28 x 25, 24-bit: a camera on magenta; its non-magenta pixels are
            exactly the main window's outline.
figure.bmp  32 x 32, 16 colours: a black lens figure on white.

Run it after changing a drawing; the unit tests check that pictures and the
region tables agree.
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


def figure():
    """A lens: two rings and a centre, with a spoke pattern; tuned so that its
    canonical decomposition has 116 rectangles, 30 one-row bands and 466
    pixels within (1, 1)-(32, 31)."""
    w = h = 32
    on = [[False] * w for _ in range(h)]
    cx, cy = 16.5, 15.5
    for y in range(1, 31):
        for x in range(1, 32):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            a = math.atan2(y + 0.5 - cy, x + 0.5 - cx)
            if 13.0 <= d <= 15.2:
                on[y][x] = True                      # outer ring
            elif 7.0 <= d <= 8.6:
                on[y][x] = True                      # inner ring
            elif d <= 2.6:
                on[y][x] = True                      # centre
            elif 8.6 < d < 13.0 and math.cos(6 * a) > 0.93:
                on[y][x] = True                      # spokes
    return on


def runs(row):
    out, x = [], 0
    while x < len(row):
        if row[x]:
            s = x
            while x < len(row) and row[x]:
                x += 1
            out.append((s, x))
        else:
            x += 1
    return out


def decompose(on):
    rects, y = [], 0
    h = len(on)
    while y < h:
        r = runs(on[y])
        if not r:
            y += 1
            continue
        y2 = y + 1
        while y2 < h and runs(on[y2]) == r:
            y2 += 1
        rects += [(a, y, b, y2) for a, b in r]
        y = y2
    return rects


def tune(on):
    """Adds or removes single pixels, symmetric where it can, until the figures
    are met; deterministic."""
    def stats():
        rects = decompose(on)
        bands = len({(t, b) for _, t, _, b in rects})
        box = (min(r[0] for r in rects), min(r[1] for r in rects), max(r[2] for r in rects), max(r[3] for r in rects))
        single = all(b - t == 1 for _, t, _, b in rects) and box == (1, 1, 32, 31)
        return len(rects), sum(sum(r) for r in on), bands, single

    target = (116, 466)
    order = [(x, y) for y in range(1, 31) for x in range(1, 32)]
    order.sort(key=lambda p: (abs(p[1] - 15.5) + abs(p[0] - 16.5), p))
    for _ in range(2000):
        n, pixels, bands, single = stats()
        if (n, pixels) == target and bands == 30 and single:
            return on
        best = None
        for x, y in order:
            on[y][x] = not on[y][x]
            n2, p2, b2, s2 = stats()
            on[y][x] = not on[y][x]
            cost = abs(n2 - target[0]) * 4 + abs(p2 - target[1]) + (0 if s2 else 50) + (30 - b2) * 50
            if best is None or cost < best[0]:
                best = (cost, x, y)
        _, x, y = best
        on[y][x] = not on[y][x]
    raise SystemExit("figure could not be tuned: %s" % (stats(),))


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


def write_bmp4(path, on):
    h, w = len(on), len(on[0])
    palette = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
               (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
               (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    stride = ((w * 4 + 31) // 32) * 4
    data = b""
    for y in range(h - 1, -1, -1):
        nibbles = [0 if on[y][x] else 15 for x in range(w)]
        row = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, w, 2))
        data += row + b"\0" * (stride - len(row))
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 54 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 3780, 3780, 16, 16)
    with open(path, "wb") as f:
        f.write(header + info + pal + data)


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
    fig = tune(figure())
    write_bmp4(os.path.join(HERE, "figure.bmp"), fig)
    rects = decompose(fig)
    print("// %d rectangles, %d pixels" % (len(rects), sum(sum(r) for r in fig)))
    for i in range(0, len(rects), 4):
        print("    " + " ".join("{%d, %d, %d, %d}," % r for r in rects[i:i + 4]))
    for y in range(32):
        print("// " + "".join("#" if fig[y][x] else "." for x in range(32)))


if __name__ == "__main__":
    main()
