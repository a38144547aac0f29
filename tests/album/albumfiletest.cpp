#include "albumtesthelpers.h"

#include "album/albumfile.h"
#include "album/albumsave.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "platform/paths.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>

using namespace glimmerix;

namespace
{

void loadFromBytes(CAlbumDoc &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    doc.load(buffer);
}

template<typename T> T readAt(const QByteArray &bytes, qsizetype offset)
{
    T value {};
    std::memcpy(&value, bytes.constData() + offset, sizeof value);
    return value;
}

QByteArray thumbnailBytes(const AlbumItem &item)
{
    const QByteArray bitmap = item.thumbnailBitmap();
    return QByteArray(bitmap.constData(), bitmap.size());
}

// A hand-built file of an older version: the header, the given item records, bitmaps of
// `dataSize` bytes filled with the item's number.
QByteArray olderFile(const char *version, const QList<QByteArray> &records, std::uint32_t dataSize)
{
    AlbumFileHeader header = makeAlbumHeader();
    std::memset(header.version, 0, sizeof header.version);
    std::memcpy(header.version, version, std::strlen(version));
    setFixedText(header.caption, QStringLiteral("Old times"));
    header.itemCount = std::uint32_t(records.size());
    QByteArray bytes(reinterpret_cast<const char *>(&header), sizeof header);
    for (const QByteArray &record : records)
        bytes += record;
    for (int i = 0; i < records.size(); ++i)
        bytes += QByteArray(qsizetype(dataSize), char('A' + i));
    return bytes;
}

class AlbumFile : public ::testing::Test
{
protected:
    void SetUp() override { CAlbumDoc::setLoadShowsProgress(false); }
    RecordingHost recorder;
};

} // namespace

TEST_F(AlbumFile, TwoItemHeaderFigures)
{
    CAlbumDoc doc;
    doc.insertItem(testItem(QStringLiteral("/p/a.jpg"), 80, 60));
    doc.insertItem(testItem(QStringLiteral("/p/b.jpg"), 25, 25));
    doc.setLastCopyDestination(QStringLiteral("/media/out"));
    const QByteArray bytes = storedAlbumBytes(doc);
    const std::uint32_t a = doc.item(0)->info()->dataSize;
    const std::uint32_t b = doc.item(1)->info()->dataSize;
    EXPECT_EQ(a, 40u + 240u * 60u);
    EXPECT_EQ(b, 40u + 76u * 25u);
    EXPECT_EQ(readAt<std::uint32_t>(bytes, 0), kAlbumMagic);
    EXPECT_EQ(readAt<std::uint32_t>(bytes, 8), 2u);
    EXPECT_EQ(readAt<std::uint32_t>(bytes, 12), 2986u);
    EXPECT_EQ(readAt<std::uint32_t>(bytes, 4), 2986u + a + b);
    EXPECT_EQ(QByteArray(bytes.constData() + 144), QByteArray("1.3"));
    EXPECT_EQ(readAt<std::uint32_t>(bytes, 272 + 1044), 0u);
    EXPECT_EQ(readAt<std::uint32_t>(bytes, 272 + 1357 + 1044), a);
    EXPECT_EQ(bytes.size(), qsizetype(2986 + a + b + 10));
    EXPECT_TRUE(bytes.endsWith("/media/out"));
}

TEST_F(AlbumFile, EmptyAlbumIsTheTrailerAloneAndReadsBackEmpty)
{
    CAlbumDoc doc;
    doc.setLastCopyDestination(QStringLiteral("/media/cd"));
    const QByteArray bytes = storedAlbumBytes(doc);
    EXPECT_EQ(bytes, QByteArray("/media/cd"));
    CAlbumDoc back;
    loadFromBytes(back, bytes);
    EXPECT_EQ(back.itemCount(), 0);
    EXPECT_TRUE(back.lastCopyDestination().isEmpty());
    EXPECT_TRUE(recorder.messageIds().isEmpty());
}

