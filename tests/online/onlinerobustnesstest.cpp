#include "serviceprocess.h"

#include "online/onlineclient.h"

#include "support/testenvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QScopeGuard>

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

using namespace glimmerix;

namespace
{

// A server on a free loopback port that answers every request through `behave`, which gets the
// connected socket and the stop flag. It runs until destroyed.
class MisbehavingServer
{
public:
    using Behaviour = std::function<void(int socket, const std::atomic<bool> &stop)>;

    explicit MisbehavingServer(Behaviour behave)
        : m_behave(std::move(behave))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::listen(m_listener, 16) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~MisbehavingServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listener);
    }
    MisbehavingServer(const MisbehavingServer &) = delete;
    MisbehavingServer &operator=(const MisbehavingServer &) = delete;

    QString site() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // How many bytes of requests arrived so far.
    qint64 bytesReceived() const { return m_bytes; }

private:
    void serve()
    {
        while (!m_stop) {
            pollfd wait { m_listener, POLLIN, 0 };
            if (::poll(&wait, 1, 50) <= 0)
                continue;
            const int connection = ::accept(m_listener, nullptr, nullptr);
            if (connection < 0)
                continue;
            // The request is read up to its empty line, then the behaviour answers.
            QByteArray request;
            char buffer[4096];
            while (!request.contains("\r\n\r\n")) {
                const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
                if (got <= 0)
                    break;
                request.append(buffer, got);
            }
            m_bytes += request.size();
            m_behave(connection, m_stop);
            ::close(connection);
        }
    }

    Behaviour m_behave;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_bytes = 0;
    std::thread m_thread;
};

void sendText(int socket, const QByteArray &text)
{
    ::send(socket, text.constData(), size_t(text.size()), MSG_NOSIGNAL);
}

// Holds the connection open without a byte until the test ends.
void stall(const std::atomic<bool> &stop)
{
    while (!stop)
        ::poll(nullptr, 0, 20);
}

} // namespace

TEST(OnlineRobustness, MisbehavingServers)
{
    const struct {
        const char *name;
        MisbehavingServer::Behaviour behave;
    } rows[] = {
        { "stalls before answering", [](int, const std::atomic<bool> &stop) { stall(stop); } },
        { "stalls inside the body",
            [](int socket, const std::atomic<bool> &stop) {
                sendText(socket, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n127.0");
                stall(stop);
            } },
        { "truncates",
            [](int socket, const std::atomic<bool> &) {
                sendText(socket, "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n127.0.0.1\r\n");
            } },
        { "answers garbage",
            [](int socket, const std::atomic<bool> &) {
                sendText(socket, QByteArray("\x01\x02 not http at all\r\n\r\n", 22));
            } },
        { "redirects in a loop",
            [](int socket, const std::atomic<bool> &) {
                sendText(
                    socket, "HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n");
            } },
        { "sends 100 MB",
            [](int socket, const std::atomic<bool> &stop) {
                sendText(socket, "HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n");
                const QByteArray chunk(64 * 1024, 'a');
                for (int sent = 0; sent < 1600 && !stop; ++sent) {
                    if (::send(socket, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL) < 0)
                        break;
                }
            } },
    };
    for (const auto &row : rows) {
        MisbehavingServer server(row.behave);
        OnlineService service;
        service.site = server.site();
        const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 2, 2 });
        OnlineClient client(*transport, service);
        client.setCredentials(QStringLiteral("ann"), QStringLiteral("secret"));
        QElapsedTimer clock;
        clock.start();
        const OnlineOutcome lookup = client.lookupServer();
        EXPECT_FALSE(lookup.ok()) << row.name;
        EXPECT_FALSE(lookup.detail.contains(QLatin1String("secret"))) << row.name;
        EXPECT_LT(clock.elapsed(), 15000) << row.name;
    }
}

