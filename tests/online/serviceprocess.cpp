#include "serviceprocess.h"

#include "support/testenvironment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

QString ServiceProcess::program()
{
    return QDir(programFolder()).filePath(QStringLiteral("glimix-service"));
}

ServiceProcess::ServiceProcess(
    const QString &root, const QStringList &extraArguments, const ServiceOptions &options)
{
    if (options.logFile.isEmpty())
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        m_process.setStandardErrorFile(options.logFile);
    if (options.fileSizeLimit > 0) {
        const rlim_t limit = rlim_t(options.fileSizeLimit);
        m_process.setChildProcessModifier([limit] {
            const rlimit bytes { limit, limit };
            ::setrlimit(RLIMIT_FSIZE, &bytes);
        });
    }
    m_process.start(program(),
        QStringList { QStringLiteral("--root"), root, QStringLiteral("--listen"),
            QStringLiteral("127.0.0.1:0") }
            + extraArguments);
    // The service prints its port once it listens: read until that line or a deadline.
    const QDeadlineTimer deadline(20000);
    static const QRegularExpression listening(QStringLiteral("listening on [0-9.]+:(\\d+)"));
    QByteArray output;
    while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
        output += m_process.readAllStandardOutput();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_port = match.captured(1).toInt();
            return;
        }
    }
}

ServiceProcess::~ServiceProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished(10000);
}

void ServiceProcess::kill()
{
    m_process.kill();
    m_process.waitForFinished(10000);
}

QString ServiceProcess::site(bool tls) const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(tls ? QLatin1String("https") : QLatin1String("http"))
        .arg(m_port);
}

bool ServiceProcess::addUser(const QString &root, const QString &name, const QString &password)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GLIMMERIX_PASSWORD"), password);
    process.setProcessEnvironment(environment);
    process.start(
        program(), { QStringLiteral("--root"), root, QStringLiteral("--add-user"), name });
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

bool ServiceProcess::makeCertificate(const QString &folder, QString &cert, QString &key)
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        return false;
    cert = QDir(folder).filePath(QStringLiteral("cert.pem"));
    key = QDir(folder).filePath(QStringLiteral("key.pem"));
    QProcess make;
    make.start(openssl,
        { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
            QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
            QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
            QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"),
            QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert });
    return make.waitForFinished(60000) && make.exitStatus() == QProcess::NormalExit
        && make.exitCode() == 0;
}

int ServiceProcess::connectFrom(const char *source, int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in from {};
    from.sin_family = AF_INET;
    ::inet_pton(AF_INET, source, &from.sin_addr);
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(quint16(port));
    ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&from), sizeof from) != 0
        || ::connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
