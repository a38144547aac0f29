#include "imagepath.h"

#include "platform/paths.h"

#include <QSharedMemory>

#include <cstring>

namespace glimmerix
{

namespace
{

const QString kName = QStringLiteral("ImagePath");

// The memory is named "ImagePath" inside the user's private runtime folder, so only processes
// of the same user can reach it (a bare name would be shared by every user of the machine).
void nameMemory(QSharedMemory &memory)
{
    const QString folder = runtimeFolder();
    memory.setNativeKey(folder.isEmpty() ? QString() : joinPath(folder, kName));
}

} // namespace

std::unique_ptr<QSharedMemory> publishImagePath(const QString &path)
{
    const QByteArray bytes = path.toUtf8();
    if (bytes.isEmpty() || bytes.size() >= kImagePathBytes)
        return nullptr;
    auto memory = std::make_unique<QSharedMemory>();
    nameMemory(*memory);
    if (memory->nativeKey().isEmpty())
        return nullptr;
    if (!memory->create(kImagePathBytes)) {
        // A segment left over from a sender that crashed: take it over.
        if (memory->error() != QSharedMemory::AlreadyExists || !memory->attach())
            return nullptr;
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
