#include "albumtesthelpers.h"

#include "core/folders.h"
#include "core/messageids.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

using namespace glimmerix;

namespace
{

QString itemNames(const CAlbumDoc &doc)
{
    QStringList names;
    for (int i = 0; i < doc.itemCount(); ++i)
        names << doc.item(i)->fileName();
    return names.join(u' ');
}

void setFileTime(const QString &path, qint64 seconds)
{
    struct utimbuf times {
        seconds, seconds
    };
    ::utime(QFile::encodeName(path).constData(), &times);
}

} // namespace

TEST(AlbumDoc, DuplicatesCompareExactlyAndLeaveNoChanges)
{
    CAlbumDoc doc;
    ASSERT_EQ(doc.insertItem(testItem(QStringLiteral("/photos/Beach.jpg"))), 1);
    doc.markClean();
    EXPECT_EQ(doc.insertItem(testItem(QStringLiteral("/photos/Beach.jpg"))), -2);
    EXPECT_EQ(doc.itemCount(), 1);
    EXPECT_FALSE(doc.isModified());
    // Linux file names are case-sensitive: another letter case is another file.
    EXPECT_EQ(doc.insertItem(testItem(QStringLiteral("/photos/BEACH.JPG"))), 1);
    EXPECT_EQ(doc.insertItem(nullptr), 0);
    EXPECT_EQ(doc.insertItem(
                  std::make_unique<AlbumItem>(0, QStringLiteral("/photos/no-block.jpg"), false)),
        0);
    EXPECT_EQ(doc.findItemByPath(QStringLiteral("/photos/BEACH.JPG")), 1);
    EXPECT_EQ(doc.findItemByPath(QStringLiteral("/photos/beach.jpg")), -1);
}

TEST(AlbumDoc, RelativePathsResolveAgainstTheUserFolder)
{
    const QString folder = joinPath(userFolder(), QStringLiteral("rel"));
    QDir().mkpath(folder);
    writeFile(joinPath(folder, QStringLiteral("a.jpg")), 5);
    auto item = std::make_unique<AlbumItem>(
        testThumbnail(QStringLiteral("rel/a.jpg")), QStringLiteral("rel/a.jpg"));
    EXPECT_TRUE(item->exists());
    EXPECT_EQ(item->path(), QStringLiteral("rel/a.jpg"));
    EXPECT_EQ(item->fileName(), QStringLiteral("a.jpg"));
    EXPECT_EQ(item->absolutePath(), joinPath(folder, QStringLiteral("a.jpg")));
    CAlbumDoc doc;
    ASSERT_EQ(doc.insertItem(std::move(item)), 1);
    EXPECT_EQ(doc.insertItem(testItem(joinPath(folder, QStringLiteral("a.jpg")))), -2);
    EXPECT_EQ(doc.mediaBytes(), 5);
}

TEST(AlbumDoc, InsertPositionsAndCountersFollowTheItems)
{
    const QString folder = makeTestFolder();
    CAlbumDoc doc;
    for (const char *name : { "b", "d" })
        writeFile(joinPath(folder, QString::fromLatin1(name)), 100);
    doc.insertItem(testItem(joinPath(folder, QStringLiteral("b"))));
    doc.insertItem(testItem(joinPath(folder, QStringLiteral("d"))), 7);
    doc.insertItem(testItem(joinPath(folder, QStringLiteral("a"))), 0);
    doc.insertItem(testItem(joinPath(folder, QStringLiteral("c"))), 2);
    EXPECT_EQ(itemNames(doc), QStringLiteral("a b c d"));
    EXPECT_EQ(doc.mediaBytes(), 200);
    int counted = 0;
    for (DriveKind kind :
        { DriveKind::Fixed, DriveKind::Optical, DriveKind::Removable, DriveKind::Network })
        counted += doc.driveCount(kind);
    const int perItem = driveKindOf(folder) == DriveKind::None ? 0 : 1;
    EXPECT_EQ(counted, 4 * perItem);

    // Removal subtracts what insertion counted, even after the file grew.
    writeFile(joinPath(folder, QStringLiteral("b")), 5000);
    EXPECT_EQ(doc.removeItem(1, false), 4);
    EXPECT_EQ(doc.mediaBytes(), 100);
    EXPECT_EQ(doc.removeItem(9, false), 3);
    doc.item(0)->setSelected(true);
    doc.item(2)->setSelected(true);
    doc.removeSelected(false);
    EXPECT_EQ(itemNames(doc), QStringLiteral("c"));
    counted = 0;
    for (DriveKind kind :
        { DriveKind::Fixed, DriveKind::Optical, DriveKind::Removable, DriveKind::Network })
        counted += doc.driveCount(kind);
    EXPECT_EQ(counted, perItem);
}

