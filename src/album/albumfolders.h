#pragma once

#include <QString>

class CAlbumDoc;

// The user's album and media folders (all under the user folder), and how album arguments and
// item paths become file paths.

// userFolder()/ALBUMS: where albums live and the album list looks.
QString albumsFolder();
// userFolder()/PHOTOS: the base of item paths stored as relative.
QString photosFolder();
// Where the Add-files dialog starts: the folder the album's last Add-files ended in, else the
// program's add-photo folder, else the photos folder.
QString addFilesStartFolder(const CAlbumDoc &document);
// An album argument as a file path: a path (containing '/' or ending in ".gmx") stands as it is,
// made absolute; any other text is a name in the albums folder with ".gmx" appended.
QString albumPathForArgument(const QString &argument);
// An item path made absolute: a path that does not start with '/' is taken relative to the user
// folder.
QString absoluteItemPath(const QString &path);
