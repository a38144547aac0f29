#include "albumtesthelpers.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

using namespace glimmerix;

namespace
{

// Album of a.jpg b.jpg c.jpg d.jpg with b and d selected, unmodified.
void fill(CAlbumDoc &doc)
{
    for (const char *name : { "a", "b", "c", "d" })
        doc.insertItem(testItem(QStringLiteral("/photos/%1.jpg").arg(QLatin1String(name))));
    doc.item(1)->setSelected(true);
    doc.item(3)->setSelected(true);
    doc.markClean();
}

} // namespace

// Every change to the items tells the views with exactly one signal (a batch gathers its changes
// into one), a change that changes nothing tells nothing, and the document is modified exactly
// when the items or texts changed (selection is not a change to the album).
TEST(AlbumItems, EveryOperationSignalsOnceAndModifiedFollows)
{
    struct Case {
        const char *name;
        std::function<void(CAlbumDoc &)> operation;
        int items; // itemsChanged
        int item; // itemChanged
        int selection; // selectionChanged
        bool modified;
    };
    const QString text = QStringLiteral("Harbour at dusk");
    const Case cases[] = {
        { "insert",
            [](CAlbumDoc &d) { d.insertItem(testItem(QStringLiteral("/photos/e.jpg")), 1); }, 1, 0,
            0, true },
        { "insert duplicate",
            [](CAlbumDoc &d) { d.insertItem(testItem(QStringLiteral("/photos/a.jpg"))); }, 0, 0, 0,
            false },
        { "take", [](CAlbumDoc &d) { d.takeItem(2); }, 1, 0, 0, true },
        { "take out of range", [](CAlbumDoc &d) { d.takeItem(9); }, 0, 0, 0, false },
        { "remove", [](CAlbumDoc &d) { d.removeItem(0, false); }, 1, 0, 0, true },
        { "remove selected", [](CAlbumDoc &d) { d.removeSelected(false); }, 1, 0, 0, true },
        { "replace",
            [](CAlbumDoc &d) { d.replaceItem(1, testItem(QStringLiteral("/photos/f.jpg"))); }, 1, 0,
            0, true },
        { "replace by a duplicate",
            [](CAlbumDoc &d) { d.replaceItem(1, testItem(QStringLiteral("/photos/c.jpg"))); }, 0, 0,
            0, false },
        { "reorder",
            [](CAlbumDoc &d) {
                d.reorderItems({ 3, 2, 1, 0 });
            },
            1, 0, 0, true },
        { "reorder in place",
            [](CAlbumDoc &d) {
                d.reorderItems({ 0, 1, 2, 3 });
            },
            0, 0, 0, false },
        { "move selected", [](CAlbumDoc &d) { d.moveSelectedTo(0); }, 1, 0, 0, true },
        { "sort", [](CAlbumDoc &d) { d.sortItems(int(SortKey::FileName), 1); }, 1, 0, 0, true },
        { "sort already in order", [](CAlbumDoc &d) { d.sortItems(int(SortKey::FileName), 0); }, 0,
            0, 0, false },
        { "set text", [&](CAlbumDoc &d) { d.setItemText(2, ItemField::Keywords, text); }, 0, 1, 0,
            true },
        { "set the same text", [](CAlbumDoc &d) { d.setItemText(2, ItemField::Keywords, {}); }, 0,
            0, 0, false },
        { "description",
            [&](CAlbumDoc &d) {
                QString t = text;
                d.itemText(0, t, true);
            },
            0, 1, 0, true },
        { "thumbnail",
            [](CAlbumDoc &d) {
                d.setItemThumbnail(1, testThumbnail(QStringLiteral("/photos/b.jpg")));
            },
            0, 1, 0, true },
        { "attach",
            [](CAlbumDoc &d) { d.attachFile(-1, QStringLiteral("s"), QStringLiteral("/s.wav")); },
            0, 1, 0, true },
        { "attachment path", [](CAlbumDoc &d) { d.setAttachmentPath(0, QStringLiteral("/t.wav")); },
            0, 1, 0, true },
        { "select all", [](CAlbumDoc &d) { d.selectAll(); }, 0, 0, 1, false },
        { "select none", [](CAlbumDoc &d) { d.selectNone(); }, 0, 0, 1, false },
        { "select one", [](CAlbumDoc &d) { d.items().setSelected(0, true); }, 0, 0, 1, false },
        { "select the selected", [](CAlbumDoc &d) { d.items().setSelected(1, true); }, 0, 0, 0,
            false },
        { "album caption",
            [&](CAlbumDoc &d) {
                QString t = text;
                d.itemText(-1, t, true);
            },
            0, 0, 0, true },
        { "batch of changes",
            [&](CAlbumDoc &d) {
                const CAlbumDoc::ChangeBatch batch(d);
                d.insertItem(testItem(QStringLiteral("/photos/g.jpg")));
                d.setItemText(0, ItemField::Caption, text);
                d.selectAll();
                d.moveSelectedTo(2);
                d.takeItem(0);
            },
            1, 0, 0, true },
        { "batch of selections",
            [](CAlbumDoc &d) {
                const CAlbumDoc::ChangeBatch batch(d);
                d.selectAll();
                d.selectNone();
            },
            0, 0, 1, false },
        { "nested batches",
            [](CAlbumDoc &d) {
                const CAlbumDoc::ChangeBatch outer(d);
                {
                    const CAlbumDoc::ChangeBatch inner(d);
                    d.removeItem(0, false);
                }
                d.removeItem(0, false);
            },
            1, 0, 0, true },
    };
    for (const Case &c : cases) {
        CAlbumDoc doc;
        fill(doc);
        QSignalSpy items(&doc, &CAlbumDoc::itemsChanged);
        QSignalSpy item(&doc, &CAlbumDoc::itemChanged);
        QSignalSpy selection(&doc, &CAlbumDoc::selectionChanged);
        QSignalSpy modelItems(&doc.items(), &AlbumItems::itemsChanged);
        c.operation(doc);
        EXPECT_EQ(items.count(), c.items) << c.name;
        EXPECT_EQ(modelItems.count(), c.items) << c.name;
        EXPECT_EQ(item.count(), c.item) << c.name;
        EXPECT_EQ(selection.count(), c.selection) << c.name;
        EXPECT_EQ(doc.isModified(), c.modified) << c.name;
    }
}
