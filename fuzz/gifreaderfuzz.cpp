// Fuzz target: the GIF reader (Qt's GIF plugin, first frame).

#include "imaging/dibblock.h"
#include "imaging/gifreader.h"
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
    const DecodeResult result = readGif(bytes);
    if (isBlockHandle(result.block)) {
        if (result.status != DecodeStatus::Ok || checkedDibHeader(result.block) == nullptr)
            std::abort();
        blockFree(result.block);
    }
    return 0;
}
