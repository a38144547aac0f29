#include "picturetestutil.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include "imaging/dibblock.h"
#include "imaging/imagecodes.h"
#include "imaging/imageconvert.h"
#include "imaging/jpegcodec.h"
#include "imaging/picturestate.h"

#include <QFile>

#include <gtest/gtest.h>

#include <jpeglib.h>

using namespace glimmerix;

namespace
{

// Components, colour space and density of a written JPEG, read with the library directly.
struct JpegFacts {
    int components = 0;
    J_COLOR_SPACE colorSpace = JCS_UNKNOWN;
    int densityUnit = -1;
    int xDensity = 0;
    int yDensity = 0;
};

JpegFacts jpegFacts(const QString &path)
{
    JpegFacts facts;
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (file == nullptr)
        return facts;
    jpeg_decompress_struct info {};
    jpeg_error_mgr error {};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    facts = { info.num_components, info.jpeg_color_space, info.density_unit, info.X_density,
        info.Y_density };
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return facts;
}

class JpegCodec : public ::testing::Test
{
protected:
    QString outPath(const char *name)
    {
        return makeTestFolder() + u'/' + QString::fromLatin1(name);
    }
    RecordingHost m_host;
};

TEST_F(JpegCodec, DecodesLikeDjpeg)
{
    const OwnedBlock colour(ReadJpegFile(imagingFixture(QStringLiteral("colour.jpg"))));
    ASSERT_TRUE(colour);
    EXPECT_EQ(ClassifyImage(colour.handle()), kClassTrueColor);
    EXPECT_EQ(blockPixels(colour.handle()), readPnm(imagingFixture(QStringLiteral("colour.ppm"))));

    const OwnedBlock grey(ReadJpegFile(imagingFixture(QStringLiteral("grey.jpg"))));
    ASSERT_TRUE(grey);
    EXPECT_EQ(ClassifyImage(grey.handle()), kClassGrey);
    EXPECT_EQ(dibHeader(grey.handle())->biClrUsed, 256u);
    EXPECT_EQ(
        blockPixels(grey.handle(), true), readPnm(imagingFixture(QStringLiteral("grey.pgm"))));
    EXPECT_TRUE(m_host.messageIds().isEmpty());
}

TEST_F(JpegCodec, CmykIsRefused)
{
    EXPECT_EQ(ReadJpegFile(imagingFixture(QStringLiteral("cmyk.jpg"))), kReadFailed);
}

TEST_F(JpegCodec, DensityRoundTripsAt300Dpi)
{
    const OwnedBlock block(ReadJpegFile(imagingFixture(QStringLiteral("dpi300.jpg"))));
    ASSERT_TRUE(block);
    EXPECT_EQ(dibHeader(block.handle())->biXPelsPerMeter, 11811);
    EXPECT_EQ(dibHeader(block.handle())->biYPelsPerMeter, 11811);
    const QString path = outPath("saved.jpg");
    ASSERT_EQ(WriteJpegFile(path, block.handle(), 90), kWriteDone);
    const JpegFacts facts = jpegFacts(path);
    EXPECT_EQ(facts.densityUnit, 1);
    EXPECT_EQ(facts.xDensity, 300);
    EXPECT_EQ(facts.yDensity, 300);
}

TEST_F(JpegCodec, GreyIsWrittenAsOneComponent)
{
    std::vector<std::uint8_t> indices(16 * 8);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = std::uint8_t(i * 2);
    const OwnedBlock grey(makeIndexedBlock(16, 8, indices, true));
    const QString path = outPath("grey.jpg");
    ASSERT_EQ(WriteJpegFile(path, grey.handle(), 100), kWriteDone);
    const JpegFacts facts = jpegFacts(path);
    EXPECT_EQ(facts.components, 1);
    EXPECT_EQ(facts.colorSpace, JCS_GRAYSCALE);
    const OwnedBlock back(ReadJpegFile(path));
    ASSERT_TRUE(back);
    const SamplePicture original = blockPixels(grey.handle(), true);
    const SamplePicture decoded = blockPixels(back.handle(), true);
    ASSERT_EQ(decoded.samples.size(), original.samples.size());
    for (std::size_t i = 0; i < original.samples.size(); ++i)
        EXPECT_NEAR(decoded.samples[i], original.samples[i], 3) << i;
}

TEST_F(JpegCodec, ColourRoundTripKeepsOrientationAndChannelOrder)
{
    // Left half red, right half blue, bottom rows green: any flip or swap shows.
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (y >= 12)
                rgb.insert(rgb.end(), { 0, 255, 0 });
            else
                rgb.insert(rgb.end(),
                    x < 8 ? std::initializer_list<std::uint8_t> { 255, 0, 0 }
                          : std::initializer_list<std::uint8_t> { 0, 0, 255 });
        }
    }
    const OwnedBlock block(makeRgbBlock(16, 16, rgb));
    const QString path = outPath("colour.jpg");
    ASSERT_EQ(WriteJpegFile(path, block.handle(), 95), kWriteDone);
    EXPECT_EQ(jpegFacts(path).components, 3);
    const OwnedBlock back(ReadJpegFile(path));
    const SamplePicture decoded = blockPixels(back.handle());
    ASSERT_EQ(decoded.samples.size(), rgb.size());
    for (const auto &[x, y] : { std::pair { 2, 2 }, std::pair { 13, 2 }, std::pair { 8, 14 } }) {
        const std::size_t at = (std::size_t(y) * 16 + x) * 3;
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(decoded.samples[at + c], rgb[at + c], 12)
                << x << "," << y << " channel " << c;
    }
}

