#pragma once

#include <QString>

#include <memory>

namespace glimmerix
{

class AlbumItem;
class CAlbumDoc;

// Points item `index` at another media file: the item gets the new path, a thumbnail made from
// the new file, and keeps its texts, attachment and selection; the album's drive counters and
// media byte total move from the old file to the new one. Refuses (false) a path already in the
// album, a path too long for the item record (message 59001) and a file no thumbnail can be made
// for.
bool replaceItemPath(CAlbumDoc &document, int index, const QString &path);
// The item replaceItemPath() would put in place of item `index`, or nullptr (after the same
// messages) when it refuses; the album is not changed (an undo step puts the item in).
std::unique_ptr<AlbumItem> itemWithPath(CAlbumDoc &document, int index, const QString &path);

} // namespace glimmerix
