#include "album/albumfilecopy.h"
#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albummanagement.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstring>

using namespace glimmerix;

namespace
{

// An item for `path` with a bare thumbnail block whose record names the path.
std::unique_ptr<AlbumItem> makeItem(const QString &path)
{
    const BlockHandle block = blockAlloc(0, sizeof(ItemInfo) + 64);
    auto *info = static_cast<ItemInfo *>(blockLock(block));
    setFixedText(info->path, path);
    setFixedText(info->caption, QStringLiteral("caption of ") + QFileInfo(path).fileName());
    return std::make_unique<AlbumItem>(block, path);
}

class CopyFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString media = makeTestFolder(QStringLiteral("media"));
        QDir(media).mkpath(QStringLiteral("one"));
        QDir(media).mkpath(QStringLiteral("two"));
        first = media + QStringLiteral("/one/pic.jpg");
        second = media + QStringLiteral("/two/pic.jpg"); // same name, other folder
        sound = media + QStringLiteral("/one/note.wav");
        missing = media + QStringLiteral("/one/gone.jpg");
        writeFile(first, QByteArray(1000, 'a'));
        writeFile(second, QByteArray(2000, 'b'));
        writeFile(sound, QByteArray(300, 's'));
        writeFile(missing, "x");
        for (const QString &path : { first, second, missing })
            ASSERT_EQ(doc.insertItem(makeItem(path)), 1);
        QFile::remove(missing);
        doc.attachFile(0, QStringLiteral("note"), sound);
        albumPath = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/Trip.gmx");
        ASSERT_TRUE(doc.onSaveDocument(albumPath));
        destination = makeTestFolder(QStringLiteral("usb")) + QStringLiteral("/photos");
    }

    RecordingHost host;
    CAlbumDoc doc;
    QString first, second, sound, missing, albumPath, destination;
};

} // namespace

TEST_F(CopyFiles, TooLittleFreeSpaceCopiesNothingAndWarns)
{
    const qint64 needed = doc.mediaBytes() + kCopyFilesReserve;
    QString asked;
    const CopyFilesOutcome outcome
        = copyAlbumFiles(doc, destination, false, [&](const QString &folder) {
              asked = folder;
              return needed - 1;
          });
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.copied, 0);
    EXPECT_EQ(asked, destination);
    EXPECT_EQ(host.messageIds(), QList<int> { Message::kNotEnoughSpace });
    EXPECT_FALSE(QFileInfo::exists(destination));
    EXPECT_EQ(doc.item(0)->path(), first);
    EXPECT_TRUE(doc.lastCopyDestination().isEmpty());

    host.clear();
    EXPECT_TRUE(
        copyAlbumFiles(doc, destination, false, [&](const QString &) { return needed; }).succeeded);
    EXPECT_TRUE(host.messageIds().isEmpty());
}

TEST_F(CopyFiles, CopyPointsTheItemsAtDistinctCopiesAndPlacesTheAlbumBesideThem)
{
    const qint64 bytes = doc.mediaBytes();
    const CopyFilesOutcome outcome = copyAlbumFiles(doc, destination, false);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.copied, 2);
    EXPECT_EQ(doc.item(0)->path(), destination + QStringLiteral("/pic.jpg"));
    EXPECT_EQ(doc.item(1)->path(), destination + QStringLiteral("/pic (2).jpg"));
    EXPECT_EQ(doc.item(2)->path(), missing); // nothing to copy: the item keeps its path
    EXPECT_EQ(fixedText(doc.item(1)->info()->path), doc.item(1)->path());
    EXPECT_EQ(fixedText(doc.item(1)->info()->caption), QStringLiteral("caption of pic.jpg"));
    EXPECT_EQ(doc.item(0)->attachmentPath(), destination + QStringLiteral("/note.wav"));
    EXPECT_EQ(doc.item(0)->attachmentName(), QStringLiteral("note"));
    EXPECT_EQ(QFileInfo(doc.item(1)->path()).size(), 2000);
    EXPECT_TRUE(QFileInfo::exists(first) && QFileInfo::exists(second) && QFileInfo::exists(sound));
    EXPECT_EQ(doc.mediaBytes(), bytes);
    EXPECT_EQ(doc.lastCopyDestination(), destination);
    EXPECT_FALSE(doc.isModified());

    // The album copy beside the files carries the new paths and the destination.
    EXPECT_EQ(outcome.albumCopy, destination + QStringLiteral("/Trip.gmx"));
    CAlbumDoc copy;
    ASSERT_TRUE(copy.onOpenDocument(outcome.albumCopy));
    ASSERT_EQ(copy.itemCount(), 3);
    EXPECT_EQ(copy.item(1)->path(), destination + QStringLiteral("/pic (2).jpg"));
    EXPECT_EQ(copy.lastCopyDestination(), destination);
}

