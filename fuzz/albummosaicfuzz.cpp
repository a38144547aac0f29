// Fuzz target: the album thumbnailer's reader and mosaic. Whatever the bytes, it reads at most
// nine thumbnails of at most 80 x 80 pixels and draws them without fault.

#include "albummosaic.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&input);
    buffer.open(QIODevice::ReadOnly);
    const AlbumThumbnails read = readFirstThumbnails(buffer);
    if (read.pictures.size() > std::size_t(kMosaicMaxCells)
        || read.pictures.empty() == read.problem.isEmpty())
        __builtin_trap();
    for (const QImage &picture : read.pictures) {
        if (picture.width() > 80 || picture.height() > 80)
            __builtin_trap();
    }
    drawMosaic(read.pictures, 48);
    return 0;
}
