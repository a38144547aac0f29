#pragma once

#include "imagecodes.h"

#include <span>

namespace glimmerix
{

// JPEG XL pictures through libjxl: the first frame, upright as the file's orientation says,
// alpha composed on white. The size limit is checked on the basic information before any pixel
// is decoded.
DecodeResult readJpegXl(std::span<const unsigned char> bytes);

} // namespace glimmerix
