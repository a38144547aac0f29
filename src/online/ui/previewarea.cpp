#include "previewarea.h"

#include <QPainter>

namespace glimmerix
{

PreviewArea::PreviewArea(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("preview"));
    setFixedSize(85, 98);
}

void PreviewArea::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void PreviewArea::setShown(bool shown)
{
    m_shown = shown;
    update();
}

QRect PreviewArea::pictureRect(const QRect &area, const QSize &picture)
{
    const QRect room = area.adjusted(5, 10, -5, -10).translated(0, 6);
    if (picture.isEmpty() || room.isEmpty())
        return {};
    const QSize size = picture.scaled(room.size(), Qt::KeepAspectRatio);
    QRect rect(QPoint(), size);
    rect.moveCenter(room.center());
    return rect;
}

void PreviewArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().mid().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!m_shown || m_image.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(rect(), m_image.size()), m_image);
}

} // namespace glimmerix
