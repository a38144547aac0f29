#include "dibview.h"

#include "imaging/dib.h"
#include "imaging/dibblock.h"

#include <algorithm>
#include <vector>

#include <cstring>

namespace glimmerix
{

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
