// The product commands and print never write over what they read, and deliver into a folder only
// by the folder rule (--replace-package for an earlier package of their own).

#include "publishtesthelpers.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace
{

TEST(ProductCli, OutputsNeverReplaceInputsAndFoldersFollowTheRule)
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString album = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/trip.gmx");
    {
        // The document holds the album's lock until it goes.
        CAlbumDoc doc;
        for (const char *name : { "a.jpg", "b.jpg" }) {
            writePicture(media + u'/' + QLatin1String(name), 120, 90);
            doc.addFile(media + u'/' + QLatin1String(name));
        }
        ASSERT_TRUE(doc.onSaveDocument(album));
    }
    const QString picture = media + QStringLiteral("/a.jpg");
    const QByteArray albumBytes = fileBytes(album);
    const QByteArray pictureBytes = fileBytes(picture);
    const QByteArray otherBytes = fileBytes(media + QStringLiteral("/b.jpg"));

    const struct {
        QStringList args;
        QString says;
    } refused[] = {
        { { "webalbum", album, "--iso", album }, album + ": is " },
        { { "slideshow", album, "--iso", album }, album + ": is " },
        { { "webalbum", album, "--iso", picture }, picture + ": is " },
        { { "webalbum", album, "--burn", "stdio:" + picture }, picture + ": is " },
        { { "slideshow", album, "--iso", picture }, picture + ": is " },
        { { "print", album, album }, album + ": is " },
        { { "print", album, picture }, picture + ": is " },
        // The originals' folder is the user's, not a product's.
        { { "webalbum", album, media }, media + ": holds files that are not a web album's" },
        { { "slideshow", album, media },
            media + ": holds files that are not a slide show package's" },
    };
    for (const auto &c : refused) {
        const ProcessRun run = runCli(c.args);
        EXPECT_EQ(run.status, 1) << qPrintable(c.args.join(u' '));
        EXPECT_TRUE(run.err.contains(c.says)) << qPrintable(run.err);
        EXPECT_FALSE(run.out.contains(QStringLiteral("ready"))) << qPrintable(run.out);
        EXPECT_EQ(fileBytes(album), albumBytes);
        EXPECT_EQ(fileBytes(picture), pictureBytes);
        EXPECT_EQ(fileBytes(media + QStringLiteral("/b.jpg")), otherBytes);
        EXPECT_EQ(QDir(media).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
            QStringList({ "a.jpg", "b.jpg" }));
    }

    // A second delivery into the same folder replaces the first only when asked to.
    for (const char *command : { "webalbum", "slideshow" }) {
        const QString folder = makeTestFolder(QStringLiteral("out")) + QStringLiteral("/site");
        const QStringList args { QLatin1String(command), album, folder };
        ASSERT_EQ(runCli(args).status, 0) << command;
        const ProcessRun again = runCli(args);
        EXPECT_EQ(again.status, 1) << command;
        EXPECT_TRUE(again.err.contains(folder + QStringLiteral(": holds an earlier ")))
            << qPrintable(again.err);
        EXPECT_TRUE(again.err.contains(QStringLiteral("--replace-package")))
            << qPrintable(again.err);
        const ProcessRun replaced = runCli(args + QStringList { "--replace-package" });
        EXPECT_EQ(replaced.status, 0) << qPrintable(replaced.err);
        EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/glimmerix-package.txt")))
            << command;
    }
}

} // namespace
