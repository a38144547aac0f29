#include "codectestsupport.h"

#include "imaging/dib.h"
#include "imaging/othercodecs.h"
#include "imaging/targacodec.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

struct TargaFixture {
    const char *file;
    const char *reference;
    int bitCount;
};

class TargaFixtures : public testing::TestWithParam<TargaFixture>
{
};

TEST_P(TargaFixtures, DecodesPixelExactAndUpright)
{
    const TargaFixture &fixture = GetParam();
    OwnedBlock block(ReadTgaFile(codecFixture(QString::fromLatin1(fixture.file))));
    ASSERT_TRUE(block) << "result " << block.handle();
    EXPECT_EQ(dibHeader(block.handle())->biBitCount, fixture.bitCount);
    RgbPicture expected = readNetpbm(codecFixture(QString::fromLatin1(fixture.reference)));
    if (fixture.bitCount == 24 && QByteArray(fixture.file).startsWith("rgb16")) {
        for (Rgb &p : expected.pixels) {
            for (std::uint8_t &v : p)
                v = std::uint8_t((v >> 3) * 8 + (v >> 3) / 4);
        }
    }
    EXPECT_EQ(blockPicture(block.handle()), expected);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TargaFixtures,
    testing::Values(TargaFixture { "rgb24.tga", "rgb.ppm", 24 },
        TargaFixture { "rgb24-top.tga", "rgb.ppm", 24 },
        TargaFixture { "rgb24-rle.tga", "rgb.ppm", 24 },
        TargaFixture { "rgb24-rle-top.tga", "rgb.ppm", 24 },
        TargaFixture { "rgb32.tga", "rgb.ppm", 24 }, TargaFixture { "rgb16.tga", "rgb.ppm", 24 },
        TargaFixture { "rgb16-top.tga", "rgb.ppm", 24 }, TargaFixture { "pal8.tga", "rgb.ppm", 8 },
        TargaFixture { "pal8-rle.tga", "rgb.ppm", 8 }, TargaFixture { "grey.tga", "grey.pgm", 8 },
        TargaFixture { "grey-rle.tga", "grey.pgm", 8 }));

QByteArray targaHeader(int type, int depth, int width, int height, int descriptor = 0)
{
    QByteArray h(18, '\0');
    h[2] = char(type);
    h[12] = char(width);
    h[13] = char(width >> 8);
    h[14] = char(height);
    h[15] = char(height >> 8);
    h[16] = char(depth);
    h[17] = char(descriptor);
    return h;
}

TEST(TargaReader, SixteenBitPixel7FFFIsWhite)
{
    OwnedBlock block(decodeTga(targaHeader(2, 16, 2, 1) + QByteArray("\xFF\x7F\x00\x7C", 4)).block);
    ASSERT_TRUE(block);
    EXPECT_EQ(blockPicture(block.handle()).pixels,
        (std::vector<Rgb> { { 255, 255, 255 }, { 255, 0, 0 } }));
}

TEST(TargaReader, RefusesUnsupportedKindsWithMessage54026)
{
    const struct {
        int type;
        int depth;
    } refused[] = { { 10, 32 }, { 10, 16 }, { 10, 15 }, { 32, 8 }, { 2, 8 }, { 1, 16 } };
    const QString path = makeTestFolder() + QStringLiteral("/kind.tga");
    for (const auto &kind : refused) {
        const QByteArray file = targaHeader(kind.type, kind.depth, 1, 1) + QByteArray(8, '\0');
        RecordingHost recorder;
        // The decoder only names the cause; the reader's entry point shows the message.
        EXPECT_EQ(decodeTga(file).status, DecodeStatus::Unsupported);
        EXPECT_TRUE(recorder.messageIds().isEmpty());
        writeFile(path, file);
        EXPECT_EQ(ReadTgaFile(path), 0);
        EXPECT_EQ(recorder.messageIds(), QList<int> { kMessageUnsupportedTarga })
            << kind.type << "/" << kind.depth;
    }
}

