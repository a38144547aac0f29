#pragma once

#include "responsivealbum.h"
#include "webalbumoptions.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace glimmerix
{

// The pages of the responsive web album theme: HTML5 with a grid that fits any width, pictures
// offered in several sizes and loaded as they scroll into view, and a lightbox. They make no
// request outside the site and work from a disc or any static web host.

// Items per page: few enough that a phone lays a page out at once (Lighthouse's total blocking
// time stays low), many enough that a usual album needs only a few pages; 96 fills its last row
// at 2, 3, 4, 6, 8 and 12 columns.
inline constexpr int kResponsivePerPage = 96;

// "index.html" for page 1, "index2.html", "index3.html", ... after it.
QString responsivePageName(int number);
// Pages for `entries` items (at least 1 when there is any).
int responsivePageCount(int entries);

// The files every site of the theme carries, copied from the "responsive" folder of the program
// folder: its style sheet and script, and the lightbox library with its licence.
QStringList responsiveAssets();
// The folder inside the program folder that holds them.
inline constexpr const char *kResponsiveAssetFolder = "responsive";

// Page `pageIndex` (0 = first) of the album whose items are `entries` in order. `language` is
// the page's language tag ("en", "ja", ...). Every text is escaped and the page is UTF-8.
QByteArray responsivePage(const WebAlbumOptions &options, const std::array<QString, 3> &fieldLabels,
    const QList<ResponsiveEntry> &entries, int pageIndex, const QString &language);

} // namespace glimmerix
