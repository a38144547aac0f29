// libjpeg's error exit jumps back with longjmp, so the decoding functions here hold no C++
// object with a destructor between setjmp and the end of decoding; every path ends with
// jpeg_destroy_decompress and fclose.

#include "jpegthumbnail.h"

#include "albumformat.h"
#include "imaging/dib.h"
#include "imaging/jpegerrors.h"
#include "imaging/picturestatus.h"
#include "platform/paths.h"
#include "thumbnail.h"

#include <QFile>

#include <cstdlib>
#include <cstring>

namespace glimmerix
{

namespace
{

// Decodes the sampled rows into a new thumbnail block `block`, with `row` as the one-row buffer
// (allocated here, freed by the caller). False on any failure (the block is then freed).
bool decode(FILE *input, const QString &path, BlockHandle &block, JSAMPLE *&row)
{
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    info.err = jpegJumpingErrors(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        if (isBlockHandle(block))
            blockFree(block);
        block = 0;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, input);
    jpeg_read_header(&info, TRUE);
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    // A header claiming a huge picture is refused here, before jpeg_start_decompress buffers
    // a progressive file's whole coefficient image; the general path then reports it.
    if ((!grey && info.num_components != 3)
        || !pictureSizeAllowed(info.image_width, info.image_height, grey ? 8 : 24)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = int(info.output_width);
    const int height = int(info.output_height);
    const int channels = grey ? 1 : 3;
    const int bits = grey ? 8 : 24;
    row = static_cast<JSAMPLE *>(std::malloc(std::size_t(width) * std::size_t(channels)));
    const std::int32_t xDensity = pelsPerMeter(info.density_unit, info.X_density);
    const std::int32_t yDensity = pelsPerMeter(info.density_unit, info.Y_density);

    if (!row) {
        jpeg_destroy_decompress(&info);
        return false;
    }

    const ThumbnailSize size = thumbnailSize(width, height);
    const std::size_t outRow = dibRowBytes(size.width, 24);
    block = newThumbnailBlock(size, xDensity, yDensity);
    if (!isBlockHandle(block)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    unsigned char *out = thumbnailPixels(block);
    // Output rows are stored bottom-up; output row k samples bottom-up source row
    // k * h / th, which is top-down row h - 1 - that. Walking k downwards visits strictly
    // increasing top-down rows (th <= h), so the JPEG is read once, top to bottom.
    for (int k = size.height - 1; k >= 0; --k) {
        const int wanted = height - 1 - int(qint64(k) * height / size.height);
        const int current = int(info.output_scanline);
        if (wanted > current)
            jpeg_skip_scanlines(&info, JDIMENSION(wanted - current));
        JSAMPROW rows[1] = { row };
        jpeg_read_scanlines(&info, rows, 1);
        unsigned char *to = out + std::size_t(k) * outRow;
        for (int x = 0; x < size.width; ++x) {
            const int sx = int(qint64(x) * width / size.width);
            if (grey) {
                std::memset(to + 3 * x, row[sx], 3);
            } else {
                to[3 * x] = row[3 * sx + 2];
                to[3 * x + 1] = row[3 * sx + 1];
                to[3 * x + 2] = row[3 * sx];
            }
        }
    }
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    ItemInfo record {};
    fillThumbnailInfo(record, path, true, width, height, bits, size);
    if (!setFixedText(record.path, path)) {
        blockFree(block);
        block = 0;
        return false;
    }
    std::memcpy(blockLock(block), &record, sizeof record);
    return true;
}

BlockHandle decodeFile(const QString &path)
{
    FILE *input = std::fopen(QFile::encodeName(absoluteItemPath(path)).constData(), "rb");
    if (!input)
        return 0;
    BlockHandle block = 0;
    JSAMPLE *row = nullptr;
    const bool ok = decode(input, path, block, row);
    std::free(row);
    std::fclose(input);
    return ok ? block : 0;
}

} // namespace

BlockHandle makeJpegThumbnail(const QString &path)
{
    return decodeFile(path);
}

} // namespace glimmerix
