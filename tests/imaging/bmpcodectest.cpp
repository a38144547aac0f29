#include "picturetestutil.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include "imaging/bmpcodec.h"
#include "imaging/bmpformat.h"
#include "imaging/dibblock.h"
#include "imaging/imagecodes.h"
#include "imaging/picturestate.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// Builds a bitmap file: file header, 40-byte header, table, pixel data.
QByteArray bitmapFile(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
    std::uint32_t clrUsed, const QByteArray &table, const QByteArray &pixels,
    std::uint32_t offBits = 0)
{
    BITMAPINFOHEADER info {};
    info.biSize = 40;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = std::uint16_t(bits);
    info.biCompression = compression;
    info.biClrUsed = clrUsed;
    BITMAPFILEHEADER file {};
    file.bfType = kBitmapSignature;
    file.bfOffBits = offBits != 0 ? offBits : std::uint32_t(14 + 40 + table.size());
    QByteArray bytes(reinterpret_cast<const char *>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char *>(&info), sizeof info);
    return bytes + table + pixels;
}

QByteArray greyTable(int entries)
{
    QByteArray table;
    for (int i = 0; i < entries; ++i)
        table.append(char(i)).append(char(i)).append(char(i)).append('\0');
    return table;
}

class BmpCodec : public ::testing::Test
{
protected:
    QString write(const QByteArray &bytes)
    {
        const QString path = makeTestFolder() + QStringLiteral("/picture.bmp");
        writeFile(path, bytes);
        return path;
    }
    RecordingHost m_host;
};

TEST_F(BmpCodec, DecodesFixturesLikeImageMagick)
{
    for (const char *name :
        { "bmp24", "bmp8", "bmp4", "bmp1", "rle8", "rle4", "core4", "v5header24" }) {
        SCOPED_TRACE(name);
        const QString base = QString::fromLatin1(name);
        const OwnedBlock block(ReadBmpFile(imagingFixture(base + QStringLiteral(".bmp"))));
        ASSERT_TRUE(block);
        const SamplePicture expected = readPnm(imagingFixture(base + QStringLiteral(".ppm")));
        ASSERT_EQ(expected.width, 13);
        EXPECT_EQ(blockPixels(block.handle()), expected);
        const BITMAPINFOHEADER *header = dibHeader(block.handle());
        EXPECT_EQ(header->biSize, 40u);
        EXPECT_EQ(header->biCompression, 0u);
        EXPECT_EQ(header->biSizeImage, dibRowBytes(13, header->biBitCount) * 7);
    }
    EXPECT_TRUE(m_host.messageIds().isEmpty());
}

TEST_F(BmpCodec, CoreHeaderBecomesInfoHeaderWithFourByteEntries)
{
    const OwnedBlock block(ReadBmpFile(imagingFixture(QStringLiteral("core4.bmp"))));
    ASSERT_TRUE(block);
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biClrUsed, 16u);
    for (std::uint32_t i = 0; i < header->biClrUsed; ++i)
        EXPECT_EQ(dibColors(header)[i].rgbReserved, 0);
}

TEST_F(BmpCodec, ColourCountIsLimitedToTheBitDepth)
{
    // 4-bit picture claiming 300 colours: 16 entries are read, the pixels follow them.
    const QByteArray pixels("\x01\x23\x00\x00", 4);
    const QString path = write(bitmapFile(4, 1, 4, 0, 300, greyTable(16), pixels, 0));
    const OwnedBlock block(ReadBmpFile(path));
    ASSERT_TRUE(block);
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    EXPECT_EQ(header->biClrUsed, 16u);
    EXPECT_EQ(dibRow(header, 0)[0], 0x01);
    EXPECT_EQ(dibRow(header, 0)[1], 0x23);
}

TEST_F(BmpCodec, TopDownRowsAreStoredBottomUp)
{
    QByteArray pixels;
    pixels.append("\x01\x02\x03\x00", 4).append("\x04\x05\x06\x00", 4); // top row first
    const OwnedBlock block(ReadBmpFile(write(bitmapFile(1, -2, 24, 0, 0, {}, pixels))));
    ASSERT_TRUE(block);
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    EXPECT_EQ(header->biHeight, 2);
    EXPECT_EQ(dibRow(header, 1)[0], 1); // the top row is the last block row
    EXPECT_EQ(dibRow(header, 0)[0], 4);
}

struct HostileCase {
    const char *name;
    QByteArray bytes;
    BlockHandle result;
};

