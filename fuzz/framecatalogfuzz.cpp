// Fuzz target: the frame catalog reader the postcard wizard runs on the template folders' and
// the CD's catalogs, then what the wizard relies on: every frame's data inside the file.

#include "publish/framecatalog.h"

#include <QBuffer>

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    QString error;
    const std::optional<FrameCatalog> catalog = readFrameCatalog(device, &error);
    if (!catalog) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    for (const CatalogFrame &frame : catalog->frames) {
        if (frame.frameOffset < 0 || frame.frameSize < 0
            || frame.frameOffset + frame.frameSize > qint64(size))
            std::abort();
        if (frame.smallWindow.isEmpty() || frame.largeWindow.isEmpty())
            std::abort();
        (void)catalogDisplayName(*catalog, QStringLiteral("FRENCH"));
    }
    return 0;
}
