// glimix-cli webalbum ALBUM FOLDER [options]: makes a web album of an album's items with the same
// picking model and generator as the wizard, without a window. With --iso or --burn the album
// goes onto a disc through the same CD delivery as the wizard's CD path.

#include "albumcommandsupport.h"
#include "clicommand.h"
#include "platform/fillin.h"
#include "productcommandsupport.h"

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

// An option taking a whole number from `low` to `high` into `target`.
template<typename Number>
CliOption numberOption(const char *name, int low, int high, Number &target)
{
    return cliValue(name, [name, low, high, &target](const QString &value) {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok || number < low || number > high) {
            cliUsageError(kCommand,
                fillIn(QStringLiteral("%1 takes a number from %2 to %3"), QLatin1StringView(name),
                    low, high));
            return false;
        }
        target = number;
        return true;
    });
}

struct Arguments {
    QString album;
    QString folder;
    std::optional<QString> items;
    bool convert = true;
    WebAlbumOptions options;
    DiscTarget disc; // kind None: a folder
    QString discFolder;
    qint64 capacityBlocks = kCdCapacityBlocks;
    bool replacePackage = false;
};

std::optional<Arguments> parseArguments(const QStringList &args)
{
    Arguments parsed;
    parsed.options.title = loadString(Message::kDefaultPageTitle);
    WebAlbumOptions &options = parsed.options;
    const std::optional<QStringList> positional = readCliOptions(kCommand, args,
        { cliText("--items", parsed.items),
            numberOption(
                "--columns", WebAlbumOptions::kMinGrid, WebAlbumOptions::kMaxGrid, options.columns),
            numberOption(
                "--rows", WebAlbumOptions::kMinGrid, WebAlbumOptions::kMaxGrid, options.rows),
            cliText("--title", options.title),
            numberOption("--theme", 0, WebAlbumOptions::kThemeCount - 1, options.theme),
            numberOption("--size", 0, WebAlbumOptions::kSizeCount - 1, options.thumbnailSize),
            cliFlag("--no-name", [&options] { options.showName = false; }),
            cliFlag("--no-size", [&options] { options.showSize = false; }),
            cliFlag("--field1", [&options] { options.showField[0] = true; }),
            cliFlag("--field2", [&options] { options.showField[1] = true; }),
            cliFlag("--field3", [&options] { options.showField[2] = true; }),
            cliFlag("--no-convert", [&parsed] { parsed.convert = false; }),
            cliFlag("--fit", [&options] { options.cropThumbnails = false; }),
            cliFlag("--originals", [&options] { options.linkOriginals = true; }),
            cliValue("--iso",
                [&parsed](const QString &value) {
                    parsed.disc
                        = { DiscTarget::Kind::ImageFile, QFileInfo(value).absoluteFilePath() };
                    return true;
                }),
            cliValue("--burn",
                [&parsed](const QString &value) {
                    parsed.disc = { DiscTarget::Kind::Writer, value };
                    return true;
                }),
            discFolderOption(kCommand, parsed.discFolder),
            cliFlag("--replace-package", [&parsed] { parsed.replacePackage = true; }),
            numberOption(
                "--capacity", 1, std::numeric_limits<int>::max(), parsed.capacityBlocks) });
    if (!positional)
        return std::nullopt;
    const bool toDisc = parsed.disc.kind != DiscTarget::Kind::None;
    if (positional->size() != (toDisc ? 1 : 2)) {
        cliUsageError(kCommand,
            toDisc ? QStringLiteral("give an album (the disc is the output)")
                   : QStringLiteral("give an album and a folder"));
        return std::nullopt;
    }
    if (!toDisc && !parsed.discFolder.isEmpty()) {
        cliUsageError(kCommand, QStringLiteral("--disc-folder needs --iso or --burn"));
        return std::nullopt;
    }
    parsed.album = positional->at(0);
    if (!toDisc)
        parsed.folder = QFileInfo(positional->at(1)).absoluteFilePath();
    return parsed;
}

// Hands the made album to the CD delivery the wizard uses.
bool deliverToDisc(const Arguments &parsed, const WebAlbumGenerator &generator)
{
    CdProduct product;
    product.projectName = QStringLiteral("WebAlbum");
    product.workingFolder = generator.workingFolder();
    product.discFolder = parsed.discFolder;
    product.files = generator.outputs();
    product.programSource = generator.viewerSource();
    product.programName = autoRunProgramName(AutoRunProduct::WebAlbum);
    return deliverProductToDisc(product, parsed.disc, parsed.capacityBlocks);
}

