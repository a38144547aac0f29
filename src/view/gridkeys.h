#pragma once

#include "view/gridgeometry.h"

namespace glimmerix
{

// Where the grid's movement keys take the current item: arrows by one cell, Page Up/Down by a
// screen of cells, Home and End to the first and last item. Nothing here touches the selection.
enum class GridMove { None, Left, Right, Up, Down, PageUp, PageDown, Home, End };

// The move a key makes, None for any other key.
GridMove gridMoveOfKey(int key);

// The item `move` makes current in a list of `count` items shown in `grid`, from `current`
// (-1: none, which starts from `firstVisible`). Moves stop at the list's ends; Down from a row
// above a shorter last row lands on the last item. -1 only for an empty list.
int movedIndex(GridMove move, int current, int count, GridSize grid, int firstVisible);

// The top row that shows item `index` with the fewest rows scrolled from `top`, within
// 0..`maximum`.
int topRowShowing(int index, int top, GridSize grid, int maximum);

} // namespace glimmerix
