#include "instancechannel.h"

#include "paths.h"
#include "platform/fillin.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <optional>

namespace glimmerix
{

namespace
{

// More simultaneous senders than this means something is wrong; refuse the rest.
constexpr qsizetype kMaxConnections = 32;

// Reads from `socket` into `decoder`, never more than the decoder asks for.
void feedFromSocket(QLocalSocket &socket, FrameDecoder &decoder)
{
    while (decoder.bytesWanted() > 0 && socket.bytesAvailable() > 0) {
        const QByteArray chunk = socket.read(decoder.bytesWanted());
        if (chunk.isEmpty())
            return;
        decoder.feed(chunk);
    }
}

int remainingMs(const QDeadlineTimer &deadline)
{
    return int(qMax<qint64>(0, deadline.remainingTime()));
}

} // namespace

QString instanceSocketPath(const QString &instanceName)
{
    const QString folder = instanceFolder();
    if (folder.isEmpty() || instanceName.isEmpty())
        return {};
    return joinPath(folder, instanceName + QStringLiteral(".socket"));
}

struct InstanceServer::Connection {
    FrameDecoder decoder;
    std::optional<InstanceFrame> request; // read, waiting for its turn
};

InstanceServer::InstanceServer(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::acceptConnections);
}

InstanceServer::~InstanceServer()
{
    const QString path = socketPath();
    m_server->close();
    // Qt removes the socket file on close; make sure no stale one is left for the next start.
    if (!path.isEmpty())
        QLocalServer::removeServer(path);
}

bool InstanceServer::listen(const QString &instanceName)
{
    const QString path = instanceSocketPath(instanceName);
    if (path.isEmpty()) {
        m_error = QStringLiteral("no private instance folder for the instance socket");
        return false;
    }
    QLocalServer::removeServer(path);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        m_error = QStringLiteral("cannot listen on %1: %2").arg(path, m_server->errorString());
        return false;
    }
    m_error.clear();
    return true;
}

bool InstanceServer::isListening() const
{
    return m_server->isListening();
}

QString InstanceServer::socketPath() const
{
    return m_server->isListening() ? m_server->fullServerName() : QString();
}

void InstanceServer::setReceiver(std::uint32_t number, InstanceMessageReceiver *receiver)
{
    if (receiver)
        m_receivers.insert(number, receiver);
    else
        m_receivers.remove(number);
}

void InstanceServer::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (m_connections.size() >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // The socket buffers at most one frame; the sender waits for our reply anyway.
        socket->setReadBufferSize(kMaxFrameSize);
        m_connections.insert(socket, std::make_shared<Connection>());
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(
            socket, &QLocalSocket::disconnected, this, [this, socket] { dropConnection(socket); });
        readFrom(socket);
    }
}

void InstanceServer::readFrom(QLocalSocket *socket)
{
    const std::shared_ptr<Connection> connection = m_connections.value(socket);
    if (!connection || connection->request)
        return; // unknown, or its previous request has not been handled yet
    feedFromSocket(*socket, connection->decoder);
    if (connection->decoder.failed()) {
        qWarning("instance channel: closing a connection: %s",
            qPrintable(connection->decoder.errorString()));
        dropConnection(socket);
        return;
    }
    if (!connection->decoder.hasFrame())
        return;
    InstanceFrame frame = connection->decoder.takeFrame();
    if (frame.kind != FrameKind::Request) {
        qWarning("instance channel: closing a connection that sent a reply frame");
        dropConnection(socket);
        return;
    }
    connection->request = std::move(frame);
    m_queue.append(socket);
    // Never handled here, inside the socket's own signal: a receiver that runs a nested event
    // loop would let the socket be deleted (its sender died meanwhile) under the caller's feet.
    if (!m_handlingQueued) {
        m_handlingQueued = true;
        QMetaObject::invokeMethod(this, &InstanceServer::handleQueued, Qt::QueuedConnection);
    }
}

