#pragma once

#include "imaging/imagecodes.h"

#include <QString>

#include <optional>

namespace glimmerix
{

// Saving from the picture window a picture whose file is not one of the album's writable types
// (HEIC, AVIF, camera RAW, WebP, PNG, GIF, JPEG XL, a ".jpeg" file ...). The edited picture is
// offered as JPEG, PNG or TIFF (and WebP for a WebP picture); the original is never written over
// in another format under its old name.

struct SaveOffer {
    QString filter; // for the save question, the proposed format first
    QString proposedPath;
    QString suffix; // added to a name typed without one
};

// What to offer for the picture opened from `originalPath`, or nothing when the album's own rule
// applies (no path, or one of the album's types that the picture table saves). A picture already
// in a format written here (JPEG, PNG, WebP, TIFF) is offered over itself; any other is offered
// as a JPEG of the same base name beside it, under a free name when that one is taken.
std::optional<SaveOffer> pictureSaveOffer(const QString &originalPath);

// Writes `block` to `chosen` in the format its extension names (.jpg .jpeg .jpe .jfif, .tif
// .tiff, .png, .webp); refuses any other name, and the original's own path when the format
// written would differ from the original's, with the cause.
WriteResult savePictureAs(BlockHandle block, const QString &chosen, const QString &originalPath);

} // namespace glimmerix
