// Fuzz target: the Photo CD reader, every resolution, colour and grey.

#include "imaging/dibblock.h"
#include "imaging/photocd.h"

#include <QBuffer>

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const auto resolution :
        { PhotoCdResolution::Base16, PhotoCdResolution::Base4, PhotoCdResolution::Base }) {
        for (const bool grey : { false, true }) {
            QBuffer device(&bytes);
            device.open(QIODevice::ReadOnly);
            const DecodeResult result = readPhotoCd(device, resolution, grey);
            if (result.status != DecodeStatus::Ok)
                continue;
            if (checkedDibHeader(result.block) == nullptr)
                std::abort();
            blockFree(result.block);
        }
    }
    return 0;
}
