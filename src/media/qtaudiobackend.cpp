#include "qtaudiobackend.h"

#include "playeroutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTimer>

#include <cmath>
#include <deque>

namespace glimmerix
{

namespace
{

constexpr int kPumpPeriodMs = 10;
// How long the device's clock may stand still, with everything written, before the sound counts
// as played anyway.
constexpr qint64 kStallMs = 1000;

bool toQtFormat(const WaveFormat &wave, QAudioFormat &format)
{
    if (!wave.isPcm() || wave.channels == 0 || wave.samplesPerSec == 0)
        return false;
    if (wave.bitsPerSample == 8)
        format.setSampleFormat(QAudioFormat::UInt8);
    else if (wave.bitsPerSample == 16)
        format.setSampleFormat(QAudioFormat::Int16);
    else
        return false;
    format.setSampleRate(int(wave.samplesPerSec));
    format.setChannelCount(wave.channels);
    return true;
}

// Output in push mode: queued buffers are written to the sink as it has room; a buffer is done
// once the sink has played past its end. The device's own clock decides that; should it stand
// still short of the end, the sound counts as played after a while, so playing always finishes.
class QtAudioOutput final : public AudioOutput
{
public:
    QtAudioOutput()
    {
        m_pump.setInterval(kPumpPeriodMs);
        QObject::connect(&m_pump, &QTimer::timeout, this, [this] { pump(); });
    }
    ~QtAudioOutput() override { close(); }

    bool open(const WaveFormat &format) override
    {
        close();
        const QAudioDevice device = soundOutputDevice();
        QAudioFormat qtFormat;
        if (device.isNull() || !toQtFormat(format, qtFormat))
            return false;
        m_format = format;
        m_sink = std::make_unique<QAudioSink>(device, qtFormat);
        m_sink->setBufferSize(int(format.avgBytesPerSec / 5 + format.blockAlign));
        m_io = m_sink->start();
        if (!m_io || m_sink->error() == QAudio::OpenError) {
            m_sink.reset();
            return false;
        }
        m_written = m_played = 0;
        m_lastByDevice = -1;
        m_sinceProgress.start();
        m_pump.start();
        return true;
    }

    bool write(const QByteArray &buffer) override
    {
        if (!m_sink)
            return false;
        m_ends.push_back(m_queuedEnd += buffer.size());
        m_pending.push_back(buffer);
        pump();
        return true;
    }

    void pause() override
    {
        m_paused = true;
        if (m_sink && m_sink->state() == QAudio::ActiveState)
            m_sink->suspend();
    }

    void restart() override
    {
        m_paused = false;
        m_sinceProgress.start();
        if (m_sink && m_sink->state() == QAudio::SuspendedState)
            m_sink->resume();
        pump();
    }

    void reset() override
    {
        m_pending.clear();
        m_pendingOffset = 0;
        m_ends.clear();
        m_queuedEnd = m_written;
        if (m_sink)
            m_sink->reset();
    }

    void close() override
    {
        m_pump.stop();
        if (m_sink)
            m_sink->stop();
        m_sink.reset();
        m_io = nullptr;
        m_pending.clear();
        m_ends.clear();
        m_pendingOffset = 0;
        m_queuedEnd = m_written = 0;
    }

    qint64 bytesPlayed() const override { return m_played; }

private:
    void pump()
    {
        if (!m_sink || m_paused)
            return;
        while (!m_pending.empty() && m_sink->bytesFree() > 0) {
            const QByteArray &buffer = m_pending.front();
            const qint64 chunk
                = std::min<qint64>(m_sink->bytesFree(), buffer.size() - m_pendingOffset);
            const qint64 done = m_io->write(buffer.constData() + m_pendingOffset, chunk);
            if (done <= 0)
                break;
            m_written += done;
            m_pendingOffset += done;
            if (m_pendingOffset == buffer.size()) {
                m_pending.pop_front();
                m_pendingOffset = 0;
            }
        }
        updatePlayed();
        while (!m_ends.empty() && m_ends.front() <= m_played) {
            m_ends.pop_front();
            Q_EMIT bufferDone();
            if (!m_sink)
                return; // the listener closed the device
        }
    }

