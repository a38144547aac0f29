// The web album generator over real files: thumbnails and full pictures, pages, theme files,
// delivery, and what bad input, a full disk and Cancel leave behind.

#include "publishtesthelpers.h"

#include "publish/itempicker.h"
#include "publish/presentationframe.h"
#include "publish/productfiles.h"
#include "publish/webalbumgenerator.h"
#include "support/processrun.h"
#include "support/recordinghost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

using namespace glimmerix;

namespace
{

// A support folder with every theme picture and a program folder with the logo and icons.
WebAlbumSetup testSetup(const WebAlbumOptions &options)
{
    WebAlbumSetup setup;
    setup.options = options;
    setup.fieldLabels
        = { QStringLiteral("Caption"), QStringLiteral("Keywords"), QStringLiteral("Description") };
    setup.texts.languageName = QStringLiteral("English");
    setup.texts.navigation = { QStringLiteral("First"), QStringLiteral("Previous"),
        QStringLiteral("Next"), QStringLiteral("Last") };
    setup.texts.closing = QStringLiteral("<HR>\n");
    setup.texts.pageNumberFormat = QStringLiteral("<P>Page %i of %i</P>\n");
    setup.texts.creditAddress = QStringLiteral("https://maker.example/");
    setup.supportFolder = makeTestFolder(QStringLiteral("support"));
    for (const char *name : { "bg10", "bg11", "bg13", "bg14" }) {
        writeFile(
            setup.supportFolder + u'/' + QLatin1String(name) + QStringLiteral(".log"), "GIF89a");
        for (char button = 'a'; button <= 'd'; ++button)
            writeFile(setup.supportFolder + QStringLiteral("/b") + QLatin1String(name + 2)
                    + QLatin1Char(button) + QStringLiteral(".log"),
                "GIF89a");
    }
    setup.programFolder = makeTestFolder(QStringLiteral("program"));
    writeFile(setup.programFolder + QStringLiteral("/orvanta.log"), "GIF89a");
    QFile::copy(QStringLiteral(GLIMMERIX_SOURCE_DIR "/share/data/waveico.log"),
        setup.programFolder + QStringLiteral("/waveico.log"));
    setup.workers = 2;
    return setup;
}

QSize imageSize(const QString &path)
{
    return QImageReader(path).size();
}

struct Album {
    QString media = makeTestFolder(QStringLiteral("media"));
    QString work = makeTestFolder(QStringLiteral("work")) + u'/';
    CAlbumDoc doc;
    std::unique_ptr<ItemPicker> picker;

