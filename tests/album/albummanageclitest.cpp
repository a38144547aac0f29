#include "core/folders.h"
#include "platform/paths.h"

#include "support/processrun.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLockFile>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QStringList albums()
{
    return QDir(albumsFolder()).entryList({ QStringLiteral("*.gmx") }, QDir::Files, QDir::Name);
}

} // namespace

TEST(AlbumManageCli, RenameCopyPropertiesCopyFilesAndDelete)
{
    const QString media = makeTestFolder(QStringLiteral("climedia"));
    QStringList pictures;
    for (int i = 0; i < 2; ++i) {
        QImage image(32, 24, QImage::Format_RGB888);
        image.fill(i ? Qt::red : Qt::blue);
        pictures << media + QStringLiteral("/p%1.jpg").arg(i);
        ASSERT_TRUE(image.save(pictures.last()));
    }
    ASSERT_EQ(runCli({ "album", "new", "Walk" }).status, 0);
    ASSERT_EQ(runCli(QStringList { "album", "add", "Walk" } + pictures).status, 0);

    EXPECT_EQ(runCli({ "album", "copy", "Walk", "Spare" }).status, 0);
    EXPECT_EQ(
        runCli({ "album", "rename", "Spare", "Walk", "--replace" }).status, 0); // one file left
    EXPECT_EQ(albums(), QStringList { QStringLiteral("Walk.gmx") });
    EXPECT_EQ(runCli({ "album", "rename", "Walk", "Hike" }).status, 0);
    EXPECT_EQ(albums(), QStringList { QStringLiteral("Hike.gmx") });
    EXPECT_NE(runCli({ "album", "rename", "Nowhere", "Hike" }).status, 0);

    const ProcessRun properties = runCli({ "album", "properties", "Hike" });
    EXPECT_EQ(properties.status, 0);
    EXPECT_TRUE(properties.out.contains(QStringLiteral("items: 2"))) << qPrintable(properties.out);

    const QString usb = makeTestFolder(QStringLiteral("usb"));
    EXPECT_EQ(runCli({ "album", "copy-files", "Hike", usb, "--move" }).status, 0);
    EXPECT_FALSE(QFileInfo::exists(pictures[0]));
    EXPECT_TRUE(QFileInfo::exists(usb + QStringLiteral("/p0.jpg")));
    EXPECT_TRUE(QFileInfo::exists(usb + QStringLiteral("/Hike.gmx")));

    EXPECT_EQ(runCli({ "album", "delete", "Hike", "--with-media" }).status, 0);
    EXPECT_TRUE(albums().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(usb + QStringLiteral("/p0.jpg")));
    EXPECT_TRUE(QFileInfo::exists(usb + QStringLiteral("/Hike.gmx"))); // the copy is not the album
}

// An album another program has open is neither renamed, replaced nor deleted: that program would
// write it back afterwards.
TEST(AlbumManageCli, AnAlbumOpenElsewhereIsLeftAlone)
{
    ASSERT_EQ(runCli({ "album", "new", "Open" }).status, 0);
    ASSERT_EQ(runCli({ "album", "new", "Other" }).status, 0);
    const QString open = joinPath(albumsFolder(), QStringLiteral("Open.gmx"));
    const QByteArray before = fileBytes(open);
    // The lock file another Glimmerix leaves beside an album it has open.
    QLockFile window(open + QStringLiteral(".lock"));
    ASSERT_TRUE(window.tryLock(0));
    const QList<QStringList> changes
        = { { "album", "rename", "Open", "Moved" }, { "album", "rename", "Other", "Open" },
              { "album", "copy", "Other", "Open" }, { "album", "delete", "Open" } };
    for (const QStringList &change : changes) {
        const ProcessRun run = runCli(change);
        EXPECT_EQ(run.status, 1) << qPrintable(change.join(u' '));
        EXPECT_TRUE(run.err.contains(QStringLiteral("album is in use"))) << qPrintable(run.err);
        EXPECT_EQ(fileBytes(open), before) << qPrintable(change.join(u' '));
    }
    window.unlock();
    EXPECT_EQ(runCli({ "album", "delete", "Open" }).status, 0);
    EXPECT_EQ(runCli({ "album", "delete", "Other" }).status, 0);
}

