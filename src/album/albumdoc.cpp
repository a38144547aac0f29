#include "albumdoc.h"

#include "albumfolders.h"
#include "albumlock.h"
#include "albummanagement.h"
#include "albumundo.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "importer.h"
#include "picturetexts.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "platform/textlimits.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSignalBlocker>

#include <cstring>

#include <unistd.h>

namespace glimmerix
{

CAlbumDoc::CAlbumDoc(QObject *parent)
    : QObject(parent)
    , m_pathName(untitledName())
    , m_lockWaitMs(AlbumLock::kDefaultWaitMs)
{
    m_undoStack.setUndoLimit(kUndoStepLimit);
    connectItems();
}

void CAlbumDoc::connectItems()
{
    connect(&m_items, &AlbumItems::itemsChanged, this, [this] {
        setModified();
        Q_EMIT albumListRepaint();
        Q_EMIT itemsChanged();
    });
    connect(&m_items, &AlbumItems::itemChanged, this, [this](int index) {
        setModified();
        Q_EMIT itemChanged(index);
    });
    connect(&m_items, &AlbumItems::selectionChanged, this, &CAlbumDoc::selectionChanged);
}

CAlbumDoc::~CAlbumDoc() = default;

QString CAlbumDoc::untitledName()
{
    static const QString name = [] {
        const QString text = loadString(Message::kUntitledName);
        return text.isEmpty() ? QStringLiteral("Untitled") : text;
    }();
    return name;
}

bool CAlbumDoc::isUntitled() const
{
    return m_pathName == untitledName();
}

void CAlbumDoc::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}

void CAlbumDoc::setCurrentItem(int index)
{
    m_currentItem = index >= 0 && index < itemCount() ? index : -1;
}

int CAlbumDoc::addFile(const QString &path, int position, QString *problem)
{
    const BlockHandle thumbnail = thumbnailForFile(path, problem);
    if (!isBlockHandle(thumbnail))
        return 0;
    fillTextsFromPicture(thumbnail, path);
    return insertItem(std::make_unique<AlbumItem>(thumbnail, path), position);
}

namespace
{

// The described results of the item operations: 1 done, -2 a file already in the album, 0 refused.
int describedResult(InsertResult result)
{
    switch (result) {
    case InsertResult::Inserted:
        return 1;
    case InsertResult::Duplicate:
        return -2;
    case InsertResult::Refused:
        break;
    }
    return 0;
}

} // namespace

int CAlbumDoc::insertItem(std::unique_ptr<AlbumItem> item, int position)
{
    return describedResult(m_items.insert(std::move(item), position));
}

int CAlbumDoc::replaceItem(int index, std::unique_ptr<AlbumItem> item)
{
    return describedResult(m_items.replace(index, std::move(item)));
}

void CAlbumDoc::setItemText(int index, ItemField field, const QString &text)
{
    m_items.setText(index, field, text);
}

void CAlbumDoc::setItemThumbnail(int index, BlockHandle thumbnail)
{
    m_items.setThumbnail(index, thumbnail);
}

std::unique_ptr<AlbumItem> CAlbumDoc::takeItem(int index)
{
    std::unique_ptr<AlbumItem> removed = m_items.take(index);
    if (m_currentItem >= itemCount())
        m_currentItem = itemCount() - 1;
    return removed;
}

bool CAlbumDoc::reorderItems(const std::vector<int> &order)
{
    return m_items.reorder(order);
}

bool CAlbumDoc::moveSelectedTo(int target)
{
    return m_items.moveSelectedTo(target) == ItemsChange::Changed;
}

int CAlbumDoc::removeItem(int index, bool deleteFile)
{
    const int count = itemCount();
    std::unique_ptr<AlbumItem> removed = takeItem(index);
    if (!removed)
        return count;
    const QString absolutePath = removed->absolutePath();
    removed.reset();
    // The file goes to the Trash; where no Trash can take it, it is deleted as asked. A file
    // that cannot go either way is reported.
    QStringList report;
    if (deleteFile)
        trashOrDelete({ absolutePath }, WithoutTrash::Delete, report);
    return count;
}

void CAlbumDoc::removeSelected(bool deleteFile)
{
    // One change for the whole selection.
    const ChangeBatch batch(*this);
    for (int index = itemCount() - 1; index >= 0; --index) {
        if (item(index)->isSelected())
            removeItem(index, deleteFile);
    }
}

