#include "picturecanvas.h"

#include "picture/dibview.h"
#include "picture/picturezoom.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace glimmerix
{

namespace
{

// QPoint's own division rounds to the nearest; pixels need the one the point lies in.
QPoint dividedDown(QPoint point, int divisor)
{
    return QPoint(point.x() / divisor, point.y() / divisor);
}

} // namespace

PictureCanvas::PictureCanvas(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pictureCanvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureCanvas::setPicture(BlockHandle block, int zoom)
{
    m_block = block;
    m_zoom = zoom;
    m_source = dibPaintSource(block, m_bottomUp);
    m_pictureSize = m_source.size();
    m_shrunk = zoom < 0 ? shrunkDibImage(block, 1 - zoom) : QImage();
    m_angle = 0;
    resize(m_source.isNull() ? QSize(1, 1) : zoomedSize(m_pictureSize, zoom));
    update();
}

void PictureCanvas::setMode(Mode mode)
{
    m_mode = mode;
    m_dragging = false;
    m_angle = 0;
    setCursor(mode == Mode::Select ? Qt::CrossCursor : Qt::ArrowCursor);
    update();
}

void PictureCanvas::setSelection(const QRect &selection)
{
    m_selection = selection.normalized() & QRect(QPoint(0, 0), m_pictureSize);
    update();
}

QPoint PictureCanvas::toPicture(QPoint point) const
{
    const QPoint scaled = m_zoom >= 0 ? dividedDown(point, m_zoom + 1) : point * (1 - m_zoom);
    return QPoint(std::clamp(scaled.x(), 0, m_pictureSize.width()),
        std::clamp(scaled.y(), 0, m_pictureSize.height()));
}

QPoint PictureCanvas::toWidget(QPoint point) const
{
    return m_zoom >= 0 ? point * (m_zoom + 1) : dividedDown(point, 1 - m_zoom);
}

void PictureCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().dark());
    if (m_source.isNull())
        return;
    if (m_dragging && m_mode == Mode::Rotate) {
        // The picture turns about its centre while the button is down; the real turn is made on
        // release.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(width() / 2.0, height() / 2.0);
        painter.rotate(m_angle * 180.0 / M_PI);
        const QRectF frame(-width() / 2.0, -height() / 2.0, width(), height());
        painter.drawImage(frame, m_dragImage);
        painter.setPen(QPen(palette().highlight(), 1, Qt::DashLine));
        painter.drawRect(frame);
        return;
    }
    if (m_zoom < 0) {
        painter.drawImage(0, 0, m_shrunk);
    } else {
        // Only the pixels under the part to be painted are copied out of the picture.
        const int f = m_zoom + 1;
        const QRect needed = QRect(dividedDown(event->rect().topLeft(), f),
                                 dividedDown(event->rect().bottomRight(), f) + QPoint(1, 1))
            & QRect(QPoint(0, 0), m_pictureSize);
        if (!needed.isEmpty())
            painter.drawImage(QRect(needed.topLeft() * f, needed.size() * f),
                paintSourcePart(m_source, m_bottomUp, needed));
    }
    if (!m_selection.isEmpty()) {
        const QRect shown(
            toWidget(m_selection.topLeft()), toWidget(m_selection.bottomRight() + QPoint(1, 1)));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(shown.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(shown.adjusted(0, 0, -1, -1));
    }
}

double PictureCanvas::angleAt(QPoint point) const
{
    return std::atan2(point.y() - height() / 2.0, point.x() - width() / 2.0);
}

void PictureCanvas::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton && m_mode == Mode::Select && !m_selection.isEmpty()) {
        Q_EMIT cropRequested();
        return;
    }
    if (event->button() != Qt::LeftButton || m_mode == Mode::None)
        return;
    m_dragging = true;
    if (m_mode == Mode::Select) {
        m_anchor = toPicture(at);
        setSelection({});
    } else {
        m_startAngle = angleAt(at);
        m_angle = 0;
        // A picture of at most about 1600 pixels across turns smoothly under the mouse.
        const int longest = std::max(m_pictureSize.width(), m_pictureSize.height());
        m_dragImage = shrunkDibImage(m_block, std::max(1, (longest + 1599) / 1600));
    }
}

void PictureCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPoint at = event->position().toPoint();
    if (m_mode == Mode::Select) {
        const QPoint end = toPicture(at);
        setSelection(QRect(QPoint(std::min(m_anchor.x(), end.x()), std::min(m_anchor.y(), end.y())),
            QSize(std::abs(end.x() - m_anchor.x()), std::abs(end.y() - m_anchor.y()))));
        return;
    }
    m_angle = angleAt(at) - m_startAngle;
    update();
}

void PictureCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    mouseMoveEvent(event);
    m_dragging = false;
    if (m_mode == Mode::Select) {
        if (!m_selection.isEmpty())
            Q_EMIT selectionMade(m_selection);
        return;
    }
    const double angle = m_angle;
    m_angle = 0;
    m_dragImage = QImage();
    update();
    Q_EMIT rotationChosen(angle);
}

} // namespace glimmerix
