#include "importer.h"

#include "acquirename.h"
#include "albumdoc.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "iconpicture.h"
#include "imaging/imagecodes.h"
#include "imaging/imagefile.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/picturestate.h"
#include "imaging/pixkit.h"
#include "imaging/upright.h"
#include "jpegthumbnail.h"
#include "media/firstframe.h"
#include "mediakind.h"
#include "orderedimport.h"
#include "platform/fillin.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "thumbnail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace glimmerix
{

namespace
{

// The first frame of an AVI or QuickTime clip, turned upright as its display rotation says (a
// phone's .MOV filmed upright); a clip without a rotation keeps its frame exactly as stored.
// Failures show message 50102, 50103 or 50104.
BlockHandle aviFrame(const QString &path)
{
    const FirstFrame frame = readUprightFirstFrame(path);
    switch (frame.result) {
    case FirstFrameResult::Ok:
        return frame.block;
    case FirstFrameResult::CannotOpen:
        host().showMessage(Message::kAviCannotOpen, { path });
        return 0;
    case FirstFrameResult::NoVideoStream:
        host().showMessage(Message::kAviNoStream, { path });
        return 0;
    case FirstFrameResult::NoFrame:
        host().showMessage(Message::kAviNoFrame, { path });
        return 0;
    }
    return 0;
}

// Clips and sounds of today, known by their content (MP4, MKV, WebM, 3GP, MTS; MP3, Ogg, FLAC,
// M4A): a clip's first frame turned as its display rotation says, else the video icon; a sound
// gets the sound icon. 0 for anything else.
BlockHandle todaysClipOrSoundPicture(const MediaFile &file)
{
    if (file.isClip()) {
        const FirstFrame frame = readUprightFirstFrame(file.path);
        if (frame.result == FirstFrameResult::Ok)
            return frame.block;
        return readIconPicture(kVideoIconPicture);
    }
    if (file.isSound())
        return readIconPicture(
            file.format == MediaFormat::Wave ? kWaveIconPicture : kMp3IconPicture);
    return 0;
}

BlockHandle kindPicture(
    const MediaFile &file, MediaKind kind, QString *problem, MediaPictureSize *fullSize)
{
    const QString &path = file.path;
    switch (kind) {
    case MediaKind::Picture:
        return openPictureForThumbnail(file, problem, fullSize);
    case MediaKind::Avi:
        if (const BlockHandle frame = aviFrame(path))
            return frame;
        return readIconPicture(kVideoIconPicture);
    case MediaKind::Mpeg:
        if (const BlockHandle frame = GetFirstMpegFrame(path))
            return frame;
        return readIconPicture(kVideoIconPicture);
    case MediaKind::Wave:
        return readIconPicture(kWaveIconPicture);
    case MediaKind::Mp3:
        return readIconPicture(kMp3IconPicture);
    case MediaKind::Other:
        if (const BlockHandle picture = todaysClipOrSoundPicture(file))
            return picture;
        if (const BlockHandle icon = shellIconPicture(path))
            return icon;
        return readIconPicture(kUnknownIconPicture);
    }
    return 0;
}

// The album's thumbnail size, in the form the readers ask for it.
MediaPictureSize thumbnailRule(int width, int height)
{
    const ThumbnailSize size = thumbnailSize(width, height);
    return { size.width, size.height };
}

// A picture of a type the album reads by content (a ".jpeg" file, HEIC, PNG, ...). For a
// thumbnail (`fullSize` given) a smaller picture may stand in: one the file carries, or only
// the pixels the thumbnail takes.
BlockHandle openOtherPicture(const MediaFile &file, QString *problem, MediaPictureSize *fullSize)
{
    // As for the album's types, the readers report no progress here: import keeps its own text.
    const bool progress = progressSwitch();
    setProgressSwitch(false);
    // Only a caller that takes the picture's size apart from the block accepts a smaller one.
    const DecodeResult read = fullSize
        ? loadMediaPicture(file, PictureUse::Thumbnail, fullSize, thumbnailRule)
        : loadMediaPicture(file, PictureUse::Full);
    setProgressSwitch(progress);
    host().setStatusText(0, loadString(Message::kIdleStatus));
    if (read.status == DecodeStatus::Ok) {
        // A photo's EXIF orientation turns it upright; the source size recorded turns with it.
        if (fullSize && pictureOrientation(file.path) >= 5)
            std::swap(fullSize->width, fullSize->height);
        return uprightPicture(read.block, file.path);
    }
    if (isBlockHandle(read.block))
        blockFree(read.block);
    const QString cause
        = read.detail.isEmpty() ? QStringLiteral("the picture cannot be read") : read.detail;
    if (problem)
        *problem = cause;
    else
        host().showText(file.path + QStringLiteral(": ") + cause, MessageIcon::Warning,
            MessageButtons::Ok, Message::kPictureUnreadable);
    return 0;
}

} // namespace

BlockHandle openPictureForThumbnail(const QString &path, QString *problem)
{
    return openPictureForThumbnail(identifyMediaFile(path), problem);
}

BlockHandle openPictureForThumbnail(
    const MediaFile &file, QString *problem, MediaPictureSize *fullSize)
{
    if (file.isPicture() && !file.isAlbumPictureType())
        return openOtherPicture(file, problem, fullSize);
    const QString &path = file.path;
    const QString extension = upperExtension(path);
    BlockHandle result = kPkFailed;
    bool known = true;
    if (extension == QLatin1String(".PCD")) {
        const PhotoCdOptions options = photoCdOptions();
        result = PkOpenFile(path, 0, &options);
    } else if (extension == QLatin1String(".QSF")) {
        result = PkLoadQsfFile(path, kQsfBackgroundWhite);
    } else if (IsPictureFile(path)) {
        result = PkOpenFile(path, 0, nullptr);
    } else {
        known = false;
    }
    if (!known || result == kPkFailed) {
        if (problem)
            *problem = QStringLiteral("the picture cannot be read");
        else
            host().showMessage(Message::kPictureUnreadable, { path });
        result = 0;
    } else if (result == kPkTooLarge || result == kPkNoMemory) {
        if (problem) {
            *problem = QStringLiteral("the picture is too large");
        } else {
            if (extension == QLatin1String(".TIF") && result == kPkNoMemory)
                host().showMessage(Message::kTiffTooLarge, { path });
            host().showMessage(Message::kOutOfMemory);
        }
        result = 0;
    }
    host().setStatusText(0, loadString(Message::kIdleStatus));
    return uprightPicture(result, path);
}

BlockHandle pictureForFile(const QString &itemPath, QString *problem)
{
    return pictureForFile(identifyMediaFile(absoluteItemPath(itemPath)), problem);
}

BlockHandle pictureForFile(const MediaFile &file, QString *problem, MediaPictureSize *fullSize)
{
    const QString &path = file.path;
    const MediaKind kind = mediaKindOf(file);
    if (const BlockHandle picture = kindPicture(file, kind, problem, fullSize))
        return picture;
    // An icon may stand in for a picture that is missing (an item added anyway, shown as
    // missing), never for a picture file that is there but cannot be read.
    if (kind == MediaKind::Picture && QFileInfo::exists(path))
        return 0;
    if (const BlockHandle icon = shellIconPicture(path))
        return icon;
    return readIconPicture(kUnknownIconPicture);
}

QString unusableFileProblem(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("is a folder");
    if (!info.exists())
        return QStringLiteral("no such file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString text = file.errorString();
        return text.left(1).toLower() + text.mid(1);
    }
    if (file.size() == 0)
        return QStringLiteral("the file is empty");
    return {};
}

BlockHandle thumbnailForFile(const QString &path, QString *problem)
{
    const MediaFile file = identifyMediaFile(absoluteItemPath(path));
    // Photos take the fast path that decodes only the sampled rows; anything it declines (a
    // damaged or CMYK file) goes the general way, which also reports the errors.
    if (file.format == MediaFormat::Jpeg) {
        const BlockHandle thumbnail = makeJpegThumbnail(path);
        if (isBlockHandle(thumbnail)) {
            host().setStatusText(0, loadString(Message::kIdleStatus));
            return thumbnail;
        }
    }
    MediaPictureSize fullSize;
    OwnedBlock picture(pictureForFile(file, problem, &fullSize));
    if (!picture)
        return 0;
    MediaFile named = file;
    named.path = path;
    return makeThumbnail(picture.handle(), named, fullSize);
}

int rebuildThumbnail(CAlbumDoc &document, int index)
{
    AlbumItem *item = document.item(index);
    if (!item || !QFileInfo::exists(item->absolutePath()))
        return 0;
    item->setExists(true);
    const QString &path = item->absolutePath();
    const MediaFile file = identifyMediaFile(path);
    BlockHandle fresh = file.format == MediaFormat::Jpeg ? makeJpegThumbnail(path) : 0;
    if (!isBlockHandle(fresh)) {
        MediaPictureSize fullSize;
        OwnedBlock picture(pictureForFile(file, nullptr, &fullSize));
        if (!picture) {
            host().showMessage(Message::kNoPictureForRebuild, {}, MessageIcon::Warning);
            return 0;
        }
        fresh = makeThumbnail(picture.handle(), file, fullSize);
    }
    if (!isBlockHandle(fresh)) {
        host().showMessage(Message::kThumbnailNotMade, {}, MessageIcon::Warning);
        return 0;
    }
    auto *info = static_cast<ItemInfo *>(blockLock(fresh));
    const ItemInfo *old = item->info();
    if (old) {
        std::memcpy(info->path, old->path, sizeof info->path);
        std::memcpy(info->description, old->description, sizeof info->description);
        std::memcpy(info->caption, old->caption, sizeof info->caption);
        std::memcpy(info->keywords, old->keywords, sizeof info->keywords);
    }
    document.setItemThumbnail(index, fresh);
    return 1;
}

QStringList mediaFilesInFolder(const QString &folder)
{
    // Unreadable files and folders with a media name are listed too, so that adding them names
    // the problem instead of passing them over in silence.
    const QDir dir(folder);
    const QStringList names
        = dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QStringList files;
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        if (isMediaFileToAdd(path))
            files.append(path);
    }
    return files;
}

