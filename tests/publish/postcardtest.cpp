// The video postcard's pieces: the own picture's fit, the window placement, the clip's names,
// background.vtp byte for byte and read back, the catalogs we ship, hostile postcard files and
// catalogs, the card text, and a package that cannot be completed.

#include "publishtesthelpers.h"

#include "album/dibimage.h"
#include "imaging/dib.h"
#include "platform/paths.h"
#include "publish/autorunwriter.h"
#include "publish/cardtext.h"
#include "publish/framecatalog.h"
#include "publish/postcardformat.h"
#include "publish/postcardmaker.h"
#include "publish/postcardpackage.h"
#include "publish/workingfolder.h"

#include <QBuffer>
#include <QDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

std::uint32_t u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

QImage plainCard()
{
    QImage card(kCardWidth, kCardHeight, QImage::Format_RGB32);
    card.fill(QColor(250, 244, 228));
    return card;
}

// A catalog header with `count` entries followed by `body`.
QByteArray catalogBytes(std::uint32_t count, const QByteArray &body)
{
    QByteArray bytes(PostcardLayout::kHeaderSize, '\0');
    bytes.replace(0, 4, "AVTP");
    bytes.replace(PostcardLayout::kNameOffset, 8, "Test.cat");
    PostcardLayout::putLe32(bytes, PostcardLayout::kEntryCountOffset, count);
    return bytes + body;
}

QByteArray catalogEntry(std::uint32_t thumbnail, std::uint32_t frame, std::uint16_t window = 276)
{
    QByteArray entry(PostcardLayout::kEntrySize, '\0');
    PostcardLayout::putLe32(entry, PostcardLayout::kEntryPictureSizeOffset, thumbnail);
    PostcardLayout::putLe32(entry, PostcardLayout::kEntryFrameSizeOffset, frame);
    PostcardLayout::putLe16(entry, PostcardLayout::kEntryWindowSizeOffset, window);
    return entry;
}

QByteArray windowBlock(QRect small, QRect large)
{
    QByteArray block(PostcardLayout::kWindowBlockSize, '\0');
    const int values[] = { small.left(), small.top(), small.width(), small.height(), large.left(),
        large.top(), large.width(), large.height() };
    for (int i = 0; i < 8; ++i)
        PostcardLayout::putLe32(block, 4 * i, std::uint32_t(values[i]));
    return block;
}

TEST(Postcard, OwnPicturesFitIntoTheCardAndTheWindowIsCentred)
{
    const struct {
        QSize picture, fitted;
    } cases[] = {
        { { 1600, 1200 }, { 640, 480 } }, { { 1200, 1600 }, { 360, 480 } },
        { { 800, 200 }, { 640, 160 } }, { { 640, 480 }, { 640, 480 } },
        { { 300, 100 }, { 300, 100 } },
        { { 5000, 1 }, { 640, 1 } }, // the division alone would give 0 rows
    };
    for (const auto &c : cases)
        EXPECT_EQ(fitIntoCard(c.picture), c.fitted)
            << c.picture.width() << "x" << c.picture.height();
    EXPECT_EQ(centredWindow({ 640, 480 }, false), QRect(240, 180, 160, 120));
    EXPECT_EQ(centredWindow({ 640, 480 }, true), QRect(160, 120, 320, 240));
    EXPECT_EQ(centredWindow({ 360, 480 }, false), QRect(100, 180, 160, 120));

    // The whole path: a 1600 x 1200 file becomes a 640 x 480 24-bit picture.
    const QString path = makeTestFolder(QStringLiteral("own")) + QStringLiteral("/big.bmp");
    writePicture(path, 1600, 1200);
    QString error;
    const OwnedBlock picture = loadOwnFramePicture(path, &error);
    ASSERT_TRUE(picture) << qPrintable(error);
    EXPECT_EQ(dibHeader(picture.handle())->biWidth, 640);
    EXPECT_EQ(dibHeader(picture.handle())->biHeight, 480);
    EXPECT_EQ(dibHeader(picture.handle())->biBitCount, 24);
}

