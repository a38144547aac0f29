#include "transitions.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

namespace glimmerix
{

namespace
{

// The families the 82 effects are drawn by; `a` and `b` of an effect steer its family.
enum class Family {
    Copy,
    Wipe, // a: 0 left to right, 1 right to left, 2 down, 3 up, 4-7 diagonal from a corner
    BarnDoor, // a: 0 doors side by side, 1 one above the other; b: 0 opening, 1 closing
    Blinds, // a: 0 vertical slats, 1 horizontal; b: slat width
    Box, // a: 0 out from the centre, 1 in from the edges (also Diamond, Iris, Cross)
    Diamond,
    Iris,
    Cross,
    Checker, // a: 0 across, 1 down; b: square size
    Dissolve, // b: block size
    RandomLines, // a: 0 horizontal, 1 vertical; b: line thickness
    Angular, // a: 0 clockwise, 1 anticlockwise, 2 fan from the top, 3 from the bottom, 4 blades
    Slide, // a: the new picture comes from 0 the left, 1 the right, 2 the top, 3 the bottom
    Push, // as Slide, pushing the old picture out
    Uncover, // the old picture leaves towards 0 the right, 1 the left, 2 the bottom, 3 the top
    SlideDiagonal, // a: from corner 0 top left, 1 top right, 2 bottom left, 3 bottom right
    Comb, // a: 0 horizontal teeth, 1 vertical; b: tooth size
    DiagonalStripes, // a: 0 falling, 1 rising; b: stripe period
    Mosaic, // a: 0 spiral in, 1 spiral out, 2 rows back and forth, 3 columns; b: block size
    Corners, // boxes grow from the four corners
    QuarterBoxes, // a box grows in the middle of each quarter
    Rain, // b: column width
    GridBoxes, // b: cell size
    Zigzag, // b: tooth period
};

struct Effect {
    TransitionInfo info;
    Family family;
    int a = 0;
    int b = 0;
};

constexpr TransitionKind kMask = TransitionKind::Mask;
constexpr TransitionKind kMotion = TransitionKind::Motion;

// Every effect by its number.
const std::array<Effect, kTransitionCount + 1> kEffects = { {
    { { "Plain copy", 1, kMask }, Family::Copy },
    { { "Wipe right", 16, kMask }, Family::Wipe, 0 },
    { { "Wipe left", 16, kMask }, Family::Wipe, 1 },
    { { "Wipe down", 16, kMask }, Family::Wipe, 2 },
    { { "Wipe up", 16, kMask }, Family::Wipe, 3 },
    { { "Wipe down right", 16, kMask }, Family::Wipe, 4 },
    { { "Wipe down left", 16, kMask }, Family::Wipe, 5 },
    { { "Wipe up right", 16, kMask }, Family::Wipe, 6 },
    { { "Wipe up left", 16, kMask }, Family::Wipe, 7 },
    { { "Barn doors open sideways", 16, kMask }, Family::BarnDoor, 0, 0 },
    { { "Barn doors close sideways", 16, kMask }, Family::BarnDoor, 0, 1 },
    { { "Barn doors open up and down", 16, kMask }, Family::BarnDoor, 1, 0 },
    { { "Barn doors close up and down", 16, kMask }, Family::BarnDoor, 1, 1 },
    { { "Vertical blinds, narrow", 8, kMask }, Family::Blinds, 0, 8 },
    { { "Vertical blinds", 8, kMask }, Family::Blinds, 0, 16 },
    { { "Vertical blinds, wide", 12, kMask }, Family::Blinds, 0, 32 },
    { { "Vertical blinds, very wide", 16, kMask }, Family::Blinds, 0, 64 },
    { { "Horizontal blinds, narrow", 8, kMask }, Family::Blinds, 1, 8 },
    { { "Horizontal blinds", 8, kMask }, Family::Blinds, 1, 16 },
    { { "Horizontal blinds, wide", 12, kMask }, Family::Blinds, 1, 32 },
    { { "Horizontal blinds, very wide", 16, kMask }, Family::Blinds, 1, 64 },
    { { "Box out", 16, kMask }, Family::Box, 0 },
    { { "Box in", 16, kMask }, Family::Box, 1 },
    { { "Diamond out", 16, kMask }, Family::Diamond, 0 },
    { { "Diamond in", 16, kMask }, Family::Diamond, 1 },
    { { "Iris out", 16, kMask }, Family::Iris, 0 },
    { { "Iris in", 16, kMask }, Family::Iris, 1 },
    { { "Cross out", 16, kMask }, Family::Cross, 0 },
    { { "Cross in", 16, kMask }, Family::Cross, 1 },
    { { "Checkerboard across, small", 16, kMask }, Family::Checker, 0, 16 },
    { { "Checkerboard across", 16, kMask }, Family::Checker, 0, 32 },
    { { "Checkerboard across, large", 16, kMask }, Family::Checker, 0, 64 },
    { { "Checkerboard down, small", 16, kMask }, Family::Checker, 1, 16 },
    { { "Checkerboard down", 16, kMask }, Family::Checker, 1, 32 },
    { { "Checkerboard down, large", 16, kMask }, Family::Checker, 1, 64 },
    { { "Dissolve", 16, kMask }, Family::Dissolve, 0, 1 },
    { { "Dissolve, fine squares", 16, kMask }, Family::Dissolve, 0, 2 },
    { { "Dissolve, small squares", 16, kMask }, Family::Dissolve, 0, 4 },
    { { "Dissolve, squares", 16, kMask }, Family::Dissolve, 0, 8 },
    { { "Dissolve, large squares", 16, kMask }, Family::Dissolve, 0, 16 },
    { { "Dissolve, very large squares", 16, kMask }, Family::Dissolve, 0, 32 },
    { { "Random lines across", 16, kMask }, Family::RandomLines, 0, 1 },
    { { "Random bars across", 16, kMask }, Family::RandomLines, 0, 4 },
    { { "Random lines down", 16, kMask }, Family::RandomLines, 1, 1 },
    { { "Random bars down", 16, kMask }, Family::RandomLines, 1, 4 },
    { { "Clock", 16, kMask }, Family::Angular, 0, 1 },
    { { "Clock backwards", 16, kMask }, Family::Angular, 1, 1 },
    { { "Fan from the top", 16, kMask }, Family::Angular, 2, 1 },
    { { "Fan from the bottom", 16, kMask }, Family::Angular, 3, 1 },
    { { "Windmill", 16, kMask }, Family::Angular, 4, 4 },
    { { "Windmill, eight blades", 16, kMask }, Family::Angular, 4, 8 },
    { { "Slide in from the left", 16, kMotion }, Family::Slide, 0 },
    { { "Slide in from the right", 16, kMotion }, Family::Slide, 1 },
    { { "Slide in from the top", 16, kMotion }, Family::Slide, 2 },
    { { "Slide in from the bottom", 16, kMotion }, Family::Slide, 3 },
    { { "Push right", 16, kMotion }, Family::Push, 0 },
    { { "Push left", 16, kMotion }, Family::Push, 1 },
    { { "Push down", 16, kMotion }, Family::Push, 2 },
    { { "Push up", 16, kMotion }, Family::Push, 3 },
    { { "Uncover right", 16, kMotion }, Family::Uncover, 0 },
    { { "Uncover left", 16, kMotion }, Family::Uncover, 1 },
    { { "Uncover down", 16, kMotion }, Family::Uncover, 2 },
    { { "Uncover up", 16, kMotion }, Family::Uncover, 3 },
    { { "Slide in from the top left", 16, kMotion }, Family::SlideDiagonal, 0 },
    { { "Slide in from the top right", 16, kMotion }, Family::SlideDiagonal, 1 },
    { { "Slide in from the bottom left", 16, kMotion }, Family::SlideDiagonal, 2 },
    { { "Slide in from the bottom right", 16, kMotion }, Family::SlideDiagonal, 3 },
    { { "Comb across", 16, kMask }, Family::Comb, 0, 8 },
    { { "Comb across, wide teeth", 16, kMask }, Family::Comb, 0, 32 },
    { { "Comb down", 16, kMask }, Family::Comb, 1, 8 },
    { { "Comb down, wide teeth", 16, kMask }, Family::Comb, 1, 32 },
    { { "Diagonal stripes falling", 12, kMask }, Family::DiagonalStripes, 0, 48 },
    { { "Diagonal stripes rising", 12, kMask }, Family::DiagonalStripes, 1, 48 },
    { { "Mosaic spiral in", 24, kMask }, Family::Mosaic, 0, 64 },
    { { "Mosaic spiral out", 24, kMask }, Family::Mosaic, 1, 64 },
    { { "Mosaic rows", 24, kMask }, Family::Mosaic, 2, 64 },
    { { "Mosaic columns", 24, kMask }, Family::Mosaic, 3, 64 },
    { { "Corners in", 16, kMask }, Family::Corners },
    { { "Four boxes out", 16, kMask }, Family::QuarterBoxes },
    { { "Rain", 16, kMask }, Family::Rain, 0, 8 },
    { { "Boxes out, small", 12, kMask }, Family::GridBoxes, 0, 32 },
    { { "Boxes out", 12, kMask }, Family::GridBoxes, 0, 64 },
    { { "Zigzag wipe", 16, kMask }, Family::Zigzag, 0, 64 },
} };

thread_local int t_outsideReads = 0;

// The screen being drawn and the two pictures, with the share p (0 < p <= 1) of the way done.
struct Canvas {
    const QImage &from;
    const QImage &to;
    QImage &screen;
    int w;
    int h;
    double p;
    double previous; // the share of the step before (0 before the first)

