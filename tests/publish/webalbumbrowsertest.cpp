// A generated web album opened in headless Chromium: every page loads with all its pictures,
// every page link reaches a page of the site, and a caption with markup characters shows as
// text. Skipped when Chromium is not installed.

#include "publishtesthelpers.h"
#include "support/processrun.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

namespace
{

QString chromium()
{
    for (const char *name : { "chromium", "chromium-browser", "google-chrome" }) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// The page's DOM after loading, with scripts run.
QString dumpDom(const QString &browser, const QString &page)
{
    return runProgram(browser,
        { "--headless", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files",
            "--virtual-time-budget=5000", "--dump-dom", QUrl::fromLocalFile(page).toString() },
        { {}, 60000 })
        .out;
}

// A page beside the site that opens `target` in a frame and writes, once everything loaded,
// how many pictures are missing, the page links and the first caption's text into its body.
QString writeChecker(const QString &site, const QString &target)
{
    const QString checker = site + QStringLiteral("/check-") + target;
    writeFile(checker,
        QStringLiteral(
            "<html><body><iframe id=f src=\"%1\"></iframe><pre id=out></pre><script>\n"
            "document.getElementById('f').onload = function() {\n"
            "  var d = this.contentDocument, out = [];\n"
            "  var imgs = d.images, missing = 0;\n"
            "  for (var i = 0; i < imgs.length; ++i)\n"
            "    if (!imgs[i].complete || imgs[i].naturalWidth == 0) missing++;\n"
            "  out.push('IMAGES ' + imgs.length + ' MISSING ' + missing);\n"
            "  var links = d.links;\n"
            "  for (var j = 0; j < links.length; ++j)\n"
            "    out.push('LINK ' + links[j].getAttribute('href'));\n"
            "  var small = d.querySelectorAll('small');\n"
            "  for (var k = 0; k < small.length; ++k) out.push('TEXT ' + small[k].textContent);\n"
            "  document.getElementById('out').textContent = out.join('\\n');\n"
            "};\n</script></body></html>\n")
            .arg(target)
            .toUtf8());
    return checker;
}

TEST(WebAlbumBrowser, PagesLoadLinksResolveAndCaptionsShowLiterally)
{
    const QString browser = chromium();
    if (browser.isEmpty())
        GTEST_SKIP() << "Chromium is not installed (tools/setup.sh installs it)";
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString album = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/b.gmx");
    {
        CAlbumDoc doc; // closed before the tool opens the album
        for (int i = 0; i < 6; ++i) {
            const QString path = media + QStringLiteral("/photo %1.jpg").arg(i);
            writePicture(path, 200 + 10 * i, 150);
            doc.addFile(path);
        }
        doc.setItemText(0, ItemField::Caption, QStringLiteral("<b>&\"\u00fc"));
        ASSERT_TRUE(doc.onSaveDocument(album));
    }
    const QString site = makeTestFolder(QStringLiteral("site"));
    const ProcessRun cli = runCli(
        { "webalbum", album, site, "--columns", "2", "--rows", "2", "--theme", "2", "--field1" });
    ASSERT_EQ(cli.status, 0) << cli.err.toStdString();

    const QStringList pages = QDir(site).entryList({ "album*.html" }, QDir::Files, QDir::Name);
    ASSERT_EQ(pages, QStringList({ "album1.html", "album2.html" }));
    bool captionSeen = false;
    for (const QString &page : pages) {
        const QString dump = dumpDom(browser, writeChecker(site, page));
        // Only what the script wrote, not the script itself.
        const qsizetype start = dump.indexOf(QStringLiteral("<pre id=\"out\">"));
        const QString dom = dump.mid(start, dump.indexOf(QStringLiteral("</pre>"), start) - start);
        const QRegularExpressionMatch counts
            = QRegularExpression(QStringLiteral("IMAGES (\\d+) MISSING (\\d+)")).match(dom);
        ASSERT_TRUE(counts.hasMatch()) << qPrintable(page) << qPrintable(dom);
        EXPECT_GT(counts.captured(1).toInt(), 0) << qPrintable(page);
        EXPECT_EQ(counts.captured(2).toInt(), 0) << qPrintable(page);
        for (const QRegularExpressionMatch &link :
            QRegularExpression(QStringLiteral("LINK (\\S+)")).globalMatch(dom)) {
            const QString href = link.captured(1);
            if (href.startsWith(QLatin1String("http")))
                continue; // the maker's site
            EXPECT_TRUE(QFileInfo::exists(site + u'/' + QUrl::fromPercentEncoding(href.toUtf8())))
                << qPrintable(page) << " links to " << qPrintable(href);
        }
        // The DOM dump escapes the text again; the caption came through as one literal text.
        if (dom.contains(QStringLiteral("TEXT Caption: &lt;b&gt;&amp;\"\u00fc")))
            captionSeen = true;
    }
    EXPECT_TRUE(captionSeen);
}

} // namespace
