#include "escapekeywatcher.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace glimmerix
{

namespace
{

bool isOtherUserInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

} // namespace

EscapeKeyWatcher::EscapeKeyWatcher(QObject *parent)
    : QObject(parent)
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
}

EscapeKeyWatcher::~EscapeKeyWatcher()
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool EscapeKeyWatcher::poll()
{
    if (m_pacer.due()) {
        m_polling = true;
        QCoreApplication::processEvents();
        m_polling = false;
    }
    const bool pressed = m_down || m_pressedSincePoll;
    m_pressedSincePoll = false;
    return pressed;
}

bool EscapeKeyWatcher::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape) {
            if (type == QEvent::KeyPress) {
                m_down = true;
                m_pressedSincePoll = true;
            } else if (!key->isAutoRepeat()) {
                m_down = false;
            }
            return m_polling;
        }
    }
    if (m_polling && isOtherUserInput(event))
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace glimmerix
