#include "album/albumundo.h"

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "album/replaceitempath.h"
#include "albumtesthelpers.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"
#include "view/albumclipboard.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUndoStack>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

namespace
{

// Six items a-f (f a real picture file, so its thumbnail can be rebuilt), some with texts, and
// an album caption.
void fillAlbum(CAlbumDoc &document, const QString &folder)
{
    document.onNewDocument();
    const char *names[] = { "d.jpg", "a.jpg", "f.jpg", "c.jpg", "b.jpg" };
    for (const char *name : names) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(name));
        ASSERT_EQ(document.insertItem(testItem(path)), 1);
    }
    const QString real = makeTestPicture(folder, QStringLiteral("e.png"), Qt::darkRed);
    ASSERT_EQ(document.insertItem(testItem(real)), 1);
    document.setItemText(0, ItemField::Caption, QStringLiteral("first"));
    document.setItemText(2, ItemField::Keywords, QStringLiteral("sea"));
    document.attachFile(3, QStringLiteral("song.wav"), QStringLiteral("/music/song.wav"));
    QString caption = QStringLiteral("Holidays");
    document.itemText(-1, caption, true);
    document.undoStack().clear();
}

void select(CAlbumDoc &document, std::initializer_list<int> indices)
{
    document.selectNone();
    for (const int index : indices)
        document.item(index)->setSelected(true);
}

struct UndoCase {
    const char *name;
    int steps; // steps the action leaves on the stack
    const char *undoText; // the last step's text
    std::function<void(CAlbumDoc &, const QString &folder)> act;
};

} // namespace

