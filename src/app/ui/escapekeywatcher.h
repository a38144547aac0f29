#pragma once

#include <QElapsedTimer>
#include <QObject>

namespace glimmerix
{

// Paces the event pumping of long loops: due() is true at the first call and then at most once
// every 50 ms. Running the event loop once per item repaints the windows every time and can take
// more than the item's own work; a person does not notice 50 ms before Escape or Cancel counts.
class EventPacer
{
public:
    static constexpr qint64 kIntervalMs = 50;
    bool due()
    {
        if (m_timer.isValid() && m_timer.elapsed() < kIntervalMs)
            return false;
        m_timer.start();
        return true;
    }

private:
    QElapsedTimer m_timer;
};

// Tells long loops whether the user pressed Escape. A Linux desktop offers no global key state
// to poll, so this application-wide event filter notes the Escape key events that reach any of
// the program's windows (only while one of them has the keyboard focus).
//
// poll() lets pending events run (repaints, timers, the hand-over channel; at most every 50 ms,
// see EventPacer) so the program stays alive during the loop, and answers true while Escape is held
// down or when it was pressed since the previous poll, so a short tap between two polls is not
// missed. While poll() runs, other mouse and key input is dropped: a click must not start a second
// command inside the loop.
class EscapeKeyWatcher final : public QObject
{
    Q_OBJECT
public:
    explicit EscapeKeyWatcher(QObject *parent = nullptr); // installs itself on the application
    ~EscapeKeyWatcher() override;

    bool poll();
    bool isDown() const { return m_down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_down = false;
    bool m_pressedSincePoll = false;
    bool m_polling = false;
    EventPacer m_pacer;
};

} // namespace glimmerix
