// glimix-cli search and transition: the target made and filled, the count printed, the fields
// chosen; the frames of an effect written, the last one the new picture as the show fits it.

#include "publishtesthelpers.h"

#include "platform/paths.h"
#include "publish/presentationframe.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace
{

TEST(SearchCli, FillsTheTargetAndCounts)
{
    const QString folder = makeTestFolder(QStringLiteral("cli-search"));
    {
        CAlbumDoc doc;
        for (const char *name : { "sunset.jpg", "rain.jpg", "Sunday.jpg" })
            doc.insertItem(testItem(QStringLiteral("/m/") + QLatin1String(name)));
        doc.setItemText(1, ItemField::Description, QStringLiteral("SUN behind clouds"));
        ASSERT_TRUE(doc.onSaveDocument(folder + QStringLiteral("/trip.gmx")));
    }
    const QString trip = folder + QStringLiteral("/trip.gmx");
    const QString found = folder + QStringLiteral("/found.gmx");
    const struct {
        QStringList options;
        const char *printed;
    } cases[] = {
        { {}, "3 items found\n" },
        { { "--case" }, "1 item found\n" },
        { { "--fields", "3" }, "1 item found\n" },
        { { "--fields", "name", "--case" }, "1 item found\n" },
        { { "--fields", "1,2" }, "0 items found\n" },
    };
    for (const auto &c : cases) {
        QFile::remove(found);
        const ProcessRun run
            = runCli(QStringList { "search", "sun", "--in", trip, "--into", found } + c.options);
        EXPECT_EQ(run.status, 0) << qPrintable(run.err);
        EXPECT_EQ(run.out, QLatin1String(c.printed)) << qPrintable(c.options.join(' '));
    }
    // The target was made when missing and holds what was found; it is never searched itself.
    const ProcessRun again = runCli({ "search", "sun", "--in", trip, found, "--into", found });
    EXPECT_EQ(again.out, QStringLiteral("3 items found\n"));
    EXPECT_TRUE(again.err.contains(QStringLiteral("the target (--into) is not searched")));
    CAlbumDoc target;
    ASSERT_TRUE(target.onOpenDocument(found));
    EXPECT_EQ(target.itemCount(), 3);

    // An album that cannot be searched is named with the cause and the target is left alone.
    const QByteArray before = fileBytes(found);
    const QString notes = folder + QStringLiteral("/notes.gmx");
    writeFile(notes, "not an album\n");
    const struct {
        QString album;
        const char *says;
    } refused[] = {
        { folder + QStringLiteral("/none.gmx"), "none.gmx: no such album" },
        { notes, "notes.gmx: is not an album" },
        { folder, ": is a folder" },
    };
    for (const auto &c : refused) {
        const ProcessRun run = runCli({ "search", "sun", "--in", trip, c.album, "--into", found });
        EXPECT_EQ(run.status, 1) << qPrintable(c.album);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.says))) << qPrintable(run.err);
        EXPECT_EQ(fileBytes(found), before);
    }

    EXPECT_EQ(runCli({ "search", "--in", trip, "--into", found }).status, 2);
    // The target alone is nothing to search: refused, not answered "0 items found".
    const ProcessRun itself = runCli({ "search", "sun", "--in", found, "--into", found });
    EXPECT_EQ(itself.status, 2);
    EXPECT_TRUE(itself.err.contains(QStringLiteral("which is never searched")))
        << qPrintable(itself.err);
    EXPECT_EQ(fileBytes(found), before);
    EXPECT_EQ(
        runCli({ "search", "sun", "--in", trip, "--into", found, "--fields", "4" }).status, 2);
}

TEST(TransitionCli, WritesEveryStep)
{
    const QString folder = makeTestFolder(QStringLiteral("cli-transition"));
    writePicture(folder + QStringLiteral("/from.bmp"), 90, 60);
    QImage to(300, 100, QImage::Format_RGB32);
    to.fill(qRgb(10, 200, 90));
    ASSERT_TRUE(to.save(folder + QStringLiteral("/to.bmp")));
    const ProcessRun run = runCli({ "transition", "21", folder + "/from.bmp", folder + "/to.bmp",
        "--frames", folder + "/frames", "--steps", "5", "--size", "120x80" });
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    const QImage last(folder + QStringLiteral("/frames/step-05.bmp"));
    EXPECT_EQ(last.size(), QSize(120, 80));
    EXPECT_EQ(last.convertToFormat(QImage::Format_RGB32), composeSlide(to, { 120, 80 }, 24));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/frames/step-06.bmp")));
    EXPECT_EQ(runCli({ "transition", "83", "a", "b", "--frames", folder }).status, 2);
}

} // namespace
