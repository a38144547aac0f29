#include "albumcommandsupport.h"

#include "clicommand.h"

#include "pictureproblems.h"

#include "album/albumfolders.h"
#include "imaging/imagecodes.h"
#include "imaging/imagefile.h"
#include "imaging/picturefacts.h"
#include "imaging/picturetypes.h"
#include "platform/fillin.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>

#include <sys/stat.h>

using namespace glimmerix;

namespace
{

void printListing(const CAlbumDoc &doc)
{
    cliOut(QStringLiteral("# %1\n").arg(oneLine(doc.albumCaption())));
    for (int i = 0; i < doc.itemCount(); ++i) {
        const AlbumItem *item = doc.item(i);
        const ItemInfo *info = item->info();
        cliOut(fillIn(QStringLiteral("%1\t%2x%3\t%4\t%5%6\t%7\n"), i, info->sourceWidth,
            info->sourceHeight, info->fileSize, oneLine(item->path()),
            item->exists() ? QString() : QStringLiteral(" (missing)"),
            oneLine(fixedText(info->description))));
    }
}

QJsonObject itemObject(const AlbumItem &item)
{
    const ItemInfo *info = item.info();
    QJsonObject object {
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
    // What the picture file says about itself, read from the file now (the album keeps none of it).
    if (info->isMedia == 0 && item.exists()) {
        const PictureFacts facts = readPictureFacts(item.absolutePath());
        if (facts.orientation != 0)
            object.insert(QStringLiteral("orientation"), facts.orientation);
        const QJsonObject more = pictureFactsJson(facts);
        for (auto it = more.begin(); it != more.end(); ++it)
            object.insert(it.key(), it.value());
    }
    return object;
}

} // namespace

QStringList albumInputFiles(const CAlbumDoc &doc)
{
    QStringList files { doc.pathName() };
    for (int i = 0; i < doc.itemCount(); ++i) {
        const AlbumItem *item = doc.item(i);
        files.append(item->absolutePath());
        if (!item->attachmentPath().isEmpty())
            files.append(item->attachmentPath());
    }
    return files;
}

bool outputSparesInputs(const QString &output, const QStringList &inputs)
{
    struct stat target = {};
    if (::stat(QFile::encodeName(output).constData(), &target) != 0)
        return true; // not there yet: it is no input
    for (const QString &input : inputs) {
        struct stat read = {};
        if (input.isEmpty() || ::stat(QFile::encodeName(input).constData(), &read) != 0)
            continue;
        if (read.st_dev == target.st_dev && read.st_ino == target.st_ino) {
            cliFail(output,
                QStringLiteral("is %1, which the command reads; choose another file").arg(input));
            return false;
        }
    }
    return true;
}

QString oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            line += QStringLiteral("\\\\");
            break;
        case u'\n':
            line += QStringLiteral("\\n");
            break;
        case u'\r':
            line += QStringLiteral("\\r");
            break;
        case u'\t':
            line += QStringLiteral("\\t");
            break;
        default:
            line += c;
        }
    }
    return line;
}

QString openAlbumForCli(CAlbumDoc &doc, const QString &album)
{
    const QString path = albumPathForArgument(album);
    const QFileInfo file(path);
    if (file.isDir()) {
        cliFail(path, QStringLiteral("is a folder"));
        return {};
    }
    if (!file.exists()) {
        cliFail(path, QStringLiteral("no such album"));
        return {};
    }
    // The document reports why an album cannot be opened (in use, not an album, damaged).
    if (!doc.onOpenDocument(path))
        return {};
    return path;
}

QString openAlbumForReading(CAlbumDoc &doc, const QString &album)
{
    doc.setReadOnly(true);
    return openAlbumForCli(doc, album);
}