TEST(Postcard, ClipNamesAndDiscFolderNames)
{
    const struct {
        const char *clip, *file, *name;
    } cases[] = {
        { "/v/trip.Mpeg", "video.mpeg", "Video.MPEG" },
        { "/v/a.avi", "video.avi", "Video.AVI" },
        { "/v/b.MOV", "video.mov", "Video.MOV" },
        { "/v/c.mpg", "video.mpg", "Video.MPG" },
        { "/v/d.wmv", "video.wmv", "Video" },
    };
    for (const auto &c : cases) {
        EXPECT_EQ(postcardClipFileName(QLatin1String(c.clip)), QLatin1String(c.file)) << c.clip;
        EXPECT_EQ(postcardClipName(QLatin1String(c.clip)), QLatin1String(c.name)) << c.clip;
    }
    // ";" is refused by the postcard only; spaces still become "_".
    QString withSemicolon = QStringLiteral("My;Card");
    EXPECT_FALSE(acceptPostcardDiscFolderName(withSemicolon));
    EXPECT_TRUE(acceptDiscFolderName(withSemicolon));
    QString spaced = QStringLiteral("My Card");
    EXPECT_TRUE(acceptPostcardDiscFolderName(spaced));
    EXPECT_EQ(spaced, QStringLiteral("My_Card"));
    QString dotted = QStringLiteral("My.Card");
    EXPECT_FALSE(acceptPostcardDiscFolderName(dotted));
}

TEST(Postcard, BackgroundFileByteLayoutAndReadBack)
{
    QImage own(640, 480, QImage::Format_RGB32);
    own.fill(QColor(10, 120, 200));
    const OwnedBlock picture(imageToDibBlock(own));
    PostcardFrameChoice frame;
    frame.ownPicture = picture.handle();
    QString error;
    const std::optional<PostcardContent> content
        = makePostcardContent(frame, plainCard(), QStringLiteral("/clips/trip.Mpeg"), &error);
    ASSERT_TRUE(content) << qPrintable(error);
    const QByteArray bytes = postcardFileBytes(*content);

    const qsizetype cardSize = 40 + 640 * 3 * 480;
    const qsizetype frameSize = 14 + cardSize; // the file header, then the same packed bitmap
    ASSERT_EQ(bytes.size(), 4176 + 280 + cardSize + 276 + frameSize);
    EXPECT_EQ(bytes.left(4), QByteArray("AVTP"));
    EXPECT_EQ(bytes.mid(4, 4), QByteArray("1.0\0", 4));
    EXPECT_EQ(bytes.mid(9, 15), QByteArray("background.vtp\0", 15));
    EXPECT_EQ(u32(bytes, 4172), 1u);
    EXPECT_EQ(bytes.mid(4176, 264), QByteArray(264, '\0'));
    EXPECT_EQ(u32(bytes, 4176 + 264), std::uint32_t(cardSize));
    EXPECT_EQ(u32(bytes, 4176 + 272), std::uint32_t(frameSize));
    EXPECT_EQ(qFromLittleEndian<std::uint16_t>(bytes.constData() + 4176 + 276), 276);
    const qsizetype card = 4176 + 280;
    EXPECT_EQ(u32(bytes, card), 40u); // packed bitmap: header size, 640 x 480, 24 bits
    EXPECT_EQ(u32(bytes, card + 4), 640u);
    EXPECT_EQ(u32(bytes, card + 8), 480u);
    const qsizetype window = card + cardSize;
    EXPECT_EQ(u32(bytes, window), 240u);
    EXPECT_EQ(u32(bytes, window + 4), 180u);
    EXPECT_EQ(u32(bytes, window + 8), 160u);
    EXPECT_EQ(u32(bytes, window + 12), 120u);
    EXPECT_EQ(bytes.mid(window + 16, 11), QByteArray("Video.MPEG\0", 11));
    const qsizetype frameAt = window + 276;
    EXPECT_EQ(bytes.mid(frameAt, 2), QByteArray("BM"));
    EXPECT_EQ(u32(bytes, frameAt + 2), std::uint32_t(frameSize));
    EXPECT_EQ(u32(bytes, frameAt + 6), 0u);
    EXPECT_EQ(u32(bytes, frameAt + 10), 54u);

    const std::optional<PostcardContent> read = readPostcardFile(bytes, &error);
    ASSERT_TRUE(read) << qPrintable(error);
    EXPECT_EQ(read->window, QRect(240, 180, 160, 120));
    EXPECT_EQ(read->clipName, QStringLiteral("Video.MPEG"));
    EXPECT_EQ(postcardFrameImage(*read).pixelColor(5, 5), QColor(10, 120, 200));
    EXPECT_EQ(postcardCardImage(*read).size(), QSize(640, 480));

    // With neither a frame nor an own picture the file is the header alone, with no entry.
    const std::optional<PostcardContent> empty
        = makePostcardContent({}, plainCard(), QStringLiteral("trip.Mpeg"), &error);
    ASSERT_TRUE(empty);
    const QByteArray header = postcardFileBytes(*empty);
    EXPECT_EQ(header.size(), 4176);
    EXPECT_EQ(u32(header, 4172), 0u);
}

