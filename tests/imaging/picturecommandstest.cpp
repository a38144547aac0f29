#include "picturetestutil.h"

#include "support/testenvironment.h"

#include "imaging/bmpcodec.h"
#include "imaging/dib.h"

#include "platform/strings.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace
{

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

CliRun runCli(const QStringList &args)
{
    QProcess process;
    process.start(programFolder() + QStringLiteral("/glimix-cli"), args);
    process.waitForFinished(30000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError()) };
}

TEST(PictureCommands, ConvertTurnsAPaletteBitmapIntoA24BitBitmap)
{
    const QString out = makeTestFolder() + QStringLiteral("/wide.bmp");
    const CliRun run = runCli({ QStringLiteral("convert"), QStringLiteral("--24bit"),
        imagingFixture(QStringLiteral("rle4.bmp")), out });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const OwnedBlock block(ReadBmpFile(out));
    ASSERT_TRUE(block);
    EXPECT_EQ(dibHeader(block.handle())->biBitCount, 24);
    EXPECT_EQ(blockPixels(block.handle()), readPnm(imagingFixture(QStringLiteral("rle4.ppm"))));
}

TEST(PictureCommands, InfoPrintsSizeDepthClassAndResolution)
{
    const CliRun run
        = runCli({ QStringLiteral("info"), imagingFixture(QStringLiteral("dpi300.jpg")) });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const char *line : { "width: 13", "height: 7", "bit depth: 24", "image class: 2",
             "resolution: 11811 x 11811 pixels per metre (300 x 300 dpi)" })
        EXPECT_TRUE(run.out.contains(QString::fromLatin1(line))) << line << "\n"
                                                                 << run.out.toStdString();
}

TEST(PictureCommands, FailuresExitNonZeroWithTheMessageText)
{
    const CliRun cmyk
        = runCli({ QStringLiteral("info"), imagingFixture(QStringLiteral("cmyk.jpg")) });
    EXPECT_NE(cmyk.exitCode, 0);
    EXPECT_TRUE(cmyk.err.contains(loadString(54017))) << cmyk.err.toStdString();
    const CliRun jpeg
        = runCli({ QStringLiteral("convert"), imagingFixture(QStringLiteral("bmp8.bmp")),
            makeTestFolder() + QStringLiteral("/out.jpeg") });
    EXPECT_NE(jpeg.exitCode, 0);
    EXPECT_FALSE(jpeg.err.isEmpty());
}

} // namespace