// The trailer is kept only when it is a folder a save can write back: an album of no items is
// saved as its trailer alone, which must read back as an album again.
TEST_F(AlbumFile, TheLastCopyFolderIsKeptOnlyWhenASaveCanWriteItBack)
{
    CAlbumDoc one;
    one.insertItem(testItem(QStringLiteral("/t/a.jpg")));
    const QByteArray oneItem = storedAlbumBytes(one);
    AlbumFileHeader empty = makeAlbumHeader();
    empty.dataStart = empty.totalSize = 272;
    const QByteArray header(reinterpret_cast<const char *>(&empty), sizeof empty);
    const struct {
        const char *name;
        QByteArray trailer;
        const char *kept;
    } cases[] = {
        { "a folder", "/media/cd", "/media/cd" },
        { "a folder and a line end", "/media/cd\r\n", "/media/cd" },
        { "an album signature", "PALM", "" },
        { "a zero byte", QByteArray("/media\0cd", 9), "" },
        { "a relative name", "media/cd", "" },
        { "too long", QByteArray("/") + QByteArray(5000, 'a'), "" },
    };
    for (const auto &c : cases) {
        for (const QByteArray &album : { header, oneItem }) {
            SCOPED_TRACE(std::string(c.name) + (album == header ? ", no items" : ", one item"));
            CAlbumDoc doc;
            loadFromBytes(doc, album + c.trailer);
            EXPECT_EQ(doc.lastCopyDestination(), QString::fromLatin1(c.kept));
            EXPECT_FALSE(doc.loadReport().damaged);
            const QByteArray saved = storedAlbumBytes(doc);
            EXPECT_TRUE(looksLikeAlbum(saved, saved.size()));
            CAlbumDoc back;
            loadFromBytes(back, saved);
            EXPECT_EQ(back.itemCount(), doc.itemCount());
            EXPECT_FALSE(back.loadReport().damaged);
            EXPECT_FALSE(back.loadReport().refused);
        }
    }
}

TEST_F(AlbumFile, RandomAlbumsReadBackIdentically)
{
    QRandomGenerator random(42);
    for (int round = 0; round < 20; ++round) {
        CAlbumDoc doc;
        const int count = random.bounded(1, 12);
        for (int i = 0; i < count; ++i) {
            const QString path = QStringLiteral("/media/r%1/%2-ünï.jpg").arg(round).arg(i);
            auto item = testItem(path, random.bounded(1, 200), random.bounded(1, 200));
            ItemInfo *info = item->editableInfo();
            info->fileSize = random.generate();
            info->fileTime = random.generate();
            setFixedText(info->description, QString(random.bounded(0, 300), u'd'));
            setFixedText(info->caption, QStringLiteral("caption %1 ✓").arg(i));
            setFixedText(info->keywords, QString(random.bounded(0, 255), u'k'));
            auto *bits = reinterpret_cast<unsigned char *>(info + 1) + 40;
            for (std::uint32_t b = 0; b + 40 < info->dataSize; ++b)
                bits[b] = static_cast<unsigned char>(random.generate());
            if (random.bounded(2)) {
                item->setAttachmentName(QStringLiteral("rec%1").arg(i));
                item->setAttachmentPath(QStringLiteral("/audio/rec%1.wav").arg(i));
            }
            ASSERT_EQ(doc.insertItem(std::move(item)), 1);
        }
        QString caption = QStringLiteral("Album %1").arg(round);
        doc.itemText(-1, caption, true);
        doc.setLastCopyDestination(round % 3 ? QStringLiteral("/mnt/out%1").arg(round) : QString());
        const QByteArray bytes = storedAlbumBytes(doc);

        CAlbumDoc back;
        loadFromBytes(back, bytes);
        ASSERT_EQ(back.itemCount(), count);
        EXPECT_EQ(back.albumCaption(), caption);
        EXPECT_EQ(back.lastCopyDestination(), doc.lastCopyDestination());
        EXPECT_FALSE(back.isModified());
        for (int i = 0; i < count; ++i) {
            const AlbumItem &a = *doc.item(i);
            const AlbumItem &b = *back.item(i);
            EXPECT_EQ(std::memcmp(a.info(), b.info(), sizeof(ItemInfo)), 0);
            EXPECT_EQ(thumbnailBytes(a), thumbnailBytes(b));
            EXPECT_EQ(a.attachmentName(), b.attachmentName());
            EXPECT_EQ(a.attachmentPath(), b.attachmentPath());
            EXPECT_FALSE(b.exists());
        }
        EXPECT_EQ(storedAlbumBytes(back), bytes);
    }
}

