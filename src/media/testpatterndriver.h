#pragma once

#include "capturedriver.h"

#include <atomic>
#include <chrono>

namespace glimmerix
{

// The built-in test pattern: colour bars that move one step per frame, the frame number in large
// digits and a 1 kHz tone. Frames come at the set interval, so a user without a camera can try
// every capture feature and the tests have a source that behaves like a device.
class TestPatternDriver final : public CaptureDriver
{
public:
    static QString driverName() { return QStringLiteral("Test pattern"); }

    bool connect(QString &error) override;
    void disconnect() override;
    CaptureCapabilities capabilities() const override;
    QSize frameSize() const override { return m_size; }
    QList<QSize> frameSizes() const override;
    bool setFrameSize(const QSize &size, QString &error) override;
    qint64 microSecPerFrame() const override { return m_interval; }
    bool setMicroSecPerFrame(qint64 microSeconds) override;
    QList<CaptureControl> controls() const override;
    bool setControl(quint32 id, int value) override;
    bool readFrame(QImage &frame, QString &error) override;
    AudioCapabilities audioCapabilities() const override;
    QByteArray takeAudio(const WaveFormat &format) override;

    // Makes the driver fail like an unplugged device once `frames` frames have been read.
    void failAfter(qint64 frames) { m_failAfter = frames; }
    // Frames come as fast as they are asked for (tests and benchmarks of the writer).
    void setUnpaced(bool unpaced) { m_unpaced = unpaced; }

    // The picture of frame `number` at `size` with bars of brightness `brightness` (0 to 255).
    static QImage drawFrame(const QSize &size, qint64 number, int brightness = 255);

private:
    // Frames are due at the set interval from now on (after a connect or a new interval).
    void restartPacing();

    bool m_connected = false;
    bool m_unpaced = false;
    QSize m_size { 640, 480 };
    qint64 m_interval = 66667;
    std::atomic<int> m_brightness = 255; // the source dialog sets it while frames are read
    qint64 m_frame = 0;
    qint64 m_failAfter = -1;
    qint64 m_pacedFrames = 0;
    qint64 m_coveredMicroSec = 0; // the time the frames read so far stand for
    qint64 m_samplesGiven = 0;
    std::uint32_t m_toneRate = 0;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace glimmerix
