// The service under slow, idle and endless clients: 64 of them from four loopback addresses at
// once while a normal client signs in and lists its pictures over and over. Loopback only,
// bounded in count and time (about eight seconds a run).

#include "serviceprocess.h"

#include "online/onlineclient.h"

#include "support/testenvironment.h"

#include <QElapsedTimer>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <map>
#include <thread>

using namespace glimmerix;

namespace
{

enum class Kind {
    Idle, // connects and sends nothing (over TLS: no handshake either)
    HeadersThenSilence, // a request line and a Host header, then nothing
    TrickleHeaders, // one byte of headers every 300 ms
    TrickleBody, // honest headers, then one byte of the body every 300 ms
    HugeLength, // announces 99999999999 bytes and sends as fast as it can
    EndlessChunks, // a chunked body that never ends
};

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Idle:
        return "idle";
    case Kind::HeadersThenSilence:
        return "headers then silence";
    case Kind::TrickleHeaders:
        return "headers a byte at a time";
    case Kind::TrickleBody:
        return "body a byte at a time";
    case Kind::HugeLength:
        return "Content-Length 99999999999";
    case Kind::EndlessChunks:
        return "endless chunked body";
    }
    return "";
}

struct Attacker {
    Kind kind = Kind::Idle;
    int socket = -1;
    qint64 closedAfterMs = -1; // when the service closed it
    qint64 sent = 0;
    QByteArray reply;
    qint64 nextByteMs = 0;
};

// A connection to the service from `source` (a loopback address of its own, so each group
// counts as one peer), non-blocking.
int connectFrom(const char *source, int port)
{
    const int fd = ServiceProcess::connectFrom(source, port);
    if (fd >= 0)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

void sendSome(Attacker &attacker, const QByteArray &bytes)
{
    const ssize_t sent
        = ::send(attacker.socket, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
    if (sent > 0)
        attacker.sent += sent;
}

void start(Attacker &attacker)
{
    switch (attacker.kind) {
    case Kind::Idle:
    case Kind::TrickleHeaders:
        break;
    case Kind::HeadersThenSilence:
        sendSome(attacker, "GET /servlet/com.api.GetServer HTTP/1.1\r\nHost: x\r\n");
        break;
    case Kind::TrickleBody:
        sendSome(attacker,
            "POST /servlet/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n"
            "Content-Type: multipart/form-data; boundary=x\r\n\r\n");
        break;
    case Kind::HugeLength:
        sendSome(attacker,
            "POST /servlet/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 99999999999\r\n"
            "Content-Type: multipart/form-data; boundary=x\r\n\r\n");
        break;
    case Kind::EndlessChunks:
        sendSome(attacker,
            "POST /servlet/upload HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n"
            "Content-Type: multipart/form-data; boundary=x\r\n\r\n");
        break;
    }
}

void step(Attacker &attacker, qint64 nowMs)
{
    static const QByteArray flood(64 * 1024, 'x');
    static const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, 'x') + "\r\n";
    static const QByteArray trickle
        = "GET /servlet/com.api.GetServer HTTP/1.1\r\nX: " + QByteArray(1000, 'a');
    switch (attacker.kind) {
    case Kind::Idle:
    case Kind::HeadersThenSilence:
        break;
    case Kind::TrickleHeaders:
    case Kind::TrickleBody:
        if (nowMs >= attacker.nextByteMs) {
            const qint64 at = std::min<qint64>(attacker.sent, trickle.size() - 1);
            sendSome(attacker, attacker.kind == Kind::TrickleBody ? "x" : trickle.mid(at, 1));
            attacker.nextByteMs = nowMs + 300;
        }
        break;
    case Kind::HugeLength:
        sendSome(attacker, flood);
        break;
    case Kind::EndlessChunks:
        sendSome(attacker, chunk);
        break;
    }
}

struct LoadFigures {
    qint64 slowestRequestMs = 0;
    int requests = 0;
    int failures = 0;
    qint64 overCapClosedAfterMs = -1; // a 17th connection from one address
};

// How long until the service closes `socket`; -1 when it stays open for `waitMs`.
qint64 closedWithin(int socket, int waitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < waitMs) {
        char byte = 0;
        const ssize_t got = ::recv(socket, &byte, 1, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK))
            return clock.elapsed();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

// Runs the 64 attackers on a thread of their own for `runMs` while the normal client asks
// again and again; fills `attackers` with what became of each.
LoadFigures runLoad(
    const ServiceProcess &service, bool tls, QList<Attacker> &attackers, qint64 runMs)
{
    const char *sources[] = { "127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5" };
    const Kind kinds[] = { Kind::Idle, Kind::HeadersThenSilence, Kind::TrickleHeaders,
        Kind::TrickleBody, Kind::HugeLength, Kind::EndlessChunks };
    for (int i = 0; i < 64; ++i) {
        Attacker attacker;
        attacker.kind = tls ? Kind::Idle : kinds[i % std::size(kinds)];
        attacker.socket = connectFrom(sources[i / 16], service.port());
        attackers.append(attacker);
    }
    QElapsedTimer clock;
    clock.start();
    std::atomic<bool> done = false;
    std::thread driver([&] {
        for (Attacker &attacker : attackers)
            start(attacker);
        while (!done) {
            for (Attacker &attacker : attackers) {
                if (attacker.socket < 0 || attacker.closedAfterMs >= 0)
                    continue;
                char buffer[4096];
                const ssize_t got = ::recv(attacker.socket, buffer, sizeof buffer, 0);
                if (got > 0 && attacker.reply.size() < 4096)
                    attacker.reply.append(buffer, got);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
                    attacker.closedAfterMs = clock.elapsed();
                    continue;
                }
                step(attacker, clock.elapsed());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });

    LoadFigures figures;
    OnlineService site;
    site.site = service.site(tls);
    const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 5, 5 });
    OnlineClient client(*transport, site);
    client.setCredentials(QStringLiteral("ann"), QStringLiteral("secret"));
    // Give the attackers a moment to be in place first.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int overCap = connectFrom(sources[0], service.port());
    figures.overCapClosedAfterMs = closedWithin(overCap, 1000);
    ::close(overCap);
    while (clock.elapsed() < runMs) {
        QElapsedTimer one;
        one.start();
        QList<RemoteImage> images;
        ListResult result = ListResult::Empty;
        const bool ok = client.lookupServer().ok() && client.listImages(images, result).ok()
            && result == ListResult::Listed;
        figures.slowestRequestMs = std::max(figures.slowestRequestMs, one.elapsed());
        ++figures.requests;
        if (!ok)
            ++figures.failures;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    done = true;
    driver.join();
    for (Attacker &attacker : attackers)
        if (attacker.socket >= 0)
            ::close(attacker.socket);
    return figures;
}

} // namespace

