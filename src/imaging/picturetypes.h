#pragma once

#include "imagecodes.h"

#include <QString>

#include <span>

namespace glimmerix
{

// The picture file types by extension, in one table: how each is opened and saved. The image
// file layer (open and save by type), the imaging library and the command-line tool look types
// up here, and so can any later batch user (web album, slide show).

struct PictureType {
    const char *extension; // upper-cased, with the dot: ".BMP"
    // Open by type: the reader's entry point, with its messages and its int results.
    BlockHandle (*open)(const QString &path);
    // The same reading without messages: the status and its detail. Never null.
    DecodeResult (*load)(const QString &path);
    // Save by type, with its messages and its int result; null when the type is not written.
    int (*save)(BlockHandle block, const QString &path);
    // The same writing without messages; null when the type is not written.
    WriteResult (*write)(BlockHandle block, const QString &path);
};

std::span<const PictureType> pictureTypes();
// The row for the extension of `path` (compared upper-cased), or nullptr.
const PictureType *pictureTypeOf(const QString &path);

// Reads the picture at `path` by its type without showing anything: Ok with the block, or why
// not ("unknown picture type" for an extension the table lacks). Unlike the entry points it
// gives no partly decoded picture.
DecodeResult loadPicture(const QString &path);
// Writes `block` to `path` by its type without showing anything (JPEG widened to 24 bits
// first when needed).
WriteResult savePicture(BlockHandle block, const QString &path);

} // namespace glimmerix
