// Albums are never lost: a file that is not an album is never written over, a save that fails
// anywhere leaves the old album byte for byte, a damaged album says so and is kept beside the
// first save over it, and the album's lock keeps other processes out from open to save.

#include "albumtesthelpers.h"

#include "album/albumfile.h"
#include "album/albumlock.h"
#include "album/albumsave.h"
#include "album/albumsource.h"
#include "core/messageids.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>

#include <sys/resource.h>

using namespace glimmerix;

namespace
{

// Passes writes through to `inner` until `budget` bytes have gone, then writes only what fits
// and fails, as a disk that fills up part-way does.
class FailingDevice final : public QIODevice
{
public:
    FailingDevice(QIODevice &inner, qint64 budget)
        : m_inner(inner)
        , m_budget(budget)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 part = std::min(size, std::max<qint64>(0, m_budget));
        if (part > 0 && m_inner.write(data, part) != part)
            return -1;
        m_budget -= part;
        if (part < size) {
            setErrorString(QString::fromLocal8Bit(std::strerror(ENOSPC)));
            return -1;
        }
        return size;
    }

private:
    QIODevice &m_inner;
    qint64 m_budget;
};

// Records where each write of a save ends.
class WriteRecorder final : public QIODevice
{
public:
    WriteRecorder() { open(QIODevice::WriteOnly); }
    QList<qint64> ends;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        ends << (ends.isEmpty() ? 0 : ends.last()) + size;
        return size;
    }
};

class AlbumSafety : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = makeTestFolder(QStringLiteral("safety"));
        path = folder + QStringLiteral("/Trip.gmx");
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(doc.insertItem(testItem(QStringLiteral("/m/%1.jpg").arg(i), 60 + i, 40)), 1);
        doc.setLastCopyDestination(QStringLiteral("/media/usb"));
        ASSERT_TRUE(doc.onSaveDocument(path));
        original = fileBytes(path);
        ASSERT_GT(original.size(), 3 * 1357);
    }

    RecordingHost recorder;
    CAlbumDoc doc;
    QString folder;
    QString path;
    QByteArray original;
};

} // namespace

TEST_F(AlbumSafety, AFailedWriteAnywhereInASaveLeavesTheOldAlbumByteIdentical)
{
    doc.insertItem(testItem(QStringLiteral("/m/new.jpg"), 80, 80));
    WriteRecorder recorder;
    ASSERT_TRUE(doc.store(recorder));
    // Fail the disk at every write of the save, one byte into it and one byte before its end.
    QList<qint64> budgets { 0 };
    for (const qint64 end : std::as_const(recorder.ends))
        budgets << end - 1 << end + 1;
    budgets.removeLast(); // past the last write nothing fails
    for (const qint64 budget : std::as_const(budgets)) {
        doc.setSaveDeviceFilter([budget](QIODevice &file) -> std::unique_ptr<QIODevice> {
            return std::make_unique<FailingDevice>(file, budget);
        });
        this->recorder.clear();
        EXPECT_FALSE(doc.onSaveDocument(path)) << budget;
        EXPECT_EQ(fileBytes(path), original) << budget;
        EXPECT_TRUE(doc.isModified());
        ASSERT_EQ(this->recorder.messageIds(), QList<int> { Message::kAlbumNotSaved });
        EXPECT_TRUE(
            this->recorder.shown().first().text.contains(QStringLiteral("the disk is full")))
            << this->recorder.shown().first().text.toStdString();
    }
    // No temporary file is left behind (the lock file is the album's, held by `doc`).
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
        (QStringList { QStringLiteral("Trip.gmx"), QStringLiteral("Trip.gmx.lock") }));
}

TEST_F(AlbumSafety, TheWriterReportsAWriteThatFailed)
{
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    for (const qint64 budget : { qint64(0), qint64(300), qint64(original.size() - 1) }) {
        FailingDevice device(sink, budget);
        EXPECT_FALSE(doc.store(device)) << budget;
    }
}

// The real file system refusing the last bytes QSaveFile still holds in its buffer: the file
// size limit fails the write at the final flush, as a full disk does.
TEST_F(AlbumSafety, AFileSystemThatFillsUpAtTheLastFlushKeepsTheOldAlbum)
{
    doc.insertItem(testItem(QStringLiteral("/m/new.jpg"), 80, 80));
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    ASSERT_TRUE(doc.store(whole));
    const auto size = rlim_t(whole.data().size());
    // The last limit fails only the bytes that QSaveFile writes out when the save ends.
    for (const rlim_t limit :
        { rlim_t(0), rlim_t(1000), rlim_t(original.size() + 100), size - 10 }) {
        rlimit limited = previous;
        limited.rlim_cur = limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool saved = doc.onSaveDocument(path);
        setrlimit(RLIMIT_FSIZE, &previous);
        EXPECT_FALSE(saved) << limit;
        EXPECT_EQ(fileBytes(path), original) << limit;
        // Also a write the file system took only part of gives the system's reason.
        EXPECT_TRUE(doc.lastError().contains(QLatin1String("file too large"), Qt::CaseInsensitive))
            << limit << " " << doc.lastError().toStdString();
    }
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(doc.onSaveDocument(path));
    EXPECT_GT(fileBytes(path).size(), original.size());
}

