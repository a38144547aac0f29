#include "fakeaudio.h"

#include <QElapsedTimer>
#include <QTimer>

class FakeAudioBackend::Output final : public AudioOutput
{
public:
    explicit Output(FakeAudioBackend &backend)
        : m_backend(backend)
    {
    }
    ~Output() override
    {
        if (m_backend.m_output == this)
            m_backend.m_output = nullptr;
    }
    bool open(const WaveFormat &format) override
    {
        m_backend.openedFormat = format;
        m_backend.outputOpen = !m_backend.refuseOpen;
        return m_backend.outputOpen;
    }
    bool write(const QByteArray &buffer) override
    {
        if (m_backend.refuseWrite)
            return false;
        m_backend.queue.push_back(buffer);
        m_backend.queuedSizes.append(buffer.size());
        return true;
    }
    void pause() override { }
    void restart() override { }
    void reset() override
    {
        for (const QByteArray &buffer : m_backend.queue)
            m_backend.droppedBytes += buffer.size();
        m_backend.queue.clear();
    }
    void close() override { m_backend.outputOpen = false; }
    qint64 bytesPlayed() const override { return m_backend.played.size(); }
    void done() { Q_EMIT bufferDone(); }

private:
    FakeAudioBackend &m_backend;
};

class FakeAudioBackend::Input final : public AudioInput
{
public:
    explicit Input(FakeAudioBackend &backend)
        : m_backend(backend)
    {
    }
    ~Input() override
    {
        if (m_backend.m_input == this)
            m_backend.m_input = nullptr;
    }
    bool open(const WaveFormat &format) override
    {
        m_backend.openedFormat = format;
        m_format = format;
        return !m_backend.refuseOpen;
    }
    bool start() override
    {
        m_running = true;
        if (m_backend.liveInput) {
            m_clock.start();
            m_live.setInterval(5);
            QObject::connect(&m_live, &QTimer::timeout, this, [this] { deliverLive(); });
            m_live.start();
        }
        return true;
    }
    void stop() override
    {
        if (m_live.isActive())
            deliverLive();
        m_live.stop();
        if (m_running && !m_backend.captureOnStop.isEmpty())
            deliver(m_backend.captureOnStop);
        m_running = false;
    }
    void close() override
    {
        m_live.stop();
        m_running = false;
    }
    qint64 bytesCaptured() const override { return m_captured; }
    void deliver(const QByteArray &bytes)
    {
        if (!m_running)
            return;
        m_captured += bytes.size();
        Q_EMIT captured(bytes);
    }

private:
    void deliverLive()
    {
        const qint64 due = m_clock.elapsed() * m_format.samplesPerSec / 1000 * m_format.blockAlign;
        QByteArray bytes(qMax<qint64>(0, due - m_captured), Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char(m_captured + i);
        if (!bytes.isEmpty())
            deliver(bytes);
    }

    FakeAudioBackend &m_backend;
    WaveFormat m_format;
    bool m_running = false;
    qint64 m_captured = 0;
    QTimer m_live;
    QElapsedTimer m_clock;
};

FakeAudioBackend::FakeAudioBackend()
    : m_previous(setAudioBackend(this))
{
}

FakeAudioBackend::~FakeAudioBackend()
{
    setAudioBackend(m_previous);
}

std::unique_ptr<AudioOutput> FakeAudioBackend::createOutput()
{
    auto output = std::make_unique<Output>(*this);
    m_output = output.get();
    return output;
}

std::unique_ptr<AudioInput> FakeAudioBackend::createInput()
{
    auto created = std::make_unique<Input>(*this);
    m_input = created.get();
    return created;
}

bool FakeAudioBackend::playOne()
{
    if (queue.empty() || !m_output)
        return false;
    played += queue.front();
    queue.pop_front();
    m_output->done();
    return true;
}

void FakeAudioBackend::playAll()
{
    while (outputOpen && playOne()) { }
}

void FakeAudioBackend::capture(const QByteArray &bytes)
{
    if (m_input)
        m_input->deliver(bytes);
}
