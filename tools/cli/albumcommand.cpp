// glimix-cli album ...: scriptable album editing (make, fill, list, edit, sort, convert).

#include "albumcommandsupport.h"
#include "albummanagecommand.h"
#include "clicommand.h"

#include "album/albumfolders.h"
#include "album/albumformat.h"
#include "album/albummanagement.h"
#include "album/importer.h"
#include "album/mediakind.h"
#include "album/oldalbum.h"
#include "album/orderedimport.h"
#include "album/relink.h"
#include "album/treeimport.h"
#include "core/folders.h"
#include "media/wavefile.h"
#include "platform/fillin.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("album");

int albumNew(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(kCommand, QStringLiteral("new takes one ALBUM"));
    const QString argument = args.first();
    const QString path = albumPathForArgument(argument);
    const QFileInfo file(path);
    if (argument.trimmed().isEmpty() || albumEntryName(file.fileName()).isEmpty())
        return cliUsageError(kCommand, QStringLiteral("the album name is empty"));
    if (file.absolutePath() == QDir::cleanPath(albumsFolder())) {
        if (!isValidAlbumName(file.fileName()))
            return cliFail(argument, QStringLiteral("not a valid album name"));
        makeFolderIfMissing(albumsFolder());
    } else if (!QFileInfo(file.absolutePath()).isDir()) {
        // A path names its folder: a mistyped one must not be made.
        return cliFail(path, QStringLiteral("no such folder: %1").arg(file.absolutePath()));
    }
    if (file.exists() || file.isSymLink())
        return cliFail(path, QStringLiteral("already exists"));
    CAlbumDoc doc;
    doc.onNewDocument();
    if (!doc.onSaveDocument(path))
        return 1;
    cliOut(path + u'\n');
    return 0;
}

// Says on standard error what adding did not take as it is: a file already in the album, and a
// file taken without a picture of its own (with why it shows an icon).
void reportAddResult(const QString &file, int result)
{
    if (result == -2)
        cliErr(QStringLiteral("%1: %2 is already in the album, passed over\n")
                   .arg(cliProgramName(), file));
    if (result != 1)
        return;
    const QString reason = iconOnlyReason(identifyMediaFile(file));
    if (!reason.isEmpty())
        cliErr(QStringLiteral("%1: %2 added as an icon only: %3\n")
                   .arg(cliProgramName(), file, reason));
}

// Adds FOLDER with all its sub-folders (importFolderTree) and names on standard error what it
// passed over; the counts go into `total`.
void addFolderTree(CAlbumDoc &doc, const QString &folder, TreeImportOutcome &total)
{
    SilentProgress progress;
    const TreeImportOutcome tree = importFolderTree(doc, folder, progress, reportAddResult);
    for (const SameContentFile &same : tree.sameContent)
        cliErr(QStringLiteral("%1: %2 is the same picture as %3, passed over\n")
                   .arg(cliProgramName(), same.path, same.sameAs));
    if (tree.files.duplicates > 0)
        cliErr(fillIn(QStringLiteral("%1: %2: %3 already in the album, passed over\n"),
            cliProgramName(), folder, countedText(tree.files.duplicates, u"file", u"files")));
    AddFilesOutcome &files = total.files;
    if (tree.walked == 0 && tree.files.skipped.isEmpty())
        files.skipped.append({ folder, QStringLiteral("a folder tree without media files") });
    files.added += tree.files.added;
    files.duplicates += tree.files.duplicates;
    files.skipped += tree.files.skipped;
    files.failed = int(files.skipped.size());
    total.sameContent += tree.sameContent;
}

