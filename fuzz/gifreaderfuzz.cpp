// Fuzz target: the GIF reader (Qt's GIF plugin, first frame).

#include "imaging/gifreader.h"
#include "stillreaderfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStillReader(data, size, glimmerix::readGif);
}
