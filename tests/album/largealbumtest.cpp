// A large album through real files: every item, record and bitmap survives load, edit and save.

#include "albumtesthelpers.h"

#include "platform/paths.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <cstring>

using namespace glimmerix;

namespace
{

QString largeItemPath(int i)
{
    return QStringLiteral("/media/large/%1/%2.jpg").arg(i % 7).arg(i);
}

TEST(LargeAlbum, TenThousandItemsLoadSaveByteIdenticallyAndSurviveEdits)
{
    constexpr int kItems = 10000;
    RecordingHost recorder;
    CAlbumDoc::setLoadShowsProgress(false);
    const QString folder = makeTestFolder();
    const QString first = joinPath(folder, QStringLiteral("first.gmx"));
    const QString second = joinPath(folder, QStringLiteral("second.gmx"));
    {
        // Tiny thumbnails of varied sizes and colours keep the file small (about 14 MB) while a
        // bitmap landing in the wrong block or at the wrong offset still shows.
        CAlbumDoc doc;
        for (int i = 0; i < kItems; ++i) {
            const QString path = largeItemPath(i);
            const BlockHandle thumbnail
                = testThumbnail(path, 1 + i % 5, 1 + i % 3, qRgb(i % 256, i / 256, 7));
            auto item = std::make_unique<AlbumItem>(thumbnail, path, false);
            if (i % 3 == 0)
                item->setAttachmentPath(QStringLiteral("/audio/%1.wav").arg(i));
            ASSERT_EQ(doc.insertItem(std::move(item)), 1);
        }
        doc.setLastCopyDestination(QStringLiteral("/mnt/out"));
        ASSERT_TRUE(doc.onSaveDocument(first));
    }
    const QByteArray original = fileBytes(first);

    // The load leaves the bitmaps in the file, and a save copies them from there.
    CAlbumDoc loaded;
    ASSERT_TRUE(loaded.onOpenDocument(first));
    ASSERT_EQ(loaded.itemCount(), kItems);
    for (int i = 0; i < kItems; ++i)
        ASSERT_TRUE(loaded.item(i)->thumbnailInFile()) << i;
    ASSERT_TRUE(loaded.onSaveDocument(second));
    EXPECT_TRUE(fileBytes(second) == original) << "the album saved after load differs";
    EXPECT_TRUE(loaded.item(0)->thumbnailInFile());

    // Edits of every kind, between and around bitmaps still in the file: texts, items deleted,
    // items moved, a new thumbnail, a bitmap read into memory.
    for (int i = 0; i < kItems; i += 997)
        loaded.setItemText(i, ItemField::Caption, QStringLiteral("edited %1").arg(i));
    for (int i = kItems - 1; i >= 0; i -= 1000)
        loaded.removeItem(i, false);
    for (int i = 100; i < 105; ++i)
        loaded.item(i)->setSelected(true);
    ASSERT_TRUE(loaded.moveSelectedTo(9000));
    loaded.setItemThumbnail(42, testThumbnail(loaded.item(42)->path(), 70, 50, qRgb(200, 100, 0)));
    ASSERT_TRUE(isBlockHandle(loaded.item(4321)->thumbnail()));
    ASSERT_TRUE(loaded.onSaveDocument(second));

    CAlbumDoc edited;
    ASSERT_TRUE(edited.onOpenDocument(second));
    ASSERT_EQ(edited.itemCount(), kItems - 10);
    const AlbumItem *captioned = edited.item(edited.findItemByPath(largeItemPath(997)));
    ASSERT_TRUE(captioned);
    EXPECT_EQ(fixedText(captioned->info()->caption), QStringLiteral("edited 997"));
    EXPECT_EQ(edited.item(42)->thumbnailImage().size(), QSize(70, 50));
    QSet<QString> paths;
    for (int i = 0; i < edited.itemCount(); ++i) {
        const AlbumItem &item = *edited.item(i);
        paths.insert(item.path());
        ASSERT_EQ(item.path(), loaded.item(i)->path());
        ASSERT_EQ(std::memcmp(item.info(), loaded.item(i)->info(), sizeof(ItemInfo)), 0) << i;
        ASSERT_EQ(item.thumbnailImage(), loaded.item(i)->thumbnailImage()) << i;
        ASSERT_EQ(item.attachmentPath(), loaded.item(i)->attachmentPath()) << i;
    }
    for (int i = 0; i < kItems; ++i)
        ASSERT_EQ(paths.contains(largeItemPath(i)), i % 1000 != 999) << i;
    EXPECT_EQ(edited.lastCopyDestination(), QStringLiteral("/mnt/out"));
}

} // namespace
