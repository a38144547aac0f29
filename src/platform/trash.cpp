#include "trash.h"

#include "fillin.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glimmerix
{

namespace
{

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The folder of the home trash: $XDG_DATA_HOME/Trash, by default ~/.local/share/Trash.
QString homeTrash()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome))
        return QDir::cleanPath(dataHome + QStringLiteral("/Trash"));
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.local/share/Trash"));
}

// Makes `folder` private to the user when it is missing; true when it is then a real folder (not
// a link) of this user that the user can write.
bool ownFolder(const QString &folder)
{
    if (::mkdir(native(folder).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {
    };
    return ::lstat(native(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && st.st_uid == ::getuid() && ::access(native(folder).constData(), W_OK | X_OK) == 0;
}

// A trash folder ready to take files: it, files/ and info/ exist and are the user's.
bool prepareTrash(const QString &trash)
{
    return ownFolder(trash) && ownFolder(trash + QStringLiteral("/files"))
        && ownFolder(trash + QStringLiteral("/info"));
}

bool deviceOf(const QString &path, dev_t &device)
{
    struct stat st {
    };
    if (::stat(native(path).constData(), &st) != 0)
        return false;
    device = st.st_dev;
    return true;
}

// The top folder of the file system that holds `folder` (its mount point).
QString topFolderOf(const QString &folder, dev_t device)
{
    QString top = folder;
    while (top != QLatin1String("/")) {
        const QString parent = QFileInfo(top).path();
        dev_t parentDevice = 0;
        if (!deviceOf(parent, parentDevice) || parentDevice != device)
            break;
        top = parent;
    }
    return top;
}

// The trash at the top of a file system other than the home's: $topdir/.Trash/UID when the
// administrator made $topdir/.Trash (sticky, not a link), else $topdir/.Trash-UID. Empty when
// neither can be used.
QString topTrash(const QString &top)
{
    const QString uid = QString::number(::getuid());
    const QString shared = QDir(top).filePath(QStringLiteral(".Trash"));
    struct stat st {
    };
    if (::lstat(native(shared).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && (st.st_mode & S_ISVTX) != 0) {
        const QString mine = shared + u'/' + uid;
        if (prepareTrash(mine))
            return mine;
    }
    const QString own = QDir(top).filePath(QStringLiteral(".Trash-") + uid);
    return prepareTrash(own) ? own : QString();
}

// The name a trashed file gets: its own, then "NAME.2.EXT", "NAME.3.EXT", ...
QString trashName(const QString &fileName, int number)
{
    if (number == 1)
        return fileName;
    const QFileInfo info(fileName);
    const QString suffix = info.suffix();
    if (suffix.isEmpty() || info.completeBaseName().isEmpty())
        return fillIn(QStringLiteral("%1.%2"), fileName, number);
    return fillIn(QStringLiteral("%1.%2.%3"), info.completeBaseName(), number, suffix);
}

bool exists(const QString &path)
{
    struct stat st {
    };
    return ::lstat(native(path).constData(), &st) == 0;
}

} // namespace

TrashResult moveToTrash(const QString &path)
{
    TrashResult result;
    // The folder is resolved (a link to another disk leads there); the file itself is not, so a
    // link is trashed as the link.
    const QFileInfo given(path);
    const QString folder = QFileInfo(given.absolutePath()).canonicalFilePath();
    const QString source = QDir(folder).filePath(given.fileName());
    dev_t device = 0;
    struct stat st {
    };
    if (folder.isEmpty() || ::lstat(native(source).constData(), &st) != 0) {
        result.reason = systemReason(ENOENT);
        return result;
    }
    device = st.st_dev;

    QString trash = homeTrash();
    QString recordedPath = source;
    QDir().mkpath(QFileInfo(trash).path());
    dev_t trashDevice = 0;
    if (!deviceOf(QFileInfo(trash).path(), trashDevice) || trashDevice != device
        || !prepareTrash(trash)) {
        const QString top = topFolderOf(folder, device);
        trash = topTrash(top);
        // A trash at the top of a file system records the path from that top folder.
        recordedPath = QDir(top).relativeFilePath(source);
    }
    if (trash.isEmpty()) {
        result.outcome = TrashOutcome::NoTrash;
        result.reason = QStringLiteral("no Trash on the disk that holds it");
        return result;
    }

    const QByteArray info = "[Trash Info]\nPath=" + QUrl::toPercentEncoding(recordedPath, "/")
        + "\nDeletionDate="
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1()
        + '\n';
    for (int number = 1;; ++number) {
        const QString name = trashName(given.fileName(), number);
        const QString target = trash + QStringLiteral("/files/") + name;
        const QString infoPath
            = trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo");
        if (exists(target))
            continue;
        // The info file is made exclusively first: it claims the name against other programs.
        const int fd = ::open(native(infoPath).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            result.outcome = TrashOutcome::NoTrash;
            result.reason = systemReason(errno);
            return result;
        }
        const bool written = ::write(fd, info.constData(), std::size_t(info.size())) == info.size();
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) {
            ::unlink(native(infoPath).constData());
            result.outcome = TrashOutcome::NoTrash;
            result.reason = QStringLiteral("the Trash cannot be written");
            return result;
        }
        if (::rename(native(source).constData(), native(target).constData()) != 0) {
            const int error = errno;
            ::unlink(native(infoPath).constData());
            result.outcome = error == EXDEV ? TrashOutcome::NoTrash : TrashOutcome::Failed;
            result.reason = systemReason(error);
            return result;
        }
        result.outcome = TrashOutcome::Trashed;
        result.trashedAs = target;
        return result;
    }
}

RestoreResult restoreFromTrash(const QString &trashedAs, const QString &originalPath)
{
    RestoreResult result;
    const QFileInfo trashed(trashedAs);
    // A trashed file lives in TRASH/files/NAME; its record is TRASH/info/NAME.trashinfo.
    const QString trash = QFileInfo(trashed.absolutePath()).absolutePath();
    const QString infoPath
        = trash + QStringLiteral("/info/") + trashed.fileName() + QStringLiteral(".trashinfo");
    if (!exists(trashedAs)) {
        result.outcome = RestoreOutcome::Gone;
        result.reason = QStringLiteral("it is no longer in the Trash");
        return result;
    }
    if (exists(originalPath)) {
        result.outcome = RestoreOutcome::Occupied;
        result.reason = QStringLiteral("another file has its place now");
        return result;
    }
    // link() refuses an existing target, so a file that appears meanwhile is never replaced;
    // where the file system cannot link, rename() is the fallback after the check above.
    const QByteArray from = native(trashedAs);
    const QByteArray to = native(originalPath);
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
    } else if (errno == EEXIST) {
        result.outcome = RestoreOutcome::Occupied;
        result.reason = QStringLiteral("another file has its place now");
        return result;
    } else if (::rename(from.constData(), to.constData()) != 0) {
        result.reason = systemReason(errno);
        return result;
    }
    ::unlink(native(infoPath).constData());
    result.outcome = RestoreOutcome::Restored;
    return result;
}

} // namespace glimmerix
