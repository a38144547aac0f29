#include "fakeservice.h"

#include "online/onlinejobs.h"

#include "core/messageids.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace
{

// The start of a JPEG: what a download must begin with to be kept.
const QByteArray kPictureBytes("\xFF\xD8\xFF\xE0 picture bytes");

OnlineService testService()
{
    OnlineService service;
    service.site = QStringLiteral("site.test");
    return service;
}

// A transport whose lookup names "img.test" and whose uploads answer `uploadReply`.
FakeTransport uploadTransport(const QByteArray &uploadReply)
{
    FakeTransport transport;
    transport.answer = [uploadReply](const HttpRequest &request) -> FakeTransport::Answer {
        if (request.url.contains("GetServer"))
            return { 200, "img.test\r\n" };
        return { 200, uploadReply };
    };
    return transport;
}

QString writeJpegOfSize(const QString &folder, const QString &name, qint64 size)
{
    const QString path = QDir(folder).filePath(name);
    QByteArray bytes(size, 'x');
    bytes[0] = char(0xFF);
    bytes[1] = char(0xD8);
    writeFile(path, bytes);
    return path;
}

} // namespace

TEST(OnlineJobs, UploadSizeLimit)
{
    RecordingHost recorder;
    FakeTransport transport = uploadTransport("ORVANTAMESSAGE:0");
    OnlineClient client(transport, testService());
    client.setCredentials(QStringLiteral("ann"), QStringLiteral("secret"));
    const QString folder = makeTestFolder();
    const QList<UploadItem> items { { writeJpegOfSize(folder, QStringLiteral("a.jpg"), 1048576) },
        { writeJpegOfSize(folder, QStringLiteral("b.jpg"), 1048577) } };
    const std::atomic<bool> cancel = false;
    uploadPictures(client, {}, items, cancel, [](int, const QString &) {});
    EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kOnlinePictureTooLarge });
    ASSERT_EQ(transport.requests.size(), 2); // the lookup and the first picture
    EXPECT_EQ(transport.requests[1].url,
        QByteArray("http://img.test/servlet/upload?username=ann&password=secret"));
    EXPECT_TRUE(transport.requests[1].body.contains(QByteArray(1048574, 'x') + "\r\n"));
}

TEST(OnlineJobs, UploadReplyCodes)
{
    const struct {
        QByteArray reply;
        QList<int> messages;
        int requests; // lookup + uploads sent for two items
        bool keepOpen;
    } rows[] = {
        { "ORVANTAMESSAGE:0", {}, 3, false },
        { "ORVANTAMESSAGE:1", { Message::kOnlineUploadNotStored, Message::kOnlineUploadNotStored },
            3, false },
        { "ORVANTAMESSAGE:2", { Message::kOnlineStorageFull }, 2, false },
        { "ORVANTAMESSAGE:3", {}, 3, false },
        { "ORVANTAMESSAGE:4", { Message::kOnlineUploadRefused }, 2, true },
        { "ORVANTAMESSAGE:6", {}, 3, false },
        { "ORVANTAMESSAGE:7", { Message::kOnlineUploadNotStored, Message::kOnlineUploadNotStored },
            3, false },
        { "ORVANTAMESSAGE:-1", { Message::kOnlineUploadNotStored, Message::kOnlineUploadNotStored },
            3, false },
        { "no marker", {}, 3, false },
    };
    const QString folder = makeTestFolder();
    const QList<UploadItem> items { { writeJpegOfSize(folder, QStringLiteral("a.jpg"), 100) },
        { writeJpegOfSize(folder, QStringLiteral("b.JPEG"), 100) } };
    for (const auto &row : rows) {
        RecordingHost recorder;
        FakeTransport transport = uploadTransport(row.reply);
        OnlineClient client(transport, testService());
        client.setCredentials(QStringLiteral("ann"), QStringLiteral("secret"));
        const std::atomic<bool> cancel = false;
        const UploadOutcome outcome
            = uploadPictures(client, {}, items, cancel, [](int, const QString &) {});
        EXPECT_EQ(recorder.messageIds(), row.messages) << row.reply.constData();
        EXPECT_EQ(transport.requests.size(), row.requests) << row.reply.constData();
        EXPECT_EQ(outcome.keepDialogOpen(), row.keepOpen) << row.reply.constData();
    }
}

