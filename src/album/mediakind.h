#pragma once

#include "imaging/mediatypes.h"

#include <QString>

namespace glimmerix
{

// The media kind of a path, decided on its extension.
enum class MediaKind { Picture = 0, Avi = 1, Wave = 2, Mpeg = 3, Mp3 = 4, Other = 99 };

// The one media-kind rule: a picture extension, ".AVI" or ".MOV" (QuickTime clips take the AVI
// way: FFmpeg reads their first frame just the same), ".WAV", ".MPG" or ".MPEG", ".MP3", else
// Other, a path without an extension included.
MediaKind mediaKindOf(const QString &path);
// The same as the int the album's callers expect: 1 AVI, 2 WAVE, 3 MPEG, 4 MP3, 0 picture, 99
// other. Unlike mediaKindOf, a path without an extension counts as a picture, as it always has
// for this entry point.
int GetMediaKind(const QString &path);

} // namespace glimmerix