bool isMediaFileToAdd(const QString &path)
{
    // The album's own names decide without reading; any other file is asked for its content.
    const MediaFile byName = identifyMediaBytes(path, {});
    return byName.byExtension
        ? mediaKindOf(byName) != MediaKind::Other
        : QFileInfo(path).isFile() && identifyMediaFile(path).kind != MediaClass::Other;
}

AddFilesOutcome addFiles(CAlbumDoc &document, const QStringList &paths)
{
    AddFilesOutcome outcome;
    if (paths.isEmpty())
        return outcome;
    WaitCursor wait;
    outcome.folder = QFileInfo(paths.first()).absolutePath();
    document.setAddFilesFolder(outcome.folder);
    std::unique_ptr<Progress> progress = host().createProgress();
    progress->setTitle(loadString(Message::kAddingFiles));
    progress->setRange(int(paths.size()));
    progress->show();
    QStringList absolute;
    absolute.reserve(paths.size());
    for (const QString &path : paths)
        absolute << QFileInfo(path).absoluteFilePath();
    glimmerix::addFilesInOrder(document, absolute, *progress, outcome);
    progress->close();
    // One report for every file that could not be added, not a message box per file.
    if (outcome.failed > 0)
        host().showText(outcome.report(), MessageIcon::Warning, MessageButtons::Ok, 0);
    return outcome;
}

