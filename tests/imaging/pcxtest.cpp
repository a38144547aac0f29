#include "codectestsupport.h"

#include "imaging/dib.h"
#include "imaging/othercodecs.h"
#include "imaging/pcxcodec.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

namespace
{

struct PcxFixture {
    const char *file;
    const char *reference;
    int bitCount;
};

class PcxFixtures : public testing::TestWithParam<PcxFixture>
{
};

TEST_P(PcxFixtures, DecodesPixelExact)
{
    const PcxFixture &fixture = GetParam();
    OwnedBlock block(ReadPcxFile(codecFixture(QString::fromLatin1(fixture.file))));
    ASSERT_TRUE(block) << "result " << block.handle();
    EXPECT_EQ(dibHeader(block.handle())->biBitCount, fixture.bitCount);
    EXPECT_EQ(blockPicture(block.handle()),
        readNetpbm(codecFixture(QString::fromLatin1(fixture.reference))));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PcxFixtures,
    testing::Values(PcxFixture { "mono17.pcx", "mono.pbm", 1 },
        PcxFixture { "pal16-planes.pcx", "pal16.ppm", 4 }, PcxFixture { "pal8.pcx", "rgb.ppm", 8 },
        PcxFixture { "grey.pcx", "grey.pgm", 8 }, PcxFixture { "rgb24.pcx", "rgb.ppm", 24 }));

TEST(PcxReader, OneBitIsBlackAndWhiteWhateverTheHeaderPalette)
{
    QByteArray file = fileBytes(codecFixture(QStringLiteral("mono17.pcx")));
    for (qsizetype i = pcx::kOffsetPalette; i < qsizetype(pcx::kOffsetPalette + 6); ++i)
        file[i] = char(0x55);
    OwnedBlock block(decodePcx(file));
    ASSERT_TRUE(block);
    EXPECT_EQ(dibHeader(block.handle())->biWidth, 17);
    EXPECT_EQ(blockPicture(block.handle()), readNetpbm(codecFixture(QStringLiteral("mono.pbm"))));
}

TEST(PcxReader, RefusesBadAndHostileFiles)
{
    const QByteArray palette8 = fileBytes(codecFixture(QStringLiteral("pal8.pcx")));
    // A 256-colour file without its palette trailer.
    EXPECT_EQ(decodePcx(palette8.left(palette8.size() - 769)), 0);
    // Not a PCX: wrong manufacturer byte, or shorter than a header.
    QByteArray wrong = palette8;
    wrong[0] = 11;
    EXPECT_EQ(decodePcx(wrong), -1);
    EXPECT_EQ(decodePcx(palette8.left(100)), -1);
    // A window of 65536 × 65536 pixels from a tiny body.
    QByteArray huge = fileBytes(codecFixture(QStringLiteral("rgb24.pcx")));
    huge[8] = huge[9] = huge[10] = huge[11] = char(0xFF);
    EXPECT_EQ(decodePcx(huge), 0);
    // Rows that run out of data before the picture is full.
    const QByteArray rgb = fileBytes(codecFixture(QStringLiteral("rgb24.pcx")));
    EXPECT_EQ(decodePcx(rgb.left(rgb.size() - 40)), 0);
    // Two planes of one bit is not a layout the reader knows.
    QByteArray planes = fileBytes(codecFixture(QStringLiteral("mono17.pcx")));
    planes[pcx::kOffsetPlanes] = 2;
    EXPECT_EQ(decodePcx(planes), 0);
}

TEST(PcxWriter, EncodesRunsAsDescribed)
{
    const unsigned char row[] = { 7, 7, 7, 200, 5, 192, 192 };
    QByteArray out;
    encodePcxRow(row, sizeof row, out);
    EXPECT_EQ(out, QByteArray("\xC3\x07\xC1\xC8\x05\xC2\xC0", 7));
    const std::vector<unsigned char> long_(70, 9);
    out.clear();
    encodePcxRow(long_.data(), long_.size(), out);
    EXPECT_EQ(out, QByteArray("\xFF\x09\xC7\x09", 4));
}

TEST(PcxWriter, WritesGreyscaleWithPaletteInfoTwoAndNoTrailer)
{
    OwnedBlock block(
        makeBlock(256, 1, 8, 256, greyEntry, [](int x, int) { return std::uint32_t(x); }));
    block.data()[sizeof(BITMAPINFOHEADER) - 16 + 4] = 0; // resolution 0 per metre
    const QString path = makeTestFolder() + QStringLiteral("/grey.pcx");
    ASSERT_EQ(WritePcxFile(path, block.handle()), 1);
    const QByteArray b = fileBytes(path);
    EXPECT_EQ(std::uint8_t(b[pcx::kOffsetPaletteInfo]), 2);
    EXPECT_EQ(std::uint8_t(b[pcx::kOffsetBitsPerPixel]), 8);
    EXPECT_EQ(std::uint8_t(b[pcx::kOffsetPlanes]), 1);
    EXPECT_NE(std::uint8_t(b[b.size() - 769]), pcx::kPaletteMarker);
    OwnedBlock back(ReadPcxFile(path));
    ASSERT_TRUE(back);
    EXPECT_EQ(blockPicture(back.handle()), blockPicture(block.handle()));
    EXPECT_EQ(dibHeader(back.handle())->biClrUsed, 256u);
}

} // namespace
