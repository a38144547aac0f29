// The picking model: lists, working copies, the size estimate, records, lookups, clean-up.

#include "publishtesthelpers.h"

#include "album/albumformat.h"
#include "core/messageids.h"
#include "publish/itempicker.h"
#include "publish/workingfolder.h"
#include "support/recordinghost.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace glimmerix;

namespace
{

struct PickerFixture {
    QString source = makeTestFolder(QStringLiteral("media"));
    QString work = makeTestFolder(QStringLiteral("work")) + u'/';
    CAlbumDoc doc;
};

TEST(ItemPicker, EntriesListsAndEstimate)
{
    RecordingHost host;
    PickerFixture f;
    writePicture(f.source + QStringLiteral("/a.jpg"), 64, 48);
    writePicture(f.source + QStringLiteral("/a.tif"), 32, 24);
    writeFile(f.source + QStringLiteral("/song.wav"), QByteArray(3000, 'w'));
    addPresentItems(f.doc,
        { f.source + QStringLiteral("/a.jpg"), f.source + QStringLiteral("/a.tif"),
            f.source + QStringLiteral("/song.wav") });
    ASSERT_EQ(f.doc.itemCount(), 3);

    ItemPicker picker(PickingMode::WebAlbum, f.work);
    picker.activate(f.doc);
    EXPECT_EQ(picker.allNames(), QStringList({ "a", "a_1", "song" }));
    EXPECT_EQ(picker.sizeText(), QStringLiteral("0 "));

    // One JPEG of known size with a thumbnail record of 2000 bytes: 119000 + size + 3060 + 1272.
    const QString jpeg = f.source + QStringLiteral("/a.jpg");
    f.doc.item(0)->editableInfo()->dataSize = 2000;
    ASSERT_TRUE(picker.add({ 0 }, nullptr));
    const qint64 size = QFileInfo(jpeg).size();
    EXPECT_EQ(picker.sizeEstimate(), 119000 + size + 3060 + 1272);
    EXPECT_EQ(picker.sizeText(), QString::number((119000 + size + 3060 + 1272) / 1000) + u' ');
    // The JPEG is copied unchanged under the entry name.
    EXPECT_EQ(fileBytes(f.work + QStringLiteral("a.JPG")), fileBytes(jpeg));

    // A TIFF with the convert flag becomes a JPEG; without it a copy with its own extension.
    ASSERT_TRUE(picker.add({ 1, 2 }, nullptr));
    EXPECT_TRUE(fileBytes(f.work + QStringLiteral("a_1.JPG")).startsWith("\xFF\xD8"));
    EXPECT_TRUE(QFileInfo::exists(f.work + QStringLiteral("song.WAV")));
    ASSERT_TRUE(picker.toggleConvert(nullptr));
    EXPECT_EQ(fileBytes(f.work + QStringLiteral("a_1.TIF")),
        fileBytes(f.source + QStringLiteral("/a.tif")));

    // Removing everything shows "0 " and keeps the estimate.
    const qint64 before = picker.sizeEstimate();
    picker.removeAll();
    EXPECT_EQ(picker.sizeText(), QStringLiteral("0 "));
    EXPECT_EQ(picker.sizeEstimate(), before);

    // Nothing chosen: Next refuses with 50485.
    EXPECT_FALSE(picker.next());
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNothingChosen }));
}