    // Shows the new picture in [x0, x1) of row y; the span is cut to the screen.
    void reveal(int y, int x0, int x1) const
    {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, w);
        if (y < 0 || y >= h || x1 <= x0)
            return;
        std::memcpy(screen.scanLine(y) + std::size_t(x0) * 4,
            to.constScanLine(y) + std::size_t(x0) * 4, std::size_t(x1 - x0) * 4);
    }
    void revealRow(int y) const { reveal(y, 0, w); }
    // Shows in [x0, x1) of row y the part of `source` moved by (dx, dy): the pixel at x comes
    // from x - dx of row y - dy. Parts outside `source` are counted and left out.
    void copyMoved(const QImage &source, int y, int x0, int x1, int dx, int dy) const
    {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, w);
        if (y < 0 || y >= h || x1 <= x0)
            return;
        const int sourceY = y - dy;
        int sx0 = x0 - dx;
        int sx1 = x1 - dx;
        if (sourceY < 0 || sourceY >= h || sx0 < 0 || sx1 > w) {
            ++t_outsideReads;
            if (sourceY < 0 || sourceY >= h)
                return;
            x0 += std::max(0, -sx0);
            x1 -= std::max(0, sx1 - w);
            sx0 = x0 - dx;
            if (x1 <= x0)
                return;
        }
        std::memmove(screen.scanLine(y) + std::size_t(x0) * 4,
            source.constScanLine(sourceY) + std::size_t(sx0) * 4, std::size_t(x1 - x0) * 4);
    }
    // How far along an extent of `size` pixels the effect is.
    int along(int size) const { return int(std::lround(p * size)); }
};

