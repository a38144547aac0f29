#include "albumitem.h"

#include "albumsource.h"
#include "imaging/dib.h"
#include "platform/paths.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace glimmerix
{

namespace
{

// The bitmap behind a block's record, not copied: dataSize bytes, or fewer when the block is
// shorter.
QByteArray blockBitmap(BlockHandle block)
{
    const auto *info = static_cast<const ItemInfo *>(blockLock(block));
    const std::size_t size = blockSize(block);
    if (!info || size < sizeof(ItemInfo))
        return {};
    const std::size_t present = std::min<std::size_t>(info->dataSize, size - sizeof(ItemInfo));
    return QByteArray::fromRawData(reinterpret_cast<const char *>(info + 1), qsizetype(present));
}

} // namespace

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

AlbumItem::AlbumItem(const ItemInfo &info, std::shared_ptr<AlbumFileSource> source, qint64 bitmapAt,
    const QString &path, bool exists)
    : AlbumItem(BlockHandle(0), path, exists)
{
    m_record = std::make_unique<ItemInfo>(info);
    m_source = std::move(source);
    m_bitmapAt = bitmapAt;
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
    m_record.reset();
    m_source.reset();
    m_thumbnailLost = false;
    m_thumbnailCut = false;
}

BlockHandle AlbumItem::thumbnail() const
{
    if (!m_source)
        return m_thumbnail;
    const std::size_t size = m_record->dataSize;
    OwnedBlock block(blockAlloc(0, sizeof(ItemInfo) + size));
    if (!block)
        return 0;
    std::memcpy(block.data(), m_record.get(), sizeof(ItemInfo));
    if (!m_source->read(m_bitmapAt, block.data() + sizeof(ItemInfo), size)) {
        m_thumbnailLost = true;
        m_source.reset();
        return 0;
    }
    m_thumbnail = block.release();
    m_record.reset();
    m_source.reset();
    return m_thumbnail;
}

bool AlbumItem::hasThumbnail() const
{
    return isBlockHandle(m_thumbnail) || (m_source && !m_source->failed());
}

const ItemInfo *AlbumItem::info() const
{
    return m_record ? m_record.get() : static_cast<const ItemInfo *>(blockLock(m_thumbnail));
}

ItemInfo *AlbumItem::editableInfo()
{
    return m_record ? m_record.get() : static_cast<ItemInfo *>(blockLock(m_thumbnail));
}

QByteArray AlbumItem::thumbnailBitmap() const
{
    const ItemInfo *record = info();
    if (!record)
        return {};
    if (!m_source)
        return blockBitmap(m_thumbnail);
    QByteArray bitmap(qsizetype(record->dataSize), Qt::Uninitialized);
    if (!m_source->read(m_bitmapAt, bitmap.data(), std::size_t(bitmap.size()))) {
        m_thumbnailLost = true;
        m_source.reset();
        return {};
    }
    return bitmap;
}

QImage AlbumItem::thumbnailImage() const
{
    const ItemInfo *record = info();
    return record ? thumbnailBitmapImage(*record, thumbnailBitmap()) : QImage();
}

QImage thumbnailBlockImage(BlockHandle thumbnail)
{
    const auto *info = static_cast<const ItemInfo *>(blockLock(thumbnail));
    return info ? thumbnailBitmapImage(*info, blockBitmap(thumbnail)) : QImage();
}

QImage thumbnailBitmapImage(const ItemInfo &info, const QByteArray &bitmap)
{
    const int width = info.thumbWidth;
    const int height = info.thumbHeight;
    if (width < 1 || height < 1 || width > kMaxThumbnailSide || height > kMaxThumbnailSide)
        return {};
    const std::size_t row = dibRowBytes(width, 24);
    const std::size_t needed = sizeof(BITMAPINFOHEADER) + row * std::size_t(height);
    if (info.dataSize < needed || std::size_t(bitmap.size()) < needed)
        return {};
    const auto *bits
        = reinterpret_cast<const unsigned char *>(bitmap.constData()) + sizeof(BITMAPINFOHEADER);
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
