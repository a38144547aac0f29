// Album search: the matching rule, reading albums raw, the target left out, the photos-folder
// rule, the order found, two searches at once, and the dialog's messages and switch.

#include "publishtesthelpers.h"

#include "album/albummanagement.h"
#include "album/ui/albummanager.h"
#include "core/controlids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "platform/deferredhost.h"
#include "platform/strings.h"
#include "publish/albumsearch.h"
#include "publish/ui/searchdialog.h"
#include "support/recordinghost.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace glimmerix;

namespace
{

struct TestItem {
    QString path;
    QString caption;
    QString keywords;
    QString description;
};

// Saves an album of `items` (texts set, thumbnails plain) at `path`.
void writeAlbum(const QString &path, const QList<TestItem> &items)
{
    CAlbumDoc doc;
    for (const TestItem &item : items) {
        ASSERT_EQ(doc.insertItem(testItem(item.path)), 1);
        const int index = doc.itemCount() - 1;
        doc.setItemText(index, ItemField::Caption, item.caption);
        doc.setItemText(index, ItemField::Keywords, item.keywords);
        doc.setItemText(index, ItemField::Description, item.description);
    }
    ASSERT_TRUE(doc.onSaveDocument(path));
}

ItemInfo infoOf(const TestItem &item)
{
    ItemInfo info {};
    setFixedText(info.path, item.path);
    setFixedText(info.caption, item.caption);
    setFixedText(info.keywords, item.keywords);
    setFixedText(info.description, item.description);
    return info;
}

QStringList pathsOf(const std::vector<FoundItem> &found)
{
    QStringList paths;
    for (const FoundItem &item : found)
        paths << item.path();
    return paths;
}

TEST(AlbumSearch, MatchingRule)
{
    const TestItem item { QStringLiteral("/photos/Beach*1?.jpg"), QStringLiteral("Grüße"),
        QStringLiteral("holiday"), QStringLiteral("SUNSET over the bay") };
    const SearchFields all;
    SearchFields caseSensitive;
    caseSensitive.matchCase = true;
    SearchFields nameOnly { true, false, false, false, false };
    const struct {
        const char *text;
        SearchFields fields;
        bool matches;
    } cases[] = {
        { "sun", all, true }, // notes, case folded
        { "sun", caseSensitive, false },
        { "SUN", caseSensitive, true },
        { "GRÜSSE", all, true }, // non-ASCII upper case: ü and ß fold too
        { "grüße", caseSensitive, false },
        { "*1?", all, true }, // wildcards are literal characters
        { "h*1", all, true },
        { "B?ach", all, false },
        { "sunset", nameOnly, false }, // only the name is looked at
        { "beach", nameOnly, true },
        { "HOLIDAY", { false, false, true, false, false }, true }, // second field alone
        { "holiday", { true, true, false, true, false }, false },
    };
    for (const auto &c : cases) {
        EXPECT_EQ(itemMatchesSearch(infoOf(item), QString::fromUtf8(c.text), c.fields), c.matches)
            << c.text;
    }
}

TEST(AlbumSearch, ReadsAlbumsSkipsTargetAndKeepsOrder)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("search"));
    const QString first = folder + QStringLiteral("/first.gmx");
    const QString second = folder + QStringLiteral("/second.gmx");
    const QString target = folder + QStringLiteral("/target.gmx");
    writeAlbum(first,
        { { QStringLiteral("/m/a.jpg"), {}, {}, QStringLiteral("sunrise") },
            { QStringLiteral("/m/b.jpg"), {}, {}, QStringLiteral("rain") },
            { QStringLiteral("/m/c.jpg"), QStringLiteral("Sun hat"), {}, {} } });
    writeAlbum(second, { { QStringLiteral("/m/sunny.jpg"), {}, {}, {} } });
    writeAlbum(target, { { QStringLiteral("/m/sun-in-target.jpg"), {}, {}, {} } });

    SearchRequest request;
    request.albumPaths
        = { second, first, target, folder + QStringLiteral("/missing.gmx"), first + "x" };
    request.targetPath = target;
    request.text = QStringLiteral("sun");
    const std::vector<FoundItem> found = searchAlbums(request);
    // Albums in list order, items in album order; the target and unreadable files skipped.
    EXPECT_EQ(pathsOf(found), QStringList({ "/m/sunny.jpg", "/m/a.jpg", "/m/c.jpg" }));

    // Appended to an album with the thumbnails and attachment records they had.
    CAlbumDoc doc;
    EXPECT_EQ(appendFoundItems(doc, found), 3);
    ASSERT_EQ(doc.itemCount(), 3);
    EXPECT_EQ(fixedText(doc.item(1)->info()->description), QStringLiteral("sunrise"));
    EXPECT_FALSE(doc.item(2)->thumbnailImage().isNull());
    // Found twice, the same file is added once.
    EXPECT_EQ(appendFoundItems(doc, found), 0);
}

TEST(AlbumSearch, RelativeNamesGetThePhotosFolder)
{
    RecordingHost host;
    const QString path = makeTestFolder(QStringLiteral("relative")) + QStringLiteral("/rel.gmx");
    writeAlbum(path, { { QStringLiteral("/x/beach.jpg"), {}, {}, QStringLiteral("sun") } });
    // Store the item's name as relative to the photos folder, as older albums do.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 record = sizeof(AlbumFileHeader);
    ItemInfo info {};
    ASSERT_TRUE(file.seek(record));
    ASSERT_EQ(file.read(reinterpret_cast<char *>(&info), sizeof info), qint64(sizeof info));
    setFixedText(info.path, QStringLiteral("trip/beach.jpg"));
    info.pathIsRelative = 1;
    ASSERT_TRUE(file.seek(record));
    ASSERT_EQ(file.write(reinterpret_cast<const char *>(&info), sizeof info), qint64(sizeof info));
    file.close();

    const std::vector<FoundItem> found = searchAlbums({ { path }, {}, QStringLiteral("sun"), {} });
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path(), photosFolder() + QStringLiteral("/trip/beach.jpg"));
}