    void pick(const QStringList &names)
    {
        QStringList paths;
        for (const QString &name : names)
            paths.append(media + u'/' + name);
        addPresentItems(doc, paths);
        picker = std::make_unique<ItemPicker>(PickingMode::WebAlbum, work);
        picker->activate(doc);
        picker->addAll(nullptr);
        picker->next();
    }
};

TEST(WebAlbumGenerator, MakesThumbnailsPicturesPagesAndDelivers)
{
    RecordingHost host;
    Album album;
    writePicture(album.media + QStringLiteral("/wide.jpg"), 1600, 1200);
    writePicture(album.media + QStringLiteral("/tall.bmp"), 1200, 1600);
    writePicture(album.media + QStringLiteral("/tiny.jpg"), 60, 40);
    writeFile(album.media + QStringLiteral("/song.wav"), QByteArray(500, 'w'));
    album.pick({ "wide.jpg", "tall.bmp", "tiny.jpg", "song.wav" });
    album.doc.setItemText(0, ItemField::Caption, QStringLiteral("<b>&\"\u00fc"));

    WebAlbumOptions options;
    options.theme = 2;
    options.showField[0] = true;
    options.columns = 2;
    options.rows = 2;
    WebAlbumGenerator generator(*album.picker, testSetup(options));
    ASSERT_TRUE(generator.makeThumbnails(nullptr));
    EXPECT_TRUE(generator.problems().isEmpty()) << qPrintable(generator.problems().join(u'\n'));
    ASSERT_EQ(generator.thumbnailCount(), 4);
    const QString &w = album.work;
    EXPECT_EQ(imageSize(w + QStringLiteral("sm_wide.jpg")), QSize(80, 60));
    EXPECT_EQ(imageSize(w + QStringLiteral("sm_tall.jpg")), QSize(45, 60));
    EXPECT_EQ(imageSize(w + QStringLiteral("sm_tiny.jpg")), QSize(60, 40));
    EXPECT_EQ(imageSize(w + QStringLiteral("wide.jpg")), QSize(1600, 1200));
    // The sound item: the wave picture as thumbnail, linking to its own working copy.
    EXPECT_TRUE(imageSize(w + QStringLiteral("sm_song.jpg")).isValid());
    EXPECT_EQ(generator.cells().at(3).link, QStringLiteral("song.WAV"));
    // Output in the items' order: thumbnail, then full picture.
    EXPECT_EQ(generator.outputs().mid(0, 4),
        QStringList({ w + "sm_wide.jpg", w + "wide.jpg", w + "sm_tall.jpg", w + "tall.jpg" }));

    ASSERT_TRUE(generator.writePages());
    EXPECT_EQ(generator.pagesWritten(), 1);
    const QString page = QString::fromUtf8(fileBytes(w + QStringLiteral("album1.html")));
    EXPECT_TRUE(page.contains(QStringLiteral("<BODY BACKGROUND=bg14.gif TEXT=#FFFFFF")));
    EXPECT_TRUE(
        page.contains(QStringLiteral("<BR><SMALL>Caption: &lt;b&gt;&amp;&quot;\u00fc</SMALL>")));
    EXPECT_TRUE(page.contains(QStringLiteral(
        "<A HREF=\"wide.jpg\"><IMG SRC=\"sm_wide.jpg\" WIDTH=\"80\" HEIGHT=\"60\"")));
    EXPECT_TRUE(generator.outputs().contains(w + QStringLiteral("bg14.gif")));
    EXPECT_TRUE(generator.outputs().contains(w + QStringLiteral("orvanta.gif")));

    const QString target = makeTestFolder(QStringLiteral("site"));
    ASSERT_TRUE(generator.deliverToFolder(target));
    const QStringList outputs = generator.outputs();
    for (const QString &path : outputs)
        EXPECT_TRUE(QFileInfo::exists(target + u'/' + QFileInfo(path).fileName()))
            << qPrintable(path);
    generator.cleanWorkingFolder(true);
    for (const QString &path : outputs)
        EXPECT_FALSE(QFileInfo::exists(path)) << qPrintable(path);
}

// Every link of every page of every theme names a file of the site, whatever the file names
// hold: characters that links must escape, a percent sign, a control byte.
TEST(WebAlbumGenerator, EveryLinkOfEveryThemeNamesAFileOfTheSite)
{
    RecordingHost host;
    const QStringList names = { QStringLiteral("what?.jpg"), QStringLiteral("a:b<c>.jpg"),
        QStringLiteral("x;y=z+w,.jpg"), QStringLiteral("100%2 & #1.jpg"),
        QStringLiteral("ctl\u0001\u001f.jpg"), QStringLiteral("\u00fcber.jpg") };
    static const QRegularExpression reference(
        QStringLiteral("(?:HREF|SRC|BACKGROUND)=(?:\"([^\"]*)\"|([^ >\"]+))"),
        QRegularExpression::CaseInsensitiveOption);
    for (int theme = 0; theme < 5; ++theme) {
        SCOPED_TRACE(theme);
        Album album;
        for (const QString &name : names)
            writePicture(album.media + u'/' + name, 64 + 8 * int(name.size()), 48);
        album.pick(names);
        WebAlbumOptions options;
        options.theme = theme;
        options.showName = true;
        options.columns = 2;
        options.rows = 2;
        WebAlbumGenerator generator(*album.picker, testSetup(options));
        ASSERT_TRUE(generator.makeThumbnails(nullptr));
        ASSERT_TRUE(generator.writePages());
        const QString site = makeTestFolder(QStringLiteral("site"));
        ASSERT_TRUE(generator.deliverToFolder(site));
        int links = 0;
        for (const QString &pageName : QDir(site).entryList({ QStringLiteral("*.html") })) {
            const QString page = QString::fromUtf8(fileBytes(site + u'/' + pageName));
            for (auto match = reference.globalMatch(page); match.hasNext();) {
                const auto found = match.next();
                QString link = found.captured(1).isEmpty() ? found.captured(2) : found.captured(1);
                if (link.startsWith(QStringLiteral("https://")))
                    continue;
                link.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
                const QString file = QUrl::fromPercentEncoding(link.toUtf8());
                EXPECT_TRUE(QFileInfo::exists(site + u'/' + file))
                    << qPrintable(pageName) << ": " << qPrintable(found.captured(0));
                ++links;
            }
        }
        EXPECT_GE(links, 2 * int(names.size()));
    }
}

// Clips and sounds of today: a clip's thumbnail is its first frame turned upright by its
// display rotation, a sound's the sound picture; each cell links to the copied file.
TEST(WebAlbumGenerator, ClipsAndSoundsOfTodayShowTheirFrameOrTheSoundPicture)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed: no clips to show";
    RecordingHost host;
    Album album;
    auto ffmpeg = [](const QStringList &args) {
        return runProgram(QStringLiteral("ffmpeg"),
            QStringList { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y") }
                + args)
            .status;
    };
    const QString video = QStringLiteral("testsrc=size=160x120:rate=10:duration=0.5");
    const QString stored = album.media + QStringLiteral("/stored.mp4");
    ASSERT_EQ(ffmpeg({ QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), video,
                  QStringLiteral("-c:v"), QStringLiteral("libx264"), stored }),
        0);
    // FFmpeg 5.1 sets a display rotation when it copies a stream with a "rotate" tag.
    ASSERT_EQ(ffmpeg({ QStringLiteral("-i"), stored, QStringLiteral("-c"), QStringLiteral("copy"),
                  QStringLiteral("-metadata:s:v"), QStringLiteral("rotate=90"),
                  album.media + QStringLiteral("/phone.mp4") }),
        0);
    ASSERT_EQ(ffmpeg({ QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), video,
                  QStringLiteral("-c:v"), QStringLiteral("libvpx-vp9"),
                  album.media + QStringLiteral("/web.webm") }),
        0);
    ASSERT_EQ(ffmpeg({ QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("sine=duration=0.5"), album.media + QStringLiteral("/song.ogg") }),
        0);
    album.pick({ "phone.mp4", "web.webm", "song.ogg" });
    WebAlbumSetup setup = testSetup(WebAlbumOptions {});
    QFile::copy(QStringLiteral(GLIMMERIX_SOURCE_DIR "/share/data/mp3icon.log"),
        setup.programFolder + QStringLiteral("/mp3icon.log"));
    WebAlbumGenerator generator(*album.picker, setup);
    ASSERT_TRUE(generator.makeThumbnails(nullptr));
    EXPECT_TRUE(generator.problems().isEmpty()) << qPrintable(generator.problems().join(u'\n'));
    ASSERT_EQ(generator.thumbnailCount(), 3);
    const QString &w = album.work;
    const struct {
        const char *thumbnail;
        QSize size;
    } cases[] = {
        { "sm_phone.jpg", QSize(45, 60) },
        { "sm_web.jpg", QSize(80, 60) },
        { "sm_song.jpg", QSize(32, 32) },
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(cases[i].thumbnail);
        EXPECT_EQ(imageSize(w + QLatin1String(cases[i].thumbnail)), cases[i].size);
        const QString link = generator.cells().at(i).link;
        EXPECT_TRUE(QFileInfo::exists(w + link)) << qPrintable(link);
    }
}