int runWebAlbum(const QStringList &args)
{
    const std::optional<Arguments> parsed = parseArguments(args);
    if (!parsed)
        return 2;
    CAlbumDoc doc;
    if (openAlbumForReading(doc, parsed->album).isEmpty())
        return 1;
    const std::optional<QList<int>> indexes
        = chosenItems(kCommand, parsed->items, doc, [](const AlbumItem &) { return true; });
    if (!indexes)
        return 2;
    const bool toDisc = parsed->disc.kind != DiscTarget::Kind::None;
    if (toDisc && !outputSparesInputs(discTargetFile(parsed->disc), albumInputFiles(doc)))
        return 1;
    if (!toDisc
        && !packageFolderAccepted(parsed->folder, PackageKind::WebAlbum, parsed->replacePackage))
        return 1;

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
    picker.add(pickerEntryIndexes(picker, doc, *indexes, problems), progress.get());
    problems += picker.problems();
    if (picker.chosen().isEmpty()) {
        for (const QString &problem : std::as_const(problems))
            cliErr(cliProgramName() + QStringLiteral(": ") + problem + u'\n');
        return cliFail(parsed->album, QStringLiteral("no item can go into the web album"));
    }
    picker.next();

    WebAlbumSetup setup = defaultWebAlbumSetup(parsed->options, appSettings());
    if (!toDisc && parsed->replacePackage)
        setup.earlierSite = parsed->folder;
    WebAlbumGenerator generator(picker, std::move(setup));
    generator.makeThumbnails(progress.get());
    progress->close();
    const bool pagesWritten = generator.writePages();
    const bool delivered = toDisc
        ? deliverToDisc(*parsed, generator)
        : generator.deliverToFolder(parsed->folder, parsed->replacePackage);
    generator.cleanWorkingFolder(true);
    problems += generator.problems();
    for (const QString &problem : std::as_const(problems))
        cliErr(cliProgramName() + QStringLiteral(": ") + problem + u'\n');
    // Nothing was delivered: no summary that reads as if the site were there.
    if (!delivered)
        return 1;
    cliOut(fillIn(QStringLiteral("%1 on %2 in %3\n"),
        countedText(generator.thumbnailCount(), u"thumbnail", u"thumbnails"),
        countedText(generator.pagesWritten(), u"page", u"pages"),
        toDisc ? parsed->disc.path : parsed->folder));
    if (!pagesWritten || !delivered || !problems.isEmpty() || generator.thumbnailCount() == 0)
        return 1;
    return 0;
}

const CliRegistration registration({ kCommand,
    QStringLiteral(
        "webalbum ALBUM FOLDER [--items 0,3,5-9] [--columns N] [--rows N] [--title TEXT] "
        "[--theme 0-5] [--size 0-2] [--no-name] [--no-size] [--field1] [--field2] "
        "[--field3] [--no-convert] [--fit] [--originals] [--replace-package]\n"
        "webalbum ALBUM (--iso OUT.iso | --burn DRIVE) [--disc-folder NAME] [--capacity BLOCKS] "
        "[the options above]"),
    QStringLiteral("make a web album of the album's items in FOLDER"),
    QStringLiteral(
        "Pages album1.html, album2.html, ... with thumbnails linking to the pictures.\n"
        "--items     item numbers and ranges (from 0) in page order; default all\n"
        "--columns   thumbnails per row, 2-10 (4); --rows rows per page, 2-10 (3)\n"
        "--title     page title; --theme 0 plain white, 1-4 pictures, 5 responsive (0)\n"
        "            (5: index.html, a grid for phones to wide screens with a lightbox)\n"
        "--size      thumbnail size 0 small, 1 medium, 2 large (1)\n"
        "--no-name, --no-size  leave the file name or size out of the captions\n"
        "--field1..3 show the caption, keywords or description field\n"
        "--no-convert  link to the files as they are instead of JPEG copies\n"
        "--fit       theme 5: thumbnails show the whole picture instead of a square\n"
        "--originals theme 5: the lightbox links to each picture's own file\n"
        "FOLDER must be new, empty or hold an earlier web album; --replace-package\n"
        "            replaces an earlier one (only its own files go)\n"
        "--iso       put the album on a disc image OUT.iso (ISO 9660, Joliet, Rock Ridge)\n"
        "--burn      record it on the writer DRIVE (see: disc drives)\n"
        "--disc-folder  the site and WebAlbum.exe go into this disc folder;\n"
        "            AutoRun.inf stays at the top; spaces become _\n"
        "--capacity  disc size in 2048-byte blocks (359848, an 80-minute CD)\n"
        "Exits 1 when any item could not be used (each named on standard error)."),
    runWebAlbum });

} // namespace
