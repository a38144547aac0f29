// Fuzz target: the PNG reader (libpng's simplified reading, alpha composed here).

#include "imaging/pngreader.h"
#include "stillreaderfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStillReader(data, size, glimmerix::readPng);
}
