#include "albumcommands.h"

#include "album/albumdoc.h"
#include "album/albumfolders.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "album/albummanagement.h"
#include "album/albumundo.h"
#include "album/importer.h"
#include "album/oldalbum.h"
#include "album/relink.h"
#include "album/treeimport.h"
#include "album/ui/relinkdialog.h"
#include "album/ui/treeimportdialog.h"
#include "app/albumlist.h"
#include "app/filefilter.h"
#include "core/commandids.h"
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
#include <QStyle>

namespace glimmerix
{

AlbumCommands::AlbumCommands(CMainFrame *frame, CAlbumDoc *document, CAlbumView *view)
    : QObject(frame)
    , m_frame(frame)
    , m_document(document)
    , m_view(view)
{
}

CommandSet AlbumCommands::commandSet()
{
    QStyle *style = QApplication::style();
    const auto always = std::function<bool()>();
    CommandSet set;
    set.name = QStringLiteral("album");
    set.menus = { standardMenu(kFileMenu), standardMenu(kAlbumMenu), standardMenu(kItemMenu) };
    set.commands = {
        { Command::kNew, 0, tr("&New Album"), [this] { newAlbum(); }, always, { kFileMenu, 100 },
            QKeySequence::New },
        { Command::kOpen, 0, tr("&Open..."), [this] { open(); }, always, { kFileMenu, 110 },
            QKeySequence::Open },
        { Command::kOpenAlbum, 0, tr("Open &Album..."), [this] { openAlbum(); }, always,
            { kFileMenu, 120 }, {}, style->standardIcon(QStyle::SP_DialogOpenButton), 0 },
        { Command::kSave, 0, tr("&Save"), [this] { save(); },
            [this] { return m_document->canSave(); }, { kFileMenu, 200 }, QKeySequence::Save,
            style->standardIcon(QStyle::SP_DialogSaveButton), 1 },
        { Command::kSaveAs, 0, tr("Save &As..."), [this] { saveAs(); }, always,
            { kFileMenu, 210 } },
        { Command::kConvertOldAlbums, 0, tr("&Convert Older Albums..."),
            [this] { convertOldAlbums(); }, always, { kFileMenu, 300 } },
        { Command::kAddFiles, 0, tr("&Add Files..."), [this] { addFiles(); }, always,
            { kAlbumMenu, 100 }, {}, style->standardIcon(QStyle::SP_FileDialogNewFolder), 2 },
        { Command::kAddFolder, 0, tr("Add &Folder..."), [this] { addFolder(); }, always,
            { kAlbumMenu, 105 } },
        { Command::kFindMissingFiles, 0, tr("Find &Missing Files..."),
            [this] { findMissingFiles(); }, [this] { return m_document->itemCount() > 0; },
            { kAlbumMenu, 115 } },
        { Command::kSort, 0, tr("&Sort..."), [this] { sort(); },
            [this] { return m_document->canSort(); }, { kAlbumMenu, 110 } },
        { Command::kAttachSound, 0, tr("Attach &Sound..."), [this] { attachSound(); },
            [this] { return m_document->item(m_view->current()) != nullptr; }, { kItemMenu, 300 } },
        { Command::kRecordSound, 0, tr("&Record Sound..."), [this] { recordSound(); }, {},
            { kItemMenu, 305 } },
    };
    return set;
}

void AlbumCommands::sort()
{
    if (!m_document->canSort())
        return;
    const std::optional<SortChoice> choice = askSortOrder(m_frame);
    if (!choice)
        return;
    const AlbumOrderProbe probe(*m_document);
    m_document->sortCommand(choice->key, choice->direction);
    pushRecordedChange(*m_document, probe, tr("Sort"));
}

void AlbumCommands::newAlbum()
{
    if (!m_document->saveModified())
        return;
    m_document->onNewDocument();
}

void AlbumCommands::open()
{
    const QString start = m_document->isUntitled()
        ? albumsFolder()
        : QFileInfo(m_document->pathName()).absolutePath();
    const QStringList chosen = host().askOpenFileNames(
        { loadString(Message::kOpenAlbumTitle), start, tr("Albums (*.gmx *.GMX);;All files (*)") });
    if (chosen.isEmpty())
        return;
    // An album outside the albums folder is remembered by the main window when the document
    // takes its path, and listed with a trailing "*".
    switchToAlbum(QFileInfo(chosen.first()).absoluteFilePath());
}

void AlbumCommands::convertOldAlbums()
{
    const QStringList chosen = host().askOpenFileNames({ loadString(Message::kOldAlbumTitle),
        m_addPhotoFolder, qtFileFilter(loadString(Message::kOldAlbumFilter)), true });
    if (chosen.isEmpty())
        return;
    QStringList saved;
    {
        const CAlbumDoc::ChangeBatch batch(*m_document);
        saved = glimmerix::convertOldAlbums(*m_document, chosen);
    }
    // The document now holds the last converted album (saved under its own name, or untitled
    // when nothing was saved): the list follows it.
    m_frame->FillAlbumList(m_document->pathName());
    m_frame->updateCommandStates();
    if (!saved.isEmpty())
        Q_EMIT lastFileChanged(saved.last());
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
    // The album goes into the albums folder: a name is a file name any disk can take, not a path.
    name = fileSystemSafeAlbumName(name);
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
    const QString chosen = QInputDialog::getItem(m_frame, loadString(Message::kOpenAlbumTitle),
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
    // Opening a file offers unsaved changes itself; a new album is offered here.
    const bool opened = path == CAlbumDoc::untitledName()
        ? m_document->saveModified() && m_document->onNewDocument()
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
    QComboBox *list = m_frame->albumList();
    const QString entry = list->itemText(index);
    // The document's rule decides: the question about unsaved changes, then the switch.
    switch (m_document->onAlbumListChange(entry, m_frame->externalAlbumPath())) {
    case CAlbumDoc::AlbumListOutcome::Ignored:
        return;
    case CAlbumDoc::AlbumListOutcome::RestoreEntry: {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(m_frame->albumListIndex());
        return;
    }
    case CAlbumDoc::AlbumListOutcome::Switched:
        // The document's path change refilled the list; keep the chosen entry selected.
        m_frame->selectAlbumEntry(entry);
        if (!m_document->isUntitled())
            Q_EMIT lastFileChanged(m_document->pathName());
        return;
    }
}

void AlbumCommands::attachSound()
{
    const int current = m_view->current();
    if (!m_document->item(current))
        return;
    const QStringList chosen = host().askOpenFileNames({ tr("Attach Sound"), m_soundFolder,
        tr("Sounds (*.wav *.mp3 *.WAV *.MP3);;All files (*)") });
    if (chosen.isEmpty())
        return;
    const QString path = chosen.first();
    m_soundFolder = QFileInfo(path).absolutePath();
    // A path the attachment record cannot hold is refused rather than stored cut.
    const QString refusal = attachmentRefusal(m_document->item(current)->attachmentName(), path);
    if (!refusal.isEmpty()) {
        host().showText(refusal, MessageIcon::Warning, MessageButtons::Ok, 0);
        return;
    }
    attachStep(current, path);
}

void AlbumCommands::attachStep(int index, const QString &path)
{
    m_document->undoStack().push(new AttachmentCommand(
        *m_document, index, m_document->item(index)->attachmentName(), path, tr("Attach Sound")));
}

void AlbumCommands::recordSound()
{
    const QString audioFolder = Folders().audioFolder();
    QDir().mkpath(audioFolder);
    SoundRecorderDialog dialog(audioFolder, m_frame);
    const int current = m_view->current();
    if (m_document->item(current)) {
        dialog.setAlbumTarget([this, current](const QString &path) {
            attachStep(current, path);
            return true;
        });
    } else {
        dialog.setAlbumTarget(
            [this](const QString &path) { return m_document->addFile(path) == 1; });
    }
    dialog.exec();
}

void AlbumCommands::addFiles()
{
    const QString start = addFilesStartFolder(m_document->addFilesFolder(), m_addPhotoFolder);
    const QStringList paths
        = QFileDialog::getOpenFileNames(m_frame, loadString(Message::kAddFilesTitle), start,
            qtFileFilter(loadString(Message::kMediaFilter)));
    if (paths.isEmpty())
        return;
    QApplication::processEvents();
    const AlbumOrderProbe probe(*m_document);
    const AddFilesOutcome outcome = glimmerix::addFiles(*m_document, paths);
    pushRecordedChange(*m_document, probe, tr("Add Files"));
    if (!outcome.folder.isEmpty()) {
        m_document->setAddFilesFolder(outcome.folder);
        m_addPhotoFolder = outcome.folder;
        Q_EMIT addPhotoFolderChanged(outcome.folder);
    }
}

void AlbumCommands::addFolder()
{
    const QString start = addFilesStartFolder(m_document->addFilesFolder(), m_addPhotoFolder);
    const QString folder = QFileDialog::getExistingDirectory(m_frame, tr("Add Folder"), start);
    if (!folder.isEmpty())
        addFolderTree(folder);
}

void AlbumCommands::addFolderTree(const QString &folder)
{
    QApplication::processEvents();
    TreeImportOutcome outcome;
    {
        // What came in before a Cancel stays, as one undo step.
        const AlbumOrderProbe probe(*m_document);
        std::unique_ptr<Progress> progress = host().createProgress();
        progress->setTitle(tr("Adding %1").arg(QDir::toNativeSeparators(folder)));
        progress->setRange(0);
        progress->show();
        outcome = importFolderTree(*m_document, folder, *progress);
        progress->close();
        pushRecordedChange(*m_document, probe, tr("Add Folder"));
    }
    TreeImportDialog summary(outcome, m_frame);
    if (summary.exec() == QDialog::Accepted && !summary.tickedPaths().isEmpty()) {
        const AlbumOrderProbe probe(*m_document);
        glimmerix::addFiles(*m_document, summary.tickedPaths());
        pushRecordedChange(*m_document, probe, tr("Add Files"));
    }
    m_document->setAddFilesFolder(outcome.files.folder);
    m_addPhotoFolder = outcome.files.folder;
    Q_EMIT addPhotoFolderChanged(outcome.files.folder);
}

void AlbumCommands::findMissingFiles()
{
    if (missingItems(*m_document).isEmpty()) {
        host().showText(tr("Every item's file is where the album expects it."),
            MessageIcon::Information, MessageButtons::Ok, 0);
        return;
    }
    const QString start = addFilesStartFolder(m_document->addFilesFolder(), m_addPhotoFolder);
    const QString folder
        = QFileDialog::getExistingDirectory(m_frame, tr("Find Missing Files In"), start);
    if (folder.isEmpty())
        return;
    RelinkPlan plan;
    {
        std::unique_ptr<Progress> progress = host().createProgress();
        progress->setTitle(tr("Looking for missing files"));
        progress->setRange(0);
        progress->show();
        plan = findMovedFiles(*m_document, folder, [&](const QString &current) {
            progress->setText(current);
            progress->pumpEvents();
            return !progress->cancelled();
        });
        progress->close();
    }
    if (plan.cancelled)
        return;
    RelinkDialog dialog(plan, m_frame);
    if (dialog.exec() == QDialog::Accepted)
        applyRelinkAsStep(*m_document, dialog.tickedEntries(), tr("Find Missing Files"));
}

} // namespace glimmerix
