#include "codectestsupport.h"

#include "imaging/imagefile.h"
#include "imaging/picturestate.h"
#include "imaging/pixkit.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDir>

#include <gtest/gtest.h>

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
