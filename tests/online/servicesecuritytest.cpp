// glimix-service against someone guessing, planting and killing: logins, the lookup, the modes of
// what it writes, and pictures cut off by a kill. Raw requests come from loopback addresses of
// their own (127.0.0.N), so each case counts as its own peer for the login limit.

#include "serviceprocess.h"

#include "online/onlineclient.h"

#include "support/testenvironment.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QUrl>

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace
{

struct Reply {
    int status = 0;
    QByteArray head; // status line and headers
    QByteArray body;
    QByteArray header(const QByteArray &name) const
    {
        for (const QByteArray &line : head.split('\n')) {
            if (line.toLower().startsWith(name.toLower() + ':'))
                return line.mid(name.size() + 1).trimmed();
        }
        return {};
    }
};

// Sends `request` (which should ask for "Connection: close") from `source` and reads the reply
// to its end, for at most ten seconds.
Reply send(int port, const QByteArray &request, const char *source = "127.0.0.1")
{
    Reply reply;
    const int fd = ServiceProcess::connectFrom(source, port);
    if (fd < 0)
        return reply;
    ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL);
    QByteArray all;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        pollfd wait { fd, POLLIN, 0 };
        if (::poll(&wait, 1, 100) <= 0)
            continue;
        char buffer[8192];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        all.append(buffer, got);
    }
    ::close(fd);
    const qsizetype end = all.indexOf("\r\n\r\n");
    reply.head = all.left(end);
    reply.body = end < 0 ? QByteArray() : all.mid(end + 4);
    reply.status = all.mid(9, 3).toInt();
    return reply;
}

Reply get(int port, const QByteArray &pathAndQuery, const char *source = "127.0.0.1",
    const QByteArray &host = "127.0.0.1")
{
    return send(port,
        "GET " + pathAndQuery + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n",
        source);
}

Reply list(
    int port, const QByteArray &user, const QByteArray &password, const char *source = "127.0.0.1")
{
    return get(port,
        "/servlet/com.api.ImageList?username=" + user
            + "&password=" + QUrl::toPercentEncoding(QString::fromUtf8(password)),
        source);
}

// An upload request of `jpeg` as the client sends it.
QByteArray uploadRequest(const QByteArray &user, const QByteArray &password, const QByteArray &jpeg)
{
    const QByteArray body = "--x\r\nContent-Disposition: form-data; name=\"upload\"; "
                            "filename=\"a.jpg\"\r\nContent-Type: image/jpeg\r\n\r\n"
        + jpeg + "\r\n--x--\r\n";
    return "POST /servlet/upload?username=" + user + "&password=" + password
        + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
          "Content-Type: multipart/form-data; boundary=x\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// A JPEG of noise (so it does not shrink much), padded after its end to `size` bytes when
// larger; decoders stop at the end marker and never see the padding.
QByteArray noiseJpeg(int side, qint64 size = 0)
{
    QImage image(side, side, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, random.generate());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    if (size > bytes.size())
        bytes.append(QByteArray(size - bytes.size(), '\0'));
    return bytes;
}

// A stored line whose key is right for `password` under the given scrypt parameters.
QByteArray scryptLine(const QByteArray &password, quint64 cost, quint64 blocks, quint64 parallel)
{
    const QByteArray salt = "0123456789abcdef";
    QByteArray key(32, '\0');
    EVP_PBE_scrypt(password.constData(), size_t(password.size()),
        reinterpret_cast<const unsigned char *>(salt.constData()), size_t(salt.size()), cost,
        blocks, parallel, 256ull << 20, reinterpret_cast<unsigned char *>(key.data()),
        size_t(key.size()));
    return "scrypt$" + QByteArray::number(cost) + '$' + QByteArray::number(blocks) + '$'
        + QByteArray::number(parallel) + '$' + salt.toHex() + '$' + key.toHex();
}

QByteArray passwordLine(const QString &root, const QString &user)
{
    return fileBytes(root + QStringLiteral("/users/") + user + QStringLiteral("/password"));
}

} // namespace

