#include "albumundo.h"

#include "albumdoc.h"
#include "albummanagement.h"
#include "importer.h"
#include "platform/host.h"
#include "platform/trash.h"

#include <QCoreApplication>
#include <QUndoStack>

#include <algorithm>
#include <cstring>

namespace glimmerix
{

namespace
{

QString tr(const char *text)
{
    return QCoreApplication::translate("AlbumUndo", text);
}

bool itemIsAt(const CAlbumDoc &document, int index, const QString &absolutePath)
{
    const AlbumItem *item = document.item(index);
    return item && item->absolutePath() == absolutePath;
}

QStringList absolutePaths(const CAlbumDoc &document)
{
    QStringList paths;
    paths.reserve(document.itemCount());
    for (int index = 0; index < document.itemCount(); ++index)
        paths.append(document.item(index)->absolutePath());
    return paths;
}

// A block of its own with the same bytes, for the document to take over.
BlockHandle copyOfBlock(BlockHandle block)
{
    const std::size_t size = blockSize(block);
    const BlockHandle copy = size > 0 ? blockAlloc(0, size) : 0;
    if (copy)
        std::memcpy(blockLock(copy), blockLock(block), size);
    return copy;
}

// Items that came into the album (add files, paste, drop from another album). The first redo
// finds them already in; undo takes them out and holds them, redo puts them back.
class InsertedItemsCommand : public QUndoCommand
{
public:
    InsertedItemsCommand(CAlbumDoc &document, QList<int> indices, QStringList paths, QString text)
        : m_document(document)
        , m_indices(std::move(indices))
        , m_paths(std::move(paths))
    {
        setText(text);
    }

    void undo() override
    {
        for (qsizetype k = 0; k < m_indices.size(); ++k) {
            if (!itemIsAt(m_document, m_indices[k], m_paths[k])) {
                setObsolete(true);
                return;
            }
        }
        m_held.clear();
        m_held.resize(std::size_t(m_indices.size()));
        for (qsizetype k = m_indices.size() - 1; k >= 0; --k)
            m_held[std::size_t(k)] = m_document.takeItem(m_indices[k]);
    }

    void redo() override
    {
        if (m_held.empty())
            return; // the first redo: the action itself put the items in
        const CAlbumDoc::ChangeBatch batch(m_document);
        for (qsizetype k = 0; k < m_indices.size(); ++k)
            m_document.insertItem(std::move(m_held[std::size_t(k)]), m_indices[k]);
        m_held.clear();
    }

private:
    CAlbumDoc &m_document;
    QList<int> m_indices; // ascending, in the album after the action
    QStringList m_paths;
    std::vector<std::unique_ptr<AlbumItem>> m_held;
};

// A new order of the same items (sort, move within the album): `order[i]` is the index before
// the action of the item at place i after it.
class ReorderCommand : public QUndoCommand
{
public:
    ReorderCommand(CAlbumDoc &document, std::vector<int> order, QString text)
        : m_document(document)
        , m_order(std::move(order))
        , m_inverse(m_order.size())
    {
        for (std::size_t place = 0; place < m_order.size(); ++place)
            m_inverse[std::size_t(m_order[place])] = int(place);
        setText(text);
    }

    void undo() override
    {
        if (!m_document.reorderItems(m_inverse))
            setObsolete(true);
        m_done = true;
    }

    void redo() override
    {
        if (m_done && !m_document.reorderItems(m_order))
            setObsolete(true);
    }

private:
    CAlbumDoc &m_document;
    std::vector<int> m_order;
    std::vector<int> m_inverse;
    bool m_done = false; // false until the first undo: the action itself made the order
};

// A rebuilt thumbnail: both blocks are kept, the document gets a copy of either.
class ThumbnailCommand : public QUndoCommand
{
public:
    ThumbnailCommand(CAlbumDoc &document, int index, OwnedBlock before, OwnedBlock after)
        : m_document(document)
        , m_index(index)
        , m_absolutePath(document.item(index)->absolutePath())
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
        setText(tr("Rebuild Thumbnail"));
    }

    void undo() override
    {
        apply(m_before);
        m_done = true;
    }

    void redo() override
    {
        if (m_done)
            apply(m_after);
    }

private:
    void apply(const OwnedBlock &block)
    {
        const BlockHandle copy
            = itemIsAt(m_document, m_index, m_absolutePath) ? copyOfBlock(block.handle()) : 0;
        if (!copy) {
            setObsolete(true);
            return;
        }
        m_document.setItemThumbnail(m_index, copy);
    }

    CAlbumDoc &m_document;
    int m_index;
    QString m_absolutePath;
    OwnedBlock m_before;
    OwnedBlock m_after;
    bool m_done = false;
};

} // namespace

