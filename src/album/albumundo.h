#pragma once

#include "albumformat.h"
#include "albumitem.h"
#include "core/settingssections.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUndoCommand>

#include <memory>
#include <vector>

namespace glimmerix
{

class CAlbumDoc;

// Undo steps of the album: one command object per user action, pushed on the document's
// undoStack(). They change the album only through CAlbumDoc's item operations, so the album
// marks itself modified and tells its views on undo and redo as on the first change.
//
// Every step checks, before it changes anything, that the album still looks as the step left it
// (the same items at the same places); a step that finds the album otherwise changes nothing
// and leaves the stack.

// The steps the stack keeps; older ones are dropped. A removed item's thumbnail is at most some
// 60 KB, so 1,000 single removals stay under 100 MB.
inline constexpr int kUndoStepLimit = 1000;

// The album's order before an action that existing code performs (add files, paste, drop, sort,
// move within the album), so that pushRecordedChange() can make the step afterwards.
class AlbumOrderProbe
{
public:
    explicit AlbumOrderProbe(const CAlbumDoc &document);
    const QStringList &before() const { return m_before; }

private:
    QStringList m_before; // absolute paths, unique within an album
};

// Pushes the step for what happened since `probe`: the items that came in (one step however
// many) or the new order. Nothing is pushed when nothing changed. A change that is neither (it
// cannot be taken back) clears the stack, so no older step acts on an album it does not know.
// Returns whether a step was pushed.
bool pushRecordedChange(CAlbumDoc &document, const AlbumOrderProbe &probe, const QString &text);

// Removes the items at `indices` (with `deleteFiles`, their files go to the Trash; where no
// Trash can take one it is deleted, as before). Undo brings the files back from the Trash and
// the items back to their places; a file that cannot come back (emptied from the Trash, or
// another file has its place) is named in a message and left as it is.
class RemoveItemsCommand : public QUndoCommand
{
public:
    RemoveItemsCommand(CAlbumDoc &document, QList<int> indices, bool deleteFiles, QString text);
    // The step for removing the selected items ("Remove 50 Items").
    static RemoveItemsCommand *forSelection(CAlbumDoc &document, bool deleteFiles);
    void undo() override;
    void redo() override;
    // Bytes of the thumbnails the step holds while its items are out of the album.
    qint64 heldBytes() const;

private:
    struct Removed {
        int index = 0;
        QString absolutePath;
        std::unique_ptr<AlbumItem> item; // while removed
        QString trashedAs; // where its file is in the Trash (empty: not trashed)
    };
    CAlbumDoc &m_document;
    std::vector<Removed> m_removed; // by ascending index
    bool m_deleteFiles = false;
};

// Sets one text of an item (index -1 and ItemField::Description: the album caption). Typing in
// one field of one item merges into one step.
class ItemTextCommand : public QUndoCommand
{
public:
    ItemTextCommand(CAlbumDoc &document, int index, ItemField field, QString text);
    void undo() override;
    void redo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand *other) override;
    // The text as the album holds it now.
    static QString textOf(CAlbumDoc &document, int index, ItemField field);

private:
    void apply(const QString &text);
    CAlbumDoc &m_document;
    int m_index;
    ItemField m_field;
    QString m_absolutePath; // empty for the album caption
    QString m_old;
    QString m_new;
};

// Sets item `index`'s attachment name and path (attach a sound, or remove it: empty path).
class AttachmentCommand : public QUndoCommand
{
public:
    AttachmentCommand(
        CAlbumDoc &document, int index, QString name, QString path, const QString &text);
    void undo() override;
    void redo() override;

private:
    void apply(const QString &name, const QString &path);
    CAlbumDoc &m_document;
    int m_index;
    QString m_absolutePath;
    QString m_oldName, m_oldPath, m_newName, m_newPath;
};

// Puts `replacement` in the place of item `index` (Properties: the item's file changed).
class ReplaceItemCommand : public QUndoCommand
{
public:
    ReplaceItemCommand(CAlbumDoc &document, int index, std::unique_ptr<AlbumItem> replacement);
    void undo() override;
    void redo() override;

private:
    // Swaps the item at m_index for `held`; false (nothing changed) when the album differs.
    bool swap(const QString &expectedPath);
    CAlbumDoc &m_document;
    int m_index;
    std::unique_ptr<AlbumItem> m_held; // the item that is out of the album
    QString m_oldPath; // the item's file before the step
    QString m_newPath; // and after it
};

// Rebuilds item `index`'s thumbnail from its file as one step (the old block is kept to go
// back to). Returns rebuildThumbnail()'s result.
int rebuildThumbnailStep(CAlbumDoc &document, int index);

} // namespace glimmerix
