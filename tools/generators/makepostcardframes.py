#!/usr/bin/env python3
"""Draws the video postcard's template files: three frame catalogs and the card background.

Catalogs (NAME.cat) follow docs/CATALOGS.md: the "AVTP" header with the catalog's name per
language, then per frame a 280-byte entry, a 75 x 55 PNG thumbnail, the window block (small and
large video window) and the frame picture, a 640 x 480 PNG with a dark opening where the clip
plays. "Text.bkg" is the 640 x 480 card the texts are written on, an 8-bit RLE8 Windows bitmap.
Everything goes into the "Template" folder of the program data. Run from the repository root:
    python3 tools/generators/makepostcardframes.py share/data
"""
import math
import random
import struct
import sys
import zlib
from pathlib import Path

WIDTH, HEIGHT = 640, 480
THUMB_W, THUMB_H = 75, 55
HEADER_SIZE = 4176
ENTRY_SIZE = 280
WINDOW_BLOCK = 276
LANGUAGES = 12  # English, French, German, Portuguese, Spanish, Dutch, Chinese, Japanese,
# Korean, Italian, Swedish, Traditional Chinese


def png(width, height, rows):
    """A PNG file of `rows` (lists of (r, g, b)), 8-bit RGB, no filtering."""
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def shrink(rows, width, height):
    """Box-filters `rows` down to width x height."""
    src_h, src_w = len(rows), len(rows[0])
    out = []
    for y in range(height):
        y0, y1 = y * src_h // height, max(y * src_h // height + 1, (y + 1) * src_h // height)
        row = []
        for x in range(width):
            x0, x1 = x * src_w // width, max(x * src_w // width + 1, (x + 1) * src_w // width)
            total = [0, 0, 0]
            for yy in range(y0, y1):
                for xx in range(x0, x1):
                    for c in range(3):
                        total[c] += rows[yy][xx][c]
            n = (y1 - y0) * (x1 - x0)
            row.append(tuple(t // n for t in total))
        out.append(row)
    return out


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(p + (q - p) * t) for p, q in zip(a, b))


def windows(left, top):
    """The large window at (left, top) and the small one centred in it."""
    large = (left, top, 320, 240)
    small = (left + 80, top + 60, 160, 120)
    return small, large


def draw(background, large, decorate=None):
    """Rows of a frame: background(x, y), then the opening for `large` with a light rim."""
    lx, ly, lw, lh = large
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            colour = background(x, y)
            if decorate:
                colour = decorate(x, y, colour)
            edge = max(lx - x, x - (lx + lw - 1), ly - y, y - (ly + lh - 1))
            if edge <= 0:
                colour = (16, 16, 20)
            elif edge <= 3:
                colour = (250, 246, 232)
            elif edge <= 6:
                colour = mix(colour, (0, 0, 0), 0.35)
            row.append(colour)
        rows.append(row)
    return rows


def dots(seed, count, radius, colours):
    """A decorator painting `count` round dots of the given colours at fixed random places."""
    rng = random.Random(seed)
    spots = [(rng.randrange(WIDTH), rng.randrange(HEIGHT), rng.choice(colours),
              rng.uniform(radius * 0.5, radius)) for _ in range(count)]
    grid = {}
    for spot in spots:
        for gx in range(int(spot[0] - spot[3]) // 32, int(spot[0] + spot[3]) // 32 + 1):
            for gy in range(int(spot[1] - spot[3]) // 32, int(spot[1] + spot[3]) // 32 + 1):
                grid.setdefault((gx, gy), []).append(spot)

    def decorate(x, y, colour):
        for sx, sy, c, r in grid.get((x // 32, y // 32), ()):
            if (x - sx) ** 2 + (y - sy) ** 2 <= r * r:
                return c
        return colour

    return decorate


def heart(cx, cy, size):
    def inside(x, y):
        u, v = (x - cx) / size, -(y - cy) / size
        return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0
    return inside


def spring():
    small, large = windows(160, 120)

    def bg(x, y):
        hill = 330 + 30 * math.sin(x / 90.0)
        if y < hill:
            return mix((150, 200, 250), (225, 240, 255), y / hill)
        return mix((110, 180, 80), (60, 130, 50), (y - hill) / (HEIGHT - hill))

    return "Spring meadow", small, large, draw(bg, large, dots(1, 260, 7, [(250, 250, 255),
                                                                       (255, 210, 60),
                                                                       (240, 120, 170)]))


def summer():
    small, large = windows(40, 200)

    def bg(x, y):
        dx, dy = x - 520, y - 110
        angle = math.atan2(dy, dx)
        dist = math.hypot(dx, dy)
        if dist < 70:
            return (255, 220, 70)
        ray = 0.5 + 0.5 * math.cos(angle * 12)
        return mix((255, 170, 60), (255, 235, 150), ray * min(1.0, 200 / (dist + 1)))

    return "Summer sun", small, large, draw(bg, large)


def winter():
    small, large = windows(280, 180)

    def bg(x, y):
        return mix((40, 70, 140), (170, 200, 235), y / HEIGHT)

    return "Winter snow", small, large, draw(bg, large, dots(3, 400, 5, [(255, 255, 255),
                                                                     (230, 240, 255)]))


def confetti():
    small, large = windows(160, 120)
    rng = random.Random(4)
    pieces = [(rng.randrange(WIDTH), rng.randrange(HEIGHT), rng.choice(
        [(230, 60, 80), (60, 160, 230), (250, 200, 40), (90, 200, 110), (170, 90, 220)]))
        for _ in range(700)]
    grid = {}
    for px, py, c in pieces:
        grid.setdefault((px // 16, py // 16), []).append((px, py, c))

    def bg(x, y):
        for px, py, c in grid.get((x // 16, y // 16), ()):
            if abs(x - px) <= 4 and abs(y - py) <= 2:
                return c
        return (252, 248, 240)

    return "Birthday confetti", small, large, draw(bg, large)


def hearts():
    small, large = windows(160, 200)
    shapes = [heart(60 + 130 * i + (65 if j % 2 else 0), 50 + 110 * j, 22)
              for i in range(5) for j in range(5)]

    def bg(x, y):
        for inside in shapes:
            if inside(x, y):
                return (220, 40, 90)
        return mix((255, 205, 220), (250, 160, 190), y / HEIGHT)

    return "Hearts", small, large, draw(bg, large)


def stars():
    small, large = windows(280, 60)

    def bg(x, y):
        return mix((10, 15, 50), (50, 30, 90), y / HEIGHT)

    return "Starry night", small, large, draw(bg, large, dots(6, 220, 3, [(255, 255, 210),
                                                                      (200, 220, 255)]))


def gold():
    small, large = windows(160, 120)

    def bg(x, y):
        edge = min(x, y, WIDTH - 1 - x, HEIGHT - 1 - y)
        if edge < 40:
            shade = 0.7 + 0.3 * math.cos(edge / 40 * math.pi)
            return mix((0, 0, 0), (212, 175, 55), shade)
        return (245, 238, 220)

    return "Gold", small, large, draw(bg, large)


def walnut():
    small, large = windows(160, 120)

    def bg(x, y):
        grain = math.sin(y / 6.0 + 3 * math.sin(x / 80.0)) * 0.5 + 0.5
        return mix((90, 55, 30), (140, 95, 55), grain)

    return "Walnut", small, large, draw(bg, large)


def film():
    small, large = windows(160, 120)

    def bg(x, y):
        if y < 60 or y >= HEIGHT - 60:
            band_y = y if y < 60 else y - (HEIGHT - 60)
            if 20 <= band_y < 40 and (x % 40) in range(12, 28):
                return (235, 235, 235)
            return (20, 20, 20)
        return (45, 45, 50)

    return "Film strip", small, large, draw(bg, large)


CATALOGS = [
    ("Seasons.cat", ["Saisons", "Jahreszeiten", "Estações", "Estaciones", "Seizoenen"],
     [spring, summer, winter]),
    ("Celebrations.cat", ["Fêtes", "Feste", "Festas", "Fiestas", "Feesten"],
     [confetti, hearts, stars]),
    ("Classic.cat", ["Classiques", "Klassisch", "Clássicos", "Clásicos", "Klassiek"],
     [gold, walnut, film]),
]


def catalog(english, others, frames):
    header = bytearray(HEADER_SIZE)
    header[0:4] = b"AVTP"
    header[4:8] = b"1.0\0"
    names = [english] + others + [""] * (LANGUAGES - 1 - len(others))
    for n, name in enumerate(names):
        data = name.encode("utf-8")
        header[9 + 260 * n:9 + 260 * n + len(data)] = data
    struct.pack_into("<I", header, 4172, len(frames))
    out = bytes(header)
    for make in frames:
        name, small, large, rows = make()
        picture = png(WIDTH, HEIGHT, rows)
        thumbnail = png(THUMB_W, THUMB_H, shrink(rows, THUMB_W, THUMB_H))
        entry = bytearray(ENTRY_SIZE)
        entry[0:len(name)] = name.encode("utf-8")
        struct.pack_into("<I", entry, 264, len(thumbnail))
        struct.pack_into("<I", entry, 272, len(picture))
        struct.pack_into("<H", entry, 276, WINDOW_BLOCK)
        window = bytearray(WINDOW_BLOCK)
        struct.pack_into("<4i", window, 0, *small)
        struct.pack_into("<4i", window, 16, *large)
        out += bytes(entry) + thumbnail + bytes(window) + picture
    return out


def card_background():
    """The card: cream paper, a dividing line, a stamp box and address lines (8-bit, RLE8)."""
    palette = [(250, 244, 228), (205, 190, 160), (150, 120, 90), (230, 215, 185), (196, 60, 50)]

    def index(x, y):
        edge = min(x, y, WIDTH - 1 - x, HEIGHT - 1 - y)
        if edge < 10:
            return 3
        if edge < 12:
            return 2
        if 520 <= x < 600 and 30 <= y < 120:  # the stamp box
            inner = min(x - 520, y - 30, 599 - x, 119 - y)
            return 4 if inner < 3 else (3 if inner < 8 and (x + y) % 6 < 3 else 0)
        if x in (318, 319) and 40 <= y < 440:  # the dividing line
            return 1
        if 392 <= x < 600 and y in (262, 263, 319, 320, 376, 377):  # address lines
            return 1
        return 0

    rle = bytearray()
    for y in reversed(range(HEIGHT)):
        row = [index(x, y) for x in range(WIDTH)]
        x = 0
        while x < WIDTH:
            run = 1
            while x + run < WIDTH and run < 255 and row[x + run] == row[x]:
                run += 1
            rle += bytes((run, row[x]))
            x += run
        rle += b"\0\0"
    rle += b"\0\1"
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + bytes(4 * (256 - len(palette)))
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 1, len(rle), 3780, 3780, 256, 0)
    offset = 14 + len(info) + len(colours)
    return b"BM" + struct.pack("<IHHI", offset + len(rle), 0, 0, offset) + info + colours + rle


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "share/data") / "Template"
    out.mkdir(parents=True, exist_ok=True)
    for english, others, frames in CATALOGS:
        (out / english).write_bytes(catalog(english, others, frames))
    (out / "Text.bkg").write_bytes(card_background())


if __name__ == "__main__":
    main()