TEST(Postcard, HostilePostcardFilesAreRefusedWithAReason)
{
    QImage own(64, 48, QImage::Format_RGB32);
    own.fill(Qt::red);
    const OwnedBlock picture(imageToDibBlock(own));
    PostcardFrameChoice frame;
    frame.ownPicture = picture.handle();
    const QByteArray good = postcardFileBytes(
        *makePostcardContent(frame, plainCard(), QStringLiteral("a.avi"), nullptr));
    const qsizetype entry = 4176;
    const qsizetype window = entry + 280 + 40 + 640 * 3 * 480;
    const auto patched = [&good](qsizetype at, std::uint32_t value) {
        QByteArray bytes = good;
        PostcardLayout::putLe32(bytes, at, value);
        return bytes;
    };
    const struct {
        const char *name;
        QByteArray bytes;
        const char *says;
    } cases[] = {
        { "empty", QByteArray(), "not a postcard" },
        { "other magic", QByteArray(good).replace(0, 4, "XXXX"), "not a postcard" },
        { "many entries", patched(4172, 0xFFFFFFFF), "entries" },
        { "cut in the entry", good.left(entry + 100), "ends inside its entry" },
        { "huge card", patched(entry + 264, 0xFFFFFFF0), "shorter than its entry" },
        { "huge frame", patched(entry + 272, 0x7FFFFFFF), "shorter than its entry" },
        { "cut in the frame", good.left(good.size() - 1), "shorter than its entry" },
        { "8-bit card", patched(entry + 280 + 14, 8), "not a 24-bit bitmap" },
        { "huge card width", patched(entry + 280 + 4, 100000), "not a 24-bit bitmap" },
        { "window off the card", patched(window, 0xFFFFFF00), "outside the card" },
        { "window of no width", patched(window + 8, 0), "outside the card" },
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(readPostcardFile(c.bytes, &error)) << c.name;
        EXPECT_TRUE(error.contains(QLatin1String(c.says))) << c.name << ": " << qPrintable(error);
    }
}

TEST(Postcard, ShippedCatalogsListTheirFramesWithWindowsAndPictures)
{
    const QString templates = QDir(resourceFolder()).filePath(QStringLiteral("Template"));
    QStringList problems;
    const QList<FrameCatalog> catalogs = findFrameCatalogs({ templates, templates }, &problems);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(u'\n'));
    ASSERT_EQ(catalogs.size(), 3); // the second folder's copies are dropped by English name
    QStringList names;
    for (const FrameCatalog &catalog : catalogs) {
        names.append(catalogDisplayName(catalog, QStringLiteral("ENGLISH")));
        EXPECT_GE(catalog.frames.size(), 3);
        for (const CatalogFrame &frame : catalog.frames) {
            SCOPED_TRACE(qPrintable(frame.name));
            EXPECT_EQ(frame.smallWindow.size(), QSize(160, 120));
            EXPECT_EQ(frame.largeWindow.size(), QSize(320, 240));
            EXPECT_TRUE(QRect(0, 0, 640, 480).contains(frame.largeWindow));
            EXPECT_TRUE(frame.largeWindow.contains(frame.smallWindow));
            EXPECT_EQ(QImage::fromData(frame.thumbnail).size(), QSize(75, 55));
            QString error;
            const QByteArray data = readCatalogFrameData(catalog, frame, &error);
            EXPECT_EQ(QImage::fromData(data).size(), QSize(640, 480)) << qPrintable(error);
        }
    }
    EXPECT_EQ(names, QStringList({ "Celebrations", "Classic", "Seasons" }));
    EXPECT_EQ(
        catalogDisplayName(catalogs.last(), QStringLiteral("FRENCH")), QStringLiteral("Saisons"));
    EXPECT_FALSE(findCardBackground({ QStringLiteral("/no/such"), templates }).isEmpty());
}

