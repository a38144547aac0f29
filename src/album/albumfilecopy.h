#pragma once

#include "albummanagement.h"

namespace glimmerix
{

class CAlbumDoc;

// What copying an album's files to a folder did.
struct CopyFilesOutcome {
    bool succeeded = false; // the files were handled and the album saved and copied
    int copied = 0; // media files copied (or moved)
    int failed = 0; // media or attachment files that could not be copied
    QString albumCopy; // where the album file was copied, empty when it was not
    // Files that met a file of their name in the destination: that file was kept and the copy
    // took a free name (one line each, naming both).
    QStringList renamed;
};

// Copies (with `move`, moves) the media files and attached sounds of `doc` into `destination`
// (made when missing). Nothing is copied, and message 50367 warns, when `freeSpace` says the
// destination holds less than the media bytes plus 10000. Each copied item then names its copy
// (drive counters and media bytes follow); a copy that fails shows the system's reason and the
// item keeps its file. Two items with the same file name get distinct names in the destination,
// and no file already there is overwritten: a file with the same bytes serves as the copy, any
// other keeps its name and the copy takes a free one (listed in `renamed` and shown). Then the
// destination becomes the album's last copy destination, the album is saved (a named album
// only) and its file is copied to the destination (an album file of that name there goes to the
// Trash). When moving, the source files are deleted only after all that succeeded: until the
// saved album names the copies, the originals stay.
CopyFilesOutcome copyAlbumFiles(CAlbumDoc &doc, const QString &destination, bool move,
    const FreeSpaceQuery &freeSpace = freeSpaceOf);

// `fileName` in `folder`, made distinct from every path in `taken` by " (2)", " (3)", ...
// before the extension.
QString distinctDestination(
    const QString &folder, const QString &fileName, const QSet<QString> &taken);

} // namespace glimmerix