TEST_F(JpegCodec, UnsuitableClassAndUncreatableFile)
{
    const OwnedBlock palette(makeIndexedBlock(4, 4, std::vector<std::uint8_t>(16, 3), false));
    EXPECT_EQ(WriteJpegFile(outPath("p.jpg"), palette.handle(), 90), kWriteUnsuitable);
    EXPECT_EQ(m_host.messageIds(), QList<int> { Message::kJpegUnsuitable });
    m_host.clear();
    const OwnedBlock colour(makeRgbBlock(1, 1, { 1, 2, 3 }));
    EXPECT_EQ(WriteJpegFile(QStringLiteral("/nonexistent-folder/x.jpg"), colour.handle(), 90),
        kWriteCannotCreate);
    EXPECT_EQ(m_host.messageIds(), QList<int> { Message::kCannotCreatePicture });
}

TEST_F(JpegCodec, OpenFailureIsShownEvenWhenQuiet)
{
    const QuietScope quiet;
    const QString missing = outPath("missing.jpg");
    EXPECT_EQ(ReadJpegFile(missing), kReadUnreadable);
    EXPECT_EQ(m_host.messageIds(), QList<int> { Message::kOpenFailedBefore });
}

TEST_F(JpegCodec, EscapeGivesNoPictureAndStopsWriting)
{
    // A picture taller than 16 rows, so the row poll comes after the clearing poll.
    const OwnedBlock block(makeRgbBlock(8, 40, std::vector<std::uint8_t>(8 * 40 * 3, 90)));
    const QString path = outPath("tall.jpg");
    ASSERT_EQ(WriteJpegFile(path, block.handle(), 90), kWriteDone);
    m_host.pressEscapeAtPoll(3); // the clearing poll, row 0, then row 16
    EXPECT_EQ(ReadJpegFile(path), kReadFailed);
    m_host.clear();
    m_host.pressEscapeAtPoll(3);
    EXPECT_EQ(WriteJpegFile(outPath("cancelled.jpg"), block.handle(), 90), kWriteUnsuitable);
    m_host.pressEscapeAtPoll(0);
}

TEST_F(JpegCodec, LateLibraryErrorKeepsTheBlockAsFarAsDecoded)
{
    const OwnedBlock block(makeRgbBlock(64, 64, std::vector<std::uint8_t>(64 * 64 * 3, 200)));
    const QString path = outPath("whole.jpg");
    ASSERT_EQ(WriteJpegFile(path, block.handle(), 90), kWriteDone);
    QByteArray bytes = fileBytes(path);
    const qsizetype scan = bytes.indexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(scan, 0);
    // The scan names Huffman tables that do not exist: the header reads, the block is made, and
    // the library fails when decompression starts. The block comes back with no rows decoded.
    bytes[scan + 6] = char(0x77);
    const QString broken = outPath("broken.jpg");
    writeFile(broken, bytes);
    const OwnedBlock partial(ReadJpegFile(broken));
    ASSERT_TRUE(partial);
    const SamplePicture pixels = blockPixels(partial.handle());
    EXPECT_EQ(pixels.width, 64);
    EXPECT_EQ(pixels.samples.front(), 0);
    EXPECT_EQ(pixels.samples.back(), 0);

    // Not a JPEG at all: the error comes before any block, so there is no picture.
    writeFile(broken, QByteArray("not a jpeg at all"));
    EXPECT_EQ(ReadJpegFile(broken), kReadFailed);
}

} // namespace
