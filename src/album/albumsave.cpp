#include "albumsave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace glimmerix
{

namespace
{

QString systemText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

bool isLastCopyFolderText(const QByteArray &text)
{
    return text.size() <= kTrailerOnlyAlbumLimit && text.startsWith('/') && !text.contains('\n')
        && !text.contains('\r') && !text.contains('\0');
}

bool looksLikeAlbum(const QByteArray &head, qint64 size)
{
    if (size == 0)
        return true;
    if (head.startsWith(QByteArray::fromRawData("PALM", 4)))
        return true;
    // An album of no items is its trailer alone: the last copy folder.
    return head.size() == size && isLastCopyFolderText(head);
}

AlbumFileKind albumFileKindOf(const QString &path, QString *reason)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return AlbumFileKind::Missing;
    if (info.isDir()) {
        if (reason)
            *reason = QStringLiteral("the file is a folder");
        return AlbumFileKind::Unreadable;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = fileErrorReason(file.errorString());
        return AlbumFileKind::Unreadable;
    }
    const QByteArray head = file.read(kTrailerOnlyAlbumLimit);
    if (looksLikeAlbum(head, file.size()))
        return AlbumFileKind::Album;
    if (reason)
        *reason = QStringLiteral("the file is not an album");
    return AlbumFileKind::NotAlbum;
}

QString fileErrorReason(const QString &systemText)
{
    for (const int code : { ENOSPC, EDQUOT }) {
        if (systemText.contains(glimmerix::systemText(code), Qt::CaseInsensitive))
            return QStringLiteral("the disk is full");
    }
    if (systemText.isEmpty())
        return QStringLiteral("the file could not be written");
    return systemText.left(1).toLower() + systemText.mid(1);
}

namespace
{

// A write the file system took only part of records no reason ("Unknown error"): one more byte to
// the temporary file, which is discarded anyway, gives the system's reason (a full disk, a file
// size limit).
QString shortWriteReason(QSaveFile &file, const QString &otherwise)
{
    const char probe = 0;
    errno = 0;
    if (file.handle() >= 0 && ::write(file.handle(), &probe, 1) < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return otherwise;
}

} // namespace

AtomicSaveResult saveAtomically(const QString &path, const std::function<bool(QIODevice &)> &write,
    const SaveDeviceFilter &filter)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return { false, fileErrorReason(file.errorString()) };
    std::unique_ptr<QIODevice> filtered = filter ? filter(file) : nullptr;
    QIODevice &device = filtered ? *filtered : file;
    bool ok = write(device);
    // QSaveFile keeps the last part of the data in its buffer and ignores a failure to write it
    // out in commit(): flush here, while a failure can still stop the commit.
    ok = ok && file.flush() && file.error() == QFileDevice::NoError;
    if (!ok) {
        QString reason = filtered && !filtered->errorString().isEmpty() ? filtered->errorString()
                                                                        : file.errorString();
        const bool named = file.errorString() != QFile().errorString(); // not "Unknown error"
        if (file.error() != QFileDevice::NoError && named)
            reason = file.errorString();
        else if (!filtered || filtered->errorString().isEmpty())
            reason = shortWriteReason(file, reason);
        file.cancelWriting();
        return { false, fileErrorReason(reason) };
    }
    if (!file.commit())
        return { false, fileErrorReason(file.errorString()) };
    return { true, {} };
}

} // namespace glimmerix