int albumAdd(const QStringList &args)
{
    QStringList rest = args;
    const bool recursive = rest.removeAll(QStringLiteral("--recursive")) > 0;
    if (rest.size() < 2)
        return cliUsageError(kCommand,
            QStringLiteral("add takes ALBUM and at least one FILE or FOLDER [--recursive]"));
    CAlbumDoc doc;
    const QString path = openAlbumForCli(doc, rest.first());
    if (path.isEmpty())
        return 1;
    QStringList files;
    TreeImportOutcome tree;
    AddFilesOutcome &outcome = tree.files;
    for (const QString &argument : rest.mid(1)) {
        const QFileInfo info(argument);
        if (!info.isDir()) {
            files << info.absoluteFilePath();
            continue;
        }
        if (recursive) {
            addFolderTree(doc, info.absoluteFilePath(), tree);
            continue;
        }
        const QStringList media = mediaFilesInFolder(info.absoluteFilePath());
        if (media.isEmpty()) {
            ++outcome.failed;
            outcome.skipped.append(
                { info.absoluteFilePath(), QStringLiteral("a folder without media files") });
        }
        files += media;
    }
    SilentProgress progress;
    glimmerix::addFilesInOrder(doc, files, progress, outcome, reportAddResult);
    for (const SkippedFile &skipped : std::as_const(outcome.skipped))
        cliFail(skipped.path, QStringLiteral("skipped: %1").arg(skipped.problem));
    if (doc.isModified() && !doc.onSaveDocument(path))
        return 1;
    cliOut((recursive ? tree.summary() : outcome.summary()) + u'\n');
    return outcome.failed > 0 ? 1 : 0;
}

int albumThumbnail(const QStringList &args)
{
    if (args.size() != 3)
        return cliUsageError(kCommand, QStringLiteral("thumbnail takes ALBUM INDEX OUT"));
    CAlbumDoc doc;
    if (openAlbumForReading(doc, args[0]).isEmpty())
        return 1;
    const AlbumItem *item = itemArgument(doc, args[1]);
    if (!item)
        return 1;
    return writeThumbnailPicture(*item, args[2]) ? 0 : 1;
}

// Opens ALBUM, lets `edit` change it, saves when anything changed.
template<typename Edit> int editAlbum(const QString &album, Edit edit)
{
    CAlbumDoc doc;
    const QString path = openAlbumForCli(doc, album);
    if (path.isEmpty())
        return 1;
    const int status = edit(doc);
    if (status == 0 && doc.isModified() && !doc.onSaveDocument(path))
        return 1;
    return status;
}

int albumRelink(const QStringList &args)
{
    QStringList rest = args;
    const bool dryRun = rest.removeAll(QStringLiteral("--dry-run")) > 0;
    if (rest.size() != 2)
        return cliUsageError(kCommand, QStringLiteral("relink takes ALBUM FOLDER [--dry-run]"));
    const QFileInfo folder(rest[1]);
    if (!folder.isDir())
        return cliFail(rest[1],
            folder.exists() ? QStringLiteral("not a folder") : QStringLiteral("no such folder"));
    return editAlbum(rest[0], [&](CAlbumDoc &doc) {
        const RelinkPlan plan = findMovedFiles(doc, folder.absoluteFilePath());
        for (const QString &line : plan.lines())
            cliOut(line + u'\n');
        for (const TreeProblem &problem : plan.problems)
            cliErr(QStringLiteral("%1: %2: %3\n")
                       .arg(cliProgramName(), problem.path, problem.problem));
        const int relinked = dryRun ? 0 : applyRelink(doc, plan.entries);
        cliOut(fillIn(QStringLiteral("%1 missing: %2 %3, %4 ambiguous, %5 not found\n"),
            plan.entries.size(), dryRun ? plan.proposed() : relinked,
            dryRun ? QStringLiteral("would be relinked") : QStringLiteral("relinked"),
            plan.ambiguous(), plan.notFound()));
        if (!dryRun && relinked < plan.proposed())
            return cliFail(doc.pathName(),
                QStringLiteral("%1 proposed files could not be taken")
                    .arg(plan.proposed() - relinked));
        return 0;
    });
}

int albumSetText(const QStringList &args)
{
    if (args.size() != 4)
        return cliUsageError(kCommand, QStringLiteral("set-text takes ALBUM INDEX FIELD TEXT"));
    return editAlbum(args[0], [&](CAlbumDoc &doc) {
        const int index = indexArgument(doc, args[1]);
        if (index < 0)
            return 1;
        return setItemField(doc, index, args[2], args[3]) ? 0 : 2;
    });
}

int albumSetCaption(const QStringList &args)
{
    if (args.size() != 2)
        return cliUsageError(kCommand, QStringLiteral("set-caption takes ALBUM TEXT"));
    return editAlbum(args[0], [&](CAlbumDoc &doc) {
        // An album without items is stored as its trailer alone: a caption would not be kept.
        if (doc.itemCount() == 0 && !args[1].isEmpty())
            return cliFail(
                doc.pathName(), QStringLiteral("an album without items keeps no caption"));
        QString caption = args[1];
        doc.itemText(-1, caption, true);
        return 0;
    });
}