// A pseudo-random number for `value`, stable between runs (the steps of one transition must
// agree on it).
std::uint32_t scramble(std::uint32_t value)
{
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    value ^= value >> 16;
    return value;
}

// Whether the item with random key `key` has its turn in this step: it had not at the share
// of the step before and has now.
bool dueNow(std::uint32_t key, const Canvas &c)
{
    return double(key) >= c.previous * 4294967296.0 && double(key) < c.p * 4294967296.0;
}

void wipe(const Canvas &c, int direction)
{
    for (int y = 0; y < c.h; ++y) {
        switch (direction) {
        case 0:
            c.reveal(y, 0, c.along(c.w));
            break;
        case 1:
            c.reveal(y, c.w - c.along(c.w), c.w);
            break;
        case 2:
            if (y < c.along(c.h))
                c.revealRow(y);
            break;
        case 3:
            if (y >= c.h - c.along(c.h))
                c.revealRow(y);
            break;
        default: {
            // Diagonal: the edge runs across both sides at once, x / w + y' / h < 2p.
            const bool fromTop = direction == 4 || direction == 5;
            const bool fromLeft = direction == 4 || direction == 6;
            const double rowShare = double(fromTop ? y : c.h - 1 - y) / c.h;
            const int reach = int(std::lround((2 * c.p - rowShare) * c.w));
            if (fromLeft)
                c.reveal(y, 0, reach);
            else
                c.reveal(y, c.w - reach, c.w);
        }
        }
    }
}

