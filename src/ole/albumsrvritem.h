#pragma once

#include "imaging/blockmemory.h"

#include <QByteArray>
#include <QImage>
#include <QMimeData>
#include <QSize>

namespace glimmerix
{

class AlbumItem;
class CAlbumDoc;

// The album's current item as data for the clipboard, drags and other programs: the drag record
// and the one-item album stream in our own formats, the file as a file list (and as file managers
// paste it), "FileName", and the picture as PNG and BMP, rendered only when a receiver asks.
class CAlbumSrvrItem
{
public:
    // Stands for item `index` of `document` (item 0 when `index` is not an item).
    CAlbumSrvrItem(CAlbumDoc &document, int index);

    // Keeps `reference` (a drag record) to offer with the data; `picture` when given is the
    // picture offered instead of rendering one (the item keeps its own copy).
    void SetItemData(const QImage &picture, const QByteArray &reference);
    // A new data object with every format; the caller (clipboard or drag) takes it over.
    QMimeData *OnGetClipboardData();
    // The item's size in 0.01 mm for a receiver that places it (1000 x 1000 for an empty album).
    QSize OnGetExtent() const;

    // The picture offered for `item`: its full picture brought within 640 x 480 (the longer side
    // made 640), or its thumbnail when the file is missing, marked unreadable or not a picture.
    static QImage renderPicture(const AlbumItem &item);
    // The extent of a thumbnail of `size`: 10000 on the longer side (1000 under 50 pixels).
    static QSize extentOf(QSize thumbnail);

private:
    const AlbumItem *currentItem() const;

    CAlbumDoc &m_document;
    int m_index;
    QImage m_picture;
    QByteArray m_reference;
};

} // namespace glimmerix
