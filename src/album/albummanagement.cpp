#include "albummanagement.h"

#include "albumlock.h"
#include "albumsave.h"
#include "mediausers.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/savefilecommit.h"
#include "platform/strings.h"
#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace glimmerix
{

namespace
{

AlbumListChange unchanged(const QString &current, const QString &error = {})
{
    AlbumListChange change;
    change.selectEntry = current;
    change.error = error;
    return change;
}

// Why `name` cannot be the new name of the album file `oldPath`, or empty.
QString renameProblem(const QString &oldPath, const QString &name)
{
    if (!isValidAlbumName(name))
        return QStringLiteral("\"%1\" is not a valid album name").arg(name);
    if (!QFileInfo(oldPath).isFile())
        return QStringLiteral("no such album");
    return {};
}

bool samePath(const QString &a, const QString &b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath())
        == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

QString albumEntryName(const QString &name)
{
    const QLatin1String extension(kAlbumExtension);
    if (name.endsWith(extension, Qt::CaseInsensitive))
        return name.left(name.size() - extension.size());
    return name;
}

QString albumFileForEntry(const QString &albumsFolder, const QString &entry)
{
    const QLatin1String extension(kAlbumExtension);
    const QString path = joinPath(albumsFolder, entry + extension);
    if (QFileInfo::exists(path))
        return path;
    // Name filters ignore letter case; the name itself must match exactly.
    const QStringList albums = QDir(albumsFolder).entryList({ u'*' + extension }, QDir::Files);
    for (const QString &name : albums) {
        if (name.size() == entry.size() + extension.size() && name.startsWith(entry))
            return joinPath(albumsFolder, name);
    }
    return path;
}

namespace
{

bool isRefusedNameCharacter(QChar c)
{
    return c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c);
}

} // namespace

bool isValidAlbumName(const QString &name)
{
    const QString entry = albumEntryName(name);
    if (entry.isEmpty() || entry == QLatin1String(".") || entry == QLatin1String(".."))
        return false;
    if (std::any_of(entry.cbegin(), entry.cend(), isRefusedNameCharacter))
        return false;
    return entry.trimmed() == entry;
}

QString fileSystemSafeAlbumName(const QString &name)
{
    QString safe = name;
    std::replace_if(safe.begin(), safe.end(), isRefusedNameCharacter, u'_');
    return safe;
}

bool isFolderAlbumEntry(const QString &entry, const QString &untitledName)
{
    return !entry.isEmpty() && entry != untitledName && !entry.endsWith(u'*');
}

bool copyFileReplacing(const QString &from, const QString &to, QString *error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = source.errorString();
        return false;
    }
    // QSaveFile would write the target of a link under the name: the copy replaces the link.
    if (QFileInfo(to).isSymLink() && !QFile::remove(to)) {
        if (error)
            *error = QStringLiteral("the link there cannot be replaced");
        return false;
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) {
        if (error)
            *error = target.errorString();
        return false;
    }
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(buffer.data(), buffer.size());
        if (got < 0) {
            if (error)
                *error = source.errorString();
            target.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
        if (target.write(buffer.constData(), got) != got) {
            if (error)
                *error = target.errorString();
            target.cancelWriting();
            return false;
        }
    }
    target.setPermissions(source.permissions());
    if (!commitSaveFile(target)) {
        if (error)
            *error = target.errorString();
        return false;
    }
    return true;
}

QStringList trashOrDelete(const QStringList &files, WithoutTrash withoutTrash, QStringList &report,
    QHash<QString, QString> *trashedAs)
{
    QStringList left;
    QStringList noTrash;
    for (const QString &file : files) {
        const TrashResult result = moveToTrash(file);
        if (result.trashed()) {
            report << QStringLiteral("moved to the Trash: %1").arg(file);
            if (trashedAs)
                trashedAs->insert(file, result.trashedAs);
        } else if (result.outcome == TrashOutcome::NoTrash) {
            noTrash << file;
        } else {
            report << QStringLiteral("not deleted (%1): %2").arg(result.reason, file);
            host().showMessage(Message::kCannotDeleteFile, { file });
            left << file;
        }
    }
    bool deleteThem = withoutTrash == WithoutTrash::Delete;
    if (!noTrash.isEmpty() && withoutTrash == WithoutTrash::Ask) {
        deleteThem
            = host().showText(
                  QStringLiteral("No Trash can take these files:\n%1\n\nDelete them for good?")
                      .arg(noTrash.join(u'\n')),
                  MessageIcon::Question, MessageButtons::YesNo, 0, { QString(), 1 })
            == MessageAnswer::Yes;
    }
    for (const QString &file : std::as_const(noTrash)) {
        QFile doomed(file);
        if (!deleteThem) {
            report << QStringLiteral("kept, no Trash can take it: %1").arg(file);
            left << file;
        } else if (doomed.remove()) {
            report << QStringLiteral("deleted for good, no Trash can take it: %1").arg(file);
        } else {
            report << QStringLiteral("not deleted (%1): %2")
                          .arg(fileErrorReason(doomed.errorString()), file);
            host().showMessage(Message::kCannotDeleteFile, { file });
            left << file;
        }
    }
    return left;
}

