// glimix-cli webalbum ALBUM FOLDER [options]: makes a web album of an album's items with the same
// picking model and generator as the wizard, without a window. With --iso or --burn the album
// goes onto a disc through the same CD delivery as the wizard's CD path.

#include "albumcommandsupport.h"
#include "clicommand.h"

#include "cdout/cdoutput.h"
#include "cdout/disccomponent.h"
#include "core/appsettings.h"
#include "core/messageids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/autorunwriter.h"
#include "publish/itempicker.h"
#include "publish/webalbumgenerator.h"
#include "publish/workingfolder.h"

#include <QDir>
#include <QFileInfo>

#include <limits>
#include <optional>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("webalbum");

std::optional<int> numberOption(const QString &name, const QString &value, int low, int high)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < low || number > high) {
        cliUsageError(kCommand,
            QStringLiteral("%1 takes a number from %2 to %3").arg(name).arg(low).arg(high));
        return std::nullopt;
    }
    return number;
}

struct Arguments {
    QString album;
    QString folder;
    QString items;
    bool itemsGiven = false;
    bool convert = true;
    WebAlbumOptions options;
    DiscTarget disc; // kind None: a folder
    QString discFolder;
    qint64 capacityBlocks = kCdCapacityBlocks;
};

std::optional<Arguments> parseArguments(const QStringList &args)
{
    Arguments parsed;
    parsed.options.title = loadString(Message::kDefaultPageTitle);
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) {
                cliUsageError(kCommand, arg + QStringLiteral(" needs a value"));
                return std::nullopt;
            }
            return args.at(++i);
        };
        const auto number = [&](int low, int high) -> std::optional<int> {
            const std::optional<QString> text = value();
            return text ? numberOption(arg, *text, low, high) : std::nullopt;
        };
        std::optional<int> n;
        if (arg == QLatin1String("--items")) {
            const std::optional<QString> text = value();
            if (!text)
                return std::nullopt;
            parsed.items = *text;
            parsed.itemsGiven = true;
        } else if (arg == QLatin1String("--columns")) {
            if (!(n = number(WebAlbumOptions::kMinGrid, WebAlbumOptions::kMaxGrid)))
                return std::nullopt;
            parsed.options.columns = *n;
        } else if (arg == QLatin1String("--rows")) {
            if (!(n = number(WebAlbumOptions::kMinGrid, WebAlbumOptions::kMaxGrid)))
                return std::nullopt;
            parsed.options.rows = *n;
        } else if (arg == QLatin1String("--title")) {
            const std::optional<QString> text = value();
            if (!text)
                return std::nullopt;
            parsed.options.title = *text;
        } else if (arg == QLatin1String("--theme")) {
            if (!(n = number(0, WebAlbumOptions::kThemeCount - 1)))
                return std::nullopt;
            parsed.options.theme = *n;
        } else if (arg == QLatin1String("--size")) {
            if (!(n = number(0, WebAlbumOptions::kSizeCount - 1)))
                return std::nullopt;
            parsed.options.thumbnailSize = *n;
        } else if (arg == QLatin1String("--no-name")) {
            parsed.options.showName = false;
        } else if (arg == QLatin1String("--no-size")) {
            parsed.options.showSize = false;
        } else if (arg == QLatin1String("--field1")) {
            parsed.options.showField[0] = true;
        } else if (arg == QLatin1String("--field2")) {
            parsed.options.showField[1] = true;
        } else if (arg == QLatin1String("--field3")) {
            parsed.options.showField[2] = true;
        } else if (arg == QLatin1String("--no-convert")) {
            parsed.convert = false;
        } else if (arg == QLatin1String("--iso") || arg == QLatin1String("--burn")) {
            const std::optional<QString> text = value();
            if (!text)
                return std::nullopt;
            parsed.disc = arg == QLatin1String("--iso")
                ? DiscTarget { DiscTarget::Kind::ImageFile, QFileInfo(*text).absoluteFilePath() }
                : DiscTarget { DiscTarget::Kind::Writer, *text };
        } else if (arg == QLatin1String("--disc-folder")) {
            const std::optional<QString> text = value();
            if (!text)
                return std::nullopt;
            parsed.discFolder = *text;
            if (!acceptDiscFolderName(parsed.discFolder)) {
                cliUsageError(kCommand,
                    QStringLiteral("a disc folder name cannot hold any of . ? : * < > / \\ | \""));
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--capacity")) {
            if (!(n = number(1, std::numeric_limits<int>::max())))
                return std::nullopt;
            parsed.capacityBlocks = *n;
        } else if (arg.startsWith(QLatin1String("--"))) {
            cliUsageError(kCommand, QStringLiteral("unknown option ") + arg);
            return std::nullopt;
        } else {
            positional.append(arg);
        }
    }
    const bool toDisc = parsed.disc.kind != DiscTarget::Kind::None;
    if (positional.size() != (toDisc ? 1 : 2)) {
        cliUsageError(kCommand,
            toDisc ? QStringLiteral("give an album (the disc is the output)")
                   : QStringLiteral("give an album and a folder"));
        return std::nullopt;
    }
    if (!toDisc && !parsed.discFolder.isEmpty()) {
        cliUsageError(kCommand, QStringLiteral("--disc-folder needs --iso or --burn"));
        return std::nullopt;
    }
    parsed.album = positional.at(0);
    if (!toDisc)
        parsed.folder = QFileInfo(positional.at(1)).absoluteFilePath();
    return parsed;
}

