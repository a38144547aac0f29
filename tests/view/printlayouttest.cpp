#include "view/printlayout.h"

#include "album/albumdoc.h"
#include "core/messageids.h"
#include "support/testenvironment.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

TEST(PrintLayout, PortraitKeepsColumnsLandscapeKeepsRows)
{
    struct Case {
        const char *name;
        QSize printable;
        bool portrait;
        int chosen;
        int columns, rows, cell, band, left;
    };
    const Case cases[] = {
        // C = 1000 - 200 = 800; g = (602 - 2) / 4 = 150; rows = 800 / 150 = 5.
        { "portrait 4", { 602, 1000 }, true, 4, 4, 5, 150, 100, 1 },
        { "portrait 2", { 602, 1000 }, true, 2, 2, 2, 300, 100, 1 },
        // C = 600 - 120 = 480; g = 480 / 3 = 160; columns = 1000 / 160 = 6; left (1000-960)/2.
        { "landscape 3", { 1000, 600 }, false, 3, 6, 3, 160, 60, 20 },
        { "landscape 4", { 1000, 600 }, false, 4, 8, 4, 120, 60, 20 },
        { "narrow page", { 5, 10 }, true, 4, 4, 8, 1, 1, 0 },
    };
    for (const Case &c : cases) {
        const PageGeometry page = pageGeometry(c.printable, c.portrait, c.chosen, c.chosen);
        EXPECT_EQ(page.columns, c.columns) << c.name;
        EXPECT_EQ(page.rows, c.rows) << c.name;
        EXPECT_EQ(page.cell, c.cell) << c.name;
        EXPECT_EQ(page.band, c.band) << c.name;
        EXPECT_EQ(page.left, c.left) << c.name;
        EXPECT_EQ(page.margin, int(0.07 * c.cell)) << c.name;
    }
    const PageGeometry page = pageGeometry({ 602, 1000 }, true, 4, 4);
    EXPECT_EQ(page.cellRect(5), QRect(1 + 150, 100 + 150, 150, 150));
}

TEST(PrintLayout, NumberedRangeChecks)
{
    struct Case {
        int range, from, to, message;
    };
    const Case cases[] = {
        { PrintOptions::NumberedItems, 3, 2, Message::kPrintRangeReversed },
        { PrintOptions::NumberedItems, 0, 2, Message::kPrintNumberTooSmall },
        { PrintOptions::NumberedItems, 2, 0, Message::kPrintNumberTooSmall },
        { PrintOptions::NumberedItems, 2, 2, 0 },
        { PrintOptions::AllItems, 0, 0, 0 },
        { PrintOptions::SelectedItems, 3, 2, 0 },
    };
    for (const Case &c : cases) {
        PrintOptions options;
        options.range = c.range;
        options.from = c.from;
        options.to = c.to;
        EXPECT_EQ(rangeProblem(options), c.message) << c.range << ' ' << c.from << ' ' << c.to;
    }
}

TEST(PrintLayout, PictureSizeInCell)
{
    PrintOptions texts;
    PrintOptions names;
    names.itemTexts = false;
    names.fileNames = true;
    PrintOptions plain;
    plain.itemTexts = false;
    EXPECT_DOUBLE_EQ(pictureBoxShare(texts), 0.55);
    EXPECT_DOUBLE_EQ(pictureBoxShare(names), 0.64);
    EXPECT_DOUBLE_EQ(pictureBoxShare(plain), 0.75);

    struct Case {
        const char *name;
        QSize source;
        double share;
        bool square;
        QSize drawn;
    };
    const Case cases[] = {
        { "wide, no texts", { 300, 100 }, 0.75, false, { 750, 250 } },
        { "square", { 200, 200 }, 0.75, false, { 750, 750 } },
        // Too high for the box at full width: the height is the box, the width follows.
        { "square with texts", { 200, 200 }, 0.55, false, { 550, 550 } },
        { "tall with file names", { 100, 300 }, 0.64, false, { 213, 640 } },
        { "square crop", { 300, 100 }, 0.64, true, { 640, 640 } },
        { "one pixel high", { 3000, 1 }, 0.75, false, { 750, 1 } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(picturePrintSize(c.source, 1000, c.share, c.square), c.drawn) << c.name;
}

TEST(PrintLayout, PrintedItemsFollowRangeAndMedia)
{
    const QString folder = makeTestFolder(QStringLiteral("printed"));
    CAlbumDoc document;
    const char *names[] = { "a.jpg", "b.wav", "c.jpg", "d.txt", "e.jpg" };
    for (const char *name : names) {
        const QString path = folder + u'/' + QLatin1String(name);
        if (QString::fromLatin1(name).endsWith(QLatin1String(".jpg"))) {
            QImage picture(30, 20, QImage::Format_RGB32);
            picture.fill(Qt::red);
            ASSERT_TRUE(picture.save(path));
        } else {
            writeFile(path, QByteArray(200, 'x'));
        }
        ASSERT_EQ(document.addFile(path), 1) << name;
    }
    document.item(1)->setSelected(true);
    document.item(2)->setSelected(true);

    struct Case {
        const char *name;
        int range, from, to;
        bool media;
        QList<int> items;
    };
    const Case cases[] = {
        { "all", PrintOptions::AllItems, 1, 1, true, { 0, 1, 2, 3, 4 } },
        { "media off closes up", PrintOptions::AllItems, 1, 1, false, { 0, 2, 4 } },
        { "selected", PrintOptions::SelectedItems, 1, 1, true, { 1, 2 } },
        { "selected without media", PrintOptions::SelectedItems, 1, 1, false, { 2 } },
        { "numbered 2..4", PrintOptions::NumberedItems, 2, 4, true, { 1, 2, 3 } },
        { "numbered past the end", PrintOptions::NumberedItems, 4, 9, false, { 4 } },
    };
    for (const Case &c : cases) {
        PrintOptions options;
        options.range = c.range;
        options.from = c.from;
        options.to = c.to;
        options.includeMedia = c.media;
        EXPECT_EQ(printedItems(document, options), c.items) << c.name;
    }
    EXPECT_EQ(pageCountFor(40, 16), 3);
    EXPECT_EQ(pageCountFor(32, 16), 2);
    EXPECT_EQ(pageCountFor(0, 16), 1);
}

} // namespace
