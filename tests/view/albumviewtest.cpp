#include "view/ui/albumview.h"

#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "core/commandids.h"
#include "support/processrun.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"
#include "view/ui/cellwindow.h"
#include "view/ui/multilineedit.h"
#include "view/ui/viewdialogs.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>

using namespace glimmerix;

namespace
{

// An album of `count` small pictures on disk, shown in a view sized to `columns` x `rows` cells.
class AlbumViewTest : public ::testing::Test
{
protected:
    void build(int count, int columns, int rows)
    {
        const QString folder = makeTestFolder(QStringLiteral("pictures"));
        for (int i = 0; i < count; ++i) {
            QImage picture(40 + i, 30, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
            const QString path
                = folder + QStringLiteral("/p%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
            ASSERT_TRUE(picture.save(path));
            paths.append(path);
            ASSERT_EQ(document.addFile(path), 1);
        }
        document.markClean();
        view = std::make_unique<CAlbumView>(&document);
        const GridReserve reserve = view->reserve();
        view->resize(columns * grid::kPitchX + reserve.right,
            rows * grid::kPitchY + grid::kOriginY + reserve.bottom);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        Q_EMIT document.itemsChanged();
    }

    CellWindow *cellOf(int index) const
    {
        return view->cells()[std::size_t(index - view->firstVisibleIndex())];
    }
    void click(int index, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mouseClick(cellOf(index), Qt::LeftButton, keys, QPoint(45, 50));
    }
    QList<bool> selection() const
    {
        QList<bool> marks;
        for (int i = 0; i < document.itemCount(); ++i)
            marks.append(document.item(i)->isSelected());
        return marks;
    }
    QLineEdit *edit(int id) const { return view->findChild<QLineEdit *>(QString::number(id)); }
    MultiLineEdit *description() const
    {
        return view->findChild<MultiLineEdit *>(QString::number(ViewControl::kDescriptionEdit));
    }

    RecordingHost host;
    CAlbumDoc document;
    std::unique_ptr<CAlbumView> view;
    QStringList paths;
};

TEST_F(AlbumViewTest, ScrollMaximumAndBottomOfSevenItemsInThreeByTwo)
{
    build(7, 3, 2);
    EXPECT_EQ(view->gridSize(), (GridSize { 2, 3 }));
    EXPECT_EQ(view->scrollMax(), 2);
    QTest::keyClick(view->cells()[0], Qt::Key_End);
    EXPECT_EQ(view->topRow(), 2);
    // The last row holds item 7 (index 6) alone; the row below it is empty.
    EXPECT_EQ(view->cells()[0]->itemIndex(), 6);
    for (int cell = 1; cell < 6; ++cell)
        EXPECT_EQ(view->cells()[std::size_t(cell)]->itemIndex(), -1) << cell;
}

TEST_F(AlbumViewTest, FourItemsScrollOneRow)
{
    build(4, 3, 2);
    EXPECT_EQ(view->scrollMax(), 1);
}

// Page Down scrolls a screen as the scroll bar does and takes the current item along; Home
// returns to the first item, Down moves a row and scrolls only when it must.
TEST_F(AlbumViewTest, PageDownStopsAtTheEndAndHomeReturnsCarryingTheCurrentItem)
{
    build(20, 3, 2);
    click(1);
    ASSERT_EQ(view->current(), 1);
    const int maximum = view->scrollMax();
    EXPECT_EQ(maximum, 7 + 1 - 2);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(view->topRow(), maximum);
    EXPECT_EQ(view->current(), 19);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    EXPECT_EQ(view->topRow(), 0);
    EXPECT_EQ(view->current(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(view->topRow(), 0);
    EXPECT_EQ(view->current(), 3);
    EXPECT_EQ(document.selectedCount(), 1);
}

// Each grid key, pressed on the focused cell, in an album of 20 items shown three across and
// two down: where the current item goes and what is selected after. The current item is on
// screen after every key.
TEST_F(AlbumViewTest, GridKeysMoveTheCurrentItemAndTheSelection)
{
    struct Case {
        const char *name;
        int start; // made current and selected first; -1: none
        QList<QKeyCombination> keys;
        int current;
        QList<int> selected;
    };
    const auto shift = [](Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); };
    const auto control = [](Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); };
    QList<int> everything;
    for (int i = 0; i < 20; ++i)
        everything.append(i);
    const Case cases[] = {
        { "Right moves one", 1, { QKeyCombination(Qt::Key_Right) }, 2, { 2 } },
        { "Left stops at the first", 0, { QKeyCombination(Qt::Key_Left) }, 0, { 0 } },
        { "Down moves a row", 1, { QKeyCombination(Qt::Key_Down) }, 4, { 4 } },
        { "Up stops on the top row", 1, { QKeyCombination(Qt::Key_Up) }, 1, { 1 } },
        { "Down onto a shorter last row", 17, { QKeyCombination(Qt::Key_Down) }, 19, { 19 } },
        { "Down stops on the last row", 18, { QKeyCombination(Qt::Key_Down) }, 18, { 18 } },
        { "Page Down moves a screen", 1, { QKeyCombination(Qt::Key_PageDown) }, 7, { 7 } },
        { "Page Up stops at the first", 4, { QKeyCombination(Qt::Key_PageUp) }, 0, { 0 } },
        { "Home", 10, { QKeyCombination(Qt::Key_Home) }, 0, { 0 } },
        { "End", 2, { QKeyCombination(Qt::Key_End) }, 19, { 19 } },
        { "Shift extends", 4, { shift(Qt::Key_Right), shift(Qt::Key_Right), shift(Qt::Key_Down) },
            9, { 4, 5, 6, 7, 8, 9 } },
        { "Shift turns back over its start", 4,
            { shift(Qt::Key_Right), shift(Qt::Key_Left), shift(Qt::Key_Left) }, 3, { 3, 4 } },
        { "Ctrl moves without selecting", 4, { control(Qt::Key_Right), control(Qt::Key_Down) }, 8,
            { 4 } },
        { "Ctrl+Space adds the current item", 4, { control(Qt::Key_Right), control(Qt::Key_Space) },
            5, { 4, 5 } },
        { "Ctrl+A selects all", 4, { control(Qt::Key_A) }, 4, everything },
        { "The first key with no current item", -1, { QKeyCombination(Qt::Key_Right) }, 0, { 0 } },
    };
    build(20, 3, 2);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        document.selectNone();
        view->selectNoItems();
        view->scrollGrid(ScrollAction::Top);
        if (c.start >= 0)
            view->showCurrent(c.start);
        view->cells()[0]->setFocus();
        for (const QKeyCombination &key : c.keys)
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(view->current(), c.current);
        QList<int> selected;
        for (int i = 0; i < document.itemCount(); ++i) {
            if (document.item(i)->isSelected())
                selected.append(i);
        }
        EXPECT_EQ(selected, c.selected);
        const int cell = view->current() - view->firstVisibleIndex();
        EXPECT_TRUE(cell >= 0 && cell < view->gridSize().cellCount()) << cell;
        EXPECT_TRUE(view->showsFocusFrame());
    }
}

// Enter opens as a double click does, F2 goes to the caption, and a mouse click takes the
// keyboard's focus frame away.
TEST_F(AlbumViewTest, EnterOpensF2EditsTheCaptionAndTheMouseDropsTheFocusFrame)
{
    build(5, 3, 2);
    QSignalSpy opened(view.get(), &CAlbumView::openItemRequested);
    // Tab into the grid puts the keyboard on a cell.
    view->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), cellOf(0));
    click(1);
    EXPECT_FALSE(view->showsFocusFrame());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_TRUE(view->showsFocusFrame());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.first().first().toInt(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    EXPECT_EQ(QApplication::focusWidget(), edit(ViewControl::kCaptionEdit));
    click(3);
    EXPECT_FALSE(view->showsFocusFrame());
}

TEST_F(AlbumViewTest, ClickRulesThroughTheMouse)
{
    build(8, 4, 2);
    click(3);
    EXPECT_EQ(view->current(), 3);
    click(3, Qt::ControlModifier);
    EXPECT_EQ(view->current(), -1);
    EXPECT_EQ(document.selectedCount(), 0);

    click(2);
    click(5, Qt::ShiftModifier);
    EXPECT_EQ(selection(), (QList<bool> { false, false, true, true, true, true, false, false }));
    EXPECT_EQ(view->current(), 2);

    click(7, Qt::ControlModifier);
    EXPECT_EQ(view->current(), 7);
    click(0);
    EXPECT_EQ(document.selectedCount(), 1);
    EXPECT_EQ(view->current(), 0);
}

TEST_F(AlbumViewTest, DragStartsAtTenPixels)
{
    build(4, 3, 2);
    QSignalSpy drags(view.get(), &CAlbumView::dragStarted);
    CellWindow *cell = cellOf(2);
    const QPoint press(40, 40);
    QTest::mousePress(cell, Qt::LeftButton, {}, press);
    auto moveTo = [&](QPoint point) {
        QMouseEvent move(QEvent::MouseMove, point, cell->mapToGlobal(point), Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cell, &move);
    };
    moveTo(press + QPoint(9, 0));
    EXPECT_EQ(drags.count(), 0);
    moveTo(press + QPoint(6, 8)); // exactly 10 pixels away
    EXPECT_EQ(drags.count(), 1);
    // The dragged item was not selected: it became current and the only one selected.
    EXPECT_EQ(view->current(), 2);
    QTest::mouseRelease(cell, Qt::LeftButton, {}, press + QPoint(6, 8));
    EXPECT_EQ(document.selectedCount(), 1);
}

TEST_F(AlbumViewTest, MissingFileShowsTheRedSignAndAnswersDoubleClick)
{
    build(3, 3, 2);
    QFile::remove(paths[1]);
    document.item(1)->setExists(false);
    Q_EMIT document.itemsChanged();
    QSignalSpy opens(view.get(), &CAlbumView::openItemRequested);

    auto redPixels = [](const QImage &image) {
        int red = 0;
        for (int y = 2; y < 14; ++y) {
            for (int x = 2; x < 14; ++x) {
                const QColor colour = image.pixelColor(x, y);
                red += colour.red() > 180 && colour.green() < 90 && colour.blue() < 90;
            }
        }
        return red;
    };
    EXPECT_GT(redPixels(cellOf(1)->grab().toImage()), 8);
    EXPECT_EQ(redPixels(cellOf(0)->grab().toImage()), 0);

    QTest::mouseDClick(cellOf(1), Qt::LeftButton, {}, QPoint(45, 50));
    EXPECT_EQ(host.messageIds(), (QList<int> { 57018 }));
    EXPECT_EQ(opens.count(), 0);
    QTest::mouseDClick(cellOf(0), Qt::LeftButton, {}, QPoint(45, 50));
    EXPECT_EQ(opens.count(), 1);
}

TEST_F(AlbumViewTest, EditFieldsWriteThroughAndMarkTheAlbumModified)
{
    build(3, 3, 2);
    // No current item: the description row edits the album caption.
    QTest::keyClicks(description(), "Trip");
    EXPECT_EQ(document.albumCaption(), "Trip");
    EXPECT_TRUE(document.isModified());
    EXPECT_FALSE(edit(ViewControl::kCaptionEdit)->isEnabled());
    document.markClean();

    click(1);
    EXPECT_TRUE(description()->text().isEmpty());
    QTest::keyClicks(edit(ViewControl::kCaptionEdit), "Dawn");
    QTest::keyClicks(edit(ViewControl::kKeywordsEdit), "sea");
    // The description takes several lines; all three fields keep at most 255 characters.
    QTest::keyClicks(description(), "Boats");
    QTest::keyClick(description(), Qt::Key_Return);
    QTest::keyClicks(description(), "at dawn");
    const ItemInfo *info = document.item(1)->info();
    EXPECT_EQ(fixedText(info->caption), "Dawn");
    EXPECT_EQ(fixedText(info->keywords), "sea");
    EXPECT_EQ(fixedText(info->description), "Boats\nat dawn");
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(edit(ViewControl::kCaptionEdit)->maxLength(), 255);
    description()->selectAll();
    QTest::keyClicks(description(), QString(300, u'x'));
    EXPECT_EQ(fixedText(info->description), QString(255, u'x'));

    // Showing another item fills the fields without writing anything back.
    document.markClean();
    click(2);
    EXPECT_TRUE(edit(ViewControl::kCaptionEdit)->text().isEmpty());
    click(1);
    EXPECT_EQ(edit(ViewControl::kCaptionEdit)->text(), "Dawn");
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(view->informationLine().contains("x 30"));
}

TEST_F(AlbumViewTest, OnlyTheVisibleCellsExistForALargeAlbum)
{
    build(0, 5, 4);
    for (int i = 0; i < 500; ++i) {
        // Items without files are enough to fill the grid.
        const BlockHandle block = blockAlloc(0, sizeof(ItemInfo) + 64);
        document.insertItem(
            std::make_unique<AlbumItem>(block, QStringLiteral("/none/%1.jpg").arg(i), false));
    }
    Q_EMIT document.itemsChanged();
    EXPECT_EQ(view->cells().size(), 20u);
    EXPECT_EQ(view->scrollMax(), 100 + 1 - 4);
    view->scrollGrid(ScrollAction::Bottom);
    EXPECT_EQ(view->cells()[0]->itemIndex(), 97 * 5);
}

// An empty album shows a hint instead of rows of empty frames. A cell whose file name is cut
// shows the whole name in its tool tip; one whose name fits shows none.
TEST_F(AlbumViewTest, EmptyAlbumShowsAHintAndCutNamesHaveATooltip)
{
    build(0, 4, 3);
    const QLabel *hint = view->findChild<QLabel *>("emptyHint");
    ASSERT_TRUE(hint);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "Add files or drop them here");
    const auto visibleCells = [this] {
        return std::count_if(view->cells().cbegin(), view->cells().cend(),
            [](const CellWindow *cell) { return cell->isVisible(); });
    };
    EXPECT_EQ(visibleCells(), 0);

