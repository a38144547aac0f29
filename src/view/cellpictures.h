#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace glimmerix
{

// The cell decoration pictures of contact sheets: border pictures ("*.frm") and background
// pictures ("*.bkg"), Windows bitmaps in the "borders" folder of the resource folder.
struct CellPictureLists {
    QStringList borders; // file names, sorted
    QStringList backgrounds;
};

// The folder the cell pictures are listed from.
QString cellPictureFolder();
// The "*.frm" and "*.bkg" files of `folder` (cellPictureFolder() when empty).
CellPictureLists listCellPictures(const QString &folder = {});
// Cell picture `name` of `folder` read with the bitmap reader; a null image when it is missing or
// cannot be read.
QImage loadCellPicture(const QString &name, const QString &folder = {});

} // namespace glimmerix
