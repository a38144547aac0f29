#include "packagefolder.h"

#include "productfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <optional>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glimmerix
{

namespace
{

const QString kManifest = QLatin1String(kPackageManifestName);

QByteArray manifestHeader(PackageKind kind)
{
    return "Glimmerix package: " + packageKindName(kind).toUtf8();
}

// True when something (a file, a folder or a link, even a dangling one) has this name.
bool nameTaken(const QString &path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

bool isFolderEntry(const QString &path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool renameEntry(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A new private folder inside `folder` (mode 0700, a name no one else has). Empty when none can
// be made; errno says why.
QString makePrivateFolder(const QString &folder, const char *purpose)
{
    QByteArray pattern = QFile::encodeName(folder) + "/.glimmerix-" + purpose + "-XXXXXX";
    errno = 0;
    if (::mkdtemp(pattern.data()) == nullptr)
        return {};
    return QFile::decodeName(pattern);
}

// Removes a private folder and the files and links in it (no link is followed).
void removePrivateFolder(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names)
        ::unlink(QFile::encodeName(folder + u'/' + name).constData());
    QDir().rmdir(folder);
}

// The names a manifest lists, or nullopt when `bytes` is not the manifest of `kind`'s package.
// A name that would lead out of the folder is not a name of ours.
std::optional<QStringList> manifestNames(const QByteArray &bytes, PackageKind kind)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.takeFirst().trimmed() != manifestHeader(kind))
        return std::nullopt;
    QStringList names;
    for (const QByteArray &line : std::as_const(lines)) {
        const QString name = QString::fromUtf8(line).trimmed();
        if (name.isEmpty() || name == u'.' || name == QLatin1String("..") || name.contains(u'/')
            || name == kManifest)
            continue;
        names.append(name);
    }
    return names;
}

// The kind whose package a manifest names, if any.
std::optional<PackageKind> manifestKind(const QByteArray &bytes)
{
    const QByteArray header = bytes.left(bytes.indexOf('\n')).trimmed();
    for (PackageKind kind :
        { PackageKind::WebAlbum, PackageKind::SlideShow, PackageKind::Postcard })
        if (header == manifestHeader(kind))
            return kind;
    return std::nullopt;
}

// Undoes a delivery's moves: its files leave the folder, the earlier package comes back.
void rollBack(const QString &folder, const QString &staging, const QStringList &placed,
    const QString &aside, const QStringList &setAside)
{
    for (const QString &name : placed)
        renameEntry(folder + u'/' + name, staging + u'/' + name);
    for (const QString &name : setAside)
        renameEntry(aside + u'/' + name, folder + u'/' + name);
}

} // namespace

QString packageKindName(PackageKind kind)
{
    switch (kind) {
    case PackageKind::WebAlbum:
        return QStringLiteral("web album");
    case PackageKind::SlideShow:
        return QStringLiteral("slide show package");
    case PackageKind::Postcard:
        return QStringLiteral("video postcard");
    }
    return {};
}

PackageFolder examinePackageFolder(const QString &folder, PackageKind kind)
{
    PackageFolder result;
    const QFileInfo info(folder);
    if (!nameTaken(folder)) {
        result.state = FolderState::Missing;
        return result;
    }
    if (!info.isDir()) {
        result.state = FolderState::Refused;
        result.cause = QStringLiteral("is not a folder");
        return result;
    }
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    if (entries.isEmpty()) {
        result.state = FolderState::Empty;
        return result;
    }
    const QString manifestPath = folder + u'/' + kManifest;
    QByteArray manifest;
    QFile file(manifestPath);
    // Only a file of our own counts as a manifest, not a link to one elsewhere.
    if (!QFileInfo(manifestPath).isSymLink() && file.open(QIODevice::ReadOnly))
        manifest = file.read(1 << 20);
    if (const std::optional<QStringList> names = manifestNames(manifest, kind)) {
        result.state = FolderState::EarlierPackage;
        result.packageFiles = *names;
        return result;
    }
    result.state = FolderState::Refused;
    const QString product = packageKindName(kind);
    if (const std::optional<PackageKind> other = manifestKind(manifest)) {
        result.cause = QStringLiteral("holds a %1, not a %2").arg(packageKindName(*other), product);
        return result;
    }
    QStringList shown = entries.mid(0, 3);
    if (entries.size() > 3)
        shown.append(QStringLiteral("..."));
    result.cause = QStringLiteral("holds files that are not a %1's (%2); a %1 goes only into an "
                                  "empty folder, a new one or the folder of an earlier %1")
                       .arg(product, shown.join(QStringLiteral(", ")));
    return result;
}

QString deliverPackage(const QString &folderPath, PackageKind kind, const QList<PackageFile> &files,
    bool replaceEarlier)
{
    const QString folder = QDir::cleanPath(folderPath);
    const auto problem = [](const QString &file, const QString &cause) {
        return file + QStringLiteral(": ") + cause;
    };
    const PackageFolder found = examinePackageFolder(folder, kind);
    if (found.state == FolderState::Refused)
        return problem(folder, found.cause);
    if (found.state == FolderState::EarlierPackage && !replaceEarlier)
        return problem(folder, QStringLiteral("holds an earlier %1").arg(packageKindName(kind)));

    // One file per name; the first of a name wins.
    QList<PackageFile> unique;
    QSet<QString> names;
    for (const PackageFile &file : files) {
        if (file.name.isEmpty() || file.name.contains(u'/') || file.name == kManifest
            || names.contains(file.name))
            continue;
        names.insert(file.name);
        unique.append(file);
    }
    // Looked up once per file: a site of thousands of pictures must not cost files x files.
    const QSet<QString> earlierNames(found.packageFiles.cbegin(), found.packageFiles.cend());
    for (const PackageFile &file : std::as_const(unique)) {
        if (!QFileInfo(file.source).isFile())
            return problem(file.source, QStringLiteral("no such file"));
        const QString target = folder + u'/' + file.name;
        if (nameTaken(target) && !earlierNames.contains(file.name))
            return problem(target,
                QStringLiteral("is not part of the earlier %1; it is left alone")
                    .arg(packageKindName(kind)));
    }

    // The folder and the parents it needs, made now and removed again when the delivery fails.
    QStringList madeFolders;
    if (found.state == FolderState::Missing) {
        for (QString path = folder; !path.isEmpty() && !nameTaken(path);
             path = QFileInfo(path).path()) {
            madeFolders.prepend(path);
            if (path == QFileInfo(path).path())
                break;
        }
        if (!QDir().mkpath(folder))
            return problem(folder, QStringLiteral("the folder cannot be made"));
    }
    const auto removeMadeFolders = [&madeFolders] {
        for (auto it = madeFolders.crbegin(); it != madeFolders.crend(); ++it)
            QDir().rmdir(*it);
    };

    const QString staging = makePrivateFolder(folder, "delivery");
    if (staging.isEmpty()) {
        const QString cause = systemErrorCause(errno);
        removeMadeFolders();
        return problem(folder, cause);
    }
    const auto fail = [&](const QString &file, const QString &cause) {
        removePrivateFolder(staging);
        removeMadeFolders();
        return problem(file, cause);
    };
    QByteArray manifest = manifestHeader(kind) + '\n';
    for (const PackageFile &file : std::as_const(unique)) {
        const QString copy = staging + u'/' + file.name;
        QString failedFile;
        // A file the earlier package already holds under its name (a web album's picture made
        // before and reused) is linked, not copied: the earlier name steps aside below and the
        // same bytes come back under the new package.
        const bool inPlace = !file.program && earlierNames.contains(file.name)
            && QFileInfo(file.source).absoluteFilePath()
                == QFileInfo(folder + u'/' + file.name).absoluteFilePath();
        if (inPlace
            && ::link(
                   QFile::encodeName(file.source).constData(), QFile::encodeName(copy).constData())
                == 0) {
            manifest += file.name.toUtf8() + '\n';
            continue;
        }
        const QString cause = file.program ? copyProductProgram(file.source, copy, &failedFile)
                                           : copyProductFile(file.source, copy, &failedFile);
        if (!cause.isEmpty())
            return fail(failedFile == copy ? folder + u'/' + file.name : failedFile, cause);
        manifest += file.name.toUtf8() + '\n';
    }
    const QString manifestCause = writeWholeFile(staging + u'/' + kManifest, manifest);
    if (!manifestCause.isEmpty())
        return fail(folder + u'/' + kManifest, manifestCause);

    // Everything is there: the earlier package steps aside, the new one moves in.
    QString aside;
    QStringList setAside;
    if (found.state == FolderState::EarlierPackage) {
        aside = makePrivateFolder(folder, "earlier");
        if (aside.isEmpty())
            return fail(folder, systemErrorCause(errno));
        QSet<QString> asideNames;
        for (const QString &name : found.packageFiles + QStringList { kManifest }) {
            const QString path = folder + u'/' + name;
            if (!nameTaken(path) || isFolderEntry(path) || asideNames.contains(name))
                continue;
            if (!renameEntry(path, aside + u'/' + name)) {
                const QString cause = systemErrorCause(errno);
                rollBack(folder, staging, {}, aside, setAside);
                removePrivateFolder(aside);
                return fail(path, cause);
            }
            setAside.append(name);
            asideNames.insert(name);
        }
    }
    QStringList placed;
    QStringList order;
    for (const PackageFile &file : std::as_const(unique))
        order.append(file.name);
    order.append(kManifest);
    for (const QString &name : std::as_const(order)) {
        if (!renameEntry(staging + u'/' + name, folder + u'/' + name)) {
            const QString cause = systemErrorCause(errno);
            rollBack(folder, staging, placed, aside, setAside);
            removePrivateFolder(aside);
            return fail(folder + u'/' + name, cause);
        }
        placed.append(name);
    }
    removePrivateFolder(aside);
    removePrivateFolder(staging);
    return {};
}

QString freshSubfolder(const QString &folder, const QString &name)
{
    const QString base = QDir::cleanPath(folder) + u'/' + name;
    QString candidate = base;
    for (int n = 2; nameTaken(candidate); ++n)
        candidate = base + QStringLiteral(" %1").arg(n);
    return candidate;
}

} // namespace glimmerix