namespace
{

// Why an album already under the new name of a rename or copy stops it, or empty: it is
// refused unless `replace`, else it goes to the Trash (or as `withoutTrash` says).
QString replaceProblem(
    const QString &path, bool replace, WithoutTrash withoutTrash, AlbumListChange &change)
{
    if (!QFileInfo::exists(path))
        return {};
    if (!QFileInfo(path).isFile())
        return QStringLiteral("%1 is not an album file").arg(path);
    if (!replace)
        return QStringLiteral("an album named \"%1\" already exists")
            .arg(albumEntryName(QFileInfo(path).fileName()));
    if (trashOrDelete({ path }, withoutTrash, change.report).isEmpty())
        return {};
    change.filesLeft = true;
    return change.report.last();
}

// An album's lock, held for the length of a change to its file. An album that another program
// has open is refused: that program would write the album back after the change (over a copy,
// or again after a rename or a deletion).
struct HeldAlbum {
    std::shared_ptr<AlbumLock> lock;
    QString problem; // "album is in use ..." when another process holds it
};

HeldAlbum holdAlbum(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    AlbumLock::Result result = AlbumLock::acquire(path, 0);
    if (result.lock)
        return { std::move(result.lock), {} };
    return { {},
        result.holder.isEmpty() ? QStringLiteral("album is in use")
                                : QStringLiteral("album is in use by ") + result.holder };
}

} // namespace

AlbumListChange renameAlbum(const QString &albumsFolder, const QString &current,
    const QString &enteredName, bool nameIsEntry, bool replace, WithoutTrash withoutTrash)
{
    if (current.isEmpty())
        return unchanged(current);
    const QString newEntry = albumEntryName(enteredName);
    const QString oldPath = albumFileForEntry(albumsFolder, current);
    const QString newPath = albumFileForEntry(albumsFolder, newEntry);
    if (const QString problem = renameProblem(oldPath, newEntry); !problem.isEmpty()) {
        host().showMessage(Message::kRenameFailed);
        return unchanged(current, problem);
    }
    // Copying a file onto itself and then deleting the "old" one would lose the album.
    if (samePath(oldPath, newPath)) {
        AlbumListChange change = unchanged(current);
        change.succeeded = true;
        return change;
    }
    const HeldAlbum renamed = holdAlbum(oldPath);
    const HeldAlbum replaced = holdAlbum(newPath);
    AlbumListChange change = unchanged(current, renamed.problem + replaced.problem);
    if (change.error.isEmpty())
        change.error = replaceProblem(newPath, replace, withoutTrash, change);
    if (!change.error.isEmpty()) {
        host().showMessage(Message::kRenameFailed);
        return change;
    }
    // Both lie in the albums folder: one rename moves the file.
    if (std::rename(QFile::encodeName(oldPath).constData(), QFile::encodeName(newPath).constData())
        != 0) {
        change.error = fileErrorReason(QString::fromLocal8Bit(std::strerror(errno)));
        host().showMessage(Message::kRenameFailed);
        return change;
    }
    change.succeeded = true;
    // The old entry goes in every case: its file no longer exists.
    change.removedEntries << current;
    if (!nameIsEntry)
        change.addedEntries << newEntry;
    change.selectEntry = newEntry;
    change.switchAlbum = true;
    return change;
}

