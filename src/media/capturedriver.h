#pragma once

#include "audiodevice.h"
#include "imaging/blockmemory.h"
#include "waveformat.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace glimmerix
{

// A source of video frames: a Video4Linux2 device or the built-in test pattern. The capture
// dialog, the clip recorder and the command-line tool see every driver through this interface.

// What a driver offers besides frames; the dialog disables the buttons of what it lacks.
struct CaptureCapabilities {
    bool hasFormatDialog = false; // several frame sizes to choose from
    bool hasSourceDialog = false; // picture controls (brightness, contrast, ...)
    bool hasDisplayDialog = false;
    bool hasOverlay = false;
    bool hasAudio = false; // the driver delivers its own sound (the test pattern's tone)
};

// The sound format of a capture until the user chooses another.
inline constexpr std::uint32_t kCaptureAudioRate = 22050;

// The sequence-capture setup the dialog shows and sends.
struct CaptureSetup {
    qint64 microSecPerFrame = 66667;
    bool captureAudio = false;
    int videoBuffers = 4;
    WaveFormat audioFormat = WaveFormat::pcm(kCaptureAudioRate, 16, 1);
};

// One adjustable picture control of a driver (the video source settings).
struct CaptureControl {
    quint32 id = 0;
    QString name;
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int value = 0;
};

class CaptureDriver
{
public:
    virtual ~CaptureDriver() = default;

    // Opens the device; false with `error` set when it cannot be used.
    virtual bool connect(QString &error) = 0;
    virtual void disconnect() = 0;
    virtual CaptureCapabilities capabilities() const = 0;

    // The frame size in force and the sizes the device offers (largest first).
    virtual QSize frameSize() const = 0;
    virtual QList<QSize> frameSizes() const = 0;
    virtual bool setFrameSize(const QSize &size, QString &error) = 0;

    // The frame interval in force; setting may give the nearest one the device has.
    virtual qint64 microSecPerFrame() const = 0;
    virtual bool setMicroSecPerFrame(qint64 microSeconds) = 0;

    virtual QList<CaptureControl> controls() const { return {}; }
    virtual bool setControl(quint32 id, int value)
    {
        Q_UNUSED(id);
        Q_UNUSED(value);
        return false;
    }

    // Waits for the next frame and gives it as a 24-bit picture (QImage::Format_RGB888). False
    // with `error` set when the device failed or went away.
    virtual bool readFrame(QImage &frame, QString &error) = 0;

    // For drivers with their own sound: the formats it can give, and its sound in `format`
    // belonging to the frames read so far that has not been asked for yet.
    virtual AudioCapabilities audioCapabilities() const { return {}; }
    virtual QByteArray takeAudio(const WaveFormat &format)
    {
        Q_UNUSED(format);
        return {};
    }
};

// One entry of the driver list: the platform index the entry stands for, with the driver's
// name and version.
struct CaptureDriverEntry {
    int index = -1;
    QString name;
    QString version;
};

// Asks for the description of the driver at a platform index; nothing when there is none.
using CaptureDescriber = std::function<std::optional<CaptureDriverEntry>(int index)>;

// The driver list: every index 0 to 9 that has a driver, in index order.
QList<CaptureDriverEntry> listCaptureDrivers(const CaptureDescriber &describe);

// The platform index of the test-pattern driver, after the ten device indices.
inline constexpr int kTestPatternIndex = 10;

// The folder of the device nodes, "/dev" unless set otherwise (tests set a folder of their own,
// so that the cameras of the machine they run on stay out of them).
QString captureDeviceFolder();
void setCaptureDeviceFolder(const QString &folder);

// The installed drivers: the Video4Linux2 capture devices video0 to video9 in `deviceFolder`,
// then the test pattern.
QList<CaptureDriverEntry> installedCaptureDrivers(
    const QString &deviceFolder = captureDeviceFolder());
// A driver for an entry of installedCaptureDrivers, not yet connected.
std::unique_ptr<CaptureDriver> makeCaptureDriver(
    int index, const QString &deviceFolder = captureDeviceFolder());

// Frames per second shown for a frame interval: 1000000 / interval, rounded to the nearest.
int framesPerSecondOf(qint64 microSecPerFrame);
// The frame interval sent for frames per second: 1000000 / fps, truncated (fps below 1 count
// as 1).
qint64 microSecPerFrameOf(int framesPerSecond);

// Where the preview of a `frame` sized picture goes in `area`: exactly its size centred when it
// fits (unscaled), else the whole area (scaled).
struct PreviewPlacement {
    QRect rect;
    bool scaled = false;
};
PreviewPlacement placePreview(const QSize &frame, const QRect &area);

// A frame as a new 24-bit image block with rows bottom-up, or 0 when memory runs out.
BlockHandle frameToImageBlock(const QImage &frame);

} // namespace glimmerix
