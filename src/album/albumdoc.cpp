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

#include <cstring>

#include <unistd.h>

namespace glimmerix
{

namespace
{

qint64 currentFileSize(const QString &absolutePath)
{
    const QFileInfo info(absolutePath);
    return info.exists() ? info.size() : 0;
}

} // namespace

CAlbumDoc::CAlbumDoc(QObject *parent)
    : QObject(parent)
    , m_pathName(untitledName())
    , m_lockWaitMs(AlbumLock::kDefaultWaitMs)
{
    m_undoStack.setUndoLimit(kUndoStepLimit);
}

CAlbumDoc::~CAlbumDoc()
{
    clearRaw();
}

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

AlbumItem *CAlbumDoc::item(int index) const
{
    if (index < 0 || index >= itemCount())
        return nullptr;
    return m_items[std::size_t(index)].get();
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

int CAlbumDoc::insertItem(std::unique_ptr<AlbumItem> item, int position)
{
    // Every other operation reads the item's record, so an item without a block is refused too.
    if (!item || !item->info())
        return 0;
    if (m_absolutePaths.contains(item->absolutePath()))
        return -2; // the unique_ptr destroys the item and its block
    const DriveKind drive = driveKindOf(item->absolutePath());
    const qint64 bytes = currentFileSize(item->absolutePath());
    return insertCountedItem(std::move(item), position, drive, bytes);
}

int CAlbumDoc::insertCountedItem(
    std::unique_ptr<AlbumItem> item, int position, DriveKind drive, qint64 bytes)
{
    if (!item || !item->info())
        return 0;
    const QString absolutePath = item->absolutePath();
    if (m_absolutePaths.contains(absolutePath))
        return -2;
    item->setCounted(drive, bytes);
    if (position < 0 || position >= itemCount())
        m_items.push_back(std::move(item));
    else
        m_items.insert(m_items.begin() + position, std::move(item));
    m_absolutePaths.insert(absolutePath);
    setModified();
    if (drive != DriveKind::None)
        ++m_driveCounts[std::size_t(drive)];
    m_mediaBytes += bytes;
    m_batchAdded = true;
    Q_EMIT albumListRepaint();
    return 1;
}

CAlbumDoc::ChangeBatch::ChangeBatch(CAlbumDoc &document)
    : m_document(document)
{
    if (m_document.m_batchDepth++ == 0)
        m_document.m_batchAdded = false;
}

CAlbumDoc::ChangeBatch::~ChangeBatch()
{
    if (--m_document.m_batchDepth == 0 && m_document.m_batchAdded)
        Q_EMIT m_document.itemsChanged();
}

void CAlbumDoc::ChangeBatch::tellViewsNow()
{
    if (!m_document.m_batchAdded)
        return;
    m_document.m_batchAdded = false;
    Q_EMIT m_document.itemsChanged();
}

int CAlbumDoc::replaceItem(int index, std::unique_ptr<AlbumItem> item)
{
    AlbumItem *old = this->item(index);
    if (!old || !item || !item->info())
        return 0;
    if (item->absolutePath() != old->absolutePath()
        && m_absolutePaths.contains(item->absolutePath()))
        return -2;
    removeItem(index, false);
    const int result = insertItem(std::move(item), index);
    Q_EMIT itemsChanged();
    return result;
}

void CAlbumDoc::setItemText(int index, ItemField field, const QString &text)
{
    AlbumItem *target = item(index);
    ItemInfo *info = target ? target->editableInfo() : nullptr;
    if (!info)
        return;
    char *fieldText = field == ItemField::Caption ? info->caption
        : field == ItemField::Keywords            ? info->keywords
                                                  : info->description;
    const std::size_t size = field == ItemField::Caption ? sizeof info->caption
        : field == ItemField::Keywords                   ? sizeof info->keywords
                                                         : sizeof info->description;
    if (fixedText(fieldText, size) == text)
        return;
    setFixedText(fieldText, size, text);
    setModified();
    Q_EMIT itemChanged(index);
}

void CAlbumDoc::setItemThumbnail(int index, BlockHandle thumbnail)
{
    AlbumItem *target = item(index);
    if (!target)
        return;
    target->setThumbnail(thumbnail);
    setModified();
    Q_EMIT itemChanged(index);
}

std::unique_ptr<AlbumItem> CAlbumDoc::takeItem(int index)
{
    if (index < 0 || index >= itemCount())
        return nullptr;
    std::unique_ptr<AlbumItem> removed = std::move(m_items[std::size_t(index)]);
    m_items.erase(m_items.begin() + index);
    if (removed->countedDrive() != DriveKind::None)
        --m_driveCounts[std::size_t(removed->countedDrive())];
    m_mediaBytes -= removed->countedBytes();
    m_absolutePaths.remove(removed->absolutePath());
    Q_EMIT albumListRepaint();
    if (m_currentItem >= itemCount())
        m_currentItem = itemCount() - 1;
    setModified();
    Q_EMIT itemsChanged();
    return removed;
}

bool CAlbumDoc::reorderItems(const std::vector<int> &order)
{
    const std::size_t count = m_items.size();
    if (order.size() != count)
        return false;
    std::vector<bool> seen(count, false);
    for (const int from : order) {
        if (from < 0 || std::size_t(from) >= count || seen[std::size_t(from)])
            return false;
        seen[std::size_t(from)] = true;
    }
    bool moved = false;
    std::vector<std::unique_ptr<AlbumItem>> reordered;
    reordered.reserve(count);
    for (std::size_t place = 0; place < count; ++place) {
        moved = moved || std::size_t(order[place]) != place;
        reordered.push_back(std::move(m_items[std::size_t(order[place])]));
    }
    m_items = std::move(reordered);
    if (moved) {
        setModified();
        Q_EMIT itemsChanged();
    }
    return true;
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
    for (int index = itemCount() - 1; index >= 0; --index) {
        if (m_items[std::size_t(index)]->isSelected())
            removeItem(index, deleteFile);
    }
}

int CAlbumDoc::findItemByPath(const QString &path) const
{
    for (int index = itemCount() - 1; index >= 0; --index) {
        if (m_items[std::size_t(index)]->path() == path)
            return index;
    }
    return -1;
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
    AlbumItem *target = item(index);
    ItemInfo *info = target ? target->editableInfo() : nullptr;
    if (!info)
        return;
    if (!set) {
        text = fixedText(info->description);
        return;
    }
    if (text == fixedText(info->description))
        return;
    setFixedText(info->description, text);
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
    if (index == -1)
        index = itemCount() - 1;
    AlbumItem *target = item(index);
    if (!target)
        return;
    target->setAttachmentName(name);
    target->setAttachmentPath(path);
    Q_EMIT itemChanged(index);
    setModified();
}

void CAlbumDoc::setAttachmentPath(int index, const QString &path)
{
    AlbumItem *target = item(index);
    if (!target)
        return;
    target->setAttachmentPath(path);
    Q_EMIT itemChanged(index);
    setModified();
}

void CAlbumDoc::selectAll()
{
    for (auto &entry : m_items)
        entry->setSelected(true);
}

void CAlbumDoc::selectNone()
{
    for (auto &entry : m_items)
        entry->setSelected(false);
}

int CAlbumDoc::selectedCount() const
{
    int count = 0;
    for (const auto &entry : m_items)
        count += entry->isSelected() ? 1 : 0;
    return count;
}

int CAlbumDoc::driveCount(DriveKind kind) const
{
    return kind == DriveKind::None ? 0 : m_driveCounts[std::size_t(kind)];
}

void CAlbumDoc::deleteContents()
{
    if (m_rawReading)
        return;
    m_undoStack.clear();
    m_items.clear();
    m_absolutePaths.clear();
    m_albumCaption.clear();
    std::memset(m_header.caption, 0, sizeof m_header.caption);
    m_driveCounts.fill(0);
    m_mediaBytes = 0;
    m_currentItem = -1;
}

void CAlbumDoc::clearRaw()
{
    for (BlockHandle block : std::as_const(m_rawThumbnails)) {
        if (isBlockHandle(block))
            blockFree(block);
    }
    m_rawThumbnails.clear();
    m_rawAttachments.clear();
    m_rawHeader = {};
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
    m_mediaBytes = 0;
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
        m_mediaBytes = 0;
        m_pathName = untitledName();
        return false;
    }
    // Another process writing the album holds its lock: wait a little for it, then say so. The
    // lock comes first and the file is opened under it (a save replaces the file, so a file
    // opened before would be the old one). The lock stays with this document until it lets the
    // album go, so the load, the edits and the save that follows all happen under it.
    std::shared_ptr<AlbumLock> previousLock = m_lock;
    QFile file(path);
    const bool locked = m_rawReading || m_readOnly || !QFileInfo::exists(path) || lockAlbum(path);
    const bool opened = locked && file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly);
    if (!opened) {
        if (locked)
            m_lastError = fileErrorReason(file.errorString());
        m_lock = previousLock;
        if (!m_rawReading) {
            // The box is titled with the open-failure title without its last character.
            host().showText(QStringLiteral("%1: %2.").arg(path, m_lastError),
                MessageIcon::Information, MessageButtons::Ok, 0,
                { loadString(Message::kOpenErrorTitle).chopped(1) });
        }
        return false;
    }
    std::shared_ptr<AlbumLock> newLock = m_readOnly ? nullptr : m_lock;
    m_lock = previousLock;
    m_mediaBytes = 0;
    if (!m_embedded && !m_rawReading && !saveModified())
        return false;

    deleteContents();
    m_lastCopyDestination.clear();
    m_addFilesFolder.clear();
    if (m_rawReading) {
        loadRaw(file);
        return true;
    }
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
    sortItems(key, direction);
    setModified();
    Q_EMIT itemsChanged();
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
