#pragma once

#include <QWidget>

#include <memory>

class QAudioOutput;
class QLabel;
class QMediaPlayer;
class QPushButton;
class QTimer;

namespace glimmerix
{

class WaveFile;

// A small playback window for an item's attached sound: the file's name, the position and the
// mode (playing, paused, stopped), with play and stop buttons. Made once and reused. WAVE files
// play through WavePlayer; other formats through Qt Multimedia.
class SoundPlayerWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit SoundPlayerWindow(QWidget *parent = nullptr);
    ~SoundPlayerWindow() override;

    // Opens `path`, titles the window with it, shows the window and starts playing.
    void play(const QString &path);
    QString source() const { return m_path; }
    QString modeText() const;

private:
    void start();
    void stop();
    bool playsWave() const;
    void updateTexts();

    QMediaPlayer *m_player;
    QAudioOutput *m_output = nullptr; // none when the machine has no sound output
    QLabel *m_name;
    QLabel *m_position;
    QLabel *m_mode;
    QPushButton *m_playButton;
    QPushButton *m_stopButton;
    QTimer *m_waveTimer;
    std::unique_ptr<WaveFile> m_wave;
    QString m_path;
};

} // namespace glimmerix
