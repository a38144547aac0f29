#pragma once

#include "foldertree.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace glimmerix
{

class CAlbumDoc;

// Finding the files of an album's items that have moved: for every item whose file is gone, the
// files of a folder tree with the same name and size.

// An item whose file is gone, as its record knows it.
struct MissingItem {
    int index = -1;
    QString path;
    QString fileName;
    qint64 size = 0; // as the record keeps it (capped at the record's 32-bit limit)
    qint64 fileTime = 0; // the file's modification time in the record, seconds since 1970 UTC
};

// A file of the searched tree.
struct RelinkFile {
    QString path;
    qint64 size = 0;
    qint64 modified = 0; // seconds since 1970 UTC
};

struct RelinkEntry {
    int index = -1;
    QString oldPath;
    // One: the proposed new path. Several: ambiguous, listed and never chosen. None: not found.
    QStringList candidates;
    // The one candidate fits another missing item too: ambiguous as well.
    bool shared = false;

    bool isProposal() const { return candidates.size() == 1 && !shared; }
};

struct RelinkPlan {
    QList<RelinkEntry> entries; // one per missing item, in album order
    QList<TreeProblem> problems; // what the tree walk could not read
    bool cancelled = false;

    int proposed() const;
    int ambiguous() const;
    int notFound() const;
    // One line per item: "OLD -> NEW", "OLD: ambiguous: A | B" (for a shared candidate "OLD:
    // ambiguous: NEW fits another item too"), "OLD: not found".
    QStringList lines() const;
};

// Matches each missing item with the files of the same name and size. When several match, those
// whose modification time is the item record's file time are kept if that leaves exactly one (a
// move keeps the time, a copy may not); otherwise all stay listed as ambiguous.
QList<RelinkEntry> planRelink(const QList<MissingItem> &missing, const QList<RelinkFile> &files);

// The items of `document` whose files are gone.
QList<MissingItem> missingItems(const CAlbumDoc &document);

// Walks `root` (walkFolderTree) for files named like a missing item and plans them.
RelinkPlan findMovedFiles(const CAlbumDoc &document, const QString &root,
    const std::function<bool(const QString &folder)> &keepGoing = {});

// Points every proposal (isProposal) at its candidate (relinkItemPath: thumbnails and texts kept)
// in one change batch; other items are not touched. Returns how many were relinked.
int applyRelink(CAlbumDoc &document, const QList<RelinkEntry> &entries);
// The same as one undo step named `text` on the document's undo stack (nothing is pushed when
// no entry could be relinked).
int applyRelinkAsStep(CAlbumDoc &document, const QList<RelinkEntry> &entries, const QString &text);

} // namespace glimmerix