TEST_F(AlbumFile, Version11LoadsCutTextsAndIsWidenedOnSave)
{
    ItemInfoV11 old {};
    std::memset(old.path, 'p', sizeof old.path); // unterminated: the reader keeps 127
    old.path[0] = '/';
    std::memset(old.description, 'd', sizeof old.description);
    setFixedText(old.caption, QStringLiteral("cap"));
    old.fileSize = 1234;
    old.thumbWidth = 2;
    old.thumbHeight = 1;
    old.dataSize = 48;
    old.sourceWidth = 2;
    const QByteArray bytes
        = olderFile("1.1", { QByteArray(reinterpret_cast<const char *>(&old), sizeof old) }, 48);
    CAlbumDoc doc;
    loadFromBytes(doc, bytes);
    ASSERT_EQ(doc.itemCount(), 1);
    const ItemInfo *info = doc.item(0)->info();
    EXPECT_EQ(fixedText(info->path).size(), 127);
    EXPECT_EQ(fixedText(info->description).size(), 127);
    EXPECT_EQ(fixedText(info->caption), QStringLiteral("cap"));
    EXPECT_EQ(info->fileSize, 1234u);
    EXPECT_EQ(info->dataSize, 48u);
    EXPECT_EQ(thumbnailBytes(*doc.item(0)), QByteArray(48, 'A'));
    EXPECT_EQ(doc.albumCaption(), QStringLiteral("Old times"));
    EXPECT_TRUE(doc.item(0)->attachmentPath().isEmpty());

    const QByteArray saved = storedAlbumBytes(doc);
    EXPECT_EQ(QByteArray(saved.constData() + 144), QByteArray("1.3"));
    EXPECT_EQ(saved.size(), 272 + 1357 + 48);
    EXPECT_EQ(QByteArray(saved.constData() + 272 + 8).size(), 127);
    EXPECT_EQ(saved.mid(272 + 1060, 297), QByteArray(297, '\0'));
}

TEST_F(AlbumFile, Version12LoadsWithEmptyAttachments)
{
    QList<QByteArray> records;
    for (int i = 0; i < 2; ++i) {
        ItemInfo info {};
        setFixedText(info.path, QStringLiteral("/v12/%1.jpg").arg(i));
        info.dataSize = 8;
        records << QByteArray(reinterpret_cast<const char *>(&info), sizeof info);
    }
    CAlbumDoc doc;
    loadFromBytes(doc, olderFile("1.2", records, 8) + "/dest");
    ASSERT_EQ(doc.itemCount(), 2);
    EXPECT_EQ(doc.item(1)->path(), QStringLiteral("/v12/1.jpg"));
    EXPECT_EQ(thumbnailBytes(*doc.item(1)), QByteArray(8, 'B'));
    EXPECT_TRUE(doc.item(0)->attachmentName().isEmpty());
    EXPECT_EQ(doc.lastCopyDestination(), QStringLiteral("/dest"));
}

TEST_F(AlbumFile, UnknownVersionsAreRefused)
{
    for (const char *version : { "1.4", "1.30", "1.3 ", "" }) {
        recorder.clear();
        CAlbumDoc doc;
        QSignalSpy newAlbum(&doc, &CAlbumDoc::newAlbumRequested);
        loadFromBytes(doc, olderFile(version, {}, 0));
        EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kUnknownVersion }) << version;
        EXPECT_EQ(recorder.shown().first().text.contains(QString::fromLatin1(version)), true);
        EXPECT_EQ(newAlbum.size(), 1);
        EXPECT_EQ(doc.itemCount(), 0);
    }
}

