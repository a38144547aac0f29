// Fuzz target: the WebP reader (libwebp), stills and the first frame of animations.

#include "imaging/webpreader.h"
#include "stillreaderfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStillReader(data, size, glimmerix::readWebP);
}
