#pragma once

#include "imaging/blockmemory.h"

#include <QString>
#include <QStringList>

namespace glimmerix
{

// Texts a picture brings with it: on import, the keywords (XMP dc:subject, IPTC Keywords) fill
// the item's keywords and the XMP title and description (or the IPTC object name and caption)
// its caption and description, each only when empty and cut to the record's field at a
// character boundary. The picture file is only read, never written.

// Fills the empty text fields of the record at the start of `thumbnail` (a new item's block) from
// the picture file at `path`. Does nothing for clips, sounds and other files.
void fillTextsFromPicture(BlockHandle thumbnail, const QString &path);

// The keywords as one field text of at most `maxBytes` UTF-8 bytes: whole keywords joined by
// ", " while they fit (a first keyword longer than the field is cut at a character boundary).
QString keywordsFieldText(const QStringList &keywords, int maxBytes);

} // namespace glimmerix
