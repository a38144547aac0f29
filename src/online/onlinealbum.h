#pragma once

#include "onlinejobs.h"

#include <QList>

namespace glimmerix
{

class CAlbumDoc;

// Between the album and the online service: what an upload sends of the album's items, and the
// downloaded pictures becoming items.

// The items at `indexes` that are pictures and whose files exist, with their texts, in order.
QList<UploadItem> uploadItemsOf(const CAlbumDoc &document, const QList<int> &indexes);
// The indexes an upload takes: the selected items, or every item when none is selected.
QList<int> uploadIndexes(const CAlbumDoc &document);

// Adds every downloaded record to the album as an item with its texts (caption, keywords from
// "keyword", description from "descrip"). Returns the number added; a picture the album cannot
// read is left out (its reason goes to `problems`, one "FILE: cause" line each).
int addDownloadedPictures(
    CAlbumDoc &document, const QList<RemoteImage> &records, QStringList *problems = nullptr);

} // namespace glimmerix
