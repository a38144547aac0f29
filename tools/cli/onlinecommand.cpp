// glimix-cli online list|download|upload: the online photo service from the command line, with
// the same client and batches as the dialogs. The password comes from GLIMMERIX_PASSWORD or a
// prompt, never from an argument, so it shows in no process list.

#include "albumcommandsupport.h"
#include "clicommand.h"

#include "album/albumfolders.h"
#include "core/appsettings.h"
#include "online/onlinealbum.h"
#include "online/onlinejobs.h"
#include "platform/fillin.h"
#include "platform/passwordprompt.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <optional>
#include <string>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("online");

struct Arguments {
    QString action;
    QStringList positional;
    QString site;
    QString user;
    QString into;
    QString folder;
    QString items;
    bool itemsGiven = false;
};

std::optional<Arguments> parseArguments(const QStringList &args)
{
    Arguments parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        QString *target = nullptr;
        if (arg == QLatin1String("--site"))
            target = &parsed.site;
        else if (arg == QLatin1String("--user"))
            target = &parsed.user;
        else if (arg == QLatin1String("--into"))
            target = &parsed.into;
        else if (arg == QLatin1String("--folder"))
            target = &parsed.folder;
        else if (arg == QLatin1String("--items")) {
            target = &parsed.items;
            parsed.itemsGiven = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            cliUsageError(kCommand, QStringLiteral("unknown option ") + arg);
            return std::nullopt;
        }
        if (!target) {
            if (parsed.action.isEmpty())
                parsed.action = arg;
            else
                parsed.positional.append(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            cliUsageError(kCommand, arg + QStringLiteral(" needs a value"));
            return std::nullopt;
        }
        *target = args.at(++i);
    }
    if (parsed.user.isEmpty()) {
        cliUsageError(kCommand, QStringLiteral("--user NAME is required"));
        return std::nullopt;
    }
    return parsed;
}

int requestFailed(const QString &what, const OnlineOutcome &outcome)
{
    if (outcome.status == OnlineStatus::Unavailable)
        return cliFail(what, QStringLiteral("the service named no image server"));
    return cliFail(what, outcome.detail);
}

// Signs in and lists; the list is in `records`. Returns the exit status (0: listed).
int listPictures(OnlineClient &client, const QString &site, QList<RemoteImage> &records)
{
    const OnlineOutcome lookup = client.lookupServer();
    if (!lookup.ok())
        return requestFailed(site, lookup);
    ListResult result = ListResult::Empty;
    const OnlineOutcome listed = client.listImages(records, result);
    if (!listed.ok())
        return requestFailed(client.server(), listed);
    switch (result) {
    case ListResult::Listed:
        return 0;
    case ListResult::Empty:
        return cliFail(client.server(), QStringLiteral("the user name or password is not correct"));
    case ListResult::SingleField:
        return cliFail(client.server(), QStringLiteral("the service could not list the pictures"));
    }
    return 1;
}

int runList(OnlineClient &client, const QString &site)
{
    QList<RemoteImage> records;
    if (const int status = listPictures(client, site, records))
        return status;
    for (const RemoteImage &record : std::as_const(records))
        cliOut(fillIn(QStringLiteral("%1\t%2\t%3\n"), record.id, oneLine(record.filename),
            oneLine(record.caption)));
    return 0;
}

// The album to download into, made when missing.
bool openOrMakeAlbum(CAlbumDoc &doc, const QString &album, QString &path)
{
    path = albumPathForArgument(album);
    if (QFileInfo::exists(path)) {
        path = openAlbumForCli(doc, album);
        return !path.isEmpty();
    }
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        cliFail(path, QStringLiteral("no such folder: %1").arg(QFileInfo(path).absolutePath()));
        return false;
    }
    doc.onNewDocument();
    return doc.onSaveDocument(path);
}

