#include "albumtesthelpers.h"

#include "core/messageids.h"
#include "imaging/dib.h"
#include "platform/paths.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace glimmerix;

namespace
{

// A hand-made image block: header, `colors` table entries (biClrUsed = `clrUsed`), and rows
// filled by `pixel(x, y)` (y from the bottom) returning the raw value for the bit depth.
template<typename Pixel>
BlockHandle handPicture(int width, int height, int bits, const std::vector<RGBQUAD> &colors,
    std::uint32_t clrUsed, Pixel pixel)
{
    const std::size_t row = dibRowBytes(width, bits);
    const BlockHandle block = blockAlloc(0, 40 + colors.size() * 4 + row * std::size_t(height));
    auto *header = dibHeader(block);
    header->biSize = 40;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = std::uint16_t(bits);
    header->biClrUsed = clrUsed;
    header->biXPelsPerMeter = 3780;
    header->biYPelsPerMeter = 2835;
    if (!colors.empty())
        std::memcpy(dibColors(header), colors.data(), colors.size() * 4);
    auto *data = reinterpret_cast<unsigned char *>(dibColors(header)) + colors.size() * 4;
    for (int y = 0; y < height; ++y) {
        unsigned char *line = data + std::size_t(y) * row;
        for (int x = 0; x < width; ++x) {
            const unsigned value = pixel(x, y);
            switch (bits) {
            case 24:
                line[3 * x] = std::uint8_t(value);
                line[3 * x + 1] = std::uint8_t(value >> 8);
                line[3 * x + 2] = std::uint8_t(value >> 16);
                break;
            case 8:
                line[x] = std::uint8_t(value);
                break;
            case 4:
                line[x / 2] |= std::uint8_t(x % 2 == 0 ? value << 4 : value);
                break;
            case 1:
                line[x / 8] |= std::uint8_t(value << (7 - x % 8));
                break;
            }
        }
    }
    return block;
}

// Blue, green, red of thumbnail pixel (x, y), y from the bottom.
unsigned thumbPixel(BlockHandle thumbnail, int x, int y)
{
    const auto *info = static_cast<const ItemInfo *>(blockLock(thumbnail));
    const auto *bits = reinterpret_cast<const unsigned char *>(info + 1) + 40;
    const unsigned char *p
        = bits + std::size_t(y) * dibRowBytes(info->thumbWidth, 24) + 3 * std::size_t(x);
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

std::vector<RGBQUAD> palette(int count)
{
    std::vector<RGBQUAD> colors(std::size_t(count), RGBQUAD {});
    for (int i = 0; i < count; ++i)
        colors[std::size_t(i)]
            = { std::uint8_t(i), std::uint8_t(100 + i), std::uint8_t(200 - i), 0 };
    return colors;
}

unsigned paletteValue(int index)
{
    return unsigned(index) | unsigned(100 + index) << 8 | unsigned(200 - index) << 16;
}

} // namespace

TEST(Thumbnail, SizesFollowTheLongerSide)
{
    const struct {
        int w, h, tw, th;
        std::uint32_t dataSize;
    } cases[] = {
        { 1600, 1200, 80, 60, 40 + 240 * 60 },
        { 1200, 1600, 60, 80, 40 + 180 * 80 },
        { 81, 1, 80, 1, 40 + 240 },
        { 8000, 10, 80, 1, 40 + 240 },
        { 10, 8000, 1, 80, 40 + 4 * 80 },
        { 64, 48, 64, 48, 9256 },
        { 25, 25, 25, 25, 40 + 76 * 25 },
        { 100, 100, 80, 80, 40 + 240 * 80 },
        { 119, 80, 80, 54, 40 + 240 * 54 },
    };
    for (const auto &c : cases) {
        const ThumbnailSize size = thumbnailSize(c.w, c.h);
        EXPECT_EQ(size.width, c.tw) << c.w << "x" << c.h;
        EXPECT_EQ(size.height, c.th) << c.w << "x" << c.h;
        EXPECT_EQ(thumbnailDataSize(size), c.dataSize) << c.w << "x" << c.h;
    }
}

TEST(Thumbnail, RecordCarriesTheFileFactsAndHeader)
{
    const QString path = joinPath(makeTestFolder(), QStringLiteral("photo.jpg"));
    writeFile(path, 777);
    OwnedBlock picture(handPicture(64, 48, 24, {}, 0, [](int, int) { return 0x010203u; }));
    OwnedBlock thumbnail(makeThumbnail(picture.handle(), path));
    ASSERT_TRUE(thumbnail);
    EXPECT_GE(thumbnail.size(), 9256u + 1060u + 10u);
    const auto *info = reinterpret_cast<const ItemInfo *>(thumbnail.data());
    EXPECT_EQ(info->fileSize, 777u);
    EXPECT_EQ(qint64(info->fileTime), QFileInfo(path).lastModified().toSecsSinceEpoch());
    EXPECT_EQ(fixedText(info->path), path);
    EXPECT_EQ(info->isMedia, 0);
    EXPECT_EQ(info->sourceWidth, 64);
    EXPECT_EQ(info->sourceHeight, 48);
    EXPECT_EQ(info->sourceBitDepth, 24);
    EXPECT_EQ(info->dataSize, 9256u);
    EXPECT_EQ(info->pathIsRelative, 0);
    const auto *header = reinterpret_cast<const BITMAPINFOHEADER *>(info + 1);
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, 64);
    EXPECT_EQ(header->biHeight, 48);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biSizeImage, 9216u);
    EXPECT_EQ(header->biXPelsPerMeter, 3780);
    EXPECT_EQ(header->biYPelsPerMeter, 2835);
    EXPECT_EQ(thumbPixel(thumbnail.handle(), 63, 47), 0x010203u);

    OwnedBlock media(makeThumbnail(picture.handle(), QStringLiteral("/x/clip.avi")));
    EXPECT_EQ(reinterpret_cast<const ItemInfo *>(media.data())->isMedia, 1);
}

