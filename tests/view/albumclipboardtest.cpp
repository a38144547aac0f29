#include "view/albumclipboard.h"

#include "album/albumdoc.h"
#include "support/testenvironment.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>

using namespace glimmerix;

namespace
{

// An album of six pictures named a..f, with texts and an attached sound on item 2.
class AlbumClipboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = makeTestFolder(QStringLiteral("clip"));
        for (char name = 'a'; name <= 'f'; ++name) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(QColor::fromHsv((name - 'a') * 50, 200, 200));
            const QString path = folder + u'/' + QChar(name) + QStringLiteral(".bmp");
            ASSERT_TRUE(image.save(path));
            ASSERT_EQ(document.addFile(path), 1);
        }
        document.setItemText(2, ItemField::Caption, QStringLiteral("Lake"));
        document.setItemText(2, ItemField::Description, QStringLiteral("Evening at the lake"));
        document.attachFile(2, QStringLiteral("waves"), folder + QStringLiteral("/waves.wav"));
    }
    QString order(const CAlbumDoc &doc) const
    {
        QString names;
        for (int i = 0; i < doc.itemCount(); ++i)
            names += doc.item(i)->fileName().left(1);
        return names;
    }

    QString folder;
    CAlbumDoc document;
};

TEST_F(AlbumClipboardTest, MovingTheSelectionToACell)
{
    struct Case {
        const char *name;
        QList<int> selected;
        int target;
        const char *order;
    };
    const Case cases[] = {
        { "0 and 1 onto 4", { 0, 1 }, 4, "cdeabf" },
        { "4 onto 1", { 4 }, 1, "aebcdf" },
        { "past the end", { 0 }, 99, "bcdefa" },
        { "onto itself", { 2 }, 2, "abcdef" },
        { "nowhere", { 0 }, -1, "abcdef" },
        { "scattered onto a selected one", { 0, 3, 5 }, 3, "bcadfe" },
    };
    for (const Case &c : cases) {
        CAlbumDoc doc;
        for (int i = 0; i < document.itemCount(); ++i)
            ASSERT_EQ(doc.addFile(document.item(i)->path()), 1);
        doc.markClean();
        for (int index : c.selected)
            doc.item(index)->setSelected(true);
        doc.moveSelectedTo(c.target);
        EXPECT_EQ(order(doc), QString::fromLatin1(c.order)) << c.name;
        EXPECT_EQ(doc.isModified(), order(doc) != QLatin1String("abcdef")) << c.name;
    }
}

TEST_F(AlbumClipboardTest, CopyInOneAlbumPastesTextsThumbnailAndSoundInAnother)
{
    document.setCurrentItem(2);
    const QByteArray stream = currentItemStream(document);
    CAlbumDoc other;
    int inserted = -1;
    ASSERT_EQ(pasteItemStream(other, stream, -1, &inserted), PasteResult::Inserted);
    ASSERT_EQ(inserted, 0);
    const AlbumItem &copy = *other.item(0);
    EXPECT_EQ(copy.path(), document.item(2)->path());
    EXPECT_EQ(fixedText(copy.info()->caption), QStringLiteral("Lake"));
    EXPECT_EQ(fixedText(copy.info()->description), QStringLiteral("Evening at the lake"));
    EXPECT_EQ(copy.attachmentName(), QStringLiteral("waves"));
    EXPECT_EQ(copy.thumbnailImage(), document.item(2)->thumbnailImage());
    // The same item again is a duplicate; the album keeps one.
    EXPECT_EQ(pasteItemStream(other, stream, -1), PasteResult::Duplicate);
    EXPECT_EQ(other.itemCount(), 1);

    // Cut leaves no current item, so the paste puts the item back at the end.
    document.removeItem(2, false);
    EXPECT_EQ(pasteItemStream(document, stream, -1, &inserted), PasteResult::Inserted);
    EXPECT_EQ(order(document), QStringLiteral("abdefc"));
}

TEST_F(AlbumClipboardTest, DamagedOrHostileStreamsAreRefusedAndTheAlbumStaysIntact)
{
    document.setCurrentItem(0);
    const QByteArray good = currentItemStream(document);
    CAlbumDoc target;
    ASSERT_TRUE(target.addFile(document.item(1)->path()) == 1);
    const auto withDataSize = [&](std::uint32_t size) {
        QByteArray bytes = good;
        std::memcpy(bytes.data() + 272 + offsetof(ItemInfo, dataSize), &size, 4);
        return bytes;
    };
    const QByteArray cases[] = {
        {},
        good.left(100),
        good.left(272 + 500),
        good.left(good.size() - 1),
        QByteArray(good).replace(0, 4, "XXXX"),
        QByteArray(good).replace(144, 3, "9.9"),
        withDataSize(0xFFFFFFF0u),
        withDataSize(0),
    };
    for (const QByteArray &bytes : cases) {
        EXPECT_EQ(pasteItemStream(target, bytes, -1), PasteResult::Refused) << bytes.size();
        EXPECT_EQ(target.itemCount(), 1);
    }
}

TEST(DragRecord, RoundTripAndRefusals)
{
    const DragRecord record { 0xCAFE, 4, QStringLiteral("/photos/été.jpg") };
    const QByteArray bytes = writeDragRecord(record);
    ASSERT_EQ(bytes.size(), 264);
    const std::optional<DragRecord> back = readDragRecord(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->view, 0xCAFEu);
    EXPECT_EQ(back->index, 4);
    EXPECT_EQ(back->path, record.path);
    // A long path is cut at a character boundary and stays terminated.
    const QString longPath = QString(300, QChar(0x00E9));
    EXPECT_EQ(
        readDragRecord(writeDragRecord({ 1, 0, longPath }))->path, QString(127, QChar(0x00E9)));

    QByteArray unterminated = bytes;
    unterminated.replace(8, 256, QByteArray(256, 'x'));
    QByteArray negative = bytes;
    negative[7] = char(0x80);
    EXPECT_FALSE(readDragRecord(bytes.left(263)));
    EXPECT_FALSE(readDragRecord(bytes + 'x'));
    EXPECT_FALSE(readDragRecord(unterminated));
    EXPECT_FALSE(readDragRecord(negative));
}

} // namespace
