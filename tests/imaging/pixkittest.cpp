#include "picturetestutil.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include "imaging/dibblock.h"
#include "imaging/imagecodes.h"
#include "imaging/imageconvert.h"
#include "imaging/imagefile.h"
#include "imaging/photocd.h"
#include "imaging/pixkit.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// Writes a synthetic Photo CD image pack holding only the Base image: luma = (x + 2y) mod 256
// for the luma plane, constant chroma (c1, c2) for every pixel, and the orientation byte.
QByteArray photoCdPack(int orientation, int luma(int x, int y), std::uint8_t c1, std::uint8_t c2)
{
    const PhotoCdImageLayout layout = photoCdLayout(PhotoCdResolution::Base);
    const qsizetype start = qsizetype(layout.firstSector) * kPhotoCdSectorBytes;
    QByteArray pack(start + qsizetype(layout.width) * layout.height * 3 / 2, '\0');
    pack.replace(kPhotoCdSectorBytes, 7, "PCD_IPI");
    pack[kPhotoCdOrientationOffset] = char(orientation);
    char *pair = pack.data() + start;
    for (int y = 0; y < layout.height; y += 2) {
        for (int row = 0; row < 2; ++row) {
            for (int x = 0; x < layout.width; ++x)
                pair[row * layout.width + x] = char(luma(x, y + row));
        }
        std::memset(pair + 2 * layout.width, c1, layout.width / 2);
        std::memset(pair + 2 * layout.width + layout.width / 2, c2, layout.width / 2);
        pair += 3 * layout.width;
    }
    return pack;
}

int marker(int x, int y)
{
    // Dark everywhere except a bright 8 x 4 patch at the top-left corner of the scan.
    return x < 8 && y < 4 ? 180 : 20;
}

class PixKit : public ::testing::Test
{
protected:
    QString writePack(const QByteArray &pack, const char *name = "/IMG0001.PCD")
    {
        const QString path = m_folder + QString::fromLatin1(name);
        writeFile(path, pack);
        return path;
    }
    QString m_folder = makeTestFolder();
    RecordingHost m_host;
};

TEST_F(PixKit, YccConversionOfKnownColours)
{
    std::uint8_t r = 0, g = 0, b = 0;
    photoYccToRgb(0, 156, 137, &r, &g, &b);
    EXPECT_EQ((std::vector<int> { r, g, b }), (std::vector<int> { 0, 0, 0 }));
    photoYccToRgb(188, 156, 137, &r, &g, &b); // reference white: 188 x 1.3584 = 255.4
    EXPECT_EQ((std::vector<int> { r, g, b }), (std::vector<int> { 255, 255, 255 }));
    photoYccToRgb(100, 156, 200, &r, &g, &b); // C2 above neutral pushes red up, green down
    EXPECT_EQ(r, 251); // 135.84 + 114.75
    EXPECT_EQ(g, 77); // 135.84 - 0.509 x 114.75
    EXPECT_EQ(b, 136);
}

TEST_F(PixKit, DecodesTheBaseImageUpright)
{
    const QString path = writePack(photoCdPack(0, marker, 156, 137));
    const PhotoCdOptions options = photoCdOptions();
    const OwnedBlock block(PkOpenFile(path, 0, &options));
    ASSERT_TRUE(block);
    EXPECT_EQ(ClassifyImage(block.handle()), kClassTrueColor);
    const SamplePicture pixels = blockPixels(block.handle());
    ASSERT_EQ(pixels.width, 768);
    ASSERT_EQ(pixels.height, 512);
    const auto redAt
        = [&](int x, int y) { return pixels.samples[(std::size_t(y) * pixels.width + x) * 3]; };
    EXPECT_EQ(redAt(0, 0), 245); // 180 x 1.3584
    EXPECT_EQ(redAt(767, 511), 27);
    // Neutral chroma gives grey.
    EXPECT_EQ(pixels.samples[1], pixels.samples[0]);
    EXPECT_EQ(pixels.samples[2], pixels.samples[0]);
}

TEST_F(PixKit, ReadsAPackWrittenByImageMagick)
{
    const QByteArray pack
        = qUncompress(fileBytes(imagingFixture(QStringLiteral("quadrants.pcd.qz"))));
    ASSERT_FALSE(pack.isEmpty());
    const PhotoCdOptions options = photoCdOptions();
    const OwnedBlock block(PkOpenFile(writePack(pack), 0, &options));
    ASSERT_TRUE(block);
    const SamplePicture pixels = blockPixels(block.handle());
    ASSERT_EQ(pixels.width, 768);
    ASSERT_EQ(pixels.height, 512);
    const auto at = [&](int x, int y, int channel) {
        return int(pixels.samples[(std::size_t(y) * 768 + x) * 3 + std::size_t(channel)]);
    };
    // Red top left, blue top right, green bottom left, near-white bottom right.
    EXPECT_GT(at(100, 100, 0), at(100, 100, 1) + 100);
    EXPECT_GT(at(600, 100, 2), at(600, 100, 0) + 100);
    EXPECT_GT(at(100, 400, 1), at(100, 400, 2) + 100);
    EXPECT_GT(at(600, 400, 2), 200);
    EXPECT_GT(at(600, 400, 0), 200);
}

