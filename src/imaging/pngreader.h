#pragma once

#include "imagecodes.h"

#include <span>

namespace glimmerix
{

// PNG pictures through libpng: every bit depth (16-bit brought to 8), palette, grey and alpha
// (composed on white), interlaced or not. The size limit is checked on the header's dimensions
// before any pixel is inflated.
DecodeResult readPng(std::span<const unsigned char> bytes);

} // namespace glimmerix