// Every kind of step: the action changes the album, undo gives back the very bytes of before,
// redo the very bytes of after.
TEST(AlbumUndo, EveryStepUndoesAndRedoesToTheSameBytes)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("undo"));
    const auto push
        = [](CAlbumDoc &document, QUndoCommand *command) { document.undoStack().push(command); };
    const UndoCase cases[] = {
        { "add files", 1, "Add Files",
            [](CAlbumDoc &document, const QString &dir) {
                const AlbumOrderProbe probe(document);
                const CAlbumDoc::ChangeBatch batch(document);
                document.insertItem(testItem(dir + QStringLiteral("/new1.jpg")), 2);
                document.insertItem(testItem(dir + QStringLiteral("/new2.jpg")), 3);
                document.insertItem(testItem(dir + QStringLiteral("/new3.jpg")));
                pushRecordedChange(document, probe, QStringLiteral("Add Files"));
            } },
        { "add a file that vanishes before the undo", 1, "Add Files",
            [](CAlbumDoc &document, const QString &dir) {
                const QString path = makeTestPicture(dir, QStringLiteral("gone.png"));
                const AlbumOrderProbe probe(document);
                ASSERT_EQ(document.addFile(path, 1), 1);
                pushRecordedChange(document, probe, QStringLiteral("Add Files"));
                QFile::remove(path);
            } },
        { "remove a selection", 1, "Remove 3 Items",
            [push](CAlbumDoc &document, const QString &) {
                select(document, { 1, 3, 4 });
                push(document, RemoveItemsCommand::forSelection(document, false));
            } },
        { "cut", 1, "Cut",
            [push](CAlbumDoc &document, const QString &) {
                push(document, new RemoveItemsCommand(document, { 2 }, false, "Cut"));
            } },
        { "move within the album", 1, "Move Items",
            [](CAlbumDoc &document, const QString &) {
                select(document, { 4, 5 });
                const AlbumOrderProbe probe(document);
                ASSERT_TRUE(document.moveSelectedTo(1));
                pushRecordedChange(document, probe, QStringLiteral("Move Items"));
            } },
        { "sort", 1, "Sort",
            [](CAlbumDoc &document, const QString &) {
                const AlbumOrderProbe probe(document);
                document.sortCommand(int(SortKey::FileName), 1);
                pushRecordedChange(document, probe, QStringLiteral("Sort"));
            } },
        { "paste from another album", 1, "Paste",
            [](CAlbumDoc &document, const QString &dir) {
                CAlbumDoc other;
                other.onNewDocument();
                other.insertItem(testItem(dir + QStringLiteral("/other.jpg")));
                other.attachFile(0, QStringLiteral("o.wav"), QStringLiteral("/music/o.wav"));
                other.setItemText(0, ItemField::Caption, QStringLiteral("from elsewhere"));
                other.setCurrentItem(0);
                const AlbumOrderProbe probe(document);
                int inserted = -1;
                ASSERT_EQ(pasteItemStream(document, currentItemStream(other), 2, &inserted),
                    PasteResult::Inserted);
                pushRecordedChange(document, probe, QStringLiteral("Paste"));
            } },
        { "caption typed letter by letter", 1, "Edit Caption",
            [push](CAlbumDoc &document, const QString &) {
                for (const char *text : { "B", "Be", "Bea", "Beach" })
                    push(document, new ItemTextCommand(document, 1, ItemField::Caption, text));
            } },
        { "keywords", 1, "Edit Keywords",
            [push](CAlbumDoc &document, const QString &) {
                push(document, new ItemTextCommand(document, 2, ItemField::Keywords, "sand"));
            } },
        { "description", 1, "Edit Description",
            [push](CAlbumDoc &document, const QString &) {
                push(document,
                    new ItemTextCommand(document, 4, ItemField::Description, "two\nlines"));
            } },
        { "album caption", 1, "Edit Album Caption",
            [push](CAlbumDoc &document, const QString &) {
                push(document, new ItemTextCommand(document, -1, ItemField::Description, "Summer"));
            } },
        { "attach a sound", 1, "Attach Sound",
            [push](CAlbumDoc &document, const QString &) {
                push(document,
                    new AttachmentCommand(
                        document, 0, QString(), "/music/new.wav", "Attach Sound"));
            } },
        { "remove the attached sound", 1, "Remove Attached Sound",
            [push](CAlbumDoc &document, const QString &) {
                push(document,
                    new AttachmentCommand(document, 3, document.item(3)->attachmentName(),
                        QString(), "Remove Attached Sound"));
            } },
        { "rebuild a thumbnail", 1, "Rebuild Thumbnail",
            [](CAlbumDoc &document, const QString &) {
                ASSERT_EQ(rebuildThumbnailStep(document, 5), 1);
            } },
        { "change an item's file", 1, "Change Item File",
            [push](CAlbumDoc &document, const QString &dir) {
                const QString other = makeTestPicture(dir, QStringLiteral("other.png"));
                std::unique_ptr<AlbumItem> item = itemWithPath(document, 2, other);
                ASSERT_TRUE(item);
                push(document, new ReplaceItemCommand(document, 2, std::move(item)));
            } },
        { "several steps in turn", 3, "Sort",
            [push](CAlbumDoc &document, const QString &) {
                push(document, new ItemTextCommand(document, 0, ItemField::Caption, "x"));
                select(document, { 0 });
                push(document, RemoveItemsCommand::forSelection(document, false));
                const AlbumOrderProbe probe(document);
                document.sortCommand(int(SortKey::FileName), 0);
                pushRecordedChange(document, probe, QStringLiteral("Sort"));
            } },
    };
    for (const UndoCase &row : cases) {
        SCOPED_TRACE(row.name);
        const QString dir = makeTestFolder(QStringLiteral("undo"));
        CAlbumDoc document;
        fillAlbum(document, dir);
        const QByteArray before = storedAlbumBytes(document);
        row.act(document, dir);
        const QByteArray after = storedAlbumBytes(document);
        QUndoStack &stack = document.undoStack();
        EXPECT_NE(after, before);
        ASSERT_EQ(stack.count(), row.steps);
        EXPECT_EQ(stack.undoText(), QString::fromLatin1(row.undoText));

        document.markClean(); // as after a save: undo marks the album modified again
        for (int step = 0; step < row.steps; ++step)
            stack.undo();
        EXPECT_TRUE(document.isModified());
        EXPECT_EQ(storedAlbumBytes(document), before);
        EXPECT_FALSE(stack.canUndo());

        for (int step = 0; step < row.steps; ++step)
            stack.redo();
        EXPECT_EQ(storedAlbumBytes(document), after);
        EXPECT_FALSE(stack.canRedo());
        // And back once more: a step can be taken any number of times.
        stack.undo();
        stack.redo();
        EXPECT_EQ(storedAlbumBytes(document), after);
    }
    EXPECT_TRUE(host.shown().isEmpty());
}

// A step that finds the album changed by something it does not know of leaves it alone.
TEST(AlbumUndo, StepLeavesAnAlbumItDoesNotKnowAlone)
{
    const QString folder = makeTestFolder(QStringLiteral("undo"));
    CAlbumDoc document;
    fillAlbum(document, folder);
    document.undoStack().push(new ItemTextCommand(document, 1, ItemField::Caption, "new"));
    // The item is taken out behind the stack's back.
    std::unique_ptr<AlbumItem> taken = document.takeItem(1);
    const QByteArray before = storedAlbumBytes(document);
    document.undoStack().undo();
    EXPECT_EQ(storedAlbumBytes(document), before);
    EXPECT_EQ(document.undoStack().count(), 0);
}

