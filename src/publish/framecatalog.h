#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QIODevice;

namespace glimmerix
{

// One frame of a catalog: its name, a 75 x 55 thumbnail, where the video window lies for each
// window size, and where its frame data (a whole picture file) lies in the catalog file.
struct CatalogFrame {
    QString name;
    QByteArray thumbnail; // a picture file (BMP or PNG) or a packed 24-bit bitmap
    QRect smallWindow;
    QRect largeWindow;
    qint64 frameOffset = 0;
    qint64 frameSize = 0;
};

// A frame catalog "*.cat" (layout in docs/CATALOGS.md): its name in each language and its frames.
struct FrameCatalog {
    QString path;
    std::array<QString, 12> names; // 0 English, 1 French, ... 11 Traditional Chinese
    QList<CatalogFrame> frames;
};

// Reads a catalog's header, entries and thumbnails from `device`; the frame data is left in the
// file. Catalogs may come from anywhere: the entry count and every size are checked against the
// bytes the device holds before anything is allocated. Empty with `error` set when not.
std::optional<FrameCatalog> readFrameCatalog(QIODevice &device, QString *error);
std::optional<FrameCatalog> readFrameCatalog(const QString &path, QString *error);

// The frame data of `frame`, read again from the catalog's file. Empty with `error` set when the
// file changed or cannot be read.
QByteArray readCatalogFrameData(
    const FrameCatalog &catalog, const CatalogFrame &frame, QString *error);

// The name a catalog shows for the interface language named by `languageName` ("ENGLISH",
// "FRENCH", ...): for English the stored English name without its last 4 characters.
QString catalogDisplayName(const FrameCatalog &catalog, const QString &languageName);

// The readable catalogs of `folders` in order (files "*.cat", by name), dropping a catalog whose
// English name equals one already listed. Each catalog that cannot be read adds
// "FILE: cause" to `problems`.
QList<FrameCatalog> findFrameCatalogs(const QStringList &folders, QStringList *problems);

} // namespace glimmerix
