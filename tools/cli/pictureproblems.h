#pragma once

// The words the tool uses for a picture that cannot be read or written, shared by `convert` and
// `album thumbnail` so both say the same thing.

#include <QString>

// Why the picture at `path` could not be opened: a problem of the file itself (missing, a folder,
// unreadable, empty) or else that the picture cannot be read.
QString pictureReadProblem(const QString &path);
// True when `path` ends in an extension the picture writers know (.bmp .jpg .tif .pcx .tga).
bool isWritablePictureType(const QString &path);
inline constexpr const char *kWritablePictureTypes = ".bmp, .jpg, .tif, .pcx or .tga";
