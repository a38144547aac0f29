#pragma once

#include "imagecodes.h"

#include <QByteArray>

class QIODevice;

namespace glimmerix
{

// Kodak Photo CD image packs: the three uncompressed resolutions (Base/16 192x128, Base/4
// 384x256, Base 768x512), YCC with 4:2:0 chroma, turned upright by the pack's orientation.
//
// Layout: 2048-byte sectors. Sector 1 starts with "PCD_IPI"; the low two bits of byte 0x602 of
// that sector give the orientation (0 upright, 1 turn a quarter counter-clockwise, 2 half turn,
// 3 a quarter clockwise). Each resolution's image starts at a fixed sector and holds, for every
// pair of rows, two luma rows of `width` bytes and then one row each of the two chroma planes
// (C1, C2) of `width`/2 bytes.

enum class PhotoCdResolution { Base16 = 0, Base4 = 1, Base = 2 };

inline constexpr int kPhotoCdSectorBytes = 2048;
inline constexpr int kPhotoCdOrientationOffset = kPhotoCdSectorBytes + 0x602;

struct PhotoCdImageLayout {
    int width;
    int height;
    int firstSector;
};
PhotoCdImageLayout photoCdLayout(PhotoCdResolution resolution);

// Decodes one resolution of the pack in `device` into a 24-bit block (or an 8-bit greyscale
// block of the luma alone with `grey`). WrongKind without the signature, Unreadable when the
// file ends before the image.
DecodeResult readPhotoCd(QIODevice &device, PhotoCdResolution resolution, bool grey);

// PhotoYCC to 8-bit red, green and blue (values above white are clipped).
void photoYccToRgb(
    int luma, int c1, int c2, std::uint8_t *red, std::uint8_t *green, std::uint8_t *blue);

} // namespace glimmerix
