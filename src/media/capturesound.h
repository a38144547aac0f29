#pragma once

#include "audiodevice.h"
#include "waveformat.h"

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <memory>

class QObject;
class QThread;

namespace glimmerix
{

class CaptureDriver;

// Where the sound of a capture comes from: the sound card's input (the audio backend's input
// device) when there is one, else the driver's own sound (the test pattern's tone), else none.
enum class CaptureSoundSource { None, InputDevice, Driver };
CaptureSoundSource captureSoundSource(const CaptureDriver &driver);
// The formats that source can record in (empty for none).
AudioCapabilities captureSoundCapabilities(const CaptureDriver &driver);
// `wanted` when the source can record it, else the first format it offers (the slowest); a
// format without a rate when it offers none.
WaveFormat captureSoundFormat(const CaptureDriver &driver, const WaveFormat &wanted);

// The input device while a clip is recorded. The device delivers its sound through the event
// loop of the thread that owns it, and the capture loop reads frames without one, so the device
// lives on a thread of its own here; what it captures waits in a buffer until the capture loop
// takes it between frames.
class CaptureSound
{
public:
    CaptureSound();
    ~CaptureSound();
    CaptureSound(const CaptureSound &) = delete;
    CaptureSound &operator=(const CaptureSound &) = delete;

    // Opens the input device for `format` and starts it; false with `error` set.
    bool start(const WaveFormat &format, QString &error);
    // The sound captured since the last call.
    QByteArray take();
    // Stops and closes the device; what it had captured can still be taken.
    void stop();

private:
    QThread *m_thread = nullptr;
    QObject *m_context = nullptr; // lives on m_thread: what runs there is queued to it
    std::unique_ptr<AudioInput> m_input; // made, used and destroyed on m_thread
    QMutex m_mutex;
    QByteArray m_captured;
};

} // namespace glimmerix
