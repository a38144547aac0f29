#!/usr/bin/env python3
"""Draws the four icon pictures that stand for clips, sounds and unknown files in an album.

Each is a 32 x 32, 24-bit Windows bitmap (named *.log for the album importer). Run from the
repository root:  python3 tools/generators/makeiconpictures.py share/data
"""
import math
import struct
import sys
from pathlib import Path

SIDE = 32
GREY = (192, 192, 192)


def canvas():
    return [[GREY for _ in range(SIDE)] for _ in range(SIDE)]


def rect(pixels, x0, y0, x1, y1, color):
    for y in range(max(0, y0), min(SIDE, y1)):
        for x in range(max(0, x0), min(SIDE, x1)):
            pixels[y][x] = color


def disc(pixels, cx, cy, r, color):
    for y in range(SIDE):
        for x in range(SIDE):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                pixels[y][x] = color


def video():
    p = canvas()
    rect(p, 3, 5, 29, 27, (32, 32, 32))          # film strip
    for x in range(5, 28, 5):                     # perforations
        rect(p, x, 7, x + 2, 9, (240, 240, 240))
        rect(p, x, 23, x + 2, 25, (240, 240, 240))
    rect(p, 6, 11, 26, 21, (64, 128, 224))        # frame
    rect(p, 6, 17, 26, 21, (64, 160, 64))         # ground
    disc(p, 21, 14, 2, (255, 224, 64))            # sun
    return p


def wave():
    p = canvas()
    rect(p, 2, 4, 30, 28, (255, 255, 255))
    rect(p, 2, 15, 30, 16, (160, 160, 160))
    for x in range(3, 29):
        amplitude = 10 * math.sin((x - 3) / 26 * math.pi) * math.sin(x * 1.3)
        y0, y1 = sorted((15, 15 - int(amplitude)))
        rect(p, x, y0, x + 1, y1 + 1, (0, 96, 0))
    return p


def mp3():
    p = canvas()
    rect(p, 12, 6, 14, 24, (16, 16, 96))          # stems
    rect(p, 24, 4, 26, 22, (16, 16, 96))
    rect(p, 12, 4, 26, 8, (16, 16, 96))           # beam
    disc(p, 10, 24, 4, (16, 16, 96))              # heads
    disc(p, 22, 22, 4, (16, 16, 96))
    return p


def unknown():
    p = canvas()
    rect(p, 7, 2, 25, 30, (255, 255, 255))        # page
    for x in range(7, 25):
        p[2][x] = p[29][x] = (0, 0, 0)
    for y in range(2, 30):
        p[y][7] = p[y][24] = (0, 0, 0)
    q = (0, 0, 160)                               # question mark
    rect(p, 12, 8, 20, 10, q)
    rect(p, 18, 8, 20, 15, q)
    rect(p, 15, 14, 20, 16, q)
    rect(p, 15, 14, 17, 20, q)
    rect(p, 15, 23, 17, 25, q)
    return p


def write_bmp(path, pixels):
    row_bytes = (SIDE * 3 + 3) // 4 * 4
    image = bytearray()
    for y in reversed(range(SIDE)):               # bottom-up
        row = bytearray()
        for r, g, b in pixels[y]:
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        image += row
    info = struct.pack("<IiiHHIIiiII", 40, SIDE, SIDE, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    path.write_bytes(header + info + image)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "share/data")
    out.mkdir(parents=True, exist_ok=True)
    for name, draw in (("videoico.log", video), ("waveico.log", wave),
                       ("mp3icon.log", mp3), ("unknown.log", unknown)):
        write_bmp(out / name, draw())


if __name__ == "__main__":
    main()
