#include "codectestsupport.h"
#include "picturetestutil.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include "imaging/dibblock.h"
#include "imaging/imagecodes.h"
#include "imaging/imageconvert.h"
#include "imaging/imagefile.h"
#include "imaging/picturestate.h"
#include "imaging/pixkit.h"

#include "platform/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

class ImageFile : public ::testing::Test
{
protected:
    QString folder() const { return m_folder; }
    QString m_folder = makeTestFolder();
    RecordingHost m_host;
};

TEST_F(ImageFile, OpensByExtensionCaseInsensitively)
{
    const QString copy = folder() + QStringLiteral("/UPPER.JPG");
    ASSERT_TRUE(QFile::copy(imagingFixture(QStringLiteral("colour.jpg")), copy));
    const OwnedBlock jpeg(LoadImageFile(copy));
    EXPECT_TRUE(jpeg);
    const OwnedBlock bitmap(LoadImageFile(imagingFixture(QStringLiteral("rle4.bmp"))));
    EXPECT_TRUE(bitmap);
    EXPECT_TRUE(m_host.messageIds().isEmpty());
}

TEST_F(ImageFile, UnknownTypesAndFailedReadersShowTheCannotOpenMessage)
{
    const QString jpeg = folder() + QStringLiteral("/photo.jpeg");
    ASSERT_TRUE(QFile::copy(imagingFixture(QStringLiteral("colour.jpg")), jpeg));
    EXPECT_EQ(LoadImageFile(jpeg), 0);
    EXPECT_EQ(m_host.messageIds(), QList<int> { Message::kPictureUnreadable });
    m_host.clear();

    // A reader result of 0 (CMYK) shows the message; -1 (not a bitmap) and -2 do not.
    EXPECT_EQ(LoadImageFile(imagingFixture(QStringLiteral("cmyk.jpg"))), 0);
    EXPECT_EQ(m_host.messageIds(), QList<int> { Message::kPictureUnreadable });
    m_host.clear();
    const QString notBitmap = folder() + QStringLiteral("/fake.bmp");
    writeFile(notBitmap, "GIF89a...");
    EXPECT_EQ(LoadImageFile(notBitmap), 0);
    EXPECT_TRUE(m_host.messageIds().isEmpty());
    const QuietScope quiet;
    EXPECT_EQ(LoadImageFile(folder() + QStringLiteral("/missing.bmp")), 0);
    EXPECT_TRUE(m_host.messageIds().isEmpty());
}

TEST_F(ImageFile, SavesByTheLastFourCharacters)
{
    const OwnedBlock colour(LoadImageFile(imagingFixture(QStringLiteral("bmp24.bmp"))));
    ASSERT_TRUE(colour);
    EXPECT_EQ(SaveImageFile(colour.handle(), folder() + QStringLiteral("/a.jpeg")), kWriteFailed);
    EXPECT_FALSE(QFile::exists(folder() + QStringLiteral("/a.jpeg")));
    EXPECT_EQ(SaveImageFile(colour.handle(), folder() + QStringLiteral("/a.png")), kWriteFailed);
    EXPECT_EQ(SaveImageFile(colour.handle(), folder() + QStringLiteral("/a.BMP")), kWriteDone);
    EXPECT_EQ(SaveImageFile(colour.handle(), folder() + QStringLiteral("/a.Jpg")), kWriteDone);
    EXPECT_EQ(SaveImageFile(colour.handle(), folder() + QStringLiteral("/a.fpx")), kWriteFailed);
    EXPECT_EQ(m_host.waitCursorDepth(), 0);
}

