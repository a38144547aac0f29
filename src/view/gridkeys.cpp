#include "gridkeys.h"

#include <QtGlobal>

#include <algorithm>

namespace glimmerix
{

GridMove gridMoveOfKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return GridMove::Left;
    case Qt::Key_Right:
        return GridMove::Right;
    case Qt::Key_Up:
        return GridMove::Up;
    case Qt::Key_Down:
        return GridMove::Down;
    case Qt::Key_PageUp:
        return GridMove::PageUp;
    case Qt::Key_PageDown:
        return GridMove::PageDown;
    case Qt::Key_Home:
        return GridMove::Home;
    case Qt::Key_End:
        return GridMove::End;
    default:
        return GridMove::None;
    }
}

int movedIndex(GridMove move, int current, int count, GridSize grid, int firstVisible)
{
    if (count <= 0)
        return -1;
    const int last = count - 1;
    const int columns = std::max(1, grid.columns);
    const int page = columns * std::max(1, grid.rows);
    if (current < 0 || current > last) {
        // The first key press only shows where the keyboard is; End still means the end.
        return move == GridMove::End ? last
            : move == GridMove::Home ? 0
                                     : std::clamp(firstVisible, 0, last);
    }
    switch (move) {
    case GridMove::None:
        return current;
    case GridMove::Left:
        return std::max(0, current - 1);
    case GridMove::Right:
        return std::min(last, current + 1);
    case GridMove::Up:
        return current >= columns ? current - columns : current;
    case GridMove::Down:
        return current / columns < last / columns ? std::min(last, current + columns) : current;
    case GridMove::PageUp:
        return std::max(0, current - page);
    case GridMove::PageDown:
        return std::min(last, current + page);
    case GridMove::Home:
        return 0;
    case GridMove::End:
        return last;
    }
    return current;
}

int topRowShowing(int index, int top, GridSize grid, int maximum)
{
    if (index < 0 || grid.columns <= 0 || grid.rows <= 0)
        return top;
    const int row = index / grid.columns;
    if (row < top)
        top = row;
    else if (row >= top + grid.rows)
        top = row - grid.rows + 1;
    return std::clamp(top, 0, std::max(0, maximum));
}

} // namespace glimmerix