    const QString folder = makeTestFolder(QStringLiteral("names"));
    const QString longName = QStringLiteral("harbour-at-dawn-from-the-north-pier-2026-08-14.jpg");
    for (const QString &name : { longName, QStringLiteral("b.jpg") }) {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        ASSERT_TRUE(picture.save(folder + u'/' + name));
        ASSERT_EQ(document.addFile(folder + u'/' + name), 1);
    }
    Q_EMIT document.itemsChanged();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(visibleCells(), 12);

    const auto askToolTip = [this](int index) {
        const QPoint point(45, 95);
        QHelpEvent help(QEvent::ToolTip, point, cellOf(index)->mapToGlobal(point));
        QApplication::sendEvent(cellOf(index), &help);
    };
    askToolTip(0);
    QTRY_COMPARE(QToolTip::text(), longName);
    QToolTip::hideText();
    QTRY_VERIFY(QToolTip::text().isEmpty());
    askToolTip(1);
    EXPECT_TRUE(QToolTip::text().isEmpty());
}

TEST_F(AlbumViewTest, DeleteKeyAsksForRemove)
{
    build(3, 3, 2);
    QSignalSpy commands(view.get(), &CAlbumView::commandRequested);
    click(0);
    QTest::keyClick(cellOf(0), Qt::Key_Delete);
    EXPECT_EQ(commands.count(), 0); // posted, not sent
    QTRY_COMPARE(commands.count(), 1);
    EXPECT_EQ(commands.first().first().toInt(), Command::kRemove);
}

} // namespace

