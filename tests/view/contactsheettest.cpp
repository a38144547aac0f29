// Contact sheets painted on images and printed to PDF through glimix-cli.

#include "view/contactsheet.h"

#include "album/albumdoc.h"
#include "platform/paths.h"
#include "support/processrun.h"
#include "support/testenvironment.h"
#include "view/cellpictures.h"

#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// An album of `count` pictures of 120 x 80 in distinct colours, every third a sound when asked.
class ContactSheetTest : public ::testing::Test
{
protected:
    void build(int count, bool withSounds = false)
    {
        folder = makeTestFolder(QStringLiteral("sheet"));
        for (int i = 0; i < count; ++i) {
            QString path = folder + QStringLiteral("/p%1.bmp").arg(i, 3, 10, QLatin1Char('0'));
            if (withSounds && i % 3 == 1) {
                path.replace(QLatin1String(".bmp"), QLatin1String(".wav"));
                writeFile(path, QByteArray(300, 's'));
            } else {
                QImage picture(120, 80, QImage::Format_RGB32);
                picture.fill(colourOf(i));
                ASSERT_TRUE(picture.save(path));
            }
            ASSERT_EQ(document.addFile(path), 1);
        }
    }
    static QColor colourOf(int i) { return QColor::fromHsv((i * 47) % 360, 255, 230); }

    // Page `page` painted on a white image of `size` at `dpi`.
    static QImage paint(ContactSheet &sheet, int page, QSize size, int dpi)
    {
        QImage image(size, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(dpi / 0.0254));
        image.setDotsPerMeterY(int(dpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        sheet.paintPage(painter, page);
        return image;
    }

    QString folder;
    CAlbumDoc document;
};

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24
        && std::abs(a.blue() - b.blue()) < 24;
}

TEST_F(ContactSheetTest, PagesHoldTheItemsRowByRowAndMediaClosesUp)
{
    build(20, true);
    PrintOptions options;
    options.itemTexts = false;
    options.includeMedia = false;
    options.title = QStringLiteral("Holiday");
    const QSize page(802, 1000);
    ContactSheet sheet(document, options, {});
    sheet.layout(page, true, 96);
    // 20 items, of which 7 are sounds left out: 13 pictures in 4 x 5 cells fit on one page.
    ASSERT_EQ(sheet.items().size(), 13);
    ASSERT_EQ(sheet.pageCount(), 1);
    const QImage image = paint(sheet, 0, page, 96);
    const PageGeometry &grid = sheet.geometry();
    for (int cell = 0; cell < sheet.items().size(); ++cell) {
        const QColor expected = colourOf(sheet.items().at(cell));
        const QColor seen = image.pixelColor(grid.cellRect(cell).center());
        EXPECT_TRUE(near(seen, expected)) << "cell " << cell << " shows " << qPrintable(seen.name())
                                          << " not " << qPrintable(expected.name());
    }
    // The title band is filled; the cell after the last item stays white.
    EXPECT_NE(image.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(grid.cellRect(13).center()), QColor(Qt::white));
}

TEST_F(ContactSheetTest, HighQualityOpensTheFullPictureOnFinePrintersOnly)
{
    build(2, true);
    const AlbumItem &picture = *document.item(0);
    const AlbumItem &sound = *document.item(1);
    EXPECT_EQ(ContactSheet::cellPicture(picture, true).size(), QSize(120, 80));
    EXPECT_EQ(ContactSheet::cellPicture(picture, false).size(), QSize(80, 53));
    EXPECT_EQ(ContactSheet::cellPicture(sound, true).size(), sound.thumbnailImage().size());
    QFile::remove(picture.absolutePath());
    EXPECT_EQ(ContactSheet::cellPicture(picture, true).size(), QSize(80, 53));

    PrintOptions options;
    ContactSheet sheet(document, options, {});
    sheet.layout({ 800, 1000 }, true, 200);
    EXPECT_FALSE(sheet.usesFullPictures());
    sheet.layout({ 800, 1000 }, true, 300);
    EXPECT_TRUE(sheet.usesFullPictures());
    options.highQuality = false;
    ContactSheet thumbnails(document, options, {});
    thumbnails.layout({ 800, 1000 }, true, 300);
    EXPECT_FALSE(thumbnails.usesFullPictures());
}

TEST_F(ContactSheetTest, CellDecorationFromBackgroundAndBorder)
{
    build(1);
    const QString borders = makeTestFolder(QStringLiteral("borders"));
    QImage background(20, 20, QImage::Format_RGB32);
    background.fill(QColor(0, 0, 200));
    ASSERT_TRUE(background.save(borders + QStringLiteral("/Blue.bkg"), "BMP"));
    QImage border(480, 480, QImage::Format_RGB32);
    border.fill(QColor(0, 180, 0));
    ASSERT_TRUE(border.save(borders + QStringLiteral("/Green.frm"), "BMP"));
    const CellPictureLists lists = listCellPictures(borders);
    EXPECT_EQ(lists.backgrounds, QStringList { QStringLiteral("Blue.bkg") });
    EXPECT_EQ(lists.borders, QStringList { QStringLiteral("Green.frm") });

    PrintOptions options;
    options.itemTexts = false;
    options.backgroundName = QStringLiteral("Blue.bkg");
    options.borderName = QStringLiteral("Green.frm");
    ContactSheet sheet(document, options, {}, borders);
    sheet.layout({ 602, 1000 }, true, 96);
    const QImage image = paint(sheet, 0, { 602, 1000 }, 96);
    const QRect cell = sheet.geometry().cellRect(0);
    // The background shows in the outer tenth of the cell, the border inside it.
    EXPECT_TRUE(near(image.pixelColor(cell.topLeft() + QPoint(3, 3)), QColor(0, 0, 200)));
    EXPECT_TRUE(near(image.pixelColor(cell.topLeft() + QPoint(20, 20)), QColor(0, 180, 0)));

    options.borderOn = false;
    options.backgroundOn = false;
    ContactSheet plain(document, options, {}, borders);
    plain.layout({ 602, 1000 }, true, 96);
    const QImage bare = paint(plain, 0, { 602, 1000 }, 96);
    EXPECT_EQ(bare.pixelColor(cell.topLeft() + QPoint(3, 3)), QColor(Qt::white));
}

QString runTool(const QString &program, const QStringList &args, int *status = nullptr)
{
    const ProcessRun run = runProgram(program, args);
    if (status)
        *status = run.status;
    return run.out + run.err;
}

TEST_F(ContactSheetTest, CommandLinePrintsFortyItemsOnThreeA4Pages)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    build(40);
    const QString album = folder + QStringLiteral("/forty.gmx");
    {
        // A document of its own, so the album's lock is let go before the tool opens it.
        CAlbumDoc saved;
        for (int i = 0; i < document.itemCount(); ++i)
            ASSERT_EQ(saved.addFile(document.item(i)->path()), 1);
        ASSERT_TRUE(saved.onSaveDocument(album));
    }
    const QString pdf = folder + QStringLiteral("/forty.pdf");
    const QString cli = joinPath(programFolder(), QStringLiteral("glimix-cli"));
    int status = 0;
    const QString out = runTool(cli,
        { QStringLiteral("print"), album, pdf, QStringLiteral("--page"), QStringLiteral("a4"),
            QStringLiteral("--title"), QStringLiteral("Forty"), QStringLiteral("--page-numbers"),
            QStringLiteral("--file-names") },
        &status);
    ASSERT_EQ(status, 0) << qPrintable(out);
    const QString info = runTool(QStringLiteral("pdfinfo"), { pdf });
    // A4 less 10 mm margins at 300 dpi: cells of 560 in 4 columns and 4 rows, 16 a page.
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))))
        << qPrintable(info);
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << qPrintable(info);
    const QString text = runTool(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") });
    EXPECT_EQ(text.count(QStringLiteral("Forty")), 3);
    EXPECT_TRUE(text.contains(QStringLiteral("p039.bmp")));

    // A usage error and an unknown border leave no file behind.
    const QString bad = folder + QStringLiteral("/bad.pdf");
    runTool(cli,
        { QStringLiteral("print"), album, bad, QStringLiteral("--columns"), QStringLiteral("5") },
        &status);
    EXPECT_EQ(status, 2);
    runTool(cli,
        { QStringLiteral("print"), album, bad, QStringLiteral("--border"),
            QStringLiteral("Nothing.frm") },
        &status);
    EXPECT_EQ(status, 2);
    EXPECT_FALSE(QFileInfo::exists(bad));
}

