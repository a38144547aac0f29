#pragma once

#include "itempicker.h"
#include "responsivealbum.h"
#include "responsivemanifest.h"
#include "webalbumhtml.h"
#include "webalbumoptions.h"

#include "platform/host.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace glimmerix
{

class AppSettings;

// Everything the generator needs besides the chosen items.
struct WebAlbumSetup {
    WebAlbumOptions options;
    std::array<QString, 3> fieldLabels; // caption, keywords, description; no trailing ':'
    PageTexts texts;
    QString supportFolder; // theme pictures as NAME.log
    QString programFolder; // the credit logo, the viewer and the icon pictures
    int workers = 0; // thumbnail workers; 0: one per core the process may use
    // The responsive theme: a folder holding an earlier site of it (the destination when it is
    // replaced); the pictures of unchanged items are taken from there instead of being made.
    QString earlierSite;
};

// The setup with the bundle's texts, and the user's field labels and folders from `settings`.
WebAlbumSetup defaultWebAlbumSetup(const WebAlbumOptions &options, const AppSettings &settings);

// Makes a web album from the picker's chosen items in the picker's working folder: the thumbnail
// pass (thumbnails and full pictures, on every core, listed in the items' order), the pages with
// their theme pictures and credit logo, and the delivery into a folder. Every file made is kept
// in the output list in the order of making. Files that cannot be read or written are reported
// in problems() ("FILE: cause") and leave their item out; nothing is thrown.
class WebAlbumGenerator
{
public:
    WebAlbumGenerator(const ItemPicker &picker, WebAlbumSetup setup);

    // The thumbnail pass over the chosen items, reporting to `progress` (nullptr: none). False
    // when the user cancelled; what was made until then stays listed.
    bool makeThumbnails(Progress *progress);
    // Writes album1.html, album2.html, ... from the thumbnails made. False when a page could not
    // be written: the pages before it stay, the failed one is removed.
    bool writePages();
    // Delivers every listed file into `folder` under its own name by the folder rule of
    // deliverPackage: a missing or empty folder, or an earlier web album's when `replaceEarlier`.
    // False (with the problem noted) when the folder is refused or a file cannot be copied; the
    // folder is then left as it was.
    bool deliverToFolder(const QString &folder, bool replaceEarlier = false);
    // Deletes the listed files (and AutoRun.inf when asked) from the working folder and empties
    // the list.
    void cleanWorkingFolder(bool removeAutoRun);

    int thumbnailCount() const { return int(m_cells.size()); }
    int pageCount() const;
    int pagesWritten() const { return m_pagesWritten; }
    const QList<AlbumCell> &cells() const { return m_cells; }
    // The responsive theme's items, in page order (empty for the other themes).
    const QList<ResponsiveEntry> &entries() const { return m_entries; }
    const QStringList &outputs() const { return m_outputs; }
    const QStringList &problems() const { return m_problems; }
    const QString &workingFolder() const { return m_folder; }
    // The viewer program a CD gets as "WebAlbum.exe" (catalog.bin of the program folder).
    QString viewerSource() const { return m_setup.programFolder + QStringLiteral("/catalog.bin"); }

    // The result of one item of the thumbnail pass.
    struct ItemResult {
        QString thumbnail; // path of the thumbnail made, empty when none
        QSize size;
        QString full; // path of the full picture or working copy the cell links to
        QString problem; // "FILE: cause" when the item is left out
        bool download = false; // a clip browsers cannot play: the link offers the file
        bool onCallerThread = false; // needs the user-interface thread (icons, video frames)
        // The responsive theme: what the item shows and every picture file made for it.
        ResponsiveEntry responsive;
        QStringList made;
        QString signature; // what the pictures were made from (responsivemanifest.h)
    };

private:
    ItemResult makeItem(int index, bool callerThread) const;
    ItemResult makeResponsiveItem(int index, BlockHandle picture, bool still, bool playable) const;
    std::optional<ItemResult> reusedResponsiveItem(int index) const;
    ItemResult finishResponsiveItem(int index, ItemResult result, bool still, bool playable) const;
    void takeItem(int index, ItemResult &&result);
    void takeResponsiveItem(int index, ItemResult &&result);
    bool writeResponsivePages();
    void copyThemePicture(const QString &name);
    void addOutput(const QString &path);

    const ItemPicker &m_picker;
    WebAlbumSetup m_setup;
    QString m_folder;
    QList<AlbumCell> m_cells;
    QList<ResponsiveEntry> m_entries;
    QList<QString> m_signatures; // of m_entries, for the site's manifest
    ResponsiveManifest m_earlier; // of the earlier site, read before the thumbnail pass
    QStringList m_outputs;
    QStringList m_problems;
    int m_pagesWritten = 0;
    bool m_logoPending = true;
};

} // namespace glimmerix
