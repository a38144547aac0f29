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

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <algorithm>

namespace
{

constexpr auto kVerifiedFor = std::chrono::minutes(5);
constexpr int kPreviewSide = 160;

// Writes `data` whole to `path` and to the disk.
bool writeWhole(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size()
        && file.flush() && ::fsync(file.handle()) == 0;
}

// The temporary name of a picture's part while it is being stored: hidden, so neither listed
// nor counted.
QString partName(const QDir &folder, const QString &name)
{
    return folder.filePath(QLatin1Char('.') + name + QStringLiteral(".part"));
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
        return verifyAgainstNoUser(password);
    // The remembered check holds only for the password file it was made against: a password
    // set or a user removed by another process (--add-user) changes or removes that file, and
    // the next request reads it again.
    const QString passwordPath = userFolder(user) + QStringLiteral("/password");
    struct stat identity {
    };
    if (::stat(QFile::encodeName(passwordPath).constData(), &identity) != 0)
        return verifyAgainstNoUser(password);
    const QByteArray fileIdentity = QByteArray::number(quint64(identity.st_dev)) + ':'
        + QByteArray::number(quint64(identity.st_ino)) + ':'
        + QByteArray::number(qint64(identity.st_size)) + ':'
        + QByteArray::number(qint64(identity.st_mtim.tv_sec)) + '.'
        + QByteArray::number(qint64(identity.st_mtim.tv_nsec)) + ':'
        + QByteArray::number(qint64(identity.st_ctim.tv_sec)) + '.'
        + QByteArray::number(qint64(identity.st_ctim.tv_nsec));
    const QByteArray key = QMessageAuthenticationCode::hash(
        user.toUtf8() + '\0' + password.toUtf8() + '\0' + fileIdentity, m_cacheSecret,
        QCryptographicHash::Sha256);
    const auto now = std::chrono::steady_clock::now();
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_verified.constFind(key);
        if (found != m_verified.constEnd() && now - *found < kVerifiedFor)
            return true;
    }
    QFile file(passwordPath);
    if (!file.open(QIODevice::ReadOnly))
        return verifyAgainstNoUser(password);
    if (!verifyPassword(password, file.read(1024)))
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
    const QString path = userFolder(user) + u'/' + QString::number(id)
        + (small ? QLatin1String(".small.jpg") : QLatin1String(".jpg"));
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
    const QByteArray record = textLine("filename", texts.filename)
        + textLine("caption", texts.caption) + textLine("keyword", texts.keyword)
        + textLine("descrip", texts.descrip);
    // The picture, its preview and its text are stored as one: each is written whole under a
    // temporary name, then they are renamed in this order, the text last. A picture is listed
    // only once its text is there; one cut off before that by a kill is removed by tidy() at
    // the next start, and any failure here removes what was written.
    const QString base = QString::number(id);
    const QStringList names { base + QStringLiteral(".jpg"), base + QStringLiteral(".small.jpg"),
        base + QStringLiteral(".txt") };
    const QByteArray *const contents[] = { &jpeg, &preview, &record };
    const auto undo = [&] {
        for (const QString &name : names) {
            QFile::remove(partName(folder, name));
            QFile::remove(folder.filePath(name));
        }
        return StoreResult::Failed;
    };
    for (int i = 0; i < names.size(); ++i) {
        if (!writeWhole(partName(folder, names[i]), *contents[i]))
            return undo();
    }
    for (const QString &name : names) {
        if (std::rename(QFile::encodeName(partName(folder, name)).constData(),
                QFile::encodeName(folder.filePath(name)).constData())
            != 0)
            return undo();
    }
    return StoreResult::Stored;
}

bool PictureStore::tidy()
{
    const std::lock_guard lock(m_mutex);
    const QString users = m_root + QStringLiteral("/users");
    if (!QFileInfo::exists(users))
        return true;
    bool ok = QFile::setPermissions(
                  m_root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)
        && QFile::setPermissions(
            users, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QFileInfoList folders
        = QDir(users).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &user : folders) {
        const QDir folder(user.filePath());
        ok = QFile::setPermissions(folder.path(),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)
            && ok;
        const QStringList names = folder.entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : names) {
            const QString path = folder.filePath(name);
            // Parts of a store that never finished, and a picture or preview without its text.
            const QString id = name.section(QLatin1Char('.'), 0, 0);
            const bool part
                = name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".part"));
            const bool picture = name.endsWith(QLatin1String(".jpg"));
            const bool text = name.endsWith(QLatin1String(".txt"));
            if (part || (picture && !names.contains(id + QStringLiteral(".txt")))
                || (text && !names.contains(id + QStringLiteral(".jpg")))) {
                ok = QFile::remove(path) && ok;
                continue;
            }
            ok = QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
                && ok;
        }
    }
    return ok;
}