// A password set or a user removed by another process counts from the next request, though the
// service remembered the old password as good.
TEST(ServiceSecurity, PasswordChangesFromAnotherProcessCountAtOnce)
{
    const QString root = makeTestFolder(QStringLiteral("service"));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("old")));
    const ServiceProcess service(root);
    ASSERT_TRUE(service.started());
    EXPECT_EQ(list(service.port(), "ann", "old", "127.0.0.2").status, 200);
    EXPECT_EQ(list(service.port(), "ann", "old", "127.0.0.2").status, 200);

    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("new")));
    EXPECT_EQ(list(service.port(), "ann", "old", "127.0.0.2").status, 403);
    EXPECT_EQ(list(service.port(), "ann", "new", "127.0.0.2").status, 200);

    ASSERT_TRUE(QDir(root + QStringLiteral("/users/ann")).removeRecursively());
    EXPECT_EQ(list(service.port(), "ann", "new", "127.0.0.2").status, 403);
}

// Password files planted or damaged by hand: a key that differs only in its last byte matches
// nothing, and costs beyond what the service writes are refused before any hashing, even with
// the key right for the password.
TEST(ServiceSecurity, PlantedPasswordHashesAreRefused)
{
    const QString root = makeTestFolder(QStringLiteral("service"));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret")));
    const QList<QByteArray> good = passwordLine(root, QStringLiteral("ann")).trimmed().split('$');
    ASSERT_EQ(good.size(), 6);
    QByteArray lastByte = good[5];
    lastByte[lastByte.size() - 1] = lastByte.endsWith('0') ? '1' : '0';
    const struct {
        const char *name;
        QByteArray line;
    } rows[] = {
        { "key differs in its last byte", "scrypt$16384$8$1$" + good[4] + '$' + lastByte },
        { "cost 2^20", "scrypt$1048576$8$1$" + good[4] + '$' + good[5] },
        { "cost 2^15, right key", scryptLine("secret", 1 << 15, 8, 1) },
        { "blocks of 16, right key", scryptLine("secret", 1 << 14, 16, 1) },
        { "twice in parallel, right key", scryptLine("secret", 1 << 14, 8, 2) },
        { "64 times in parallel", "scrypt$16384$8$64$" + good[4] + '$' + good[5] },
        { "the service's own cost, right key", scryptLine("secret", 1 << 14, 8, 1) },
        { "no salt", "scrypt$16384$8$1$$" + good[5] },
        { "key cut short", "scrypt$16384$8$1$" + good[4] + '$' + good[5].chopped(2) },
    };
    const ServiceProcess service(root);
    ASSERT_TRUE(service.started());
    // One honest check first: what a login costs here.
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(list(service.port(), "ann", "secret").status, 200);
    const qint64 honestMs = clock.elapsed();
    int number = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        // A user of its own for each, from an address of its own: no login limit is reached.
        const QByteArray user = "planted" + QByteArray::number(++number);
        ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/users/") + QString::fromLatin1(user)));
        writeFile(root + QStringLiteral("/users/") + QString::fromLatin1(user)
                + QStringLiteral("/password"),
            row.line + '\n');
        const QByteArray from = "127.0.0." + QByteArray::number(10 + number);
        clock.restart();
        const bool own = QByteArray(row.name).startsWith("the service's own");
        EXPECT_EQ(list(service.port(), user, "secret", from.constData()).status, own ? 200 : 403);
        // Refused at least as fast as one honest check (and far below what the cost would take).
        EXPECT_LT(clock.elapsed(), std::max<qint64>(1000, 3 * honestMs));
    }
}

// A wrong password for a user and any password for a name that is no user take the same time,
// so timing tells no one which names exist.
TEST(ServiceSecurity, UnknownUsersTakeAsLongAsWrongPasswords)
{
    const QString root = makeTestFolder(QStringLiteral("service"));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret")));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("bob"), QStringLiteral("secret")));
    const ServiceProcess service(root);
    ASSERT_TRUE(service.started());
    QList<qint64> wrong, unknown;
    for (int i = 0; i < 8; ++i) {
        // Interleaved, from addresses and names of their own, below every login limit.
        const QByteArray from = "127.0.1." + QByteArray::number(i + 1);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(
            list(service.port(), i % 2 ? "ann" : "bob", "wrong", from.constData()).status, 403);
        wrong.append(clock.elapsed());
        clock.restart();
        EXPECT_EQ(list(service.port(), "nobody" + QByteArray::number(i), "wrong", from.constData())
                      .status,
            403);
        unknown.append(clock.elapsed());
    }
    std::sort(wrong.begin(), wrong.end());
    std::sort(unknown.begin(), unknown.end());
    const double a = double(wrong[4]), b = double(unknown[4]);
    std::cout << "median wrong password " << a << " ms, unknown user " << b << " ms\n";
    EXPECT_LE(std::abs(a - b), 0.2 * std::max(a, b));
}