// ---- recorded changes

AlbumOrderProbe::AlbumOrderProbe(const CAlbumDoc &document)
    : m_before(absolutePaths(document))
{
}

bool pushRecordedChange(CAlbumDoc &document, const AlbumOrderProbe &probe, const QString &text)
{
    const QStringList &before = probe.before();
    const QStringList after = absolutePaths(document);
    if (after == before)
        return false;
    QUndoStack &stack = document.undoStack();
    if (after.size() > before.size()) {
        // Items came in: the old ones keep their order, the new ones sit between them.
        QList<int> added;
        QStringList addedPaths;
        qsizetype old = 0;
        for (qsizetype index = 0; index < after.size(); ++index) {
            if (old < before.size() && after[index] == before[old]) {
                ++old;
            } else {
                added.append(int(index));
                addedPaths.append(after[index]);
            }
        }
        if (old == before.size()) {
            stack.push(new InsertedItemsCommand(document, added, addedPaths, text));
            return true;
        }
    } else if (after.size() == before.size()) {
        QHash<QString, int> placeBefore;
        placeBefore.reserve(before.size());
        for (qsizetype index = 0; index < before.size(); ++index)
            placeBefore.insert(before[index], int(index));
        std::vector<int> order;
        order.reserve(std::size_t(after.size()));
        for (const QString &path : after) {
            const auto found = placeBefore.constFind(path);
            if (found == placeBefore.cend())
                break;
            order.push_back(found.value());
        }
        if (order.size() == std::size_t(after.size())) {
            stack.push(new ReorderCommand(document, std::move(order), text));
            return true;
        }
    }
    stack.clear();
    return false;
}

// ---- removal

RemoveItemsCommand::RemoveItemsCommand(
    CAlbumDoc &document, QList<int> indices, bool deleteFiles, QString text)
    : m_document(document)
    , m_deleteFiles(deleteFiles)
{
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (const int index : std::as_const(indices)) {
        if (const AlbumItem *item = document.item(index))
            m_removed.push_back({ index, item->absolutePath(), nullptr, QString() });
    }
    setText(text);
}

RemoveItemsCommand *RemoveItemsCommand::forSelection(CAlbumDoc &document, bool deleteFiles)
{
    QList<int> selected;
    for (int index = 0; index < document.itemCount(); ++index) {
        if (document.item(index)->isSelected())
            selected.append(index);
    }
    const QString text
        = selected.size() == 1 ? tr("Remove Item") : tr("Remove %1 Items").arg(selected.size());
    return new RemoveItemsCommand(document, selected, deleteFiles, text);
}

void RemoveItemsCommand::redo()
{
    if (m_removed.empty())
        setObsolete(true); // nothing to remove: no step
    for (const Removed &entry : m_removed) {
        if (!itemIsAt(m_document, entry.index, entry.absolutePath)) {
            setObsolete(true);
            return;
        }
    }
    QStringList files;
    for (auto entry = m_removed.rbegin(); entry != m_removed.rend(); ++entry) {
        entry->item = m_document.takeItem(entry->index);
        // A bitmap still in the album file is read now: the file may be replaced by a save
        // before the item comes back.
        entry->item->thumbnail();
        files.append(entry->absolutePath);
    }
    if (!m_deleteFiles)
        return;
    QHash<QString, QString> trashedAs;
    QStringList report;
    trashOrDelete(files, WithoutTrash::Delete, report, &trashedAs);
    for (Removed &entry : m_removed)
        entry.trashedAs = trashedAs.value(entry.absolutePath);
}

void RemoveItemsCommand::undo()
{
    QStringList notBack;
    for (Removed &entry : m_removed) {
        if (entry.trashedAs.isEmpty())
            continue;
        const RestoreResult result = restoreFromTrash(entry.trashedAs, entry.absolutePath);
        if (!result.restored())
            notBack.append(QStringLiteral("%1 (%2)").arg(entry.absolutePath, result.reason));
        entry.trashedAs.clear();
    }
    const CAlbumDoc::ChangeBatch batch(m_document);
    for (Removed &entry : m_removed) {
        if (entry.item)
            m_document.insertItem(std::move(entry.item), entry.index);
    }
    if (!notBack.isEmpty()) {
        host().showText(tr("These files could not be brought back from the Trash:\n%1")
                            .arg(notBack.join(u'\n')),
            MessageIcon::Warning, MessageButtons::Ok, 0);
    }
}

qint64 RemoveItemsCommand::heldBytes() const
{
    qint64 bytes = 0;
    for (const Removed &entry : m_removed) {
        if (entry.item)
            bytes += qint64(blockSize(entry.item->thumbnail()));
    }
    return bytes;
}

// ---- texts

