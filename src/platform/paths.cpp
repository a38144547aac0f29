#include "paths.h"

#include "strings.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace glimmerix
{

namespace
{

QString envPath(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString() : QDir::cleanPath(QDir(value).absolutePath());
}

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

} // namespace

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

QString resourceFolder()
{
    const QString fromEnvironment = envPath("GLIMMERIX_RESOURCES");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString exeFolder = executableFolder();
    const QString installed = QDir::cleanPath(exeFolder + QStringLiteral("/../share/glimmerix"));
    if (QFileInfo::exists(joinPath(installed, QString::fromLatin1(kLanguageBundleFileName))))
        return installed;
    return exeFolder;
}

QString bundledProgramPath(const QString &fileName)
{
    const QString exeFolder = executableFolder();
    for (const QString &candidate : { joinPath(exeFolder, fileName),
             exeFolder + QStringLiteral("/../lib/glimmerix/") + fileName,
             QStringLiteral(GLIMMERIX_BUILD_PROGRAMS "/") + fileName }) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

QString userFolder()
{
    const QString fromEnvironment = envPath("GLIMMERIX_HOME");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir::homePath() + QStringLiteral("/Glimmerix");
}

QString configFolder()
{
    const QString home = envPath("GLIMMERIX_HOME");
    if (!home.isEmpty())
        return home + QStringLiteral("/.config");
    QString base = envPath("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/glimmerix");
}

namespace
{

// Makes `folder` when missing and checks that it is ours and private (mode 0700, not a link);
// empty when it is not.
QString privateFolder(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    // Another user may have made the folder first in a shared temporary folder: refuse any
    // folder that is a link, not ours, or open to others.
    struct stat info {
    };
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode)
        || info.st_uid != getuid())
        return {};
    if ((info.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return {};
    return folder;
}

// `path` with every link resolved, also when its last parts do not exist yet (a home folder the
// first start has still to make): the nearest existing folder above it is resolved instead.
QString canonicalPath(const QString &path)
{
    QString existing = QDir::cleanPath(path);
    QString rest;
    while (!existing.isEmpty()) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty())
            return rest.isEmpty() ? canonical : joinPath(canonical, rest);
        const qsizetype slash = existing.lastIndexOf(u'/');
        if (slash <= 0)
            break;
        rest = rest.isEmpty() ? existing.mid(slash + 1) : existing.mid(slash + 1) + u'/' + rest;
        existing = existing.left(slash);
    }
    return QDir::cleanPath(path);
}

} // namespace

QString runtimeFolder()
{
    const QString xdgRuntime = envPath("XDG_RUNTIME_DIR");
    return privateFolder(!xdgRuntime.isEmpty()
            ? xdgRuntime + QStringLiteral("/glimmerix")
            : QDir::tempPath() + QStringLiteral("/glimmerix-%1").arg(getuid()));
}

QString homeKey(const QString &home)
{
    const QByteArray hash = QCryptographicHash::hash(
        QFile::encodeName(canonicalPath(home)), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(12));
}

QString instanceFolder()
{
    const QString runtime = runtimeFolder();
    if (runtime.isEmpty())
        return {};
    return privateFolder(joinPath(runtime, QStringLiteral("home-") + homeKey(userFolder())));
}

void makeFolderIfMissing(const QString &folder)
{
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
}

QString absoluteItemPath(const QString &path)
{
    if (path.startsWith(u'/'))
        return path;
    return joinPath(userFolder(), path);
}

} // namespace glimmerix