TEST(OnlineRobustness, MisbehavingPictureLeavesNoFile)
{
    // The lookup answers properly; the picture then stalls halfway or is cut short.
    for (const bool truncate : { false, true }) {
        MisbehavingServer *self = nullptr;
        int requests = 0;
        MisbehavingServer server([&](int socket, const std::atomic<bool> &stop) {
            if (requests++ == 0) {
                const QByteArray host = self->site().toUtf8();
                sendText(socket,
                    "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(host.size() + 2)
                        + "\r\nConnection: close\r\n\r\n" + host + "\r\n");
                return;
            }
            sendText(socket, "HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n\xFF\xD8partial");
            if (!truncate)
                stall(stop);
        });
        self = &server;
        OnlineService service;
        service.site = server.site();
        const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 2, 2 });
        OnlineClient client(*transport, service);
        ASSERT_TRUE(client.lookupServer().ok());
        const QString folder = makeTestFolder();
        const QString target = QDir(folder).filePath(QStringLiteral("1_a.jpg"));
        EXPECT_EQ(client.downloadPicture(1, target).status, OnlineStatus::NetworkFailed);
        EXPECT_TRUE(QDir(folder).isEmpty()) << "truncate " << truncate;
    }
}

// An https site whose requests are sent on elsewhere: to plain http, or with the password to
// another host. The client refuses before anything reaches that address; a redirect on the
// site's own host is followed as before.
TEST(OnlineRobustness, RedirectsNeverLeakTheRequest)
{
    QString cert, key;
    if (!ServiceProcess::makeCertificate(makeTestFolder(QStringLiteral("tls")), cert, key))
        GTEST_SKIP() << "no openssl program to make a test certificate";
    qputenv("GLIMMERIX_CA_FILE", cert.toLocal8Bit());
    const auto resetCa = qScopeGuard([] { qunsetenv("GLIMMERIX_CA_FILE"); });

    // The plain target counts bytes; the https one on another host name counts requests.
    MisbehavingServer plain([](int, const std::atomic<bool> &) {});
    httplib::SSLServer other(cert.toLocal8Bit().constData(), key.toLocal8Bit().constData());
    std::atomic<int> otherRequests = 0;
    other.set_pre_routing_handler([&](const httplib::Request &, httplib::Response &response) {
        ++otherRequests;
        response.set_content("127.0.0.1\r\n", "text/plain");
        return httplib::Server::HandlerResponse::Handled;
    });
    const int otherPort = other.bind_to_any_port("127.0.0.1");
    std::thread otherThread([&] { other.listen_after_bind(); });

    httplib::SSLServer site(cert.toLocal8Bit().constData(), key.toLocal8Bit().constData());
    std::string location;
    std::atomic<int> sitePort = 0;
    site.Get("/servlet/com.api.GetServer", [&](const httplib::Request &, httplib::Response &r) {
        r.set_content("127.0.0.1:" + std::to_string(sitePort) + "\r\n", "text/plain");
    });
    const auto redirect
        = [&](const httplib::Request &, httplib::Response &r) { r.set_redirect(location); };
    site.Get("/lookup", redirect);
    site.Get("/servlet/com.api.ImageList", redirect);
    site.Get("/here", [&](const httplib::Request &, httplib::Response &r) {
        r.set_content("count=0<br>\nfields=4<br>\n", "text/html");
    });
    sitePort = site.bind_to_any_port("127.0.0.1");
    std::thread siteThread([&] { site.listen_after_bind(); });
    const auto stop = qScopeGuard([&] {
        site.stop();
        other.stop();
        siteThread.join();
        otherThread.join();
    });
    ASSERT_GT(sitePort, 0);
    ASSERT_GT(otherPort, 0);

    // The list request carries the password in its query; the lookup carries none.
    const std::string query = "?username=ann&password=secret";
    const std::string plainUrl = "http://" + plain.site().toStdString();
    const std::string otherHost = "https://localhost:" + std::to_string(otherPort);
    const std::string otherPortUrl = "https://127.0.0.1:" + std::to_string(otherPort);
    const struct {
        std::string location;
        bool list;
        bool followed;
    } rows[] = {
        { plainUrl + "/lookup", false, false },
        { plainUrl + "/servlet/com.api.ImageList" + query, true, false },
        { otherHost + "/servlet/com.api.ImageList" + query, true, false },
        { otherPortUrl + "/servlet/com.api.ImageList" + query, true, false },
        { otherHost + "/servlet/com.api.ImageList", true, false },
        { "/here" + query, true, true },
        { otherHost + "/lookup", false, true },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.location);
        location = row.location;
        OnlineService service;
        service.site = QStringLiteral("https://127.0.0.1:%1").arg(sitePort);
        const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 5, 5 });
        OnlineClient client(*transport, service);
        client.setCredentials(QStringLiteral("ann"), QStringLiteral("secret"));
        const int before = otherRequests;
        OnlineOutcome outcome
            = client.lookupServer(row.list ? QString() : QStringLiteral("/lookup"));
        if (row.list) {
            ASSERT_TRUE(outcome.ok());
            QList<RemoteImage> images;
            ListResult result = ListResult::Empty;
            outcome = client.listImages(images, result);
        }
        if (row.followed) {
            EXPECT_TRUE(outcome.ok()) << outcome.detail.toStdString();
            continue;
        }
        EXPECT_EQ(outcome.status, OnlineStatus::Redirected);
        EXPECT_FALSE(outcome.detail.contains(QLatin1String("secret")));
        EXPECT_EQ(otherRequests, before);
    }
    EXPECT_EQ(plain.bytesReceived(), 0);
}

