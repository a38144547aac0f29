#include "responsivehtml.h"

#include "platform/fillin.h"
#include "webalbumhtml.h"

#include <QUrl>

#include <algorithm>

namespace glimmerix
{

namespace
{

// Items at the top of a page load at once: they are in view on any screen, and loading them
// lazily would only delay the first picture a visitor sees.
constexpr int kEagerItems = 4;

QString attribute(const char *name, const QString &value)
{
    return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + htmlText(value) + u'"';
}

QString sizeAttributes(QSize size)
{
    return fillIn(QStringLiteral(" width=\"%1\" height=\"%2\""), size.width(), size.height());
}

// "a.jpg 480w, b.jpg 1280w" for the sizes of `entry` in one format.
QString widthSet(const QList<PictureVariant> &sizes, bool webp)
{
    QStringList set;
    for (const PictureVariant &variant : sizes)
        set.append(QString::fromLatin1(QUrl::toPercentEncoding(webp ? variant.webp : variant.jpeg))
            + QStringLiteral(" %1w").arg(variant.size.width()));
    return set.join(QStringLiteral(", "));
}

QString densitySet(const ResponsiveEntry &entry, bool webp)
{
    const auto link = [webp](const PictureVariant &variant) {
        return QString::fromLatin1(QUrl::toPercentEncoding(webp ? variant.webp : variant.jpeg));
    };
    return link(entry.thumbnail) + QStringLiteral(" 1x, ") + link(entry.thumbnail2x)
        + QStringLiteral(" 2x");
}

QString firstTextOf(const ResponsiveEntry &entry)
{
    return entry.fields[0].isEmpty() ? entry.name : entry.fields[0];
}

// The thumbnail: WebP for the browsers that take it, JPEG for the others, at 1x and 2x.
void writeThumbnail(QString &page, const ResponsiveEntry &entry, bool lazy, bool first)
{
    page += QStringLiteral("<picture>");
    if (!entry.thumbnail.webp.isEmpty())
        page += QStringLiteral("<source type=\"image/webp\"")
            + attribute("srcset", densitySet(entry, true)) + u'>';
    page += QStringLiteral("<img") + attribute("src", entry.thumbnail.jpeg)
        + attribute("srcset", densitySet(entry, false)) + sizeAttributes(entry.thumbnail.size)
        + attribute("alt", firstTextOf(entry))
        + (lazy         ? QStringLiteral(" loading=\"lazy\" decoding=\"async\"")
                : first ? QStringLiteral(" fetchpriority=\"high\"")
                        : QStringLiteral(" decoding=\"async\""))
        + QStringLiteral("></picture>");
}

// The texts the lightbox shows (hidden in the grid): caption, description, keywords, the facts
// and the link to the original.
void writeDetails(
    QString &page, const ResponsiveEntry &entry, const std::array<QString, 3> &fieldLabels)
{
    const bool anyText = std::any_of(entry.fields.cbegin(), entry.fields.cend(),
        [](const QString &text) { return !text.isEmpty(); });
    if (!anyText && entry.facts.isEmpty() && entry.original.isEmpty())
        return;
    page += QStringLiteral("<div class=\"details\" hidden>");
    if (!entry.fields[0].isEmpty())
        page += QStringLiteral("<p class=\"caption\" dir=\"auto\">") + htmlText(entry.fields[0])
            + QStringLiteral("</p>");
    if (!entry.fields[2].isEmpty())
        page += QStringLiteral("<p dir=\"auto\">") + htmlText(entry.fields[2])
            + QStringLiteral("</p>");
    if (!entry.fields[1].isEmpty())
        page += QStringLiteral("<p dir=\"auto\"><span class=\"label\">") + htmlText(fieldLabels[1])
            + QStringLiteral(":</span> ") + htmlText(entry.fields[1]) + QStringLiteral("</p>");
    if (!entry.facts.isEmpty()) {
        page += QStringLiteral("<dl>");
        for (const FactLine &fact : entry.facts)
            page += QStringLiteral("<dt>") + htmlText(fact.label) + QStringLiteral("</dt><dd>")
                + htmlText(fact.value) + QStringLiteral("</dd>");
        page += QStringLiteral("</dl>");
    }
    if (!entry.original.isEmpty())
        page += QStringLiteral("<p><a")
            + attribute("href", QString::fromLatin1(QUrl::toPercentEncoding(entry.original)))
            + QStringLiteral(" download>") + htmlText(entry.original) + QStringLiteral("</a></p>");
    page += QStringLiteral("</div>");
}

void writeItem(QString &page, const WebAlbumOptions &options,
    const std::array<QString, 3> &fieldLabels, const ResponsiveEntry &entry, bool lazy, bool first)
{
    page += QStringLiteral("<li><figure>");
    if (!entry.clip.isEmpty()) {
        const PictureVariant &poster
            = entry.sizes.isEmpty() ? entry.thumbnail2x : entry.sizes.back();
        page += QStringLiteral("<video controls preload=\"none\"")
            + attribute("poster", QString::fromLatin1(QUrl::toPercentEncoding(poster.jpeg)))
            + sizeAttributes(poster.size)
            + attribute("src", QString::fromLatin1(QUrl::toPercentEncoding(entry.clip)))
            + attribute("aria-label", firstTextOf(entry)) + QStringLiteral("></video>");
    } else if (!entry.download.isEmpty()) {
        page += QStringLiteral("<a class=\"file\"")
            + attribute("href", QString::fromLatin1(QUrl::toPercentEncoding(entry.download)))
            + QStringLiteral(" download>");
        writeThumbnail(page, entry, lazy, first);
        page += QStringLiteral("</a>");
    } else {
        const PictureVariant &largest = entry.sizes.back();
        page += QStringLiteral("<a class=\"photo\"")
            + attribute("href", QString::fromLatin1(QUrl::toPercentEncoding(largest.jpeg)))
            + fillIn(QStringLiteral(" data-pswp-width=\"%1\" data-pswp-height=\"%2\""),
                largest.size.width(), largest.size.height())
            + attribute("data-pswp-srcset", widthSet(entry.sizes, false)) + u'>';
        writeThumbnail(page, entry, lazy, first);
        page += QStringLiteral("</a>");
    }
    // The lightbox's texts come before the caption, which must end the figure.
    if (entry.clip.isEmpty() && entry.download.isEmpty())
        writeDetails(page, entry, fieldLabels);
    QStringList lines;
    if (options.showName)
        lines.append(htmlText(entry.name));
    if (options.showSize && entry.bytes > 0)
        lines.append(QString::asprintf("%.1f KB", double(entry.bytes) * 0.001));
    if (!entry.fields[0].isEmpty())
        lines.append(htmlText(entry.fields[0]));
    if (!lines.isEmpty())
        page += QStringLiteral("<figcaption dir=\"auto\">") + lines.join(QStringLiteral("<br>"))
            + QStringLiteral("</figcaption>");
    page += QStringLiteral("</figure></li>\n");
}

void writeNavigation(QString &page, int pageIndex, int pageCount)
{
    if (pageCount <= 1)
        return;
    page += QStringLiteral("<nav aria-label=\"Pages\"><ul class=\"pages\">");
    for (int number = 1; number <= pageCount; ++number) {
        if (number == pageIndex + 1)
            page += fillIn(QStringLiteral("<li><a aria-current=\"page\" href=\"%1\">%2</a></li>"),
                responsivePageName(number), number);
        else
            page += fillIn(QStringLiteral("<li><a href=\"%1\">%2</a></li>"),
                responsivePageName(number), number);
    }
    page += QStringLiteral("</ul></nav>\n");
}

} // namespace

QString responsivePageName(int number)
{
    return number <= 1 ? QStringLiteral("index.html") : QStringLiteral("index%1.html").arg(number);
}

int responsivePageCount(int entries)
{
    return entries <= 0 ? 0 : (entries + kResponsivePerPage - 1) / kResponsivePerPage;
}

QStringList responsiveAssets()
{
    return { QStringLiteral("album.css"), QStringLiteral("album.js"),
        QStringLiteral("photoswipe.css"), QStringLiteral("photoswipe.umd.min.js"),
        QStringLiteral("photoswipe-lightbox.umd.min.js"),
        QStringLiteral("photoswipe-LICENSE.txt") };
}

QByteArray responsivePage(const WebAlbumOptions &options, const std::array<QString, 3> &fieldLabels,
    const QList<ResponsiveEntry> &entries, int pageIndex, const QString &language)
{
    const int pageCount = responsivePageCount(int(entries.size()));
    const qsizetype first = qsizetype(pageIndex) * kResponsivePerPage;
    const qsizetype end = std::min(entries.size(), first + kResponsivePerPage);
    const QString title = options.title.isEmpty() ? QStringLiteral("Album") : options.title;
    const QString summary = entries.size() == 1 ? QStringLiteral("1 picture")
                                                : QStringLiteral("%1 pictures").arg(entries.size());

    QString page;
    page += QStringLiteral("<!DOCTYPE html>\n<html") + attribute("lang", language)
        + QStringLiteral(
            ">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<meta name=\"color-scheme\" content=\"light dark\">\n");
    page += QStringLiteral("<title>") + htmlText(title) + QStringLiteral("</title>\n");
    page += QStringLiteral("<meta name=\"description\"")
        + attribute("content", title + QStringLiteral(": ") + summary) + QStringLiteral(">\n");
    page += QStringLiteral("<meta name=\"generator\" content=\"Glimmerix\">\n");
    page += QStringLiteral("<meta property=\"og:type\" content=\"website\">\n");
    page += QStringLiteral("<meta property=\"og:title\"") + attribute("content", title)
        + QStringLiteral(">\n");
    page += QStringLiteral("<meta property=\"og:description\"") + attribute("content", summary)
        + QStringLiteral(">\n");
    for (const ResponsiveEntry &entry : entries) {
        if (entry.sizes.isEmpty())
            continue;
        // The preview a shared link shows: the first picture at its middle size.
        const PictureVariant &preview
            = entry.sizes.at(std::min<qsizetype>(1, entry.sizes.size() - 1));
        page += QStringLiteral("<meta property=\"og:image\"")
            + attribute("content", QString::fromLatin1(QUrl::toPercentEncoding(preview.jpeg)))
            + fillIn(QStringLiteral(">\n<meta property=\"og:image:width\" content=\"%1\">\n"
                                    "<meta property=\"og:image:height\" content=\"%2\">\n"),
                preview.size.width(), preview.size.height());
        break;
    }
    // No favicon request; the lightbox's style sheet is added by album.js when it starts, so
    // it never holds up the first picture.
    page += QStringLiteral("<link rel=\"icon\" href=\"data:,\">\n"
                           "<link rel=\"stylesheet\" href=\"album.css\">\n</head>\n");
    page += QStringLiteral("<body class=\"%1\">\n<header>\n<h1 dir=\"auto\">")
                .arg(options.cropThumbnails ? QStringLiteral("crop") : QStringLiteral("fit"))
        + htmlText(title) + QStringLiteral("</h1>\n<p>") + summary
        + (pageCount > 1 ? fillIn(QStringLiteral(", page %1 of %2"), pageIndex + 1, pageCount)
                         : QString())
        + QStringLiteral("</p>\n</header>\n<main>\n<ul class=\"grid\" id=\"album\">\n");
    for (qsizetype i = first; i < end; ++i)
        writeItem(page, options, fieldLabels, entries.at(i), i - first >= kEagerItems, i == first);
    page += QStringLiteral("</ul>\n</main>\n");
    writeNavigation(page, pageIndex, pageCount);
    page += QStringLiteral("<script src=\"photoswipe.umd.min.js\" defer></script>\n"
                           "<script src=\"photoswipe-lightbox.umd.min.js\" defer></script>\n"
                           "<script src=\"album.js\" defer></script>\n</body>\n</html>\n");
    return page.toUtf8();
}

} // namespace glimmerix
