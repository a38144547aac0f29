#include "onlineclient.h"

#include "imaging/mediafile.h"
#include "platform/savefilecommit.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>

namespace glimmerix
{

namespace
{

constexpr const char *kListLookupPath = "/servlet/com.api.GetServer";

// The site setting as a URL: a bare host or host:port is taken as http.
QUrl siteBase(const QString &site)
{
    const QString text = site.trimmed();
    QUrl url(text.contains(QLatin1String("://")) ? text : QStringLiteral("http://") + text,
        QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return url;
}

QString statusDetail(const HttpResult &result)
{
    if (result.status == HttpStatus::Ok)
        return QStringLiteral("the service answered %1").arg(result.code);
    return result.detail;
}

// Passes a reply on and keeps its first bytes, which tell whether it is a picture.
class HeadKeepingSink final : public ReplySink
{
public:
    explicit HeadKeepingSink(ReplySink &next)
        : m_next(next)
    {
    }
    bool write(const char *data, qint64 size) override
    {
        if (m_head.size() < kMediaHeadBytes)
            m_head.append(data, std::min<qint64>(size, kMediaHeadBytes - m_head.size()));
        return m_next.write(data, size);
    }
    bool isPicture() const
    {
        // Named without an extension, so the bytes alone decide.
        const auto *bytes = reinterpret_cast<const unsigned char *>(m_head.constData());
        return identifyMediaBytes(QStringLiteral("reply"), std::span(bytes, size_t(m_head.size())))
            .isPicture();
    }

private:
    ReplySink &m_next;
    QByteArray m_head;
};

} // namespace

OnlineClient::OnlineClient(HttpTransport &transport, const OnlineService &service)
    : m_transport(transport)
    , m_service(service)
{
}

void OnlineClient::setCredentials(const QString &userName, const QString &password)
{
    m_userName = userName;
    m_password = password;
}

bool OnlineClient::siteUsable() const
{
    return siteBase(m_service.site).isValid();
}

QByteArray OnlineClient::siteUrl(const QString &path) const
{
    QUrl url = siteBase(m_service.site);
    return url.toEncoded(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment
               | QUrl::StripTrailingSlash)
        + QUrl::toPercentEncoding(path, "/.-_~");
}

QByteArray OnlineClient::serverUrl(const QByteArray &pathAndQuery) const
{
    const QUrl site = siteBase(m_service.site);
    QUrl server = m_server.contains(QLatin1String("://"))
        ? QUrl(m_server, QUrl::StrictMode)
        : QUrl(site.scheme() + QStringLiteral("://") + m_server, QUrl::StrictMode);
    return server.toEncoded(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment
               | QUrl::StripTrailingSlash)
        + pathAndQuery;
}

QByteArray OnlineClient::credentialsQuery() const
{
    return "username=" + encodeQueryValue(m_userName) + "&password=" + encodeQueryValue(m_password);
}

OnlineOutcome OnlineClient::failure(const HttpResult &result) const
{
    switch (result.status) {
    case HttpStatus::Cancelled:
        return { OnlineStatus::Cancelled, result.detail };
    case HttpStatus::WriteFailed:
        return { OnlineStatus::FileFailed, result.detail };
    case HttpStatus::TooLarge:
        return { OnlineStatus::TooLarge, QStringLiteral("the reply was too long") };
    case HttpStatus::RedirectRefused:
        return { OnlineStatus::Redirected,
            QStringLiteral("the service sent the request on to an address that is not safe") };
    case HttpStatus::Ok:
    case HttpStatus::ConnectFailed:
    case HttpStatus::TimedOut:
    case HttpStatus::Refused:
        break;
    }
    return { OnlineStatus::NetworkFailed, statusDetail(result) };
}

OnlineOutcome OnlineClient::lookupServer(const QString &path)
{
    m_server.clear();
    if (!siteUsable())
        return { OnlineStatus::NetworkFailed, QStringLiteral("the site is not a usable address") };
    HttpRequest request;
    request.url = siteUrl(path.isEmpty() ? QString::fromLatin1(kListLookupPath) : path);
    request.maxReplyBytes = kMaxLookupReplyBytes;
    MemorySink sink;
    const HttpResult result = m_transport.send(request, sink);
    if (!result.ok())
        return failure(result);
    const QString server = serverFromLookup(sink.data()).trimmed();
    // The server must be a host (with port) or an http(s) URL; anything else is no server.
    // A site reached over https never sends the password on over plain http.
    const QUrl site = siteBase(m_service.site);
    const QUrl named = server.contains(QLatin1String("://"))
        ? QUrl(server, QUrl::StrictMode)
        : QUrl(site.scheme() + QStringLiteral("://") + server, QUrl::StrictMode);
    const QString scheme = named.scheme().toLower();
    const bool downgrade
        = site.scheme().toLower() == QLatin1String("https") && scheme != QLatin1String("https");
    if (server.isEmpty() || !named.isValid() || named.host().isEmpty() || downgrade
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || !named.path().isEmpty())
        return { OnlineStatus::Unavailable, {} };
    m_server = server;
    return {};
}

OnlineOutcome OnlineClient::listImages(QList<RemoteImage> &images, ListResult &result)
{
    images.clear();
    HttpRequest request;
    request.url = serverUrl("/servlet/com.api.ImageList?" + credentialsQuery());
    request.maxReplyBytes = kMaxListReplyBytes;
    MemorySink sink;
    const HttpResult reply = m_transport.send(request, sink);
    if (reply.status == HttpStatus::Ok && (reply.code == 401 || reply.code == 403)) {
        result = ListResult::Empty;
        return {};
    }
    if (!reply.ok())
        return failure(reply);
    result = parseImageList(sink.data(), images);
    return {};
}

OnlineOutcome OnlineClient::fetchPreview(int id, QImage &preview)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return { OnlineStatus::FileFailed, folder.errorString() };
    QFile file(folder.filePath(QStringLiteral("preview.jpg")));
    if (!file.open(QIODevice::WriteOnly))
        return { OnlineStatus::FileFailed, file.errorString() };
    HttpRequest request;
    request.url = serverUrl("/servlet/com.api.GetImage?" + credentialsQuery()
        + "&imageid=" + QByteArray::number(id) + "&type=s");
    request.maxReplyBytes = kMaxPictureBytes;
    FileSink sink(file);
    const HttpResult reply = m_transport.send(request, sink);
    if (!reply.ok())
        return failure(reply);
    if (!file.flush())
        return { OnlineStatus::FileFailed, file.errorString() };
    file.close();
    if (!preview.load(file.fileName()))
        return { OnlineStatus::NotPicture, QStringLiteral("the preview is not a picture") };
    return {};
}

OnlineOutcome OnlineClient::downloadPicture(
    int id, const QString &path, const std::atomic<bool> *cancel)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return { OnlineStatus::FileFailed, file.errorString() };
    HttpRequest request;
    request.url = serverUrl(
        "/servlet/com.api.GetImage?" + credentialsQuery() + "&imageid=" + QByteArray::number(id));
    request.maxReplyBytes = kMaxPictureBytes;
    request.cancel = cancel;
    FileSink fileSink(file);
    HeadKeepingSink sink(fileSink);
    const HttpResult reply = m_transport.send(request, sink);
    if (!reply.ok()) {
        file.cancelWriting();
        return failure(reply);
    }
    if (!sink.isPicture()) {
        file.cancelWriting();
        return { OnlineStatus::NotPicture, QStringLiteral("the reply is not a picture") };
    }
    if (!commitSaveFile(file))
        return { OnlineStatus::FileFailed, file.errorString() };
    return {};
}

