// The web album's pure rules: thumbnail fit, paging and page text, themes, escaping, AutoRun.inf
// and disc folder names, entry names.

#include "publish/autorunwriter.h"
#include "publish/itempicker.h"
#include "publish/webalbumhtml.h"
#include "publish/webalbumoptions.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

PageTexts testTexts(const QString &language = QStringLiteral("English"))
{
    PageTexts texts;
    texts.languageName = language;
    texts.navigation = { QStringLiteral("First"), QStringLiteral("Prev"), QStringLiteral("Next"),
        QStringLiteral("Last") };
    texts.closing = QStringLiteral("<HR>\n");
    texts.pageNumberFormat = QStringLiteral("Page %i of %i\n");
    texts.creditAddress = QStringLiteral("https://maker.example/");
    return texts;
}

QList<AlbumCell> cells(int count)
{
    QList<AlbumCell> list;
    for (int i = 0; i < count; ++i)
        list.append({ QStringLiteral("p%1.jpg").arg(i), QStringLiteral("sm_p%1.jpg").arg(i),
            QSize(80, 60), {} });
    return list;
}

QString page(const WebAlbumOptions &options, const QList<AlbumCell> &list, int index,
    const PageTexts &texts = testTexts())
{
    return QString::fromUtf8(webAlbumPage(options, texts, list, index));
}

QList<int> rowLengths(const QString &html)
{
    QList<int> rows;
    const QString table = html.left(html.indexOf(QStringLiteral("</TABLE>")));
    for (const QString &row : table.split(QStringLiteral("  <TR>\n")).mid(1)) {
        const QString body = row.left(row.indexOf(QStringLiteral("  </TR>")));
        rows.append(int(body.count(QStringLiteral("<TD ALIGN"))));
    }
    return rows;
}

TEST(WebAlbumLayout, FitsPicturesIntoTheThumbnailBox)
{
    struct Case {
        const char *name;
        QSize picture;
        int size;
        std::optional<QSize> expected;
    } cases[] = {
        { "landscape, medium", { 1600, 1200 }, 1, QSize(80, 60) },
        { "portrait, medium", { 1200, 1600 }, 1, QSize(45, 60) },
        { "small picture kept", { 60, 40 }, 1, std::nullopt },
        { "panorama, small: height 0 becomes 3", { 2000, 10 }, 0, QSize(80, 3) },
        { "exactly the box", { 90, 60 }, 1, QSize(90, 60) },
        { "as wide, lower", { 90, 30 }, 1, QSize(90, 30) },
        { "large box", { 4000, 3000 }, 2, QSize(106, 80) },
    };
    for (const Case &c : cases)
        EXPECT_EQ(fitThumbnail(c.picture, thumbnailBox(c.size)), c.expected) << c.name;
    EXPECT_EQ(thumbnailBox(0), QSize(80, 50));
    EXPECT_EQ(thumbnailBox(2), QSize(110, 80));
}

TEST(WebAlbumLayout, PagesRowsAndNavigation)
{
    WebAlbumOptions options;
    struct Case {
        const char *name;
        int thumbnails;
        int pages;
        QList<QList<int>> rows; // per page
    } cases[] = {
        { "12 in 4x3: one full page", 12, 1, { { 4, 4, 4 } } },
        { "13 in 4x3: a second page with one cell", 13, 2, { { 4, 4, 4 }, { 1 } } },
        { "5 in 4x3: rows of 4 and 1", 5, 1, { { 4, 1 } } },
        { "none: no page", 0, 0, {} },
    };
    for (const Case &c : cases) {
        const QList<AlbumCell> list = cells(c.thumbnails);
        ASSERT_EQ(webAlbumPageCount(c.thumbnails, 4, 3), c.pages) << c.name;
        for (int p = 0; p < c.pages; ++p) {
            const QString html = page(options, list, p);
            EXPECT_EQ(rowLengths(html), c.rows.at(p)) << c.name << " page " << p;
            EXPECT_EQ(html.contains(QStringLiteral("<TABLE BORDER=0>")), c.pages > 1) << c.name;
        }
    }
    // 13: the first page links to the second twice (next and last), by the file's own name.
    const QString first = page(options, cells(13), 0);
    EXPECT_EQ(first.count(QStringLiteral("<A HREF=album2.html> ")), 2);
    EXPECT_FALSE(first.contains(QStringLiteral("ALBUM")));
    EXPECT_TRUE(first.contains(QStringLiteral("Page 1 of 2\n")));
    const QString second = page(options, cells(13), 1);
    EXPECT_TRUE(second.contains(QStringLiteral("<A HREF=album1.html> First </A>")));
    EXPECT_TRUE(second.contains(QStringLiteral("<A HREF=album1.html> Prev </A>")));
    EXPECT_FALSE(second.contains(QStringLiteral("Next")));
}

