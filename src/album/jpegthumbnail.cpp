// libjpeg's error exit jumps back with longjmp, so the decoding functions here hold no C++
// object with a destructor between setjmp and the end of decoding; every path ends with
// jpeg_destroy_decompress and fclose.

#include "jpegthumbnail.h"

#include "albumformat.h"
#include "imaging/dib.h"
#include "imaging/imagegeometry.h"
#include "imaging/jpegerrors.h"
#include "imaging/picturefacts.h"
#include "imaging/picturestatus.h"
#include "platform/paths.h"
#include "thumbnail.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace glimmerix
{

namespace
{

// One thumbnail pixel: the stored pixel it shows and where it goes in the thumbnail's bitmap.
struct Sample {
    int storedRow; // top-down
    int storedColumn;
    std::uint32_t offset; // byte offset in the thumbnail pixels
};

// The EXIF orientation in the saved APP1 segments (the first "Exif" one); 1 when none.
int savedOrientation(const jpeg_decompress_struct &info)
{
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > 6
            && std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
            const int orientation = orientationFromExif(marker->data + 6, marker->data_length - 6);
            return orientation >= 2 && orientation <= 8 ? orientation : 1;
        }
    }
    return 1;
}

// Decodes the sampled rows into a new thumbnail block `block`, with `row` as the one-row buffer
// and `samples` the list of sampled pixels (both allocated here, freed by the caller). False on
// any failure (the block is then freed).
bool decode(FILE *input, const QString &path, BlockHandle &block, JSAMPLE *&row, Sample *&samples)
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
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    // A header claiming a huge picture is refused here, before jpeg_start_decompress buffers
    // a progressive file's whole coefficient image; the general path then reports it.
    if ((!grey && info.num_components != 3)
        || !pictureSizeAllowed(info.image_width, info.image_height, grey ? 8 : 24)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const int orientation = savedOrientation(info);
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = int(info.output_width);
    const int height = int(info.output_height);
    const int channels = grey ? 1 : 3;
    const int bits = grey ? 8 : 24;
    row = static_cast<JSAMPLE *>(std::malloc(std::size_t(width) * std::size_t(channels)));
    const std::int32_t xDensity = pelsPerMeter(info.density_unit, info.X_density);
    const std::int32_t yDensity = pelsPerMeter(info.density_unit, info.Y_density);
    // The thumbnail is of the upright picture: orientations 5-8 swap the sides.
    const bool sideways = orientation >= 5;
    const int uprightWidth = sideways ? height : width;
    const int uprightHeight = sideways ? width : height;
    const ThumbnailSize size = thumbnailSize(uprightWidth, uprightHeight);
    samples = static_cast<Sample *>(
        std::malloc(sizeof(Sample) * std::size_t(size.width) * std::size_t(size.height)));

    if (!row || !samples) {
        jpeg_destroy_decompress(&info);
        return false;
    }

    const std::size_t outRow = dibRowBytes(size.width, 24);
    block = newThumbnailBlock(size, sideways ? yDensity : xDensity, sideways ? xDensity : yDensity);
    if (!isBlockHandle(block)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Thumbnail rows are stored bottom-up; bottom-up row k samples bottom-up upright row
    // k * h / th (the rule of makeThumbnail), column x upright column x * w / tw. Each sample is
    // found in the stored picture, and the samples are visited by stored row so that the JPEG
    // is read once, top to bottom, decoding only the rows some sample needs.
    std::size_t count = 0;
    for (int k = 0; k < size.height; ++k) {
        const int uprightRow = uprightHeight - 1 - int(qint64(k) * uprightHeight / size.height);
        for (int x = 0; x < size.width; ++x) {
            const int uprightColumn = int(qint64(x) * uprightWidth / size.width);
            const QPoint stored
                = storedPixelOf(orientation, uprightColumn, uprightRow, width, height);
            samples[count++] = { stored.y(), stored.x(),
                std::uint32_t(std::size_t(k) * outRow + 3 * std::size_t(x)) };
        }
    }
    std::stable_sort(samples, samples + count,
        [](const Sample &a, const Sample &b) { return a.storedRow < b.storedRow; });
    unsigned char *out = thumbnailPixels(block);
    for (std::size_t n = 0; n < count;) {
        const int wanted = samples[n].storedRow;
        const int current = int(info.output_scanline);
        if (wanted > current)
            jpeg_skip_scanlines(&info, JDIMENSION(wanted - current));
        JSAMPROW rows[1] = { row };
        jpeg_read_scanlines(&info, rows, 1);
        for (; n < count && samples[n].storedRow == wanted; ++n) {
            const int sx = samples[n].storedColumn;
            unsigned char *to = out + samples[n].offset;
            if (grey) {
                std::memset(to, row[sx], 3);
            } else {
                to[0] = row[3 * sx + 2];
                to[1] = row[3 * sx + 1];
                to[2] = row[3 * sx];
            }
        }
    }
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    ItemInfo record {};
    fillThumbnailInfo(record, path, true, uprightWidth, uprightHeight, bits, size);
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
    Sample *samples = nullptr;
    const bool ok = decode(input, path, block, row, samples);
    std::free(samples);
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