int albumAttach(const QStringList &args)
{
    if (args.size() != 3 && args.size() != 4)
        return cliUsageError(kCommand, QStringLiteral("attach takes ALBUM INDEX SOUND [NAME]"));
    return editAlbum(args[0], [&](CAlbumDoc &doc) {
        const int index = indexArgument(doc, args[1]);
        if (index < 0)
            return 1;
        const QFileInfo sound(args[2]);
        if (!args[2].isEmpty() && !sound.isFile())
            return cliFail(args[2],
                sound.isDir() ? QStringLiteral("is a folder") : QStringLiteral("no such file"));
        const QString path = args[2].isEmpty() ? QString() : sound.absoluteFilePath();
        const QString name = args.size() == 4 ? args[3] : sound.completeBaseName();
        const QString refusal = attachmentRefusal(name, path);
        if (!refusal.isEmpty())
            return cliFail(args[2], refusal);
        // An item's sound is played and put into slide shows as a WAVE sound: anything else
        // would only fail later, in the show.
        if (!path.isEmpty()) {
            WaveFile wave;
            if (!wave.load(path))
                return cliFail(args[2],
                    QStringLiteral("not a WAVE sound (%1); an item's sound must be a .wav file")
                        .arg(wave.errorDetail()));
            if (wave.dataLength() == 0 || wave.format().avgBytesPerSec == 0)
                return cliFail(args[2], QStringLiteral("the WAVE sound holds no sound to play"));
        }
        doc.attachFile(index, name, path);
        return 0;
    });
}

int albumSort(const QStringList &args)
{
    QStringList rest = args;
    const bool descending = rest.removeAll(QStringLiteral("--descending")) > 0;
    if (rest.size() != 2)
        return cliUsageError(kCommand, QStringLiteral("sort takes ALBUM KEY [--descending]"));
    const int key = sortKeyArgument(rest[1]);
    if (key < 0)
        return cliUsageError(
            kCommand, QStringLiteral("KEY is name, extension, size, time, description or taken"));
    return editAlbum(rest[0], [&](CAlbumDoc &doc) {
        // A sort that moves an item marks the album modified.
        doc.sortItems(key, descending ? 1 : 0);
        return 0;
    });
}

int albumRemove(const QStringList &args)
{
    QStringList rest = args;
    const bool deleteFiles = rest.removeAll(QStringLiteral("--delete-file")) > 0;
    if (rest.size() < 2)
        return cliUsageError(
            kCommand, QStringLiteral("remove takes ALBUM INDEX... [--delete-file]"));
    return editAlbum(rest[0], [&](CAlbumDoc &doc) {
        for (const QString &argument : rest.mid(1)) {
            const int index = indexArgument(doc, argument);
            if (index < 0)
                return 1;
            doc.items().setSelected(index, true);
        }
        doc.removeSelected(deleteFiles);
        return 0;
    });
}

int albumRebuild(const QStringList &args)
{
    if (args.size() != 2)
        return cliUsageError(kCommand, QStringLiteral("rebuild takes ALBUM INDEX"));
    return editAlbum(args[0], [&](CAlbumDoc &doc) {
        const int index = indexArgument(doc, args[1]);
        if (index < 0)
            return 1;
        // The document's messages do not name the file: say which one and why.
        const QString file = doc.item(index)->absolutePath();
        const QString problem = unusableFileProblem(file);
        if (!problem.isEmpty())
            return cliFail(file, problem);
        if (rebuildThumbnail(doc, index) != 1)
            return cliFail(file, QStringLiteral("no thumbnail could be made from the file"));
        return 0;
    });
}

