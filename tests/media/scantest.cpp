// Scanner acquisition: the bitmap rules, and whole acquisitions from SANE's `test` backend
// (enabled through a private configuration folder) into an album.

#include "album/acquiredpicture.h"
#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "core/messageids.h"
#include "core/settingssections.h"
#include "imaging/dibblock.h"
#include "imaging/picturetypes.h"
#include "media/scanbitmap.h"
#include "media/scansource.h"
#include "media/ui/scandialog.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <sane/sane.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>

#include <cstring>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

TEST(ScanBitmap, RowsResolutionAndPalettes)
{
    struct Case {
        ScanPixelType type;
        int width;
        std::uint32_t rowBytes;
        std::uint32_t colours;
    };
    for (const Case &c : { Case { ScanPixelType::BlackWhite, 100, 16, 2 },
             Case { ScanPixelType::Grey, 100, 100, 256 },
             Case { ScanPixelType::Rgb, 100, 300, 0 } }) {
        ScanBitmapBuilder builder;
        ASSERT_TRUE(builder.begin(c.width, 3, c.type, 0));
        const OwnedBlock block(builder.finish());
        const BITMAPINFOHEADER *header = dibHeader(block.handle());
        EXPECT_EQ(header->biSizeImage, c.rowBytes * 3);
        EXPECT_EQ(dibColorCount(*header), c.colours == 0 ? 0u : c.colours);
    }
    EXPECT_EQ(scanPixelsPerMetre(300 << 16, ScanUnits::Inches), 11811);
    EXPECT_EQ(scanPixelsPerMetre(100 << 16, ScanUnits::Centimetres), 10000);
    EXPECT_EQ(scanPixelsPerMetre(300 << 16, ScanUnits::Other), 0);

    // Lineart: bit 1 is black, so the palette is white then black; grey thresholds at half.
    ScanBitmapBuilder lineart;
    ASSERT_TRUE(lineart.begin(8, 1, ScanPixelType::BlackWhite, 0, true, true));
    const unsigned char grey[8] = { 0, 255, 127, 128, 0, 0, 255, 255 };
    lineart.append(grey, 8);
    const OwnedBlock bits(lineart.finish());
    BITMAPINFOHEADER *header = dibHeader(bits.handle());
    EXPECT_EQ(dibColors(header)[0].rgbRed, 255);
    EXPECT_EQ(*dibBits(header), 0b10101100);
}

TEST(ScanBitmap, RgbRowsTurnBottomUpWithTheMiddleRowSwappedOnce)
{
    ScanBitmapBuilder builder;
    ASSERT_TRUE(builder.begin(1, 3, ScanPixelType::Rgb, 0));
    const unsigned char rows[9] = { 1, 2, 3, 4, 5, 6, 7, 8, 9 }; // top, middle, bottom
    builder.append(rows, 4); // split inside a row
    builder.append(rows + 4, 5);
    const OwnedBlock block(builder.finish());
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    const unsigned char expected[3][3] = { { 9, 8, 7 }, { 6, 5, 4 }, { 3, 2, 1 } };
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(0, memcmp(dibRow(header, row), expected[row], 3)) << "row " << row;
    }

    // An even height swaps every pixel once too; a row that never came stays white, padding
    // and all.
    ScanBitmapBuilder cut;
    ASSERT_TRUE(cut.begin(1, 4, ScanPixelType::Rgb, 0));
    cut.append(rows, 9); // three of four rows, whole rows at once
    const OwnedBlock shortScan(cut.finish());
    BITMAPINFOHEADER *cutHeader = dibHeader(shortScan.handle());
    const unsigned char white[4] = { 255, 255, 255, 255 };
    EXPECT_EQ(0, memcmp(dibRow(cutHeader, 0), white, 4)) << "the missing bottom row";
    for (int row = 1; row < 4; ++row) {
        EXPECT_EQ(0, memcmp(dibRow(cutHeader, row), expected[row - 1], 3)) << "row " << row;
        EXPECT_EQ(dibRow(cutHeader, row)[3], 255) << "padding of row " << row;
    }
}

