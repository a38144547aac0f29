// glimix-cli slideshow ALBUM FOLDER [options]: makes a slide show package of an album's pictures
// with the same picking model and package as the wizard, without a window. With --iso the
// package goes onto a disc image through the same CD delivery as the wizard's CD path.

#include "albumcommandsupport.h"
#include "clicommand.h"
#include "platform/fillin.h"
#include "productcommandsupport.h"

#include "imaging/mediafile.h"
#include "platform/host.h"
#include "publish/slideshowpackage.h"
#include "publish/workingfolder.h"

#include <QFileInfo>

#include <optional>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("slideshow");

struct Arguments {
    QString album;
    QString folder; // empty with --iso and no folder
    std::optional<QString> items;
    ShowSound sound = ShowSound::None;
    QString music;
    QString iso;
    QString discFolder;
    bool replacePackage = false;
};

std::optional<Arguments> parseArguments(const QStringList &args)
{
    Arguments parsed;
    // --music and --item-sounds exclude each other.
    const auto sound = [&parsed](ShowSound chosen, const QString &music) {
        if (parsed.sound != ShowSound::None) {
            cliUsageError(kCommand, QStringLiteral("give --music or --item-sounds, not both"));
            return false;
        }
        parsed.sound = chosen;
        parsed.music = music;
        return true;
    };
    const std::optional<QStringList> positional = readCliOptions(kCommand, args,
        { cliText("--items", parsed.items),
            cliValue("--music",
                [&sound](const QString &value) {
                    return sound(ShowSound::Music, QFileInfo(value).absoluteFilePath());
                }),
            // A flag, but one that can be refused.
            { QLatin1StringView("--item-sounds"), false,
                [&sound](const QString &) { return sound(ShowSound::PictureSounds, {}); } },
            cliPath("--iso", parsed.iso), discFolderOption(kCommand, parsed.discFolder),
            cliFlag("--replace-package", [&parsed] { parsed.replacePackage = true; }) });
    if (!positional)
        return std::nullopt;
    const bool toDisc = !parsed.iso.isEmpty();
    if (positional->size() != 2 && !(toDisc && positional->size() == 1)) {
        cliUsageError(kCommand,
            toDisc ? QStringLiteral("give an album (and a folder, if the package goes there too)")
                   : QStringLiteral("give an album and a folder"));
        return std::nullopt;
    }
    if (!toDisc && !parsed.discFolder.isEmpty()) {
        cliUsageError(kCommand, QStringLiteral("--disc-folder needs --iso"));
        return std::nullopt;
    }
    parsed.album = positional->at(0);
    if (positional->size() == 2)
        parsed.folder = QFileInfo(positional->at(1)).absoluteFilePath();
    return parsed;
}

void reportAll(const QStringList &problems)
{
    for (const QString &problem : problems)
        cliErr(cliProgramName() + QStringLiteral(": ") + problem + u'\n');
}

int runSlideShow(const QStringList &args)
{
    const std::optional<Arguments> parsed = parseArguments(args);
    if (!parsed)
        return 2;
    // A music file that cannot give the show its length is refused before anything is made.
    if (parsed->sound == ShowSound::Music && waveSeconds(parsed->music) == 0)
        return cliFail(parsed->music,
            QFileInfo(parsed->music).isFile() ? QStringLiteral("not a WAVE file with a length")
                                              : QStringLiteral("no such file"));
    CAlbumDoc doc;
    if (openAlbumForReading(doc, parsed->album).isEmpty())
        return 1;
    if (!parsed->iso.isEmpty() && !outputSparesInputs(parsed->iso, albumInputFiles(doc)))
        return 1;
    if (!parsed->folder.isEmpty()
        && !packageFolderAccepted(parsed->folder, PackageKind::SlideShow, parsed->replacePackage))
        return 1;
    // By default every picture: sounds and clips have no place in a slide show.
    const std::optional<QList<int>> indexes
        = chosenItems(kCommand, parsed->items, doc, [](const AlbumItem &item) -> bool {
              return identifyMediaFile(item.absolutePath()).isPicture();
          });
    if (!indexes)
        return 2;

    QString folderError;
    const QString workingFolder = makeWorkingFolder(&folderError);
    if (workingFolder.isEmpty())
        return cliFail(QStringLiteral("working folder"), folderError);
    QStringList problems;
    ItemPicker picker(PickingMode::SlideShow, workingFolder);
    picker.activate(doc);
    std::unique_ptr<Progress> progress = host().createProgress();
    picker.add(pickerEntryIndexes(picker, doc, *indexes, problems), progress.get());
    progress->close();
    problems += picker.problems();
    if (picker.chosen().isEmpty()) {
        reportAll(problems);
        return cliFail(parsed->album, QStringLiteral("no picture can go into the slide show"));
    }
    // Copies the player; when that fails the host has said why.
    if (!picker.next()) {
        reportAll(problems);
        return 1;
    }

    SlideShowPackage package(picker);
    package.setSound(parsed->sound, parsed->music);
    const ShowFileResult written = package.writeShowFile();
    if (written != ShowFileResult::Written) {
        reportAll(problems);
        return cliFail(QLatin1String(kShowFileName), package.detail());
    }
    problems += package.problems();
    bool delivered = true;
    if (!parsed->folder.isEmpty()) {
        const QString failure = package.deliverToFolder(parsed->folder, parsed->replacePackage);
        if (!failure.isEmpty()) {
            problems.append(failure);
            delivered = false;
        }
    }
    if (delivered && !parsed->iso.isEmpty()) {
        delivered = deliverProductToDisc(package.cdProduct(parsed->discFolder),
            { DiscTarget::Kind::ImageFile, parsed->iso }, kCdCapacityBlocks);
    }
    reportAll(problems);
    if (!delivered)
        return 1;
    QStringList places;
    if (!parsed->folder.isEmpty())
        places.append(parsed->folder);
    if (!parsed->iso.isEmpty())
        places.append(parsed->iso);
    cliOut(fillIn(QStringLiteral("%1 in %2\n"),
        countedText(qint64(package.show().entries.size()), u"picture", u"pictures"),
        places.join(QStringLiteral(" and "))));
    return problems.isEmpty() ? 0 : 1;
}

const CliRegistration registration({ kCommand,
    QStringLiteral("slideshow ALBUM FOLDER [--items 0,3,5-9] [--music FILE | --item-sounds] "
                   "[--iso OUT.iso] [--disc-folder NAME] [--replace-package]"),
    QStringLiteral("make a slide show package of the album's pictures in FOLDER"),
    QStringLiteral(
        "The package: slideshow.exe (the player), slide.sld, the pictures as JPEG files,\n"
        "the sound files and slideshow.html, which plays the show in a web browser.\n"
        "--items       item numbers and ranges (from 0) in show order; default all pictures\n"
        "--music       one WAVE file plays through the whole show\n"
        "--item-sounds each picture plays its attached sound\n"
        "--iso         put the package on a disc image OUT.iso too (FOLDER may then be left out)\n"
        "--disc-folder the package goes into this disc folder; AutoRun.inf stays at the top\n"
        "FOLDER must be new, empty or hold an earlier slide show package;\n"
        "--replace-package replaces an earlier one (only its own files go)\n"
        "Exits 1 when any item could not be used (each named on standard error)."),
    runSlideShow });

} // namespace
