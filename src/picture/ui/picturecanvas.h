#pragma once

#include "imaging/blockmemory.h"

#include <QImage>
#include <QWidget>

namespace glimmerix
{

// The picture window's drawing surface: shows one image block at a zoom step, exactly as large
// as the shown picture (the scroll area around it centres or scrolls it). With the select tool a
// left-button drag draws a selection kept within the picture and a right click asks for a crop;
// with the rotate tool a left-button drag turns an outline of the picture about its centre and
// the release reports the angle.
class PictureCanvas final : public QWidget
{
    Q_OBJECT
public:
    enum class Mode { Select, Rotate, None };

    explicit PictureCanvas(QWidget *parent = nullptr);

    // Shows `block` (not owned; it must outlive the next setPicture call) at `zoom`.
    void setPicture(BlockHandle block, int zoom);
    void setMode(Mode mode);
    int zoom() const { return m_zoom; }
    QSize pictureSize() const { return m_pictureSize; }

    // The selection in picture pixels, empty when there is none.
    QRect selection() const { return m_selection; }
    void setSelection(const QRect &selection);
    void clearSelection() { setSelection({}); }
    // Widget position to picture position (edges between pixels), limited to the picture.
    QPoint toPicture(QPoint widgetPoint) const;
    QPoint toWidget(QPoint picturePoint) const;

Q_SIGNALS:
    void selectionMade(const QRect &selection);
    void cropRequested();
    void rotationChosen(double radians);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double angleAt(QPoint widgetPoint) const;

    BlockHandle m_block = 0;
    QImage m_source; // the block's pixels, or a copy of them
    bool m_bottomUp = false;
    QImage m_shrunk; // the whole picture at a zoom below 0
    QImage m_dragImage; // a small copy that turns while the rotate tool drags
    QSize m_pictureSize;
    int m_zoom = 0;
    Mode m_mode = Mode::Select;
    QRect m_selection;
    QPoint m_anchor;
    bool m_dragging = false;
    double m_startAngle = 0;
    double m_angle = 0; // radians, clockwise on screen
};

} // namespace glimmerix