int albumConvert(const QStringList &args)
{
    if (args.isEmpty())
        return cliUsageError(kCommand, QStringLiteral("convert takes at least one OLD album file"));
    CAlbumDoc doc;
    int failed = 0;
    for (const QString &argument : args) {
        // Each file that is not converted is named with the cause. The older layout has no
        // signature, so an album of the current one would be read as garbage: it is refused.
        const QFileInfo file(argument);
        QFile head(file.absoluteFilePath());
        const QString problem = file.isDir() ? QStringLiteral("is a folder")
            : !file.exists()                 ? QStringLiteral("no such file")
            : head.open(QIODevice::ReadOnly) && head.read(4) == "PALM"
            ? QStringLiteral("is an album of the current layout: nothing to convert")
            : QString();
        const OldAlbumConversion outcome = problem.isEmpty()
            ? convertOldAlbum(doc, file.absoluteFilePath())
            : OldAlbumConversion();
        if (outcome.savedPath.isEmpty()) {
            cliFail(argument,
                problem.isEmpty()
                    ? QStringLiteral("not converted (not an album of the older layout)")
                    : problem);
            ++failed;
            continue;
        }
        cliOut(outcome.savedPath + u'\n');
    }
    return failed > 0 ? 1 : 0;
}

int runAlbum(const QStringList &args)
{
    if (args.isEmpty())
        return cliUsageError(kCommand, QStringLiteral("give a sub-command (see --help)"));
    const QString sub = args.first();
    const QStringList rest = args.mid(1);
    const struct {
        const char *name;
        int (*run)(const QStringList &);
    } subs[] = {
        { "new", albumNew },
        { "add", albumAdd },
        { "list", albumList },
        { "thumbnail", albumThumbnail },
        { "set-text", albumSetText },
        { "set-caption", albumSetCaption },
        { "attach", albumAttach },
        { "sort", albumSort },
        { "remove", albumRemove },
        { "facts", albumFacts },
        { "rebuild", albumRebuild },
        { "relink", albumRelink },
        { "convert", albumConvert },
    };
    for (const auto &entry : subs) {
        if (sub == QLatin1String(entry.name))
            return entry.run(rest);
    }
    if (isAlbumManageSubcommand(sub))
        return runAlbumManageSubcommand(args);
    return cliUsageError(kCommand, QStringLiteral("unknown sub-command %1").arg(sub));
}

const CliRegistration registration({ kCommand, QStringLiteral("album SUBCOMMAND ALBUM ..."),
    QStringLiteral(
        "make, fill, list and edit albums (ALBUM: a .gmx path or a name in the albums folder)"),
    QStringLiteral(
        "album new ALBUM                      make an empty album\n"
        "album add ALBUM FILE|FOLDER... [--recursive]  add media (folders: their media files in "
        "name order;\n"
        "                                     --recursive: with every sub-folder in path order, "
        "hidden\n"
        "                                     folders and links out of the tree left out; a file "
        "with the\n"
        "                                     bytes of one in the album is named and passed over;\n"
        "                                     files already in the album are reported and passed "
        "over;\n"
        "                                     files that cannot be read are named and skipped, "
        "exit 1)\n"
        "album list ALBUM [--json]            list the items (--json: caption and items with their "
        "fields)\n"
        "album thumbnail ALBUM INDEX OUT      write an item's thumbnail (.bmp .jpg .tif .pcx "
        ".tga)\n"
        "album set-text ALBUM INDEX FIELD TEXT  set description, caption or keywords of an item\n"
        "album set-caption ALBUM TEXT         set the album's caption\n"
        "album attach ALBUM INDEX SOUND [NAME]  attach a sound file to an item (SOUND \"\": "
        "detach)\n"
        "album sort ALBUM KEY [--descending]  KEY: name, extension, size, time (newest first), "
        "description\n"
        "                                     or taken (date taken, newest first; file time when "
        "none)\n"
        "album remove ALBUM INDEX... [--delete-file]  remove items (and delete their media files)\n"
        "album facts ALBUM                    caption, item count, media bytes, drive counts, last "
        "copy folder\n"
        "album rebuild ALBUM INDEX            remake an item's thumbnail from its file\n"
        "album relink ALBUM FOLDER [--dry-run]  point items whose file is gone at the file of the "
        "same\n"
        "                                     name and size in FOLDER's tree; prints the plan "
        "(ambiguous\n"
        "                                     ones listed, never chosen)\n"
        "album convert OLDALBUM...            convert albums of the older layout into the albums "
        "folder\n"
        "INDEX counts from 0 as `album list` shows.\n")
        + albumManageUsage(),
    runAlbum });

} // namespace
