#include "album/copyfiles.h"

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// Three pictures in an album, the first and last selected, and an empty destination folder.
class CopyFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        source = makeTestFolder(QStringLiteral("source"));
        destination = makeTestFolder(QStringLiteral("destination"));
        for (const char *name : { "a.jpg", "b.jpg", "c.jpg" }) {
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(Qt::blue);
            const QString path = source + u'/' + QLatin1String(name);
            ASSERT_TRUE(picture.save(path));
            ASSERT_EQ(document.addFile(path), 1);
        }
        document.item(0)->setSelected(true);
        document.item(2)->setSelected(true);
        document.markClean();
    }
    QByteArray contents(const QString &path) const
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    RecordingHost host;
    CAlbumDoc document;
    QString source;
    QString destination;
};

TEST_F(CopyFilesTest, CopiesTheSelectedFilesAndReportsSuccess)
{
    EXPECT_EQ(copySelectedFiles(document, destination), CopyFilesResult::AllCopied);
    EXPECT_TRUE(QFile::exists(destination + "/a.jpg"));
    EXPECT_FALSE(QFile::exists(destination + "/b.jpg"));
    EXPECT_EQ(contents(destination + "/c.jpg"), contents(source + "/c.jpg"));
    EXPECT_EQ(host.messageIds(), (QList<int> { 50329 }));
    EXPECT_EQ(host.progressCount(), 1);
    EXPECT_FALSE(document.isModified());
}

TEST_F(CopyFilesTest, ExistingFilesAreAskedAbout)
{
    for (const char *name : { "/a.jpg", "/c.jpg" }) {
        QFile old(destination + QLatin1String(name));
        old.open(QIODevice::WriteOnly);
        old.write("old");
    }
    // No keeps a.jpg, Yes replaces c.jpg.
    host.queueAnswer(MessageAnswer::No);
    host.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(copySelectedFiles(document, destination), CopyFilesResult::AllCopied);
    EXPECT_EQ(contents(destination + "/a.jpg"), "old");
    EXPECT_EQ(contents(destination + "/c.jpg"), contents(source + "/c.jpg"));
    EXPECT_EQ(host.messageIds(), (QList<int> { 50314, 50314, 50329 }));
    EXPECT_FALSE(QFile::exists(destination + "/c.jpg.part"));

    // Cancel stops the run without a closing message.
    host.clear();
    host.queueAnswer(MessageAnswer::Cancel);
    EXPECT_EQ(copySelectedFiles(document, destination), CopyFilesResult::Cancelled);
    EXPECT_EQ(host.messageIds(), (QList<int> { 50314 }));
}

TEST_F(CopyFilesTest, MissingSourceFailsAndTheOwnFolderIsSkipped)
{
    QFile::remove(source + "/a.jpg");
    EXPECT_EQ(copySelectedFiles(document, destination), CopyFilesResult::SomeFailed);
    EXPECT_EQ(host.messageIds(), (QList<int> { 0, 50328 }));
    EXPECT_TRUE(QFile::exists(destination + "/c.jpg"));

    // Copying into the files' own folder copies nothing over themselves.
    host.clear();
    EXPECT_EQ(copySelectedFiles(document, source), CopyFilesResult::AllCopied);
    EXPECT_EQ(host.messageIds(), (QList<int> { 50329 }));

    host.clear();
    document.selectNone();
    EXPECT_EQ(copySelectedFiles(document, destination), CopyFilesResult::NothingSelected);
    EXPECT_TRUE(host.messageIds().isEmpty());
}

TEST_F(CopyFilesTest, ALinkUnderADestinationNameIsReplacedNotWrittenThrough)
{
    // A link leading nowhere and one to a file of the user's: each is asked about like a file,
    // and Yes replaces the link itself.
    const QString elsewhere = makeTestFolder(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QFile::link(elsewhere + "/gone.jpg", destination + "/a.jpg"));
    QFile own(elsewhere + "/own.jpg");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("own");
    own.close();
    ASSERT_TRUE(QFile::link(elsewhere + "/own.jpg", destination + "/c.jpg"));
    host.queueAnswer(MessageAnswer::Yes);
    host.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(copySelectedFiles(document, destination), CopyFilesResult::AllCopied);
    EXPECT_FALSE(QFile::exists(elsewhere + "/gone.jpg"));
    EXPECT_EQ(contents(elsewhere + "/own.jpg"), "own");
    EXPECT_FALSE(QFileInfo(destination + "/a.jpg").isSymLink());
    EXPECT_EQ(contents(destination + "/a.jpg"), contents(source + "/a.jpg"));
    EXPECT_EQ(host.messageIds(), (QList<int> { 50314, 50314, 50329 }));
}

} // namespace
