// The picture layer's one error convention: every refusal names its cause, the messages come
// from the entry points only, and hostile files are refused before any work.

#include "picturetestutil.h"

#include "support/recordinghost.h"

#include "imaging/bmpcodec.h"
#include "imaging/dib.h"
#include "imaging/imagecodes.h"
#include "imaging/imagefile.h"
#include "imaging/picturetypes.h"
#include "imaging/pixkit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace glimmerix;

namespace
{

QString crasher(const QString &name)
{
    return QStringLiteral(GLIMMERIX_SOURCE_DIR "/fuzz/crashers/") + name;
}

TEST(PictureStatus, EveryRefusalNamesItsCause)
{
    const QString folder = makeTestFolder();
    writeFile(folder + QStringLiteral("/zero.jpg"), {});
    writeFile(folder + QStringLiteral("/zero.tga"), {});
    QDir(folder).mkdir(QStringLiteral("x.jpg"));
    writeFile(folder + QStringLiteral("/picture.png"), QByteArray("\x89PNG"));
    const struct {
        QString path;
        DecodeStatus status;
        const char *detail;
    } cases[] = {
        { folder + QStringLiteral("/zero.jpg"), DecodeStatus::Failed, "the file is empty" },
        { folder + QStringLiteral("/zero.tga"), DecodeStatus::WrongKind, "the file is empty" },
        { crasher(QStringLiteral("bmp-empty.bmp")), DecodeStatus::WrongKind, "the file is empty" },
        { folder + QStringLiteral("/x.jpg"), DecodeStatus::CannotOpen, "is a folder" },
        { folder + QStringLiteral("/missing.bmp"), DecodeStatus::CannotOpen, "no such file" },
        { folder + QStringLiteral("/picture.png"), DecodeStatus::WrongKind,
            "unknown picture type" },
        { imagingFixture(QStringLiteral("cmyk.jpg")), DecodeStatus::Unsupported,
            "CMYK JPEG pictures are not supported" },
        { crasher(QStringLiteral("bmp-huge-dimensions.bmp")), DecodeStatus::TooLarge,
            "the picture claims 100000 x 100000 pixels; the header is damaged or the picture is "
            "too large" },
        { crasher(QStringLiteral("jpeg-huge-progressive.jpg")), DecodeStatus::TooLarge,
            "the picture claims 65500 x 65500 pixels" },
    };
    RecordingHost recorder;
    for (const auto &c : cases) {
        const DecodeResult result = loadPicture(c.path);
        EXPECT_EQ(result.status, c.status) << c.path.toStdString();
        EXPECT_EQ(result.block, 0);
        EXPECT_TRUE(result.detail.startsWith(QLatin1String(c.detail)))
            << c.path.toStdString() << ": " << result.detail.toStdString();
    }
    // Reading for a caller that reports itself shows nothing.
    EXPECT_TRUE(recorder.messageIds().isEmpty());
}

TEST(PictureStatus, UnreadableFileSaysPermissionDenied)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads any file; the permission check cannot fail here";
    const QString path = makeTestFolder() + QStringLiteral("/locked.bmp");
    writeFile(path, fileBytes(imagingFixture(QStringLiteral("bmp8.bmp"))));
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    EXPECT_EQ(loadPicture(path).detail, QStringLiteral("permission denied"));
}

TEST(PictureStatus, MessagesComeFromTheEntryPointsWithTheirNumbers)
{
    RecordingHost recorder;
    // Beyond the size limit: the out-of-memory notice, then open-by-type's own message.
    EXPECT_EQ(LoadImageFile(crasher(QStringLiteral("bmp-huge-dimensions.bmp"))), 0);
    EXPECT_EQ(
        recorder.messageIds(), (QList<int> { Message::kOutOfMemory, Message::kPictureUnreadable }));
    // The imaging library shows nothing and answers "too large".
    recorder.clear();
    EXPECT_EQ(
        PkOpenFile(crasher(QStringLiteral("jpeg-huge-progressive.jpg")), 0, nullptr), kPkTooLarge);
    EXPECT_TRUE(recorder.messageIds().isEmpty());
}

TEST(PictureStatus, CrasherFilesAreRefusedCleanlyAndFast)
{
    const QStringList names
        = QDir(crasher({})).entryList({ QStringLiteral("*.*") }, QDir::Files, QDir::Name);
    int pictures = 0;
    for (const QString &name : names) {
        if (pictureTypeOf(name) == nullptr)
            continue;
        ++pictures;
        QElapsedTimer timer;
        timer.start();
        const DecodeResult result = loadPicture(crasher(name));
        EXPECT_NE(result.status, DecodeStatus::Ok) << name.toStdString();
        EXPECT_FALSE(result.detail.isEmpty()) << name.toStdString();
        EXPECT_LT(timer.elapsed(), 2000) << name.toStdString();
    }
    EXPECT_GE(pictures, 8);
}

TEST(PictureStatus, BitmapWriteToAFullDiskFails)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    OwnedBlock picture(makeRgbBlock(64, 64, std::vector<std::uint8_t>(64 * 64 * 3, 90)));
    const WriteResult result = saveBmpFile(QStringLiteral("/dev/full"), picture.handle());
    EXPECT_EQ(result.status, DecodeStatus::Failed);
    EXPECT_EQ(result.detail, QStringLiteral("disk full"));
    EXPECT_EQ(WriteBmpFile(QStringLiteral("/dev/full"), picture.handle()), kWriteFailed);
}

TEST(PictureStatus, ResolutionSurvivesASaveAsDotsPerInch)
{
    // 3779 and 11810 pixels per metre are 95.99 and 299.97 dpi: rounded, not cut, to 96 and
    // 300, which read back as 3779 and 11811.
    const struct {
        std::int32_t perMetre;
        std::int32_t readBack;
    } densities[] = { { 3779, 3779 }, { 11810, 11811 } };
    const QString folder = makeTestFolder();
    for (const char *type : { ".jpg", ".tif", ".pcx" }) {
        for (const auto &density : densities) {
            OwnedBlock picture(makeRgbBlock(4, 2, std::vector<std::uint8_t>(4 * 2 * 3, 200)));
            dibHeader(picture.handle())->biXPelsPerMeter = density.perMetre;
            dibHeader(picture.handle())->biYPelsPerMeter = density.perMetre;
            const QString path = folder + QStringLiteral("/d") + QLatin1String(type);
            ASSERT_EQ(SaveImageFile(picture.handle(), path), kWriteDone) << type;
            const OwnedBlock back(LoadImageFile(path));
            ASSERT_TRUE(back) << type;
            EXPECT_EQ(dibHeader(back.handle())->biXPelsPerMeter, density.readBack)
                << type << " " << density.perMetre;
        }
    }
}

} // namespace
