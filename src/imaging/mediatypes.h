#pragma once

#include <QString>

namespace glimmerix
{

// File-type decisions made on a path's extension.

// The extension with its dot: the last dot within the last five characters of the path, not
// crossing a '/' (or the old '\\' and ':' separators). Empty when there is none.
QString GetFileExtension(const QString &path);
// `GetFileExtension` upper-cased, the form every comparison uses.
QString upperExtension(const QString &path);
// 1 for ".BMP" ".TIF" ".PCX" ".TGA" ".JPG" ".PCD" ".FPX" ".QSF", else 0.
int IsPictureFile(const QString &path);
// 1 for ".AVI" ".MPEG" ".MPG" ".MOV", else 0.
int IsVideoFile(const QString &path);

} // namespace glimmerix