TEST(TargaReader, RefusesShortAndHostileFiles)
{
    RecordingHost recorder;
    EXPECT_EQ(decodeTga(QByteArray(17, '\0')).status, DecodeStatus::WrongKind);
    // 65535 × 65535 pixels claimed by a few bytes, raw and run-length.
    for (int type : { 2, 10 }) {
        const DecodeResult huge
            = decodeTga(targaHeader(type, 24, 0xFFFF, 0xFFFF) + QByteArray(64, '\0'));
        EXPECT_EQ(huge.status, DecodeStatus::TooLarge);
        EXPECT_TRUE(huge.detail.startsWith(QLatin1String("the picture claims 65535 x 65535")));
    }
    // A colour map that claims more entries than the file holds.
    QByteArray map = targaHeader(1, 8, 2, 2);
    map[1] = 1;
    map[5] = char(0xFF);
    map[6] = char(0xFF);
    map[7] = 24;
    EXPECT_EQ(decodeTga(map + QByteArray(30, '\0')).status, DecodeStatus::Failed);
    // Run-length packets that stop before the picture is full.
    const QByteArray rle = fileBytes(codecFixture(QStringLiteral("rgb24-rle.tga")));
    EXPECT_EQ(decodeTga(rle.left(rle.size() - 60)).status, DecodeStatus::Failed);
    EXPECT_TRUE(recorder.messageIds().isEmpty());
}

TEST(TargaWriter, WritesTheHeaderFieldsForEachClass)
{
    const QString folder = makeTestFolder();
    const auto header = [&](int bitCount, int colours, const std::function<Rgb(int)> &colour) {
        OwnedBlock block(makeBlock(3, 2, bitCount, colours, colour, [](int, int) { return 1u; }));
        const QString path = folder + QStringLiteral("/h.tga");
        EXPECT_EQ(WriteTgaFile(path, block.handle()), 1);
        return fileBytes(path);
    };
    const QByteArray palette = header(8, 5, [](int i) { return Rgb { std::uint8_t(i), 2, 3 }; });
    EXPECT_EQ(
        palette.left(18), QByteArray("\0\x01\x01\0\0\x05\0\x18\0\0\0\0\x03\0\x02\0\x08\0", 18));
    EXPECT_EQ(palette.mid(18, 6), QByteArray("\x03\x02\x00\x03\x02\x01", 6)); // blue, green, red
    EXPECT_EQ(palette.size(), 18 + 15 + 6);
    const QByteArray grey = header(8, 256, greyEntry);
    EXPECT_EQ(grey.left(18), QByteArray("\0\0\x03\0\0\0\0\0\0\0\0\0\x03\0\x02\0\x08\0", 18));
    const QByteArray rgb = header(24, 0, nullptr);
    EXPECT_EQ(rgb.left(18), QByteArray("\0\0\x02\0\0\0\0\0\0\0\0\0\x03\0\x02\0\x18\0", 18));
    EXPECT_EQ(rgb.size(), 18 + 3 * 3 * 2);
}

} // namespace

namespace
{

TEST(PictureReaders, EscapeGivesNoPicture)
{
    const struct {
        BlockHandle (*read)(const QString &);
        const char *file;
    } readers[] = { { ReadTiffFile, "rgb-le.tif" }, { ReadTiffFile, "noise-lzw.tif" },
        { ReadTiffFile, "mono-g4.tif" }, { ReadPcxFile, "rgb24.pcx" },
        { ReadTgaFile, "rgb24-rle.tga" } };
    for (const auto &reader : readers) {
        RecordingHost recorder;
        recorder.pressEscapeAtPoll(1);
        EXPECT_EQ(reader.read(codecFixture(QLatin1String(reader.file))), 0) << reader.file;
        EXPECT_GE(recorder.escapePolls(), 1);
    }
}

} // namespace

namespace
{

TEST(TargaReader, FifteenBitPixelsTakeTwoBytes)
{
    // Regression: the raw row length of 15-bit pictures was taken as 15 bits a pixel.
    OwnedBlock block(
        decodeTga(targaHeader(2, 15, 3, 1) + QByteArray("\x1F\x00\xE0\x03\x00\x7C", 6)).block);
    ASSERT_TRUE(block);
    EXPECT_EQ(blockPicture(block.handle()).pixels,
        (std::vector<Rgb> { { 0, 0, 255 }, { 0, 255, 0 }, { 255, 0, 0 } }));
}

} // namespace
