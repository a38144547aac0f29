// What picture files say about themselves. The corpus is made here: small JPEGs from ImageMagick
// tagged by exiftool, some then damaged byte by byte.

#include "imaging/picturefacts.h"
#include "imaging/dib.h"
#include "imaging/dibblock.h"
#include "imaging/imagegeometry.h"
#include "platform/paths.h"
#include "support/dibcompare.h"
#include "support/processrun.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace glimmerix;

namespace
{

bool haveTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty();
}

QString taggedJpeg(const QString &folder, const QString &name, const QStringList &tags)
{
    const QString path = joinPath(folder, name);
    EXPECT_EQ(
        runProgram(QStringLiteral("convert"),
            { QStringLiteral("-size"), QStringLiteral("40x30"), QStringLiteral("xc:orange"), path })
            .status,
        0);
    if (!tags.isEmpty()) {
        const ProcessRun run = runProgram(QStringLiteral("exiftool"),
            QStringList { QStringLiteral("-q"), QStringLiteral("-overwrite_original") } + tags
                + QStringList { path });
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
    }
    return path;
}

// Replaces the first `from` in the file with `to` (same length).
void patchFile(const QString &path, const QByteArray &from, const QByteArray &to)
{
    QByteArray bytes = fileBytes(path);
    const qsizetype at = bytes.indexOf(from);
    ASSERT_GE(at, 0);
    bytes.replace(at, to.size(), to);
    writeFile(path, bytes);
}

const QStringList kEveryFact
    = { QStringLiteral("-Orientation#=6"), QStringLiteral("-DateTimeOriginal=2021:07:04 10:20:30"),
          QStringLiteral("-SubSecTimeOriginal=25"), QStringLiteral("-OffsetTimeOriginal=+02:00"),
          QStringLiteral("-Make=Canon"), QStringLiteral("-Model=Canon EOS 5D"),
          QStringLiteral("-LensModel=EF 50mm f/1.8"), QStringLiteral("-ExposureTime=0.004"),
          QStringLiteral("-FNumber=2.8"), QStringLiteral("-ISO=400"),
          QStringLiteral("-FocalLength=50"), QStringLiteral("-GPSLatitude=48.8583"),
          QStringLiteral("-GPSLatitudeRef=N"), QStringLiteral("-GPSLongitude=2.2945"),
          QStringLiteral("-GPSLongitudeRef=W"), QStringLiteral("-XMP-dc:Subject=tower"),
          QStringLiteral("-XMP-dc:Subject=Paris"), QStringLiteral("-IPTC:Keywords=holiday"),
          QStringLiteral("-IPTC:Keywords=Paris"), QStringLiteral("-XMP-dc:Title=Eiffel"),
          QStringLiteral("-XMP-dc:Description=Été à Paris 東京") };

} // namespace