int indexArgument(const CAlbumDoc &doc, const QString &argument)
{
    bool ok = false;
    const int index = argument.toInt(&ok);
    if (!ok || index < 0 || index >= doc.itemCount()) {
        cliErr(fillIn(QStringLiteral("%1: no item %2 (the album has %3)\n"), cliProgramName(),
            argument, doc.itemCount()));
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
    const ItemField itemField = field == QLatin1String("description") ? ItemField::Description
        : field == QLatin1String("caption")                           ? ItemField::Caption
                                                                      : ItemField::Keywords;
    if (itemField == ItemField::Keywords && field != QLatin1String("keywords")) {
        cliErr(QStringLiteral("%1: FIELD is description, caption or keywords\n")
                   .arg(cliProgramName()));
        return false;
    }
    // The document cuts the text to its field and marks the album modified when it differs.
    doc.setItemText(index, itemField, text);
    if (text.toUtf8().size() > 255)
        cliErr(
            QStringLiteral("%1: %2: the text was cut to 255 bytes\n").arg(cliProgramName(), field));
    return true;
}

int sortKeyArgument(const QString &argument)
{
    static const QStringList names
        = { QStringLiteral("name"), QStringLiteral("extension"), QStringLiteral("size"),
              QStringLiteral("time"), QStringLiteral("description"), QStringLiteral("taken") };
    const qsizetype named = names.indexOf(argument);
    if (named >= 0)
        return int(named);
    bool ok = false;
    const int number = argument.toInt(&ok);
    return ok && number >= 0 && number < names.size() ? number : -1;
}

bool writeThumbnailPicture(const AlbumItem &item, const QString &path)
{
    if (!isWritablePictureType(path)) {
        cliFail(path,
            QStringLiteral("unknown picture type (use %1)")
                .arg(QLatin1String(kWritablePictureTypes)));
        return false;
    }
    // A bitmap the album file cut short reads as zeros: never hand that out as a picture.
    const QByteArray bitmap = item.thumbnailBitmap();
    if (item.thumbnailCut() || thumbnailBitmapImage(*item.info(), bitmap).isNull()) {
        cliFail(item.path(), QStringLiteral("the item's thumbnail is damaged"));
        return false;
    }
    OwnedBlock picture(blockAlloc(0, std::size_t(bitmap.size())));
    if (!picture) {
        cliFail(path, QStringLiteral("not enough memory"));
        return false;
    }
    std::memcpy(blockLock(picture.handle()), bitmap.constData(), std::size_t(bitmap.size()));
    // The writer's own detail names the cause ("disk full", "No such file or directory").
    const WriteResult written = savePicture(picture.handle(), QFileInfo(path).absoluteFilePath());
    if (!written.ok()) {
        cliFail(path, written.detail);
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
    if (openAlbumForReading(doc, rest.first()).isEmpty())
        return 1;
    // A damaged album lists what was recovered, and the listing is not the whole album.
    const int status = doc.loadReport().damaged ? 1 : 0;
    if (!json) {
        printListing(doc);
        return status;
    }
    QJsonArray items;
    for (int i = 0; i < doc.itemCount(); ++i)
        items.append(itemObject(*doc.item(i)));
    const QJsonObject album { { QStringLiteral("caption"), doc.albumCaption() },
        { QStringLiteral("items"), items } };
    cliOut(QString::fromUtf8(QJsonDocument(album).toJson(QJsonDocument::Indented)));
    return status;
}

int albumFacts(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(QStringLiteral("album"), QStringLiteral("facts takes ALBUM"));
    CAlbumDoc doc;
    const QString path = openAlbumForReading(doc, args.first());
    if (path.isEmpty())
        return 1;
    int missing = 0;
    for (int i = 0; i < doc.itemCount(); ++i)
        missing += doc.item(i)->exists() ? 0 : 1;
    cliOut(
        fillIn(QStringLiteral("album: %1\ncaption: %2\nitems: %3\nmissing: %4\nmedia bytes: %5\n"
                              "on fixed disks: %6\non optical discs: %7\non removable disks: %8\n"
                              "on network file systems: %9\n"),
            path, doc.albumCaption(), doc.itemCount(), missing, doc.mediaBytes(),
            doc.driveCount(DriveKind::Fixed), doc.driveCount(DriveKind::Optical),
            doc.driveCount(DriveKind::Removable), doc.driveCount(DriveKind::Network)));
    cliOut(QStringLiteral("last copy folder: %1\n").arg(doc.lastCopyDestination()));
    return doc.loadReport().damaged ? 1 : 0;
}

// "0,3,5-9" as album item indexes in the order given; nothing after a usage error.
std::optional<QList<int>> parseItemList(const QString &command, const QString &text, int itemCount)
{
    QList<int> indexes;
    for (const QString &part : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList ends = part.split(u'-');
        bool firstOk = false;
        bool lastOk = false;
        const int first = ends.value(0).trimmed().toInt(&firstOk);
        const int last = ends.size() == 2 ? ends.at(1).trimmed().toInt(&lastOk) : first;
        if (!firstOk || (ends.size() == 2 && !lastOk) || ends.size() > 2 || first > last
            || first < 0 || last >= itemCount) {
            cliUsageError(command,
                fillIn(
                    QStringLiteral("'%1' is not an item number or range of this album (0 to %2)"),
                    part, itemCount - 1));
            return std::nullopt;
        }
        for (int i = first; i <= last; ++i)
            indexes.append(i);
    }
    return indexes;
}
