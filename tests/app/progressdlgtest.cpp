#include "app/ui/progressdlg.h"
#include "app/ui/escapekeywatcher.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

template<typename T> T *control(QWidget &dialog, int id)
{
    return dialog.findChild<T *>(QStringLiteral("control%1").arg(id));
}

QPushButton *cancelButton(QWidget &dialog)
{
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        if (!button->objectName().startsWith(QLatin1String("control")))
            return button;
    }
    return nullptr;
}

TEST(ProgressDialog, ControlsRangeAndPosition)
{
    CProgressDlg dialog;
    dialog.setTitle(QStringLiteral("Loading album"));
    dialog.setText(QStringLiteral("a.jpg"));
    dialog.setRange(8);
    dialog.setPosition(3);
    dialog.step();
    ASSERT_NE(control<QLabel>(dialog, 1052), nullptr);
    EXPECT_EQ(control<QLabel>(dialog, 1052)->text(), "Loading album");
    EXPECT_EQ(control<QLabel>(dialog, 1051)->text(), "a.jpg");
    QProgressBar *bar = control<QProgressBar>(dialog, 1049);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 8);
    EXPECT_EQ(bar->value(), 4);
    EXPECT_EQ(dialog.position(), 4);

    // Past the end the bar stays full and the count is kept; a smaller range keeps it full.
    dialog.setPosition(11);
    EXPECT_EQ(bar->value(), 8);
    EXPECT_EQ(dialog.position(), 11);
    dialog.setRange(5);
    EXPECT_EQ(bar->value(), 5);
}

TEST(ProgressDialog, CancelClosesUnlessKeptOpenAndHidesOnRequest)
{
    QMainWindow window;
    window.setGeometry(100, 100, 800, 600);
    window.show();
    CProgressDlg dialog(&window);
    EXPECT_FALSE(dialog.isModal());
    dialog.show();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_LE(
        (dialog.frameGeometry().center() - window.frameGeometry().center()).manhattanLength(), 4);

    dialog.setKeepOpen(true);
    QTest::mouseClick(cancelButton(dialog), Qt::LeftButton);
    EXPECT_TRUE(dialog.cancelled());
    EXPECT_TRUE(dialog.isVisible());

    dialog.setKeepOpen(false);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());

    CProgressDlg noCancel(&window);
    noCancel.setHideCancel(true);
    noCancel.show();
    EXPECT_FALSE(cancelButton(noCancel)->isVisible());
    QTest::keyClick(&noCancel, Qt::Key_Escape);
    noCancel.QWidget::close();
    EXPECT_FALSE(noCancel.cancelled());
    EXPECT_TRUE(noCancel.isVisible());
    noCancel.close();
    EXPECT_FALSE(noCancel.isVisible());
}

TEST(EscapeKeyWatcher, SeesHeldKeysAndTapsBetweenPolls)
{
    EscapeKeyWatcher watcher;
    QWidget target;
    EXPECT_FALSE(watcher.poll());

    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &press);
    EXPECT_TRUE(watcher.poll());
    EXPECT_TRUE(watcher.poll()); // still held
    QCoreApplication::sendEvent(&target, &release);
    EXPECT_FALSE(watcher.poll());

    // Pressed and released between two polls.
    QCoreApplication::sendEvent(&target, &press);
    QCoreApplication::sendEvent(&target, &release);
    EXPECT_TRUE(watcher.poll());
    EXPECT_FALSE(watcher.poll());

    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &other);
    EXPECT_FALSE(watcher.poll());
}

} // namespace