void barnDoor(const Canvas &c, bool upAndDown, bool closing)
{
    const int size = upAndDown ? c.h : c.w;
    const int half = c.along((size + 1) / 2);
    // Opening: the band [size/2 - half, size/2 + half) grows; closing: the two edges grow.
    const int low = size / 2 - half;
    const int high = size - size / 2 + half;
    for (int y = 0; y < c.h; ++y) {
        if (upAndDown) {
            const bool inside = closing ? (y < half || y >= size - half) : (y >= low && y < high);
            if (inside)
                c.revealRow(y);
        } else if (closing) {
            c.reveal(y, 0, half);
            c.reveal(y, c.w - half, c.w);
        } else {
            c.reveal(y, low, high);
        }
    }
}

void blinds(const Canvas &c, bool horizontal, int width)
{
    const int open = c.along(width);
    for (int y = 0; y < c.h; ++y) {
        if (horizontal) {
            if (y % width < open)
                c.revealRow(y);
            continue;
        }
        for (int x = 0; x < c.w; x += width)
            c.reveal(y, x, x + open);
    }
}

// The shapes that grow from the centre (out) or shrink towards it, showing the new picture
// outside (in). `halfWidth` gives the shape's half-width on a row at distance dy from the
// centre for a shape of size s (0 to 1); negative when the row misses the shape.
template<typename HalfWidth> void centreShape(const Canvas &c, bool in, HalfWidth halfWidth)
{
    const double size = in ? 1 - c.p : c.p;
    const double cx = c.w / 2.0;
    const double cy = c.h / 2.0;
    for (int y = 0; y < c.h; ++y) {
        const double half = halfWidth(std::abs(y + 0.5 - cy), size);
        const int x0 = half < 0 ? int(cx) : int(std::lround(cx - half));
        const int x1 = half < 0 ? int(cx) : int(std::lround(cx + half));
        if (in) {
            c.reveal(y, 0, x0);
            c.reveal(y, x1, c.w);
        } else {
            c.reveal(y, x0, x1);
        }
    }
}

void box(const Canvas &c, bool in)
{
    const double halfW = c.w / 2.0;
    const double halfH = c.h / 2.0;
    centreShape(c, in, [&](double dy, double s) { return dy < s * halfH ? s * halfW : -1.0; });
}

void diamond(const Canvas &c, bool in)
{
    // |dx| / w + |dy| / h < s, so the diamond's corners reach the screen's corners at s = 1.
    centreShape(c, in, [&](double dy, double s) {
        const double rest = s - dy / c.h;
        return rest < 0 ? -1.0 : rest * c.w;
    });
}

void iris(const Canvas &c, bool in)
{
    const double radius = std::hypot(c.w / 2.0, c.h / 2.0);
    centreShape(c, in, [&](double dy, double s) {
        const double r = s * radius;
        return dy > r ? -1.0 : std::sqrt(r * r - dy * dy);
    });
}

void cross(const Canvas &c, bool in)
{
    const double halfW = c.w / 2.0;
    const double halfH = c.h / 2.0;
    // A plus sign whose arms thicken: rows within the horizontal arm show whole.
    centreShape(c, in, [&](double dy, double s) { return dy < s * halfH ? halfW : s * halfW; });
}

void checker(const Canvas &c, bool down, int size)
{
    // The dark squares wipe in during the first half, the light ones during the second.
    const double firstHalf = std::min(1.0, c.p * 2);
    const double secondHalf = std::max(0.0, c.p * 2 - 1);
    for (int y = 0; y < c.h; ++y) {
        const int row = y / size;
        const int inRow = y % size;
        for (int x = 0, column = 0; x < c.w; x += size, ++column) {
            const double share = (row + column) % 2 == 0 ? firstHalf : secondHalf;
            const int reach = int(std::lround(share * size));
            if (down) {
                if (inRow < reach)
                    c.reveal(y, x, x + size);
            } else {
                c.reveal(y, x, x + reach);
            }
        }
    }
}

// The order in which the blocks of a 64 x 64 tile dissolve: entry r is the place (row x 64 +
// column) of the block whose turn is r-th. Made once from fixed random keys.
const std::array<std::uint16_t, 64 * 64> &dissolveOrder()
{
    static const auto order = [] {
        std::array<std::uint16_t, 64 * 64> places {};
        for (std::size_t i = 0; i < places.size(); ++i)
            places[i] = std::uint16_t(i);
        std::sort(places.begin(), places.end(), [](std::uint16_t a, std::uint16_t b) {
            return scramble(a + 0x51ed27U) < scramble(b + 0x51ed27U);
        });
        return places;
    }();
    return order;
}

