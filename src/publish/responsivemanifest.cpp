#include "responsivemanifest.h"

#include "platform/fillin.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace glimmerix
{

namespace
{

constexpr int kManifestVersion = 1;

QJsonObject variantJson(const PictureVariant &variant)
{
    return { { "width", variant.size.width() }, { "height", variant.size.height() },
        { "jpeg", variant.jpeg }, { "webp", variant.webp } };
}

PictureVariant variantFrom(const QJsonObject &json)
{
    return { QSize(json.value("width").toInt(), json.value("height").toInt()),
        json.value("jpeg").toString(), json.value("webp").toString() };
}

QStringList picturesOf(const ResponsiveEntry &entry)
{
    QStringList names;
    for (const PictureVariant &variant :
        entry.sizes + QList { entry.thumbnail, entry.thumbnail2x }) {
        names.append(variant.jpeg);
        if (!variant.webp.isEmpty())
            names.append(variant.webp);
    }
    return names;
}

} // namespace

QString responsiveSignature(const QString &sourcePath, bool crop)
{
    const QFileInfo info(sourcePath);
    QStringList widths;
    for (int width : kResponsiveWidths)
        widths.append(QString::number(width));
    return fillIn(QStringLiteral("%1|%2|%3|%4|q%5|t%6|%7"), info.absoluteFilePath(), info.size(),
        info.lastModified().toMSecsSinceEpoch(),
        crop ? QStringLiteral("crop") : QStringLiteral("fit"), kResponsiveQuality,
        kResponsiveThumbnail, widths.join(u','));
}

ResponsiveManifest readResponsiveManifest(const QString &folder)
{
    ResponsiveManifest manifest;
    QFile file(folder + u'/' + QLatin1String(kResponsiveManifest));
    if (!file.open(QIODevice::ReadOnly))
        return manifest;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.value("version").toInt() != kManifestVersion)
        return manifest;
    const QJsonObject items = root.value("items").toObject();
    for (auto it = items.begin(); it != items.end(); ++it) {
        const QJsonObject item = it.value().toObject();
        ManifestItem read;
        read.signature = item.value("signature").toString();
        ResponsiveEntry &entry = read.entry;
        entry.key = it.key();
        for (const QJsonValue &size : item.value("sizes").toArray())
            entry.sizes.append(variantFrom(size.toObject()));
        entry.thumbnail = variantFrom(item.value("thumbnail").toObject());
        entry.thumbnail2x = variantFrom(item.value("thumbnail2x").toObject());
        for (const QJsonValue &fact : item.value("facts").toArray()) {
            const QJsonArray pair = fact.toArray();
            entry.facts.append({ pair.at(0).toString(), pair.at(1).toString() });
        }
        if (!read.signature.isEmpty() && !entry.sizes.isEmpty())
            manifest.insert(entry.key, read);
    }
    return manifest;
}

QByteArray responsiveManifestBytes(
    const QList<ResponsiveEntry> &entries, const QList<QString> &signatures)
{
    QJsonObject items;
    for (qsizetype i = 0; i < entries.size() && i < signatures.size(); ++i) {
        const ResponsiveEntry &entry = entries.at(i);
        if (signatures.at(i).isEmpty())
            continue;
        QJsonArray sizes;
        for (const PictureVariant &variant : entry.sizes)
            sizes.append(variantJson(variant));
        QJsonArray facts;
        for (const FactLine &fact : entry.facts)
            facts.append(QJsonArray { fact.label, fact.value });
        items.insert(entry.key,
            QJsonObject { { "signature", signatures.at(i) }, { "sizes", sizes },
                { "thumbnail", variantJson(entry.thumbnail) },
                { "thumbnail2x", variantJson(entry.thumbnail2x) }, { "facts", facts } });
    }
    return QJsonDocument(QJsonObject { { "version", kManifestVersion }, { "items", items } })
        .toJson(QJsonDocument::Compact);
}

std::optional<ResponsiveEntry> reusableEntry(const ResponsiveManifest &manifest,
    const QString &folder, const QString &key, const QString &signature)
{
    const auto found = manifest.constFind(key);
    if (found == manifest.cend() || found->signature != signature)
        return std::nullopt;
    for (const QString &name : picturesOf(found->entry))
        if (name.isEmpty() || name.contains(u'/') || !QFileInfo(folder + u'/' + name).isFile())
            return std::nullopt;
    return found->entry;
}

} // namespace glimmerix
