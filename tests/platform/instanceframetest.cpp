#include "platform/instanceframe.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

InstanceFrame sampleFrame()
{
    InstanceFrame frame;
    frame.number = 1034;
    frame.wparam = -7;
    frame.lparam = std::int64_t(1) << 40;
    frame.payload = QByteArray("/home/u/a.jpg");
    return frame;
}

// A header-only frame with one field overwritten.
QByteArray headerWith(qsizetype offset, std::uint32_t value)
{
    QByteArray bytes = encodeFrame(InstanceFrame {});
    qToLittleEndian<std::uint32_t>(value, bytes.data() + offset);
    return bytes;
}

TEST(InstanceFrame, RoundTripFedOneByteAtATime)
{
    const QByteArray bytes = encodeFrame(sampleFrame());
    ASSERT_EQ(bytes.size(), kFrameHeaderSize + 13);
    FrameDecoder decoder;
    for (char byte : bytes) {
        ASSERT_FALSE(decoder.hasFrame());
        ASSERT_EQ(decoder.feed(QByteArrayView(&byte, 1)), 1);
    }
    ASSERT_TRUE(decoder.hasFrame());
    const InstanceFrame frame = decoder.takeFrame();
    EXPECT_EQ(frame.kind, FrameKind::Request);
    EXPECT_EQ(frame.number, 1034u);
    EXPECT_EQ(frame.wparam, -7);
    EXPECT_EQ(frame.lparam, std::int64_t(1) << 40);
    EXPECT_EQ(frame.payload, "/home/u/a.jpg");
}

TEST(InstanceFrame, TakesOnlyOneFrameFromAStream)
{
    const QByteArray one = encodeFrame(sampleFrame());
    InstanceFrame empty;
    empty.kind = FrameKind::Reply;
    const QByteArray stream = one + encodeFrame(empty);
    FrameDecoder decoder;
    EXPECT_EQ(decoder.feed(stream), one.size());
    EXPECT_EQ(decoder.bytesWanted(), 0);
    EXPECT_EQ(decoder.takeFrame().payload, sampleFrame().payload);
    EXPECT_EQ(decoder.feed(QByteArrayView(stream).sliced(one.size())), kFrameHeaderSize);
    ASSERT_TRUE(decoder.hasFrame());
    EXPECT_EQ(decoder.takeFrame().kind, FrameKind::Reply);
}

TEST(InstanceFrame, HostileHeadersFailWithoutReadingThePayload)
{
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        { "bad magic", headerWith(0, 0x12345678) },
        { "kind 0", headerWith(4, 0) },
        { "kind 3", headerWith(4, 3) },
        { "payload one over the limit", headerWith(12, std::uint32_t(kMaxFramePayload + 1)) },
        { "payload length 4 GiB", headerWith(12, 0xFFFFFFFFu) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FrameDecoder decoder;
        decoder.feed(c.bytes + QByteArray(100, 'x'));
        EXPECT_TRUE(decoder.failed());
        EXPECT_FALSE(decoder.hasFrame());
        EXPECT_EQ(decoder.bytesWanted(), 0);
        EXPECT_FALSE(decoder.errorString().isEmpty());
    }
}

TEST(InstanceFrame, TruncatedFrameWaitsAndOversizedPayloadIsNotEncoded)
{
    const QByteArray bytes = encodeFrame(sampleFrame());
    FrameDecoder decoder;
    decoder.feed(QByteArrayView(bytes).first(bytes.size() - 1));
    EXPECT_FALSE(decoder.hasFrame());
    EXPECT_FALSE(decoder.failed());
    EXPECT_EQ(decoder.bytesWanted(), 1);

    InstanceFrame large;
    large.payload = QByteArray(kMaxFramePayload + 1, 'a');
    EXPECT_TRUE(encodeFrame(large).isEmpty());
    large.payload.chop(1);
    EXPECT_EQ(encodeFrame(large).size(), kMaxFrameSize);
}

TEST(InstanceFrame, PayloadOfExactlyTheLimitIsAcceptedAndOneMoreIsRefused)
{
    InstanceFrame largest;
    largest.payload = QByteArray(kMaxFramePayload, 'p');
    FrameDecoder decoder;
    EXPECT_EQ(decoder.feed(encodeFrame(largest)), kMaxFrameSize);
    ASSERT_TRUE(decoder.hasFrame());
    EXPECT_FALSE(decoder.failed());
    EXPECT_EQ(decoder.takeFrame().payload, largest.payload);

    FrameDecoder refusing;
    refusing.feed(headerWith(12, std::uint32_t(kMaxFramePayload + 1)));
    EXPECT_TRUE(refusing.failed());
}

} // namespace
