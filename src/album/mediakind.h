#pragma once

#include "imaging/mediafile.h"
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
// The media kind of an identified file: every still picture it recognises (the album's types by
// name, today's by content) is a Picture; clips and sounds by the album's names as above. Clips
// and sounds known only by their content stay Other until a reader for them is wired in.
MediaKind mediaKindOf(const MediaFile &file);
// Why an item for `file` is shown by an icon instead of a picture of its own ("a sound", "not a
// picture, clip or sound"); empty for pictures and for the clips whose first frame is read.
QString iconOnlyReason(const MediaFile &file);

} // namespace glimmerix
