#pragma once

#include "publish/slideshowfile.h"

#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace glimmerix
{
class WaveFile;
}

// The slide show player's window: the pictures of a show file in order, each fitted on black
// with its notes as the caption below, for the time the show file gives it; the music plays
// through the whole show, or each picture plays its own sound. Keys: Right, Space, Enter or
// Page Down next; Left or Page Up back; Home first; P or Pause pauses and goes on; Escape or Q
// ends. After the last picture's time the show ends.
class SlidePlayer : public QWidget
{
    Q_OBJECT
public:
    // Plays `show` with its files in `folder` (ending in '/').
    SlidePlayer(glimmerix::SlideShowFile show, const QString &folder, QWidget *parent = nullptr);
    ~SlidePlayer() override;

    // Shows the first picture and starts the sound and the timer.
    void start();
    int current() const { return m_current; }
    bool paused() const { return m_paused; }
    // Called once the first picture has been painted (screenshots and tests).
    void setFirstPaintObserver(std::function<void()> observer)
    {
        m_firstPaint = std::move(observer);
    }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void showSlide(int index);
    void next();
    void togglePause();
    void playSound(const QString &name);
    void stopSound();
    void pauseSound(bool pause);

    glimmerix::SlideShowFile m_show;
    QString m_folder;
    int m_current = -1;
    QImage m_picture;
    QTimer m_timer;
    QElapsedTimer m_shownFor; // since the slide (or its resumption) began
    int m_remainingMs = 0; // of the slide's time when paused
    bool m_paused = false;
    std::unique_ptr<glimmerix::WaveFile> m_music;
    std::unique_ptr<glimmerix::WaveFile> m_sound;
    std::function<void()> m_firstPaint;
};

// Reads the show file at `path` (at most a size no real show reaches). False with `error` saying
// why when it cannot be read or is no show file.
bool readShowFile(const QString &path, glimmerix::SlideShowFile &show, QString &error);
