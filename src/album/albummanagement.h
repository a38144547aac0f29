#pragma once

#include "core/commandids.h"
#include "core/messageids.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace glimmerix
{

// Album management: renaming, copying, deleting and describing the albums of the albums folder,
// and copying an album's media files to another folder. The functions work on files and report
// through host(); they never touch a widget. What the album list (control 32785) has to do
// afterwards comes back as an AlbumListChange that the main window applies.

inline constexpr const char *kAlbumExtension = ".gmx";

// What the album list should do after a command: take entries out, put entries in, select one
// entry and, when asked, switch the open album to it through the album list's change rule.
// `selectEntry` always names an entry that is in the list afterwards.
struct AlbumListChange {
    bool succeeded = false;
    QStringList removedEntries;
    QStringList addedEntries;
    QString selectEntry;
    bool switchAlbum = false;
    QString error; // why the command failed, in plain words (for the command line)
    // What became of files besides the album itself (a replaced album, media files), one line
    // each: "moved to the Trash: FILE", "kept, used by ALBUM: FILE", "deleted: FILE", ...
    QStringList report;
    bool filesLeft = false; // a file that was to go is still there (no Trash, or an error)
};

// What becomes of a file that no Trash can take (it lies on a disk without a trash folder):
// it stays, it is deleted for good, or the user is asked once for all such files (default No).
enum class WithoutTrash { Keep, Delete, Ask };

// Moves `files` to the Trash (platform/trash.h); the ones no Trash can take are deleted when
// `withoutTrash` says so. Adds one line per file to `report` and returns the files still there.
// With `trashedAs`, each file that went to the Trash is mapped to its place there (the way back).
QStringList trashOrDelete(const QStringList &files, WithoutTrash withoutTrash, QStringList &report,
    QHash<QString, QString> *trashedAs = nullptr);

// The name an album has in the list: `name` without a trailing ".gmx" (any letter case).
QString albumEntryName(const QString &name);
// The album file of list entry `entry`: albums folder + entry + ".gmx", or the file there whose
// extension is ".gmx" in other letters (an album copied as TRIP.GMX is listed as "TRIP" too).
QString albumFileForEntry(const QString &albumsFolder, const QString &entry);
// True when `name` (with or without ".gmx") can name a file in the albums folder: not empty, not
// "." or "..", no leading or trailing blank, and none of the characters that file systems the
// albums may be copied to cannot take (/ \ : * ? " < > | and control characters). A trailing
// '*' would also read as the album list's mark of an album from another folder.
bool isValidAlbumName(const QString &name);
// `name` with each character isValidAlbumName refuses replaced by '_'.
QString fileSystemSafeAlbumName(const QString &name);
// True for entries that name a file of the albums folder: not empty, not the untitled name and
// not an outside album (ending in "*"). Rename, copy and delete are offered only for these.
bool isFolderAlbumEntry(const QString &entry, const QString &untitledName);

// Copies `from` over `to` through a temporary file in the destination folder, so that a failed
// copy leaves a file already at `to` as it was. `error` receives the system's text on failure.
bool copyFileReplacing(const QString &from, const QString &to, QString *error = nullptr);

// Renames the album of list entry `current` to `enteredName` (".gmx" optional).
// `nameIsEntry` tells that the list already holds the new name. An album already under that
// name is refused unless `replace` (the caller asked the user); a replaced album goes to the
// Trash, or where none can take it as `withoutTrash` says. Failure shows message 50359 and
// leaves the list on `current`. Renaming an album to its own name changes nothing.
AlbumListChange renameAlbum(const QString &albumsFolder, const QString &current,
    const QString &enteredName, bool nameIsEntry, bool replace = false,
    WithoutTrash withoutTrash = WithoutTrash::Keep);

// Copies the album of list entry `current` to `enteredName`; a new name is added to the list.
// An album already under that name is replaced only with `replace`, and goes to the Trash as
// for renameAlbum. The list stays on `current` (no switch: the open album is unchanged).
// Failure shows message 50361.
AlbumListChange copyAlbum(const QString &albumsFolder, const QString &current,
    const QString &enteredName, bool replace = false,
    WithoutTrash withoutTrash = WithoutTrash::Keep);

// Deletes the album file of list entry `current` and, with `deleteMedia`, the files
// `mediaFiles`. A media file that another album still uses (an album of the albums folder or
// of `moreAlbums`, the albums remembered from elsewhere) is kept; the others go to the Trash,
// or where none can take them as `withoutTrash` says (a file that cannot be deleted shows
// message 50334). `report` lists each media file's fate. The album file goes first: when it
// cannot be deleted (message 50363) the media files are left alone. Either way the list
// switches to the untitled album; success also removes the entry.
AlbumListChange deleteAlbum(const QString &albumsFolder, const QString &current,
    const QString &untitledName, const QStringList &mediaFiles, bool deleteMedia,
    const QStringList &moreAlbums = {}, WithoutTrash withoutTrash = WithoutTrash::Keep);

// What the properties dialog shows.
struct AlbumProperties {
    QString path;
    qint64 fileSize = 0;
    int itemCount = 0;
    QString caption;
    qint64 mediaBytes = 0;

    QString fileSizeText() const;
    QString itemCountText() const;
    QString mediaBytesText() const;
};

// The properties of list entry `entry`: its file in the albums folder, or `outsidePath` for an
// entry ending in "*"; the untitled album has no file (its path is the untitled name, size 0).
AlbumProperties albumProperties(const QString &albumsFolder, const QString &entry,
    const QString &untitledName, const QString &outsidePath, int itemCount, const QString &caption,
    qint64 mediaBytes);

// Bytes free for an unprivileged user in the file system that holds `folder` (the nearest
// existing folder when `folder` does not exist yet); -1 when it cannot be told.
using FreeSpaceQuery = std::function<qint64(const QString &folder)>;
qint64 freeSpaceOf(const QString &folder);

// Space a copy of the album's files needs: the media bytes plus 10000 bytes for the album file.
inline constexpr qint64 kCopyFilesReserve = 10000;
inline bool enoughSpaceForCopy(qint64 freeBytes, qint64 mediaBytes)
{
    return freeBytes >= 0 && freeBytes >= mediaBytes + kCopyFilesReserve;
}

} // namespace glimmerix
