#include "picturetestutil.h"

#include "support/processrun.h"
#include "support/testenvironment.h"

#include "imaging/bmpcodec.h"
#include "imaging/dib.h"

#include "platform/strings.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

TEST(PictureCommands, ConvertTurnsAPaletteBitmapIntoA24BitBitmap)
{
    const QString out = makeTestFolder() + QStringLiteral("/wide.bmp");
    const ProcessRun run = runCli({ QStringLiteral("convert"), QStringLiteral("--24bit"),
        imagingFixture(QStringLiteral("rle4.bmp")), out });
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const OwnedBlock block(ReadBmpFile(out));
    ASSERT_TRUE(block);
    EXPECT_EQ(dibHeader(block.handle())->biBitCount, 24);
    EXPECT_EQ(blockPixels(block.handle()), readPnm(imagingFixture(QStringLiteral("rle4.ppm"))));
}

TEST(PictureCommands, InfoPrintsSizeDepthClassAndResolution)
{
    const ProcessRun run
        = runCli({ QStringLiteral("info"), imagingFixture(QStringLiteral("dpi300.jpg")) });
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (const char *line : { "width: 13", "height: 7", "bit depth: 24", "image class: 2",
             "resolution: 11811 x 11811 pixels per metre (300 x 300 dpi)" })
        EXPECT_TRUE(run.out.contains(QString::fromLatin1(line))) << line << "\n"
                                                                 << run.out.toStdString();
}

TEST(PictureCommands, FailuresNameTheFileAndTheCauseAndExitNonZero)
{
    const QString folder = makeTestFolder();
    writeFile(folder + QStringLiteral("/zero.jpg"), {});
    const QString cmyk = imagingFixture(QStringLiteral("cmyk.jpg"));
    const QString bmp = imagingFixture(QStringLiteral("bmp8.bmp"));
    const QString huge
        = QStringLiteral(GLIMMERIX_SOURCE_DIR "/fuzz/crashers/bmp-huge-dimensions.bmp");
    const QString zero = folder + QStringLiteral("/zero.jpg");
    const QString jpeg = folder + QStringLiteral("/out.jpeg");
    const QString directory = folder + QStringLiteral("/x.jpg");
    QDir(folder).mkdir(QStringLiteral("x.jpg"));
    const struct {
        QStringList args;
        QString expected;
    } cases[] = {
        { { QStringLiteral("info"), zero }, zero + QStringLiteral(": the file is empty") },
        { { QStringLiteral("info"), cmyk },
            cmyk + QStringLiteral(": CMYK JPEG pictures are not supported") },
        { { QStringLiteral("info"), huge },
            huge
                + QStringLiteral(": the picture claims 100000 x 100000 pixels; the header is "
                                 "damaged or the picture is too large") },
        { { QStringLiteral("convert"), directory, folder + QStringLiteral("/o.bmp") },
            directory + QStringLiteral(": is a folder") },
        { { QStringLiteral("convert"), bmp, jpeg },
            jpeg + QStringLiteral(": pictures cannot be saved as .jpeg files") },
    };
    for (const auto &c : cases) {
        const ProcessRun run = runCli(c.args);
        EXPECT_EQ(run.status, 1) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("glimix-cli: ") + c.expected))
            << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << "one line: " << run.err.toStdString();
    }
    // An option the command does not know is named as such, not taken for a file.
    for (const char *command : { "info", "convert" }) {
        const ProcessRun run = runCli({ QLatin1String(command), QStringLiteral("--x"), bmp,
            folder + QStringLiteral("/o.bmp") });
        EXPECT_EQ(run.status, 2) << command;
        EXPECT_TRUE(run.err.contains(QStringLiteral("unknown option --x")))
            << run.err.toStdString();
    }
}

TEST(PictureCommands, ErrorsCarryTheNameTheToolWasRunBy)
{
    const QString link = makeTestFolder() + QStringLiteral("/gx");
    ASSERT_TRUE(QFile::link(programFolder() + QStringLiteral("/glimix-cli"), link));
    const ProcessRun run
        = runProgram(link, { QStringLiteral("info"), QStringLiteral("/nonexistent.bmp") });
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, QStringLiteral("gx: /nonexistent.bmp: no such file\n"));
}

TEST(PictureCommands, LibjpegWarningsDoNotReachTheTerminal)
{
    // A photo cut short: libjpeg warns "Premature end of JPEG file" and fills the rest grey.
    const QByteArray photo = fileBytes(imagingFixture(QStringLiteral("colour.jpg")));
    const QString cut = makeTestFolder() + QStringLiteral("/cut.jpg");
    writeFile(cut, photo.left(photo.size() - 20));
    const ProcessRun run = runCli({ QStringLiteral("info"), cut });
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

} // namespace
