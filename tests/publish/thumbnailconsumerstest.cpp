// Everything that hands out an album's thumbnails, run on an album loaded from its file (whose
// bitmaps stay in the file until wanted): each product carries exactly the bitmaps the album
// file holds. The file and the products are read here by walking their layouts by offset, not
// through the album library, so a consumer that takes its bytes from the wrong place is caught.

#include "publishtesthelpers.h"

#include "album/albumfilecopy.h"
#include "publish/albumsearch.h"
#include "publish/itempicker.h"
#include "publish/slideshowpackage.h"
#include "support/recordinghost.h"
#include "view/albumclipboard.h"
#include "view/contactsheet.h"

#include "albummosaic.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace glimmerix;

namespace
{

std::uint32_t u32(const QByteArray &bytes, qsizetype at)
{
    if (at < 0 || at + 4 > bytes.size())
        return 0;
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

// The thumbnail bitmaps of a version "1.3" album file, in item order: the header gives the item
// count (at 8) and the data area (at 12); item records of 1357 bytes follow the 272-byte header,
// each giving its bitmap's offset in the data area (at 1044) and its size (at 1052).
QList<QByteArray> albumFileBitmaps(const QByteArray &file)
{
    EXPECT_TRUE(file.startsWith("PALM"));
    EXPECT_EQ(QByteArray(file.constData() + 144), QByteArray("1.3"));
    const std::uint32_t count = u32(file, 8);
    const std::uint32_t dataStart = u32(file, 12);
    QList<QByteArray> bitmaps;
    for (std::uint32_t i = 0; i < count; ++i) {
        const qsizetype record = 272 + 1357 * qsizetype(i);
        const qsizetype at = qsizetype(dataStart) + u32(file, record + 1044);
        const qsizetype size = u32(file, record + 1052);
        EXPECT_LE(at + size, file.size()) << i;
        bitmaps.append(file.mid(at, size));
    }
    return bitmaps;
}

// The thumbnails of a show file, in entry order: the header gives the entry count (at 8) and
// where the thumbnails start (at 12); 552-byte entries follow the 412-byte header, each giving its
// thumbnail's offset (at 536) and size (at 544).
QList<QByteArray> showFileBitmaps(const QByteArray &file)
{
    EXPECT_TRUE(file.startsWith("PALM"));
    const std::uint32_t count = u32(file, 8);
    const std::uint32_t dataStart = u32(file, 12);
    EXPECT_EQ(dataStart, 412 + 552 * count);
    QList<QByteArray> bitmaps;
    for (std::uint32_t i = 0; i < count; ++i) {
        const qsizetype entry = 412 + 552 * qsizetype(i);
        bitmaps.append(file.mid(qsizetype(dataStart) + u32(file, entry + 536), u32(file, entry + 544)));
    }
    return bitmaps;
}

// The pixel rows of a picture as a 24-bit bitmap stores them: bottom-up, blue-green-red, each
// row padded with zeros to a multiple of four bytes.
QByteArray storedRows(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const qsizetype stride = (qsizetype(rgb.width()) * 3 + 3) & ~qsizetype(3);
    QByteArray rows(stride * rgb.height(), '\0');
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar *from = rgb.constScanLine(y);
        char *to = rows.data() + stride * (rgb.height() - 1 - y);
        for (int x = 0; x < rgb.width(); ++x) {
            to[3 * x] = char(from[3 * x + 2]);
            to[3 * x + 1] = char(from[3 * x + 1]);
            to[3 * x + 2] = char(from[3 * x]);
        }
    }
    return rows;
}

QList<QByteArray> rowsOf(const QList<QImage> &pictures)
{
    QList<QByteArray> rows;
    for (const QImage &picture : pictures)
        rows.append(storedRows(picture));
    return rows;
}

// A saved album of three real pictures (one with rows that need padding) and that album opened
// from its file again.
struct LoadedAlbum {
    QString media = makeTestFolder(QStringLiteral("media"));
    QString work = makeTestFolder(QStringLiteral("work")) + u'/';
    QString path = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/trip.gmx");
    QByteArray file;
    std::unique_ptr<CAlbumDoc> doc = std::make_unique<CAlbumDoc>();

