// The web album wizard's pages: defaults and control rules, Finish's refusals, and a whole run
// from the picking page to the delivered folder.

#include "publishtesthelpers.h"

#include "core/appsettings.h"
#include "core/controlids.h"
#include "core/messageids.h"
#include "platform/strings.h"
#include "publish/ui/pickpage.h"
#include "publish/ui/webalbumpages.h"
#include "publish/ui/webalbumwizard.h"
#include "support/recordinghost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWizard>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

template<typename Widget> Widget *control(QWidget *page, int id)
{
    return page->findChild<Widget *>(pageControlName(id));
}

TEST(WebAlbumWizard, PagesStartWithTheirDefaultsAndFinishMakesTheAlbum)
{
    RecordingHost host;
    const QString media = makeTestFolder(QStringLiteral("media"));
    CAlbumDoc doc;
    writePicture(media + QStringLiteral("/one.jpg"), 300, 200);
    writePicture(media + QStringLiteral("/two.jpg"), 200, 300);
    addPresentItems(
        doc, { media + QStringLiteral("/one.jpg"), media + QStringLiteral("/two.jpg") });

    WebAlbumOptions options;
    options.title = QStringLiteral("Holiday");
    QWizard wizard;
    auto *pick
        = new CWebPage1(PickingMode::WebAlbum, makeTestFolder(QStringLiteral("work")) + u'/', doc);
    auto *layout = new CWebPage2(options);
    auto *captions = new CWebPage3(options, { "Caption", "Keywords", "Notes" });
    auto *destination = new CWebPage4(pick->picker(), options, appSettings());
    for (QWizardPage *page : { static_cast<QWizardPage *>(pick), static_cast<QWizardPage *>(layout),
             static_cast<QWizardPage *>(captions), static_cast<QWizardPage *>(destination) })
        wizard.addPage(page);
    wizard.show();

    // Picking: Next with nothing chosen is refused with 50485.
    EXPECT_EQ(control<QListWidget>(pick, PickPageControl::kAllItems)->count(), 2);
    EXPECT_TRUE(control<QCheckBox>(pick, PickPageControl::kConvertBox)->isChecked());
    wizard.next();
    EXPECT_EQ(wizard.currentPage(), pick);
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNothingChosen }));
    control<QPushButton>(pick, PickPageControl::kAddAll)->click();
    EXPECT_EQ(control<QListWidget>(pick, PickPageControl::kChosen)->count(), 2);
    EXPECT_NE(control<QLabel>(pick, PickPageControl::kSizeText)->text(), QStringLiteral("0 "));
    wizard.next();

    // Layout: 4 x 3, medium size, theme 0; the per-page text follows the spins.
    ASSERT_EQ(wizard.currentPage(), layout);
    EXPECT_EQ(control<QSpinBox>(layout, WebLayoutControl::kColumns)->value(), 4);
    EXPECT_EQ(control<QSpinBox>(layout, WebLayoutControl::kRows)->value(), 3);
    EXPECT_EQ(control<QSpinBox>(layout, WebLayoutControl::kRows)->maximum(), 10);
    EXPECT_EQ(control<QSpinBox>(layout, WebLayoutControl::kRows)->minimum(), 2);
    EXPECT_TRUE(control<QRadioButton>(layout, WebLayoutControl::kMedium)->isChecked());
    // The five picture themes, then the responsive one; its own choices wait until it is chosen.
    EXPECT_EQ(control<QComboBox>(layout, WebLayoutControl::kTheme)->count(), 6);
    EXPECT_TRUE(control<QComboBox>(layout, WebLayoutControl::kTheme)
                    ->itemText(WebAlbumOptions::kResponsiveTheme)
                    .startsWith(QStringLiteral("Responsive")));
    EXPECT_FALSE(layout->findChild<QCheckBox *>(QStringLiteral("responsiveCrop"))->isEnabled());
    EXPECT_EQ(
        control<QLineEdit>(layout, WebLayoutControl::kTitle)->text(), QStringLiteral("Holiday"));
    control<QSpinBox>(layout, WebLayoutControl::kColumns)->setValue(2);
    EXPECT_EQ(control<QLabel>(layout, WebLayoutControl::kPerPageText)->text(),
        formatString(Message::kThumbnailsPerPage, { QStringLiteral("6") }));
    control<QComboBox>(layout, WebLayoutControl::kTheme)->setCurrentIndex(3);
    wizard.next();
    EXPECT_EQ(options.columns, 2);
    EXPECT_EQ(options.theme, 3);

    // Captions: name and size on, the fields off and labelled without a colon.
    ASSERT_EQ(wizard.currentPage(), captions);
    EXPECT_TRUE(control<QCheckBox>(captions, WebCaptionsControl::kName)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(captions, WebCaptionsControl::kSize)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(captions, WebCaptionsControl::kField3)->isChecked());
    EXPECT_EQ(
        control<QCheckBox>(captions, WebCaptionsControl::kField3)->text(), QStringLiteral("Notes"));
    wizard.next();

    // Destination: no CD application, so folder mode; Finish without a folder says 50491.
    ASSERT_EQ(wizard.currentPage(), destination);
    EXPECT_FALSE(control<QRadioButton>(destination, WebDestinationControl::kCdRadio)->isEnabled());
    EXPECT_TRUE(
        control<QRadioButton>(destination, WebDestinationControl::kFolderRadio)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(destination, WebDestinationControl::kAutoRunBox)->isHidden());
    EXPECT_FALSE(
        control<QLineEdit>(destination, WebDestinationControl::kDiscFolderName)->isEnabled());
    EXPECT_EQ(control<QLabel>(destination, WebDestinationControl::kNeededSize)->text(),
        QString::number(pick->picker().sizeEstimate()) + u' ');
    host.clear();
    EXPECT_FALSE(destination->validatePage());
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNoWebAlbumFolder }));
    // The working folder is no destination.
    EXPECT_FALSE(destination->chooseDestination(pick->picker().workingFolder()));
    const QString site = makeTestFolder(QStringLiteral("site"));
    ASSERT_TRUE(destination->chooseDestination(site));
    EXPECT_TRUE(destination->validatePage());
    EXPECT_TRUE(QFileInfo::exists(site + QStringLiteral("/album1.html")));
    EXPECT_TRUE(QFileInfo::exists(site + QStringLiteral("/sm_two.jpg")));
    EXPECT_TRUE(QFileInfo::exists(site + QStringLiteral("/bg13.gif")));
}

