#pragma once

#include "imaging/picturefacts.h"

#include <QDateTime>
#include <QString>

namespace glimmerix
{

// When the clip at `path` was made: the creation time its container (or else one of its
// streams) records, read through the clip module; in UTC. Invalid when the clip gives none or
// cannot be read.
QDateTime clipCreationTime(const QString &path);

// The facts of an item's file for its "date taken": a clip's creation time as its date taken
// (with the UTC offset), a picture's own facts (readPictureFacts), nothing for a sound. The sort
// by date taken, the info line, Properties and the command-line tool all ask here.
PictureFacts readMediaFacts(const QString &path);

} // namespace glimmerix
