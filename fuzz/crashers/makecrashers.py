#!/usr/bin/env python3
"""Writes the hostile picture and album files of this folder, one per fault, named <format>-<fault>.<ext>.

Each file once made a reader slow, hungry or wrong. The fuzz replay tests (fuzz/CMakeLists.txt)
run every file through its format's fuzz target, and tests/imaging/crashertest.cpp checks that
each is refused with a cause, quickly. Run again after adding a case; the files are committed,
so the tests need neither this script nor jpegtran. Files the fuzz targets found are kept as
found, beside these (raw-layered-preview-overflow.dng).
"""
import pathlib
import struct
import subprocess
import tempfile
import zlib

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent


def progressive_jpeg_claiming(width, height):
    # A real progressive file whose frame header is rewritten: libjpeg would buffer the
    # coefficients of the whole claimed picture (about 12 GB) before the first row.
    source = ROOT / "tests/fixtures/imaging/colour.jpg"
    data = bytearray(subprocess.run(["jpegtran", "-progressive", str(source)],
                                    check=True, capture_output=True).stdout)
    at = data.find(b"\xff\xc2")
    assert at > 0, "no progressive frame header"
    struct.pack_into(">HH", data, at + 5, height, width)
    return bytes(data)


def bitmap(width, height, bits):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + 16, 0, 0, 54) + info + bytes(16)


def pcx(width, height, bits, planes, bytes_per_line, body):
    header = struct.pack("<BBBBHHHHHH", 10, 5, 1, bits, 0, 0, width - 1, height - 1, 72, 72)
    header += bytes(48) + bytes([0, planes]) + struct.pack("<HH", bytes_per_line, 1)
    return header + bytes(128 - len(header)) + body


def targa(image_type, width, height, depth, body):
    return struct.pack("<BBBHHBHHHHBB", 0, 0, image_type, 0, 0, 0, 0, 0, width, height, depth,
                       0) + body


def tiff(width, height):
    entries = [(256, 4, 1, width), (257, 4, 1, height), (258, 3, 1, 8), (262, 3, 1, 1),
               (273, 4, 1, 8), (278, 4, 1, height), (279, 4, 1, 16)]
    directory = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        directory += struct.pack("<HHII", tag, kind, count, value)
    return b"II*\x00" + struct.pack("<I", 24) + bytes(16) + directory + b"\x00" * 4


def photo_cd_header_only():
    sectors = bytearray(3 * 2048)
    sectors[2048:2048 + 7] = b"PCD_IPI"
    return bytes(sectors)


def album_header(version, items, data_start, total, caption=b"Corpus"):
    return (struct.pack("<IIII", 0x4D4C4150, total, items, data_start)
            + caption.ljust(128, b"\0") + version.ljust(128, b"\0"))


def album_header_where_the_items_are():
    # Two items declared, none written by the data offset, and a copy of the header where the
    # first record should be: that copy was read as the last copy folder and saved as the trailer.
    header = album_header(b"1.1", 2, 272, 272)
    return header + header[:200]


def album_trailer_not_a_folder():
    # An album of no items whose trailer begins with the signature: saved as its trailer alone,
    # it read back as an album cut in its header.
    return album_header(b"1.3", 0, 272, 272) + b"PALM"


def dng_claiming(width, height):
    # A small DNG whose mosaic claims a sensor far beyond the picture limit.
    out = HERE / "raw-huge-sensor.dng"
    subprocess.run(["/usr/bin/python3", str(ROOT / "tools/generators/makedng.py"), str(out),
                    "--size", "32x24", "--claim", "%dx%d" % (width, height)], check=True)
    return out.read_bytes()


def heif_claiming(width, height):
    # A real HEIC whose image size property ("ispe") is rewritten to a huge picture.
    source = ROOT / "tests/fixtures/imaging/colour.jpg"
    with tempfile.TemporaryDirectory() as work:
        target = pathlib.Path(work) / "claim.heic"
        subprocess.run(["heif-enc", "-q", "30", str(source), "-o", str(target)],
                       check=True, capture_output=True)
        data = bytearray(target.read_bytes())
    at = data.find(b"ispe")
    assert at > 0, "no ispe box"
    struct.pack_into(">II", data, at + 8, width, height)
    return bytes(data)


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png_bomb(width, height):
    # A header claiming a huge picture over a few kilobytes that inflate to megabytes of zeros.
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
            + png_chunk(b"IDAT", zlib.compress(bytes(8 << 20), 9)) + png_chunk(b"IEND", b""))


def gif_huge_screen():
    # A 1 x 1 image on a logical screen of 65535 x 65535.
    screen = b"GIF89a" + struct.pack("<HHBBB", 65535, 65535, 0x80, 0, 0) + bytes(6)
    image = b"," + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + bytes([2, 2, 0x4C, 0x01, 0]) + b";"
    return screen + image


FILES = {
    "heif-huge-size.heic": lambda: heif_claiming(65535, 65535),
    "png-bomb.png": lambda: png_bomb(100000, 100000),
    "gif-huge-screen.gif": gif_huge_screen,
    "jpeg-huge-progressive.jpg": lambda: progressive_jpeg_claiming(65500, 65500),
    "jpeg-empty.jpg": lambda: b"",
    "jpeg-cut-in-header.jpg": lambda: (ROOT / "tests/fixtures/imaging/colour.jpg").read_bytes()[:40],
    "bmp-huge-dimensions.bmp": lambda: bitmap(100000, 100000, 24),
    "bmp-empty.bmp": lambda: b"",
    "pcx-line-one-byte-short.pcx": lambda: pcx(10, 2, 1, 1, 1, bytes(8)),
    "pcx-huge-window.pcx": lambda: pcx(65535, 65535, 8, 3, 65535, bytes(64)),
    "tga-huge-run-length.tga": lambda: targa(10, 65535, 65535, 24, bytes(64)),
    "tiff-huge-strip.tif": lambda: tiff(100000, 100000),
    "pcd-pack-without-image.pcd": photo_cd_header_only,
    "album-header-as-last-copy-folder.gmx": album_header_where_the_items_are,
    "album-trailer-not-a-folder.gmx": album_trailer_not_a_folder,
    "raw-huge-sensor.dng": lambda: dng_claiming(60000, 40000),
}

for name, make in FILES.items():
    (HERE / name).write_bytes(make())
    print(name)
