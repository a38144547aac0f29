#include "onlinejobs.h"

#include "core/messageids.h"
#include "imaging/blockmemory.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/picturetypes.h"
#include "imaging/upright.h"
#include "platform/host.h"
#include "platform/uniquefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

namespace glimmerix
{

int onlineFailureMessage(const OnlineOutcome &outcome, int fileMessage)
{
    switch (outcome.status) {
    case OnlineStatus::FileFailed:
        return fileMessage;
    case OnlineStatus::Redirected:
        return Message::kOnlineUnsafeRedirect;
    case OnlineStatus::TooLarge:
        return Message::kOnlineReplyTooLarge;
    case OnlineStatus::NotPicture:
        return Message::kOnlineNotAPicture;
    case OnlineStatus::Ok:
    case OnlineStatus::Unavailable:
    case OnlineStatus::NetworkFailed:
    case OnlineStatus::Cancelled:
        break;
    }
    return Message::kOnlineNetworkFailed;
}

int downloadPictures(OnlineClient &client, QList<RemoteImage> &records, const QList<int> &rows,
    const QString &folder, const std::atomic<bool> &cancel, const EntryReport &report)
{
    int stored = 0;
    int number = 0;
    QStringList renamed;
    // Pictures stored under another name than their own are named once the batch ends, however
    // it ends.
    const auto tellRenamed = qScopeGuard([&renamed] {
        if (!renamed.isEmpty())
            host().showMessage(Message::kOnlineSavedUnderNewNames,
                { renamed.join(QLatin1Char('\n')) }, MessageIcon::Information);
    });
    for (const int row : rows) {
        if (cancel.load() || row < 0 || row >= records.size())
            break;
        RemoteImage &record = records[row];
        report(++number, record.filename);
        // A file of the same name already in the folder (an earlier download, a picture of the
        // user's own) is kept: the picture takes the first free "NAME (2).jpg" name instead.
        const QString wanted = QDir(folder).filePath(localPictureName(record.id, record.filename));
        const QString path = freeFilePath(wanted);
        const OnlineOutcome outcome = client.downloadPicture(record.id, path, &cancel);
        if (outcome.status == OnlineStatus::Cancelled)
            break;
        if (!outcome.ok()) {
            host().showMessage(onlineFailureMessage(outcome, Message::kOnlineDownloadFileFailed));
            break;
        }
        record.filename = path;
        record.downloaded = true;
        ++stored;
        if (path != wanted)
            renamed.append(QStringLiteral("%1 -> %2")
                               .arg(QFileInfo(wanted).fileName(), QFileInfo(path).fileName()));
    }
    return stored;
}

QString convertedUploadPath(const QString &folder, const QString &path)
{
    // Only the file name is lower-cased: the folder's own spelling is kept, since on this system
    // a folder's name is case-sensitive.
    const QString name = QFileInfo(path).completeBaseName().toLower() + QStringLiteral(".jpg");
    return QDir(folder).filePath(name);
}

namespace
{

// The upload sends JPEG: a .JPG or .JPEG file goes as it is (as it always has), and so does any
// other file whose content is a JPEG (.jfif, no extension); every other picture is converted.
bool isJpegPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toUpper();
    return suffix == QLatin1String("JPG") || suffix == QLatin1String("JPEG")
        || identifyMediaFile(path).format == MediaFormat::Jpeg;
}

// Converts `path` to JPEG at `target`; false when it cannot be read or written. The album's own
// types go through their readers as always, today's types through the media reader.
bool convertToJpeg(const QString &path, const QString &target)
{
    const MediaFile media = identifyMediaFile(path);
    DecodeResult loaded = media.isAlbumPictureType() ? loadPicture(path) : loadMediaPicture(media);
    makeUpright(loaded, path);
    const OwnedBlock block(loaded.block);
    if (loaded.status != DecodeStatus::Ok || !block)
        return false;
    return savePicture(block.handle(), target).ok();
}

// What a reply code does: true when the upload goes on with the next item.
bool actOnReplyCode(int code)
{
    switch (code) {
    case 0:
    case 3:
    case 5:
    case 6:
        return true;
    case 2:
        host().showMessage(Message::kOnlineStorageFull);
        return false;
    case 4:
        host().showMessage(Message::kOnlineUploadRefused);
        return false;
    default:
        host().showMessage(Message::kOnlineUploadNotStored);
        return true;
    }
}

} // namespace

UploadOutcome uploadPictures(OnlineClient &client, const QString &lookupPath,
    const QList<UploadItem> &items, const std::atomic<bool> &cancel, const EntryReport &report)
{
    UploadOutcome outcome;
    const OnlineOutcome lookup = client.lookupServer(lookupPath);
    if (!lookup.ok()) {
        if (lookup.status != OnlineStatus::Unavailable)
            host().showMessage(onlineFailureMessage(lookup, Message::kOnlineFileFailed));
        outcome.serverFound = false;
        outcome.status = 1;
        return outcome;
    }
    QTemporaryDir temporary;
    int number = 0;
    for (const UploadItem &item : items) {
        if (cancel.load())
            break;
        report(++number, item.path);
        QString file = item.path;
        if (!isJpegPath(item.path)) {
            if (!temporary.isValid()) {
                host().showMessage(Message::kOnlineCannotConvert);
                continue;
            }
            file = convertedUploadPath(temporary.path(), item.path);
            if (!convertToJpeg(item.path, file)) {
                QFile::remove(file);
                host().showMessage(Message::kOnlineCannotConvert);
                continue;
            }
        }
        const auto removeConverted = qScopeGuard([&] {
            if (file != item.path)
                QFile::remove(file);
        });
        if (QFileInfo(file).size() > kMaxUploadBytes) {
            host().showMessage(Message::kOnlinePictureTooLarge);
            continue;
        }
        const UploadForm form { item.caption, item.description, item.keywords, {}, {}, file };
        std::optional<int> code;
        const OnlineOutcome sent = client.uploadPicture(form, file, code);
        if (!sent.ok()) {
            host().showMessage(onlineFailureMessage(sent, Message::kOnlineFileFailed));
            break;
        }
        if (!code)
            continue;
        outcome.status = *code;
        if (*code == 0)
            ++outcome.stored;
        if (!actOnReplyCode(*code))
            break;
    }
    return outcome;
}

} // namespace glimmerix
