#pragma once

#include "instanceframe.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace glimmerix
{

// The channel through which one Glimmerix process sends numbered messages to another run by the
// same user with the same user folder: a local socket named after the executable's base name in
// the private instance folder (see paths.h), so a second user folder has instances of its own.
// The sender waits until the receiver has handled the message, so messages are handled one at a
// time and in the order they were sent.

// The full socket path for `instanceName` ("glimix" -> <instance folder>/glimix.socket); empty
// when there is no safe instance folder.
QString instanceSocketPath(const QString &instanceName);

// Handles the messages of one or more numbers in the receiving process.
class InstanceMessageReceiver
{
public:
    virtual ~InstanceMessageReceiver() = default;
    // Handles message `number` and returns its result, which travels back to the waiting sender.
    virtual std::int64_t handleInstanceMessage(
        std::uint32_t number, std::int64_t wparam, std::int64_t lparam, const QByteArray &payload)
        = 0;
};

// The receiving end. Listens on the instance socket and dispatches each request, on the event
// loop of the thread that owns it, to the receiver registered for its number. Requests from
// several senders are handled strictly one after another. A connection that sends a malformed
// frame is closed.
class InstanceServer final : public QObject
{
    Q_OBJECT
public:
    explicit InstanceServer(QObject *parent = nullptr);
    ~InstanceServer() override;

    // Starts listening as `instanceName`, replacing a socket left behind by a crashed process.
    // Only call this while holding the instance lock, so no live server is replaced.
    bool listen(const QString &instanceName);
    bool isListening() const;
    QString socketPath() const;
    QString errorString() const { return m_error; }

    // Routes message `number` to `receiver` (not owned); nullptr removes the route. A message with
    // no receiver is answered with result 0 and "not handled".
    void setReceiver(std::uint32_t number, InstanceMessageReceiver *receiver);

private:
    struct Connection;

    void acceptConnections();
    void readFrom(QLocalSocket *socket);
    void handleQueued();
    void dropConnection(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
    QString m_error;
    QHash<std::uint32_t, InstanceMessageReceiver *> m_receivers;
    QHash<QLocalSocket *, std::shared_ptr<Connection>> m_connections;
    QList<QPointer<QLocalSocket>> m_queue; // connections with a complete request, in arrival order
    bool m_handling = false;
    bool m_handlingQueued = false; // a call of handleQueued() is posted
};

// What became of a message sent with sendInstanceMessage().
struct InstanceReply {
    bool delivered = false; // the receiver answered
    bool handled = false; // ... and a receiver was registered for the number
    std::int64_t result = 0;
    bool timedOut = false; // the receiver took the message but did not answer in time
    QString error; // why it was not delivered
};

inline constexpr int kDefaultReplyTimeoutMs = 60000;
// How long a sender keeps trying to reach a server that is still starting.
inline constexpr int kConnectTimeoutMs = 5000;

// Sends message `number` to the process listening as `instanceName` and waits until it has been
// handled or `timeoutMs` has passed. Blocks the calling thread without running its event loop.
InstanceReply sendInstanceMessage(const QString &instanceName, std::uint32_t number,
    std::int64_t wparam, std::int64_t lparam, const QByteArray &payload = {},
    int timeoutMs = kDefaultReplyTimeoutMs);

} // namespace glimmerix
