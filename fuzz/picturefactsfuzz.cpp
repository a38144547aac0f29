// Fuzz target: the EXIF, XMP and IPTC reader over arbitrary bytes (any format Exiv2 knows), and
// the bare EXIF block reader the photo thumbnail path uses.

#include "imaging/picturefacts.h"

#include <cstddef>
#include <cstdint>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const PictureFacts facts = readPictureFactsFromBytes(data, size);
    (void)pictureFactLines(facts);
    (void)pictureFactsJson(facts);
    (void)orientationFromExif(data, size);
    return 0;
}
