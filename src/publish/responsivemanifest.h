#pragma once

#include "responsivealbum.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace glimmerix
{

// The small manifest a site of the responsive theme carries ("album-pictures.json"): for each
// item's key, what its pictures were made from and what was made. Generating again into the
// same folder reuses every item whose source and options are unchanged instead of making its
// pictures again.
inline constexpr const char *kResponsiveManifest = "album-pictures.json";

// What the pictures of an item depend on: the source's path, size and time of change, and the
// options and constants that shape the pictures.
QString responsiveSignature(const QString &sourcePath, bool crop);

struct ManifestItem {
    QString signature;
    ResponsiveEntry entry; // the picture fields and facts only
};
using ResponsiveManifest = QHash<QString, ManifestItem>;

// The manifest of the site in `folder`; empty when there is none or it cannot be read (then
// every picture is made again, nothing is lost).
ResponsiveManifest readResponsiveManifest(const QString &folder);
// The manifest's bytes for `items` with their signatures, keyed by each entry's key.
QByteArray responsiveManifestBytes(
    const QList<ResponsiveEntry> &entries, const QList<QString> &signatures);

// The earlier item of `key` when its signature is `signature` and every picture file it lists
// is still in `folder`.
std::optional<ResponsiveEntry> reusableEntry(const ResponsiveManifest &manifest,
    const QString &folder, const QString &key, const QString &signature);

} // namespace glimmerix
