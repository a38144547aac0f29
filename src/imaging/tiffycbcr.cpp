// Colour conversion of the YCbCr 4:2:2 rows that Ricoh cameras store in their TIFF files.

#include "tiffcodec.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace glimmerix
{

namespace
{

// Products of each chroma coefficient with every value -128..127, rounded to the nearest integer.
struct ChromaTables {
    std::array<int, 256> blueFromCb;
    std::array<int, 256> greenFromCb;
    std::array<int, 256> greenFromCr;
    std::array<int, 256> redFromCr;

    ChromaTables()
    {
        for (int i = 0; i < 256; ++i) {
            const double c = i - 128;
            blueFromCb[std::size_t(i)] = int(std::lround(1.772 * c));
            greenFromCb[std::size_t(i)] = int(std::lround(0.34414 * c));
            greenFromCr[std::size_t(i)] = int(std::lround(0.71414 * c));
            redFromCr[std::size_t(i)] = int(std::lround(1.402 * c));
        }
    }
};

unsigned char clampByte(int value)
{
    return static_cast<unsigned char>(std::clamp(value, 0, 255));
}

} // namespace

void convertRicohRow(const unsigned char *source, int width, unsigned char *target)
{
    static const ChromaTables tables;
    for (int x = 0; x < width; ++x) {
        const int group = x / 2;
        const unsigned char *samples = source + std::size_t(group) * 4;
        const int y = samples[x & 1];
        int cb = samples[2];
        int cr = samples[3];
        if ((x & 1) == 0 && group > 0) {
            // The first pixel of a pair sits between its group's chroma and the previous one's.
            cb = (cb + samples[-2]) / 2;
            cr = (cr + samples[-1]) / 2;
        }
        unsigned char *pixel = target + std::size_t(x) * 3;
        pixel[0] = clampByte(y + tables.blueFromCb[std::size_t(cb)]);
        pixel[1] = clampByte(
            y - tables.greenFromCb[std::size_t(cb)] - tables.greenFromCr[std::size_t(cr)]);
        pixel[2] = clampByte(y + tables.redFromCr[std::size_t(cr)]);
    }
}

} // namespace glimmerix
