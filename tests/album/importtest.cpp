#include "albumtesthelpers.h"

#include "album/acquirename.h"
#include "album/albumfolders.h"
#include "album/iconpicture.h"
#include "album/importer.h"
#include "album/mediakind.h"
#include "album/oldalbum.h"
#include "album/orderedimport.h"
#include "core/appsettings.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "platform/paths.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cstring>

using namespace glimmerix;

namespace
{

QString picture(const QString &folder, const QString &name, int width, int height, QRgb color)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(color);
    const QString path = joinPath(folder, name);
    image.save(path, "BMP");
    return path;
}

const ItemInfo &infoOf(const CAlbumDoc &doc, int index)
{
    return *doc.item(index)->info();
}

class MemoryCounters final : public AcquireCounterStore
{
public:
    int readCounter(int keyId, int defaultValue) override
    {
        return values.value(keyId, defaultValue);
    }
    void writeCounter(int keyId, int value) override { values[keyId] = value; }
    QHash<int, int> values;
};

} // namespace

TEST(MediaKind, ClipsAndSoundsByExtension)
{
    const struct {
        const char *path;
        MediaKind kind;
    } cases[] = { { "/a/b.JpG", MediaKind::Picture }, { "/a/b.mov", MediaKind::Avi },
        { "/a/b.wav", MediaKind::Wave }, { "/a/b.mpeg", MediaKind::Mpeg },
        { "/a/b.mp3", MediaKind::Mp3 }, { "/a/b.jpeg", MediaKind::Other },
        { "/a/noext", MediaKind::Other } };
    for (const auto &c : cases)
        EXPECT_EQ(mediaKindOf(QString::fromLatin1(c.path)), c.kind) << c.path;
}

TEST(Import, EveryKindGetsItsPicture)
{
    RecordingHost recorder;
    const QString folder = makeTestFolder();
    const QString photo = picture(folder, QStringLiteral("wide.bmp"), 160, 120, qRgb(250, 10, 10));
    const QString sound = joinPath(folder, QStringLiteral("voice.wav"));
    writeFile(sound, 44);
    const QString odd = joinPath(folder, QStringLiteral("data.qqq"));
    writeFile(odd, 3);
    for (const char *clip : { "clip.avi", "clip.mpg", "broken.mpeg" })
        QFile::copy(fixturePath(QStringLiteral("album/") + QLatin1String(clip)),
            joinPath(folder, QLatin1String(clip)));

    CAlbumDoc doc;
    EXPECT_EQ(doc.addFile(photo), 1);
    EXPECT_EQ(doc.addFile(photo), -2);
    EXPECT_EQ(doc.addFile(sound), 1);
    EXPECT_EQ(doc.addFile(joinPath(folder, QStringLiteral("clip.avi"))), 1);
    EXPECT_EQ(doc.addFile(joinPath(folder, QStringLiteral("clip.mpg"))), 1);
    EXPECT_EQ(doc.addFile(joinPath(folder, QStringLiteral("broken.mpeg"))), 1);
    EXPECT_EQ(doc.addFile(odd), 1);
    EXPECT_TRUE(recorder.messageIds().isEmpty()) << recorder.messageIds().size();
    ASSERT_EQ(doc.itemCount(), 6);

    EXPECT_EQ(infoOf(doc, 0).thumbWidth, 80);
    EXPECT_EQ(infoOf(doc, 0).thumbHeight, 60);
    EXPECT_EQ(infoOf(doc, 0).isMedia, 0);
    EXPECT_EQ(doc.item(0)->thumbnailImage().pixel(5, 5), qRgb(250, 10, 10));
    // Icon pictures are 32 x 32; clips give their 96 x 64 first frame.
    EXPECT_EQ(infoOf(doc, 1).sourceWidth, 32);
    EXPECT_EQ(infoOf(doc, 1).isMedia, 1);
    for (int clip : { 2, 3 }) {
        EXPECT_EQ(infoOf(doc, clip).sourceWidth, 96);
        EXPECT_EQ(infoOf(doc, clip).thumbHeight, 53);
    }
    EXPECT_EQ(infoOf(doc, 4).sourceWidth, 32); // unreadable MPEG: the video icon picture
    OwnedBlock videoIcon(readIconPicture(kVideoIconPicture));
    OwnedBlock expected(makeThumbnail(videoIcon.handle(), QStringLiteral("/v.mpeg")));
    EXPECT_EQ(doc.item(4)->thumbnailImage(), thumbnailBlockImage(expected.handle()));
    EXPECT_EQ(infoOf(doc, 5).sourceWidth, 32); // shell icon or unknown.log
    EXPECT_EQ(doc.mediaBytes(),
        QFileInfo(photo).size() + 44 + 3
            + QFileInfo(joinPath(folder, QStringLiteral("clip.avi"))).size() + 4096 + 100);
}

