#pragma once

#include "printlayout.h"
#include "printoptions.h"

#include <QImage>
#include <QList>
#include <QStringList>

class QPainter;

namespace glimmerix
{

class CAlbumDoc;
class AlbumItem;

// Lays out and paints contact sheets: title band, a grid of square cells (decoration, picture,
// outline, labels), page number and footer. It paints with any QPainter, so the same pages go to a
// printer, a print preview, a PDF file or an image. Full pictures are opened one cell at a time
// and let go after drawing, so a print run holds at most one decoded picture besides the page.
class ContactSheet
{
public:
    // `fieldLabels` are the caption, keywords and description labels the view shows.
    ContactSheet(const CAlbumDoc &document, const PrintOptions &options,
        const QStringList &fieldLabels, const QString &cellPictureFolder = {});

    // Lays the pages out for a printable area of `printable` device units at `dotsPerInch`
    // horizontally; `portrait` when the paper is narrower than it is high.
    void layout(QSize printable, bool portrait, int dotsPerInch);
    const PageGeometry &geometry() const { return m_page; }
    const QList<int> &items() const { return m_items; }
    int pageCount() const;
    // Whether cells print the item's full picture (high quality on a printer above 200 dpi).
    bool usesFullPictures() const;
    // Paints page `page` (0-based) with `painter`, whose origin is the printable area's corner.
    void paintPage(QPainter &painter, int page) const;

    // The picture a cell shows for `item`: the full picture when `full` and the file is there and
    // is not a media item, else (or when it cannot be opened) the thumbnail. `problem` says why
    // a wanted full picture could not be had.
    static QImage cellPicture(const AlbumItem &item, bool full, QString *problem = nullptr);
    // The items painted so far whose file is missing, or whose full picture was wanted and could
    // not be read ("file: cause"): their thumbnails stand in for them.
    const QStringList &problems() const { return m_problems; }

private:
    void paintBands(QPainter &painter, int page) const;
    void paintCell(QPainter &painter, const QRect &cell, const AlbumItem &item) const;
    void paintLabels(
        QPainter &painter, const QRect &cell, const QRect &picture, const AlbumItem &item) const;

    const CAlbumDoc &m_document;
    PrintOptions m_options;
    QStringList m_fieldLabels;
    QImage m_decoration; // the 600 x 600 cell decoration, made once per run
    QList<int> m_items;
    PageGeometry m_page;
    int m_dotsPerInch = 72;
    mutable QStringList m_problems;
};

} // namespace glimmerix
