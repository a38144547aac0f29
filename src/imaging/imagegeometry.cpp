#include "imagegeometry.h"

#include "blockcopy.h"
#include "dibblock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace glimmerix
{

namespace
{

// Pixel access in seen coordinates (row 0 at the top) over a checked block.
class PixelGrid
{
public:
    explicit PixelGrid(BITMAPINFOHEADER *header)
        : m_header(header)
        , m_bits(header->biBitCount)
    {
    }
    int width() const { return m_header->biWidth; }
    int height() const { return m_header->biHeight; }
    unsigned char *row(int y) const { return dibRow(m_header, m_header->biHeight - 1 - y); }

    // Copies pixel (sx, sy) of `source` (same depth) to (x, y).
    void copyFrom(const PixelGrid &source, int sx, int sy, int x, int y) const
    {
        if (m_bits == 24) {
            std::memcpy(row(y) + 3 * std::size_t(x), source.row(sy) + 3 * std::size_t(sx), 3);
            return;
        }
        setIndex(x, y, dibPixelIndex(source.row(sy), sx, m_bits));
    }
    void setIndex(int x, int y, unsigned index) const
    {
        unsigned char *line = row(y);
        switch (m_bits) {
        case 8:
            line[x] = std::uint8_t(index);
            return;
        case 4: {
            const int shift = x % 2 == 0 ? 4 : 0;
            line[x / 2]
                = std::uint8_t((line[x / 2] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
            return;
        }
        default: {
            const int shift = 7 - x % 8;
            line[x / 8] = std::uint8_t((line[x / 8] & ~(1 << shift)) | ((index & 1) << shift));
            return;
        }
        }
    }

private:
    BITMAPINFOHEADER *m_header;
    int m_bits;
};

// The table entry with the most light, for the corners a turn uncovers.
unsigned brightestIndex(BITMAPINFOHEADER *header)
{
    const RGBQUAD *colors = dibColors(header);
    unsigned best = 0;
    int bestSum = -1;
    for (std::uint32_t i = 0; i < dibColorCount(*header); ++i) {
        const int sum = colors[i].rgbRed + colors[i].rgbGreen + colors[i].rgbBlue;
        if (sum > bestSum) {
            bestSum = sum;
            best = i;
        }
    }
    return best;
}

// A copy of the picture shown as `orientation` (1-8, the EXIF numbers) says; 0 without memory.
BlockHandle orientedCopy(BITMAPINFOHEADER *source, int orientation);

// A turn by whole quarters clockwise is the orientation whose stored picture it shows upright.
BlockHandle quarterTurn(BITMAPINFOHEADER *source, int quarters)
{
    static constexpr int kOrientationOfQuarters[4] = { 1, 6, 3, 8 };
    return orientedCopy(source, kOrientationOfQuarters[quarters & 3]);
}

BlockHandle freeTurn(BITMAPINFOHEADER *source, double radians)
{
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const int w = source->biWidth;
    const int h = source->biHeight;
    const double newWidth = std::abs(w * c) + std::abs(h * s);
    const double newHeight = std::abs(w * s) + std::abs(h * c);
    if (newWidth > INT32_MAX / 2 || newHeight > INT32_MAX / 2)
        return 0;
    const int outWidth = std::max(1, int(std::lround(newWidth)));
    const int outHeight = std::max(1, int(std::lround(newHeight)));
    const BlockHandle result = blockShapedLike(source, outWidth, outHeight);
    if (result == 0)
        return 0;
    BITMAPINFOHEADER *header = dibHeader(result);
    const PixelGrid from(source);
    const PixelGrid to(header);
    const int bits = source->biBitCount;
    const bool smooth = bits == 24 || (bits == 8 && dibHasGreyTable(source));
    const int channels = bits == 24 ? 3 : 1;
    const unsigned background = bits == 24 ? 255 : brightestIndex(source);

    for (int y = 0; y < outHeight; ++y) {
        unsigned char *line = to.row(y);
        const double dy = y + 0.5 - outHeight / 2.0;
        for (int x = 0; x < outWidth; ++x) {
            const double dx = x + 0.5 - outWidth / 2.0;
            // The source point that turns onto (x, y): the inverse of a clockwise turn.
            const double sx = dx * c + dy * s + w / 2.0 - 0.5;
            const double sy = -dx * s + dy * c + h / 2.0 - 0.5;
            if (sx < -0.5 || sy < -0.5 || sx >= w - 0.5 || sy >= h - 0.5) {
                if (bits == 24)
                    std::memset(line + 3 * std::size_t(x), int(background), 3);
                else
                    to.setIndex(x, y, background);
                continue;
            }
            if (!smooth) {
                to.copyFrom(from, std::clamp(int(std::lround(sx)), 0, w - 1),
                    std::clamp(int(std::lround(sy)), 0, h - 1), x, y);
                continue;
            }
            const double fx = std::clamp(sx, 0.0, double(w - 1));
            const double fy = std::clamp(sy, 0.0, double(h - 1));
            const int x0 = int(fx);
            const int y0 = int(fy);
            const int x1 = std::min(x0 + 1, w - 1);
            const int y1 = std::min(y0 + 1, h - 1);
            const double ax = fx - x0;
            const double ay = fy - y0;
            const unsigned char *top = from.row(y0);
            const unsigned char *bottom = from.row(y1);
            for (int ch = 0; ch < channels; ++ch) {
                const double upper
                    = top[x0 * channels + ch] * (1 - ax) + top[x1 * channels + ch] * ax;
                const double lower
                    = bottom[x0 * channels + ch] * (1 - ax) + bottom[x1 * channels + ch] * ax;
                line[std::size_t(x) * std::size_t(channels) + std::size_t(ch)]
                    = std::uint8_t(std::lround(upper * (1 - ay) + lower * ay));
            }
        }
    }
    return result;
}

} // namespace

QPoint storedPixelOf(int orientation, int x, int y, int width, int height)
{
    switch (orientation) {
    case 2: // mirrored left to right
        return { width - 1 - x, y };
    case 3: // upside down
        return { width - 1 - x, height - 1 - y };
    case 4: // mirrored top to bottom
        return { x, height - 1 - y };
    case 5: // mirrored along the diagonal from the top left
        return { y, x };
    case 6: // turned a quarter anticlockwise: turn clockwise to view
        return { y, height - 1 - x };
    case 7: // mirrored along the other diagonal
        return { width - 1 - y, height - 1 - x };
    case 8: // turned a quarter clockwise: turn anticlockwise to view
        return { width - 1 - y, x };
    default:
        return { x, y };
    }
}

namespace
{

BlockHandle orientedCopy(BITMAPINFOHEADER *source, int orientation)
{
    const int w = source->biWidth;
    const int h = source->biHeight;
    const bool sideways = orientation >= 5;
    const BlockHandle result = blockShapedLike(source, sideways ? h : w, sideways ? w : h);
    if (result == 0)
        return 0;
    BITMAPINFOHEADER *header = dibHeader(result);
    if (sideways)
        std::swap(header->biXPelsPerMeter, header->biYPelsPerMeter);
    const PixelGrid from(source);
    const PixelGrid to(header);
    for (int y = 0; y < to.height(); ++y) {
        for (int x = 0; x < to.width(); ++x) {
            const QPoint stored = storedPixelOf(orientation, x, y, w, h);
            to.copyFrom(from, stored.x(), stored.y(), x, y);
        }
    }
    return result;
}

} // namespace

BlockHandle orientBlock(BlockHandle block, int orientation)
{
    BITMAPINFOHEADER *source = checkedDibHeader(block);
    if (!source || orientation < 2 || orientation > 8)
        return 0;
    return orientedCopy(source, orientation);
}

bool areaInsidePicture(BlockHandle block, const QRect &area)
{
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    return header && !area.isEmpty() && area.left() >= 0 && area.top() >= 0
        && area.right() < header->biWidth && area.bottom() < header->biHeight;
}

BlockHandle cropPicture(BlockHandle block, const QRect &area)
{
    if (!areaInsidePicture(block, area))
        return 0;
    BITMAPINFOHEADER *source = dibHeader(block);
    const BlockHandle result = blockShapedLike(source, area.width(), area.height());
    if (result == 0)
        return 0;
    const PixelGrid from(source);
    const PixelGrid to(dibHeader(result));
    for (int y = 0; y < area.height(); ++y) {
        if (source->biBitCount == 24 || source->biBitCount == 8) {
            const std::size_t bytes = source->biBitCount / 8;
            std::memcpy(to.row(y), from.row(area.top() + y) + bytes * std::size_t(area.left()),
                bytes * std::size_t(area.width()));
            continue;
        }
        for (int x = 0; x < area.width(); ++x)
            to.copyFrom(from, area.left() + x, area.top() + y, x, y);
    }
    return result;
}

BlockHandle rotatePicture(BlockHandle block, double degrees)
{
    BITMAPINFOHEADER *source = checkedDibHeader(block);
    if (!source || !std::isfinite(degrees))
        return 0;
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0)
        turn += 360.0;
    const double quarters = turn / 90.0;
    const double nearest = std::round(quarters);
    if (std::abs(quarters - nearest) < 1e-9)
        return quarterTurn(source, int(nearest) % 4);
    return freeTurn(source, turn * 3.14159265358979323846 / 180.0);
}

} // namespace glimmerix