TEST(WebAlbumGenerator, PicturesComeUprightByTheirExifOrientation)
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool is needed";
    RecordingHost host;
    Album album;
    // Stored 240 x 120; orientation 6 and 8 turn them a quarter, 3 turns them over.
    const struct {
        const char *name;
        int orientation;
    } cases[] = { { "six.jpg", 6 }, { "eight.tif", 8 }, { "three.jpg", 3 } };
    QStringList names;
    for (const auto &c : cases) {
        const QString path = album.media + u'/' + QLatin1String(c.name);
        writePicture(path, 240, 120);
        ASSERT_EQ(runProgram(QStringLiteral("exiftool"),
                      { QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
                          QStringLiteral("-Orientation#=%1").arg(c.orientation), path })
                      .status,
            0);
        names << QLatin1String(c.name);
        const QSize upright = c.orientation >= 5 ? QSize(120, 240) : QSize(240, 120);
        EXPECT_EQ(loadPresentationPicture(path).size(), upright) << c.name;
    }
    album.pick(names);
    WebAlbumGenerator generator(*album.picker, testSetup(WebAlbumOptions {}));
    ASSERT_TRUE(generator.makeThumbnails(nullptr));
    for (const auto &c : cases) {
        const QString base = QFileInfo(QLatin1String(c.name)).completeBaseName();
        const QSize thumbnail
            = imageSize(album.work + QStringLiteral("sm_") + base + QStringLiteral(".jpg"));
        ASSERT_TRUE(thumbnail.isValid()) << c.name;
        // Portrait for the quarter turns, landscape otherwise, in the picture's 2:1 shape.
        EXPECT_EQ(c.orientation >= 5 ? thumbnail.height() : thumbnail.width(),
            2 * (c.orientation >= 5 ? thumbnail.width() : thumbnail.height()))
            << c.name;
    }
}

