#include "copyfiles.h"

#include "albumdoc.h"
#include "albumitem.h"
#include "core/messageids.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace glimmerix
{

namespace
{

// Copies `source` over `destination`, replacing it when `replace` is set. Returns the error text,
// empty on success. The copy goes through a temporary name so a failure never leaves half a file
// under the destination's name.
QString copyFile(const QString &source, const QString &destination, bool replace)
{
    QFile in(source);
    if (!in.exists())
        return QStringLiteral("%1: No such file").arg(source);
    const QString partial = destination + QStringLiteral(".part");
    QFile::remove(partial);
    if (!in.copy(partial))
        return QStringLiteral("%1: %2").arg(destination, in.errorString());
    const QFileInfo taken(destination);
    if (!replace && (taken.exists() || taken.isSymLink())) {
        QFile::remove(partial);
        return QStringLiteral("%1: %2").arg(destination, QStringLiteral("already exists"));
    }
    // rename(2) replaces the name itself: a link there is replaced, never written through (as
    // QFile::rename's copying fallback would for a link that leads nowhere).
    if (std::rename(
            QFile::encodeName(partial).constData(), QFile::encodeName(destination).constData())
        != 0) {
        QFile::remove(partial);
        return QStringLiteral("%1: %2").arg(destination, QStringLiteral("cannot be written"));
    }
    return {};
}

} // namespace

CopyFilesResult copySelectedFiles(const CAlbumDoc &document, const QString &folder)
{
    int selected = 0;
    for (int i = 0; i < document.itemCount(); ++i)
        selected += document.item(i)->isSelected() ? 1 : 0;
    if (selected == 0)
        return CopyFilesResult::NothingSelected;

    std::unique_ptr<Progress> progress;
    bool failed = false;
    int done = 0;
    for (int i = 0; i < document.itemCount(); ++i) {
        const AlbumItem *item = document.item(i);
        if (!item->isSelected())
            continue;
        if (!progress) {
            progress = host().createProgress();
            progress->setTitle(loadString(Message::kCopyingFiles));
            progress->setRange(selected);
            progress->show();
        }
        progress->setText(item->absolutePath());
        progress->setPosition(done++);
        progress->pumpEvents();
        if (progress->cancelled()) {
            progress->close();
            return CopyFilesResult::Cancelled;
        }

        const QString destination = joinPath(folder, item->fileName());
        if (QFileInfo(destination).absoluteFilePath()
            == QFileInfo(item->absolutePath()).absoluteFilePath())
            continue;
        bool replace = false;
        if (QFileInfo::exists(destination) || QFileInfo(destination).isSymLink()) {
            const MessageAnswer answer = host().showMessage(Message::kReplaceQuestion,
                { destination }, MessageIcon::Warning, MessageButtons::YesNoCancel);
            if (answer == MessageAnswer::Cancel) {
                progress->close();
                return CopyFilesResult::Cancelled;
            }
            if (answer == MessageAnswer::No)
                continue;
            replace = true;
        }
        const QString error = copyFile(item->absolutePath(), destination, replace);
        if (!error.isEmpty()) {
            host().showText(error, MessageIcon::Warning, MessageButtons::Ok, 0);
            failed = true;
        }
    }
    progress->setPosition(selected);
    progress->close();
    host().showMessage(failed ? Message::kSomeFilesNotCopied : Message::kAllFilesCopied, {},
        failed ? MessageIcon::Warning : MessageIcon::Information);
    return failed ? CopyFilesResult::SomeFailed : CopyFilesResult::AllCopied;
}

} // namespace glimmerix
