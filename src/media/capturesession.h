#pragma once

#include "capturedriver.h"
#include "capturesound.h"
#include "cliprecording.h"

#include <QMutex>
#include <QObject>
#include <QThread>

#include <atomic>
#include <chrono>
#include <optional>

namespace glimmerix
{

// Reading frames from a driver and, while a clip is being recorded, writing them and, when the
// setup asks for sound, the sound of the input device (or of the driver) into it. Runs on the
// thread that calls it.
class CaptureLoop
{
public:
    explicit CaptureLoop(CaptureDriver &driver)
        : m_driver(driver)
    {
    }

    // Starts writing the coming frames to `path` at the driver's frame size and interval.
    bool startRecording(const QString &path, const CaptureSetup &setup, QString &error);
    bool isRecording() const { return m_recording.isOpen(); }
    // Reads the next frame and records it; with `error` set when the driver failed (no frame)
    // or the clip could not be written (the frame is there, the recording has stopped).
    enum class Step { Ok, DeviceFailed, WriteFailed };
    Step step(QImage &frame, QString &error);
    // Frame times the recording has covered so far (the last frame's number + 1).
    qint64 recordedFrameTimes() const { return m_recording.stats().lastNumber + 1; }
    ClipStats stopRecording();

private:
    CaptureDriver &m_driver;
    // The sound captured since the last call, from the source in use.
    QByteArray takeSound();

    ClipRecording m_recording;
    CaptureSoundSource m_soundSource = CaptureSoundSource::None;
    WaveFormat m_soundFormat;
    CaptureSound m_deviceSound;
    std::optional<std::chrono::steady_clock::time_point> m_firstFrame;
};

// Records `seconds` of frames from a connected driver into `path` (the command-line capture).
ClipStats recordClip(
    CaptureDriver &driver, const QString &path, const CaptureSetup &setup, double seconds);

// The capture dialog's engine: a worker thread that reads frames from the driver, offers them
// for the preview at the preview rate and records them on request.
class CaptureSession final : public QObject
{
    Q_OBJECT
public:
    explicit CaptureSession(std::unique_ptr<CaptureDriver> driver, QObject *parent = nullptr);
    ~CaptureSession() override;

    // The driver may only be changed while the session is stopped.
    CaptureDriver &driver() { return *m_driver; }
    void start();
    void stop();
    bool isRunning() const { return m_thread != nullptr; }

    bool startCapture(const QString &path, const CaptureSetup &setup, QString &error);
    // Ends the capture; captureEnded follows once the clip is finished.
    void endCapture() { m_endCapture = true; }
    bool isCapturing() const { return m_capturing; }
    // The newest frame (for grabbing a still without stopping the preview).
    QImage latestFrame() const;

Q_SIGNALS:
    void frameReady(const QImage &frame);
    void captureEnded(const glimmerix::ClipStats &stats);
    void failed(const QString &error);

private:
    void run();

    std::unique_ptr<CaptureDriver> m_driver;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_stop { false };
    std::atomic<bool> m_endCapture { false };
    std::atomic<bool> m_capturing { false };
    mutable QMutex m_mutex;
    QImage m_latest;
    QString m_pendingPath;
    CaptureSetup m_pendingSetup;
    bool m_startPending = false;
};

} // namespace glimmerix
