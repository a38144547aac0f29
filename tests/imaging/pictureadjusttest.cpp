// The picture window's adjustments as plain functions over image blocks.

#include "picturetestutil.h"

#include "support/dibcompare.h"

#include "imaging/blockcopy.h"
#include "imaging/dibblock.h"
#include "imaging/imagegeometry.h"
#include "imaging/pictureadjust.h"
#include "imaging/sharpen.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace glimmerix;

namespace
{

// A 24-bit picture one pixel high whose grey pixels have the given levels.
BlockHandle greyLevels(const std::vector<std::uint8_t> &levels)
{
    std::vector<std::uint8_t> rgb;
    for (std::uint8_t level : levels)
        rgb.insert(rgb.end(), { level, level, level });
    return makeRgbBlock(int(levels.size()), 1, rgb);
}

// A picture of `bits` bits, 3 x 2, with a small colour table (entry i = a colour of its own).
BlockHandle palettePicture(int bits)
{
    const int colors = 1 << bits;
    const DecodeResult made = createImageBlock(3, 2, bits, std::uint32_t(colors));
    BITMAPINFOHEADER *header = dibHeader(made.block);
    header->biXPelsPerMeter = 2835;
    header->biYPelsPerMeter = 1417;
    RGBQUAD *table = dibColors(header);
    for (int i = 0; i < colors; ++i)
        table[i] = { std::uint8_t(40 + i), std::uint8_t(100 + i), std::uint8_t(200 - i), 0 };
    // Row bytes: 1-bit 0b101..., 4-bit nibbles 1 2 3, 8-bit 1 2 3; the other row differs.
    for (int row = 0; row < 2; ++row) {
        unsigned char *line = dibRow(header, row);
        if (bits == 1)
            line[0] = row == 0 ? 0xA0 : 0x40;
        else if (bits == 4)
            line[0] = row == 0 ? 0x12 : 0x21, line[1] = row == 0 ? 0x30 : 0x00;
        else
            line[0] = 1, line[1] = std::uint8_t(2 + row), line[2] = 3;
    }
    return made.block;
}

std::vector<std::uint8_t> redChannel(BlockHandle block)
{
    const SamplePicture pixels = blockPixels(block);
    std::vector<std::uint8_t> red;
    for (std::size_t i = 0; i < pixels.samples.size(); i += 3)
        red.push_back(pixels.samples[i]);
    return red;
}

// The documented examples of the three level adjustments, through the slider positions.
TEST(PictureAdjust, LevelExamplesAtTheirSliderPositions)
{
    struct Case {
        const char *name;
        Adjustment adjustment;
        int position;
        std::vector<std::uint8_t> in;
        std::vector<std::uint8_t> out;
    };
    const Case cases[] = {
        { "brightness +100", Adjustment::Brightness, 228, { 200, 100, 0, 155 },
            { 255, 200, 100, 255 } },
        { "brightness -100", Adjustment::Brightness, 28, { 50, 100, 255, 150 }, { 0, 0, 155, 50 } },
        { "contrast +64", Adjustment::Contrast, 192, { 63, 64, 128, 191, 255 },
            { 0, 0, 129, 255, 255 } },
        { "contrast -128 squeezes", Adjustment::Contrast, 0, { 0, 255, 128 }, { 64, 191, 128 } },
        { "contrast +128 splits", Adjustment::Contrast, 256, { 127, 128, 0, 255 },
            { 0, 255, 0, 255 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        OwnedBlock source(greyLevels(c.in));
        OwnedBlock preview(adjustPicture(source.handle(), c.adjustment, c.position));
        ASSERT_TRUE(preview);
        EXPECT_EQ(redChannel(preview.handle()), c.out);
        EXPECT_EQ(redChannel(source.handle()), c.in); // the source stays
        // The window hands the last preview back; its memory is filled again.
        const BlockHandle previous = preview.handle();
        OwnedBlock again(
            adjustPicture(source.handle(), c.adjustment, c.position, preview.release()));
        EXPECT_EQ(again.handle(), previous);
        EXPECT_EQ(redChannel(again.handle()), c.out);
    }
}

// 127 and 129 count as the neutral 128 for the centred tools; sharpness is neutral at 0 only.
TEST(PictureAdjust, NeutralPositionsGiveNoPreviewAndZeroText)
{
    OwnedBlock source(greyLevels({ 10, 128, 240 }));
    for (Adjustment a : { Adjustment::Brightness, Adjustment::Contrast, Adjustment::Saturation }) {
        for (int p : { 127, 128, 129 }) {
            EXPECT_EQ(adjustPicture(source.handle(), a, p), 0) << p;
            EXPECT_EQ(sliderValueText(a, p), "0") << p;
        }
        EXPECT_EQ(neutralSliderPosition(a), 128);
    }
    EXPECT_EQ(adjustPicture(source.handle(), Adjustment::Sharpness, 0), 0);
    EXPECT_EQ(neutralSliderPosition(Adjustment::Sharpness), 0);

    struct Text {
        Adjustment adjustment;
        int position;
        const char *text;
    };
    const Text texts[]
        = { { Adjustment::Brightness, 256, "100" }, { Adjustment::Contrast, 0, "-100" },
              { Adjustment::Saturation, 1, "-99" }, { Adjustment::Brightness, 130, "1" },
              { Adjustment::Sharpness, 256, "100" }, { Adjustment::Sharpness, 129, "50" } };
    for (const Text &t : texts)
        EXPECT_EQ(sliderValueText(t.adjustment, t.position), t.text) << t.position;
}

TEST(PictureAdjust, SaturationMovesChannelsAgainstTheLargest)
{
    struct Case {
        int position;
        std::vector<std::uint8_t> in; // RGB
        std::vector<std::uint8_t> out;
    };
    const Case cases[] = {
        { 0, { 200, 100, 50, 90, 90, 90 }, { 200, 200, 200, 90, 90, 90 } }, // grey of the largest
        { 256, { 200, 100, 50, 90, 90, 90 }, { 200, 0, 0, 90, 90, 90 } }, // 2x - M, limited
        { 64, { 200, 100, 50, 0, 0, 255 }, { 200, 150, 125, 127, 127, 255 } }, // halfway
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.position);
        OwnedBlock source(makeRgbBlock(2, 1, c.in));
        OwnedBlock preview(adjustPicture(source.handle(), Adjustment::Saturation, c.position));
        ASSERT_TRUE(preview);
        EXPECT_EQ(blockPixels(preview.handle()).samples, c.out);
    }
}

// The shares are x * 128 * (100 - percent) / 100 plus one half, truncated toward zero. A finished
// pixel cannot show the rounding (the largest channel's share and the channel's own share move
// together), so the tables are checked themselves.
TEST(PictureAdjust, SaturationSharesAreRounded)
{
    struct Case {
        int percent;
        int x;
        int k; // x * 128 * (100 - percent) mod 100 at or above 50 rounds up
    };
    const Case cases[] = {
        { 99, 2, 3 }, // 2.56
        { 61, 1, 50 }, // 49.92
        { 61, 3, 150 }, // 149.76
        { 50, 200, 12800 }, // exact
        { 99, 1, 1 }, // 1.28 stays
        { 133, 1, -41 }, // -42.24 + 0.5, toward zero
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << "% x " << c.x);
        const SaturationTables tables = saturationTables(c.percent);
        EXPECT_EQ(tables.k[std::size_t(c.x)], c.k);
        EXPECT_EQ(tables.m[std::size_t(c.x)], 128 * c.x - c.k);
    }
}

TEST(PictureAdjust, SharpnessStrengthsFlatAreasAndAnEdge)
{
    // A bright pixel in the middle of a dark 3 x 3 square, at full strength (a = 384).
    std::vector<std::uint8_t> rgb(27, 100);
    rgb[12] = rgb[13] = rgb[14] = 200;
    OwnedBlock spot(makeRgbBlock(3, 3, rgb));
    OwnedBlock sharp(sharpenPicture(spot.handle(), sharpenStrength(256)));
    ASSERT_TRUE(sharp);
    const std::vector<std::uint8_t> red = redChannel(sharp.handle());
    EXPECT_EQ(red[4], 255); // 200 + T(200 - 111), limited
    EXPECT_EQ(red[0], 62); // 100 + T(100 - 111) = 100 - 38
    EXPECT_EQ(red[1], 62);

    // Strength 0 leaves every pixel; a flat area stays flat at any strength.
    OwnedBlock same(sharpenPicture(spot.handle(), 0));
    EXPECT_EQ(blockPixels(same.handle()), blockPixels(spot.handle()));
    OwnedBlock flat(makeRgbBlock(4, 5, std::vector<std::uint8_t>(60, 77)));
    for (int strength : { 1, 150, 384 }) {
        OwnedBlock out(sharpenPicture(flat.handle(), strength));
        EXPECT_EQ(blockPixels(out.handle()), blockPixels(flat.handle())) << strength;
    }
    // One-pixel pictures and single rows and columns repeat their border.
    for (QSize size : { QSize(1, 1), QSize(1, 4), QSize(4, 1) }) {
        OwnedBlock thin(makeRgbBlock(size.width(), size.height(),
            std::vector<std::uint8_t>(std::size_t(size.width() * size.height() * 3), 9)));
        OwnedBlock out(sharpenPicture(thin.handle(), 384));
        EXPECT_EQ(blockPixels(out.handle()), blockPixels(thin.handle()));
    }
    const std::array<int, 511> table = sharpenDifferenceTable(150);
    EXPECT_EQ(table[255 + 1], 2); // (50 + 150) / 100
    EXPECT_EQ(table[255 - 1], 0); // -((50 + 0) / 100)
    EXPECT_EQ(table[255 - 255], -381); // -((50 + 254 x 150) / 100)
}

// Which depths each adjustment changes, and where: pixels or colour table.
TEST(PictureAdjust, EveryToolOnEveryDepth)
{
    struct Case {
        const char *name;
        BlockHandle (*make)();
        bool levelsWork; // brightness, contrast and saturation give a preview
        bool levelsChangeTable; // ... by changing the colour table, not the pixels
        bool sharpens;
    };
    const Case cases[] = {
        { "1-bit", [] { return palettePicture(1); }, false, false, false },
        { "4-bit", [] { return palettePicture(4); }, true, true, false },
        { "8-bit palette", [] { return palettePicture(8); }, true, true, false },
        { "8-bit grey",
            [] {
                return makeIndexedBlock(2, 2, { 0, 60, 120, 250 }, true);
            },
            true, false, false },
        { "24-bit",
            [] {
                return makeRgbBlock(2, 1, { 10, 20, 30, 200, 100, 50 });
            },
            true, false, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        OwnedBlock source(c.make());
        BITMAPINFOHEADER *header = dibHeader(source.handle());
        const std::size_t tableBytes = dibColorCount(*header) * sizeof(RGBQUAD);
        for (Adjustment a : { Adjustment::Brightness, Adjustment::Contrast }) {
            OwnedBlock preview(adjustPicture(source.handle(), a, 200));
            ASSERT_EQ(bool(preview), c.levelsWork);
            if (!preview)
                continue;
            BITMAPINFOHEADER *out = dibHeader(preview.handle());
            EXPECT_EQ(out->biBitCount, header->biBitCount);
            const bool tableSame = std::memcmp(dibColors(out), dibColors(header), tableBytes) == 0;
            const bool pixelsSame
                = std::memcmp(dibBits(out), dibBits(header),
                      dibPixelBytes(header->biWidth, header->biHeight, header->biBitCount))
                == 0;
            EXPECT_EQ(tableSame, !c.levelsChangeTable);
            EXPECT_EQ(pixelsSame, c.levelsChangeTable);
        }
        OwnedBlock saturated(adjustPicture(source.handle(), Adjustment::Saturation, 0));
        EXPECT_EQ(bool(saturated), c.levelsWork);
        OwnedBlock sharp(adjustPicture(source.handle(), Adjustment::Sharpness, 200));
        EXPECT_EQ(bool(sharp), c.sharpens);
    }
}

TEST(PictureGeometry, CropKeepsDepthTableAndResolution)
{
    for (int bits : { 1, 4, 8 }) {
        SCOPED_TRACE(bits);
        OwnedBlock source(palettePicture(bits));
        const SamplePicture all = blockPixels(source.handle());
        OwnedBlock cut(cropPicture(source.handle(), QRect(1, 0, 2, 2)));
        ASSERT_TRUE(cut);
        BITMAPINFOHEADER *header = dibHeader(cut.handle());
        EXPECT_EQ(header->biBitCount, bits);
        EXPECT_EQ(header->biXPelsPerMeter, 2835);
        EXPECT_EQ(header->biYPelsPerMeter, 1417);
        const SamplePicture part = blockPixels(cut.handle());
        ASSERT_EQ(part.width, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                for (int ch = 0; ch < 3; ++ch)
                    EXPECT_EQ(part.samples[std::size_t((y * 2 + x) * 3 + ch)],
                        all.samples[std::size_t((y * 3 + x + 1) * 3 + ch)]);
    }
    OwnedBlock rgb(makeRgbBlock(3, 2, { 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6 }));
    OwnedBlock corner(cropPicture(rgb.handle(), QRect(2, 1, 1, 1)));
    EXPECT_EQ(blockPixels(corner.handle()).samples, (std::vector<std::uint8_t> { 6, 6, 6 }));
    // Areas reaching outside the picture, or empty, are refused.
    for (QRect outside :
        { QRect(2, 1, 2, 1), QRect(-1, 0, 2, 2), QRect(0, 0, 0, 1), QRect(0, 2, 1, 1) })
        EXPECT_EQ(cropPicture(rgb.handle(), outside), 0) << outside.x() << outside.y();
}

TEST(PictureGeometry, QuarterTurnsAreExactAndFreeTurnsFitTheirBox)
{
    for (int bits : { 1, 4, 8, 24 }) {
        SCOPED_TRACE(bits);
        OwnedBlock source(bits == 24
                ? makeRgbBlock(3, 2, { 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6 })
                : palettePicture(bits));
        dibHeader(source.handle())->biXPelsPerMeter = 2835;
        dibHeader(source.handle())->biYPelsPerMeter = 1417;
        const SamplePicture seen = blockPixels(source.handle());
        OwnedBlock right(rotatePicture(source.handle(), 90));
        ASSERT_TRUE(right);
        const SamplePicture turned = blockPixels(right.handle());
        ASSERT_EQ(turned.width, 2);
        ASSERT_EQ(turned.height, 3);
        // Clockwise: the bottom-left pixel comes to the top left, the top left to the top right.
        auto pixel = [](const SamplePicture &p, int x, int y) {
            return std::vector<std::uint8_t>(p.samples.begin() + (y * p.width + x) * 3,
                p.samples.begin() + (y * p.width + x) * 3 + 3);
        };
        EXPECT_EQ(pixel(turned, 0, 0), pixel(seen, 0, 1));
        EXPECT_EQ(pixel(turned, 1, 0), pixel(seen, 0, 0));
        EXPECT_EQ(pixel(turned, 1, 2), pixel(seen, 2, 0));
        EXPECT_EQ(dibHeader(right.handle())->biXPelsPerMeter, 1417);

        OwnedBlock back(rotatePicture(right.handle(), -90));
        EXPECT_TRUE(sameDibBytes(back.handle(), source.handle()));
        OwnedBlock around(rotatePicture(source.handle(), 720));
        EXPECT_TRUE(sameDibBytes(around.handle(), source.handle()));

        OwnedBlock slanted(rotatePicture(source.handle(), 30));
        ASSERT_TRUE(slanted);
        EXPECT_EQ(dibHeader(slanted.handle())->biWidth, 4); // 3 cos 30 + 2 sin 30 = 3.6
        EXPECT_EQ(dibHeader(slanted.handle())->biHeight, 3); // 3 sin 30 + 2 cos 30 = 3.2
    }
    // A single pixel turns into a single pixel at any angle.
    OwnedBlock dot(makeRgbBlock(1, 1, { 9, 8, 7 }));
    for (double degrees : { 45.0, 90.0, 1e-3, -33.3 }) {
        OwnedBlock out(rotatePicture(dot.handle(), degrees));
        EXPECT_EQ(blockPixels(out.handle()).samples, (std::vector<std::uint8_t> { 9, 8, 7 }));
    }
    EXPECT_EQ(rotatePicture(0, 90), 0);
}

TEST(PictureGeometry, CopiesAreByteForByte)
{
    OwnedBlock source(palettePicture(4));
    OwnedBlock copy(copyImageBlock(source.handle()));
    EXPECT_TRUE(sameDibBytes(copy.handle(), source.handle()));
    EXPECT_EQ(copyImageBlock(-1), 0);
}

} // namespace
