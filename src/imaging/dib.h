#pragma once

#include "blockmemory.h"

#include <cstddef>
#include <cstdint>

namespace glimmerix
{

// The image block's layout: a packed device-independent bitmap. A 40-byte BITMAPINFOHEADER,
// then the colour table (4-byte blue, green, red, reserved entries: 256 for 8-bit pictures, 16
// for 4-bit, 2 for 1-bit, none for 24-bit, unless biClrUsed says fewer), then the pixel rows
// bottom-up, each padded to a multiple of 4 bytes. All fields are little-endian.

#pragma pack(push, 1)
struct BITMAPINFOHEADER {
    std::uint32_t biSize; // 40
    std::int32_t biWidth;
    std::int32_t biHeight; // positive: rows bottom-up
    std::uint16_t biPlanes; // 1
    std::uint16_t biBitCount; // 1, 4, 8 or 24
    std::uint32_t biCompression; // 0 (BI_RGB) in image blocks
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};

struct RGBQUAD {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};
#pragma pack(pop)

static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(RGBQUAD) == 4);

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;

// Bytes in one pixel row of `width` pixels at `bitCount` bits, padded to 4 bytes.
inline constexpr std::size_t dibRowBytes(std::int64_t width, int bitCount)
{
    return std::size_t((width * bitCount + 31) / 32 * 4);
}

// Colour-table entries of a header: biClrUsed when set (and not above 2^bits), else 2^bits for
// 1/4/8-bit pictures, else 0.
inline std::uint32_t dibColorCount(const BITMAPINFOHEADER &header)
{
    if (header.biBitCount > 8)
        return 0;
    const std::uint32_t full = 1u << header.biBitCount;
    return header.biClrUsed != 0 && header.biClrUsed < full ? header.biClrUsed : full;
}

// The header at the start of an image block (nullptr for a non-block handle).
inline BITMAPINFOHEADER *dibHeader(BlockHandle block)
{
    return static_cast<BITMAPINFOHEADER *>(blockLock(block));
}
inline RGBQUAD *dibColors(BITMAPINFOHEADER *header)
{
    return reinterpret_cast<RGBQUAD *>(reinterpret_cast<unsigned char *>(header) + header->biSize);
}
// First byte of the bottom pixel row.
inline unsigned char *dibBits(BITMAPINFOHEADER *header)
{
    return reinterpret_cast<unsigned char *>(dibColors(header) + dibColorCount(*header));
}

// The colour-table index of pixel `x` in a row of a 1-, 4- or 8-bit picture (high bits first).
inline unsigned dibPixelIndex(const unsigned char *row, std::int64_t x, int bitCount)
{
    switch (bitCount) {
    case 8:
        return row[x];
    case 4:
        return (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    }
}

} // namespace glimmerix
