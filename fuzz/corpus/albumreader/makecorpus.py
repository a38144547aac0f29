#!/usr/bin/env python3
"""Writes small album files of each version for the album reader's fuzz corpus (run here)."""
import struct


def text(value, size):
    data = value.encode()
    return data + bytes(size - len(data))


def bitmap(width, height, seed):
    row = (width * 3 + 3) // 4 * 4
    pixels = bytes((seed + i) % 256 for i in range(row * height))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return header + pixels


def info(path, width, height, data_size, offset, wide=True):
    size = 260 if wide else 128
    texts = 256 if wide else 128
    return (struct.pack("<II", 1234, 1000000000) + text(path, size) + text("desc", texts)
            + text("cap", texts) + text("kw", texts)
            + struct.pack("<HHHHIHHIHH", 0, 24, width * 10, height * 10, offset, width, height,
                          data_size, 0, 0))


def album(version, items, trailer=b""):
    records = b""
    data = b""
    for index, (path, width, height) in enumerate(items):
        bits = bitmap(width, height, index * 7)
        records += info(path, width, height, len(bits), len(data), version != "1.1")
        if version == "1.3":
            records += text("memo", 32) + text("/snd/memo.wav", 265)
        data += bits
    data_start = 272 + len(records)
    header = struct.pack("<4sIII", b"PALM", data_start + len(data), len(items), data_start)
    header += text("Corpus", 128) + text(version, 128)
    return header + records + data + trailer


items = [("/photos/a.jpg", 4, 3), ("/photos/b.jpg", 2, 5)]
open("v13.gmx", "wb").write(album("1.3", items, b"/media/cdrom"))
open("v12.gmx", "wb").write(album("1.2", items))
open("v11.gmx", "wb").write(album("1.1", items))
open("dup.gmx", "wb").write(album("1.3", items + [("/photos/a.jpg", 1, 1)]))
open("empty.gmx", "wb").write(b"/media/out")
