#pragma once

#include <QString>

namespace glimmerix
{

// Moving a user's file to the desktop's Trash (the freedesktop.org trash layout), so that a
// file the program deletes or replaces on the user's behalf can still be got back.
//
// A file on the file system of the home trash ($XDG_DATA_HOME/Trash, by default
// ~/.local/share/Trash) goes there; a file on another file system goes to the trash at the top
// of that file system: $topdir/.Trash/UID when $topdir/.Trash is a sticky folder and not a link,
// else $topdir/.Trash-UID (made when missing). The file is renamed into files/ under a name no
// other trashed file has, and info/NAME.trashinfo records its path and the deletion time.

enum class TrashOutcome {
    Trashed, // the file is in the Trash
    NoTrash, // no Trash can take it (no writable trash on its file system): the file is untouched
    Failed, // the file could not be moved (missing, no permission): the file is untouched
};

struct TrashResult {
    TrashOutcome outcome = TrashOutcome::Failed;
    QString trashedAs; // the file's path inside the Trash (Trashed only)
    QString reason; // why it is not in the Trash, in plain words
    bool trashed() const { return outcome == TrashOutcome::Trashed; }
};

TrashResult moveToTrash(const QString &path);

enum class RestoreOutcome {
    Restored, // the file is back at its path and its .trashinfo is gone
    Occupied, // something is at the path now: nothing was changed
    Gone, // the trashed copy is no longer in the Trash (emptied): nothing was changed
    Failed, // the file could not be moved back (no permission, folder gone): nothing was changed
};

struct RestoreResult {
    RestoreOutcome outcome = RestoreOutcome::Failed;
    QString reason; // why it is not back, in plain words
    bool restored() const { return outcome == RestoreOutcome::Restored; }
};

// The way back from moveToTrash: moves `trashedAs` (a path moveToTrash gave) to `originalPath`
// and removes its info/NAME.trashinfo. Never writes over a file that is at `originalPath` now.
RestoreResult restoreFromTrash(const QString &trashedAs, const QString &originalPath);

} // namespace glimmerix
