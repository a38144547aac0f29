#pragma once

#include <QString>

#include <memory>

namespace glimmerix
{

// The lock that makes one process at a time the writer of an album: a lock file next to the
// album ("NAME.gmx.lock", holding the owner's process id), taken when an album is opened and kept
// until the document lets the album go, so a load, the edits and the save happen under it.
// Documents of one process share their lock: only other processes are kept out. A lock left by a
// process that died is taken over.
class AlbumLock
{
public:
    ~AlbumLock();
    AlbumLock(const AlbumLock &) = delete;
    AlbumLock &operator=(const AlbumLock &) = delete;

    // How long opening an album waits for another process to let it go.
    static constexpr int kDefaultWaitMs = 5000;

    struct Result {
        std::shared_ptr<AlbumLock> lock; // empty when another process holds the album
        QString holder; // "process 1234 (glimix-cli)" when held elsewhere
    };
    // Takes the lock of `albumPath`, waiting up to `waitMs` for another process to release it.
    // A folder where no lock file can be made (a read-only disc) gives a lock that holds nothing:
    // no one can write an album there either.
    static Result acquire(const QString &albumPath, int waitMs = kDefaultWaitMs);
    // The lock file of `albumPath`.
    static QString lockFilePath(const QString &albumPath);

    const QString &albumPath() const { return m_albumPath; }

private:
    explicit AlbumLock(const QString &albumPath);

    QString m_albumPath;
    struct File;
    std::unique_ptr<File> m_file;
};

} // namespace glimmerix
