#include "pictureadjust.h"

#include "blockcopy.h"
#include "dibblock.h"
#include "sharpen.h"

#include <algorithm>
#include <vector>

namespace glimmerix
{

namespace
{

// 24-bit and greyscale pictures carry their colours in the pixels; other 8-bit and 4-bit
// pictures in their colour table. 1-bit pictures are left alone.
bool adjustsPixels(BITMAPINFOHEADER *header)
{
    return header->biBitCount == 24 || (header->biBitCount == 8 && dibHasGreyTable(header));
}

bool adjustsTable(BITMAPINFOHEADER *header)
{
    return (header->biBitCount == 8 || header->biBitCount == 4) && !adjustsPixels(header);
}

} // namespace

int effectiveSliderPosition(Adjustment adjustment, int position)
{
    position = std::clamp(position, 0, kSliderMaximum);
    if (adjustment != Adjustment::Sharpness && (position == 127 || position == 129))
        return kSliderNeutral;
    return position;
}

int neutralSliderPosition(Adjustment adjustment)
{
    return adjustment == Adjustment::Sharpness ? 0 : kSliderNeutral;
}

QString sliderValueText(Adjustment adjustment, int position)
{
    const int p = effectiveSliderPosition(adjustment, position);
    // p x 0.390625 and (p - 128) x 0.78125 in exact integers, truncated toward zero.
    const int value = adjustment == Adjustment::Sharpness ? p * 25 / 64 : (p - 128) * 25 / 32;
    return QString::number(value);
}

LevelTable levelTable(int shift, int contrast)
{
    LevelTable table {};
    const int c = contrast;
    for (int i = 0; i < 256; ++i) {
        const int e = i + shift;
        int out;
        if (e < c)
            out = 0;
        else if (e > 255 - c)
            out = 255;
        else // 255 - 2c is odd, so never 0
            out = ((e - c) * 255 + (255 - 2 * c) / 2) / (255 - 2 * c);
        table[std::size_t(i)] = std::uint8_t(std::clamp(out, 0, 255));
    }
    return table;
}

BlockHandle applyLevelTable(BlockHandle block, const LevelTable &table, BlockHandle spare)
{
    OwnedBlock reusable(spare);
    BITMAPINFOHEADER *source = checkedDibHeader(block);
    if (!source)
        return 0;
    if (adjustsTable(source)) {
        const BlockHandle copy = copyImageBlock(block);
        if (copy == 0)
            return 0;
        BITMAPINFOHEADER *header = dibHeader(copy);
        RGBQUAD *colors = dibColors(header);
        for (std::uint32_t i = 0; i < dibColorCount(*header); ++i) {
            colors[i].rgbBlue = table[colors[i].rgbBlue];
            colors[i].rgbGreen = table[colors[i].rgbGreen];
            colors[i].rgbRed = table[colors[i].rgbRed];
        }
        return copy;
    }
    if (!adjustsPixels(source))
        return 0;
    const BlockHandle result
        = blockShapedLike(source, source->biWidth, source->biHeight, reusable.release());
    if (result == 0)
        return 0;
    BITMAPINFOHEADER *target = dibHeader(result);
    const std::size_t used = std::size_t(source->biWidth) * (source->biBitCount / 8);
    for (std::int32_t row = 0; row < source->biHeight; ++row) {
        const unsigned char *in = dibRow(source, row);
        unsigned char *out = dibRow(target, row);
        for (std::size_t i = 0; i < used; ++i)
            out[i] = table[in[i]];
    }
    return result;
}

int saturationPercent(int position)
{
    // p x 0.78125, truncated.
    return effectiveSliderPosition(Adjustment::Saturation, position) * 25 / 32;
}

SaturationTables saturationTables(int percent)
{
    SaturationTables tables {};
    const int b = 100 - percent;
    for (int x = 0; x < 256; ++x) {
        tables.k[std::size_t(x)] = (x * 128 * b + 50) / 100;
        tables.m[std::size_t(x)] = 128 * x - tables.k[std::size_t(x)];
    }
    return tables;
}

void saturateColour(const SaturationTables &tables, std::uint8_t *bgr)
{
    const std::uint8_t largest = std::max({ bgr[0], bgr[1], bgr[2] });
    const std::uint8_t smallest = std::min({ bgr[0], bgr[1], bgr[2] });
    if (largest == smallest)
        return;
    const int shared = tables.k[largest];
    for (int i = 0; i < 3; ++i)
        bgr[i] = std::uint8_t(std::clamp((tables.m[bgr[i]] + shared) / 128, 0, 255));
}

BlockHandle applySaturation(BlockHandle block, int percent, BlockHandle spare)
{
    OwnedBlock reusable(spare);
    BITMAPINFOHEADER *source = checkedDibHeader(block);
    if (!source)
        return 0;
    const SaturationTables tables = saturationTables(percent);
    if (source->biBitCount == 8 || source->biBitCount == 4) {
        const BlockHandle copy = copyImageBlock(block);
        if (copy == 0)
            return 0;
        BITMAPINFOHEADER *header = dibHeader(copy);
        RGBQUAD *colors = dibColors(header);
        for (std::uint32_t i = 0; i < dibColorCount(*header); ++i)
            saturateColour(tables, &colors[i].rgbBlue);
        return copy;
    }
    if (source->biBitCount != 24)
        return 0;
    const BlockHandle result
        = blockShapedLike(source, source->biWidth, source->biHeight, reusable.release());
    if (result == 0)
        return 0;
    BITMAPINFOHEADER *target = dibHeader(result);
    // Every (largest channel, channel) pair looked up at once: 64 KB, which stays in the cache.
    std::vector<std::uint8_t> mixed(256 * 256);
    for (int largest = 0; largest < 256; ++largest) {
        for (int x = 0; x < 256; ++x)
            mixed[std::size_t(largest * 256 + x)] = std::uint8_t(std::clamp(
                (tables.m[std::size_t(x)] + tables.k[std::size_t(largest)]) / 128, 0, 255));
    }
    const std::size_t used = std::size_t(source->biWidth) * 3;
    for (std::int32_t row = 0; row < source->biHeight; ++row) {
        const unsigned char *in = dibRow(source, row);
        unsigned char *out = dibRow(target, row);
        for (std::size_t i = 0; i < used; i += 3) {
            const std::uint8_t b = in[i], g = in[i + 1], r = in[i + 2];
            const std::uint8_t largest = std::max({ b, g, r });
            if (largest == std::min({ b, g, r })) {
                out[i] = b, out[i + 1] = g, out[i + 2] = r;
                continue;
            }
            const std::uint8_t *line = mixed.data() + std::size_t(largest) * 256;
            out[i] = line[b];
            out[i + 1] = line[g];
            out[i + 2] = line[r];
        }
    }
    return result;
}

BlockHandle adjustPicture(BlockHandle block, Adjustment adjustment, int position, BlockHandle spare)
{
    OwnedBlock reusable(spare);
    const int p = effectiveSliderPosition(adjustment, position);
    switch (adjustment) {
    case Adjustment::Brightness:
        return p == kSliderNeutral
            ? 0
            : applyLevelTable(block, levelTable(p - 128, 0), reusable.release());
    case Adjustment::Contrast:
        return p == kSliderNeutral
            ? 0
            : applyLevelTable(block, levelTable(0, p - 128), reusable.release());
    case Adjustment::Saturation:
        return saturationPercent(p) == 100
            ? 0
            : applySaturation(block, saturationPercent(p), reusable.release());
    case Adjustment::Sharpness:
        return p == 0 ? 0 : sharpenPicture(block, sharpenStrength(p), reusable.release());
    }
    return 0;
}

} // namespace glimmerix
