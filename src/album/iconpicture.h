#pragma once

#include "imaging/blockmemory.h"

#include <QString>

namespace glimmerix
{

// Pictures that stand for files without a picture of their own.

inline constexpr const char *kVideoIconPicture = "videoico.log";
inline constexpr const char *kWaveIconPicture = "waveico.log";
inline constexpr const char *kMp3IconPicture = "mp3icon.log";
inline constexpr const char *kUnknownIconPicture = "unknown.log";

// Full path of an icon picture in the resource folder.
QString iconPicturePath(const char *name);
// Reads an icon picture (a Windows bitmap despite its extension) as a new image block; when it
// cannot be read shows message 50341 with its path and returns 0.
BlockHandle readIconPicture(const char *name);
// The desktop's icon for the file's type drawn at 32 x 32 on grey (192, 192, 192), as a new
// 24-bit image block; 0 when the icon theme has no icon for it. On a worker thread (one with its
// own host) the icon cannot be drawn: it gives 0 and notes that it was wanted.
BlockHandle shellIconPicture(const QString &path);
// Whether shellIconPicture was called on this thread's worker since the last call, which clears
// the note: the work must then be done again on the user-interface thread.
bool takeShellIconWanted();

} // namespace glimmerix
