#!/usr/bin/env python3
"""Draws the contact sheets' cell pictures as 24-bit Windows bitmaps.

Border pictures (NAME.frm, 480 x 480) are drawn at (60, 60) over a cell's 600 x 600 decoration;
background pictures (NAME.bkg, 120 x 120) are stretched over all of it. Both go into the
"borders" folder of the program data. Run from the repository root:
    python3 tools/generators/makecellpictures.py share/data
"""
import math
import struct
import sys
from pathlib import Path

WHITE = (255, 255, 255)


def bmp(width, height, pixel):
    """A 24-bit bottom-up bitmap file of pixel(x, y) -> (r, g, b), rows padded to 4 bytes."""
    row_bytes = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(row_bytes - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(rows), 0, 0, 54) + header + rows


def frame(colour, inner, width):
    """A square frame `width` thick in `colour`, a thin `inner` line inside it, white within."""
    size = 480

    def pixel(x, y):
        edge = min(x, y, size - 1 - x, size - 1 - y)
        if edge < width:
            shade = 0.75 + 0.25 * math.cos(edge / width * math.pi)
            return tuple(int(c * shade) for c in colour)
        if width + 4 <= edge < width + 7:
            return inner
        return WHITE

    return size, size, pixel


def gradient(top, bottom):
    size = 120

    def pixel(_x, y):
        t = y / (size - 1)
        return tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))

    return size, size, pixel


def checks(light, dark):
    size = 120

    def pixel(x, y):
        return light if (x // 15 + y // 15) % 2 == 0 else dark

    return size, size, pixel


PICTURES = {
    "Gold.frm": frame((212, 175, 55), (140, 110, 30), 36),
    "Walnut.frm": frame((120, 72, 40), (60, 36, 20), 48),
    "Silver.frm": frame((200, 200, 210), (120, 120, 130), 24),
    "Sky.bkg": gradient((200, 225, 250), (90, 140, 210)),
    "Sand.bkg": gradient((250, 240, 215), (215, 190, 140)),
    "Linen.bkg": checks((245, 242, 235), (232, 226, 214)),
}


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else "share/data") / "borders"
    folder.mkdir(parents=True, exist_ok=True)
    for name, (width, height, pixel) in PICTURES.items():
        (folder / name).write_bytes(bmp(width, height, pixel))


if __name__ == "__main__":
    main()
