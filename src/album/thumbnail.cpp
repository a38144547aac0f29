#include "thumbnail.h"

#include "albumformat.h"
#include "core/messageids.h"
#include "imaging/dibblock.h"
#include "platform/host.h"
#include "platform/paths.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace glimmerix
{

namespace
{

// The picture's pixel layout, checked against the block that holds it.
struct SourcePicture {
    const BITMAPINFOHEADER *header = nullptr;
    const RGBQUAD *colors = nullptr;
    std::uint32_t colorCount = 0;
    const unsigned char *bits = nullptr;
    std::size_t rowBytes = 0;
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

bool describePicture(BlockHandle picture, SourcePicture &source)
{
    BITMAPINFOHEADER *header = checkedDibHeader(picture);
    if (!header || header->biWidth <= 0 || header->biHeight <= 0 || header->biCompression != kBiRgb)
        return false;
    source.header = header;
    source.width = header->biWidth;
    source.height = header->biHeight;
    source.bitCount = header->biBitCount;
    source.colorCount = dibColorCount(*header);
    source.colors = dibColors(header);
    source.rowBytes = dibRowBytes(source.width, source.bitCount);
    source.bits = dibBits(header);
    return true;
}

// Blue, green, red of source pixel (x, y), y counted from the bottom row.
inline void samplePixel(const SourcePicture &source, int x, int y, unsigned char *out)
{
    const unsigned char *row = source.bits + std::size_t(y) * source.rowBytes;
    if (source.bitCount == 24) {
        std::memcpy(out, row + 3 * std::size_t(x), 3);
        return;
    }
    const unsigned index = dibPixelIndex(row, x, source.bitCount);
    // An index past a short colour table draws black rather than reading beyond it.
    if (index >= source.colorCount) {
        std::memset(out, 0, 3);
        return;
    }
    const RGBQUAD &color = source.colors[index];
    out[0] = color.rgbBlue;
    out[1] = color.rgbGreen;
    out[2] = color.rgbRed;
}

} // namespace

ThumbnailSize thumbnailSize(int width, int height)
{
    const int larger = std::max(width, height);
    if (larger <= kMaxThumbnailSide)
        return { width, height };
    if (width >= height) {
        const int th = int((qint64(width) / 2 + qint64(height) * kMaxThumbnailSide) / width);
        return { kMaxThumbnailSide, std::max(th, 1) };
    }
    const int tw = int((qint64(height) / 2 + qint64(width) * kMaxThumbnailSide) / height);
    return { std::max(tw, 1), kMaxThumbnailSide };
}

std::uint32_t thumbnailDataSize(ThumbnailSize size)
{
    return std::uint32_t(
        dibRowBytes(size.width, 24) * std::size_t(size.height) + sizeof(BITMAPINFOHEADER));
}

BlockHandle newThumbnailBlock(
    ThumbnailSize size, std::int32_t xPelsPerMeter, std::int32_t yPelsPerMeter)
{
    const std::uint32_t dataSize = thumbnailDataSize(size);
    const BlockHandle block = blockAlloc(0, dataSize + sizeof(ItemInfo) + kThumbnailSpareBytes);
    if (!isBlockHandle(block))
        return 0;
    auto *header = reinterpret_cast<BITMAPINFOHEADER *>(
        static_cast<unsigned char *>(blockLock(block)) + sizeof(ItemInfo));
    initDibHeader(header, size.width, size.height, 24, 0, dataSize - sizeof(BITMAPINFOHEADER));
    header->biXPelsPerMeter = xPelsPerMeter;
    header->biYPelsPerMeter = yPelsPerMeter;
    return block;
}

unsigned char *thumbnailPixels(BlockHandle block)
{
    return static_cast<unsigned char *>(blockLock(block)) + sizeof(ItemInfo)
        + sizeof(BITMAPINFOHEADER);
}

void fillThumbnailInfo(ItemInfo &info, const QString &path, bool stillPicture, int sourceWidth,
    int sourceHeight, int sourceBitDepth, ThumbnailSize size)
{
    const QFileInfo file(absoluteItemPath(path));
    info.fileSize = std::uint32_t(std::min<qint64>(file.size(), kMaxStoredFileSize));
    info.fileTime = std::uint32_t(
        std::clamp<qint64>(file.lastModified().toSecsSinceEpoch(), 0, 0xFFFFFFFFll));
    info.isMedia = stillPicture ? 0 : 1;
    info.sourceWidth = std::uint16_t(std::clamp(sourceWidth, 0, 0xFFFF));
    info.sourceHeight = std::uint16_t(std::clamp(sourceHeight, 0, 0xFFFF));
    info.sourceBitDepth = std::uint16_t(sourceBitDepth);
    info.thumbWidth = std::uint16_t(size.width);
    info.thumbHeight = std::uint16_t(size.height);
    info.dataSize = thumbnailDataSize(size);
}

BlockHandle makeThumbnail(BlockHandle picture, const QString &path)
{
    // The album's own rule by name: a picture extension makes a still picture.
    return makeThumbnail(picture, identifyMediaBytes(path, {}));
}

BlockHandle makeThumbnail(BlockHandle picture, const MediaFile &file, MediaPictureSize fullSize)
{
    const QString &path = file.path;
    SourcePicture source;
    if (!describePicture(picture, source))
        return 0;
    ItemInfo info {};
    if (!setFixedText(info.path, path)) {
        host().showMessage(Message::kPathTooLong, { path });
        return 0;
    }
    const bool smaller = fullSize.width > 0 && fullSize.height > 0;
    const int fullWidth = smaller ? fullSize.width : source.width;
    const int fullHeight = smaller ? fullSize.height : source.height;
    const ThumbnailSize size = thumbnailSize(fullWidth, fullHeight);
    const BlockHandle block
        = newThumbnailBlock(size, source.header->biXPelsPerMeter, source.header->biYPelsPerMeter);
    if (!isBlockHandle(block))
        return 0;
    fillThumbnailInfo(info, path, file.isPicture(), fullWidth, fullHeight, source.bitCount, size);
    std::memcpy(blockLock(block), &info, sizeof info);

    const std::size_t outRow = dibRowBytes(size.width, 24);
    unsigned char *out = thumbnailPixels(block);
    for (int y = 0; y < size.height; ++y) {
        const int sy = int(qint64(y) * source.height / size.height);
        unsigned char *to = out + std::size_t(y) * outRow;
        for (int x = 0; x < size.width; ++x) {
            const int sx = int(qint64(x) * source.width / size.width);
            samplePixel(source, sx, sy, to + 3 * std::size_t(x));
        }
    }
    return block;
}

} // namespace glimmerix
