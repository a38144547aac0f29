#pragma once

#include "webalbumoptions.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>

namespace glimmerix
{

// The look of a web album theme: its background picture and its first, previous, next and last
// page buttons (names without ".gif"; none for theme 0, which uses text links) and whether the
// text is white.
struct WebAlbumTheme {
    const char *background;
    std::array<const char *, 4> buttons;
    bool whiteText;
};
const WebAlbumTheme &webAlbumTheme(int theme);

// One thumbnail cell: the file its link opens, the thumbnail file and size, and the caption
// lines under it (plain text).
struct AlbumCell {
    QString link;
    QString thumbnail;
    QSize size;
    QStringList captions;
    // The link offers its file for download instead of opening it: a clip of today's types
    // that browsers cannot play.
    bool download = false;
};

// The texts a page needs besides the options: from the language bundle and the system.
struct PageTexts {
    QString languageName; // English name of the system language ("Korean", ...)
    std::array<QString, 4> navigation; // first, previous, next and last page link texts
    QString closing; // written as it is (HTML)
    QString pageNumberFormat; // printf format with the page number and the page count
    QString creditAddress; // where the credit logo links to
};
// The texts from the bundle (strings 50520-50523, 50487, 50488) and the system language.
PageTexts bundlePageTexts();

// The file name of page `number` (1, 2, ...): "album%i.html".
QString webAlbumPageName(int number);

// Text made safe inside HTML: & < > " and ' written as character references.
QString htmlText(const QString &text);
// A file name made into a relative link: percent-encoded as a URL path, then made HTML-safe.
QString htmlLink(const QString &fileName);

// Page `pageIndex` (0 = first) of a web album whose thumbnails are `cells` in order: the head,
// the body start of the theme, the table of this page's cells, the navigation between pages and
// the closing with the page number and the credit line. Texts are UTF-8 and escaped; the page
// declares its charset.
QByteArray webAlbumPage(const WebAlbumOptions &options, const PageTexts &texts,
    const QList<AlbumCell> &cells, int pageIndex);

// The theme button files page `pageIndex` of `pageCount` links with, in the order they appear
// (first, previous, next, last page), without ".gif"; none for theme 0 or a single page.
QStringList pageButtons(int theme, int pageIndex, int pageCount);

// The credit logo: its name in the program folder and in the site.
inline constexpr const char *kCreditLogoSource = "orvanta.log";
inline constexpr const char *kCreditLogo = "orvanta.gif";

} // namespace glimmerix
