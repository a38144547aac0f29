#include "dibimage.h"

#include "imaging/dib.h"
#include "imaging/dibblock.h"

#include <QList>

namespace glimmerix
{

BlockHandle imageToDibBlock(const QImage &image)
{
    if (image.isNull())
        return 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const DecodeResult made = createImageBlock(width, height, 24, 0);
    if (made.status != DecodeStatus::Ok)
        return 0;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    header->biXPelsPerMeter = rgb.dotsPerMeterX();
    header->biYPelsPerMeter = rgb.dotsPerMeterY();
    for (int y = 0; y < height; ++y) {
        const uchar *from = rgb.constScanLine(height - 1 - y);
        unsigned char *to = dibRow(header, y);
        for (int x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return made.block;
}

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

} // namespace glimmerix