void CAlbumDoc::itemText(int index, QString &text, bool set)
{
    if (index == -1) {
        if (!set) {
            text = m_albumCaption;
            return;
        }
        if (text.toUtf8() == m_albumCaption.toUtf8())
            return;
        setCaption(text);
        setModified();
        return;
    }
    if (set) {
        m_items.setText(index, ItemField::Description, text);
        return;
    }
    const AlbumItem *target = item(index);
    if (const ItemInfo *info = target ? target->info() : nullptr)
        text = fixedText(info->description);
}

void CAlbumDoc::setLastCopyDestination(const QString &folder)
{
    if (folder == m_lastCopyDestination)
        return;
    m_lastCopyDestination = folder;
    setModified();
}

void CAlbumDoc::setCaption(const QString &caption)
{
    m_albumCaption = caption;
    const QByteArray kept = utf8Prefix(caption, kHeaderCaptionBytes);
    std::memset(m_header.caption, 0, sizeof m_header.caption);
    std::memcpy(m_header.caption, kept.constData(), std::size_t(kept.size()));
}

void CAlbumDoc::attachFile(int index, const QString &name, const QString &path)
{
    m_items.setAttachment(index == -1 ? itemCount() - 1 : index, name, path);
}

void CAlbumDoc::setAttachmentPath(int index, const QString &path)
{
    m_items.setAttachmentPath(index, path);
}

void CAlbumDoc::deleteContents()
{
    m_undoStack.clear();
    {
        // Emptying the document before a new or opened album is no edit of the album: the
        // modified flag stays, and the caller tells the views once the new album is there.
        const QSignalBlocker quiet(m_items);
        m_items.clear();
    }
    m_albumCaption.clear();
    std::memset(m_header.caption, 0, sizeof m_header.caption);
    m_currentItem = -1;
}

void CAlbumDoc::releaseAlbum()
{
    m_lock.reset();
    m_loadReport = {};
    m_damagedCopy.clear();
}

bool CAlbumDoc::lockAlbum(const QString &path)
{
    const AlbumLock::Result result = AlbumLock::acquire(path, m_lockWaitMs);
    if (!result.lock) {
        m_lastError = QStringLiteral("album is in use");
        if (!result.holder.isEmpty())
            m_lastError += QStringLiteral(" by ") + result.holder;
        return false;
    }
    m_lock = result.lock;
    return true;
}

bool CAlbumDoc::onNewDocument()
{
    releaseAlbum();
    deleteContents();
    m_lastCopyDestination.clear();
    m_addFilesFolder.clear();
    m_openedPath.clear();
    if (!m_embedded)
        setCaption(m_albumCaption);
    m_pathName = untitledName();
    m_currentItem = -1;
    setModified(false);
    if (!m_embedded) {
        Q_EMIT albumPathChanged(m_pathName);
        Q_EMIT currentItemChanged(-1);
    }
    Q_EMIT itemsChanged();
    return true;
}

bool CAlbumDoc::onOpenDocument(const QString &path)
{
    // "NEW" is how a request for a new album passes through the open path; it names no file, so
    // it is recognised before the file is tried.
    if (QFileInfo(path).fileName() == QLatin1String("NEW")) {
        m_pathName = untitledName();
        return false;
    }
    // Another process writing the album holds its lock: wait a little for it, then say so. The
    // lock comes first and the file is opened under it (a save replaces the file, so a file
    // opened before would be the old one). The lock stays with this document until it lets the
    // album go, so the load, the edits and the save that follows all happen under it.
    std::shared_ptr<AlbumLock> previousLock = m_lock;
    QFile file(path);
    const bool locked = m_readOnly || !QFileInfo::exists(path) || lockAlbum(path);
    const bool opened = locked && file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly);
    if (!opened) {
        if (locked)
            m_lastError = fileErrorReason(file.errorString());
        m_lock = previousLock;
        // The box is titled with the open-failure title without its last character.
        host().showText(QStringLiteral("%1: %2.").arg(path, m_lastError), MessageIcon::Information,
            MessageButtons::Ok, 0, { loadString(Message::kOpenErrorTitle).chopped(1) });
        return false;
    }
    std::shared_ptr<AlbumLock> newLock = m_readOnly ? nullptr : m_lock;
    m_lock = previousLock;
    if (!m_embedded && !saveModified())
        return false;

    deleteContents();
    m_lastCopyDestination.clear();
    m_addFilesFolder.clear();
    releaseAlbum();
    m_lock = newLock;
    m_loadPath = path;
    load(file);
    m_loadPath.clear();
    if (m_loadCancelled) {
        m_loadCancelled = false;
        onNewDocument();
        return true;
    }
    if (m_loadReport.refused) {
        // Not an album, or a version this program does not know: it is not this document's
        // file, so no save can go there.
        m_lastError = QStringLiteral("not an album");
        m_lock.reset();
        m_pathName = untitledName();
        return false;
    }
    m_pathName = QFileInfo(path).absoluteFilePath();
    m_currentItem = -1;
    Q_EMIT currentItemChanged(-1);
    if (!m_embedded) {
        m_openedPath = m_pathName;
        Q_EMIT albumPathChanged(m_pathName);
        Q_EMIT itemsChanged();
    }
    setModified(false);
    return true;
}

