// glimix-cli print ALBUM OUT.pdf [options]: prints an album's contact sheets into a PDF file with
// the same page code as the Print command.

#include "albumcommandsupport.h"
#include "clicommand.h"
#include "optionreader.h"

#include "core/appsettings.h"
#include "imaging/picturestatus.h"
#include "platform/fillin.h"
#include "view/cellpictures.h"
#include "view/contactsheet.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <memory>
#include <optional>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("print");
// The PDF's resolution: above 200 dots per inch, so high quality prints full pictures.
constexpr int kPdfDotsPerInch = 300;
// The margin a printer cannot print on, kept clear in the PDF as well.
constexpr qreal kMarginMillimetres = 10;

struct Arguments {
    QString album;
    QString output;
    std::optional<QString> items;
    std::optional<int> columns;
    std::optional<int> rows;
    bool landscape = false;
    bool allowMissing = false;
    QPageSize::PageSizeId page = QPageSize::A4;
    PrintOptions options;
};

// The grid choice whose cell count is `cells` (4, 3 or 2).
std::optional<int> gridFor(int cells)
{
    for (int grid : { PrintOptions::Grid4, PrintOptions::Grid3, PrintOptions::Grid2 }) {
        if (gridChoice(grid).cells == cells)
            return grid;
    }
    return std::nullopt;
}

QPageSize::PageSizeId localePageSize()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                              : QPageSize::A4;
}

std::optional<Arguments> parseArguments(const QStringList &args)
{
    Arguments parsed;
    parsed.page = localePageSize();
    parsed.options.itemTexts = true;
    parsed.options.pageNumbers = false;
    const auto cells = [](const char *name, std::optional<int> &target) {
        return cliValue(name, [name, &target](const QString &value) {
            target = gridFor(value.toInt());
            if (!target)
                cliUsageError(
                    kCommand, QLatin1StringView(name) + QStringLiteral(" takes 2, 3 or 4"));
            return target.has_value();
        });
    };
    PrintOptions &options = parsed.options;
    const std::optional<QStringList> positional = readCliOptions(kCommand, args,
        { cliText("--items", parsed.items), cells("--columns", parsed.columns),
            cells("--rows", parsed.rows),
            cliFlag("--landscape", [&parsed] { parsed.landscape = true; }),
            cliFlag("--allow-missing", [&parsed] { parsed.allowMissing = true; }),
            cliValue("--quality",
                [&options](const QString &value) {
                    if (value != QLatin1String("0") && value != QLatin1String("1")) {
                        cliUsageError(kCommand, QStringLiteral("--quality takes 0 or 1"));
                        return false;
                    }
                    options.highQuality = value == QLatin1String("1");
                    return true;
                }),
            cliFlag("--no-media", [&options] { options.includeMedia = false; }),
            cliFlag("--file-names",
                [&options] {
                    options.itemTexts = false;
                    options.fileNames = true;
                }),
            cliFlag("--page-numbers", [&options] { options.pageNumbers = true; }),
            cliText("--title", options.title), cliText("--footer", options.footer),
            cliText("--border", options.borderName),
            cliText("--background", options.backgroundName),
            cliValue("--page", [&parsed](const QString &value) {
                if (value.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0) {
                    parsed.page = QPageSize::A4;
                } else if (value.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0) {
                    parsed.page = QPageSize::Letter;
                } else {
                    cliUsageError(kCommand, QStringLiteral("--page takes a4 or letter"));
                    return false;
                }
                return true;
            }) });
    if (!positional)
        return std::nullopt;
    if (positional->size() != 2) {
        cliUsageError(kCommand, QStringLiteral("give an album and an output file"));
        return std::nullopt;
    }
    // Portrait pages keep the columns and landscape pages the rows, as the dialog's grid does.
    const std::optional<int> kept = parsed.landscape ? parsed.rows : parsed.columns;
    parsed.options.grid = kept.value_or(parsed.columns.value_or(parsed.rows.value_or(0)));
    parsed.album = positional->at(0);
    parsed.output = QFileInfo(positional->at(1)).absoluteFilePath();
    return parsed;
}

// Checks that a named border or background is one of the listed cell pictures.
bool knownCellPicture(const QString &name, const QStringList &names, const QString &option)
{
    if (name.isEmpty() || names.contains(name))
        return true;
    cliUsageError(kCommand,
        QStringLiteral("%1 '%2' is not in %3 (%4)")
            .arg(option, name, cellPictureFolder(),
                names.isEmpty() ? QStringLiteral("none there") : names.join(u',')));
    return false;
}

