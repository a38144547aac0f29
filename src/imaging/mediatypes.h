#pragma once

#include <QString>

// File-type decisions made on a path's extension.

// Media kinds of `GetMediaKind`.
inline constexpr int kMediaPicture = 0;
inline constexpr int kMediaAvi = 1;
inline constexpr int kMediaWave = 2;
inline constexpr int kMediaMpeg = 3;
inline constexpr int kMediaMp3 = 4;
inline constexpr int kMediaOther = 99;

// The extension with its dot: the last dot within the last five characters of the path, not
// crossing a '/' (or the old '\\' and ':' separators). Empty when there is none.
QString GetFileExtension(const QString &path);
// `GetFileExtension` upper-cased, the form every comparison uses.
QString upperExtension(const QString &path);
// 1 ".AVI", 2 ".WAV", 3 ".MPG" or ".MPEG", 4 ".MP3", 0 a picture extension or none, 99 other.
int GetMediaKind(const QString &path);
// 1 for ".BMP" ".TIF" ".PCX" ".TGA" ".JPG" ".PCD" ".FPX" ".QSF", else 0.
int IsPictureFile(const QString &path);
// 1 for ".AVI" ".MPEG" ".MPG" ".MOV", else 0.
int IsVideoFile(const QString &path);
