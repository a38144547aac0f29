#include "iconpicture.h"

#include "albummessages.h"
#include "dibimage.h"
#include "imaging/bmpcodec.h"
#include "platform/host.h"
#include "platform/paths.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>

QString iconPicturePath(const char *name)
{
    return joinPath(resourceFolder(), QString::fromLatin1(name));
}

BlockHandle readIconPicture(const char *name)
{
    const QString path = iconPicturePath(name);
    QFile file(path);
    BlockHandle block = 0;
    if (file.open(QIODevice::ReadOnly)) {
        const DecodeResult read = readBmp(file, false);
        if (read.status == DecodeStatus::Ok)
            block = read.block;
        else if (isBlockHandle(read.block))
            blockFree(read.block);
    }
    if (!isBlockHandle(block))
        host().showMessage(AlbumMessage::kIconPictureMissing, { path }, MessageIcon::Warning);
    return block;
}

BlockHandle shellIconPicture(const QString &path)
{
    static QMimeDatabase mimeDatabase;
    const QMimeType type = mimeDatabase.mimeTypeForFile(path);
    if (!type.isValid() || type.isDefault())
        return 0;
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        return 0;
    constexpr int kSide = 32;
    QImage canvas(kSide, kSide, QImage::Format_RGB888);
    canvas.fill(QColor(192, 192, 192));
    const QPixmap pixmap = icon.pixmap(kSide, kSide);
    if (pixmap.isNull())
        return 0;
    QPainter painter(&canvas);
    painter.drawPixmap(0, 0, pixmap);
    painter.end();
    return imageToDibBlock(canvas);
}