TEST(Thumbnail, SamplesNearestNeighbourAtEveryDepth)
{
    // 24-bit, scaled by 2: output (x, y) is source (2x, 2y).
    OwnedBlock wide(handPicture(
        160, 120, 24, {}, 0, [](int x, int y) { return unsigned(x) | unsigned(y) << 8; }));
    OwnedBlock thumb(makeThumbnail(wide.handle(), QStringLiteral("/s/a.bmp")));
    for (int y : { 0, 1, 30, 59 })
        for (int x : { 0, 1, 41, 79 })
            EXPECT_EQ(thumbPixel(thumb.handle(), x, y), unsigned(2 * x) | unsigned(2 * y) << 8);

    // 25 x 25 from 24-bit: rows of 75 bytes and one zero pad byte.
    OwnedBlock square(handPicture(25, 25, 24, {}, 0, [](int, int) { return 0xFFFFFFu; }));
    OwnedBlock small(makeThumbnail(square.handle(), QStringLiteral("/s/b.bmp")));
    const auto *bits = small.data() + 1060 + 40;
    EXPECT_EQ(bits[74], 0xFF);
    EXPECT_EQ(bits[75], 0);
    EXPECT_EQ(bits[76], 0xFF);

    // 8-bit with a full table; 4-bit high half for even columns; 1-bit most significant first.
    OwnedBlock eight(
        handPicture(5, 2, 8, palette(256), 0, [](int x, int y) { return unsigned(x + 10 * y); }));
    OwnedBlock four(
        handPicture(5, 1, 4, palette(16), 16, [](int x, int) { return unsigned(15 - x); }));
    OwnedBlock one(handPicture(
        10, 1, 1, palette(2), 2, [](int x, int) { return x == 0 || x == 2 || x == 9 ? 1u : 0u; }));
    OwnedBlock t8(makeThumbnail(eight.handle(), QStringLiteral("/s/8.bmp")));
    OwnedBlock t4(makeThumbnail(four.handle(), QStringLiteral("/s/4.bmp")));
    OwnedBlock t1(makeThumbnail(one.handle(), QStringLiteral("/s/1.bmp")));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(thumbPixel(t8.handle(), x, 1), paletteValue(x + 10));
        EXPECT_EQ(thumbPixel(t4.handle(), x, 0), paletteValue(15 - x));
    }
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(thumbPixel(t1.handle(), x, 0), paletteValue(x == 0 || x == 2 || x == 9 ? 1 : 0))
            << x;
    EXPECT_EQ(reinterpret_cast<const ItemInfo *>(t1.data())->sourceBitDepth, 1);
}

TEST(Thumbnail, ShortColourTablesAndMalformedPicturesAreSafe)
{
    // Two colours used, pixel values 1, 2 (exactly the colour count) and 7: the last two are
    // drawn black instead of reading past the table.
    const unsigned values[] = { 1u, 2u, 7u };
    OwnedBlock shortTable(
        handPicture(3, 1, 8, palette(2), 2, [&values](int x, int) { return values[x]; }));
    OwnedBlock thumb(makeThumbnail(shortTable.handle(), QStringLiteral("/s/p.bmp")));
    EXPECT_EQ(thumbPixel(thumb.handle(), 0, 0), paletteValue(1));
    EXPECT_EQ(thumbPixel(thumb.handle(), 1, 0), 0u) << "index equal to the colour count";
    EXPECT_EQ(thumbPixel(thumb.handle(), 2, 0), 0u);

    OwnedBlock bad(solidPicture(4, 4, qRgb(1, 2, 3)));
    auto *header = dibHeader(bad.handle());
    const struct {
        const char *what;
        void (*spoil)(BITMAPINFOHEADER *);
    } spoils[] = {
        { "16-bit", [](BITMAPINFOHEADER *h) { h->biBitCount = 16; } },
        { "no width", [](BITMAPINFOHEADER *h) { h->biWidth = 0; } },
        { "top-down", [](BITMAPINFOHEADER *h) { h->biHeight = -4; } },
        { "rows beyond the block", [](BITMAPINFOHEADER *h) { h->biHeight = 100000; } },
        { "compressed", [](BITMAPINFOHEADER *h) { h->biCompression = kBiRle8; } },
    };
    for (const auto &spoil : spoils) {
        const BITMAPINFOHEADER saved = *header;
        spoil.spoil(header);
        EXPECT_EQ(makeThumbnail(bad.handle(), QStringLiteral("/s/bad.bmp")), 0) << spoil.what;
        *header = saved;
    }
    EXPECT_EQ(makeThumbnail(0, QStringLiteral("/s/none.bmp")), 0);
}

TEST(Thumbnail, PathTooLongForTheRecordIsRefused)
{
    RecordingHost recorder;
    OwnedBlock picture(solidPicture(4, 4, qRgb(1, 2, 3)));
    const QString longPath = QStringLiteral("/") + QString(259, u'a');
    EXPECT_EQ(makeThumbnail(picture.handle(), longPath), 0);
    EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kPathTooLong });
    // 259 bytes fit; multi-byte characters count by their bytes.
    OwnedBlock fits(makeThumbnail(picture.handle(), QStringLiteral("/") + QString(258, u'a')));
    EXPECT_TRUE(fits);
    EXPECT_EQ(makeThumbnail(picture.handle(), QStringLiteral("/") + QString(130, u'ü')), 0);
}
