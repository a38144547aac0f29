#include "albummanager.h"

#include "album/albumdoc.h"
#include "album/albumfilecopy.h"
#include "albummanagedialogs.h"
#include "core/folders.h"
#include "platform/host.h"

#include "platform/strings.h"

#include <QDir>
#include <QFileInfo>

namespace glimmerix
{

AlbumManager::AlbumManager(CAlbumDoc &doc, AlbumListAccess &list, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_doc(doc)
    , m_list(list)
    , m_window(window)
{
}

QString AlbumManager::albumsFolder() const
{
    return glimmerix::albumsFolder();
}

bool AlbumManager::runCommand(int command)
{
    switch (command) {
    case Command::kRenameAlbum:
        renameAlbum();
        return true;
    case Command::kCopyAlbum:
        copyAlbum();
        return true;
    case Command::kDeleteAlbum:
        deleteAlbum();
        return true;
    case Command::kCopyAlbumFiles:
        copyAlbumFiles();
        return true;
    case Command::kAlbumProperties:
        showProperties();
        return true;
    default:
        return false;
    }
}

bool AlbumManager::isEnabled(int command) const
{
    const QString entry = m_list.currentAlbumEntry();
    const bool folderAlbum = isFolderAlbumEntry(entry, CAlbumDoc::untitledName());
    switch (command) {
    case Command::kRenameAlbum:
    case Command::kCopyAlbum:
    case Command::kDeleteAlbum:
        return folderAlbum;
    case Command::kCopyAlbumFiles:
        return !entry.isEmpty() && m_doc.itemCount() > 0;
    case Command::kAlbumProperties:
        return !entry.isEmpty();
    default:
        return false;
    }
}

void AlbumManager::renameAlbum()
{
    const QString current = m_list.currentAlbumEntry();
    if (!isFolderAlbumEntry(current, CAlbumDoc::untitledName()) || !m_doc.saveModified())
        return;
    AlbumNameDialog dialog(
        loadString(Message::kRenameTitle), m_list.albumEntries(), current, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool replace = false;
    if (!mayReplace(dialog.albumName(), current, replace))
        return;
    // Changes the user chose not to save are dropped with the old name.
    m_doc.markClean();
    m_list.applyAlbumListChange(glimmerix::renameAlbum(albumsFolder(), current, dialog.albumName(),
        dialog.nameIsEntry(), replace, WithoutTrash::Ask));
}

bool AlbumManager::mayReplace(const QString &name, const QString &current, bool &replace) const
{
    const QString entry = albumEntryName(name);
    replace = false;
    if (entry == current || !QFileInfo::exists(albumFileForEntry(albumsFolder(), entry)))
        return true;
    replace = host().showText(tr("An album named \"%1\" already exists. Replace it?\n"
                                 "The album replaced goes to the Trash.")
                                  .arg(entry),
                  MessageIcon::Question, MessageButtons::YesNo, 0, { QString(), 1 })
        == MessageAnswer::Yes;
    return replace;
}

void AlbumManager::copyAlbum()
{
    const QString current = m_list.currentAlbumEntry();
    if (!isFolderAlbumEntry(current, CAlbumDoc::untitledName()) || !m_doc.saveModified())
        return;
    AlbumNameDialog dialog(
        loadString(Message::kCopyTitle), m_list.albumEntries(), current, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool replace = false;
    if (!mayReplace(dialog.albumName(), current, replace))
        return;
    m_list.applyAlbumListChange(glimmerix::copyAlbum(
        albumsFolder(), current, dialog.albumName(), replace, WithoutTrash::Ask));
}

void AlbumManager::deleteAlbum()
{
    const QString current = m_list.currentAlbumEntry();
    if (!isFolderAlbumEntry(current, CAlbumDoc::untitledName()))
        return;
    AlbumRemoveDialog dialog(loadString(Message::kDeleteFailedCaption),
        tr("Delete the album \"%1\"?").arg(current), m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Changes to the album being deleted are dropped.
    m_doc.markClean();
    QStringList media;
    for (int index = 0; index < m_doc.itemCount(); ++index)
        media << m_doc.item(index)->absolutePath();
    const AlbumListChange change
        = glimmerix::deleteAlbum(albumsFolder(), current, CAlbumDoc::untitledName(), media,
            dialog.deleteMedia(), { m_list.outsideAlbumPath(), m_lastFile() }, WithoutTrash::Ask);
    m_list.applyAlbumListChange(change);
    // Which media files went to the Trash and which stayed because other albums use them.
    if (!change.report.isEmpty())
        host().showText(change.report.join(u'\n'),
            change.filesLeft ? MessageIcon::Warning : MessageIcon::Information, MessageButtons::Ok,
            0);
}

void AlbumManager::showProperties()
{
    const QString entry = m_list.currentAlbumEntry();
    const AlbumProperties properties
        = albumProperties(albumsFolder(), entry, CAlbumDoc::untitledName(),
            m_list.outsideAlbumPath(), m_doc.itemCount(), m_doc.albumCaption(), m_doc.mediaBytes());
    AlbumPropertiesDialog dialog(properties, m_window);
    dialog.exec();
}

void AlbumManager::copyAlbumFiles()
{
    const QString current = m_list.currentAlbumEntry();
    if (current.isEmpty() || !m_doc.saveModified())
        return;
    const QString preset
        = m_doc.lastCopyDestination().isEmpty() ? QDir::homePath() : m_doc.lastCopyDestination();
    CopyFilesDialog dialog(loadString(Message::kCopyFilesCaption), preset, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    glimmerix::copyAlbumFiles(m_doc, dialog.folder(), dialog.move(), m_freeSpace);
    // The album file stays where it is; the list stays on it and the view redraws.
    AlbumListChange change;
    change.succeeded = true;
    change.selectEntry = current;
    m_list.applyAlbumListChange(change);
}

} // namespace glimmerix
