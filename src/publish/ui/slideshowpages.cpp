#include "slideshowpages.h"

#include "pickpage.h"
#include "webalbumpages.h"

#include "core/controlids.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/productfiles.h"

#include <QButtonGroup>
#include <QCheckBox>
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

template<typename Widget> Widget *control(Widget *widget, int id)
{
    widget->setObjectName(pageControlName(id));
    return widget;
}

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
    , m_musicRadio(control(new QRadioButton(tr("One &music file for the whole show"), this),
          SlideSoundControl::kMusicRadio))
    , m_soundsRadio(control(new QRadioButton(tr("Each picture's own &sound"), this),
          SlideSoundControl::kPictureSoundsRadio))
    , m_noSoundRadio(
          control(new QRadioButton(tr("&No sound"), this), SlideSoundControl::kNoSoundRadio))
    , m_browse(control(new QPushButton(tr("&Browse..."), this), SlideSoundControl::kBrowse))
    , m_musicField(control(new QLineEdit(this), SlideSoundControl::kMusicFile))
    , m_neededText(control(new QLabel(this), SlideSoundControl::kNeededSize))
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
    : QWizardPage(parent)
    , m_picker(picker)
    , m_package(package)
    , m_soundPage(soundPage)
    , m_slideShowFolder(slideShowFolder)
    , m_cdRadio(control(new QRadioButton(tr("&CD"), this), SlideDestinationControl::kCdRadio))
    , m_folderRadio(
          control(new QRadioButton(tr("&Folder"), this), SlideDestinationControl::kFolderRadio))
    , m_browse(control(new QPushButton(tr("&Browse..."), this), SlideDestinationControl::kBrowse))
    , m_folderText(control(new QLabel(this), SlideDestinationControl::kFolderText))
    , m_neededSize(control(new QLabel(this), SlideDestinationControl::kNeededSize))
    , m_freeSpace(control(new QLabel(this), SlideDestinationControl::kFreeSpace))
    , m_autoRunBox(
          control(new QCheckBox(tr("AutoRun"), this), SlideDestinationControl::kAutoRunBox))
    , m_discFolderBox(control(new QCheckBox(tr("Put the show in a &disc folder:"), this),
          SlideDestinationControl::kDiscFolderBox))
    , m_discFolderName(control(new QLineEdit(this), SlideDestinationControl::kDiscFolderName))
    , m_cd(std::move(cd))
{
    setObjectName(QStringLiteral("slideDestinationPage"));
    setProperty("helpTopic", HelpTopic::kSlideShowDestinationPage);
    setTitle(tr("Destination"));
    setSubTitle(tr("Choose where the slide show goes, then choose Finish."));
    setFinalPage(true);
    layOutDestinationPage(this,
        { m_cdRadio, m_discFolderBox, m_discFolderName, m_folderRadio, m_browse, m_folderText,
            m_neededSize, m_freeSpace, { m_autoRunBox } });
    // The AutoRun file always goes onto a disc; the box only shows it.
    m_autoRunBox->hide();
    if (!m_cd || !m_cd->available())
        m_cdRadio->setText(tr("&CD (no CD application)"));
    connect(m_folderRadio, &QRadioButton::clicked, this, &CSlideShow3::folderRadioClicked);
    connect(m_cdRadio, &QRadioButton::clicked, this, [this] {
        showFreeSpace();
        updateControls();
    });
    connect(m_browse, &QPushButton::clicked, this, &CSlideShow3::browse);
    connect(m_discFolderBox, &QCheckBox::toggled, this, &CSlideShow3::updateControls);
}

CSlideShow3::~CSlideShow3() = default;

void CSlideShow3::initializePage()
{
    if (!m_activated) {
        m_activated = true;
        const bool cd = m_cd && m_cd->available();
        m_autoRunBox->setChecked(cd);
        m_cdRadio->setEnabled(cd);
        m_discFolderBox->setChecked(false);
        m_discFolderBox->setEnabled(cd && m_cd->takesDiscFolder());
        (cd ? m_cdRadio : m_folderRadio)->setChecked(true);
    }
    m_neededSize->setText(QString::number(m_soundPage.neededBytes()) + u' ');
    showFreeSpace();
    updateControls();
}

bool CSlideShow3::cdMode() const
{
    return m_cdRadio->isChecked() && m_cd && m_cd->available();
}

void CSlideShow3::showFreeSpace()
{
    qint64 free = -1;
    if (cdMode())
        free = m_cd->freeBytes();
    else
        free = freeBytes(m_destination.isEmpty() ? QDir::currentPath() : m_destination);
    m_freeSpace->setText(
        free < 0 ? loadString(Message::kFreeSpaceUnknown) + u' ' : QString::number(free) + u' ');
}

void CSlideShow3::updateControls()
{
    const bool cd = cdMode();
    m_discFolderName->setEnabled(
        cd && m_discFolderBox->isEnabled() && m_discFolderBox->isChecked());
    m_browse->setEnabled(m_folderRadio->isChecked());
}

bool CSlideShow3::chooseDestination(const QString &folder)
{
    const QString chosen = QDir::cleanPath(folder) + u'/';
    // The working folder itself is no destination: the copies would overwrite themselves.
    if (chosen == m_picker.workingFolder())
        return false;
    m_destination = chosen;
    m_folderText->setText(QDir::toNativeSeparators(m_destination));
    m_folderRadio->setChecked(true);
    showFreeSpace();
    updateControls();
    return true;
}

void CSlideShow3::browse()
{
    const QString start = m_destination.isEmpty() ? m_slideShowFolder : m_destination;
    const QString folder = pickFolder(this, start);
    if (!folder.isEmpty())
        chooseDestination(folder);
}

void CSlideShow3::folderRadioClicked()
{
    if (m_destination.isEmpty())
        browse();
    if (m_destination.isEmpty() && m_cdRadio->isEnabled()) {
        m_cdRadio->setChecked(true);
        m_cdRadio->setFocus();
    }
    showFreeSpace();
    updateControls();
}

bool CSlideShow3::deliverToCd()
{
    if (!acceptDiscFolderField(m_discFolderBox, m_discFolderName))
        return false;
    if (m_cd->applicationBusy()) {
        host().showMessage(Message::kCdApplicationBusy);
        return false;
    }
    // Applications that read the files after Finish need the working copies kept.
    m_picker.setDeleteOnClose(!m_cd->keepsWorkingFiles());
    const bool inFolder = m_discFolderBox->isEnabled() && m_discFolderBox->isChecked();
    if (!m_cd->deliver(m_package.cdProduct(inFolder ? m_discFolderName->text() : QString()))) {
        m_picker.setDeleteOnClose(true);
        return false;
    }
    return true;
}

bool CSlideShow3::validatePage()
{
    if (cdMode()) {
        if (!deliverToCd())
            return false;
    } else {
        if (m_destination.isEmpty()) {
            host().showMessage(Message::kNoSlideShowFolder);
            return false;
        }
        const QString failure = m_package.deliverToFolder(m_destination);
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