TEST(OnlineJobs, OtherPicturesAreSentAsLowerCaseJpeg)
{
    RecordingHost recorder;
    FakeTransport transport = uploadTransport("ORVANTAMESSAGE:0");
    OnlineClient client(transport, testService());
    client.setCredentials(QStringLiteral("ann"), QStringLiteral("secret"));
    const QString folder = makeTestFolder();
    const QString bmp = QDir(folder).filePath(QStringLiteral("Holiday.BMP"));
    QImage image(40, 30, QImage::Format_RGB888);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(bmp, "BMP"));
    const QString broken = writeJpegOfSize(folder, QStringLiteral("Broken.TIF"), 10);
    // Pictures of today's types, known by their content: a PNG is converted too, a JPEG without
    // an extension goes as it is.
    const QString png = QDir(folder).filePath(QStringLiteral("Sticker.png"));
    ASSERT_TRUE(image.save(png, "PNG"));
    const QString scan = QDir(folder).filePath(QStringLiteral("scan"));
    ASSERT_TRUE(image.save(scan, "JPEG"));
    const std::atomic<bool> cancel = false;
    uploadPictures(client, {}, { { broken }, { bmp }, { png }, { scan } }, cancel,
        [](int, const QString &) {});

    EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kOnlineCannotConvert });
    ASSERT_EQ(transport.requests.size(), 4);
    const struct {
        int request;
        const char *endsWith;
    } sent[] = { { 1, "/holiday.jpg" }, { 2, "/sticker.jpg" }, { 3, "/scan" } };
    for (const auto &row : sent) {
        const QByteArray body = transport.requests[row.request].body;
        const qsizetype at = body.indexOf("filename=\"");
        ASSERT_GE(at, 0);
        const QByteArray sentPath = body.mid(at + 10, body.indexOf('"', at + 10) - at - 10);
        EXPECT_TRUE(sentPath.endsWith(row.endsWith)) << sentPath.constData();
        if (row.request < 3) { // the converted copy is gone, the user's own file stays
            EXPECT_FALSE(QFile::exists(QString::fromUtf8(sentPath)));
        }
        EXPECT_TRUE(body.contains("Content-Type: image/jpeg\r\n\r\n\xFF\xD8"));
    }
}

TEST(OnlineJobs, DownloadNamesAndFailures)
{
    RecordingHost recorder;
    FakeTransport transport;
    transport.answer = [](const HttpRequest &request) -> FakeTransport::Answer {
        if (request.url.contains("GetServer"))
            return { 200, "img.test\r\n" };
        if (request.url.contains("imageid=2"))
            return { 500, "error page" };
        return { 200, kPictureBytes };
    };
    OnlineClient client(transport, testService());
    client.setCredentials(QStringLiteral("ann"), QStringLiteral("a b&c"));
    ASSERT_TRUE(client.lookupServer().ok());
    QList<RemoteImage> records { { 1, QStringLiteral("../x.jpg") }, { 2, QStringLiteral("y.jpg") },
        { 3, QStringLiteral("z.jpg") } };
    const QString folder = makeTestFolder();
    const std::atomic<bool> cancel = false;
    QList<int> reported;
    const int stored = downloadPictures(client, records, { 0, 1, 2 }, folder, cancel,
        [&](int number, const QString &) { reported.append(number); });

    EXPECT_EQ(stored, 1);
    EXPECT_EQ(reported, (QList<int> { 1, 2 })); // the failure stops the batch
    EXPECT_EQ(recorder.messageIds(), QList<int> { Message::kOnlineNetworkFailed });
    EXPECT_TRUE(records[0].downloaded);
    EXPECT_EQ(records[0].filename, QDir(folder).filePath(QStringLiteral("1_x.jpg")));
    EXPECT_EQ(fileBytes(records[0].filename), kPictureBytes);
    EXPECT_FALSE(records[1].downloaded);
    // Nothing of the failed picture is left under its name, nor beside it.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList { QStringLiteral("1_x.jpg") });
    EXPECT_TRUE(transport.requests[1].url.contains("password=a%20b%26c&imageid=1"));
}

