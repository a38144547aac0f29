#!/usr/bin/env python3
"""Draws the web album's theme pictures and the credit logo as GIF pictures.

Four themes, each a background tile (bg10, bg11, bg13, bg14) and four page buttons (first,
previous, next, last page: b1Xa .. b1Xd), written as NAME.log into the support folder; the
credit logo (54 x 22) as orvanta.log into the program folder. The content of every .log file
is a GIF picture; the web album copies it into the site as NAME.gif. Run from the repository
root:  python3 tools/generators/makewebthemes.py share/data
"""
import math
import random
import struct
import sys
from pathlib import Path


def lzw_encode(indexes, min_code_size=8):
    """GIF LZW: variable-width codes, least significant bit first, clear when the table fills."""
    clear = 1 << min_code_size
    end = clear + 1
    table = {bytes([i]): i for i in range(clear)}
    next_code = end + 1
    width = min_code_size + 1
    out = bytearray()
    bits = 0
    nbits = 0

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    emit(clear)
    current = b""
    for value in indexes:
        candidate = current + bytes([value])
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table = {bytes([i]): i for i in range(clear)}
            next_code = end + 1
            width = min_code_size + 1
        current = bytes([value])
    if current:
        emit(table[current])
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def gif(width, height, pixels):
    """pixels: rows of (r, g, b); at most 256 colours."""
    palette = []
    lookup = {}
    indexes = []
    for row in pixels:
        for color in row:
            if color not in lookup:
                lookup[color] = len(palette)
                palette.append(color)
            indexes.append(lookup[color])
    assert len(palette) <= 256, len(palette)
    palette += [(0, 0, 0)] * (256 - len(palette))
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)
    for r, g, b in palette:
        data += bytes((r, g, b))
    data += b"," + struct.pack("<HHHHB", 0, 0, width, height, 0)
    data.append(8)
    encoded = lzw_encode(indexes)
    for i in range(0, len(encoded), 255):
        chunk = encoded[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00;"
    return bytes(data)


def quantize(color, step=8):
    return tuple(min(255, (c // step) * step) for c in color)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


# Theme: background colours, pattern, button face and arrow colours.
THEMES = {
    "11": dict(top=(10, 16, 48), bottom=(24, 40, 96), pattern="stars", face=(40, 60, 140), arrow=(255, 255, 0)),
    "14": dict(top=(0, 40, 110), bottom=(0, 70, 150), pattern="waves", face=(0, 90, 170), arrow=(255, 255, 255)),
    "13": dict(top=(236, 222, 188), bottom=(222, 204, 160), pattern="fibres", face=(170, 130, 80), arrow=(60, 30, 10)),
    "10": dict(top=(255, 244, 170), bottom=(255, 222, 120), pattern="rays", face=(240, 160, 40), arrow=(120, 40, 0)),
}


def background(theme, size=96):
    rng = random.Random(int(theme))
    look = THEMES[theme]
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            base = mix(look["top"], look["bottom"], 0.5 + 0.5 * math.sin(2 * math.pi * y / size))
            if look["pattern"] == "waves":
                t = 0.5 + 0.5 * math.sin(2 * math.pi * (x / size * 2 + y / size * 3))
                base = mix(look["top"], look["bottom"], t)
            elif look["pattern"] == "fibres":
                base = mix(base, (200, 180, 140), 0.3 * rng.random())
            elif look["pattern"] == "rays":
                angle = math.atan2(y - size / 2, x - size / 2)
                base = mix(look["top"], look["bottom"], 0.5 + 0.5 * math.sin(angle * 6))
            row.append(quantize(base))
        rows.append(row)
    if look["pattern"] == "stars":
        for _ in range(40):
            x, y = rng.randrange(size), rng.randrange(size)
            rows[y][x] = (255, 255, 255) if rng.random() < 0.5 else (200, 200, 120)
    return gif(size, size, rows)


def button(theme, kind, width=48, height=28):
    look = THEMES[theme]
    edge = quantize(mix(look["face"], (0, 0, 0), 0.4))
    light = quantize(mix(look["face"], (255, 255, 255), 0.35))
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            inside = 2 <= x < width - 2 and 2 <= y < height - 2
            corner = (x < 4 or x >= width - 4) and (y < 4 or y >= height - 4)
            if not inside or corner:
                row.append(edge)
            else:
                row.append(light if y < height // 2 else quantize(look["face"]))
        rows.append(row)
    cy = height // 2
    # Arrow heads pointing left (first, previous) or right (next, last), with a bar for the ends.
    heads = {"a": [(-1, 0)], "b": [(-1, 4)], "c": [(1, -4)], "d": [(1, 0)]}
    for direction, shift in heads[kind]:
        for i in range(2 if kind in "ad" else 1):
            tip = width // 2 + shift + direction * (8 - 8 * i) - (direction * 4 if kind in "ad" else 0)
            for dx in range(10):
                half = dx * 8 // 10
                x = tip - direction * dx
                for y in range(cy - half, cy + half + 1):
                    if 0 <= x < width:
                        rows[y][x] = look["arrow"]
    if kind in "ad":
        bar = width // 2 + (-13 if kind == "a" else 12)
        for y in range(cy - 8, cy + 9):
            for x in (bar, bar + 1):
                rows[y][x] = look["arrow"]
    return gif(width, height, rows)


def logo(width=54, height=22):
    rows = [[(255, 255, 255)] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            if x in (0, width - 1) or y in (0, height - 1):
                rows[y][x] = (60, 60, 60)
    # A ring and three rising bars: the maker's mark.
    for y in range(height):
        for x in range(22):
            d = math.hypot(x - 11, y - 11)
            if 5 <= d <= 8:
                rows[y][x] = (200, 70, 20)
    for i, h in enumerate((6, 10, 14)):
        for y in range(height - 4 - h, height - 4):
            for x in range(26 + i * 9, 32 + i * 9):
                rows[y][x] = (30, 80, 160)
    return gif(width, height, rows)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "share/data")
    support = out / "SUPPORT"
    support.mkdir(parents=True, exist_ok=True)
    for theme in THEMES:
        (support / f"bg{theme}.log").write_bytes(background(theme))
        for kind in "abcd":
            (support / f"b{theme}{kind}.log").write_bytes(button(theme, kind))
    (out / "orvanta.log").write_bytes(logo())


if __name__ == "__main__":
    main()
