// Our disc component behind the CD delivery: the disc image's layout and names as xorriso reads
// them, byte-identical files, refusals that leave nothing under the chosen name, and recording
// through a file standing in for a writer.

#include "cdtesthelpers.h"

#include "cdout/cdoutput.h"
#include "cdout/discburner.h"
#include "cdout/disccomponent.h"
#include "cdout/disclayout.h"
#include "core/messageids.h"
#include "support/recordinghost.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// The component, answering every recording with `target`, for the length of a test.
struct ComponentToTarget {
    explicit ComponentToTarget(const DiscTarget &target, qint64 blocks = kCdCapacityBlocks)
    {
        registerDiscComponent();
        m_chooser = setDiscTargetChooser([target](const DiscSummary &) { return target; });
        m_blocks = setDiscCapacityBlocks(blocks);
    }
    ~ComponentToTarget()
    {
        setDiscTargetChooser(m_chooser);
        setDiscCapacityBlocks(m_blocks);
    }
    DiscTargetChooser m_chooser;
    qint64 m_blocks;
};

const QString kLongName = QStringLiteral(
    "Ein sehr langer Dateiname mit Umlauten äöü und noch mehr Text dahinter 2026.html");

// A product's working folder: pages, a picture and the long, non-ASCII name.
CdProduct sampleProduct(const QString &discFolder)
{
    CdProduct product;
    product.projectName = QStringLiteral("WebAlbum");
    product.workingFolder = makeTestFolder(QStringLiteral("work")) + u'/';
    product.discFolder = discFolder;
    QByteArray picture(300000, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char((unsigned(i) * 7919u) >> 3);
    const QList<std::pair<QString, QByteArray>> files { { QStringLiteral("album1.html"), "<HTML>" },
        { QStringLiteral("photo.jpg"), picture }, { kLongName, "long" } };
    for (const auto &[name, bytes] : files) {
        writeBytes(product.workingFolder + name, bytes);
        product.files.append(product.workingFolder + name);
    }
    product.programSource = product.workingFolder + QStringLiteral("viewer.bin");
    writeBytes(product.programSource, "#!/bin/sh\n");
    product.programName = QStringLiteral("WebAlbum.exe");
    return product;
}

TEST(DiscComponent, CdDeliveryMakesAnImageWithAutoRunOnTopAndTheSiteInTheDiscFolder)
{
    RecordingHost host;
    const auto settings = freshSettings();
    const QString iso = makeTestFolder(QStringLiteral("out")) + QStringLiteral("/album.iso");
    const ComponentToTarget component({ DiscTarget::Kind::ImageFile, iso });
    CdOutput cd(*settings, {});
    ASSERT_TRUE(cd.available());
    EXPECT_EQ(cd.kind(), CdApplicationKind::EasyCdCreator);
    EXPECT_TRUE(cd.takesDiscFolder());
    EXPECT_FALSE(cd.keepsWorkingFiles());
    EXPECT_EQ(cd.freeBytes(), (kCdCapacityBlocks - DiscLayout().estimatedBlocks()) * 2048);

    const CdProduct product = sampleProduct(QStringLiteral("My_Trip"));
    ASSERT_TRUE(cd.deliver(product));
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kDiscWritten }));
    EXPECT_TRUE(lastDiscRecord().written);

    // Rock Ridge names (the default tree), then Joliet names (without Rock Ridge).
    for (const QString &tree : { QStringLiteral("any"), QStringLiteral("norock") }) {
        const QString listing
            = xorriso({ "-read_fs", tree, "-indev", iso, "-find", "/", "-type", "f" });
        for (const QString &path : { QStringLiteral("'/AutoRun.inf'"),
                 QStringLiteral("'/My_Trip/album1.html'"), QStringLiteral("'/My_Trip/photo.jpg'"),
                 QStringLiteral("'/My_Trip/WebAlbum.exe'"), "'/My_Trip/" + kLongName + u'\'' })
            EXPECT_TRUE(listing.contains(path)) << qPrintable(tree + u' ' + path + u'\n' + listing);
    }
    const QString extracted = makeTestFolder(QStringLiteral("extracted"));
    int status = -1;
    xorriso({ "-osirrox", "on", "-indev", iso, "-extract", "/", extracted }, &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(readBytes(extracted + QStringLiteral("/AutoRun.inf")),
        "[autorun]\r\nopen=\"My_Trip\\WebAlbum.exe\"\r\nicon=\"My_Trip\\WebAlbum.exe\"\r\n");
    for (const QString &file : product.files)
        EXPECT_EQ(readBytes(extracted + QStringLiteral("/My_Trip/") + QFileInfo(file).fileName()),
            readBytes(file))
            << qPrintable(file);
}

