#pragma once

#include "imagecodes.h"

#include "core/messageids.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace glimmerix
{

// Truevision Targa: 18-byte header, ID field, colour map, pixels (raw or run-length packets).
namespace targa
{

inline constexpr std::size_t kHeaderBytes = 18;

enum ImageType : std::uint8_t {
    kTypeColourMapped = 1,
    kTypeTrueColour = 2,
    kTypeGreyscale = 3,
    kTypeColourMappedRle = 9,
    kTypeTrueColourRle = 10,
    kTypeGreyscaleRle = 11,
};

// Descriptor bits 5 to 7: any set means the first row in the file is the top row.
inline constexpr std::uint8_t kDescriptorTopFirst = 0xE0;

struct Header {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t colourMapFirst = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntryBits = 0;
    std::uint16_t xOrigin = 0;
    std::uint16_t yOrigin = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t pixelDepth = 0;
    std::uint8_t descriptor = 0;
};

} // namespace targa

// Message shown for a Targa kind the reader does not handle.
inline constexpr int kMessageUnsupportedTarga = Message::kUnsupportedTarga;
// Writer result when a buffer cannot be allocated.
inline constexpr int kTargaNoMemory = 4;

// Decodes Targa bytes already in memory: Ok with an image block, Unsupported for a kind the
// reader does not handle (ReadTgaFile then shows message 54026), WrongKind when shorter than a
// header, else the failure and its detail.
DecodeResult decodeTga(const QByteArray &file);

} // namespace glimmerix
