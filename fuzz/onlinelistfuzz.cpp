// Fuzz target: the online service's image list parser, then what the download dialog relies on:
// no more records than the reply has lines, and every text within its field.

#include "online/onlineprotocol.h"

#include "platform/textlimits.h"

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<RemoteImage> images;
    const ListResult result = parseImageList(reply, images);
    if (result == ListResult::Empty && !images.isEmpty())
        std::abort();
    if (images.size() > reply.count('\n') + 1)
        std::abort();
    for (const RemoteImage &image : images) {
        if (utf8Length(image.filename) >= kRemoteFilenameBytes
            || utf8Length(image.keyword) >= kRemoteKeywordBytes
            || utf8Length(image.caption) >= kRemoteCaptionBytes
            || utf8Length(image.descrip) >= kRemoteDescripBytes)
            std::abort();
        const QString local = localPictureName(image.id, image.filename);
        if (local.contains(QLatin1Char('/')) || local.contains(QLatin1Char('\\')))
            std::abort();
    }
    return 0;
}
