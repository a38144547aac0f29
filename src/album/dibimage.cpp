#include "dibimage.h"

#include "imaging/dib.h"

#include <cstring>

BlockHandle imageToDibBlock(const QImage &image)
{
    if (image.isNull())
        return 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const std::size_t row = dibRowBytes(width, 24);
    const std::size_t pixels = row * std::size_t(height);
    const BlockHandle block = blockAlloc(0, sizeof(BITMAPINFOHEADER) + pixels);
    if (!isBlockHandle(block))
        return 0;
    BITMAPINFOHEADER *header = dibHeader(block);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = kBiRgb;
    header->biSizeImage = std::uint32_t(pixels);
    header->biXPelsPerMeter = rgb.dotsPerMeterX();
    header->biYPelsPerMeter = rgb.dotsPerMeterY();
    unsigned char *bits = dibBits(header);
    for (int y = 0; y < height; ++y) {
        const uchar *from = rgb.constScanLine(height - 1 - y);
        unsigned char *to = bits + std::size_t(y) * row;
        for (int x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return block;
}
