#pragma once

#include <QString>
#include <QStringList>

namespace glimmerix
{

// The entries of the main window's album list: the albums in the albums folder by display name
// (sorted), the entry for a new untitled album, and the album opened from another folder marked
// with a trailing "*".
struct AlbumListModel {
    QStringList entries;
    int selected = 0;
    // The album the list now stands for: a full album path, or the untitled entry's text.
    QString currentName;
};

// Builds the list from `albumsFolder`'s "*.gmx" files. `untitled` is the new-album entry's text,
// `externalPath` the album opened from outside the albums folder (empty: none), `currentName` the
// album to select (a path or a name, with or without ".gmx"); with none, entry 0 is selected.
AlbumListModel buildAlbumList(const QString &albumsFolder, const QString &untitled,
    const QString &externalPath, const QString &currentName);

// The album path an entry stands for: the untitled text as it stands, the remembered outside
// album for an entry ending in "*", else albums folder + entry + ".gmx".
QString albumPathForEntry(const QString &entry, const QString &albumsFolder,
    const QString &untitled, const QString &externalPath);

// The arguments that start a new program window on the album of `entry`: none for the untitled
// entry, else the album's path.
QStringList newWindowArguments(const QString &entry, const QString &albumsFolder,
    const QString &untitled, const QString &externalPath);

} // namespace glimmerix
