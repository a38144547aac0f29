// Fuzz target: the JPEG reader wrapper (libjpeg with our error exit and block filling).

#include "imaging/dibblock.h"
#include "imaging/jpegcodec.h"
#include "imaging/picturestate.h"

#include <cstdio>
#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Small enough that a tiny header announcing a huge picture cannot take minutes of decoding.
    setPictureByteLimit(std::size_t(16) << 20);
    if (size == 0)
        return 0;
    std::FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "rb");
    if (file == nullptr)
        return 0;
    const DecodeResult result = readJpeg(file, true);
    std::fclose(file);
    if (isBlockHandle(result.block)) {
        if (checkedDibHeader(result.block) == nullptr)
            std::abort();
        blockFree(result.block);
    }
    return 0;
}
