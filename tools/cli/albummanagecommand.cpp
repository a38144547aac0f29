// glimix-cli album rename | copy | delete | properties | copy-files: album management from the
// command line, with the same rules and messages as the album window's commands.

#include "albummanagecommand.h"

#include "albumcommandsupport.h"
#include "clicommand.h"

#include "album/albumdoc.h"
#include "album/albumfilecopy.h"
#include "album/albumfolders.h"
#include "album/albummanagement.h"
#include "core/appsettings.h"
#include "platform/fillin.h"

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

const QString kPermanently = QStringLiteral("--permanently");

// --permanently: files no Trash can take are deleted for good instead of kept.
WithoutTrash withoutTrashOption(QStringList &args)
{
    return args.removeAll(kPermanently) > 0 ? WithoutTrash::Delete : WithoutTrash::Keep;
}

// Prints what became of the files besides the album; a file that was to go and is still there
// makes the command fail.
int reportFiles(const AlbumListChange &change, const QString &album)
{
    for (const QString &line : change.report)
        cliOut(line + u'\n');
    if (!change.filesLeft)
        return 0;
    return cliFail(album,
        QStringLiteral("some files were not deleted (%1 deletes files no Trash can take)")
            .arg(kPermanently));
}

// rename and copy: NAME NEWNAME [--replace] [--permanently].
int renameOrCopy(const QStringList &args, bool copying)
{
    QStringList rest = args;
    const bool replace = rest.removeAll(QStringLiteral("--replace")) > 0;
    const WithoutTrash withoutTrash = withoutTrashOption(rest);
    if (rest.size() != 2)
        return cliUsageError(kCommand,
            QStringLiteral("%1 needs NAME NEWNAME [--replace] [%2]")
                .arg(copying ? QStringLiteral("copy") : QStringLiteral("rename"), kPermanently));
    const AlbumLocation album = locate(rest[0]);
    const QString newName = albumEntryName(rest[1]);
    const bool taken = QFileInfo::exists(albumFileForEntry(album.folder, newName));
    const AlbumListChange change = copying
        ? copyAlbum(album.folder, album.entry, newName, replace, withoutTrash)
        : renameAlbum(album.folder, album.entry, newName, taken, replace, withoutTrash);
    if (!change.succeeded) {
        for (const QString &line : change.report)
            cliOut(line + u'\n');
        const QString hint = !replace && taken ? QStringLiteral(" (--replace replaces it)")
            : change.filesLeft ? QStringLiteral(" (%1 deletes it)").arg(kPermanently)
                               : QString();
        return cliFail(album.path, change.error + hint);
    }
    for (const QString &line : change.report)
        cliOut(line + u'\n');
    cliOut(QStringLiteral("%1\n").arg(
        albumFileForEntry(album.folder, copying ? newName : change.selectEntry)));
    return 0;
}

int remove(const QStringList &args)
{
    QStringList rest = args;
    const bool withMedia = rest.removeAll(QStringLiteral("--with-media")) > 0;
    const WithoutTrash withoutTrash = withoutTrashOption(rest);
    if (rest.size() != 1)
        return cliUsageError(
            kCommand, QStringLiteral("delete needs NAME [--with-media [%1]]").arg(kPermanently));
    const AlbumLocation album = locate(rest[0]);
    QStringList media;
    if (withMedia) {
        CAlbumDoc doc;
        if (!openAlbum(doc, album))
            return 1;
        for (int index = 0; index < doc.itemCount(); ++index)
            media << doc.item(index)->absolutePath();
    }
    // The albums remembered from elsewhere: the last album the window showed.
    AppSettings &settings = appSettings();
    settings.load();
    const AlbumListChange change = deleteAlbum(album.folder, album.entry, CAlbumDoc::untitledName(),
        media, withMedia, { settings.lastFile() }, withoutTrash);
    if (!change.succeeded)
        return cliFail(album.path,
            change.error.isEmpty() ? QStringLiteral("the album cannot be deleted") : change.error);
    return reportFiles(change, album.path);
}

int properties(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(kCommand, QStringLiteral("properties needs NAME"));
    const AlbumLocation album = locate(args[0]);
    CAlbumDoc doc;
    if (openAlbumForReading(doc, album.path).isEmpty())
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
    cliOut(
        fillIn(QStringLiteral("%1 %2, %3 failed\n"), countedText(outcome.copied, u"file", u"files"),
            move ? QStringLiteral("moved") : QStringLiteral("copied"), outcome.failed));
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
    if (name == QLatin1String("rename") || name == QLatin1String("copy"))
        return renameOrCopy(rest, name == QLatin1String("copy"));
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
        "album rename NAME NEWNAME [--replace] [--permanently]\n"
        "                                 rename an album; an album of the new name is replaced\n"
        "                                 only with --replace and goes to the Trash\n"
        "album copy NAME NEWNAME [--replace] [--permanently]\n"
        "                                 copy an album (an existing one as for rename)\n"
        "album delete NAME [--with-media [--permanently]]\n"
        "                                 delete an album; --with-media moves its media files to\n"
        "                                 the Trash, except those other albums use, and lists\n"
        "                                 each file's fate; --permanently deletes files no Trash\n"
        "                                 can take instead of keeping them\n"
        "album properties NAME            path, file size, items, caption and media bytes\n"
        "album copy-files NAME FOLDER [--move]\n"
        "                                 copy (or move) the album's files and the album to "
        "FOLDER");
}
