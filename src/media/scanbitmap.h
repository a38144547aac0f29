#pragma once

#include "imaging/blockmemory.h"

#include <QByteArray>

#include <cstdint>

namespace glimmerix
{

// Building the image block of a scanned picture from the rows a scanner delivers top row first.

enum class ScanPixelType { BlackWhite, Grey, Rgb };
enum class ScanUnits { Inches, Centimetres, Other };

// Pixels per metre for a resolution given as a 16.16 fixed-point value (whole part plus
// fraction / 65536) in `units`; 0 for other units. Truncated.
std::int32_t scanPixelsPerMetre(std::int64_t fixedResolution, ScanUnits units);

// A picture being filled from its rows. 1-bit pictures take bit 1 as black when `oneIsBlack`
// (the palette is then white, black), else as white (black, white).
class ScanBitmapBuilder
{
public:
    ScanBitmapBuilder() = default;
    ~ScanBitmapBuilder();
    ScanBitmapBuilder(const ScanBitmapBuilder &) = delete;
    ScanBitmapBuilder &operator=(const ScanBitmapBuilder &) = delete;

    // Allocates the picture; false when its size is absurd or memory runs out. With
    // `greyToBlackWhite` a BlackWhite picture is fed 8-bit grey rows and thresholded at half
    // brightness (for scanners without a lineart mode).
    bool begin(int width, int height, ScanPixelType type, std::int32_t pixelsPerMetre,
        bool oneIsBlack = true, bool greyToBlackWhite = false);
    // Adds scanned bytes: whole rows of `width` pixels without padding (1 bit, 8 bits grey or
    // 8-bit red, green, blue), split anywhere. Bytes past the last row are ignored.
    void append(const unsigned char *bytes, std::size_t count);
    // Rows complete so far.
    int rowsDone() const { return m_row; }
    // Hands over the block: rows bottom-up, pixels blue-green-red (each row is stored so as it
    // arrives, the middle row of an odd height included); rows never delivered stay white. 0
    // when begin failed.
    BlockHandle finish();
    void discard();

private:
    void storeRow(const unsigned char *bytes);

    BlockHandle m_block = 0;
    int m_width = 0;
    int m_height = 0;
    int m_bits = 0;
    bool m_rgb = false;
    bool m_threshold = false;
    bool m_oneIsBlack = true;
    int m_row = 0;
    QByteArray m_pending;
    std::size_t m_rowIn = 0; // bytes of one delivered row
    std::size_t m_rowBytes = 0; // bytes of one stored row, padding included
    unsigned char m_blank = 0xFF; // the byte of a white row
};

// Completes the header of an acquired picture before it is saved: colours used 0 for 24-bit
// pictures, else 2^bits when 0; the image size computed when 0.
void completeAcquiredHeader(BlockHandle block);

} // namespace glimmerix