TEST(AlbumDoc, TakenItemsGoBackWithTheirCountersAndOrdersMustBePermutations)
{
    const QString folder = makeTestFolder();
    CAlbumDoc doc;
    for (const char *name : { "a", "b", "c" }) {
        const QString path = joinPath(folder, QString::fromLatin1(name));
        writeFile(path, 10);
        doc.insertItem(testItem(path));
    }
    std::unique_ptr<AlbumItem> taken = doc.takeItem(1);
    ASSERT_TRUE(taken);
    EXPECT_EQ(doc.mediaBytes(), 20);
    EXPECT_FALSE(doc.containsAbsolutePath(taken->absolutePath()));
    EXPECT_EQ(doc.insertItem(std::move(taken), 1), 1);
    EXPECT_EQ(itemNames(doc), QStringLiteral("a b c"));
    EXPECT_EQ(doc.mediaBytes(), 30);
    EXPECT_FALSE(doc.takeItem(3));

    for (const std::vector<int> &refused :
        { std::vector<int> { 0, 1 }, std::vector<int> { 0, 0, 1 }, std::vector<int> { 0, 1, 3 } }) {
        EXPECT_FALSE(doc.reorderItems(refused));
        EXPECT_EQ(itemNames(doc), QStringLiteral("a b c"));
    }
    doc.markClean();
    EXPECT_TRUE(doc.reorderItems({ 2, 0, 1 }));
    EXPECT_EQ(itemNames(doc), QStringLiteral("c a b"));
    EXPECT_TRUE(doc.isModified());
}

TEST(AlbumDoc, RemovingWithDeleteReportsAFileThatCannotBeDeleted)
{
    RecordingHost recorder;
    const QString gone = joinPath(makeTestFolder(), QStringLiteral("gone.jpg"));
    writeFile(gone, 10);
    CAlbumDoc doc;
    doc.insertItem(testItem(gone));
    doc.insertItem(testItem(QStringLiteral("/nowhere/missing.jpg")));
    doc.removeItem(0, true);
    EXPECT_FALSE(QFile::exists(gone));
    EXPECT_TRUE(recorder.messageIds().isEmpty());
    // The item goes even when its file cannot be deleted; the failure is reported.
    doc.removeItem(0, true);
    EXPECT_EQ(doc.itemCount(), 0);
    EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kCannotDeleteFile });
}

TEST(AlbumDoc, SortsBySizeAndTimeAsTheDirectionSays)
{
    const QString folder = makeTestFolder();
    CAlbumDoc doc;
    const struct {
        const char *name;
        qint64 size;
        qint64 time;
    } files[]
        = { { "m.jpg", 300, 1'000'000 }, { "s.jpg", 100, 3'000'000 }, { "l.jpg", 900, 2'000'000 } };
    for (const auto &file : files) {
        const QString path = joinPath(folder, QString::fromLatin1(file.name));
        writeFile(path, file.size);
        setFileTime(path, file.time);
        doc.insertItem(std::make_unique<AlbumItem>(testThumbnail(path), path));
    }
    const struct {
        int key;
        int direction;
        const char *order;
    } cases[] = {
        { 2, 0, "s.jpg m.jpg l.jpg" },
        { 2, 1, "l.jpg m.jpg s.jpg" },
        { 3, 0, "s.jpg l.jpg m.jpg" },
        { 3, 1, "m.jpg l.jpg s.jpg" },
        { 0, 0, "l.jpg m.jpg s.jpg" },
        { 0, 1, "s.jpg m.jpg l.jpg" },
    };
    for (const auto &c : cases) {
        doc.sortItems(c.key, c.direction);
        EXPECT_EQ(itemNames(doc), QString::fromLatin1(c.order)) << c.key << "/" << c.direction;
    }
    EXPECT_EQ(doc.sortItems(0, 1), 0); // already in order: nothing moves
}

