#include "httptransport.h"

#include "core/appsettings.h"

#include <QIODevice>
#include <QUrl>

#include <curl/curl.h>

#include <mutex>

namespace glimmerix
{

bool MemorySink::write(const char *data, qint64 size)
{
    m_data.append(data, size);
    return true;
}

bool FileSink::write(const char *data, qint64 size)
{
    return m_file.write(data, size) == size;
}

namespace
{

struct Exchange {
    CURL *curl = nullptr;
    QUrl origin; // the URL asked for, before any redirect
    bool redirectRefused = false;
    ReplySink *sink = nullptr;
    qint64 received = 0;
    qint64 limit = 0;
    bool tooLarge = false;
    bool writeFailed = false;
    const std::atomic<bool> *cancel = nullptr;
};

size_t receiveBody(char *data, size_t size, size_t count, void *user)
{
    auto *exchange = static_cast<Exchange *>(user);
    const qint64 bytes = qint64(size * count);
    if (exchange->received + bytes > exchange->limit) {
        exchange->tooLarge = true;
        return 0;
    }
    if (!exchange->sink->write(data, bytes)) {
        exchange->writeFailed = true;
        return 0;
    }
    exchange->received += bytes;
    return size_t(bytes);
}

// Where a redirect may lead: never from https to plain http, and never to another host or port
// while the URL has a query, since the client carries the user's name and password there. Curl
// calls this once connected, before any byte of the request leaves.
int checkRedirect(void *user, char *, char *, int, int)
{
    auto *exchange = static_cast<Exchange *>(user);
    char *url = nullptr;
    if (curl_easy_getinfo(exchange->curl, CURLINFO_EFFECTIVE_URL, &url) != CURLE_OK || !url)
        return CURL_PREREQFUNC_OK;
    const QUrl target(QString::fromUtf8(url));
    const QUrl &origin = exchange->origin;
    const bool secure = origin.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    const bool downgrade
        = secure && target.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0;
    const int defaultPort = secure ? 443 : 80;
    const bool elsewhere = target.host().compare(origin.host(), Qt::CaseInsensitive) != 0
        || target.port(defaultPort) != origin.port(defaultPort)
        || target.scheme().compare(origin.scheme(), Qt::CaseInsensitive) != 0;
    if (downgrade || (elsewhere && origin.hasQuery())) {
        exchange->redirectRefused = true;
        return CURL_PREREQFUNC_ABORT;
    }
    return CURL_PREREQFUNC_OK;
}

int checkCancel(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto *exchange = static_cast<Exchange *>(user);
    return exchange->cancel && exchange->cancel->load() ? 1 : 0;
}

class CurlTransport final : public HttpTransport
{
public:
    explicit CurlTransport(const TransportTimeouts &timeouts)
        : m_timeouts(timeouts)
    {
        static std::once_flag once;
        std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        m_curl = curl_easy_init();
    }
    ~CurlTransport() override { curl_easy_cleanup(m_curl); }
    CurlTransport(const CurlTransport &) = delete;
    CurlTransport &operator=(const CurlTransport &) = delete;

    HttpResult send(const HttpRequest &request, ReplySink &sink) override;

private:
    TransportTimeouts m_timeouts;
    CURL *m_curl = nullptr;
};

HttpResult CurlTransport::send(const HttpRequest &request, ReplySink &sink)
{
    if (!m_curl)
        return { HttpStatus::Refused, 0, QStringLiteral("the HTTP library could not start") };
    // Reset keeps the connection cache, so requests to the same server reuse the connection.
    curl_easy_reset(m_curl);
    Exchange exchange;
    exchange.curl = m_curl;
    exchange.origin = QUrl(QString::fromUtf8(request.url));
    exchange.sink = &sink;
    exchange.limit = request.maxReplyBytes;
    exchange.cancel = request.cancel;
    char errorText[CURL_ERROR_SIZE] = {};

    static const QByteArray userAgent = QByteArray(kProductName) + "/" + kProductVersion;
    curl_easy_setopt(m_curl, CURLOPT_URL, request.url.constData());
    curl_easy_setopt(m_curl, CURLOPT_USERAGENT, userAgent.constData());
    curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // A site reached over https is never left for plain http, whatever a redirect says.
    const bool secure
        = exchange.origin.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    curl_easy_setopt(m_curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(m_curl, CURLOPT_PREREQFUNCTION, checkRedirect);
    curl_easy_setopt(m_curl, CURLOPT_PREREQDATA, &exchange);
    curl_easy_setopt(m_curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, long(m_timeouts.connectSeconds));
    curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, long(m_timeouts.stallSeconds));
    curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(request.maxReplyBytes));
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, checkCancel);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, &exchange);
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, errorText);
    const QByteArray caFile = qgetenv("GLIMMERIX_CA_FILE");
    if (!caFile.isEmpty())
        curl_easy_setopt(m_curl, CURLOPT_CAINFO, caFile.constData());

    curl_slist *headers = nullptr;
    for (const auto &[name, value] : request.headers)
        headers = curl_slist_append(headers, (name + ": " + value).constData());
    // An upload must not wait for a "100 Continue" the service may never send.
    headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, headers);
    if (request.method == "POST") {
        curl_easy_setopt(m_curl, CURLOPT_POST, 1L);
        curl_easy_setopt(m_curl, CURLOPT_POSTFIELDS, request.body.constData());
        curl_easy_setopt(m_curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body.size()));
    }

    const CURLcode code = curl_easy_perform(m_curl);
    curl_slist_free_all(headers);

    HttpResult result;
    long httpCode = 0;
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &httpCode);
    result.code = int(httpCode);
    if (code == CURLE_OK)
        return result;
    // The error buffer may name the URL, and with it the query and the password: the detail
    // comes from the error code alone.
    result.detail = QString::fromUtf8(curl_easy_strerror(code));
    long redirects = 0;
    curl_easy_getinfo(m_curl, CURLINFO_REDIRECT_COUNT, &redirects);
    // Curl refuses a redirect to a scheme it may not follow as an unsupported protocol.
    if (exchange.redirectRefused
        || (code == CURLE_UNSUPPORTED_PROTOCOL && (redirects > 0 || secure)))
        result.status = HttpStatus::RedirectRefused;
    else if (exchange.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        result.status = HttpStatus::TooLarge;
    else if (exchange.writeFailed)
        result.status = HttpStatus::WriteFailed;
    else if (code == CURLE_ABORTED_BY_CALLBACK)
        result.status = HttpStatus::Cancelled;
    else if (code == CURLE_OPERATION_TIMEDOUT)
        result.status = HttpStatus::TimedOut;
    else if (code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_CONNECT
        || code == CURLE_COULDNT_RESOLVE_PROXY)
        result.status = HttpStatus::ConnectFailed;
    else
        result.status = HttpStatus::Refused;
    return result;
}

} // namespace

std::unique_ptr<HttpTransport> makeCurlTransport(const TransportTimeouts &timeouts)
{
    return std::make_unique<CurlTransport>(timeouts);
}

} // namespace glimmerix
