#include "picturetestutil.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include "imaging/dibblock.h"
#include "imaging/imagecodes.h"
#include "imaging/imageconvert.h"
#include "imaging/imagefile.h"
#include "imaging/picturestate.h"

#include "platform/strings.h"

#include <QFile>

#include <gtest/gtest.h>

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
    EXPECT_EQ(m_host.messageIds(), QList<int> { kMsgCannotOpenPicture });
    m_host.clear();

    // A reader result of 0 (CMYK) shows the message; -1 (not a bitmap) and -2 do not.
    EXPECT_EQ(LoadImageFile(imagingFixture(QStringLiteral("cmyk.jpg"))), 0);
    EXPECT_EQ(m_host.messageIds(), QList<int> { kMsgCannotOpenPicture });
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
    EXPECT_EQ(m_host.saveQuestions().first().filter, loadString(kStrJpegSaveFilter));

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
        EXPECT_EQ(m_host.messageIds(), QList<int> { kMsgCannotOpenPicture });
    }
}

} // namespace
