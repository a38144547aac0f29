#include "passwordhash.h"

#include <QList>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <semaphore>
#include <thread>

namespace
{

// scrypt with 16 MiB of memory per hash: slow enough to make guessing costly, fast enough for
// a login to take a few tens of milliseconds.
constexpr quint64 kCost = 1 << 14;
constexpr quint64 kBlockSize = 8;
constexpr quint64 kParallel = 1;
constexpr int kSaltBytes = 16;
constexpr int kKeyBytes = 32;
constexpr quint64 kMaxMemory = 64ull << 20;

// Each connection has a thread of its own, so many logins may arrive at once; at most this many
// hashes are worked out together, which bounds their memory (16 MiB each) and leaves the
// processor to the other requests.
std::counting_semaphore<64> &hashSlots()
{
    static std::counting_semaphore<64> available(
        std::clamp<std::ptrdiff_t>(std::ptrdiff_t(std::thread::hardware_concurrency()), 2, 8));
    return available;
}

QByteArray derive(const QByteArray &password, const QByteArray &salt, quint64 cost,
    quint64 blockSize, quint64 parallel)
{
    hashSlots().acquire();
    struct Release {
        ~Release() { hashSlots().release(); }
    } release;
    QByteArray key(kKeyBytes, '\0');
    const int ok = EVP_PBE_scrypt(password.constData(), size_t(password.size()),
        reinterpret_cast<const unsigned char *>(salt.constData()), size_t(salt.size()), cost,
        blockSize, parallel, kMaxMemory, reinterpret_cast<unsigned char *>(key.data()),
        size_t(key.size()));
    return ok == 1 ? key : QByteArray();
}

} // namespace

QByteArray hashPassword(const QString &password)
{
    QByteArray salt(kSaltBytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char *>(salt.data()), kSaltBytes) != 1)
        return {};
    const QByteArray key = derive(password.toUtf8(), salt, kCost, kBlockSize, kParallel);
    if (key.isEmpty())
        return {};
    return "scrypt$" + QByteArray::number(kCost) + '$' + QByteArray::number(kBlockSize) + '$'
        + QByteArray::number(kParallel) + '$' + salt.toHex() + '$' + key.toHex();
}

bool verifyPassword(const QString &password, const QByteArray &stored)
{
    const QList<QByteArray> parts = stored.trimmed().split('$');
    if (parts.size() != 6 || parts[0] != "scrypt")
        return false;
    bool costOk = false, blockOk = false, parallelOk = false;
    const quint64 cost = parts[1].toULongLong(&costOk);
    const quint64 blockSize = parts[2].toULongLong(&blockOk);
    const quint64 parallel = parts[3].toULongLong(&parallelOk);
    const QByteArray salt = QByteArray::fromHex(parts[4]);
    const QByteArray expected = QByteArray::fromHex(parts[5]);
    // Parameters beyond what this service writes would let a planted file make it slow.
    if (!costOk || !blockOk || !parallelOk || cost > kCost || blockSize > kBlockSize
        || parallel > kParallel || salt.isEmpty() || expected.size() != kKeyBytes)
        return false;
    const QByteArray key = derive(password.toUtf8(), salt, cost, blockSize, parallel);
    return key.size() == expected.size()
        && CRYPTO_memcmp(key.constData(), expected.constData(), size_t(key.size())) == 0;
}

bool verifyAgainstNoUser(const QString &password)
{
    // Made once, from a random password no one knows.
    static const QByteArray stand = [] {
        QByteArray secret(32, '\0');
        RAND_bytes(reinterpret_cast<unsigned char *>(secret.data()), int(secret.size()));
        return hashPassword(QString::fromLatin1(secret.toHex()));
    }();
    verifyPassword(password, stand);
    return false;
}
