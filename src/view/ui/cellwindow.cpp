#include "cellwindow.h"

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "albumview.h"
#include "core/resourceids.h"
#include "platform/strings.h"
#include "view/gridgeometry.h"
#include "view/halftone.h"
#include "view/viewtexts.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace glimmerix
{

namespace
{

const QColor kEdgeGrey(128, 128, 128);

QFont makeCellFont()
{
    QFont font;
    if (systemLanguageName() == QLatin1String("Japanese")) {
        font.setFamily(QString::fromUtf8("ＭＳ Ｐゴシック"));
        font.setPixelSize(10);
    } else {
        font.setFamily(QStringLiteral("Arial"));
        font.setPixelSize(11);
    }
    font.setWeight(QFont::Normal);
    return font;
}

void drawRaisedFrame(QPainter &painter, const QRect &rect)
{
    painter.setPen(Qt::white);
    painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
    painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom());
    painter.setPen(kEdgeGrey);
    for (int inset = 0; inset < 2; ++inset) {
        painter.drawLine(rect.left() + inset, rect.bottom() - inset, rect.right() - inset,
            rect.bottom() - inset);
        painter.drawLine(
            rect.right() - inset, rect.top() + inset, rect.right() - inset, rect.bottom() - inset);
    }
}

void drawSunkenEdge(QPainter &painter, const QRect &rect)
{
    const QRect edge = rect.adjusted(1, 1, -1, -1);
    painter.setPen(kEdgeGrey);
    painter.drawLine(edge.topLeft(), edge.topRight());
    painter.drawLine(edge.topLeft(), edge.bottomLeft());
    painter.setPen(QColor(64, 64, 64));
    painter.drawLine(edge.topLeft() + QPoint(1, 1), edge.topRight() + QPoint(-1, 1));
    painter.drawLine(edge.topLeft() + QPoint(1, 1), edge.bottomLeft() + QPoint(1, -1));
    painter.setPen(Qt::white);
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());
    painter.drawLine(edge.topRight(), edge.bottomRight());
}

// The names and numbers are drawn in a font whose character cell is 14 pixels high (12 in the
// Japanese font), which is an em size of about 11 (10) pixels.
const QFont &cellFont()
{
    static const QFont font = makeCellFont();
    return font;
}

// `name` as it fits `box` on `device`, shortened in the middle when it does not.
QString elidedName(const QString &name, const QRect &box, const QPaintDevice *device)
{
    return QFontMetrics(cellFont(), device).elidedText(name, Qt::ElideMiddle, box.width() - 4);
}

} // namespace

CellWindow::CellWindow(CAlbumView *view, int id)
    : QWidget(view)
    , m_view(view)
{
    setObjectName(QStringLiteral("cell%1").arg(id));
    resize(grid::kCellWidth, grid::kCellHeight);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CellWindow::setItem(int index)
{
    m_index = index;
    if (AlbumItem *item = m_view->document()->item(index))
        item->setDisplayIndex(index);
    else
        m_index = -1;
}

void CellWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect cell = rect();
    painter.fillRect(cell, m_view->cellColor());
    drawRaisedFrame(painter, cell);

    const AlbumItem *item = m_view->document()->item(m_index);
    if (!item)
        return;

    const QImage thumbnail = item->thumbnailImage();
    if (!thumbnail.isNull()) {
        const QImage shown = reduceToDisplayDepth(thumbnail, m_view->displayDepth());
        const int left = (grid::kThumbSquare - shown.width()) / 2;
        const int top = (grid::kThumbSquare - shown.height()) / 2;
        painter.drawImage(left, top, shown);
        const QRect frame(left - 1, top - 1, shown.width() + 2, shown.height() + 2);
        painter.setPen(kEdgeGrey);
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(Qt::white);
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
    }

    if (!item->exists()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::red, 1.5));
        painter.drawEllipse(QRectF(3, 3, 9, 9));
        painter.drawLine(10, 4, 4, 10);
        painter.restore();
    }

    if (!item->attachmentPath().isEmpty()) {
        static const QImage icon = bundleIcon(Resource::kAttachmentIcon);
        if (!icon.isNull())
            painter.drawImage(cell.right() - 11, 4, icon);
    }

    const bool current = m_index == m_view->current();
    const QRect names = nameBox();
    const QRect numberBox((cell.width() - 24) / 2, cell.height() - 35, 24, 15);
    for (const QRect &box : { names, numberBox }) {
        if (current)
            painter.fillRect(box, palette().color(QPalette::Highlight));
        painter.setPen(kEdgeGrey);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    painter.setFont(cellFont());
    painter.setPen(current ? Qt::white : Qt::black);
    painter.drawText(names, Qt::AlignCenter, elidedName(item->fileName(), names, this));
    painter.drawText(numberBox, Qt::AlignCenter, cellNumberText(m_index));

    if (item->isSelected())
        drawSunkenEdge(painter, cell);
    // Where the keyboard is: a dotted frame inside the edge, only after a key moved it, so the
    // cells look as they always did to the mouse.
    if (current && m_view->showsFocusFrame()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(cell.adjusted(3, 3, -4, -4));
    }
}

QRect CellWindow::nameBox() const
{
    return { 6, height() - 20, width() - 12, 15 };
}

bool CellWindow::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const AlbumItem *item = m_view->document()->item(m_index);
    const QString name = item ? item->fileName() : QString();
    if (name.isEmpty() || elidedName(name, nameBox(), this) == name) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), name, this, rect());
    }
    return true;
}

void CellWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_pressPoint = event->position().toPoint();
    m_pressKeys = event->modifiers();
    m_dragging = false;
    m_pressedIndex = m_index;
}

void CellWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_dragging || m_pressedIndex < 0
        || m_pressedIndex != m_index)
        return;
    if (!dragDistanceReached(m_pressPoint, event->position().toPoint()))
        return;
    m_dragging = true;
    m_view->startItemDrag(m_index, m_pressKeys);
}

void CellWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    const bool click = !m_dragging && m_pressedIndex >= 0 && m_pressedIndex == m_index;
    m_dragging = false;
    m_pressedIndex = -1;
    if (!click)
        return;
    setFocus(Qt::MouseFocusReason);
    m_view->clickItem(m_index, m_pressKeys);
}

void CellWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_index < 0)
        return;
    // The press of a double click does not count as a new press that could start a drag.
    m_pressedIndex = -1;
    m_view->openItem(m_index);
}

void CellWindow::keyPressEvent(QKeyEvent *event)
{
    if (!m_view->handleGridKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

void CellWindow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_view->redrawItem(m_view->current());
}

void CellWindow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_view->redrawItem(m_view->current());
}

} // namespace glimmerix
