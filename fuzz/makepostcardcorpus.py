#!/usr/bin/env python3
"""Writes the seed files of the postcard file and frame catalog fuzz targets: small but complete
files of each layout (docs/CATALOGS.md). Run from the repository root:
    python3 fuzz/makepostcardcorpus.py
"""
import struct
from pathlib import Path


def header(name, count):
    data = bytearray(4176)
    data[0:4] = b"AVTP"
    data[4:8] = b"1.0\0"
    data[9:9 + len(name)] = name
    struct.pack_into("<I", data, 4172, count)
    return bytes(data)


def dib(width, height):
    row = (width * 3 + 3) & ~3
    pixels = bytes((x * 37 + y * 11) & 0xFF for y in range(height) for x in range(row))
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0) + pixels


def bmp(width, height):
    packed = dib(width, height)
    return b"BM" + struct.pack("<IHHI", 14 + len(packed), 0, 0, 54) + packed


def entry(picture, frame, name=b""):
    data = bytearray(280)
    data[0:len(name)] = name
    struct.pack_into("<I", data, 264, picture)
    struct.pack_into("<I", data, 272, frame)
    struct.pack_into("<H", data, 276, 276)
    return bytes(data)


def window(rects, clip=b""):
    data = bytearray(276)
    for i, value in enumerate(v for rect in rects for v in rect):
        struct.pack_into("<i", data, 4 * i, value)
    if clip:
        data[16:16 + len(clip)] = clip
    return bytes(data)


def main():
    cards = Path("fuzz/corpus/postcardfile")
    cards.mkdir(parents=True, exist_ok=True)
    card, frame = dib(16, 12), bmp(8, 6)
    (cards / "own-picture.vtp").write_bytes(
        header(b"background.vtp", 1) + entry(len(card), len(frame)) + card
        + window([(2, 1, 4, 3)], b"Video.MPEG") + frame)
    (cards / "header-only.vtp").write_bytes(header(b"background.vtp", 0))

    catalogs = Path("fuzz/corpus/framecatalog")
    catalogs.mkdir(parents=True, exist_ok=True)
    body = b""
    for n in range(2):
        thumb, picture = bmp(5, 4), bmp(8, 6)
        body += (entry(len(thumb), len(picture), b"Frame %d" % n) + thumb
                 + window([(2, 1, 2, 2), (1, 1, 4, 3)]) + picture)
    (catalogs / "two-frames.cat").write_bytes(header(b"Tiny.cat", 2) + body)
    (catalogs / "empty.cat").write_bytes(header(b"Empty.cat", 0))


if __name__ == "__main__":
    main()
