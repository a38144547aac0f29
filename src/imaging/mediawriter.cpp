#include "mediawriter.h"

#include "dibblock.h"
#include "imageconvert.h"
#include "mediatypes.h"
#include "picturestatus.h"
#include "picturetypes.h"

#include <png.h>
#include <webp/encode.h>

#include <QFileDevice>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace glimmerix
{

namespace
{

// The picture's pixels as top-down rows of blue, green, red without padding.
std::vector<unsigned char> topDownBgr(BITMAPINFOHEADER *header)
{
    const std::size_t rowBytes = 3 * std::size_t(header->biWidth);
    std::vector<unsigned char> pixels(rowBytes * std::size_t(header->biHeight));
    for (std::int32_t row = 0; row < header->biHeight; ++row)
        std::memcpy(pixels.data() + std::size_t(row) * rowBytes,
            dibRow(header, header->biHeight - 1 - row), rowBytes);
    return pixels;
}

WriteResult writeBytes(const unsigned char *data, std::size_t size, const QString &path)
{
    const std::unique_ptr<QFileDevice> target = pictureTarget(path);
    if (!target->open(QIODevice::WriteOnly))
        return writeFailure(DecodeStatus::CannotCreate, target->errorString());
    errno = 0;
    if (target->write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)
        || !finishPictureTarget(*target))
        return writeFailure(DecodeStatus::Failed, writeErrorDetail(*target));
    return { DecodeStatus::Ok, {} };
}

WriteResult writePng(BITMAPINFOHEADER *header, const QString &path)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(header->biWidth);
    image.height = png_uint_32(header->biHeight);
    image.format = PNG_FORMAT_BGR;
    // libpng reads the block's rows as they lie: bottom row first, padded to four bytes.
    const auto stride = png_int_32(dibRowBytes(header->biWidth, 24));
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, dibBits(header), -stride, nullptr))
        return writeFailure(DecodeStatus::Failed, QString::fromLatin1(image.message));
    std::vector<unsigned char> bytes(size);
    if (!png_image_write_to_memory(
            &image, bytes.data(), &size, 0, dibBits(header), -stride, nullptr))
        return writeFailure(DecodeStatus::Failed, QString::fromLatin1(image.message));
    return writeBytes(bytes.data(), size, path);
}

WriteResult writeWebP(BITMAPINFOHEADER *header, const QString &path)
{
    if (header->biWidth > WEBP_MAX_DIMENSION || header->biHeight > WEBP_MAX_DIMENSION)
        return writeFailure(DecodeStatus::Unsuitable,
            QStringLiteral("WebP pictures are at most %1 pixels wide and high")
                .arg(WEBP_MAX_DIMENSION));
    const std::vector<unsigned char> pixels = topDownBgr(header);
    std::uint8_t *encoded = nullptr;
    const std::size_t size = WebPEncodeBGR(
        pixels.data(), header->biWidth, header->biHeight, 3 * header->biWidth, 90.0f, &encoded);
    if (size == 0 || encoded == nullptr)
        return writeFailure(DecodeStatus::Failed, QStringLiteral("the WebP encoder failed"));
    WriteResult written = writeBytes(encoded, size, path);
    WebPFree(encoded);
    return written;
}

} // namespace

WriteResult saveMediaPicture(BlockHandle block, const QString &path)
{
    const QString extension = upperExtension(path);
    const bool png = extension == QLatin1String(".PNG");
    const bool webp = extension == QLatin1String(".WEBP");
    if (!png && !webp)
        return savePicture(block, path);
    if (checkedDibHeader(block) == nullptr)
        return writeFailure(DecodeStatus::Unsuitable, QStringLiteral("not a picture"));
    OwnedBlock wide;
    BlockHandle source = block;
    if (ClassifyImage(block) != kClassTrueColor) {
        wide.reset(ExpandTo24Bit(block));
        if (!wide)
            return writeFailure(
                DecodeStatus::NoMemory, QStringLiteral("no 24-bit copy could be made"));
        source = wide.handle();
    }
    BITMAPINFOHEADER *header = checkedDibHeader(source);
    if (header == nullptr || header->biBitCount != 24)
        return writeFailure(DecodeStatus::Unsuitable, QStringLiteral("not a picture"));
    return png ? writePng(header, path) : writeWebP(header, path);
}

} // namespace glimmerix