TEST(Import, RelativePathsAreReadFromTheUserFolder)
{
    const QString folder = joinPath(userFolder(), QStringLiteral("relative"));
    QDir().mkpath(folder);
    picture(folder, QStringLiteral("r.bmp"), 90, 45, qRgb(1, 2, 3));
    QImage photo(120, 60, QImage::Format_RGB888);
    photo.fill(Qt::darkCyan);
    photo.save(joinPath(folder, QStringLiteral("r.jpg")), "JPEG");
    CAlbumDoc doc;
    for (const QString &name :
        { QStringLiteral("relative/r.bmp"), QStringLiteral("relative/r.jpg") }) {
        ASSERT_EQ(doc.addFile(name), 1) << name.toStdString();
        const AlbumItem &item = *doc.item(doc.itemCount() - 1);
        EXPECT_EQ(item.path(), name);
        EXPECT_EQ(fixedText(item.info()->path), name);
        EXPECT_TRUE(item.exists());
        EXPECT_EQ(item.info()->thumbHeight, 40);
        EXPECT_EQ(qint64(item.info()->fileSize), QFileInfo(item.absolutePath()).size());
    }
}

TEST(Import, OtherFilesShowTheirShellIconOrTheUnknownPicture)
{
    RecordingHost recorder;
    const QString folder = makeTestFolder();
    const QString odd = joinPath(folder, QStringLiteral("data.qqq"));
    const QString letter = joinPath(folder, QStringLiteral("letter.odt"));
    QFile binary(odd); // no type of its own: the default type has no icon
    binary.open(QIODevice::WriteOnly);
    binary.write(QByteArray("\x00\x01\x02\xff\xfe\x80", 6));
    binary.close();
    writeFile(letter, 10);
    CAlbumDoc doc;
    ASSERT_EQ(doc.addFile(odd), 1);
    OwnedBlock unknown(readIconPicture(kUnknownIconPicture));
    OwnedBlock unknownThumb(makeThumbnail(unknown.handle(), odd));
    EXPECT_EQ(doc.item(0)->thumbnailImage(), thumbnailBlockImage(unknownThumb.handle()));
    EXPECT_EQ(doc.item(0)->info()->isMedia, 1);

    OwnedBlock shell(shellIconPicture(letter));
    if (!shell)
        GTEST_SKIP() << "no icon theme with document icons is installed";
    ASSERT_EQ(doc.addFile(letter), 1);
    const QImage thumb = doc.item(1)->thumbnailImage();
    EXPECT_EQ(thumb.size(), QSize(32, 32));
    EXPECT_NE(thumb, doc.item(0)->thumbnailImage());
    EXPECT_EQ(thumb.pixel(0, 0), qRgb(192, 192, 192)); // the icon sits on grey 192
    EXPECT_TRUE(recorder.messageIds().isEmpty());
}

TEST(Import, UnreadablePicturesAreRefusedAndClipsFallBackWithTheirMessages)
{
    RecordingHost recorder;
    const QString folder = makeTestFolder();
    const QString fakeJpeg = joinPath(folder, QStringLiteral("fake.jpg"));
    const QString fakeAvi = joinPath(folder, QStringLiteral("fake.avi"));
    writeFile(fakeJpeg, 100);
    writeFile(fakeAvi, 100);
    CAlbumDoc doc;
    // An icon standing for a picture that cannot be read would be an item with nothing behind it.
    EXPECT_EQ(doc.addFile(fakeJpeg), 0);
    EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kPictureUnreadable });
    EXPECT_EQ(doc.itemCount(), 0);
    recorder.clear();
    QString problem;
    EXPECT_EQ(doc.addFile(fakeJpeg, -1, &problem), 0);
    EXPECT_TRUE(recorder.messageIds().isEmpty());
    EXPECT_EQ(problem, QStringLiteral("the picture cannot be read"));
    EXPECT_EQ(doc.addFile(fakeAvi), 1);
    ASSERT_EQ(recorder.messageIds().size(), 1);
    EXPECT_TRUE(recorder.messageIds().first() >= Message::kAviCannotOpen
        && recorder.messageIds().first() <= Message::kAviNoFrame);
}

