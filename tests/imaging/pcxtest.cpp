#include "codectestsupport.h"

#include "imaging/dib.h"
#include "imaging/othercodecs.h"
#include "imaging/pcxcodec.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

using namespace glimmerix;

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
    OwnedBlock block(decodePcx(file).block);
    ASSERT_TRUE(block);
    EXPECT_EQ(dibHeader(block.handle())->biWidth, 17);
    EXPECT_EQ(blockPicture(block.handle()), readNetpbm(codecFixture(QStringLiteral("mono.pbm"))));
}

QByteArray withU16(QByteArray bytes, qsizetype at, std::uint16_t value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
    return bytes;
}

TEST(PcxReader, RefusesBadAndHostileFilesWithTheirCause)
{
    const QByteArray palette8 = fileBytes(codecFixture(QStringLiteral("pal8.pcx")));
    const QByteArray rgb = fileBytes(codecFixture(QStringLiteral("rgb24.pcx")));
    const QByteArray mono = fileBytes(codecFixture(QStringLiteral("mono17.pcx")));
    const QByteArray planes16 = fileBytes(codecFixture(QStringLiteral("pal16-planes.pcx")));
    QByteArray wrong = palette8;
    wrong[0] = 11;
    QByteArray huge = rgb;
    huge[8] = huge[9] = huge[10] = huge[11] = char(0xFF);
    QByteArray twoPlanes = mono;
    twoPlanes[pcx::kOffsetPlanes] = 2;
    // Lines one byte short of the window's width (widths that are not a multiple of 8).
    const auto widthOf = [](const QByteArray &file) {
        return int(std::uint8_t(file[8]) | std::uint8_t(file[9]) << 8) + 1;
    };
    const auto oneShort = [&](const QByteArray &file) {
        return withU16(file, pcx::kOffsetBytesPerLine, std::uint16_t((widthOf(file) + 7) / 8 - 1));
    };
    ASSERT_NE(widthOf(mono) % 8, 0);
    ASSERT_NE(widthOf(planes16) % 8, 0);

    const struct {
        const char *what;
        QByteArray file;
        DecodeStatus status;
        const char *detail;
    } cases[] = {
        { "no palette trailer", palette8.left(palette8.size() - 769), DecodeStatus::Failed,
            "palette" },
        { "wrong manufacturer", wrong, DecodeStatus::WrongKind, "not a PCX" },
        { "shorter than a header", palette8.left(100), DecodeStatus::WrongKind, "header" },
        { "65536 x 65536 window", huge, DecodeStatus::TooLarge,
            "the picture claims 65536 x 65536 pixels" },
        { "rows run out of data", rgb.left(rgb.size() - 40), DecodeStatus::Failed, "ends" },
        { "two planes of one bit", twoPlanes, DecodeStatus::Unsupported, "2 planes x 1 bits" },
        { "1-bit line one byte short", oneShort(mono), DecodeStatus::Failed, "bytes per line" },
        { "4-plane line one byte short", oneShort(planes16), DecodeStatus::Failed,
            "bytes per line" },
    };
    for (const auto &c : cases) {
        const DecodeResult result = decodePcx(c.file);
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(result.block, 0) << c.what;
        EXPECT_TRUE(result.detail.contains(QLatin1String(c.detail)))
            << c.what << ": " << result.detail.toStdString();
    }
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
    // No trailer: the file is the header and the one encoded row, nothing more.
    std::vector<unsigned char> row(256);
    for (int x = 0; x < 256; ++x)
        row[std::size_t(x)] = std::uint8_t(x);
    QByteArray encoded;
    encodePcxRow(row.data(), row.size(), encoded);
    EXPECT_EQ(b.size(), qsizetype(pcx::kHeaderBytes) + encoded.size());
    OwnedBlock back(ReadPcxFile(path));
    ASSERT_TRUE(back);
    EXPECT_EQ(blockPicture(back.handle()), blockPicture(block.handle()));
    EXPECT_EQ(dibHeader(back.handle())->biClrUsed, 256u);
}

} // namespace