// The all-items entries of the album items at `indexes`; an item whose file is missing has no
// entry and is reported in `problems`.
QList<int> entryIndexes(const ItemPicker &picker, const CAlbumDoc &doc, const QList<int> &indexes,
    QStringList &problems)
{
    QList<int> entries;
    for (int index : indexes) {
        const AlbumItem *item = doc.item(index);
        qsizetype found = -1;
        for (qsizetype e = 0; e < picker.allEntries().size(); ++e) {
            if (picker.allEntries().at(e).item == item)
                found = e;
        }
        if (found < 0)
            problems.append(item->absolutePath() + QStringLiteral(": no such file"));
        else
            entries.append(int(found));
    }
    return entries;
}

// Hands the made album to the CD delivery the wizard uses, with our disc component recording
// to the image file or writer given; the component reports its own problems.
bool deliverToDisc(const Arguments &parsed, const WebAlbumGenerator &generator)
{
    registerDiscComponent();
    const DiscTarget target = parsed.disc;
    const DiscTargetChooser previousChooser
        = setDiscTargetChooser([target](const DiscSummary &) { return target; });
    const qint64 previousCapacity = setDiscCapacityBlocks(parsed.capacityBlocks);
    CdOutput cd(appSettings().store(), standardCdPlaces());
    CdProduct product;
    product.projectName = QStringLiteral("WebAlbum");
    product.workingFolder = generator.workingFolder();
    product.discFolder = parsed.discFolder;
    product.files = generator.outputs();
    product.programSource = generator.viewerSource();
    product.programName = autoRunProgramName(AutoRunProduct::WebAlbum);
    const bool recorded = cd.available() && cd.deliver(product) && lastDiscRecord().written;
    setDiscTargetChooser(previousChooser);
    setDiscCapacityBlocks(previousCapacity);
    if (!cd.available())
        cliFail(target.path, QStringLiteral("no CD output is available"));
    return recorded;
}

