#pragma once

#include "imaging/blockmemory.h"

#include <QDate>
#include <QString>
#include <QStringList>

class AcquireCounterStore;
class CAlbumDoc;
struct AcquireNaming;
struct AcquireSettings;

// Turning media files into thumbnails and items.

// The picture file itself as an image block for its thumbnail; 0 after message 54017 (cannot be
// read) or 54001.
BlockHandle openPictureForThumbnail(const QString &path);
// The picture that stands for a media file (a relative path resolves against the user folder):
// the picture, a clip's first frame, or an icon picture, with the shell icon and "unknown.log" as
// the last resorts. 0 when nothing at all.
BlockHandle pictureForFile(const QString &path);
// The thumbnail block for a media file (the picture made and freed here); 0 on failure.
BlockHandle thumbnailForFile(const QString &path);
// Remakes item `index`'s thumbnail from its file, keeping its texts. 1 when replaced.
int rebuildThumbnail(CAlbumDoc &document, int index);

// The pictures, clips and sounds of `folder` (not its sub-folders) in name order.
QStringList mediaFilesInFolder(const QString &folder);

struct AddFilesOutcome {
    int added = 0;
    int duplicates = 0;
    int failed = 0;
    bool cancelled = false;
    // The folder of the first file: the album's and the program's next add-photo folder.
    QString folder;
};
// Adds existing files at the end of the album with a progress window (Cancel stops before the
// next file); duplicates are passed over. The first file's folder becomes the album's Add-files
// folder; the caller stores it as the program's add-photo folder. Views are told once at the end.
AddFilesOutcome addFiles(CAlbumDoc &document, const QStringList &paths);

// Saves an acquired picture (kept by the caller) under the next acquired-file name through the
// image file layer, makes its thumbnail and item and appends it; views are told. Returns 1 on
// success, 0 when the picture could not be saved or the item not made.
int addInMemoryPicture(CAlbumDoc &document, BlockHandle picture, const AcquireNaming &naming,
    AcquireCounterStore &counters, const QDate &today);
// The same with the given acquire settings, GLIMIX.INI and today's date.
int addInMemoryPicture(CAlbumDoc &document, BlockHandle picture, const AcquireSettings &settings);