TEST_F(AlbumFile, DuplicateInsideTheFileCutsTheAlbumKeepingBitmaps)
{
    CAlbumDoc doc;
    for (int i = 0; i < 5; ++i)
        doc.insertItem(testItem(QStringLiteral("/d/%1.jpg").arg(i), 4 + i, 3));
    doc.setLastCopyDestination(QStringLiteral("/dest"));
    QByteArray bytes = storedAlbumBytes(doc);
    // Item 3 (the fourth) names the same file as item 1 (the second).
    const QByteArray duplicate("/d/1.jpg", 9);
    bytes.replace(272 + 3 * 1357 + 8, duplicate.size(), duplicate);
    CAlbumDoc back;
    loadFromBytes(back, bytes);
    ASSERT_EQ(back.itemCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(thumbnailBytes(*back.item(i)), thumbnailBytes(*doc.item(i))) << i;
    EXPECT_EQ(back.lastCopyDestination(), QStringLiteral("/dest"));
}

TEST_F(AlbumFile, RelativeStoredPathsGainThePhotosFolder)
{
    ItemInfo info {};
    setFixedText(info.path, QStringLiteral("trip/a.jpg"));
    info.pathIsRelative = 1;
    info.dataSize = 4;
    AttachmentRecord attachment {};
    const QByteArray record = QByteArray(reinterpret_cast<const char *>(&info), sizeof info)
        + QByteArray(reinterpret_cast<const char *>(&attachment), sizeof attachment);
    CAlbumDoc doc;
    loadFromBytes(doc, olderFile("1.3", { record }, 4));
    ASSERT_EQ(doc.itemCount(), 1);
    const QString expected = joinPath(photosFolder(), QStringLiteral("trip/a.jpg"));
    EXPECT_EQ(doc.item(0)->path(), expected);
    const QByteArray saved = storedAlbumBytes(doc);
    EXPECT_EQ(QString::fromUtf8(saved.constData() + 272 + 8), expected);
    EXPECT_EQ(readAt<std::uint16_t>(saved, 272 + 1036), 0);

    // Too long once the photos folder is in front: kept relative to the user folder, not cut.
    const QString longName = QString(250, u'n');
    setFixedText(info.path, longName);
    const QByteArray longRecord = QByteArray(reinterpret_cast<const char *>(&info), sizeof info)
        + QByteArray(reinterpret_cast<const char *>(&attachment), sizeof attachment);
    CAlbumDoc longDoc;
    loadFromBytes(longDoc, olderFile("1.3", { longRecord }, 4));
    ASSERT_EQ(longDoc.itemCount(), 1);
    EXPECT_EQ(longDoc.item(0)->path(), QStringLiteral("PHOTOS/") + longName);
    EXPECT_EQ(longDoc.item(0)->absolutePath(), joinPath(photosFolder(), longName));
    EXPECT_EQ(fixedText(longDoc.item(0)->info()->path), longDoc.item(0)->path());
}

TEST_F(AlbumFile, EscapeMakesTheRestMissingAndCancelStartsOver)
{
    const QString folder = makeTestFolder();
    CAlbumDoc doc;
    for (int i = 0; i < 4; ++i) {
        const QString path = joinPath(folder, QStringLiteral("%1.jpg").arg(i));
        writeFile(path, 1);
        doc.insertItem(testItem(path));
    }
    const QByteArray bytes = storedAlbumBytes(doc);

    recorder.pressEscapeAtPoll(3);
    CAlbumDoc escaped;
    loadFromBytes(escaped, bytes);
    ASSERT_EQ(escaped.itemCount(), 4);
    EXPECT_TRUE(escaped.item(1)->exists());
    EXPECT_FALSE(escaped.item(2)->exists());
    EXPECT_FALSE(escaped.item(3)->exists());
    EXPECT_EQ(recorder.progressCount(), 0); // the first load of the run shows no progress

    // Later loads show progress; Cancel at the third item ends the load as a fresh album.
    recorder.pressEscapeAtPoll(0);
    recorder.cancelProgressAt(1, 2);
    const QString path = joinPath(folder, QStringLiteral("album.gmx"));
    ASSERT_TRUE(doc.onSaveDocument(path));
    CAlbumDoc cancelled;
    EXPECT_TRUE(cancelled.onOpenDocument(path));
    EXPECT_EQ(recorder.progressCount(), 1);
    EXPECT_EQ(cancelled.itemCount(), 0);
    EXPECT_TRUE(cancelled.isUntitled());
    EXPECT_FALSE(cancelled.isModified());
    EXPECT_FALSE(cancelled.loadCancelled());
}

TEST_F(AlbumFile, TruncatedFilesGivePartialAlbums)
{
    CAlbumDoc doc;
    for (int i = 0; i < 3; ++i)
        doc.insertItem(testItem(QStringLiteral("/t/%1.jpg").arg(i), 30, 30));
    const QByteArray bytes = storedAlbumBytes(doc);
    const struct {
        qsizetype length;
        int items;
    } cases[] = { { 0, 0 }, { 271, 0 }, { 272, 0 }, { 272 + 1060, 1 }, { 272 + 1357 * 2 + 10, 2 },
        { 272 + 1357 * 3, 3 }, { bytes.size() - 5, 3 } };
    for (const auto &c : cases) {
        CAlbumDoc back;
        loadFromBytes(back, bytes.left(c.length));
        EXPECT_EQ(back.itemCount(), c.items) << c.length;
    }
    // A short data area leaves the rest of that bitmap zero.
    CAlbumDoc back;
    loadFromBytes(back, bytes.left(bytes.size() - 5));
    EXPECT_TRUE(thumbnailBytes(*back.item(2)).endsWith(QByteArray(5, '\0')));
}

TEST_F(AlbumFile, HostileSizesAllocateNoMoreThanTheFileHolds)
{
    ItemInfo info {};
    setFixedText(info.path, QStringLiteral("/h/a.jpg"));
    info.dataSize = 0xFFFFFFF0u;
    QByteArray bytes
        = olderFile("1.2", { QByteArray(reinterpret_cast<const char *>(&info), sizeof info) }, 0);
    bytes.replace(8, 4, QByteArray("\xff\xff\xff\xff", 4)); // itemCount 4294967295
    CAlbumDoc doc;
    loadFromBytes(doc, bytes);
    EXPECT_EQ(doc.itemCount(), 0);

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const RawAlbum raw = readAlbumRaw(buffer);
    EXPECT_LE(raw.thumbnails.size(), 1);
}

TEST_F(AlbumFile, RawLoadKeepsBlocksAndAttachmentsInFileOrder)
{
    CAlbumDoc doc;
    doc.insertItem(testItem(QStringLiteral("/raw/a.jpg")));
    doc.insertItem(testItem(QStringLiteral("/raw/b.jpg")));
    doc.attachFile(1, QStringLiteral("memo"), QStringLiteral("/snd/memo.wav"));
    QByteArray bytes = storedAlbumBytes(doc);
    // The raw reader leaves a relative mark for the search to apply.
    bytes[272 + 1036] = 1;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const RawAlbum raw = readAlbumRaw(buffer);
    ASSERT_EQ(raw.thumbnails.size(), 2);
    ASSERT_EQ(raw.attachments.size(), 2);
    const auto *first = static_cast<const ItemInfo *>(blockLock(raw.thumbnails[0]));
    EXPECT_EQ(first->pathIsRelative, 1);
    EXPECT_EQ(fixedText(raw.attachments[1].path), QStringLiteral("/snd/memo.wav"));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(first + 1), 40),
        thumbnailBytes(*doc.item(0)).left(40));
}

