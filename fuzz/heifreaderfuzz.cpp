// Fuzz target: the HEIC and AVIF reader (libheif), the embedded thumbnail or the primary image.

#include "imaging/dibblock.h"
#include "imaging/heifreader.h"
#include "imaging/picturestate.h"

#include <cstdlib>
#include <span>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Small enough that a tiny header announcing a huge picture cannot take minutes of decoding.
    setPictureByteLimit(std::size_t(16) << 20);
    if (size == 0)
        return 0;
    const std::span<const unsigned char> bytes(data, size);
    // The last bit chooses between the embedded thumbnail and the primary image.
    const PictureUse use = (data[size - 1] & 1) != 0 ? PictureUse::Thumbnail : PictureUse::Full;
    const DecodeResult result = readHeif(bytes, use);
    if (isBlockHandle(result.block)) {
        if (result.status != DecodeStatus::Ok || checkedDibHeader(result.block) == nullptr)
            std::abort();
        blockFree(result.block);
    }
    return 0;
}
