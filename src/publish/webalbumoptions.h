#pragma once

#include <QSize>
#include <QString>

#include <array>
#include <optional>

namespace glimmerix
{

// What the layout and captions pages of the web album wizard set; the generator reads it.
struct WebAlbumOptions {
    static constexpr int kMinGrid = 2;
    static constexpr int kMaxGrid = 10;
    static constexpr int kThemeCount = 6;
    // The theme of today's browsers and phones: a responsive grid with a lightbox
    // (responsivealbum.h).
    static constexpr int kResponsiveTheme = 5;
    static constexpr int kSizeCount = 3;

    int columns = 4; // per row, kMinGrid..kMaxGrid
    int rows = 3; // per page, kMinGrid..kMaxGrid
    QString title; // the page title; the wizard starts it with string 50483
    int theme = 0; // 0 plain white, 1-4 pictures (webalbumthemes.h), 5 responsive
    int thumbnailSize = 1; // 0 small, 1 medium, 2 large
    bool showName = true;
    bool showSize = true;
    std::array<bool, 3> showField { false, false, false }; // caption, keywords, description
    // The responsive theme only: thumbnails cropped to squares (else fitted whole), and a link to
    // the original file in the lightbox.
    bool cropThumbnails = true;
    bool linkOriginals = false;

    bool responsive() const { return theme == kResponsiveTheme; }

    // Values outside their ranges brought to the nearest allowed one.
    void clamp();
};

// The box a thumbnail must fit, by thumbnail size: 80 x 50, 90 x 60, 110 x 80.
QSize thumbnailBox(int thumbnailSize);

// The size a `picture` is resampled to so it fits `box` (integer arithmetic, quotients cut):
// nothing when it is smaller in both directions (kept as it is); else the same size when it
// fits; else the height of the box with the width in proportion, or the width of the box with
// the height in proportion when that is still too wide. A side of 0 becomes 3.
std::optional<QSize> fitThumbnail(QSize picture, QSize box);

// Pages for `thumbnails` thumbnails at `columns` x `rows` per page: the quotient rounded up.
int webAlbumPageCount(int thumbnails, int columns, int rows);

} // namespace glimmerix
