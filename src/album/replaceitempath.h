#pragma once

#include <QString>

namespace glimmerix
{

class CAlbumDoc;

// Points item `index` at another media file: the item gets the new path, a thumbnail made from
// the new file, and keeps its texts, attachment and selection; the album's drive counters and
// media byte total move from the old file to the new one. Refuses (false) a path already in the
// album, a path too long for the item record (message 59001) and a file no thumbnail can be made
// for.
bool replaceItemPath(CAlbumDoc &document, int index, const QString &path);

} // namespace glimmerix
