#include "media/firstframe.h"
#include "imaging/dib.h"
#include "support/testenvironment.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace glimmerix;

TEST(FirstFrame, MatchesFfmpegsOwnDecodeTheRightWayUp)
{
    for (const char *clip : { "clip.avi", "clip.mpg" }) {
        SCOPED_TRACE(clip);
        const QString name = QString::fromLatin1(clip);
        const FirstFrame frame = readFirstVideoFrame(fixturePath(QStringLiteral("album/") + name));
        ASSERT_EQ(frame.result, FirstFrameResult::Ok);
        OwnedBlock block(frame.block);
        const QImage reference(
            fixturePath(QStringLiteral("album/clip-%1-frame.png").arg(name.section(u'.', 1))));
        ASSERT_FALSE(reference.isNull());
        BITMAPINFOHEADER *header = dibHeader(block.handle());
        ASSERT_EQ(header->biWidth, reference.width());
        ASSERT_EQ(header->biHeight, reference.height());
        ASSERT_EQ(header->biBitCount, 24);
        const std::size_t row = dibRowBytes(header->biWidth, 24);
        long difference = 0;
        for (int y = 0; y < reference.height(); ++y) {
            // Image blocks are bottom-up, blue-green-red.
            const unsigned char *line
                = dibBits(header) + std::size_t(reference.height() - 1 - y) * row;
            for (int x = 0; x < reference.width(); ++x) {
                const QRgb expected = reference.pixel(x, y);
                difference += std::abs(line[3 * x + 2] - qRed(expected))
                    + std::abs(line[3 * x + 1] - qGreen(expected))
                    + std::abs(line[3 * x] - qBlue(expected));
            }
        }
        // Colour conversion may round differently; a flipped or swapped frame is far off.
        EXPECT_LT(double(difference) / (3.0 * reference.width() * reference.height()), 4.0);
    }
}

TEST(FirstFrame, ReportsWhatWentWrong)
{
    EXPECT_EQ(readFirstVideoFrame(QStringLiteral("/no/such/clip.avi")).result,
        FirstFrameResult::CannotOpen);
    EXPECT_NE(readFirstVideoFrame(fixturePath(QStringLiteral("album/broken.mpeg"))).result,
        FirstFrameResult::Ok);
    EXPECT_EQ(GetFirstMpegFrame(fixturePath(QStringLiteral("album/broken.mpeg"))), 0);
}
