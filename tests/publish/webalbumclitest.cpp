// glimix-cli webalbum: a site from a saved album, usage errors, and a failing item.

#include "publishtesthelpers.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace
{

ProcessRun webalbum(const QStringList &args)
{
    return runCli(QStringList { QStringLiteral("webalbum") } + args);
}

// Saves an album of `names` (made as pictures, or as sounds for ".wav") in a fresh folder.
QString savedAlbum(const QStringList &names, QString *media)
{
    *media = makeTestFolder(QStringLiteral("media"));
    CAlbumDoc doc;
    for (const QString &name : names) {
        const QString path = *media + u'/' + name;
        if (name.endsWith(QLatin1String(".wav")))
            writeFile(path, QByteArray(400, 's'));
        else
            writePicture(path, 120, 90);
        doc.addFile(path);
    }
    const QString album = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/trip.gmx");
    EXPECT_TRUE(doc.onSaveDocument(album));
    return album;
}

TEST(WebAlbumCli, MakesASiteWithTheChosenItems)
{
    QString media;
    const QString album = savedAlbum({ "a.jpg", "b.bmp", "c.jpg", "d.wav", "e.jpg" }, &media);
    const QString site = makeTestFolder(QStringLiteral("site")) + QStringLiteral("/out");
    const ProcessRun run = webalbum({ album, site, "--items", "4,0-1,3", "--columns", "2", "--rows",
        "2", "--theme", "1", "--title", "Trip <1>" });
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    EXPECT_TRUE(run.out.contains(QStringLiteral("4 thumbnails on 1 page")));
    const QString page = QString::fromUtf8(fileBytes(site + QStringLiteral("/album1.html")));
    EXPECT_TRUE(page.contains(QStringLiteral("<H1>Trip &lt;1&gt;</H1>")));
    // The order given: e, a, b, d.
    EXPECT_LT(page.indexOf(QStringLiteral("sm_e.jpg")), page.indexOf(QStringLiteral("sm_a.jpg")));
    EXPECT_LT(page.indexOf(QStringLiteral("sm_b.jpg")), page.indexOf(QStringLiteral("sm_d.jpg")));
    EXPECT_FALSE(page.contains(QStringLiteral("sm_c.jpg")));
    for (const char *file : { "b.jpg", "d.WAV", "sm_d.jpg", "orvanta.gif" })
        EXPECT_TRUE(QFileInfo::exists(site + u'/' + QLatin1String(file))) << file;
}

TEST(WebAlbumCli, UsageErrorsAndFailuresExitNonZero)
{
    QString media;
    const QString album = savedAlbum({ "a.jpg", "b.jpg" }, &media);
    const QString site = makeTestFolder(QStringLiteral("site"));
    const struct {
        QStringList args;
        int status;
        const char *says;
    } cases[] = {
        { { album, site, "--columns", "11" }, 2, "--columns takes a number from 2 to 10" },
        { { album, site, "--items", "0,7" }, 2, "'7' is not an item number" },
        { { album }, 2, "give an album and a folder" },
        { { album, site, "--bogus" }, 2, "unknown option --bogus" },
    };
    for (const auto &c : cases) {
        const ProcessRun run = webalbum(c.args);
        EXPECT_EQ(run.status, c.status) << qPrintable(c.args.join(u' '));
        EXPECT_TRUE(run.err.contains(QLatin1String(c.says))) << qPrintable(run.err);
    }
    // A picture that turned into an empty file: named with its cause, the rest still made.
    writeFile(media + QStringLiteral("/b.jpg"), QByteArray());
    const ProcessRun run = webalbum({ album, site });
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("b.JPG: "))) << qPrintable(run.err);
    EXPECT_TRUE(QFileInfo::exists(site + QStringLiteral("/album1.html")));
    EXPECT_TRUE(QFileInfo::exists(site + QStringLiteral("/a.jpg")));

    // A folder holding something in the place of a file of the site is not a web album's: it is
    // named, left alone, and there is no summary that reads as if the site were made.
    const QString blocked = makeTestFolder(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir(blocked).mkdir(QStringLiteral("orvanta.gif")));
    const ProcessRun refused = webalbum({ album, blocked });
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(blocked + QStringLiteral(": holds files that are not")))
        << qPrintable(refused.err);
    EXPECT_EQ(QDir(blocked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList({ "orvanta.gif" }));
    EXPECT_TRUE(refused.out.isEmpty()) << qPrintable(refused.out);
}

} // namespace
