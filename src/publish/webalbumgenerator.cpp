#include "webalbumgenerator.h"

#include "packagefolder.h"
#include "productfiles.h"
#include "quietjpeg.h"
#include "responsivehtml.h"

#include "album/iconpicture.h"
#include "album/mediakind.h"
#include "core/appsettings.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "core/orderedwork.h"
#include "imaging/bmpcodec.h"
#include "imaging/dib.h"
#include "imaging/imageconvert.h"
#include "imaging/imagescale.h"
#include "imaging/jpegcodec.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/picturetypes.h"
#include "imaging/upright.h"
#include "media/firstframe.h"
#include "platform/strings.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace glimmerix
{

namespace
{

constexpr int kQuality = 90;
constexpr int kDefaultDotsPerInch = 200;

QString withoutTrailingColon(QString label)
{
    if (label.endsWith(u':'))
        label.chop(1);
    return label;
}

// Dots per inch of a picture: its horizontal resolution, or 200 when it has none.
int dotsPerInch(BlockHandle block)
{
    const auto *header = static_cast<const BITMAPINFOHEADER *>(blockLock(block));
    const int dpi = header ? int(std::lround(header->biXPelsPerMeter * 0.0254)) : 0;
    return dpi > 0 ? dpi : kDefaultDotsPerInch;
}

QSize pictureSize(BlockHandle block)
{
    const auto *header = static_cast<const BITMAPINFOHEADER *>(blockLock(block));
    return header ? QSize(header->biWidth, std::abs(header->biHeight)) : QSize();
}

// Fits, resamples, widens and writes the thumbnail. Empty on success, else the cause.
QString writeThumbnail(BlockHandle picture, QSize box, const QString &path, QSize *size)
{
    OwnedBlock scaled;
    BlockHandle thumbnail = picture;
    if (const std::optional<QSize> fit = fitThumbnail(pictureSize(picture), box)) {
        scaled.reset(ScaleImage(picture, fit->width(), fit->height(), dotsPerInch(picture)));
        if (!scaled)
            return QStringLiteral("the picture could not be resampled");
        thumbnail = scaled.handle();
    }
    OwnedBlock wide;
    if (ClassifyImage(thumbnail) != kClassTrueColor) {
        wide.reset(ExpandTo24Bit(thumbnail));
        if (!wide)
            return QStringLiteral("no 24-bit copy could be made");
        thumbnail = wide.handle();
    }
    *size = pictureSize(thumbnail);
    return writeJpegQuietly(path, thumbnail, kQuality);
}

// Icon pictures are bitmaps despite their ".log" names; read without a message.
BlockHandle readIconQuietly(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const DecodeResult read = readBmp(file, false);
    return read.status == DecodeStatus::Ok ? read.block : 0;
}

} // namespace

WebAlbumSetup defaultWebAlbumSetup(const WebAlbumOptions &options, const AppSettings &settings)
{
    WebAlbumSetup setup;
    setup.options = options;
    setup.options.clamp();
    setup.fieldLabels = { withoutTrailingColon(settings.fieldLabel(ItemField::Caption)),
        withoutTrailingColon(settings.fieldLabel(ItemField::Keywords)),
        withoutTrailingColon(settings.fieldLabel(ItemField::Description)) };
    setup.texts = bundlePageTexts();
    const Folders &folders = settings.folders();
    setup.supportFolder = folders.supportFolder();
    setup.programFolder = folders.resourceFolder();
    return setup;
}

WebAlbumGenerator::WebAlbumGenerator(const ItemPicker &picker, WebAlbumSetup setup)
    : m_picker(picker)
    , m_setup(std::move(setup))
    , m_folder(picker.workingFolder())
{
}

int WebAlbumGenerator::pageCount() const
{
    if (m_setup.options.responsive())
        return responsivePageCount(int(m_entries.size()));
    return webAlbumPageCount(thumbnailCount(), m_setup.options.columns, m_setup.options.rows);
}

void WebAlbumGenerator::addOutput(const QString &path)
{
    m_outputs.append(path);
}

WebAlbumGenerator::ItemResult WebAlbumGenerator::makeItem(int index, bool callerThread) const
{
    ItemResult result;
    const QString path = m_picker.chosenItems().at(index).path;
    const QString name = fileNameOf(path);
    if (name.isEmpty())
        return result;
    if (m_setup.options.responsive()) {
        if (std::optional<ItemResult> reused = reusedResponsiveItem(index))
            return std::move(*reused);
    }
    const QString base = baseNameOf(path);
    const QString thumbnailPath = m_folder + QStringLiteral("sm_") + base + QStringLiteral(".jpg");
    const MediaFile file = identifyMediaFile(path);
    const MediaKind kind = mediaKindOf(file);
    const bool still = kind == MediaKind::Picture;
    const bool jpeg = file.format == MediaFormat::Jpeg;
    if (!callerThread && !(still && jpeg)) {
        // Other readers share the picture layer's state; icons and frames need the GUI thread.
        result.onCallerThread = true;
        return result;
    }

    OwnedBlock picture;
    if (still) {
        DecodeResult read = jpeg ? readJpegQuietly(path) : loadMediaPicture(file);
        makeUpright(read, path);
        picture.reset(read.block);
        if (read.status != DecodeStatus::Ok) {
            // Without its full picture the cell's link would lead nowhere: leave the item out.
            result.problem = path + QStringLiteral(": ") + read.detail;
            return result;
        }
        if (m_setup.options.responsive())
            return makeResponsiveItem(index, picture.handle(), true, false);
    } else {
        if (!QFileInfo::exists(path)) {
            result.problem = path + QStringLiteral(": no such file");
            return result;
        }
        switch (kind) {
        case MediaKind::Avi: {
            const FirstFrame frame = readFirstVideoFrame(path);
            picture.reset(frame.result == FirstFrameResult::Ok ? frame.block : 0);
            break;
        }
        case MediaKind::Mpeg:
            picture.reset(GetFirstMpegFrame(path));
            break;
        case MediaKind::Wave:
            picture.reset(
                readIconQuietly(m_setup.programFolder + u'/' + QLatin1String(kWaveIconPicture)));
            break;
        case MediaKind::Mp3:
            picture.reset(
                readIconQuietly(m_setup.programFolder + u'/' + QLatin1String(kMp3IconPicture)));
            break;
        case MediaKind::Other: {
            // Clips and sounds of today, known by their content: the first frame upright, or
            // the sound picture. The cell links to the copied file: a clip browsers play (H.264/AAC
            // MP4, WebM) opens in the browser, any other is offered for download.
            const MediaFile media = identifyMediaFile(path);
            if (media.isClip()) {
                const FirstFrame frame = readUprightFirstFrame(path);
                picture.reset(frame.result == FirstFrameResult::Ok ? frame.block : 0);
                result.download = !browserPlaysClip(path);
            } else if (media.isSound()) {
                picture.reset(
                    readIconQuietly(m_setup.programFolder + u'/' + QLatin1String(kMp3IconPicture)));
            }
            break;
        }
        case MediaKind::Picture:
            break;
        }
        if (!picture)
            picture.reset(shellIconPicture(path));
        if (!picture)
            picture.reset(
                readIconQuietly(m_setup.programFolder + u'/' + QLatin1String(kUnknownIconPicture)));
        if (!picture) {
            result.problem = path + QStringLiteral(": no picture or icon could be made");
            return result;
        }
        if (m_setup.options.responsive())
            return makeResponsiveItem(
                index, picture.handle(), false, kind == MediaKind::Other && !result.download);
    }

    const QString cause = writeThumbnail(
        picture.handle(), thumbnailBox(m_setup.options.thumbnailSize), thumbnailPath, &result.size);
    if (!cause.isEmpty()) {
        result.problem = thumbnailPath + QStringLiteral(": ") + cause;
        return result;
    }
    result.thumbnail = thumbnailPath;

    // The convert flag makes a JPEG of the album's own picture types; a picture of today's types
    // is linked as the picking made it (a browser-safe one as it is, the others already JPEG).
    const AlbumItem *source = m_picker.chosenItems().at(index).item;
    if (!still || !m_picker.convert()
        || (source != nullptr && !identifyMediaFile(source->absolutePath()).isAlbumPictureType())) {
        // The cell links to the working copy itself.
        result.full = m_folder + name;
        if (!QFileInfo::exists(result.full))
            result.problem = result.full + QStringLiteral(": no such file");
        return result;
    }
    OwnedBlock full;
    BlockHandle fullPicture = picture.handle();
    if (ClassifyImage(fullPicture) != kClassTrueColor) {
        full.reset(ExpandTo24Bit(fullPicture));
        if (!full) {
            result.problem = path + QStringLiteral(": no 24-bit copy could be made");
            return result;
        }
        fullPicture = full.handle();
    }
    const QString fullPath = m_folder + base + QStringLiteral(".jpg");
    const QString fullCause = writeJpegQuietly(fullPath, fullPicture, kQuality);
    if (!fullCause.isEmpty()) {
        result.problem = fullPath + QStringLiteral(": ") + fullCause;
        return result;
    }
    result.full = fullPath;
    return result;
}

std::optional<WebAlbumGenerator::ItemResult> WebAlbumGenerator::reusedResponsiveItem(
    int index) const
{
    if (m_earlier.isEmpty())
        return std::nullopt;
    const ChosenItem &chosen = m_picker.chosenItems().at(index);
    const QString source = chosen.item ? chosen.item->absolutePath() : chosen.path;
    if (mediaKindOf(identifyMediaFile(source)) != MediaKind::Picture)
        return std::nullopt;
    const QString signature = responsiveSignature(source, m_setup.options.cropThumbnails);
    std::optional<ResponsiveEntry> entry
        = reusableEntry(m_earlier, m_setup.earlierSite, responsiveKey(source), signature);
    if (!entry)
        return std::nullopt;
    ItemResult result;
    result.responsive = std::move(*entry);
    result.signature = signature;
    const QString site = m_setup.earlierSite + u'/';
    for (const PictureVariant &variant : result.responsive.sizes
            + QList { result.responsive.thumbnail, result.responsive.thumbnail2x }) {
        result.made.append(site + variant.jpeg);
        if (!variant.webp.isEmpty())
            result.made.append(site + variant.webp);
    }
    return finishResponsiveItem(index, std::move(result), true, false);
}

WebAlbumGenerator::ItemResult WebAlbumGenerator::makeResponsiveItem(
    int index, BlockHandle picture, bool still, bool playable) const
{
    ItemResult result;
    const ChosenItem &chosen = m_picker.chosenItems().at(index);
    const QString source = chosen.item ? chosen.item->absolutePath() : chosen.path;
    ResponsiveEntry &entry = result.responsive;
    entry.key = responsiveKey(source);
    const QString cause = writeResponsivePictures(
        picture, m_folder, m_setup.options.cropThumbnails, true, &entry, &result.made);
    if (!cause.isEmpty()) {
        result.problem = cause;
        return result;
    }
    if (still) {
        entry.facts = pictureFactLines(readPictureFacts(source));
        result.signature = responsiveSignature(source, m_setup.options.cropThumbnails);
    }
    return finishResponsiveItem(index, std::move(result), still, playable);
}

WebAlbumGenerator::ItemResult WebAlbumGenerator::finishResponsiveItem(
    int index, ItemResult result, bool still, bool playable) const
{
    const ChosenItem &chosen = m_picker.chosenItems().at(index);
    const QString source = chosen.item ? chosen.item->absolutePath() : chosen.path;
    ResponsiveEntry &entry = result.responsive;
    entry.name = fileNameOf(source);
    // Clips and sounds always go into the site; a picture's own file only when asked for.
    const QString copy = m_folder + fileNameOf(chosen.path);
    if (!still || m_setup.options.linkOriginals) {
        if (!QFileInfo::exists(copy)) {
            result.problem = copy + QStringLiteral(": no such file");
            return result;
        }
        result.full = copy;
        const QString name = fileNameOf(copy);
        if (still)
            entry.original = name;
        else if (playable)
            entry.clip = name;
        else
            entry.download = name;
    }
    entry.bytes = QFileInfo(result.full.isEmpty() ? source : result.full).size();
    result.thumbnail = m_folder + entry.thumbnail.jpeg;
    result.size = entry.thumbnail.size;
    return result;
}

void WebAlbumGenerator::takeResponsiveItem(int index, ItemResult &&result)
{
    if (!result.problem.isEmpty()) {
        m_problems.append(result.problem);
        // Only what this pass made; pictures taken over from the earlier site stay there.
        for (const QString &made : std::as_const(result.made))
            if (made.startsWith(m_folder))
                QFile::remove(made);
        return;
    }
    for (const QString &made : std::as_const(result.made))
        addOutput(made);
    if (!result.full.isEmpty() && !m_outputs.contains(result.full))
        addOutput(result.full);
    ResponsiveEntry &entry = result.responsive;
    for (int field = 0; field < 3; ++field)
        if (m_setup.options.showField.at(field))
            entry.fields.at(field)
                = m_picker.fieldText(m_picker.chosenItems().at(index).path, field + 1);
    AlbumCell cell;
    cell.link = entry.sizes.isEmpty() ? QString() : entry.sizes.back().jpeg;
    cell.thumbnail = entry.thumbnail.jpeg;
    cell.size = entry.thumbnail.size;
    m_cells.append(cell);
    m_entries.append(std::move(entry));
    m_signatures.append(result.signature);
}

void WebAlbumGenerator::takeItem(int index, ItemResult &&result)
{
    if (m_setup.options.responsive()) {
        takeResponsiveItem(index, std::move(result));
        return;
    }
    if (!result.problem.isEmpty()) {
        m_problems.append(result.problem);
        // A thumbnail without its full picture is not shown; it is not delivered either.
        if (!result.thumbnail.isEmpty())
            QFile::remove(result.thumbnail);
        return;
    }
    if (result.thumbnail.isEmpty())
        return;
    addOutput(result.thumbnail);
    const bool ownCopy
        = result.full == m_folder + fileNameOf(m_picker.chosenItems().at(index).path);
    if (!ownCopy || !m_outputs.contains(result.full))
        addOutput(result.full);

    AlbumCell cell;
    cell.link = fileNameOf(result.full);
    cell.thumbnail = fileNameOf(result.thumbnail);
    cell.size = result.size;
    cell.download = result.download;
    const WebAlbumOptions &options = m_setup.options;
    if (options.showSize && QFileInfo::exists(result.full))
        cell.captions.append(
            QString::asprintf("%5.1f KB", double(QFileInfo(result.full).size()) * 0.001));
    for (int field = 0; field < 3; ++field) {
        if (!options.showField.at(field))
            continue;
        const QString text = m_picker.fieldText(m_picker.chosenItems().at(index).path, field + 1);
        if (!text.isEmpty())
            cell.captions.append(m_setup.fieldLabels.at(field) + QStringLiteral(": ") + text);
    }
    m_cells.append(cell);
}

bool WebAlbumGenerator::makeThumbnails(Progress *progress)
{
    const QList<ChosenItem> &items = m_picker.chosenItems();
    const int count = int(items.size());
    if (progress) {
        progress->setRange(count + 1);
        progress->setPosition(0);
    }
    if (m_setup.options.responsive() && !m_setup.earlierSite.isEmpty())
        m_earlier = readResponsiveManifest(m_setup.earlierSite);
    const std::function<ItemResult(int)> produce
        = [this](int index) { return makeItem(index, false); };
    const std::function<bool(int, ItemResult &&)> consume = [&](int index, ItemResult &&result) {
        if (progress) {
            if (index == 0) {
                progress->setTitle(loadString(Message::kWebAlbumProgressTitle));
                progress->setText(items.at(index).path);
                progress->show();
            } else {
                if (progress->cancelled())
                    return false;
                progress->setText(items.at(index).path);
                progress->setPosition(index);
            }
            progress->pumpEvents();
        }
        if (result.onCallerThread)
            result = makeItem(index, true);
        takeItem(index, std::move(result));
        return true;
    };
    const std::function<bool()> idle = [progress] {
        if (progress == nullptr)
            return true;
        progress->pumpEvents();
        return !progress->cancelled();
    };
    const int workers = m_setup.workers > 0 ? m_setup.workers : defaultWorkerCount();
    const bool completed = runOrdered<ItemResult>(count, workers, produce, consume, idle);
    if (progress)
        progress->setPosition(count + 1);
    return completed;
}

void WebAlbumGenerator::copyThemePicture(const QString &name)
{
    const QString target = m_folder + name + QStringLiteral(".gif");
    // A missing theme picture is skipped without a message; the page still works.
    if (copyProductFile(m_setup.supportFolder + u'/' + name + QStringLiteral(".log"), target)
            .isEmpty())
        addOutput(target);
}

bool WebAlbumGenerator::writeResponsivePages()
{
    const bool eastAsian = m_setup.texts.languageName == QLatin1String("Japanese")
        || m_setup.texts.languageName == QLatin1String("Korean");
    const QString language = !eastAsian                           ? QStringLiteral("en")
        : m_setup.texts.languageName == QLatin1String("Japanese") ? QStringLiteral("ja")
                                                                  : QStringLiteral("ko");
    const int pages = pageCount();
    for (int index = 0; index < pages; ++index) {
        const QString path = m_folder + responsivePageName(index + 1);
        const QString cause = writeWholeFile(
            path, responsivePage(m_setup.options, m_setup.fieldLabels, m_entries, index, language));
        if (!cause.isEmpty()) {
            m_problems.append(path + QStringLiteral(": ") + cause);
            return false;
        }
        addOutput(path);
        ++m_pagesWritten;
    }
    const QString manifest = m_folder + QLatin1String(kResponsiveManifest);
    const QString manifestCause
        = writeWholeFile(manifest, responsiveManifestBytes(m_entries, m_signatures));
    if (!manifestCause.isEmpty()) {
        m_problems.append(manifest + QStringLiteral(": ") + manifestCause);
        return false;
    }
    addOutput(manifest);
    // The style sheet, the script and the lightbox: without them the pages would still show,
    // but not as made, so a missing one is a failure.
    for (const QString &asset : responsiveAssets()) {
        const QString source
            = m_setup.programFolder + u'/' + QLatin1String(kResponsiveAssetFolder) + u'/' + asset;
        const QString target = m_folder + asset;
        QString failed;
        const QString cause = copyProductFile(source, target, &failed);
        if (!cause.isEmpty()) {
            m_problems.append((failed.isEmpty() ? source : failed) + QStringLiteral(": ") + cause);
            return false;
        }
        addOutput(target);
    }
    return true;
}

bool WebAlbumGenerator::writePages()
{
    if (m_setup.options.responsive())
        return writeResponsivePages();
    const int pages = pageCount();
    const WebAlbumTheme &theme = webAlbumTheme(m_setup.options.theme);
    for (int index = 0; index < pages; ++index) {
        const QString path = m_folder + webAlbumPageName(index + 1);
        const QString cause
            = writeWholeFile(path, webAlbumPage(m_setup.options, m_setup.texts, m_cells, index));
        if (!cause.isEmpty()) {
            m_problems.append(path + QStringLiteral(": ") + cause);
            return false;
        }
        addOutput(path);
        ++m_pagesWritten;
        if (theme.background != nullptr)
            copyThemePicture(QLatin1String(theme.background));
        for (const QString &button : pageButtons(m_setup.options.theme, index, pages))
            copyThemePicture(button);
        if (m_logoPending) {
            const QString logo = m_folder + QLatin1String(kCreditLogo);
            const QString source = m_setup.programFolder + u'/' + QLatin1String(kCreditLogoSource);
            if (copyProductFile(source, logo).isEmpty()) {
                m_logoPending = false;
                addOutput(logo);
            }
        }
    }
    return true;
}

bool WebAlbumGenerator::deliverToFolder(const QString &folder, bool replaceEarlier)
{
    QList<PackageFile> files;
    for (const QString &path : std::as_const(m_outputs))
        files.append({ path, fileNameOf(path) });
    const QString failure = deliverPackage(folder, PackageKind::WebAlbum, files, replaceEarlier);
    if (!failure.isEmpty()) {
        m_problems.append(failure);
        return false;
    }
    return true;
}

void WebAlbumGenerator::cleanWorkingFolder(bool removeAutoRun)
{
    // Pictures taken over from an earlier site are outputs too, but not the working folder's.
    for (const QString &path : std::as_const(m_outputs))
        if (path.startsWith(m_folder))
            QFile::remove(path);
    if (removeAutoRun)
        QFile::remove(m_folder + QStringLiteral("AutoRun.inf"));
    m_outputs.clear();
}

} // namespace glimmerix
