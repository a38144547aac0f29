#include "album/albummanagement.h"
#include "album/albumdoc.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace glimmerix;

namespace
{

const QString kUntitled = QStringLiteral("(New Album)");

class AlbumFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = makeTestFolder(QStringLiteral("albums"));
        writeFile(albumFileForEntry(folder, QStringLiteral("Trip")), "trip album");
        writeFile(albumFileForEntry(folder, QStringLiteral("Home")), "home album");
    }
    QString album(const QString &entry) const { return albumFileForEntry(folder, entry); }

    RecordingHost host;
    QString folder;
};

} // namespace

TEST(AlbumNames, EntryNamesAndValidity)
{
    EXPECT_EQ(albumEntryName(QStringLiteral("Trip.gmx")), QStringLiteral("Trip"));
    EXPECT_EQ(albumEntryName(QStringLiteral("Trip.GMX")), QStringLiteral("Trip"));
    EXPECT_EQ(albumEntryName(QStringLiteral("Trip.gmx.bak")), QStringLiteral("Trip.gmx.bak"));
    // Names other file systems cannot take; "Trip*" would also read as an outside album's entry.
    for (const char *bad : { "", ".gmx", "..", "../Trip", "a/b", " Trip", "Trip ", "Trip*", "a:b",
             "why?", "a\\b", "\"q\"", "<a>", "a|b", "tab\there" })
        EXPECT_FALSE(isValidAlbumName(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(fileSystemSafeAlbumName(QStringLiteral("a/b: c*?")), QStringLiteral("a_b_ c__"));
    for (const char *good : { "Trip", "Trip.gmx", "Sommer 2026", "Straße" })
        EXPECT_TRUE(isValidAlbumName(QString::fromUtf8(good))) << good;
    EXPECT_FALSE(isFolderAlbumEntry(kUntitled, kUntitled));
    EXPECT_FALSE(isFolderAlbumEntry(QStringLiteral("Outside*"), kUntitled));
    EXPECT_FALSE(isFolderAlbumEntry(QString(), kUntitled));
    EXPECT_TRUE(isFolderAlbumEntry(QStringLiteral("Trip"), kUntitled));
}

TEST_F(AlbumFiles, RenameMovesTheFileAndSwitchesToTheNewEntry)
{
    const AlbumListChange change
        = renameAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Italy.gmx"), false);
    EXPECT_TRUE(change.succeeded);
    EXPECT_EQ(change.removedEntries, QStringList { QStringLiteral("Trip") });
    EXPECT_EQ(change.addedEntries, QStringList { QStringLiteral("Italy") });
    EXPECT_EQ(change.selectEntry, QStringLiteral("Italy"));
    EXPECT_TRUE(change.switchAlbum);
    EXPECT_FALSE(QFileInfo::exists(album(QStringLiteral("Trip"))));
    EXPECT_EQ(fileBytes(album(QStringLiteral("Italy"))), "trip album");
    EXPECT_TRUE(host.messageIds().isEmpty());
}

// Renaming or copying onto another album's name is refused unless asked to replace it; the
// album replaced goes to the Trash.
TEST_F(AlbumFiles, AnExistingAlbumIsReplacedOnlyWhenAskedAndGoesToTheTrash)
{
    for (const bool copying : { false, true }) {
        host.clear();
        const AlbumListChange change = copying
            ? copyAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Home"))
            : renameAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Home"), true);
        EXPECT_FALSE(change.succeeded) << copying;
        EXPECT_TRUE(change.error.contains(QStringLiteral("already exists")))
            << qPrintable(change.error);
        EXPECT_EQ(fileBytes(album(QStringLiteral("Home"))), "home album");
        EXPECT_EQ(fileBytes(album(QStringLiteral("Trip"))), "trip album");
        EXPECT_EQ(host.messageIds(),
            QList<int> { copying ? Message::kCopyFailed : Message::kRenameFailed });
    }
    const QString trash = QDir::homePath() + QStringLiteral("/.local/share/Trash/files/");
    const AlbumListChange copied
        = copyAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Home"), true);
    EXPECT_TRUE(copied.succeeded);
    EXPECT_EQ(fileBytes(trash + QStringLiteral("Home.gmx")), "home album");
    EXPECT_EQ(copied.report,
        QStringList { QStringLiteral("moved to the Trash: ") + album(QStringLiteral("Home")) });
    writeFile(album(QStringLiteral("Home")), "home again");
    EXPECT_TRUE(
        renameAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Home"), true, true).succeeded);
    EXPECT_EQ(fileBytes(trash + QStringLiteral("Home.2.gmx")), "home again");
    EXPECT_EQ(fileBytes(album(QStringLiteral("Home"))), "trip album");
}

TEST_F(AlbumFiles, RenameOntoAnExistingNameReplacesItAndKeepsOneEntry)
{
    const AlbumListChange change
        = renameAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Home.gmx"), true, true);
    EXPECT_TRUE(change.succeeded);
    EXPECT_EQ(change.removedEntries, QStringList { QStringLiteral("Trip") });
    EXPECT_TRUE(change.addedEntries.isEmpty()); // "Home" is listed once already
    EXPECT_EQ(change.selectEntry, QStringLiteral("Home"));
    EXPECT_EQ(fileBytes(album(QStringLiteral("Home"))), "trip album");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList { QStringLiteral("Home.gmx") });
}

TEST_F(AlbumFiles, RenameToItsOwnNameKeepsTheAlbum)
{
    const AlbumListChange change
        = renameAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Trip.gmx"), true);
    EXPECT_TRUE(change.succeeded);
    EXPECT_FALSE(change.switchAlbum);
    EXPECT_EQ(change.selectEntry, QStringLiteral("Trip"));
    EXPECT_EQ(fileBytes(album(QStringLiteral("Trip"))), "trip album");
}

TEST_F(AlbumFiles, FailedRenamesWarnAndStayOnTheEntry)
{
    struct Case {
        const char *name;
        QString current;
        QString entered;
    };
    const Case cases[] = {
        { "missing album file", QStringLiteral("Gone"), QStringLiteral("New.gmx") },
        { "outside album", QStringLiteral("Elsewhere*"), QStringLiteral("New.gmx") },
        { "name leaves the folder", QStringLiteral("Trip"), QStringLiteral("../New.gmx") },
    };
    for (const Case &test : cases) {
        host.clear();
        const AlbumListChange change = renameAlbum(folder, test.current, test.entered, false);
        EXPECT_FALSE(change.succeeded) << test.name;
        EXPECT_EQ(change.selectEntry, test.current) << test.name;
        EXPECT_FALSE(change.switchAlbum) << test.name;
        EXPECT_EQ(host.messageIds(), QList<int> { Message::kRenameFailed }) << test.name;
    }
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/../New.gmx")));
    EXPECT_EQ(fileBytes(album(QStringLiteral("Trip"))), "trip album");
}

TEST_F(AlbumFiles, CopyAddsANewEntryAndKeepsTheCurrentAlbum)
{
    const AlbumListChange change
        = copyAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Trip copy.gmx"));
    EXPECT_TRUE(change.succeeded);
    EXPECT_EQ(change.addedEntries, QStringList { QStringLiteral("Trip copy") });
    EXPECT_EQ(change.selectEntry, QStringLiteral("Trip"));
    EXPECT_FALSE(change.switchAlbum);
    EXPECT_EQ(fileBytes(album(QStringLiteral("Trip copy"))), "trip album");
    EXPECT_EQ(fileBytes(album(QStringLiteral("Trip"))), "trip album");
}

TEST_F(AlbumFiles, CopyOntoAnExistingNameReplacesItAndKeepsTheCurrentAlbumSelected)
{
    const AlbumListChange change
        = copyAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Home.gmx"), true);
    EXPECT_TRUE(change.succeeded);
    EXPECT_TRUE(change.addedEntries.isEmpty());
    EXPECT_TRUE(change.removedEntries.isEmpty());
    EXPECT_EQ(change.selectEntry, QStringLiteral("Trip"));
    EXPECT_EQ(fileBytes(album(QStringLiteral("Home"))), "trip album");
    EXPECT_TRUE(host.messageIds().isEmpty());
}

TEST_F(AlbumFiles, CopyThatCannotWriteWarnsAndLeavesTheTargetAlone)
{
    // A folder in the way of the target cannot be replaced by a file.
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("Busy.gmx")));
    const AlbumListChange change
        = copyAlbum(folder, QStringLiteral("Trip"), QStringLiteral("Busy"));
    EXPECT_FALSE(change.succeeded);
    EXPECT_TRUE(change.addedEntries.isEmpty());
    EXPECT_EQ(change.selectEntry, QStringLiteral("Trip"));
    EXPECT_EQ(host.messageIds(), QList<int> { Message::kCopyFailed });
    EXPECT_TRUE(QFileInfo(album(QStringLiteral("Busy"))).isDir());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2); // no temporary file left behind
}

