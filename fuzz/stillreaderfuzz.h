#pragma once

// The body every fuzz target of a still-picture reader shares: read the bytes with a small
// picture limit and check that a block comes back only with Ok and a sound bitmap header.

#include "imaging/dibblock.h"
#include "imaging/imagecodes.h"
#include "imaging/picturestate.h"

#include <cstdint>
#include <cstdlib>
#include <span>

inline int fuzzStillReader(const uint8_t *data, size_t size,
    glimmerix::DecodeResult (*read)(std::span<const unsigned char> bytes))
{
    using namespace glimmerix;
    // Small enough that a tiny header announcing a huge picture cannot take minutes of decoding.
    setPictureByteLimit(std::size_t(16) << 20);
    if (size == 0)
        return 0;
    const DecodeResult result = read(std::span<const unsigned char>(data, size));
    if (isBlockHandle(result.block)) {
        if (result.status != DecodeStatus::Ok || checkedDibHeader(result.block) == nullptr)
            std::abort();
        blockFree(result.block);
    }
    return 0;
}
