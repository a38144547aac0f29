#include "albumcommands.h"

#include "album/albumdoc.h"
#include "album/albumfolders.h"
#include "album/albumitem.h"
#include "album/importer.h"
#include "app/albumlist.h"
#include "app/filefilter.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "mainframe.h"
#include "media/ui/soundrecorderdialog.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "sortdialog.h"
#include "view/ui/albumview.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

AlbumCommands::AlbumCommands(CMainFrame *frame, CAlbumDoc *document, CAlbumView *view)
    : QObject(frame)
    , m_frame(frame)
    , m_document(document)
    , m_view(view)
{
}

void AlbumCommands::sort()
{
    if (!m_document->canSort())
        return;
    const std::optional<SortChoice> choice = askSortOrder(m_frame);
    if (!choice)
        return;
    m_document->sortCommand(choice->key, choice->direction);
}

void AlbumCommands::newAlbum()
{
    if (!m_document->saveModified())
        return;
    m_document->onNewDocument();
}

bool AlbumCommands::save()
{
    if (m_document->isUntitled())
        return saveAs();
    return m_document->onSaveDocument(m_document->pathName());
}

bool AlbumCommands::saveAs()
{
    const QString proposed = m_document->isUntitled()
        ? QString()
        : QFileInfo(m_document->pathName()).completeBaseName();
    bool accepted = false;
    QString name = QInputDialog::getText(m_frame, QObject::tr("Save Album As"),
        QObject::tr("Album name:"), QLineEdit::Normal, proposed, &accepted)
                       .trimmed();
    if (!accepted || name.isEmpty())
        return false;
    if (name.endsWith(QLatin1String(".gmx"), Qt::CaseInsensitive))
        name.chop(4);
    // The album goes into the albums folder: a name is a file name, not a path.
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (!m_document->saveAs(name))
        return false;
    Q_EMIT lastFileChanged(m_document->pathName());
    return true;
}

void AlbumCommands::openAlbum()
{
    QComboBox *list = m_frame->albumList();
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->itemText(i));
    bool accepted = false;
    const QString chosen = QInputDialog::getItem(m_frame, loadString(AlbumMessage::kOpenAlbumTitle),
        QObject::tr("Album:"), entries, list->currentIndex(), false, &accepted);
    if (!accepted || chosen.isEmpty())
        return;
    if (chosen == CAlbumDoc::untitledName()) {
        newAlbum();
        return;
    }
    switchToAlbum(albumPathForEntry(
        chosen, albumsFolder(), CAlbumDoc::untitledName(), m_frame->externalAlbumPath()));
}

bool AlbumCommands::switchToAlbum(const QString &path)
{
    const bool opened = path == CAlbumDoc::untitledName() ? m_document->onNewDocument()
                                                          : m_document->onOpenDocument(path);
    if (!opened)
        return false;
    m_view->resetState();
    if (!m_document->isUntitled())
        Q_EMIT lastFileChanged(m_document->pathName());
    return true;
}

void AlbumCommands::albumListChanged(int index)
{
    if (m_inListChange)
        return;
    m_inListChange = true;
    QComboBox *list = m_frame->albumList();
    const int previous = m_frame->albumListIndex();
    auto putBack = [&] {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(previous);
    };

    bool proceed = true;
    if (m_document->isUntitled() && m_document->isModified()) {
        const MessageAnswer answer = host().showMessage(AlbumMessage::kSaveUntitledQuestion, {},
            MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Yes)
            proceed = saveAs();
        else if (answer == MessageAnswer::No)
            m_document->setModified(false);
        else
            proceed = false;
    }
    const QString entry = list->itemText(index);
    if (proceed) {
        const QString path = albumPathForEntry(
            entry, albumsFolder(), CAlbumDoc::untitledName(), m_frame->externalAlbumPath());
        proceed = switchToAlbum(path);
    }
    if (proceed) {
        // The document's path change refilled the list; keep the chosen entry selected.
        m_frame->selectAlbumEntry(entry);
    } else {
        putBack();
    }
    m_inListChange = false;
}

void AlbumCommands::attachSound()
{
    const int current = m_view->current();
    if (!m_document->item(current))
        return;
    const QString path = QFileDialog::getOpenFileName(m_frame, QObject::tr("Attach Sound"),
        m_soundFolder, QObject::tr("Sounds (*.wav *.mp3 *.WAV *.MP3);;All files (*)"));
    if (path.isEmpty())
        return;
    m_soundFolder = QFileInfo(path).absolutePath();
    m_document->setAttachmentPath(current, path);
}

void AlbumCommands::recordSound()
{
    const QString audioFolder = Folders().audioFolder();
    QDir().mkpath(audioFolder);
    SoundRecorderDialog dialog(audioFolder, m_frame);
    const int current = m_view->current();
    if (m_document->item(current)) {
        dialog.setAlbumTarget([this, current](const QString &path) {
            m_document->setAttachmentPath(current, path);
            return true;
        });
    } else {
        dialog.setAlbumTarget([this](const QString &path) {
            if (m_document->addFile(path) != 1)
                return false;
            m_document->setModified();
            Q_EMIT m_document->itemsChanged();
            return true;
        });
    }
    dialog.exec();
}

void AlbumCommands::addFiles()
{
    const QString start = addFilesStartFolder(m_document->addFilesFolder(), m_addPhotoFolder);
    const QStringList paths
        = QFileDialog::getOpenFileNames(m_frame, loadString(AlbumMessage::kAddFilesTitle), start,
            qtFileFilter(loadString(AlbumMessage::kMediaFilter)));
    if (paths.isEmpty())
        return;
    QApplication::processEvents();
    const AddFilesOutcome outcome = ::addFiles(*m_document, paths);
    if (!outcome.folder.isEmpty()) {
        m_document->setAddFilesFolder(outcome.folder);
        m_addPhotoFolder = outcome.folder;
        Q_EMIT addPhotoFolderChanged(outcome.folder);
    }
}