TEST_F(AlbumFiles, DeleteWithMediaRemovesFilesAndSwitchesToUntitled)
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QStringList files
        = { media + QStringLiteral("/a.jpg"), media + QStringLiteral("/b.wav") };
    for (const QString &file : files)
        writeFile(file, "x");
    const QString kept = media + QStringLiteral("/kept.jpg");
    writeFile(kept, "x");

    const AlbumListChange change
        = deleteAlbum(folder, QStringLiteral("Trip"), kUntitled, files, true);
    EXPECT_TRUE(change.succeeded);
    EXPECT_EQ(change.removedEntries, QStringList { QStringLiteral("Trip") });
    EXPECT_EQ(change.selectEntry, kUntitled);
    EXPECT_TRUE(change.switchAlbum);
    EXPECT_FALSE(QFileInfo::exists(album(QStringLiteral("Trip"))));
    for (const QString &file : files)
        EXPECT_FALSE(QFileInfo::exists(file)) << qPrintable(file);
    EXPECT_TRUE(QFileInfo::exists(kept));
}

// Deleting an album with its media keeps every file another album uses (one of the albums
// folder, or one remembered from elsewhere) and lists it; the rest goes to the Trash.
TEST_F(AlbumFiles, DeleteWithMediaKeepsFilesOtherAlbumsUseAndTrashesTheRest)
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString own = makeTestPicture(media, QStringLiteral("own.jpg"), Qt::red);
    const QString shared = makeTestPicture(media, QStringLiteral("shared.jpg"), Qt::green);
    const QString remembered = makeTestPicture(media, QStringLiteral("remembered.jpg"), Qt::blue);
    const QString outside
        = makeTestFolder(QStringLiteral("elsewhere")) + QStringLiteral("/Far.gmx");
    const struct {
        QString path;
        QString picture;
    } users[] = { { album(QStringLiteral("Home")), shared }, { outside, remembered } };
    for (const auto &user : users) {
        CAlbumDoc other;
        other.onNewDocument();
        ASSERT_EQ(other.addFile(user.picture), 1);
        QFile::remove(user.path);
        ASSERT_TRUE(other.onSaveDocument(user.path));
    }
    const AlbumListChange change = deleteAlbum(folder, QStringLiteral("Trip"), kUntitled,
        { own, shared, remembered, media + QStringLiteral("/gone.jpg") }, true, { outside });
    EXPECT_TRUE(change.succeeded);
    EXPECT_FALSE(change.filesLeft);
    EXPECT_EQ(change.report,
        (QStringList {
            QStringLiteral("kept, used by %1: %2").arg(album(QStringLiteral("Home")), shared),
            QStringLiteral("kept, used by %1: %2").arg(outside, remembered),
            QStringLiteral("moved to the Trash: ") + own }));
    EXPECT_TRUE(QFileInfo::exists(shared));
    EXPECT_TRUE(QFileInfo::exists(remembered));
    EXPECT_FALSE(QFileInfo::exists(own));
    EXPECT_TRUE(
        QFileInfo::exists(QDir::homePath() + QStringLiteral("/.local/share/Trash/files/own.jpg")));
}

