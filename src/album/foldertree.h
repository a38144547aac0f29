#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace glimmerix
{

// Reading a whole folder tree for import and for finding moved files.

struct TreeProblem {
    QString path;
    QString problem;
};

struct FolderTreeWalk {
    // The files wanted, absolute and in path order (each folder's entries by name, a sub-folder's
    // files at the sub-folder's place), each path as seen inside the tree.
    QStringList files;
    // What could not be read or was not followed, each named once: an unreadable folder, a name
    // that is not valid UTF-8 (no album can hold it), a link out of the tree or back into a folder
    // already read (a loop), a broken link.
    QList<TreeProblem> problems;
    bool cancelled = false;
};

// Walks `root` and every sub-folder below it, hidden folders (".name") left out. A symbolic link
// is followed only to a place inside the tree and never to a folder already read, so a loop ends.
// `wanted` decides for each regular file (given its absolute path) whether it is listed. A file or
// folder that disappears while the tree is read is passed over without a problem: it is not
// there. `keepGoing`, when given, is asked with each folder as it is entered and every 256 files;
// false stops the walk (cancelled is set, what was found so far is kept).
FolderTreeWalk walkFolderTree(const QString &root,
    const std::function<bool(const QString &path)> &wanted,
    const std::function<bool(const QString &folder)> &keepGoing = {});

} // namespace glimmerix
