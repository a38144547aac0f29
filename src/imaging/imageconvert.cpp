#include "imageconvert.h"

#include "dibblock.h"
#include "imagecodes.h"

#include "platform/host.h"

#include <algorithm>
#include <array>

namespace glimmerix
{

int ClassifyImage(BlockHandle block)
{
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    if (header == nullptr)
        return kClassUnknown;
    switch (header->biBitCount) {
    case 24:
        return kClassTrueColor;
    case 8:
        return dibHasGreyTable(header) ? kClassGrey : kClassPalette8;
    case 4:
        return kClassPalette4;
    case 1:
        return kClassBilevel;
    default:
        return kClassUnknown;
    }
}

BlockHandle ExpandTo24Bit(BlockHandle block)
{
    BITMAPINFOHEADER *source = checkedDibHeader(block);
    if (source == nullptr || source->biBitCount == 24)
        return 0;
    WaitCursor wait;
    const DecodeResult made = createImageBlock(source->biWidth, source->biHeight, 24, 0);
    if (made.status != DecodeStatus::Ok)
        return 0;
    BITMAPINFOHEADER *target = dibHeader(made.block);
    const std::uint32_t sizeImage = target->biSizeImage;
    *target = *source;
    target->biBitCount = 24;
    target->biClrUsed = 0;
    target->biSizeImage = sizeImage;

    // Unused lookup entries stay black, so an index past a short table cannot read beyond it.
    std::array<std::uint8_t, 256> blue {}, green {}, red {};
    const RGBQUAD *table = dibColors(source);
    const std::uint32_t colors = std::min<std::uint32_t>(dibColorCount(*source), 256);
    for (std::uint32_t i = 0; i < colors; ++i) {
        blue[i] = table[i].rgbBlue;
        green[i] = table[i].rgbGreen;
        red[i] = table[i].rgbRed;
    }
    const int bits = source->biBitCount;
    for (std::int64_t y = 0; y < source->biHeight; ++y) {
        const unsigned char *in = dibRow(source, y);
        unsigned char *out = dibRow(target, y);
        for (std::int64_t x = 0; x < source->biWidth; ++x) {
            const unsigned index = dibPixelIndex(in, x, bits);
            *out++ = blue[index];
            *out++ = green[index];
            *out++ = red[index];
        }
    }
    return made.block;
}

} // namespace glimmerix
