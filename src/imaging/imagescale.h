#pragma once

#include "blockmemory.h"

namespace glimmerix
{

// Resizing image blocks.

// A new block of `newWidth` x `newHeight` with the source's bit depth, header and colour table.
// 24-bit and greyscale pictures are interpolated bilinearly with weights in eighths; palette
// pictures take the nearest pixel. Resolution: round(`dotsPerInch` x 39.37...) pixels per metre
// in both directions, or for 0 the source's horizontal resolution in both. Returns 0 for no
// block, sizes of 0 or less, depths other than 1, 4, 8 and 24, or no memory.
BlockHandle ScaleImage(BlockHandle block, int newWidth, int newHeight, int dotsPerInch);

} // namespace glimmerix
