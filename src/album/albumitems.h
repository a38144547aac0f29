#pragma once

#include "albumitem.h"
#include "core/settingssections.h"
#include "drivetype.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace glimmerix
{

class Progress;

// Keys of sorting.
// DateTaken is when a picture was taken, read from the files at sort time (the album keeps no
// date taken); an item whose file gives none sorts by its file time.
enum class SortKey {
    FileName = 0,
    Extension = 1,
    FileSize = 2,
    FileTime = 3,
    Description = 4,
    DateTaken = 5,
};

// Normal runs sizes and texts up and times newest first; Reversed turns that round.
enum class SortDirection { Normal = 0, Reversed = 1 };

// Whether an operation changed the items (and so told the listeners).
enum class ItemsChange { Unchanged, Changed };

enum class InsertResult {
    Inserted,
    Refused, // no item, or an item without a record
    Duplicate, // another item has its absolute path; the item was destroyed
};

// The ordered items of an album with what is counted over them: the duplicate set (absolute
// paths, exact comparison), items per kind of drive, bytes of the media files, and the
// selection. Every change goes through here, and every change tells the listeners with exactly
// one signal: itemsChanged for the list, itemChanged for one item's texts, thumbnail or
// attachment, selectionChanged for the selection. While a Batch lives, the changes are gathered
// into one signal at its end. Nothing here asks the user anything.
class AlbumItems : public QObject
{
    Q_OBJECT
public:
    explicit AlbumItems(QObject *parent = nullptr);
    ~AlbumItems() override;

    int count() const { return int(m_items.size()); }
    // The item at `index`, or nullptr when out of range.
    AlbumItem *at(int index) const;
    bool containsAbsolutePath(const QString &absolutePath) const
    {
        return m_absolutePaths.contains(absolutePath);
    }
    // Index of the last item whose path equals `path` exactly, or -1.
    int findByPath(const QString &path) const;
    qint64 mediaBytes() const { return m_mediaBytes; }
    int driveCount(DriveKind kind) const;

    // Inserts `item` before `position` (-1 or beyond the end: appends), counting its file's
    // drive kind and size as they are now.
    InsertResult insert(std::unique_ptr<AlbumItem> item, int position = -1);
    // The same with the drive kind and size already known (a load finds them for many at once).
    InsertResult insertCounted(
        std::unique_ptr<AlbumItem> item, int position, DriveKind drive, qint64 bytes);
    // Removes item `index` and hands it back; nullptr when out of range.
    std::unique_ptr<AlbumItem> take(int index);
    // Removes and destroys item `index`.
    ItemsChange remove(int index);
    // Puts `item` in the place of item `index`. Duplicate (the item destroyed, nothing changes)
    // when another item has its path; Refused when `index` or `item` is unusable.
    InsertResult replace(int index, std::unique_ptr<AlbumItem> item);
    // Removes every item.
    ItemsChange clear();
    // `order[i]` is the current index of the item that goes to place i; anything that is not a
    // permutation of every index is refused (false, nothing changes).
    bool reorder(const std::vector<int> &order);
    // Moves the selected items to `target` (drag-and-drop within the album): the unselected
    // items before it, then (when a selected item came from above) the target item itself, then
    // the selected items in their order, then the rest. -1 does nothing; a target past the end
    // is the last item.
    ItemsChange moveSelectedTo(int target);
    // The order of a selection sort that swaps in place (the first among equals wins). With
    // `current`, the index it holds follows its item. `progress` (may be null) steps once per item
    // while the dates taken are read.
    ItemsChange sort(
        SortKey key, SortDirection direction, int *current = nullptr, Progress *progress = nullptr);
    // Sets one of item `index`'s texts, cut to its field.
    ItemsChange setText(int index, ItemField field, const QString &text);
    // Gives item `index` a new thumbnail block (the old one is freed); its texts are kept.
    ItemsChange setThumbnail(int index, BlockHandle thumbnail);
    // Sets both attachment strings of item `index`.
    ItemsChange setAttachment(int index, const QString &name, const QString &path);
    // Sets only the attachment path of item `index`, keeping its name.
    ItemsChange setAttachmentPath(int index, const QString &path);

    ItemsChange setSelected(int index, bool selected);
    ItemsChange selectAll();
    ItemsChange selectNone();
    int selectedCount() const;

    // While a batch is alive no signal goes out; when the last batch ends, one itemsChanged tells
    // of every change to the items (or one selectionChanged when only the selection changed).
    class Batch
    {
    public:
        explicit Batch(AlbumItems &items);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;
        // Tells the listeners now of the changes so far, so a long batch fills a grid as it
        // goes; the end of the batch then tells only of later changes.
        void tellNow();

    private:
        AlbumItems &m_items;
    };

Q_SIGNALS:
    // The list changed: items came, went or moved (every view redraws).
    void itemsChanged();
    // Item `index`'s texts, thumbnail or attachment changed (its cell redraws).
    void itemChanged(int index);
    void selectionChanged();

private:
    enum class Kind { Items, Item, Selection };
    void changed(Kind kind, int index = -1);
    void flushBatch();
    void takeOrder(std::vector<std::unique_ptr<AlbumItem>> &reordered, bool moved);

    std::vector<std::unique_ptr<AlbumItem>> m_items;
    QSet<QString> m_absolutePaths;
    std::array<int, kDriveCounterCount> m_driveCounts {};
    qint64 m_mediaBytes = 0;
    int m_batchDepth = 0;
    bool m_batchItems = false;
    bool m_batchSelection = false;
};

} // namespace glimmerix
