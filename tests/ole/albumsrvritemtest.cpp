#include "ole/albumsrvritem.h"

#include "album/albumdoc.h"
#include "support/testenvironment.h"
#include "view/albumclipboard.h"

#include <QFile>
#include <QImage>
#include <QUrl>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QString picture(const QString &folder, const QString &name, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = folder + u'/' + name;
    EXPECT_TRUE(image.save(path));
    return path;
}

TEST(AlbumSrvrItem, RendersWithinSixHundredFortyAndReportsTheExtent)
{
    const QString folder = makeTestFolder(QStringLiteral("render"));
    CAlbumDoc document;
    ASSERT_EQ(document.addFile(picture(folder, "wide.bmp", { 3000, 2000 })), 1);
    ASSERT_EQ(document.addFile(picture(folder, "tall.bmp", { 400, 600 })), 1);
    ASSERT_EQ(document.addFile(picture(folder, "small.bmp", { 40, 30 })), 1);
    EXPECT_EQ(CAlbumSrvrItem::renderPicture(*document.item(0)).size(), QSize(640, 426));
    EXPECT_EQ(CAlbumSrvrItem::renderPicture(*document.item(1)).size(), QSize(426, 640));
    EXPECT_EQ(CAlbumSrvrItem::renderPicture(*document.item(2)).size(), QSize(40, 30));
    EXPECT_EQ(CAlbumSrvrItem(document, 2).OnGetExtent(), QSize(1000, 750));
    EXPECT_EQ(CAlbumSrvrItem(document, 0).OnGetExtent(), QSize(10000, 6625));
    EXPECT_EQ(CAlbumSrvrItem::extentOf({ 53, 80 }), QSize(6625, 10000));
    CAlbumDoc empty;
    EXPECT_EQ(CAlbumSrvrItem(empty, -1).OnGetExtent(), QSize(1000, 1000));
    // A missing file falls back to the thumbnail.
    QFile::remove(document.item(1)->absolutePath());
    EXPECT_EQ(CAlbumSrvrItem::renderPicture(*document.item(1)).size(), QSize(53, 80));
}

TEST(AlbumSrvrItem, VideoItemOffersOneFileAndTheSameFileName)
{
    const QString folder = makeTestFolder(QStringLiteral("video"));
    const QString clip = folder + QStringLiteral("/clip one.avi");
    writeFile(clip, QByteArray(500, 'v'));
    CAlbumDoc document;
    ASSERT_EQ(document.addFile(clip), 1);
    CAlbumSrvrItem item(document, 0);
    item.SetItemData({}, writeDragRecord({ 7, 0, clip }));
    std::unique_ptr<QMimeData> data(item.OnGetClipboardData());
    ASSERT_EQ(data->urls().size(), 1);
    EXPECT_EQ(data->urls().first().toLocalFile(), clip);
    const QByteArray name = data->data(QString::fromLatin1(mime::kFileName));
    EXPECT_EQ(name.size(), 263);
    EXPECT_EQ(QString::fromUtf8(name.constData()), clip);
    // File managers paste "copy" and the file's URI.
    const QByteArray copied = data->data(QString::fromLatin1(mime::kGnomeCopiedFiles));
    EXPECT_EQ(copied, "copy\n" + QUrl::fromLocalFile(clip).toEncoded());
    EXPECT_EQ(readDragRecord(data->data(QString::fromLatin1(mime::kAlbumItem)))->path, clip);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("image/png")));
    EXPECT_FALSE(data->data(QStringLiteral("image/png")).isEmpty());

    // The stream pasted into another album carries the item.
    CAlbumDoc other;
    EXPECT_EQ(pasteItemStream(other, data->data(QString::fromLatin1(mime::kAlbumStream)), -1),
        PasteResult::Inserted);
    ASSERT_EQ(other.itemCount(), 1);
    EXPECT_EQ(other.item(0)->path(), clip);
}

} // namespace
