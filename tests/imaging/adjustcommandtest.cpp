// glimix-cli adjust: the picture window's tools from the command line.

#include "picturetestutil.h"
#include "support/processrun.h"

#include "imaging/blockmemory.h"
#include "imaging/dib.h"
#include "imaging/imagefile.h"

#include <QFile>
#include <QSize>

#include <gtest/gtest.h>

namespace
{

ProcessRun adjust(const QStringList &args)
{
    return runCli(QStringList { QStringLiteral("adjust") } + args);
}

TEST(AdjustCommand, StepsRunInOrderAndBadInputIsRefused)
{
    const QString folder = makeTestFolder();
    const QString in = folder + QStringLiteral("/in.bmp");
    // 6 x 4, every pixel (200, 100, 50).
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 24; ++i)
        rgb.insert(rgb.end(), { 200, 100, 50 });
    OwnedBlock picture(makeRgbBlock(6, 4, rgb));
    ASSERT_EQ(SaveImageFile(picture.handle(), in), 1);
    QFile original(in);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    struct Case {
        const char *name;
        QStringList options;
        int exitCode;
        QString error; // part of the message, or the output size and first pixel on success
        QSize size = {};
        std::vector<std::uint8_t> firstPixel = {};
    };
    const QString out = folder + QStringLiteral("/out.tif");
    const Case cases[] = {
        { "crop then turn", { "--crop", "1,1,4,2", "--rotate", "90" }, 0, {}, QSize(2, 4),
            { 200, 100, 50 } },
        { "saturation 0 then brightness +50", { "--saturation", "0", "--brightness", "178" }, 0, {},
            QSize(6, 4), { 250, 250, 250 } },
        { "neutral values change nothing", { "--contrast", "129", "--sharpness", "0" }, 0, {},
            QSize(6, 4), { 200, 100, 50 } },
        { "crop reaching outside", { "--crop", "4,0,3,2" }, 1,
            in + ": the crop area 4,0 3 x 2 reaches outside the 6 x 4 picture" },
        { "slider value too high", { "--brightness", "300" }, 2, "from 0 to 256" },
        { "unknown option", { "--blur", "3" }, 2, "unknown option '--blur'" },
        { "unknown option last", { "--blur" }, 2, "unknown option '--blur'" },
        { "missing value", { "--rotate" }, 2, "--rotate needs a value" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(out);
        const ProcessRun run = adjust(QStringList { in, out } + c.options);
        EXPECT_EQ(run.status, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.error)) << run.err.toStdString();
        if (c.exitCode != 0) {
            EXPECT_FALSE(QFile::exists(out));
            continue;
        }
        OwnedBlock result(LoadImageFile(out));
        const SamplePicture pixels = blockPixels(result.handle());
        EXPECT_EQ(QSize(pixels.width, pixels.height), c.size);
        EXPECT_EQ(std::vector<std::uint8_t>(pixels.samples.begin(), pixels.samples.begin() + 3),
            c.firstPixel);
    }
    // An output folder that does not exist: the output is named, the input stays as it was.
    const ProcessRun unwritable = adjust({ in, folder + "/missing/out.bmp", "--rotate", "45" });
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains(folder + "/missing/out.bmp"))
        << unwritable.err.toStdString();
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), before);
}

} // namespace
