#include "viewtexts.h"

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "core/messageids.h"
#include "platform/strings.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>

namespace glimmerix
{

QString itemInformationLine(const ItemInfo &info)
{
    const QDateTime time = QDateTime::fromSecsSinceEpoch(info.fileTime, QTimeZone::utc());
    const QDate date = time.date();
    const quint64 kilobytes = (quint64(info.fileSize) + 512) / 1024;
    return formatString(Message::kItemInformation,
        { QString::number(date.month()), QString::number(date.day()), QString::number(date.year()),
            QString::number(kilobytes), QString::number(info.sourceWidth),
            QString::number(info.sourceHeight) });
}

QString albumInformationLine(int itemCount)
{
    return formatString(Message::kAlbumInformation, { QString::number(itemCount) });
}

QString cellNumberText(int index)
{
    return QString::number(index + 1);
}

QString albumSizeText(const CAlbumDoc &document)
{
    qint64 total = 0;
    bool allFound = true;
    for (int i = 0; i < document.itemCount(); ++i) {
        const QFileInfo file(document.item(i)->absolutePath());
        if (!file.exists()) {
            allFound = false;
            break;
        }
        total += file.size();
    }
    const QString count = QString::number(document.itemCount());
    if (!allFound)
        return formatString(Message::kAlbumSizeSomeMissing, { count });
    return formatString(Message::kAlbumSizeAllFound, { count, QString::number(total / 1000) });
}

QString itemCountText(int itemCount)
{
    return formatString(Message::kItemCount, { QString::number(itemCount) });
}

} // namespace glimmerix
