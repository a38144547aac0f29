#include "albumlock.h"

#include "platform/fillin.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QThread>

namespace glimmerix
{

struct AlbumLock::File {
    explicit File(const QString &path)
        : lock(path)
    {
    }
    QLockFile lock;
    bool held = false;
};

namespace
{

// The locks this process holds, by album path, so two documents of one process share one.
QHash<QString, std::weak_ptr<AlbumLock>> &heldLocks()
{
    static QHash<QString, std::weak_ptr<AlbumLock>> locks;
    return locks;
}

QString canonicalAlbumPath(const QString &albumPath)
{
    return QDir::cleanPath(QFileInfo(albumPath).absoluteFilePath());
}

} // namespace

AlbumLock::AlbumLock(const QString &albumPath)
    : m_albumPath(albumPath)
    , m_file(std::make_unique<File>(lockFilePath(albumPath)))
{
    // An album stays open in the window for hours: only a dead owner makes a lock stale.
    m_file->lock.setStaleLockTime(0);
}

AlbumLock::~AlbumLock()
{
    if (m_file->held)
        m_file->lock.unlock();
    heldLocks().remove(m_albumPath);
}

QString AlbumLock::lockFilePath(const QString &albumPath)
{
    return canonicalAlbumPath(albumPath) + QStringLiteral(".lock");
}

AlbumLock::Result AlbumLock::acquire(const QString &albumPath, int waitMs)
{
    const QString path = canonicalAlbumPath(albumPath);
    if (std::shared_ptr<AlbumLock> shared = heldLocks().value(path).lock())
        return { shared, {} };
    std::shared_ptr<AlbumLock> lock(new AlbumLock(path));
    QLockFile &file = lock->m_file->lock;
    // Polled at a short, even pace (QLockFile's own wait backs off to seconds), so that waiting
    // writers take their turns as soon as each one is done.
    const QDeadlineTimer deadline(waitMs);
    while (!(lock->m_file->held = file.tryLock(0)) && file.error() == QLockFile::LockFailedError
        && !deadline.hasExpired())
        QThread::msleep(20);
    if (!lock->m_file->held && file.error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString program;
        QString holder;
        if (file.getLockInfo(&pid, &host, &program))
            holder = fillIn(QStringLiteral("process %1 (%2)"), pid, program);
        return { {}, holder };
    }
    // Any other error means no lock file can be made beside the album: nothing to guard.
    heldLocks().insert(path, lock);
    return { lock, {} };
}

} // namespace glimmerix
