// glimix-cli search TEXT --in ALBUM... --into TARGET [--case] [--fields name,1,2,3]: the album
// search without a window; the items found are appended to TARGET (made when missing).

#include "albumcommandsupport.h"
#include "clicommand.h"

#include "album/albumfolders.h"
#include "album/albumsave.h"
#include "platform/fillin.h"
#include "publish/albumsearch.h"

#include <QFileInfo>

#include <algorithm>

#include <optional>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("search");

std::optional<SearchFields> parseFields(const QString &text)
{
    SearchFields fields { false, false, false, false, false };
    for (const QString &part : text.split(u',', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed().toLower();
        if (name == QLatin1String("name"))
            fields.fileName = true;
        else if (name == QLatin1String("1"))
            fields.field1 = true;
        else if (name == QLatin1String("2"))
            fields.field2 = true;
        else if (name == QLatin1String("3"))
            fields.notes = true;
        else
            return std::nullopt;
    }
    return fields;
}

// Why the album at `path` cannot be searched, or empty.
QString searchedAlbumProblem(const QString &path)
{
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("is a folder");
    if (!file.exists())
        return QStringLiteral("no such album");
    QString reason;
    switch (albumFileKindOf(path, &reason)) {
    case AlbumFileKind::NotAlbum:
        return QStringLiteral("is not an album");
    case AlbumFileKind::Unreadable:
        return reason.isEmpty() ? QStringLiteral("cannot be read") : reason;
    case AlbumFileKind::Missing:
        return QStringLiteral("no such album");
    case AlbumFileKind::Album:
        break;
    }
    return {};
}

int runSearch(const QStringList &args)
{
    SearchRequest request;
    QStringList albums;
    QString target;
    bool textSeen = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--case")) {
            request.fields.matchCase = true;
        } else if (arg == QLatin1String("--fields") && i + 1 < args.size()) {
            const bool matchCase = request.fields.matchCase;
            const std::optional<SearchFields> fields = parseFields(args.at(++i));
            if (!fields)
                return cliUsageError(kCommand, QStringLiteral("--fields takes name,1,2,3"));
            request.fields = *fields;
            request.fields.matchCase = matchCase;
        } else if (arg == QLatin1String("--into") && i + 1 < args.size()) {
            target = args.at(++i);
        } else if (arg == QLatin1String("--in")) {
            while (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--")))
                albums << args.at(++i);
        } else if (!textSeen && !arg.startsWith(QLatin1String("--"))) {
            request.text = arg;
            textSeen = true;
        } else {
            return cliUsageError(kCommand, QStringLiteral("unexpected argument '%1'").arg(arg));
        }
    }
    if (request.text.isEmpty())
        return cliUsageError(kCommand, QStringLiteral("no text to search for"));
    if (albums.isEmpty() || target.isEmpty())
        return cliUsageError(
            kCommand, QStringLiteral("name the albums (--in) and the target (--into)"));
    if (albums.size() > kMaxSearchAlbums) {
        return cliUsageError(kCommand,
            QStringLiteral("at most %1 albums can be searched at once").arg(kMaxSearchAlbums));
    }
    for (const QString &album : std::as_const(albums)) {
        // A mistyped album would otherwise be passed over and the search look complete.
        const QString path = albumPathForArgument(album);
        if (const QString problem = searchedAlbumProblem(path); !problem.isEmpty())
            return cliFail(path, problem);
        request.albumPaths << path;
    }
    request.targetPath = albumPathForArgument(target);
    // The target receives the results and is never searched itself. Named in --in as well, it
    // is said so; named alone, there is nothing to search, which is refused rather than answered
    // with a quiet "0 items found".
    const QString targetFile = QFileInfo(request.targetPath).absoluteFilePath();
    const auto isTarget
        = [&](const QString &path) { return QFileInfo(path).absoluteFilePath() == targetFile; };
    if (std::all_of(request.albumPaths.cbegin(), request.albumPaths.cend(), isTarget))
        return cliUsageError(kCommand,
            QStringLiteral("%1 is the target (--into), which is never searched: name other "
                           "albums to search")
                .arg(target));
    if (std::any_of(request.albumPaths.cbegin(), request.albumPaths.cend(), isTarget))
        cliErr(fillIn(QStringLiteral("%1: %2: the target (--into) is not searched\n"),
            cliProgramName(), request.targetPath));

    const std::vector<FoundItem> found = searchAlbums(request);
    CAlbumDoc doc;
    if (QFileInfo::exists(request.targetPath)) {
        if (openAlbumForCli(doc, target).isEmpty())
            return 1;
    }
    appendFoundItems(doc, found);
    if (!doc.onSaveDocument(request.targetPath))
        return cliFail(request.targetPath, doc.lastError());
    cliOut(found.size() == 1 ? QStringLiteral("1 item found\n")
                             : QStringLiteral("%1 items found\n").arg(found.size()));
    return 0;
}

const CliRegistration registration({ kCommand,
    QStringLiteral("search TEXT --in ALBUM... --into TARGET [--case] [--fields name,1,2,3]"),
    QStringLiteral("collect the items whose texts hold TEXT into the album TARGET"),
    QStringLiteral("TEXT is found literally anywhere in the chosen texts, letter case ignored\n"
                   "unless --case is given. --fields chooses the texts: the file name and the\n"
                   "three text fields (default all). TARGET is never searched and is made when\n"
                   "it is missing; the items found are appended in the order found."),
    runSearch });

} // namespace
