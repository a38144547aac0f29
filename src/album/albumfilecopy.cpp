#include "albumfilecopy.h"

#include "albumdoc.h"
#include "albumformat.h"
#include "albumitem.h"
#include "replaceitempath.h"

#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "platform/textlimits.h"
#include "platform/uniquefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstring>

namespace glimmerix
{

namespace
{

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool existsOnDisk(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Whether the regular files `a` and `b` hold the same bytes.
bool sameContents(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!QFileInfo(b).isFile() || QFileInfo(b).isSymLink() || first.size() != second.size()
        || !first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    while (!first.atEnd()) {
        const QByteArray chunk = first.read(1 << 20);
        if (chunk.isEmpty() || chunk != second.read(chunk.size()))
            return false;
    }
    return true;
}

// Copies one file into the destination under a distinct name; false (after telling the user
// why) when it cannot. `copied` receives the new path. A file of that name already in the
// destination is never written over: one with the same bytes serves as the copy, any other
// keeps its name and the copy takes a free one (noted in `renamed`).
bool copyOne(const QString &source, const QString &folder, QSet<QString> &taken, QString &copied,
    QStringList &renamed)
{
    const QString fileName = QFileInfo(source).fileName();
    QString target = distinctDestination(folder, fileName, taken);
    QString otherFile; // a file already in the destination that kept its name
    while (existsOnDisk(target)) {
        if (sameContents(source, target)) {
            taken.insert(target);
            copied = target;
            return true;
        }
        taken.insert(target);
        otherFile = target;
        target = distinctDestination(folder, fileName, taken);
    }
    if (!otherFile.isEmpty())
        renamed << QStringLiteral("%1: another file has that name; %2 copied as %3")
                       .arg(otherFile, source, QFileInfo(target).fileName());
    if (!pathFitsField(target)) {
        host().showMessage(Message::kPathTooLong, { target });
        return false;
    }
    QString error;
    if (!copyFileReplacing(source, target, &error)) {
        host().showText(QStringLiteral("%1: %2").arg(target, error), MessageIcon::Warning,
            MessageButtons::Ok, 0);
        return false;
    }
    taken.insert(target);
    copied = target;
    return true;
}

// Saves the album and copies its file into `folder`; false (after telling the user why) when
// either fails. A different album file of that name already there goes to the Trash first;
// where no Trash can take it, the copy takes a free name instead.
bool saveAndCopyAlbum(CAlbumDoc &doc, const QString &folder, CopyFilesOutcome &outcome)
{
    if (!doc.onSaveDocument(doc.pathName()))
        return false;
    const QString albumFile = cleanAbsolute(doc.pathName());
    QString albumTarget = cleanAbsolute(joinPath(folder, QFileInfo(albumFile).fileName()));
    if (albumTarget == albumFile)
        return true;
    if (sameContents(albumFile, albumTarget)) {
        outcome.albumCopy = albumTarget;
        return true;
    }
    if (existsOnDisk(albumTarget)) {
        QStringList report;
        if (!trashOrDelete({ albumTarget }, WithoutTrash::Keep, report).isEmpty()) {
            const QString kept = albumTarget;
            albumTarget = distinctDestination(folder, QFileInfo(albumFile).fileName(), { kept });
            for (QSet<QString> taken { kept }; existsOnDisk(albumTarget);) {
                taken.insert(albumTarget);
                albumTarget = distinctDestination(folder, QFileInfo(albumFile).fileName(), taken);
            }
            outcome.renamed << QStringLiteral("%1: kept; the album was copied as %2")
                                   .arg(kept, QFileInfo(albumTarget).fileName());
        } else {
            outcome.renamed << report;
        }
    }
    QString error;
    if (!copyFileReplacing(albumFile, albumTarget, &error)) {
        host().showText(QStringLiteral("%1: %2").arg(albumTarget, error), MessageIcon::Warning,
            MessageButtons::Ok, 0);
        return false;
    }
    outcome.albumCopy = albumTarget;
    return true;
}

} // namespace

QString distinctDestination(
    const QString &folder, const QString &fileName, const QSet<QString> &taken)
{
    const QString first = cleanAbsolute(joinPath(folder, fileName));
    if (!taken.contains(first))
        return first;
    for (int number = 2;; ++number) {
        const QString candidate
            = cleanAbsolute(joinPath(folder, numberedFileName(fileName, number)));
        if (!taken.contains(candidate))
            return candidate;
    }
}

CopyFilesOutcome copyAlbumFiles(
    CAlbumDoc &doc, const QString &destination, bool move, const FreeSpaceQuery &freeSpace)
{
    CopyFilesOutcome outcome;
    const QString folder = cleanAbsolute(destination);
    if (!enoughSpaceForCopy(freeSpace(folder), doc.mediaBytes())) {
        host().showMessage(Message::kNotEnoughSpace);
        return outcome;
    }
    if (!QDir().mkpath(folder)) {
        host().showText(QStringLiteral("%1: the folder cannot be made.").arg(folder),
            MessageIcon::Warning, MessageButtons::Ok, 0);
        return outcome;
    }

    // Files of the album that already lie in the destination must not be overwritten.
    QSet<QString> taken;
    for (int index = 0; index < doc.itemCount(); ++index) {
        const AlbumItem *item = doc.item(index);
        taken.insert(cleanAbsolute(item->absolutePath()));
        if (!item->attachmentPath().isEmpty())
            taken.insert(cleanAbsolute(item->attachmentPath()));
    }

    std::unique_ptr<Progress> progress = host().createProgress();
    progress->setTitle(loadString(Message::kCopyFilesProgress));
    progress->setRange(doc.itemCount());
    progress->show();

    QStringList movedAway;
    const int current = doc.currentItem();
    for (int index = 0; index < doc.itemCount(); ++index) {
        progress->pumpEvents();
        if (progress->cancelled())
            break;
        const AlbumItem *item = doc.item(index);
        progress->setText(item->fileName());
        progress->step();
        const QString source = cleanAbsolute(item->absolutePath());
        if (!QFileInfo(source).isFile() || QFileInfo(source).absolutePath() == folder)
            continue;
        QString copy;
        if (!copyOne(source, folder, taken, copy, outcome.renamed)) {
            ++outcome.failed;
            continue;
        }
        QString attachment = item->attachmentPath();
        const QString attachmentSource = cleanAbsolute(attachment);
        bool attachmentMoved = false;
        if (!attachment.isEmpty() && QFileInfo(attachmentSource).isFile()
            && QFileInfo(attachmentSource).absolutePath() != folder) {
            QString attachmentCopy;
            if (copyOne(attachmentSource, folder, taken, attachmentCopy, outcome.renamed)) {
                attachment = attachmentCopy;
                attachmentMoved = true;
            } else {
                ++outcome.failed;
            }
        }
        const BlockHandle thumbnail = thumbnailNaming(*item, copy);
        if (!isBlockHandle(thumbnail)) {
            ++outcome.failed;
            QFile::remove(copy);
            continue;
        }
        auto replacement = std::make_unique<AlbumItem>(thumbnail, copy, true);
        replacement->setAttachmentName(item->attachmentName());
        replacement->setAttachmentPath(attachment);
        replacement->setSelected(item->isSelected());
        replacement->setDisplayIndex(item->displayIndex());
        // Removing and inserting again moves the item's counts to the copy's drive and size.
        doc.removeItem(index, false);
        doc.insertItem(std::move(replacement), index);
        ++outcome.copied;
        if (move) {
            movedAway << source;
            if (attachmentMoved)
                movedAway << attachmentSource;
        }
    }
    progress->close();
    doc.setCurrentItem(current);

    // The album remembers the destination and carries it in the saved file and its copy.
    doc.setLastCopyDestination(folder);
    const bool albumDone = doc.isUntitled() || saveAndCopyAlbum(doc, folder, outcome);
    if (!outcome.renamed.isEmpty())
        host().showText(
            outcome.renamed.join(u'\n'), MessageIcon::Information, MessageButtons::Ok, 0);
    if (!albumDone) {
        // No saved album at the destination names the copies yet: the originals stay.
        if (!movedAway.isEmpty())
            host().showText(QStringLiteral("%1: the album was not saved and copied there, so the "
                                           "original files were kept.")
                                .arg(folder),
                MessageIcon::Warning, MessageButtons::Ok, 0);
        return outcome;
    }
    // Only now does a saved album name the copies: the originals may go, to the Trash (where no
    // Trash can take one, the user is asked before it is deleted for good).
    QStringList report;
    trashOrDelete(movedAway, WithoutTrash::Ask, report);
    outcome.succeeded = outcome.failed == 0;
    return outcome;
}

} // namespace glimmerix