TEST(ScanBitmap, AbsurdDeviceParametersAreRefused)
{
    EXPECT_TRUE(scanParametersProblem(SANE_FRAME_RGB, 8, 100, 50, 300).isEmpty());
    EXPECT_TRUE(scanParametersProblem(SANE_FRAME_GRAY, 1, 100, 50, 13).isEmpty());
    for (const auto &[format, depth, width, lines, bytes] :
        { std::tuple { SANE_FRAME_GRAY, 8, 100, -1, 100 }, // a hand scanner's unknown height
            std::tuple { SANE_FRAME_GRAY, 8, 0, 10, 0 },
            std::tuple { SANE_FRAME_RGB, 8, 1000000, 10, 3000000 },
            std::tuple { SANE_FRAME_RGB, 8, 100, 10, 299 }, // rows shorter than the pixels
            std::tuple { SANE_FRAME_RED, 8, 100, 10, 100 },
            std::tuple { SANE_FRAME_GRAY, 12, 100, 10, 200 } })
        EXPECT_FALSE(scanParametersProblem(format, depth, width, lines, bytes).isEmpty())
            << width << " x " << lines;
}

// SANE with only its `test` backend, configured in a private folder.
class SaneTestBackend : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString folder = makeTestFolder(QStringLiteral("sane"));
        writeFile(folder + QStringLiteral("/dll.conf"), "test\n");
        writeFile(folder + QStringLiteral("/test.conf"), "number_of_devices 2\n");
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(folder));
        m_settings.path = makeTestFolder(QStringLiteral("PHOTOS"));
        m_settings.fileType = 0; // .bmp keeps the depth and the resolution
        m_settings.custPrefix = 1;
        m_settings.filePrefix = QStringLiteral("scan");
    }

    std::unique_ptr<ScanSourceManager> open()
    {
        auto manager = std::make_unique<ScanSourceManager>([this](BlockHandle picture) {
            m_added += addAcquiredPicture(m_album, picture, m_settings);
        });
        EXPECT_TRUE(manager->openManager());
        EXPECT_EQ(manager->defaultSource(QStringLiteral("test:1")), QStringLiteral("test:1"));
        EXPECT_TRUE(manager->openSource(manager->defaultSource({})));
        EXPECT_TRUE(manager->setMemoryTransfer());
        EXPECT_TRUE(manager->enableSource());
        manager->setMode(3);
        return manager;
    }

    // The picture file of the album's last item.
    BITMAPINFOHEADER lastPicture()
    {
        const AlbumItem *item = m_album.item(m_album.itemCount() - 1);
        EXPECT_NE(item, nullptr);
        const DecodeResult read = loadPicture(item ? item->path() : QString());
        EXPECT_EQ(read.status, DecodeStatus::Ok) << qPrintable(read.detail);
        BITMAPINFOHEADER header {};
        if (read.status == DecodeStatus::Ok) {
            header = *dibHeader(read.block);
            blockFree(read.block);
        }
        return header;
    }

    CAlbumDoc m_album;
    AcquireSettings m_settings;
    int m_added = 0;
};

TEST_F(SaneTestBackend, ColourGreyAndLineartArriveAsAlbumItems)
{
    RecordingHost host;
    auto manager = open();
    struct Case {
        ScanColourMode mode;
        int bits;
    };
    for (const Case &c : { Case { ScanColourMode::Colour, 24 }, Case { ScanColourMode::Grey, 8 },
             Case { ScanColourMode::Lineart, 1 } }) {
        ASSERT_TRUE(manager->setColourMode(c.mode)) << qPrintable(manager->lastError());
        ASSERT_TRUE(manager->setOption(QStringLiteral("resolution"), 300));
        ASSERT_TRUE(manager->setArea(0, 0, 20, 10)) << qPrintable(manager->lastError());
        const int before = m_added;
        manager->transferReady();
        ASSERT_EQ(m_added, before + 1) << qPrintable(manager->lastError());
        // Mode 3: still open and enabled for the next picture.
        EXPECT_TRUE(manager->isSourceEnabled());
        const BITMAPINFOHEADER header = lastPicture();
        EXPECT_EQ(header.biBitCount, c.bits);
        EXPECT_EQ(header.biWidth, 236); // 20 mm at 300 dpi
        EXPECT_EQ(header.biHeight, 118);
        EXPECT_EQ(header.biXPelsPerMeter, 11811);
    }
    EXPECT_EQ(m_album.itemCount(), 3);
    manager->closeRequest();
    EXPECT_FALSE(manager->isSourceOpen());
    EXPECT_FALSE(manager->isManagerOpen());
    EXPECT_TRUE(host.messageIds().isEmpty());
}

