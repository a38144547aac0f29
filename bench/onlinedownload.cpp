// Downloading 40 pictures of 4 MB from a local glimix-service: the online client (lookup, then
// each picture streamed into a temporary file renamed into place) against plain libcurl fetching
// the same files with one handle in this process, in the same run. The client should stay within
// twice the plain loop's time.

#include "online/onlineclient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdio>
#include <memory>

using namespace glimmerix;

namespace
{

constexpr int kPictures = 40;
constexpr qsizetype kPictureBytes = 4 << 20;
const QString kUser = QStringLiteral("bench");
const QString kPassword = QStringLiteral("bench&pass");

// The service with its pictures, started once for the whole run.
struct Service {
    QTemporaryDir root;
    QTemporaryDir downloads;
    QProcess process;
    int port = 0;

    Service()
    {
        const QString program
            = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/glimix-service");
        QProcess add;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GLIMMERIX_PASSWORD"), kPassword);
        add.setProcessEnvironment(environment);
        add.start(program,
            { QStringLiteral("--root"), root.path(), QStringLiteral("--add-user"), kUser });
        add.waitForFinished(60000);
        const QDir user(root.path() + QStringLiteral("/users/") + kUser);
        QByteArray bytes(kPictureBytes, '\0');
        for (int id = 1; id <= kPictures; ++id) {
            QRandomGenerator(uint(id)).fillRange(
                reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
            // A JPEG's first bytes: the client keeps only what starts as a picture.
            bytes[0] = char(0xFF);
            bytes[1] = char(0xD8);
            bytes[2] = char(0xFF);
            QFile picture(user.filePath(QStringLiteral("%1.jpg").arg(id)));
            picture.open(QIODevice::WriteOnly);
            picture.write(bytes);
            QFile texts(user.filePath(QStringLiteral("%1.txt").arg(id)));
            texts.open(QIODevice::WriteOnly);
            texts.write("filename=p" + QByteArray::number(id) + ".jpg\n");
        }
        process.start(program,
            { QStringLiteral("--root"), root.path(), QStringLiteral("--listen"),
                QStringLiteral("127.0.0.1:0") });
        const QDeadlineTimer deadline(20000);
        static const QRegularExpression listening(QStringLiteral("listening on [0-9.]+:(\\d+)"));
        QByteArray output;
        while (port == 0 && !deadline.hasExpired() && process.state() != QProcess::NotRunning) {
            process.waitForReadyRead(500);
            output += process.readAllStandardOutput();
            const auto match = listening.match(QString::fromUtf8(output));
            if (match.hasMatch())
                port = match.captured(1).toInt();
        }
    }
    ~Service()
    {
        process.terminate();
        process.waitForFinished(10000);
    }
    QString site() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }
};

Service &service()
{
    static Service instance;
    return instance;
}

void clientDownload(benchmark::State &state)
{
    Service &local = service();
    if (local.port == 0) {
        state.SkipWithError("the service did not start");
        return;
    }
    OnlineService settings;
    settings.site = local.site();
    for (auto _ : state) {
        const std::unique_ptr<HttpTransport> transport = makeCurlTransport();
        OnlineClient client(*transport, settings);
        client.setCredentials(kUser, kPassword);
        if (!client.lookupServer().ok()) {
            state.SkipWithError("lookup failed");
            return;
        }
        for (int id = 1; id <= kPictures; ++id) {
            const QString path = local.downloads.filePath(QStringLiteral("%1_p.jpg").arg(id));
            if (!client.downloadPicture(id, path).ok()) {
                state.SkipWithError("download failed");
                return;
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * kPictures * kPictureBytes);
}

size_t writeToFile(char *data, size_t size, size_t count, void *file)
{
    return std::fwrite(data, size, count, static_cast<FILE *>(file)) * size;
}

void plainCurl(benchmark::State &state)
{
    Service &local = service();
    if (local.port == 0) {
        state.SkipWithError("the service did not start");
        return;
    }
    const QByteArray query = "username=" + QUrl::toPercentEncoding(kUser)
        + "&password=" + QUrl::toPercentEncoding(kPassword);
    for (auto _ : state) {
        CURL *curl = curl_easy_init();
        for (int id = 1; id <= kPictures; ++id) {
            const QByteArray url = local.site().toUtf8() + "/servlet/com.api.GetImage?" + query
                + "&imageid=" + QByteArray::number(id);
            const QByteArray path
                = QFile::encodeName(local.downloads.filePath(QStringLiteral("curl%1.jpg").arg(id)));
            FILE *file = std::fopen(path.constData(), "wb");
            curl_easy_setopt(curl, CURLOPT_URL, url.constData());
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeToFile);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
            const CURLcode code = curl_easy_perform(curl);
            std::fclose(file);
            if (code != CURLE_OK) {
                state.SkipWithError("curl failed");
                break;
            }
        }
        curl_easy_cleanup(curl);
    }
    state.SetBytesProcessed(state.iterations() * kPictures * kPictureBytes);
}

} // namespace

BENCHMARK(plainCurl)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(clientDownload)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
