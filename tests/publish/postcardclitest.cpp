// glimix-cli postcard end to end: packages from a catalog frame and from an own picture, on a
// disc image, bad input that must leave nothing behind, the player showing the card with the
// clip playing, and postcard.html in headless Chromium.

#include "headlessbrowser.h"
#include "publishtesthelpers.h"

#include "platform/paths.h"
#include "publish/framecatalog.h"
#include "publish/postcardfile.h"
#include "publish/postcardmaker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

ProcessRun postcard(const QStringList &args)
{
    return runCli(QStringList { QStringLiteral("postcard") } + args);
}

// A copy of a fixture clip under `name` in a fresh folder.
QString clipCopy(const QString &fixture, const QString &name)
{
    const QString path = makeTestFolder(QStringLiteral("clips")) + u'/' + name;
    QFile::copy(fixturePath(fixture), path);
    return path;
}

PostcardContent readPackage(const QString &folder)
{
    QString error;
    const std::optional<PostcardContent> content
        = readPostcardFile(fileBytes(folder + QStringLiteral("/background.vtp")), &error);
    EXPECT_TRUE(content) << qPrintable(error);
    return content.value_or(PostcardContent());
}

TEST(PostcardCli, MakesPackagesFromACatalogFrameAnOwnPictureAndOntoADisc)
{
    const QString clip = clipCopy(QStringLiteral("album/clip.mpg"), QStringLiteral("trip.Mpeg"));
    const QString out = makeTestFolder(QStringLiteral("card")) + QStringLiteral("/framed");
    ProcessRun run = postcard({ clip, out, "--frame", "Seasons:1", "--large", "--text",
        "Greetings from the coast", "--text", "Anna", "--text", "Main Street 1" });
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
        QStringList({ "VideoPostcard.exe", "background.vtp", "glimmerix-package.txt",
            "postcard.html", "video.mpeg" }));
    EXPECT_EQ(fileBytes(out + QStringLiteral("/VideoPostcard.exe")),
        fileBytes(joinPath(programFolder(), QStringLiteral("vplayer.bin"))));
    EXPECT_EQ(fileBytes(out + QStringLiteral("/video.mpeg")), fileBytes(clip));
    PostcardContent content = readPackage(out);
    EXPECT_EQ(content.clipName, QStringLiteral("Video.MPEG"));
    const std::optional<FrameCatalog> seasons = readFrameCatalog(
        QDir(resourceFolder()).filePath(QStringLiteral("Template/Seasons.cat")), nullptr);
    ASSERT_TRUE(seasons);
    EXPECT_EQ(content.window, seasons->frames.at(1).largeWindow);
    EXPECT_EQ(content.frameData, readCatalogFrameData(*seasons, seasons->frames.at(1), nullptr));
    // The texts changed the card: it is no longer the plain background.
    EXPECT_NE(postcardCardImage(content).pixelColor(60, 60), QColor(250, 244, 228));

    const QString picture = makeTestFolder(QStringLiteral("own")) + QStringLiteral("/wide.jpg");
    writePicture(picture, 1600, 1200);
    const QString own = makeTestFolder(QStringLiteral("card"));
    run = postcard({ clip, own, "--picture", picture });
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    content = readPackage(own);
    EXPECT_EQ(content.window, QRect(240, 180, 160, 120));
    EXPECT_EQ(content.frameData.left(2), QByteArray("BM"));
    EXPECT_EQ(postcardFrameImage(content).size(), QSize(640, 480));

    const QString iso = makeTestFolder(QStringLiteral("disc")) + QStringLiteral("/card.iso");
    run = postcard({ clip, "--frame", "Classic:0", "--iso", iso });
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    const QByteArray image = fileBytes(iso);
    for (const char *name :
        { "AutoRun.inf", "VideoPostcard.exe", "background.vtp", "video.mpeg", "postcard.html" })
        EXPECT_TRUE(image.contains(name)) << name;
    EXPECT_TRUE(image.contains("open=VideoPostcard.exe"));
}

