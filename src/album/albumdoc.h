#pragma once

#include "albumformat.h"
#include "albumitem.h"
#include "albumitems.h"
#include "albumsave.h"
#include "core/settingssections.h"
#include "drivetype.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUndoStack>

#include <array>
#include <memory>
#include <vector>

class QIODevice;

namespace glimmerix
{

class AlbumLock;

// The album document: the ordered list of items, the album's texts and the flags that steer
// reading and writing. One album is open at a time. Views listen to the signals; the document
// never touches a widget.
//
// Item operations return 1 for success, 0 for failure and -2 for a file already in the album.
class CAlbumDoc : public QObject
{
    Q_OBJECT
public:
    explicit CAlbumDoc(QObject *parent = nullptr);
    ~CAlbumDoc() override;

    // ---- items
    // The items themselves: every change to them goes through the model, which tells the views
    // and marks this document modified.
    AlbumItems &items() { return m_items; }
    const AlbumItems &items() const { return m_items; }
    int itemCount() const { return m_items.count(); }
    // The item at `index`, or nullptr when out of range.
    AlbumItem *item(int index) const { return m_items.at(index); }
    // Makes the file's thumbnail and item and inserts it at `position` (-1: at the end). With
    // `problem`, why the file could not be read goes there instead of into a message box.
    int addFile(const QString &path, int position = -1, QString *problem = nullptr);
    // Inserts `item` before `position` (-1 or beyond the end: appends). An item whose absolute
    // path is already present is destroyed and -2 returned; no item (or one without a thumbnail
    // block) gives 0.
    int insertItem(std::unique_ptr<AlbumItem> item, int position = -1);
    // Removes and destroys item `index`; with `deleteFile` also deletes its media file (message
    // 50334 when that fails). Returns the item count before removal.
    int removeItem(int index, bool deleteFile);
    void removeSelected(bool deleteFile);
    // Removes item `index` from the album and hands it to the caller (an undo step keeps it to
    // put it back with insertItem). nullptr when out of range. Marks modified, views redraw.
    std::unique_ptr<AlbumItem> takeItem(int index);
    // Puts the items in a new order: `order[i]` is the current index of the item that goes to
    // place i. Refuses (false, nothing changes) anything that is not a permutation of every
    // index. Returns true when the order was taken; marks modified and views redraw when it
    // differs.
    bool reorderItems(const std::vector<int> &order);
    // Whether an item's absolute path is `absolutePath` (exact comparison).
    bool containsAbsolutePath(const QString &absolutePath) const
    {
        return m_items.containsAbsolutePath(absolutePath);
    }
    // Index of the last item whose path equals `path` exactly, or -1.
    int findItemByPath(const QString &path) const { return m_items.findByPath(path); }
    // Reorders the items by `key` (0-5, SortKey); `direction` 1 reverses the order. Returns 1 when
    // any item moved. The current item stays current at its new position.
    int sortItems(int key, int direction);
    // Index -1: the album caption; otherwise the item's description. With `set` the text is
    // stored (and the document marked modified when it differs); without, it is copied out.
    void itemText(int index, QString &text, bool set);
    // Sets one of item `index`'s texts (cut to its field). When it differs, the document is marked
    // modified and the item's cell redraws.
    void setItemText(int index, ItemField field, const QString &text);
    // Gives item `index` a new thumbnail block (the old one is freed); its texts are kept. The
    // document is marked modified and the item's cell redraws.
    void setItemThumbnail(int index, BlockHandle thumbnail);
    // Puts `item` in the place of item `index`. Returns 1, or -2 (the item is destroyed and
    // nothing changes) when another item has its path, 0 when `index` or `item` is unusable.
    // Every view redraws.
    int replaceItem(int index, std::unique_ptr<AlbumItem> item);
    // While a batch is alive, the items may change many times; when the last batch ends and
    // anything changed, the document tells every view once.
    class ChangeBatch
    {
    public:
        explicit ChangeBatch(CAlbumDoc &document)
            : m_batch(document.m_items)
        {
        }
        // Tells every view now about the changes so far, so a long batch fills the grid as it
        // goes; the end of the batch then tells them only of later changes.
        void tellViewsNow() { m_batch.tellNow(); }

