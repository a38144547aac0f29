#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QtEndian>

#include <cstdint>
#include <optional>

namespace glimmerix
{

// Byte layout shared by the postcard file "background.vtp" and the frame catalogs "*.cat"
// (little-endian). Both start with the same header; the postcard holds one entry, a catalog one
// entry per frame. An entry is followed by its picture, a 276-byte window block and its frame
// data (docs/CATALOGS.md).
namespace PostcardLayout
{
inline constexpr char kMagic[4] = { 'A', 'V', 'T', 'P' };
inline constexpr int kHeaderSize = 4176;
inline constexpr int kVersionOffset = 4; // "1.0" and a zero
inline constexpr int kNameOffset = 9; // the file's name; catalogs: one name per language
inline constexpr int kNameStride = 260;
inline constexpr int kLanguageCount = 12;
inline constexpr int kEntryCountOffset = 4172;

inline constexpr int kEntrySize = 280;
inline constexpr int kEntryNameSize = 260; // catalogs: the frame's name, zero-terminated
inline constexpr int kEntryPictureSizeOffset = 264; // postcard: card picture; catalog: thumbnail
inline constexpr int kEntryFrameSizeOffset = 272;
inline constexpr int kEntryWindowSizeOffset = 276; // 16-bit: the window block's size

inline constexpr int kWindowBlockSize = 276;
// Postcard: left, top, width, height of the video window (32-bit each), then the clip's name.
// Catalog: the small window's rectangle, then the large window's at offset 16.
inline constexpr int kWindowNameOffset = 16;
inline constexpr int kLargeWindowOffset = 16;

static_assert(kNameOffset + kNameStride * kLanguageCount <= kEntryCountOffset);
static_assert(kEntryWindowSizeOffset + 2 <= kEntrySize);

// Little-endian numbers at `offset` of a buffer the caller has sized (writing) or checked
// (reading).
inline void putLe32(QByteArray &bytes, qsizetype offset, std::uint32_t value)
{
    qToLittleEndian(value, bytes.data() + offset);
}
inline void putLe16(QByteArray &bytes, qsizetype offset, std::uint16_t value)
{
    qToLittleEndian(value, bytes.data() + offset);
}
inline std::uint32_t le32(const char *at)
{
    return qFromLittleEndian<std::uint32_t>(at);
}
inline std::uint16_t le16(const char *at)
{
    return qFromLittleEndian<std::uint16_t>(at);
}

// A video window stored as four signed 32-bit numbers (left, top, width, height) at `at`, which
// the caller has checked holds 16 bytes. A window off the card's top or left, empty, or reaching
// past kMaxWindowSide reads as none, so a hostile file cannot place the clip absurdly.
inline constexpr int kMaxWindowSide = 4096;
inline std::optional<QRect> windowAt(const char *at)
{
    const qint64 left = qint32(le32(at));
    const qint64 top = qint32(le32(at + 4));
    const qint64 width = qint32(le32(at + 8));
    const qint64 height = qint32(le32(at + 12));
    if (left < 0 || top < 0 || width < 1 || height < 1 || left + width > kMaxWindowSide
        || top + height > kMaxWindowSide)
        return std::nullopt;
    return QRect(int(left), int(top), int(width), int(height));
}
} // namespace PostcardLayout

// The card and window sizes the postcard works in, in card pixels.
inline constexpr QSize kCardSize(640, 480);
inline constexpr int kCardWidth = kCardSize.width();
inline constexpr int kCardHeight = kCardSize.height();
inline constexpr int kSmallWindowWidth = 160;
inline constexpr int kSmallWindowHeight = 120;
inline constexpr int kLargeWindowWidth = 320;
inline constexpr int kLargeWindowHeight = 240;

} // namespace glimmerix