TEST(AlbumSearch, TwoSearchesAtOnceKeepTheirOwnResults)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("together"));
    QList<TestItem> many;
    for (int i = 0; i < 200; ++i)
        many.append({ QStringLiteral("/m/%1.jpg").arg(i), {}, {}, i % 2 ? "odd" : "even" });
    writeAlbum(folder + QStringLiteral("/many.gmx"), many);
    const SearchRequest odd { { folder + QStringLiteral("/many.gmx") }, {}, "odd", {} };
    const SearchRequest even { { folder + QStringLiteral("/many.gmx") }, {}, "even", {} };
    std::vector<FoundItem> oddFound;
    std::vector<FoundItem> evenFound;
    {
        std::thread other([&] {
            DeferredHost quiet;
            ThreadHostScope scope(quiet);
            evenFound = searchAlbums(even);
        });
        oddFound = searchAlbums(odd);
        other.join();
    }
    ASSERT_EQ(oddFound.size(), 100u);
    ASSERT_EQ(evenFound.size(), 100u);
    for (std::size_t i = 0; i < 100; ++i) {
        EXPECT_EQ(oddFound[i].path(), QStringLiteral("/m/%1.jpg").arg(2 * i + 1));
        EXPECT_EQ(evenFound[i].path(), QStringLiteral("/m/%1.jpg").arg(2 * i));
    }
}

// The main window's album list as the dialog sees it: entries, the current one, and switching.
class FakeAlbumList final : public AlbumListAccess
{
public:
    QStringList entries;
    QString current;
    QString outside;
    QStringList switches;
    bool refuseSwitch = false;

    QStringList albumEntries() const override { return entries; }
    QString currentAlbumEntry() const override { return current; }
    QString outsideAlbumPath() const override { return outside; }
    void applyAlbumListChange(const AlbumListChange &change) override
    {
        switches << change.selectEntry;
        if (!refuseSwitch)
            current = change.selectEntry;
    }
};

QListWidget *listOf(SearchDialog &dialog, int id)
{
    return dialog.findChild<QListWidget *>(QString::number(id));
}

TEST(SearchDialog, MessagesSwitchAndAppend)
{
    RecordingHost host;
    const QString untitled = CAlbumDoc::untitledName();
    ASSERT_TRUE(QDir().mkpath(albumsFolder()));
    writeAlbum(albumsFolder() + QStringLiteral("/Dialog Trip.gmx"),
        { { QStringLiteral("/m/sunset.jpg"), {}, {}, {} },
            { QStringLiteral("/m/rain.jpg"), {}, {}, {} } });
    CAlbumDoc doc;
    FakeAlbumList list;
    list.entries = { QStringLiteral("Dialog Trip"), QStringLiteral("Results"), untitled };
    list.current = QStringLiteral("Dialog Trip");

    SearchDialog dialog(doc, list, { "Caption:", "Keywords:", "Notes:" });
    // The albums to search leave out the new album; the target starts on it.
    ASSERT_EQ(listOf(dialog, SearchControl::kAlbums)->count(), 2);
    EXPECT_TRUE(listOf(dialog, SearchControl::kAlbums)->item(0)->isSelected());
    EXPECT_EQ(listOf(dialog, SearchControl::kTarget)->currentItem()->text(), untitled);

    // No text: 57020 and nothing else.
    dialog.accept();
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNoSearchText }));
    EXPECT_EQ(host.shown().last().look.caption, loadString(Message::kSearchTitle));
    EXPECT_TRUE(list.switches.isEmpty());

    // The target vanished from the list meanwhile: 57010, the dialog stays.
    dialog.findChild<QLineEdit *>(QString::number(SearchControl::kText))->setText("SUN");
    listOf(dialog, SearchControl::kTarget)->setCurrentRow(1);
    list.entries.removeAt(1);
    dialog.accept();
    EXPECT_EQ(host.messageIds().last(), Message::kSearchTargetMissing);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // A switch the user refuses (unsaved changes kept) adds nothing anywhere.
    list.entries.insert(1, QStringLiteral("Results"));
    list.refuseSwitch = true;
    dialog.accept();
    EXPECT_EQ(doc.itemCount(), 0);

    list.refuseSwitch = false;
    saveScreenshotWhenAsked(dialog, QStringLiteral("search-dialog.png"));
    dialog.accept();
    EXPECT_EQ(list.current, QStringLiteral("Results"));
    EXPECT_EQ(dialog.addedCount(), 1);
    ASSERT_EQ(doc.itemCount(), 1);
    EXPECT_EQ(doc.item(0)->path(), QStringLiteral("/m/sunset.jpg"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(SearchDialog, MoreThanTheLimitOfAlbumsIsRefused)
{
    RecordingHost host;
    CAlbumDoc doc;
    FakeAlbumList list;
    for (int i = 0; i <= kMaxSearchAlbums; ++i)
        list.entries << QStringLiteral("album %1").arg(i);
    SearchDialog dialog(doc, list, {});
    listOf(dialog, SearchControl::kAlbums)->selectAll();
    ASSERT_EQ(host.messageIds(), QList<int>({ Message::kTooManySearchAlbums }));
    EXPECT_TRUE(host.shown().last().text.contains(QStringLiteral("10000")));
    EXPECT_EQ(host.shown().last().icon, MessageIcon::Error);
}

} // namespace
