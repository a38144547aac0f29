#include "albumitem.h"

#include "imaging/dib.h"
#include "platform/paths.h"

#include <QFileInfo>

#include <cstring>

namespace glimmerix
{

AlbumItem::AlbumItem(BlockHandle thumbnail, const QString &path)
    : AlbumItem(thumbnail, path, false)
{
    m_exists = QFileInfo::exists(m_absolutePath);
}

AlbumItem::AlbumItem(BlockHandle thumbnail, const QString &path, bool exists)
    : m_path(path)
    , m_absolutePath(absoluteItemPath(path))
    , m_thumbnail(thumbnail)
    , m_exists(exists)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    m_fileName = slash < 0 ? path : path.mid(slash + 1);
}

AlbumItem::~AlbumItem()
{
    if (isBlockHandle(m_thumbnail))
        blockFree(m_thumbnail);
}

void AlbumItem::setThumbnail(BlockHandle thumbnail)
{
    if (thumbnail == m_thumbnail)
        return;
    if (isBlockHandle(m_thumbnail))
        blockFree(m_thumbnail);
    m_thumbnail = thumbnail;
    m_thumbnailCut = false;
}

const ItemInfo *AlbumItem::info() const
{
    return static_cast<const ItemInfo *>(blockLock(m_thumbnail));
}

ItemInfo *AlbumItem::editableInfo()
{
    return static_cast<ItemInfo *>(blockLock(m_thumbnail));
}

QImage AlbumItem::thumbnailImage() const
{
    return thumbnailBlockImage(m_thumbnail);
}

QImage thumbnailBlockImage(BlockHandle thumbnail)
{
    const auto *info = static_cast<const ItemInfo *>(blockLock(thumbnail));
    if (!info)
        return {};
    const int width = info->thumbWidth;
    const int height = info->thumbHeight;
    if (width < 1 || height < 1 || width > kMaxThumbnailSide || height > kMaxThumbnailSide)
        return {};
    const std::size_t row = dibRowBytes(width, 24);
    const std::size_t needed = sizeof(BITMAPINFOHEADER) + row * std::size_t(height);
    if (info->dataSize < needed || sizeof(ItemInfo) + needed > blockSize(thumbnail))
        return {};
    const auto *bits = reinterpret_cast<const unsigned char *>(info + 1) + sizeof(BITMAPINFOHEADER);
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        const unsigned char *from = bits + std::size_t(height - 1 - y) * row;
        uchar *to = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return image;
}

} // namespace glimmerix
