#include "albumdoc.h"

namespace glimmerix
{

bool CAlbumDoc::moveSelectedTo(int target)
{
    const int count = itemCount();
    if (target < 0 || count == 0)
        return false;
    target = std::min(target, count - 1);
    const auto selected = [this](int i) { return m_items[std::size_t(i)]->isSelected(); };

    std::vector<int> order;
    order.reserve(std::size_t(count));
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
    for (int i = 0; i < count; ++i) {
        if (selected(i))
            order.push_back(i);
    }
    for (int i = target; i < count; ++i) {
        if (!selected(i))
            order.push_back(i);
    }

    bool changed = false;
    std::vector<std::unique_ptr<AlbumItem>> moved;
    moved.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        changed = changed || order[std::size_t(i)] != i;
        moved.push_back(std::move(m_items[std::size_t(order[std::size_t(i)])]));
    }
    m_items = std::move(moved);
    if (changed)
        setModified(true);
    Q_EMIT itemsChanged();
    return changed;
}

} // namespace glimmerix