    private:
        AlbumItems::Batch m_batch;
    };
    // Sets both attachment strings of item `index` (-1: the last item).
    void attachFile(int index, const QString &name, const QString &path);
    // Sets only the attachment path of item `index`, keeping its name.
    void setAttachmentPath(int index, const QString &path);
    // Moves the selected items to position `target` in the list (drag-and-drop within the album):
    // the unselected items before it, then (when a selected item came from above) the target item
    // itself, then the selected items in their order, then the rest. -1 does nothing; a target
    // past the end is the last item. The document is marked modified and every view redraws.
    // Returns whether the order changed.
    bool moveSelectedTo(int target);
    void selectAll() { m_items.selectAll(); }
    void selectNone() { m_items.selectNone(); }
    int selectedCount() const { return m_items.selectedCount(); }
    // Total size of the items' media files (64-bit: an album easily exceeds 4 GB).
    qint64 mediaBytes() const { return m_items.mediaBytes(); }
    int driveCount(DriveKind kind) const { return m_items.driveCount(kind); }

    // The undo steps of the open album (album/albumundo.h). They survive a save and are dropped
    // when another album is opened or a new one started.
    QUndoStack &undoStack() { return m_undoStack; }

    // ---- view state the document needs (the view owns it and keeps this copy current)
    int currentItem() const { return m_currentItem; }
    void setCurrentItem(int index);

    // ---- album texts and flags
    QString albumCaption() const { return m_albumCaption; }
    const AlbumFileHeader &header() const { return m_header; }
    QString lastCopyDestination() const { return m_lastCopyDestination; }
    // The album file keeps it, so a new one marks the album modified.
    void setLastCopyDestination(const QString &folder);
    QString addFilesFolder() const { return m_addFilesFolder; }
    void setAddFilesFolder(const QString &folder) { m_addFilesFolder = folder; }
    bool isModified() const { return m_modified; }
    // The album as it is now counts as unchanged: nothing to offer for saving (a private album
    // built only for viewing, an album whose managed copy was just written). Every change to the
    // items or texts marks the document modified again.
    void markClean() { setModified(false); }
    bool singleItemStoring() const { return m_singleItemStoring; }
    void setSingleItemStoring(bool on) { m_singleItemStoring = on; }
    bool isEmbedded() const { return m_embedded; }
    void setEmbedded(bool embedded) { m_embedded = embedded; }
    bool loadCancelled() const { return m_loadCancelled; }

    // ---- document lifecycle
    // The document's path: the album file, or the untitled name for a new album.
    QString pathName() const { return m_pathName; }
    bool isUntitled() const;
    // Full path of the album file last opened or saved under a name.
    QString openedPath() const { return m_openedPath; }
    static QString untitledName();
    // Destroys every item and clears the caption.
    void deleteContents();
    bool onNewDocument();
    // Opens the album at `path`; false when it cannot be opened or names the "NEW" pseudo-album.
    bool onOpenDocument(const QString &path);
    // Writes the album to `path` atomically: the previous file survives any failure, a file that
    // is not an album is never written over, and the first save over a damaged album keeps the
    // damaged file beside it as NAME.gmx.damaged. The album's lock is taken (and kept) first.
    bool onSaveDocument(const QString &path);
    // Why the last open or save failed, in plain words ("the disk is full", "album is in use").
    QString lastError() const { return m_lastError; }
    // Saves under albums folder + `name` + ".gmx" and makes that the document's path.
    bool saveAs(const QString &name);
    // Offers unsaved changes for saving; false when the user cancels.
    bool saveModified();
    // The Save command: an untitled album asks for a name (Save As), any other is saved in place.
    bool save();
    // The Sort command's work after its dialog: sorts, marks the document modified, redraws.
    void sortCommand(int key, int direction);

    // What the album list should do after a change of its entry.
    enum class AlbumListOutcome { Ignored, Switched, RestoreEntry };
    // The album list's entry became `entry`: the untitled name starts a new album, a name ending
    // in "*" reopens `lastOutsidePath` (the last album opened from outside the albums folder),
    // any other name opens that album of the albums folder. An unsaved untitled album is offered
    // for saving first (message 50325). Changes arriving while one is handled are ignored.
    AlbumListOutcome onAlbumListChange(const QString &entry, const QString &lastOutsidePath);

