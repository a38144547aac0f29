#include "launcherstate.h"

#include "core/messageids.h"
#include "platform/strings.h"

namespace glimmerix
{

void LauncherState::setEntries(const QList<LauncherEntry> &entries)
{
    m_entries = entries;
    for (int index = 0; index < count(); ++index)
        m_entries[index].rect = launcherButtonRect(index);
    m_looks = QList<ButtonLook>(count(), ButtonLook::Normal);
    m_pressed = -1;
    m_held = false;
}

ButtonLook LauncherState::look(int index) const
{
    return index >= 0 && index < count() ? m_looks[index] : ButtonLook::Normal;
}

int LauncherState::buttonAt(QPoint point) const
{
    for (int index = 0; index < count(); ++index) {
        if (m_entries[index].rect.contains(point))
            return index;
    }
    return -1;
}

QString LauncherState::toolTipAt(QPoint point) const
{
    const int index = buttonAt(point);
    return index < 0 ? QString() : m_entries[index].label;
}

QString LauncherState::mouseMove(QPoint point)
{
    if (m_entries.isEmpty())
        return formatString(Message::kEmptyStatus);
    const int under = buttonAt(point);
    if (m_held) {
        if (m_pressed >= 0 && m_pressed < count())
            m_looks[m_pressed] = under == m_pressed ? ButtonLook::Pressed : ButtonLook::Normal;
        return under < 0 ? loadString(Message::kIdleStatus)
                         : formatString(Message::kButtonStatus, { m_entries[under].label });
    }
    for (int index = 0; index < count(); ++index)
        m_looks[index] = index == under ? ButtonLook::Hover : ButtonLook::Normal;
    if (under < 0)
        return loadString(Message::kIdleStatus);
    return formatString(Message::kButtonStatus, { m_entries[under].label });
}

bool LauncherState::press(QPoint point)
{
    const int under = buttonAt(point);
    if (under < 0)
        return false;
    for (ButtonLook &look : m_looks)
        look = ButtonLook::Normal;
    m_looks[under] = ButtonLook::Pressed;
    m_pressed = under;
    m_held = true;
    return true;
}

int LauncherState::releaseLeft(QPoint point)
{
    const int under = buttonAt(point);
    if (m_pressed >= 0 && m_pressed < count())
        m_looks[m_pressed] = ButtonLook::Normal;
    m_pressed = -1;
    m_held = false;
    return under;
}

LauncherState::SetupRequest LauncherState::releaseRight(QPoint point)
{
    SetupRequest request;
    if (m_pressed >= 0 && m_pressed < count()) {
        m_looks[m_pressed] = ButtonLook::Normal;
        if (m_held && buttonAt(point) == m_pressed)
            request.preselect = m_pressed;
    }
    m_pressed = -1;
    m_held = false;
    return request;
}

int LauncherState::dragMove(QPoint point, bool acceptable)
{
    const int under = acceptable ? buttonAt(point) : -1;
    for (int index = 0; index < count(); ++index) {
        if (index == under)
            m_looks[index] = ButtonLook::Hover;
        else if (m_looks[index] == ButtonLook::Hover)
            m_looks[index] = ButtonLook::Normal;
    }
    return under;
}

bool LauncherState::resetHover()
{
    bool changed = false;
    for (ButtonLook &look : m_looks) {
        if (look == ButtonLook::Hover) {
            look = ButtonLook::Normal;
            changed = true;
        }
    }
    return changed;
}

void LauncherState::resetLooks()
{
    for (ButtonLook &look : m_looks)
        look = ButtonLook::Normal;
    m_pressed = -1;
    m_held = false;
}

} // namespace glimmerix
