#include "photocd.h"

#include "dibblock.h"
#include "picturestatus.h"

#include <QIODevice>

#include <algorithm>
#include <cmath>
#include <vector>

namespace glimmerix
{

PhotoCdImageLayout photoCdLayout(PhotoCdResolution resolution)
{
    switch (resolution) {
    case PhotoCdResolution::Base16:
        return { 192, 128, 4 };
    case PhotoCdResolution::Base4:
        return { 384, 256, 23 };
    case PhotoCdResolution::Base:
        return { 768, 512, 96 };
    }
    return { 768, 512, 96 };
}

void photoYccToRgb(
    int luma, int c1, int c2, std::uint8_t *red, std::uint8_t *green, std::uint8_t *blue)
{
    const double y = 1.3584 * luma;
    const double chroma1 = 2.2179 * (c1 - 156);
    const double chroma2 = 1.8215 * (c2 - 137);
    const auto clip
        = [](double value) { return std::uint8_t(std::clamp(std::lround(value), 0L, 255L)); };
    *red = clip(y + chroma2);
    *green = clip(y - 0.194 * chroma1 - 0.509 * chroma2);
    *blue = clip(y + chroma1);
}

namespace
{

// Target position of source pixel (x, y) (top-down) after turning the picture upright;
// `width`/`height` are the source's.
void turn(int orientation, int width, int height, int x, int y, int *tx, int *ty)
{
    switch (orientation & 3) {
    case 1: // a quarter counter-clockwise
        *tx = y;
        *ty = width - 1 - x;
        break;
    case 2:
        *tx = width - 1 - x;
        *ty = height - 1 - y;
        break;
    case 3: // a quarter clockwise
        *tx = height - 1 - y;
        *ty = x;
        break;
    default:
        *tx = x;
        *ty = y;
        break;
    }
}

} // namespace

DecodeResult readPhotoCd(QIODevice &device, PhotoCdResolution resolution, bool grey)
{
    QByteArray head(3 * kPhotoCdSectorBytes, '\0');
    if (device.read(head.data(), head.size()) != head.size()
        || !head.mid(kPhotoCdSectorBytes, 7).startsWith("PCD_IPI"))
        return pictureFailure(DecodeStatus::WrongKind, QStringLiteral("not a Photo CD image pack"));
    const int orientation = std::uint8_t(head.at(kPhotoCdOrientationOffset)) & 3;

    const PhotoCdImageLayout layout = photoCdLayout(resolution);
    const qint64 planeBytes = qint64(layout.width) * layout.height * 3 / 2;
    std::vector<std::uint8_t> planes(std::size_t(planeBytes), 0);
    const qint64 start = qint64(layout.firstSector) * kPhotoCdSectorBytes;
    if ((!device.isSequential() && device.size() < start + planeBytes) || !device.seek(start)
        || device.read(reinterpret_cast<char *>(planes.data()), planeBytes) != planeBytes)
        return pictureFailure(DecodeStatus::Unreadable, truncatedDetail());

    const bool sideways = orientation == 1 || orientation == 3;
    const int outWidth = sideways ? layout.height : layout.width;
    const int outHeight = sideways ? layout.width : layout.height;
    DecodeResult made = createImageBlock(outWidth, outHeight, grey ? 8 : 24, grey ? 256 : 0);
    if (made.status != DecodeStatus::Ok)
        return made;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    if (grey) {
        RGBQUAD *table = dibColors(header);
        for (int i = 0; i < 256; ++i)
            table[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    }

    const int halfWidth = layout.width / 2;
    const std::size_t pairBytes = std::size_t(layout.width) * 3;
    for (int y = 0; y < layout.height; ++y) {
        const std::uint8_t *pair = planes.data() + std::size_t(y / 2) * pairBytes;
        const std::uint8_t *luma = pair + std::size_t(y % 2) * layout.width;
        const std::uint8_t *c1 = pair + 2 * std::size_t(layout.width);
        const std::uint8_t *c2 = c1 + halfWidth;
        for (int x = 0; x < layout.width; ++x) {
            int tx = 0;
            int ty = 0;
            turn(orientation, layout.width, layout.height, x, y, &tx, &ty);
            // Block rows run bottom-up.
            unsigned char *row = dibRow(header, outHeight - 1 - ty);
            if (grey) {
                row[tx] = std::uint8_t(std::min(255L, std::lround(1.3584 * luma[x])));
                continue;
            }
            unsigned char *pixel = row + 3 * std::size_t(tx);
            photoYccToRgb(luma[x], c1[x / 2], c2[x / 2], &pixel[2], &pixel[1], &pixel[0]);
        }
    }
    return { DecodeStatus::Ok, made.block };
}

} // namespace glimmerix
