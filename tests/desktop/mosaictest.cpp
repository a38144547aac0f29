// The album thumbnailer's reader and mosaic: real albums give their first thumbnails in order,
// damaged or hostile files give what can safely be read and never more.

#include "album/albumtesthelpers.h"
#include "albummosaic.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

namespace
{

QRgb colourOf(int i)
{
    return qRgb(20 * i, 255 - 20 * i, (70 * i) % 256);
}

// An album of `count` items, item i a solid thumbnail of colour i, as the program saves it;
// item i is 40 + i pixels wide when `widening`, else all are 40 x 30.
QByteArray albumBytes(int count, bool widening = false)
{
    CAlbumDoc doc;
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("/pictures/%1.jpg").arg(i);
        doc.insertItem(std::make_unique<AlbumItem>(
            testThumbnail(path, widening ? 40 + i : 40, 30, colourOf(i)), path, false));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(doc.store(buffer));
    return buffer.data();
}

AlbumThumbnails readBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readFirstThumbnails(buffer);
}

template<typename T> void putAt(QByteArray &bytes, qsizetype at, T value)
{
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

// Where item i's bitmap starts in a saved "1.3" album whose bitmaps are all as long as the first.
qsizetype bitmapAt(const QByteArray &bytes, int i)
{
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.constData() + 8, sizeof count);
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.constData() + 272 + 1052, sizeof size);
    return 272 + qsizetype(count) * kItemBlockSize + qsizetype(i) * size;
}

} // namespace

TEST(AlbumMosaic, SavedAlbumGivesItsFirstNineThumbnailsInOrder)
{
    const AlbumThumbnails read = readBytes(albumBytes(11, true));
    ASSERT_EQ(read.pictures.size(), 9u);
    EXPECT_TRUE(read.problem.isEmpty());
    for (int i = 0; i < 9; ++i) {
        const QImage &picture = read.pictures[std::size_t(i)];
        EXPECT_EQ(picture.size(), QSize(40 + i, 30)) << i;
        EXPECT_EQ(picture.pixel(0, 0), colourOf(i)) << i;
        EXPECT_EQ(picture.pixel(picture.width() - 1, picture.height() - 1), colourOf(i)) << i;
    }
}

TEST(AlbumMosaic, DamagedAlbumsGiveOnlyWhatCanBeRead)
{
    const QByteArray good = albumBytes(3);
    // Item 0's record starts at 272; its bitmap (BITMAPINFOHEADER first) at bitmapAt(good, 0).
    struct Case {
        const char *what;
        std::function<void(QByteArray &)> damage;
        std::size_t pictures;
    };
    const std::vector<Case> cases = {
        { "intact", [](QByteArray &) {}, 3 },
        { "empty file", [](QByteArray &b) { b.clear(); }, 0 },
        { "header cut short", [](QByteArray &b) { b.truncate(100); }, 0 },
        { "not an album", [](QByteArray &b) { b[0] = 'X'; }, 0 },
        { "unknown version", [](QByteArray &b) { b[144] = '9'; }, 0 },
        { "item count past the end", [](QByteArray &b) { putAt<std::uint32_t>(b, 8, 0xFFFFFFFFu); },
            0 },
        { "last bitmap cut", [&good](QByteArray &b) { b.truncate(bitmapAt(good, 2) + 100); }, 2 },
        { "first bitmap claims 4 GiB",
            [](QByteArray &b) { putAt<std::uint32_t>(b, 272 + 1052, 0xFFFFFFF0u); }, 0 },
        { "first bitmap 5000 pixels wide",
            [&good](QByteArray &b) { putAt<std::int32_t>(b, bitmapAt(good, 0) + 4, 5000); }, 2 },
        { "second bitmap of 8 bits",
            [&good](QByteArray &b) { putAt<std::uint16_t>(b, bitmapAt(good, 1) + 14, 8); }, 2 },
        { "third bitmap compressed",
            [&good](QByteArray &b) { putAt<std::uint32_t>(b, bitmapAt(good, 2) + 16, 1); }, 2 },
        { "height of minus 2^31",
            [&good](QByteArray &b) {
                putAt<std::int32_t>(b, bitmapAt(good, 0) + 8, std::numeric_limits<int>::min());
            },
            2 },
    };
    for (const Case &c : cases) {
        QByteArray bytes = good;
        c.damage(bytes);
        const AlbumThumbnails read = readBytes(bytes);
        EXPECT_EQ(read.pictures.size(), c.pictures) << c.what;
        EXPECT_EQ(read.problem.isEmpty(), c.pictures > 0) << c.what;
    }
    // An album just made (an empty file) or emptied is no damage: it has nothing to show.
    for (const QByteArray &empty : { QByteArray(), albumBytes(0) })
        EXPECT_EQ(readBytes(empty).problem, QStringLiteral("the album has no items yet"));
}

TEST(AlbumMosaic, PicturesFillOneTwoOrThreeColumnsCentred)
{
    struct Case {
        int pictures;
        int columns;
        int top; // of the first row: two rows of three 39-pixel cells are centred
    };
    constexpr int kSide = 120;
    for (const Case c :
        { Case { 1, 1, 0 }, Case { 4, 2, 0 }, Case { 5, 3, 20 }, Case { 12, 3, 0 } }) {
        std::vector<QImage> pictures;
        for (int i = 0; i < c.pictures; ++i) {
            QImage square(80, 80, QImage::Format_RGB888);
            square.fill(colourOf(i));
            pictures.push_back(square);
        }
        const QImage mosaic = drawMosaic(pictures, kSide);
        ASSERT_EQ(mosaic.size(), QSize(kSide, kSide));
        const int cell = kSide / c.columns;
        for (int i = 0; i < std::min(c.pictures, kMosaicMaxCells); ++i) {
            const QPoint centre(
                (i % c.columns) * cell + cell / 2, c.top + (i / c.columns) * cell + cell / 2);
            EXPECT_EQ(mosaic.pixel(centre), colourOf(i) | 0xFF000000u)
                << c.pictures << " pictures, cell " << i;
        }
        // Outside the cells the square stays transparent.
        if (c.top > 0) {
            EXPECT_EQ(qAlpha(mosaic.pixel(kSide / 2, c.top / 2)), 0);
            EXPECT_EQ(qAlpha(mosaic.pixel(kSide - 2, kSide - 2)), 0);
        }
    }
}
