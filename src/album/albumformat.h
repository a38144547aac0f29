#pragma once

#include "platform/textlimits.h"

#include <QByteArray>
#include <QString>

#include <bit>
#include <cstddef>
#include <cstdint>

namespace glimmerix
{

// Byte layout of the album file (.gmx) and of the per-item record that heads every thumbnail
// block. All numbers are little-endian; text fields are zero-terminated UTF-8, zero-filled after
// the terminator. The structures are read and written as they stand, so the host must be
// little-endian.

static_assert(std::endian::native == std::endian::little, "album records are little-endian");

inline constexpr std::uint32_t kAlbumMagic = 0x4D4C4150; // "PALM"
inline constexpr const char *kAlbumVersion11 = "1.1";
inline constexpr const char *kAlbumVersion12 = "1.2";
inline constexpr const char *kAlbumVersion13 = "1.3";

#pragma pack(push, 1)

// The 272-byte file header.
struct AlbumFileHeader {
    std::uint32_t magic; // kAlbumMagic
    std::uint32_t totalSize; // dataStart + sum of dataSize: where the trailer begins
    std::uint32_t itemCount;
    std::uint32_t dataStart; // 272 + 1357 * itemCount
    char caption[128]; // at most 127 bytes and the terminator
    char version[128]; // "1.3" as written
};

// The 1060-byte item record: first in every thumbnail block, and per item in the file.
struct ItemInfo {
    std::uint32_t fileSize; // media file size when the item was made (see kMaxStoredFileSize)
    std::uint32_t fileTime; // modification time, seconds since 1970 UTC
    char path[260];
    char description[256];
    char caption[256];
    char keywords[256];
    std::uint16_t pathIsRelative; // 1: path is relative to the photos folder; 0 in memory
    std::uint16_t sourceBitDepth;
    std::uint16_t sourceWidth;
    std::uint16_t sourceHeight;
    std::uint32_t dataOffset; // thumbnail bitmap offset from the start of the data area
    std::uint16_t thumbWidth;
    std::uint16_t thumbHeight;
    std::uint32_t dataSize; // bytes of the thumbnail bitmap that follows the record
    std::uint16_t isMedia; // 1 for sound, video and other files; 0 for pictures
    std::uint16_t reserved;
};

// The "1.1" item record: the same fields with 128-byte texts.
struct ItemInfoV11 {
    std::uint32_t fileSize;
    std::uint32_t fileTime;
    char path[128];
    char description[128];
    char caption[128];
    char keywords[128];
    std::uint16_t pathIsRelative;
    std::uint16_t sourceBitDepth;
    std::uint16_t sourceWidth;
    std::uint16_t sourceHeight;
    std::uint32_t dataOffset;
    std::uint16_t thumbWidth;
    std::uint16_t thumbHeight;
    std::uint32_t dataSize;
    std::uint16_t isMedia;
    std::uint16_t reserved;
};

// The 297-byte attachment record that follows each ItemInfo in "1.3" files.
struct AttachmentRecord {
    char name[32];
    char path[265];
};

#pragma pack(pop)

static_assert(sizeof(AlbumFileHeader) == 272);
static_assert(offsetof(AlbumFileHeader, totalSize) == 4);
static_assert(offsetof(AlbumFileHeader, itemCount) == 8);
static_assert(offsetof(AlbumFileHeader, dataStart) == 12);
static_assert(offsetof(AlbumFileHeader, caption) == 16);
static_assert(offsetof(AlbumFileHeader, version) == 144);

static_assert(sizeof(ItemInfo) == 1060);
static_assert(offsetof(ItemInfo, fileTime) == 4);
static_assert(offsetof(ItemInfo, path) == 8);
// The one path-length rule (pathFitsField) is the item record's path field.
static_assert(sizeof(ItemInfo::path) == kMaxPathBytes + 1);
static_assert(offsetof(ItemInfo, description) == 268);
static_assert(offsetof(ItemInfo, caption) == 524);
static_assert(offsetof(ItemInfo, keywords) == 780);
static_assert(offsetof(ItemInfo, pathIsRelative) == 1036);
static_assert(offsetof(ItemInfo, sourceBitDepth) == 1038);
static_assert(offsetof(ItemInfo, sourceWidth) == 1040);
static_assert(offsetof(ItemInfo, sourceHeight) == 1042);
static_assert(offsetof(ItemInfo, dataOffset) == 1044);
static_assert(offsetof(ItemInfo, thumbWidth) == 1048);
static_assert(offsetof(ItemInfo, thumbHeight) == 1050);
static_assert(offsetof(ItemInfo, dataSize) == 1052);
static_assert(offsetof(ItemInfo, isMedia) == 1056);
static_assert(offsetof(ItemInfo, reserved) == 1058);

static_assert(sizeof(ItemInfoV11) == 544);
static_assert(offsetof(ItemInfoV11, path) == 8);
static_assert(offsetof(ItemInfoV11, description) == 136);
static_assert(offsetof(ItemInfoV11, caption) == 264);
static_assert(offsetof(ItemInfoV11, keywords) == 392);
static_assert(offsetof(ItemInfoV11, pathIsRelative) == 520);
static_assert(offsetof(ItemInfoV11, dataOffset) == 528);
static_assert(offsetof(ItemInfoV11, thumbWidth) == 532);
static_assert(offsetof(ItemInfoV11, dataSize) == 536);
static_assert(offsetof(ItemInfoV11, isMedia) == 540);

static_assert(sizeof(AttachmentRecord) == 297);
static_assert(offsetof(AttachmentRecord, path) == 32);

inline constexpr std::uint32_t kItemBlockSize = sizeof(ItemInfo) + sizeof(AttachmentRecord); // 1357
inline constexpr std::size_t kThumbnailSpareBytes = 10;
inline constexpr int kMaxThumbnailSide = 80;
// The largest thumbnail bitmap a valid item can have: 80 rows of 240 bytes plus the header.
inline constexpr std::uint32_t kMaxThumbnailDataSize = 40 + 80 * 240;
// A 32-bit file size field holds at most this; larger files are stored as this value.
inline constexpr std::uint32_t kMaxStoredFileSize = 0xFFFFFFFFu;
// Characters kept in the header's caption field.
inline constexpr int kHeaderCaptionBytes = 127;

// Why a sound named `name` at `path` cannot be attached to an item, or an empty text when both fit
// the attachment record (a name of at most 31 and a path of at most 264 UTF-8 bytes). A sound
// that does not fit is refused: storing it would cut the path.
QString attachmentRefusal(const QString &name, const QString &path);

// The text of a fixed-size field: up to the first zero byte or the end of the field.
QString fixedText(const char *field, std::size_t fieldSize);
// Stores `text` as UTF-8 into a zero-filled field, cut at a character boundary so that the
// terminator fits. Returns false when the text had to be cut.
bool setFixedText(char *field, std::size_t fieldSize, const QString &text);

template<std::size_t N> QString fixedText(const char (&field)[N])
{
    return fixedText(field, N);
}
template<std::size_t N> bool setFixedText(char (&field)[N], const QString &text)
{
    return setFixedText(field, N, text);
}

// A "1.1" record widened into a zero-filled ItemInfo.
ItemInfo widenItemInfo(const ItemInfoV11 &old);
// A fresh header: magic and version "1.3", everything else zero.
AlbumFileHeader makeAlbumHeader();

} // namespace glimmerix
