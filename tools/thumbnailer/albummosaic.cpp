#include "albummosaic.h"

#include "album/albumformat.h"

#include <QIODevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace glimmerix;

namespace
{

constexpr qint64 kHeaderBytes = sizeof(AlbumFileHeader);
constexpr std::uint32_t kBitmapHeaderBytes = 40;

// The fields of an item record the thumbnailer needs, whatever the record's layout.
struct ThumbnailPlace {
    std::uint32_t dataSize = 0;
};

// Bytes of one item record for the album's version, or 0 for a version we do not know.
qint64 recordBytes(const AlbumFileHeader &header)
{
    const QByteArray version(
        header.version, qsizetype(strnlen(header.version, sizeof header.version)));
    if (version == kAlbumVersion11)
        return sizeof(ItemInfoV11);
    if (version == kAlbumVersion12)
        return sizeof(ItemInfo);
    if (version == kAlbumVersion13)
        return kItemBlockSize;
    return 0;
}

template<typename Record> bool readPlace(QIODevice &file, qint64 at, ThumbnailPlace &place)
{
    Record record {};
    if (!file.seek(at)
        || file.read(reinterpret_cast<char *>(&record), sizeof record) != qint64(sizeof record))
        return false;
    place.dataSize = record.dataSize;
    return true;
}

std::uint32_t readU32(const uchar *at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::int32_t readI32(const uchar *at)
{
    std::int32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::uint16_t readU16(const uchar *at)
{
    std::uint16_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A thumbnail bitmap (BITMAPINFOHEADER and 24-bit rows, bottom-up unless the height is
// negative) as a picture, or a null image when the bytes are not one.
QImage decodeThumbnail(const QByteArray &bytes)
{
    if (bytes.size() < qsizetype(kBitmapHeaderBytes))
        return {};
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const std::uint32_t headerSize = readU32(data);
    const std::int32_t width = readI32(data + 4);
    const std::int32_t height = readI32(data + 8);
    const std::uint16_t bitCount = readU16(data + 14);
    const std::uint32_t compression = readU32(data + 16);
    const std::int64_t rows = height < 0 ? -std::int64_t(height) : height;
    if (headerSize != kBitmapHeaderBytes || bitCount != 24 || compression != 0 || width < 1
        || width > kMaxThumbnailSide || rows < 1 || rows > kMaxThumbnailSide)
        return {};
    const qsizetype stride = (qsizetype(width) * 3 + 3) & ~qsizetype(3);
    if (qsizetype(kBitmapHeaderBytes) + stride * rows > bytes.size())
        return {};
    QImage picture(width, int(rows), QImage::Format_RGB888);
    for (int y = 0; y < int(rows); ++y) {
        const int sourceRow = height < 0 ? y : int(rows) - 1 - y;
        const uchar *from = data + kBitmapHeaderBytes + stride * sourceRow;
        uchar *to = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return picture;
}

} // namespace

AlbumThumbnails readFirstThumbnails(QIODevice &file, int wanted)
{
    AlbumThumbnails result;
    const qint64 fileSize = file.size();
    AlbumFileHeader header {};
    // An album just made is an empty file: nothing to show, and no damage either.
    if (fileSize == 0) {
        result.problem = QStringLiteral("the album has no items yet");
        return result;
    }
    if (!file.seek(0)
        || file.read(reinterpret_cast<char *>(&header), kHeaderBytes) != kHeaderBytes) {
        result.problem = QStringLiteral("the file is shorter than an album header");
        return result;
    }
    if (header.magic != kAlbumMagic) {
        result.problem = QStringLiteral("the file is not an album");
        return result;
    }
    const qint64 record = recordBytes(header);
    if (record == 0) {
        result.problem = QStringLiteral("the album's version is unknown");
        return result;
    }
    // Records first, then the bitmaps in item order: the data area starts after the last record.
    if (header.itemCount == 0) {
        result.problem = QStringLiteral("the album has no items yet");
        return result;
    }
    const qint64 dataStart = kHeaderBytes + qint64(header.itemCount) * record;
    if (dataStart > fileSize) {
        result.problem = QStringLiteral("the album's item count does not fit the file");
        return result;
    }
    const int count
        = int(std::min<qint64>(header.itemCount, std::clamp(wanted, 0, kMosaicMaxCells)));
    qint64 bitmapAt = dataStart;
    for (int i = 0; i < count && bitmapAt <= fileSize; ++i) {
        ThumbnailPlace place;
        const qint64 recordAt = kHeaderBytes + qint64(i) * record;
        const bool read = record == qint64(sizeof(ItemInfoV11))
            ? readPlace<ItemInfoV11>(file, recordAt, place)
            : readPlace<ItemInfo>(file, recordAt, place);
        if (!read)
            break;
        const qint64 at = bitmapAt;
        bitmapAt += place.dataSize;
        if (place.dataSize > kMaxThumbnailDataSize || bitmapAt > fileSize || !file.seek(at))
            continue;
        const QImage picture = decodeThumbnail(file.read(place.dataSize));
        if (!picture.isNull())
            result.pictures.push_back(picture);
    }
    if (result.pictures.empty())
        result.problem = QStringLiteral("the album has no readable thumbnails");
    return result;
}

QImage drawMosaic(const std::vector<QImage> &pictures, int side)
{
    QImage mosaic(side, side, QImage::Format_ARGB32_Premultiplied);
    mosaic.fill(Qt::transparent);
    const int shown = int(std::min<std::size_t>(pictures.size(), kMosaicMaxCells));
    if (shown == 0)
        return mosaic;
    const int columns = shown == 1 ? 1 : shown <= 4 ? 2 : 3;
    const int rows = (shown + columns - 1) / columns;
    const int gap = std::max(1, side / 64);
    const int cell = (side - gap * (columns - 1)) / columns;
    // The grid is centred: the rest of the side after whole cells goes around it.
    const int left0 = (side - cell * columns - gap * (columns - 1)) / 2;
    const int top0 = (side - cell * rows - gap * (rows - 1)) / 2;
    QPainter painter(&mosaic);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < shown; ++i) {
        const QImage scaled = pictures[std::size_t(i)].scaled(
            cell, cell, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const int left = left0 + (i % columns) * (cell + gap) + (cell - scaled.width()) / 2;
        const int top = top0 + (i / columns) * (cell + gap) + (cell - scaled.height()) / 2;
        painter.drawImage(left, top, scaled);
    }
    return mosaic;
}
