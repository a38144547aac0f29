#include "imagepath.h"

#include <QSharedMemory>

#include <cstring>

namespace
{

const QString kKey = QStringLiteral("ImagePath");

} // namespace

std::unique_ptr<QSharedMemory> publishImagePath(const QString &path)
{
    const QByteArray bytes = path.toUtf8();
    if (bytes.isEmpty() || bytes.size() >= kImagePathBytes)
        return nullptr;
    auto memory = std::make_unique<QSharedMemory>(kKey);
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
    QSharedMemory memory(kKey);
    if (!memory.attach(QSharedMemory::ReadOnly))
        return {};
    if (memory.size() < kImagePathBytes)
        return {};
    memory.lock();
    const char *data = static_cast<const char *>(memory.constData());
    const QByteArray bytes(data, qsizetype(strnlen(data, kImagePathBytes)));
    memory.unlock();
    return QString::fromUtf8(bytes);
}
