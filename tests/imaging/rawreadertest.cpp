#include "imaging/rawreader.h"
#include "imaging/dib.h"
#include "imaging/mediareader.h"
#include "picturetestutil.h"
#include "support/processrun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>

using namespace glimmerix;

namespace
{

const QString kPython = QStringLiteral("/usr/bin/python3");

QString generator()
{
    return QStringLiteral(GLIMMERIX_SOURCE_DIR "/tools/generators/makedng.py");
}

// Writes a DNG with tools/generators/makedng.py; empty when the tools are missing.
QString makeDng(const QString &folder, const QString &name, const QStringList &options)
{
    const QString path = folder + u'/' + name;
    const ProcessRun run = runProgram(kPython, QStringList { generator(), path } + options);
    return run.status == 0 ? path : QString();
}

// The dominant channel of the pixel at (fx, fy) of the picture (fractions of its sides, from
// the top left): 'R', 'G' or 'B'.
char dominantAt(const SamplePicture &picture, double fx, double fy)
{
    const int x = int(fx * picture.width);
    const int y = int(fy * picture.height);
    const std::uint8_t *p = &picture.samples[(std::size_t(y) * picture.width + x) * 3];
    if (p[0] > p[1] && p[0] > p[2])
        return 'R';
    return p[1] > p[2] ? 'G' : 'B';
}

// The four probes at the quarter points: top left, top right, bottom left, bottom right.
std::string probes(const SamplePicture &picture)
{
    return { dominantAt(picture, 0.25, 0.25), dominantAt(picture, 0.75, 0.25),
        dominantAt(picture, 0.25, 0.75), dominantAt(picture, 0.75, 0.75) };
}

long peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

struct RawCase {
    const char *name;
    QStringList options; // for makedng.py
    PictureUse use;
    int width; // of the upright picture
    int height;
    // The generator's scene is red top left, green top right, blue below; the probes as they
    // must read once the orientation is applied.
    const char *probes;
};

} // namespace

// Every way a RAW picture is read: the camera's JPEG or bitmap preview for a thumbnail (turned
// upright), the half-size decode when there is no preview or it is too small, and the full
// demosaiced decode, which must equal LibRaw's own dcraw_emu with the camera's white balance.
TEST(CameraRaw, ReadsPreviewsAndSensorDataUpright)
{
    const QString folder = makeTestFolder(QStringLiteral("raw"));
    if (makeDng(folder, QStringLiteral("probe.dng"),
            { QStringLiteral("--preview"), QStringLiteral("rgb") })
            .isEmpty())
        GTEST_SKIP() << "python3-tifffile is not installed: no DNG files to read";
    const QStringList big = { QStringLiteral("--size"), QStringLiteral("640x480") };
    const QStringList jpeg = { QStringLiteral("--preview"), QStringLiteral("jpeg") };
    const QStringList rgb = { QStringLiteral("--preview"), QStringLiteral("rgb") };
    const QStringList none = { QStringLiteral("--preview"), QStringLiteral("none") };
    auto turned = [](int orientation) {
        return QStringList { QStringLiteral("--orientation"), QString::number(orientation) };
    };
    const RawCase cases[] = {
        { "JPEG preview, a quarter turn", big + jpeg + turned(6), PictureUse::Thumbnail, 120, 160,
            "BRBG" },
        { "bitmap preview, a half turn", big + rgb + turned(3), PictureUse::Thumbnail, 160, 120,
            "BBGR" },
        { "no preview: half-size decode", big + none + turned(8), PictureUse::Thumbnail, 240, 320,
            "GBRB" },
        { "small preview: half-size decode", rgb, PictureUse::Thumbnail, 128, 96, "RGBB" },
        { "full decode", big + jpeg, PictureUse::Full, 640, 480, "RGBB" },
        { "full decode, mirrored", big + none + turned(2), PictureUse::Full, 640, 480, "GRBB" },
        { "full decode, a quarter turn back", big + rgb + turned(8), PictureUse::Full, 480, 640,
            "GBRB" },
    };
    const bool haveDcrawEmu = QFileInfo::exists(QStringLiteral("/usr/bin/dcraw_emu"));
    int number = 0;
    for (const RawCase &test : cases) {
        SCOPED_TRACE(test.name);
        const QString path = makeDng(folder, QStringLiteral("c%1.dng").arg(number++), test.options);
        ASSERT_FALSE(path.isEmpty()) << "makedng.py failed (is cjpeg installed?)";
        const MediaFile file = identifyMediaFile(path);
        ASSERT_EQ(file.format, MediaFormat::CameraRaw);
        const DecodeResult read = loadMediaPicture(file, test.use);
        ASSERT_EQ(read.status, DecodeStatus::Ok) << read.detail.toStdString();
        OwnedBlock block(read.block);
        const BITMAPINFOHEADER *header = dibHeader(block.handle());
        EXPECT_EQ(header->biBitCount, 24);
        const SamplePicture picture = blockPixels(block.handle());
        ASSERT_EQ(picture.width, test.width);
        ASSERT_EQ(picture.height, test.height);
        EXPECT_EQ(probes(picture), test.probes);
        if (test.use != PictureUse::Full || !haveDcrawEmu)
            continue;
        ASSERT_EQ(
            runProgram(QStringLiteral("/usr/bin/dcraw_emu"), { QStringLiteral("-w"), path }).status,
            0);
        const SamplePicture reference = readPnm(path + QStringLiteral(".ppm"));
        ASSERT_EQ(reference.width, picture.width);
        ASSERT_EQ(reference.height, picture.height);
        double difference = 0;
        for (std::size_t i = 0; i < picture.samples.size(); ++i)
            difference += std::abs(int(picture.samples[i]) - int(reference.samples[i]));
        // The same library with the same settings: equal but for rounding.
        EXPECT_LE(difference / double(picture.samples.size()), 0.5);
    }
}

