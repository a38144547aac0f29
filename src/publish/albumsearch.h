#pragma once

#include "album/albumformat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace glimmerix
{

class CAlbumDoc;
class Progress;

// The most albums one search reads.
inline constexpr int kMaxSearchAlbums = 10000;

// Which texts of an item a search looks in, and whether letter case counts.
struct SearchFields {
    bool fileName = true;
    bool field1 = true; // the first text field (the caption)
    bool field2 = true; // the second text field (the keywords)
    bool notes = true; // the third text field (the description)
    bool matchCase = false;
};

// Whether `text` occurs literally (no wildcards) in one of the item's texts `fields` names.
// Without match case both sides are folded to upper case first, so "ü" finds "Ü".
bool itemMatchesSearch(const ItemInfo &info, const QString &text, const SearchFields &fields);

// One item found: its thumbnail block's bytes (the item record, name made absolute, followed by
// the thumbnail bitmap) and the attached sound's record.
struct FoundItem {
    QByteArray block;
    AttachmentRecord attachment {};
    QString path() const;
};

struct SearchRequest {
    QStringList albumPaths; // the album files to read, in order
    QString targetPath; // the album that receives the results: never searched
    QString text;
    SearchFields fields;
};

// Reads every album of `request` in raw mode (an album that cannot be opened is skipped) and
// returns the matching items in the order found. The results stay in memory, private to this
// search, so two searches at once never see each other's items. `progress` (may be null) gets the
// album's path as text and its index as position.
std::vector<FoundItem> searchAlbums(const SearchRequest &request, Progress *progress = nullptr);

// Appends the found items to `document` in order; an item whose file is already in the album
// is left out. Returns how many were added.
int appendFoundItems(CAlbumDoc &document, const std::vector<FoundItem> &found);

// The album file a search list entry stands for: the remembered outside album for an entry
// ending in "*", else albums folder + entry + ".gmx".
QString searchAlbumPath(
    const QString &entry, const QString &albumsFolder, const QString &outsidePath);

} // namespace glimmerix