void InstanceServer::handleQueued()
{
    m_handlingQueued = false;
    // A receiver may run a nested event loop (a progress step, say); requests arriving meanwhile
    // wait in the queue and are handled by the outermost call, one after another.
    if (m_handling)
        return;
    m_handling = true;
    while (!m_queue.isEmpty()) {
        const QPointer<QLocalSocket> socket = m_queue.takeFirst();
        if (!socket)
            continue;
        const std::shared_ptr<Connection> connection = m_connections.value(socket.data());
        if (!connection || !connection->request)
            continue;
        const InstanceFrame request = std::move(*connection->request);
        connection->request.reset();

        InstanceFrame reply;
        reply.kind = FrameKind::Reply;
        reply.number = request.number;
        if (InstanceMessageReceiver *receiver = m_receivers.value(request.number)) {
            reply.wparam = receiver->handleInstanceMessage(
                request.number, request.wparam, request.lparam, request.payload);
            reply.lparam = 1;
        }
        if (socket && socket->state() == QLocalSocket::ConnectedState) {
            socket->write(encodeFrame(reply));
            socket->flush();
            readFrom(socket); // a further request may already be buffered
        }
    }
    m_handling = false;
}

void InstanceServer::dropConnection(QLocalSocket *socket)
{
    if (!m_connections.remove(socket))
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

InstanceReply sendInstanceMessage(const QString &instanceName, std::uint32_t number,
    std::int64_t wparam, std::int64_t lparam, const QByteArray &payload, int timeoutMs)
{
    InstanceReply reply;
    const QString path = instanceSocketPath(instanceName);
    if (path.isEmpty()) {
        reply.error = QStringLiteral("no private instance folder to find the running instance in");
        return reply;
    }
    InstanceFrame request;
    request.number = number;
    request.wparam = wparam;
    request.lparam = lparam;
    request.payload = payload;
    const QByteArray bytes = encodeFrame(request);
    if (bytes.isEmpty()) {
        reply.error
            = QStringLiteral("message payload of %1 bytes is too large").arg(payload.size());
        return reply;
    }

    // The running instance may hold the lock but not yet listen: keep trying for a while.
    QLocalSocket socket;
    const QDeadlineTimer connectDeadline(qMin(timeoutMs, kConnectTimeoutMs));
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(remainingMs(connectDeadline)))
            break;
        const QLocalSocket::LocalSocketError error = socket.error();
        const bool retry = error == QLocalSocket::ServerNotFoundError
            || error == QLocalSocket::ConnectionRefusedError;
        if (!retry || connectDeadline.hasExpired()) {
            reply.error = QStringLiteral("cannot reach the running instance at %1: %2")
                              .arg(path, socket.errorString());
            return reply;
        }
        socket.abort();
        QThread::msleep(50);
    }

    const QDeadlineTimer deadline(timeoutMs);
    socket.write(bytes);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline))) {
            reply.error = fillIn(
                QStringLiteral("cannot send message %1: %2"), number, socket.errorString());
            return reply;
        }
    }
    FrameDecoder decoder;
    for (;;) {
        feedFromSocket(socket, decoder);
        if (decoder.hasFrame() || decoder.failed())
            break;
        if (!socket.waitForReadyRead(remainingMs(deadline))) {
            if (deadline.hasExpired()) {
                reply.timedOut = true;
                reply.error
                    = fillIn(QStringLiteral("the running instance did not handle message %1 "
                                            "within %2 seconds"),
                        number, timeoutMs / 1000.0);
            } else {
                reply.error
                    = fillIn(QStringLiteral("the running instance closed the connection before "
                                            "answering message %1: %2"),
                        number, socket.errorString());
            }
            return reply;
        }
    }
    if (decoder.failed()) {
        reply.error = fillIn(
            QStringLiteral("malformed answer to message %1: %2"), number, decoder.errorString());
        return reply;
    }
    const InstanceFrame answer = decoder.takeFrame();
    if (answer.kind != FrameKind::Reply || answer.number != number) {
        reply.error = QStringLiteral("unexpected answer to message %1").arg(number);
        return reply;
    }
    reply.delivered = true;
    reply.handled = answer.lparam != 0;
    reply.result = answer.wparam;
    return reply;
}

} // namespace glimmerix