void dissolve(const Canvas &c, int block)
{
    // Each tile of 64 x 64 blocks starts its turns at its own random place in the order, so the
    // pattern does not repeat; a step shows only the blocks whose turn is in it.
    constexpr int kTile = 64;
    constexpr int kTurns = kTile * kTile;
    const auto &order = dissolveOrder();
    const int first = int(std::lround(c.previous * kTurns));
    const int last = int(std::lround(c.p * kTurns));
    const int bw = (c.w + block - 1) / block;
    const int bh = (c.h + block - 1) / block;
    // Straight into the pixels: a fine dissolve moves millions of single pixels.
    uchar *screenBits = c.screen.bits();
    const uchar *toBits = c.to.constBits();
    const qsizetype screenStride = c.screen.bytesPerLine();
    const qsizetype toStride = c.to.bytesPerLine();
    for (int ty = 0; ty * kTile < bh; ++ty) {
        for (int tx = 0; tx * kTile < bw; ++tx) {
            const int start = int(scramble(std::uint32_t(ty * 4099 + tx)) % kTurns);
            for (int turn = first; turn < last; ++turn) {
                const int place = order[std::size_t((turn + start) % kTurns)];
                const int bx = tx * kTile + place % kTile;
                const int by = ty * kTile + place / kTile;
                if (bx >= bw || by >= bh)
                    continue;
                const int yEnd = std::min(c.h, (by + 1) * block);
                const int x0 = bx * block;
                const std::size_t bytes = std::size_t(std::min(c.w, x0 + block) - x0) * 4;
                for (int y = by * block; y < yEnd; ++y) {
                    std::memcpy(screenBits + y * screenStride + x0 * 4,
                        toBits + y * toStride + x0 * 4, bytes);
                }
            }
        }
    }
}

void randomLines(const Canvas &c, bool vertical, int thickness)
{
    // The lines whose turn is in this step; the rest were shown before or come later.
    const int count = ((vertical ? c.w : c.h) + thickness - 1) / thickness;
    std::vector<int> due;
    for (int line = 0; line < count; ++line) {
        if (dueNow(scramble(std::uint32_t(line) + 1), c))
            due.push_back(line * thickness);
    }
    for (int y = 0; y < c.h; ++y) {
        if (!vertical) {
            if (std::binary_search(due.begin(), due.end(), y / thickness * thickness))
                c.revealRow(y);
            continue;
        }
        for (int x : due)
            c.reveal(y, x, x + thickness);
    }
}

// atan2(y, x) to within 0.005 radians, several times faster. It rises and falls wherever atan2
// does and is continuous, which is all a sweeping edge needs.
double quickAtan2(double y, double x)
{
    const double ax = std::abs(x);
    const double ay = std::abs(y);
    if (ax == 0 && ay == 0)
        return 0;
    const auto atanUpToOne = [](double t) { return t * (std::numbers::pi / 4 + 0.273 * (1 - t)); };
    double angle = ax >= ay ? atanUpToOne(ay / ax) : std::numbers::pi / 2 - atanUpToOne(ax / ay);
    if (x < 0)
        angle = std::numbers::pi - angle;
    return y < 0 ? -angle : angle;
}

