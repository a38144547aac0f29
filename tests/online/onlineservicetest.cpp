#include "serviceprocess.h"

#include "online/onlinealbum.h"
#include "online/onlinejobs.h"

#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "core/messageids.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace
{

const QString kUser = QStringLiteral("ann");
// Every character that would break an unencoded query.
const QString kPassword = QStringLiteral("p&ss w#rd=1?+%");

QString makePicture(const QString &folder, const QString &name, Qt::GlobalColor colour)
{
    QImage image(64, 48, QImage::Format_RGB888);
    image.fill(colour);
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

struct Account {
    QString root = makeTestFolder(QStringLiteral("service"));
    bool ready = ServiceProcess::addUser(root, kUser, kPassword)
        && ServiceProcess::addUser(root, QStringLiteral("bob"), QStringLiteral("bobs"));
};

OnlineService serviceAt(const QString &site)
{
    OnlineService service;
    service.site = site;
    return service;
}

// Uploads three album pictures with texts, lists them, downloads them into a new album, and
// checks the texts and bytes that come back.
void roundTrip(const QString &site, const QString &root)
{
    RecordingHost recorder;
    const QString pictures = makeTestFolder(QStringLiteral("pictures"));
    CAlbumDoc album;
    const QStringList paths { makePicture(pictures, QStringLiteral("Sea.jpg"), Qt::blue),
        makePicture(pictures, QStringLiteral("Forest.bmp"), Qt::darkGreen),
        makePicture(pictures, QStringLiteral("Sun.jpg"), Qt::yellow) };
    for (int i = 0; i < paths.size(); ++i) {
        ASSERT_EQ(album.addFile(paths[i]), 1);
        album.setItemText(i, ItemField::Caption, QStringLiteral("caption %1 <b>").arg(i));
        album.setItemText(i, ItemField::Keywords, QStringLiteral("kw%1").arg(i));
        album.setItemText(i, ItemField::Description, QStringLiteral("déscription %1").arg(i));
    }

    const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 5, 10 });
    OnlineClient client(*transport, serviceAt(site));
    client.setCredentials(kUser, kPassword);
    const std::atomic<bool> cancel = false;
    const UploadOutcome uploaded = uploadPictures(client, {},
        uploadItemsOf(album, uploadIndexes(album)), cancel, [](int, const QString &) {});
    ASSERT_TRUE(uploaded.serverFound);
    EXPECT_EQ(uploaded.status, 0);
    EXPECT_TRUE(recorder.messageIds().isEmpty());

    ASSERT_TRUE(client.lookupServer().ok());
    QList<RemoteImage> records;
    ListResult result = ListResult::Empty;
    ASSERT_TRUE(client.listImages(records, result).ok());
    ASSERT_EQ(result, ListResult::Listed);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[1].filename, QStringLiteral("forest.jpg"));

    QImage preview;
    ASSERT_TRUE(client.fetchPreview(records[0].id, preview).ok());
    EXPECT_FALSE(preview.isNull());

    const QString into = makeTestFolder(QStringLiteral("downloads"));
    EXPECT_EQ(
        downloadPictures(client, records, { 0, 1, 2 }, into, cancel, [](int, const QString &) {}),
        3);
    CAlbumDoc downloaded;
    EXPECT_EQ(addDownloadedPictures(downloaded, records), 3);
    ASSERT_EQ(downloaded.itemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const ItemInfo &info = *downloaded.item(i)->info();
        // "<" cannot travel in a list line: the service sends a look-alike.
        EXPECT_EQ(fixedText(info.caption), QStringLiteral("caption %1 ＜b>").arg(i));
        EXPECT_EQ(fixedText(info.keywords), QStringLiteral("kw%1").arg(i));
        EXPECT_EQ(fixedText(info.description), QStringLiteral("déscription %1").arg(i));
    }
    EXPECT_EQ(fileBytes(downloaded.item(0)->absolutePath()), fileBytes(paths[0]));
    EXPECT_EQ(fileBytes(downloaded.item(2)->absolutePath()), fileBytes(paths[2]));
    // The converted picture comes back as the JPEG the service stored.
    EXPECT_EQ(fileBytes(downloaded.item(1)->absolutePath()),
        fileBytes(root + QStringLiteral("/users/ann/2.jpg")));
    EXPECT_TRUE(recorder.messageIds().isEmpty());
}

} // namespace

TEST(OnlineService, UploadListDownloadRoundTrip)
{
    const Account account;
    ASSERT_TRUE(account.ready);
    const ServiceProcess service(account.root);
    ASSERT_TRUE(service.started());
    roundTrip(service.site(), account.root);
}

