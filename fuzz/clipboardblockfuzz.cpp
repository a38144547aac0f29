// Fuzz target: what another program may put on the clipboard under our album formats: the drag
// record, the selection of item streams and each item stream pasted into an album. Whatever is
// accepted must leave an album that writes out and reads back whole.

#include "album/albumdoc.h"
#include "view/albumclipboard.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto record = readDragRecord(input.left(DragRecord::kSize)))
        writeDragRecord(*record);
    CAlbumDoc doc;
    QList<QByteArray> streams = readSelectionStream(input);
    streams.append(input);
    for (const QByteArray &stream : streams)
        pasteItemStream(doc, stream, 0);
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
    if (back.itemCount() != doc.itemCount())
        __builtin_trap();
    return 0;
}