// A picture reply that never ends stops at the picture limit and says so; nothing stays behind.
TEST(OnlineRobustness, EndlessPictureIsNamedTooLarge)
{
    MisbehavingServer *self = nullptr;
    int requests = 0;
    MisbehavingServer server([&](int socket, const std::atomic<bool> &stop) {
        if (requests++ == 0) {
            const QByteArray host = self->site().toUtf8();
            sendText(socket,
                "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(host.size() + 2)
                    + "\r\nConnection: close\r\n\r\n" + host + "\r\n");
            return;
        }
        sendText(socket, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n\xFF\xD8\xFF");
        const QByteArray chunk(256 * 1024, 'a');
        while (!stop && ::send(socket, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL) > 0) {
        }
    });
    self = &server;
    OnlineService service;
    service.site = server.site();
    const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 2, 5 });
    OnlineClient client(*transport, service);
    ASSERT_TRUE(client.lookupServer().ok());
    const QString folder = makeTestFolder();
    EXPECT_EQ(client.downloadPicture(1, QDir(folder).filePath(QStringLiteral("1_a.jpg"))).status,
        OnlineStatus::TooLarge);
    EXPECT_TRUE(QDir(folder).isEmpty());
}

// A reply of exactly the longest length accepted is read; one byte more ends the request, with
// and without a stated length.
TEST(OnlineRobustness, ReplyLimitAtAndOnePastTheEdge)
{
    for (const bool stated : { false, true }) {
        for (const qint64 length : { kMaxLookupReplyBytes, kMaxLookupReplyBytes + 1 }) {
            SCOPED_TRACE(std::to_string(length) + (stated ? " stated" : " until closed"));
            QByteArray body = "127.0.0.1\r\n";
            body.append(QByteArray(length - body.size(), ' '));
            MisbehavingServer server([&](int socket, const std::atomic<bool> &) {
                sendText(socket,
                    "HTTP/1.1 200 OK\r\nConnection: close\r\n"
                        + (stated ? "Content-Length: " + QByteArray::number(length) + "\r\n"
                                  : QByteArray())
                        + "\r\n" + body);
            });
            OnlineService service;
            service.site = server.site();
            const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 2, 2 });
            OnlineClient client(*transport, service);
            const OnlineOutcome lookup = client.lookupServer();
            if (length == kMaxLookupReplyBytes)
                EXPECT_TRUE(lookup.ok()) << lookup.detail.toStdString();
            else
                EXPECT_EQ(lookup.status, OnlineStatus::TooLarge);
        }
    }
}
