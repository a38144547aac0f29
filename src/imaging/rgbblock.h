#pragma once

#include "dib.h"
#include "imagecodes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace glimmerix
{

// What the readers of today's picture types share: the whole file in memory, and the 24-bit
// picture block filled from the top-down 8-bit rows a library gives.

// Reads the whole file at `path` into `bytes`. CannotOpen or Unreadable with the cause; an empty
// file is Failed; a file far larger than any picture the limit allows is TooLarge (read no
// further than its size).
DecodeResult readWholePictureFile(const QString &path, QByteArray &bytes);

// How the pixels of one source row are laid out, 8 bits a sample.
enum class RowLayout {
    Grey,
    GreyAlpha,
    Rgb,
    Rgba, // alpha composed on white
};

// A new zeroed 24-bit block for a `width` x `height` picture; the size limit is checked first.
DecodeResult newRgbBlock(std::int64_t width, std::int64_t height);
// Stores `count` source pixels of `layout` into row `row` (0 = top) of the 24-bit block
// `header`, from column `x` on.
void storePixels(BITMAPINFOHEADER *header, std::int64_t row, std::int64_t x, std::int64_t count,
    const unsigned char *pixels, RowLayout layout);
// Stores a whole source row.
inline void storeRow(
    BITMAPINFOHEADER *header, std::int64_t row, const unsigned char *pixels, RowLayout layout)
{
    storePixels(header, row, 0, header->biWidth, pixels, layout);
}

} // namespace glimmerix
