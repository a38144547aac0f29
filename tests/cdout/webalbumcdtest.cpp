// The web album's CD path: the destination page with a CD application (our disc component),
// the disc folder name check, and the same disc made by the wizard and by glimix-cli.

#include "cdtesthelpers.h"
#include "core/appsettings.h"

#include "cdout/cdoutput.h"
#include "cdout/disccomponent.h"
#include "cdout/disclayout.h"
#include "core/controlids.h"
#include "core/messageids.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "publish/publishtesthelpers.h"
#include "publish/ui/pickpage.h"
#include "publish/ui/webalbumpages.h"
#include "support/recordinghost.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWizard>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace glimmerix;

namespace
{

template<typename Widget> Widget *control(QWidget *page, int id)
{
    return page->findChild<Widget *>(pageControlName(id));
}

QStringList isoFiles(const QString &iso)
{
    const QString listing = xorriso({ "-indev", iso, "-find", "/", "-type", "f" });
    QStringList files;
    for (const QString &line : listing.split(u'\n', Qt::SkipEmptyParts))
        files.append(line.mid(1, line.size() - 2));
    files.sort();
    return files;
}

TEST(WebAlbumCd, FinishPutsTheAlbumOnADiscInTheCheckedDiscFolder)
{
    RecordingHost host;
    const auto settings = freshSettings();
    const AppSettings labels(*settings);
    const QString iso = makeTestFolder(QStringLiteral("out")) + QStringLiteral("/album.iso");
    registerDiscComponent();
    const DiscTargetChooser previous = setDiscTargetChooser([iso](const DiscSummary &summary) {
        EXPECT_GT(summary.neededBytes, 0);
        return DiscTarget { DiscTarget::Kind::ImageFile, iso };
    });

    const QString media = makeTestFolder(QStringLiteral("media"));
    writePicture(media + QStringLiteral("/one.jpg"), 300, 200);
    CAlbumDoc doc;
    addPresentItems(doc, { media + QStringLiteral("/one.jpg") });
    WebAlbumOptions options;
    QWizard wizard;
    auto *pick
        = new CWebPage1(PickingMode::WebAlbum, makeTestFolder(QStringLiteral("work")) + u'/', doc);
    auto *destination = new CWebPage4(pick->picker(), options, labels,
        std::make_unique<CdOutput>(*settings, CdOutput::Places {}));
    wizard.addPage(pick);
    wizard.addPage(destination);
    wizard.show();
    control<QPushButton>(pick, PickPageControl::kAddAll)->click();
    wizard.next();
    ASSERT_EQ(wizard.currentPage(), destination);

    // A CD application is there: CD checked, the disc folder box offered but off.
    auto *cdRadio = control<QRadioButton>(destination, WebDestinationControl::kCdRadio);
    auto *box = control<QCheckBox>(destination, WebDestinationControl::kDiscFolderBox);
    auto *name = control<QLineEdit>(destination, WebDestinationControl::kDiscFolderName);
    EXPECT_TRUE(cdRadio->isEnabled());
    EXPECT_TRUE(cdRadio->isChecked());
    EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(name->isEnabled());
    EXPECT_FALSE(control<QPushButton>(destination, WebDestinationControl::kBrowse)->isEnabled());
    EXPECT_EQ(control<QLabel>(destination, WebDestinationControl::kFreeSpace)->text(),
        QString::number((kCdCapacityBlocks - DiscLayout().estimatedBlocks()) * 2048) + u' ');

    box->setChecked(true);
    EXPECT_TRUE(name->isEnabled());
    name->setText(QStringLiteral("my.album"));
    // GLIMMERIX_SCREENSHOT_DIR=folder keeps a picture of the page for a look at it.
    if (const QString shots = qEnvironmentVariable("GLIMMERIX_SCREENSHOT_DIR"); !shots.isEmpty())
        wizard.grab().save(shots + QStringLiteral("/webalbum-cd-page.png"));
    EXPECT_FALSE(destination->validatePage());
    ASSERT_EQ(host.shown().size(), 1);
    EXPECT_EQ(host.shown().at(0).id, Message::kForbiddenDiscFolderCharacters);
    EXPECT_TRUE(host.shown().at(0).text.endsWith(QStringLiteral(" .  ?  :  *  >  <    /  \\  |")));
    EXPECT_EQ(host.shown().at(0).look.caption, loadString(Message::kWarningTitle));
    EXPECT_FALSE(QFileInfo::exists(iso));

    host.clear();
    name->setText(QStringLiteral("my album"));
    ASSERT_TRUE(destination->validatePage());
    EXPECT_EQ(name->text(), QStringLiteral("my_album"));
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kDiscWritten }));
    EXPECT_EQ(isoFiles(iso),
        QStringList({ "/AutoRun.inf", "/my_album/WebAlbum.exe", "/my_album/album1.html",
            "/my_album/one.jpg", "/my_album/orvanta.gif", "/my_album/sm_one.jpg" }));
    // The working folder keeps nothing of the product.
    EXPECT_FALSE(QFileInfo::exists(pick->picker().workingFolder() + QStringLiteral("album1.html")));
    setDiscTargetChooser(previous);
}

TEST(WebAlbumCd, CommandLineMakesTheSameDiscAndRefusesBadInput)
{
    const QString media = makeTestFolder(QStringLiteral("media"));
    writePicture(media + QStringLiteral("/one.jpg"), 300, 200);
    const QString album = makeTestFolder(QStringLiteral("albums")) + QStringLiteral("/trip.gmx");
    {
        CAlbumDoc doc;
        doc.addFile(media + QStringLiteral("/one.jpg"));
        ASSERT_TRUE(doc.onSaveDocument(album));
    }
    const QString out = makeTestFolder(QStringLiteral("out"));

    const QString iso = out + QStringLiteral("/trip.iso");
    const ProcessRun run
        = runCli({ "webalbum", album, "--iso", iso, "--disc-folder", "my album", "--theme", "0" });
    ASSERT_EQ(run.status, 0) << qPrintable(run.err);
    EXPECT_EQ(isoFiles(iso),
        QStringList({ "/AutoRun.inf", "/my_album/WebAlbum.exe", "/my_album/album1.html",
            "/my_album/one.jpg", "/my_album/orvanta.gif", "/my_album/sm_one.jpg" }));

    const ProcessRun forbidden
        = runCli({ "webalbum", album, "--iso", iso + "2", "--disc-folder", "a:b" });
    EXPECT_EQ(forbidden.status, 2);
    const ProcessRun tooLarge
        = runCli({ "webalbum", album, "--iso", iso + "3", "--capacity", "30" });
    EXPECT_EQ(tooLarge.status, 1);
    EXPECT_TRUE(tooLarge.err.contains(QStringLiteral("MB"))) << qPrintable(tooLarge.err);
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList { "trip.iso" });

    // A device named as the image is written to and never replaced: a full disk fails. Making
    // the device node (a copy of /dev/full) needs root; elsewhere this part is left out.
    const QString device = out + QStringLiteral("/full");
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        const ProcessRun full = runCli({ "webalbum", album, "--iso", device });
        EXPECT_EQ(full.status, 1);
        EXPECT_TRUE(full.err.contains(QStringLiteral("No space left"))) << qPrintable(full.err);
        EXPECT_TRUE(QFileInfo(device).exists() && !QFileInfo(device).isFile());
        QFile::remove(device);
    }

    const ProcessRun drives = runCli({ "disc", "drives" });
    EXPECT_EQ(drives.status, 0) << qPrintable(drives.err);
}

} // namespace