// A download never replaces a file already in the folder: the picture takes the first free
// "NAME (n).jpg" name and the user is told which names changed.
TEST(OnlineJobs, DownloadKeepsFilesOfTheSameName)
{
    FakeTransport transport;
    transport.answer = [](const HttpRequest &request) -> FakeTransport::Answer {
        if (request.url.contains("GetServer"))
            return { 200, "img.test\r\n" };
        return { 200, kPictureBytes };
    };
    OnlineClient client(transport, testService());
    ASSERT_TRUE(client.lookupServer().ok());
    struct Row {
        QStringList existing;
        QString savedAs;
    };
    const Row rows[] = {
        { {}, QStringLiteral("7_sea.jpg") },
        { { QStringLiteral("7_sea.jpg") }, QStringLiteral("7_sea (2).jpg") },
        { { QStringLiteral("7_sea.jpg"), QStringLiteral("7_sea (2).jpg") },
            QStringLiteral("7_sea (3).jpg") },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.savedAs.toStdString());
        RecordingHost recorder;
        const QString folder = makeTestFolder();
        for (const QString &name : row.existing)
            writeFile(QDir(folder).filePath(name), "the user's own picture");
        QList<RemoteImage> records { { 7, QStringLiteral("sea.jpg") } };
        const std::atomic<bool> cancel = false;
        EXPECT_EQ(
            downloadPictures(client, records, { 0 }, folder, cancel, [](int, const QString &) {}),
            1);
        EXPECT_EQ(records[0].filename, QDir(folder).filePath(row.savedAs));
        EXPECT_EQ(fileBytes(records[0].filename), kPictureBytes);
        for (const QString &name : row.existing)
            EXPECT_EQ(fileBytes(QDir(folder).filePath(name)), "the user's own picture");
        if (row.existing.isEmpty()) {
            EXPECT_TRUE(recorder.messageIds().isEmpty());
        } else {
            ASSERT_EQ(recorder.messageIds(), QList<int> { Message::kOnlineSavedUnderNewNames });
            EXPECT_TRUE(recorder.shown().first().text.contains("7_sea.jpg -> " + row.savedAs));
        }
    }
}

// A failed download names its cause and leaves nothing in the folder: a reply that is no picture,
// one longer than a picture may be, and a redirect the transport refused.
TEST(OnlineJobs, DownloadFailuresNameTheirCause)
{
    const struct {
        const char *name;
        FakeTransport::Answer answer;
        int message;
    } rows[] = {
        { "an error page with 200", { 200, "<html>not found</html>" },
            Message::kOnlineNotAPicture },
        { "an empty reply", { 200, {} }, Message::kOnlineNotAPicture },
        { "too long", { 0, {}, HttpStatus::TooLarge }, Message::kOnlineReplyTooLarge },
        { "redirect refused", { 0, {}, HttpStatus::RedirectRefused },
            Message::kOnlineUnsafeRedirect },
        { "unreachable", { 0, {}, HttpStatus::ConnectFailed }, Message::kOnlineNetworkFailed },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        RecordingHost recorder;
        FakeTransport transport;
        transport.answer = [&row](const HttpRequest &request) -> FakeTransport::Answer {
            if (request.url.contains("GetServer"))
                return { 200, "img.test\r\n" };
            return row.answer;
        };
        OnlineClient client(transport, testService());
        ASSERT_TRUE(client.lookupServer().ok());
        QList<RemoteImage> records { { 7, QStringLiteral("sea.jpg") } };
        const QString folder = makeTestFolder();
        const std::atomic<bool> cancel = false;
        EXPECT_EQ(
            downloadPictures(client, records, { 0 }, folder, cancel, [](int, const QString &) {}),
            0);
        EXPECT_EQ(recorder.messageIds(), QList<int> { row.message });
        EXPECT_TRUE(QDir(folder).isEmpty());
    }
}

// A site reached over https never has its image server named as plain http: the lookup gives
// no server and nothing more is sent.
TEST(OnlineJobs, HttpsLookupIsNeverTurnedIntoHttp)
{
    const struct {
        QByteArray reply;
        const char *server; // empty: refused
        const char *listUrl;
    } rows[] = {
        { "http://img.test\r\n", "", "" },
        { "HTTP://img.test:80\r\n", "", "" },
        { "img.test\r\n", "img.test", "https://img.test/servlet/com.api.ImageList?" },
        { "https://img.test:8443\r\n", "https://img.test:8443",
            "https://img.test:8443/servlet/com.api.ImageList?" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.reply.constData());
        FakeTransport transport;
        transport.answer = [&row](const HttpRequest &request) -> FakeTransport::Answer {
            if (request.url.contains("GetServer"))
                return { 200, row.reply };
            return { 200, "count=0<br>\nfields=4<br>\n" };
        };
        OnlineService service;
        service.site = QStringLiteral("https://site.test");
        OnlineClient client(transport, service);
        client.setCredentials(QStringLiteral("ann"), QStringLiteral("secret"));
        const OnlineOutcome lookup = client.lookupServer();
        EXPECT_EQ(client.server(), QString::fromLatin1(row.server));
        if (QByteArray(row.server).isEmpty()) {
            EXPECT_EQ(lookup.status, OnlineStatus::Unavailable);
            continue;
        }
        ASSERT_TRUE(lookup.ok());
        QList<RemoteImage> images;
        ListResult result = ListResult::Empty;
        ASSERT_TRUE(client.listImages(images, result).ok());
        ASSERT_EQ(transport.requests.size(), 2);
        EXPECT_TRUE(transport.requests[1].url.startsWith(row.listUrl))
            << transport.requests[1].url.constData();
    }
}
