#include "scanbitmap.h"

#include "imaging/dibblock.h"

#include <algorithm>
#include <cstring>

namespace glimmerix
{

std::int32_t scanPixelsPerMetre(std::int64_t fixedResolution, ScanUnits units)
{
    // Whole numbers throughout so that 300 dpi gives 11811, not 11810 from a rounding error.
    switch (units) {
    case ScanUnits::Inches:
        return std::int32_t(fixedResolution * 10000 / 254 / 65536);
    case ScanUnits::Centimetres:
        return std::int32_t(fixedResolution * 100 / 65536);
    case ScanUnits::Other:
        break;
    }
    return 0;
}

ScanBitmapBuilder::~ScanBitmapBuilder()
{
    discard();
}

void ScanBitmapBuilder::discard()
{
    if (isBlockHandle(m_block))
        blockFree(m_block);
    m_block = 0;
}

bool ScanBitmapBuilder::begin(int width, int height, ScanPixelType type,
    std::int32_t pixelsPerMetre, bool oneIsBlack, bool greyToBlackWhite)
{
    discard();
    m_bits = type == ScanPixelType::BlackWhite ? 1 : type == ScanPixelType::Grey ? 8 : 24;
    const std::uint32_t colors = m_bits == 1 ? 2 : m_bits == 8 ? 256 : 0;
    const DecodeResult made = createImageBlock(width, height, m_bits, colors);
    if (made.status != DecodeStatus::Ok)
        return false;
    m_block = made.block;
    m_width = width;
    m_height = height;
    m_rgb = m_bits == 24;
    m_row = 0;
    m_pending.clear();
    m_threshold = m_bits == 1 && greyToBlackWhite;
    m_oneIsBlack = oneIsBlack;
    m_rowIn = m_bits == 1 && !m_threshold ? std::size_t(width + 7) / 8
                                          : std::size_t(width) * std::size_t(qMax(1, m_bits / 8));
    BITMAPINFOHEADER *header = dibHeader(m_block);
    header->biXPelsPerMeter = pixelsPerMetre;
    header->biYPelsPerMeter = pixelsPerMetre;
    RGBQUAD *palette = dibColors(header);
    if (m_bits == 8) {
        for (int i = 0; i < 256; ++i)
            palette[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    } else if (m_bits == 1) {
        const RGBQUAD black { 0, 0, 0, 0 };
        const RGBQUAD white { 255, 255, 255, 0 };
        palette[0] = oneIsBlack ? white : black;
        palette[1] = oneIsBlack ? black : white;
    }
    // Rows that never arrive (a scan cut short) show as white, not black; finish() fills them,
    // and each stored row its padding, so no byte is written twice.
    m_blank = m_bits == 1 ? (oneIsBlack ? 0x00 : 0xFF) : 0xFF;
    m_rowBytes = dibRowBytes(width, m_bits);
    return true;
}

void ScanBitmapBuilder::storeRow(const unsigned char *bytes)
{
    // The block's rows run bottom-up: the scan's first row is its last.
    unsigned char *row = dibRow(dibHeader(m_block), m_height - 1 - m_row);
    ++m_row;
    std::size_t used = m_rowIn;
    if (m_rgb) {
        // Red, green, blue arrive; the block keeps blue, green, red.
        for (std::size_t at = 0; at < m_rowIn; at += 3) {
            row[at] = bytes[at + 2];
            row[at + 1] = bytes[at + 1];
            row[at + 2] = bytes[at];
        }
    } else if (!m_threshold) {
        std::memcpy(row, bytes, m_rowIn);
    } else {
        used = std::size_t(m_width + 7) / 8;
        std::memset(row, 0, used);
        for (int x = 0; x < m_width; ++x) {
            if ((bytes[x] < 128) == m_oneIsBlack)
                row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
        }
    }
    std::memset(row + used, m_blank, m_rowBytes - used);
}

void ScanBitmapBuilder::append(const unsigned char *bytes, std::size_t count)
{
    if (!m_block)
        return;
    // Whole rows go straight into the picture; only a row split between reads waits.
    while (m_pending.isEmpty() && count >= m_rowIn && m_row < m_height) {
        storeRow(bytes);
        bytes += m_rowIn;
        count -= m_rowIn;
    }
    while (count > 0 && m_row < m_height) {
        const std::size_t take = std::min(count, m_rowIn - std::size_t(m_pending.size()));
        m_pending.append(reinterpret_cast<const char *>(bytes), qsizetype(take));
        bytes += take;
        count -= take;
        if (std::size_t(m_pending.size()) == m_rowIn) {
            storeRow(reinterpret_cast<const unsigned char *>(m_pending.constData()));
            m_pending.clear();
        }
    }
}

BlockHandle ScanBitmapBuilder::finish()
{
    if (!m_block)
        return 0;
    // The rows not delivered are the bottom ones, the first rows of the block.
    if (m_row < m_height)
        std::memset(
            dibRow(dibHeader(m_block), 0), m_blank, m_rowBytes * std::size_t(m_height - m_row));
    const BlockHandle out = m_block;
    m_block = 0;
    return out;
}

void completeAcquiredHeader(BlockHandle block)
{
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    if (!header)
        return;
    if (header->biBitCount == 24)
        header->biClrUsed = 0;
    else if (header->biClrUsed == 0)
        header->biClrUsed = 1u << header->biBitCount;
    if (header->biSizeImage == 0)
        header->biSizeImage = std::uint32_t(
            dibRowBytes(header->biWidth, header->biBitCount) * std::size_t(header->biHeight));
}

} // namespace glimmerix
