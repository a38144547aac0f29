// Fuzz target: the slide show file reader, then the promises the player relies on, and a
// round trip of what it read.

#include "publish/slideshowfile.h"

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    SlideShowFile show;
    QString error;
    if (!decodeSlideShow(bytes, show, &error)) {
        if (error.isEmpty() || !show.entries.isEmpty())
            std::abort();
        return 0;
    }
    // Every entry the file names has its 552 bytes in the file; names stay in the folder.
    if (kShowHeaderBytes + qint64(kShowEntryBytes) * show.entries.size() > qint64(size))
        std::abort();
    qint64 thumbs = 0;
    for (int i = 0; i < show.entries.size(); ++i) {
        const ShowEntry &entry = show.entries.at(i);
        for (const QString *name : { &entry.pictureName, &entry.soundName })
            if (packageFileName(*name) != *name)
                std::abort();
        thumbs += entry.thumbnail.size();
        if (slideMilliseconds(show, i) < 1000)
            std::abort();
    }
    if (thumbs > qint64(size) * qint64(show.entries.size() + 1))
        std::abort();
    // What was read writes back into a file with the same pictures and thumbnails.
    SlideShowFile again;
    if (!decodeSlideShow(encodeSlideShow(show), again)
        || again.entries.size() != show.entries.size())
        std::abort();
    for (int i = 0; i < show.entries.size(); ++i) {
        if (again.entries.at(i).thumbnail != show.entries.at(i).thumbnail)
            std::abort();
    }
    return 0;
}
