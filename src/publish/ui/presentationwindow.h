#pragma once

#include "publish/presentationschedule.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QRandomGenerator>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;

namespace glimmerix
{

class CAlbumDoc;
class ScreenSaverInhibit;
class WaveFile;

// The full-screen presentation: a borderless window titled "Slide Show" over the whole screen the
// main window is on, showing one slide after the other centred on black with its caption, with a
// random transition effect when they are on. The mouse cursor is hidden and the screen saver held
// off while it is open; Escape or a click closes it, Enter shows the next slide of a silent show.
// The main window is hidden while it runs and shown again when it closes.
class PresentationWindow : public QWidget, public PresentationOutput
{
    Q_OBJECT
public:
    PresentationWindow(
        const PresentationSettings &settings, const QList<SlideRow> &slides, QWidget *mainWindow);
    ~PresentationWindow() override;

    // Hides the main window, covers the screen and shows the first slide.
    void start();
    PresentationSchedule &schedule() { return m_schedule; }
    // What is on the screen now.
    const QImage &screenImage() const { return m_screen; }
    // The effect of the last transition (0: none).
    int lastEffect() const { return m_lastEffect; }
    // Always use `effect` instead of a random one (screenshots and tests).
    void setFixedEffect(int effect) { m_fixedEffect = effect; }
    // Called after every step of a transition is on the screen (screenshots and tests).
    void setStepObserver(std::function<void(int effect, int step, int steps)> observer)
    {
        m_stepObserver = std::move(observer);
    }

    // PresentationOutput
    void showSlide(int index) override;
    void startSlideTimer(int periodMs) override;
    void stopSlideTimer() override;
    bool playSound(const QString &path) override;
    void stopSound() override;
    bool soundPlaying() const override;
    void closeShow() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Slide `index` laid on black for this screen; `loaded` tells whether its picture was read.
    QImage slideFrame(int index, bool &loaded) const;
    void runTransition(int effect, const QImage &target);
    // Lets events run until `deadline` ms after the transition began.
    void waitUntil(const QElapsedTimer &clock, int deadline);

    QList<SlideRow> m_slides;
    PresentationSettings m_settings;
    PresentationSchedule m_schedule;
    QPointer<QWidget> m_mainWindow;
    QTimer *m_timer = nullptr;
    std::unique_ptr<WaveFile> m_sound;
    std::unique_ptr<ScreenSaverInhibit> m_inhibit;
    QImage m_screen;
    QRandomGenerator m_random;
    int m_lastEffect = 0;
    int m_fixedEffect = -1;
    bool m_closing = false;
    std::function<void(int, int, int)> m_stepObserver;
};

// Starts the presentation of `document`'s items: nothing when no item's file exists, else the
// settings dialog and, on OK, the show over `mainWindow`. Returns the window (it deletes itself
// when closed), or nullptr when no show started.
PresentationWindow *startPresentation(
    const CAlbumDoc &document, QWidget *mainWindow, std::function<void(int topic)> openHelp);
// Starts the show of `document`'s items at once with the kept settings (no dialog); message 57012
// when the album has no items.
PresentationWindow *startPresentationNow(const CAlbumDoc &document, QWidget *mainWindow);

} // namespace glimmerix
