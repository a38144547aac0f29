#pragma once

#include <cstdint>

namespace glimmerix
{

// Byte layout of a Windows bitmap file's headers (little-endian).

#pragma pack(push, 1)
struct BITMAPFILEHEADER {
    std::uint16_t bfType; // 0x4D42, "BM"
    std::uint32_t bfSize;
    std::uint16_t bfReserved1;
    std::uint16_t bfReserved2;
    std::uint32_t bfOffBits; // file offset of the pixels, 0 = right after the colour table
};

// The old 12-byte header with 16-bit dimensions and 3-byte colour entries.
struct BITMAPCOREHEADER {
    std::uint32_t bcSize; // 12
    std::uint16_t bcWidth;
    std::uint16_t bcHeight;
    std::uint16_t bcPlanes;
    std::uint16_t bcBitCount;
};
#pragma pack(pop)

static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(BITMAPCOREHEADER) == 12);

inline constexpr std::uint16_t kBitmapSignature = 0x4D42;
inline constexpr std::uint32_t kCoreHeaderSize = 12;
inline constexpr std::uint32_t kInfoHeaderSize = 40;
// Later header versions start with the 40-byte header and add fields we do not need.
inline constexpr std::uint32_t kV2HeaderSize = 52;
inline constexpr std::uint32_t kV3HeaderSize = 56;
inline constexpr std::uint32_t kV4HeaderSize = 108;
inline constexpr std::uint32_t kV5HeaderSize = 124;
// Pixels are read and written in pieces of this many bytes, with an Escape poll before each.
inline constexpr std::size_t kBitmapPieceBytes = 32767;

} // namespace glimmerix
