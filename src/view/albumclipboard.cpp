#include "albumclipboard.h"

#include "album/albumdoc.h"
#include "core/folders.h"
#include "platform/paths.h"

#include <QBuffer>
#include <QMimeData>
#include <QUrl>

#include <cstring>

namespace glimmerix
{

namespace
{

constexpr int kFileNameBlockSize = 263;

// The bytes of `text` as UTF-8 cut to at most `limit` bytes at a character boundary.
QByteArray utf8Within(const QString &text, int limit)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= limit)
        return bytes;
    int end = limit;
    while (end > 0 && (static_cast<unsigned char>(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    return bytes.left(end);
}

} // namespace

QByteArray writeDragRecord(const DragRecord &record)
{
    QByteArray bytes(DragRecord::kSize, '\0');
    std::memcpy(bytes.data(), &record.view, 4);
    std::memcpy(bytes.data() + 4, &record.index, 4);
    const QByteArray path = utf8Within(record.path, DragRecord::kPathBytes - 1);
    std::memcpy(bytes.data() + 8, path.constData(), std::size_t(path.size()));
    return bytes;
}

std::optional<DragRecord> readDragRecord(const QByteArray &bytes)
{
    if (bytes.size() != DragRecord::kSize)
        return std::nullopt;
    DragRecord record;
    std::memcpy(&record.view, bytes.constData(), 4);
    std::memcpy(&record.index, bytes.constData() + 4, 4);
    const char *path = bytes.constData() + 8;
    const void *end = std::memchr(path, 0, DragRecord::kPathBytes);
    if (!end || record.index < 0)
        return std::nullopt;
    record.path = QString::fromUtf8(path, static_cast<const char *>(end) - path);
    return record;
}

QByteArray fileNameBlock(const QString &path)
{
    QByteArray bytes = path.toUtf8();
    bytes.append('\0');
    if (bytes.size() < kFileNameBlockSize)
        bytes.append(QByteArray(kFileNameBlockSize - bytes.size(), '\0'));
    return bytes;
}

QByteArray currentItemStream(CAlbumDoc &document)
{
    if (!document.item(document.currentItem()))
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const bool single = document.singleItemStoring();
    document.setSingleItemStoring(true);
    const bool written = document.store(buffer);
    document.setSingleItemStoring(single);
    return written ? buffer.data() : QByteArray();
}

QByteArray selectionStream(CAlbumDoc &document, const QList<int> &indexes)
{
    QByteArray bytes;
    const int current = document.currentItem();
    for (int index : indexes) {
        if (!document.item(index))
            continue;
        document.setCurrentItem(index);
        const QByteArray stream = currentItemStream(document);
        const auto size = std::uint32_t(stream.size());
        bytes.append(reinterpret_cast<const char *>(&size), 4);
        bytes.append(stream);
    }
    document.setCurrentItem(current);
    return bytes;
}

QList<QByteArray> readSelectionStream(const QByteArray &bytes)
{
    QList<QByteArray> streams;
    qsizetype at = 0;
    while (bytes.size() - at >= 4) {
        std::uint32_t size = 0;
        std::memcpy(&size, bytes.constData() + at, 4);
        at += 4;
        if (qsizetype(size) > bytes.size() - at)
            break;
        streams.append(bytes.mid(at, qsizetype(size)));
        at += qsizetype(size);
    }
    return streams;
}

QString droppedFile(const QMimeData *data)
{
    if (!data)
        return {};
    if (const auto record = readDragRecord(data->data(QString::fromLatin1(mime::kAlbumItem))))
        return record->path;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

PasteResult pasteItemStream(
    CAlbumDoc &document, const QByteArray &stream, int position, int *inserted)
{
    AlbumFileHeader header {};
    ItemInfo info {};
    AttachmentRecord attachment {};
    qint64 at = 0;
    const auto read = [&](void *target, qint64 size) {
        if (stream.size() - at < size)
            return false;
        std::memcpy(target, stream.constData() + at, std::size_t(size));
        at += size;
        return true;
    };
    if (!read(&header, sizeof header) || header.magic != kAlbumMagic)
        return PasteResult::Refused;
    const QString version = fixedText(header.version);
    if (version == QLatin1String(kAlbumVersion11)) {
        ItemInfoV11 old {};
        if (!read(&old, sizeof old))
            return PasteResult::Refused;
        info = widenItemInfo(old);
    } else if (version == QLatin1String(kAlbumVersion12)
        || version == QLatin1String(kAlbumVersion13)) {
        if (!read(&info, sizeof info))
            return PasteResult::Refused;
        if (version == QLatin1String(kAlbumVersion13) && !read(&attachment, sizeof attachment))
            return PasteResult::Refused;
    } else {
        return PasteResult::Refused;
    }
    // A size no thumbnail can have, or more than the stream holds, is refused before allocating.
    if (info.dataSize < 40 || info.dataSize > kMaxThumbnailDataSize
        || stream.size() - at < qint64(info.dataSize))
        return PasteResult::Refused;
    info.path[sizeof info.path - 1] = 0;
    QString path = fixedText(info.path);
    if (path.isEmpty())
        return PasteResult::Refused;
    if (info.pathIsRelative == 1) {
        path = joinPath(photosFolder(), path);
        if (!setFixedText(info.path, path))
            return PasteResult::Refused;
    }
    info.pathIsRelative = 0;
    info.dataOffset = 0;

    OwnedBlock block(
        blockAlloc(0, sizeof info + std::size_t(info.dataSize) + kThumbnailSpareBytes));
    auto *bytes = static_cast<char *>(blockLock(block.handle()));
    if (!bytes)
        return PasteResult::Refused;
    std::memcpy(bytes, &info, sizeof info);
    std::memcpy(bytes + sizeof info, stream.constData() + at, info.dataSize);

    auto item = std::make_unique<AlbumItem>(block.release(), path);
    if (position < 0 || position > document.itemCount())
        position = document.itemCount();
    const int result = document.insertItem(std::move(item), position);
    if (result == -2)
        return PasteResult::Duplicate;
    if (result != 1)
        return PasteResult::Refused;
    document.attachFile(position, fixedText(attachment.name), fixedText(attachment.path));
    if (inserted)
        *inserted = position;
    return PasteResult::Inserted;
}

} // namespace glimmerix
