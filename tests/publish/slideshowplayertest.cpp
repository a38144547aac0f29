// A generated slide show package played: the player shows the first picture fitted on black,
// refuses a file that is no show, and slideshow.html in headless Chromium loads every picture it
// names and goes on to the next slide (skipped without Chromium).

#include "headlessbrowser.h"
#include "publishtesthelpers.h"

#include "publish/slideshowhtml.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace
{

ProcessRun runPlayer(const QStringList &args)
{
    return runProgram(bundledProgramPath(QStringLiteral("slide.bin")), args);
}

// A package of two solid pictures, red then blue, made by the command-line tool.
QString makePackage()
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString album = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/walls.gmx");
    {
        // The document holds the album's lock until it goes.
        CAlbumDoc doc;
        const std::pair<const char *, Qt::GlobalColor> pictures[]
            = { { "red.jpg", Qt::red }, { "blue.jpg", Qt::blue } };
        for (const auto &[name, color] : pictures) {
            QImage image(400, 200, QImage::Format_RGB32);
            image.fill(color);
            image.save(media + u'/' + QLatin1String(name));
            doc.addFile(media + u'/' + QLatin1String(name));
        }
        doc.setItemText(0, ItemField::Description, QStringLiteral("A red <b>wall</b>"));
        EXPECT_TRUE(doc.onSaveDocument(album));
    }
    const QString package = makeTestFolder(QStringLiteral("package"));
    const ProcessRun run = runCli({ QStringLiteral("slideshow"), album, package });
    EXPECT_EQ(run.status, 0) << qPrintable(run.err);
    return package;
}

TEST(SlideShowPlayer, ShowsTheFirstPictureFittedOnBlackAndRefusesOtherFiles)
{
    const QString package = makePackage();
    const QString shot = package + QStringLiteral("/shot.png");
    const ProcessRun played
        = runPlayer({ package, QStringLiteral("--window"), QStringLiteral("--grab"), shot });
    ASSERT_EQ(played.status, 0) << qPrintable(played.err);
    const QImage screen(shot);
    ASSERT_FALSE(screen.isNull());
    // A 2:1 picture in a 4:3 window: red in the middle, black bands above and below it.
    const QColor middle = screen.pixelColor(screen.width() / 2, screen.height() / 3);
    EXPECT_GT(middle.red(), 200);
    EXPECT_LT(middle.blue(), 60);
    EXPECT_EQ(screen.pixelColor(screen.width() / 2, 2), QColor(Qt::black));

    writeFile(package + QStringLiteral("/bogus.sld"), QByteArray("PALM but nothing more"));
    const ProcessRun bogus
        = runPlayer({ package + QStringLiteral("/bogus.sld"), QStringLiteral("--grab"), shot });
    EXPECT_EQ(bogus.status, 1);
    EXPECT_TRUE(bogus.err.contains(QStringLiteral("shorter than a show file header")))
        << qPrintable(bogus.err);
}

TEST(SlideShowPlayer, PageLoadsEveryPictureAndAdvancesInChromium)
{
    const QString browser = chromium();
    if (browser.isEmpty())
        GTEST_SKIP() << "Chromium is not installed";
    const QString package = makePackage();
    // A page beside the show that opens it in a frame, loads every picture the show names and,
    // later, reports which slide is up and the caption's text.
    writeFile(package + QStringLiteral("/check.html"),
        "<html><body><iframe id=f src=\"slideshow.html\" width=800 height=600></iframe>"
        "<pre id=out></pre><script>\n"
        "var out = [];\n"
        "document.getElementById('f').onload = function () {\n"
        "  var d = this.contentDocument;\n"
        "  var show = JSON.parse(d.getElementById('show').textContent);\n"
        "  var pending = show.slides.length, failed = 0;\n"
        "  show.slides.forEach(function (s) {\n"
        "    var img = new Image();\n"
        "    img.onload = function () { if (--pending == 0) done(); };\n"
        "    img.onerror = function () { failed++; if (--pending == 0) done(); };\n"
        "    img.src = s.picture;\n"
        "  });\n"
        "  out.push('FIRST ' + d.body.getAttribute('data-slide') + ' ' +\n"
        "    d.getElementById('caption').textContent);\n"
        "  function done() {\n"
        "    out.push('PICTURES ' + show.slides.length + ' FAILED ' + failed);\n"
        "    setTimeout(function () {\n"
        "      out.push('LATER ' + d.body.getAttribute('data-slide'));\n"
        "      document.getElementById('out').textContent = out.join('\\n');\n"
        "    }, 7000);\n"
        "  }\n"
        "};\n"
        "</script></body></html>\n");
    const QString dom = dumpDom(browser, package + QStringLiteral("/check.html"), 20000);
    EXPECT_TRUE(dom.contains(QStringLiteral("FIRST 0 A red &lt;b&gt;wall&lt;/b&gt;")))
        << qPrintable(dom);
    EXPECT_TRUE(dom.contains(QStringLiteral("PICTURES 2 FAILED 0"))) << qPrintable(dom);
    EXPECT_TRUE(dom.contains(QStringLiteral("LATER 1"))) << qPrintable(dom);
}

// A caption that closes the page's script element stays text: the script it carries never runs.
TEST(SlideShowPlayer, ACaptionCannotEndThePageScriptInChromium)
{
    const QString browser = chromium();
    if (browser.isEmpty())
        GTEST_SKIP() << "Chromium is not installed";
    SlideShowFile show;
    show.title = QStringLiteral("Walls");
    ShowEntry entry;
    entry.pictureName = QStringLiteral("red.JPG");
    entry.notes = QStringLiteral("</script><script>document.title='x'</script>");
    show.entries.append(entry);
    const QString page = makeTestFolder(QStringLiteral("page")) + QStringLiteral("/slideshow.html");
    writeFile(page, slideShowHtml(show));
    const QString dom = dumpDom(browser, page);
    EXPECT_TRUE(dom.contains(QStringLiteral("<title>Walls</title>"))) << qPrintable(dom);
    EXPECT_FALSE(dom.contains(QStringLiteral("<title>x</title>"))) << qPrintable(dom);
}

} // namespace