// Renaming or copying onto an existing album is refused without --replace; a replaced album goes
// to the Trash. Deleting with the media keeps (and lists) the files other albums use, and lists
// the files moved to the Trash.
TEST(AlbumManageCli, NothingIsReplacedOrDeletedUnasked)
{
    const QString trash = QDir::homePath() + QStringLiteral("/.local/share/Trash/files/");
    const QString media = makeTestFolder(QStringLiteral("sharedmedia"));
    const QString own = makeTestPicture(media, QStringLiteral("own.jpg"), Qt::red);
    const QString shared = makeTestPicture(media, QStringLiteral("shared.jpg"), Qt::blue);
    ASSERT_EQ(runCli({ "album", "new", "Trip" }).status, 0);
    ASSERT_EQ(runCli({ "album", "add", "Trip", own, shared }).status, 0);
    ASSERT_EQ(runCli({ "album", "new", "Best" }).status, 0);
    ASSERT_EQ(runCli({ "album", "add", "Best", shared }).status, 0);
    const QString best = joinPath(albumsFolder(), QStringLiteral("Best.gmx"));
    const QString trip = joinPath(albumsFolder(), QStringLiteral("Trip.gmx"));
    const QByteArray bestBytes = fileBytes(best);

    for (const char *command : { "rename", "copy" }) {
        const ProcessRun run = runCli({ "album", command, "Best", "Trip" });
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_TRUE(run.err.contains(QStringLiteral("already exists"))) << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QStringLiteral("--replace"))) << qPrintable(run.err);
        EXPECT_EQ(fileBytes(best), bestBytes);
    }
    ASSERT_EQ(runCli({ "album", "copy", "Trip", "Spare" }).status, 0);
    const QByteArray tripBytes = fileBytes(trip);
    const ProcessRun replaced = runCli({ "album", "copy", "Best", "Spare", "--replace" });
    EXPECT_EQ(replaced.status, 0) << qPrintable(replaced.err);
    EXPECT_TRUE(replaced.out.contains(QStringLiteral("moved to the Trash: ")
        + joinPath(albumsFolder(), QStringLiteral("Spare.gmx"))))
        << qPrintable(replaced.out);
    EXPECT_EQ(fileBytes(trash + QStringLiteral("Spare.gmx")), tripBytes);
    EXPECT_EQ(fileBytes(joinPath(albumsFolder(), QStringLiteral("Spare.gmx"))), bestBytes);

    const ProcessRun deleted = runCli({ "album", "delete", "Trip", "--with-media" });
    EXPECT_EQ(deleted.status, 0) << qPrintable(deleted.err);
    EXPECT_TRUE(deleted.out.contains(QStringLiteral("moved to the Trash: ") + own))
        << qPrintable(deleted.out);
    EXPECT_TRUE(deleted.out.contains(QStringLiteral("kept, used by "))) << qPrintable(deleted.out);
    EXPECT_TRUE(deleted.out.contains(shared)) << qPrintable(deleted.out);
    EXPECT_TRUE(QFileInfo::exists(shared));
    EXPECT_FALSE(QFileInfo::exists(own));
    EXPECT_TRUE(QFileInfo::exists(trash + QStringLiteral("own.jpg")));
}

// copy-files --move never writes over a file of the destination that is not the album's: the item
// takes a free name and the file is named. The originals go only once the album that names the
// copies is saved: when it cannot be saved (a file size limit), they stay.
TEST(AlbumManageCli, MovingFilesKeepsOtherFilesAndTheOriginalsUntilTheAlbumIsSaved)
{
    const QString media = makeTestFolder(QStringLiteral("movemedia"));
    const QString picture = makeTestPicture(media, QStringLiteral("p.jpg"), Qt::red, QSize(4, 4));
    const QByteArray pictureBytes = fileBytes(picture);
    ASSERT_LT(pictureBytes.size(), 1024);
    ASSERT_EQ(runCli({ "album", "new", "Move" }).status, 0);
    ASSERT_EQ(runCli({ "album", "add", "Move", picture }).status, 0);
    const QString album = joinPath(albumsFolder(), QStringLiteral("Move.gmx"));

    const QString limited = makeTestFolder(QStringLiteral("limited"));
    const ProcessRun refused = runProgram(QStringLiteral("bash"),
        { QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\""),
            joinPath(programFolder(), QStringLiteral("glimix-cli")), QStringLiteral("album"),
            QStringLiteral("copy-files"), QStringLiteral("Move"), limited,
            QStringLiteral("--move") });
    EXPECT_NE(refused.status, 0);
    EXPECT_EQ(fileBytes(picture), pictureBytes);

    const QString usb = makeTestFolder(QStringLiteral("usb"));
    writeFile(usb + QStringLiteral("/p.jpg"), "someone else's p.jpg");
    const ProcessRun moved = runCli({ "album", "copy-files", "Move", usb, "--move" });
    EXPECT_EQ(moved.status, 0) << qPrintable(moved.err);
    EXPECT_TRUE(moved.err.contains(QStringLiteral("copied as p (2).jpg"))) << qPrintable(moved.err);
    EXPECT_EQ(fileBytes(usb + QStringLiteral("/p.jpg")), "someone else's p.jpg");
    EXPECT_EQ(fileBytes(usb + QStringLiteral("/p (2).jpg")), pictureBytes);
    EXPECT_FALSE(QFileInfo::exists(picture));
    const ProcessRun listed = runCli({ "album", "list", "Move" });
    EXPECT_TRUE(listed.out.contains(QStringLiteral("p (2).jpg"))) << qPrintable(listed.out);
}
