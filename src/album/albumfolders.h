#pragma once

#include <QString>

// The user's album and media folders (all under the user folder).

// userFolder()/ALBUMS: where albums live and the album list looks.
QString albumsFolder();
// userFolder()/PHOTOS: the base of item paths stored as relative.
QString photosFolder();
// An album argument as a file path: a path (containing '/' or ending in ".gmx") stands as it is,
// made absolute; any other text is a name in the albums folder with ".gmx" appended.
QString albumPathForArgument(const QString &argument);
// An item path made absolute: a path that does not start with '/' is taken relative to the user
// folder.
QString absoluteItemPath(const QString &path);