TEST(Postcard, HostileCatalogsAreRefusedBeforeAnythingIsAllocated)
{
    const QByteArray thumb(10, 't');
    const QByteArray window = windowBlock(QRect(10, 10, 160, 120), QRect(0, 0, 320, 240));
    const QByteArray oneFrame = catalogEntry(10, 4) + thumb + window + "data";
    const struct {
        const char *name;
        QByteArray bytes;
        const char *says;
    } cases[] = {
        { "short header", QByteArray("AVTP"), "not a frame catalog" },
        { "huge count", catalogBytes(0xFFFFFFFF, oneFrame), "more than the file holds" },
        { "count beyond entries", catalogBytes(2, oneFrame + QByteArray(600, '\0')), "frame 2" },
        { "huge thumbnail", catalogBytes(1, catalogEntry(0x7FFFFFFF, 4) + window), "too large" },
        { "frame past the end", catalogBytes(1, catalogEntry(10, 0xFFFFFFFF) + thumb + window),
            "shorter than the entry" },
        { "odd window block", catalogBytes(1, catalogEntry(10, 4, 300) + thumb + window + "data"),
            "unknown size" },
        { "window off the frame",
            catalogBytes(1,
                catalogEntry(10, 4) + thumb + windowBlock(QRect(-5, 0, 160, 120), QRect(0, 0, 1, 1))
                    + "data"),
            "outside the frame" },
    };
    for (const auto &c : cases) {
        QByteArray bytes = c.bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QString error;
        EXPECT_FALSE(readFrameCatalog(buffer, &error)) << c.name;
        EXPECT_TRUE(error.contains(QLatin1String(c.says))) << c.name << ": " << qPrintable(error);
    }
    QByteArray good = catalogBytes(1, oneFrame);
    QBuffer buffer(&good);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<FrameCatalog> catalog = readFrameCatalog(buffer, nullptr);
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->frames.value(0).frameSize, 4);
    EXPECT_EQ(catalogDisplayName(*catalog, QStringLiteral("GERMAN")), QStringLiteral("Test"));

    // In a folder, a broken catalog is reported by name and the others are still listed.
    const QString folder = makeTestFolder(QStringLiteral("catalogs"));
    writeFile(folder + QStringLiteral("/a.cat"), catalogBytes(0xFFFFFFFF, oneFrame));
    writeFile(folder + QStringLiteral("/b.cat"), good);
    QStringList problems;
    EXPECT_EQ(findFrameCatalogs({ folder }, &problems).size(), 1);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems.first().startsWith(folder + QStringLiteral("/a.cat: ")));
}

TEST(Postcard, CardTextIsDrawnAtItsPlacesAndChecked)
{
    const QFont message = previewFont(defaultCardFont(0, QStringLiteral("English")));
    EXPECT_EQ(message.pixelSize(), 18); // 18 points at 96 dpi is 24 pixels; 3/4 of it
    const QSize box = cardTextPlace(0, CardLanguage::Other).preview.size();
    EXPECT_EQ(box, QSize(170, 278));
    EXPECT_TRUE(cardTextFits(QStringLiteral("Greetings from the coast!"), message, box));
    EXPECT_FALSE(cardTextFits(QString(2000, u'w'), message, box));
    EXPECT_EQ(cardTextPlace(1, CardLanguage::Korean).card, QPoint(448, 236));
    EXPECT_EQ(cardTextPlace(2, CardLanguage::Other).card, QPoint(392, 295));

    std::array<CardText, kCardFieldCount> texts;
    texts[0] = { QStringLiteral("Hello"), message, Qt::black };
    texts[2] = { QStringLiteral("Anna"), previewFont(defaultCardFont(2, {})), Qt::blue };
    const QImage card = makeCardPicture(plainCard(), texts, CardLanguage::Other);
    const auto inked = [&card](QRect area, QColor colour) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (card.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(QRect(46, 46, 120, 40), Qt::black));
    EXPECT_TRUE(inked(QRect(392, 295, 100, 24), Qt::blue));
    EXPECT_FALSE(inked(QRect(392, 238, 200, 24), Qt::blue)); // the empty upper line
}

