#pragma once

#include "albumformat.h"
#include "drivetype.h"
#include "imaging/blockmemory.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

namespace glimmerix
{

class AlbumFileSource;

// One album item: a media file on disk with its thumbnail block (the ItemInfo record followed by
// a packed 24-bit bitmap), an optional attached sound file and its selection state. The item
// owns the thumbnail block and frees it when destroyed.
//
// An item loaded from an album file may hold only its record, its bitmap left in the file until
// it is wanted: thumbnailBitmap() and thumbnailImage() read it each time without keeping it (the
// grid of a large album stays small), thumbnail() reads it into a block and keeps that. Not for
// use from several threads at once.
class AlbumItem
{
public:
    // Takes `thumbnail` over and checks whether the media file exists.
    AlbumItem(BlockHandle thumbnail, const QString &path);
    // Takes `thumbnail` over and takes `exists` as given.
    AlbumItem(BlockHandle thumbnail, const QString &path, bool exists);
    // Keeps `info` and leaves its bitmap (info.dataSize bytes at `bitmapAt` in `source`) unread.
    AlbumItem(const ItemInfo &info, std::shared_ptr<AlbumFileSource> source, qint64 bitmapAt,
        const QString &path, bool exists);
    virtual ~AlbumItem();
    AlbumItem(const AlbumItem &) = delete;
    AlbumItem &operator=(const AlbumItem &) = delete;

    const QString &path() const { return m_path; }
    // The part of the path after its last '/' (the whole path when it has none).
    const QString &fileName() const { return m_fileName; }
    // The path made absolute (relative paths resolve against the user folder). Duplicate tests,
    // existence checks and removal use this.
    const QString &absolutePath() const { return m_absolutePath; }

    const QString &attachmentName() const { return m_attachmentName; }
    void setAttachmentName(const QString &name) { m_attachmentName = name; }
    const QString &attachmentPath() const { return m_attachmentPath; }
    void setAttachmentPath(const QString &path) { m_attachmentPath = path; }

    // The thumbnail block. A bitmap still in the album file is read into a new block first, which
    // the item then keeps (the record moves into it, so earlier info() pointers go stale); 0 when
    // it cannot be read (see thumbnailLost).
    BlockHandle thumbnail() const;
    // Replaces the thumbnail block, freeing the old one (or forgetting the bitmap in the file).
    void setThumbnail(BlockHandle thumbnail);
    // Whether the item has a block or a readable bitmap in the album file; reads nothing.
    bool hasThumbnail() const;
    // Whether the bitmap is still in the album file, unread.
    bool thumbnailInFile() const { return m_source != nullptr; }
    // Set when the bitmap could not be read from the album file because the file was changed or
    // cut short since the album was opened. The item keeps its record but has no bitmap.
    bool thumbnailLost() const { return m_thumbnailLost; }
    // The record: at the head of the thumbnail block, or kept alone while the bitmap is in the
    // file (nullptr when the item has neither). Texts of an item in an album change through the
    // document (CAlbumDoc::setItemText), which marks itself modified and tells the views;
    // editableInfo() is for the document's own code and for items not yet in an album.
    const ItemInfo *info() const;
    ItemInfo *editableInfo();
    // The thumbnail bitmap as stored (the record's dataSize bytes, or fewer when the block is
    // shorter), from the block or read from the album file without keeping it; empty when it
    // cannot be read. A block's bytes are not copied: the array is valid while the block is.
    QByteArray thumbnailBitmap() const;
    // The thumbnail bitmap as an image; a null image when the sizes are inconsistent or the
    // bitmap cannot be read.
    QImage thumbnailImage() const;
    // Where an unread bitmap lies (the source is nullptr once read or replaced).
    const std::shared_ptr<AlbumFileSource> &thumbnailSource() const { return m_source; }
    qint64 thumbnailOffset() const { return m_bitmapAt; }

    // Set when the album file ended inside this item's thumbnail bitmap: the rest reads as zeros.
    bool thumbnailCut() const { return m_thumbnailCut; }
    void setThumbnailCut(bool cut) { m_thumbnailCut = cut; }

    bool exists() const { return m_exists; }
    void setExists(bool exists) { m_exists = exists; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected) { m_selected = selected; }
    int displayIndex() const { return m_displayIndex; }
    void setDisplayIndex(int index) { m_displayIndex = index; }

    // What the document counted for this item when it was inserted, so removal subtracts exactly
    // that even when the file has since changed or its disk has gone.
    DriveKind countedDrive() const { return m_countedDrive; }
    qint64 countedBytes() const { return m_countedBytes; }
    void setCounted(DriveKind drive, qint64 bytes)
    {
        m_countedDrive = drive;
        m_countedBytes = bytes;
    }

private:
    QString m_path;
    QString m_fileName;
    QString m_absolutePath;
    QString m_attachmentName;
    QString m_attachmentPath;
    // The block, or while the bitmap is in the file: the record alone and where the bitmap is.
    mutable BlockHandle m_thumbnail = 0;
    mutable std::unique_ptr<ItemInfo> m_record;
    mutable std::shared_ptr<AlbumFileSource> m_source;
    qint64 m_bitmapAt = 0;
    mutable bool m_thumbnailLost = false;
    bool m_exists = false;
    bool m_thumbnailCut = false;
    bool m_selected = false;
    int m_displayIndex = -1;
    DriveKind m_countedDrive = DriveKind::None;
    qint64 m_countedBytes = 0;
};

// The thumbnail bitmap of a block as an image (24-bit rows bottom-up after the ItemInfo), or a
// null image when its header, sizes or block length do not agree.
QImage thumbnailBlockImage(BlockHandle thumbnail);
// The same for a record and its bitmap bytes held apart.
QImage thumbnailBitmapImage(const ItemInfo &info, const QByteArray &bitmap);

} // namespace glimmerix