// What is not a good RAW picture is refused with a cause: a file cut short, a header claiming a
// sensor of 60000 x 40000 (at once, without reserving memory for it), a text file with a RAW
// name, a missing file.
TEST(CameraRaw, RefusesDamagedAndAbsurdFilesWithACause)
{
    const QString folder = makeTestFolder(QStringLiteral("rawbad"));
    const QString whole = makeDng(folder, QStringLiteral("whole.dng"),
        { QStringLiteral("--preview"), QStringLiteral("none"), QStringLiteral("--size"),
            QStringLiteral("640x480") });
    if (whole.isEmpty())
        GTEST_SKIP() << "python3-tifffile is not installed: no DNG files to read";
    const QString cut = folder + QStringLiteral("/cut.dng");
    const QByteArray bytes = fileBytes(whole);
    writeFile(cut, bytes.left(bytes.size() / 2));
    const QString absurd = makeDng(folder, QStringLiteral("absurd.dng"),
        { QStringLiteral("--preview"), QStringLiteral("jpeg"), QStringLiteral("--claim"),
            QStringLiteral("60000x40000") });
    const QString text = folder + QStringLiteral("/notes.NEF");
    writeFile(text, QByteArray("shopping list: bread, milk\n").repeated(40));
    const QString empty = folder + QStringLiteral("/empty.CR2");
    writeFile(empty, {});

    struct BadCase {
        QString path;
        DecodeStatus status;
        const char *detailPart;
    };
    const BadCase cases[] = {
        { cut, DecodeStatus::Unreadable, "ends before the picture" },
        { absurd, DecodeStatus::TooLarge, "60000 x 40000" },
        { text, DecodeStatus::Unsupported, "not a camera RAW file" },
        { empty, DecodeStatus::Unreadable, "empty" },
        { folder + QStringLiteral("/missing.ARW"), DecodeStatus::CannotOpen, "no such file" },
    };
    for (const BadCase &test : cases) {
        for (const PictureUse use : { PictureUse::Thumbnail, PictureUse::Full }) {
            SCOPED_TRACE(test.path.toStdString());
            const long before = peakMegabytes();
            QElapsedTimer timer;
            timer.start();
            const DecodeResult read = loadCameraRaw(test.path, use);
            EXPECT_LT(timer.elapsed(), 500);
            EXPECT_LT(peakMegabytes() - before, 100);
            EXPECT_EQ(read.status, test.status) << read.detail.toStdString();
            EXPECT_EQ(read.block, 0);
            EXPECT_TRUE(read.detail.contains(QLatin1String(test.detailPart)))
                << read.detail.toStdString();
        }
    }
}
