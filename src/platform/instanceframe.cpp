#include "instanceframe.h"

#include "fillin.h"

#include <QtEndian>

namespace glimmerix
{

namespace
{

enum HeaderOffset : qsizetype {
    kMagicOffset = 0,
    kKindOffset = 4,
    kNumberOffset = 8,
    kLengthOffset = 12,
    kWparamOffset = 16,
    kLparamOffset = 24,
};
static_assert(kLparamOffset + 8 == kFrameHeaderSize);

template<typename T> T readField(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

template<typename T> void writeField(QByteArray &bytes, qsizetype offset, T value)
{
    qToLittleEndian<T>(value, bytes.data() + offset);
}

bool isKnownKind(std::uint32_t kind)
{
    return kind == std::uint32_t(FrameKind::Request) || kind == std::uint32_t(FrameKind::Reply);
}

} // namespace

QByteArray encodeFrame(const InstanceFrame &frame)
{
    if (frame.payload.size() > kMaxFramePayload)
        return {};
    QByteArray bytes(kFrameHeaderSize, '\0');
    writeField<std::uint32_t>(bytes, kMagicOffset, kFrameMagic);
    writeField<std::uint32_t>(bytes, kKindOffset, std::uint32_t(frame.kind));
    writeField<std::uint32_t>(bytes, kNumberOffset, frame.number);
    writeField<std::uint32_t>(bytes, kLengthOffset, std::uint32_t(frame.payload.size()));
    writeField<std::int64_t>(bytes, kWparamOffset, frame.wparam);
    writeField<std::int64_t>(bytes, kLparamOffset, frame.lparam);
    bytes.append(frame.payload);
    return bytes;
}

qsizetype FrameDecoder::bytesWanted() const
{
    if (m_ready || failed())
        return 0;
    return m_frameSize - m_buffer.size();
}

qsizetype FrameDecoder::feed(QByteArrayView input)
{
    qsizetype taken = 0;
    while (taken < input.size()) {
        const qsizetype wanted = bytesWanted();
        if (wanted == 0)
            break;
        const qsizetype chunk = qMin(wanted, input.size() - taken);
        m_buffer.append(input.data() + taken, chunk);
        taken += chunk;
        if (m_buffer.size() == kFrameHeaderSize && m_frameSize == kFrameHeaderSize)
            checkHeader();
        else if (m_buffer.size() == m_frameSize)
            m_ready = true;
    }
    return taken;
}

void FrameDecoder::checkHeader()
{
    const auto magic = readField<std::uint32_t>(m_buffer, kMagicOffset);
    const auto kind = readField<std::uint32_t>(m_buffer, kKindOffset);
    const auto length = readField<std::uint32_t>(m_buffer, kLengthOffset);
    if (magic != kFrameMagic) {
        m_error = QStringLiteral("not an instance channel frame (bad magic)");
        return;
    }
    if (!isKnownKind(kind)) {
        m_error = QStringLiteral("unknown frame kind %1").arg(kind);
        return;
    }
    if (length > std::uint32_t(kMaxFramePayload)) {
        m_error = fillIn(QStringLiteral("frame payload of %1 bytes exceeds the limit of %2"),
            length, kMaxFramePayload);
        return;
    }
    m_frameSize = kFrameHeaderSize + qsizetype(length);
    if (length == 0)
        m_ready = true;
    else
        m_buffer.reserve(m_frameSize);
}

InstanceFrame FrameDecoder::takeFrame()
{
    Q_ASSERT(m_ready);
    InstanceFrame frame;
    frame.kind = FrameKind(readField<std::uint32_t>(m_buffer, kKindOffset));
    frame.number = readField<std::uint32_t>(m_buffer, kNumberOffset);
    frame.wparam = readField<std::int64_t>(m_buffer, kWparamOffset);
    frame.lparam = readField<std::int64_t>(m_buffer, kLparamOffset);
    frame.payload = m_buffer.mid(kFrameHeaderSize);
    m_buffer.clear();
    m_frameSize = kFrameHeaderSize;
    m_ready = false;
    return frame;
}

} // namespace glimmerix
