#include "channeltestsupport.h"

#include "platform/instancechannel.h"
#include "platform/instancelock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

class EchoReceiver final : public InstanceMessageReceiver
{
public:
    std::int64_t handleInstanceMessage(std::uint32_t number, std::int64_t wparam,
        std::int64_t lparam, const QByteArray &payload) override
    {
        lastNumber = number;
        lastPayload = payload;
        return wparam + lparam + payload.size();
    }
    std::uint32_t lastNumber = 0;
    QByteArray lastPayload;
};

TEST(InstanceChannel, DeliversToTheRoutedReceiverAndAnswersOthersUnhandled)
{
    EchoReceiver echo;
    InstanceServer server;
    server.setReceiver(0x464, &echo);
    ASSERT_TRUE(server.listen(QStringLiteral("channel-echo"))) << qPrintable(server.errorString());
    EXPECT_EQ(QFile::permissions(server.socketPath()) & (QFile::ReadOther | QFile::WriteOther), 0);

    const InstanceReply handled = runWhileServing(
        [] { return sendInstanceMessage(QStringLiteral("channel-echo"), 0x464, 40, 2, "abc"); });
    EXPECT_TRUE(handled.delivered) << qPrintable(handled.error);
    EXPECT_TRUE(handled.handled);
    EXPECT_EQ(handled.result, 45);
    EXPECT_EQ(echo.lastPayload, "abc");

    const InstanceReply unrouted = runWhileServing(
        [] { return sendInstanceMessage(QStringLiteral("channel-echo"), 1025, 1, 1); });
    EXPECT_TRUE(unrouted.delivered);
    EXPECT_FALSE(unrouted.handled);
    EXPECT_EQ(unrouted.result, 0);
    EXPECT_EQ(echo.lastNumber, 0x464u);
}

TEST(InstanceChannel, HostileConnectionsAreClosedAndServingGoesOn)
{
    EchoReceiver echo;
    InstanceServer server;
    server.setReceiver(7, &echo);
    ASSERT_TRUE(server.listen(QStringLiteral("channel-hostile")));

    QByteArray hugeLength(kFrameHeaderSize, '\0');
    qToLittleEndian<std::uint32_t>(kFrameMagic, hugeLength.data());
    qToLittleEndian<std::uint32_t>(1, hugeLength.data() + 4);
    qToLittleEndian<std::uint32_t>(0xFFFFFFF0u, hugeLength.data() + 12);
    InstanceFrame reply;
    reply.kind = FrameKind::Reply;
    const std::vector<QByteArray> hostile
        = { QByteArray(64, '\xff'), hugeLength, encodeFrame(reply) };
    for (const QByteArray &bytes : hostile) {
        QLocalSocket socket;
        socket.connectToServer(server.socketPath());
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write(bytes);
        socket.flush();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return socket.state() == QLocalSocket::UnconnectedState; }, 3000));
    }
    {
        // A sender that gives up halfway through a frame.
        QLocalSocket socket;
        socket.connectToServer(server.socketPath());
        ASSERT_TRUE(socket.waitForConnected(2000));
        InstanceFrame frame;
        frame.number = 7;
        frame.payload = QByteArray(100, 'p');
        socket.write(encodeFrame(frame).left(50));
        socket.flush();
        QTest::qWait(20);
    }
    const InstanceReply after = runWhileServing(
        [] { return sendInstanceMessage(QStringLiteral("channel-hostile"), 7, 1, 2); });
    EXPECT_TRUE(after.handled) << qPrintable(after.error);
    EXPECT_EQ(after.result, 3);
}

TEST(InstanceChannel, SenderReportsAMissingOrSilentReceiver)
{
    QElapsedTimer clock;
    clock.start();
    const InstanceReply nobody
        = sendInstanceMessage(QStringLiteral("channel-nobody"), 1034, 0, 0, {}, 300);
    EXPECT_FALSE(nobody.delivered);
    EXPECT_TRUE(nobody.error.contains(QLatin1String("cannot reach"))) << qPrintable(nobody.error);

    // Accepts the connection but never answers.
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(instanceSocketPath(QStringLiteral("channel-silent"))));
    const InstanceReply unanswered = runWhileServing(
        [] { return sendInstanceMessage(QStringLiteral("channel-silent"), 1034, 0, 0, {}, 300); });
    EXPECT_FALSE(unanswered.delivered);
    EXPECT_TRUE(unanswered.error.contains(QLatin1String("within"))) << qPrintable(unanswered.error);
    EXPECT_LT(clock.elapsed(), 4000);
}

TEST(InstanceChannel, LeftoversOfACrashedInstanceDoNotBlock)
{
    // A socket file and a lock file stay behind when an instance is killed.
    const QString socketPath = instanceSocketPath(QStringLiteral("channel-crashed"));
    QFile leftover(socketPath);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    InstanceServer server;
    EXPECT_TRUE(server.listen(QStringLiteral("channel-crashed")))
        << qPrintable(server.errorString());

    InstanceLock first(QStringLiteral("channel-crashed"));
    ASSERT_TRUE(first.tryLock());
    InstanceLock second(QStringLiteral("channel-crashed"));
    EXPECT_FALSE(second.tryLock());
    EXPECT_TRUE(second.heldElsewhere());
    first.unlock(); // what the kernel does when the holder dies
    EXPECT_TRUE(QFile::exists(first.path()));
    EXPECT_TRUE(second.tryLock());
}

} // namespace
