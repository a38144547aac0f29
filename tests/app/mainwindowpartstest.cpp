#include "app/filefilter.h"
#include "app/helptopics.h"
#include "core/imagepath.h"
#include "picture/dibview.h"
#include "picture/ui/picturewindow.h"
#include "platform/paths.h"
#include "view/halftone.h"

#include "imaging/dib.h"

#include <QFileInfo>
#include <QSharedMemory>

#include <gtest/gtest.h>

#include <cstring>

namespace
{

TEST(HelpTopics, UnknownCommandsAndTopicsFallBackToTheContents)
{
    EXPECT_EQ(helpTopicForCommand(12345), 0); // a command without a page
    EXPECT_TRUE(helpPagePath(624).endsWith("/help/624.html"));
    EXPECT_TRUE(QFileInfo::exists(helpPagePath(624)));
    // A topic without a page falls back to the contents.
    EXPECT_TRUE(helpPagePath(0).endsWith("/help/index.html"));
    EXPECT_TRUE(helpPagePath(99999).endsWith("/help/index.html"));
}

TEST(FileFilter, PipeFiltersBecomeQtFilters)
{
    EXPECT_EQ(qtFileFilter("Pictures|*.bmp;*.jpg|All Files (*.*)|*.*||"),
        "Pictures (*.bmp *.jpg);;All Files (*)");
    EXPECT_EQ(qtFileFilter(""), "");
    EXPECT_EQ(qtFileFilter("Broken|"), "");
}

TEST(ImagePath, PublishedPathIsReadBackAndLongPathsRefused)
{
    EXPECT_TRUE(readImagePath().isEmpty());
    {
        const auto memory = publishImagePath("/photos/été.jpg");
        ASSERT_TRUE(memory);
        EXPECT_EQ(readImagePath(), "/photos/été.jpg");
    }
    EXPECT_TRUE(readImagePath().isEmpty());
    EXPECT_FALSE(publishImagePath(QString(259, u'x')) == nullptr);
    EXPECT_TRUE(publishImagePath(QString(260, u'x')) == nullptr);
    EXPECT_TRUE(publishImagePath({}) == nullptr);
}

TEST(Halftone, TableAndColourReduction)
{
    const QList<QRgb> table = halftoneColorTable();
    ASSERT_EQ(table.size(), 232);
    EXPECT_EQ(table[16], qRgb(0, 0, 0));
    EXPECT_EQ(table[17], qRgb(51, 0, 0)); // red varies fastest
    EXPECT_EQ(table[16 + 6], qRgb(0, 51, 0));
    EXPECT_EQ(table.last(), qRgb(255, 255, 255));

    QImage image(1, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(30, 130, 200));
    EXPECT_EQ(reduceToDisplayDepth(image, 24).pixel(0, 0), qRgb(30, 130, 200));
    EXPECT_EQ(reduceToDisplayDepth(image, 8).pixel(0, 0), qRgb(51, 153, 204));
    EXPECT_EQ(reduceToDisplayDepth(image, 4).pixel(0, 0), qRgb(0, 255, 255));
}

// A 2 x 2, 4-bit block with a two-entry table, or damaged variants of it.
BlockHandle makeFourBitBlock(std::int32_t height)
{
    const std::size_t size = 40 + 2 * 4 + 2 * 4;
    const BlockHandle block = blockAlloc(0, size);
    auto *header = dibHeader(block);
    header->biSize = 40;
    header->biWidth = 2;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 4;
    header->biClrUsed = 2;
    RGBQUAD *colors = dibColors(header);
    colors[0] = { 0, 0, 255, 0 }; // red
    colors[1] = { 255, 0, 0, 0 }; // blue
    unsigned char *bits = dibBits(header);
    bits[0] = 0x01; // bottom row: red, blue
    bits[4] = 0x10; // top row: blue, red
    return block;
}

TEST(DibView, PaletteBlockShowsTopRowFirstAndDamagedHeadersAreRefused)
{
    const BlockHandle block = makeFourBitBlock(2);
    const QImage image = imageFromDibBlock(block);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
    blockFree(block);

    // Rows that would lie past the end of the block.
    const BlockHandle tall = makeFourBitBlock(100000);
    EXPECT_TRUE(imageFromDibBlock(tall).isNull());
    blockFree(tall);
    EXPECT_TRUE(imageFromDibBlock(0).isNull());
}

} // namespace

namespace
{

TEST(PictureWindow, TitleAndZoomSteps)
{
    auto *window = new PictureWindow(makeFourBitBlock(2), QString());
    EXPECT_EQ(window->windowTitle(), "New Image");
    EXPECT_EQ(window->zoom(), 0); // fit: a 2 x 2 picture is shown at its size
    window->zoomIn();
    EXPECT_EQ(window->zoom(), 150);
    window->setZoom(400);
    window->zoomIn();
    EXPECT_EQ(window->zoom(), 400);
    window->zoomOut();
    EXPECT_EQ(window->zoom(), 300);
    delete window; // frees the block it took over

    PictureWindow named(0, "/photos/a.jpg");
    EXPECT_EQ(named.windowTitle(), "/photos/a.jpg");
}

} // namespace