TEST_F(SaneTestBackend, CancelledOrImpossibleScansAddNothing)
{
    RecordingHost host;
    auto manager = open();
    EXPECT_FALSE(manager->closeManager()) << "refused while a source is open";
    EXPECT_FALSE(manager->closeSource()) << "refused while the source is enabled";
    manager->setCancelCheck([] { return true; });
    manager->transferReady();
    EXPECT_EQ(m_added, 0);
    EXPECT_TRUE(manager->lastError().contains(QStringLiteral("cancelled")));
    manager->setCancelCheck({});

    ASSERT_TRUE(manager->setOption(QStringLiteral("hand-scanner"), true));
    manager->transferReady();
    EXPECT_EQ(m_added, 0);
    EXPECT_TRUE(manager->lastError().contains(QStringLiteral("impossible picture size")))
        << qPrintable(manager->lastError());
    EXPECT_EQ(m_album.itemCount(), 0);
}

TEST_F(SaneTestBackend, ScanDialogPreviewsScansAndClosesTheSource)
{
    RecordingHost host;
    auto manager = open();
    ASSERT_TRUE(
        manager->setOption(QStringLiteral("test-picture"), QStringLiteral("Color pattern")));
    ASSERT_TRUE(manager->setColourMode(ScanColourMode::Colour));
    ScanDialog dialog(*manager);
    dialog.resize(640, 420);
    dialog.show();
    ASSERT_NE(dialog.findChild<QComboBox *>(QStringLiteral("mode")), nullptr);
    auto *resolution = dialog.findChild<QComboBox *>(QStringLiteral("resolution"));
    ASSERT_NE(resolution, nullptr);
    resolution->setCurrentText(QStringLiteral("75"));
    dialog.findChild<QDoubleSpinBox *>(QStringLiteral("br-x"))->setValue(40);
    dialog.findChild<QDoubleSpinBox *>(QStringLiteral("br-y"))->setValue(30);
    dialog.previewScan();
    EXPECT_FALSE(dialog.findChild<QLabel *>(QStringLiteral("preview"))->pixmap().isNull());
    EXPECT_EQ(m_added, 0) << "a preview is no picture for the album";
    const QString shots = qEnvironmentVariable("GLIMMERIX_SCREENSHOTS");
    if (!shots.isEmpty())
        dialog.grab().save(shots + QStringLiteral("/scan-dialog.png"));

    dialog.scan();
    EXPECT_EQ(m_added, 1);
    EXPECT_EQ(lastPicture().biWidth, 118); // 40 mm at 75 dpi
    dialog.scan(); // mode 3: the source is still there
    EXPECT_EQ(m_added, 2);
    dialog.accept();
    EXPECT_FALSE(manager->isSourceOpen());
    EXPECT_FALSE(manager->isManagerOpen());
}

TEST(ScanSourceManager, MissingLibraryShowsTheWarning)
{
    RecordingHost host;
    ScanSourceManager manager([](BlockHandle) {});
    EXPECT_FALSE(manager.openManager(QStringLiteral("libno-such-sane.so.1")));
    ASSERT_EQ(host.messageIds(), QList<int> { Message::kScannerUnavailable });
    EXPECT_EQ(host.shown().first().look.caption, QStringLiteral("Warning"));
    EXPECT_FALSE(manager.openSource(QStringLiteral("test:0")));
}

} // namespace
