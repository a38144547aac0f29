#pragma once

#include "imaging/mediatypes.h"

#include <QString>

// The media kind of a path, decided on its extension.
enum class MediaKind { Picture = 0, Avi = 1, Wave = 2, Mpeg = 3, Mp3 = 4, Other = 99 };

MediaKind mediaKindOf(const QString &path);
