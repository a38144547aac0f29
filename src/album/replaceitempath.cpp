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

// Points item `index` at `path` with the thumbnail `makeThumbnail` gives (0: refused).
template<typename MakeThumbnail>
bool replacePath(CAlbumDoc &document, int index, const QString &path, MakeThumbnail makeThumbnail)
{
    AlbumItem *old = document.item(index);
    if (!old || path.isEmpty())
        return false;
    if (!pathFitsField(path)) {
        host().showMessage(Message::kPathTooLong, { path });
        return false;
    }
    const QString absolute = absoluteItemPath(path);
    if (absolute != old->absolutePath() && document.containsAbsolutePath(absolute))
        return false;
    const BlockHandle thumbnail = makeThumbnail(*old);
    if (!isBlockHandle(thumbnail))
        return false;
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
    return document.replaceItem(index, std::move(item)) == 1;
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

bool replaceItemPath(CAlbumDoc &document, int index, const QString &path)
{
    return replacePath(
        document, index, path, [&](const AlbumItem &) { return thumbnailForFile(path); });
}

bool relinkItemPath(CAlbumDoc &document, int index, const QString &path)
{
    return replacePath(
        document, index, path, [&](const AlbumItem &old) { return thumbnailNaming(old, path); });
}

} // namespace glimmerix
