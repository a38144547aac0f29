#pragma once

#include "albumformat.h"
#include "imaging/blockmemory.h"

#include <QList>
#include <QString>

class QIODevice;

namespace glimmerix
{

// An album's records read as they are stored, for the album search and the scan for the files
// albums use: per item its thumbnail block (record and bitmap; the path as stored, a relative mark
// kept) and its attachment record, in file order. Owns the blocks.
struct RawAlbum {
    RawAlbum() = default;
    ~RawAlbum();
    RawAlbum(RawAlbum &&other) noexcept;
    RawAlbum(const RawAlbum &) = delete;
    RawAlbum &operator=(const RawAlbum &) = delete;
    RawAlbum &operator=(RawAlbum &&) = delete;

    AlbumFileHeader header {}; // all zero when the device holds no album of a known version
    QList<BlockHandle> thumbnails; // 0 for an entry whose block could not be read
    QList<AttachmentRecord> attachments; // empty records before version "1.3"
};

// Reads `device` raw: never more entries than it has room for records, nothing shown to the user.
RawAlbum readAlbumRaw(QIODevice &device);
// Reads the album file at `path` raw, without its lock (a save replaces the file whole, so what
// is read is the last album saved); false when it cannot be opened or names the "NEW" album.
bool readAlbumRawFile(const QString &path, RawAlbum &album);

} // namespace glimmerix
