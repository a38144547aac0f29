#pragma once

#include <QWidget>

class QAudioOutput;
class QLabel;
class QMediaPlayer;
class QPushButton;

// A small playback window for an item's attached sound: the file's name, the position and the
// mode (playing, paused, stopped), with play and stop buttons. Made once and reused.
class SoundPlayerWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit SoundPlayerWindow(QWidget *parent = nullptr);

    // Opens `path`, titles the window with it, shows the window and starts playing.
    void play(const QString &path);
    QString source() const { return m_path; }
    QString modeText() const;

private:
    void updateTexts();

    QMediaPlayer *m_player;
    QAudioOutput *m_output;
    QLabel *m_name;
    QLabel *m_position;
    QLabel *m_mode;
    QPushButton *m_playButton;
    QPushButton *m_stopButton;
    QString m_path;
};
