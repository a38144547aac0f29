#include "screensaverinhibit.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace glimmerix
{

namespace
{
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
// Calls to the service wait at most this long: a hung desktop must not hold up the show.
constexpr int kCallTimeoutMs = 2000;

bool serviceAvailable(const QDBusConnection &bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(kService);
    return registered.isValid() && registered.value();
}
} // namespace

ScreenSaverInhibit::ScreenSaverInhibit(const QString &reason)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!serviceAvailable(bus))
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Inhibit");
    call << QCoreApplication::applicationName() << reason;
    const QDBusReply<std::uint32_t> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid())
        return;
    m_cookie = reply.value();
    m_active = true;
}

ScreenSaverInhibit::~ScreenSaverInhibit()
{
    if (!m_active)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "UnInhibit");
    call << m_cookie;
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
}

} // namespace glimmerix
