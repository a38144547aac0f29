#include "cardtext.h"

#include "postcardformat.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>

namespace glimmerix
{

namespace
{

constexpr int kMergePercent = 75;
// The Japanese face the fonts use on Japanese systems.
const QString kJapaneseFace = QStringLiteral("MS PGothic");

// Preview rectangles (left, top, right, bottom) and card places by language: Japanese, Korean,
// other languages.
struct PlaceRow {
    int left[3];
    int top, right, bottom;
    QPoint card[3];
};
const PlaceRow kPlaces[kCardFieldCount] = {
    { { 34, 34, 34 }, 34, 204, 312, { { 46, 46 }, { 46, 46 }, { 46, 46 } } },
    { { 306, 334, 294 }, 176, 450, 194, { { 404, 238 }, { 448, 236 }, { 392, 238 } } },
    { { 306, 334, 294 }, 219, 450, 237, { { 404, 295 }, { 448, 293 }, { 392, 295 } } },
};

// The height of `text` wrapped to `width` in `font`.
qreal wrappedHeight(const QString &text, const QFont &font, qreal width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

} // namespace

CardTextPlace cardTextPlace(int field, CardLanguage language)
{
    const PlaceRow &row = kPlaces[std::clamp(field, 0, kCardFieldCount - 1)];
    const int column = int(language);
    return { QRect(QPoint(row.left[column], row.top), QPoint(row.right - 1, row.bottom - 1)),
        row.card[column] };
}

CardLanguage cardLanguageOf(const QString &languageName)
{
    const QString upper = languageName.trimmed().toUpper();
    if (upper == QLatin1String("JAPANESE"))
        return CardLanguage::Japanese;
    if (upper == QLatin1String("KOREAN"))
        return CardLanguage::Korean;
    return CardLanguage::Other;
}

QFont defaultCardFont(int field, const QString &systemLanguage)
{
    QFont font;
    int points = 0;
    if (systemLanguage.compare(QLatin1String("Japanese"), Qt::CaseInsensitive) == 0) {
        font.setFamily(kJapaneseFace);
        points = 16;
    } else if (field == 0) {
        font.setFamilies({ QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
            QStringLiteral("DejaVu Serif"), QStringLiteral("serif") });
        points = 18;
    } else {
        font.setFamilies({ QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
            QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif") });
        points = 14;
    }
    // Sizes are kept in pixels at 96 dots per inch, as the card is drawn in pixels.
    font.setPixelSize(points * 96 / 72);
    return font;
}

QFont previewFont(const QFont &font)
{
    QFont scaled = font;
    scaled.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * 0.75))));
    return scaled;
}

bool cardTextFits(const QString &text, const QFont &font, QSize box)
{
    return wrappedHeight(text, font, box.width()) <= box.height();
}

void mergeCardText(QImage &picture, const CardText &text, QSize previewBox, QPoint at, int percent)
{
    if (text.text.isEmpty() || percent <= 0 || picture.isNull())
        return;
    const qreal scale = 100.0 / percent;
    QFont font = text.font;
    font.setPixelSize(std::max(1, int(std::lround(text.font.pixelSize() * scale))));
    const QRectF box(at, QSizeF(previewBox) * scale);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(text.colour);
    painter.setClipRect(box);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(box, text.text, option);
}

QImage makeCardPicture(const QImage &background, const std::array<CardText, kCardFieldCount> &texts,
    CardLanguage language)
{
    QImage card = background.convertToFormat(QImage::Format_RGB32);
    if (card.size() != QSize(kCardWidth, kCardHeight))
        card
            = card.scaled(kCardWidth, kCardHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int field = 0; field < kCardFieldCount; ++field) {
        const CardTextPlace place = cardTextPlace(field, language);
        mergeCardText(card, texts[size_t(field)], place.preview.size(), place.card, kMergePercent);
    }
    return card;
}

} // namespace glimmerix
