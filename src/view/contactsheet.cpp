#include "contactsheet.h"

#include "album/albumdoc.h"
#include "album/dibimage.h"
#include "album/importer.h"
#include "cellpictures.h"
#include "core/messageids.h"
#include "platform/strings.h"

#include <QFileInfo>
#include <QPainter>

namespace glimmerix
{

namespace
{

constexpr int kDecorationSide = 600;
constexpr int kBorderOffset = 60;
const QColor kBandColor(0xE4, 0xE4, 0xE4);

QFont titleFont()
{
    return QFont(QStringLiteral("Times New Roman"), 30);
}

// The text up to `count` characters.
QString fieldStart(const char *field, std::size_t size, int count)
{
    return fixedText(field, size).left(count);
}

} // namespace

ContactSheet::ContactSheet(const CAlbumDoc &document, const PrintOptions &options,
    const QStringList &fieldLabels, const QString &cellPictureFolder)
    : m_document(document)
    , m_options(options)
    , m_fieldLabels(fieldLabels)
{
    const bool background = options.backgroundOn && !options.backgroundName.isEmpty();
    const bool border = options.borderOn && !options.borderName.isEmpty();
    if (background || border) {
        m_decoration = QImage(kDecorationSide, kDecorationSide, QImage::Format_RGB888);
        m_decoration.fill(Qt::white);
        QPainter painter(&m_decoration);
        if (background) {
            const QImage picture = loadCellPicture(options.backgroundName, cellPictureFolder);
            if (!picture.isNull())
                painter.drawImage(m_decoration.rect(), picture);
        }
        if (border) {
            const QImage picture = loadCellPicture(options.borderName, cellPictureFolder);
            if (!picture.isNull())
                painter.drawImage(QPoint(kBorderOffset, kBorderOffset), picture);
        }
    }
    m_items = printedItems(document, m_options);
}

void ContactSheet::layout(QSize printable, bool portrait, int dotsPerInch)
{
    const GridChoice grid = gridChoice(m_options.grid);
    m_page = pageGeometry(printable, portrait, grid.cells, grid.cells);
    m_dotsPerInch = dotsPerInch;
}

int ContactSheet::pageCount() const
{
    return pageCountFor(int(m_items.size()), m_page.cellsPerPage());
}

bool ContactSheet::usesFullPictures() const
{
    return m_options.highQuality && m_dotsPerInch > 200;
}

QImage ContactSheet::cellPicture(const AlbumItem &item, bool full, QString *problem)
{
    const ItemInfo *info = item.info();
    if (!QFileInfo::exists(item.absolutePath())) {
        if (problem)
            *problem = QStringLiteral("the file is missing");
    } else if (full && info && !info->isMedia) {
        OwnedBlock picture(openPictureForThumbnail(item.absolutePath(), problem));
        QImage image = imageFromDibBlock(picture.handle());
        if (!image.isNull())
            return image;
        if (problem && problem->isEmpty())
            *problem = QStringLiteral("the picture cannot be read");
    }
    return item.thumbnailImage();
}

void ContactSheet::paintPage(QPainter &painter, int page) const
{
    painter.save();
    paintBands(painter, page);
    const int first = page * m_page.cellsPerPage();
    for (int cell = 0; cell < m_page.cellsPerPage() && first + cell < m_items.size(); ++cell) {
        const AlbumItem *item = m_document.item(m_items.at(first + cell));
        if (!item || !item->info())
            break; // an item without its thumbnail block ends the page
        paintCell(painter, m_page.cellRect(cell), *item);
    }
    painter.restore();
}

void ContactSheet::paintBands(QPainter &painter, int page) const
{
    const int w = m_page.width;
    const int h = m_page.height;
    const int m = m_page.band;
    painter.setPen(Qt::black);
    if (!m_options.title.isEmpty()) {
        const QRect band(0, 0, w, int(0.7 * m));
        painter.fillRect(band, kBandColor);
        painter.setFont(titleFont());
        painter.drawText(band, Qt::AlignCenter | Qt::TextSingleLine, m_options.title);
    }
    if (m_options.pageNumbers) {
        painter.setFont(QFont(QStringLiteral("Times New Roman"), 15));
        const QRect area(0, h - int(0.5 * m), w, int(0.5 * m));
        painter.drawText(area, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine,
            formatString(Message::kPageNumber, { QString::number(page + 1) }));
    }
    if (!m_options.footer.isEmpty()) {
        const QRect band(0, h - m, w, m - int(0.3 * m));
        painter.fillRect(band, kBandColor);
        painter.setFont(titleFont());
        painter.drawText(band, Qt::AlignCenter | Qt::TextSingleLine, m_options.footer);
    }
}

void ContactSheet::paintCell(QPainter &painter, const QRect &cell, const AlbumItem &item) const
{
    if (!m_decoration.isNull())
        painter.drawImage(cell, m_decoration);

    QString problem;
    QImage picture = cellPicture(item, usesFullPictures(), &problem);
    if (!problem.isEmpty())
        m_problems.append(item.absolutePath() + QStringLiteral(": ") + problem);
    const double share = pictureBoxShare(m_options);
    if (m_options.squareCrop && !picture.isNull()) {
        const int side = std::min(picture.width(), picture.height());
        picture
            = picture.copy((picture.width() - side) / 2, (picture.height() - side) / 2, side, side);
    }
    const QSize size = picturePrintSize(picture.size(), m_page.cell, share, m_options.squareCrop);
    const int x = cell.left() + (cell.width() - size.width()) / 2;
    const int y = m_options.itemTexts
        ? cell.top() + int((share * m_page.cell - size.height()) * 0.5 + 1.8 * m_page.margin)
        : cell.top() + (cell.height() - size.height()) / 2;
    const QRect target(QPoint(x, y), size);
    if (!picture.isNull()) {
        // A picture larger than its place on the page is brought to the device's resolution
        // first, so a PDF holds the pixels it shows rather than the whole photograph.
        if (picture.width() > size.width() || picture.height() > size.height())
            picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(target, picture);
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target.adjusted(0, 0, -1, -1));
    paintLabels(painter, cell, target, item);
}

void ContactSheet::paintLabels(
    QPainter &painter, const QRect &cell, const QRect &picture, const AlbumItem &item) const
{
    if (!m_options.itemTexts && !m_options.fileNames)
        return;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(gridChoice(m_options.grid).labelTenths / 10.0);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int line = painter.fontMetrics().height();
    const int margin = m_page.margin;
    const int left = cell.left() + margin;
    const int width = cell.width() - 2 * margin;
    int top = picture.bottom() + 1 + margin / 2;
    if (!m_options.itemTexts) {
        painter.drawText(QRect(left, top, width, line),
            Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, item.fileName());
        return;
    }
    const ItemInfo &info = *item.info();
    const auto label = [this](int field) { return m_fieldLabels.value(field) + u' '; };
    const QString caption = label(0) + fieldStart(info.caption, sizeof info.caption, 30);
    const QString keywords = label(1) + fieldStart(info.keywords, sizeof info.keywords, 25);
    const QString description
        = label(2) + fieldStart(info.description, sizeof info.description, 80);
    const int flags = Qt::AlignLeft | Qt::AlignTop;
    painter.drawText(QRect(left, top, width, line), flags | Qt::TextSingleLine, caption);
    top += line;
    painter.drawText(QRect(left, top, width, line), flags | Qt::TextSingleLine, keywords);
    top += line;
    const int bottom = cell.bottom() - margin / 2;
    if (bottom > top)
        painter.drawText(
            QRect(left, top, width, bottom - top), flags | Qt::TextWordWrap, description);
}

} // namespace glimmerix
