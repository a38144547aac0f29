#pragma once

#include "presentationsettings.h"
#include "slidetable.h"

#include <QList>

namespace glimmerix
{

// What the presentation's window does for the schedule.
class PresentationOutput
{
public:
    virtual ~PresentationOutput() = default;
    // Draws slide `index` (with its transition); may let events run while it draws.
    virtual void showSlide(int index) = 0;
    // Starts (or restarts) the slide timer with `periodMs`; stops it.
    virtual void startSlideTimer(int periodMs) = 0;
    virtual void stopSlideTimer() = 0;
    // Plays the sound file at `path`; false when it cannot play.
    virtual bool playSound(const QString &path) = 0;
    virtual void stopSound() = 0;
    virtual bool soundPlaying() const = 0;
    // Ends the show: the window closes.
    virtual void closeShow() = 0;
};

// When the slides of a presentation change, from its settings and the window's events.
//
// Without music the timer ticks every secondsPerSlide x 80 ms and a slide stays ten ticks (0.8 x
// the slide time); with picture sounds a slide with a sound plays it with the timer stopped and
// the next slide comes when the sound ends. With music the timer ticks once per slide and the
// last slide stays while the music plays. After the last slide the show closes, or with loop
// starts over.
//
// Events that come while a slide is being drawn (a tick, Enter, Escape) wait until the drawing
// ends, so Escape during a transition closes the window once the transition is complete.
class PresentationSchedule
{
public:
    static constexpr int kTicksPerSlide = 10;

    PresentationSchedule(
        const PresentationSettings &settings, QList<SlideRow> slides, PresentationOutput &output);

    // The window is up: first slide, timer and sound.
    void start();
    void tick();
    // The sound started for a slide (or the music) has ended and its device closed.
    void soundEnded();
    // Enter goes to the next slide at once when the show is silent.
    void nextRequested();
    // Escape or a mouse click: the sound stops and the window closes.
    void closeRequested();

    int currentSlide() const { return m_current; }
    bool isClosed() const { return m_closed; }
    bool isDrawing() const { return m_drawing; }
    // Timer period of the ticks between slides without a sound.
    int tickPeriodMs() const;

private:
    void show(int index);
    void advance();
    // After a slide came up in picture-sound mode: its sound, or the timer.
    void startSlideSound();
    void close();
    void runPending();

    PresentationSettings m_settings;
    QList<SlideRow> m_slides;
    PresentationOutput &m_output;
    int m_current = 0;
    int m_step = 0;
    bool m_closed = false;
    bool m_drawing = false;
    bool m_timerRunning = false;
    // What came in while a slide was drawn.
    int m_pendingTicks = 0;
    bool m_pendingNext = false;
    bool m_pendingClose = false;
    bool m_pendingSoundEnd = false;
};

} // namespace glimmerix
