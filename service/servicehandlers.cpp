#include "servicehandlers.h"

#include "loginlimiter.h"
#include "picturestore.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>

#include <httplib.h>

#include <cstdio>
#include <memory>

namespace
{

constexpr const char *kReplyMarker = "ORVANTAMESSAGE:";
// Upload reply codes.
constexpr int kReplyStored = 0;
constexpr int kReplyNotStored = 1;
constexpr int kReplyFull = 2;
constexpr int kReplyLoginRefused = 4;
// The longest text of a form part the service keeps.
constexpr qsizetype kMaxTextBytes = 1024;

QString param(const httplib::Request &request, const char *name)
{
    return QString::fromStdString(request.get_param_value(name));
}

enum class Login { Accepted, Refused, TooSoon };

// Checks the request's user name and password. A name or address with too many failed logins
// waits first: the answer is 429 with the seconds to wait in Retry-After, and the password is
// not even checked. Every failure is logged, with the name and address but never the password.
Login login(PictureStore &store, LoginLimiter &limiter, const httplib::Request &request,
    httplib::Response &response)
{
    const QString user = param(request, "username");
    const QString peer = QString::fromStdString(request.remote_addr);
    const int wait = limiter.secondsToWait(user, peer);
    if (wait > 0) {
        response.status = 429;
        response.set_header("Retry-After", std::to_string(wait));
        return Login::TooSoon;
    }
    if (store.checkPassword(user, param(request, "password"))) {
        limiter.succeeded(user);
        return Login::Accepted;
    }
    const int failures = limiter.failed(user, peer);
    // A name that is no user name may hold anything: it is not written out.
    const QString named
        = PictureStore::validUserName(user) ? user : QStringLiteral("(not a user name)");
    std::fprintf(stderr, "glimix-service: login failed: user %s from %s (%d in a row)\n",
        qPrintable(named), qPrintable(peer), failures);
    return Login::Refused;
}

// Whether `host` (with or without a port) names this machine's loopback interface.
bool isLoopbackHost(const std::string &host)
{
    QString name = QString::fromStdString(host);
    if (name.startsWith(QLatin1Char('['))) {
        name = name.mid(1, name.indexOf(QLatin1Char(']')) - 1);
    } else if (name.count(QLatin1Char(':')) == 1) {
        name = name.section(QLatin1Char(':'), 0, 0);
    }
    name = name.toLower();
    return name == QLatin1String("localhost") || name == QLatin1String("::1")
        || (name.startsWith(QLatin1String("127.")) && name.count(QLatin1Char('.')) == 3);
}

QByteArray listValue(const QString &value)
{
    QString text = value;
    text.replace(QLatin1Char('<'), QChar(0xFF1C));
    text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text.toUtf8();
}

void reply(httplib::Response &response, int code)
{
    const std::string body = std::string(kReplyMarker) + std::to_string(code) + "\r\n";
    response.set_content(body, "text/plain");
}

QString formText(const httplib::Request &request, const char *name)
{
    if (!request.has_file(name))
        return {};
    return QString::fromUtf8(
        QByteArray::fromStdString(request.get_file_value(name).content).left(kMaxTextBytes));
}

void sendPicture(const QString &path, httplib::Response &response)
{
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        response.status = 404;
        return;
    }
    const size_t size = size_t(file->size());
    // Streamed from the file in pieces, so a large picture is never held whole.
    response.set_content_provider(
        size, "image/jpeg", [file](size_t offset, size_t length, httplib::DataSink &sink) {
            char buffer[64 * 1024];
            if (!file->seek(qint64(offset)))
                return false;
            const qint64 read = file->read(buffer, qint64(std::min(length, sizeof buffer)));
            if (read <= 0)
                return false;
            sink.write(buffer, size_t(read));
            return true;
        });
}

} // namespace

QByteArray imageListText(const QList<StoredPicture> &pictures)
{
    QByteArray text = "count=" + QByteArray::number(pictures.size()) + "<br>\n";
    text += "fields=4<br>\n";
    for (const StoredPicture &picture : pictures) {
        text += "id=" + QByteArray::number(picture.id) + "<br>\n";
        text += "filename=" + listValue(picture.filename) + "<br>\n";
        text += "caption=" + listValue(picture.caption) + "<br>\n";
        text += "keyword=" + listValue(picture.keyword) + "<br>\n";
        text += "descrip=" + listValue(picture.descrip) + "<br>\n";
    }
    return text;
}

void installHandlers(httplib::Server &server, PictureStore &store, const QByteArray &publicHost)
{
    const auto limiter = std::make_shared<LoginLimiter>();
    // The lookup names the configured public host. Without one (a service on loopback only) it
    // names the host the request was sent to, when that is this machine's loopback: a Host
    // header naming any other machine is never echoed, since a shared cache could hand that
    // answer to others and send them, with their passwords, to that machine.
    server.Get("/servlet/com.api.GetServer",
        [publicHost](const httplib::Request &request, httplib::Response &response) {
            std::string host = publicHost.toStdString();
            if (host.empty()) {
                host = request.get_header_value("Host");
                if (!isLoopbackHost(host)) {
                    response.status = 421;
                    return;
                }
            }
            response.set_content(host + "\r\n", "text/plain");
        });

    server.Get("/servlet/com.api.ImageList",
        [&store, limiter](const httplib::Request &request, httplib::Response &response) {
            const Login result = login(store, *limiter, request, response);
            if (result != Login::Accepted) {
                if (result == Login::Refused)
                    response.status = 403;
                return;
            }
            const QByteArray text = imageListText(store.pictures(param(request, "username")));
            response.set_content(text.toStdString(), "text/html");
        });

    server.Get("/servlet/com.api.GetImage",
        [&store, limiter](const httplib::Request &request, httplib::Response &response) {
            const Login result = login(store, *limiter, request, response);
            if (result != Login::Accepted) {
                if (result == Login::Refused)
                    response.status = 403;
                return;
            }
            bool ok = false;
            const int id = param(request, "imageid").toInt(&ok);
            const QString path = ok ? store.pictureFile(param(request, "username"), id,
                                     param(request, "type") == QLatin1String("s"))
                                    : QString();
            if (path.isEmpty()) {
                response.status = 404;
                return;
            }
            sendPicture(path, response);
        });

    server.Post("/servlet/upload",
        [&store, limiter](const httplib::Request &request, httplib::Response &response) {
            // Too soon after failed logins the reply is the protocol's refused login, sent
            // with 429 and Retry-After.
            if (login(store, *limiter, request, response) != Login::Accepted) {
                reply(response, kReplyLoginRefused);
                return;
            }
            if (!request.has_file("upload")) {
                reply(response, kReplyNotStored);
                return;
            }
            const httplib::MultipartFormData &upload = request.get_file_value("upload");
            // The client sends its own path: only the last component is kept.
            QString name = QString::fromStdString(upload.filename);
            name = name.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
            if (name.isEmpty())
                name = QStringLiteral("picture.jpg");
            StoredPicture texts;
            texts.filename = name.left(255);
            texts.caption = formText(request, "Caption");
            texts.descrip = formText(request, "Description");
            texts.keyword = formText(request, "Keyword");
            const StoreResult result = store.addPicture(
                param(request, "username"), texts, QByteArray::fromStdString(upload.content));
            switch (result) {
            case StoreResult::Stored:
                reply(response, kReplyStored);
                return;
            case StoreResult::Full:
                reply(response, kReplyFull);
                return;
            case StoreResult::Failed:
                reply(response, kReplyNotStored);
                return;
            }
        });
}