TEST_F(AlbumSafety, AFileThatIsNotAnAlbumIsNeitherOpenedNorWrittenOver)
{
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        { "text", "My thesis.\nChapter one\n" },
        { "jpeg", QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(5000, 'j') },
        { "long line", QByteArray("/") + QByteArray(5000, 'a') },
        // Files that begin like the album signature, and a text of one line.
        { "parquet table", QByteArray("PAR1") + QByteArray(300, '\x15') + "PAR1" },
        { "git pack", QByteArray("PACK\0\0\0\2\0\0\0\1", 12) + QByteArray(300, 'p') },
        { "one-line text", "Remember the milk" },
        { "one-line path with its line end", "/media/usb\n" },
    };
    for (const auto &entry : cases) {
        const QString other = folder + QStringLiteral("/other.gmx");
        writeFile(other, entry.bytes);
        recorder.clear();
        CAlbumDoc reader;
        EXPECT_FALSE(reader.onOpenDocument(other)) << entry.name;
        EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kNotAnAlbum }) << entry.name;
        EXPECT_TRUE(reader.isUntitled()) << entry.name;
        EXPECT_FALSE(doc.onSaveDocument(other)) << entry.name;
        EXPECT_EQ(fileBytes(other), entry.bytes) << entry.name;
    }
    // Albums stay albums: an empty file and an empty album stored as its trailer alone.
    for (const QByteArray &bytes : { QByteArray(), QByteArray("/media/usb") }) {
        writeFile(path, bytes);
        CAlbumDoc reader;
        EXPECT_TRUE(reader.onOpenDocument(path)) << bytes.constData();
        EXPECT_TRUE(reader.onSaveDocument(path));
    }
}

TEST_F(AlbumSafety, ADamagedAlbumSaysHowMuchWasRecoveredAndIsKeptBesideTheFirstSave)
{
    const qint64 records = 272 + 3 * 1357;
    QByteArray hostile = original;
    const std::uint32_t huge = 0xFFFFFFFFu;
    std::memcpy(hostile.data() + 8, &huge, 4);
    const struct {
        const char *name;
        QByteArray bytes;
        int recovered;
        std::uint32_t declared;
    } cases[] = {
        { "cut in the header", original.left(100), 0, 3 },
        { "cut in the second record", original.left(272 + 1357 + 500), 0, 3 },
        { "cut in an attachment", original.left(272 + 1060 + 10), 0, 3 },
        { "cut in the second bitmap", original.left(records + 7300), 1, 3 },
        { "hostile item count", hostile, 3, huge },
    };
    for (const auto &entry : cases) {
        const QString damaged = folder + QStringLiteral("/damaged.gmx");
        QFile::remove(damaged + QStringLiteral(".damaged"));
        writeFile(damaged, entry.bytes);
        recorder.clear();
        CAlbumDoc reader;
        ASSERT_TRUE(reader.onOpenDocument(damaged)) << entry.name;
        EXPECT_TRUE(reader.loadReport().damaged) << entry.name;
        EXPECT_EQ(reader.loadReport().recovered, entry.recovered) << entry.name;
        EXPECT_EQ(reader.loadReport().declared, entry.declared) << entry.name;
        ASSERT_EQ(recorder.messageIds(), QList<int> { Message::kAlbumDamaged }) << entry.name;
        EXPECT_TRUE(recorder.shown().first().text.contains(
            QStringLiteral("%1 of %2 items recovered").arg(entry.recovered).arg(entry.declared)))
            << recorder.shown().first().text.toStdString();

        QString caption = QStringLiteral("changed");
        reader.itemText(-1, caption, true);
        ASSERT_TRUE(reader.onSaveDocument(damaged)) << entry.name;
        EXPECT_EQ(reader.damagedCopyPath(), damaged + QStringLiteral(".damaged"));
        EXPECT_EQ(fileBytes(damaged + QStringLiteral(".damaged")), entry.bytes) << entry.name;
        // Only the first save keeps a copy.
        caption = QStringLiteral("again");
        reader.itemText(-1, caption, true);
        ASSERT_TRUE(reader.onSaveDocument(damaged));
        EXPECT_FALSE(QFileInfo::exists(damaged + QStringLiteral(".damaged-2")));
    }
    recorder.clear();
    CAlbumDoc whole;
    ASSERT_TRUE(whole.onOpenDocument(path));
    EXPECT_FALSE(whole.loadReport().damaged);
    EXPECT_TRUE(recorder.shown().isEmpty());
}

