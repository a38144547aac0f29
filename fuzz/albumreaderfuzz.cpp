// Fuzz target: the album file reader, whole and raw (readAlbumRaw), and the thumbnail
// bitmaps it leaves behind. Whatever was read, damaged or not, is written out whole: reading that
// back must give the same number of items and report no damage.

#include "album/albumdoc.h"
#include "album/albumfile.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        CAlbumDoc doc;
        QBuffer buffer(&input);
        buffer.open(QIODevice::ReadOnly);
        doc.load(buffer);
        for (int i = 0; i < doc.itemCount(); ++i)
            doc.item(i)->thumbnailImage();
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        if (!doc.store(out))
            __builtin_trap();
        out.close();
        out.open(QIODevice::ReadOnly);
        CAlbumDoc back;
        back.load(out);
        if (back.itemCount() != doc.itemCount() || back.loadReport().damaged)
            __builtin_trap();
    }
    {
        QBuffer buffer(&input);
        buffer.open(QIODevice::ReadOnly);
        const RawAlbum raw = readAlbumRaw(buffer);
        for (BlockHandle block : raw.thumbnails)
            thumbnailBlockImage(block);
    }
    return 0;
}
