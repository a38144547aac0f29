#include "albumtransfer.h"

#include "album/albumdoc.h"
#include "album/albumundo.h"
#include "core/commandids.h"
#include "ole/albumsrvritem.h"
#include "view/albumclipboard.h"
#include "view/gridgeometry.h"
#include "view/ui/albumview.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QMimeData>
#include <QRandomGenerator>
#include <QUndoStack>

namespace glimmerix
{

AlbumTransfer::AlbumTransfer(CAlbumView &view, CAlbumDoc &document)
    : QObject(&view)
    , m_view(view)
    , m_document(document)
    , m_token(QRandomGenerator::global()->generate() | 1u)
{
    connect(&view, &CAlbumView::dragStarted, this, &AlbumTransfer::startDrag);
}

void AlbumTransfer::copy()
{
    if (!m_view.hasCurrentItem())
        return;
    CAlbumSrvrItem item(m_document, m_view.current());
    m_clipboardData = item.OnGetClipboardData();
    QApplication::clipboard()->setMimeData(m_clipboardData);
}

bool AlbumTransfer::holdsClipboard() const
{
    return m_clipboardData && QApplication::clipboard()->mimeData() == m_clipboardData;
}

void AlbumTransfer::cut()
{
    if (!m_view.hasCurrentItem())
        return;
    const int index = m_view.current();
    copy();
    m_document.undoStack().push(new RemoveItemsCommand(
        m_document, { index }, false, QApplication::translate("CMainFrame", "Cut")));
    m_view.setCurrent(-1);
}

bool AlbumTransfer::canPaste() const
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(QString::fromLatin1(mime::kAlbumStream));
}

void AlbumTransfer::paste()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QString::fromLatin1(mime::kAlbumStream)))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int inserted = -1;
    const AlbumOrderProbe probe(m_document);
    const PasteResult result = pasteItemStream(m_document,
        data->data(QString::fromLatin1(mime::kAlbumStream)), m_view.current(), &inserted);
    QApplication::restoreOverrideCursor();
    pushRecordedChange(m_document, probe, QApplication::translate("CMainFrame", "Paste"));
    if (result != PasteResult::Inserted)
        return;
    m_view.setCurrent(inserted);
}

bool AlbumTransfer::isAlbumDrag(const QMimeData *data)
{
    return data && data->hasFormat(QString::fromLatin1(mime::kAlbumItem));
}

QMimeData *AlbumTransfer::dragData(int index)
{
    CAlbumSrvrItem item(m_document, index);
    const AlbumItem *dragged = m_document.item(index);
    item.SetItemData(
        {}, writeDragRecord({ m_token, index, dragged ? dragged->absolutePath() : QString() }));
    QMimeData *data = item.OnGetClipboardData();
    QList<int> selected;
    for (int i = 0; i < m_document.itemCount(); ++i) {
        if (m_document.item(i)->isSelected())
            selected.append(i);
    }
    data->setData(QString::fromLatin1(mime::kAlbumItems), selectionStream(m_document, selected));
    return data;
}

void AlbumTransfer::startDrag(int index, Qt::KeyboardModifiers pressKeys)
{
    if (m_dragging || !m_document.item(index))
        return;
    m_dragging = true;
    m_droppedHere = false;
    auto *drag = new QDrag(&m_view);
    drag->setMimeData(dragData(index));
    const QImage thumbnail = m_document.item(index)->thumbnailImage();
    if (!thumbnail.isNull())
        drag->setPixmap(QPixmap::fromImage(thumbnail));
    finishDrag(index, pressKeys, drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction));
}

void AlbumTransfer::finishDrag(int pressed, Qt::KeyboardModifiers pressKeys, Qt::DropAction result)
{
    if (result == Qt::CopyAction && m_droppedHere && m_document.item(m_dropIndex)) {
        if (m_dropIndex == pressed)
            m_view.clickItem(pressed, pressKeys);
        else
            m_view.setCurrent(m_dropIndex);
    }
    m_dragging = false;
    m_droppedHere = false;
}

bool AlbumTransfer::drop(const QMimeData *data, QPoint viewPoint)
{
    if (!isAlbumDrag(data))
        return false;
    const std::optional<DragRecord> record
        = readDragRecord(data->data(QString::fromLatin1(mime::kAlbumItem)));
    const int cell = cellAt(viewPoint, m_view.gridSize());
    if (!record || cell < 0)
        return true; // outside the grid or not a record of ours: accepted, nothing happens
    const int target
        = std::min(m_view.firstVisibleIndex() + cell, std::max(0, m_document.itemCount() - 1));
    if (record->view == m_token) {
        const AlbumItem *current = m_document.item(m_view.current());
        const QString currentPath = current ? current->path() : QString();
        const AlbumOrderProbe probe(m_document);
        m_document.moveSelectedTo(target);
        pushRecordedChange(m_document, probe, QApplication::translate("CMainFrame", "Move Items"));
        m_droppedHere = true;
        m_dropIndex = target;
        if (!currentPath.isEmpty())
            m_view.setCurrent(m_document.findItemByPath(currentPath));
        return true;
    }
    // Items from another instance: each is inserted at the drop cell in turn; duplicates are
    // skipped and the rest still arrive.
    const QList<QByteArray> streams
        = readSelectionStream(data->data(QString::fromLatin1(mime::kAlbumItems)));
    int position = m_document.itemCount() == 0 ? -1 : target;
    int last = -1;
    const AlbumOrderProbe probe(m_document);
    {
        // The items dropped are one change to the album.
        const CAlbumDoc::ChangeBatch batch(m_document);
        for (const QByteArray &stream : streams) {
            int inserted = -1;
            if (pasteItemStream(m_document, stream, position, &inserted) == PasteResult::Inserted) {
                last = inserted;
                if (position >= 0)
                    position = inserted + 1;
            }
        }
    }
    pushRecordedChange(m_document, probe, QApplication::translate("CMainFrame", "Drop Items"));
    if (last >= 0)
        m_view.setCurrent(last);
    return true;
}

CommandSet AlbumTransfer::commandSet()
{
    const auto current = [this] { return m_view.hasCurrentItem(); };
    CommandSet set;
    set.name = QStringLiteral("clipboard");
    set.menus = { standardMenu(kEditMenu) };
    set.commands = {
        { Command::kCut, 0, QApplication::translate("CMainFrame", "Cu&t"), [this] { cut(); },
            current, { kEditMenu, 10 }, QKeySequence::Cut },
        { Command::kCopy, 0, QApplication::translate("CMainFrame", "&Copy"), [this] { copy(); },
            current, { kEditMenu, 11 }, QKeySequence::Copy },
        { Command::kPaste, 0, QApplication::translate("CMainFrame", "&Paste"), [this] { paste(); },
            [this] { return canPaste(); }, { kEditMenu, 12 }, QKeySequence::Paste },
    };
    return set;
}

} // namespace glimmerix