// An album's bitmaps stay in its file until wanted. Another program cutting the file short or
// writing over it while the album is open loses them: the grid gets no picture and a save says
// why and writes nothing. A file put in its place by a rename leaves the old one readable.
TEST_F(AlbumSafety, AnAlbumFileChangedWhileOpenIsNeverSavedFromTheChangedBytes)
{
    CAlbumDoc other;
    other.insertItem(testItem(QStringLiteral("/other/0.jpg"), 30, 30));
    const QString otherPath = folder + QStringLiteral("/Other.gmx");
    ASSERT_TRUE(other.onSaveDocument(otherPath));
    const QByteArray otherBytes = fileBytes(otherPath);
    const QImage picture = doc.item(1)->thumbnailImage();
    ASSERT_FALSE(picture.isNull());

    const struct {
        const char *name;
        std::function<void()> change;
        bool lost;
    } cases[] = {
        { "cut short", [&] { QFile(path).resize(272 + 3 * 1357 + 100); }, true },
        { "written over in place", [&] { writeFile(path, otherBytes); }, true },
        { "replaced by a rename",
            [&] {
                const QString fresh = folder + QStringLiteral("/fresh.tmp");
                writeFile(fresh, otherBytes);
                ASSERT_EQ(std::rename(QFile::encodeName(fresh), QFile::encodeName(path)), 0);
            },
            false },
    };
    for (const auto &entry : cases) {
        writeFile(path, original);
        CAlbumDoc reader;
        ASSERT_TRUE(reader.onOpenDocument(path)) << entry.name;
        ASSERT_TRUE(reader.item(1)->thumbnailInFile()) << entry.name;
        entry.change();
        const QByteArray changed = fileBytes(path);
        EXPECT_EQ(reader.item(1)->thumbnailImage().isNull(), entry.lost) << entry.name;
        EXPECT_EQ(reader.item(1)->thumbnailLost(), entry.lost) << entry.name;
        EXPECT_EQ(reader.item(2)->hasThumbnail(), !entry.lost) << entry.name;

        const QString copy = folder + QStringLiteral("/Copy.gmx");
        QFile::remove(copy);
        recorder.clear();
        EXPECT_EQ(reader.onSaveDocument(copy), !entry.lost) << entry.name;
        if (entry.lost) {
            EXPECT_EQ(reader.lastError(), AlbumFileSource::changedReason()) << entry.name;
            EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kAlbumNotSaved });
            EXPECT_FALSE(QFileInfo::exists(copy)) << entry.name;
            EXPECT_FALSE(reader.onSaveDocument(path)) << entry.name;
            EXPECT_EQ(fileBytes(path), changed) << entry.name;
        } else {
            EXPECT_EQ(reader.item(1)->thumbnailImage(), picture);
            EXPECT_EQ(fileBytes(copy), original) << entry.name;
        }
    }
}