int runWebAlbum(const QStringList &args)
{
    const std::optional<Arguments> parsed = parseArguments(args);
    if (!parsed)
        return 2;
    CAlbumDoc doc;
    if (openAlbumForCli(doc, parsed->album).isEmpty())
        return 1;
    QList<int> indexes;
    if (parsed->itemsGiven) {
        const std::optional<QList<int>> list
            = parseItemList(kCommand, parsed->items, doc.itemCount());
        if (!list)
            return 2;
        indexes = *list;
    } else {
        for (int i = 0; i < doc.itemCount(); ++i)
            indexes.append(i);
    }
    const bool toDisc = parsed->disc.kind != DiscTarget::Kind::None;
    if (!toDisc && (!QDir().mkpath(parsed->folder) || !QFileInfo(parsed->folder).isDir()))
        return cliFail(parsed->folder, QStringLiteral("the folder cannot be made"));

    QString folderError;
    const QString workingFolder = makeWorkingFolder(&folderError);
    if (workingFolder.isEmpty())
        return cliFail(QStringLiteral("working folder"), folderError);
    QStringList problems;
    ItemPicker picker(PickingMode::WebAlbum, workingFolder);
    picker.activate(doc);
    if (picker.convert() != parsed->convert)
        picker.toggleConvert(nullptr);
    std::unique_ptr<Progress> progress = host().createProgress();
    picker.add(entryIndexes(picker, doc, indexes, problems), progress.get());
    problems += picker.problems();
    if (picker.chosen().isEmpty()) {
        for (const QString &problem : std::as_const(problems))
            cliErr(cliProgramName() + QStringLiteral(": ") + problem + u'\n');
        return cliFail(parsed->album, QStringLiteral("no item can go into the web album"));
    }
    picker.next();

    WebAlbumGenerator generator(picker, defaultWebAlbumSetup(parsed->options, appSettings()));
    generator.makeThumbnails(progress.get());
    progress->close();
    const bool pagesWritten = generator.writePages();
    const bool delivered
        = toDisc ? deliverToDisc(*parsed, generator) : generator.deliverToFolder(parsed->folder);
    generator.cleanWorkingFolder(true);
    problems += generator.problems();
    for (const QString &problem : std::as_const(problems))
        cliErr(cliProgramName() + QStringLiteral(": ") + problem + u'\n');
    if (toDisc && !delivered)
        return 1;
    cliOut(QStringLiteral("%1 thumbnails on %2 pages in %3\n")
               .arg(generator.thumbnailCount())
               .arg(generator.pagesWritten())
               .arg(toDisc ? parsed->disc.path : parsed->folder));
    if (!pagesWritten || !delivered || !problems.isEmpty() || generator.thumbnailCount() == 0)
        return 1;
    return 0;
}

const CliRegistration registration({ kCommand,
    QStringLiteral(
        "webalbum ALBUM FOLDER [--items 0,3,5-9] [--columns N] [--rows N] [--title TEXT] "
        "[--theme 0-4] [--size 0-2] [--no-name] [--no-size] [--field1] [--field2] "
        "[--field3] [--no-convert]\n"
        "webalbum ALBUM (--iso OUT.iso | --burn DRIVE) [--disc-folder NAME] [--capacity BLOCKS] "
        "[the options above]"),
    QStringLiteral("make a web album of the album's items in FOLDER"),
    QStringLiteral(
        "Pages album1.html, album2.html, ... with thumbnails linking to the pictures.\n"
        "--items     item numbers and ranges (from 0) in page order; default all\n"
        "--columns   thumbnails per row, 2-10 (4); --rows rows per page, 2-10 (3)\n"
        "--title     page title; --theme 0 plain white, 1-4 pictures (0)\n"
        "--size      thumbnail size 0 small, 1 medium, 2 large (1)\n"
        "--no-name, --no-size  leave the file name or size out of the captions\n"
        "--field1..3 show the caption, keywords or description field\n"
        "--no-convert  link to the files as they are instead of JPEG copies\n"
        "--iso       put the album on a disc image OUT.iso (ISO 9660, Joliet, Rock Ridge)\n"
        "--burn      record it on the writer DRIVE (see: disc drives)\n"
        "--disc-folder  the site and WebAlbum.exe go into this disc folder;\n"
        "            AutoRun.inf stays at the top; spaces become _\n"
        "--capacity  disc size in 2048-byte blocks (359848, an 80-minute CD)\n"
        "Exits 1 when any item could not be used (each named on standard error)."),
    runWebAlbum });

} // namespace
