// Fuzz target: the TIFF reader over arbitrary bytes. Any block it returns is freed again.

#include "imaging/tiffcodec.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const BlockHandle block = decodeTiff(input).block;
    if (isBlockHandle(block))
        blockFree(block);
    return 0;
}
