#pragma once

#include "imagecodes.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace glimmerix
{

// ZSoft PCX: 128-byte header, run-length encoded rows, optional 769-byte palette trailer.
namespace pcx
{

inline constexpr std::size_t kHeaderBytes = 128;
inline constexpr std::uint8_t kManufacturer = 10;
inline constexpr std::uint8_t kVersion = 5;
inline constexpr std::uint8_t kEncodingRle = 1;
inline constexpr std::uint8_t kPaletteMarker = 12;
inline constexpr std::size_t kPaletteTrailerBytes = 769;
inline constexpr std::uint16_t kPaletteGreyscale = 2;

// Header field offsets.
inline constexpr std::size_t kOffsetManufacturer = 0;
inline constexpr std::size_t kOffsetVersion = 1;
inline constexpr std::size_t kOffsetEncoding = 2;
inline constexpr std::size_t kOffsetBitsPerPixel = 3;
inline constexpr std::size_t kOffsetWindow = 4; // xmin, ymin, xmax, ymax
inline constexpr std::size_t kOffsetDpi = 12; // horizontal, vertical
inline constexpr std::size_t kOffsetPalette = 16;
inline constexpr std::size_t kPaletteBytes = 48;
inline constexpr std::size_t kOffsetPlanes = 65;
inline constexpr std::size_t kOffsetBytesPerLine = 66;
inline constexpr std::size_t kOffsetPaletteInfo = 68;
static_assert(kOffsetPalette + kPaletteBytes == 64);

} // namespace pcx

// Decodes PCX bytes already in memory: Ok with an image block, WrongKind without a PCX header,
// else the failure and its detail.
DecodeResult decodePcx(const QByteArray &file);
// Run-length encodes one row: runs of up to 63 equal bytes as (192 + count, value), single bytes
// below 192 as themselves, single bytes of 192 or more as (193, value).
void encodePcxRow(const unsigned char *row, std::size_t size, QByteArray &out);

} // namespace glimmerix
