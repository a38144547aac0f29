#pragma once

#include <QString>
#include <QStringList>

namespace glimmerix
{

class CAlbumDoc;

// Conversion of albums of the older layout (read only, never written): a 144-byte header (record
// count at offset 8, caption at 16) and 288-byte records (media path at 8, description at 136).

inline constexpr int kOldAlbumHeaderSize = 144;
inline constexpr int kOldAlbumRecordSize = 288;

struct OldAlbumConversion {
    int items = 0; // items in the converted album
    QString savedPath; // where it was saved; empty when nothing was saved
};

// Converts one older album into `document` (started afresh after its unsaved changes were offered
// for saving; a refusal converts nothing) and saves it as albums folder + the
// source's base name + ".gmx". A missing media file is offered through the host (message 59003:
// Yes adds it anyway, No skips it, Cancel ends this file); an existing output asks message 59002
// (Yes replaces it).
OldAlbumConversion convertOldAlbum(CAlbumDoc &document, const QString &oldPath);
// Converts each existing file in turn with a progress window; returns the saved album paths.
QStringList convertOldAlbums(CAlbumDoc &document, const QStringList &oldPaths);

} // namespace glimmerix
