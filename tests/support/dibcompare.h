#pragma once

#include "imaging/blockmemory.h"

namespace glimmerix
{

// Whether two picture blocks hold the same header, colour table and pixels, byte for byte.
bool sameDibBytes(BlockHandle a, BlockHandle b);

} // namespace glimmerix
