#pragma once

#include <QString>

namespace glimmerix
{

class CAlbumDoc;
struct ItemInfo;

// Texts the view and the main frame's status bar show about the album and its current item.

// The information line for `info` (string 54015): the media file's date (month, day and the
// full year, read as UTC), its size in kilobytes rounded to nearest, and the source picture's
// width and height.
QString itemInformationLine(const ItemInfo &info);
// The information line with no current item (string 54016 with the item count).
QString albumInformationLine(int itemCount);
// The number box text of the item at `index` (index + 1).
QString cellNumberText(int index);

// The album size pane: string 57000 with the item count and the media files' total size in
// thousands of bytes, or string 57001 with the count when any media file is missing. The sizes
// are read from the files now.
QString albumSizeText(const CAlbumDoc &document);
// The item count pane (string 50342).
QString itemCountText(int itemCount);

} // namespace glimmerix
