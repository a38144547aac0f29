#include "printlayout.h"

#include "album/albumdoc.h"

#include <algorithm>

namespace glimmerix
{

QRect PageGeometry::cellRect(int index) const
{
    if (columns <= 0)
        return {};
    return { left + (index % columns) * cell, band + (index / columns) * cell, cell, cell };
}

PageGeometry pageGeometry(QSize printable, bool portrait, int columns, int rows)
{
    PageGeometry page;
    page.width = printable.width();
    page.height = printable.height();
    page.band = int(0.1 * page.height);
    const int content = page.height - 2 * page.band;
    if (portrait) {
        page.columns = std::max(1, columns);
        page.cell = std::max(1, (page.width - 2) / page.columns);
        page.rows = std::max(1, content / page.cell);
    } else {
        page.rows = std::max(1, rows);
        page.cell = std::max(1, content / page.rows);
        page.columns = std::max(1, page.width / page.cell);
    }
    page.margin = int(0.07 * page.cell);
    page.left = (page.width - page.columns * page.cell) / 2;
    return page;
}

double pictureBoxShare(const PrintOptions &options)
{
    if (options.itemTexts)
        return 0.55;
    if (options.fileNames)
        return 0.64;
    return 0.75;
}

QSize picturePrintSize(QSize source, int cell, double share, bool squareCrop)
{
    const int boxHeight = int(share * cell);
    if (squareCrop)
        return { boxHeight, boxHeight };
    const qint64 u = std::max(1, source.width());
    const qint64 t = std::max(1, source.height());
    qint64 width = 0;
    qint64 height = 0;
    if (t <= u) {
        width = qint64(0.75 * cell);
        height = (t * width + u / 2) / u;
    }
    if (t > u || height > boxHeight) {
        height = boxHeight;
        width = std::max<qint64>(1, (t / 2 + height * u) / t);
    }
    return { int(width), int(std::max<qint64>(1, height)) };
}

QList<int> printedItems(const CAlbumDoc &document, const PrintOptions &options)
{
    QList<int> indexes;
    for (int i = 0; i < document.itemCount(); ++i) {
        const AlbumItem *item = document.item(i);
        if (options.range == PrintOptions::SelectedItems && !item->isSelected())
            continue;
        if (options.range == PrintOptions::NumberedItems
            && (i + 1 < options.from || i + 1 > options.to))
            continue;
        if (!options.includeMedia && item->info() && item->info()->isMedia)
            continue;
        indexes.append(i);
    }
    return indexes;
}

int pageCountFor(int itemCount, int cellsPerPage)
{
    if (itemCount <= 0 || cellsPerPage <= 0)
        return 1;
    return (itemCount + cellsPerPage - 1) / cellsPerPage;
}

} // namespace glimmerix
