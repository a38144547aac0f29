#include "quietjpeg.h"

#include "imaging/jpegcodec.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace glimmerix
{

QString systemCause()
{
    if (errno == ENOSPC || errno == EDQUOT)
        return QStringLiteral("disk full");
    return QString::fromLocal8Bit(std::strerror(errno));
}

DecodeResult readJpegQuietly(const QString &path)
{
    errno = 0;
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (file == nullptr) {
        DecodeResult result;
        result.status = DecodeStatus::CannotOpen;
        result.detail = errno == ENOENT ? QStringLiteral("no such file") : systemCause();
        return result;
    }
    DecodeResult result = readJpeg(file, false);
    std::fclose(file);
    if (result.status != DecodeStatus::Ok) {
        OwnedBlock partial(result.block); // a partly decoded picture is not used
        result.block = 0;
        if (result.detail.isEmpty())
            result.detail = QStringLiteral("the picture cannot be read");
    }
    return result;
}

QString writeJpegQuietly(const QString &path, BlockHandle block, int quality)
{
    const QByteArray name = QFile::encodeName(path);
    errno = 0;
    std::FILE *file = std::fopen(name.constData(), "wb");
    if (file == nullptr)
        return systemCause();
    const WriteResult written = writeJpeg(file, block, quality, false);
    errno = 0;
    const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
    const QString flushCause = flushed ? QString() : systemCause();
    const bool closed = std::fclose(file) == 0;
    if (written.ok() && flushed && closed)
        return {};
    std::remove(name.constData());
    if (!flushCause.isEmpty())
        return flushCause;
    return written.detail.isEmpty() ? QStringLiteral("the picture could not be written")
                                    : written.detail;
}

} // namespace glimmerix
