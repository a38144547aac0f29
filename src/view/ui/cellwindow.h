#pragma once

#include <QPoint>
#include <QWidget>

class CAlbumView;

// One grid cell: a 90 x 108 child window that draws one album item (or nothing) and turns
// presses, drags, clicks, double clicks and keys into calls on its view.
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
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    CAlbumView *m_view;
    int m_index = -1;
    int m_pressedIndex = -1;
    QPoint m_pressPoint;
    Qt::KeyboardModifiers m_pressKeys;
    bool m_dragging = false;
};
