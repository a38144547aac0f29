// glimix-cli album rename | copy | delete | properties | copy-files: album management from the
// command line, with the same rules and messages as the album window's commands.

#include "albummanagecommand.h"

#include "albumcommandsupport.h"
#include "clicommand.h"

#include "album/albumdoc.h"
#include "album/albumfilecopy.h"
#include "album/albumfolders.h"
#include "album/albummanagement.h"

#include <QFileInfo>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("album");

// An album argument as its folder and list entry: a name stands for the albums folder.
struct AlbumLocation {
    QString folder;
    QString entry;
    QString path;
};

AlbumLocation locate(const QString &argument)
{
    const QString path = albumPathForArgument(argument);
    const QFileInfo info(path);
    return { info.absolutePath(), albumEntryName(info.fileName()), path };
}

bool openAlbum(CAlbumDoc &doc, const AlbumLocation &album)
{
    return !openAlbumForCli(doc, album.path).isEmpty();
}

int rename(const QStringList &args)
{
    if (args.size() != 2)
        return cliUsageError(kCommand, QStringLiteral("rename needs NAME NEWNAME"));
    const AlbumLocation album = locate(args[0]);
    const QString newName = albumEntryName(args[1]);
    const bool taken = QFileInfo::exists(albumFileForEntry(album.folder, newName));
    const AlbumListChange change = renameAlbum(album.folder, album.entry, newName, taken);
    if (!change.succeeded)
        return cliFail(album.path, change.error);
    cliOut(QStringLiteral("%1\n").arg(albumFileForEntry(album.folder, change.selectEntry)));
    return 0;
}

int copy(const QStringList &args)
{
    if (args.size() != 2)
        return cliUsageError(kCommand, QStringLiteral("copy needs NAME NEWNAME"));
    const AlbumLocation album = locate(args[0]);
    const QString newName = albumEntryName(args[1]);
    const AlbumListChange change = copyAlbum(album.folder, album.entry, newName);
    if (!change.succeeded)
        return cliFail(album.path, change.error);
    cliOut(QStringLiteral("%1\n").arg(albumFileForEntry(album.folder, newName)));
    return 0;
}

int remove(const QStringList &args)
{
    QStringList rest = args;
    const bool withMedia = rest.removeAll(QStringLiteral("--with-media")) > 0;
    if (rest.size() != 1)
        return cliUsageError(kCommand, QStringLiteral("delete needs NAME [--with-media]"));
    const AlbumLocation album = locate(rest[0]);
    QStringList media;
    if (withMedia) {
        CAlbumDoc doc;
        if (!openAlbum(doc, album))
            return 1;
        for (int index = 0; index < doc.itemCount(); ++index)
            media << doc.item(index)->absolutePath();
    }
    const AlbumListChange change
        = deleteAlbum(album.folder, album.entry, CAlbumDoc::untitledName(), media, withMedia);
    if (!change.succeeded)
        return cliFail(album.path,
            change.error.isEmpty() ? QStringLiteral("the album cannot be deleted") : change.error);
    return 0;
}

int properties(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(kCommand, QStringLiteral("properties needs NAME"));
    const AlbumLocation album = locate(args[0]);
    CAlbumDoc doc;
    if (!openAlbum(doc, album))
        return 1;
    const AlbumProperties properties
        = albumProperties(album.folder, album.entry, CAlbumDoc::untitledName(), album.path,
            doc.itemCount(), doc.albumCaption(), doc.mediaBytes());
    cliOut(QStringLiteral("path: %1\nfile size: %2\nitems: %3\ncaption: %4\nmedia: %5\n")
               .arg(properties.path, properties.fileSizeText(), properties.itemCountText(),
                   properties.caption, properties.mediaBytesText()));
    return 0;
}

int copyFiles(const QStringList &args)
{
    QStringList rest = args;
    const bool move = rest.removeAll(QStringLiteral("--move")) > 0;
    if (rest.size() != 2)
        return cliUsageError(kCommand, QStringLiteral("copy-files needs NAME FOLDER [--move]"));
    const AlbumLocation album = locate(rest[0]);
    CAlbumDoc doc;
    if (!openAlbum(doc, album))
        return 1;
    const CopyFilesOutcome outcome = copyAlbumFiles(doc, rest[1], move);
    cliOut(QStringLiteral("%1 files %2, %3 failed\n")
               .arg(outcome.copied)
               .arg(move ? QStringLiteral("moved") : QStringLiteral("copied"))
               .arg(outcome.failed));
    if (!outcome.albumCopy.isEmpty())
        cliOut(QStringLiteral("album copied to %1\n").arg(outcome.albumCopy));
    return outcome.succeeded ? 0 : 1;
}

} // namespace

bool isAlbumManageSubcommand(const QString &name)
{
    static const QStringList names = { QStringLiteral("rename"), QStringLiteral("copy"),
        QStringLiteral("delete"), QStringLiteral("properties"), QStringLiteral("copy-files") };
    return names.contains(name);
}

int runAlbumManageSubcommand(const QStringList &args)
{
    if (args.isEmpty())
        return cliUsageError(kCommand, QStringLiteral("missing sub-command"));
    const QString name = args.first();
    const QStringList rest = args.mid(1);
    if (name == QLatin1String("rename"))
        return rename(rest);
    if (name == QLatin1String("copy"))
        return copy(rest);
    if (name == QLatin1String("delete"))
        return remove(rest);
    if (name == QLatin1String("properties"))
        return properties(rest);
    if (name == QLatin1String("copy-files"))
        return copyFiles(rest);
    return cliUsageError(kCommand, QStringLiteral("unknown sub-command %1").arg(name));
}

QString albumManageUsage()
{
    return QStringLiteral(
        "album rename NAME NEWNAME        rename an album (replacing an album of that name)\n"
        "album copy NAME NEWNAME          copy an album (replacing an album of that name)\n"
        "album delete NAME [--with-media] delete an album, with --with-media its media files too\n"
        "album properties NAME            path, file size, items, caption and media bytes\n"
        "album copy-files NAME FOLDER [--move]\n"
        "                                 copy (or move) the album's files and the album to "
        "FOLDER");
}
