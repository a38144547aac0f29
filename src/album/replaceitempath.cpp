#include "replaceitempath.h"

#include "albumdoc.h"
#include "albumformat.h"
#include "albumitem.h"
#include "core/messageids.h"
#include "importer.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/textlimits.h"

#include <cstring>
#include <memory>

namespace glimmerix
{

namespace
{

// The item that would stand in place of item `index`, pointing at `path`, with the thumbnail
// `makeThumbnail` gives and the old item's texts, sound and selection; nullptr when refused.
template<typename MakeThumbnail>
std::unique_ptr<AlbumItem> itemWithThumbnail(
    CAlbumDoc &document, int index, const QString &path, MakeThumbnail makeThumbnail)
{
    AlbumItem *old = document.item(index);
    if (!old || path.isEmpty())
        return nullptr;
    if (!pathFitsField(path)) {
        host().showMessage(Message::kPathTooLong, { path });
        return nullptr;
    }
    const QString absolute = absoluteItemPath(path);
    if (absolute != old->absolutePath() && document.containsAbsolutePath(absolute))
        return nullptr;
    const BlockHandle thumbnail = makeThumbnail(*old);
    if (!isBlockHandle(thumbnail))
        return nullptr;
    auto item = std::make_unique<AlbumItem>(thumbnail, path);
    if (ItemInfo *info = item->editableInfo(); info && old->info()) {
        std::copy(std::begin(old->info()->caption), std::end(old->info()->caption), info->caption);
        std::copy(
            std::begin(old->info()->keywords), std::end(old->info()->keywords), info->keywords);
        std::copy(std::begin(old->info()->description), std::end(old->info()->description),
            info->description);
    }
    item->setAttachmentName(old->attachmentName());
    item->setAttachmentPath(old->attachmentPath());
    item->setSelected(old->isSelected());
    return item;
}

} // namespace

BlockHandle thumbnailNaming(const AlbumItem &item, const QString &path)
{
    const ItemInfo *record = item.info();
    const QByteArray bitmap = item.thumbnailBitmap();
    if (!record || item.thumbnailLost())
        return 0;
    OwnedBlock copy(blockAlloc(0, sizeof(ItemInfo) + record->dataSize));
    if (!copy)
        return 0;
    std::memcpy(copy.data(), record, sizeof(ItemInfo));
    std::memcpy(copy.data() + sizeof(ItemInfo), bitmap.constData(), std::size_t(bitmap.size()));
    auto *info = reinterpret_cast<ItemInfo *>(copy.data());
    setFixedText(info->path, path);
    info->pathIsRelative = 0;
    return copy.release();
}

std::unique_ptr<AlbumItem> itemWithPath(CAlbumDoc &document, int index, const QString &path)
{
    return itemWithThumbnail(
        document, index, path, [&](const AlbumItem &) { return thumbnailForFile(path); });
}

std::unique_ptr<AlbumItem> relinkedItem(CAlbumDoc &document, int index, const QString &path)
{
    return itemWithThumbnail(
        document, index, path, [&](const AlbumItem &old) { return thumbnailNaming(old, path); });
}

bool replaceItemPath(CAlbumDoc &document, int index, const QString &path)
{
    std::unique_ptr<AlbumItem> item = itemWithPath(document, index, path);
    return item && document.replaceItem(index, std::move(item)) == 1;
}

bool relinkItemPath(CAlbumDoc &document, int index, const QString &path)
{
    std::unique_ptr<AlbumItem> item = relinkedItem(document, index, path);
    return item && document.replaceItem(index, std::move(item)) == 1;
}

} // namespace glimmerix
