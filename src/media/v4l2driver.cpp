#include "v4l2driver.h"

#include "platform/fillin.h"

#include <QFile>

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace glimmerix
{

namespace
{

constexpr int kBufferCount = 4;
// A device that gives no frame for this long counts as gone.
constexpr int kFrameTimeoutMs = 3000;

int xioctl(int fd, unsigned long request, void *arg)
{
    int result;
    do
        result = ioctl(fd, request, arg);
    while (result == -1 && errno == EINTR);
    return result;
}

quint32 capabilitiesOf(const v4l2_capability &cap)
{
    return (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
}

uchar clampByte(int value)
{
    return uchar(value < 0 ? 0 : value > 255 ? 255 : value);
}

void yuvToRgb(int y, int u, int v, uchar *out)
{
    const int c = y - 16;
    const int d = u - 128;
    const int e = v - 128;
    out[0] = clampByte((298 * c + 409 * e + 128) >> 8);
    out[1] = clampByte((298 * c - 100 * d - 208 * e + 128) >> 8);
    out[2] = clampByte((298 * c + 516 * d + 128) >> 8);
}

} // namespace

quint32 choosePixelFormat(const QList<quint32> &offered)
{
    for (const quint32 wanted :
        { quint32(V4L2_PIX_FMT_RGB24), quint32(V4L2_PIX_FMT_BGR24), quint32(V4L2_PIX_FMT_YUYV),
            quint32(V4L2_PIX_FMT_RGB565), quint32(V4L2_PIX_FMT_MJPEG) }) {
        if (offered.contains(wanted))
            return wanted;
    }
    return 0;
}

bool convertFrame(const uchar *data, size_t bytes, quint32 pixelFormat, const QSize &size,
    quint32 bytesPerLine, QImage &out)
{
    if (pixelFormat == V4L2_PIX_FMT_MJPEG) {
        out = QImage::fromData(data, int(qMin<size_t>(bytes, INT_MAX)), "JPEG")
                  .convertToFormat(QImage::Format_RGB888);
        return !out.isNull();
    }
    const int bytesPerPixel = pixelFormat == V4L2_PIX_FMT_RGB24 || pixelFormat == V4L2_PIX_FMT_BGR24
        ? 3
        : pixelFormat == V4L2_PIX_FMT_YUYV || pixelFormat == V4L2_PIX_FMT_RGB565 ? 2
                                                                                 : 0;
    if (bytesPerPixel == 0 || size.isEmpty())
        return false;
    const size_t line = qMax<size_t>(bytesPerLine, size_t(size.width()) * bytesPerPixel);
    if (bytes < line * size_t(size.height() - 1) + size_t(size.width()) * bytesPerPixel)
        return false;
    out = QImage(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y) {
        const uchar *in = data + line * size_t(y);
        uchar *to = out.scanLine(y);
        switch (pixelFormat) {
        case V4L2_PIX_FMT_RGB24:
            memcpy(to, in, size_t(size.width()) * 3);
            break;
        case V4L2_PIX_FMT_BGR24:
            for (int x = 0; x < size.width(); ++x, in += 3, to += 3) {
                to[0] = in[2];
                to[1] = in[1];
                to[2] = in[0];
            }
            break;
        case V4L2_PIX_FMT_RGB565:
            for (int x = 0; x < size.width(); ++x, in += 2, to += 3) {
                const unsigned pixel = unsigned(in[0]) | unsigned(in[1]) << 8;
                const unsigned r = pixel >> 11, g = (pixel >> 5) & 0x3F, b = pixel & 0x1F;
                to[0] = uchar(r << 3 | r >> 2);
                to[1] = uchar(g << 2 | g >> 4);
                to[2] = uchar(b << 3 | b >> 2);
            }
            break;
        default: // YUYV: two pixels share one U and one V
            for (int x = 0; x + 1 < size.width(); x += 2, in += 4, to += 6) {
                yuvToRgb(in[0], in[1], in[3], to);
                yuvToRgb(in[2], in[1], in[3], to + 3);
            }
            if (size.width() % 2)
                yuvToRgb(in[0], in[1], 128, to);
            break;
        }
    }
    return true;
}

qint64 microSecondsOfFraction(quint32 numerator, quint32 denominator)
{
    if (denominator == 0)
        return 0;
    return (qint64(numerator) * 1000000 + denominator / 2) / denominator;
}

std::pair<quint32, quint32> fractionOfMicroSeconds(qint64 microSeconds)
{
    const qint64 clamped = qBound<qint64>(1, microSeconds, 0xFFFFFFFF);
    const qint64 divisor = std::gcd(clamped, qint64(1000000));
    return { quint32(clamped / divisor), quint32(1000000 / divisor) };
}

V4l2Driver::V4l2Driver(const QString &devicePath)
    : m_path(devicePath)
{
}

V4l2Driver::~V4l2Driver()
{
    disconnect();
}

std::optional<CaptureDriverEntry> V4l2Driver::describe(const QString &devicePath, int index)
{
    const int fd = open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    v4l2_capability cap {};
    const bool ok = xioctl(fd, VIDIOC_QUERYCAP, &cap) == 0;
    close(fd);
    const quint32 caps = capabilitiesOf(cap);
    if (!ok || !(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & V4L2_CAP_STREAMING))
        return std::nullopt;
    CaptureDriverEntry entry;
    entry.index = index;
    entry.name = QString::fromUtf8(reinterpret_cast<const char *>(cap.card),
        int(strnlen(reinterpret_cast<const char *>(cap.card), sizeof cap.card)));
    entry.version = fillIn(QStringLiteral("%1 %2.%3.%4"),
        QString::fromUtf8(reinterpret_cast<const char *>(cap.driver),
            int(strnlen(reinterpret_cast<const char *>(cap.driver), sizeof cap.driver))),
        cap.version >> 16, (cap.version >> 8) & 0xFF, cap.version & 0xFF);
    return entry;
}

QString V4l2Driver::deviceError(const char *what) const
{
    if (errno == ENODEV || errno == ENXIO || errno == EIO)
        return QStringLiteral("The capture device %1 is no longer available.").arg(m_path);
    return QStringLiteral("The capture device %1 failed (%2: %3).")
        .arg(m_path, QString::fromLatin1(what), QString::fromLocal8Bit(strerror(errno)));
}

bool V4l2Driver::connect(QString &error)
{
    disconnect();
    m_fd = open(QFile::encodeName(m_path).constData(), O_RDWR | O_NONBLOCK);
    if (m_fd < 0) {
        error = deviceError("open");
        return false;
    }
    QList<quint32> formats;
    v4l2_fmtdesc description {};
    description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    while (xioctl(m_fd, VIDIOC_ENUM_FMT, &description) == 0) {
        formats.append(description.pixelformat);
        ++description.index;
    }
    m_pixelFormat = choosePixelFormat(formats);
    if (m_pixelFormat == 0) {
        error = QStringLiteral("The capture device %1 offers no picture format this program "
                               "can read.")
                    .arg(m_path);
        disconnect();
        return false;
    }
    m_sizes.clear();
    v4l2_frmsizeenum frameSize {};
    frameSize.pixel_format = m_pixelFormat;
    while (xioctl(m_fd, VIDIOC_ENUM_FRAMESIZES, &frameSize) == 0
        && frameSize.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
        m_sizes.append(QSize(int(frameSize.discrete.width), int(frameSize.discrete.height)));
        ++frameSize.index;
    }
    std::sort(m_sizes.begin(), m_sizes.end(), [](const QSize &a, const QSize &b) {
        return a.width() * a.height() > b.width() * b.height();
    });
    v4l2_format format {};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    QSize size(640, 480);
    if (xioctl(m_fd, VIDIOC_G_FMT, &format) == 0 && format.fmt.pix.width > 0)
        size = QSize(int(format.fmt.pix.width), int(format.fmt.pix.height));
    if (!applyFormat(size, error)) {
        disconnect();
        return false;
    }
    v4l2_streamparm parm {};
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(m_fd, VIDIOC_G_PARM, &parm) == 0)
        m_interval = microSecondsOfFraction(
            parm.parm.capture.timeperframe.numerator, parm.parm.capture.timeperframe.denominator);
    if (m_interval <= 0)
        m_interval = 33333;
    return true;
}

bool V4l2Driver::applyFormat(const QSize &size, QString &error)
{
    v4l2_format format {};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.width = quint32(size.width());
    format.fmt.pix.height = quint32(size.height());
    format.fmt.pix.pixelformat = m_pixelFormat;
    format.fmt.pix.field = V4L2_FIELD_NONE;
    if (xioctl(m_fd, VIDIOC_S_FMT, &format) != 0 || format.fmt.pix.pixelformat != m_pixelFormat
        || format.fmt.pix.width == 0 || format.fmt.pix.height == 0 || format.fmt.pix.width > 16384
        || format.fmt.pix.height > 16384) {
        error = deviceError("set format");
        return false;
    }
    m_size = QSize(int(format.fmt.pix.width), int(format.fmt.pix.height));
    m_bytesPerLine = format.fmt.pix.bytesperline;
    return true;
}

void V4l2Driver::disconnect()
{
    stopStreaming();
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

CaptureCapabilities V4l2Driver::capabilities() const
{
    CaptureCapabilities capabilities;
    capabilities.hasFormatDialog = m_sizes.size() > 1;
    capabilities.hasSourceDialog = !controls().isEmpty();
    return capabilities;
}

bool V4l2Driver::setFrameSize(const QSize &size, QString &error)
{
    if (m_fd < 0)
        return false;
    stopStreaming();
    return applyFormat(size, error);
}

bool V4l2Driver::setMicroSecPerFrame(qint64 microSeconds)
{
    if (m_fd < 0)
        return false;
    const bool wasStreaming = m_streaming;
    stopStreaming();
    v4l2_streamparm parm {};
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    const auto [numerator, denominator] = fractionOfMicroSeconds(microSeconds);
    parm.parm.capture.timeperframe.numerator = numerator;
    parm.parm.capture.timeperframe.denominator = denominator;
    const bool ok = xioctl(m_fd, VIDIOC_S_PARM, &parm) == 0;
    if (ok)
        m_interval = microSecondsOfFraction(
            parm.parm.capture.timeperframe.numerator, parm.parm.capture.timeperframe.denominator);
    QString ignored;
    if (wasStreaming)
        startStreaming(ignored);
    return ok;
}

QList<CaptureControl> V4l2Driver::controls() const
{
    QList<CaptureControl> out;
    if (m_fd < 0)
        return out;
    v4l2_queryctrl query {};
    query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    while (xioctl(m_fd, VIDIOC_QUERYCTRL, &query) == 0) {
        if (!(query.flags & V4L2_CTRL_FLAG_DISABLED) && query.type == V4L2_CTRL_TYPE_INTEGER) {
            v4l2_control control { query.id, 0 };
            xioctl(m_fd, VIDIOC_G_CTRL, &control);
            out.append({ query.id,
                QString::fromUtf8(reinterpret_cast<const char *>(query.name),
                    int(strnlen(reinterpret_cast<const char *>(query.name), sizeof query.name))),
                query.minimum, query.maximum, qMax(1, query.step), control.value });
        }
        query.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
    }
    return out;
}

bool V4l2Driver::setControl(quint32 id, int value)
{
    v4l2_control control { id, value };
    return m_fd >= 0 && xioctl(m_fd, VIDIOC_S_CTRL, &control) == 0;
}

bool V4l2Driver::startStreaming(QString &error)
{
    v4l2_requestbuffers request {};
    request.count = kBufferCount;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (xioctl(m_fd, VIDIOC_REQBUFS, &request) != 0 || request.count == 0) {
        error = deviceError("request buffers");
        return false;
    }
    for (quint32 i = 0; i < request.count; ++i) {
        v4l2_buffer buffer {};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        buffer.index = i;
        if (xioctl(m_fd, VIDIOC_QUERYBUF, &buffer) != 0) {
            error = deviceError("query buffer");
            stopStreaming();
            return false;
        }
        void *start = mmap(
            nullptr, buffer.length, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, buffer.m.offset);
        if (start == MAP_FAILED) {
            error = deviceError("map buffer");
            stopStreaming();
            return false;
        }
        m_buffers.push_back({ start, buffer.length });
        if (xioctl(m_fd, VIDIOC_QBUF, &buffer) != 0) {
            error = deviceError("queue buffer");
            stopStreaming();
            return false;
        }
    }
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(m_fd, VIDIOC_STREAMON, &type) != 0) {
        error = deviceError("start streaming");
        stopStreaming();
        return false;
    }
    m_streaming = true;
    return true;
}

void V4l2Driver::stopStreaming()
{
    if (m_fd >= 0 && m_streaming) {
        v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        xioctl(m_fd, VIDIOC_STREAMOFF, &type);
    }
    m_streaming = false;
    for (const Buffer &buffer : m_buffers)
        munmap(buffer.start, buffer.length);
    m_buffers.clear();
    if (m_fd >= 0) {
        v4l2_requestbuffers request {};
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        xioctl(m_fd, VIDIOC_REQBUFS, &request);
    }
}

bool V4l2Driver::readFrame(QImage &frame, QString &error)
{
    if (m_fd < 0) {
        error = QStringLiteral("The capture device %1 is not connected.").arg(m_path);
        return false;
    }
    if (!m_streaming && !startStreaming(error))
        return false;
    for (;;) {
        pollfd waiting { m_fd, POLLIN, 0 };
        const int ready = poll(&waiting, 1, kFrameTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || (waiting.revents & (POLLERR | POLLHUP | POLLNVAL))) {
            if (ready == 0)
                errno = ENODEV;
            error = deviceError("wait for frame");
            return false;
        }
        v4l2_buffer buffer {};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        if (xioctl(m_fd, VIDIOC_DQBUF, &buffer) != 0) {
            if (errno == EAGAIN)
                continue;
            error = deviceError("take frame");
            return false;
        }
        const bool converted = buffer.index < m_buffers.size()
            && convertFrame(static_cast<const uchar *>(m_buffers[buffer.index].start),
                qMin<size_t>(buffer.bytesused, m_buffers[buffer.index].length), m_pixelFormat,
                m_size, m_bytesPerLine, frame);
        if (xioctl(m_fd, VIDIOC_QBUF, &buffer) != 0) {
            error = deviceError("queue buffer");
            return false;
        }
        if (converted)
            return true;
        // A damaged frame (short or undecodable) is skipped; the next one may be whole.
    }
}

} // namespace glimmerix
