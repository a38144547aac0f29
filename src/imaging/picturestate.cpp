#include "picturestate.h"

#include "imagecodes.h"
#include "picturestatus.h"

#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QFile>

namespace glimmerix
{

namespace
{

struct PictureState {
    QString saveFolder;
    std::size_t byteLimit = std::size_t(1) << 30; // 1 GiB of pixels, about 350 megapixels
};

// What one reading or writing changes while it runs is kept per thread, so workers that decode
// thumbnails side by side neither see nor undo each other's switches.
struct ThreadPictureState {
    QString currentPath;
    bool quiet = false;
    bool progress = true;
};

PictureState &state()
{
    static PictureState instance;
    return instance;
}

ThreadPictureState &threadState()
{
    thread_local ThreadPictureState instance;
    return instance;
}

} // namespace

QString currentPicturePath()
{
    return threadState().currentPath;
}

void setCurrentPicturePath(const QString &path)
{
    threadState().currentPath = path;
}

bool quietSwitch()
{
    return threadState().quiet;
}

void setQuietSwitch(bool on)
{
    threadState().quiet = on;
}

bool progressSwitch()
{
    return threadState().progress;
}

void setProgressSwitch(bool on)
{
    threadState().progress = on;
}

bool pollEscape()
{
    return host().escapePressed();
}

void reportProgress(int percent)
{
    if (!threadState().progress)
        return;
    host().setStatusText(
        0, loadString(Message::kPictureProgress) + QString::number(percent) + u'%');
}

void showOpenFailure(const QString &path)
{
    const QString text = loadString(Message::kOpenFailedBefore) + path + u' '
        + loadString(Message::kOpenFailedAfter);
    host().showText(text, MessageIcon::Warning, MessageButtons::Ok, Message::kOpenFailedBefore);
}

std::size_t pictureByteLimit()
{
    return state().byteLimit;
}

void setPictureByteLimit(std::size_t bytes)
{
    state().byteLimit = bytes;
}

QString pictureSaveFolder()
{
    if (state().saveFolder.isEmpty())
        return joinPath(userFolder(), QStringLiteral("PHOTOS"));
    return state().saveFolder;
}

void setPictureSaveFolder(const QString &folder)
{
    state().saveFolder = folder;
}

DecodeResult openPictureFile(QFile &file, const QString &path)
{
    setCurrentPicturePath(path);
    return openForReading(file, path);
}

BlockHandle fileReaderResult(
    const DecodeResult &result, const QString &path, BlockHandle cancelledResult)
{
    switch (result.status) {
    case DecodeStatus::Ok:
        return result.block;
    case DecodeStatus::Failed:
        // A JPEG that failed late still gives the rows decoded so far.
        return isBlockHandle(result.block) ? result.block : kReadFailed;
    case DecodeStatus::Unsupported:
    case DecodeStatus::Unsuitable:
    case DecodeStatus::CannotCreate:
        return kReadFailed;
    case DecodeStatus::WrongKind:
        return kReadWrongKind;
    case DecodeStatus::CannotOpen:
        if (!quietSwitch())
            showOpenFailure(path);
        return kReadUnreadable;
    case DecodeStatus::Unreadable:
        return kReadUnreadable;
    case DecodeStatus::NoMemory:
    case DecodeStatus::TooLarge:
        host().showMessage(Message::kOutOfMemory);
        return kReadFailed;
    case DecodeStatus::Cancelled:
        return cancelledResult;
    }
    return kReadFailed;
}

int fileWriterResult(const WriteResult &result, int cancelledResult)
{
    switch (result.status) {
    case DecodeStatus::Ok:
        return kWriteDone;
    case DecodeStatus::Unsuitable:
        return kWriteUnsuitable;
    case DecodeStatus::CannotCreate:
        host().showMessage(Message::kCannotCreatePicture);
        return kWriteCannotCreate;
    case DecodeStatus::Cancelled:
        return cancelledResult;
    default:
        return kWriteFailed;
    }
}

} // namespace glimmerix
