#include "sharpen.h"

#include "blockcopy.h"
#include "dibblock.h"

#include <algorithm>
#include <vector>

namespace glimmerix
{

namespace
{

// (s + 1) div 3 for every sum of three channel values.
struct ThirdTable {
    std::array<std::uint8_t, 766> values {};
    ThirdTable()
    {
        for (std::size_t s = 0; s < values.size(); ++s)
            values[s] = std::uint8_t((s + 1) / 3);
    }
};

const ThirdTable &thirds()
{
    static const ThirdTable table;
    return table;
}

// Blurs one row of 24-bit pixels along the row, repeating the border pixels.
void blurRow(const unsigned char *in, unsigned char *out, std::size_t width)
{
    const auto &third = thirds().values;
    const std::size_t used = width * 3;
    if (width == 1) {
        std::copy_n(in, 3, out);
        return;
    }
    for (std::size_t c = 0; c < 3; ++c) {
        out[c] = third[2 * in[c] + in[c + 3]];
        out[used - 3 + c] = third[in[used - 6 + c] + 2 * in[used - 3 + c]];
    }
    for (std::size_t i = 3; i < used - 3; ++i)
        out[i] = third[in[i - 3] + in[i] + in[i + 3]];
}

} // namespace

int sharpenStrength(int position)
{
    // p x 1.5, truncated.
    return std::clamp(position, 0, 256) * 3 / 2;
}

std::array<int, 511> sharpenDifferenceTable(int strength)
{
    std::array<int, 511> table {};
    for (int d = -255; d <= 255; ++d)
        table[std::size_t(d + 255)]
            = d >= 0 ? (50 + d * strength) / 100 : -((50 + (-d - 1) * strength) / 100);
    return table;
}

BlockHandle sharpenPicture(BlockHandle block, int strength, BlockHandle spare)
{
    OwnedBlock reusable(spare);
    BITMAPINFOHEADER *source = checkedDibHeader(block);
    if (!source || source->biBitCount != 24)
        return 0;
    const BlockHandle result
        = blockShapedLike(source, source->biWidth, source->biHeight, reusable.release());
    if (result == 0)
        return 0;
    BITMAPINFOHEADER *target = dibHeader(result);
    // The sharpened value for every channel value x and sum s of three row-blurred values (the
    // blurred value is (s + 1) div 3): 196 KB, which stays in the cache.
    const std::array<int, 511> difference = sharpenDifferenceTable(strength);
    const auto &third = thirds().values;
    constexpr std::size_t kSums = 766;
    std::vector<std::uint8_t> sharpened(256 * kSums);
    for (int x = 0; x < 256; ++x) {
        for (std::size_t sum = 0; sum < kSums; ++sum)
            sharpened[std::size_t(x) * kSums + sum] = std::uint8_t(
                std::clamp(x + difference[std::size_t(x - third[sum] + 255)], 0, 255));
    }
    const std::size_t width = std::size_t(source->biWidth);
    const std::int32_t height = source->biHeight;
    const std::size_t used = width * 3;

    // The rows blurred along themselves, three at a time: the rows above, at and below the one
    // being written (the border rows repeated), so the column pass reads from the cache.
    std::vector<unsigned char> rows(used * 3);
    auto rowBlur = [&](std::int32_t row) { return rows.data() + std::size_t(row % 3) * used; };
    blurRow(dibRow(source, 0), rowBlur(0), width);
    if (height > 1)
        blurRow(dibRow(source, 1), rowBlur(1), width);
    for (std::int32_t row = 0; row < height; ++row) {
        if (row >= 1 && row + 1 < height)
            blurRow(dibRow(source, row + 1), rowBlur(row + 1), width);
        const unsigned char *below = rowBlur(std::max(row - 1, 0));
        const unsigned char *here = rowBlur(row);
        const unsigned char *above = rowBlur(std::min(row + 1, height - 1));
        const unsigned char *in = dibRow(source, row);
        unsigned char *out = dibRow(target, row);
        for (std::size_t i = 0; i < used; ++i) {
            out[i] = sharpened[std::size_t(in[i]) * kSums + below[i] + here[i] + above[i]];
        }
    }
    return result;
}

} // namespace glimmerix
