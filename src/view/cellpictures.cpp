#include "cellpictures.h"

#include "album/dibimage.h"
#include "imaging/bmpcodec.h"
#include "platform/paths.h"

#include <QDir>

namespace glimmerix
{

QString cellPictureFolder()
{
    return joinPath(resourceFolder(), QStringLiteral("borders"));
}

CellPictureLists listCellPictures(const QString &folder)
{
    const QDir dir(folder.isEmpty() ? cellPictureFolder() : folder);
    const auto names = [&dir](const QString &pattern) {
        return dir.entryList({ pattern }, QDir::Files | QDir::Readable, QDir::Name);
    };
    return { names(QStringLiteral("*.frm")), names(QStringLiteral("*.bkg")) };
}

QImage loadCellPicture(const QString &name, const QString &folder)
{
    if (name.isEmpty())
        return {};
    const QString path = joinPath(folder.isEmpty() ? cellPictureFolder() : folder, name);
    const DecodeResult decoded = loadBmpFile(path);
    OwnedBlock block(decoded.block);
    return imageFromDibBlock(block.handle());
}

} // namespace glimmerix
