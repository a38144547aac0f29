#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;

namespace glimmerix
{

// Writing an album file so that nothing can be lost: a file that is not an album is never
// written over, and a save replaces the old file only when every byte of the new one reached the
// disk. Any failure leaves the old file exactly as it was.

// What a path holds before an album is written there.
enum class AlbumFileKind {
    Missing, // no file yet
    Album, // an album (or an empty file)
    NotAlbum, // some other file: never written over
    Unreadable, // a file that cannot be read (or a folder): never written over
};

// An empty album is stored as its trailer alone; longer files without the signature are not albums.
inline constexpr qint64 kTrailerOnlyAlbumLimit = 4096;

// True when `head` (the first bytes of a file of `size` bytes) can be an album: an empty file,
// the album signature "PALM", or an empty album stored as its trailer alone (one absolute folder
// path, no line end).
bool looksLikeAlbum(const QByteArray &head, qint64 size);
// Whether `text` can be the album's trailer, the last copy folder: one absolute folder path
// without line end or zero byte, at most kTrailerOnlyAlbumLimit bytes (so that an album of no
// items, stored as its trailer alone, still looks like an album).
bool isLastCopyFolderText(const QByteArray &text);
AlbumFileKind albumFileKindOf(const QString &path, QString *reason = nullptr);

// Turns the device the album is written to into the one the writer sees; tests put a device in
// between that fails part-way. The returned device writes through to `file`.
using SaveDeviceFilter = std::function<std::unique_ptr<QIODevice>(QIODevice &file)>;

struct AtomicSaveResult {
    bool saved = false;
    QString reason; // why not, in plain words ("the disk is full", "permission denied")
};

// Writes `path` through a temporary file in its folder with `write`, then checks that every
// write and the final flush succeeded before the temporary file replaces `path`. `write` returns
// false when a write failed.
AtomicSaveResult saveAtomically(const QString &path, const std::function<bool(QIODevice &)> &write,
    const SaveDeviceFilter &filter = {});

// The words for a failed file operation: "the disk is full" for the errors that mean it, else
// the system's text in lower case.
QString fileErrorReason(const QString &systemText);

} // namespace glimmerix
