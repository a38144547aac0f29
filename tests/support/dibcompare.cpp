#include "dibcompare.h"

#include "imaging/dibblock.h"

#include <cstring>

namespace glimmerix
{

bool sameDibBytes(BlockHandle a, BlockHandle b)
{
    BITMAPINFOHEADER *ha = checkedDibHeader(a);
    BITMAPINFOHEADER *hb = checkedDibHeader(b);
    if (!ha || !hb)
        return false;
    const std::size_t length = std::size_t(dibBits(ha) - reinterpret_cast<unsigned char *>(ha))
        + dibPixelBytes(ha->biWidth, ha->biHeight, ha->biBitCount);
    return blockSize(a) >= length && blockSize(b) >= length && std::memcmp(ha, hb, length) == 0;
}

} // namespace glimmerix
