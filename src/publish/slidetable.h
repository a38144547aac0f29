#pragma once

#include <QList>
#include <QString>

namespace glimmerix
{

class CAlbumDoc;

// One slide of a presentation: the picture's path, its caption (the item's notes, at most 127
// characters) and the item's attached sound (empty when it has none).
struct SlideRow {
    QString path;
    QString caption;
    QString soundPath;
};

inline constexpr int kMaxCaptionCharacters = 127;

// The slides of `document`'s items in album order.
QList<SlideRow> buildSlideTable(const CAlbumDoc &document);
// Whether any item's media file exists (a show needs at least one).
bool anyItemFileExists(const CAlbumDoc &document);
// Whether any slide has an attached sound.
bool anySlideHasSound(const QList<SlideRow> &slides);

} // namespace glimmerix
