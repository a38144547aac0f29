#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>

namespace glimmerix
{

// The postcard's three text fields in the order the card's text lines are filled: the message
// (control 1024), the upper short line (1247) and the lower one (1025).
inline constexpr int kCardFieldCount = 3;
enum class CardLanguage { Japanese, Korean, Other };

// Where a field lies in the 480 x 360 preview and where it goes on the 640 x 480 card.
struct CardTextPlace {
    QRect preview;
    QPoint card;
};
CardTextPlace cardTextPlace(int field, CardLanguage language);
// The card language of an interface language name (string 294: "JAPANESE", "KOREAN", ...).
CardLanguage cardLanguageOf(const QString &languageName);

// One field's text as the text library holds it: the font at preview scale (3/4 of the card's).
struct CardText {
    QString text;
    QFont font;
    QColor colour = Qt::black;
};

// The default fonts (at full size) for a system whose default locale's English language name is
// `systemLanguage`: "Times New Roman" 18 points for the message and "Arial" 14 points for the
// lines, or the Japanese face at 16 points for both on Japanese systems.
QFont defaultCardFont(int field, const QString &systemLanguage);
// `font` scaled to 3/4, the size the text library and the preview work at.
QFont previewFont(const QFont &font);

// Whether `text` wrapped in `font` fits inside a box of `box` preview pixels.
bool cardTextFits(const QString &text, const QFont &font, QSize box);

// Draws `text` into `picture` with its top left at `at`, everything (font and box) scaled from
// preview size to card size by 100 / `percent` (75: preview to card).
void mergeCardText(QImage &picture, const CardText &text, QSize previewBox, QPoint at, int percent);

// The card picture: `background` (the "Text.bkg" picture) at 640 x 480 with the fields drawn
// at their card places.
QImage makeCardPicture(const QImage &background, const std::array<CardText, kCardFieldCount> &texts,
    CardLanguage language);

} // namespace glimmerix