TEST(OnlineLoad, SlowAndEndlessClientsDoNotHoldOthersUp)
{
    QString cert, key;
    const bool haveCert
        = ServiceProcess::makeCertificate(makeTestFolder(QStringLiteral("tls")), cert, key);
    for (const bool tls : { false, true }) {
        SCOPED_TRACE(tls ? "https" : "http");
        if (tls && !haveCert)
            continue;
        const QString root = makeTestFolder(QStringLiteral("service"));
        ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret")));
        const ServiceProcess service(root,
            tls ? QStringList { QStringLiteral("--tls-cert"), cert, QStringLiteral("--tls-key"),
                key }
                : QStringList {});
        ASSERT_TRUE(service.started());
        if (tls)
            qputenv("GLIMMERIX_CA_FILE", cert.toLocal8Bit());
        const auto resetCa = qScopeGuard([] { qunsetenv("GLIMMERIX_CA_FILE"); });

        QList<Attacker> attackers;
        const LoadFigures figures = runLoad(service, tls, attackers, 8000);
        std::cout << (tls ? "https" : "http") << ": " << figures.requests
                  << " normal requests, slowest " << figures.slowestRequestMs << " ms, "
                  << figures.failures << " failed\n";
        EXPECT_EQ(figures.failures, 0);
        EXPECT_LT(figures.slowestRequestMs, 1000);
        EXPECT_GE(figures.requests, 20);
        std::cout << "  a 17th connection from one address: closed after "
                  << figures.overCapClosedAfterMs << " ms\n";
        EXPECT_GE(figures.overCapClosedAfterMs, 0);
        EXPECT_LT(figures.overCapClosedAfterMs, 500);

        std::map<Kind, qint64> latestClose;
        std::map<Kind, qint64> mostSent;
        for (const Attacker &attacker : attackers) {
            ASSERT_GE(attacker.socket, 0) << "could not connect from another loopback address";
            SCOPED_TRACE(kindName(attacker.kind));
            // Every slow or endless connection is closed by the service within its deadline.
            EXPECT_GE(attacker.closedAfterMs, 0);
            latestClose[attacker.kind] = std::max(latestClose[attacker.kind],
                attacker.closedAfterMs < 0 ? 99999 : attacker.closedAfterMs);
            mostSent[attacker.kind] = std::max(mostSent[attacker.kind], attacker.sent);
            // Bodies too long or of no stated length are refused from their headers.
            const QByteArray status = attacker.kind == Kind::HugeLength ? "HTTP/1.1 413"
                : attacker.kind == Kind::EndlessChunks                  ? "HTTP/1.1 411"
                                                                        : "";
            EXPECT_TRUE(attacker.reply.startsWith(status)) << attacker.reply.left(40).constData();
        }
        for (const auto &[kind, closed] : latestClose) {
            std::cout << "  " << kindName(kind) << ": closed after at most " << closed
                      << " ms, sent at most " << mostSent[kind] << " bytes\n";
            EXPECT_LT(closed, 7500) << kindName(kind);
        }
    }
}
