#include "codectestsupport.h"

#include "imaging/dib.h"
#include "imaging/othercodecs.h"
#include "imaging/tiffcodec.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

using namespace glimmerix;

namespace
{

struct Sample {
    const char *name;
    int bitCount;
    int colours;
    std::function<Rgb(int)> colour;
    std::function<std::uint32_t(int, int)> pixel;
};

Rgb paletteColour(int i)
{
    return { std::uint8_t(i * 37), std::uint8_t(255 - i), std::uint8_t(i * 11) };
}

// Pictures of every depth the writers store, with odd widths so row padding matters.
std::vector<Sample> samples()
{
    return {
        { "rgb24", 24, 0, nullptr,
            [](int x, int y) { return std::uint32_t(x * 0x0A1B2C + y * 0x310705); } },
        { "palette8", 8, 200, paletteColour,
            [](int x, int y) { return std::uint32_t((x * 7 + y * 3) % 200); } },
        { "grey8", 8, 256, greyEntry,
            [](int x, int y) { return std::uint32_t((x * 19 + y * 5) % 256); } },
        { "palette4", 4, 16, paletteColour,
            [](int x, int y) { return std::uint32_t((x + y * 3) % 16); } },
        { "mono", 1, 2, [](int i) { return greyEntry(i * 255); },
            [](int x, int y) { return std::uint32_t((x ^ y) & 1); } },
        { "monoInverted", 1, 2, [](int i) { return greyEntry(255 - i * 255); },
            [](int x, int y) { return std::uint32_t((x * y) % 3 == 0); } },
    };
}

struct Codec {
    const char *extension;
    BlockHandle (*read)(const QString &);
    int (*write)(const QString &, BlockHandle);
};

const Codec kCodecs[] = { { "tif", ReadTiffFile, WriteTiffFile },
    { "pcx", ReadPcxFile, WritePcxFile }, { "tga", ReadTgaFile, WriteTgaFile } };

// Whether ImageMagick's reading of our file is a fair check. TIFF is checked through libtiff
// instead (ImageMagick scales the colour map's 0xNN00 values to NN - 1). ImageMagick cannot read
// greyscale PCX without the palette trailer, takes set bits of 1-bit PCX as black, and has no
// 1- or 4-bit Targa.
bool imageMagickComparable(const Codec &codec, const Sample &sample)
{
    if (codec.read == ReadTiffFile)
        return false;
    if (codec.read == ReadPcxFile)
        return sample.bitCount != 1 && std::string(sample.name) != "grey8";
    return sample.bitCount != 1 && sample.bitCount != 4;
}

TEST(CodecRoundTrip, EveryDepthReadsBackUnchangedAndTheBlockStaysIntact)
{
    const QString folder = makeTestFolder();
    for (const Codec &codec : kCodecs) {
        for (const Sample &sample : samples()) {
            SCOPED_TRACE(std::string(codec.extension) + " " + sample.name);
            OwnedBlock block(
                makeBlock(13, 5, sample.bitCount, sample.colours, sample.colour, sample.pixel));
            const QByteArray before(static_cast<const char *>(blockLock(block.handle())),
                qsizetype(blockSize(block.handle())));
            const QString path = folder + QLatin1Char('/') + QLatin1String(sample.name)
                + QLatin1Char('.') + QLatin1String(codec.extension);
            ASSERT_EQ(codec.write(path, block.handle()), 1);
            EXPECT_EQ(
                std::memcmp(before.constData(), blockLock(block.handle()), size_t(before.size())),
                0);
            OwnedBlock back(codec.read(path));
            ASSERT_TRUE(back) << "result " << back.handle();
            EXPECT_EQ(blockPicture(back.handle()), blockPicture(block.handle()));
            if (imageMagickComparable(codec, sample) && toolAvailable(QStringLiteral("convert"))) {
                EXPECT_EQ(decodeWithImageMagick(path), blockPicture(block.handle()));
            }
        }
    }
}

TEST(CodecRoundTrip, LibtiffToolsReadOurTiffFiles)
{
    if (!toolAvailable(QStringLiteral("tiff2rgba")) || !toolAvailable(QStringLiteral("tiffinfo")))
        GTEST_SKIP() << "libtiff tools not installed";
    const QString folder = makeTestFolder();
    for (const Sample &sample : samples()) {
        SCOPED_TRACE(sample.name);
        OwnedBlock block(
            makeBlock(13, 5, sample.bitCount, sample.colours, sample.colour, sample.pixel));
        const QString path
            = folder + QLatin1Char('/') + QLatin1String(sample.name) + QStringLiteral(".tif");
        ASSERT_EQ(WriteTiffFile(path, block.handle()), 1);
        QByteArray info;
        EXPECT_TRUE(runTool(QStringLiteral("tiffinfo"), { path }, &info));
        EXPECT_TRUE(info.contains("Tamblyre"));
        const QString rgba = path + QStringLiteral(".rgba.tif");
        ASSERT_TRUE(runTool(QStringLiteral("tiff2rgba"), { path, rgba }));
        EXPECT_EQ(decodeWithImageMagick(rgba), blockPicture(block.handle()));
    }
}

std::uint32_t le16(const QByteArray &b, int at)
{
    return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8;
}
std::uint32_t le32(const QByteArray &b, int at)
{
    return le16(b, at) | le16(b, at + 2) << 16;
}

TEST(TiffWriter, WritesTheFixedLayout)
{
    OwnedBlock block(makeBlock(
        3, 2, 24, 0, nullptr, [](int x, int y) { return std::uint32_t(0x102030 * (x + 1) + y); }));
    const QString path = makeTestFolder() + QStringLiteral("/layout.tif");
    ASSERT_EQ(WriteTiffFile(path, block.handle()), 1);
    const QByteArray b = fileBytes(path);
    ASSERT_EQ(b.size(), 244 + 3 * 3 * 2);
    EXPECT_EQ(b.left(8), QByteArray("II*\0\x08\0\0\0", 8));
    EXPECT_EQ(le16(b, 8), 16u);
    const std::uint32_t tags[]
        = { 256, 257, 258, 259, 262, 269, 273, 277, 278, 279, 282, 283, 284, 296, 317, 263 };
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(le16(b, 10 + 12 * i), tags[i]) << "entry " << i;
    EXPECT_EQ(le32(b, 10 + 12 * 2 + 8), 238u); // bits per sample at 238
    EXPECT_EQ(le32(b, 10 + 12 * 6 + 8), 244u); // pixels after 8, 8, 8
    EXPECT_EQ(le32(b, 10 + 12 * 9 + 8), 18u); // strip byte count
    EXPECT_EQ(le32(b, 10 + 12 * 15 + 4), 0u); // placeholder: LONG, count 0,
    EXPECT_EQ(le32(b, 10 + 12 * 15 + 8), 255u); // value 255
    EXPECT_EQ(le32(b, 202), 0u); // no next directory
    EXPECT_EQ(le32(b, 206), 72u); // 2835 per metre = 72 per inch
    EXPECT_EQ(le32(b, 210), 1u);
    EXPECT_EQ(b.mid(222, 16), QByteArray("Tamblyre\0\0\0\0\0\0\0\0", 16));
    EXPECT_EQ(b.mid(238, 6), QByteArray("\x08\0\x08\0\x08\0", 6));
    // The top picture row first, red green blue.
    EXPECT_EQ(b.mid(244, 3), QByteArray("\x10\x20\x30", 3));
}

TEST(TiffWriter, StoresBilevelAsBlackIsZeroAndPalettesWithAFullMap)
{
    const QString folder = makeTestFolder();
    OwnedBlock mono(makeBlock(
        9, 2, 1, 2, [](int i) { return greyEntry(i * 255); },
        [](int x, int) { return std::uint32_t(x & 1); }));
    ASSERT_EQ(WriteTiffFile(folder + QStringLiteral("/mono.tif"), mono.handle()), 1);
    QByteArray b = fileBytes(folder + QStringLiteral("/mono.tif"));
    EXPECT_EQ(le32(b, 10 + 12 * 4 + 8), 1u); // BlackIsZero
    EXPECT_EQ(le16(b, 10 + 12 * 15), 263u); // placeholder, no colour map
    EXPECT_EQ(le32(b, 10 + 12 * 6 + 8), 238u); // pixels right after the name

    OwnedBlock palette(
        makeBlock(4, 1, 8, 100, paletteColour, [](int x, int) { return std::uint32_t(x * 30); }));
    ASSERT_EQ(WriteTiffFile(folder + QStringLiteral("/pal.tif"), palette.handle()), 1);
    b = fileBytes(folder + QStringLiteral("/pal.tif"));
    EXPECT_EQ(le32(b, 10 + 12 * 4 + 8), 3u);
    EXPECT_EQ(le16(b, 10 + 12 * 15), 320u);
    EXPECT_EQ(le32(b, 10 + 12 * 15 + 4), 768u);
    EXPECT_EQ(le16(b, 238 + 2 * 30), std::uint32_t(paletteColour(30)[0]) << 8); // red
    EXPECT_EQ(le16(b, 238 + 512 + 2 * 30), std::uint32_t(paletteColour(30)[1]) << 8); // green
    EXPECT_EQ(le16(b, 238 + 2 * 150), 0u); // unused
    EXPECT_EQ(le32(b, 10 + 12 * 6 + 8), 238u + 6 * 256);
}

TEST(PictureWriters, ReportUnsuitableBlocksEscapeAndUncreatableFiles)
{
    const QString folder = makeTestFolder();
    for (const Codec &codec : kCodecs) {
        SCOPED_TRACE(codec.extension);
        EXPECT_EQ(
            codec.write(folder + QStringLiteral("/none.") + QLatin1String(codec.extension), 0), 2);
        OwnedBlock block(
            makeBlock(5, 40, 24, 0, nullptr, [](int x, int) { return std::uint32_t(x); }));
        {
            RecordingHost recorder;
            EXPECT_EQ(codec.write(folder + QStringLiteral("/no/such/folder/x.")
                              + QLatin1String(codec.extension),
                          block.handle()),
                3);
            EXPECT_EQ(recorder.messageIds(), QList<int> { 54009 });
        }
        RecordingHost recorder;
        recorder.pressEscapeAtPoll(1);
        const QString path = folder + QStringLiteral("/cancel.") + QLatin1String(codec.extension);
        const int result = codec.write(path, block.handle());
        // PCX reports a cancelled write as failed, the others as "not written".
        EXPECT_EQ(result, codec.write == WritePcxFile ? 0 : 2);
        EXPECT_FALSE(QFile::exists(path));
    }
}

} // namespace
