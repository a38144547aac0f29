// glimix-cli postcard CLIP FOLDER (--frame CATALOG:INDEX | --picture FILE) [--large]
// [--text LINE]... [--iso OUT.iso]: makes a video postcard package with the same pieces as the
// wizard, without a window. Up to three --text options fill the message and the two short lines
// in order.

#include "albumcommandsupport.h"
#include "clicommand.h"
#include "optionreader.h"
#include "platform/fillin.h"
#include "productcommandsupport.h"

#include "cdout/cdoutput.h"
#include "cdout/disccomponent.h"
#include "core/appsettings.h"
#include "core/messageids.h"
#include "platform/strings.h"
#include "publish/autorunwriter.h"
#include "publish/cardtext.h"
#include "publish/framecatalog.h"
#include "publish/postcardmaker.h"
#include "publish/postcardpackage.h"
#include "publish/workingfolder.h"

#include <QFileInfo>

#include <optional>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("postcard");

struct Arguments {
    QString clip;
    QString folder; // empty: only the disc image
    QString catalog;
    int frameIndex = -1;
    QString picture;
    bool large = false;
    QStringList texts;
    QString iso;
    bool replacePackage = false;
};

std::optional<Arguments> parseArguments(const QStringList &args)
{
    Arguments parsed;
    const std::optional<QStringList> positional = readCliOptions(kCommand, args,
        { cliValue("--frame",
              [&parsed](const QString &value) {
                  const qsizetype colon = value.lastIndexOf(u':');
                  bool ok = false;
                  parsed.frameIndex = colon > 0 ? value.mid(colon + 1).toInt(&ok) : -1;
                  if (!ok || parsed.frameIndex < 0) {
                      cliUsageError(
                          kCommand, QStringLiteral("--frame takes CATALOG:INDEX (from 0)"));
                      return false;
                  }
                  parsed.catalog = value.left(colon);
                  return true;
              }),
            cliText("--picture", parsed.picture),
            cliFlag("--large", [&parsed] { parsed.large = true; }),
            cliValue("--text",
                [&parsed](const QString &value) {
                    if (parsed.texts.size() == kCardFieldCount) {
                        cliUsageError(kCommand, QStringLiteral("at most three --text lines"));
                        return false;
                    }
                    parsed.texts.append(value);
                    return true;
                }),
            cliPath("--iso", parsed.iso),
            cliFlag("--replace-package", [&parsed] { parsed.replacePackage = true; }) });
    if (!positional)
        return std::nullopt;
    if (positional->isEmpty() || positional->size() > 2
        || (positional->size() == 1 && parsed.iso.isEmpty())) {
        cliUsageError(kCommand, QStringLiteral("give a clip and a folder"));
        return std::nullopt;
    }
    if (parsed.catalog.isEmpty() == parsed.picture.isEmpty()) {
        cliUsageError(kCommand, QStringLiteral("give either --frame or --picture"));
        return std::nullopt;
    }
    parsed.clip = positional->at(0);
    if (positional->size() == 2)
        parsed.folder = QFileInfo(positional->at(1)).absoluteFilePath();
    return parsed;
}

// The catalog named on the command line: a catalog file, or the name a template catalog shows.
std::optional<FrameCatalog> catalogArgument(const QString &name, const QStringList &folders)
{
    QString error;
    if (QFileInfo(name).isFile()) {
        std::optional<FrameCatalog> catalog = readFrameCatalog(name, &error);
        if (!catalog)
            cliFail(name, error);
        return catalog;
    }
    const QString language = loadString(Message::kInterfaceLanguageName);
    for (const FrameCatalog &catalog : findFrameCatalogs(folders, nullptr)) {
        if (catalogDisplayName(catalog, language).compare(name, Qt::CaseInsensitive) == 0)
            return catalog;
    }
    cliFail(name, QStringLiteral("no such catalog in the template folders"));
    return std::nullopt;
}

bool deliverToDisc(const QString &iso, PostcardPackage &package, const QString &workingFolder)
{
    CdProduct product;
    const PostcardOutcome prepared = package.prepareDisc(product, QString());
    if (!prepared.ok()) {
        cliFailWith(prepared.detail);
        return false;
    }
    product.workingFolder = workingFolder;
    registerDiscComponent();
    const DiscTarget target { DiscTarget::Kind::ImageFile, iso };
    const DiscTargetChooser previous
        = setDiscTargetChooser([target](const DiscSummary &) { return target; });
    CdOutput cd(appSettings().store(), standardCdPlaces());
    const bool recorded = cd.available() && cd.deliver(product) && lastDiscRecord().written;
    setDiscTargetChooser(previous);
    if (!cd.available())
        cliFail(iso, QStringLiteral("no CD output is available"));
    return recorded;
}

