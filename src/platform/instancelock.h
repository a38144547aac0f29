#pragma once

#include <QString>

namespace glimmerix
{

// "Is another instance running?": an exclusive lock on <instance folder>/<name>.lock, held from
// tryLock() until the object is destroyed. The lock is an advisory flock() on the open file, so
// the kernel releases it the moment the holding process ends, however it ends: a crashed
// instance never leaves a stale lock behind, and the file's mere presence means nothing.
class InstanceLock
{
public:
    explicit InstanceLock(QString name);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Tries to take the lock, waiting at most `timeoutMs` for its holder to let go (0: no wait).
    // Returns false when another process holds it, or when no private instance folder exists
    // (then errorString() says so).
    bool tryLock(int timeoutMs = 0);
    bool isLocked() const { return m_fd >= 0; }
    // True when the last tryLock() failed because another process holds the lock.
    bool heldElsewhere() const { return m_heldElsewhere; }
    void unlock();
    QString errorString() const { return m_error; }
    QString path() const;

private:
    QString m_name;
    int m_fd = -1;
    bool m_heldElsewhere = false;
    QString m_error;
};

} // namespace glimmerix
