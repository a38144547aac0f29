#include "gridgeometry.h"

#include <algorithm>
#include <cmath>

namespace glimmerix
{

using namespace grid;

QRect cellRect(int row, int column)
{
    return QRect(kOriginX + kPitchX * column, kOriginY + kPitchY * row, kCellWidth, kCellHeight);
}

GridSize gridForClient(QSize client, GridReserve reserve)
{
    // A window snapped to whole cells is columns * 93 + reserve wide and rows * 111 + 9 +
    // reserve high; these divisions give back exactly those counts and never a cut-off cell.
    // The last column may reach into the margin beside the scroll bar (13 pixels).
    const int width = client.width() - reserve.right + 8;
    const int height = client.height() - reserve.bottom - 6;
    GridSize size;
    size.columns = width < 0 ? 0 : width / kPitchX;
    size.rows = height < 0 ? 0 : height / kPitchY;
    return size;
}

bool isApplicableGrid(GridSize size)
{
    return size.rows >= 0 && size.columns >= 0 && size.rows <= kMaxCells
        && size.columns <= kMaxCells;
}

namespace
{

bool movesLeft(SizingEdge edge)
{
    return edge == SizingEdge::Left || edge == SizingEdge::TopLeft
        || edge == SizingEdge::BottomLeft;
}

bool movesTop(SizingEdge edge)
{
    return edge == SizingEdge::Top || edge == SizingEdge::TopLeft || edge == SizingEdge::TopRight;
}

// Floor division that also rounds negative values down.
int floorDiv(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

QRect snapWindowToCells(const QRect &window, SizingEdge edge, QSize nonClient, GridReserve reserve,
    QSize desktop, GridSize *grid)
{
    GridSize size;
    size.rows = floorDiv(window.height() - reserve.bottom - nonClient.height() + 51, kPitchY);
    size.columns = floorDiv(window.width() - reserve.right - nonClient.width() + 42, kPitchX);
    size.rows = std::max(size.rows, 0);
    size.columns = std::max(size.columns, 0);

    auto widthFor
        = [&](int columns) { return columns * kPitchX + reserve.right + nonClient.width(); };
    auto heightFor
        = [&](int rows) { return rows * kPitchY + reserve.bottom + nonClient.height() + kOriginY; };
    int width = widthFor(size.columns);
    int height = heightFor(size.rows);
    if (width > desktop.width() && size.columns > 0)
        width = widthFor(--size.columns);
    if (height > desktop.height() && size.rows > 0)
        height = heightFor(--size.rows);

    QRect snapped = window;
    if (movesLeft(edge))
        snapped.setLeft(window.right() + 1 - width);
    else
        snapped.setWidth(width);
    if (movesTop(edge))
        snapped.setTop(window.bottom() + 1 - height);
    else
        snapped.setHeight(height);
    if (grid)
        *grid = size;
    return snapped;
}

int scrollMaximum(int itemCount, GridSize size)
{
    if (size.columns <= 0 || itemCount <= 0)
        return 0;
    const int usedRows = (itemCount + size.columns - 1) / size.columns;
    return std::max(0, usedRows + 1 - size.rows);
}

int cellAt(QPoint point, GridSize size)
{
    if (point.x() < kOriginX || point.y() < kOriginY)
        return -1;
    const int column = (point.x() - kOriginX) / kPitchX;
    const int row = (point.y() - kOriginY) / kPitchY;
    if (column >= size.columns || row >= size.rows)
        return -1;
    if (!cellRect(row, column).contains(point))
        return -1;
    return row * size.columns + column;
}

int scrolledTop(ScrollAction action, int top, int rows, int maximum, int thumb)
{
    switch (action) {
    case ScrollAction::LineUp:
        return std::max(0, top - 1);
    case ScrollAction::LineDown:
        return std::min(maximum, top + 1);
    case ScrollAction::PageUp:
        return std::max(0, top - rows);
    case ScrollAction::PageDown:
        return std::min(maximum, top + rows);
    case ScrollAction::ThumbPosition:
        return std::clamp(thumb, 0, std::max(0, maximum));
    case ScrollAction::Top:
        return 0;
    case ScrollAction::Bottom:
        return maximum;
    case ScrollAction::ThumbTrack:
        return top;
    }
    return top;
}

bool dragDistanceReached(QPoint press, QPoint now)
{
    const double dx = now.x() - press.x();
    const double dy = now.y() - press.y();
    return static_cast<int>(std::sqrt(dx * dx + dy * dy)) >= kDragDistance;
}

} // namespace glimmerix
