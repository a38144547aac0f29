#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct ServiceOptions {
    QString logFile; // the service's standard error goes there instead of the test's own
    qint64 fileSizeLimit = 0; // bytes; a larger write fails in the service (0: none)
};

// glimix-service started for one test on a free loopback port (it picks the port and names it),
// stopped when the object goes.
class ServiceProcess
{
public:
    // Starts the service over `root` with `extraArguments`; started() tells whether it listens.
    explicit ServiceProcess(const QString &root, const QStringList &extraArguments = {},
        const ServiceOptions &options = {});
    ~ServiceProcess();

    bool started() const { return m_port > 0; }
    int port() const { return m_port; }
    // Ends the service at once (SIGKILL), as a crash or a power cut would.
    void kill();

    // "http://127.0.0.1:PORT" (or https when `tls`).
    QString site(bool tls = false) const;

    // Runs `glimix-service --root ROOT --add-user NAME` with the password in the environment.
    static bool addUser(const QString &root, const QString &name, const QString &password);
    static QString program();

    // A self-signed certificate for 127.0.0.1 and localhost in `folder` (cert.pem, key.pem);
    // false when there is no openssl program or it failed.
    static bool makeCertificate(const QString &folder, QString &cert, QString &key);

    // A TCP connection to the service on loopback `port` from the loopback address `source` (each
    // address counts as a peer of its own): the socket, or -1 when it cannot connect.
    static int connectFrom(const char *source, int port);

private:
    QProcess m_process;
    int m_port = 0;
};