    // ---- the album file
    // Writes the album ("1.3") to `device`; false when a write fails or a thumbnail bitmap left in
    // the album file can no longer be read from it (`problem` then says why).
    bool store(QIODevice &device, QString *problem = nullptr) const;
    // The device filter the next saves write through (tests fail the disk with it).
    void setSaveDeviceFilter(SaveDeviceFilter filter) { m_saveFilter = std::move(filter); }
    // What the last load found.
    struct LoadReport {
        bool refused = false; // not an album, or an unknown version: nothing was read
        bool damaged = false; // cut short, impossible item count, cut bitmaps, a path twice
        std::uint32_t declared = 0; // items the header claims
        int recovered = 0; // items read whole (an item whose bitmap was cut is kept, not counted)
        int cutThumbnails = 0; // items whose thumbnail bitmap was cut short
    };
    const LoadReport &loadReport() const { return m_loadReport; }
    // The file the damaged original was kept as before the first save over it, or empty.
    QString damagedCopyPath() const { return m_damagedCopy; }

    // ---- the album's lock (see AlbumLock): held from open or save until the album is let go
    bool holdsLock() const { return m_lock != nullptr; }
    // How long opening or saving waits for another process holding the album.
    void setLockWaitMs(int ms) { m_lockWaitMs = ms; }
    // For commands that only read: the album is opened without its lock, so a program writing it
    // does not hold the reader up. Saves replace the file by a rename, so what is read is always
    // the last album saved whole. Such a document is never saved.
    void setReadOnly(bool on) { m_readOnly = on; }
    // Reads the album from `device` into this (emptied) document.
    void load(QIODevice &device);
    // Whether loads show progress: off for the first load of the run, then on.
    static bool loadShowsProgress();
    static void setLoadShowsProgress(bool on);

    // ---- enable rules of the album commands
    bool canSort() const { return itemCount() > 1; }
    bool canSave() const { return m_modified; }
    bool canPrint() const { return itemCount() > 0; }

Q_SIGNALS:
    // Every view should redraw (the update-all-views step).
    void itemsChanged();
    // One item's cell should redraw.
    void itemChanged(int index);
    // Items were selected or deselected through the model.
    void selectionChanged();
    // The main frame's album list should repaint.
    void albumListRepaint();
    // The view's current item is now `index` (-1: none).
    void currentItemChanged(int index);
    // The album list and view should point at `path` (an album path or the untitled name).
    void albumPathChanged(const QString &path);
    // A load found an unknown version: the main window should start a new album.
    void newAlbumRequested();
    void modifiedChanged(bool modified);
    // The recent-file list should learn `path`.
    void recentFileAdded(const QString &path);

private:
    void setModified(bool modified = true);
    // The model changed: marks modified (not for a selection change) and tells the views.
    void connectItems();
    void setCaption(const QString &caption);
    void readItems(QIODevice &device, const AlbumFileHeader &header);
    // Refuses a file without the album signature (the unknown-version path); true when refused.
    bool refuseNonAlbum(QIODevice &device, const QByteArray &head);
    void reportDamage();
    // Takes the lock of `path` unless already held; false (with lastError set) when in use.
    bool lockAlbum(const QString &path);
    // Before the first save over a damaged album: keeps the file as NAME.gmx.damaged.
    bool keepDamagedOriginal(const QString &path);
    void releaseAlbum();

    bool m_singleItemStoring = false;
    QString m_lastCopyDestination;
    bool m_loadCancelled = false;
    AlbumItems m_items;
    QString m_albumCaption;
    QString m_openedPath;
    AlbumFileHeader m_header = makeAlbumHeader();

    QString m_pathName;
    QString m_addFilesFolder;
    bool m_modified = false;
    bool m_embedded = false;
    int m_currentItem = -1;
    bool m_handlingListChange = false;

    LoadReport m_loadReport;
    QString m_loadPath; // the file being loaded, for messages
    QString m_damagedCopy;
    QString m_lastError;
    SaveDeviceFilter m_saveFilter;
    std::shared_ptr<AlbumLock> m_lock;
    int m_lockWaitMs;
    bool m_readOnly = false;
    QUndoStack m_undoStack;
};

} // namespace glimmerix
