#pragma once

#include "imagecodes.h"

#include <QString>

#include <cstdint>
#include <memory>

class QFile;
class QFileDevice;

namespace glimmerix
{

// Building the statuses and detail texts of the picture layer, and the one size limit every
// decoder (and the album's thumbnail path) checks before it allocates or decodes anything.

DecodeResult pictureFailure(DecodeStatus status, const QString &detail);
WriteResult writeFailure(DecodeStatus status, const QString &detail);

// Ok when a `width` x `height` picture of `bitCount` bits per pixel fits the picture layer's
// limit (pictureByteLimit); TooLarge with "the picture claims W x H pixels; ..." otherwise, also
// for dimensions that are not positive or overflow.
DecodeResult checkPictureSize(std::int64_t width, std::int64_t height, int bitCount);
// The same test as a plain answer, for code between setjmp and longjmp (libjpeg callers).
bool pictureSizeAllowed(std::int64_t width, std::int64_t height, int bitCount);

// Opens `path` for reading. On failure: CannotOpen with "no such file", "is a folder",
// "permission denied" or the system's text.
DecodeResult openForReading(QFile &file, const QString &path);
// "the file ends before the picture" and "cancelled", the texts several codecs share.
QString truncatedDetail();
QString cancelledDetail();
// "the file is empty" for an input of no bytes; the caller keeps its own status.
QString emptyFileDetail();
// Why a write to `file` failed: "disk full" when the file system ran out of room, else the
// system's text.
QString writeErrorDetail(const QFileDevice &file);

// The file a picture is written to, not yet opened. An ordinary file (or a new one) is a
// QSaveFile: written beside the target and renamed over it at the end, so a cancelled or failed
// write keeps the old picture. A device or pipe cannot be replaced and is written directly.
std::unique_ptr<QFileDevice> pictureTarget(const QString &path);
// Ends a write to a pictureTarget: the rename for an ordinary file, a flush for the others.
bool finishPictureTarget(QFileDevice &file);

} // namespace glimmerix