TEST(PostcardCli, BadInputFailsClearlyAndLeavesNothingInTheDestination)
{
    const QString clip = clipCopy(QStringLiteral("album/clip.mpg"), QStringLiteral("trip.mpg"));
    const QString broken
        = clipCopy(QStringLiteral("album/broken.mpeg"), QStringLiteral("broken.mpeg"));
    const QString hostile = makeTestFolder(QStringLiteral("cat")) + QStringLiteral("/evil.cat");
    QByteArray evil(4176, '\0');
    evil.replace(0, 4, "AVTP");
    evil.replace(4172, 4, "\xff\xff\xff\xff");
    writeFile(hostile, evil + QByteArray(1000, 'x'));
    const QString root = makeTestFolder(QStringLiteral("card"));
    const QString out = root + QStringLiteral("/out");
    const struct {
        QStringList args;
        int status;
        const char *says;
    } cases[] = {
        { { clip, out }, 2, "give either --frame or --picture" },
        { { clip, out, "--frame", "Seasons" }, 2, "--frame takes CATALOG:INDEX" },
        { { clip, "--frame", "Seasons:0" }, 2, "give a clip and a folder" },
        { { clip, out, "--frame", "Seasons:0", "--text", "a", "--text", "b", "--text", "c",
              "--text", "d" },
            2, "at most three --text lines" },
        { { broken, out, "--frame", "Seasons:0" }, 1, "FFmpeg cannot open the clip" },
        { { root + "/none.mpg", out, "--frame", "Seasons:0" }, 1, "no such file" },
        { { clip, out, "--frame", hostile + ":0" }, 1, "more than the file holds" },
        { { clip, out, "--frame", "Seasons:9" }, 1, "the catalog has 3 frames" },
        { { clip, out, "--frame", "Nowhere:0" }, 1, "no such catalog" },
        { { clip, out, "--picture", root + "/none.jpg" }, 1, "none.jpg" },
        { { clip, out, "--frame", "Seasons:0", "--text", QString(3000, u'w') }, 1,
            "no longer fits" },
    };
    for (const auto &c : cases) {
        const ProcessRun run = postcard(c.args);
        EXPECT_EQ(run.status, c.status) << qPrintable(c.args.join(u' ').left(120));
        EXPECT_TRUE(run.err.contains(QLatin1String(c.says))) << qPrintable(run.err);
        EXPECT_FALSE(QFileInfo::exists(out)) << qPrintable(run.err);
        // The clip is named once, not once by the tool and again by the package check.
        EXPECT_LE(run.err.count(QFileInfo(c.args.first()).fileName()), 1) << qPrintable(run.err);
    }
}

TEST(PostcardPlayer, ShowsTheCardWithTheClipPlaying)
{
    const QString clip = clipCopy(QStringLiteral("album/clip.mpg"), QStringLiteral("trip.MPG"));
    const QString out = makeTestFolder(QStringLiteral("card"));
    const ProcessRun run = postcard({ clip, out, "--frame", "Celebrations:0", "--text", "Hi" });
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    const PostcardContent content = readPackage(out);

    const QString snapshot = out + QStringLiteral("/snapshot.png");
    const ProcessRun player = runProgram(
        out + QStringLiteral("/VideoPostcard.exe"), { "--snapshot", snapshot }, { {}, 60000 });
    ASSERT_EQ(player.status, 0) << qPrintable(player.err);
    const QImage shot(snapshot);
    ASSERT_FALSE(shot.isNull());
    // Frame on the left at (24, 24), the card on the right at (688, 24), at full size.
    const QImage frame = postcardFrameImage(content);
    EXPECT_EQ(shot.pixelColor(24 + 5, 24 + 5), frame.pixelColor(5, 5));
    EXPECT_EQ(
        shot.pixelColor(688 + 300, 24 + 400), postcardCardImage(content).pixelColor(300, 400));
    // The clip's colour bars fill the window: many colours, not the black of an empty window.
    const QRect window = content.window.translated(24, 24);
    QSet<QRgb> colours;
    for (int x = window.left(); x <= window.right(); x += 4)
        colours.insert(shot.pixel(x, window.center().y()));
    EXPECT_GT(colours.size(), 4);
}

TEST(PostcardBrowser, PostcardHtmlShowsTheCardAndLoadsTheClip)
{
    const QString browser = chromium();
    if (browser.isEmpty())
        GTEST_SKIP() << "Chromium is not installed (tools/setup.sh installs it)";
    // Browsers play H.264 in a QuickTime file; the clip is named as a recipient's would be.
    const QString clip = clipCopy(QStringLiteral("publish/trip.mov"), QStringLiteral("Trip.MOV"));
    const QString out = makeTestFolder(QStringLiteral("card"));
    const ProcessRun run
        = postcard({ clip, out, "--frame", "Classic:2", "--large", "--text", "Hi" });
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    const QString page = QString::fromUtf8(fileBytes(out + QStringLiteral("/postcard.html")));
    EXPECT_FALSE(page.contains(QLatin1String("http"))); // nothing fetched from elsewhere
    EXPECT_TRUE(page.contains(QLatin1String("src=\"video.mov\"")));

    const QString dom = dumpDom(browser, out + QStringLiteral("/postcard.html"));
    const QRegularExpressionMatch body
        = QRegularExpression(QStringLiteral("<body([^>]*)>")).match(dom);
    ASSERT_TRUE(body.hasMatch()) << qPrintable(dom.left(300));
    EXPECT_TRUE(body.captured(1).contains(QLatin1String("data-frame=\"loaded\"")))
        << qPrintable(body.captured(1));
    EXPECT_TRUE(body.captured(1).contains(QLatin1String("data-card=\"loaded\"")));
    EXPECT_TRUE(body.captured(1).contains(
        QRegularExpression(QStringLiteral("data-video=\"(loaded|playing)\""))))
        << qPrintable(body.captured(1));
}

} // namespace
