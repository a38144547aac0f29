#include "instancelock.h"

#include "paths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace glimmerix
{

InstanceLock::InstanceLock(QString name)
    : m_name(std::move(name))
{
}

InstanceLock::~InstanceLock()
{
    unlock();
}

QString InstanceLock::path() const
{
    const QString folder = instanceFolder();
    return folder.isEmpty() ? QString() : joinPath(folder, m_name + QStringLiteral(".lock"));
}

bool InstanceLock::tryLock(int timeoutMs)
{
    m_heldElsewhere = false;
    if (isLocked())
        return true;
    const QString lockPath = path();
    if (lockPath.isEmpty()) {
        m_error = QStringLiteral("no private instance folder for the instance lock");
        return false;
    }
    const int fd = ::open(
        QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        m_error = QStringLiteral("cannot open %1: %2")
                      .arg(lockPath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            m_error.clear();
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_error = QStringLiteral("cannot lock %1: %2")
                          .arg(lockPath, QString::fromLocal8Bit(std::strerror(errno)));
            break;
        }
        if (deadline.hasExpired()) {
            m_error = QStringLiteral("%1 is held by another process").arg(lockPath);
            m_heldElsewhere = true;
            break;
        }
        QThread::msleep(20);
    }
    ::close(fd);
    return false;
}

void InstanceLock::unlock()
{
    if (m_fd < 0)
        return;
    // Closing the descriptor releases the lock; the file stays so that no other process can be
    // left holding a lock on an unlinked file while a third one makes a fresh file.
    ::close(m_fd);
    m_fd = -1;
}

} // namespace glimmerix