TEST(Import, RebuildKeepsTextsAndTakesTheNewPicture)
{
    const QString folder = makeTestFolder();
    const QString photo = picture(folder, QStringLiteral("edit.bmp"), 40, 30, qRgb(0, 0, 255));
    CAlbumDoc doc;
    ASSERT_EQ(doc.addFile(photo), 1);
    QString text = QStringLiteral("keep me");
    doc.itemText(0, text, true);
    setFixedText(doc.item(0)->editableInfo()->caption, QStringLiteral("cap"));
    setFixedText(doc.item(0)->editableInfo()->keywords, QStringLiteral("kw"));
    doc.markClean();
    picture(folder, QStringLiteral("edit.bmp"), 100, 50, qRgb(0, 255, 0));
    EXPECT_EQ(rebuildThumbnail(doc, 0), 1);
    const ItemInfo &info = infoOf(doc, 0);
    EXPECT_EQ(fixedText(info.description), QStringLiteral("keep me"));
    EXPECT_EQ(fixedText(info.caption), QStringLiteral("cap"));
    EXPECT_EQ(fixedText(info.keywords), QStringLiteral("kw"));
    EXPECT_EQ(info.sourceWidth, 100);
    EXPECT_EQ(info.thumbHeight, 40);
    EXPECT_EQ(info.fileSize, std::uint32_t(QFileInfo(photo).size()));
    EXPECT_EQ(doc.item(0)->thumbnailImage().pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_TRUE(doc.isModified());

    QFile::remove(photo);
    EXPECT_EQ(rebuildThumbnail(doc, 0), 0);
}

TEST(Import, AddFilesPassesOverDuplicatesAndStopsOnCancel)
{
    RecordingHost recorder;
    const QString folder = makeTestFolder();
    QStringList files;
    for (int i = 0; i < 4; ++i)
        files << picture(folder, QStringLiteral("%1.bmp").arg(i), 8, 8, qRgb(i, i, i));
    CAlbumDoc doc;
    doc.addFile(files[1]);
    AddFilesOutcome outcome
        = addFiles(doc, files + QStringList { joinPath(folder, QStringLiteral("gone.bmp")) });
    EXPECT_EQ(outcome.added, 3);
    EXPECT_EQ(outcome.duplicates, 1);
    EXPECT_EQ(outcome.failed, 1);
    ASSERT_EQ(outcome.skipped.size(), 1);
    EXPECT_EQ(outcome.skipped.first().problem, QStringLiteral("no such file"));
    EXPECT_EQ(outcome.summary(), QStringLiteral("3 added, 1 skipped, 1 already in the album"));
    EXPECT_EQ(outcome.folder, folder);
    EXPECT_EQ(doc.addFilesFolder(), folder);
    EXPECT_EQ(addFilesStartFolder(doc.addFilesFolder(), QStringLiteral("/elsewhere")), folder);
    EXPECT_EQ(addFilesStartFolder({}, QStringLiteral("/elsewhere")), QStringLiteral("/elsewhere"));
    EXPECT_EQ(addFilesStartFolder({}, {}), photosFolder());
    // One report names the file that could not be added.
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_TRUE(recorder.shown().first().text.contains(QStringLiteral("gone.bmp: no such file")));

    CAlbumDoc other;
    recorder.cancelProgressAt(2, 2);
    outcome = addFiles(other, files);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(other.itemCount(), 3); // the file at position 2 was under way when Cancel came
    EXPECT_EQ(mediaFilesInFolder(folder), files);
}

// Thumbnails made on several threads give the same album, byte for byte, and the same messages
// in the same order as adding the files one by one; a file that fails in the middle keeps its
// place in the report. Cancel leaves exactly the files added before it.
TEST(Import, ParallelImportMatchesOneByOneAndStopsOnCancel)
{
    const QString folder = makeTestFolder();
    QStringList files;
    for (int i = 0; i < 12; ++i) {
        // Large and small photos alternate so that later files often finish first.
        const int side = i % 2 ? 1200 : 90;
        QImage photo(side, side * 3 / 4, QImage::Format_RGB888);
        QRandomGenerator noise { quint32(i) };
        for (int y = 0; y < photo.height(); ++y)
            for (int x = 0; x < photo.width(); x += 7)
                photo.setPixel(x, y, noise.generate() | 0xFF000000u);
        const QString path = joinPath(folder, QStringLiteral("p%1.jpg").arg(i, 2, 10, QChar(u'0')));
        photo.save(path, "JPEG", 85);
        files << path;
        if (i == 5) {
            // Failures in the middle: an unreadable picture, a clip with its message, a file
            // that only the user-interface thread can draw (its shell icon), a missing file.
            files << joinPath(folder, QStringLiteral("broken.jpg"))
                  << joinPath(folder, QStringLiteral("clip.avi"))
                  << joinPath(folder, QStringLiteral("notes.txt"))
                  << joinPath(folder, QStringLiteral("gone.bmp"))
                  << picture(folder, QStringLiteral("small.bmp"), 30, 20, qRgb(1, 2, 3));
            writeFile(files[files.size() - 5], 100);
            writeFile(files[files.size() - 4], 100);
            writeFile(files[files.size() - 3], 100);
        }
    }
    files << files[3]; // already in the album

    struct Run {
        QByteArray album;
        QList<int> messages;
        QStringList skipped;
        QString summary;
    };
    const auto run = [&](int workers) {
        RecordingHost recorder;
        CAlbumDoc doc;
        AddFilesOutcome outcome;
        if (workers == 0) {
            for (const QString &file : std::as_const(files))
                addFileCounted(doc, file, outcome);
        } else {
            SilentProgress progress;
            glimmerix::addFilesInOrder(doc, files, progress, outcome, {}, workers);
        }
        const QString saved = joinPath(folder, QStringLiteral("run%1.gal").arg(workers));
        EXPECT_TRUE(doc.onSaveDocument(saved));
        QFile file(saved);
        file.open(QIODevice::ReadOnly);
        Run result { file.readAll(), recorder.messageIds(), {}, outcome.summary() };
        for (const SkippedFile &skipped : std::as_const(outcome.skipped))
            result.skipped << QFileInfo(skipped.path).fileName() + u':' + skipped.problem;
        return result;
    };
    const Run oneByOne = run(0);
    EXPECT_EQ(oneByOne.summary, QStringLiteral("15 added, 2 skipped, 1 already in the album"));
    EXPECT_EQ(oneByOne.skipped,
        QStringList({ QStringLiteral("broken.jpg:the picture cannot be read"),
            QStringLiteral("gone.bmp:no such file") }));
    EXPECT_FALSE(oneByOne.messages.isEmpty()); // the clip's
    for (int workers : { 1, 4 }) {
        const Run pooled = run(workers);
        EXPECT_TRUE(pooled.album == oneByOne.album) << workers << " workers";
        EXPECT_EQ(pooled.messages, oneByOne.messages);
        EXPECT_EQ(pooled.skipped, oneByOne.skipped);
        EXPECT_EQ(pooled.summary, oneByOne.summary);
    }

    // Cancel pressed while file 7 is being added, with workers well ahead of it.
    RecordingHost recorder;
    recorder.cancelProgressAt(1, 7);
    std::unique_ptr<Progress> progress = host().createProgress();
    CAlbumDoc doc;
    AddFilesOutcome outcome;
    glimmerix::addFilesInOrder(doc, files, *progress, outcome, {}, 4);
    EXPECT_TRUE(outcome.cancelled);
    ASSERT_EQ(doc.itemCount(), 7); // files 0 to 7 less the broken picture
    int next = 0;
    for (int i = 0; i < 8; ++i) {
        if (files[i].endsWith(QStringLiteral("broken.jpg")))
            continue;
        EXPECT_EQ(doc.item(next++)->absolutePath(), files[i]);
    }
}

TEST(AcquiredName, CustomPrefixTakesTheFirstFreeNumber)
{
    const QString folder = makeTestFolder();
    writeFile(joinPath(folder, QStringLiteral("trip_0000.jpg")), 1);
    writeFile(joinPath(folder, QStringLiteral("trip_0001.jpg")), 1);
    MemoryCounters counters;
    const AcquireNaming naming { folder, QStringLiteral("trip"), 4, true };
    EXPECT_EQ(nextAcquiredFileName(naming, counters, QDate(2001, 3, 5)),
        joinPath(folder, QStringLiteral("trip_0002.jpg")));
    EXPECT_TRUE(counters.values.isEmpty());
    EXPECT_EQ(
        nextAcquiredFileName({ folder, QStringLiteral("x"), 9, true }, counters, QDate(2001, 3, 5)),
        joinPath(folder, QStringLiteral("x_0000")));
}

TEST(AcquiredName, DateCodedNamesCountPerDay)
{
    MemoryCounters counters;
    const AcquireNaming naming { QStringLiteral("/acq"), {}, 4, false };
    EXPECT_EQ(nextAcquiredFileName(naming, counters, QDate(2001, 3, 5)),
        QStringLiteral("/acq/mr05_001.jpg"));
    EXPECT_EQ(nextAcquiredFileName(naming, counters, QDate(2001, 3, 5)),
        QStringLiteral("/acq/mr05_002.jpg"));
    EXPECT_EQ(nextAcquiredFileName(naming, counters, QDate(2001, 3, 6)),
        QStringLiteral("/acq/mr06_001.jpg"));
    EXPECT_EQ(counters.values.value(kAcquireDayKey), 306);
    EXPECT_EQ(counters.values.value(kAcquireCounterKey), 2);
    counters.values[kAcquireCounterKey] = 1000; // out of range: starts again
    EXPECT_EQ(nextAcquiredFileName(naming, counters, QDate(2001, 3, 6)),
        QStringLiteral("/acq/mr06_001.jpg"));
    counters.values[kAcquireCounterKey] = 999; // the last number of a day, then the wrap
    EXPECT_EQ(nextAcquiredFileName(naming, counters, QDate(2001, 3, 6)),
        QStringLiteral("/acq/mr06_999.jpg"));
    EXPECT_EQ(nextAcquiredFileName(naming, counters, QDate(2001, 3, 6)),
        QStringLiteral("/acq/mr06_001.jpg"));

    // The same counting through the private profile file.
    ProfileAcquireCounters profile;
    EXPECT_EQ(nextAcquiredFileName(naming, profile, QDate(2001, 3, 5)),
        QStringLiteral("/acq/mr05_001.jpg"));
    EXPECT_EQ(nextAcquiredFileName(naming, profile, QDate(2001, 3, 5)),
        QStringLiteral("/acq/mr05_002.jpg"));
    EXPECT_EQ(PrivateProfile().readInt(Message::kDayCodeKey, 0), 305);

    const struct {
        int year;
        const char *name;
    } years[] = { { 2001, "de31_001.tif" }, { 2002, "de31#001.tif" }, { 2003, "de31-001.tif" },
        { 2004, "de31^001.tif" }, { 2005, "de31$001.tif" }, { 2006, "de31_001.tif" } };
    for (const auto &y : years) {
        MemoryCounters fresh;
        EXPECT_EQ(nextAcquiredFileName(
                      { QStringLiteral("/acq"), {}, 1, false }, fresh, QDate(y.year, 12, 31)),
            QStringLiteral("/acq/") + QLatin1String(y.name));
    }
}

// Names that are already there are passed over, and when every name is taken none is given:
// an acquired picture never writes over an earlier one.
TEST(AcquiredName, TakenNamesArePassedOverAndNeverWrittenOver)
{
    const QString folder = makeTestFolder();
    MemoryCounters counters;
    const AcquireNaming dated { folder, {}, 4, false };
    writeFile(joinPath(folder, QStringLiteral("mr05_001.jpg")), 1);
    writeFile(joinPath(folder, QStringLiteral("mr05_002.jpg")), 1);
    EXPECT_EQ(nextAcquiredFileName(dated, counters, QDate(2001, 3, 5)),
        joinPath(folder, QStringLiteral("mr05_003.jpg")));
    EXPECT_EQ(counters.values.value(kAcquireCounterKey), 4);
    EXPECT_EQ(counters.values.value(kAcquireDayKey), 305);
    // After the wrap past 999 the taken numbers are skipped too.
    counters.values[kAcquireCounterKey] = 999;
    writeFile(joinPath(folder, QStringLiteral("mr05_999.jpg")), 1);
    EXPECT_EQ(nextAcquiredFileName(dated, counters, QDate(2001, 3, 5)),
        joinPath(folder, QStringLiteral("mr05_003.jpg")));

    // Every name taken: none is given, for both ways of naming.
    const QString full = makeTestFolder();
    for (int i = 1; i <= 999; ++i)
        writeFile(joinPath(full, QStringLiteral("mr05_%1.jpg").arg(i, 3, 10, QLatin1Char('0'))), 1);
    for (int i = 0; i <= 9999; ++i)
        writeFile(joinPath(full, QStringLiteral("t_%1.jpg").arg(i, 4, 10, QLatin1Char('0'))), 1);
    EXPECT_TRUE(
        nextAcquiredFileName({ full, {}, 4, false }, counters, QDate(2001, 3, 5)).isEmpty());
    EXPECT_TRUE(
        nextAcquiredFileName({ full, QStringLiteral("t"), 4, true }, counters, QDate(2001, 3, 5))
            .isEmpty());
}

TEST(Import, AcquiredPicturesAreSavedNamedAndAppended)
{
    const QString folder = makeTestFolder();
    OwnedBlock picture(solidPicture(120, 90, qRgb(200, 100, 0)));
    MemoryCounters counters;
    const AcquireNaming naming { folder, QStringLiteral("scan"), 0, true };
    CAlbumDoc doc;
    EXPECT_EQ(addInMemoryPicture(doc, picture.handle(), naming, counters, QDate(2001, 3, 5)), 1);
    EXPECT_EQ(addInMemoryPicture(doc, picture.handle(), naming, counters, QDate(2001, 3, 5)), 1);
    ASSERT_EQ(doc.itemCount(), 2);
    EXPECT_EQ(doc.item(1)->path(), joinPath(folder, QStringLiteral("scan_0001.bmp")));
    EXPECT_TRUE(doc.item(1)->exists());
    EXPECT_EQ(doc.item(1)->info()->thumbHeight, 60);
    EXPECT_EQ(doc.item(1)->info()->fileSize, std::uint32_t(QFileInfo(doc.item(1)->path()).size()));
    EXPECT_EQ(doc.item(1)->thumbnailImage().pixel(1, 1), qRgb(200, 100, 0));
    // A folder that cannot be made: nothing is added.
    const AcquireNaming nowhere { QStringLiteral("/proc/none"), QStringLiteral("x"), 0, true };
    EXPECT_EQ(addInMemoryPicture(doc, picture.handle(), nowhere, counters, QDate(2001, 3, 5)), 0);
    EXPECT_EQ(doc.itemCount(), 2);
}

TEST(OldAlbum, RecordsBecomeItemsAndTheAlbumIsSaved)
{
    RecordingHost recorder;
    const QString folder = makeTestFolder();
    const QString present = picture(folder, QStringLiteral("here.bmp"), 10, 10, qRgb(9, 9, 9));
    const QString missing = joinPath(folder, QStringLiteral("gone.bmp"));
    QByteArray bytes(kOldAlbumHeaderSize, '\0');
    const std::uint32_t count = 3;
    std::memcpy(bytes.data() + 8, &count, 4);
    std::memcpy(bytes.data() + 16, "Holiday 98", 10);
    for (const QString &path : { present, missing, missing }) {
        QByteArray record(kOldAlbumRecordSize, '\0');
        const QByteArray utf8 = path.toUtf8();
        std::memcpy(record.data() + 8, utf8.constData(), std::size_t(utf8.size()));
        std::memcpy(record.data() + 136, "beach", 5);
        bytes += record;
    }
    const QString old = joinPath(folder, QStringLiteral("summer.alb"));
    QFile file(old);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();

    recorder.queueAnswer(MessageAnswer::No); // first missing record: skip
    recorder.queueAnswer(MessageAnswer::Yes); // the second: add anyway
    CAlbumDoc doc;
    const OldAlbumConversion outcome = convertOldAlbum(doc, old);
    EXPECT_EQ(outcome.items, 2);
    EXPECT_EQ(outcome.savedPath, joinPath(albumsFolder(), QStringLiteral("summer.gmx")));
    EXPECT_EQ(doc.albumCaption(), QStringLiteral("Holiday 98"));
    QString description;
    doc.itemText(0, description, false);
    EXPECT_EQ(description, QStringLiteral("beach"));
    EXPECT_FALSE(doc.item(1)->exists());

    CAlbumDoc back;
    CAlbumDoc::setLoadShowsProgress(false);
    ASSERT_TRUE(back.onOpenDocument(outcome.savedPath));
    EXPECT_EQ(back.itemCount(), 2);

    // Unsaved changes of the open album come first: Cancel converts nothing.
    CAlbumDoc busy;
    busy.onNewDocument();
    busy.insertItem(testItem(QStringLiteral("/o/unsaved.jpg")));
    recorder.queueAnswer(MessageAnswer::Cancel);
    EXPECT_TRUE(convertOldAlbum(busy, old).savedPath.isEmpty());
    EXPECT_EQ(busy.itemCount(), 1);

    // A header shorter than 144 bytes converts to nothing.
    QFile shortFile(joinPath(folder, QStringLiteral("short.alb")));
    shortFile.open(QIODevice::WriteOnly);
    shortFile.write(bytes.left(100));
    shortFile.close();
    EXPECT_TRUE(convertOldAlbum(doc, shortFile.fileName()).savedPath.isEmpty());
}