bool CAlbumDoc::onSaveDocument(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QString reason;
    const bool ownFile = absolute == m_pathName;
    const std::shared_ptr<AlbumLock> previousLock = m_lock;
    // A document read without the lock may be older than the file by now: it never writes.
    bool ok = !m_readOnly && (ownFile && m_lock ? true : lockAlbum(absolute));
    if (m_readOnly) {
        reason = QStringLiteral("the album was opened for reading only");
    } else if (!ok) {
        reason = m_lastError;
    } else if (const AlbumFileKind kind = albumFileKindOf(absolute, &reason);
               kind == AlbumFileKind::NotAlbum || kind == AlbumFileKind::Unreadable) {
        ok = false;
    } else if (ownFile && m_loadReport.damaged && m_damagedCopy.isEmpty()) {
        ok = keepDamagedOriginal(absolute);
        reason = m_lastError;
    }
    if (ok) {
        QString storeProblem;
        const AtomicSaveResult result = saveAtomically(
            absolute, [&](QIODevice &device) { return store(device, &storeProblem); },
            m_saveFilter);
        ok = result.saved;
        reason = storeProblem.isEmpty() ? result.reason : storeProblem;
    }
    if (!ok) {
        m_lock = previousLock;
        m_lastError = reason;
        host().showMessage(Message::kAlbumNotSaved, { absolute, reason }, MessageIcon::Warning,
            MessageButtons::Ok);
        return false;
    }
    if (!ownFile) {
        m_loadReport = {};
        m_damagedCopy.clear();
    }
    m_pathName = absolute;
    setModified(false);
    return true;
}

bool CAlbumDoc::keepDamagedOriginal(const QString &path)
{
    QString copy = path + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(copy) || QFileInfo(copy).isSymLink(); ++n)
        copy = path + QStringLiteral(".damaged-%1").arg(n);
    // A second name for the same file costs nothing, and the save then replaces only the name.
    const bool kept
        = ::link(QFile::encodeName(path).constData(), QFile::encodeName(copy).constData()) == 0
        || copyFileReplacing(path, copy, &m_lastError);
    if (!kept) {
        m_lastError = QStringLiteral("the damaged album could not be kept: %1").arg(m_lastError);
        return false;
    }
    m_damagedCopy = copy;
    host().showMessage(
        Message::kDamagedAlbumKept, { copy }, MessageIcon::Information, MessageButtons::Ok);
    return true;
}

bool CAlbumDoc::saveAs(const QString &name)
{
    makeFolderIfMissing(albumsFolder());
    const QString path = albumPathForArgument(name);
    // Another album under that name is replaced only when the user says so; it goes to the Trash
    // first, under its lock, so no program has it open while it goes.
    std::shared_ptr<AlbumLock> replacedLock;
    if (QFileInfo::exists(path) && QFileInfo(path).absoluteFilePath() != m_pathName) {
        const MessageAnswer answer
            = host().showText(QStringLiteral("An album named \"%1\" already exists. Replace it?\n"
                                             "The album replaced goes to the Trash.")
                                  .arg(QFileInfo(path).completeBaseName()),
                MessageIcon::Question, MessageButtons::YesNo, 0, { QString(), 1 });
        if (answer != MessageAnswer::Yes)
            return false;
        AlbumLock::Result held = AlbumLock::acquire(path, m_lockWaitMs);
        QStringList report;
        if (!held.lock) {
            host().showMessage(Message::kAlbumNotSaved, { path, QStringLiteral("album is in use") },
                MessageIcon::Warning);
            return false;
        }
        replacedLock = held.lock;
        if (!trashOrDelete({ path }, WithoutTrash::Ask, report).isEmpty()) {
            host().showMessage(
                Message::kAlbumNotSaved, { path, report.value(0) }, MessageIcon::Warning);
            return false;
        }
    }
    if (!onSaveDocument(path))
        return false;
    m_openedPath = m_pathName;
    Q_EMIT albumPathChanged(m_pathName);
    return true;
}

