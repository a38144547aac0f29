#include "albumsource.h"

#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glimmerix
{

namespace
{

bool sameTime(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

std::shared_ptr<AlbumFileSource> AlbumFileSource::adopt(int handle)
{
    if (handle < 0)
        return nullptr;
    const int own = ::fcntl(handle, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return nullptr;
    std::shared_ptr<AlbumFileSource> source(new AlbumFileSource(own));
    struct stat facts {
    };
    if (::fstat(own, &facts) != 0 || !S_ISREG(facts.st_mode))
        return nullptr;
    source->m_size = facts.st_size;
    source->m_modified = facts.st_mtim;
    return source;
}

AlbumFileSource::AlbumFileSource(int handle)
    : m_handle(handle)
{
}

AlbumFileSource::~AlbumFileSource()
{
    ::close(m_handle);
}

bool AlbumFileSource::unchanged() const
{
    struct stat facts {
    };
    return ::fstat(m_handle, &facts) == 0 && facts.st_size == m_size
        && sameTime(facts.st_mtim, m_modified);
}

qint64 AlbumFileSource::readAvailable(qint64 offset, void *into, std::size_t size)
{
    if (m_failed || !unchanged()) {
        m_failed = true;
        return -1;
    }
    auto *to = static_cast<char *>(into);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(m_handle, to + done, size - done, offset + qint64(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            m_failed = true;
            return -1;
        }
        if (got == 0)
            break;
        done += std::size_t(got);
    }
    return qint64(done);
}

bool AlbumFileSource::read(qint64 offset, void *into, std::size_t size)
{
    if (readAvailable(offset, into, size) == qint64(size))
        return true;
    // The size was checked when the album was loaded, so a short read means the file changed.
    m_failed = true;
    return false;
}

bool AlbumFileSource::copyTo(QIODevice &device, qint64 offset, qint64 size)
{
    constexpr qint64 kChunk = qint64(1) << 20;
    std::vector<char> buffer(std::size_t(std::min(size, kChunk)));
    for (qint64 done = 0; done < size;) {
        const qint64 part = std::min(size - done, kChunk);
        if (!read(offset + done, buffer.data(), std::size_t(part))
            || device.write(buffer.data(), part) != part)
            return false;
        done += part;
    }
    return true;
}

QString AlbumFileSource::changedReason()
{
    return QStringLiteral("the album file was changed or cut short by another program while it "
                          "was open, so its thumbnails can no longer be read");
}

} // namespace glimmerix
