#pragma once

#include "imaging/blockmemory.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace glimmerix
{

class AcquireCounterStore;
class CAlbumDoc;
struct AcquireNaming;
struct AcquireSettings;

// Turning media files into thumbnails and items.

// Callers that gather the problems of many files pass `problem`: then a failure is described
// there ("the file is empty", "the picture cannot be read") instead of in a message box.

// The picture file itself as an image block for its thumbnail, turned upright by its EXIF
// orientation; 0 after message 54017 (cannot be read) or 54001.
BlockHandle openPictureForThumbnail(const QString &path, QString *problem = nullptr);
// The same for an identified still picture. The album's types read as above; every other type
// through loadMediaPicture, a failure naming its cause. With `fullSize` the picture is read for
// a thumbnail: a smaller one may stand in (the file's embedded thumbnail, or just the pixels the
// thumbnail takes) and `fullSize` receives the main picture's size; without, the whole picture.
BlockHandle openPictureForThumbnail(
    const MediaFile &file, QString *problem, MediaPictureSize *fullSize = nullptr);
// The picture that stands for a media file (a relative path resolves against the user folder):
// the picture, a clip's first frame, or an icon picture, with the shell icon and "unknown.log" as
// the last resorts. A picture file that is there but cannot be read gives 0: an icon would
// stand for a picture that cannot be shown.
BlockHandle pictureForFile(const QString &path, QString *problem = nullptr);
// The same for an identified file (its path absolute); `fullSize` as for openPictureForThumbnail.
BlockHandle pictureForFile(
    const MediaFile &file, QString *problem, MediaPictureSize *fullSize = nullptr);
// The thumbnail block for a media file (the picture made and freed here); 0 on failure.
BlockHandle thumbnailForFile(const QString &path, QString *problem = nullptr);
// Why `path` cannot become an item before any decoding: missing, a folder, unreadable, empty.
// Empty when it can be tried.
QString unusableFileProblem(const QString &path);
// Remakes item `index`'s thumbnail from its file, keeping its texts. 1 when replaced.
int rebuildThumbnail(CAlbumDoc &document, int index);

// The pictures, clips and sounds of `folder` (not its sub-folders) in name order, with the
// unreadable ones and any sub-folder named like one, so that adding them reports them.
QStringList mediaFilesInFolder(const QString &folder);
// Whether `path` is one of the files adding a folder takes: a media name (or a folder named like
// one, so that adding it names the problem), or any other file whose content is media.
bool isMediaFileToAdd(const QString &path);

struct SkippedFile {
    QString path;
    QString problem;
};

struct AddFilesOutcome {
    int added = 0;
    int duplicates = 0;
    int failed = 0;
    bool cancelled = false;
    // The folder of the first file: the album's and the program's next add-photo folder.
    QString folder;
    // The files that could not be added, each with its problem (failed counts them).
    QList<SkippedFile> skipped;

    // "3 added, 2 skipped", and ", 1 already in the album" when files were passed over.
    QString summary() const;
    // The summary line, then one "path: problem" line per skipped file: one report for all.
    QString report() const;
};
// Adds one existing file at the end of the album and counts it in `outcome`; a file that cannot
// become an item is recorded with its problem. Returns addFile's result.
int addFileCounted(CAlbumDoc &document, const QString &path, AddFilesOutcome &outcome);
// Counts addFile's `result` for `path` in `outcome`; a failure is recorded with `problem` (or
// "cannot be added" when that is empty).
void countAddResult(
    AddFilesOutcome &outcome, const QString &path, int result, const QString &problem);
// Adds existing files at the end of the album with a progress window (Cancel stops before the
// next file), the thumbnails made on every core (addFilesInOrder); duplicates are passed over. The
// first file's folder becomes the album's Add-files folder; the caller stores it as the program's
// add-photo folder. Views are told once at the end. Files that could not be added are shown in one
// report (AddFilesOutcome::report).
AddFilesOutcome addFiles(CAlbumDoc &document, const QStringList &paths);

// Saves an acquired picture (kept by the caller) under the next acquired-file name through the
// image file layer, makes its thumbnail and item and appends it; views are told. Returns 1 on
// success, 0 when the picture could not be saved or the item not made.
int addInMemoryPicture(CAlbumDoc &document, BlockHandle picture, const AcquireNaming &naming,
    AcquireCounterStore &counters, const QDate &today);
// The same with the given acquire settings, GLIMIX.INI and today's date.
int addInMemoryPicture(CAlbumDoc &document, BlockHandle picture, const AcquireSettings &settings);

} // namespace glimmerix
