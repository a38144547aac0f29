#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace glimmerix
{

// Which other albums still use an album's media files, so that deleting an album "with its
// media" never takes a photo another album shows.

// The albums looked through: every album file of `albumsFolder` and `moreAlbums` (the albums the
// program remembers from elsewhere), without `exceptAlbum` (the album being deleted) and
// without duplicates.
QStringList albumsToLookThrough(
    const QString &albumsFolder, const QStringList &moreAlbums, const QString &exceptAlbum);

// For each of `files` that an album of `albums` uses (as an item or an attached sound): the
// file, as given, and the path of the first album that uses it. An album that cannot be read is
// passed over.
QHash<QString, QString> filesUsedByAlbums(const QStringList &files, const QStringList &albums);

} // namespace glimmerix