AlbumListChange copyAlbum(const QString &albumsFolder, const QString &current,
    const QString &enteredName, bool replace, WithoutTrash withoutTrash)
{
    if (current.isEmpty())
        return unchanged(current);
    const QString newEntry = albumEntryName(enteredName);
    const QString source = albumFileForEntry(albumsFolder, current);
    const QString target = albumFileForEntry(albumsFolder, newEntry);
    if (const QString problem = renameProblem(source, newEntry); !problem.isEmpty()) {
        host().showMessage(Message::kCopyFailed);
        return unchanged(current, problem);
    }
    AlbumListChange change = unchanged(current);
    if (samePath(source, target)) {
        change.succeeded = true;
        return change;
    }
    const bool existed = QFileInfo::exists(target);
    const HeldAlbum replaced = holdAlbum(target);
    change.error = replaced.problem;
    if (change.error.isEmpty())
        change.error = replaceProblem(target, replace, withoutTrash, change);
    if (!change.error.isEmpty()) {
        host().showMessage(Message::kCopyFailed);
        return change;
    }
    QString error;
    if (!copyFileReplacing(source, target, &error)) {
        host().showMessage(Message::kCopyFailed);
        change.error = fileErrorReason(error);
        return change;
    }
    change.succeeded = true;
    if (!existed)
        change.addedEntries << newEntry;
    return change;
}

AlbumListChange deleteAlbum(const QString &albumsFolder, const QString &current,
    const QString &untitledName, const QStringList &mediaFiles, bool deleteMedia,
    const QStringList &moreAlbums, WithoutTrash withoutTrash)
{
    if (!isFolderAlbumEntry(current, untitledName))
        return unchanged(current);
    AlbumListChange change;
    change.selectEntry = untitledName;
    change.switchAlbum = true;
    QFile album(albumFileForEntry(albumsFolder, current));
    const HeldAlbum deleted = holdAlbum(album.fileName());
    if (!deleted.problem.isEmpty()) {
        host().showMessage(Message::kDeleteFailed);
        change.error = deleted.problem;
        return change;
    }
    if (!album.remove()) {
        host().showMessage(Message::kDeleteFailed);
        change.error = album.exists() ? fileErrorReason(album.errorString())
                                      : QStringLiteral("no such album");
        return change;
    }
    change.succeeded = true;
    change.removedEntries << current;
    if (!deleteMedia)
        return change;
    QStringList present;
    for (const QString &file : mediaFiles) {
        if (QFileInfo::exists(file) && !present.contains(file))
            present << file;
    }
    // A photo that another album still shows stays where it is.
    const QHash<QString, QString> usedElsewhere = filesUsedByAlbums(
        present, albumsToLookThrough(albumsFolder, moreAlbums, album.fileName()));
    QStringList doomed;
    for (const QString &file : std::as_const(present)) {
        if (usedElsewhere.contains(file))
            change.report << QStringLiteral("kept, used by %1: %2").arg(usedElsewhere[file], file);
        else
            doomed << file;
    }
    change.filesLeft = !trashOrDelete(doomed, withoutTrash, change.report).isEmpty();
    return change;
}

QString AlbumProperties::fileSizeText() const
{
    return formatString(Message::kByteCount, { QString::number(fileSize) });
}

QString AlbumProperties::itemCountText() const
{
    return QString::number(itemCount);
}

QString AlbumProperties::mediaBytesText() const
{
    return formatString(Message::kByteCount, { QString::number(mediaBytes) });
}

AlbumProperties albumProperties(const QString &albumsFolder, const QString &entry,
    const QString &untitledName, const QString &outsidePath, int itemCount, const QString &caption,
    qint64 mediaBytes)
{
    AlbumProperties properties;
    if (entry == untitledName)
        properties.path = untitledName;
    else if (entry.endsWith(u'*'))
        properties.path = outsidePath;
    else
        properties.path = albumFileForEntry(albumsFolder, entry);
    const QFileInfo file(properties.path);
    properties.fileSize = entry != untitledName && file.isFile() ? file.size() : 0;
    properties.itemCount = itemCount;
    properties.caption = caption;
    properties.mediaBytes = mediaBytes;
    return properties;
}

qint64 freeSpaceOf(const QString &folder)
{
    QFileInfo info(folder);
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            return -1;
        info.setFile(parent);
    }
    const QStorageInfo storage(info.absoluteFilePath());
    if (!storage.isValid())
        return -1;
    return storage.bytesAvailable();
}

} // namespace glimmerix
