#include "picturestatus.h"

#include "dibblock.h"
#include "picturestate.h"
#include "platform/fillin.h"
#include "platform/savefilecommit.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace glimmerix
{

DecodeResult pictureFailure(DecodeStatus status, const QString &detail)
{
    return { status, 0, detail };
}

WriteResult writeFailure(DecodeStatus status, const QString &detail)
{
    return { status, detail };
}

bool pictureSizeAllowed(std::int64_t width, std::int64_t height, int bitCount)
{
    const std::size_t pixelBytes = dibPixelBytes(width, height, bitCount);
    return pixelBytes != SIZE_MAX && pixelBytes <= pictureByteLimit();
}

DecodeResult checkPictureSize(std::int64_t width, std::int64_t height, int bitCount)
{
    if (pictureSizeAllowed(width, height, bitCount))
        return { DecodeStatus::Ok, 0, {} };
    return pictureFailure(DecodeStatus::TooLarge,
        fillIn(QStringLiteral(
                   "the picture claims %1 x %2 pixels; the header is damaged or the picture "
                   "is too large"),
            width, height));
}

DecodeResult openForReading(QFile &file, const QString &path)
{
    file.setFileName(path);
    const QFileInfo info(path);
    if (info.isDir())
        return pictureFailure(DecodeStatus::CannotOpen, QStringLiteral("is a folder"));
    errno = 0;
    if (file.open(QIODevice::ReadOnly))
        return { DecodeStatus::Ok, 0, {} };
    const int error = errno;
    if (!info.exists())
        return pictureFailure(DecodeStatus::CannotOpen, QStringLiteral("no such file"));
    if (error == EACCES || error == EPERM || file.error() == QFileDevice::PermissionsError
        || file.errorString().contains(QLatin1String("Permission denied")))
        return pictureFailure(DecodeStatus::CannotOpen, QStringLiteral("permission denied"));
    return pictureFailure(DecodeStatus::CannotOpen, file.errorString());
}

QString truncatedDetail()
{
    return QStringLiteral("the file ends before the picture does");
}

QString cancelledDetail()
{
    return QStringLiteral("cancelled");
}

QString emptyFileDetail()
{
    return QStringLiteral("the file is empty");
}

QString writeErrorDetail(const QFileDevice &file)
{
    // Qt keeps the system's text ("No space left on device") but no code; errno still holds it
    // right after the failed call.
    if (errno == ENOSPC || errno == EDQUOT
        || file.errorString().contains(QLatin1String("No space left")))
        return QStringLiteral("disk full");
    return file.errorString().isEmpty() ? QStringLiteral("write error") : file.errorString();
}

std::unique_ptr<QFileDevice> pictureTarget(const QString &path)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return std::make_unique<QFile>(path);
    return std::make_unique<QSaveFile>(path);
}

bool finishPictureTarget(QFileDevice &file)
{
    if (auto *saveFile = qobject_cast<QSaveFile *>(&file))
        return commitSaveFile(*saveFile);
    return file.flush();
}

} // namespace glimmerix