bool CAlbumDoc::saveModified()
{
    if (!m_modified)
        return true;
    if (isUntitled()) {
        const MessageAnswer answer = host().showMessage(
            Message::kSaveUntitledQuestion, {}, MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel)
            return false;
        if (answer == MessageAnswer::No)
            return true;
        const QString name = host().askSaveFileName(
            { loadString(Message::kOpenAlbumTitle), albumsFolder(), QStringLiteral("*.gmx") });
        if (name.isEmpty())
            return false;
        return saveAs(name) && !m_modified;
    }
    const MessageAnswer answer = host().showMessage(Message::kSaveChangesQuestion, { m_pathName },
        MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::No)
        return true;
    return onSaveDocument(m_pathName);
}

bool CAlbumDoc::save()
{
    if (!isUntitled())
        return onSaveDocument(m_pathName);
    const QString name = host().askSaveFileName(
        { loadString(Message::kOpenAlbumTitle), albumsFolder(), QStringLiteral("*.gmx") });
    return !name.isEmpty() && saveAs(name);
}

void CAlbumDoc::sortCommand(int key, int direction)
{
    // The command marks the album changed and redraws even when the order was already right.
    if (sortItems(key, direction) == 0) {
        setModified();
        Q_EMIT itemsChanged();
    }
}

int CAlbumDoc::sortItems(int key, int direction)
{
    if (key < 0 || key > int(SortKey::DateTaken))
        return 0;
    // Albums of this many items or more show their progress while the dates taken are read.
    constexpr int kTakenProgressItems = 50;
    std::unique_ptr<Progress> progress;
    if (key == int(SortKey::DateTaken) && itemCount() >= kTakenProgressItems) {
        progress = host().createProgress();
        progress->setTitle(QStringLiteral("Reading the dates pictures were taken"));
        progress->setHideCancel(true);
        progress->setRange(itemCount());
        progress->show();
    }
    int current = m_currentItem;
    const ItemsChange change = m_items.sort(static_cast<SortKey>(key),
        direction != 0 ? SortDirection::Reversed : SortDirection::Normal, &current, progress.get());
    if (progress)
        progress->close();
    if (change == ItemsChange::Unchanged)
        return 0;
    m_currentItem = current;
    Q_EMIT currentItemChanged(current);
    return 1;
}

CAlbumDoc::AlbumListOutcome CAlbumDoc::onAlbumListChange(
    const QString &entry, const QString &lastOutsidePath)
{
    if (m_handlingListChange)
        return AlbumListOutcome::Ignored;
    m_handlingListChange = true;
    const auto done = [this](AlbumListOutcome outcome) {
        m_handlingListChange = false;
        return outcome;
    };
    if (isUntitled() && m_modified) {
        const MessageAnswer answer = host().showMessage(
            Message::kSaveUntitledQuestion, {}, MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel)
            return done(AlbumListOutcome::RestoreEntry);
        if (answer == MessageAnswer::Yes && !save())
            return done(AlbumListOutcome::RestoreEntry);
        if (answer == MessageAnswer::No)
            setModified(false);
    }
    bool opened = false;
    if (entry == untitledName()) {
        opened = saveModified() && onNewDocument();
    } else {
        const QString path = entry.endsWith(u'*')
            ? lastOutsidePath
            : joinPath(albumsFolder(), entry + QStringLiteral(".gmx"));
        opened = !path.isEmpty() && onOpenDocument(path);
    }
    if (!opened)
        return done(AlbumListOutcome::RestoreEntry);
    m_currentItem = -1;
    Q_EMIT currentItemChanged(-1);
    if (!m_openedPath.isEmpty())
        Q_EMIT recentFileAdded(m_openedPath);
    return done(AlbumListOutcome::Switched);
}

} // namespace glimmerix
