#pragma once

#include "imagecodes.h"

#include <span>

namespace glimmerix
{

// WebP stills through libwebp (lossy and lossless; the first frame of an animation), alpha
// composed on white. The size limit is checked on the announced dimensions before decoding.
DecodeResult readWebP(std::span<const unsigned char> bytes);

} // namespace glimmerix
