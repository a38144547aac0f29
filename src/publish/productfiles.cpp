#include "productfiles.h"

#include <QFile>
#include <QStorageInfo>

#include <cerrno>

namespace glimmerix
{

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

QString openCause(const QFile &file)
{
    if (errno == ENOENT)
        return QStringLiteral("no such file or folder");
    if (errno == EACCES || errno == EPERM)
        return QStringLiteral("permission denied");
    if (errno == EISDIR)
        return QStringLiteral("is a folder");
    if (errno == ENOSPC)
        return QStringLiteral("disk full");
    return file.errorString();
}

// Writes everything or says why not; flushes so that a full disk shows here, not at close.
// QFile::remove() leaves the file when closing it fails, as it does after a failed write: close
// it, then remove it by name, so no cut copy is left behind.
void removePartial(QFile &file)
{
    file.close();
    QFile::remove(file.fileName());
}

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

} // namespace

QString copyProductFile(const QString &source, const QString &destination, QString *failedFile)
{
    if (failedFile)
        *failedFile = source;
    QFile input(source);
    errno = 0;
    if (!input.open(QIODevice::ReadOnly))
        return openCause(input);
    QFile output(destination);
    if (failedFile)
        *failedFile = destination;
    errno = 0;
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return openCause(output);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        errno = 0;
        const qint64 got = input.read(buffer.data(), buffer.size());
        if (got < 0) {
            if (failedFile)
                *failedFile = source;
            removePartial(output);
            return systemCause(input);
        }
        if (got == 0)
            break;
        const QString cause = writeAll(output, buffer.constData(), got);
        if (!cause.isEmpty()) {
            removePartial(output);
            return cause;
        }
    }
    output.close();
    // Normal attributes: readable and writable by the user, whatever the source had.
    output.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
        | QFileDevice::ReadOther);
    return {};
}

QString copyProductProgram(const QString &source, const QString &destination, QString *failedFile)
{
    const QString cause = copyProductFile(source, destination, failedFile);
    if (!cause.isEmpty())
        return cause;
    QFile::setPermissions(destination,
        QFile::permissions(destination) | QFileDevice::ExeOwner | QFileDevice::ExeGroup
            | QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return {};
}

QString writeWholeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return openCause(file);
    const QString cause = writeAll(file, content.constData(), content.size());
    if (!cause.isEmpty()) {
        removePartial(file);
        return cause;
    }
    return {};
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