// A photo's date taken in the info line, its camera facts in Properties, its position a link
// to a map; read from the file, so tagging it after it was added shows too.
TEST_F(AlbumViewTest, DateTakenAndCameraFactsComeFromThePhoto)
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool is needed";
    build(2, 2, 1);
    ASSERT_EQ(runProgram(QStringLiteral("exiftool"),
                  { QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
                      QStringLiteral("-DateTimeOriginal=2020:02:29 18:45:00"),
                      QStringLiteral("-Make=Canon"), QStringLiteral("-Model=Canon EOS 5D"),
                      QStringLiteral("-GPSLatitude=48.8583"), QStringLiteral("-GPSLatitudeRef=N"),
                      QStringLiteral("-GPSLongitude=2.2945"), QStringLiteral("-GPSLongitudeRef=E"),
                      paths[1] })
                  .status,
        0);
    click(1);
    EXPECT_TRUE(view->informationLine().contains(QStringLiteral("2020-02-29 18:45:00")))
        << view->informationLine().toStdString();
    click(0);
    EXPECT_FALSE(view->informationLine().contains(QStringLiteral("2020")));

    QStringList texts;
    QString link;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            texts << label->text();
        if (const auto *map = dialog->findChild<QLabel *>(QStringLiteral("mapLink"))) {
            link = map->text();
            EXPECT_TRUE(map->openExternalLinks());
        }
        dialog->close();
    });
    (void)askItemProperties(view.get(), *document.item(1));
    EXPECT_TRUE(texts.contains(QStringLiteral("Canon EOS 5D"))) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Date taken:")));
    EXPECT_TRUE(link.contains(
        QStringLiteral("https://www.openstreetmap.org/?mlat=48.858300&amp;mlon=2.294500")))
        << link.toStdString();
}
