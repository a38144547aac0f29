#include "dibview.h"

#include "imaging/dib.h"
#include "imaging/dibblock.h"

#include <algorithm>
#include <vector>

#include <cstring>

namespace glimmerix
{

QImage imageFromDibBlock(BlockHandle block)
{
    if (!isBlockHandle(block))
        return {};
    const std::size_t size = blockSize(block);
    if (size < sizeof(BITMAPINFOHEADER))
        return {};
    auto *header = dibHeader(block);
    const int bits = header->biBitCount;
    if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > size || header->biWidth <= 0
        || header->biHeight <= 0 || header->biCompression != kBiRgb
        || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return {};
    const std::uint32_t colors = dibColorCount(*header);
    const std::size_t tableEnd = header->biSize + std::size_t(colors) * sizeof(RGBQUAD);
    const std::size_t rowBytes = dibRowBytes(header->biWidth, bits);
    const std::size_t height = std::size_t(header->biHeight);
    if (tableEnd > size || rowBytes == 0 || (size - tableEnd) / rowBytes < height)
        return {};

    const int width = header->biWidth;
    QImage image(width, int(height), bits == 24 ? QImage::Format_RGB888 : QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    if (bits != 24) {
        QList<QRgb> table;
        const RGBQUAD *entries = dibColors(header);
        for (std::uint32_t i = 0; i < colors; ++i)
            table.append(qRgb(entries[i].rgbRed, entries[i].rgbGreen, entries[i].rgbBlue));
        // Indices past a short table show black rather than reading past it.
        while (table.size() < 256)
            table.append(qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    const unsigned char *bitsStart = dibBits(header);
    for (std::size_t row = 0; row < height; ++row) {
        const unsigned char *source = bitsStart + row * rowBytes;
        unsigned char *target = image.scanLine(int(height - 1 - row));
        for (int x = 0; x < width; ++x) {
            switch (bits) {
            case 24:
                target[3 * x] = source[3 * x + 2];
                target[3 * x + 1] = source[3 * x + 1];
                target[3 * x + 2] = source[3 * x];
                break;
            case 8:
                target[x] = source[x];
                break;
            case 4:
                target[x] = (x % 2 == 0) ? source[x / 2] >> 4 : source[x / 2] & 0x0F;
                break;
            default:
                target[x] = (source[x / 8] >> (7 - x % 8)) & 1;
                break;
            }
        }
    }
    return image;
}

QImage dibPaintSource(BlockHandle block, bool &bottomUp)
{
    bottomUp = false;
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    if (!header)
        return {};
    if (header->biBitCount != 24)
        return imageFromDibBlock(block);
    bottomUp = true;
    return QImage(dibBits(header), header->biWidth, header->biHeight,
        qsizetype(dibRowBytes(header->biWidth, 24)), QImage::Format_BGR888);
}

QImage paintSourcePart(const QImage &source, bool bottomUp, const QRect &area)
{
    if (!bottomUp)
        return source.copy(area);
    const QRect stored(
        area.x(), source.height() - area.y() - area.height(), area.width(), area.height());
    return source.copy(stored).mirrored(false, true);
}

QImage shrunkDibImage(BlockHandle block, int factor)
{
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    if (!header)
        return {};
    factor = std::max(factor, 1);
    const int width = std::max(1, header->biWidth / factor);
    const int height = std::max(1, header->biHeight / factor);
    if (header->biBitCount != 24)
        return imageFromDibBlock(block).scaled(
            width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage shrunk(width, height, QImage::Format_RGB888);
    if (shrunk.isNull())
        return {};
    const int across = std::min(factor, int(header->biWidth));
    const int down = std::min(factor, int(header->biHeight));
    const int count = across * down;
    std::vector<int> sums(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int r = 0; r < down; ++r) {
            const unsigned char *row = dibRow(header, header->biHeight - 1 - (y * down + r));
            for (int x = 0; x < width; ++x) {
                const unsigned char *pixel = row + std::size_t(x) * std::size_t(across) * 3;
                int *sum = sums.data() + std::size_t(x) * 3;
                for (int c = 0; c < across; ++c, pixel += 3) {
                    sum[0] += pixel[2];
                    sum[1] += pixel[1];
                    sum[2] += pixel[0];
                }
            }
        }
        unsigned char *out = shrunk.scanLine(y);
        for (std::size_t i = 0; i < sums.size(); ++i)
            out[i] = std::uint8_t((sums[i] + count / 2) / count);
    }
    return shrunk;
}

} // namespace glimmerix
