#pragma once

#include "blockmemory.h"

#include "core/messageids.h"

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

// How a decoder ended, before it is mapped to the result codes of its caller (the file layer
// and the imaging library map these differently).
enum class DecodeStatus {
    Ok,
    Failed, // malformed or unsupported content
    WrongKind, // not this format at all
    Unreadable, // short read or read error
    TooLarge, // dimensions beyond the picture size limit
    NoMemory, // the block could not be allocated
    Cancelled, // Escape
};

struct DecodeResult {
    DecodeStatus status = DecodeStatus::Failed;
    BlockHandle block = 0; // set for Ok, and for a partly decoded picture after a late error
};

// Message numbers of the picture layer.
// The numbers themselves are in core/messageids.h; these are the picture layer's names for them.
inline constexpr int kMsgOutOfMemory = Message::kOutOfMemory;
inline constexpr int kMsgCannotCreate = Message::kCannotCreatePicture;
inline constexpr int kMsgCannotCreateJpeg = kMsgCannotCreate;
inline constexpr int kMsgProgress = Message::kPictureProgress;
inline constexpr int kMsgOpenFailedBefore = Message::kOpenFailedBefore;
inline constexpr int kMsgOpenFailedAfter = Message::kOpenFailedAfter;
inline constexpr int kMsgCannotOpenPicture = Message::kPictureUnreadable;
inline constexpr int kMsgJpegUnsuitable = Message::kJpegUnsuitable;
inline constexpr int kMsgNo24BitCopy = Message::kNo24BitCopy;
inline constexpr int kStrJpegSaveFilter = Message::kJpegSaveFilter;
