#pragma once

#include "imaging/blockmemory.h"

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
// The same for a file that is the item's own file found elsewhere (moved or renamed): the item
// keeps its thumbnail and record, only the path changes, so nothing is read from the file.
bool relinkItemPath(CAlbumDoc &document, int index, const QString &path);
// The item relinkItemPath() would put in place of item `index`, or nullptr.
std::unique_ptr<AlbumItem> relinkedItem(CAlbumDoc &document, int index, const QString &path);

// A copy of the item's thumbnail block whose record names `path`. A bitmap still in the album
// file is read into the copy without the item keeping it. 0 when the item has no thumbnail.
BlockHandle thumbnailNaming(const AlbumItem &item, const QString &path);

} // namespace glimmerix
