#include "albumitems.h"

#include "albumformat.h"

#include <QFileInfo>

namespace glimmerix
{

namespace
{

qint64 currentFileSize(const QString &absolutePath)
{
    const QFileInfo info(absolutePath);
    return info.exists() ? info.size() : 0;
}

} // namespace

AlbumItems::AlbumItems(QObject *parent)
    : QObject(parent)
{
}

AlbumItems::~AlbumItems() = default;

AlbumItem *AlbumItems::at(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_items[std::size_t(index)].get();
}

int AlbumItems::findByPath(const QString &path) const
{
    for (int index = count() - 1; index >= 0; --index) {
        if (m_items[std::size_t(index)]->path() == path)
            return index;
    }
    return -1;
}

int AlbumItems::driveCount(DriveKind kind) const
{
    return kind == DriveKind::None ? 0 : m_driveCounts[std::size_t(kind)];
}

void AlbumItems::changed(Kind kind, int index)
{
    if (m_batchDepth > 0) {
        if (kind == Kind::Selection)
            m_batchSelection = true;
        else
            m_batchItems = true;
        return;
    }
    switch (kind) {
    case Kind::Items:
        Q_EMIT itemsChanged();
        break;
    case Kind::Item:
        Q_EMIT itemChanged(index);
        break;
    case Kind::Selection:
        Q_EMIT selectionChanged();
        break;
    }
}

InsertResult AlbumItems::insert(std::unique_ptr<AlbumItem> item, int position)
{
    // Every other operation reads the item's record, so an item without one is refused.
    if (!item || !item->info())
        return InsertResult::Refused;
    if (m_absolutePaths.contains(item->absolutePath()))
        return InsertResult::Duplicate; // the unique_ptr destroys the item and its block
    const DriveKind drive = driveKindOf(item->absolutePath());
    const qint64 bytes = currentFileSize(item->absolutePath());
    return insertCounted(std::move(item), position, drive, bytes);
}

InsertResult AlbumItems::insertCounted(
    std::unique_ptr<AlbumItem> item, int position, DriveKind drive, qint64 bytes)
{
    if (!item || !item->info())
        return InsertResult::Refused;
    const QString absolutePath = item->absolutePath();
    if (m_absolutePaths.contains(absolutePath))
        return InsertResult::Duplicate;
    item->setCounted(drive, bytes);
    if (position < 0 || position >= count())
        m_items.push_back(std::move(item));
    else
        m_items.insert(m_items.begin() + position, std::move(item));
    m_absolutePaths.insert(absolutePath);
    if (drive != DriveKind::None)
        ++m_driveCounts[std::size_t(drive)];
    m_mediaBytes += bytes;
    changed(Kind::Items);
    return InsertResult::Inserted;
}

std::unique_ptr<AlbumItem> AlbumItems::take(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    std::unique_ptr<AlbumItem> removed = std::move(m_items[std::size_t(index)]);
    m_items.erase(m_items.begin() + index);
    if (removed->countedDrive() != DriveKind::None)
        --m_driveCounts[std::size_t(removed->countedDrive())];
    m_mediaBytes -= removed->countedBytes();
    m_absolutePaths.remove(removed->absolutePath());
    changed(Kind::Items);
    return removed;
}

ItemsChange AlbumItems::remove(int index)
{
    return take(index) ? ItemsChange::Changed : ItemsChange::Unchanged;
}

InsertResult AlbumItems::replace(int index, std::unique_ptr<AlbumItem> item)
{
    AlbumItem *old = at(index);
    if (!old || !item || !item->info())
        return InsertResult::Refused;
    if (item->absolutePath() != old->absolutePath()
        && m_absolutePaths.contains(item->absolutePath()))
        return InsertResult::Duplicate;
    // The two steps are one change to the listeners.
    const Batch batch(*this);
    take(index);
    return insert(std::move(item), index);
}

ItemsChange AlbumItems::clear()
{
    if (m_items.empty())
        return ItemsChange::Unchanged;
    m_items.clear();
    m_absolutePaths.clear();
    m_driveCounts.fill(0);
    m_mediaBytes = 0;
    changed(Kind::Items);
    return ItemsChange::Changed;
}

void AlbumItems::takeOrder(std::vector<std::unique_ptr<AlbumItem>> &reordered, bool moved)
{
    m_items = std::move(reordered);
    if (moved)
        changed(Kind::Items);
}

bool AlbumItems::reorder(const std::vector<int> &order)
{
    const std::size_t size = m_items.size();
    if (order.size() != size)
        return false;
    std::vector<bool> seen(size, false);
    for (const int from : order) {
        if (from < 0 || std::size_t(from) >= size || seen[std::size_t(from)])
            return false;
        seen[std::size_t(from)] = true;
    }
    bool moved = false;
    std::vector<std::unique_ptr<AlbumItem>> reordered;
    reordered.reserve(size);
    for (std::size_t place = 0; place < size; ++place) {
        moved = moved || std::size_t(order[place]) != place;
        reordered.push_back(std::move(m_items[std::size_t(order[place])]));
    }
    takeOrder(reordered, moved);
    return true;
}

ItemsChange AlbumItems::moveSelectedTo(int target)
{
    const int size = count();
    if (target < 0 || size == 0)
        return ItemsChange::Unchanged;
    target = std::min(target, size - 1);
    const auto selected = [this](int i) { return m_items[std::size_t(i)]->isSelected(); };

    std::vector<int> order;
    order.reserve(std::size_t(size));
    bool selectedAbove = false;
    for (int i = 0; i < target; ++i) {
        if (selected(i))
            selectedAbove = true;
        else
            order.push_back(i);
    }
    // A downward move lands after the target item.
    if (selectedAbove && !selected(target))
        order.push_back(target++);
    for (int i = 0; i < size; ++i) {
        if (selected(i))
            order.push_back(i);
    }
    for (int i = target; i < size; ++i) {
        if (!selected(i))
            order.push_back(i);
    }
    bool moved = false;
    for (int i = 0; i < size && !moved; ++i)
        moved = order[std::size_t(i)] != i;
    if (!moved)
        return ItemsChange::Unchanged;
    reorder(order);
    return ItemsChange::Changed;
}

ItemsChange AlbumItems::setText(int index, ItemField field, const QString &text)
{
    AlbumItem *target = at(index);
    ItemInfo *info = target ? target->editableInfo() : nullptr;
    if (!info)
        return ItemsChange::Unchanged;
    char *fieldText = field == ItemField::Caption ? info->caption
        : field == ItemField::Keywords            ? info->keywords
                                                  : info->description;
    const std::size_t size = field == ItemField::Caption ? sizeof info->caption
        : field == ItemField::Keywords                   ? sizeof info->keywords
                                                         : sizeof info->description;
    if (fixedText(fieldText, size) == text)
        return ItemsChange::Unchanged;
    setFixedText(fieldText, size, text);
    changed(Kind::Item, index);
    return ItemsChange::Changed;
}

ItemsChange AlbumItems::setThumbnail(int index, BlockHandle thumbnail)
{
    AlbumItem *target = at(index);
    if (!target)
        return ItemsChange::Unchanged;
    target->setThumbnail(thumbnail);
    changed(Kind::Item, index);
    return ItemsChange::Changed;
}

ItemsChange AlbumItems::setAttachment(int index, const QString &name, const QString &path)
{
    AlbumItem *target = at(index);
    if (!target)
        return ItemsChange::Unchanged;
    target->setAttachmentName(name);
    target->setAttachmentPath(path);
    changed(Kind::Item, index);
    return ItemsChange::Changed;
}

ItemsChange AlbumItems::setAttachmentPath(int index, const QString &path)
{
    AlbumItem *target = at(index);
    if (!target)
        return ItemsChange::Unchanged;
    target->setAttachmentPath(path);
    changed(Kind::Item, index);
    return ItemsChange::Changed;
}

ItemsChange AlbumItems::setSelected(int index, bool selected)
{
    AlbumItem *target = at(index);
    if (!target || target->isSelected() == selected)
        return ItemsChange::Unchanged;
    target->setSelected(selected);
    changed(Kind::Selection);
    return ItemsChange::Changed;
}

ItemsChange AlbumItems::selectAll()
{
    bool any = false;
    for (auto &entry : m_items) {
        any = any || !entry->isSelected();
        entry->setSelected(true);
    }
    if (any)
        changed(Kind::Selection);
    return any ? ItemsChange::Changed : ItemsChange::Unchanged;
}

ItemsChange AlbumItems::selectNone()
{
    bool any = false;
    for (auto &entry : m_items) {
        any = any || entry->isSelected();
        entry->setSelected(false);
    }
    if (any)
        changed(Kind::Selection);
    return any ? ItemsChange::Changed : ItemsChange::Unchanged;
}

int AlbumItems::selectedCount() const
{
    int selected = 0;
    for (const auto &entry : m_items)
        selected += entry->isSelected() ? 1 : 0;
    return selected;
}

AlbumItems::Batch::Batch(AlbumItems &items)
    : m_items(items)
{
    if (m_items.m_batchDepth++ == 0) {
        m_items.m_batchItems = false;
        m_items.m_batchSelection = false;
    }
}

AlbumItems::Batch::~Batch()
{
    if (--m_items.m_batchDepth == 0)
        m_items.flushBatch();
}

void AlbumItems::Batch::tellNow()
{
    const int depth = m_items.m_batchDepth;
    m_items.m_batchDepth = 0;
    m_items.flushBatch();
    m_items.m_batchDepth = depth;
}

void AlbumItems::flushBatch()
{
    const bool items = m_batchItems;
    const bool selection = m_batchSelection;
    m_batchItems = false;
    m_batchSelection = false;
    if (items)
        Q_EMIT itemsChanged();
    else if (selection)
        Q_EMIT selectionChanged();
}

} // namespace glimmerix
