#pragma once

#include "view/gridgeometry.h"
#include "view/selectionrule.h"

#include "core/controlids.h"
#include "core/settingssections.h"

#include <QColor>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace glimmerix
{

class CAlbumDoc;
class CellWindow;
class MultiLineEdit;
class SoundPlayerWindow;

// The album's one view: a grid of thumbnail cells with a scroll bar on the right, and below it
// an information line and three edit rows for the current item's caption, keywords and
// description. Only the visible cells exist as windows, so an album of any size opens at once.
// The view owns the current item and the scroll position; the selection marks live in the items.
// An empty album shows a hint in place of the grid's empty cells.
class CAlbumView final : public QWidget
{
    Q_OBJECT
public:
    explicit CAlbumView(CAlbumDoc *document, QWidget *parent = nullptr);
    ~CAlbumView() override;

    CAlbumDoc *document() const { return m_document; }

    // ---- current item and grid state
    int current() const { return m_current; }
    // Makes `index` current (-1: none): a valid index is also selected, one past the list
    // becomes the last item. An index below the visible cells' reach is ignored.
    void setCurrent(int index);
    // Forgets the current item and scrolls to the top (a newly opened album).
    void resetState();
    GridSize gridSize() const { return m_grid; }
    int topRow() const { return m_topRow; }
    int firstVisibleIndex() const { return m_topRow * m_grid.columns; }
    int scrollMax() const { return m_scrollMax; }
    GridReserve reserve() const;
    void scrollGrid(ScrollAction action, int position = 0);
    // The cell windows made so far (only the first rows x columns are shown).
    const std::vector<CellWindow *> &cells() const { return m_cells; }
    // Invalidates item `index`'s cell when it is visible.
    void redrawItem(int index);
    // Places cells and edit rows for the current size and item count.
    void layoutView();

    // ---- for the main frame
    // The window rectangle `window` dragged at `edge`, snapped to whole cells.
    QRect sizingRect(const QRect &window, SizingEdge edge, QSize nonClient, QSize desktop) const;
    // Index of the item a drop at `point` (view coordinates) inserts before: the item under the
    // point, the end when the point is past the last item.
    int dropIndexAt(QPoint point) const;
    // Tells the cells the screen changed (depth or size).
    void displayChanged();
    int displayDepth() const { return m_displayDepth; }
    QColor cellColor() const { return m_cellColor; }

    // ---- field labels (caption, keywords, description)
    QStringList fieldLabels() const { return m_fieldLabels; }
    void setFieldLabels(const QStringList &labels);

    // ---- commands of the view
    void removeSelectedItems(bool deleteFiles);
    void removeCommand(); // 32776: asks whether to delete the files as well
    void itemProperties(); // 32802
    void selectAllItems(); // 57642
    void selectNoItems(); // 32832
    void fieldLabelsCommand(); // 32808
    void copyFilesCommand(); // 32807
    void openCurrentPicture(); // 32809
    void playAttachedSound(); // 32818
    void removeAttachedSound(); // 32833
    bool hasCurrentItem() const;
    bool currentHasAttachment() const;
    bool hasSelection() const;

    // ---- called by the cells
    void clickItem(int index, Qt::KeyboardModifiers keys);
    void startItemDrag(int index, Qt::KeyboardModifiers pressKeys);
    // Double click: the missing-file message, or the open-item request.
    void openItem(int index);
    // The grid's keys. Arrows, Page Up/Down, Home and End move the current item and scroll it
    // into view: alone they select just it, with Shift the range from where the keyboard
    // started, with Ctrl they leave the selection as it is (Ctrl+Space then toggles the current
    // item). Enter opens the current item as a double click does, Delete asks for Remove, F2
    // edits the caption, Ctrl+A selects all. True when handled.
    bool handleGridKey(int key, Qt::KeyboardModifiers keys = Qt::NoModifier);
    // Makes `index` current, selected alone, and scrolls it into view (a picture window
    // stepping through the album).
    void showCurrent(int index);
    // The current cell draws a focus frame once the keyboard has moved it, while the grid has
    // the keyboard; a mouse click takes the frame away again.
    bool showsFocusFrame() const;

    QString informationLine() const;

Q_SIGNALS:
    void currentChanged(int index);
    // The main frame opens the item: a picture in the picture window, media in the desktop's
    // player.
    void openItemRequested(int index);
    // A drag of the selection begins (the clipboard transfer takes it from here); `pressKeys`
    // were held at the press, for a drop that lands back on the pressed item.
    void dragStarted(int index, Qt::KeyboardModifiers pressKeys);
    // A command the view wants run through the frame's command table (Delete posts Remove).
    void commandRequested(int id);
    // The user set new field labels; the frame writes them to the settings.
    void fieldLabelsChanged(const QStringList &labels);
    // A picture to show in the picture window.
    void pictureRequested(const QString &path);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    // Tab reaches the grid once, as one stop: the keyboard goes to the current item's cell.
    void focusInEvent(QFocusEvent *event) override;

private:
    void onItemsChanged();
    void placeCells();
    void layoutEditRows();
    void updateScrollBar();
    void refreshFields();
    // Puts a typed text on the undo stack (typing in one field merges into one step).
    void pushTextEdit(int index, ItemField field, const QString &text);
    void onCaptionEdited(const QString &text);
    void onKeywordsEdited(const QString &text);
    void onDescriptionEdited(const QString &text);
    void applySelection(const SelectionOutcome &outcome, int previousCurrent);
    // Makes `index` current; `select` also marks it selected.
    void placeCurrent(int index, bool select);
    void moveByKey(int key, Qt::KeyboardModifiers keys);
    // Scrolls so that item `index` is on screen.
    void scrollToShow(int index);
    void focusCurrentCell();
    int editHeight() const;
    int labelWidth() const;

    CAlbumDoc *m_document;
    int m_current = -1;
    int m_anchor = -1; // where a Shift range started
    bool m_keyboardCue = false; // the keyboard moved the current item last
    int m_topRow = 0;
    GridSize m_grid;
    int m_scrollMax = 0;
    int m_cellCounter = 0;
    std::vector<CellWindow *> m_cells;
    QScrollBar *m_scrollBar = nullptr;
    QLabel *m_infoLine = nullptr;
    QLabel *m_emptyHint = nullptr; // stands in for the grid while the album has no items
    QLabel *m_labels[3] = {}; // caption, keywords, description
    QLineEdit *m_edits[2] = {}; // caption, keywords
    MultiLineEdit *m_descriptionEdit = nullptr; // several lines, within the same row height
    // The edit field of row `row` (caption, keywords, description).
    QWidget *editField(int row) const;
    QStringList m_fieldLabels;
    bool m_textGuard = false;
    bool m_pushingText = false; // while a typed text goes onto the undo stack
    int m_displayDepth = 24;
    QColor m_cellColor;
    QPointer<SoundPlayerWindow> m_player;
};

} // namespace glimmerix
