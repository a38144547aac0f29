// Fuzz target: the JPEG XL reader (libjxl, rows stored through a callback).

#include "imaging/jxlreader.h"
#include "stillreaderfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStillReader(data, size, glimmerix::readJpegXl);
}
