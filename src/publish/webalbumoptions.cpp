#include "webalbumoptions.h"

#include <algorithm>

namespace glimmerix
{

void WebAlbumOptions::clamp()
{
    columns = std::clamp(columns, kMinGrid, kMaxGrid);
    rows = std::clamp(rows, kMinGrid, kMaxGrid);
    theme = std::clamp(theme, 0, kThemeCount - 1);
    thumbnailSize = std::clamp(thumbnailSize, 0, kSizeCount - 1);
}

QSize thumbnailBox(int thumbnailSize)
{
    switch (thumbnailSize) {
    case 0:
        return { 80, 50 };
    case 2:
        return { 110, 80 };
    }
    return { 90, 60 };
}

std::optional<QSize> fitThumbnail(QSize picture, QSize box)
{
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    if (w < box.width() && h < box.height())
        return std::nullopt;
    qint64 fitWidth = w;
    qint64 fitHeight = h;
    if (w > box.width() || h > box.height()) {
        // Every box is wider than high: try the full height first.
        fitWidth = h > 0 ? w * box.height() / h : box.width();
        fitHeight = box.height();
        if (fitWidth > box.width()) {
            fitWidth = box.width();
            fitHeight = w > 0 ? h * box.width() / w : box.height();
        }
    }
    return QSize(fitWidth == 0 ? 3 : int(fitWidth), fitHeight == 0 ? 3 : int(fitHeight));
}

int webAlbumPageCount(int thumbnails, int columns, int rows)
{
    const int perPage = std::max(1, columns * rows);
    return thumbnails <= 0 ? 0 : (thumbnails + perPage - 1) / perPage;
}

} // namespace glimmerix
