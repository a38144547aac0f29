#include "replaceitempath.h"

#include "albumdoc.h"
#include "albumformat.h"
#include "albumitem.h"
#include "core/messageids.h"
#include "importer.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/textlimits.h"

#include <memory>

namespace glimmerix
{

bool replaceItemPath(CAlbumDoc &document, int index, const QString &path)
{
    std::unique_ptr<AlbumItem> item = itemWithPath(document, index, path);
    return item && document.replaceItem(index, std::move(item)) == 1;
}

std::unique_ptr<AlbumItem> itemWithPath(CAlbumDoc &document, int index, const QString &path)
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
    const BlockHandle thumbnail = thumbnailForFile(path);
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

} // namespace glimmerix