TEST(DiscComponent, RefusalsLeaveNothingUnderTheChosenName)
{
    RecordingHost host;
    const auto settings = freshSettings();
    const QString out = makeTestFolder(QStringLiteral("out"));
    struct Case {
        const char *name;
        QString target;
        qint64 blocks;
        bool removeAFile;
        int message;
    };
    const std::vector<Case> cases {
        { "larger than the disc", out + QStringLiteral("/big.iso"), 40, false,
            Message::kDiscTooSmall },
        { "a folder nobody can write in", QStringLiteral("/proc/glimmerix-test.iso"),
            kCdCapacityBlocks, false, Message::kDiscNotWritten },
        { "a file gone before recording", out + QStringLiteral("/gone.iso"), kCdCapacityBlocks,
            true, Message::kDiscNotWritten },
    };
    for (const Case &c : cases) {
        host.clear();
        const ComponentToTarget component({ DiscTarget::Kind::ImageFile, c.target }, c.blocks);
        const CdProduct product = sampleProduct({});
        // The layout has taken the picture; it vanishes when the recording starts.
        const QString picture = product.workingFolder + QStringLiteral("photo.jpg");
        setDiscTargetChooser([&](const DiscSummary &) {
            if (c.removeAFile)
                QFile::remove(picture);
            return DiscTarget { DiscTarget::Kind::ImageFile, c.target };
        });
        CdOutput cd(*settings, {});
        EXPECT_FALSE(cd.deliver(product)) << c.name;
        EXPECT_EQ(host.messageIds(), QList<int>({ c.message })) << c.name;
        EXPECT_FALSE(QFileInfo::exists(c.target)) << c.name;
        EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList()) << c.name;
    }
}

TEST(DiscComponent, RecordsThroughAFileStandingInForAWriter)
{
    RecordingHost host;
    const QString out = makeTestFolder(QStringLiteral("burn"));
    const CdProduct product = sampleProduct({});
    DiscLayout layout;
    for (const QString &file : product.files)
        ASSERT_TRUE(layout.addFile(file, QStringLiteral("Album")));
    QString error;
    const QString drive = out + QStringLiteral("/disc.img");
    EXPECT_EQ(burnDisc(layout, { QStringLiteral("stdio:") + drive, -1, nullptr }, &error),
        BurnOutcome::Written)
        << qPrintable(error);
    const QString listing = xorriso({ "-indev", drive, "-find", "/", "-type", "f" });
    EXPECT_TRUE(listing.contains("'/Album/" + kLongName + u'\'')) << qPrintable(listing);
    EXPECT_TRUE(listing.contains(QStringLiteral("'/Album/photo.jpg'")));
    EXPECT_TRUE(host.messageIds().isEmpty());

    // Too small a disc is refused before anything is recorded.
    const QString small = out + QStringLiteral("/small.img");
    EXPECT_EQ(burnDisc(layout, { QStringLiteral("stdio:") + small, 40, nullptr }, &error),
        BurnOutcome::TooLarge);
    EXPECT_EQ(QFileInfo(small).size(), 0);
}

} // namespace