TEST(ItemPicker, RecordsLookupsAndCleanUp)
{
    RecordingHost host;
    PickerFixture f;
    writePicture(f.source + QStringLiteral("/Beach.bmp"), 40, 30);
    writePicture(f.source + QStringLiteral("/hill.jpg"), 40, 30);
    addPresentItems(
        f.doc, { f.source + QStringLiteral("/Beach.bmp"), f.source + QStringLiteral("/hill.jpg") });
    f.doc.setItemText(0, ItemField::Caption, QStringLiteral("sunset"));
    f.doc.setItemText(0, ItemField::Description, QStringLiteral("long day"));
    f.doc.setAttachmentPath(1, f.source + QStringLiteral("/wind.wav"));
    // A file of the working copy's name is adopted as it is, and deleted with the others.
    writeFile(f.work + QStringLiteral("hill.JPG"), QByteArray("planted"));
    QStringList made;
    {
        ItemPicker picker(PickingMode::WebAlbum, f.work);
        picker.activate(f.doc);
        ASSERT_TRUE(picker.addAll(nullptr));
        ASSERT_TRUE(picker.next());
        ASSERT_EQ(picker.chosenItems().size(), 2);
        EXPECT_EQ(picker.chosenItems().at(0).path, f.work + QStringLiteral("Beach.JPG"));
        EXPECT_EQ(picker.chosenItems().at(1).sound, f.source + QStringLiteral("/wind.wav"));
        EXPECT_EQ(picker.chosenItems().at(0).item, f.doc.item(0));
        EXPECT_EQ(fileBytes(f.work + QStringLiteral("hill.JPG")), QByteArray("planted"));
        EXPECT_EQ(picker.fieldText(QStringLiteral("/x/beach.jpg"), 1), QStringLiteral("sunset"));
        EXPECT_EQ(picker.fieldText(QStringLiteral("/x/BEACH"), 3), QStringLiteral("long day"));
        EXPECT_EQ(picker.fieldText(QStringLiteral("/x/nothing.jpg"), 1), QString());
        EXPECT_TRUE(picker.soundFlag());
        made = picker.workingCopies();
        ASSERT_EQ(made.size(), 2);
    }
    for (const QString &path : made)
        EXPECT_FALSE(QFileInfo::exists(path)) << qPrintable(path);
}

TEST(ItemPicker, SlideShowTakesPicturesAndKeepsTheEstimateOverBackAndNext)
{
    RecordingHost host;
    PickerFixture f;
    writePicture(f.source + QStringLiteral("/p.jpg"), 40, 30);
    writeFile(f.source + QStringLiteral("/s.wav"), QByteArray(100, 's'));
    addPresentItems(
        f.doc, { f.source + QStringLiteral("/p.jpg"), f.source + QStringLiteral("/s.wav") });
    ItemPicker picker(PickingMode::SlideShow, f.work);
    picker.activate(f.doc);
    EXPECT_EQ(picker.allNames(), QStringList({ "p" }));
    ASSERT_TRUE(picker.addAll(nullptr));
    ASSERT_TRUE(picker.next());
    const qint64 after = picker.sizeEstimate();
    picker.activate(f.doc); // Back
    EXPECT_EQ(picker.sizeEstimate(), after - kSlideShowPlayerBytes);
    ASSERT_TRUE(picker.next()); // and on again
    EXPECT_EQ(picker.sizeEstimate(), after);
    EXPECT_EQ(picker.extraFiles(), QStringList({ f.work + QStringLiteral("slideshow.exe") }));
}

TEST(ItemPicker, CancelledAddTakesTheEntriesOutAgain)
{
    RecordingHost host;
    PickerFixture f;
    for (const char *name : { "/a.jpg", "/b.jpg", "/c.jpg" })
        writePicture(f.source + QLatin1String(name), 20, 20);
    addPresentItems(f.doc, { f.source + "/a.jpg", f.source + "/b.jpg", f.source + "/c.jpg" });
    ItemPicker picker(PickingMode::WebAlbum, f.work);
    picker.activate(f.doc);
    ASSERT_TRUE(picker.add({ 0 }, nullptr));
    host.cancelProgressAt(1, 1);
    std::unique_ptr<Progress> progress = host.createProgress();
    EXPECT_FALSE(picker.add({ 1, 2 }, progress.get()));
    EXPECT_EQ(picker.chosen(), QStringList({ "a" }));
}