// A missing file prints as its thumbnail only when the user allows it; either way it is named.
// Without the allowance an earlier sheet stays as it was. An unwritable target is named too.
TEST_F(ContactSheetTest, CommandLineNamesMissingFilesAndUnwritableTargets)
{
    build(3);
    const QString album = folder + QStringLiteral("/three.gmx");
    {
        CAlbumDoc saved;
        for (int i = 0; i < document.itemCount(); ++i)
            ASSERT_EQ(saved.addFile(document.item(i)->path()), 1);
        ASSERT_TRUE(saved.onSaveDocument(album));
    }
    const QString gone = document.item(1)->absolutePath();
    ASSERT_TRUE(QFile::remove(gone));
    const QString pdf = folder + QStringLiteral("/three.pdf");
    writeFile(pdf, "earlier sheet");
    const QString cli = joinPath(programFolder(), QStringLiteral("glimix-cli"));
    const struct {
        QStringList extra;
        QString target;
        int status;
        QString named;
        bool written;
    } rows[] = {
        { {}, pdf, 1, gone, false },
        { { QStringLiteral("--allow-missing") }, pdf, 0, gone, true },
        { { QStringLiteral("--allow-missing") }, folder + QStringLiteral("/no/such/out.pdf"), 1,
            folder + QStringLiteral("/no/such/out.pdf"), false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(qPrintable(row.extra.join(u' ') + u' ' + row.target));
        int status = -1;
        const QString out
            = runTool(cli, QStringList { QStringLiteral("print"), album, row.target } + row.extra,
                &status);
        EXPECT_EQ(status, row.status) << qPrintable(out);
        EXPECT_TRUE(out.contains(row.named)) << qPrintable(out);
        if (row.target == pdf) {
            EXPECT_EQ(fileBytes(pdf).startsWith("%PDF"), row.written);
        }
    }
}

} // namespace