TEST(Postcard, APackageThatCannotBeCompletedLeavesTheDestinationEmpty)
{
    const QString working = makeWorkingFolder();
    ASSERT_FALSE(working.isEmpty());
    const QString clip = fixturePath(QStringLiteral("album/clip.mpg"));
    const QString broken = fixturePath(QStringLiteral("album/broken.mpeg"));
    const QString noPlayer = QStringLiteral("/no/such/vplayer.bin");
    // FFmpeg plays it, but the postcard could not name it for the player.
    const QString otherType = makeTestFolder(QStringLiteral("clip")) + QStringLiteral("/trip.mp4");
    QFile::copy(clip, otherType);
    PostcardContent content;
    const struct {
        const char *name;
        QString clip, player;
        PostcardResult result;
        const char *says;
    } cases[] = {
        { "no clip", QString(), noPlayer, PostcardResult::NoClip, "" },
        { "clip FFmpeg cannot open", broken, noPlayer, PostcardResult::ClipUnusable,
            "FFmpeg cannot open" },
        { "missing clip", QStringLiteral("/no/such/trip.mpg"), noPlayer,
            PostcardResult::ClipUnusable, "no such file" },
        { "clip of another type", otherType, noPlayer, PostcardResult::ClipUnusable,
            "an .avi, .mpeg, .mpg or .mov file" },
        { "missing player", clip, noPlayer, PostcardResult::NoPlayer, "player is not installed" },
    };
    for (const auto &c : cases) {
        const QString destination = makeTestFolder(QStringLiteral("card")) + QStringLiteral("/out");
        PostcardPackage package(working, c.clip, c.player);
        ASSERT_TRUE(package.writeFiles(content).ok());
        const PostcardOutcome outcome = package.deliverToFolder(destination);
        EXPECT_EQ(outcome.result, c.result) << c.name;
        EXPECT_TRUE(outcome.detail.contains(QLatin1String(c.says))) << qPrintable(outcome.detail);
        EXPECT_FALSE(QFileInfo::exists(destination)) << c.name;
    }
    // A copy that fails half-way takes back what it had copied.
    const QString destination = makeTestFolder(QStringLiteral("card"));
    QDir().mkpath(destination + QStringLiteral("/postcard.html")); // a folder in the way
    PostcardPackage package(working, clip, clip); // any file stands in for the player
    ASSERT_TRUE(package.writeFiles(content).ok());
    const PostcardOutcome outcome = package.deliverToFolder(destination);
    EXPECT_EQ(outcome.result, PostcardResult::CopyFailed);
    EXPECT_EQ(QDir(destination).entryList(QDir::Files), QStringList());
    removeWorkingFolder(working);
}

} // namespace

// A clip named like the package's copy of it ("video.mpg") in the folder the postcard goes to:
// the user's folder is refused and the clip kept whole; in an earlier postcard's folder the clip
// is read before the package is replaced, so the new copy is the whole clip.
TEST(Postcard, AClipInTheDestinationIsNeverCutShort)
{
    const QString working = makeWorkingFolder();
    ASSERT_FALSE(working.isEmpty());
    const QByteArray clipBytes = fileBytes(fixturePath(QStringLiteral("album/clip.mpg")));
    const QString folder = makeTestFolder(QStringLiteral("clips"));
    const QString clip = folder + QStringLiteral("/video.mpg");
    writeFile(clip, clipBytes);
    PostcardContent content;
    {
        PostcardPackage package(working, clip, clip); // any file stands in for the player
        ASSERT_TRUE(package.writeFiles(content).ok());
        const PostcardOutcome outcome = package.deliverToFolder(folder);
        EXPECT_FALSE(outcome.ok());
        EXPECT_TRUE(outcome.detail.startsWith(folder + QStringLiteral(": holds files")))
            << qPrintable(outcome.detail);
        EXPECT_EQ(fileBytes(clip), clipBytes);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({ "video.mpg" }));
    }
    const QString card = makeTestFolder(QStringLiteral("card"));
    {
        PostcardPackage first(working, clip, clip);
        ASSERT_TRUE(first.writeFiles(content).ok());
        ASSERT_TRUE(first.deliverToFolder(card).ok());
    }
    const QString copy = card + QStringLiteral("/video.mpg");
    PostcardPackage again(working, copy, clip);
    ASSERT_TRUE(again.writeFiles(content).ok());
    EXPECT_FALSE(again.deliverToFolder(card).ok()); // not without the user's word
    const PostcardOutcome replaced = again.deliverToFolder(card, nullptr, true);
    EXPECT_TRUE(replaced.ok()) << qPrintable(replaced.detail);
    EXPECT_EQ(fileBytes(copy), clipBytes);
    removeWorkingFolder(working);
}
