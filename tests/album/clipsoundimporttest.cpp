// Clips and sounds of today added to an album: known by their content, a clip shows its first
// frame turned as its display rotation says, a sound shows the sound icon.

#include "albumtesthelpers.h"

#include "album/iconpicture.h"
#include "platform/paths.h"
#include "support/processrun.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

bool haveFfmpeg()
{
    return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

// Runs ffmpeg quietly; true when it made its output.
bool ffmpeg(const QStringList &args)
{
    return runProgram(QStringLiteral("ffmpeg"),
               QStringList { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y") }
                   + args)
               .status
        == 0;
}

// Mean absolute difference per channel of two thumbnail images of the same size.
double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

struct ClipCase {
    const char *name; // the file's name: its extension picks FFmpeg's container
    QStringList codec; // ffmpeg options of the encoding
    bool turn; // stored with a display rotation of 90 degrees clockwise
    bool upright; // the thumbnail follows the rotation
};

} // namespace

// Every container FFmpeg writes here gives its first frame as the thumbnail, the same picture as
// FFmpeg's own decode (which turns by the display rotation) scaled by the album's rule, within a
// mean difference of 4 levels for the colour conversion's rounding.
TEST(ClipImport, FirstFrameUprightForEveryContainer)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg is not installed: no clips to read";
    RecordingHost recorder;
    const QString folder = makeTestFolder(QStringLiteral("clips"));
    const QStringList h264 = { QStringLiteral("-c:v"), QStringLiteral("libx264"),
        QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p") };
    const ClipCase cases[] = {
        { "phone.mp4", h264, true, true },
        { "plain.mp4", h264, false, true },
        { "movie.m4v", h264, true, true },
        { "film.mkv", h264, false, true },
        { "web.webm", { QStringLiteral("-c:v"), QStringLiteral("libvpx-vp9") }, false, true },
        { "old.3gp",
            { QStringLiteral("-c:v"), QStringLiteral("h263"), QStringLiteral("-s"),
                QStringLiteral("176x144") },
            true, true },
        { "camera.mts", { QStringLiteral("-c:v"), QStringLiteral("mpeg2video") }, false, true },
        { "phone.mov", h264, true, true },
    };
    CAlbumDoc doc;
    for (const ClipCase &test : cases) {
        SCOPED_TRACE(test.name);
        const QString name = QString::fromLatin1(test.name);
        const QString path = joinPath(folder, name);
        const QString stored
            = test.turn ? joinPath(folder, QStringLiteral("stored-") + name) : path;
        ASSERT_TRUE(ffmpeg(
            QStringList { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("testsrc=size=160x120:rate=10:duration=1") }
            + test.codec + QStringList { stored }));
        // FFmpeg 5.1 sets a display rotation when it copies a stream with a "rotate" tag.
        if (test.turn) {
            ASSERT_TRUE(
                ffmpeg({ QStringLiteral("-i"), stored, QStringLiteral("-c"), QStringLiteral("copy"),
                    QStringLiteral("-metadata:s:v"), QStringLiteral("rotate=90"), path }));
        }
        const QString reference = path + QStringLiteral(".ppm");
        ASSERT_TRUE(
            ffmpeg((test.upright ? QStringList {} : QStringList { QStringLiteral("-noautorotate") })
                + QStringList { QStringLiteral("-i"), path, QStringLiteral("-frames:v"),
                    QStringLiteral("1"), reference }));
        const QImage frame(reference);
        ASSERT_FALSE(frame.isNull());
        EXPECT_EQ(frame.width() < frame.height(), test.turn && test.upright);

        ASSERT_EQ(doc.addFile(path), 1);
        const AlbumItem *item = doc.item(doc.itemCount() - 1);
        EXPECT_EQ(item->info()->isMedia, 1);
        OwnedBlock picture(imageToDibBlock(frame.convertToFormat(QImage::Format_RGB888)));
        OwnedBlock expected(makeThumbnail(picture.handle(), path));
        const QImage want = thumbnailBlockImage(expected.handle());
        const QImage got = item->thumbnailImage();
        ASSERT_EQ(got.size(), want.size());
        EXPECT_LT(meanDifference(got, want), 4.0);
    }
    EXPECT_TRUE(recorder.messageIds().isEmpty());
}

// Sounds of today, known by their content whatever their name, get the sound icon; a WAVE file
// keeps the WAVE icon.
TEST(SoundImport, SoundsOfTodayGetTheSoundIcon)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg is not installed: no sounds to read";
    RecordingHost recorder;
    const QString folder = makeTestFolder(QStringLiteral("sounds"));
    const struct {
        const char *name;
        QStringList codec;
        const char *icon;
    } cases[] = {
        { "song.mp3", { QStringLiteral("-c:a"), QStringLiteral("libmp3lame") }, kMp3IconPicture },
        { "song.ogg", { QStringLiteral("-c:a"), QStringLiteral("libvorbis") }, kMp3IconPicture },
        { "song.opus", { QStringLiteral("-c:a"), QStringLiteral("libopus") }, kMp3IconPicture },
        { "song.flac", { QStringLiteral("-c:a"), QStringLiteral("flac") }, kMp3IconPicture },
        { "song.m4a", { QStringLiteral("-c:a"), QStringLiteral("aac") }, kMp3IconPicture },
        { "voice.wave", { QStringLiteral("-f"), QStringLiteral("wav") }, kWaveIconPicture },
    };
    CAlbumDoc doc;
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        const QString path = joinPath(folder, QString::fromLatin1(test.name));
        ASSERT_TRUE(
            ffmpeg(QStringList { QStringLiteral("-f"), QStringLiteral("lavfi"),
                       QStringLiteral("-i"), QStringLiteral("sine=frequency=440:duration=0.5") }
                + test.codec + QStringList { path }));
        ASSERT_EQ(doc.addFile(path), 1);
        const AlbumItem *item = doc.item(doc.itemCount() - 1);
        EXPECT_EQ(item->info()->isMedia, 1);
        OwnedBlock icon(readIconPicture(test.icon));
        OwnedBlock expected(makeThumbnail(icon.handle(), path));
        const QImage want = thumbnailBlockImage(expected.handle());
        const QImage got = item->thumbnailImage();
        ASSERT_EQ(got.size(), want.size());
        EXPECT_EQ(meanDifference(got, want), 0.0);
    }
}
