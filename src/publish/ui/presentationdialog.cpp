#include "presentationdialog.h"

#include "core/controlids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "media/wavefile.h"
#include "platform/host.h"
#include "platform/strings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace glimmerix
{

namespace
{

template<typename Widget> Widget *named(Widget *widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QString &musicFolder()
{
    static QString folder;
    return folder;
}

// Seconds of the sound at `path`, 0 when it cannot be read.
double soundSeconds(const QString &path)
{
    WaveFile wave;
    return wave.load(path) ? wave.durationSeconds() : 0.0;
}

constexpr int kMaxSecondsPerSlide = 3600;

} // namespace

PresentationSettings &presentationSettings()
{
    static PresentationSettings settings;
    return settings;
}

PresentationDialog::PresentationDialog(const PresentationSettings &settings,
    const QList<SlideRow> &slides, const QString &albumName, QWidget *parent,
    std::function<void(int topic)> openHelp)
    : QDialog(parent)
    , m_settings(settings)
    , m_slides(slides)
{
    setObjectName(QStringLiteral("presentationSettings"));
    setWindowTitle(tr("Slide Show"));

    auto *album = named(new QLineEdit(albumName, this), PresentationControl::kAlbum);
    album->setReadOnly(true);
    m_transitions
        = named(new QCheckBox(tr("&Transition effects"), this), PresentationControl::kTransitions);
    m_transitions->setChecked(settings.transitions);
    m_loop = named(new QCheckBox(tr("&Loop"), this), PresentationControl::kLoop);
    m_loop->setChecked(settings.loop);
    m_seconds = named(new QSpinBox(this), PresentationControl::kSeconds);
    m_seconds->setRange(1, kMaxSecondsPerSlide);
    m_seconds->setValue(settings.secondsPerSlide);

    m_music = named(new QRadioButton(tr("&Music:"), this), PresentationControl::kMusicRadio);
    m_sounds = named(
        new QRadioButton(tr("Each picture's &own sound"), this), PresentationControl::kSoundsRadio);
    m_silent = named(new QRadioButton(tr("&No sound"), this), PresentationControl::kNoSoundRadio);
    auto *group = new QButtonGroup(this);
    group->addButton(m_music, int(SoundMode::Music));
    group->addButton(m_sounds, int(SoundMode::PictureSounds));
    group->addButton(m_silent, int(SoundMode::Silent));
    m_sounds->setEnabled(anySlideHasSound(slides));
    SoundMode mode = settings.soundMode;
    if (mode == SoundMode::PictureSounds && !m_sounds->isEnabled())
        mode = SoundMode::Silent;
    group->button(int(mode))->setChecked(true);
    m_musicFile = named(new QLineEdit(settings.musicFile, this), PresentationControl::kMusicFile);
    m_musicFile->setReadOnly(true);
    m_browse = named(new QPushButton(tr("&Browse..."), this), PresentationControl::kBrowse);
    connect(m_browse, &QPushButton::clicked, this, &PresentationDialog::browseMusic);
    connect(group, &QButtonGroup::idClicked, this, &PresentationDialog::soundModeChanged);

    auto *form = new QFormLayout;
    form->addRow(tr("Album:"), album);
    form->addRow(tr("&Seconds per slide:"), m_seconds);
    form->addRow(m_transitions);
    form->addRow(m_loop);
    auto *sound = new QGroupBox(tr("Sound"), this);
    auto *soundLayout = new QVBoxLayout(sound);
    auto *musicRow = new QHBoxLayout;
    musicRow->addWidget(m_music);
    musicRow->addWidget(m_musicFile, 1);
    musicRow->addWidget(m_browse);
    soundLayout->addLayout(musicRow);
    soundLayout->addWidget(m_sounds);
    soundLayout->addWidget(m_silent);

    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PresentationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PresentationDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [openHelp] {
        if (openHelp)
            openHelp(HelpTopic::kPresentationDialog);
    });
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(sound);
    layout->addWidget(buttons);
    soundModeChanged();
}

void PresentationDialog::soundModeChanged()
{
    m_browse->setEnabled(m_music->isChecked());
    if (m_sounds->isChecked()) {
        double total = 0;
        for (const SlideRow &row : std::as_const(m_slides)) {
            if (!row.soundPath.isEmpty())
                total += soundSeconds(row.soundPath);
        }
        m_settings.soundSeconds = total;
    }
}

void PresentationDialog::browseMusic()
{
    OpenFileQuestion question;
    question.title = tr("Choose the Music");
    question.folder = musicFolder().isEmpty() ? Folders().audioFolder() : musicFolder();
    question.filter = tr("Wave Sounds (*.wav);;All Files (*)");
    const QStringList chosen = host().askOpenFileNames(question);
    if (chosen.isEmpty())
        return;
    const QString path = chosen.first();
    const double seconds = soundSeconds(path);
    if (seconds <= 0) {
        host().showMessage(Message::kUnusableMusicFile);
        return;
    }
    m_musicFile->setText(path);
    musicFolder() = QFileInfo(path).absolutePath();
    m_settings.soundSeconds = seconds;
    m_seconds->setValue(secondsPerSlideForMusic(seconds, int(m_slides.size())));
}

void PresentationDialog::accept()
{
    if (m_music->isChecked() && m_musicFile->text().isEmpty()) {
        host().showMessage(Message::kNoMusicFile);
        return;
    }
    m_settings.transitions = m_transitions->isChecked();
    m_settings.loop = m_loop->isChecked();
    m_settings.secondsPerSlide = m_seconds->value();
    m_settings.soundMode = m_music->isChecked() ? SoundMode::Music
        : m_sounds->isChecked()                 ? SoundMode::PictureSounds
                                                : SoundMode::Silent;
    m_settings.musicFile = m_musicFile->text();
    QDialog::accept();
}

} // namespace glimmerix