TEST_F(CopyFiles, MoveDeletesOnlyWhatWasCopiedAndRunningItAgainChangesNothing)
{
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QString trash = makeTestFolder(QStringLiteral("data")) + QStringLiteral("/Trash/files");
    qputenv("XDG_DATA_HOME", QFileInfo(QFileInfo(trash).path()).path().toUtf8());
    ASSERT_TRUE(copyAlbumFiles(doc, destination, true).succeeded);
    qputenv("XDG_DATA_HOME", dataHome);
    // The moved originals are in the Trash, not gone.
    EXPECT_EQ(QDir(trash).entryList(QDir::Files, QDir::Name),
        (QStringList { "note.wav", "pic.2.jpg", "pic.jpg" }));
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_FALSE(QFileInfo::exists(sound));
    EXPECT_TRUE(QFileInfo::exists(destination + QStringLiteral("/pic.jpg")));
    EXPECT_TRUE(QFileInfo::exists(destination + QStringLiteral("/note.wav")));
    EXPECT_EQ(doc.driveCount(DriveKind::Fixed) + doc.driveCount(DriveKind::Removable)
            + doc.driveCount(DriveKind::Network) + doc.driveCount(DriveKind::Optical),
        3);

    // Files already in the destination are neither copied onto themselves nor renamed.
    const CopyFilesOutcome again = copyAlbumFiles(doc, destination, true);
    EXPECT_TRUE(again.succeeded);
    EXPECT_EQ(again.copied, 0);
    EXPECT_EQ(QFileInfo(destination + QStringLiteral("/pic.jpg")).size(), 1000);
    EXPECT_EQ(QDir(destination).entryList(QDir::Files).size(), 4); // 2 pictures, sound, album
}

TEST_F(CopyFiles, ADestinationPathMustFitTheRecordAndAFailedSoundCopyKeepsTheOriginalSound)
{
    // Names whose path in the destination is 259 bytes (fits the 260-byte record with its
    // terminator) and 260 bytes (does not).
    const int fits = 259 - int(destination.toUtf8().size()) - 1;
    const QString media = QFileInfo(first).absolutePath();
    auto named = [&](int bytes, const char *extension) {
        return media + u'/' + QString(bytes - 4, u'n') + QLatin1String(extension);
    };
    const QString fitting = named(fits, ".jpg");
    const QString tooLong = named(fits + 1, ".bmp");
    const QString longSound = named(fits + 1, ".wav");
    for (const QString &path : { fitting, tooLong, longSound })
        writeFile(path, "x");
    ASSERT_EQ(doc.insertItem(makeItem(fitting)), 1);
    ASSERT_EQ(doc.insertItem(makeItem(tooLong)), 1);
    doc.attachFile(0, QStringLiteral("note"), longSound);
    host.clear();

    const CopyFilesOutcome outcome = copyAlbumFiles(doc, destination, true);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.failed, 2);
    EXPECT_EQ(doc.item(3)->path(), destination + u'/' + QFileInfo(fitting).fileName());
    EXPECT_EQ(doc.item(4)->path(), tooLong);
    EXPECT_TRUE(QFileInfo::exists(tooLong));
    // The picture moved but its sound could not: the item keeps the sound where it is.
    EXPECT_EQ(doc.item(0)->path(), destination + QStringLiteral("/pic.jpg"));
    EXPECT_EQ(doc.item(0)->attachmentPath(), longSound);
    EXPECT_TRUE(QFileInfo::exists(longSound));
    EXPECT_EQ(host.messageIds().count(Message::kPathTooLong), 2);
}

TEST(DistinctDestination, NumbersBeforeTheExtension)
{
    const QSet<QString> taken = { QStringLiteral("/d/a.jpg"), QStringLiteral("/d/a (2).jpg"),
        QStringLiteral("/d/noext") };
    EXPECT_EQ(distinctDestination(QStringLiteral("/d"), QStringLiteral("b.jpg"), taken),
        QStringLiteral("/d/b.jpg"));
    EXPECT_EQ(distinctDestination(QStringLiteral("/d"), QStringLiteral("a.jpg"), taken),
        QStringLiteral("/d/a (3).jpg"));
    EXPECT_EQ(distinctDestination(QStringLiteral("/d"), QStringLiteral("noext"), taken),
        QStringLiteral("/d/noext (2)"));
}

// Links in the destination under the names the copies take are never written through: the files
// they lead to keep their bytes. A link to a different file is that file's name, kept, and the
// copy takes a free name beside it.
TEST_F(CopyFiles, LinksUnderTheCopiesNamesAreNeverWrittenThrough)
{
    ASSERT_TRUE(QDir().mkpath(destination));
    const QString outside = makeTestFolder(QStringLiteral("outside"));
    writeFile(outside + QStringLiteral("/mine.jpg"), "mine");
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/mine.jpg"), destination + "/pic.jpg"));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/gone.wav"), destination + "/note.wav"));
    ASSERT_TRUE(copyAlbumFiles(doc, destination, false).succeeded);
    EXPECT_EQ(fileBytes(outside + QStringLiteral("/mine.jpg")), "mine");
    EXPECT_FALSE(QFileInfo::exists(outside + QStringLiteral("/gone.wav")));
    const QFileInfo copy(doc.item(0)->path());
    EXPECT_EQ(copy.absolutePath(), QFileInfo(destination).absoluteFilePath());
    EXPECT_FALSE(copy.isSymLink());
    EXPECT_EQ(copy.size(), 1000);
}