ItemTextCommand::ItemTextCommand(CAlbumDoc &document, int index, ItemField field, QString text)
    : m_document(document)
    , m_index(document.item(index) ? index : -1)
    , m_field(m_index < 0 ? ItemField::Description : field)
    , m_old(textOf(document, m_index, m_field))
    , m_new(std::move(text))
{
    if (const AlbumItem *item = document.item(m_index))
        m_absolutePath = item->absolutePath();
    setText(m_index < 0                    ? tr("Edit Album Caption")
            : field == ItemField::Caption  ? tr("Edit Caption")
            : field == ItemField::Keywords ? tr("Edit Keywords")
                                           : tr("Edit Description"));
}

QString ItemTextCommand::textOf(CAlbumDoc &document, int index, ItemField field)
{
    QString text;
    if (field == ItemField::Description || index < 0) {
        document.itemText(index, text, false);
        return text;
    }
    const ItemInfo *info = document.item(index) ? document.item(index)->info() : nullptr;
    if (info)
        text = fixedText(field == ItemField::Caption ? info->caption : info->keywords);
    return text;
}

void ItemTextCommand::apply(const QString &text)
{
    if (m_index >= 0 && !itemIsAt(m_document, m_index, m_absolutePath)) {
        setObsolete(true);
        return;
    }
    // The description and the album caption go through itemText, as typing in them always did.
    QString value = text;
    if (m_field == ItemField::Description)
        m_document.itemText(m_index, value, true);
    else
        m_document.setItemText(m_index, m_field, value);
}

void ItemTextCommand::undo()
{
    apply(m_old);
}

void ItemTextCommand::redo()
{
    apply(m_new);
}

bool ItemTextCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const ItemTextCommand *>(other);
    if (next->m_index != m_index || next->m_field != m_field
        || next->m_absolutePath != m_absolutePath)
        return false;
    m_new = next->m_new;
    // Typing back to the old text leaves no step.
    setObsolete(m_new == m_old);
    return true;
}

// ---- attachments

AttachmentCommand::AttachmentCommand(
    CAlbumDoc &document, int index, QString name, QString path, const QString &text)
    : m_document(document)
    , m_index(index)
    , m_newName(std::move(name))
    , m_newPath(std::move(path))
{
    if (const AlbumItem *item = document.item(index)) {
        m_absolutePath = item->absolutePath();
        m_oldName = item->attachmentName();
        m_oldPath = item->attachmentPath();
    }
    setText(text);
}

void AttachmentCommand::apply(const QString &name, const QString &path)
{
    if (!itemIsAt(m_document, m_index, m_absolutePath)) {
        setObsolete(true);
        return;
    }
    m_document.attachFile(m_index, name, path);
}

void AttachmentCommand::undo()
{
    apply(m_oldName, m_oldPath);
}

void AttachmentCommand::redo()
{
    apply(m_newName, m_newPath);
}

// ---- replacing an item

ReplaceItemCommand::ReplaceItemCommand(
    CAlbumDoc &document, int index, std::unique_ptr<AlbumItem> replacement)
    : m_document(document)
    , m_index(index)
    , m_held(std::move(replacement))
{
    if (const AlbumItem *item = document.item(index))
        m_oldPath = item->absolutePath();
    if (m_held)
        m_newPath = m_held->absolutePath();
    setText(tr("Change Item File"));
}

bool ReplaceItemCommand::swap(const QString &expectedPath)
{
    if (!m_held || !itemIsAt(m_document, m_index, expectedPath)
        || (m_held->absolutePath() != expectedPath
            && m_document.containsAbsolutePath(m_held->absolutePath()))) {
        setObsolete(true);
        return false;
    }
    const CAlbumDoc::ChangeBatch batch(m_document);
    std::unique_ptr<AlbumItem> out = m_document.takeItem(m_index);
    out->thumbnail(); // read now: the album file may be replaced before it comes back
    m_document.insertItem(std::move(m_held), m_index);
    m_held = std::move(out);
    return true;
}

void ReplaceItemCommand::redo()
{
    swap(m_oldPath);
}

void ReplaceItemCommand::undo()
{
    swap(m_newPath);
}

// ---- thumbnails

int rebuildThumbnailStep(CAlbumDoc &document, int index)
{
    AlbumItem *item = document.item(index);
    if (!item)
        return 0;
    OwnedBlock before(copyOfBlock(item->thumbnail()));
    const int result = rebuildThumbnail(document, index);
    if (result == 1 && before) {
        OwnedBlock after(copyOfBlock(document.item(index)->thumbnail()));
        if (after) {
            document.undoStack().push(
                new ThumbnailCommand(document, index, std::move(before), std::move(after)));
        }
    }
    return result;
}

} // namespace glimmerix
