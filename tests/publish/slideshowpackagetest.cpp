// The slide show wizard's sound and destination pages over a real album, the show file they
// write (again on Back and Next), and the package's refusals: a music file that is not WAVE, a
// missing player, a file that vanished before delivery.

#include "publishtesthelpers.h"

#include "core/controlids.h"
#include "core/messageids.h"
#include "media/waveformat.h"
#include "media/wavewriter.h"
#include "publish/slideshowpackage.h"
#include "publish/ui/pickpage.h"
#include "publish/ui/slideshowpages.h"
#include "support/recordinghost.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
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

void writeWave(const QString &path, int bytes)
{
    QByteArray data(bytes, '\x80');
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(writeWaveFile(path, WaveFormat::pcm(8000, 8, 1).toBlock(18), buffer, data.size()));
}

SlideShowFile readShow(const QString &path)
{
    SlideShowFile show;
    EXPECT_TRUE(decodeSlideShow(fileBytes(path), show)) << qPrintable(path);
    return show;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

TEST(SlideShowWizard, SoundChoicesWriteTheShowFileAndFinishDeliversThePackage)
{
    RecordingHost host;
    const QString media = makeTestFolder(QStringLiteral("media"));
    writePicture(media + QStringLiteral("/a.jpg"), 300, 200);
    writePicture(media + QStringLiteral("/b.bmp"), 200, 300);
    writeWave(media + QStringLiteral("/voice.wav"), 20000);
    writeFile(media + QStringLiteral("/song.wav"), QByteArray("only text"));
    CAlbumDoc doc;
    addPresentItems(doc, { media + QStringLiteral("/a.jpg"), media + QStringLiteral("/b.bmp") });
    doc.setAttachmentPath(0, media + QStringLiteral("/voice.wav"));
    doc.setItemText(1, ItemField::Description, QStringLiteral("by the sea"));

    QWizard wizard;
    const QString work = makeTestFolder(QStringLiteral("work")) + u'/';
    auto *pick = new CWebPage1(PickingMode::SlideShow, work, doc);
    SlideShowPackage package(pick->picker());
    auto *sound = new CSlideShow2(pick->picker(), package, media);
    auto *destination = new CSlideShow3(pick->picker(), package, *sound, media);
    wizard.addPage(pick);
    wizard.addPage(sound);
    wizard.addPage(destination);
    wizard.show();
    control<QPushButton>(pick, PickPageControl::kAddAll)->click();
    wizard.next();
    ASSERT_EQ(wizard.currentPage(), sound);

    // No sound at first; the pictures' sounds can be chosen since one has a sound.
    EXPECT_TRUE(control<QRadioButton>(sound, SlideSoundControl::kNoSoundRadio)->isChecked());
    EXPECT_FALSE(control<QPushButton>(sound, SlideSoundControl::kBrowse)->isEnabled());
    EXPECT_TRUE(control<QRadioButton>(sound, SlideSoundControl::kPictureSoundsRadio)->isEnabled());
    EXPECT_EQ(sound->neededBytes(), pick->picker().sizeEstimate());

    // Music that is not WAVE: Next says 50481 and stays, and no show file is made.
    host.queueOpenFileNames({ media + QStringLiteral("/song.wav") });
    control<QRadioButton>(sound, SlideSoundControl::kMusicRadio)->click();
    EXPECT_EQ(sound->neededBytes(), pick->picker().sizeEstimate() + 9);
    host.clear();
    wizard.next();
    EXPECT_EQ(wizard.currentPage(), sound);
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kUnusableMusicFile }));
    EXPECT_FALSE(QFileInfo::exists(work + QStringLiteral("slide.sld")));

    // The pictures' own sounds: the show file names the copy and its length.
    control<QRadioButton>(sound, SlideSoundControl::kPictureSoundsRadio)->click();
    EXPECT_EQ(sound->neededBytes(),
        pick->picker().sizeEstimate() + QFileInfo(media + "/voice.wav").size());
    wizard.next();
    ASSERT_EQ(wizard.currentPage(), destination);
    SlideShowFile show = readShow(work + QStringLiteral("slide.sld"));
    ASSERT_EQ(show.entries.size(), 2);
    EXPECT_EQ(show.sound, ShowSound::PictureSounds);
    EXPECT_EQ(show.entries.at(0).pictureName, QStringLiteral("a.JPG"));
    EXPECT_EQ(show.entries.at(0).soundName, QStringLiteral("voice.wav"));
    EXPECT_EQ(show.entries.at(0).soundSeconds, 2u);
    EXPECT_EQ(show.entries.at(1).notes, QStringLiteral("by the sea"));
    EXPECT_EQ(show.entries.at(1).thumbnail.size(), qsizetype(doc.item(1)->info()->dataSize));
    EXPECT_TRUE(QFileInfo::exists(work + QStringLiteral("voice.wav")));
    EXPECT_EQ(control<QLabel>(destination, SlideDestinationControl::kNeededSize)->text(),
        QString::number(sound->neededBytes()) + u' ');

    // Back, no sound, Next: the show file is written again and the sound copy goes.
    wizard.back();
    control<QRadioButton>(sound, SlideSoundControl::kNoSoundRadio)->click();
    wizard.next();
    EXPECT_EQ(readShow(work + QStringLiteral("slide.sld")).sound, ShowSound::None);
    EXPECT_FALSE(QFileInfo::exists(work + QStringLiteral("voice.wav")));

    // Finish: refused without a folder (50509), then the package in the folder.
    host.clear();
    EXPECT_FALSE(destination->validatePage());
    EXPECT_EQ(host.messageIds(), QList<int>({ Message::kNoSlideShowFolder }));
    const QString target = makeTestFolder(QStringLiteral("show"));
    ASSERT_TRUE(destination->chooseDestination(target));
    EXPECT_TRUE(destination->validatePage());
    EXPECT_EQ(filesIn(target),
        QStringList({ "a.JPG", "b.JPG", "glimmerix-package.txt", "slide.sld", "slideshow.exe",
            "slideshow.html" }));
    EXPECT_EQ(fileBytes(target + QStringLiteral("/slideshow.exe")),
        fileBytes(bundledProgramPath(QStringLiteral("slide.bin"))));
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("/slideshow.exe")).isExecutable());

    // Finishing again into the same folder asks before the earlier package is replaced.
    host.clear();
    host.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(destination->validatePage());
    ASSERT_EQ(host.shown().size(), 1);
    EXPECT_TRUE(host.shown().at(0).text.contains(QStringLiteral("holds an earlier slide show")));
    host.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(destination->validatePage());
    EXPECT_EQ(filesIn(target).size(), 6);
    // A folder of the user's own files is refused; Yes takes the new subfolder offered.
    const QString photos = makeTestFolder(QStringLiteral("photos"));
    writeFile(photos + QStringLiteral("/a.JPG"), "the user's picture");
    ASSERT_TRUE(destination->chooseDestination(photos));
    host.clear();
    host.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(destination->validatePage());
    EXPECT_TRUE(host.shown().at(0).text.contains(photos + QStringLiteral(": holds files")));
    host.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(destination->validatePage());
    EXPECT_EQ(fileBytes(photos + QStringLiteral("/a.JPG")), "the user's picture");
    EXPECT_EQ(filesIn(photos + QStringLiteral("/Slide Show")).size(), 6);
}

