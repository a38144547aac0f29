#pragma once

#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "platform/host.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace glimmerix
{

// Which wizard the picking runs for: the slide show takes still pictures only and adds its
// player to the size estimate.
enum class PickingMode { SlideShow = 0, WebAlbum = 1 };

// An item chosen for a web album or slide show: its working copy, its attached sound and the
// album item (which outlives the wizard), whose record and thumbnail bitmap the products read.
// The record is asked for each time: it moves when the item reads its bitmap into a block.
struct ChosenItem {
    QString path;
    QString sound;
    const AlbumItem *item = nullptr;
    const ItemInfo *info() const { return item ? item->info() : nullptr; }
};

// One line of the picking lists: its entry name and the album item it stands for.
struct PickEntry {
    QString name;
    AlbumItem *item = nullptr;
};

// The model of the first page of the product wizards: the album's items, the chosen entries,
// the working copies of their media files in the working folder with a running size estimate,
// and the chosen-item records the later pages read. Messages go through host(); long refreshes
// report to the Progress they are given (nullptr: none).
class ItemPicker
{
public:
    // Works in `workingFolder` (with a trailing '/').
    ItemPicker(PickingMode mode, const QString &workingFolder);
    // With delete-on-close set, deletes every working copy and extra file, then the working
    // folder when it is left empty.
    ~ItemPicker();
    ItemPicker(const ItemPicker &) = delete;
    ItemPicker &operator=(const ItemPicker &) = delete;

    // The entry name for an item named `itemName`: the name without its extension, made unique
    // among `taken` (compared without regard to case) as "%s_%i" with 1, 2, 3, ...
    static QString entryName(const QString &itemName, const QStringList &taken);

    // Every activation of the page. The first lists the album's present items (still pictures,
    // of every type the album reads, only for a slide show), notes whether any has a sound, copies
    // the album header and sets the convert flag; later ones take the slide show's player allowance
    // back out.
    void activate(const CAlbumDoc &document);
    bool activated() const { return m_activated; }

    PickingMode mode() const { return m_mode; }
    const QList<PickEntry> &allEntries() const { return m_all; }
    QStringList allNames() const;
    const QStringList &chosen() const { return m_chosen; }

    // Add the all-items entries at `indexes` (those not chosen yet), then refresh with progress;
    // a cancelled refresh takes them out again. False when cancelled.
    bool add(const QList<int> &indexes, Progress *progress);
    bool addAll(Progress *progress);
    // Remove the chosen entries at `indexes`, then refresh without progress.
    void remove(const QList<int> &indexes);
    void removeAll();
    // Inverts the convert flag and refreshes with progress.
    bool toggleConvert(Progress *progress);
    bool convert() const { return m_convert; }

    // Makes the working copies of the chosen entries and recomputes the size estimate. False
    // when the user cancelled (the size text then stays as it was).
    bool refresh(Progress *progress);

    // Next: false (message 50485) when nothing is chosen; otherwise rebuilds the chosen-item
    // records in the order of the chosen list. A slide show also needs its player copied: when
    // that fails (the player is not installed, the disk is full) message 59121 names the cause,
    // no copy is left behind and the page stays.
    bool next();

    // Where a slide show's player is copied from: the installed "slide.bin" unless set (tests).
    void setPlayerSource(const QString &path) { m_playerSource = path; }

    const QList<ChosenItem> &chosenItems() const { return m_items; }
    const QString &workingFolder() const { return m_folder; }
    qint64 sizeEstimate() const { return m_estimate; }
    // What the size field shows: "0 " or the estimate in thousands of bytes, "%i ".
    const QString &sizeText() const { return m_sizeText; }
    bool soundFlag() const { return m_sound; }
    const AlbumFileHeader &albumHeader() const { return m_header; }
    const QStringList &workingCopies() const { return m_copies; }
    const QStringList &extraFiles() const { return m_extra; }
    void addExtraFile(const QString &path);
    // Takes `path` off the extra-file list (the caller deletes the file).
    void removeExtraFile(const QString &path) { m_extra.removeAll(path); }

    bool deleteOnClose() const { return m_deleteOnClose; }
    void setDeleteOnClose(bool on) { m_deleteOnClose = on; }

    // Text field `field` (1 caption, 2 keywords, 3 description) of the item whose entry name
    // equals the base name of `path` without regard to case; the last such entry wins; empty
    // when none matches.
    QString fieldText(const QString &path, int field) const;

    // The working copy of `entry`: the entry name plus ".JPG" for a still picture of the album's
    // own types while converting, else plus the media file's extension. A picture of today's
    // types that a browser cannot show (HEIF, AVIF, JPEG XL, camera RAW), and in a slide show any
    // picture of today's types, always becomes an upright JPEG: NAME.jpg (NAME.JPG in a slide
    // show). Empty when the file has no extension and is not converted.
    QString workingCopyPath(const PickEntry &entry) const;

    // Files that could not be copied or converted during the last refresh, "FILE: cause".
    const QStringList &problems() const { return m_problems; }

private:
    const PickEntry *findEntry(const QString &name) const;
    bool isChosen(const QString &name) const;
    void noteCopy(const QString &path, qint64 itemBytes);
    bool makeWorkingCopy(const PickEntry &entry, const QString &copy);

    PickingMode m_mode;
    QString m_folder;
    QList<PickEntry> m_all;
    QStringList m_chosen;
    QList<ChosenItem> m_items;
    QStringList m_copies;
    QStringList m_extra;
    QStringList m_problems;
    QString m_playerSource;
    AlbumFileHeader m_header {};
    QString m_sizeText = QStringLiteral("0 ");
    qint64 m_estimate = 0;
    bool m_convert = true;
    bool m_sound = false;
    bool m_activated = false;
    bool m_deleteOnClose = true;
};

// The slide show's player: its file in the program folder and its size allowance.
inline constexpr const char *kSlideShowPlayer = "slide.bin";
inline constexpr qint64 kSlideShowPlayerBytes = 118784;

} // namespace glimmerix
