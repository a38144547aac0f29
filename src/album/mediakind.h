#pragma once

#include <QString>

// The media kind of a path, decided on its extension.
enum class MediaKind { Picture = 0, Avi = 1, Wave = 2, Mpeg = 3, Mp3 = 4, Other = 99 };

// The upper-cased extension with its dot: the text from the last dot, when that dot lies within
// the last five characters of the path ("" otherwise).
QString upperExtension(const QString &path);
MediaKind mediaKindOf(const QString &path);
