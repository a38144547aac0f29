#pragma once

#include "capturedriver.h"

#include <QByteArray>

#include <vector>

namespace glimmerix
{

// A Video4Linux2 capture device (/dev/videoN) read through memory-mapped streaming buffers.
class V4l2Driver final : public CaptureDriver
{
public:
    explicit V4l2Driver(const QString &devicePath);
    ~V4l2Driver() override;

    // The entry for a device node, or nothing when it is missing or cannot capture video.
    static std::optional<CaptureDriverEntry> describe(const QString &devicePath, int index);

    bool connect(QString &error) override;
    void disconnect() override;
    CaptureCapabilities capabilities() const override;
    QSize frameSize() const override { return m_size; }
    QList<QSize> frameSizes() const override { return m_sizes; }
    bool setFrameSize(const QSize &size, QString &error) override;
    qint64 microSecPerFrame() const override { return m_interval; }
    bool setMicroSecPerFrame(qint64 microSeconds) override;
    QList<CaptureControl> controls() const override;
    bool setControl(quint32 id, int value) override;
    bool readFrame(QImage &frame, QString &error) override;

private:
    bool startStreaming(QString &error);
    void stopStreaming();
    bool applyFormat(const QSize &size, QString &error);
    QString deviceError(const char *what) const;

    struct Buffer {
        void *start = nullptr;
        size_t length = 0;
    };
    QString m_path;
    int m_fd = -1;
    quint32 m_pixelFormat = 0;
    quint32 m_bytesPerLine = 0;
    QSize m_size;
    QList<QSize> m_sizes;
    qint64 m_interval = 0;
    std::vector<Buffer> m_buffers;
    bool m_streaming = false;
};

// The pixel formats read, in the order they are preferred; 0 when the device offers none.
quint32 choosePixelFormat(const QList<quint32> &offered);
// Converts one frame of `pixelFormat` to a 24-bit RGB picture; false for a short or unknown
// frame. 16-bit frames (RGB565) come out as 24 bits like every other.
bool convertFrame(const uchar *data, size_t bytes, quint32 pixelFormat, const QSize &size,
    quint32 bytesPerLine, QImage &out);
// A frame interval given as a fraction of a second, in microseconds (rounded), and back.
qint64 microSecondsOfFraction(quint32 numerator, quint32 denominator);
std::pair<quint32, quint32> fractionOfMicroSeconds(qint64 microSeconds);

} // namespace glimmerix
