// The responsive web album theme: the sizes it makes, the escaping of its pages, and a site made
// by glimix-cli checked by the tools web developers use (html-validate, and headless Chromium
// driven by puppeteer-core with axe-core). The browser checks skip, saying what is missing, when
// Chromium, node or the npm packages tools/setup.sh installs are not there.

#include "headlessbrowser.h"
#include "publishtesthelpers.h"
#include "support/processrun.h"

#include "publish/responsivealbum.h"
#include "publish/responsivehtml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <iostream>

using namespace glimmerix;

namespace
{

TEST(ResponsiveAlbum, SizesNeverExceedTheOriginal)
{
    struct Case {
        QSize picture;
        QList<int> widths;
        QSize croppedThumbnail;
        QSize fittedThumbnail;
    };
    const QList<Case> cases {
        { { 4000, 3000 }, { 480, 1280, 2560 }, { 240, 240 }, { 240, 180 } },
        { { 2560, 1440 }, { 480, 1280, 2560 }, { 240, 240 }, { 240, 135 } },
        { { 2000, 3000 }, { 480, 1280, 2000 }, { 240, 240 }, { 160, 240 } },
        { { 480, 320 }, { 480 }, { 240, 240 }, { 240, 160 } },
        { { 300, 200 }, { 300 }, { 240, 240 }, { 240, 160 } },
        { { 1, 10000 }, { 1 }, { 240, 240 }, { 1, 240 } },
        { { 10000, 1 }, { 480, 1280, 2560 }, { 240, 240 }, { 240, 1 } },
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(testing::Message() << test.picture.width() << "x" << test.picture.height());
        EXPECT_EQ(responsiveWidths(test.picture.width()), test.widths);
        EXPECT_EQ(responsiveThumbnailSize(test.picture, true), test.croppedThumbnail);
        EXPECT_EQ(responsiveThumbnailSize(test.picture, false), test.fittedThumbnail);
    }
    EXPECT_EQ(responsivePageCount(0), 0);
    EXPECT_EQ(responsivePageCount(1), 1);
    EXPECT_EQ(responsivePageCount(10000), (10000 + kResponsivePerPage - 1) / kResponsivePerPage);
    EXPECT_EQ(responsivePageName(1), QStringLiteral("index.html"));
    EXPECT_EQ(responsivePageName(3), QStringLiteral("index3.html"));
}

TEST(ResponsiveAlbum, EveryTextAndFileNameIsEscaped)
{
    WebAlbumOptions options;
    options.theme = WebAlbumOptions::kResponsiveTheme;
    options.title
        = QStringLiteral("Trip <i>&</i> \"quotes\" </script> \u05e9\u05dc\u05d5\u05dd \U0001F389");
    ResponsiveEntry entry;
    entry.key = QStringLiteral("p0123456789abcdef");
    entry.sizes = { { { 480, 360 }, entry.key + "-480.jpg", entry.key + "-480.webp" } };
    entry.thumbnail = { { 240, 240 }, entry.key + "-t1.jpg", entry.key + "-t1.webp" };
    entry.thumbnail2x = { { 480, 480 }, entry.key + "-t2.jpg", entry.key + "-t2.webp" };
    entry.name = QStringLiteral("a #1 ?% \"b\" \u00e9.jpg");
    entry.original = entry.name;
    entry.fields = { QStringLiteral("<b>bold</b> 'x' </script>"), QStringLiteral("k&w"),
        QStringLiteral("\u202eRTL") };
    entry.facts = { { QStringLiteral("camera"), QStringLiteral("<Make>") } };
    const QString page = QString::fromUtf8(responsivePage(options,
        { QStringLiteral("Caption"), QStringLiteral("Key<words>"), QStringLiteral("Description") },
        { entry }, 0, QStringLiteral("en")));

    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(page.contains(
        QStringLiteral("<title>Trip &lt;i&gt;&amp;&lt;/i&gt; &quot;quotes&quot; &lt;/script&gt; "
                       "\u05e9\u05dc\u05d5\u05dd \U0001F389</title>")));
    EXPECT_TRUE(
        page.contains(QStringLiteral("&lt;b&gt;bold&lt;/b&gt; &#39;x&#39; &lt;/script&gt;")));
    EXPECT_TRUE(page.contains(QStringLiteral("Key&lt;words&gt;:</span> k&amp;w")));
    EXPECT_TRUE(page.contains(QStringLiteral("<dd>&lt;Make&gt;</dd>")));
    EXPECT_TRUE(page.contains(
        QStringLiteral("href=\"a%20%231%20%3F%25%20%22b%22%20%C3%A9.jpg\" download>")));
    EXPECT_TRUE(page.contains(QStringLiteral("a #1 ?% &quot;b&quot; \u00e9.jpg")));
    // No text reaches the page unescaped, and the only scripts are the site's own files.
    EXPECT_FALSE(page.contains(QStringLiteral("<b>")));
    EXPECT_FALSE(page.contains(QStringLiteral("</script> ")));
    EXPECT_EQ(page.count(QStringLiteral("<script")), 3);
    EXPECT_FALSE(page.contains(QStringLiteral("http")));
}

// The inode of a file: the same one means the file was kept, not written again.
ino_t inodeOf(const QString &path)
{
    struct stat info {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

TEST(ResponsiveAlbum, GeneratingAgainReusesUnchangedPicturesAndDropsRemovedItems)
{
    if (!QFileInfo::exists(QStringLiteral(GLIMMERIX_BIN_DIR "/responsive/photoswipe.umd.min.js")))
        GTEST_SKIP() << "PhotoSwipe was not copied into the build (tools/setup.sh installs it)";
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString album = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/r.gmx");
    QStringList paths;
    {
        CAlbumDoc doc;
        for (int i = 0; i < 3; ++i) {
            paths.append(media + QStringLiteral("/photo %1.jpg").arg(i));
            writePicture(paths.last(), 900, 600);
            doc.addFile(paths.last());
        }
        ASSERT_TRUE(doc.onSaveDocument(album));
    }
    const QString site = makeTestFolder(QStringLiteral("site"));
    const QStringList generate { "webalbum", album, site, "--theme", "5", "--replace-package" };
    ASSERT_EQ(runCli(generate).status, 0);
    const auto picture = [&site](const QString &path, const char *suffix) {
        return site + u'/' + responsiveKey(path) + QLatin1String(suffix);
    };
    const ino_t kept = inodeOf(picture(paths[0], "-480.jpg"));
    const ino_t changed = inodeOf(picture(paths[1], "-480.jpg"));
    ASSERT_NE(kept, 0u);
    ASSERT_TRUE(QFileInfo::exists(picture(paths[2], "-t2.webp")));

    // The second picture changes, the third leaves the album.
    writePicture(paths[1], 1000, 500);
    ASSERT_EQ(runCli({ "album", "remove", album, "2" }).status, 0);
    const ProcessRun again = runCli(generate);
    ASSERT_EQ(again.status, 0) << again.err.toStdString();

    EXPECT_EQ(inodeOf(picture(paths[0], "-480.jpg")), kept)
        << "an unchanged picture was made again";
    EXPECT_TRUE(QFileInfo::exists(picture(paths[0], "-t1.webp")));
    EXPECT_NE(inodeOf(picture(paths[1], "-480.jpg")), changed) << "a changed picture was reused";
    EXPECT_TRUE(QFileInfo::exists(picture(paths[1], "-1000.jpg")));
    EXPECT_FALSE(QFileInfo::exists(picture(paths[1], "-900.jpg")));
    for (const char *suffix : { "-480.jpg", "-900.webp", "-t1.jpg", "-t2.webp" })
        EXPECT_FALSE(QFileInfo::exists(picture(paths[2], suffix))) << suffix;
    const QString index = QString::fromUtf8(fileBytes(site + QStringLiteral("/index.html")));
    EXPECT_TRUE(index.contains(QStringLiteral("2 pictures")));
    EXPECT_FALSE(index.contains(responsiveKey(paths[2])));
}

// node, the npm packages tools/setup.sh installs, and Chromium; empty when all are there, else
// what is missing.
QString missingBrowserTools(const QString &modules)
{
    if (chromium().isEmpty())
        return QStringLiteral("Chromium is not installed");
    if (QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty())
        return QStringLiteral("node is not installed");
    for (const char *package : { "puppeteer-core", "axe-core", "html-validate" })
        if (!QFileInfo::exists(
                modules + u'/' + QLatin1String(package) + QStringLiteral("/package.json")))
            return QStringLiteral("the npm package %1 is not in %2")
                .arg(QLatin1String(package), modules);
    if (!QFileInfo::exists(QStringLiteral(GLIMMERIX_BIN_DIR "/responsive/photoswipe.umd.min.js")))
        return QStringLiteral("PhotoSwipe was not copied into the build");
    return {};
}

TEST(ResponsiveAlbumBrowser, ValidPagesLazyPicturesAndAWorkingLightbox)
{
    const QString modules = QStringLiteral(GLIMMERIX_BIN_DIR "/../web-tools/node_modules");
    const QString missing = missingBrowserTools(modules);
    if (!missing.isEmpty())
        GTEST_SKIP() << qPrintable(missing) << " (tools/setup.sh installs it)";

    const QString caption
        = QStringLiteral("<b>\"Bold\"</b> </script> \u05e9\u05dc\u05d5\u05dd \U0001F389");
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString album = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/r.gmx");
    {
        CAlbumDoc doc;
        for (int i = 0; i < 200; ++i) {
            const QString path
                = media + QStringLiteral("/photo #%1 ?%\u00e9.jpg").arg(i, 2, 10, QLatin1Char('0'));
            writePicture(path, i == 5 ? 40 : 640, i == 5 ? 4000 : 480);
            doc.addFile(path);
        }
        doc.setItemText(0, ItemField::Caption, caption);
        ASSERT_TRUE(doc.onSaveDocument(album));
    }
    const QString site = makeTestFolder(QStringLiteral("site"));
    const ProcessRun cli = runCli(
        { "webalbum", album, site, "--theme", "5", "--field1", "--originals" }, { {}, 600000 });
    ASSERT_EQ(cli.status, 0) << cli.err.toStdString();

    const QStringList pages = QDir(site).entryList({ "*.html" }, QDir::Files, QDir::Name);
    ASSERT_EQ(pages, QStringList({ "index.html", "index2.html", "index3.html" }));
    QStringList validateArgs { modules + QStringLiteral("/html-validate/bin/html-validate.js") };
    for (const QString &page : pages)
        validateArgs.append(site + u'/' + page);
    const ProcessRun validate = runProgram(QStringLiteral("node"), validateArgs);
    EXPECT_EQ(validate.status, 0) << validate.out.toStdString() << validate.err.toStdString();

    const QString shots = qEnvironmentVariable("GLIMMERIX_SCREENSHOTS");
    const ProcessRun browser = runProgram(QStringLiteral("node"),
        { QStringLiteral(GLIMMERIX_SOURCE_DIR "/tests/publish/responsivesite.cjs"), chromium(),
            site, caption, shots },
        { { QStringLiteral("NODE_PATH=") + modules }, 300000 });
    EXPECT_EQ(browser.status, 0) << browser.out.toStdString() << browser.err.toStdString();

    // Lighthouse over HTTP; its report stays beside the test programs for a look afterwards.
    const QString report = QStringLiteral(GLIMMERIX_BIN_DIR "/../tests/lighthouse-report.json");
    const ProcessRun lighthouse = runProgram(QStringLiteral("node"),
        { QStringLiteral(GLIMMERIX_SOURCE_DIR "/tests/publish/responsivelighthouse.mjs"),
            chromium(), site, report },
        { { QStringLiteral("NODE_PATH=") + modules }, 240000 });
    EXPECT_EQ(lighthouse.status, 0) << lighthouse.out.toStdString() << lighthouse.err.toStdString();
    std::cout << lighthouse.out.toStdString();
}

} // namespace
