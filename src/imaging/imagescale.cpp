#include "imagescale.h"

#include "dibblock.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace glimmerix
{

namespace
{

// One source position per destination column (or row): the left sample and its weight in
// eighths; the remaining weight goes to the next sample.
struct Tap {
    std::int64_t index;
    int weight;
};

std::vector<Tap> bilinearTaps(std::int64_t sourceSize, std::int64_t targetSize)
{
    std::vector<Tap> taps(static_cast<std::size_t>(targetSize));
    const long double step = static_cast<long double>(sourceSize) / targetSize;
    long double position = 0;
    for (auto &tap : taps) {
        tap.index = std::min<std::int64_t>(std::int64_t(position), sourceSize - 1);
        tap.weight
            = tap.index < sourceSize - 1 ? int(std::lround((tap.index + 1 - position) * 8)) : 8;
        position += step;
    }
    return taps;
}

void scaleBilinear(BITMAPINFOHEADER *source, BITMAPINFOHEADER *target, int channels)
{
    const std::vector<Tap> columns = bilinearTaps(source->biWidth, target->biWidth);
    const std::vector<Tap> rows = bilinearTaps(source->biHeight, target->biHeight);
    const std::int64_t lastColumn = source->biWidth - 1;
    const std::int64_t lastRow = source->biHeight - 1;
    for (std::int64_t j = 0; j < target->biHeight; ++j) {
        const Tap &rowTap = rows[std::size_t(j)];
        const unsigned char *low = dibRow(source, rowTap.index);
        const unsigned char *high = dibRow(source, std::min(rowTap.index + 1, lastRow));
        const int wy = rowTap.weight;
        unsigned char *out = dibRow(target, j);
        for (const Tap &columnTap : columns) {
            const std::int64_t x0 = columnTap.index * channels;
            const std::int64_t x1 = std::min(columnTap.index + 1, lastColumn) * channels;
            const int wx = columnTap.weight;
            for (int c = 0; c < channels; ++c) {
                const int sum = wy * wx * low[x0 + c] + wy * (8 - wx) * low[x1 + c]
                    + (8 - wy) * wx * high[x0 + c] + (8 - wy) * (8 - wx) * high[x1 + c];
                *out++ = std::uint8_t((sum + 32) / 64);
            }
        }
    }
}

std::int64_t nearest(std::int64_t i, std::int64_t sourceSize, std::int64_t targetSize)
{
    const auto position
        = std::llround(static_cast<double>(i) * double(sourceSize) / double(targetSize));
    return std::min<std::int64_t>(position, sourceSize - 1);
}

void setPixelAt(unsigned char *row, std::int64_t x, int bits, unsigned value)
{
    switch (bits) {
    case 8:
        row[x] = std::uint8_t(value);
        break;
    case 4:
        row[x / 2] = (x % 2 == 0) ? std::uint8_t((row[x / 2] & 0x0F) | (value << 4))
                                  : std::uint8_t((row[x / 2] & 0xF0) | value);
        break;
    default:
        if (value != 0)
            row[x / 8] = std::uint8_t(row[x / 8] | (0x80 >> (x % 8)));
        break;
    }
}

void scaleNearest(BITMAPINFOHEADER *source, BITMAPINFOHEADER *target)
{
    const int bits = source->biBitCount;
    std::vector<std::int64_t> columns(std::size_t(target->biWidth));
    for (std::size_t i = 0; i < columns.size(); ++i)
        columns[i] = nearest(std::int64_t(i), source->biWidth, target->biWidth);
    for (std::int64_t j = 0; j < target->biHeight; ++j) {
        const unsigned char *in = dibRow(source, nearest(j, source->biHeight, target->biHeight));
        unsigned char *out = dibRow(target, j);
        for (std::size_t i = 0; i < columns.size(); ++i)
            setPixelAt(out, std::int64_t(i), bits, dibPixelIndex(in, columns[i], bits));
    }
}

} // namespace

BlockHandle ScaleImage(BlockHandle block, int newWidth, int newHeight, int dotsPerInch)
{
    if (newWidth <= 0 || newHeight <= 0)
        return 0;
    BITMAPINFOHEADER *source = checkedDibHeader(block);
    if (source == nullptr)
        return 0;
    const int bits = source->biBitCount;
    const std::uint32_t colors = bits == 24 ? 0 : dibColorCount(*source);
    const DecodeResult made = createImageBlock(newWidth, newHeight, bits, colors);
    if (made.status != DecodeStatus::Ok)
        return 0;
    BITMAPINFOHEADER *target = dibHeader(made.block);
    const std::uint32_t sizeImage = target->biSizeImage;
    *target = *source;
    target->biWidth = newWidth;
    target->biHeight = newHeight;
    target->biSizeImage = sizeImage;
    target->biClrUsed = colors;
    const std::int32_t resolution = dotsPerInch == 0
        ? source->biXPelsPerMeter
        : std::int32_t(std::lround(dotsPerInch * 39.37007874015747));
    target->biXPelsPerMeter = resolution;
    target->biYPelsPerMeter = resolution;
    std::memcpy(dibColors(target), dibColors(source), colors * sizeof(RGBQUAD));

    if (bits == 24)
        scaleBilinear(source, target, 3);
    else if (dibHasGreyTable(source))
        scaleBilinear(source, target, 1);
    else
        scaleNearest(source, target);
    return made.block;
}

} // namespace glimmerix