    LoadedAlbum()
    {
        {
            CAlbumDoc made;
            const struct {
                const char *name;
                int width;
                int height;
            } pictures[] = { { "wide.jpg", 160, 120 }, { "narrow.bmp", 70, 160 },
                { "square.jpg", 90, 90 } };
            for (const auto &picture : pictures) {
                const QString file = media + u'/' + QLatin1String(picture.name);
                writePicture(file, picture.width, picture.height);
                made.addFile(file);
            }
            EXPECT_EQ(made.itemCount(), 3);
            EXPECT_TRUE(made.onSaveDocument(path));
        }
        file = fileBytes(path);
        EXPECT_TRUE(doc->onOpenDocument(path));
        for (int i = 0; i < doc->itemCount(); ++i)
            EXPECT_TRUE(doc->item(i)->thumbnailInFile()) << i;
    }
};

struct Consumer {
    const char *name;
    // The product holds only the pictures (compared by their pixel rows), not the bitmaps.
    bool picturesOnly;
    std::function<QList<QByteArray>(LoadedAlbum &)> thumbnails;
};

TEST(ThumbnailConsumers, ALoadedAlbumHandsOutTheBitmapsItsFileHolds)
{
    RecordingHost host;
    const Consumer consumers[] = {
        { "slide show file", false,
            [](LoadedAlbum &album) {
                const QString player = album.media + QStringLiteral("/player.bin");
                writeFile(player, QByteArray("player"));
                ItemPicker picker(PickingMode::SlideShow, album.work);
                picker.setPlayerSource(player);
                picker.activate(*album.doc);
                EXPECT_TRUE(picker.addAll(nullptr));
                EXPECT_TRUE(picker.next());
                SlideShowPackage package(picker);
                package.setSound(ShowSound::None);
                EXPECT_EQ(package.writeShowFile(), ShowFileResult::Written)
                    << qPrintable(package.detail());
                return showFileBitmaps(fileBytes(album.work + QLatin1String(kShowFileName)));
            } },
        { "album search", false,
            [](LoadedAlbum &album) {
                album.doc.reset(); // the search opens the album file itself
                SearchRequest request;
                request.albumPaths = { album.path };
                request.targetPath = album.work + QStringLiteral("results.gmx");
                request.text = QStringLiteral("/");
                QList<QByteArray> bitmaps;
                for (const FoundItem &found : searchAlbums(request))
                    bitmaps.append(found.block.mid(1060));
                return bitmaps;
            } },
        { "clipboard stream", false,
            [](LoadedAlbum &album) {
                QList<QByteArray> bitmaps;
                for (int i = 0; i < album.doc->itemCount(); ++i) {
                    album.doc->setCurrentItem(i);
                    bitmaps += albumFileBitmaps(currentItemStream(*album.doc));
                }
                return bitmaps;
            } },
        { "dragged selection", false,
            [](LoadedAlbum &album) {
                QList<QByteArray> bitmaps;
                for (const QByteArray &stream :
                    readSelectionStream(selectionStream(*album.doc, { 0, 1, 2 })))
                    bitmaps += albumFileBitmaps(stream);
                return bitmaps;
            } },
        { "album copied with its files", false,
            [](LoadedAlbum &album) {
                const CopyFilesOutcome outcome = copyAlbumFiles(*album.doc,
                    album.work + QStringLiteral("copy"), false,
                    [](const QString &) { return qint64(1) << 40; });
                EXPECT_TRUE(outcome.succeeded);
                return albumFileBitmaps(fileBytes(outcome.albumCopy));
            } },
        { "thumbnailer mosaic", true,
            [](LoadedAlbum &album) {
                QFile file(album.path);
                EXPECT_TRUE(file.open(QIODevice::ReadOnly));
                const AlbumThumbnails read = readFirstThumbnails(file);
                return rowsOf(QList<QImage>(read.pictures.begin(), read.pictures.end()));
            } },
        { "contact sheet cell", true,
            [](LoadedAlbum &album) {
                QList<QImage> pictures;
                for (int i = 0; i < album.doc->itemCount(); ++i)
                    pictures.append(ContactSheet::cellPicture(*album.doc->item(i), false));
                return rowsOf(pictures);
            } },
        { "album thumbnail command", true,
            [](LoadedAlbum &album) {
                album.doc.reset(); // the command opens the album file itself
                QList<QImage> pictures;
                for (int i = 0; i < 3; ++i) {
                    const QString out = album.work + QStringLiteral("t%1.bmp").arg(i);
                    const ProcessRun run = runCli({ QStringLiteral("album"),
                        QStringLiteral("thumbnail"), album.path, QString::number(i), out });
                    EXPECT_EQ(run.status, 0) << qPrintable(run.err);
                    pictures.append(QImage(out));
                }
                return rowsOf(pictures);
            } },
    };
    for (const Consumer &consumer : consumers) {
        SCOPED_TRACE(consumer.name);
        LoadedAlbum album;
        const QList<QByteArray> stored = albumFileBitmaps(album.file);
        ASSERT_EQ(stored.size(), 3);
        const QList<QByteArray> product = consumer.thumbnails(album);
        ASSERT_EQ(product.size(), stored.size());
        for (qsizetype i = 0; i < stored.size(); ++i) {
            ASSERT_GT(stored.at(i).size(), 40) << i;
            const QByteArray expected = consumer.picturesOnly ? stored.at(i).mid(40) : stored.at(i);
            EXPECT_TRUE(product.at(i) == expected) << "item " << i;
        }
    }
}

} // namespace
