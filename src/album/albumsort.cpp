// Sorting the album: the order of a selection sort that swaps in place (for each position the
// most extreme remaining item, the first among equals, is swapped into it). The same order is
// reached in O(n log n) with a tournament tree over positions, so large albums sort quickly.

#include "albumitems.h"
#include "media/clipfacts.h"
#include "platform/host.h"

#include <QCollator>
#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace glimmerix
{

namespace
{

struct SortKeys {
    std::vector<QString> texts;
    std::vector<std::int64_t> numbers;
};

// Seconds since 1970 of the item's file as it is now, or as the record remembers it when the
// file is gone.
std::int64_t fileTimeOf(const AlbumItem &item)
{
    const QFileInfo file(item.absolutePath());
    const ItemInfo *info = item.info();
    return file.exists()
        ? std::clamp<qint64>(file.lastModified().toSecsSinceEpoch(), 0, 0xFFFFFFFFll)
        : (info ? info->fileTime : 0);
}

// When the picture was taken, in seconds since 1970 (a date without an offset is taken as local
// time), or its file time when the file gives no date. A clip's date taken is the creation time
// its container records.
std::int64_t takenTimeOf(const AlbumItem &item)
{
    if (item.info()) {
        const PictureFacts facts = readMediaFacts(item.absolutePath());
        if (facts.taken.isValid())
            return facts.taken.toSecsSinceEpoch();
    }
    return fileTimeOf(item);
}

QString fileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// Tournament tree: every node holds the position of the winning entry in its range.
class Tournament
{
public:
    Tournament(int count, std::function<bool(int, int)> better, const std::vector<int> &order)
        : m_count(count)
        , m_better(std::move(better))
        , m_order(&order)
    {
        m_size = 1;
        while (m_size < count)
            m_size *= 2;
        m_tree.assign(std::size_t(2 * m_size), -1);
        for (int i = 0; i < count; ++i)
            m_tree[std::size_t(m_size + i)] = i;
        for (int node = m_size - 1; node >= 1; --node)
            m_tree[std::size_t(node)]
                = pick(m_tree[std::size_t(2 * node)], m_tree[std::size_t(2 * node + 1)]);
    }

    // Position of the winner among positions first..count-1.
    int winnerFrom(int first) const
    {
        int best = -1;
        int low = first + m_size;
        int high = m_count - 1 + m_size;
        // Bottom-up range query; `pick` breaks ties by position, so order of visits is free.
        while (low <= high) {
            if (low % 2 == 1)
                best = pick(best, m_tree[std::size_t(low++)]);
            if (high % 2 == 0)
                best = pick(best, m_tree[std::size_t(high--)]);
            low /= 2;
            high /= 2;
        }
        return best;
    }

    // The entries at positions a and b of the order have been swapped.
    void swapped(int a, int b)
    {
        refresh(a);
        refresh(b);
    }

private:
    int pick(int a, int b) const
    {
        if (a < 0)
            return b;
        if (b < 0)
            return a;
        const int ea = (*m_order)[std::size_t(a)];
        const int eb = (*m_order)[std::size_t(b)];
        if (m_better(ea, eb))
            return a;
        if (m_better(eb, ea))
            return b;
        return a < b ? a : b;
    }
    void refresh(int position)
    {
        int node = (position + m_size) / 2;
        while (node >= 1) {
            m_tree[std::size_t(node)]
                = pick(m_tree[std::size_t(2 * node)], m_tree[std::size_t(2 * node + 1)]);
            node /= 2;
        }
    }

    int m_count;
    int m_size = 1;
    std::function<bool(int, int)> m_better;
    std::vector<int> m_tree;
    const std::vector<int> *m_order;
};

} // namespace

ItemsChange AlbumItems::sort(
    SortKey sortKey, SortDirection direction, int *current, Progress *progress)
{
    const int count = this->count();
    if (count < 2 || int(sortKey) < 0 || sortKey > SortKey::DateTaken)
        return ItemsChange::Unchanged;
    SortKeys keys;
    bool textKey = false;
    switch (sortKey) {
    case SortKey::FileName:
    case SortKey::Extension:
    case SortKey::Description:
        textKey = true;
        keys.texts.reserve(std::size_t(count));
        for (const auto &entry : m_items) {
            const ItemInfo *info = entry->info();
            const QString path = info ? fixedText(info->path) : QString();
            if (sortKey == SortKey::FileName)
                keys.texts.push_back(fileNamePart(path));
            else if (sortKey == SortKey::Extension)
                keys.texts.push_back(path.right(3));
            else
                keys.texts.push_back(info ? fixedText(info->description) : QString());
        }
        break;
    case SortKey::FileSize:
        for (const auto &entry : m_items) {
            const ItemInfo *info = entry->info();
            keys.numbers.push_back(info ? info->fileSize : 0);
        }
        break;
    case SortKey::FileTime:
        for (const auto &entry : m_items)
            keys.numbers.push_back(fileTimeOf(*entry));
        break;
    case SortKey::DateTaken: {
        // Every picture file is opened for its date, which takes a while in a large album.
        for (const auto &entry : m_items) {
            keys.numbers.push_back(takenTimeOf(*entry));
            if (progress) {
                progress->step();
                progress->pumpEvents();
            }
        }
        break;
    }
    }

    // Which of two items (by original index) is more extreme for this key and direction.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    // Sizes and texts run up with direction 0; times run newest first with direction 0.
    const bool wantLarger = sortKey == SortKey::FileTime || sortKey == SortKey::DateTaken
        ? direction == SortDirection::Normal
        : direction != SortDirection::Normal;
    std::function<bool(int, int)> better;
    if (textKey) {
        better = [&](int a, int b) {
            const int order
                = collator.compare(keys.texts[std::size_t(a)], keys.texts[std::size_t(b)]);
            return wantLarger ? order > 0 : order < 0;
        };
    } else {
        better = [&](int a, int b) {
            const std::int64_t ka = keys.numbers[std::size_t(a)];
            const std::int64_t kb = keys.numbers[std::size_t(b)];
            return wantLarger ? ka > kb : ka < kb;
        };
    }

    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        order[std::size_t(i)] = i;
    Tournament tournament(count, better, order);
    bool moved = false;
    for (int i = 0; i < count - 1; ++i) {
        const int winner = tournament.winnerFrom(i);
        if (winner != i) {
            std::swap(order[std::size_t(i)], order[std::size_t(winner)]);
            tournament.swapped(i, winner);
            moved = true;
        }
    }
    if (!moved)
        return ItemsChange::Unchanged;

    if (current) {
        const auto found = std::find(order.begin(), order.end(), *current);
        *current = found == order.end() ? -1 : int(found - order.begin());
    }
    reorder(order);
    return ItemsChange::Changed;
}

} // namespace glimmerix