int runPostcard(const QStringList &args)
{
    const std::optional<Arguments> parsed = parseArguments(args);
    if (!parsed)
        return 2;
    // The disc image may not be one of the files the postcard is made of.
    if (!parsed->iso.isEmpty()
        && !outputSparesInputs(parsed->iso, { parsed->clip, parsed->picture, parsed->catalog }))
        return 1;
    if (!parsed->folder.isEmpty()
        && !packageFolderAccepted(parsed->folder, PackageKind::Postcard, parsed->replacePackage))
        return 1;
    const QStringList templates
        = postcardTemplateFolders(appSettings().folders(), appSettings().cdTemplateFolder());

    const QString backgroundPath = findCardBackground(templates);
    if (backgroundPath.isEmpty())
        return cliFail(QStringLiteral("Text.bkg"), loadString(Message::kNoCardBackground));
    QString error;
    const QImage background = loadCardBackground(backgroundPath, &error);
    if (background.isNull())
        return cliFail(backgroundPath, error);

    std::array<CardText, kCardFieldCount> texts;
    for (int field = 0; field < kCardFieldCount; ++field) {
        CardText &text = texts[size_t(field)];
        text.font = previewFont(defaultCardFont(field, appSettings().systemLanguage()));
        text.text = field < parsed->texts.size() ? parsed->texts.at(field) : QString();
        const CardLanguage language = cardLanguageOf(loadString(Message::kInterfaceLanguageName));
        if (!cardTextFits(text.text, text.font, cardTextPlace(field, language).preview.size()))
            return cliFail(
                QStringLiteral("--text ") + text.text, loadString(Message::kCardTextDoesNotFit));
    }

    // Check the clip and the player before anything is made.
    QString workingFolder = makeWorkingFolder(&error);
    if (workingFolder.isEmpty())
        return cliFail(QStringLiteral("working folder"), error);
    PostcardPackage package(workingFolder, parsed->clip);
    const auto finish = [&workingFolder](int status) {
        removeWorkingFolder(workingFolder);
        return status;
    };
    const PostcardOutcome checked = package.checkSources();
    if (!checked.ok())
        return finish(cliFailWith(checked.detail));

    std::optional<FrameCatalog> catalog;
    OwnedBlock ownPicture;
    PostcardFrameChoice frame;
    frame.large = parsed->large;
    if (!parsed->catalog.isEmpty()) {
        catalog = catalogArgument(parsed->catalog, templates);
        if (!catalog)
            return finish(1);
        if (parsed->frameIndex >= catalog->frames.size())
            return finish(cliFail(parsed->catalog,
                fillIn(QStringLiteral("the catalog has %1 frames (0 to %2)"),
                    catalog->frames.size(), catalog->frames.size() - 1)));
        frame.catalog = &*catalog;
        frame.frameIndex = parsed->frameIndex;
    } else {
        ownPicture = loadOwnFramePicture(parsed->picture, &error);
        if (!ownPicture)
            return finish(cliFail(parsed->picture, error));
        frame.ownPicture = ownPicture.handle();
    }

    const QImage card = makeCardPicture(
        background, texts, cardLanguageOf(loadString(Message::kInterfaceLanguageName)));
    const std::optional<PostcardContent> content
        = makePostcardContent(frame, card, parsed->clip, &error);
    if (!content)
        return finish(cliFail(parsed->catalog, error));
    const PostcardOutcome written = package.writeFiles(*content);
    if (!written.ok())
        return finish(cliFail(loadString(Message::kPostcardFileNotWritten), written.detail));
    if (!parsed->folder.isEmpty()) {
        const PostcardOutcome delivered
            = package.deliverToFolder(parsed->folder, nullptr, parsed->replacePackage);
        if (!delivered.ok())
            return finish(cliFailWith(delivered.detail));
        cliOut(QStringLiteral("postcard in %1\n").arg(parsed->folder));
    }
    if (!parsed->iso.isEmpty()) {
        if (!deliverToDisc(parsed->iso, package, workingFolder))
            return finish(1);
        cliOut(QStringLiteral("postcard on %1\n").arg(parsed->iso));
    }
    return finish(0);
}

const CliRegistration registration({ kCommand,
    QStringLiteral("postcard CLIP FOLDER (--frame CATALOG:INDEX | --picture FILE) [--large] "
                   "[--text LINE]... [--iso OUT.iso] [--replace-package]"),
    QStringLiteral("make a video postcard of a clip in FOLDER"),
    QStringLiteral("Writes background.vtp, video.EXT, VideoPostcard.exe and postcard.html.\n"
                   "--frame     a frame of a catalog: a .cat file or a catalog's name in the\n"
                   "            template folders (Seasons, Celebrations, Classic); INDEX from 0\n"
                   "--picture   your own picture as the frame, fitted into 640 x 480\n"
                   "--large     a 320 x 240 video window instead of 160 x 120\n"
                   "--text      up to three: the message, then the two short lines\n"
                   "--iso       also put the postcard on a disc image OUT.iso (FOLDER may then\n"
                   "            be left out)\n"
                   "FOLDER must be new, empty or hold an earlier postcard; --replace-package\n"
                   "            replaces an earlier one (only its own files go)"),
    runPostcard });

} // namespace
