#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

class QMimeData;

namespace glimmerix
{

class CAlbumDoc;

// What album items carry on the clipboard and in drags: our own MIME types for the album's
// private formats, the drag record and the one-item album stream.

namespace mime
{
// The drag record (identifies an album drag and its source view).
inline constexpr const char *kAlbumItem = "application/x-glimmerix-album-item";
// One album item as an album file of one item.
inline constexpr const char *kAlbumStream = "application/x-glimmerix-album-stream";
// The item's media file path, zero-terminated, in a 263-byte block.
inline constexpr const char *kFileName = "application/x-glimmerix-file-name";
// The selected items of a drag, for another running instance: one-item album streams, each
// after its 32-bit little-endian length.
inline constexpr const char *kAlbumItems = "application/x-glimmerix-album-items";
inline constexpr const char *kUriList = "text/uri-list";
// What file managers paste files from: "copy" and then one URI a line.
inline constexpr const char *kGnomeCopiedFiles = "x-special/gnome-copied-files";
} // namespace mime

// The 264-byte drag record: the source view's identity, the item's index and its path.
struct DragRecord {
    static constexpr int kSize = 264;
    static constexpr int kPathBytes = 256;
    std::uint32_t view = 0;
    std::int32_t index = 0;
    QString path;
};
// The record's bytes; a path longer than 255 bytes is cut at a character boundary.
QByteArray writeDragRecord(const DragRecord &record);
// The record in `bytes`, or nothing unless they are exactly one record with a terminated path.
std::optional<DragRecord> readDragRecord(const QByteArray &bytes);

// The "FileName" block: the path, zero-terminated, zero-filled to 263 bytes (longer paths grow
// the block rather than lose their end).
QByteArray fileNameBlock(const QString &path);

// The current item of `document` as an album file of one item (empty when there is none).
QByteArray currentItemStream(CAlbumDoc &document);

// The items at `indexes` as one-item streams, each after its length (see mime::kAlbumItems).
QByteArray selectionStream(CAlbumDoc &document, const QList<int> &indexes);
// The one-item streams of a selection; reading stops at the first length that overruns the data.
QList<QByteArray> readSelectionStream(const QByteArray &bytes);

// The file a drag of album items (or of files) offers a program: the dragged item's path, else
// the first local file; empty when there is none.
QString droppedFile(const QMimeData *data);

// Outcome of putting a pasted or transferred item into an album.
enum class PasteResult { Inserted, Duplicate, Refused };
// Inserts the item of an album stream before `position` (-1: at the end) with its texts,
// thumbnail and attachment. A stream that is short, has the wrong signature, an unknown version
// or a thumbnail size no item can have is refused without touching the album. The index of the
// new item goes to `inserted`.
PasteResult pasteItemStream(
    CAlbumDoc &document, const QByteArray &stream, int position, int *inserted = nullptr);

} // namespace glimmerix
