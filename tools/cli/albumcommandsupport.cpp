#include "albumcommandsupport.h"

#include "clicommand.h"

#include "album/albumfolders.h"
#include "imaging/dib.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cstring>

namespace
{

void printListing(const CAlbumDoc &doc)
{
    cliOut(QStringLiteral("# %1\n").arg(doc.albumCaption()));
    for (int i = 0; i < doc.itemCount(); ++i) {
        const AlbumItem *item = doc.item(i);
        const ItemInfo *info = item->info();
        cliOut(QStringLiteral("%1\t%2x%3\t%4\t%5%6\t%7\n")
                   .arg(i)
                   .arg(info->sourceWidth)
                   .arg(info->sourceHeight)
                   .arg(info->fileSize)
                   .arg(item->path(), item->exists() ? QString() : QStringLiteral(" (missing)"),
                       fixedText(info->description)));
    }
}

QJsonObject itemObject(const AlbumItem &item)
{
    const ItemInfo *info = item.info();
    return QJsonObject {
        { QStringLiteral("path"), fixedText(info->path) },
        { QStringLiteral("fileSize"), qint64(info->fileSize) },
        { QStringLiteral("fileTime"), qint64(info->fileTime) },
        { QStringLiteral("sourceWidth"), info->sourceWidth },
        { QStringLiteral("sourceHeight"), info->sourceHeight },
        { QStringLiteral("sourceBitDepth"), info->sourceBitDepth },
        { QStringLiteral("thumbWidth"), info->thumbWidth },
        { QStringLiteral("thumbHeight"), info->thumbHeight },
        { QStringLiteral("dataSize"), qint64(info->dataSize) },
        { QStringLiteral("isMedia"), info->isMedia != 0 },
        { QStringLiteral("description"), fixedText(info->description) },
        { QStringLiteral("caption"), fixedText(info->caption) },
        { QStringLiteral("keywords"), fixedText(info->keywords) },
        { QStringLiteral("attachmentName"), item.attachmentName() },
        { QStringLiteral("attachmentPath"), item.attachmentPath() },
        { QStringLiteral("exists"), item.exists() },
    };
}

} // namespace

QString openAlbumForCli(CAlbumDoc &doc, const QString &album)
{
    const QString path = albumPathForArgument(album);
    if (!QFileInfo(path).isFile()) {
        cliErr(QStringLiteral("glimix-cli album: %1: no such album\n").arg(path));
        return {};
    }
    if (!doc.onOpenDocument(path))
        return {};
    return path;
}

int indexArgument(const CAlbumDoc &doc, const QString &argument)
{
    bool ok = false;
    const int index = argument.toInt(&ok);
    if (!ok || index < 0 || index >= doc.itemCount()) {
        cliErr(QStringLiteral("glimix-cli album: no item %1 (the album has %2)\n")
                   .arg(argument)
                   .arg(doc.itemCount()));
        return -1;
    }
    return index;
}

AlbumItem *itemArgument(const CAlbumDoc &doc, const QString &argument)
{
    const int index = indexArgument(doc, argument);
    return index < 0 ? nullptr : doc.item(index);
}

bool setItemField(CAlbumDoc &doc, int index, const QString &field, const QString &text)
{
    QString value = text;
    if (field == QLatin1String("description")) {
        doc.itemText(index, value, true);
        return true;
    }
    ItemInfo *info = doc.item(index)->editableInfo();
    char *target = field == QLatin1String("caption") ? info->caption
        : field == QLatin1String("keywords")         ? info->keywords
                                                     : nullptr;
    if (!target) {
        cliErr(QStringLiteral("glimix-cli album: FIELD is description, caption or keywords\n"));
        return false;
    }
    if (fixedText(target, 256) == text)
        return true;
    if (!setFixedText(target, 256, text))
        cliErr(QStringLiteral("glimix-cli album: the text was cut to 255 bytes\n"));
    doc.setModified();
    return true;
}

int sortKeyArgument(const QString &argument)
{
    static const QStringList names = { QStringLiteral("name"), QStringLiteral("extension"),
        QStringLiteral("size"), QStringLiteral("time"), QStringLiteral("description") };
    const qsizetype named = names.indexOf(argument);
    if (named >= 0)
        return int(named);
    bool ok = false;
    const int number = argument.toInt(&ok);
    return ok && number >= 0 && number <= 4 ? number : -1;
}

bool writeThumbnailBitmap(const AlbumItem &item, const QString &path)
{
    if (item.thumbnailImage().isNull()) {
        cliErr(QStringLiteral("glimix-cli album: the item's thumbnail is damaged\n"));
        return false;
    }
    const ItemInfo *info = item.info();
    const QByteArray bitmap(reinterpret_cast<const char *>(info + 1), qsizetype(info->dataSize));
    // BITMAPFILEHEADER: "BM", file size, two reserved words, offset of the pixels.
    QByteArray fileHeader(14, '\0');
    const std::uint32_t fileSize = 14 + info->dataSize;
    const std::uint32_t pixelOffset = 14 + sizeof(BITMAPINFOHEADER);
    fileHeader[0] = 'B';
    fileHeader[1] = 'M';
    std::memcpy(fileHeader.data() + 2, &fileSize, 4);
    std::memcpy(fileHeader.data() + 10, &pixelOffset, 4);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(fileHeader + bitmap) != fileSize
        || !file.commit()) {
        cliErr(QStringLiteral("glimix-cli album: %1: %2\n").arg(path, file.errorString()));
        return false;
    }
    return true;
}

int albumList(const QStringList &args)
{
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    if (rest.size() != 1)
        return cliUsageError(QStringLiteral("album"), QStringLiteral("list takes ALBUM [--json]"));
    CAlbumDoc doc;
    if (openAlbumForCli(doc, rest.first()).isEmpty())
        return 1;
    if (!json) {
        printListing(doc);
        return 0;
    }
    QJsonArray items;
    for (int i = 0; i < doc.itemCount(); ++i)
        items.append(itemObject(*doc.item(i)));
    const QJsonObject album { { QStringLiteral("caption"), doc.albumCaption() },
        { QStringLiteral("items"), items } };
    cliOut(QString::fromUtf8(QJsonDocument(album).toJson(QJsonDocument::Indented)));
    return 0;
}

int albumFacts(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(QStringLiteral("album"), QStringLiteral("facts takes ALBUM"));
    CAlbumDoc doc;
    const QString path = openAlbumForCli(doc, args.first());
    if (path.isEmpty())
        return 1;
    int missing = 0;
    for (int i = 0; i < doc.itemCount(); ++i)
        missing += doc.item(i)->exists() ? 0 : 1;
    cliOut(QStringLiteral("album: %1\ncaption: %2\nitems: %3\nmissing: %4\nmedia bytes: %5\n"
                          "on fixed disks: %6\non optical discs: %7\non removable disks: %8\n"
                          "on network file systems: %9\n")
               .arg(path, doc.albumCaption())
               .arg(doc.itemCount())
               .arg(missing)
               .arg(doc.mediaBytes())
               .arg(doc.driveCount(DriveKind::Fixed))
               .arg(doc.driveCount(DriveKind::Optical))
               .arg(doc.driveCount(DriveKind::Removable))
               .arg(doc.driveCount(DriveKind::Network)));
    cliOut(QStringLiteral("last copy folder: %1\n").arg(doc.lastCopyDestination()));
    return 0;
}
