#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <atomic>
#include <memory>

class QIODevice;

namespace glimmerix
{

// How one HTTP exchange ended.
enum class HttpStatus {
    Ok, // a reply arrived (any HTTP code; see HttpResult::code)
    ConnectFailed, // the host could not be resolved or reached
    TimedOut, // no connection within the connect timeout, or no byte within the stall timeout
    TooLarge, // the reply was longer than the request allows
    Refused, // TLS failure, too many redirects, a malformed reply
    RedirectRefused, // a redirect from https to http, or to another host with the credentials
    WriteFailed, // the reply could not be stored
    Cancelled,
};

struct HttpResult {
    HttpStatus status = HttpStatus::Ok;
    int code = 0; // the HTTP status code when a reply arrived
    QString detail; // what went wrong, for the user (never holds the request's query)

    bool ok() const { return status == HttpStatus::Ok && code >= 200 && code < 300; }
};

// Where a reply's body goes. write() returns false to stop the transfer (a failed write).
class ReplySink
{
public:
    virtual ~ReplySink() = default;
    virtual bool write(const char *data, qint64 size) = 0;
};

// Keeps the body in memory.
class MemorySink final : public ReplySink
{
public:
    bool write(const char *data, qint64 size) override;
    const QByteArray &data() const { return m_data; }

private:
    QByteArray m_data;
};

// Writes the body to an open file (a QFile or a QSaveFile) as it arrives.
class FileSink final : public ReplySink
{
public:
    explicit FileSink(QIODevice &file)
        : m_file(file)
    {
    }
    bool write(const char *data, qint64 size) override;

private:
    QIODevice &m_file;
};

struct HttpRequest {
    QByteArray method = "GET";
    QByteArray url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body; // sent as is with POST
    qint64 maxReplyBytes = 1 << 20; // a longer reply ends the exchange with TooLarge
    const std::atomic<bool> *cancel = nullptr; // checked while the exchange runs
};

// One way to make HTTP requests. The program's transport is libcurl (curlTransport()); tests
// may put a fake in its place. A transport is used by one thread at a time.
class HttpTransport
{
public:
    virtual ~HttpTransport() = default;
    virtual HttpResult send(const HttpRequest &request, ReplySink &sink) = 0;
};

// Timeouts of the libcurl transport, in seconds.
struct TransportTimeouts {
    int connectSeconds = 15;
    int stallSeconds = 30; // a reply with no byte for this long is given up
};

// A new libcurl transport: the program's user agent, the proxy from the environment
// (http_proxy, https_proxy, no_proxy), connection reuse between its requests, certificate checks
// for https (extra trusted certificates from the file GLIMMERIX_CA_FILE names), at most five
// redirects, only http and https. A redirect never leads from https to http, nor to another
// host or port when the URL has a query (the credentials travel there): the exchange ends with
// RedirectRefused before anything is sent to that address.
std::unique_ptr<HttpTransport> makeCurlTransport(const TransportTimeouts &timeouts = {});

} // namespace glimmerix
