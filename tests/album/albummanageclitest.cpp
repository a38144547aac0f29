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
    EXPECT_EQ(runCli({ "album", "rename", "Spare", "Walk" }).status, 0); // replaces, one file left
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
