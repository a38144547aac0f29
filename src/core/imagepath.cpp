#include "imagepath.h"

#include "platform/paths.h"

#include <QLockFile>
#include <QSharedMemory>

#include <cstring>

namespace glimmerix
{

namespace
{

const QString kName = QStringLiteral("ImagePath");

// The memory is named "ImagePath" inside the private instance folder (one per user and user
// folder), so only processes of the same user can reach it (a bare name would be shared by every
// user of the machine).
void nameMemory(QSharedMemory &memory)
{
    const QString folder = instanceFolder();
    memory.setNativeKey(folder.isEmpty() ? QString() : joinPath(folder, kName));
}

// The memory of one hand-over together with the sender's lock on it; both go when the sender
// drops it.
class PublishedImagePath : public QSharedMemory
{
public:
    explicit PublishedImagePath(const QString &lockPath)
        : m_lock(lockPath)
    {
        m_lock.setStaleLockTime(0); // only a dead sender's lock is stale, never a slow one's
    }
    bool lock() { return m_lock.tryLock(0); }

private:
    QLockFile m_lock;
};

std::unique_ptr<QSharedMemory> fail(ImagePathProblem *problem, ImagePathProblem why)
{
    if (problem)
        *problem = why;
    return nullptr;
}

} // namespace

std::unique_ptr<QSharedMemory> publishImagePath(const QString &path, ImagePathProblem *problem)
{
    if (problem)
        *problem = ImagePathProblem::None;
    const QByteArray bytes = path.toUtf8();
    if (bytes.isEmpty() || bytes.size() >= kImagePathBytes)
        return fail(problem, ImagePathProblem::TooLong);
    const QString folder = instanceFolder();
    if (folder.isEmpty())
        return fail(problem, ImagePathProblem::CannotCreate);
    auto memory
        = std::make_unique<PublishedImagePath>(joinPath(folder, kName + QStringLiteral(".lock")));
    if (!memory->lock())
        return fail(problem, ImagePathProblem::InUse);
    nameMemory(*memory);
    if (memory->nativeKey().isEmpty())
        return fail(problem, ImagePathProblem::CannotCreate);
    if (!memory->create(kImagePathBytes)) {
        // A segment left over from a sender that crashed (its lock is gone): take it over.
        if (memory->error() != QSharedMemory::AlreadyExists || !memory->attach())
            return fail(problem, ImagePathProblem::CannotCreate);
    }
    memory->lock();
    char *data = static_cast<char *>(memory->data());
    std::memset(data, 0, kImagePathBytes);
    std::memcpy(data, bytes.constData(), std::size_t(bytes.size()));
    memory->unlock();
    return memory;
}

QString readImagePath()
{
    QSharedMemory memory;
    nameMemory(memory);
    if (memory.nativeKey().isEmpty() || !memory.attach(QSharedMemory::ReadOnly))
        return {};
    if (memory.size() < kImagePathBytes)
        return {};
    memory.lock();
    const char *data = static_cast<const char *>(memory.constData());
    const QByteArray bytes(data, qsizetype(strnlen(data, kImagePathBytes)));
    memory.unlock();
    return QString::fromUtf8(bytes);
}

} // namespace glimmerix