TEST(WebAlbumGenerator, BadFilesAreNamedAndLeftOut)
{
    RecordingHost host;
    Album album;
    writePicture(album.media + QStringLiteral("/good.jpg"), 100, 80);
    writeFile(album.media + QStringLiteral("/empty.jpg"), QByteArray());
    writeFile(album.media + QStringLiteral("/broken.jpg"), QByteArray("\xFF\xD8not a jpeg"));
    album.pick({ "empty.jpg", "good.jpg", "broken.jpg" });
    WebAlbumGenerator generator(*album.picker, testSetup({}));
    ASSERT_TRUE(generator.makeThumbnails(nullptr));
    ASSERT_EQ(generator.problems().size(), 2);
    EXPECT_TRUE(generator.problems().at(0).startsWith(album.work + QStringLiteral("empty.JPG: ")));
    EXPECT_TRUE(generator.problems().at(1).startsWith(album.work + QStringLiteral("broken.JPG: ")));
    ASSERT_EQ(generator.thumbnailCount(), 1);
    EXPECT_EQ(generator.cells().at(0).link, QStringLiteral("good.jpg"));
    EXPECT_FALSE(QFileInfo::exists(album.work + QStringLiteral("sm_empty.jpg")));
}

TEST(WebAlbumGenerator, FullDiskKeepsEarlierPagesAndNamesTheFile)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    RecordingHost host;
    Album album;
    QStringList names;
    for (int i = 0; i < 9; ++i) {
        names.append(QStringLiteral("p%1.jpg").arg(i));
        writePicture(album.media + u'/' + names.last(), 30, 20);
    }
    album.pick(names);
    WebAlbumOptions options;
    options.columns = 2;
    options.rows = 2;
    WebAlbumGenerator generator(*album.picker, testSetup(options));
    ASSERT_TRUE(generator.makeThumbnails(nullptr));
    // The second page cannot be written. (A link to a full device no longer stands in for a
    // full disk: pages replace a link instead of writing through it; the file size limit cases
    // of ProductFiles cover the full disk itself.)
    ASSERT_TRUE(QDir().mkpath(album.work + QStringLiteral("album2.html/in the way")));
    EXPECT_FALSE(generator.writePages());
    EXPECT_EQ(generator.pagesWritten(), 1);
    EXPECT_TRUE(fileBytes(album.work + QStringLiteral("album1.html")).endsWith("</HTML>"));
    ASSERT_FALSE(generator.problems().isEmpty());
    EXPECT_EQ(generator.problems().last(), album.work + QStringLiteral("album2.html: is a folder"));

    // A folder holding a link named like an output (here onto a full device) is not an earlier
    // web album's: the delivery is refused with the folder named, and the link is left alone.
    const QString target = makeTestFolder(QStringLiteral("site"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), target + QStringLiteral("/p1.jpg")));
    EXPECT_FALSE(generator.deliverToFolder(target));
    EXPECT_TRUE(generator.problems().last().startsWith(target + QStringLiteral(": holds files")))
        << qPrintable(generator.problems().last());
    EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
        QStringList({ "p1.jpg" }));
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("/p1.jpg")).isSymLink());
}

TEST(WebAlbumGenerator, CancelStopsThePassAndKeepsWhatWasMade)
{
    RecordingHost host;
    Album album;
    QStringList names;
    for (int i = 0; i < 6; ++i) {
        names.append(QStringLiteral("c%1.jpg").arg(i));
        writePicture(album.media + u'/' + names.last(), 30, 20);
    }
    album.pick(names);
    WebAlbumGenerator generator(*album.picker, testSetup({}));
    host.cancelProgressAt(1, 3);
    std::unique_ptr<Progress> progress = host.createProgress();
    EXPECT_FALSE(generator.makeThumbnails(progress.get()));
    EXPECT_EQ(generator.thumbnailCount(), 4);
    EXPECT_EQ(generator.outputs().size(), 8);
}

} // namespace

// The file size limit refuses the bytes a copy or a page still holds when it is finished, as a
// full disk does: the cause is given and no cut file is left behind.
TEST(ProductFiles, AWriteTheFileSystemRefusesLeavesNoCutFile)
{
    const QString folder = makeTestFolder(QStringLiteral("limit"));
    const QString source = folder + QStringLiteral("/source.bin");
    writeFile(source, QByteArray(5000, 'x'));
    const QString copy = folder + QStringLiteral("/copy.bin");
    const QString page = folder + QStringLiteral("/page.html");
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const struct {
        QString cause;
        QString target;
    } cases[] = {
        { copyProductFile(source, copy), copy },
        { writeWholeFile(page, QByteArray(5000, 'p')), page },
    };
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    for (const auto &entry : cases) {
        EXPECT_FALSE(entry.cause.isEmpty()) << entry.target.toStdString();
        EXPECT_FALSE(QFileInfo::exists(entry.target)) << entry.target.toStdString();
    }
}