    void updatePlayed()
    {
        // Rounded up: the device's clock counts whole microseconds, and a sound is played once the
        // clock has passed the start of its last sample block.
        const qint64 byDevice
            = qint64(std::ceil(double(m_sink->processedUSecs()) * m_format.avgBytesPerSec / 1e6))
            + m_format.blockAlign - 1;
        if (byDevice != m_lastByDevice) {
            m_lastByDevice = byDevice;
            m_sinceProgress.start();
        }
        qint64 played = std::min(byDevice, m_written);
        // Everything written and the device idle, or its clock standing still for a long while
        // (a device that never reports the end): played.
        if (m_pending.empty() && m_written > played) {
            const bool idle = m_sink->state() == QAudio::IdleState;
            if (idle || m_sinceProgress.hasExpired(kStallMs))
                played = m_written;
        }
        m_played = std::max(m_played, played);
    }

    WaveFormat m_format;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice *m_io = nullptr;
    QTimer m_pump;
    QElapsedTimer m_sinceProgress;
    qint64 m_lastByDevice = -1;
    std::deque<QByteArray> m_pending;
    qint64 m_pendingOffset = 0;
    std::deque<qint64> m_ends; // end of each queued buffer, counted in bytes since open
    qint64 m_queuedEnd = 0;
    qint64 m_written = 0;
    qint64 m_played = 0;
    bool m_paused = false;
};

class QtAudioInput final : public AudioInput
{
public:
    ~QtAudioInput() override { close(); }

    bool open(const WaveFormat &format) override
    {
        close();
        const QAudioDevice device = QMediaDevices::defaultAudioInput();
        QAudioFormat qtFormat;
        if (device.isNull() || !toQtFormat(format, qtFormat) || !device.isFormatSupported(qtFormat))
            return false;
        m_source = std::make_unique<QAudioSource>(device, qtFormat);
        return true;
    }

    bool start() override
    {
        if (!m_source)
            return false;
        m_captured = 0;
        m_io = m_source->start();
        if (!m_io || m_source->error() == QAudio::OpenError)
            return false;
        QObject::connect(m_io, &QIODevice::readyRead, this, [this] { drain(); });
        return true;
    }

    void stop() override
    {
        if (!m_source || !m_io)
            return;
        drain();
        m_source->stop();
        m_io = nullptr;
    }

    void close() override
    {
        stop();
        m_source.reset();
    }

    qint64 bytesCaptured() const override { return m_captured; }

private:
    void drain()
    {
        if (!m_io)
            return;
        const QByteArray bytes = m_io->readAll();
        if (bytes.isEmpty())
            return;
        m_captured += bytes.size();
        Q_EMIT captured(bytes);
    }

    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_io = nullptr;
    qint64 m_captured = 0;
};

} // namespace

bool QtAudioBackend::hasOutputDevice()
{
    return !soundOutputDevice().isNull();
}

bool QtAudioBackend::hasInputDevice()
{
    return !QMediaDevices::defaultAudioInput().isNull();
}

AudioCapabilities QtAudioBackend::inputCapabilities()
{
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    AudioCapabilities capabilities;
    if (device.isNull())
        return capabilities;
    // The usual recording rates, as far as the device reaches.
    for (std::uint32_t rate : { 8000u, 11025u, 22050u, 44100u, 48000u }) {
        if (int(rate) >= device.minimumSampleRate() && int(rate) <= device.maximumSampleRate())
            capabilities.rates.append(rate);
    }
    const QList<QAudioFormat::SampleFormat> formats = device.supportedSampleFormats();
    if (formats.contains(QAudioFormat::UInt8))
        capabilities.bits.append(8);
    if (formats.contains(QAudioFormat::Int16))
        capabilities.bits.append(16);
    for (std::uint16_t channels : { std::uint16_t(1), std::uint16_t(2) }) {
        if (channels >= device.minimumChannelCount() && channels <= device.maximumChannelCount())
            capabilities.channels.append(channels);
    }
    return capabilities;
}

std::unique_ptr<AudioOutput> QtAudioBackend::createOutput()
{
    return std::make_unique<QtAudioOutput>();
}

std::unique_ptr<AudioInput> QtAudioBackend::createInput()
{
    return std::make_unique<QtAudioInput>();
}

} // namespace glimmerix