// Removing with delete puts the file into the private Trash with a valid .trashinfo; undo brings
// it back; a file emptied from the Trash, or one whose place is taken, stays where it is and the
// user is told.
TEST(AlbumUndo, RemovalWithDeleteGoesToTheTrashAndComesBack)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("trashundo"));
    const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash");
    CAlbumDoc document;
    fillAlbum(document, folder);
    const QString photo = makeTestPicture(folder, QStringLiteral("kept for undo.jpg"));
    ASSERT_EQ(document.insertItem(testItem(photo), 1), 1);
    const QByteArray photoBytes = fileBytes(photo);
    const QString canonical = QFileInfo(photo).canonicalFilePath();
    const QByteArray before = storedAlbumBytes(document);
    QUndoStack &stack = document.undoStack();

    select(document, { 1 });
    stack.push(RemoveItemsCommand::forSelection(document, true));
    ASSERT_FALSE(QFile::exists(photo));
    const QString trashed = trash + QStringLiteral("/files/kept for undo.jpg");
    const QString info = trash + QStringLiteral("/info/kept for undo.jpg.trashinfo");
    EXPECT_EQ(fileBytes(trashed), photoBytes);
    const QStringList lines = QString::fromUtf8(fileBytes(info)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("[Trash Info]"));
    EXPECT_EQ(QUrl::fromPercentEncoding(lines[1].mid(5).toUtf8()), canonical);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Path=/")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("%20")));
    EXPECT_TRUE(QDateTime::fromString(lines[2].mid(13), Qt::ISODate).isValid())
        << lines[2].toStdString();

    stack.undo();
    EXPECT_EQ(fileBytes(photo), photoBytes);
    EXPECT_FALSE(QFile::exists(trashed));
    EXPECT_FALSE(QFile::exists(info));
    EXPECT_EQ(storedAlbumBytes(document), before);
    EXPECT_TRUE(host.shown().isEmpty());

    // Emptied from the Trash: the item comes back, the file cannot, and the user is told.
    stack.redo();
    ASSERT_TRUE(QFile::remove(trashed));
    ASSERT_TRUE(QFile::remove(info));
    stack.undo();
    EXPECT_EQ(storedAlbumBytes(document), before);
    EXPECT_FALSE(QFile::exists(photo));
    ASSERT_EQ(host.shown().size(), 1);
    EXPECT_TRUE(host.shown()[0].text.contains(photo));

    // Another file took its place: it is not written over, the trashed copy stays.
    host.clear();
    writeFile(photo, QByteArray("first"));
    stack.redo();
    ASSERT_EQ(fileBytes(trashed), QByteArray("first"));
    writeFile(photo, QByteArray("newcomer"));
    stack.undo();
    EXPECT_EQ(fileBytes(photo), QByteArray("newcomer"));
    EXPECT_EQ(fileBytes(trashed), QByteArray("first"));
    EXPECT_TRUE(QFile::exists(info));
    EXPECT_EQ(host.shown().size(), 1);
}

// The stack keeps kUndoStepLimit steps (the oldest go), and that many removals of items with
// full-size thumbnails hold less than 100 MB.
TEST(AlbumUndo, RemovalStepsStayWithinTheirMemory)
{
    CAlbumDoc document;
    document.onNewDocument();
    ASSERT_EQ(document.insertItem(testItem(QStringLiteral("/photos/big.jpg"), 4000, 3000)), 1);
    auto *removal = new RemoveItemsCommand(document, { 0 }, false, "Remove Item");
    document.undoStack().push(removal);
    const qint64 oneStep = removal->heldBytes();
    EXPECT_GT(oneStep, 0);
    EXPECT_LT(oneStep * kUndoStepLimit, 100LL * 1024 * 1024);

    for (int step = 0; step < kUndoStepLimit + 5; ++step) {
        document.insertItem(testItem(QStringLiteral("/photos/%1.jpg").arg(step)));
        document.undoStack().push(new RemoveItemsCommand(document, { 0 }, false, "Remove"));
    }
    EXPECT_EQ(document.undoStack().count(), kUndoStepLimit);
}
