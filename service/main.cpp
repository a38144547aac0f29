// glimix-service: a small photo service that answers the Glimmerix online client's requests, so
// that a user can host their own and the tests can run the client against a real service.
//
//   glimix-service --root DIR --listen HOST:PORT [--public-host HOST[:PORT]]
//                  [--tls-cert FILE --tls-key FILE]
//   glimix-service --root DIR --add-user NAME     (password from GLIMMERIX_PASSWORD or a prompt)
//
// With port 0 the system picks a free port. Once listening the service prints
// "listening on HOST:PORT" on standard output. --public-host is required when HOST is not this
// machine's loopback. Everything the service writes is readable by its own user only.

#include "connectiongate.h"
#include "passwordhash.h"
#include "picturestore.h"
#include "servicehandlers.h"

#include "platform/passwordprompt.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <httplib.h>

#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

namespace
{

httplib::Server *g_server = nullptr;

void stopOnSignal(int)
{
    if (g_server)
        g_server->stop();
}

int fail(const QString &text)
{
    std::fprintf(stderr, "glimix-service: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Pictures, texts and password hashes are the users' own: files 0600, folders 0700.
    ::umask(077);
    // A write beyond a file size limit fails as a write (the save is undone) instead of
    // ending the service.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glimix-service"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A photo service for the Glimmerix client."));
    parser.addHelpOption();
    const QCommandLineOption rootOption(QStringLiteral("root"),
        QStringLiteral("Folder of the users and their pictures."), QStringLiteral("DIR"));
    const QCommandLineOption listenOption(QStringLiteral("listen"),
        QStringLiteral("Address to serve on (port 0: any free port)."),
        QStringLiteral("HOST:PORT"));
    const QCommandLineOption certOption(QStringLiteral("tls-cert"),
        QStringLiteral("Serve https with this certificate (PEM)."), QStringLiteral("FILE"));
    const QCommandLineOption keyOption(QStringLiteral("tls-key"),
        QStringLiteral("The certificate's private key (PEM)."), QStringLiteral("FILE"));
    const QCommandLineOption addUserOption(QStringLiteral("add-user"),
        QStringLiteral("Add a user (or set their password) and exit."), QStringLiteral("NAME"));
    const QCommandLineOption publicHostOption(QStringLiteral("public-host"),
        QStringLiteral("Host the server lookup names; required when listening beyond loopback "
                       "(default: the request's Host when it is this machine's loopback)."),
        QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption quotaOption(QStringLiteral("quota-mb"),
        QStringLiteral("Storage of each user in MiB (default 1024)."), QStringLiteral("N"),
        QStringLiteral("1024"));
    parser.addOptions({ rootOption, listenOption, certOption, keyOption, addUserOption,
        publicHostOption, quotaOption });
    parser.process(app);

    if (!parser.isSet(rootOption))
        return fail(QStringLiteral("--root is required"));
    const QString root = QDir(parser.value(rootOption)).absolutePath();
    if (!QDir().mkpath(root))
        return fail(QStringLiteral("cannot make %1").arg(root));
    bool quotaOk = false;
    const qint64 quota = parser.value(quotaOption).toLongLong(&quotaOk) << 20;
    if (!quotaOk || quota < 0)
        return fail(QStringLiteral("--quota-mb needs a number"));
    PictureStore store(root, quota);

    if (parser.isSet(addUserOption)) {
        const QString name = parser.value(addUserOption);
        if (!PictureStore::validUserName(name))
            return fail(QStringLiteral("%1 is not a valid user name").arg(name));
        const QString password = glimmerix::readPassword();
        if (password.isEmpty())
            return fail(QStringLiteral("the password is empty"));
        if (!store.setPassword(name, password))
            return fail(QStringLiteral("cannot store the password of %1").arg(name));
        return 0;
    }

    if (!parser.isSet(listenOption))
        return fail(QStringLiteral("--listen HOST:PORT is required"));
    const QString listen = parser.value(listenOption);
    const qsizetype colon = listen.lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const int port = listen.mid(colon + 1).toInt(&portOk);
    QString host = listen.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    if (colon <= 0 || !portOk || port < 0 || port > 65535)
        return fail(QStringLiteral("--listen needs HOST:PORT"));
    const QString publicHost = parser.value(publicHostOption);
    static const QRegularExpression hostPattern(
        QStringLiteral("^(https?://)?[A-Za-z0-9.:\\[\\]-]+$"));
    if (parser.isSet(publicHostOption) && !hostPattern.match(publicHost).hasMatch())
        return fail(
            QStringLiteral("--public-host needs HOST or HOST:PORT, not %1").arg(publicHost));
    const bool loopback = host == QLatin1String("localhost") || host == QLatin1String("::1")
        || host.startsWith(QLatin1String("127."));
    if (!loopback && publicHost.isEmpty())
        return fail(QStringLiteral("--public-host HOST[:PORT] is required when listening on %1: "
                                   "it is the host clients are sent to")
                        .arg(listen));

    // Pictures left half-stored by a service that was killed go before anything is served.
    if (!store.tidy())
        return fail(QStringLiteral("cannot tidy %1").arg(root));
    // The stand-in hash for unknown users is made now, so no login pays for it.
    verifyAgainstNoUser(QString());

    std::unique_ptr<httplib::Server> server;
    if (parser.isSet(certOption) || parser.isSet(keyOption)) {
        const QByteArray cert = parser.value(certOption).toLocal8Bit();
        const QByteArray key = parser.value(keyOption).toLocal8Bit();
        auto tls = std::make_unique<httplib::SSLServer>(cert.constData(), key.constData());
        if (!tls->is_valid())
            return fail(QStringLiteral("cannot use the certificate and key"));
        server = std::move(tls);
    } else {
        server = std::make_unique<httplib::Server>();
    }
    installConnectionGate(*server, kMaxUploadRequestBytes);
    server->set_keep_alive_max_count(1000);
    installHandlers(*server, store, publicHost.toUtf8());

    const std::string bindHost = host.toStdString();
    const int bound = port == 0 ? server->bind_to_any_port(bindHost)
                                : (server->bind_to_port(bindHost, port) ? port : -1);
    if (bound <= 0)
        return fail(QStringLiteral("cannot listen on %1").arg(listen));
    raiseListenBacklog();
    std::printf("listening on %s:%d\n", bindHost.c_str(), bound);
    std::fflush(stdout);
    g_server = server.get();
    std::signal(SIGTERM, stopOnSignal);
    std::signal(SIGINT, stopOnSignal);
    return server->listen_after_bind() ? 0 : 1;
}