// A save that is cancelled part-way (Escape) leaves the file it would have replaced untouched,
// in every format, and no half-written file beside it.
TEST_F(ImageFile, CancelledSaveKeepsTheOldFile)
{
    const OwnedBlock tall(makeRgbBlock(8, 40, std::vector<std::uint8_t>(8 * 40 * 3, 90)));
    for (const char *extension : { "jpg", "bmp", "tif", "pcx", "tga" }) {
        SCOPED_TRACE(extension);
        const QString path = folder() + QStringLiteral("/keep.") + QLatin1String(extension);
        ASSERT_EQ(SaveImageFile(tall.handle(), path), kWriteDone);
        const QByteArray before = fileBytes(path);
        m_host.pressEscapeAtPoll(2);
        EXPECT_NE(SaveImageFile(tall.handle(), path), kWriteDone);
        m_host.pressEscapeAtPoll(0);
        EXPECT_EQ(fileBytes(path), before);
        EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("keep.") + QLatin1String(extension) });
        QFile::remove(path);
    }
}

// A device given as the target is written directly, never replaced by an ordinary file: a full
// device fails the save and stays a device.
TEST_F(ImageFile, SaveToADeviceFailsAndLeavesTheDevice)
{
    const OwnedBlock tall(makeRgbBlock(8, 40, std::vector<std::uint8_t>(8 * 40 * 3, 90)));
    for (const char *extension : { "jpg", "bmp", "tif", "pcx", "tga" }) {
        SCOPED_TRACE(extension);
        const QString device = folder() + QStringLiteral("/full.") + QLatin1String(extension);
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), device));
        EXPECT_NE(SaveImageFile(tall.handle(), device), kWriteDone);
        EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/full")).isFile());
        EXPECT_TRUE(QFileInfo(device).isSymLink());
    }
}

TEST_F(ImageFile, PaletteSavedAsJpegIsExpandedFirst)
{
    const OwnedBlock palette(LoadImageFile(imagingFixture(QStringLiteral("bmp8.bmp"))));
    ASSERT_EQ(ClassifyImage(palette.handle()), kClassPalette8);
    const QString path = folder() + QStringLiteral("/palette.jpg");
    ASSERT_EQ(SaveImageFile(palette.handle(), path), kWriteDone);
    const OwnedBlock back(LoadImageFile(path));
    EXPECT_EQ(ClassifyImage(back.handle()), kClassTrueColor);
    // The source block is left as it was.
    EXPECT_EQ(ClassifyImage(palette.handle()), kClassPalette8);
}

TEST_F(ImageFile, PhotoCdSaveOffersAJpegName)
{
    setPictureSaveFolder(folder());
    const OwnedBlock colour(LoadImageFile(imagingFixture(QStringLiteral("bmp24.bmp"))));
    EXPECT_EQ(
        SaveImageFile(colour.handle(), QStringLiteral("/cd/PHOTOS/IMG0001.PCD")), kWriteFailed);
    ASSERT_EQ(m_host.saveQuestions().size(), 1);
    EXPECT_EQ(
        m_host.saveQuestions().first().proposedPath, folder() + QStringLiteral("/IMG0001.jpg"));
    EXPECT_EQ(m_host.saveQuestions().first().filter, loadString(Message::kJpegSaveFilter));

    const QString chosen = folder() + QStringLiteral("/chosen");
    m_host.queueSaveFileName(chosen);
    EXPECT_EQ(SaveImageFile(colour.handle(), QStringLiteral("/cd/IMG0001.PCD")), kWriteDone);
    EXPECT_TRUE(QFile::exists(chosen + QStringLiteral(".jpg")));
    // Choosing a Photo CD name again does not loop.
    m_host.queueSaveFileName(folder() + QStringLiteral("/again.pcd"));
    EXPECT_EQ(SaveImageFile(colour.handle(), QStringLiteral("/cd/IMG0001.PCD")), kWriteFailed);
    EXPECT_EQ(m_host.waitCursorDepth(), 0);
    setPictureSaveFolder({});
}

TEST_F(ImageFile, FormatsWeCannotDecodeFailCleanly)
{
    for (const char *name : { "/a.fpx", "/a.qsf" }) {
        SCOPED_TRACE(name);
        m_host.clear();
        const QString path = folder() + QString::fromLatin1(name);
        writeFile(path, QByteArray(64, 'x'));
        EXPECT_EQ(LoadImageFile(path), 0);
        EXPECT_EQ(m_host.messageIds(), QList<int> { Message::kPictureUnreadable });
    }
}

} // namespace