OnlineOutcome OnlineClient::uploadPicture(
    const UploadForm &form, const QString &file, std::optional<int> &replyCode)
{
    replyCode.reset();
    QFile picture(file);
    if (!picture.open(QIODevice::ReadOnly))
        return { OnlineStatus::FileFailed, picture.errorString() };
    if (picture.size() > kMaxUploadBytes)
        return { OnlineStatus::FileFailed, QStringLiteral("the picture is too large") };
    UploadForm sent = form;
    sent.userName = m_userName;
    sent.password = m_password;
    HttpRequest request;
    request.method = "POST";
    request.url = serverUrl("/servlet/upload?" + credentialsQuery());
    request.headers.append({ "Content-Type", uploadContentType() });
    request.maxReplyBytes = kMaxUploadReplyBytes;
    request.body = uploadBodyHead(sent);
    // The picture is read straight into the body, so it is held in memory once.
    const qsizetype head = request.body.size();
    const qint64 size = picture.size();
    request.body.resize(head + size);
    if (picture.read(request.body.data() + head, size) != size)
        return { OnlineStatus::FileFailed, picture.errorString() };
    request.body += uploadBodyTail();
    MemorySink sink;
    const HttpResult reply = m_transport.send(request, sink);
    if (reply.status != HttpStatus::Ok)
        return failure(reply);
    replyCode = uploadReplyCode(sink.data());
    return {};
}

} // namespace glimmerix
