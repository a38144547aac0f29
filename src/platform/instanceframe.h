#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace glimmerix
{

// One message between two Glimmerix processes on the instance channel: a message number, two
// integer parameters and an optional payload. A request is answered by exactly one reply frame
// carrying the same number, the receiver's result in `wparam` and 1 in `lparam` when a receiver
// handled the message (0 when none was registered for it).
//
// Wire layout, little-endian, 32-byte header followed by the payload:
//   0  u32 magic "GLMX"      4  u32 kind (1 request, 2 reply)
//   8  u32 number           12  u32 payload length (at most kMaxFramePayload)
//  16  i64 wparam           24  i64 lparam
enum class FrameKind : std::uint32_t { Request = 1, Reply = 2 };

struct InstanceFrame {
    FrameKind kind = FrameKind::Request;
    std::uint32_t number = 0;
    std::int64_t wparam = 0;
    std::int64_t lparam = 0;
    QByteArray payload;
};

inline constexpr std::uint32_t kFrameMagic = 0x584D4C47; // "GLMX" read as little-endian
inline constexpr qsizetype kFrameHeaderSize = 32;
// Paths and small records travel here; anything larger is refused so that a peer can never make
// us allocate more than one header plus this much per connection.
inline constexpr qsizetype kMaxFramePayload = 64 * 1024;
inline constexpr qsizetype kMaxFrameSize = kFrameHeaderSize + kMaxFramePayload;

// The bytes of `frame`; empty when its payload is larger than kMaxFramePayload.
QByteArray encodeFrame(const InstanceFrame &frame);

// Reassembles frames from a byte stream that arrives in pieces of any size. It never holds more
// than one frame's bytes: feed() takes at most bytesWanted() bytes. A header with a wrong magic,
// an unknown kind or an oversized payload length puts the decoder into the failed state for good
// (the connection is then closed).
class FrameDecoder
{
public:
    // Bytes still needed to finish the current header or frame; 0 once a frame is ready or the
    // decoder has failed.
    qsizetype bytesWanted() const;
    // Takes up to bytesWanted() bytes from `input` and returns how many it took.
    qsizetype feed(QByteArrayView input);

    bool hasFrame() const { return m_ready; }
    // Hands out the finished frame and starts on the next one. Only valid when hasFrame().
    InstanceFrame takeFrame();

    bool failed() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }

private:
    void checkHeader();

    QByteArray m_buffer;
    qsizetype m_frameSize = kFrameHeaderSize; // header size until the header has been read
    bool m_ready = false;
    QString m_error;
};

} // namespace glimmerix
