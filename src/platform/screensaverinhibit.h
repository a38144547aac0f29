#pragma once

#include <QString>

#include <cstdint>

namespace glimmerix
{

// Keeps the desktop's screen saver from starting while it lives, through the session's
// org.freedesktop.ScreenSaver service (Inhibit on construction, UnInhibit on destruction).
// Without a session bus or that service nothing happens and nothing is reported: a show simply
// runs with the screen saver as the desktop has it.
class ScreenSaverInhibit
{
public:
    explicit ScreenSaverInhibit(const QString &reason);
    ~ScreenSaverInhibit();
    ScreenSaverInhibit(const ScreenSaverInhibit &) = delete;
    ScreenSaverInhibit &operator=(const ScreenSaverInhibit &) = delete;

    // Whether the service took the request.
    bool isActive() const { return m_active; }

private:
    std::uint32_t m_cookie = 0;
    bool m_active = false;
};

} // namespace glimmerix