// Failed logins make a user, and an address, wait: 429 with Retry-After (for an upload, the
// protocol's refused login with 429), no check meanwhile, and a login that waited as told goes
// in. The log names each failure without any password.
TEST(ServiceSecurity, FailedLoginsAreLimitedAndLoggedWithoutThePassword)
{
    const QString root = makeTestFolder(QStringLiteral("service"));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret-a")));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("bob"), QStringLiteral("secret-b")));
    const QString log = QDir(root).filePath(QStringLiteral("service.log"));
    {
        const ServiceProcess service(root, {}, { log });
        ASSERT_TRUE(service.started());
        const int port = service.port();
        // Per user: five failures go through, then ann must wait, even with her password.
        for (int i = 1; i <= 5; ++i)
            EXPECT_EQ(list(port, "ann", "guess-" + QByteArray::number(i), "127.0.0.2").status, 403);
        const Reply waiting = list(port, "ann", "secret-a", "127.0.0.2");
        EXPECT_EQ(waiting.status, 429);
        const int retryAfter = waiting.header("Retry-After").toInt();
        EXPECT_GE(retryAfter, 1);
        EXPECT_LE(retryAfter, 2);
        const Reply upload
            = send(port, uploadRequest("ann", "secret-a", noiseJpeg(8)), "127.0.0.2");
        EXPECT_EQ(upload.status, 429);
        EXPECT_EQ(upload.body, QByteArray("ORVANTAMESSAGE:4\r\n"));
        // Another user from the same address is not held up by ann's failures.
        EXPECT_EQ(list(port, "bob", "secret-b", "127.0.0.2").status, 200);
        std::this_thread::sleep_for(std::chrono::seconds(retryAfter));
        EXPECT_EQ(list(port, "ann", "secret-a", "127.0.0.2").status, 200);

        // Per address: ten failures at as many names, then that address waits; others do not.
        for (int i = 1; i <= 10; ++i)
            EXPECT_EQ(list(port, "user" + QByteArray::number(i), "guess-x" + QByteArray::number(i),
                          "127.0.0.3")
                          .status,
                403);
        EXPECT_EQ(list(port, "bob", "secret-b", "127.0.0.3").status, 429);
        EXPECT_EQ(list(port, "bob", "secret-b", "127.0.0.4").status, 200);
    }
    const QByteArray text = fileBytes(log);
    EXPECT_TRUE(text.contains("login failed: user ann from 127.0.0.2 (5 in a row)"))
        << text.constData();
    EXPECT_TRUE(text.contains("login failed: user user10 from 127.0.0.3")) << text.constData();
    for (const QByteArray &secret :
        { QByteArray("guess-"), QByteArray("secret-"), QByteArray("password=") })
        EXPECT_FALSE(text.contains(secret)) << secret.constData();
}

