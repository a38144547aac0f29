#pragma once

#include <QPoint>
#include <QWidget>

namespace glimmerix
{

class CAlbumView;

// One grid cell: a 90 x 108 child window that draws one album item (or nothing) and turns
// presses, drags, clicks, double clicks and keys into calls on its view. A file name too long for
// the cell is drawn shortened and shown whole in the cell's tool tip.
class CellWindow final : public QWidget
{
    Q_OBJECT
public:
    CellWindow(CAlbumView *view, int id);

    // Shows item `index` (-1: none) and tells the item which index it has.
    void setItem(int index);
    int itemIndex() const { return m_index; }
    bool isDragging() const { return m_dragging; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The box the item's file name is drawn in.
    QRect nameBox() const;

    CAlbumView *m_view;
    int m_index = -1;
    int m_pressedIndex = -1;
    QPoint m_pressPoint;
    Qt::KeyboardModifiers m_pressKeys;
    bool m_dragging = false;
};

} // namespace glimmerix
