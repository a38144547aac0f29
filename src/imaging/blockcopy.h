#pragma once

#include "dib.h"

#include <cstdint>

namespace glimmerix
{

// Copies of image blocks for the picture tools.

// A byte-for-byte copy of a valid image block (header, table and pixels; the spare bytes after
// the pixels are not copied); 0 for an invalid block or when memory runs out.
BlockHandle copyImageBlock(BlockHandle block);

// A new zero-filled block of `width` x `height` with `source`'s depth, colour table, resolution
// and biClrImportant; 0 when the size is refused or memory runs out. A `spare` block (taken
// over) of exactly that shape is filled in instead of a new one, its pixels left as they are, so
// a preview made again and again does not pay for fresh memory each time; any other spare is
// freed.
BlockHandle blockShapedLike(
    const BITMAPINFOHEADER *source, std::int32_t width, std::int32_t height, BlockHandle spare = 0);

} // namespace glimmerix
