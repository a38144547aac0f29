#include "codectestsupport.h"

#include "imaging/dib.h"
#include "imaging/othercodecs.h"
#include "imaging/tiffcodec.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace glimmerix;

namespace
{

struct TiffFixture {
    const char *file;
    const char *reference;
    int bitCount;
};

class TiffFixtures : public testing::TestWithParam<TiffFixture>
{
};

TEST_P(TiffFixtures, DecodesPixelExact)
{
    const TiffFixture &fixture = GetParam();
    OwnedBlock block(ReadTiffFile(codecFixture(QString::fromLatin1(fixture.file))));
    ASSERT_TRUE(block) << "result " << block.handle();
    EXPECT_EQ(dibHeader(block.handle())->biBitCount, fixture.bitCount);
    EXPECT_EQ(blockPicture(block.handle()),
        readNetpbm(codecFixture(QString::fromLatin1(fixture.reference))));
}

INSTANTIATE_TEST_SUITE_P(MadeByLibtiffAndImageMagick, TiffFixtures,
    testing::Values(TiffFixture { "rgb-le.tif", "rgb.ppm", 24 },
        TiffFixture { "rgb-be.tif", "rgb.ppm", 24 }, TiffFixture { "pal8-le.tif", "rgb.ppm", 8 },
        TiffFixture { "pal8-be.tif", "rgb.ppm", 8 }, TiffFixture { "pal4.tif", "pal16.ppm", 4 },
        TiffFixture { "grey.tif", "grey.pgm", 8 }, TiffFixture { "mono-white.tif", "mono.pbm", 1 },
        TiffFixture { "mono-black.tif", "mono.pbm", 1 },
        TiffFixture { "rgb-lzw.tif", "rgb.ppm", 24 },
        TiffFixture { "rgb-lzw-pred.tif", "rgb.ppm", 24 },
        TiffFixture { "grey-lzw-pred.tif", "grey.pgm", 8 },
        TiffFixture { "rgb-strips.tif", "rgb.ppm", 24 },
        TiffFixture { "rgb-lzw-strips-be.tif", "rgb.ppm", 24 },
        TiffFixture { "noise-lzw.tif", "noise.ppm", 24 },
        TiffFixture { "mono-g4.tif", "mono.pbm", 1 }));

TEST(TiffReader, HandsGroup4ToLibtiffAndRefusesPackBits)
{
    EXPECT_TRUE(needsLibtiff(readTiffOwn(codecFixture(QStringLiteral("mono-g4.tif")))));
    EXPECT_EQ(ReadTiffFile(codecFixture(QStringLiteral("rgb-packbits.tif"))), 0);
}

TEST(TiffReader, MissingFileGivesMinusTwoWithTheOpenMessage)
{
    RecordingHost recorder;
    EXPECT_EQ(ReadTiffFile(makeTestFolder() + QStringLiteral("/none.tif")), -2);
    EXPECT_EQ(recorder.messageIds(), QList<int> { 54013 });
}

// A little-endian TIFF built field by field: values that do not fit in an entry go after the
// directory, the pixel bytes last (StripOffsets is filled in when `pixels` is not empty).
struct Field {
    std::uint16_t tag;
    std::uint16_t type;
    std::vector<std::uint32_t> values;
};

QByteArray buildTiff(std::vector<Field> fields, const QByteArray &pixels)
{
    const auto size = [](std::uint16_t type) {
        return type == 3 ? 2 : type == 5 ? 8 : type == 4 ? 4 : 1;
    };
    const std::uint32_t directoryEnd = 8 + 2 + 12 * std::uint32_t(fields.size()) + 4;
    QByteArray extra;
    QByteArray out("II*\0\x08\0\0\0", 8);
    const auto put16
        = [](QByteArray &b, std::uint32_t v) { b.append(char(v)).append(char(v >> 8)); };
    const auto put32 = [&](QByteArray &b, std::uint32_t v) {
        put16(b, v & 0xFFFF);
        put16(b, v >> 16);
    };
    std::uint32_t extraBytes = 0;
    for (const Field &f : fields) {
        const int count = f.type == 5 ? int(f.values.size()) / 2 : int(f.values.size());
        if (size(f.type) * count > 4)
            extraBytes += std::uint32_t(size(f.type) * count);
    }
    const std::uint32_t pixelOffset = directoryEnd + extraBytes;
    put16(out, std::uint16_t(fields.size()));
    for (Field &f : fields) {
        if (f.tag == kTagStripOffsets && !pixels.isEmpty())
            f.values = { pixelOffset };
        const int count = f.type == 5 ? int(f.values.size()) / 2 : int(f.values.size());
        put16(out, f.tag);
        put16(out, f.type);
        put32(out, std::uint32_t(count));
        QByteArray values;
        for (std::uint32_t v : f.values) {
            if (size(f.type) == 2)
                put16(values, v);
            else if (size(f.type) == 1)
                values.append(char(v));
            else
                put32(values, v);
        }
        if (values.size() <= 4) {
            out.append(values.leftJustified(4, '\0'));
        } else {
            put32(out, directoryEnd + std::uint32_t(extra.size()));
            extra.append(values);
        }
    }
    put32(out, 0);
    return out + extra + pixels;
}

std::vector<Field> greyFields(std::uint32_t width, std::uint32_t height)
{
    return { { 256, 4, { width } }, { 257, 4, { height } }, { 258, 3, { 8 } }, { 262, 3, { 1 } },
        { 273, 4, { 0 } }, { 279, 4, { width * height } } };
}

BlockHandle decodeBuilt(const std::vector<Field> &fields, const QByteArray &pixels)
{
    return decodeTiff(buildTiff(fields, pixels)).block;
}

TEST(TiffReader, TakesAtMostTwentySixDirectoryEntries)
{
    std::vector<Field> fields = greyFields(2, 2);
    while (fields.size() < 26)
        fields.push_back({ std::uint16_t(40000 + fields.size()), 3, { 0 } });
    OwnedBlock accepted(decodeBuilt(fields, QByteArray("\x01\x02\x03\x04", 4)));
    EXPECT_TRUE(accepted);
    fields.push_back({ 41000, 3, { 0 } });
    EXPECT_EQ(decodeBuilt(fields, QByteArray("\x01\x02\x03\x04", 4)), 0);
}

TEST(TiffReader, ConvertsCentimetreResolutionAndKeepsGreyRamp)
{
    std::vector<Field> fields = greyFields(3, 1);
    fields.push_back({ 282, 5, { 118, 1 } });
    fields.push_back({ 283, 5, { 236, 2 } });
    fields.push_back({ 296, 3, { 3 } });
    OwnedBlock block(decodeBuilt(fields, QByteArray("\x00\x80\xff", 3)));
    ASSERT_TRUE(block);
    const BITMAPINFOHEADER *header = dibHeader(block.handle());
    EXPECT_EQ(header->biXPelsPerMeter, 11811); // 118 per cm = 300 per inch
    EXPECT_EQ(header->biYPelsPerMeter, 11811);
    EXPECT_EQ(header->biClrUsed, 256u);
    EXPECT_EQ(blockPicture(block.handle()).pixels[1], (Rgb { 0x80, 0x80, 0x80 }));
}

TEST(TiffReader, RefusesHostileDirectoriesWithoutAllocating)
{
    // Strip data past the end of the file.
    std::vector<Field> pastEnd = greyFields(4, 4);
    pastEnd[4].values = { 100000 };
    EXPECT_EQ(decodeBuilt(pastEnd, {}), 0);
    // Width × height far beyond what the file could hold (and beyond 32 bits).
    std::vector<Field> huge = greyFields(0xFFFFFFF0u, 0xFFFFFFF0u);
    EXPECT_EQ(decodeBuilt(huge, QByteArray(16, '\0')), 0);
    // A palette picture whose colour map count points far outside the file.
    std::vector<Field> lyingMap = greyFields(2, 2);
    lyingMap[3].values = { 3 };
    lyingMap.push_back({ 320, 3, std::vector<std::uint32_t>(768, 0xFF00) });
    QByteArray file = buildTiff(lyingMap, QByteArray(4, '\0'));
    file.truncate(file.size() - 1200);
    EXPECT_EQ(decodeTiff(file).block, 0);
    // Not a TIFF at all.
    EXPECT_EQ(decodeTiff(QByteArray("GIF89a and more")).block, 0);
}

TEST(TiffReader, RefusesLzwCodesBeyondTheTable)
{
    std::vector<Field> fields = greyFields(4, 1);
    fields.push_back({ 259, 3, { 5 } });
    // 9-bit codes: clear (256), 'A' (65), then 300 while the next free entry is 258.
    const QByteArray bad("\x80\x10\x65\x80", 4);
    EXPECT_EQ(decodeBuilt(fields, bad), 0);
    // Clear, 'A', 258 (defined on the fly: "AA"), end (257): decodes to A A A.
    const QByteArray good("\x80\x10\x60\x50\x10", 5);
    std::vector<Field> three = greyFields(3, 1);
    three[5].values = { 5 };
    three.push_back({ 259, 3, { 5 } });
    OwnedBlock block(decodeBuilt(three, good));
    ASSERT_TRUE(block);
    EXPECT_EQ(blockPicture(block.handle()).pixels, std::vector<Rgb>(3, Rgb { 65, 65, 65 }));
}

// Reference conversion of one Ricoh row, straight from the YCbCr equations.
std::vector<Rgb> ricohReference(const unsigned char *row, int width)
{
    std::vector<Rgb> out;
    const auto clamp = [](double v) { return std::uint8_t(std::clamp<long>(v, 0, 255)); };
    for (int x = 0; x < width; ++x) {
        const unsigned char *g = row + 4 * (x / 2);
        double cb = g[2];
        double cr = g[3];
        if (x % 2 == 0 && x > 0) {
            cb = std::floor((g[2] + g[-2]) / 2);
            cr = std::floor((g[3] + g[-1]) / 2);
        }
        const double y = g[x % 2];
        out.push_back({ clamp(y + std::lround(1.402 * (cr - 128))),
            clamp(y - std::lround(0.34414 * (cb - 128)) - std::lround(0.71414 * (cr - 128))),
            clamp(y + std::lround(1.772 * (cb - 128))) });
    }
    return out;
}

TEST(TiffReader, ConvertsEveryRowOfARicohPictureOfWidth642)
{
    const QByteArray file = fileBytes(codecFixture(QStringLiteral("ricoh642.tif")));
    OwnedBlock block(decodeTiff(file).block);
    ASSERT_TRUE(block);
    const RgbPicture picture = blockPicture(block.handle());
    ASSERT_EQ(picture.width, 642);
    const int rowBytes = 642 * 2;
    const auto *samples
        = reinterpret_cast<const unsigned char *>(file.constData() + file.size() - 3 * rowBytes);
    for (int y = 0; y < 3; ++y) {
        const std::vector<Rgb> expected = ricohReference(samples + y * rowBytes, 642);
        const std::vector<Rgb> row(
            picture.pixels.begin() + y * 642, picture.pixels.begin() + (y + 1) * 642);
        EXPECT_EQ(row, expected) << "row " << y;
    }
}

} // namespace

namespace
{

TEST(TiffReader, LibtiffRefusesCorruptGroup4Data)
{
    // 0x00 bytes make libtiff fail the strip; 0x08 bytes make it report bad code words but still
    // hand out the (garbage) rows.
    for (const char fill : { '\x00', '\x08' }) {
        QByteArray file = fileBytes(codecFixture(QStringLiteral("mono-g4.tif")));
        for (int i = 8; i < 50; ++i)
            file[i] = fill;
        const QString path = makeTestFolder() + QStringLiteral("/corrupt-g4.tif");
        writeFile(path, file);
        OwnedBlock block(ReadTiffFile(path));
        EXPECT_EQ(block.handle(), 0) << int(fill);
    }
}

} // namespace