TEST_F(AlbumFiles, DeleteWithoutMediaKeepsThemAndAFailedDeleteKeepsThemToo)
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    const QString file = media + QStringLiteral("/a.jpg");
    writeFile(file, "x");
    EXPECT_TRUE(deleteAlbum(folder, QStringLiteral("Home"), kUntitled, { file }, false).succeeded);
    EXPECT_TRUE(QFileInfo::exists(file));

    // The album file is gone already: nothing may happen to the media files.
    const AlbumListChange change
        = deleteAlbum(folder, QStringLiteral("Home"), kUntitled, { file }, true);
    EXPECT_FALSE(change.succeeded);
    EXPECT_TRUE(change.removedEntries.isEmpty());
    EXPECT_EQ(change.selectEntry, kUntitled);
    EXPECT_EQ(host.messageIds(), QList<int> { Message::kDeleteFailed });
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST_F(AlbumFiles, DeleteNeverTouchesTheUntitledOrOutsideEntries)
{
    writeFile(album(kUntitled), "a file that happens to carry the untitled name");
    EXPECT_FALSE(deleteAlbum(folder, kUntitled, kUntitled, {}, true).succeeded);
    EXPECT_FALSE(deleteAlbum(folder, QStringLiteral("Outside*"), kUntitled, {}, true).succeeded);
    EXPECT_TRUE(QFileInfo::exists(album(kUntitled)));
    EXPECT_TRUE(host.messageIds().isEmpty());
}