TEST(WebAlbumWizard, BackToThePickingPageAndOnKeepsTheSlideShowEstimate)
{
    RecordingHost host;
    const QString media = makeTestFolder(QStringLiteral("media"));
    CAlbumDoc doc;
    writePicture(media + QStringLiteral("/one.jpg"), 40, 30);
    addPresentItems(doc, { media + QStringLiteral("/one.jpg") });
    QWizard wizard;
    auto *pick
        = new CWebPage1(PickingMode::SlideShow, makeTestFolder(QStringLiteral("work")) + u'/', doc);
    wizard.addPage(pick);
    wizard.addPage(new QWizardPage);
    wizard.show();
    EXPECT_FALSE(control<QCheckBox>(pick, PickPageControl::kConvertBox)->isEnabled());
    control<QPushButton>(pick, PickPageControl::kAddAll)->click();
    const qint64 before = pick->picker().sizeEstimate();
    wizard.next();
    const qint64 onNext = pick->picker().sizeEstimate();
    EXPECT_EQ(onNext, before + kSlideShowPlayerBytes);
    wizard.back();
    EXPECT_EQ(pick->picker().sizeEstimate(), before);
    wizard.next();
    EXPECT_EQ(pick->picker().sizeEstimate(), onNext);
}

TEST(WebAlbumWizard, AnAlbumWithoutAFileGetsNoWizard)
{
    RecordingHost host;
    CAlbumDoc doc;
    ASSERT_TRUE(doc.isUntitled());
    EXPECT_FALSE(productWizardAllowed(doc));
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNoProductForUntitled }));
}

} // namespace