// The angle of pixel (x, y) around the centre, clockwise from straight up, 0 to 2 pi.
double clockAngle(int x, int y, double cx, double cy)
{
    const double angle = quickAtan2(x + 0.5 - cx, cy - (y + 0.5));
    return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

// Shows every pixel whose clock angle lies in [from, to). Along a row the angle changes
// monotonically on each side of the centre, so each side's part is found by two searches.
void revealSector(const Canvas &c, double from, double to)
{
    const double cx = c.w / 2.0;
    const double cy = c.h / 2.0;
    const int middle = int(std::ceil(cx - 0.5)); // the first column right of the centre
    for (int y = 0; y < c.h; ++y) {
        const std::pair<int, int> sides[] = { { 0, middle }, { middle, c.w } };
        for (const std::pair<int, int> &side : sides) {
            // Plain names rather than a structured binding: the lambda below captures them, which
            // older compilers (the fuzzing clang) refuse for bindings.
            const int begin = side.first;
            const int end = side.second;
            if (begin >= end)
                continue;
            const bool rising = clockAngle(begin, y, cx, cy) <= clockAngle(end - 1, y, cx, cy);
            // The first x in [begin, end) at which the angle, walked in its rising direction,
            // reaches `limit`.
            const auto firstReaching = [&](double limit) {
                int low = 0;
                int high = end - begin;
                while (low < high) {
                    const int mid = (low + high) / 2;
                    const int x = rising ? begin + mid : end - 1 - mid;
                    if (clockAngle(x, y, cx, cy) >= limit)
                        high = mid;
                    else
                        low = mid + 1;
                }
                return low;
            };
            const int first = firstReaching(from);
            const int last = firstReaching(to);
            if (rising)
                c.reveal(y, begin + first, begin + last);
            else
                c.reveal(y, end - last, end - first);
        }
    }
}

void angular(const Canvas &c, int kind, int blades)
{
    constexpr double kTurn = 2 * std::numbers::pi;
    const double sweep = c.p * kTurn;
    switch (kind) {
    case 0:
        revealSector(c, 0, sweep);
        break;
    case 1:
        revealSector(c, kTurn - sweep, kTurn + 1);
        break;
    case 2:
        revealSector(c, 0, sweep / 2);
        revealSector(c, kTurn - sweep / 2, kTurn + 1);
        break;
    case 3:
        revealSector(c, kTurn / 2 - sweep / 2, kTurn / 2 + sweep / 2);
        break;
    default:
        for (int blade = 0; blade < blades; ++blade) {
            const double start = blade * kTurn / blades;
            revealSector(c, start, start + sweep / blades);
        }
    }
}

// The offset of the new picture coming in from side `side` (0 left, 1 right, 2 top, 3 bottom)
// when `shown` pixels of it are on the screen.
QPoint incoming(int side, int shownX, int shownY, int w, int h)
{
    switch (side) {
    case 0:
        return { shownX - w, 0 };
    case 1:
        return { w - shownX, 0 };
    case 2:
        return { 0, shownY - h };
    default:
        return { 0, h - shownY };
    }
}

// The new picture moved by `offset` drawn where it covers the screen.
void drawMovedPicture(const Canvas &c, const QImage &source, QPoint offset)
{
    const int y0 = std::max(0, offset.y());
    const int y1 = std::min(c.h, c.h + offset.y());
    const int x0 = std::max(0, offset.x());
    const int x1 = std::min(c.w, c.w + offset.x());
    for (int y = y0; y < y1; ++y)
        c.copyMoved(source, y, x0, x1, offset.x(), offset.y());
}

void slide(const Canvas &c, int side)
{
    drawMovedPicture(c, c.to, incoming(side, c.along(c.w), c.along(c.h), c.w, c.h));
}

void push(const Canvas &c, int side)
{
    const QPoint in = incoming(side, c.along(c.w), c.along(c.h), c.w, c.h);
    // The old picture moves the same way, one screen further on.
    const QPoint out
        = in + (side < 2 ? QPoint(side == 0 ? c.w : -c.w, 0) : QPoint(0, side == 2 ? c.h : -c.h));
    drawMovedPicture(c, c.from, out);
    drawMovedPicture(c, c.to, in);
}

void uncover(const Canvas &c, int side)
{
    const int dx = side == 0 ? c.along(c.w) : side == 1 ? -c.along(c.w) : 0;
    const int dy = side == 2 ? c.along(c.h) : side == 3 ? -c.along(c.h) : 0;
    // The uncovered band shows the new picture in place, the rest the old one moved on.
    for (int y = 0; y < c.h; ++y) {
        const bool rowUncovered = (dy > 0 && y < dy) || (dy < 0 && y >= c.h + dy);
        if (rowUncovered) {
            c.revealRow(y);
            continue;
        }
        if (dx > 0)
            c.reveal(y, 0, dx);
        else if (dx < 0)
            c.reveal(y, c.w + dx, c.w);
        c.copyMoved(c.from, y, std::max(0, dx), std::min(c.w, c.w + dx), dx, dy);
    }
}

void slideDiagonal(const Canvas &c, int corner)
{
    const int shownX = c.along(c.w);
    const int shownY = c.along(c.h);
    const QPoint offset(
        (corner % 2 == 0) ? shownX - c.w : c.w - shownX, corner < 2 ? shownY - c.h : c.h - shownY);
    drawMovedPicture(c, c.to, offset);
}

void comb(const Canvas &c, bool vertical, int tooth)
{
    for (int y = 0; y < c.h; ++y) {
        if (!vertical) {
            const int reach = c.along(c.w);
            if ((y / tooth) % 2 == 0)
                c.reveal(y, 0, reach);
            else
                c.reveal(y, c.w - reach, c.w);
            continue;
        }
        const int reach = c.along(c.h);
        for (int x = 0, column = 0; x < c.w; x += tooth, ++column) {
            const bool shown = column % 2 == 0 ? y < reach : y >= c.h - reach;
            if (shown)
                c.reveal(y, x, x + tooth);
        }
    }
}

void diagonalStripes(const Canvas &c, bool rising, int period)
{
    const int open = c.along(period);
    for (int y = 0; y < c.h; ++y) {
        // Pixels with (x + y) mod period < open (falling) or (x - y) mod period < open (rising).
        const int shift = rising ? (period - y % period) % period : y % period;
        for (int start = -shift; start < c.w; start += period)
            c.reveal(y, start, start + open);
    }
}

// The order in which the blocks of a bw x bh mosaic turn, as each block's rank.
std::vector<int> mosaicRanks(int order, int bw, int bh)
{
    std::vector<int> rank(std::size_t(bw) * bh, 0);
    int next = 0;
    if (order == 2 || order == 3) {
        const int lines = order == 2 ? bh : bw;
        const int length = order == 2 ? bw : bh;
        for (int line = 0; line < lines; ++line) {
            for (int i = 0; i < length; ++i) {
                const int along = line % 2 == 0 ? i : length - 1 - i;
                const int x = order == 2 ? along : line;
                const int y = order == 2 ? line : along;
                rank[std::size_t(y) * bw + x] = next++;
            }
        }
        return rank;
    }
    // Spiral: walk the rim inwards; spiralling out is the same walk backwards.
    int left = 0;
    int top = 0;
    int right = bw - 1;
    int bottom = bh - 1;
    const auto put = [&](int x, int y) { rank[std::size_t(y) * bw + x] = next++; };
    while (left <= right && top <= bottom) {
        for (int x = left; x <= right; ++x)
            put(x, top);
        for (int y = top + 1; y <= bottom; ++y)
            put(right, y);
        if (top < bottom) {
            for (int x = right - 1; x >= left; --x)
                put(x, bottom);
        }
        if (left < right) {
            for (int y = bottom - 1; y > top; --y)
                put(left, y);
        }
        ++left;
        ++top;
        --right;
        --bottom;
    }
    if (order == 1) {
        for (int &r : rank)
            r = next - 1 - r;
    }
    return rank;
}

void mosaic(const Canvas &c, int order, int block)
{
    const int bw = (c.w + block - 1) / block;
    const int bh = (c.h + block - 1) / block;
    const std::vector<int> rank = mosaicRanks(order, bw, bh);
    const int shown = c.along(bw * bh);
    for (int y = 0; y < c.h; ++y) {
        const int by = y / block;
        for (int bx = 0; bx < bw; ++bx) {
            if (rank[std::size_t(by) * bw + bx] < shown)
                c.reveal(y, bx * block, bx * block + block);
        }
    }
}

void corners(const Canvas &c)
{
    const int reachX = c.along((c.w + 1) / 2);
    const int reachY = c.along((c.h + 1) / 2);
    for (int y = 0; y < c.h; ++y) {
        if (y < reachY || y >= c.h - reachY) {
            c.reveal(y, 0, reachX);
            c.reveal(y, c.w - reachX, c.w);
        }
    }
}

// Boxes growing from the middles of cells `cellW` x `cellH` (a cell at the edge may be cut).
void growBoxes(const Canvas &c, int cellW, int cellH)
{
    const int halfW = c.along((cellW + 1) / 2);
    const int halfH = c.along((cellH + 1) / 2);
    for (int y = 0; y < c.h; ++y) {
        const int inCell = y % cellH - cellH / 2;
        if (inCell < -halfH || inCell >= halfH)
            continue;
        for (int x = 0; x < c.w; x += cellW)
            c.reveal(y, x + cellW / 2 - halfW, x + cellW / 2 + halfW);
    }
}

void rain(const Canvas &c, int column)
{
    // Each column falls at its own speed, between once and twice the slowest.
    for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < c.w; x += column) {
            const double speed = 1 + scramble(std::uint32_t(x / column) + 7) / 4294967296.0;
            if (y < c.p * speed * c.h)
                c.reveal(y, x, x + column);
        }
    }
}

