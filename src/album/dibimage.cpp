#include "dibimage.h"

#include "imaging/dibblock.h"

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

} // namespace glimmerix
