#pragma once

#include "core/commandset.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <cstdint>

class QMimeData;

namespace glimmerix
{

class CAlbumDoc;
class CAlbumView;

// The album's clipboard and drag-and-drop: Copy, Cut and Paste, dragging items out of the grid,
// and drops of album items on the view: a drag from this view moves the selected items, one from
// another running instance copies them in (duplicates skipped).
class AlbumTransfer final : public QObject
{
    Q_OBJECT
public:
    AlbumTransfer(CAlbumView &view, CAlbumDoc &document);

    void copy(); // 57634
    void cut(); // 57635
    void paste(); // 57637
    bool canPaste() const;
    // Whether the clipboard still holds what the last Copy or Cut put there: once anyone,
    // another program included, replaces it, the data is no longer ours to keep or clear.
    bool holdsClipboard() const;
    // Handles a drop of album items at `viewPoint`; false when `data` holds no album items (then
    // it may be a drop of files from the desktop).
    bool drop(const QMimeData *data, QPoint viewPoint);
    // Whether `data` is an album drag (a drop target shows it as acceptable).
    static bool isAlbumDrag(const QMimeData *data);
    // This view's identity in drag records.
    std::uint32_t viewToken() const { return m_token; }
    // The data a drag of the selection carries (the current item offered for other programs).
    QMimeData *dragData(int index);

    // Copy, Cut and Paste for the Edit menu.
    CommandSet commandSet();

    // The end of a drag of item `pressed` (pressed with `pressKeys`) that ended with `result`:
    // after a drop in this view the item at the drop place becomes current, or, when the drop
    // landed on the pressed item itself, the drag counts as a click on it. Public so the rule can
    // be checked without running a drag.
    void finishDrag(int pressed, Qt::KeyboardModifiers pressKeys, Qt::DropAction result);

private:
    void startDrag(int index, Qt::KeyboardModifiers pressKeys);

    CAlbumView &m_view;
    CAlbumDoc &m_document;
    std::uint32_t m_token;
    QPointer<QMimeData> m_clipboardData; // the clipboard deletes it when replaced
    bool m_dragging = false;
    bool m_droppedHere = false;
    int m_dropIndex = -1; // where the last drop in this view landed
};

} // namespace glimmerix