TEST(AlbumDoc, SortFollowsTheCurrentItemAndKeepsSelectionSortOrderForTies)
{
    CAlbumDoc doc;
    // Descriptions with ties: a selection sort that swaps is not stable, and that order is kept.
    const char *descriptions[] = { "b", "a", "b", "a", "c" };
    for (int i = 0; i < 5; ++i) {
        doc.insertItem(testItem(QStringLiteral("/x/%1.jpg").arg(i)));
        QString text = QString::fromLatin1(descriptions[i]);
        doc.itemText(i, text, true);
    }
    doc.setCurrentItem(0);
    QSignalSpy current(&doc, &CAlbumDoc::currentItemChanged);
    EXPECT_EQ(doc.sortItems(4, 0), 1);
    // Step 0 swaps 0<->1: 1 0 2 3 4; step 1 swaps 0(b)<->3(a): 1 3 2 0 4; step 2 keeps 2; ...
    EXPECT_EQ(itemNames(doc), QStringLiteral("1.jpg 3.jpg 2.jpg 0.jpg 4.jpg"));
    EXPECT_EQ(doc.currentItem(), 3);
    ASSERT_EQ(current.size(), 1);
    EXPECT_EQ(current.first().first().toInt(), 3);

    CAlbumDoc single;
    single.insertItem(testItem(QStringLiteral("/x/only.jpg")));
    EXPECT_FALSE(single.canSort());
    EXPECT_EQ(single.sortItems(0, 0), 0);
}

TEST(AlbumDoc, SortMatchesAPlainSelectionSortOnManyItems)
{
    CAlbumDoc doc;
    std::vector<int> sizes;
    std::srand(7);
    for (int i = 0; i < 300; ++i) {
        auto item = testItem(QStringLiteral("/r/%1").arg(i));
        item->editableInfo()->fileSize = std::uint32_t(std::rand() % 20);
        sizes.push_back(int(item->info()->fileSize));
        doc.insertItem(std::move(item));
    }
    std::vector<int> order(sizes.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    for (std::size_t i = 0; i < order.size(); ++i) {
        std::size_t best = i;
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            if (sizes[std::size_t(order[j])] > sizes[std::size_t(order[best])])
                best = j;
        }
        std::swap(order[i], order[best]);
    }
    doc.sortItems(2, 1);
    for (std::size_t i = 0; i < order.size(); ++i)
        ASSERT_EQ(doc.item(int(i))->fileName(), QString::number(order[i])) << i;
}

TEST(AlbumDoc, CaptionAndDescriptionChangesMarkModifiedOnlyWhenDifferent)
{
    CAlbumDoc doc;
    doc.insertItem(testItem(QStringLiteral("/x/a.jpg")));
    doc.markClean();
    QString caption = QString(200, u'c');
    doc.itemText(-1, caption, true);
    EXPECT_TRUE(doc.isModified());
    QString read;
    doc.itemText(-1, read, false);
    EXPECT_EQ(read.size(), 200);
    EXPECT_EQ(fixedText(doc.header().caption).size(), 127);
    doc.markClean();
    doc.itemText(-1, caption, true);
    EXPECT_FALSE(doc.isModified());

    QString description = QStringLiteral("sunset");
    doc.itemText(0, description, true);
    EXPECT_TRUE(doc.isModified());
    doc.markClean();
    doc.itemText(0, description, true);
    EXPECT_FALSE(doc.isModified());

    doc.attachFile(-1, QStringLiteral("voice"), QStringLiteral("/snd/voice.wav"));
    EXPECT_TRUE(doc.isModified());
    doc.setAttachmentPath(0, QStringLiteral("/snd/other.wav"));
    EXPECT_EQ(doc.item(0)->attachmentName(), QStringLiteral("voice"));
    EXPECT_EQ(doc.item(0)->attachmentPath(), QStringLiteral("/snd/other.wav"));
}

TEST(AlbumDoc, OpeningTheNewPseudoNameGivesTheUntitledAlbum)
{
    RecordingHost recorder;
    const QString folder = makeTestFolder();
    CAlbumDoc doc;
    doc.onNewDocument();
    const QString named = joinPath(folder, QStringLiteral("named.gmx"));
    ASSERT_TRUE(doc.onSaveDocument(named));
    EXPECT_FALSE(doc.isUntitled());
    // No such file needs to exist: the name alone asks for a new album.
    EXPECT_FALSE(doc.onOpenDocument(joinPath(folder, QStringLiteral("NEW"))));
    EXPECT_TRUE(doc.isUntitled());
    EXPECT_TRUE(recorder.messageIds().isEmpty());

    EXPECT_FALSE(doc.onOpenDocument(joinPath(folder, QStringLiteral("missing.gmx"))));
    ASSERT_EQ(recorder.shown().size(), 1);
    // The box carries the system's text under the open-failure title less its last character.
    EXPECT_EQ(
        recorder.shown().first().look.caption, loadString(Message::kOpenErrorTitle).chopped(1));
    EXPECT_EQ(recorder.shown().first().icon, MessageIcon::Information);
}

