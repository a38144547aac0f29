#pragma once

#include "albumformat.h"
#include "drivetype.h"
#include "imaging/blockmemory.h"

#include <QImage>
#include <QString>

namespace glimmerix
{

// One album item: a media file on disk with its thumbnail block (the ItemInfo record followed by
// a packed 24-bit bitmap), an optional attached sound file and its selection state. The item
// owns the thumbnail block and frees it when destroyed.
class AlbumItem
{
public:
    // Takes `thumbnail` over and checks whether the media file exists.
    AlbumItem(BlockHandle thumbnail, const QString &path);
    // Takes `thumbnail` over and takes `exists` as given.
    AlbumItem(BlockHandle thumbnail, const QString &path, bool exists);
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

    BlockHandle thumbnail() const { return m_thumbnail; }
    // Replaces the thumbnail block, freeing the old one.
    void setThumbnail(BlockHandle thumbnail);
    // The record at the head of the thumbnail block (nullptr when the item has no block). Texts of
    // an item in an album change through the document (CAlbumDoc::setItemText), which marks
    // itself modified and tells the views; editableInfo() is for the document's own code and for
    // items not yet in an album.
    const ItemInfo *info() const;
    ItemInfo *editableInfo();
    // The thumbnail bitmap as an image; a null image when the block's sizes are inconsistent.
    QImage thumbnailImage() const;

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
    BlockHandle m_thumbnail = 0;
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

} // namespace glimmerix
