#include "album/replaceitempath.h"

#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QString picture(const QString &folder, const QString &name, int width)
{
    QImage image(width, 10, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString path = folder + u'/' + name;
    image.save(path);
    return path;
}

TEST(ReplaceItemPath, NewFileKeepsTextsAttachmentAndPlace)
{
    RecordingHost host;
    const QString folder = makeTestFolder();
    CAlbumDoc document;
    document.addFile(picture(folder, "a.jpg", 20));
    document.addFile(picture(folder, "b.jpg", 20));
    QString description = QStringLiteral("Lake");
    document.itemText(0, description, true);
    setFixedText(document.item(0)->editableInfo()->caption, QStringLiteral("Dawn"));
    document.attachFile(0, "note", folder + "/note.wav");
    const qint64 bytesBefore = document.mediaBytes();

    const QString wider = picture(folder, "wide.jpg", 40);
    ASSERT_TRUE(replaceItemPath(document, 0, wider));
    ASSERT_EQ(document.itemCount(), 2);
    const AlbumItem *item = document.item(0);
    EXPECT_EQ(item->path(), wider);
    EXPECT_EQ(fixedText(item->info()->path), wider);
    EXPECT_EQ(item->info()->sourceWidth, 40);
    EXPECT_EQ(fixedText(item->info()->caption), "Dawn");
    EXPECT_EQ(fixedText(item->info()->description), "Lake");
    EXPECT_EQ(item->attachmentPath(), folder + "/note.wav");
    EXPECT_EQ(document.mediaBytes(),
        bytesBefore - QFileInfo(folder + "/a.jpg").size() + QFileInfo(wider).size());

    // A file already in the album and a path too long for the record are refused.
    EXPECT_FALSE(replaceItemPath(document, 0, folder + "/b.jpg"));
    EXPECT_FALSE(replaceItemPath(document, 0, "/" + QString(300, u'x') + ".jpg"));
    EXPECT_EQ(host.messageIds(), (QList<int> { 59001 }));
    EXPECT_EQ(document.item(0)->path(), wider);
}

} // namespace
