#include "picturestate.h"

#include "imagecodes.h"

#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QFile>

namespace
{

struct PictureState {
    QString currentPath;
    QString saveFolder;
    bool quiet = false;
    bool progress = true;
    std::size_t byteLimit = std::size_t(1) << 30; // 1 GiB of pixels, about 350 megapixels
};

PictureState &state()
{
    static PictureState instance;
    return instance;
}

} // namespace

QString currentPicturePath()
{
    return state().currentPath;
}

void setCurrentPicturePath(const QString &path)
{
    state().currentPath = path;
}

bool quietSwitch()
{
    return state().quiet;
}

void setQuietSwitch(bool on)
{
    state().quiet = on;
}

bool progressSwitch()
{
    return state().progress;
}

void setProgressSwitch(bool on)
{
    state().progress = on;
}

bool pollEscape()
{
    return host().escapePressed();
}

void reportProgress(int percent)
{
    if (!state().progress)
        return;
    host().setStatusText(0, loadString(kMsgProgress) + QString::number(percent) + u'%');
}

void showOpenFailure(const QString &path)
{
    const QString text
        = loadString(kMsgOpenFailedBefore) + path + u' ' + loadString(kMsgOpenFailedAfter);
    host().showText(text, MessageIcon::Warning, MessageButtons::Ok, kMsgOpenFailedBefore);
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

bool openPictureFile(QFile &file, const QString &path)
{
    setCurrentPicturePath(path);
    file.setFileName(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    if (!quietSwitch())
        showOpenFailure(path);
    return false;
}

BlockHandle allocPicture(std::size_t size, bool interactive)
{
    if (interactive)
        return allocPictureBlock(size);
    constexpr std::size_t kSpareBytes = 10;
    return size > SIZE_MAX - kSpareBytes ? 0 : blockAlloc(0, size + kSpareBytes);
}

BlockHandle fileReaderResult(const DecodeResult &result, BlockHandle cancelledResult)
{
    switch (result.status) {
    case DecodeStatus::Ok:
        return result.block;
    case DecodeStatus::Failed:
    case DecodeStatus::NoMemory:
        return kReadFailed;
    case DecodeStatus::WrongKind:
        return kReadWrongKind;
    case DecodeStatus::Unreadable:
        return kReadUnreadable;
    case DecodeStatus::TooLarge:
        host().showMessage(kMsgOutOfMemory);
        return kReadFailed;
    case DecodeStatus::Cancelled:
        return cancelledResult;
    }
    return kReadFailed;
}
