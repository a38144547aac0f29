#include "waveplayer.h"

#include "audiodevice.h"
#include "core/messageids.h"
#include "waveformat.h"

#include "platform/host.h"

#include <QFile>

#include <new>

namespace glimmerix
{

WavePlayer::WavePlayer(QObject *parent)
    : QObject(parent)
{
}

WavePlayer::~WavePlayer()
{
    // Closing quietly: nobody listens any more.
    blockSignals(true);
    stop();
}

bool WavePlayer::prepare(const QByteArray &formatBlock, QIODevice *data, std::int64_t dataLength)
{
    stop();
    if (!audioBackend().hasOutputDevice()) {
        host().showMessage(Message::kNoOutputDevice);
        return false;
    }
    m_output = audioBackend().createOutput();
    if (!m_output) {
        host().showMessage(Message::kNoOutputDevice);
        return false;
    }
    connect(m_output.get(), &AudioOutput::bufferDone, this, &WavePlayer::bufferDone);
    m_formatBlock = formatBlock;
    m_data = data;
    m_dataLength = dataLength;
    m_bufferLength
        = alignedBufferLength(kBufferCapacity, WaveFormat::fromBlock(formatBlock).blockAlign);
    for (auto &buffer : m_buffers) {
        buffer.reset(new (std::nothrow) char[std::size_t(kBufferCapacity)]);
        if (!buffer) {
            host().showMessage(Message::kNoBufferMemory);
            return false;
        }
    }
    m_next = 0;
    m_queued = 0;
    m_position = 0;
    m_reachedEnd = false;
    return true;
}

bool WavePlayer::open()
{
    if (!m_output || !m_output->open(WaveFormat::fromBlock(m_formatBlock))) {
        host().showMessage(Message::kOutputNotOpened);
        return false;
    }
    m_open = true;
    return true;
}

bool WavePlayer::prepareHeaders()
{
    // The headers here are the two buffers themselves; they are ready once both exist.
    m_prepared = m_open && m_buffers[0] && m_buffers[1] && m_bufferLength > 0;
    if (!m_prepared) {
        host().showMessage(Message::kOutputNotPrepared);
        return false;
    }
    return true;
}

WavePlayer::FeedResult WavePlayer::feed(std::int64_t &position)
{
    if (!m_prepared || !m_data || position >= m_dataLength) {
        m_reachedEnd = true;
        return FeedNoMoreData;
    }
    const std::int64_t wanted = std::min(m_bufferLength, m_dataLength - position);
    const qint64 got = m_data->read(m_buffers[m_next].get(), wanted);
    if (got <= 0) {
        m_reachedEnd = true;
        return FeedNoMoreData;
    }
    position += got;
    if (!m_output->write(QByteArray(m_buffers[m_next].get(), got))) {
        host().showMessage(Message::kBufferNotPlayed);
        stop();
        return FeedError;
    }
    ++m_queued;
    m_next = 1 - m_next;
    return FeedQueued;
}

void WavePlayer::pause()
{
    if (m_open)
        m_output->pause();
}

void WavePlayer::restart()
{
    if (m_open)
        m_output->restart();
}

void WavePlayer::stop()
{
    if (!m_open)
        return;
    m_output->pause();
    m_output->reset();
    m_prepared = false;
    m_output->close();
    m_open = false;
    m_queued = 0;
    Q_EMIT finished();
}

bool WavePlayer::start(const QByteArray &formatBlock, QIODevice *data, std::int64_t dataLength)
{
    if (!prepare(formatBlock, data, dataLength) || !open())
        return false;
    if (!prepareHeaders()) {
        stop();
        return false;
    }
    pause();
    if (feed(m_position) == FeedError)
        return false;
    restart();
    const FeedResult second = feed(m_position);
    if (second == FeedError)
        return false;
    if (second == FeedNoMoreData && m_queued == 0)
        stop();
    return true;
}

bool WavePlayer::playFile(const QString &path, const QByteArray &formatBlock,
    std::int64_t dataOffset, std::int64_t dataLength)
{
    stop();
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly) || !file->seek(dataOffset)) {
        host().showText(QStringLiteral("%1: %2").arg(path, file->errorString()),
            MessageIcon::Warning, MessageButtons::Ok, 0);
        return false;
    }
    m_ownedFile = std::move(file);
    return start(formatBlock, m_ownedFile.get(), dataLength);
}

std::int64_t WavePlayer::bytesPlayed() const
{
    return m_output ? m_output->bytesPlayed() : 0;
}

void WavePlayer::bufferDone()
{
    if (!m_open)
        return;
    --m_queued;
    // When the data has run out, the buffer still queued plays to its end before the device
    // closes; stopping at once would cut off the tail of the sound.
    if (feed(m_position) == FeedNoMoreData && m_queued == 0)
        stop();
}

} // namespace glimmerix