TEST(WebAlbumLayout, ThemeTwoBodyAndButtons)
{
    WebAlbumOptions options;
    options.theme = 2;
    const QList<AlbumCell> list = cells(30);
    const QString middle = page(options, list, 1);
    EXPECT_TRUE(middle.contains(
        QStringLiteral("<BODY BACKGROUND=bg14.gif TEXT=#FFFFFF LINK=FFFF00 VLINK=#999966>\n")));
    for (const char *button : { "b14a", "b14b", "b14c", "b14d" })
        EXPECT_TRUE(
            middle.contains(QStringLiteral("<IMG SRC=%1.gif BORDER=0>").arg(QLatin1String(button))))
            << button;
    EXPECT_TRUE(middle.contains(QStringLiteral("<A HREF=album3.html> <IMG SRC=b14d.gif")));
    EXPECT_EQ(pageButtons(2, 1, 3),
        QStringList({ QStringLiteral("b14a"), QStringLiteral("b14b"), QStringLiteral("b14c"),
            QStringLiteral("b14d") }));
    EXPECT_EQ(
        pageButtons(2, 0, 3), QStringList({ QStringLiteral("b14c"), QStringLiteral("b14d") }));
    EXPECT_TRUE(pageButtons(0, 1, 3).isEmpty());
    options.theme = 3;
    EXPECT_TRUE(
        page(options, list, 0).contains(QStringLiteral("<BODY BACKGROUND=bg13.gif TEXT=#000000")));
    options.theme = 0;
    EXPECT_TRUE(
        page(options, list, 0).contains(QStringLiteral("<BODY BGCOLOR=#FFFFFF TEXT=#000000")));
}

TEST(WebAlbumLayout, HeadNamesTheLanguageAndDeclaresUtf8)
{
    const struct {
        const char *language;
        const char *line;
    } cases[] = {
        { "Korean", "<META NAME=language CONTENT=Korean>\n" },
        { "Japanese", "<META NAME=language CONTENT=Japanese>\n" },
        { "German", "<META NAME=language CONTENT=English>\n" },
    };
    for (const auto &c : cases) {
        const QString html = page({}, cells(1), 0, testTexts(QLatin1String(c.language)));
        EXPECT_TRUE(html.contains(QLatin1String(c.line))) << c.language;
        EXPECT_TRUE(html.contains(QStringLiteral(
            "<META HTTP-EQUIV=Content-Type CONTENT=\"text/html; charset=utf-8\">\n")))
            << c.language;
    }
}

TEST(WebAlbumLayout, CellsAndTextsAreEscaped)
{
    WebAlbumOptions options;
    options.title = QStringLiteral("Tom & <Jerry>");
    QList<AlbumCell> list = { { QStringLiteral("a \"b\"#1.jpg"), QStringLiteral("sm_a \"b\"#1.jpg"),
        QSize(45, 60), { QStringLiteral("Caption: <b>&\"\u00fc") } } };
    const QString html = page(options, list, 0);
    EXPECT_TRUE(html.contains(QStringLiteral("<TITLE>Tom &amp; &lt;Jerry&gt;</TITLE>")));
    EXPECT_TRUE(html.contains(QStringLiteral(
        "      <A HREF=\"a%20%22b%22%231.jpg\"><IMG SRC=\"sm_a%20%22b%22%231.jpg\" WIDTH=\"45\" "
        "HEIGHT=\"60\" BORDER=\"0\"><BR><SMALL>a &quot;b&quot;#1.jpg</SMALL></A>\n")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("      <BR><SMALL>Caption: &lt;b&gt;&amp;&quot;\u00fc</SMALL>\n")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("<A HREF=https://maker.example/><IMG SRC=orvanta.gif "
                                             "WIDTH=54 HEIGHT=22 BORDER=0>\n</HTML>")));
    options.showName = false;
    EXPECT_FALSE(page(options, list, 0).contains(QStringLiteral("<BR><SMALL>a &quot;")));
}

TEST(AutoRunWriter, LinesForEachProduct)
{
    const struct {
        AutoRunProduct product;
        const char *folder;
        const char *content;
    } cases[] = {
        { AutoRunProduct::WebAlbum, "", "[autorun]\r\nopen=WebAlbum.exe\r\nicon=WebAlbum.exe\r\n" },
        { AutoRunProduct::WebAlbum, "my_album",
            "[autorun]\r\nopen=\"my_album\\WebAlbum.exe\"\r\nicon=\"my_album\\WebAlbum.exe\"\r\n" },
        { AutoRunProduct::SlideShow, "show",
            "[autorun]\r\nopen=show\\slideshow.exe\r\nicon=show\\slideshow.exe\r\n" },
        { AutoRunProduct::VideoPostcard, "",
            "[autorun]\r\nopen=VideoPostcard.exe\r\nicon=VideoPostcard.exe\r\n" },
        { AutoRunProduct::SlideShow, "100%",
            "[autorun]\r\nopen=100%\\slideshow.exe\r\nicon=100%\\slideshow.exe\r\n" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(autoRunContent(c.product, QString::fromUtf8(c.folder)), QByteArray(c.content))
            << c.folder;
}

TEST(AutoRunWriter, DiscFolderNames)
{
    const struct {
        const char *typed;
        bool accepted;
        const char *result;
    } cases[] = {
        { "my album", true, "my_album" },
        { "", true, "" },
        { "my.album", false, "my.album" },
        { "a/b", false, "a/b" },
        { "say \"hi\"", false, "say \"hi\"" },
        { "what?", false, "what?" },
    };
    for (const auto &c : cases) {
        QString name = QString::fromUtf8(c.typed);
        EXPECT_EQ(acceptDiscFolderName(name), c.accepted) << c.typed;
        EXPECT_EQ(name, QString::fromUtf8(c.result)) << c.typed;
    }
}

TEST(ItemPickerNames, EntryNamesAreUniqueWithoutRegardToCase)
{
    const struct {
        const char *name;
        QStringList taken;
        const char *entry;
    } cases[] = {
        { "a.jpg", {}, "a" },
        { "a.tif", { "a" }, "a_1" },
        { "A.bmp", { "a", "a_1" }, "A_2" },
        { "noext", {}, "noext" },
        { "x.y.jpg", {}, "x.y" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(
            ItemPicker::entryName(QString::fromUtf8(c.name), c.taken), QString::fromUtf8(c.entry))
            << c.name;
}

} // namespace
