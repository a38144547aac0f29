#include "slideshowpages.h"

#include "pickpage.h"

#include "core/controlids.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "platform/host.h"
#include "platform/strings.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWizard>

namespace glimmerix
{

namespace
{

// The folder the music dialog starts in: the last music file's folder, first the audio folder.
QString &musicFolder()
{
    static QString folder;
    return folder;
}

} // namespace

// ---- sound

CSlideShow2::CSlideShow2(
    ItemPicker &picker, SlideShowPackage &package, const QString &audioFolder, QWidget *parent)
    : QWizardPage(parent)
    , m_picker(picker)
    , m_package(package)
    , m_audioFolder(audioFolder)
    , m_musicRadio(namedControl(new QRadioButton(tr("One &music file for the whole show"), this),
          SlideSoundControl::kMusicRadio))
    , m_soundsRadio(namedControl(new QRadioButton(tr("Each picture's own &sound"), this),
          SlideSoundControl::kPictureSoundsRadio))
    , m_noSoundRadio(
          namedControl(new QRadioButton(tr("&No sound"), this), SlideSoundControl::kNoSoundRadio))
    , m_browse(namedControl(new QPushButton(tr("&Browse..."), this), SlideSoundControl::kBrowse))
    , m_musicField(namedControl(new QLineEdit(this), SlideSoundControl::kMusicFile))
    , m_neededText(namedControl(new QLabel(this), SlideSoundControl::kNeededSize))
{
    setObjectName(QStringLiteral("slideSoundPage"));
    setProperty("helpTopic", HelpTopic::kSlideShowSoundPage);
    setTitle(tr("Sound"));
    setSubTitle(tr("Choose the sound that plays with the pictures."));
    m_musicField->setReadOnly(true);
    auto *group = new QButtonGroup(this);
    for (QRadioButton *radio : { m_musicRadio, m_soundsRadio, m_noSoundRadio })
        group->addButton(radio);
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_musicRadio, 0, 0, 1, 3);
    grid->addWidget(m_musicField, 1, 1);
    grid->addWidget(m_browse, 1, 2);
    grid->addWidget(m_soundsRadio, 2, 0, 1, 3);
    grid->addWidget(m_noSoundRadio, 3, 0, 1, 3);
    grid->addWidget(new QLabel(tr("Space needed (bytes):"), this), 4, 0, 1, 2);
    grid->addWidget(m_neededText, 4, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnMinimumWidth(0, 20);
    connect(m_musicRadio, &QRadioButton::clicked, this, &CSlideShow2::musicClicked);
    connect(m_soundsRadio, &QRadioButton::clicked, this, &CSlideShow2::pictureSoundsClicked);
    connect(m_noSoundRadio, &QRadioButton::clicked, this, &CSlideShow2::noSoundClicked);
    connect(m_browse, &QPushButton::clicked, this, &CSlideShow2::browse);
}

void CSlideShow2::initializePage()
{
    if (!m_activated) {
        m_activated = true;
        m_noSoundRadio->setChecked(true);
        m_browse->setEnabled(false);
        m_soundsRadio->setEnabled(m_picker.soundFlag());
        m_package.setSound(ShowSound::None);
    }
    showNeeded();
}

void CSlideShow2::showNeeded()
{
    m_needed = m_package.neededBytes();
    m_neededText->setText(QString::number(m_needed) + u' ');
}

void CSlideShow2::musicClicked()
{
    m_browse->setEnabled(true);
    m_package.setSound(ShowSound::Music);
    if (m_package.musicPath().isEmpty())
        browse();
    if (m_package.musicPath().isEmpty()) {
        m_noSoundRadio->setChecked(true);
        m_noSoundRadio->setFocus();
        noSoundClicked();
        return;
    }
    showNeeded();
}

void CSlideShow2::pictureSoundsClicked()
{
    m_soundsRadio->setChecked(true);
    m_browse->setEnabled(false);
    m_package.setSound(ShowSound::PictureSounds);
    showNeeded();
}

void CSlideShow2::noSoundClicked()
{
    m_browse->setEnabled(false);
    m_package.setSound(ShowSound::None);
    showNeeded();
}

void CSlideShow2::browse()
{
    OpenFileQuestion question;
    question.title = tr("Choose the Music");
    question.folder = musicFolder().isEmpty() ? m_audioFolder : musicFolder();
    question.filter = tr("Wave Sounds (*.wav *.WAV);;All Files (*)");
    const QStringList chosen = host().askOpenFileNames(question);
    if (!chosen.isEmpty())
        chooseMusic(chosen.constFirst());
}

void CSlideShow2::chooseMusic(const QString &path)
{
    m_musicField->setText(QDir::toNativeSeparators(path));
    m_package.setSound(m_package.sound(), path);
    musicFolder() = QFileInfo(path).absolutePath();
    if (m_package.sound() == ShowSound::Music)
        showNeeded();
}

bool CSlideShow2::validatePage()
{
    switch (m_package.writeShowFile()) {
    case ShowFileResult::Written:
        m_needed += m_package.showFileBytes();
        m_neededText->setText(QString::number(m_needed) + u' ');
        return true;
    case ShowFileResult::MusicUnusable:
        // Without a readable length the show file would be left out and the player would have
        // nothing to play: the user picks another file instead.
        host().showMessage(Message::kUnusableMusicFile);
        return false;
    case ShowFileResult::NotWritten:
        host().showMessage(Message::kShowFileNotWritten, { m_package.detail() },
            MessageIcon::Warning, MessageButtons::Ok, { loadString(Message::kWarningTitle) });
        return false;
    case ShowFileResult::NothingChosen:
        break;
    }
    host().showMessage(Message::kNothingChosen);
    return false;
}

// ---- destination

CSlideShow3::CSlideShow3(ItemPicker &picker, SlideShowPackage &package,
    const CSlideShow2 &soundPage, const QString &slideShowFolder, std::unique_ptr<CdDelivery> cd,
    QWidget *parent)
    : DestinationPage({ .folderTextId = SlideDestinationControl::kFolderText,
                          .discFolderLabel = tr("Put the show in a &disc folder:"),
                          .startFolder = slideShowFolder,
                          .noFolderMessage = Message::kNoSlideShowFolder,
                          .kind = PackageKind::SlideShow },
        std::move(cd), parent)
    , m_picker(picker)
    , m_package(package)
    , m_soundPage(soundPage)
{
    setObjectName(QStringLiteral("slideDestinationPage"));
    setProperty("helpTopic", HelpTopic::kSlideShowDestinationPage);
    setSubTitle(tr("Choose where the slide show goes, then choose Finish."));
}

qint64 CSlideShow3::neededBytes() const
{
    return m_soundPage.neededBytes();
}

QString CSlideShow3::workingFolder() const
{
    return m_picker.workingFolder();
}

bool CSlideShow3::deliverToCd()
{
    // Applications that read the files after Finish need the working copies kept.
    m_picker.setDeleteOnClose(!cdDelivery().keepsWorkingFiles());
    if (!cdDelivery().deliver(m_package.cdProduct(discFolder()))) {
        m_picker.setDeleteOnClose(true);
        return false;
    }
    return true;
}

bool CSlideShow3::validatePage()
{
    if (!readyToFinish())
        return false;
    if (cdMode()) {
        if (!deliverToCd())
            return false;
    } else {
        const QString failure = m_package.deliverToFolder(destination(), replaceEarlier());
        if (!failure.isEmpty()) {
            host().showMessage(Message::kProductProblems, { failure });
            return false;
        }
    }
    QStringList problems = m_picker.problems();
    problems += m_package.problems();
    if (!problems.isEmpty())
        host().showMessage(Message::kProductProblems, { problems.join(u'\n') });
    return true;
}

} // namespace glimmerix
