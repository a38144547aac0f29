#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace glimmerix
{

// The thumbnail grid's fixed geometry and the arithmetic around it: how many cells fit, where
// each cell sits, how a window being resized snaps to whole cells, and how far the grid scrolls.
// Everything here is plain arithmetic so it can be checked without a window.

namespace grid
{
inline constexpr int kCellWidth = 90;
inline constexpr int kCellHeight = 108;
inline constexpr int kPitchX = 93;
inline constexpr int kPitchY = 111;
inline constexpr int kOriginX = 8;
inline constexpr int kOriginY = 9;
// The thumbnail sits centred in the square at the top of its cell.
inline constexpr int kThumbSquare = 90;
// A layout outside 0..kMaxCells rows or columns is not applied.
inline constexpr int kMaxCells = 100000;
// The pointer must move at least this far (whole pixels) from the press before a drag starts.
inline constexpr int kDragDistance = 10;
} // namespace grid

struct GridSize {
    int rows = 0;
    int columns = 0;
    int cellCount() const { return rows * columns; }
    bool operator==(const GridSize &) const = default;
};

// The space the view keeps free for other controls: right of the grid (the scroll bar and a
// margin) and below it (the edit rows and the information line).
struct GridReserve {
    int right = 0;
    int bottom = 0;
};

// Which edges of a window the user is dragging while resizing it.
enum class SizingEdge { Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// Rectangle of the cell in `row`, `column`, in view coordinates.
QRect cellRect(int row, int column);

// Rows and columns whose cells fit wholly into a view of `client` size.
GridSize gridForClient(QSize client, GridReserve reserve);

// A layout is applied only when rows and columns are both within 0..kMaxCells.
bool isApplicableGrid(GridSize size);

// Snaps `window` (the frame rectangle being dragged at `edge`) to whole cells. `nonClient` is
// the difference between the frame's size and the view's size, `desktop` the desktop's usable
// size. The dragged edges move; the opposite ones stay. `grid` receives the rows and columns the
// snapped window holds.
QRect snapWindowToCells(const QRect &window, SizingEdge edge, QSize nonClient, GridReserve reserve,
    QSize desktop, GridSize *grid = nullptr);

// Largest allowed top row for `itemCount` items in a grid of `size`: one row past the last
// row holding an item may scroll into view. 0 for a grid without columns or rows to spare.
int scrollMaximum(int itemCount, GridSize size);

// Index of the cell (row-major, 0-based) under `point`, or -1 when the point lies between
// cells or outside the grid.
int cellAt(QPoint point, GridSize size);

// The ways the grid scrolls, in rows.
enum class ScrollAction {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition,
    Top,
    Bottom,
    ThumbTrack
};

// The new top row after `action` from `top`, for a grid of `rows` rows scrolling up to
// `maximum`. `thumb` is the position for ThumbPosition; thumb tracking leaves the top as it is.
int scrolledTop(ScrollAction action, int top, int rows, int maximum, int thumb = 0);

// Whether a press at `press` becomes a drag now that the pointer is at `now`: the whole-pixel
// straight-line distance must be at least kDragDistance.
bool dragDistanceReached(QPoint press, QPoint now);

} // namespace glimmerix
