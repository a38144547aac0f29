#include "picturezoom.h"

#include <algorithm>

namespace glimmerix
{

QSize zoomedSize(QSize picture, int zoom)
{
    zoom = std::clamp(zoom, kZoomMinimum, kZoomMaximum);
    const QSize shown = zoom >= 0
        ? picture * (zoom + 1)
        : QSize(picture.width() / (1 - zoom), picture.height() / (1 - zoom));
    return shown.expandedTo(QSize(1, 1));
}

int steppedZoom(int zoom, int direction)
{
    const int next = zoom + direction;
    return next < kZoomMinimum || next > kZoomMaximum ? zoom : next;
}

int fittingZoom(QSize picture, QSize room)
{
    int zoom = 0;
    while (zoom > kZoomMinimum) {
        const QSize shown = zoomedSize(picture, zoom);
        if (shown.width() <= room.width() && shown.height() <= room.height())
            break;
        --zoom;
    }
    return zoom;
}

} // namespace glimmerix
