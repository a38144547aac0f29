#include "picturestore.h"

#include "passwordhash.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace
{

constexpr auto kVerifiedFor = std::chrono::minutes(5);
constexpr int kPreviewSide = 160;

bool writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

// Texts go one per line, so line ends inside them become spaces.
QByteArray textLine(const char *key, const QString &value)
{
    QString text = value;
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QByteArray(key) + '=' + text.toUtf8() + '\n';
}

} // namespace

PictureStore::PictureStore(const QString &root, qint64 quotaBytes)
    : m_root(root)
    , m_quotaBytes(quotaBytes)
{
    m_cacheSecret.resize(32);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(m_cacheSecret.data()), 8);
}

bool PictureStore::validUserName(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z0-9_@-][A-Za-z0-9._@-]{0,63}$"));
    return pattern.match(name).hasMatch();
}

QString PictureStore::userFolder(const QString &user) const
{
    return m_root + QStringLiteral("/users/") + user;
}

bool PictureStore::setPassword(const QString &user, const QString &password)
{
    if (!validUserName(user))
        return false;
    const QByteArray hash = hashPassword(password);
    if (hash.isEmpty() || !QDir().mkpath(userFolder(user)))
        return false;
    const std::lock_guard lock(m_mutex);
    m_verified.clear();
    QSaveFile file(userFolder(user) + QStringLiteral("/password"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.write(hash + '\n') == hash.size() + 1 && file.commit();
}

bool PictureStore::checkPassword(const QString &user, const QString &password)
{
    if (!validUserName(user))
        return false;
    const QByteArray key = QMessageAuthenticationCode::hash(
        user.toUtf8() + '\0' + password.toUtf8(), m_cacheSecret, QCryptographicHash::Sha256);
    const auto now = std::chrono::steady_clock::now();
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_verified.constFind(key);
        if (found != m_verified.constEnd() && now - *found < kVerifiedFor)
            return true;
    }
    QFile file(userFolder(user) + QStringLiteral("/password"));
    if (!file.open(QIODevice::ReadOnly) || !verifyPassword(password, file.read(1024)))
        return false;
    const std::lock_guard lock(m_mutex);
    if (m_verified.size() > 10000)
        m_verified.clear();
    m_verified.insert(key, now);
    return true;
}

QList<StoredPicture> PictureStore::pictures(const QString &user) const
{
    QList<StoredPicture> list;
    const std::lock_guard lock(m_mutex);
    const QDir folder(userFolder(user));
    const QStringList texts = folder.entryList({ QStringLiteral("*.txt") }, QDir::Files);
    for (const QString &name : texts) {
        bool ok = false;
        StoredPicture picture;
        picture.id = name.chopped(4).toInt(&ok);
        QFile file(folder.filePath(name));
        if (!ok || !file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = file.read(64 * 1024).split('\n');
        for (const QByteArray &line : lines) {
            const qsizetype equals = line.indexOf('=');
            const QByteArray key = line.left(equals);
            const QString value = QString::fromUtf8(line.mid(equals + 1));
            if (key == "filename")
                picture.filename = value;
            else if (key == "caption")
                picture.caption = value;
            else if (key == "keyword")
                picture.keyword = value;
            else if (key == "descrip")
                picture.descrip = value;
        }
        list.append(picture);
    }
    std::sort(list.begin(), list.end(),
        [](const StoredPicture &a, const StoredPicture &b) { return a.id < b.id; });
    return list;
}

QString PictureStore::pictureFile(const QString &user, int id, bool small) const
{
    if (!validUserName(user) || id <= 0)
        return {};
    const QString path = userFolder(user)
        + QStringLiteral("/%1%2").arg(id).arg(
            small ? QLatin1String(".small.jpg") : QLatin1String(".jpg"));
    return QFile::exists(path) ? path : QString();
}

StoreResult PictureStore::addPicture(
    const QString &user, const StoredPicture &texts, const QByteArray &jpeg)
{
    // The preview is made before the lock: decoding is the slow part.
    QImage image;
    if (!jpeg.startsWith("\xFF\xD8") || !image.loadFromData(jpeg, "JPEG"))
        return StoreResult::Failed;
    QByteArray preview;
    {
        QBuffer buffer(&preview);
        buffer.open(QIODevice::WriteOnly);
        image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            .save(&buffer, "JPEG", 85);
    }

    const std::lock_guard lock(m_mutex);
    const QDir folder(userFolder(user));
    qint64 used = 0;
    int lastId = 0;
    const QFileInfoList files = folder.entryInfoList(QDir::Files);
    for (const QFileInfo &info : files) {
        used += info.size();
        lastId = std::max(lastId, info.fileName().section(QLatin1Char('.'), 0, 0).toInt());
    }
    if (used + jpeg.size() + preview.size() > m_quotaBytes)
        return StoreResult::Full;
    const int id = lastId + 1;
    const QString base = folder.filePath(QString::number(id));
    const QByteArray record = textLine("filename", texts.filename)
        + textLine("caption", texts.caption) + textLine("keyword", texts.keyword)
        + textLine("descrip", texts.descrip);
    // The text file goes last: a picture is listed only once all three files are there.
    if (!writeFile(base + QStringLiteral(".jpg"), jpeg)
        || !writeFile(base + QStringLiteral(".small.jpg"), preview)
        || !writeFile(base + QStringLiteral(".txt"), record)) {
        QFile::remove(base + QStringLiteral(".jpg"));
        QFile::remove(base + QStringLiteral(".small.jpg"));
        return StoreResult::Failed;
    }
    return StoreResult::Stored;
}
