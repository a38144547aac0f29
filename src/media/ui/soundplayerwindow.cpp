#include "soundplayerwindow.h"

#include "media/playeroutput.h"
#include "media/wavefile.h"
#include "media/waveplayer.h"
#include "platform/fillin.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace glimmerix
{

namespace
{

QString clockText(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    return fillIn(QStringLiteral("%1:%2"), seconds / 60,
        QString::number(seconds % 60).rightJustified(2, u'0'));
}

} // namespace

SoundPlayerWindow::SoundPlayerWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_player(new QMediaPlayer(this))
    , m_waveTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("soundPlayer"));
    // Closing the main window ends the program even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Without a sound output the window still shows the sound's position, silently.
    m_output = attachSoundOutput(m_player);
    m_name = new QLabel(this);
    m_position = new QLabel(this);
    m_mode = new QLabel(this);
    m_playButton = new QPushButton(tr("Play"), this);
    m_stopButton = new QPushButton(tr("Stop"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_playButton);
    buttons->addWidget(m_stopButton);
    buttons->addStretch();
    buttons->addWidget(m_position);
    buttons->addWidget(m_mode);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addLayout(buttons);
    connect(m_playButton, &QPushButton::clicked, this, &SoundPlayerWindow::start);
    connect(m_stopButton, &QPushButton::clicked, this, &SoundPlayerWindow::stop);
    m_waveTimer->setInterval(250);
    connect(m_waveTimer, &QTimer::timeout, this, &SoundPlayerWindow::updateTexts);
    connect(m_player, &QMediaPlayer::positionChanged, this, &SoundPlayerWindow::updateTexts);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, &SoundPlayerWindow::updateTexts);
    resize(320, 80);
}

SoundPlayerWindow::~SoundPlayerWindow() = default;

void SoundPlayerWindow::play(const QString &path)
{
    stop();
    m_path = path;
    setWindowTitle(path);
    m_name->setText(QFileInfo(path).fileName());
    // A WAVE file that loads plays through our own player; anything else through Qt Multimedia.
    m_wave.reset();
    if (QFileInfo(path).suffix().compare(QLatin1String("wav"), Qt::CaseInsensitive) == 0) {
        auto wave = std::make_unique<WaveFile>();
        if (wave->load(path))
            m_wave = std::move(wave);
    }
    m_player->setSource(m_wave ? QUrl() : QUrl::fromLocalFile(path));
    show();
    raise();
    start();
}

bool SoundPlayerWindow::playsWave() const
{
    return m_wave != nullptr;
}

void SoundPlayerWindow::start()
{
    if (!playsWave()) {
        m_player->play();
        updateTexts();
        return;
    }
    if (m_wave->player() && m_wave->player()->isPlaying())
        return;
    if (m_wave->play(m_path)) {
        connect(m_wave->player(), &WavePlayer::finished, this, &SoundPlayerWindow::updateTexts,
            Qt::UniqueConnection);
        m_waveTimer->start();
    }
    updateTexts();
}

void SoundPlayerWindow::stop()
{
    if (m_wave && m_wave->player())
        m_wave->player()->stop();
    m_player->stop();
    updateTexts();
}

QString SoundPlayerWindow::modeText() const
{
    if (playsWave()) {
        const bool playing = m_wave->player() && m_wave->player()->isPlaying();
        return playing ? tr("Playing") : tr("Stopped");
    }
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return tr("Playing");
    case QMediaPlayer::PausedState:
        return tr("Paused");
    case QMediaPlayer::StoppedState:
        return tr("Stopped");
    }
    return {};
}

void SoundPlayerWindow::updateTexts()
{
    if (playsWave()) {
        const WavePlayer *player = m_wave->player();
        const bool playing = player && player->isPlaying();
        if (!playing)
            m_waveTimer->stop();
        const double seconds = m_wave->format().seconds(playing ? player->bytesPlayed() : 0);
        m_position->setText(clockText(qint64(seconds * 1000)));
        m_mode->setText(modeText());
        return;
    }
    m_position->setText(clockText(m_player->position()));
    m_mode->setText(modeText());
}

} // namespace glimmerix