TEST_F(BmpCodec, RefusesHostileFilesWithTheirCodes)
{
    const QByteArray rowOf8("\x00\x01\x00\x01", 4);
    const QByteArray runPastPadding("\x05\x01\x00\x01", 4); // 5 pixels into a 4-wide row
    const QByteArray deltaPastPicture(
        "\x00\x02\x00\x09\x00\x01", 6); // nine rows up in a 1-row picture
    const std::vector<HostileCase> cases = {
        { "not a bitmap", QByteArray("PK\x03\x04 and more bytes here", 24), kReadWrongKind },
        { "empty file", QByteArray(), kReadWrongKind },
        { "unknown header size", bitmapFile(1, 1, 24, 0, 0, {}, "\0\0\0\0").replace(14, 1, "\x20"),
            kReadFailed },
        { "16 bits", bitmapFile(1, 1, 16, 0, 0, {}, "\0\0\0\0"), kReadFailed },
        { "bit fields", bitmapFile(1, 1, 24, 3, 0, {}, "\0\0\0\0"), kReadFailed },
        { "RLE8 on a 4-bit picture", bitmapFile(4, 1, 4, 1, 0, greyTable(16), rowOf8),
            kReadFailed },
        { "zero width", bitmapFile(0, 1, 24, 0, 0, {}, {}), kReadFailed },
        { "run past the padded row", bitmapFile(3, 1, 8, 1, 2, greyTable(2), runPastPadding),
            kReadFailed },
        { "delta past the picture", bitmapFile(3, 1, 8, 1, 2, greyTable(2), deltaPastPicture),
            kReadFailed },
        { "palette index out of range",
            bitmapFile(3, 1, 8, 0, 2, greyTable(2), QByteArray("\x00\x01\x07\x00", 4)),
            kReadFailed },
        { "truncated pixels", bitmapFile(3, 2, 24, 0, 0, {}, QByteArray(12, '\0')),
            kReadUnreadable },
        { "truncated RLE", bitmapFile(3, 2, 8, 1, 2, greyTable(2), QByteArray("\x03\x01", 2)),
            kReadUnreadable },
        { "pixel offset past the end", bitmapFile(1, 1, 24, 0, 0, {}, "\0\0\0\0", 100000),
            kReadUnreadable },
        { "truncated colour table", bitmapFile(1, 1, 8, 0, 0, greyTable(10), {}), kReadUnreadable },
    };
    for (const HostileCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadBmpFile(write(c.bytes)), c.result);
    }
}

TEST_F(BmpCodec, HugeDimensionsAreRefusedBeforeAllocating)
{
    const QString path = write(bitmapFile(60000, 60000, 24, 0, 0, {}, "\0\0\0\0"));
    EXPECT_EQ(ReadBmpFile(path), kReadFailed);
    EXPECT_EQ(m_host.messageIds(), QList<int> { Message::kOutOfMemory });
}

TEST_F(BmpCodec, MissingFileShowsOpenFailureUnlessQuiet)
{
    const QString missing = makeTestFolder() + QStringLiteral("/missing.bmp");
    EXPECT_EQ(ReadBmpFile(missing), kReadUnreadable);
    ASSERT_EQ(m_host.messageIds(), QList<int> { Message::kOpenFailedBefore });
    EXPECT_TRUE(m_host.shown().first().text.contains(missing));
    EXPECT_EQ(currentPicturePath(), missing);
    m_host.clear();
    {
        const QuietScope quiet;
        EXPECT_EQ(ReadBmpFile(missing), kReadUnreadable);
    }
    EXPECT_TRUE(m_host.messageIds().isEmpty());
    EXPECT_FALSE(quietSwitch());
}

TEST_F(BmpCodec, EscapeStopsReadsAndWrites)
{
    m_host.pressEscapeAtPoll(1);
    EXPECT_EQ(ReadBmpFile(imagingFixture(QStringLiteral("bmp24.bmp"))), kReadUnreadable);
    EXPECT_EQ(ReadBmpFile(imagingFixture(QStringLiteral("rle8.bmp"))), kReadUnreadable);
    m_host.pressEscapeAtPoll(0);
    const OwnedBlock block(ReadBmpFile(imagingFixture(QStringLiteral("bmp24.bmp"))));
    ASSERT_TRUE(block);
    m_host.clear();
    m_host.pressEscapeAtPoll(1);
    EXPECT_EQ(WriteBmpFile(makeTestFolder() + QStringLiteral("/out.bmp"), block.handle()),
        kWriteUnsuitable);
}

TEST_F(BmpCodec, WriteAndReadBackKeepEveryDepth)
{
    for (const char *name : { "bmp24", "bmp8", "bmp4", "bmp1", "rle4" }) {
        SCOPED_TRACE(name);
        const OwnedBlock original(
            ReadBmpFile(imagingFixture(QString::fromLatin1(name) + QStringLiteral(".bmp"))));
        ASSERT_TRUE(original);
        const QString path = makeTestFolder() + QStringLiteral("/copy.bmp");
        ASSERT_EQ(WriteBmpFile(path, original.handle()), kWriteDone);
        const QByteArray bytes = fileBytes(path);
        const BITMAPINFOHEADER *header = dibHeader(original.handle());
        const std::uint32_t colors = header->biBitCount == 24 ? 0 : header->biClrUsed;
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 2), std::uint32_t(bytes.size()));
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 10), 54 + 4 * colors);
        const OwnedBlock copy(ReadBmpFile(path));
        ASSERT_TRUE(copy);
        EXPECT_EQ(blockPixels(copy.handle()), blockPixels(original.handle()));
    }
    EXPECT_EQ(WriteBmpFile(makeTestFolder() + QStringLiteral("/none.bmp"), 0), kWriteUnsuitable);
    EXPECT_EQ(m_host.waitCursorDepth(), 0);
}

TEST_F(BmpCodec, ReportsProgressInTheStatusPane)
{
    const OwnedBlock block(ReadBmpFile(imagingFixture(QStringLiteral("bmp24.bmp"))));
    ASSERT_TRUE(block);
    ASSERT_FALSE(m_host.statusTexts().isEmpty());
    EXPECT_TRUE(m_host.statusTexts().last().endsWith(QStringLiteral("100%")));
    m_host.clear();
    setProgressSwitch(false);
    const OwnedBlock again(ReadBmpFile(imagingFixture(QStringLiteral("bmp24.bmp"))));
    setProgressSwitch(true);
    EXPECT_TRUE(m_host.statusTexts().isEmpty());
}

} // namespace
