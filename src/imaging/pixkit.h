#pragma once

#include "blockmemory.h"

#include <QString>

#include <cstdint>

namespace glimmerix
{

// The in-house imaging library: opens the common picture types through our codecs, Kodak Photo
// CD packs through our own reader, and answers for FlashPix and layered .QSF files.
//
// Results of the open calls: an image block owned by the caller; 0 the picture cannot be read
// (missing or unreadable file, wrong or damaged content, a type we cannot decode); -1 the
// picture is larger than the picture size limit; -2 there is no memory for it. Nothing is shown
// to the user: the callers choose the messages.

// Photo CD option record: 13 words. Word 8 chooses the resolution (0 Base/16 192x128, 1 Base/4
// 384x256, 2 Base 768x512), word 10 the output (1 greyscale, 2 24-bit colour).
struct PhotoCdOptions {
    std::int32_t words[13];
};
static_assert(sizeof(PhotoCdOptions) == 52);
inline constexpr int kPhotoCdResolutionWord = 8;
inline constexpr int kPhotoCdOutputWord = 10;

// The record every caller passes for ".PCD": all 0 except words 8 and 10, both 2.
PhotoCdOptions photoCdOptions();

// White in 0x00BBGGRR form, the background every caller passes to PkLoadQsfFile.
inline constexpr std::uint32_t kQsfBackgroundWhite = 0x00FFFFFF;

BlockHandle PkOpenFile(const QString &path, int flags, const PhotoCdOptions *photoCd);
BlockHandle PkLoadQsfFile(const QString &path, std::uint32_t background);
// Returns 0 when written, anything else on failure. FlashPix cannot be written: always 1.
int PkSaveFile(BlockHandle block, const QString &path, int flags, int reserved);

// Result codes of the open calls.
inline constexpr BlockHandle kPkFailed = 0;
inline constexpr BlockHandle kPkTooLarge = -1;
inline constexpr BlockHandle kPkNoMemory = -2;
inline constexpr int kPkSaveFailed = 1;

} // namespace glimmerix