struct OrientationCase {
    int orientation;
    int width;
    int height;
    int patchX; // where the scan's top-left patch lands
    int patchY;
};

TEST_F(PixKit, OrientationTurnsThePicture)
{
    const OrientationCase cases[] = {
        { 1, 512, 768, 0, 767 }, // a quarter counter-clockwise: top-left goes to bottom-left
        { 2, 768, 512, 767, 511 },
        { 3, 512, 768, 511, 0 }, // a quarter clockwise: top-left goes to top-right
    };
    for (const OrientationCase &c : cases) {
        SCOPED_TRACE(c.orientation);
        const QString path = writePack(photoCdPack(c.orientation, marker, 156, 137));
        const OwnedBlock block(PkOpenFile(path, 0, nullptr));
        ASSERT_TRUE(block);
        const SamplePicture pixels = blockPixels(block.handle());
        ASSERT_EQ(pixels.width, c.width);
        ASSERT_EQ(pixels.height, c.height);
        EXPECT_EQ(pixels.samples[(std::size_t(c.patchY) * pixels.width + c.patchX) * 3], 245);
        EXPECT_EQ(pixels.samples[(std::size_t(c.height / 2) * pixels.width + c.width / 2) * 3], 27);
    }
}

TEST_F(PixKit, GreyOptionAndSmallerResolutions)
{
    QByteArray pack = photoCdPack(0, marker, 156, 137);
    // Base/16 at its own sectors: one bright pixel pair row.
    const PhotoCdImageLayout small = photoCdLayout(PhotoCdResolution::Base16);
    pack[qsizetype(small.firstSector) * kPhotoCdSectorBytes] = char(100);
    const QString path = writePack(pack);
    PhotoCdOptions options = photoCdOptions();
    options.words[kPhotoCdResolutionWord] = 0;
    options.words[kPhotoCdOutputWord] = 1;
    const OwnedBlock block(PkOpenFile(path, 0, &options));
    ASSERT_TRUE(block);
    EXPECT_EQ(ClassifyImage(block.handle()), kClassGrey);
    const SamplePicture pixels = blockPixels(block.handle(), true);
    EXPECT_EQ(pixels.width, 192);
    EXPECT_EQ(pixels.height, 128);
    EXPECT_EQ(pixels.samples[0], 136);
}

TEST_F(PixKit, DamagedAndUnsupportedFilesFailWithoutMessages)
{
    QByteArray pack = photoCdPack(0, marker, 156, 137);
    const QString truncated = writePack(pack.left(pack.size() - 100), "/cut.pcd");
    pack[kPhotoCdSectorBytes] = 'X';
    const QString unsigned_ = writePack(pack, "/nosig.pcd");
    for (const QString &path : { truncated, unsigned_, m_folder + QStringLiteral("/missing.pcd") })
        EXPECT_EQ(PkOpenFile(path, 0, nullptr), kPkFailed) << path.toStdString();
    const QString flashPix = writePack(
        QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\0'), "/a.fpx");
    EXPECT_EQ(PkOpenFile(flashPix, 0, nullptr), kPkFailed);
    EXPECT_EQ(PkLoadQsfFile(writePack("layers", "/a.qsf"), kQsfBackgroundWhite), kPkFailed);
    EXPECT_NE(PkSaveFile(0, m_folder + QStringLiteral("/out.fpx"), 0, 0), 0);
    EXPECT_TRUE(m_host.messageIds().isEmpty());
}

TEST_F(PixKit, CommonTypesOpenQuietly)
{
    const OwnedBlock jpeg(PkOpenFile(imagingFixture(QStringLiteral("colour.jpg")), 0, nullptr));
    EXPECT_EQ(blockPixels(jpeg.handle()), readPnm(imagingFixture(QStringLiteral("colour.ppm"))));
    const OwnedBlock bitmap(PkOpenFile(imagingFixture(QStringLiteral("rle8.bmp")), 0, nullptr));
    EXPECT_EQ(blockPixels(bitmap.handle()), readPnm(imagingFixture(QStringLiteral("rle8.ppm"))));
    EXPECT_EQ(PkOpenFile(m_folder + QStringLiteral("/missing.jpg"), 0, nullptr), kPkFailed);
    EXPECT_EQ(PkOpenFile(imagingFixture(QStringLiteral("cmyk.jpg")), 0, nullptr), kPkFailed);
    EXPECT_TRUE(m_host.messageIds().isEmpty());
    EXPECT_TRUE(m_host.statusTexts().isEmpty());
}

TEST_F(PixKit, FileLayerOpensPhotoCdThroughTheLibrary)
{
    const QString path = writePack(photoCdPack(0, marker, 156, 137));
    const OwnedBlock block(LoadImageFile(path));
    ASSERT_TRUE(block);
    EXPECT_EQ(dibHeader(block.handle())->biWidth, 768);
}

} // namespace