TEST_F(AlbumFiles, PropertiesNameTheRightFile)
{
    const AlbumProperties trip = albumProperties(
        folder, QStringLiteral("Trip"), kUntitled, {}, 3, QStringLiteral("Rome"), 12345);
    EXPECT_EQ(trip.path, album(QStringLiteral("Trip")));
    EXPECT_EQ(trip.fileSize, 10);
    EXPECT_EQ(trip.fileSizeText(), QStringLiteral("10 bytes"));
    EXPECT_EQ(trip.itemCountText(), QStringLiteral("3"));
    EXPECT_EQ(trip.mediaBytesText(), QStringLiteral("12345 bytes"));

    const QString outside = makeTestFolder(QStringLiteral("outside")) + QStringLiteral("/x.gmx");
    writeFile(outside, "12345");
    const AlbumProperties remembered
        = albumProperties(folder, QStringLiteral("x*"), kUntitled, outside, 0, {}, 0);
    EXPECT_EQ(remembered.path, outside);
    EXPECT_EQ(remembered.fileSize, 5);

    const AlbumProperties untitled = albumProperties(folder, kUntitled, kUntitled, {}, 2, {}, 7);
    EXPECT_EQ(untitled.path, kUntitled);
    EXPECT_EQ(untitled.fileSize, 0);
}

TEST(FreeSpace, ReserveAndUnknownSpace)
{
    EXPECT_TRUE(enoughSpaceForCopy(10000, 0));
    EXPECT_TRUE(enoughSpaceForCopy(1'010'000, 1'000'000));
    EXPECT_FALSE(enoughSpaceForCopy(1'009'999, 1'000'000));
    EXPECT_FALSE(enoughSpaceForCopy(-1, 0));
    // A folder that does not exist yet is measured on the nearest one that does.
    const QString folder = makeTestFolder(QStringLiteral("space"));
    EXPECT_GT(freeSpaceOf(folder + QStringLiteral("/not/yet")), 0);
    // Other tests write to the same disk at the same time, so the two readings may differ by what
    // they wrote meanwhile; a different disk would differ by far more.
    const qint64 nested = freeSpaceOf(folder + QStringLiteral("/not/yet"));
    EXPECT_LT(std::abs(nested - freeSpaceOf(folder)), 64LL * 1024 * 1024);
}
