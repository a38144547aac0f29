#include "soundplayerwindow.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace
{

QString clockText(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

SoundPlayerWindow::SoundPlayerWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_player(new QMediaPlayer(this))
    , m_output(new QAudioOutput(this))
{
    setObjectName(QStringLiteral("soundPlayer"));
    // Closing the main window ends the program even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_player->setAudioOutput(m_output);
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
    connect(m_playButton, &QPushButton::clicked, m_player, &QMediaPlayer::play);
    connect(m_stopButton, &QPushButton::clicked, m_player, &QMediaPlayer::stop);
    connect(m_player, &QMediaPlayer::positionChanged, this, &SoundPlayerWindow::updateTexts);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, &SoundPlayerWindow::updateTexts);
    resize(320, 80);
}

void SoundPlayerWindow::play(const QString &path)
{
    m_path = path;
    setWindowTitle(path);
    m_name->setText(QFileInfo(path).fileName());
    m_player->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    m_player->play();
    updateTexts();
}

QString SoundPlayerWindow::modeText() const
{
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
    m_position->setText(clockText(m_player->position()));
    m_mode->setText(modeText());
}
