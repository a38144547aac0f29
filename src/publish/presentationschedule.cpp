#include "presentationschedule.h"

#include <algorithm>
#include <utility>

namespace glimmerix
{

namespace
{
// Milliseconds of one tick per second of slide time without music: ten ticks make 0.8 of it.
constexpr int kSilentTickFactor = 80;
constexpr int kMillisecondsPerSecond = 1000;
} // namespace

PresentationSchedule::PresentationSchedule(
    const PresentationSettings &settings, QList<SlideRow> slides, PresentationOutput &output)
    : m_settings(settings)
    , m_slides(std::move(slides))
    , m_output(output)
{
}

int PresentationSchedule::tickPeriodMs() const
{
    const int seconds = std::max(1, m_settings.secondsPerSlide);
    return m_settings.soundMode == SoundMode::Music ? seconds * kMillisecondsPerSecond
                                                    : seconds * kSilentTickFactor;
}

void PresentationSchedule::start()
{
    if (m_slides.isEmpty()) {
        close();
        return;
    }
    m_current = 0;
    m_step = 0;
    switch (m_settings.soundMode) {
    case SoundMode::Music:
        m_output.startSlideTimer(tickPeriodMs());
        m_timerRunning = true;
        m_output.playSound(m_settings.musicFile);
        show(0);
        break;
    case SoundMode::PictureSounds:
        show(0);
        if (!m_closed)
            startSlideSound();
        break;
    case SoundMode::Silent:
        m_output.startSlideTimer(tickPeriodMs());
        m_timerRunning = true;
        show(0);
        break;
    }
}

void PresentationSchedule::tick()
{
    if (m_closed)
        return;
    if (m_drawing) {
        // Ticks that come while drawing fold into one, as a timer's do.
        m_pendingTicks = 1;
        return;
    }
    if (m_settings.soundMode == SoundMode::Music) {
        advance();
        return;
    }
    if (++m_step >= kTicksPerSlide) {
        m_step = 0;
        advance();
    }
}

void PresentationSchedule::soundEnded()
{
    if (m_closed || m_settings.soundMode != SoundMode::PictureSounds)
        return;
    if (m_drawing) {
        m_pendingSoundEnd = true;
        return;
    }
    m_step = 0;
    advance();
}

void PresentationSchedule::nextRequested()
{
    if (m_closed || m_settings.soundMode != SoundMode::Silent)
        return;
    if (m_drawing) {
        m_pendingNext = true;
        return;
    }
    m_step = 0;
    advance();
}

void PresentationSchedule::closeRequested()
{
    if (m_closed)
        return;
    if (m_drawing) {
        m_pendingClose = true;
        return;
    }
    m_output.stopSound();
    close();
}

void PresentationSchedule::advance()
{
    int next = m_current + 1;
    if (next >= m_slides.size()) {
        if (m_settings.soundMode == SoundMode::Music && m_output.soundPlaying())
            return; // the last slide stays while the music plays
        if (!m_settings.loop) {
            m_output.stopSound();
            close();
            return;
        }
        next = 0;
        if (m_settings.soundMode == SoundMode::Music)
            m_output.playSound(m_settings.musicFile);
    }
    show(next);
    if (!m_closed && m_settings.soundMode == SoundMode::PictureSounds)
        startSlideSound();
}

void PresentationSchedule::startSlideSound()
{
    const QString &sound = m_slides.at(m_current).soundPath;
    if (!sound.isEmpty() && m_output.playSound(sound)) {
        m_output.stopSlideTimer();
        m_timerRunning = false;
        return;
    }
    if (!m_timerRunning) {
        m_step = 0;
        m_output.startSlideTimer(tickPeriodMs());
        m_timerRunning = true;
    }
}

void PresentationSchedule::show(int index)
{
    m_current = index;
    m_drawing = true;
    m_output.showSlide(index);
    m_drawing = false;
    runPending();
}

void PresentationSchedule::runPending()
{
    if (std::exchange(m_pendingClose, false)) {
        closeRequested();
        return;
    }
    if (std::exchange(m_pendingSoundEnd, false)) {
        soundEnded();
        return;
    }
    if (std::exchange(m_pendingNext, false)) {
        nextRequested();
        return;
    }
    if (std::exchange(m_pendingTicks, 0) > 0)
        tick();
}

void PresentationSchedule::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_pendingTicks = 0;
    m_pendingNext = m_pendingClose = m_pendingSoundEnd = false;
    m_output.stopSlideTimer();
    m_timerRunning = false;
    m_output.closeShow();
}

} // namespace glimmerix