// Every file the service writes is 0600 and every folder 0700, and a store written before that
// rule is brought to it at start.
TEST(ServiceSecurity, StoreIsReadableByItsOwnerOnly)
{
    const QString root = makeTestFolder(QStringLiteral("service"));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret")));
    // As an older service left it.
    QFile::setPermissions(root + QStringLiteral("/users/ann"),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
            | QFileDevice::ReadOther | QFileDevice::ExeOther);
    writeFile(root + QStringLiteral("/users/ann/1.jpg"), noiseJpeg(16));
    writeFile(root + QStringLiteral("/users/ann/1.small.jpg"), noiseJpeg(8));
    writeFile(root + QStringLiteral("/users/ann/1.txt"), "filename=a.jpg\n");
    QFile::setPermissions(root + QStringLiteral("/users/ann/1.jpg"),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    {
        const ServiceProcess service(root);
        ASSERT_TRUE(service.started());
        EXPECT_EQ(send(service.port(), uploadRequest("ann", "secret", noiseJpeg(64))).body,
            QByteArray("ORVANTAMESSAGE:0\r\n"));
    }
    QStringList seen;
    QDirIterator all(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
        QDirIterator::Subdirectories);
    while (all.hasNext()) {
        const QString path = all.next();
        if (path.endsWith(QLatin1String("/service.log")))
            continue;
        struct stat info {
        };
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0);
        const bool folder = S_ISDIR(info.st_mode);
        EXPECT_EQ(info.st_mode & 07777, folder ? 0700u : 0600u) << path.toStdString();
        seen.append(QFileInfo(path).fileName());
    }
    EXPECT_TRUE(seen.contains(QStringLiteral("2.small.jpg"))) << seen.join(' ').toStdString();
    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(root).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
}

// The lookup answers the configured public host whatever Host a request names; without one (a
// service on loopback) it echoes only a loopback Host. Listening beyond loopback needs one.
TEST(ServiceSecurity, LookupNamesOnlyThePublicHost)
{
    const QString root = makeTestFolder(QStringLiteral("service"));
    const struct {
        const char *name;
        QStringList arguments;
        QByteArray host;
        int status;
        QByteArray answer;
    } rows[] = {
        { "loopback, its own Host", {}, "127.0.0.1:8080", 200, "127.0.0.1:8080\r\n" },
        { "loopback, localhost", {}, "localhost:8080", 200, "localhost:8080\r\n" },
        { "loopback, another host", {}, "evil.example", 421, "" },
        { "public host set",
            { QStringLiteral("--public-host"), QStringLiteral("photos.example:8443") },
            "evil.example", 200, "photos.example:8443\r\n" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const ServiceProcess service(root, row.arguments);
        ASSERT_TRUE(service.started());
        const Reply reply
            = get(service.port(), "/servlet/com.api.GetServer", "127.0.0.1", row.host);
        EXPECT_EQ(reply.status, row.status);
        EXPECT_EQ(reply.body, row.answer);
    }
    QProcess beyond;
    beyond.setProcessChannelMode(QProcess::MergedChannels);
    beyond.start(ServiceProcess::program(),
        { QStringLiteral("--root"), root, QStringLiteral("--listen"),
            QStringLiteral("0.0.0.0:0") });
    ASSERT_TRUE(beyond.waitForFinished(20000));
    EXPECT_NE(beyond.exitCode(), 0);
    EXPECT_TRUE(beyond.readAll().contains("--public-host"));
}

// Uploads cut off by kill -9 at random moments, twenty times, plus leftovers planted as a kill
// between the renames would leave them: after a restart nothing is listed, counted or left
// that is not a whole picture.
TEST(ServiceSecurity, KilledUploadsLeaveNoOrphans)
{
    const QString root = makeTestFolder(QStringLiteral("service"));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret")));
    const QByteArray request = uploadRequest("ann", "secret", noiseJpeg(400));
    QRandomGenerator random(30);
    for (int kill = 0; kill < 20; ++kill) {
        ServiceProcess service(root);
        ASSERT_TRUE(service.started());
        std::thread upload([&] { send(service.port(), request); });
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(40000)));
        service.kill();
        upload.join();
    }
    const QString folder = root + QStringLiteral("/users/ann");
    const int next = QDir(folder).entryList({ QStringLiteral("*.txt") }).size() + 100;
    writeFile(QStringLiteral("%1/%2.jpg").arg(folder).arg(next), noiseJpeg(16));
    writeFile(QStringLiteral("%1/%2.small.jpg").arg(folder).arg(next), noiseJpeg(8));
    writeFile(QStringLiteral("%1/.%2.txt.part").arg(folder).arg(next), "filename=x.jpg\n");
    writeFile(QStringLiteral("%1/%2.txt").arg(folder).arg(next + 1), "filename=y.jpg\n");

    const ServiceProcess service(root);
    ASSERT_TRUE(service.started());
    const Reply listed = list(service.port(), "ann", "secret");
    ASSERT_EQ(listed.status, 200);
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    const QStringList texts = QDir(folder).entryList({ QStringLiteral("*.txt") }, QDir::Files);
    EXPECT_TRUE(listed.body.startsWith("count=" + QByteArray::number(texts.size()) + "<br>"));
    // The password and three files for each listed picture: nothing else is counted.
    EXPECT_EQ(files.size(), 1 + 3 * texts.size()) << files.join(' ').toStdString();
    for (const QString &text : texts) {
        const QString id = text.chopped(4);
        EXPECT_TRUE(files.contains(id + QStringLiteral(".jpg"))) << id.toStdString();
        EXPECT_TRUE(files.contains(id + QStringLiteral(".small.jpg"))) << id.toStdString();
    }
}