TEST(SlideShowPackage, MissingPlayerSoundNameClashesAndVanishedFiles)
{
    RecordingHost host;
    const QString media = makeTestFolder(QStringLiteral("media"));
    QDir().mkpath(media + QStringLiteral("/other"));
    writePicture(media + QStringLiteral("/a.jpg"), 40, 30);
    writePicture(media + QStringLiteral("/b.jpg"), 40, 30);
    writeWave(media + QStringLiteral("/voice.wav"), 8000);
    writeWave(media + QStringLiteral("/other/voice.wav"), 24000);
    CAlbumDoc doc;
    addPresentItems(doc, { media + QStringLiteral("/a.jpg"), media + QStringLiteral("/b.jpg") });
    doc.setAttachmentPath(0, media + QStringLiteral("/voice.wav"));
    doc.setAttachmentPath(1, media + QStringLiteral("/other/voice.wav"));

    const QString work = makeTestFolder(QStringLiteral("work")) + u'/';
    ItemPicker picker(PickingMode::SlideShow, work);
    picker.activate(doc);
    ASSERT_TRUE(picker.addAll(nullptr));
    // Without its player the show cannot go on: a message naming why, and no copy left.
    picker.setPlayerSource(media + QStringLiteral("/no/slide.bin"));
    EXPECT_FALSE(picker.next());
    ASSERT_EQ(host.messageIds(), QList<int>({ Message::kSlideShowPlayerMissing }));
    EXPECT_TRUE(host.shown().at(0).text.contains(QStringLiteral("no such file")));
    EXPECT_FALSE(QFileInfo::exists(work + QStringLiteral("slideshow.exe")));
    EXPECT_TRUE(picker.extraFiles().isEmpty());
    picker.setPlayerSource({});
    ASSERT_TRUE(picker.next());

    // Two sounds of one name: the second copy takes another name, so each picture keeps its own.
    SlideShowPackage package(picker);
    package.setSound(ShowSound::PictureSounds);
    ASSERT_EQ(package.writeShowFile(), ShowFileResult::Written);
    const SlideShowFile show = readShow(work + QStringLiteral("slide.sld"));
    EXPECT_EQ(show.entries.at(0).soundName, QStringLiteral("voice.wav"));
    EXPECT_EQ(show.entries.at(1).soundName, QStringLiteral("voice_1.wav"));
    EXPECT_EQ(show.entries.at(1).soundSeconds, 3u);
    EXPECT_EQ(fileBytes(work + QStringLiteral("voice_1.wav")),
        fileBytes(media + QStringLiteral("/other/voice.wav")));

    // A package file that vanished: nothing is copied, the folder stays as it was.
    const QString target = makeTestFolder(QStringLiteral("show"));
    QFile::remove(work + QStringLiteral("voice_1.wav"));
    const QString failure = package.deliverToFolder(target);
    EXPECT_TRUE(failure.contains(QStringLiteral("voice_1.wav: no such file")))
        << qPrintable(failure);
    EXPECT_TRUE(filesIn(target).isEmpty());
}

} // namespace
