// Fuzz target: the Windows bitmap reader, then the operations every caller runs on its blocks.

#include "imaging/bmpcodec.h"
#include "imaging/dibblock.h"
#include "imaging/imageconvert.h"
#include "imaging/imagescale.h"
#include "imaging/picturestate.h"

#include <QBuffer>

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setPictureByteLimit(std::size_t(64) << 20);
    QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const DecodeResult result = readBmp(device, true);
    if (result.status != DecodeStatus::Ok)
        return 0;
    // A block handed out must describe itself correctly.
    if (checkedDibHeader(result.block) == nullptr)
        std::abort();
    const OwnedBlock block(result.block);
    ClassifyImage(block.handle());
    const OwnedBlock wide(ExpandTo24Bit(block.handle()));
    const OwnedBlock scaled(ScaleImage(block.handle(), 7, 5, 0));
    return 0;
}
