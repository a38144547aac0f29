#include "capturesound.h"

#include "capturedriver.h"
#include "soundrecorder.h"

#include <QThread>

namespace glimmerix
{

CaptureSoundSource captureSoundSource(const CaptureDriver &driver)
{
    if (audioBackend().hasInputDevice())
        return CaptureSoundSource::InputDevice;
    if (driver.capabilities().hasAudio)
        return CaptureSoundSource::Driver;
    return CaptureSoundSource::None;
}

AudioCapabilities captureSoundCapabilities(const CaptureDriver &driver)
{
    switch (captureSoundSource(driver)) {
    case CaptureSoundSource::InputDevice:
        return audioBackend().inputCapabilities();
    case CaptureSoundSource::Driver:
        return driver.audioCapabilities();
    case CaptureSoundSource::None:
        break;
    }
    return {};
}

WaveFormat captureSoundFormat(const CaptureDriver &driver, const WaveFormat &wanted)
{
    const AudioCapabilities capabilities = captureSoundCapabilities(driver);
    if (capabilities.allows(wanted))
        return wanted;
    const QList<WaveFormat> offered = capabilities.formats();
    return offered.isEmpty() ? WaveFormat() : offered.first();
}

CaptureSound::CaptureSound() = default;

CaptureSound::~CaptureSound()
{
    stop();
}

bool CaptureSound::start(const WaveFormat &format, QString &error)
{
    stop();
    {
        QMutexLocker lock(&m_mutex);
        m_captured.clear();
    }
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("capture sound"));
    m_context = new QObject;
    m_context->moveToThread(m_thread);
    m_thread->start();
    bool started = false;
    QMetaObject::invokeMethod(
        m_context,
        [this, &format, &started] {
            m_input = audioBackend().createInput();
            if (!m_input || !m_input->open(format))
                return;
            QObject::connect(
                m_input.get(), &AudioInput::captured, m_input.get(),
                [this](const QByteArray &bytes) {
                    QMutexLocker lock(&m_mutex);
                    m_captured += bytes;
                },
                Qt::DirectConnection);
            started = m_input->start();
        },
        Qt::BlockingQueuedConnection);
    if (!started) {
        stop();
        error = QStringLiteral("The sound input cannot record %1.").arg(formatDescription(format));
        return false;
    }
    return true;
}

QByteArray CaptureSound::take()
{
    QMutexLocker lock(&m_mutex);
    return std::exchange(m_captured, {});
}

void CaptureSound::stop()
{
    if (!m_thread)
        return;
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            if (m_input) {
                m_input->stop();
                m_input->close();
            }
            m_input.reset();
        },
        Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_context;
    m_context = nullptr;
    delete m_thread;
    m_thread = nullptr;
}

} // namespace glimmerix
