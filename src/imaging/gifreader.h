#pragma once

#include "imagecodes.h"

#include <span>

namespace glimmerix
{

// GIF pictures through Qt's reader: the first frame, transparent pixels on white. The size
// limit is checked on the announced screen size before decoding.
DecodeResult readGif(std::span<const unsigned char> bytes);

} // namespace glimmerix
