#include "album/dibimage.h"
#include "app/applicationname.h"
#include "app/filefilter.h"
#include "app/helptopics.h"
#include "app/ui/helpwindow.h"
#include "app/ui/sortdialog.h"
#include "core/imagepath.h"
#include "picture/dibview.h"
#include "picture/ui/picturewindow.h"
#include "platform/paths.h"
#include "support/testenvironment.h"
#include "view/halftone.h"

#include "imaging/dib.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QScrollArea>
#include <QSharedMemory>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace glimmerix;

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
    ImagePathProblem problem = ImagePathProblem::None;
    EXPECT_TRUE(publishImagePath(QString(260, u'x'), &problem) == nullptr);
    EXPECT_EQ(problem, ImagePathProblem::TooLong);
    EXPECT_TRUE(publishImagePath({}) == nullptr);
    // A second sender while one hand-over is in progress is told so and leaves the first path.
    {
        const auto first = publishImagePath("/photos/a.jpg");
        ASSERT_TRUE(first);
        EXPECT_TRUE(publishImagePath("/photos/b.jpg", &problem) == nullptr);
        EXPECT_EQ(problem, ImagePathProblem::InUse);
        EXPECT_EQ(readImagePath(), "/photos/a.jpg");
    }
    EXPECT_FALSE(publishImagePath("/photos/b.jpg") == nullptr);
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
    EXPECT_EQ(window->zoom(), 0); // a 2 x 2 picture is shown at its size
    window->zoomIn();
    EXPECT_EQ(window->zoom(), 1);
    window->setZoom(16);
    window->zoomIn();
    EXPECT_EQ(window->zoom(), 16);
    window->zoomOut();
    EXPECT_EQ(window->zoom(), 15);
    delete window; // frees the block it took over

    PictureWindow named(0, "/photos/a.jpg");
    EXPECT_EQ(named.windowTitle(), "/photos/a.jpg");
}

// Help opens in the desktop's browser through xdg-open; without one (no xdg-open, or one that
// finds no program for the page) the page shows in the program's own help window.
TEST(HelpTopics, WithoutABrowserThePageShowsInTheProgramsOwnWindow)
{
    QStringList viewed;
    setHelpViewer([&](const QString &page) { viewed.append(page); });
    const QByteArray path = qgetenv("PATH");
    struct Case {
        const char *name;
        const char *xdgOpen; // the stand-in xdg-open's script; nullptr: none on the path
        bool ownWindow;
    };
    const Case cases[] = {
        { "no xdg-open", nullptr, true },
        { "xdg-open finds no browser", "#!/bin/sh\nexit 3\n", true },
        { "a browser shows the page", "#!/bin/sh\nexit 0\n", false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString tools = makeTestFolder(QStringLiteral("tools"));
        if (c.xdgOpen) {
            writeFile(tools + "/xdg-open", c.xdgOpen);
            QFile::setPermissions(tools + "/xdg-open", QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(tools));
        viewed.clear();
        ASSERT_TRUE(openHelpTopic(624));
        QTRY_VERIFY(QCoreApplication::instance()->findChildren<QProcess *>().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(viewed, c.ownWindow ? QStringList { helpPagePath(624) } : QStringList());
    }
    qputenv("PATH", path);
    setHelpViewer(nullptr);

    showHelpWindow(helpPagePath(624));
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto found = std::find_if(windows.cbegin(), windows.cend(),
        [](const QWidget *window) { return window->objectName() == "helpWindow"; });
    ASSERT_NE(found, windows.cend());
    auto *window = qobject_cast<QTextBrowser *>(*found);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->source(), QUrl::fromLocalFile(helpPagePath(624)));
    EXPECT_FALSE(window->toPlainText().isEmpty());
    window->close();
}

// The sort directions are named after what they do to the chosen key.
TEST(SortDialog, DirectionsAreNamedAfterTheChosenKey)
{
    SortDialog dialog;
    struct Case {
        int key;
        const char *natural;
        const char *reversed;
    };
    const Case cases[]
        = { { 3, "Newest first", "Oldest first" }, { 2, "Smallest first", "Largest first" },
              { 0, "A to Z", "Z to A" }, { 4, "A to Z", "Z to A" } };
    for (const Case &c : cases) {
        dialog.findChild<QRadioButton *>(QStringLiteral("key%1").arg(c.key))->setChecked(true);
        EXPECT_EQ(dialog.findChild<QRadioButton *>("direction0")->text(), c.natural);
        EXPECT_EQ(dialog.findChild<QRadioButton *>("direction1")->text(), c.reversed);
    }
    dialog.findChild<QRadioButton *>("direction1")->setChecked(true);
    EXPECT_EQ(dialog.choice().key, 4);
    EXPECT_EQ(dialog.choice().direction, 1);
}

// Qt adds a display name, once one is set, to every window title; the main window's title names
// the product already, so none is set (an unset display name follows the application name).
TEST(ApplicationName, WindowTitlesNameTheProductOnce)
{
    nameApplication(QStringLiteral("2.0"));
    EXPECT_EQ(QCoreApplication::applicationName(), "Glimmerix");
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    nameApplication(QStringLiteral("2.0"));
}

// The picture window opens with the whole picture in view: at its own size when it fits the
// window, else at the largest zoom-out step at which it fits (a 640 x 480 picture was once drawn
// at 32 x 24). Escape and Ctrl+W close it.
TEST(PictureWindow, OpensFittedOrAtFullSizeAndClosesOnEscapeOrCtrlW)
{
    struct Case {
        const char *name;
        QSize picture;
        QKeyCombination closeKey;
    };
    const Case cases[] = {
        { "small", QSize(200, 150), QKeyCombination(Qt::Key_Escape) },
        { "VGA", QSize(640, 480), QKeyCombination(Qt::ControlModifier, Qt::Key_W) },
        { "larger than the screen", QSize(3000, 2000), QKeyCombination(Qt::Key_Escape) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage picture(c.picture, QImage::Format_RGB888);
        picture.fill(Qt::darkGreen);
        QPointer<PictureWindow> window = new PictureWindow(imageToDibBlock(picture), "/p.jpg");
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        const QWidget *viewport = window->findChild<QScrollArea *>()->viewport();
        const QWidget *shown = window->findChild<QWidget *>("pictureCanvas");
        ASSERT_TRUE(shown);
        const QSize room = viewport->size();
        QTRY_VERIFY(shown->width() <= room.width() && shown->height() <= room.height());
        // One step larger would not fit, unless the picture is at its own size.
        const int factor = c.picture.width() / shown->width();
        EXPECT_TRUE(factor == 1 || c.picture.width() / (factor - 1) > room.width()
            || c.picture.height() / (factor - 1) > room.height());

        QTest::keyClick(window, c.closeKey.key(), c.closeKey.keyboardModifiers());
        QTRY_VERIFY(window.isNull());
    }
}

} // namespace
