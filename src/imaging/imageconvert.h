#pragma once

#include "blockmemory.h"

namespace glimmerix
{

// Classifying image blocks and widening palette pictures.

// 0 unknown or no (valid) block; 1 8-bit greyscale (256 entries, entry i = grey level i);
// 2 24-bit; 3 any other 8-bit; 4 4-bit; 5 1-bit.
int ClassifyImage(BlockHandle block);
// A new 24-bit block with the pixels of an 8-, 4- or 1-bit block mapped through its colour
// table; 0 for other depths or when memory runs out. The source block stays.
BlockHandle ExpandTo24Bit(BlockHandle block);

} // namespace glimmerix
