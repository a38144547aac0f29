#include "rgbblock.h"

#include "dibblock.h"
#include "picturestate.h"
#include "picturestatus.h"

#include <QFile>

#include <limits>

namespace glimmerix
{

namespace
{

// A pixel with alpha `a` over white.
inline unsigned char overWhite(unsigned value, unsigned alpha)
{
    return static_cast<unsigned char>(255 - ((255 - value) * alpha + 127) / 255);
}

} // namespace

DecodeResult readWholePictureFile(const QString &path, QByteArray &bytes)
{
    QFile file;
    DecodeResult opened = openForReading(file, path);
    if (opened.status != DecodeStatus::Ok)
        return opened;
    const qint64 size = file.size();
    if (size <= 0)
        return pictureFailure(DecodeStatus::Failed, emptyFileDetail());
    // No compressed picture is much larger than its pixels; a bigger file is not read at all.
    const std::size_t limit = pictureByteLimit();
    const std::uint64_t allowed = std::uint64_t(limit) * 2 + (std::uint64_t(1) << 20);
    if (std::uint64_t(size) > allowed || size > qint64(std::numeric_limits<int>::max() - 16))
        return pictureFailure(DecodeStatus::TooLarge,
            QStringLiteral("the file is %1 bytes, more than any picture it may hold").arg(size));
    bytes = file.readAll();
    if (bytes.size() != size)
        return pictureFailure(DecodeStatus::Unreadable, truncatedDetail());
    return { DecodeStatus::Ok, 0, {} };
}

DecodeResult newRgbBlock(std::int64_t width, std::int64_t height)
{
    DecodeResult size = checkPictureSize(width, height, 24);
    if (size.status != DecodeStatus::Ok)
        return size;
    return createImageBlock(std::int32_t(width), std::int32_t(height), 24, 0);
}

void storePixels(BITMAPINFOHEADER *header, std::int64_t row, std::int64_t x, std::int64_t count,
    const unsigned char *pixels, RowLayout layout)
{
    unsigned char *out = dibRow(header, header->biHeight - 1 - row) + 3 * std::size_t(x);
    switch (layout) {
    case RowLayout::Grey:
        for (std::int64_t i = 0; i < count; ++i, out += 3)
            out[0] = out[1] = out[2] = pixels[x];
        break;
    case RowLayout::GreyAlpha:
        for (std::int64_t i = 0; i < count; ++i, out += 3, pixels += 2)
            out[0] = out[1] = out[2] = overWhite(pixels[0], pixels[1]);
        break;
    case RowLayout::Rgb:
        for (std::int64_t i = 0; i < count; ++i, out += 3, pixels += 3) {
            out[0] = pixels[2];
            out[1] = pixels[1];
            out[2] = pixels[0];
        }
        break;
    case RowLayout::Rgba:
        for (std::int64_t i = 0; i < count; ++i, out += 3, pixels += 4) {
            out[0] = overWhite(pixels[2], pixels[3]);
            out[1] = overWhite(pixels[1], pixels[3]);
            out[2] = overWhite(pixels[0], pixels[3]);
        }
        break;
    }
}

} // namespace glimmerix
