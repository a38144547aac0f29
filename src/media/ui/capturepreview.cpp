#include "capturepreview.h"

#include "media/capturedriver.h"

#include <QPainter>

namespace glimmerix
{

namespace
{

// The picture keeps this distance from the frame around it.
constexpr int kInset = 5;

} // namespace

CapturePreview::CapturePreview(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("captureWindow"));
    setMinimumSize(330, 250);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CapturePreview::showFrame(const QImage &frame)
{
    const bool resized = frame.size() != m_frame.size();
    m_frame = frame;
    update(resized ? rect() : pictureRect());
}

void CapturePreview::clear()
{
    m_frame = QImage();
    update();
}

QRect CapturePreview::area() const
{
    return rect().adjusted(kInset, kInset, -kInset, -kInset);
}

QRect CapturePreview::pictureRect() const
{
    return placePreview(m_frame.size(), area()).rect;
}

bool CapturePreview::isScaled() const
{
    return placePreview(m_frame.size(), area()).scaled;
}

void CapturePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    if (m_frame.isNull())
        return;
    const PreviewPlacement placement = placePreview(m_frame.size(), area());
    if (placement.scaled)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(placement.rect, m_frame);
}

} // namespace glimmerix
