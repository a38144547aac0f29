// glimix-cli print ALBUM OUT.pdf [options]: prints an album's contact sheets into a PDF file with
// the same page code as the Print command.

#include "albumcommandsupport.h"
#include "clicommand.h"

#include "core/appsettings.h"
#include "view/cellpictures.h"
#include "view/contactsheet.h"

#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

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
    QString items;
    bool itemsGiven = false;
    std::optional<int> columns;
    std::optional<int> rows;
    bool landscape = false;
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
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) {
                cliUsageError(kCommand, arg + QStringLiteral(" needs a value"));
                return std::nullopt;
            }
            return args.at(++i);
        };
        const auto cells = [&]() -> std::optional<int> {
            const std::optional<QString> text = value();
            if (!text)
                return std::nullopt;
            const std::optional<int> grid = gridFor(text->toInt());
            if (!grid)
                cliUsageError(kCommand, arg + QStringLiteral(" takes 2, 3 or 4"));
            return grid;
        };
        std::optional<QString> text;
        std::optional<int> grid;
        if (arg == QLatin1String("--items")) {
            if (!(text = value()))
                return std::nullopt;
            parsed.items = *text;
            parsed.itemsGiven = true;
        } else if (arg == QLatin1String("--columns")) {
            if (!(grid = cells()))
                return std::nullopt;
            parsed.columns = *grid;
        } else if (arg == QLatin1String("--rows")) {
            if (!(grid = cells()))
                return std::nullopt;
            parsed.rows = *grid;
        } else if (arg == QLatin1String("--landscape")) {
            parsed.landscape = true;
        } else if (arg == QLatin1String("--quality")) {
            if (!(text = value()))
                return std::nullopt;
            if (*text != QLatin1String("0") && *text != QLatin1String("1")) {
                cliUsageError(kCommand, QStringLiteral("--quality takes 0 or 1"));
                return std::nullopt;
            }
            parsed.options.highQuality = *text == QLatin1String("1");
        } else if (arg == QLatin1String("--no-media")) {
            parsed.options.includeMedia = false;
        } else if (arg == QLatin1String("--file-names")) {
            parsed.options.itemTexts = false;
            parsed.options.fileNames = true;
        } else if (arg == QLatin1String("--page-numbers")) {
            parsed.options.pageNumbers = true;
        } else if (arg == QLatin1String("--title") || arg == QLatin1String("--footer")
            || arg == QLatin1String("--border") || arg == QLatin1String("--background")) {
            if (!(text = value()))
                return std::nullopt;
            if (arg == QLatin1String("--title"))
                parsed.options.title = *text;
            else if (arg == QLatin1String("--footer"))
                parsed.options.footer = *text;
            else if (arg == QLatin1String("--border"))
                parsed.options.borderName = *text;
            else
                parsed.options.backgroundName = *text;
        } else if (arg == QLatin1String("--page")) {
            if (!(text = value()))
                return std::nullopt;
            if (text->compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0) {
                parsed.page = QPageSize::A4;
            } else if (text->compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0) {
                parsed.page = QPageSize::Letter;
            } else {
                cliUsageError(kCommand, QStringLiteral("--page takes a4 or letter"));
                return std::nullopt;
            }
        } else if (arg.startsWith(QLatin1String("--"))) {
            cliUsageError(kCommand, QStringLiteral("unknown option ") + arg);
            return std::nullopt;
        } else {
            positional.append(arg);
        }
    }
    if (positional.size() != 2) {
        cliUsageError(kCommand, QStringLiteral("give an album and an output file"));
        return std::nullopt;
    }
    // Portrait pages keep the columns and landscape pages the rows, as the dialog's grid does.
    const std::optional<int> kept = parsed.landscape ? parsed.rows : parsed.columns;
    parsed.options.grid = kept.value_or(parsed.columns.value_or(parsed.rows.value_or(0)));
    parsed.album = positional.at(0);
    parsed.output = QFileInfo(positional.at(1)).absoluteFilePath();
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
    if (openAlbumForCli(doc, parsed->album).isEmpty())
        return 1;
    if (parsed->itemsGiven) {
        const std::optional<QList<int>> list
            = parseItemList(kCommand, parsed->items, doc.itemCount());
        if (!list)
            return 2;
        for (int index : *list)
            doc.item(index)->setSelected(true);
        parsed->options.range = PrintOptions::SelectedItems;
    }

    QPdfWriter pdf(parsed->output);
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
        return cliFail(parsed->output, QStringLiteral("the file cannot be written"));
    if (QFileInfo(parsed->output).size() <= 0)
        return cliFail(parsed->output, QStringLiteral("the file cannot be written"));
    cliOut(QStringLiteral("%1: %2 pages, %3 items\n")
               .arg(parsed->output)
               .arg(sheet.pageCount())
               .arg(sheet.items().size()));
    return 0;
}

const CliRegistration registration({ kCommand,
    QStringLiteral("print ALBUM OUT.pdf [--items LIST] [--columns N] [--rows N] [--landscape] "
                   "[--quality 0|1] [--no-media] [--file-names] [--page-numbers] [--title T] "
                   "[--footer T] [--border NAME] [--background NAME] [--page a4|letter]"),
    QStringLiteral("prints an album's contact sheets into a PDF file"),
    QStringLiteral("  --columns and --rows take 4, 3 or 2 (portrait pages keep the columns,\n"
                   "  landscape pages the rows); the page size is the locale's unless given."),
    runPrint });

} // namespace
