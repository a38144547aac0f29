// The video postcard wizard from the frame page to the delivered folder: its defaults, the
// refusals of each page (no own picture, text that does not fit, a clip FFmpeg cannot open, no
// folder) and what Finish writes.

#include "publishtesthelpers.h"

#include "core/controlids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "publish/postcardfile.h"
#include "publish/ui/pickpage.h"
#include "publish/ui/postcardpages.h"
#include "publish/workingfolder.h"
#include "support/recordinghost.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QWizard>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

template<typename Widget> Widget *control(QWidget *page, int id)
{
    return page->findChild<Widget *>(pageControlName(id));
}

TEST(PostcardWizard, PagesRefuseWhatCannotBeMadeAndFinishWritesThePackage)
{
    // The clip page plays through Qt Multimedia's FFmpeg backend, as in the program.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    RecordingHost host;
    PostcardWizardState state;
    state.templateFolders = { QDir(resourceFolder()).filePath(QStringLiteral("Template")) };
    state.background = loadCardBackground(findCardBackground(state.templateFolders), nullptr);
    ASSERT_FALSE(state.background.isNull());
    state.workingFolder = makeWorkingFolder();

    QWizard wizard;
    auto *frame = new CPostCard1(state);
    auto *text = new CPostCardText(state, QStringLiteral("English"), CardLanguage::Other);
    auto *clip = new CPostCard2(state, *text);
    auto *destination = new CPostCard3(state, *text);
    for (QWizardPage *page : { static_cast<QWizardPage *>(frame), static_cast<QWizardPage *>(text),
             static_cast<QWizardPage *>(clip), static_cast<QWizardPage *>(destination) })
        wizard.addPage(page);
    wizard.show();

    // Frame: the shipped catalogs, the first frame, a small window. Own picture without one: 50507.
    EXPECT_EQ(control<QComboBox>(frame, PostcardFrameControl::kCatalogList)->count(), 3);
    EXPECT_EQ(control<QListWidget>(frame, PostcardFrameControl::kFrameList)->currentRow(), 0);
    EXPECT_TRUE(control<QRadioButton>(frame, PostcardFrameControl::kCatalogRadio)->isChecked());
    EXPECT_TRUE(control<QRadioButton>(frame, PostcardFrameControl::kSmallWindowRadio)->isChecked());
    control<QRadioButton>(frame, PostcardFrameControl::kOwnPictureRadio)->click();
    wizard.next();
    EXPECT_EQ(wizard.currentPage(), frame);
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNoFramePicture }));
    const QString picture = makeTestFolder(QStringLiteral("own")) + QStringLiteral("/tall.jpg");
    writePicture(picture, 1200, 1600);
    ASSERT_TRUE(frame->chooseOwnPicture(picture));
    wizard.next();

    // Text: the fields take the text; a message that overflows its box is told once (50535).
    ASSERT_EQ(wizard.currentPage(), text);
    host.clear();
    setEditText(text->field(0), QString(2000, u'w'));
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kCardTextDoesNotFit }));
    setEditText(text->field(0), QStringLiteral("Greetings"));
    setEditText(text->field(2), QStringLiteral("Main Street 1"));
    const QImage card = text->cardPicture();
    EXPECT_NE(card, state.background.convertToFormat(QImage::Format_RGB32));
    wizard.next();

    // Clip: a clip FFmpeg cannot open is refused with its cause.
    ASSERT_EQ(wizard.currentPage(), clip);
    host.clear();
    EXPECT_FALSE(clip->chooseClip(fixturePath(QStringLiteral("album/broken.mpeg"))));
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kProductProblems }));
    ASSERT_TRUE(clip->chooseClip(fixturePath(QStringLiteral("album/clip.mpg"))));
    wizard.next();

    // Destination: no folder is 50501; Finish delivers the package.
    ASSERT_EQ(wizard.currentPage(), destination);
    host.clear();
    EXPECT_FALSE(destination->validatePage());
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNoPostcardFolder }));
    host.clear();
    // The working folder is no destination: the package would be copied onto itself.
    EXPECT_FALSE(destination->chooseDestination(state.workingFolder));
    const QString out = makeTestFolder(QStringLiteral("card"));
    ASSERT_TRUE(destination->chooseDestination(out));
    EXPECT_TRUE(destination->validatePage());
    EXPECT_TRUE(host.messageIds().isEmpty());
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
        QStringList({ "VideoPostcard.exe", "background.vtp", "glimmerix-package.txt",
            "postcard.html", "video.mpg" }));
    const std::optional<PostcardContent> content
        = readPostcardFile(fileBytes(out + QStringLiteral("/background.vtp")), nullptr);
    ASSERT_TRUE(content);
    EXPECT_EQ(content->window, QRect(100, 180, 160, 120)); // centred on the 360 x 480 picture
    EXPECT_EQ(content->clipName, QStringLiteral("Video.MPG"));
    EXPECT_EQ(postcardCardImage(*content).convertToFormat(QImage::Format_RGB32),
        card.convertToFormat(QImage::Format_RGB32));
    removeWorkingFolder(state.workingFolder);
}

} // namespace