TEST(PictureFacts, ReadsEachFieldAndIgnoresBrokenOnesFieldByField)
{
    if (!haveTools())
        GTEST_SKIP() << "exiftool and ImageMagick are needed";
    const QString folder = makeTestFolder();
    const QString longText(5000, u'x');
    const struct {
        const char *name;
        QStringList tags;
        std::function<void(const QString &path)> damage;
        std::function<void(const PictureFacts &facts)> check;
    } cases[] = {
        { "every.jpg", kEveryFact, nullptr,
            [](const PictureFacts &f) {
                EXPECT_EQ(f.orientation, 6);
                EXPECT_EQ(takenText(f), QStringLiteral("2021-07-04 10:20:30.250 +02:00"));
                EXPECT_EQ(
                    f.taken.toUTC(), QDateTime(QDate(2021, 7, 4), QTime(8, 20, 30, 250), Qt::UTC));
                EXPECT_EQ(f.make, QStringLiteral("Canon"));
                EXPECT_EQ(f.model, QStringLiteral("Canon EOS 5D"));
                EXPECT_EQ(f.lens, QStringLiteral("EF 50mm f/1.8"));
                EXPECT_EQ(exposureText(f.exposureSeconds), QStringLiteral("1/250 s"));
                EXPECT_DOUBLE_EQ(f.fNumber, 2.8);
                EXPECT_EQ(f.iso, 400);
                EXPECT_DOUBLE_EQ(f.focalLengthMm, 50);
                ASSERT_TRUE(f.position);
                EXPECT_NEAR(f.position->latitude, 48.8583, 1e-4);
                EXPECT_NEAR(f.position->longitude, -2.2945, 1e-4);
                EXPECT_EQ(f.keywords,
                    QStringList({ QStringLiteral("tower"), QStringLiteral("Paris"),
                        QStringLiteral("holiday") }));
                EXPECT_EQ(f.title, QStringLiteral("Eiffel"));
                EXPECT_EQ(f.description, QStringLiteral("Été à Paris 東京"));
            } },
        { "plain-date.jpg", { QStringLiteral("-DateTimeOriginal=1999:12:31 23:59:58") }, nullptr,
            [](const PictureFacts &f) {
                EXPECT_EQ(takenText(f), QStringLiteral("1999-12-31 23:59:58"));
                EXPECT_FALSE(f.takenHasOffset);
                EXPECT_EQ(f.orientation, 0);
                EXPECT_FALSE(f.hasCameraFacts());
            } },
        { "no-date.jpg",
            { QStringLiteral("-DateTimeOriginal=0000:00:00 00:00:00"),
                QStringLiteral("-OffsetTimeOriginal=+99:00"), QStringLiteral("-Make=Nikon") },
            nullptr,
            [](const PictureFacts &f) {
                EXPECT_FALSE(f.taken.isValid());
                EXPECT_EQ(f.make, QStringLiteral("Nikon"));
            } },
        { "iptc.jpg",
            { QStringLiteral("-IPTC:CodedCharacterSet=UTF8"),
                QStringLiteral("-IPTC:Caption-Abstract=Über den Wolken"),
                QStringLiteral("-IPTC:ObjectName=Flug"), QStringLiteral("-IPTC:Keywords=sky") },
            nullptr,
            [](const PictureFacts &f) {
                EXPECT_EQ(f.description, QStringLiteral("Über den Wolken"));
                EXPECT_EQ(f.title, QStringLiteral("Flug"));
                EXPECT_EQ(f.keywords, QStringList { QStringLiteral("sky") });
            } },
        // Absurd length, broken UTF-8, a latitude without its N/S: only those fields go.
        { "broken.jpg",
            { QStringLiteral("-Make=") + longText, QStringLiteral("-Model=BROKENMODEL"),
                QStringLiteral("-LensModel=Good lens"), QStringLiteral("-GPSLatitude=10"),
                QStringLiteral("-GPSLongitude=20"), QStringLiteral("-GPSLongitudeRef=E"),
                QStringLiteral("-XMP-dc:Subject=fine"), QStringLiteral("-FNumber=0") },
            [](const QString &path) {
                patchFile(path, "BROKENMODEL", QByteArray("BR\xff\xfe\xc3(MODEL", 11));
            },
            [](const PictureFacts &f) {
                EXPECT_TRUE(f.make.isEmpty());
                EXPECT_TRUE(f.model.isEmpty());
                EXPECT_EQ(f.lens, QStringLiteral("Good lens"));
                EXPECT_FALSE(f.position);
                EXPECT_EQ(f.fNumber, 0);
                EXPECT_EQ(f.keywords, QStringList { QStringLiteral("fine") });
            } },
        { "nothing.jpg", {}, nullptr,
            [](const PictureFacts &f) {
                EXPECT_EQ(f.orientation, 0);
                EXPECT_FALSE(f.taken.isValid());
                EXPECT_FALSE(f.hasCameraFacts());
                EXPECT_TRUE(f.keywords.isEmpty());
            } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = taggedJpeg(folder, QString::fromLatin1(c.name), c.tags);
        if (c.damage)
            c.damage(path);
        c.check(readPictureFacts(path));
    }
    // Odd orientations are no orientation.
    for (const int odd : { 0, 9, 255 }) {
        const QString path = taggedJpeg(folder, QStringLiteral("odd%1.jpg").arg(odd),
            { QStringLiteral("-Orientation#=%1").arg(odd) });
        EXPECT_EQ(readPictureFacts(path).orientation, 0) << odd;
    }
}

TEST(PictureFacts, NeverFailsOnCutOrMissingFiles)
{
    if (!haveTools())
        GTEST_SKIP() << "exiftool and ImageMagick are needed";
    const QString folder = makeTestFolder();
    const QByteArray whole = fileBytes(taggedJpeg(folder, QStringLiteral("every.jpg"), kEveryFact));
    for (qsizetype length = 0; length < whole.size(); length += 7)
        (void)readPictureFactsFromBytes(
            reinterpret_cast<const unsigned char *>(whole.constData()), std::size_t(length));
    EXPECT_EQ(readPictureFacts(joinPath(folder, QStringLiteral("none.jpg"))).orientation, 0);
    EXPECT_EQ(readPictureFacts(folder).orientation, 0);
    const QString text = joinPath(folder, QStringLiteral("text.jpg"));
    writeFile(text, "not a picture at all");
    EXPECT_FALSE(readPictureFacts(text).hasCameraFacts());
}

TEST(PictureFacts, OrientBlockMovesEveryDepthExactly)
{
    // A 5 x 3 picture at each depth, every pixel its own index (mod the depth's colours).
    for (const int bits : { 1, 4, 8, 24 }) {
        SCOPED_TRACE(bits);
        const std::uint32_t colors = bits == 24 ? 0 : 1u << bits;
        DecodeResult made = createImageBlock(5, 3, bits, colors);
        ASSERT_EQ(made.status, DecodeStatus::Ok);
        OwnedBlock block(made.block);
        BITMAPINFOHEADER *header = dibHeader(block.handle());
        header->biXPelsPerMeter = 100;
        header->biYPelsPerMeter = 200;
        for (int y = 0; y < 3; ++y) {
            unsigned char *row = dibRow(header, y);
            for (int x = 0; x < 5; ++x) {
                const int value = y * 5 + x;
                if (bits == 24)
                    row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = std::uint8_t(value);
                else if (bits == 8)
                    row[x] = std::uint8_t(value);
                else if (bits == 4)
                    row[x / 2] |= std::uint8_t(x % 2 == 0 ? value << 4 : value);
                else
                    row[x / 8] |= std::uint8_t((value & 1) << (7 - x % 8));
            }
        }
        EXPECT_EQ(orientBlock(block.handle(), 1), 0);
        EXPECT_EQ(orientBlock(block.handle(), 9), 0);
        // The turns agree with rotatePicture; mirroring twice gives the picture back.
        const struct {
            int orientation;
            double degrees;
        } turns[] = { { 3, 180 }, { 6, 90 }, { 8, 270 } };
        for (const auto &turn : turns) {
            OwnedBlock oriented(orientBlock(block.handle(), turn.orientation));
            OwnedBlock rotated(rotatePicture(block.handle(), turn.degrees));
            EXPECT_TRUE(sameDibBytes(oriented.handle(), rotated.handle())) << turn.orientation;
        }
        for (const int mirror : { 2, 4, 5, 7 }) {
            OwnedBlock once(orientBlock(block.handle(), mirror));
            OwnedBlock twice(orientBlock(once.handle(), mirror));
            EXPECT_TRUE(sameDibBytes(twice.handle(), block.handle())) << mirror;
        }
        // 5 is 2 followed by a quarter turn anticlockwise.
        OwnedBlock mirrored(orientBlock(block.handle(), 2));
        OwnedBlock five(orientBlock(block.handle(), 5));
        OwnedBlock viaTurn(rotatePicture(mirrored.handle(), 270));
        EXPECT_TRUE(sameDibBytes(five.handle(), viaTurn.handle()));
        EXPECT_EQ(dibHeader(five.handle())->biXPelsPerMeter, 200);
    }
}
