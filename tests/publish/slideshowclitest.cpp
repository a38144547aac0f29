// glimix-cli slideshow: a package from a saved album (into a folder and onto a disc image), and
// input it refuses without leaving anything behind.

#include "publishtesthelpers.h"

#include "media/waveformat.h"
#include "media/wavewriter.h"
#include "publish/slideshowfile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace
{

ProcessRun slideshow(const QStringList &args)
{
    return runCli(QStringList { QStringLiteral("slideshow") } + args);
}

TEST(SlideShowCli, MakesAPackageAndRefusesBadInputCleanly)
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString album = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/trip.gmx");
    {
        // The document holds the album's lock until it goes.
        CAlbumDoc doc;
        for (const char *name : { "a.jpg", "b.bmp", "c.jpg" }) {
            writePicture(media + u'/' + QLatin1String(name), 160, 120);
            doc.addFile(media + u'/' + QLatin1String(name));
        }
        writeFile(media + QStringLiteral("/noise.wav"), QByteArray(400, 's'));
        doc.addFile(media + QStringLiteral("/noise.wav")); // not a picture: never in a slide show
        QByteArray data(16000, '\x80');
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_TRUE(writeWaveFile(media + QStringLiteral("/song.wav"),
            WaveFormat::pcm(8000, 8, 1).toBlock(18), buffer, data.size()));
        ASSERT_TRUE(doc.onSaveDocument(album));
    }

    const QString out = makeTestFolder(QStringLiteral("out"));
    const ProcessRun made = slideshow({ album, out + QStringLiteral("/show"), "--items", "2,0,1",
        "--music", media + QStringLiteral("/song.wav") });
    ASSERT_EQ(made.status, 0) << qPrintable(made.err);
    EXPECT_TRUE(made.out.contains(QStringLiteral("3 pictures in")));
    SlideShowFile show;
    ASSERT_TRUE(decodeSlideShow(fileBytes(out + QStringLiteral("/show/slide.sld")), show));
    ASSERT_EQ(show.entries.size(), 3);
    EXPECT_EQ(show.entries.at(0).pictureName, QStringLiteral("c.JPG"));
    EXPECT_EQ(show.musicName, QStringLiteral("song.wav"));
    EXPECT_EQ(show.musicSeconds, 2u);
    for (const char *file :
        { "a.JPG", "b.JPG", "c.JPG", "song.wav", "slideshow.exe", "slideshow.html" })
        EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/show/") + QLatin1String(file)))
            << file;

    // Onto a disc image, in a disc folder.
    const ProcessRun disc = slideshow({ album, "--item-sounds", "--iso",
        out + QStringLiteral("/show.iso"), "--disc-folder", "Show" });
    ASSERT_EQ(disc.status, 0) << qPrintable(disc.err);
    const QByteArray image = fileBytes(out + QStringLiteral("/show.iso"));
    EXPECT_TRUE(image.contains("open=Show\\slideshow.exe")) << "AutoRun.inf on the disc";

    const struct {
        QStringList args;
        int status;
        const char *says;
    } refused[] = {
        { { album, out + "/bad", "--music", media + "/noise.wav" }, 1,
            "not a WAVE file with a length" },
        { { album, out + "/bad", "--music", media + "/gone.wav" }, 1, "no such file" },
        { { album, out + "/bad", "--music", media + "/song.wav", "--item-sounds" }, 2, "not both" },
        { { album, out + "/bad", "--items", "3" }, 1, "not a still picture" },
        { { album, out + "/bad", "--disc-folder", "Show" }, 2, "--disc-folder needs --iso" },
        { { album }, 2, "give an album and a folder" },
    };
    for (const auto &r : refused) {
        const ProcessRun run = slideshow(r.args);
        EXPECT_EQ(run.status, r.status) << qPrintable(r.args.join(u' '));
        EXPECT_TRUE(run.err.contains(QLatin1String(r.says))) << qPrintable(run.err);
        EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/bad")))
            << qPrintable(r.args.join(u' '));
    }
}

} // namespace
