#!/usr/bin/python3
"""Writes a small camera RAW file in the DNG layout, for tests and benchmarks.

The mosaic shows a scene that tells every turn and mirror apart: the top-left quarter red, the
top-right quarter green, the bottom half blue, on a dark grey ground. With a preview the file
starts with a picture of the same scene (the first IFD, as cameras write it) and keeps the mosaic
in a sub-IFD.

    makedng.py OUT.dng [--size WxH] [--preview none|rgb|jpeg] [--orientation N] [--claim WxH]

--claim writes WxH into the mosaic's width and length afterwards, for a file that claims a size
its data does not hold.

--preview jpeg needs cjpeg (libjpeg-turbo-progs); the mosaic and the RGB preview need only
python3-tifffile and numpy. Run with Debian's python3, where python3-tifffile lives.
"""
import argparse
import subprocess
import sys

import numpy
import tifffile

WHITE_LEVEL = 4095
BLACK_LEVEL = 64


def scene(width, height):
    """The scene as linear RGB in 0..1, one row per picture row, top first."""
    rgb = numpy.full((height, width, 3), 0.08)
    top, left = slice(0, height // 2), slice(0, width // 2)
    rgb[top, left] = (0.9, 0.05, 0.05)
    rgb[top, slice(width // 2, width)] = (0.05, 0.9, 0.05)
    rgb[slice(height // 2, height), :] = (0.05, 0.05, 0.9)
    return rgb


def mosaic(rgb):
    """An RGGB Bayer mosaic of the scene, 12-bit values above the black level."""
    height, width, _ = rgb.shape
    channel = numpy.zeros((height, width), dtype=int)
    channel[0::2, 1::2] = 1
    channel[1::2, 0::2] = 1
    channel[1::2, 1::2] = 2
    rows, cols = numpy.indices((height, width))
    linear = rgb[rows, cols, channel]
    return (BLACK_LEVEL + linear * (WHITE_LEVEL - BLACK_LEVEL)).astype(numpy.uint16)


def preview_pixels(rgb):
    return (numpy.clip(rgb, 0, 1) ** (1 / 2.2) * 255).astype(numpy.uint8)


def jpeg_bytes(pixels):
    height, width, _ = pixels.shape
    ppm = b"P6 %d %d 255\n" % (width, height) + pixels.tobytes()
    return subprocess.run(["cjpeg", "-quality", "90"], input=ppm, capture_output=True,
                          check=True).stdout


def rational(value):
    return (int(round(value * 10000)), 10000)


def dng_tags(orientation):
    """The tags LibRaw needs to call a TIFF file a DNG and to colour it."""
    matrix = [1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0]  # camera space is sRGB's XYZ here
    srational = []
    for value in matrix:
        srational += rational(value)
    return [
        (50706, "B", 4, bytes((1, 4, 0, 0)), True),  # DNGVersion
        (50708, "s", 0, "Glimmerix test camera", True),  # UniqueCameraModel
        (271, "s", 0, "Glimmerix", True),  # Make
        (272, "s", 0, "Test camera", True),  # Model
        (274, "H", 1, orientation, True),  # Orientation
        (50721, "2i", 9, srational, True),  # ColorMatrix1
        (50778, "H", 1, 21, True),  # CalibrationIlluminant1: D65
        (50728, "2I", 3, rational(1.0) + rational(1.0) + rational(1.0), True),  # AsShotNeutral
    ]


def raw_tags():
    return [
        (33421, "H", 2, (2, 2), True),  # CFARepeatPatternDim
        (33422, "B", 4, bytes((0, 1, 1, 2)), True),  # CFAPattern: R G / G B
        (50714, "H", 1, BLACK_LEVEL, True),  # BlackLevel
        (50717, "H", 1, WHITE_LEVEL, True),  # WhiteLevel
    ]


def write(path, width, height, preview, orientation):
    rgb = scene(width, height)
    cfa = mosaic(rgb)
    with tifffile.TiffWriter(path) as tif:
        if preview == "none":
            tif.write(cfa, photometric=32803, subfiletype=0,
                      extratags=dng_tags(orientation) + raw_tags())
            return
        # The preview at a quarter of each side, as cameras store it.
        small = preview_pixels(rgb[::4, ::4])
        if preview == "rgb":
            tif.write(small, photometric="rgb", subfiletype=1, subifds=1,
                      extratags=dng_tags(orientation))
        else:
            data = jpeg_bytes(small)
            # The strip is JPEG already; tifffile only needs a name for the codec it never calls.
            tifffile.TIFF.COMPRESSORS._codecs[7] = lambda strip, **_: strip
            tif.write(iter([data]), shape=small.shape, dtype=numpy.uint8, photometric="ycbcr",
                      compression=7, subsampling=(2, 2), subfiletype=1, subifds=1,
                      extratags=dng_tags(orientation), rowsperstrip=small.shape[0])
        tif.write(cfa, photometric=32803, subfiletype=0, extratags=raw_tags())


def claim(path, width, height):
    """Overwrites the mosaic's width and length tags in place."""
    with tifffile.TiffFile(path, mode="r+b") as tif:
        pages = [tif.pages[0]] + list(tif.pages[0].pages or [])
        for page in pages:
            if page.tags.get(262) and page.tags[262].value == 32803:
                page.tags[256].overwrite(width)
                page.tags[257].overwrite(height)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--size", default="256x192")
    parser.add_argument("--preview", choices=("none", "rgb", "jpeg"), default="jpeg")
    parser.add_argument("--orientation", type=int, default=1)
    parser.add_argument("--claim")
    args = parser.parse_args()
    width, height = (int(v) for v in args.size.lower().split("x"))
    if width % 8 or height % 8:
        sys.exit("makedng.py: the size must be a multiple of 8 on both sides")
    write(args.out, width, height, args.preview, args.orientation)
    if args.claim:
        claim(args.out, *(int(v) for v in args.claim.lower().split("x")))


if __name__ == "__main__":
    main()