void zigzag(const Canvas &c, int period)
{
    const int depth = period / 2;
    for (int y = 0; y < c.h; ++y) {
        // A saw-toothed edge moving right: its teeth lag `depth` pixels at most.
        const int lag = std::abs(y % period - period / 2);
        c.reveal(y, 0, int(std::lround(c.p * (c.w + depth))) - lag);
    }
}

void drawEffect(const Effect &effect, const Canvas &c)
{
    switch (effect.family) {
    case Family::Copy:
        break;
    case Family::Wipe:
        wipe(c, effect.a);
        break;
    case Family::BarnDoor:
        barnDoor(c, effect.a == 1, effect.b == 1);
        break;
    case Family::Blinds:
        blinds(c, effect.a == 1, effect.b);
        break;
    case Family::Box:
        box(c, effect.a == 1);
        break;
    case Family::Diamond:
        diamond(c, effect.a == 1);
        break;
    case Family::Iris:
        iris(c, effect.a == 1);
        break;
    case Family::Cross:
        cross(c, effect.a == 1);
        break;
    case Family::Checker:
        checker(c, effect.a == 1, effect.b);
        break;
    case Family::Dissolve:
        dissolve(c, effect.b);
        break;
    case Family::RandomLines:
        randomLines(c, effect.a == 1, effect.b);
        break;
    case Family::Angular:
        angular(c, effect.a, effect.b);
        break;
    case Family::Slide:
        slide(c, effect.a);
        break;
    case Family::Push:
        push(c, effect.a);
        break;
    case Family::Uncover:
        uncover(c, effect.a);
        break;
    case Family::SlideDiagonal:
        slideDiagonal(c, effect.a);
        break;
    case Family::Comb:
        comb(c, effect.a == 1, effect.b);
        break;
    case Family::DiagonalStripes:
        diagonalStripes(c, effect.a == 1, effect.b);
        break;
    case Family::Mosaic:
        mosaic(c, effect.a, effect.b);
        break;
    case Family::Corners:
        corners(c);
        break;
    case Family::QuarterBoxes:
        growBoxes(c, (c.w + 1) / 2, (c.h + 1) / 2);
        break;
    case Family::Rain:
        rain(c, effect.b);
        break;
    case Family::GridBoxes:
        growBoxes(c, effect.b, effect.b);
        break;
    case Family::Zigzag:
        zigzag(c, effect.b);
        break;
    }
}

} // namespace

