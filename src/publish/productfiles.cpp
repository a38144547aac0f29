#include "productfiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glimmerix
{

QString systemErrorCause(int error)
{
    if (error == ENOENT)
        return QStringLiteral("no such file or folder");
    if (error == EACCES || error == EPERM)
        return QStringLiteral("permission denied");
    if (error == EISDIR)
        return QStringLiteral("is a folder");
    if (error == ENOSPC || error == EDQUOT)
        return QStringLiteral("disk full");
    if (error == EROFS)
        return QStringLiteral("read-only file system");
    return QString::fromLocal8Bit(std::strerror(error));
}

namespace
{

QString systemCause(const QFileDevice &file)
{
    if (errno == ENOSPC || errno == EDQUOT
        || file.errorString().contains(QLatin1String("No space left")))
        return QStringLiteral("disk full");
    if (file.error() == QFileDevice::OpenError && !QFile::exists(file.fileName()))
        return QStringLiteral("no such file");
    return file.errorString().isEmpty() ? QStringLiteral("input/output error") : file.errorString();
}

// Writes everything or says why not; flushes so that a full disk shows here, not at close.
QString writeAll(QFile &file, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 written = file.write(data + done, size - done);
        if (written <= 0)
            return systemCause(file);
        done += written;
    }
    errno = 0;
    if (!file.flush())
        return systemCause(file);
    return {};
}

// A file beside `destination` that no one else has: created here with O_EXCL, so it is never a
// link someone left. Empty when none can be made (errno says why).
QString createSibling(const QString &destination, int *descriptor)
{
    const QByteArray base = QFile::encodeName(destination);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = base + ".part"
            + QByteArray::number(quint64(QRandomGenerator::global()->generate64()) & 0xFFFFFF, 16);
        errno = 0;
        const int fd
            = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *descriptor = fd;
            return QFile::decodeName(name);
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// Why `destination` cannot be replaced by a rename.
QString renameCause()
{
    if (errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST)
        return QStringLiteral("is a folder");
    if (errno == EACCES || errno == EPERM)
        return QStringLiteral("permission denied");
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Writes what `fill` puts into a new file beside `destination`, then renames it over the name.
// The name is replaced, never opened: a link there is replaced, not followed, and the file it
// replaces stays whole until the new one is complete. `mode` (-1: the usual one) is set on the
// new file. Empty on success, else the cause; on failure nothing of the new file is left.
QString replaceByRename(
    const QString &destination, int mode, const std::function<QString(QFile &)> &fill)
{
    int descriptor = -1;
    const QString temporary = createSibling(destination, &descriptor);
    if (temporary.isEmpty())
        return systemErrorCause(errno);
    QFile output;
    if (!output.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        QFile::remove(temporary);
        return output.errorString();
    }
    QString cause = fill(output);
    if (cause.isEmpty() && mode >= 0 && ::fchmod(descriptor, mode_t(mode)) != 0)
        cause = QString::fromLocal8Bit(std::strerror(errno));
    output.close();
    if (cause.isEmpty()) {
        errno = 0;
        if (::rename(QFile::encodeName(temporary).constData(),
                QFile::encodeName(destination).constData())
            == 0)
            return {};
        cause = renameCause();
    }
    QFile::remove(temporary);
    return cause;
}

constexpr int kNormalMode = 0644; // readable and writable by the user, readable by everyone
constexpr int kProgramMode = 0755;

QString copyWithMode(
    const QString &source, const QString &destination, int mode, QString *failedFile)
{
    if (failedFile)
        *failedFile = source;
    QFile input(source);
    errno = 0;
    if (!input.open(QIODevice::ReadOnly))
        return systemErrorCause(errno);
    if (failedFile)
        *failedFile = destination;
    return replaceByRename(destination, mode, [&](QFile &output) -> QString {
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        for (;;) {
            errno = 0;
            const qint64 got = input.read(buffer.data(), buffer.size());
            if (got < 0) {
                if (failedFile)
                    *failedFile = source;
                return systemCause(input);
            }
            if (got == 0)
                return {};
            const QString cause = writeAll(output, buffer.constData(), got);
            if (!cause.isEmpty())
                return cause;
        }
    });
}

} // namespace

QString copyProductFile(const QString &source, const QString &destination, QString *failedFile)
{
    return copyWithMode(source, destination, kNormalMode, failedFile);
}

QString copyProductProgram(const QString &source, const QString &destination, QString *failedFile)
{
    return copyWithMode(source, destination, kProgramMode, failedFile);
}

QString writeWholeFile(const QString &path, const QByteArray &content)
{
    return replaceByRename(path, -1,
        [&content](QFile &file) { return writeAll(file, content.constData(), content.size()); });
}

qint64 freeBytes(const QString &folder)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid())
        return -1;
    return storage.bytesAvailable();
}

QString fileNameOf(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

QString baseNameOf(const QString &path)
{
    const QString name = fileNameOf(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

} // namespace glimmerix
