#pragma once

#include "blockmemory.h"

#include <array>

namespace glimmerix
{

// Sharpening by an unsharp mask over a 3 x 3 box.

// Strength 0..384 for a slider position 0..256.
int sharpenStrength(int position);
// The amount added to a channel that differs by d (-255..255) from its blurred value, at index
// d + 255.
std::array<int, 511> sharpenDifferenceTable(int strength);
// A copy of a 24-bit `block` with each channel x becoming x + T(x - y), y its 3 x 3 box blur (the
// border pixels repeated), limited to 0..255. 0 for other depths or when memory runs out. A
// `spare` block (taken over) may be filled instead of new memory (see blockShapedLike).
BlockHandle sharpenPicture(BlockHandle block, int strength, BlockHandle spare = 0);

} // namespace glimmerix
