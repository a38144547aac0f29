// Fuzz target: the camera RAW reader (LibRaw behind our size checks, preview and decode paths).

#include "imaging/dibblock.h"
#include "imaging/picturestate.h"
#include "imaging/rawreader.h"

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Small enough that a tiny header announcing a huge sensor cannot take minutes of decoding.
    setPictureByteLimit(std::size_t(16) << 20);
    for (const PictureUse use : { PictureUse::Thumbnail, PictureUse::Full }) {
        const DecodeResult result = decodeCameraRaw({ data, size }, use);
        if (isBlockHandle(result.block)) {
            if (result.status != DecodeStatus::Ok || checkedDibHeader(result.block) == nullptr)
                std::abort();
            blockFree(result.block);
        }
    }
    return 0;
}