namespace
{

// TIFF, PCX and Targa files through the image file layer, the imaging library and glimix-cli.

TEST(ImageFileLayer, OpensAndSavesTiffPcxAndTargaByExtension)
{
    const QString folder = makeTestFolder();
    const RgbPicture expected = readNetpbm(codecFixture(QStringLiteral("rgb.ppm")));
    OwnedBlock source(LoadImageFile(codecFixture(QStringLiteral("rgb-lzw-pred.tif"))));
    ASSERT_TRUE(source);
    EXPECT_EQ(blockPicture(source.handle()), expected);
    for (const char *name : { "copy.tif", "COPY.PCX", "copy.Tga" }) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        ASSERT_EQ(SaveImageFile(source.handle(), path), 1) << name;
        OwnedBlock back(LoadImageFile(path));
        ASSERT_TRUE(back) << name;
        EXPECT_EQ(blockPicture(back.handle()), expected) << name;
        OwnedBlock throughLibrary(PkOpenFile(path, 0, nullptr));
        ASSERT_TRUE(throughLibrary) << name;
        EXPECT_EQ(blockPicture(throughLibrary.handle()), expected) << name;
    }
}

TEST(ImageFileLayer, ReaderFailuresAndTheQuietSwitch)
{
    const QString folder = makeTestFolder();
    {
        RecordingHost recorder;
        EXPECT_EQ(LoadImageFile(codecFixture(QStringLiteral("rgb-packbits.tif"))), 0);
        EXPECT_EQ(recorder.messageIds(), QList<int> { 54017 });
    }
    {
        RecordingHost recorder;
        EXPECT_EQ(LoadImageFile(folder + QStringLiteral("/missing.pcx")), 0);
        EXPECT_EQ(recorder.messageIds(), QList<int> { 54013 });
        EXPECT_EQ(currentPicturePath(), folder + QStringLiteral("/missing.pcx"));
    }
    // Files of the right extension but not of the kind: TIFF and Targa readers fail (0, and
    // Targa names its unsupported type), the PCX reader sees no signature (-1, no message).
    const struct {
        const char *name;
        QList<int> messages;
    } garbage[] = { { "/a.tif", { 54017 } }, { "/a.pcx", {} }, { "/a.tga", { 54026, 54017 } } };
    for (const auto &file : garbage) {
        RecordingHost recorder;
        const QString path = folder + QLatin1String(file.name);
        writeFile(path, QByteArray(64, 'x'));
        EXPECT_EQ(LoadImageFile(path), 0) << file.name;
        EXPECT_EQ(recorder.messageIds(), file.messages) << file.name;
    }
    RecordingHost recorder;
    QuietScope quiet;
    for (const char *name : { "/missing.tif", "/missing.pcx", "/missing.tga" })
        EXPECT_EQ(LoadImageFile(folder + QLatin1String(name)), 0);
    EXPECT_TRUE(recorder.messageIds().isEmpty());
}

TEST(CommandLineTool, ConvertsAndDescribesTiffPcxAndTarga)
{
    const QString cli = QDir(programFolder()).filePath(QStringLiteral("glimix-cli"));
    const QString folder = makeTestFolder();
    const QString pcx = folder + QStringLiteral("/palette.pcx");
    ASSERT_TRUE(runTool(
        cli, { QStringLiteral("convert"), codecFixture(QStringLiteral("pal8-be.tif")), pcx }));
    const QString tga = folder + QStringLiteral("/palette.tga");
    ASSERT_TRUE(runTool(cli, { QStringLiteral("convert"), pcx, tga }));
    QByteArray info;
    ASSERT_TRUE(runTool(cli, { QStringLiteral("info"), tga }, &info));
    EXPECT_TRUE(info.contains("width: 19")) << info.constData();
    EXPECT_TRUE(info.contains("bit depth: 8")) << info.constData();
    OwnedBlock back(LoadImageFile(tga));
    ASSERT_TRUE(back);
    EXPECT_EQ(blockPicture(back.handle()), readNetpbm(codecFixture(QStringLiteral("rgb.ppm"))));
}

} // namespace