TEST(OnlineService, RoundTripOverTls)
{
    QString cert, key;
    if (!ServiceProcess::makeCertificate(makeTestFolder(QStringLiteral("tls")), cert, key))
        GTEST_SKIP() << "no openssl program to make a test certificate";

    const Account account;
    ASSERT_TRUE(account.ready);
    const ServiceProcess service(
        account.root, { QStringLiteral("--tls-cert"), cert, QStringLiteral("--tls-key"), key });
    ASSERT_TRUE(service.started());

    // Without trusting the test certificate the client refuses the service.
    {
        const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 5, 10 });
        OnlineClient client(*transport, serviceAt(service.site(true)));
        EXPECT_EQ(client.lookupServer().status, OnlineStatus::NetworkFailed);
    }
    qputenv("GLIMMERIX_CA_FILE", cert.toLocal8Bit());
    roundTrip(service.site(true), account.root);
    qunsetenv("GLIMMERIX_CA_FILE");
}

TEST(OnlineService, RefusesWhatIsNotTheUsers)
{
    const Account account;
    ASSERT_TRUE(account.ready);
    const ServiceProcess service(account.root);
    ASSERT_TRUE(service.started());
    RecordingHost recorder;
    const std::unique_ptr<HttpTransport> transport = makeCurlTransport({ 5, 10 });
    OnlineClient client(*transport, serviceAt(service.site()));
    client.setCredentials(kUser, kPassword);
    const QString pictures = makeTestFolder(QStringLiteral("pictures"));
    const std::atomic<bool> cancel = false;
    uploadPictures(client, {}, { { makePicture(pictures, QStringLiteral("a.jpg"), Qt::red) } },
        cancel, [](int, const QString &) {});
    ASSERT_TRUE(client.lookupServer().ok());
    const QString into = makeTestFolder(QStringLiteral("downloads"));

    // A wrong password: the list is refused, and so are the picture and an upload (code 4).
    client.setCredentials(kUser, QStringLiteral("p&ss"));
    QList<RemoteImage> records;
    ListResult result = ListResult::Listed;
    ASSERT_TRUE(client.listImages(records, result).ok());
    EXPECT_EQ(result, ListResult::Empty);
    EXPECT_FALSE(client.downloadPicture(1, QDir(into).filePath(QStringLiteral("x.jpg"))).ok());
    const UploadOutcome refused = uploadPictures(client, {},
        { { makePicture(pictures, QStringLiteral("b.jpg"), Qt::red) } }, cancel,
        [](int, const QString &) {});
    EXPECT_TRUE(refused.keepDialogOpen());

    // Another user sees none of ann's pictures and cannot fetch them by number.
    client.setCredentials(QStringLiteral("bob"), QStringLiteral("bobs"));
    ASSERT_TRUE(client.listImages(records, result).ok());
    EXPECT_EQ(result, ListResult::Listed);
    EXPECT_TRUE(records.isEmpty());
    EXPECT_FALSE(client.downloadPicture(1, QDir(into).filePath(QStringLiteral("x.jpg"))).ok());
    EXPECT_TRUE(QDir(into).isEmpty());

    // A user name that climbs out of the users folder is no user.
    client.setCredentials(QStringLiteral("../users/ann"), kPassword);
    ASSERT_TRUE(client.listImages(records, result).ok());
    EXPECT_EQ(result, ListResult::Empty);

    // Raw requests: a path with "..", and an upload larger than the service reads.
    const auto rawStatus = [&](const QByteArray &request) {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(service.port()));
        if (!socket.waitForConnected(5000))
            return QByteArray("no connection");
        socket.write(request);
        QByteArray reply;
        while (!reply.contains("\r\n") && socket.waitForReadyRead(10000))
            reply += socket.readAll();
        return reply.left(reply.indexOf("\r\n"));
    };
    EXPECT_EQ(rawStatus("GET /servlet/../servlet/com.api.ImageList?username=ann&password=p%26ss"
                        "%20w%23rd%3D1%3F%2B%25 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"),
        QByteArray("HTTP/1.1 404 Not Found"));
    // The body is sent whole; the service refuses it from its headers without reading it.
    const QByteArray oversized(1200000, 'x');
    EXPECT_EQ(rawStatus("POST /servlet/upload?username=ann HTTP/1.1\r\nHost: x\r\nContent-Length: "
                  + QByteArray::number(oversized.size())
                  + "\r\nContent-Type: multipart/form-data, boundary=x\r\n\r\n" + oversized),
        QByteArray("HTTP/1.1 413 Payload Too Large"));
    EXPECT_EQ(QDir(account.root + QStringLiteral("/users/ann")).entryList(QDir::Files).size(),
        4); // the password and the one stored picture's three files
}
