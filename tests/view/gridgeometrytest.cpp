#include "view/gridgeometry.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

TEST(GridGeometry, CellsSitAtTheirPitch)
{
    EXPECT_EQ(cellRect(0, 0), QRect(8, 9, 90, 108));
    EXPECT_EQ(cellRect(2, 3), QRect(8 + 3 * 93, 9 + 2 * 111, 90, 108));
}

struct ScrollMaximumCase {
    const char *name;
    int items;
    GridSize size;
    int maximum;
};

TEST(GridGeometry, ScrollMaximum)
{
    const ScrollMaximumCase cases[] = {
        { "seven items in 3x2", 7, { 2, 3 }, 2 },
        { "four items in 3x2", 4, { 2, 3 }, 1 },
        { "three items fill one row", 3, { 2, 3 }, 0 },
        { "empty album", 0, { 2, 3 }, 0 },
        { "grid taller than needed", 5, { 6, 3 }, 0 },
        { "no columns", 10, { 2, 0 }, 0 },
        { "ten thousand items", 10000, { 5, 8 }, 1250 + 1 - 5 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(scrollMaximum(c.items, c.size), c.maximum) << c.name;
}

TEST(GridGeometry, ScrollingStaysWithinRange)
{
    struct Case {
        const char *name;
        ScrollAction action;
        int top;
        int expected;
    };
    // 3 rows, maximum 4.
    const Case cases[] = {
        { "line up at top", ScrollAction::LineUp, 0, 0 },
        { "line down", ScrollAction::LineDown, 1, 2 },
        { "line down at maximum", ScrollAction::LineDown, 4, 4 },
        { "page down past the end", ScrollAction::PageDown, 2, 4 },
        { "page up past the start", ScrollAction::PageUp, 2, 0 },
        { "page up", ScrollAction::PageUp, 4, 1 },
        { "home", ScrollAction::Top, 3, 0 },
        { "end", ScrollAction::Bottom, 0, 4 },
        { "thumb tracking is ignored", ScrollAction::ThumbTrack, 2, 2 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(scrolledTop(c.action, c.top, 3, 4), c.expected) << c.name;
    EXPECT_EQ(scrolledTop(ScrollAction::ThumbPosition, 0, 3, 4, 3), 3);
    EXPECT_EQ(scrolledTop(ScrollAction::ThumbPosition, 0, 3, 4, 9), 4);
}

TEST(GridGeometry, HitTestFindsCellsAndGaps)
{
    const GridSize size { 2, 3 };
    EXPECT_EQ(cellAt({ 8, 9 }, size), 0);
    EXPECT_EQ(cellAt({ 97, 116 }, size), 0); // bottom-right pixel of cell 0
    EXPECT_EQ(cellAt({ 99, 50 }, size), -1); // gap between columns
    EXPECT_EQ(cellAt({ 8 + 93 * 2 + 5, 9 + 111 + 5 }, size), 5);
    EXPECT_EQ(cellAt({ 8 + 93 * 3 + 5, 20 }, size), -1); // past the last column
    EXPECT_EQ(cellAt({ 20, 9 + 111 * 2 + 5 }, size), -1); // past the last row
    EXPECT_EQ(cellAt({ 2, 2 }, size), -1);
}

TEST(GridGeometry, DragStartsAtTenPixels)
{
    EXPECT_FALSE(dragDistanceReached({ 50, 50 }, { 59, 50 }));
    EXPECT_TRUE(dragDistanceReached({ 50, 50 }, { 60, 50 }));
    EXPECT_FALSE(dragDistanceReached({ 50, 50 }, { 57, 57 })); // 9.9 pixels
    EXPECT_TRUE(dragDistanceReached({ 50, 50 }, { 42, 44 })); // exactly 10
}

TEST(GridGeometry, ClientSizeGivesWholeCells)
{
    const GridReserve reserve { 30, 70 };
    // A view snapped to 4 columns and 3 rows.
    const QSize snapped(4 * 93 + 30, 3 * 111 + 9 + 70);
    EXPECT_EQ(gridForClient(snapped, reserve), (GridSize { 3, 4 }));
    // The last cells still fit a few pixels narrower or lower (the margin beside the scroll
    // bar and below the last row), and no further.
    EXPECT_EQ(gridForClient(snapped - QSize(8, 3), reserve), (GridSize { 3, 4 }));
    EXPECT_EQ(gridForClient(snapped - QSize(9, 4), reserve), (GridSize { 2, 3 }));
    EXPECT_EQ(gridForClient(QSize(10, 10), reserve), (GridSize { 0, 0 }));
    EXPECT_FALSE(isApplicableGrid({ -1, 3 }));
    EXPECT_FALSE(isApplicableGrid({ 3, 100001 }));
    EXPECT_TRUE(isApplicableGrid({ 0, 0 }));
}

TEST(GridGeometry, SizingSnapsTheDraggedEdge)
{
    const GridReserve reserve { 30, 70 };
    const QSize nonClient(10, 100);
    const QSize desktop(1024, 740);
    struct Case {
        const char *name;
        QRect window;
        SizingEdge edge;
        QRect expected;
        GridSize grid;
    };
    // Width 500: (500 - 30 - 10 + 42) / 93 = 5 columns -> 5*93+40 = 505.
    // Height 520: (520 - 70 - 100 + 51) / 111 = 3 rows -> 3*111+170+9 = 512.
    const Case cases[] = {
        { "bottom-right", QRect(100, 50, 500, 520), SizingEdge::BottomRight,
            QRect(100, 50, 505, 512), { 3, 5 } },
        { "left edge keeps the right", QRect(100, 50, 500, 520), SizingEdge::Left,
            QRect(95, 50, 505, 512), { 3, 5 } },
        { "top-left keeps bottom-right", QRect(100, 50, 500, 520), SizingEdge::TopLeft,
            QRect(95, 58, 505, 512), { 3, 5 } },
        { "wider than the desktop drops a column", QRect(0, 0, 1100, 520), SizingEdge::Right,
            QRect(0, 0, 10 * 93 + 40, 512), { 3, 10 } },
        { "taller than the desktop drops a row", QRect(0, 0, 500, 800), SizingEdge::Bottom,
            QRect(0, 0, 505, 5 * 111 + 179), { 5, 5 } },
    };
    for (const auto &c : cases) {
        GridSize grid;
        EXPECT_EQ(
            snapWindowToCells(c.window, c.edge, nonClient, reserve, desktop, &grid), c.expected)
            << c.name;
        EXPECT_EQ(grid, c.grid) << c.name;
    }
}

} // namespace
