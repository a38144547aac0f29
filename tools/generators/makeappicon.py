#!/usr/bin/env python3
"""Draws the Glimmerix application icon: a blue album page holding four small photos and a
golden sparkle in its corner.

One list of shapes gives both the scalable SVG and the PNGs of the usual sizes (drawn here with
4 x 4 samples per pixel, so no drawing program is needed). Run from the repository root:
    python3 tools/generators/makeappicon.py share/icons
It writes hicolor/scalable/apps/NAME.svg and hicolor/SIZExSIZE/apps/NAME.png.
"""
import math
import struct
import sys
import zlib
from pathlib import Path

NAME = "org.glimmerix.Glimmerix"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
UNITS = 64  # the drawing's own coordinate space
SAMPLES = 4  # per pixel and axis


def star(cx, cy, outer, inner, points=4):
    """A star's corners, starting at the top and going clockwise."""
    corners = []
    for i in range(points * 2):
        angle = math.pi * i / points - math.pi / 2
        radius = outer if i % 2 == 0 else inner
        corners.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return corners


def photo(x, y, sky, hill, sun):
    """A framed photo whose top left corner is (x, y): sky, a sun and a hill."""
    return [
        ("rect", (x, y, 18, 18), "#f6f2e7"),
        ("rect", (x + 2, y + 2, 14, 14), sky),
        ("circle", (x + 12, y + 6.5, 2.5), sun),
        ("polygon", [(x + 2, y + 16), (x + 2, y + 11), (x + 7, y + 7.5), (x + 12, y + 12),
                     (x + 16, y + 10), (x + 16, y + 16)], hill),
    ]


SHAPES = (
    [("roundrect", (4, 6, 54, 54, 9), "#1f3f6e"),
     ("roundrect", (6, 8, 50, 50, 7), "#2d5b98")]
    + photo(10, 14, "#8fcbf2", "#3b8c4e", "#fff3b0")
    + photo(32, 14, "#f7b36b", "#8a4b2f", "#fff0c8")
    + photo(10, 36, "#b9e0a5", "#2f7a5f", "#ffffff")
    + photo(32, 36, "#cfb3e6", "#5a4a8c", "#ffe9a8")
    + [("polygon", star(53, 11, 10, 2.6), "#ffd54a"),
       ("circle", (53, 11, 2.2), "#fff7d6")]
)


def rgb(color):
    return tuple(int(color[i:i + 2], 16) for i in (1, 3, 5))


def inside(shape, x, y):
    kind, geometry, _ = shape
    if kind == "rect":
        left, top, width, height = geometry
        return left <= x < left + width and top <= y < top + height
    if kind == "roundrect":
        left, top, width, height, r = geometry
        if not (left <= x < left + width and top <= y < top + height):
            return False
        dx = max(left + r - x, 0, x - (left + width - r))
        dy = max(top + r - y, 0, y - (top + height - r))
        return dx * dx + dy * dy <= r * r
    if kind == "circle":
        cx, cy, r = geometry
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    # polygon, even-odd rule
    result = False
    corners = geometry
    for i, (x1, y1) in enumerate(corners):
        x2, y2 = corners[i - 1]
        if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
            result = not result
    return result


def bounds(shape):
    kind, g, _ = shape
    if kind in ("rect", "roundrect"):
        return g[0], g[1], g[0] + g[2], g[1] + g[3]
    if kind == "circle":
        return g[0] - g[2], g[1] - g[2], g[0] + g[2], g[1] + g[2]
    xs, ys = [p[0] for p in g], [p[1] for p in g]
    return min(xs), min(ys), max(xs), max(ys)


def render(size):
    """RGBA rows of the icon at size x size pixels."""
    scale = UNITS / size
    step = 1 / SAMPLES
    # Per pixel: sums of premultiplied colour and of coverage over the samples.
    acc = [[[0.0, 0.0, 0.0, 0.0] for _ in range(size)] for _ in range(size)]
    for py in range(size):
        for px in range(size):
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) * step) * scale
                    y = (py + (sy + 0.5) * step) * scale
                    color = None
                    for shape in SHAPES:
                        left, top, right, bottom = bounds(shape)
                        if left <= x <= right and top <= y <= bottom and inside(shape, x, y):
                            color = shape[2]
                    if color:
                        r, g, b = rgb(color)
                        cell = acc[py][px]
                        cell[0] += r
                        cell[1] += g
                        cell[2] += b
                        cell[3] += 1
    total = SAMPLES * SAMPLES
    rows = []
    for line in acc:
        row = bytearray()
        for r, g, b, covered in line:
            if covered:
                row += bytes((round(r / covered), round(g / covered), round(b / covered),
                              round(255 * covered / total)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg():
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{UNITS}" height="{UNITS}" '
             f'viewBox="0 0 {UNITS} {UNITS}">']
    for kind, g, color in SHAPES:
        if kind == "rect":
            parts.append(f'  <rect x="{g[0]}" y="{g[1]}" width="{g[2]}" height="{g[3]}" '
                         f'fill="{color}"/>')
        elif kind == "roundrect":
            parts.append(f'  <rect x="{g[0]}" y="{g[1]}" width="{g[2]}" height="{g[3]}" '
                         f'rx="{g[4]}" fill="{color}"/>')
        elif kind == "circle":
            parts.append(f'  <circle cx="{g[0]}" cy="{g[1]}" r="{g[2]}" fill="{color}"/>')
        else:
            points = " ".join(f"{x:.2f},{y:.2f}" for x, y in g)
            parts.append(f'  <polygon points="{points}" fill="{color}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else "share/icons") / "hicolor"
    scalable = root / "scalable" / "apps"
    scalable.mkdir(parents=True, exist_ok=True)
    (scalable / f"{NAME}.svg").write_text(svg())
    for size in SIZES:
        folder = root / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        (folder / f"{NAME}.png").write_bytes(png(size, render(size)))


if __name__ == "__main__":
    main()
