#include "album/jpegthumbnail.h"
#include "album/albumformat.h"
#include "album/thumbnail.h"
#include "imaging/jpegcodec.h"
#include "platform/paths.h"
#include "support/testenvironment.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cstring>

using namespace glimmerix;

namespace
{

QString writeJpeg(const QString &folder, int width, int height, bool grey, bool progressive)
{
    QImage image(width, height, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    QRandomGenerator random(quint32(width * 7 + height));
    for (int y = 0; y < height; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < width * (grey ? 1 : 3); ++x)
            line[x] = uchar((x * 5 + y * 3) % 256 ^ (random.bounded(16)));
    }
    const QString path = joinPath(folder,
        QStringLiteral("p%1x%2%3%4.jpg")
            .arg(width)
            .arg(height)
            .arg(grey ? QStringLiteral("g") : QString())
            .arg(progressive ? QStringLiteral("p") : QString()));
    QImageWriter writer(path, "JPEG");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return path;
}

TEST(JpegThumbnail, RefusesAHugeProgressiveJpegAsFastAsTheReader)
{
    // 65500 x 65500 claimed by a few hundred bytes: the size limit applies before libjpeg
    // buffers the whole picture's coefficients (once 70 s and 12 GB during an import).
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(makeJpegThumbnail(
                  QStringLiteral(GLIMMERIX_SOURCE_DIR "/fuzz/crashers/jpeg-huge-progressive.jpg")),
        0);
    EXPECT_LT(timer.elapsed(), 2000);
}

} // namespace

TEST(JpegThumbnail, DecodesOnlySampledRowsWithTheSamePixelsAsAFullDecode)
{
    const QString folder = makeTestFolder();
    const struct {
        int width, height;
        bool grey, progressive;
    } cases[] = {
        { 1203, 797, false, false },
        { 97, 3000, false, false },
        { 640, 480, true, false },
        { 800, 333, false, true },
        { 64, 48, false, false },
        { 81, 17, true, true },
    };
    for (const auto &c : cases) {
        const QString path = writeJpeg(folder, c.width, c.height, c.grey, c.progressive);
        OwnedBlock fast(makeJpegThumbnail(path));
        OwnedBlock picture(ReadJpegFile(path));
        ASSERT_TRUE(fast) << path.toStdString();
        ASSERT_TRUE(picture);
        OwnedBlock reference(makeThumbnail(picture.handle(), path));
        ASSERT_TRUE(reference);
        const auto *a = reinterpret_cast<const ItemInfo *>(fast.data());
        const auto *b = reinterpret_cast<const ItemInfo *>(reference.data());
        EXPECT_EQ(std::memcmp(a, b, sizeof(ItemInfo)), 0) << path.toStdString();
        EXPECT_EQ(a->sourceBitDepth, c.grey ? 8 : 24);
        EXPECT_EQ(std::memcmp(a + 1, b + 1, a->dataSize), 0) << path.toStdString();
    }
}

TEST(JpegThumbnail, DeclinesWhatIsNoJpeg)
{
    const QString folder = makeTestFolder();
    const QString fake = joinPath(folder, QStringLiteral("fake.jpg"));
    QImage bitmap(10, 10, QImage::Format_RGB888);
    bitmap.fill(Qt::white);
    bitmap.save(fake, "BMP");
    EXPECT_EQ(makeJpegThumbnail(fake), 0);
    EXPECT_EQ(makeJpegThumbnail(joinPath(folder, QStringLiteral("none.jpg"))), 0);
    // A photo cut in the middle still gives its thumbnail (the missing rows come out grey).
    const QString path = writeJpeg(folder, 300, 200, false, false);
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.resize(file.size() / 2);
    file.close();
    OwnedBlock cut(makeJpegThumbnail(path));
    EXPECT_TRUE(cut);
}
