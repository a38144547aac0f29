#include "capturesession.h"

namespace glimmerix
{

namespace
{

// The preview shows at most one frame in this many milliseconds.
constexpr int kPreviewRateMs = 66;

} // namespace

bool CaptureLoop::startRecording(const QString &path, const CaptureSetup &setup, QString &error)
{
    m_soundSource = setup.captureAudio ? captureSoundSource(m_driver) : CaptureSoundSource::None;
    m_soundFormat = m_soundSource == CaptureSoundSource::None
        ? WaveFormat()
        : captureSoundFormat(m_driver, setup.audioFormat);
    if (m_soundFormat.samplesPerSec == 0)
        m_soundSource = CaptureSoundSource::None;
    m_firstFrame.reset();
    if (!m_recording.open(path, m_driver.frameSize(), m_driver.microSecPerFrame(), m_soundFormat,
            setup.videoBuffers)) {
        error = m_recording.stats().detail;
        return false;
    }
    if (m_soundSource == CaptureSoundSource::InputDevice
        && !m_deviceSound.start(m_soundFormat, error)) {
        m_recording.finish();
        return false;
    }
    takeSound(); // the driver's sound from before the start does not belong to the clip
    return true;
}

QByteArray CaptureLoop::takeSound()
{
    switch (m_soundSource) {
    case CaptureSoundSource::InputDevice:
        return m_deviceSound.take();
    case CaptureSoundSource::Driver:
        return m_driver.takeAudio(m_soundFormat);
    case CaptureSoundSource::None:
        break;
    }
    return {};
}

CaptureLoop::Step CaptureLoop::step(QImage &frame, QString &error)
{
    if (!m_driver.readFrame(frame, error))
        return Step::DeviceFailed;
    if (!m_recording.isOpen() || !m_recording.stats().ok)
        return Step::Ok;
    const auto now = std::chrono::steady_clock::now();
    if (!m_firstFrame) {
        m_firstFrame = now;
        // The clip starts with its first frame; the device's sound starts there too.
        if (m_soundSource == CaptureSoundSource::InputDevice)
            takeSound();
    }
    const qint64 elapsed
        = std::chrono::duration_cast<std::chrono::microseconds>(now - *m_firstFrame).count();
    bool written = m_recording.addFrame(frame, elapsed);
    if (written && m_soundSource != CaptureSoundSource::None)
        written = m_recording.addAudio(takeSound());
    if (!written) {
        error = m_recording.stats().detail;
        return Step::WriteFailed;
    }
    return Step::Ok;
}

ClipStats CaptureLoop::stopRecording()
{
    if (m_soundSource == CaptureSoundSource::InputDevice) {
        m_deviceSound.stop();
        if (m_recording.isOpen() && m_recording.stats().ok)
            m_recording.addAudio(takeSound());
    }
    m_soundSource = CaptureSoundSource::None;
    return m_recording.finish();
}

ClipStats recordClip(
    CaptureDriver &driver, const QString &path, const CaptureSetup &setup, double seconds)
{
    CaptureLoop loop(driver);
    QString error;
    if (!loop.startRecording(path, setup, error)) {
        ClipStats stats;
        stats.ok = false;
        stats.detail = error;
        return stats;
    }
    const qint64 frames
        = qMax<qint64>(1, qint64(seconds * 1000000.0 / double(driver.microSecPerFrame()) + 0.5));
    QImage frame;
    while (loop.recordedFrameTimes() < frames) {
        if (loop.step(frame, error) != CaptureLoop::Step::Ok)
            break;
    }
    ClipStats stats = loop.stopRecording();
    if (!error.isEmpty()) {
        stats.ok = false;
        stats.detail = error;
    }
    return stats;
}

CaptureSession::CaptureSession(std::unique_ptr<CaptureDriver> driver, QObject *parent)
    : QObject(parent)
    , m_driver(std::move(driver))
{
    qRegisterMetaType<glimmerix::ClipStats>();
}

CaptureSession::~CaptureSession()
{
    stop();
}

void CaptureSession::start()
{
    if (m_thread)
        return;
    m_stop = false;
    m_thread = QThread::create([this] { run(); });
    m_thread->start();
}

void CaptureSession::stop()
{
    if (!m_thread)
        return;
    m_stop = true;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

bool CaptureSession::startCapture(const QString &path, const CaptureSetup &setup, QString &error)
{
    if (!m_thread) {
        error = QStringLiteral("No capture device is connected.");
        return false;
    }
    QMutexLocker lock(&m_mutex);
    m_pendingPath = path;
    m_pendingSetup = setup;
    m_startPending = true;
    m_endCapture = false;
    m_capturing = true;
    return true;
}

QImage CaptureSession::latestFrame() const
{
    QMutexLocker lock(&m_mutex);
    return m_latest;
}

void CaptureSession::run()
{
    CaptureLoop loop(*m_driver);
    QImage frame;
    QString error;
    auto lastPreview = std::chrono::steady_clock::now() - std::chrono::seconds(1);
    const auto endCapture = [&] {
        const ClipStats stats = loop.stopRecording();
        m_capturing = false;
        Q_EMIT captureEnded(stats);
    };
    while (!m_stop) {
        {
            QMutexLocker lock(&m_mutex);
            if (m_startPending) {
                m_startPending = false;
                if (!loop.startRecording(m_pendingPath, m_pendingSetup, error)) {
                    lock.unlock();
                    endCapture();
                    Q_EMIT failed(error);
                    continue;
                }
            }
        }
        if (loop.isRecording() && m_endCapture) {
            endCapture();
            continue;
        }
        error.clear();
        const CaptureLoop::Step step = loop.step(frame, error);
        if (step != CaptureLoop::Step::Ok) {
            if (loop.isRecording())
                endCapture();
            Q_EMIT failed(error);
            if (step == CaptureLoop::Step::DeviceFailed)
                break;
        }
        {
            QMutexLocker lock(&m_mutex);
            m_latest = frame;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPreview >= std::chrono::milliseconds(kPreviewRateMs)) {
            lastPreview = now;
            Q_EMIT frameReady(frame);
        }
    }
    if (loop.isRecording())
        endCapture();
}

} // namespace glimmerix