const TransitionInfo &transitionInfo(int effect)
{
    return kEffects[std::size_t(effect >= 0 && effect <= kTransitionCount ? effect : 0)].info;
}

void drawTransitionStep(
    int effect, const QImage &from, const QImage &to, int step, int steps, QImage &screen)
{
    Q_ASSERT(from.size() == to.size() && to.size() == screen.size());
    Q_ASSERT(to.format() == QImage::Format_RGB32 && screen.format() == QImage::Format_RGB32);
    if (to.size() != screen.size() || from.size() != screen.size() || screen.isNull())
        return;
    if (steps < 1 || step >= steps - 1 || effect <= 0 || effect > kTransitionCount) {
        // The last step (and the plain copy) shows exactly the new picture.
        for (int y = 0; y < screen.height(); ++y)
            std::memcpy(screen.scanLine(y), to.constScanLine(y), std::size_t(to.bytesPerLine()));
        return;
    }
    const int done = std::max(step, 0);
    const Canvas canvas { from, to, screen, screen.width(), screen.height(),
        double(done + 1) / steps, double(done) / steps };
    drawEffect(kEffects[std::size_t(effect)], canvas);
}

QImage transitionFrame(int effect, const QImage &from, const QImage &to, int step, int steps)
{
    QImage screen = from.copy();
    for (int done = 0; done <= step; ++done)
        drawTransitionStep(effect, from, to, done, steps, screen);
    return screen;
}

int stepDeadlineMs(int totalMs, int step, int steps)
{
    if (steps <= 0)
        return totalMs;
    return int(qint64(totalMs) * (step + 1) / steps);
}

int stepWaitMs(int totalMs, int step, int steps)
{
    if (steps <= 0)
        return totalMs;
    return stepDeadlineMs(totalMs, step, steps) - int(qint64(totalMs) * step / steps);
}

int takeTransitionOutsideReads()
{
    return std::exchange(t_outsideReads, 0);
}

} // namespace glimmerix