TEST(AlbumDoc, UnsavedUntitledAlbumAsksBeforeOpeningAnother)
{
    RecordingHost recorder;
    const QString folder = makeTestFolder();
    const QString other = joinPath(folder, QStringLiteral("other.gmx"));
    writeFile(other, 0);
    CAlbumDoc doc;
    doc.onNewDocument();
    doc.insertItem(testItem(QStringLiteral("/x/a.jpg")));
    recorder.queueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(doc.onOpenDocument(other));
    EXPECT_EQ(doc.itemCount(), 1);
    EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kSaveUntitledQuestion });
    recorder.queueAnswer(MessageAnswer::No);
    EXPECT_TRUE(doc.onOpenDocument(other));
    EXPECT_EQ(doc.itemCount(), 0);
    EXPECT_FALSE(doc.isModified());
}

TEST(AlbumDoc, AlbumListChangesSwitchAlbumsOrPutTheEntryBack)
{
    RecordingHost recorder;
    CAlbumDoc::setLoadShowsProgress(false);
    QDir().mkpath(albumsFolder());
    const QString outside = joinPath(makeTestFolder(), QStringLiteral("elsewhere.gmx"));
    {
        CAlbumDoc maker;
        maker.insertItem(testItem(QStringLiteral("/l/a.jpg")));
        ASSERT_TRUE(maker.onSaveDocument(joinPath(albumsFolder(), QStringLiteral("listed.gmx"))));
        maker.insertItem(testItem(QStringLiteral("/l/b.jpg")));
        ASSERT_TRUE(maker.onSaveDocument(outside));
    }
    CAlbumDoc doc;
    doc.onNewDocument();
    doc.insertItem(testItem(QStringLiteral("/l/unsaved.jpg")));
    QSignalSpy recent(&doc, &CAlbumDoc::recentFileAdded);

    recorder.queueAnswer(MessageAnswer::Cancel);
    EXPECT_EQ(doc.onAlbumListChange(QStringLiteral("listed"), {}),
        CAlbumDoc::AlbumListOutcome::RestoreEntry);
    EXPECT_EQ(doc.itemCount(), 1);

    recorder.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(
        doc.onAlbumListChange(QStringLiteral("listed"), {}), CAlbumDoc::AlbumListOutcome::Switched);
    EXPECT_EQ(doc.itemCount(), 1);
    EXPECT_EQ(doc.item(0)->path(), QStringLiteral("/l/a.jpg"));
    EXPECT_EQ(recent.size(), 1);

    EXPECT_EQ(doc.onAlbumListChange(QStringLiteral("elsewhere*"), outside),
        CAlbumDoc::AlbumListOutcome::Switched);
    EXPECT_EQ(doc.itemCount(), 2);
    EXPECT_EQ(doc.onAlbumListChange(QStringLiteral("gone"), {}),
        CAlbumDoc::AlbumListOutcome::RestoreEntry);
    EXPECT_EQ(doc.itemCount(), 2);
    EXPECT_EQ(doc.onAlbumListChange(CAlbumDoc::untitledName(), {}),
        CAlbumDoc::AlbumListOutcome::Switched);
    EXPECT_TRUE(doc.isUntitled());
    EXPECT_EQ(doc.itemCount(), 0);
}

// Save As onto another album's name asks first, No by default; the album replaced goes to the
// Trash.
TEST(AlbumDoc, SaveAsOntoAnotherAlbumAsksAndTrashesTheReplacedAlbum)
{
    RecordingHost recorder;
    const QString path = joinPath(albumsFolder(), QStringLiteral("Taken.gmx"));
    {
        CAlbumDoc first;
        first.onNewDocument();
        ASSERT_TRUE(first.saveAs(QStringLiteral("Taken")));
    }
    const QByteArray before = fileBytes(path);
    CAlbumDoc second;
    second.onNewDocument();
    ASSERT_EQ(second.addFile(makeTestPicture(makeTestFolder(), QStringLiteral("p.jpg"))), 1);
    recorder.clear();
    EXPECT_FALSE(second.saveAs(QStringLiteral("Taken")));
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_EQ(recorder.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(recorder.shown()[0].look.defaultButton, 1); // No
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_TRUE(second.isUntitled());

    recorder.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(second.saveAs(QStringLiteral("Taken")));
    EXPECT_EQ(second.pathName(), path);
    EXPECT_NE(fileBytes(path), before);
    EXPECT_EQ(fileBytes(QDir::homePath() + QStringLiteral("/.local/share/Trash/files/Taken.gmx")),
        before);
    // Its own name again asks nothing.
    recorder.clear();
    EXPECT_TRUE(second.saveAs(QStringLiteral("Taken")));
    EXPECT_TRUE(recorder.shown().isEmpty());
}
