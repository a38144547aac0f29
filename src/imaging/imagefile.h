#pragma once

#include "blockmemory.h"
#include "mediafile.h"

#include <QString>

namespace glimmerix
{

// Opening and saving pictures by file type (the extension, compared upper-cased).

// ".BMP", ".TIF", ".PCX", ".TGA", ".JPG" through their readers; ".PCD" and ".FPX" through
// PkOpenFile, ".QSF" through PkLoadQsfFile. Returns the image block, or 0: an unknown extension
// or a reader result of 0 shows message 54017; -1 and -2 give 0 without a further message.
BlockHandle LoadImageFile(const QString &path);
// Opens the still picture `file` for showing: the album's types exactly as LoadImageFile does,
// messages included; every other picture the media-file value recognises (a ".jpeg" file, HEIC,
// PNG, ...) through loadMediaPicture, a failure shown as message 54017's text with the file's
// name and the cause. Returns the image block, or 0.
BlockHandle openMediaPictureFile(const MediaFile &file);
// Saves by the last four characters of the path: ".JPG" (expanded to 24 bits first when
// needed, quality 90), ".BMP", ".TIF", ".PCX", ".TGA", ".FPX"; ".PCD" offers a ".jpg" name in a
// save-file question and saves there. Returns 1 written, else 0 or the writer's code.
int SaveImageFile(BlockHandle block, const QString &path);

} // namespace glimmerix