TEST_F(AlbumFile, FailedSaveKeepsThePreviousFile)
{
    const QString folder = makeTestFolder();
    const QString path = joinPath(folder, QStringLiteral("keep.gmx"));
    CAlbumDoc doc;
    doc.insertItem(testItem(QStringLiteral("/k/a.jpg")));
    ASSERT_TRUE(doc.onSaveDocument(path));
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray before = file.readAll();
    file.close();
    doc.insertItem(testItem(QStringLiteral("/k/b.jpg")));
    // A folder that refuses new files stands in for a full disk: the rename never happens.
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    const bool refused
        = !QFile(joinPath(folder, QStringLiteral("probe"))).open(QIODevice::WriteOnly);
    if (refused) {
        EXPECT_FALSE(doc.onSaveDocument(path));
        EXPECT_TRUE(doc.isModified());
        file.open(QIODevice::ReadOnly);
        EXPECT_EQ(file.readAll(), before);
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

// A loaded album leaves its bitmaps in the file: every way of reading one gives the bytes the
// album was saved with, reading for a picture or a copy keeps nothing, and thumbnail() reads the
// block once and keeps it.
TEST_F(AlbumFile, ABitmapLeftInTheFileReadsTheSameEveryWay)
{
    CAlbumDoc made;
    for (int i = 0; i < 3; ++i)
        made.insertItem(testItem(QStringLiteral("/media/lazy/%1.jpg").arg(i), 30 + 20 * i, 20 + i));
    const QString path = joinPath(makeTestFolder(), QStringLiteral("lazy.gmx"));
    ASSERT_TRUE(made.onSaveDocument(path));
    CAlbumDoc loaded;
    ASSERT_TRUE(loaded.onOpenDocument(path));
    for (CAlbumDoc *doc : { &made, &loaded })
        doc->setSingleItemStoring(true);
    for (int i = 0; i < 3; ++i) {
        const AlbumItem &item = *loaded.item(i);
        ASSERT_TRUE(item.thumbnailInFile()) << i;
        EXPECT_TRUE(item.hasThumbnail());
        EXPECT_EQ(thumbnailBytes(item), thumbnailBytes(*made.item(i))) << i;
        EXPECT_EQ(item.thumbnailImage(), made.item(i)->thumbnailImage()) << i;
        // One item stored alone, as the clipboard does.
        made.setCurrentItem(i);
        loaded.setCurrentItem(i);
        EXPECT_EQ(storedAlbumBytes(loaded), storedAlbumBytes(made)) << i;
        EXPECT_TRUE(item.thumbnailInFile()) << i;
    }
    const BlockHandle block = loaded.item(1)->thumbnail();
    ASSERT_TRUE(isBlockHandle(block));
    EXPECT_FALSE(loaded.item(1)->thumbnailInFile());
    EXPECT_EQ(loaded.item(1)->thumbnail(), block);
    EXPECT_EQ(std::memcmp(blockLock(block), blockLock(made.item(1)->thumbnail()),
                  sizeof(ItemInfo) + made.item(1)->info()->dataSize),
        0);
    for (CAlbumDoc *doc : { &made, &loaded })
        doc->setSingleItemStoring(false);
    EXPECT_EQ(storedAlbumBytes(loaded), storedAlbumBytes(made));
}
