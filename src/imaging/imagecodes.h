#pragma once

#include "blockmemory.h"

#include "core/messageids.h"

#include <QString>

namespace glimmerix
{

// Result codes shared by every picture reader and writer, and the image classes.

// Readers return an image block handle, or one of these.
inline constexpr BlockHandle kReadFailed = 0; // bad file, unsupported kind, no memory
inline constexpr BlockHandle kReadWrongKind = -1; // wrong signature
inline constexpr BlockHandle kReadUnreadable = -2; // cannot open or read (or cancelled, bitmap)

// Writers return one of these.
inline constexpr int kWriteFailed = 0;
inline constexpr int kWriteDone = 1;
inline constexpr int kWriteUnsuitable = 2; // unsuitable picture class, or cancelled with Escape
inline constexpr int kWriteCannotCreate = 3; // the file cannot be created

// Image class of a block (`ClassifyImage`).
inline constexpr int kClassUnknown = 0;
inline constexpr int kClassGrey = 1; // 8-bit with the 256-entry grey table
inline constexpr int kClassTrueColor = 2; // 24-bit
inline constexpr int kClassPalette8 = 3;
inline constexpr int kClassPalette4 = 4;
inline constexpr int kClassBilevel = 5;

// How a picture reader or writer ended: one status for every codec, with a detail text that
// names the cause for the user ("the file is empty", "the picture claims ..."). Inside the
// picture layer only these travel; the int results above exist only at the entry points
// (ReadPcxFile, WriteTgaFile, LoadImageFile, ...), which map a status to them and show the
// messages. The detail is plain text meant to follow "FILE: ".
enum class DecodeStatus {
    Ok,
    Failed, // malformed content, or a write error
    WrongKind, // not this format at all
    Unreadable, // short read or read error
    CannotOpen, // the file cannot be opened for reading
    Unsupported, // a variant of the format no codec here handles
    TooLarge, // dimensions beyond the picture size limit
    NoMemory, // the block could not be allocated
    Cancelled, // Escape
    Unsuitable, // writers: the picture's class cannot be stored in this format
    CannotCreate, // writers: the file cannot be created
};

struct DecodeResult {
    DecodeStatus status = DecodeStatus::Failed;
    BlockHandle block = 0; // set for Ok, and for a partly decoded picture after a late error
    QString detail; // empty for Ok; otherwise why, in words for the user
};

struct WriteResult {
    DecodeStatus status = DecodeStatus::Failed;
    QString detail;
    bool ok() const { return status == DecodeStatus::Ok; }
};

} // namespace glimmerix
