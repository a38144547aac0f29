#include "pngreader.h"

#include "dibblock.h"
#include "picturestatus.h"
#include "rgbblock.h"

#include <png.h>

#include <cstring>
#include <new>
#include <vector>

namespace glimmerix
{

namespace
{

DecodeResult pngFailure(png_image &image, const char *what)
{
    const QString cause = QString::fromLatin1(image.message);
    png_image_free(&image);
    if (cause.contains(QLatin1String("end of")) || cause.contains(QLatin1String("EOF"))
        || cause.contains(QLatin1String("truncat")))
        return pictureFailure(
            DecodeStatus::Unreadable, QStringLiteral("%1 (%2)").arg(truncatedDetail(), cause));
    return pictureFailure(
        DecodeStatus::Failed, QStringLiteral("%1: %2").arg(QLatin1String(what), cause));
}

} // namespace

DecodeResult readPng(std::span<const unsigned char> bytes)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return pngFailure(image, "not a readable PNG file");
    DecodeResult made = newRgbBlock(image.width, image.height);
    if (made.status != DecodeStatus::Ok) {
        png_image_free(&image);
        return made;
    }
    OwnedBlock block(made.block);
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    const auto stride = png_int_32(dibRowBytes(header->biWidth, 24));
    if ((image.format & PNG_FORMAT_FLAG_ALPHA) == 0) {
        // libpng writes straight into the block: blue-green-red, bottom row first, rows padded
        // to four bytes.
        image.format = PNG_FORMAT_BGR;
        if (!png_image_finish_read(&image, nullptr, dibBits(header), -stride, nullptr))
            return pngFailure(image, "the PNG data is damaged");
        return { DecodeStatus::Ok, block.release(), {} };
    }
    // Transparency is composed on white here, on the stored values as browsers and other
    // programs do, not in linear light as libpng would.
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rows;
    try {
        rows.resize(PNG_IMAGE_SIZE(image));
    } catch (const std::bad_alloc &) {
        png_image_free(&image);
        return pictureFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
    }
    if (!png_image_finish_read(&image, nullptr, rows.data(), 0, nullptr))
        return pngFailure(image, "the PNG data is damaged");
    const std::size_t rowBytes = PNG_IMAGE_ROW_STRIDE(image);
    for (png_uint_32 row = 0; row < image.height; ++row)
        storeRow(header, row, rows.data() + row * rowBytes, RowLayout::Rgba);
    return { DecodeStatus::Ok, block.release(), {} };
}

} // namespace glimmerix
