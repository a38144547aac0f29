#pragma once

#include "httptransport.h"
#include "onlineprotocol.h"
#include "uploadbody.h"

#include "core/settingssections.h"

#include <QImage>
#include <QString>

#include <atomic>

namespace glimmerix
{

// How a request to the online photo service ended, before it becomes a message.
enum class OnlineStatus {
    Ok,
    Unavailable, // the server lookup gave no server
    NetworkFailed, // the service could not be reached, or answered with an error
    Redirected, // a redirect to plain http, or to another host with the credentials: refused
    TooLarge, // the reply was longer than the request accepts
    NotPicture, // a picture was asked for and what came is none
    FileFailed, // a local file could not be written or read
    Cancelled,
};

struct OnlineOutcome {
    OnlineStatus status = OnlineStatus::Ok;
    QString detail; // for the user; never holds the password
    bool ok() const { return status == OnlineStatus::Ok; }
};

// Largest replies the client accepts: a server lookup, an upload reply, an image list, a
// picture. A longer reply ends the request with TooLarge instead of filling memory or disk.
inline constexpr qint64 kMaxLookupReplyBytes = 10239;
inline constexpr qint64 kMaxUploadReplyBytes = 10239;
inline constexpr qint64 kMaxListReplyBytes = 8 << 20;
inline constexpr qint64 kMaxPictureBytes = 256 << 20;

// The client side of the online photo service: server lookup, image list, preview, download and
// upload, over an HttpTransport. The site setting may be a bare host ("photos.example"), a host
// and port, or a URL with scheme and port ("https://host:8443"); the image server the lookup
// names is reached with the site's scheme unless the lookup gives one of its own (a lookup may
// not turn https into http). User name and password go into the query percent-encoded.
class OnlineClient
{
public:
    OnlineClient(HttpTransport &transport, const OnlineService &service);

    void setCredentials(const QString &userName, const QString &password);
    const QString &userName() const { return m_userName; }

    // True when the site setting makes a usable address (the "connection object" of the site).
    bool siteUsable() const;
    // Asks the site for the image server (lookup path `path`, the listing's fixed one when
    // empty) and keeps it for the requests that follow.
    OnlineOutcome lookupServer(const QString &path = {});
    const QString &server() const { return m_server; }

    // The user's pictures. An answer of 401 or 403 counts as an empty reply: the login was
    // refused.
    OnlineOutcome listImages(QList<RemoteImage> &images, ListResult &result);
    // The small picture of `id`, fetched into a private temporary file and loaded from there.
    OnlineOutcome fetchPreview(int id, QImage &preview);
    // Stores picture `id` at `path`: the bytes arrive in a temporary file beside it that
    // replaces `path` only when the whole picture arrived and its first bytes are those of a
    // picture, so a failed, cancelled or foreign download leaves nothing in the folder.
    OnlineOutcome downloadPicture(
        int id, const QString &path, const std::atomic<bool> *cancel = nullptr);
    // Sends `file` (at most kMaxUploadBytes; the caller checks) with the texts of `form` and
    // the client's credentials; `replyCode` is the service's code, unset when the reply held
    // none.
    OnlineOutcome uploadPicture(
        const UploadForm &form, const QString &file, std::optional<int> &replyCode);

private:
    QByteArray siteUrl(const QString &path) const;
    QByteArray serverUrl(const QByteArray &pathAndQuery) const;
    QByteArray credentialsQuery() const;
    OnlineOutcome failure(const HttpResult &result) const;

    HttpTransport &m_transport;
    OnlineService m_service;
    QString m_userName;
    QString m_password;
    QString m_server;
};

} // namespace glimmerix
