#pragma once

#include <QDateTime>
#include <QString>

namespace glimmerix
{

// The desktop's list of recently used files ($XDG_DATA_HOME/recently-used.xbel, the bookmark
// file file managers and launchers read). A file is added or, when listed, marked used again;
// what other programs listed stays as it was. The file is written whole through a temporary
// file and renamed, so a reader never sees half of it; a file that cannot be read as a bookmark
// file is left alone. The list keeps at most kRecentlyUsedLimit files, the least recently
// changed going first (other programs' files among them, as every program using the list
// does).

inline constexpr int kRecentlyUsedLimit = 500;

struct RecentlyUsedApp {
    QString name; // "Glimmerix"
    QString exec; // the command line with %u for the file, "'glimix %u'"
};

// The bookmark file's path.
QString recentlyUsedPath();

// Adds `file` (an absolute path) of `mimeType` as used by `app` at `when` to the bookmark file
// at `bookmarkFile`, keeping at most `limit` files. Returns an empty string on success, else the
// file and the cause.
QString addToRecentlyUsed(const QString &bookmarkFile, const QString &file, const QString &mimeType,
    const RecentlyUsedApp &app, const QDateTime &when = QDateTime::currentDateTimeUtc(),
    int limit = kRecentlyUsedLimit);

} // namespace glimmerix