TEST_F(AlbumSafety, AnOlderAlbumCutShortOrWithAHostileCountLoadsWhatItHolds)
{
    // A version "1.1" file: 544-byte records, no attachments, 16-byte bitmaps, then the last
    // copy folder. `dataStart` is the header's data-area offset, normally just after the records.
    auto olderAlbum = [](std::uint32_t count, int records, std::uint32_t dataStart = 0) {
        AlbumFileHeader header = makeAlbumHeader();
        std::memset(header.version, 0, sizeof header.version);
        std::memcpy(header.version, "1.1", 3);
        header.itemCount = count;
        header.dataStart = dataStart ? dataStart : std::uint32_t(272 + 544 * records);
        header.totalSize = std::uint32_t(272 + 544 * records + 16 * records);
        QByteArray bytes(reinterpret_cast<const char *>(&header), sizeof header);
        for (int i = 0; i < records; ++i) {
            ItemInfoV11 info {};
            std::snprintf(info.path, sizeof info.path, "/old/%d.jpg", i);
            info.dataSize = 16;
            bytes += QByteArray(reinterpret_cast<const char *>(&info), sizeof info);
        }
        for (int i = 0; i < records; ++i)
            bytes += QByteArray(16, char('T' + i));
        return bytes + "/media/cd";
    };
    QByteArray headerFirst = olderAlbum(2, 0, 272);
    setFixedText(
        reinterpret_cast<AlbumFileHeader *>(headerFirst.data())->caption, QStringLiteral("Corpus"));
    headerFirst = headerFirst.left(272) + headerFirst.left(200);
    const struct {
        const char *name;
        QByteArray bytes;
        int items;
        bool damaged;
        int wholeBitmaps; // the first items whose bitmaps the file holds
        const char *lastCopy;
    } cases[] = {
        { "whole", olderAlbum(3, 3), 3, false, 3, "/media/cd" },
        { "data offset off a record boundary", olderAlbum(3, 3, 272 + 544 * 3 + 6), 3, false, 3,
            "/media/cd" },
        { "cut in the third record", olderAlbum(3, 3).left(272 + 544 * 2 + 100), 2, true, 0, "" },
        { "cut in the bitmaps", olderAlbum(3, 3).left(272 + 544 * 3 + 40), 3, true, 2, "" },
        // The file cannot hold the records the count declares: it ends before the items do.
        { "hostile count", olderAlbum(0x7FFFFFFF, 3), 3, true, 3, "" },
        // Two items declared, none written by the data offset, and a header (a copy of the
        // first) where the first record should be: nothing is recovered, that header is not the
        // last copy folder, and the album saved from what was read reads back as saved.
        { "cut in the first record", headerFirst, 0, true, 0, "" },
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        CAlbumDoc reader;
        QBuffer buffer;
        buffer.setData(entry.bytes);
        buffer.open(QIODevice::ReadOnly);
        reader.load(buffer);
        ASSERT_EQ(reader.itemCount(), entry.items);
        EXPECT_EQ(reader.loadReport().damaged, entry.damaged);
        EXPECT_EQ(reader.lastCopyDestination(), QString::fromLatin1(entry.lastCopy));
        for (int i = 0; i < reader.itemCount(); ++i) {
            EXPECT_EQ(reader.item(i)->path(), QStringLiteral("/old/%1.jpg").arg(i));
            if (i < entry.wholeBitmaps) {
                EXPECT_EQ(reader.item(i)->thumbnailBitmap(), QByteArray(16, char('T' + i))) << i;
            }
        }
        QBuffer saved;
        saved.open(QIODevice::WriteOnly);
        ASSERT_TRUE(reader.store(saved));
        saved.close();
        saved.open(QIODevice::ReadOnly);
        CAlbumDoc back;
        back.load(saved);
        EXPECT_EQ(back.itemCount(), entry.items);
        EXPECT_FALSE(back.loadReport().damaged);
        EXPECT_EQ(back.lastCopyDestination(), QString::fromLatin1(entry.lastCopy));

        // Raw reading (the album search) finds the same records and bitmaps by the record size.
        QBuffer rawBuffer;
        rawBuffer.setData(entry.bytes);
        rawBuffer.open(QIODevice::ReadOnly);
        const RawAlbum raw = readAlbumRaw(rawBuffer);
        ASSERT_EQ(raw.thumbnails.size(), entry.items);
        for (int i = 0; i < entry.items; ++i) {
            const BlockHandle block = raw.thumbnails.at(i);
            const auto *info = static_cast<const ItemInfo *>(blockLock(block));
            ASSERT_NE(info, nullptr);
            EXPECT_EQ(fixedText(info->path), QStringLiteral("/old/%1.jpg").arg(i));
            ASSERT_GE(blockSize(block), sizeof(ItemInfo) + 16);
            if (i < entry.wholeBitmaps) {
                EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(info + 1), 16),
                    QByteArray(16, char('T' + i)))
                    << i;
            }
        }
    }
}

TEST_F(AlbumSafety, AnAlbumHeldByAnotherProcessIsInUse)
{
    // A lock file held through QLockFile is what another Glimmerix leaves beside the album.
    doc.onNewDocument(); // lets the album go
    QLockFile other(AlbumLock::lockFilePath(path));
    ASSERT_TRUE(other.tryLock(0));
    CAlbumDoc reader;
    reader.setLockWaitMs(100);
    recorder.clear();
    EXPECT_FALSE(reader.onOpenDocument(path));
    EXPECT_TRUE(reader.lastError().startsWith(QStringLiteral("album is in use")));
    EXPECT_FALSE(reader.onSaveDocument(path));
    EXPECT_EQ(fileBytes(path), original);
    other.unlock();
    ASSERT_TRUE(reader.onOpenDocument(path));
    EXPECT_TRUE(reader.holdsLock());
    EXPECT_TRUE(QFileInfo::exists(AlbumLock::lockFilePath(path)));
    // Documents of one process share the lock; the last one to let go removes it.
    CAlbumDoc second;
    ASSERT_TRUE(second.onOpenDocument(path));
    reader.onNewDocument();
    EXPECT_TRUE(QFileInfo::exists(AlbumLock::lockFilePath(path)));
    second.onNewDocument();
    EXPECT_FALSE(QFileInfo::exists(AlbumLock::lockFilePath(path)));
}
