// glimix-cli scan devices|into: lists the SANE scanners, or scans one picture into an album the
// way the scanner command of the main window does.

#include "clicommand.h"

#include "album/acquiredpicture.h"
#include "album/albumdoc.h"
#include "albumcommandsupport.h"
#include "core/appsettings.h"
#include "media/scansource.h"

#include <QHash>

using namespace glimmerix;

namespace
{

const QString kName = QStringLiteral("scan");

int runDevices(const QStringList &args)
{
    if (!args.isEmpty())
        return cliUsageError(kName, QStringLiteral("scan devices takes no arguments"));
    ScanSourceManager manager([](BlockHandle) {});
    if (!manager.openManager())
        return cliFail(QStringLiteral("scanner"), manager.lastError());
    for (const ScanSourceInfo &source : manager.sources())
        cliOut(QStringLiteral("%1\t%2 %3\t%4\n")
                   .arg(source.name, source.vendor, source.model, source.type));
    manager.closeManager();
    return 0;
}

// Applies --mode, --resolution and --area to the open source; false after reporting why not.
bool applyOptions(ScanSourceManager &manager, const QHash<QString, QString> &values)
{
    const QString mode = values.value(QStringLiteral("mode"), QStringLiteral("color"));
    const QHash<QString, ScanColourMode> modes { { QStringLiteral("color"),
                                                     ScanColourMode::Colour },
        { QStringLiteral("gray"), ScanColourMode::Grey },
        { QStringLiteral("lineart"), ScanColourMode::Lineart } };
    if (!modes.contains(mode)) {
        cliUsageError(kName, QStringLiteral("--mode is color, gray or lineart"));
        return false;
    }
    if (!manager.setColourMode(modes.value(mode))) {
        cliFail(manager.sourceName(), manager.lastError());
        return false;
    }
    if (values.contains(QStringLiteral("resolution"))) {
        bool ok = false;
        const int dpi = values.value(QStringLiteral("resolution")).toInt(&ok);
        if (!ok || dpi <= 0) {
            cliUsageError(kName, QStringLiteral("--resolution needs dots per inch"));
            return false;
        }
        if (!manager.setOption(QStringLiteral("resolution"), dpi)) {
            cliFail(manager.sourceName(), manager.lastError());
            return false;
        }
    }
    if (values.contains(QStringLiteral("area"))) {
        const QStringList parts = values.value(QStringLiteral("area")).split(u',');
        QList<double> numbers;
        for (const QString &part : parts) {
            bool ok = false;
            numbers.append(part.toDouble(&ok));
            if (!ok)
                numbers.clear();
        }
        if (parts.size() != 4 || numbers.size() != 4) {
            cliUsageError(kName, QStringLiteral("--area needs X,Y,W,H in millimetres"));
            return false;
        }
        if (!manager.setArea(numbers[0], numbers[1], numbers[2], numbers[3])) {
            cliFail(manager.sourceName(), manager.lastError());
            return false;
        }
    }
    return true;
}

int runInto(const QStringList &args)
{
    QString album;
    QHash<QString, QString> values;
    QStringList rest = args;
    while (!rest.isEmpty()) {
        const QString arg = rest.takeFirst();
        if (!arg.startsWith(QStringLiteral("--"))) {
            if (!album.isEmpty())
                return cliUsageError(kName, QStringLiteral("more than one album"));
            album = arg;
        } else if (QStringList { QStringLiteral("device"), QStringLiteral("mode"),
                       QStringLiteral("resolution"), QStringLiteral("area") }
                       .contains(arg.mid(2))
            && !rest.isEmpty()) {
            values.insert(arg.mid(2), rest.takeFirst());
        } else {
            return cliUsageError(
                kName, QStringLiteral("unknown option or missing value: %1").arg(arg));
        }
    }
    if (album.isEmpty())
        return cliUsageError(kName, QStringLiteral("scan into needs an album"));
    CAlbumDoc doc;
    const QString path = openAlbumForCli(doc, album);
    if (path.isEmpty())
        return 1;
    AppSettings &settings = appSettings();
    settings.load();
    int added = 0;
    ScanSourceManager manager([&](BlockHandle picture) {
        added += addAcquiredPicture(doc, picture, settings.acquireSettings());
    });
    if (!manager.openManager())
        return cliFail(QStringLiteral("scanner"), manager.lastError());
    const QString source = values.value(
        QStringLiteral("device"), manager.defaultSource(settings.acquireSettings().source));
    if (source.isEmpty())
        return cliFail(QStringLiteral("scanner"), QStringLiteral("no scanner was found"));
    if (!manager.openSource(source))
        return cliFail(source, manager.lastError());
    if (!applyOptions(manager, values))
        return 1;
    // The same life cycle as the scan dialog: enabled in mode 3, one transfer, close request.
    manager.setMemoryTransfer();
    manager.enableSource();
    manager.setMode(3);
    manager.transferReady();
    const QString problem = manager.lastError();
    manager.closeRequest();
    if (added == 0)
        return cliFail(
            source, problem.isEmpty() ? QStringLiteral("the picture was not added") : problem);
    if (!doc.onSaveDocument(path))
        return 1;
    const AlbumItem *item = doc.item(doc.itemCount() - 1);
    cliOut(QStringLiteral("%1\n").arg(item ? item->path() : QString()));
    return 0;
}

int run(const QStringList &args)
{
    const QString sub = args.value(0);
    if (sub == QStringLiteral("devices"))
        return runDevices(args.mid(1));
    if (sub == QStringLiteral("into"))
        return runInto(args.mid(1));
    return cliUsageError(kName, QStringLiteral("give devices or into"));
}

const CliRegistration registration({ kName,
    QStringLiteral("scan devices | into ALBUM [--device NAME] [--mode color|gray|lineart] "
                   "[--resolution DPI] [--area X,Y,W,H]"),
    QStringLiteral("lists the scanners (SANE) or scans a picture into an album"),
    QStringLiteral("The area is in millimetres from the top left corner of the scan bed."), run });

} // namespace
