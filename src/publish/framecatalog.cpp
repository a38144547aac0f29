#include "framecatalog.h"

#include "postcardformat.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <cstring>

namespace glimmerix
{

using namespace PostcardLayout;

namespace
{

constexpr qint64 kMaxThumbnailBytes = 1 << 20;
constexpr qint64 kPieceBytes = 50000;

const char *const kLanguageNames[kLanguageCount]
    = { "ENGLISH", "FRENCH", "GERMAN", "PORTUGUESE", "SPANISH", "DUTCH", "CHINESE", "JAPANESE",
          "KOREAN", "ITALIAN", "SWEDISH", "TRADITIONAL CHINESE" };

QString zeroTerminated(const char *at, int size)
{
    return QString::fromUtf8(at, qsizetype(strnlen(at, size_t(size))));
}

bool readExactly(QIODevice &device, char *into, qint64 size)
{
    return device.read(into, size) == size;
}

} // namespace

std::optional<FrameCatalog> readFrameCatalog(QIODevice &device, QString *error)
{
    const auto fail = [error](const QString &why) -> std::optional<FrameCatalog> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const qint64 size = device.size();
    QByteArray header(kHeaderSize, '\0');
    if (size < kHeaderSize || !device.seek(0) || !readExactly(device, header.data(), kHeaderSize)
        || std::memcmp(header.constData(), kMagic, sizeof kMagic) != 0)
        return fail(QStringLiteral("not a frame catalog"));
    FrameCatalog catalog;
    for (int n = 0; n < kLanguageCount; ++n)
        catalog.names[n]
            = zeroTerminated(header.constData() + kNameOffset + kNameStride * n, kNameStride);
    const qint64 count = le32(header.constData() + kEntryCountOffset);
    // Every entry takes at least its 280 bytes and its window block.
    if (count > (size - kHeaderSize) / (kEntrySize + kWindowBlockSize))
        return fail(
            QStringLiteral("the catalog claims %1 frames, more than the file holds").arg(count));
    qint64 at = kHeaderSize;
    QByteArray entry(kEntrySize, '\0');
    QByteArray window(kWindowBlockSize, '\0');
    for (qint64 i = 0; i < count; ++i) {
        const QString where = QStringLiteral("frame %1: ").arg(i + 1);
        if (size - at < kEntrySize || !device.seek(at)
            || !readExactly(device, entry.data(), kEntrySize))
            return fail(where + QStringLiteral("the file ends inside its entry"));
        const qint64 thumbnailSize = le32(entry.constData() + kEntryPictureSizeOffset);
        const qint64 frameSize = le32(entry.constData() + kEntryFrameSizeOffset);
        if (le16(entry.constData() + kEntryWindowSizeOffset) != kWindowBlockSize)
            return fail(where + QStringLiteral("the window block has an unknown size"));
        if (thumbnailSize > kMaxThumbnailBytes)
            return fail(where + QStringLiteral("the thumbnail is too large"));
        at += kEntrySize;
        if (size - at < thumbnailSize + kWindowBlockSize + frameSize)
            return fail(where + QStringLiteral("the file is shorter than the entry says"));
        CatalogFrame frame;
        frame.name = zeroTerminated(entry.constData(), kEntryNameSize);
        frame.thumbnail = device.read(thumbnailSize);
        if (frame.thumbnail.size() != thumbnailSize
            || !readExactly(device, window.data(), kWindowBlockSize))
            return fail(where + QStringLiteral("the file cannot be read"));
        const std::optional<QRect> small = windowAt(window.constData());
        const std::optional<QRect> large = windowAt(window.constData() + kLargeWindowOffset);
        if (!small || !large)
            return fail(where + QStringLiteral("a video window lies outside the frame"));
        frame.smallWindow = *small;
        frame.largeWindow = *large;
        at += thumbnailSize + kWindowBlockSize;
        frame.frameOffset = at;
        frame.frameSize = frameSize;
        at += frameSize;
        catalog.frames.append(frame);
    }
    return catalog;
}

std::optional<FrameCatalog> readFrameCatalog(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    std::optional<FrameCatalog> catalog = readFrameCatalog(file, error);
    if (catalog)
        catalog->path = path;
    return catalog;
}

QByteArray readCatalogFrameData(
    const FrameCatalog &catalog, const CatalogFrame &frame, QString *error)
{
    QFile file(catalog.path);
    if (!file.open(QIODevice::ReadOnly) || file.size() - frame.frameOffset < frame.frameSize
        || !file.seek(frame.frameOffset)) {
        if (error)
            *error = QStringLiteral("the catalog cannot be read again");
        return {};
    }
    QByteArray data;
    data.reserve(frame.frameSize);
    while (data.size() < frame.frameSize) {
        const QByteArray piece = file.read(std::min(kPieceBytes, frame.frameSize - data.size()));
        if (piece.isEmpty()) {
            if (error)
                *error = QStringLiteral("the catalog ends inside a frame");
            return {};
        }
        data += piece;
    }
    return data;
}

QString catalogDisplayName(const FrameCatalog &catalog, const QString &languageName)
{
    const QString upper = languageName.trimmed().toUpper();
    for (int n = 1; n < kLanguageCount; ++n) {
        if (upper == QLatin1String(kLanguageNames[n]) && !catalog.names[n].isEmpty())
            return catalog.names[n];
    }
    return catalog.names[0].chopped(std::min<qsizetype>(4, catalog.names[0].size()));
}

QList<FrameCatalog> findFrameCatalogs(const QStringList &folders, QStringList *problems)
{
    QList<FrameCatalog> catalogs;
    QSet<QString> englishNames;
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        const QStringList files
            = QDir(folder).entryList({ QStringLiteral("*.cat") }, QDir::Files, QDir::Name);
        for (const QString &name : files) {
            const QString path = QDir(folder).filePath(name);
            QString error;
            std::optional<FrameCatalog> catalog = readFrameCatalog(path, &error);
            if (!catalog) {
                if (problems)
                    problems->append(path + QStringLiteral(": ") + error);
                continue;
            }
            if (englishNames.contains(catalog->names[0]))
                continue;
            englishNames.insert(catalog->names[0]);
            catalogs.append(*catalog);
        }
    }
    return catalogs;
}

} // namespace glimmerix
