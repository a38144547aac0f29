#include "picturetestutil.h"

#include "support/recordinghost.h"

#include "imaging/dibblock.h"
#include "imaging/imagecodes.h"
#include "imaging/imageconvert.h"
#include "imaging/imagescale.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

BlockHandle makePaletteBlock(int bits, int width, int height, std::uint32_t colors)
{
    const DecodeResult made = createImageBlock(width, height, bits, colors);
    RGBQUAD *table = dibColors(dibHeader(made.block));
    for (std::uint32_t i = 0; i < colors; ++i)
        table[i] = { std::uint8_t(10 * i), std::uint8_t(20 * i), std::uint8_t(30 * i), 0 };
    return made.block;
}

TEST(ImageConvert, ClassifiesByDepthAndGreyTable)
{
    const OwnedBlock grey(makeIndexedBlock(2, 2, { 0, 1, 2, 3 }, true));
    const OwnedBlock palette(makeIndexedBlock(2, 2, { 0, 1, 2, 3 }, false));
    const OwnedBlock colour(makeRgbBlock(1, 1, { 1, 2, 3 }));
    const OwnedBlock four(makePaletteBlock(4, 3, 3, 16));
    const OwnedBlock one(makePaletteBlock(1, 9, 2, 2));
    const OwnedBlock shortGrey(makePaletteBlock(8, 2, 2, 200));
    EXPECT_EQ(ClassifyImage(grey.handle()), kClassGrey);
    EXPECT_EQ(ClassifyImage(palette.handle()), kClassPalette8);
    EXPECT_EQ(ClassifyImage(colour.handle()), kClassTrueColor);
    EXPECT_EQ(ClassifyImage(four.handle()), kClassPalette4);
    EXPECT_EQ(ClassifyImage(one.handle()), kClassBilevel);
    EXPECT_EQ(ClassifyImage(shortGrey.handle()), kClassPalette8);
    EXPECT_EQ(ClassifyImage(0), kClassUnknown);
    EXPECT_EQ(ClassifyImage(-2), kClassUnknown);
    // A header that claims more rows than the block holds is not a picture.
    dibHeader(colour.handle())->biHeight = 100000;
    EXPECT_EQ(ClassifyImage(colour.handle()), kClassUnknown);
}

TEST(ImageConvert, ExpandsEveryPaletteDepth)
{
    RecordingHost host;
    for (const int bits : { 1, 4, 8 }) {
        SCOPED_TRACE(bits);
        const std::uint32_t colors = 1u << bits;
        const OwnedBlock source(makePaletteBlock(bits, 11, 3, colors));
        BITMAPINFOHEADER *header = dibHeader(source.handle());
        header->biXPelsPerMeter = 2835;
        // Pixel (x, y) takes index (x + y) mod colours.
        for (int y = 0; y < 3; ++y) {
            unsigned char *row = dibRow(header, y);
            for (int x = 0; x < 11; ++x) {
                const unsigned index = unsigned(x + y) % colors;
                if (bits == 8)
                    row[x] = std::uint8_t(index);
                else if (bits == 4)
                    row[x / 2] = std::uint8_t(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
                else
                    row[x / 8] = std::uint8_t(row[x / 8] | (index << (7 - x % 8)));
            }
        }
        const OwnedBlock wide(ExpandTo24Bit(source.handle()));
        ASSERT_TRUE(wide);
        BITMAPINFOHEADER *out = dibHeader(wide.handle());
        EXPECT_EQ(out->biBitCount, 24);
        EXPECT_EQ(out->biClrUsed, 0u);
        EXPECT_EQ(out->biSizeImage, 36u * 3);
        EXPECT_EQ(out->biXPelsPerMeter, 2835);
        EXPECT_EQ(blockPixels(wide.handle()), blockPixels(source.handle()));
    }
    const OwnedBlock colour(makeRgbBlock(1, 1, { 1, 2, 3 }));
    EXPECT_EQ(ExpandTo24Bit(colour.handle()), 0);
    EXPECT_EQ(host.waitCursorDepth(), 0);
}

TEST(ImageScale, TwoPixelsToFourFollowTheEighthsRule)
{
    const OwnedBlock source(makeRgbBlock(2, 1, { 0, 0, 0, 255, 255, 255 }));
    const OwnedBlock scaled(ScaleImage(source.handle(), 4, 1, 0));
    ASSERT_TRUE(scaled);
    const SamplePicture pixels = blockPixels(scaled.handle());
    const std::vector<std::uint8_t> expected
        = { 0, 0, 0, 128, 128, 128, 255, 255, 255, 255, 255, 255 };
    EXPECT_EQ(pixels.samples, expected);
}

TEST(ImageScale, GreyIsInterpolatedAndPaletteTakesTheNearestPixel)
{
    const OwnedBlock grey(makeIndexedBlock(2, 1, { 0, 255 }, true));
    const OwnedBlock greyScaled(ScaleImage(grey.handle(), 4, 1, 0));
    EXPECT_EQ(blockPixels(greyScaled.handle(), true).samples,
        (std::vector<std::uint8_t> { 0, 128, 255, 255 }));

    const OwnedBlock palette(makeIndexedBlock(2, 1, { 0, 255 }, false));
    const OwnedBlock paletteScaled(ScaleImage(palette.handle(), 4, 1, 0));
    BITMAPINFOHEADER *header = dibHeader(paletteScaled.handle());
    // Columns round(0), round(0.5) = 1, round(1) = 1, round(1.5) = 2 -> limited to 1.
    const unsigned char *row = dibRow(header, 0);
    EXPECT_EQ((std::vector<int> { row[0], row[1], row[2], row[3] }),
        (std::vector<int> { 0, 255, 255, 255 }));
    EXPECT_EQ(header->biClrUsed, 256u);

    // 1-bit: most significant bit first; shrinking 8 columns to 4 takes every other one.
    const OwnedBlock bits(makePaletteBlock(1, 8, 1, 2));
    dibRow(dibHeader(bits.handle()), 0)[0] = 0b10110010;
    const OwnedBlock bitsScaled(ScaleImage(bits.handle(), 4, 1, 0));
    EXPECT_EQ(dibRow(dibHeader(bitsScaled.handle()), 0)[0], 0b11010000);
}

TEST(ImageScale, ResolutionRuleAndRefusals)
{
    const OwnedBlock source(makeRgbBlock(3, 3, std::vector<std::uint8_t>(27, 7)));
    dibHeader(source.handle())->biXPelsPerMeter = 1000;
    dibHeader(source.handle())->biYPelsPerMeter = 2000;
    const OwnedBlock keep(ScaleImage(source.handle(), 5, 2, 0));
    EXPECT_EQ(dibHeader(keep.handle())->biXPelsPerMeter, 1000);
    EXPECT_EQ(dibHeader(keep.handle())->biYPelsPerMeter, 1000);
    EXPECT_EQ(dibHeader(keep.handle())->biSizeImage, 16u * 2);
    const OwnedBlock at72(ScaleImage(source.handle(), 1, 1, 72));
    EXPECT_EQ(dibHeader(at72.handle())->biXPelsPerMeter, 2835);
    EXPECT_EQ(dibHeader(at72.handle())->biYPelsPerMeter, 2835);
    EXPECT_EQ(ScaleImage(source.handle(), 0, 5, 0), 0);
    EXPECT_EQ(ScaleImage(source.handle(), 5, -1, 0), 0);
    EXPECT_EQ(ScaleImage(0, 5, 5, 0), 0);
}

} // namespace