int runDownload(OnlineClient &client, const QString &site, const Arguments &parsed)
{
    if (parsed.positional.isEmpty() || parsed.into.isEmpty())
        return cliUsageError(kCommand, QStringLiteral("download takes ID... and --into ALBUM"));
    const QString folder = parsed.folder.isEmpty() ? appSettings().folders().photosFolder()
                                                   : QFileInfo(parsed.folder).absoluteFilePath();
    if (!QFileInfo(folder).isDir())
        return cliFail(folder, QStringLiteral("no such folder"));
    QList<RemoteImage> records;
    if (const int status = listPictures(client, site, records))
        return status;
    QList<int> rows;
    for (const QString &id : parsed.positional) {
        const auto found = std::find_if(records.cbegin(), records.cend(),
            [&](const RemoteImage &record) { return QString::number(record.id) == id; });
        if (found == records.cend())
            return cliFail(id, QStringLiteral("no such picture in the account"));
        rows.append(int(found - records.cbegin()));
    }
    CAlbumDoc doc;
    QString albumPath;
    if (!openOrMakeAlbum(doc, parsed.into, albumPath))
        return 1;
    const std::atomic<bool> cancel = false;
    const int stored = downloadPictures(client, records, rows, folder, cancel,
        [](int, const QString &name) { cliErr(QStringLiteral("downloading %1\n").arg(name)); });
    QStringList problems;
    const int added = addDownloadedPictures(doc, records, &problems);
    for (const QString &problem : std::as_const(problems))
        cliErr(cliProgramName() + QStringLiteral(": ") + problem + u'\n');
    if (doc.isModified() && !doc.onSaveDocument(albumPath))
        return 1;
    cliOut(fillIn(QStringLiteral("%1 added to %2\n"), countedText(added, u"picture", u"pictures"),
        albumPath));
    return stored == rows.size() && added == stored ? 0 : 1;
}

int runUpload(OnlineClient &client, const OnlineService &service, const Arguments &parsed)
{
    if (parsed.positional.size() != 1)
        return cliUsageError(kCommand, QStringLiteral("upload takes one ALBUM"));
    CAlbumDoc doc;
    if (openAlbumForReading(doc, parsed.positional.first()).isEmpty())
        return 1;
    QList<int> indexes;
    if (parsed.itemsGiven) {
        const std::optional<QList<int>> list
            = parseItemList(kCommand, parsed.items, doc.itemCount());
        if (!list)
            return 2;
        indexes = *list;
    } else {
        for (int i = 0; i < doc.itemCount(); ++i)
            indexes.append(i);
    }
    const QList<UploadItem> items = uploadItemsOf(doc, indexes);
    const std::atomic<bool> cancel = false;
    const UploadOutcome outcome = uploadPictures(client, service.getServer, items, cancel,
        [](int, const QString &path) { cliErr(QStringLiteral("uploading %1\n").arg(path)); });
    if (!outcome.serverFound)
        return cliFail(service.site, QStringLiteral("the service named no image server"));
    cliOut(fillIn(QStringLiteral("%1 of %2 uploaded\n"), outcome.stored,
        countedText(qint64(indexes.size()), u"picture", u"pictures")));
    return outcome.stored == indexes.size() ? 0 : 1;
}

int runOnline(const QStringList &args)
{
    const std::optional<Arguments> parsed = parseArguments(args);
    if (!parsed)
        return 2;
    AppSettings &settings = appSettings();
    settings.load();
    OnlineService service = settings.onlineService();
    if (!parsed->site.isEmpty())
        service.site = parsed->site;
    const std::unique_ptr<HttpTransport> transport = makeCurlTransport();
    OnlineClient client(*transport, service);
    if (!client.siteUsable())
        return cliFail(service.site, QStringLiteral("not a usable site address"));
    if (parsed->action != QLatin1String("list") && parsed->action != QLatin1String("download")
        && parsed->action != QLatin1String("upload"))
        return cliUsageError(kCommand, QStringLiteral("give list, download or upload"));
    client.setCredentials(parsed->user, readPassword());
    if (parsed->action == QLatin1String("list"))
        return runList(client, service.site);
    if (parsed->action == QLatin1String("download"))
        return runDownload(client, service.site, *parsed);
    return runUpload(client, service, *parsed);
}

const CliRegistration registration({ kCommand,
    QStringLiteral("online list|download ID... --into ALBUM [--folder DIR]|upload ALBUM "
                   "[--items 0,3,5-9] --user NAME [--site URL]"),
    QStringLiteral("list, download or upload pictures of the online photo service"),
    QStringLiteral("list       one line per picture: id, tab, file name, tab, caption\n"
                   "download   stores the pictures in DIR (the photos folder) and adds them with\n"
                   "           their texts to ALBUM, made when missing\n"
                   "upload     sends the album's pictures (or --items) with their texts\n"
                   "--site     the service (host, host:port or http(s)://host:port); default\n"
                   "           the ZoSite setting\n"
                   "The password comes from GLIMMERIX_PASSWORD or is asked for.\n"
                   "Exits 1 when any picture could not be listed, stored or sent."),
    runOnline });

} // namespace
