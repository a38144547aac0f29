#include "mediausers.h"

#include "albumdoc.h"
#include "albumfile.h"
#include "albumformat.h"
#include "albummanagement.h"
#include "core/folders.h"
#include "imaging/blockmemory.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace glimmerix
{

namespace
{

// One spelling for one file: links and "." or ".." parts resolved where the file exists.
QString fileKey(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// The files album `albumPath` uses, read without its lock and without loading the pictures.
QSet<QString> filesOfAlbum(const QString &albumPath)
{
    QSet<QString> files;
    RawAlbum album;
    if (!readAlbumRawFile(albumPath, album))
        return files;
    const QString photos = photosFolder();
    for (const BlockHandle block : album.thumbnails) {
        if (!isBlockHandle(block))
            continue;
        const auto *info = static_cast<const ItemInfo *>(blockLock(block));
        const QString path = fixedText(info->path);
        files.insert(
            fileKey(absoluteItemPath(info->pathIsRelative == 1 ? joinPath(photos, path) : path)));
    }
    for (const AttachmentRecord &attachment : album.attachments) {
        const QString path = fixedText(attachment.path);
        if (!path.isEmpty())
            files.insert(fileKey(absoluteItemPath(path)));
    }
    return files;
}

} // namespace

QStringList albumsToLookThrough(
    const QString &albumsFolder, const QStringList &moreAlbums, const QString &exceptAlbum)
{
    QStringList albums;
    QSet<QString> seen { fileKey(exceptAlbum) };
    const QStringList names
        = QDir(albumsFolder)
              .entryList({ u'*' + QLatin1String(kAlbumExtension) }, QDir::Files, QDir::Name);
    QStringList candidates;
    for (const QString &name : names)
        candidates << joinPath(albumsFolder, name);
    candidates += moreAlbums;
    for (const QString &album : std::as_const(candidates)) {
        if (album.isEmpty() || !QFileInfo(album).isFile())
            continue;
        const QString key = fileKey(album);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        albums << album;
    }
    return albums;
}

QHash<QString, QString> filesUsedByAlbums(const QStringList &files, const QStringList &albums)
{
    QHash<QString, QString> used;
    QHash<QString, QString> wanted; // key -> the file as given
    for (const QString &file : files)
        wanted.insert(fileKey(file), file);
    for (const QString &album : albums) {
        if (wanted.isEmpty())
            break;
        const QSet<QString> albumFiles = filesOfAlbum(album);
        for (auto it = wanted.begin(); it != wanted.end();) {
            if (albumFiles.contains(it.key())) {
                used.insert(it.value(), album);
                it = wanted.erase(it);
            } else {
                ++it;
            }
        }
    }
    return used;
}

} // namespace glimmerix