TEST(ItemPicker, UnreadableSourcesAreNamedNotFatal)
{
    RecordingHost host;
    PickerFixture f;
    writePicture(f.source + QStringLiteral("/good.jpg"), 20, 20);
    writeFile(f.source + QStringLiteral("/empty.bmp"), QByteArray());
    writeFile(f.source + QStringLiteral("/gone.wav"), QByteArray(10, 'x'));
    addPresentItems(
        f.doc, { f.source + "/good.jpg", f.source + "/empty.bmp", f.source + "/gone.wav" });
    ASSERT_EQ(f.doc.itemCount(), 3);
    QFile::remove(f.source + QStringLiteral("/gone.wav"));
    ItemPicker picker(PickingMode::WebAlbum, f.work);
    picker.activate(f.doc);
    ASSERT_TRUE(picker.addAll(nullptr));
    ASSERT_EQ(picker.problems().size(), 2) << qPrintable(picker.problems().join(u'\n'));
    EXPECT_TRUE(picker.problems().at(0).startsWith(f.source + QStringLiteral("/empty.bmp: ")));
    EXPECT_TRUE(
        picker.problems().at(1).startsWith(f.source + QStringLiteral("/gone.wav: no such file")));
    EXPECT_EQ(picker.workingCopies(), QStringList({ f.work + QStringLiteral("good.JPG") }));
}

TEST(WorkingFolder, PrivateAndRemovedWithWhatIsLeft)
{
    const QString folder = makeWorkingFolder();
    ASSERT_FALSE(folder.isEmpty());
    struct stat info {
    };
    ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_NE(makeWorkingFolder(), folder);
    writeFile(folder + QStringLiteral("left.jpg"), QByteArray("x"));
    removeWorkingFolder(folder);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// Pictures of today's types: a browser-safe one (PNG, a JPEG known by its content) goes into a
// web album as it is, whatever the convert flag says, and into a slide show as NAME.JPG, a JPEG;
// a slide show lists them among its pictures.
TEST(ItemPicker, TodaysPicturesFollowTheProductsRule)
{
    RecordingHost host;
    const struct {
        const char *name;
        const char *format;
    } sources[] = { { "screen.png", "PNG" }, { "photo.jpeg", "JPEG" }, { "scan", "PNG" } };
    const struct {
        PickingMode mode;
        bool convert;
        QStringList copies; // the working copies, in the entries' order
        bool asIs;
    } cases[] = {
        { PickingMode::WebAlbum, true, { "screen.PNG", "photo.JPEG", {} }, true },
        { PickingMode::WebAlbum, false, { "screen.PNG", "photo.JPEG", {} }, true },
        { PickingMode::SlideShow, true, { "screen.JPG", "photo.JPG", "scan.JPG" }, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.mode) * 2 + int(c.convert));
        PickerFixture f;
        QStringList paths;
        for (const auto &source : sources) {
            const QString path = f.source + u'/' + QLatin1String(source.name);
            QImage image(60, 40, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            ASSERT_TRUE(image.save(path, source.format));
            paths.append(path);
        }
        addPresentItems(f.doc, paths);
        ItemPicker picker(c.mode, f.work);
        picker.activate(f.doc);
        EXPECT_EQ(picker.allNames(), QStringList({ "screen", "photo", "scan" }));
        if (!c.convert) {
            ASSERT_TRUE(picker.toggleConvert(nullptr));
        }
        ASSERT_TRUE(picker.addAll(nullptr));
        for (int i = 0; i < 3; ++i) {
            const QString copy = picker.workingCopyPath(picker.allEntries().at(i));
            EXPECT_EQ(copy.isEmpty() ? QString() : copy.mid(f.work.size()), c.copies.at(i));
            if (copy.isEmpty())
                continue; // a file without an extension is not copied as it is
            const bool jpeg = fileBytes(copy).startsWith("\xFF\xD8");
            EXPECT_TRUE(c.asIs ? fileBytes(copy) == fileBytes(paths.at(i)) : jpeg)
                << qPrintable(copy);
        }
    }
}

} // namespace
