#pragma once

#include "printoptions.h"

#include <QList>
#include <QRect>
#include <QSize>

namespace glimmerix
{

class CAlbumDoc;

// The arithmetic of a contact sheet, in device units of the page's printable area: the bands,
// the square cells and the picture box in a cell. Plain integers, so tests check it without a
// printer.

struct PageGeometry {
    int width = 0; // printable width W
    int height = 0; // printable height H
    int band = 0; // m: the title band and the footer band
    int columns = 0;
    int rows = 0;
    int cell = 0; // g: side of a square cell
    int margin = 0; // 7 % of the cell
    int left = 0; // left offset of the grid
    int cellsPerPage() const { return columns * rows; }
    // The cell `index` (row by row) of a page.
    QRect cellRect(int index) const;
};

// The grid of a page of `printable` size. Portrait pages keep `columns` and fit the rows to the
// height; landscape pages keep `rows` and fit the columns to the width. A page too small for one
// cell gets at least one row and one column.
PageGeometry pageGeometry(QSize printable, bool portrait, int columns, int rows);

// Share of the cell height the picture box takes: 0.55 with item texts, 0.64 with file names,
// 0.75 otherwise.
double pictureBoxShare(const PrintOptions &options);

// The size a `source` picture is drawn at in a cell of side `cell` whose picture box takes
// `share` of its height (the width box is 0.75 of the cell).
QSize picturePrintSize(QSize source, int cell, double share, bool squareCrop);

// The item indexes a run prints, in album order: all, the selected ones or the numbered ones;
// media items are left out unless included.
QList<int> printedItems(const CAlbumDoc &document, const PrintOptions &options);

// Pages needed for `itemCount` items on pages of `cellsPerPage` cells (at least one page).
int pageCountFor(int itemCount, int cellsPerPage);

} // namespace glimmerix
