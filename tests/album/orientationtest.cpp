// Thumbnails of photos whose EXIF orientation says they are stored turned or mirrored. The
// corpus is made here: ImageMagick draws a picture with a different colour in each corner,
// exiftool sets the orientation, and ImageMagick's -auto-orient is the reference.

#include "album/albumformat.h"
#include "album/importer.h"
#include "album/jpegthumbnail.h"
#include "album/thumbnail.h"
#include "imaging/dib.h"
#include "platform/paths.h"
#include "support/processrun.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace glimmerix;

namespace
{

bool haveTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty();
}

// A 240 x 120 picture, not symmetric in any way: red top left, blue bottom right, green bottom
// left, on a grey ramp.
QString drawPicture(const QString &folder, const QString &name)
{
    const QString path = joinPath(folder, name);
    const ProcessRun run = runProgram(QStringLiteral("convert"),
        { QStringLiteral("-size"), QStringLiteral("120x240"),
            QStringLiteral("gradient:white-black"), QStringLiteral("-rotate"), QStringLiteral("90"),
            QStringLiteral("-fill"), QStringLiteral("red"), QStringLiteral("-draw"),
            QStringLiteral("rectangle 0,0 70,40"), QStringLiteral("-fill"), QStringLiteral("blue"),
            QStringLiteral("-draw"), QStringLiteral("rectangle 180,90 239,119"),
            QStringLiteral("-fill"), QStringLiteral("lime"), QStringLiteral("-draw"),
            QStringLiteral("rectangle 0,80 30,119"), QStringLiteral("-quality"),
            QStringLiteral("95"), path });
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return path;
}

void setOrientation(const QString &path, int orientation)
{
    const ProcessRun run = runProgram(QStringLiteral("exiftool"),
        { QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
            QStringLiteral("-Orientation#=%1").arg(orientation), path });
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
}

// Mean absolute difference per channel between a thumbnail block's bitmap and `reference`
// sampled by the thumbnail rule (nearest pixel, rows counted from the bottom).
double meanDifference(BlockHandle thumbnail, const QImage &reference)
{
    const auto *info = static_cast<const ItemInfo *>(blockLock(thumbnail));
    const int tw = info->thumbWidth;
    const int th = info->thumbHeight;
    const unsigned char *pixels = thumbnailPixels(thumbnail);
    const std::size_t rowBytes = dibRowBytes(tw, 24);
    double total = 0;
    for (int y = 0; y < th; ++y) {
        const int sourceRow = reference.height() - 1 - int(qint64(y) * reference.height() / th);
        for (int x = 0; x < tw; ++x) {
            const QRgb want = reference.pixel(int(qint64(x) * reference.width() / tw), sourceRow);
            const unsigned char *got = pixels + std::size_t(y) * rowBytes + 3 * std::size_t(x);
            total += std::abs(got[0] - qBlue(want)) + std::abs(got[1] - qGreen(want))
                + std::abs(got[2] - qRed(want));
        }
    }
    return total / (3.0 * tw * th);
}

} // namespace

TEST(Orientation, ThumbnailsAreUprightForEveryOrientation)
{
    if (!haveTools())
        GTEST_SKIP() << "exiftool and ImageMagick are needed";
    const QString folder = makeTestFolder();
    const QString drawn = drawPicture(folder, QStringLiteral("drawn.jpg"));
    // The same decoder reads both sides; what is left is rounding in ImageMagick's own turn.
    constexpr double kTolerance = 2.0;
    const struct {
        int orientation;
        const char *extension;
    } cases[] = { { 1, "jpg" }, { 2, "jpg" }, { 3, "jpg" }, { 4, "jpg" }, { 5, "jpg" },
        { 6, "jpg" }, { 7, "jpg" }, { 8, "jpg" }, { 6, "tif" }, { 3, "tif" } };
    for (const auto &c : cases) {
        const QString name = QStringLiteral("o%1.%2").arg(c.orientation).arg(c.extension);
        const QString path = joinPath(folder, name);
        if (QString::fromLatin1(c.extension) == QLatin1String("jpg"))
            ASSERT_TRUE(QFile::copy(drawn, path));
        else
            ASSERT_EQ(runProgram(QStringLiteral("convert"), { drawn, path }).status, 0);
        setOrientation(path, c.orientation);
        const QString upright = joinPath(folder, name + QStringLiteral(".bmp"));
        ASSERT_EQ(runProgram(QStringLiteral("convert"),
                      { path, QStringLiteral("-auto-orient"), QStringLiteral("BMP3:") + upright })
                      .status,
            0);
        const QImage reference(upright);
        ASSERT_FALSE(reference.isNull());

        OwnedBlock picture(openPictureForThumbnail(path));
        ASSERT_TRUE(picture) << name.toStdString();
        OwnedBlock general(makeThumbnail(picture.handle(), path));
        ASSERT_TRUE(general);
        const auto *info = static_cast<const ItemInfo *>(blockLock(general.handle()));
        // The record holds the upright size.
        EXPECT_EQ(info->sourceWidth, reference.width()) << name.toStdString();
        EXPECT_EQ(info->sourceHeight, reference.height()) << name.toStdString();
        EXPECT_LE(meanDifference(general.handle(), reference), kTolerance) << name.toStdString();
        if (QString::fromLatin1(c.extension) != QLatin1String("jpg"))
            continue;
        // The photo fast path gives exactly what the general path gives.
        OwnedBlock fast(makeJpegThumbnail(path));
        ASSERT_TRUE(fast);
        EXPECT_EQ(std::memcmp(blockLock(fast.handle()), blockLock(general.handle()),
                      sizeof(ItemInfo) + info->dataSize),
            0)
            << name.toStdString();
    }
}

TEST(Orientation, UprightOrOddOrientationsKeepTheThumbnailBytes)
{
    if (!haveTools())
        GTEST_SKIP() << "exiftool and ImageMagick are needed";
    const QString folder = makeTestFolder();
    const QString plain = drawPicture(folder, QStringLiteral("plain.jpg"));
    OwnedBlock expected(makeJpegThumbnail(plain));
    ASSERT_TRUE(expected);
    const auto *want = static_cast<const ItemInfo *>(blockLock(expected.handle()));
    // 1 is upright; 0, 9 and 255 are no orientation at all and are ignored.
    for (const int orientation : { 1, 0, 9, 255 }) {
        const QString path = joinPath(folder, QStringLiteral("odd%1.jpg").arg(orientation));
        ASSERT_TRUE(QFile::copy(plain, path));
        setOrientation(path, orientation);
        OwnedBlock picture(openPictureForThumbnail(path));
        OwnedBlock general(makeThumbnail(picture.handle(), path));
        OwnedBlock fast(makeJpegThumbnail(path));
        for (const OwnedBlock *made : { &general, &fast }) {
            ASSERT_TRUE(*made) << orientation;
            const auto *got = static_cast<const ItemInfo *>(blockLock(made->handle()));
            EXPECT_EQ(got->sourceWidth, 240);
            EXPECT_EQ(got->sourceHeight, 120);
            EXPECT_EQ(got->thumbWidth, want->thumbWidth);
            EXPECT_EQ(got->thumbHeight, want->thumbHeight);
            EXPECT_EQ(std::memcmp(got + 1, want + 1, want->dataSize), 0) << orientation;
        }
    }
}
