#pragma once

#include "foldertree.h"
#include "importer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace glimmerix
{

class CAlbumDoc;
class Progress;

// Importing a whole folder tree: the files of the tree in path order, minus those the album
// already has by path, minus those whose content the album (or an earlier file of the tree)
// already has under another path; the rest added as Add Files adds them.

struct SameContentFile {
    QString path; // the file of the tree, not added
    QString sameAs; // the file in the album (or earlier in the tree) with the same bytes
};

struct TreeImportPlan {
    QStringList toAdd;
    int alreadyInAlbum = 0;
    QList<SameContentFile> sameContent;
};

// Sorts the walked `files` for `document`: a path the album has counts as already there; a file
// with the size and hash (SHA-1 of all its bytes) of an album item's file or of an earlier file
// of the list is held back as the same content. Hashes are made only for files whose size
// another file has. `keepGoing` is asked before each file; false leaves the rest unplanned.
TreeImportPlan planTreeImport(const CAlbumDoc &document, const QStringList &files,
    const std::function<bool()> &keepGoing = {});

struct TreeImportOutcome {
    // added, already in the album (duplicates), and the unreadable files with their causes
    // (skipped: the tree's problems, then the files that could not become items).
    AddFilesOutcome files;
    QList<SameContentFile> sameContent;
    int walked = 0; // media files found in the tree

    // "12 added, 3 already in the album, 2 the same picture under another path, 1 unreadable",
    // and ", cancelled" when it was.
    QString summary() const;
};

// Walks `root` (walkFolderTree: media files only), plans (planTreeImport) and adds the planned
// files at the end of the album in order (addFilesInOrder, one change batch, views told as it
// goes). `progress` shows "N of M files", the folder and the time left, and its Cancel stops the
// walk or the adding; what was added stays. `added` as for addFilesInOrder.
TreeImportOutcome importFolderTree(CAlbumDoc &document, const QString &root, Progress &progress,
    const std::function<void(const QString &, int)> &added = {});

} // namespace glimmerix
