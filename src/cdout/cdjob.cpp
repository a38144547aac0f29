#include "cdjob.h"

namespace glimmerix
{

namespace
{
WindowProbe &installedProbe()
{
    static WindowProbe probe;
    return probe;
}
} // namespace

bool CCdJob::seenBefore(const QString &path)
{
    if (m_added.contains(path))
        return true;
    m_added.insert(path);
    return false;
}

bool windowClassExists(const QString &windowClass)
{
    const WindowProbe &probe = installedProbe();
    return probe.classExists && probe.classExists(windowClass);
}

bool windowTitleExists(const QString &title)
{
    const WindowProbe &probe = installedProbe();
    return probe.titleExists && probe.titleExists(title);
}

WindowProbe setWindowProbe(WindowProbe probe)
{
    return std::exchange(installedProbe(), std::move(probe));
}

} // namespace glimmerix
