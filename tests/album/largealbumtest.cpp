// A large album through real files: every item, record and bitmap survives load, edit and save.

#include "albumtesthelpers.h"

#include "platform/paths.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

using namespace glimmerix;

namespace
{

QString largeItemPath(int i)
{
    return QStringLiteral("/media/large/%1/%2.jpg").arg(i % 7).arg(i);
}

TEST(LargeAlbum, TenThousandItemsLoadSaveByteIdenticallyAndSurviveAnEdit)
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

    CAlbumDoc loaded;
    ASSERT_TRUE(loaded.onOpenDocument(first));
    ASSERT_EQ(loaded.itemCount(), kItems);
    ASSERT_TRUE(loaded.onSaveDocument(second));
    EXPECT_TRUE(fileBytes(second) == original) << "the album saved after load differs";

    for (int i = 0; i < kItems; i += 997)
        loaded.setItemText(i, ItemField::Caption, QStringLiteral("edited %1").arg(i));
    ASSERT_TRUE(loaded.onSaveDocument(second));
    CAlbumDoc edited;
    ASSERT_TRUE(edited.onOpenDocument(second));
    ASSERT_EQ(edited.itemCount(), kItems);
    EXPECT_EQ(fixedText(edited.item(997)->info()->caption), QStringLiteral("edited 997"));
    for (int i = 0; i < kItems; ++i) {
        const AlbumItem &item = *edited.item(i);
        ASSERT_EQ(item.path(), largeItemPath(i));
        ASSERT_EQ(std::memcmp(item.info(), loaded.item(i)->info(), sizeof(ItemInfo)), 0) << i;
        ASSERT_EQ(item.thumbnailImage(), loaded.item(i)->thumbnailImage()) << i;
        ASSERT_EQ(item.attachmentPath(), loaded.item(i)->attachmentPath()) << i;
    }
    EXPECT_EQ(edited.lastCopyDestination(), QStringLiteral("/mnt/out"));
}

} // namespace