int addFileCounted(CAlbumDoc &document, const QString &path, AddFilesOutcome &outcome)
{
    QString problem = unusableFileProblem(path);
    const int result = problem.isEmpty() ? document.addFile(path, -1, &problem) : 0;
    countAddResult(outcome, path, result, problem);
    return result;
}

void countAddResult(
    AddFilesOutcome &outcome, const QString &path, int result, const QString &problem)
{
    switch (result) {
    case 1:
        ++outcome.added;
        break;
    case -2:
        ++outcome.duplicates;
        break;
    default:
        ++outcome.failed;
        outcome.skipped.append(
            { path, problem.isEmpty() ? QStringLiteral("cannot be added") : problem });
        break;
    }
}

QString AddFilesOutcome::summary() const
{
    QString text = fillIn(QStringLiteral("%1 added, %2 skipped"), added, failed);
    if (duplicates > 0)
        text += QStringLiteral(", %1 already in the album").arg(duplicates);
    return text;
}

QString AddFilesOutcome::report() const
{
    QString text = summary();
    for (const SkippedFile &file : skipped)
        text += QStringLiteral("\n%1: %2").arg(file.path, file.problem);
    return text;
}

int addInMemoryPicture(CAlbumDoc &document, BlockHandle picture, const AcquireNaming &naming,
    AcquireCounterStore &counters, const QDate &today)
{
    const QString path = nextAcquiredFileName(naming, counters, today);
    if (path.isEmpty()) {
        host().showMessage(Message::kNoFreeAcquiredName, { naming.folder });
        return 0;
    }
    makeFolderIfMissing(QFileInfo(path).absolutePath());
    if (SaveImageFile(picture, path) != kWriteDone)
        return 0;
    const BlockHandle thumbnail = makeThumbnail(picture, path);
    if (!isBlockHandle(thumbnail))
        return 0;
    const CAlbumDoc::ChangeBatch batch(document);
    const int inserted = document.insertItem(std::make_unique<AlbumItem>(thumbnail, path));
    return inserted == 1 ? 1 : 0;
}

int addInMemoryPicture(CAlbumDoc &document, BlockHandle picture, const AcquireSettings &settings)
{
    ProfileAcquireCounters counters;
    return addInMemoryPicture(document, picture, acquireNamingFrom(settings, photosFolder()),
        counters, QDate::currentDate());
}

} // namespace glimmerix
