#include "albumsearch.h"

#include "album/albumdoc.h"
#include "album/albumfile.h"
#include "album/albumitem.h"
#include "album/albummanagement.h"
#include "core/folders.h"
#include "imaging/blockmemory.h"
#include "platform/host.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace glimmerix
{

bool itemMatchesSearch(const ItemInfo &info, const QString &text, const SearchFields &fields)
{
    const std::pair<bool, QString> texts[] = {
        { fields.fileName, fixedText(info.path) },
        { fields.notes, fixedText(info.description) },
        { fields.field1, fixedText(info.caption) },
        { fields.field2, fixedText(info.keywords) },
    };
    const QString wanted = fields.matchCase ? text : text.toUpper();
    for (const auto &[searched, field] : texts) {
        if (!searched)
            continue;
        if ((fields.matchCase ? field : field.toUpper()).contains(wanted, Qt::CaseSensitive))
            return true;
    }
    return false;
}

QString FoundItem::path() const
{
    if (block.size() < qsizetype(sizeof(ItemInfo)))
        return {};
    return fixedText(reinterpret_cast<const ItemInfo *>(block.constData())->path);
}

namespace
{

// An item name stored relative to the photos folder, written out in full. A name too long for
// the field written out stays relative to the user folder (which holds the photos folder), as
// the album's own load does, rather than being cut.
void makeNameAbsolute(ItemInfo &info, const QString &photos)
{
    const QString absolute = joinPath(photos, fixedText(info.path));
    if (!setFixedText(info.path, absolute))
        setFixedText(info.path, QDir(userFolder()).relativeFilePath(absolute));
}

FoundItem foundItem(BlockHandle block, const AttachmentRecord &attachment, const QString &photos)
{
    const auto *info = static_cast<const ItemInfo *>(blockLock(block));
    const std::size_t size = std::min(blockSize(block), sizeof(ItemInfo) + info->dataSize);
    FoundItem found;
    found.block = QByteArray(static_cast<const char *>(blockLock(block)), qsizetype(size));
    found.attachment = attachment;
    auto *copy = reinterpret_cast<ItemInfo *>(found.block.data());
    if (copy->pathIsRelative == 1) {
        makeNameAbsolute(*copy, photos);
        copy->pathIsRelative = 0;
    }
    return found;
}

bool samePath(const QString &a, const QString &b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

std::vector<FoundItem> searchAlbums(const SearchRequest &request, Progress *progress)
{
    std::vector<FoundItem> found;
    const QString photos = photosFolder();
    const qsizetype count = std::min<qsizetype>(request.albumPaths.size(), kMaxSearchAlbums);
    for (qsizetype index = 0; index < count; ++index) {
        const QString &path = request.albumPaths.at(index);
        if (progress) {
            progress->setText(path);
            progress->setPosition(int(index));
        }
        if (samePath(path, request.targetPath))
            continue;
        RawAlbum album;
        if (!readAlbumRawFile(path, album))
            continue;
        const QList<BlockHandle> &blocks = album.thumbnails;
        const QList<AttachmentRecord> &attachments = album.attachments;
        for (qsizetype item = 0; item < blocks.size(); ++item) {
            const BlockHandle block = blocks.at(item);
            if (!isBlockHandle(block))
                continue;
            const auto *info = static_cast<const ItemInfo *>(blockLock(block));
            if (itemMatchesSearch(*info, request.text, request.fields))
                found.push_back(foundItem(block, attachments.value(item), photos));
        }
    }
    return found;
}

int appendFoundItems(CAlbumDoc &document, const std::vector<FoundItem> &found)
{
    int added = 0;
    CAlbumDoc::ChangeBatch batch(document);
    for (const FoundItem &item : found) {
        const BlockHandle block = blockAlloc(0, std::size_t(item.block.size()));
        if (!isBlockHandle(block))
            break;
        std::memcpy(blockLock(block), item.block.constData(), std::size_t(item.block.size()));
        auto albumItem = std::make_unique<AlbumItem>(block, item.path());
        albumItem->setAttachmentName(fixedText(item.attachment.name));
        albumItem->setAttachmentPath(fixedText(item.attachment.path));
        if (document.insertItem(std::move(albumItem)) == 1)
            ++added;
    }
    return added;
}

QString searchAlbumPath(
    const QString &entry, const QString &albumsFolder, const QString &outsidePath)
{
    if (entry.endsWith(QLatin1Char('*')))
        return outsidePath;
    return albumFileForEntry(albumsFolder, entry);
}

} // namespace glimmerix