// Quota and upload size at their edges, and a save that fails part way leaves nothing.
TEST(ServiceSecurity, LimitsAtAndOnePastTheEdge)
{
    // The sizes the service gives a picture's preview and a password file, from a first store.
    const QByteArray picture = noiseJpeg(300);
    qint64 preview = 0, password = 0;
    {
        const QString root = makeTestFolder(QStringLiteral("service"));
        ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret")));
        const ServiceProcess service(root);
        ASSERT_TRUE(service.started());
        ASSERT_EQ(send(service.port(), uploadRequest("ann", "secret", picture)).body,
            QByteArray("ORVANTAMESSAGE:0\r\n"));
        preview = QFileInfo(root + QStringLiteral("/users/ann/1.small.jpg")).size();
        password = QFileInfo(root + QStringLiteral("/users/ann/password")).size();
    }
    ASSERT_GT(preview, 0);
    // A quota of 1 MiB: the picture with its preview filling it exactly is stored; one byte more
    // is refused, though it would fit without its preview.
    const qint64 fits = (1 << 20) - password - preview;
    for (const qint64 size : { fits, fits + 1 }) {
        SCOPED_TRACE(size);
        const QString root = makeTestFolder(QStringLiteral("service"));
        ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret")));
        const ServiceProcess service(root, { QStringLiteral("--quota-mb"), QStringLiteral("1") });
        ASSERT_TRUE(service.started());
        EXPECT_EQ(send(service.port(), uploadRequest("ann", "secret", noiseJpeg(300, size))).body,
            size == fits ? QByteArray("ORVANTAMESSAGE:0\r\n") : QByteArray("ORVANTAMESSAGE:2\r\n"));
    }

    const QString root = makeTestFolder(QStringLiteral("service"));
    ASSERT_TRUE(ServiceProcess::addUser(root, QStringLiteral("ann"), QStringLiteral("secret")));
    {
        // The longest request body the service reads, and one byte more.
        const ServiceProcess service(root);
        ASSERT_TRUE(service.started());
        const qint64 longest = 1048576 + 64 * 1024;
        for (const qint64 length : { longest, longest + 1 }) {
            SCOPED_TRACE(length);
            const QByteArray head = "POST /servlet/upload?username=ann&password=secret HTTP/1.1\r\n"
                                    "Host: 127.0.0.1\r\nConnection: close\r\nContent-Type: "
                                    "multipart/form-data; boundary=x\r\nContent-Length: "
                + QByteArray::number(length) + "\r\n\r\n";
            const Reply reply = send(service.port(), head + QByteArray(length, 'x'));
            if (length == longest)
                EXPECT_NE(reply.status, 413);
            else
                EXPECT_EQ(reply.status, 413);
        }
    }
    {
        // Files may grow to 100 KB only: the picture cannot be written, and nothing of it stays.
        const ServiceProcess service(root, {}, { {}, 100 * 1024 });
        ASSERT_TRUE(service.started());
        EXPECT_EQ(
            send(service.port(), uploadRequest("ann", "secret", noiseJpeg(300, 300 * 1024))).body,
            QByteArray("ORVANTAMESSAGE:1\r\n"));
        EXPECT_EQ(QDir(root + QStringLiteral("/users/ann")).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("password") });
    }
}