int runPrint(const QStringList &args)
{
    std::optional<Arguments> parsed = parseArguments(args);
    if (!parsed)
        return 2;
    const CellPictureLists pictures = listCellPictures();
    if (!knownCellPicture(parsed->options.borderName, pictures.borders, QStringLiteral("--border"))
        || !knownCellPicture(
            parsed->options.backgroundName, pictures.backgrounds, QStringLiteral("--background")))
        return 2;
    CAlbumDoc doc;
    if (openAlbumForReading(doc, parsed->album).isEmpty())
        return 1;
    if (!outputSparesInputs(parsed->output, albumInputFiles(doc)))
        return 1;
    if (parsed->items) {
        const std::optional<QList<int>> list
            = parseItemList(kCommand, *parsed->items, doc.itemCount());
        if (!list)
            return 2;
        for (int index : *list)
            doc.items().setSelected(index, true);
        parsed->options.range = PrintOptions::SelectedItems;
    }

    // Written beside the target and renamed over it at the end: a failed print keeps the old file
    // and leaves no cut one behind.
    const std::unique_ptr<QFileDevice> file = pictureTarget(parsed->output);
    if (!file->open(QIODevice::WriteOnly))
        return cliFail(parsed->output, writeErrorDetail(*file));
    QPdfWriter pdf(file.get());
    pdf.setResolution(kPdfDotsPerInch);
    pdf.setCreator(QStringLiteral("Glimmerix"));
    pdf.setTitle(parsed->options.title.isEmpty() ? QFileInfo(parsed->album).completeBaseName()
                                                 : parsed->options.title);
    pdf.setPageLayout(QPageLayout(QPageSize(parsed->page),
        parsed->landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter));
    const QRect printable = pdf.pageLayout().paintRectPixels(kPdfDotsPerInch);

    AppSettings &settings = appSettings();
    settings.load();
    const QStringList labels { settings.fieldLabel(ItemField::Caption),
        settings.fieldLabel(ItemField::Keywords), settings.fieldLabel(ItemField::Description) };
    ContactSheet sheet(doc, parsed->options, labels);
    sheet.layout(printable.size(), !parsed->landscape, kPdfDotsPerInch);
    QPainter painter;
    if (!painter.begin(&pdf))
        return cliFail(parsed->output, QStringLiteral("the file cannot be written"));
    for (int page = 0; page < sheet.pageCount(); ++page) {
        if (page > 0)
            pdf.newPage();
        sheet.paintPage(painter, page);
    }
    if (!painter.end())
        return cliFail(parsed->output, writeErrorDetail(*file));
    // A file that is missing or cannot be read prints as its thumbnail: named, and (unless the
    // user allows it) the sheet is not written, so an earlier good one is not replaced.
    for (const QString &problem : sheet.problems())
        cliErr(cliProgramName() + QStringLiteral(": ") + problem + u'\n');
    if (!sheet.problems().isEmpty() && !parsed->allowMissing) {
        cliErr(fillIn(QStringLiteral("%1: %2 not written; --allow-missing prints thumbnails for "
                                     "these files\n"),
            cliProgramName(), parsed->output));
        return 1;
    }
    if (!finishPictureTarget(*file))
        return cliFail(parsed->output, writeErrorDetail(*file));
    cliOut(fillIn(QStringLiteral("%1: %2, %3\n"), parsed->output,
        countedText(sheet.pageCount(), u"page", u"pages"),
        countedText(qint64(sheet.items().size()), u"item", u"items")));
    return 0;
}

const CliRegistration registration({ kCommand,
    QStringLiteral("print ALBUM OUT.pdf [--items LIST] [--columns N] [--rows N] [--landscape] "
                   "[--allow-missing] [--quality 0|1] [--no-media] [--file-names] [--page-numbers] "
                   "[--title T] "
                   "[--footer T] [--border NAME] [--background NAME] [--page a4|letter]"),
    QStringLiteral("prints an album's contact sheets into a PDF file"),
    QStringLiteral("  --columns and --rows take 4, 3 or 2 (portrait pages keep the columns,\n"
                   "  landscape pages the rows); the page size is the locale's unless given."),
    runPrint });

} // namespace
