// Browsing an album with the keyboard through the main window: Enter on the grid opens the
// picture window, whose keys step through the album while the grid's current item follows.

#include "album/albumdoc.h"
#include "app/ui/mainframe.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"
#include "view/ui/albumview.h"
#include "view/ui/cellwindow.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace glimmerix;

TEST(KeyboardBrowsing, EnterOpensThePictureAndItsKeysMoveTheGridAlong)
{
    RecordingHost host;
    const QString folder = makeTestFolder(QStringLiteral("browse"));
    CMainFrame frame;
    frame.SelectAlbumByName(QStringLiteral("NEW"));
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(frame.document()->addFile(makeTestPicture(
                      folder, QStringLiteral("p%1.png").arg(i), Qt::darkCyan, QSize(64 + i, 48))),
            1);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    Q_EMIT frame.document()->itemsChanged();
    CAlbumView &view = *frame.view();
    QTest::mouseClick(view.cells()[0], Qt::LeftButton, Qt::NoModifier, QPoint(45, 50));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    ASSERT_EQ(view.current(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    PictureWindow *window = frame.pictureWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->path(), frame.document()->item(1)->absolutePath());
    EXPECT_EQ(window->itemIndex(), 1);

    QTest::keyClick(window, Qt::Key_PageDown);
    EXPECT_EQ(frame.pictureWindow(), window); // the same window shows the next picture
    EXPECT_EQ(window->path(), frame.document()->item(2)->absolutePath());
    EXPECT_EQ(view.current(), 2);
    QTest::keyClick(window, Qt::Key_Home);
    EXPECT_EQ(window->itemIndex(), 0);
    EXPECT_EQ(view.current(), 0);
    EXPECT_EQ(frame.document()->selectedCount(), 1);
    EXPECT_TRUE(host.shown().isEmpty());
    window->close();
}
