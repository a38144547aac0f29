#include "testpatterndriver.h"

#include "platform/fillin.h"

#include <QThread>

#include <cmath>
#include <cstring>
#include <numbers>

namespace glimmerix
{

namespace
{

constexpr quint32 kBrightnessControl = 1;

// Seven-segment digits: bits a (top), b, c, d, e, f, g (middle), clockwise from the top.
constexpr unsigned char kSegments[10]
    = { 0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F };

void fill(QImage &image, const QRect &rect, const QRgb colour)
{
    const QRect clipped = rect.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        uchar *line = image.scanLine(y) + clipped.left() * 3;
        for (int x = 0; x < clipped.width(); ++x, line += 3) {
            line[0] = uchar(qRed(colour));
            line[1] = uchar(qGreen(colour));
            line[2] = uchar(qBlue(colour));
        }
    }
}

void drawDigit(QImage &image, int digit, const QPoint &at, int unit)
{
    const int w = unit * 4;
    const int h = unit * 7;
    const QRect segments[7]
        = { { at.x(), at.y(), w, unit }, { at.x() + w - unit, at.y(), unit, h / 2 + 1 },
              { at.x() + w - unit, at.y() + h / 2, unit, h - h / 2 },
              { at.x(), at.y() + h - unit, w, unit }, { at.x(), at.y() + h / 2, unit, h - h / 2 },
              { at.x(), at.y(), unit, h / 2 + 1 }, { at.x(), at.y() + h / 2 - unit / 2, w, unit } };
    for (int s = 0; s < 7; ++s) {
        if (kSegments[digit] & (1 << s))
            fill(image, segments[s], qRgb(255, 255, 255));
    }
}

} // namespace

bool TestPatternDriver::connect(QString &error)
{
    Q_UNUSED(error);
    m_connected = true;
    m_frame = 0;
    m_samplesGiven = 0;
    m_coveredMicroSec = 0;
    restartPacing();
    return true;
}

void TestPatternDriver::disconnect()
{
    m_connected = false;
}

CaptureCapabilities TestPatternDriver::capabilities() const
{
    CaptureCapabilities capabilities;
    capabilities.hasFormatDialog = true;
    capabilities.hasSourceDialog = true;
    capabilities.hasAudio = true;
    return capabilities;
}

QList<QSize> TestPatternDriver::frameSizes() const
{
    return { { 1280, 720 }, { 640, 480 }, { 320, 240 }, { 160, 120 } };
}

bool TestPatternDriver::setFrameSize(const QSize &size, QString &error)
{
    if (size.width() < 16 || size.height() < 16 || size.width() > 4096 || size.height() > 4096) {
        error = fillIn(QStringLiteral("The test pattern cannot make %1 x %2 frames."), size.width(),
            size.height());
        return false;
    }
    m_size = size;
    return true;
}

bool TestPatternDriver::setMicroSecPerFrame(qint64 microSeconds)
{
    if (microSeconds < 1000 || microSeconds > 10000000)
        return false;
    m_interval = microSeconds;
    restartPacing();
    return true;
}

void TestPatternDriver::restartPacing()
{
    m_start = std::chrono::steady_clock::now();
    m_pacedFrames = 0;
}

QList<CaptureControl> TestPatternDriver::controls() const
{
    return { { kBrightnessControl, QStringLiteral("Brightness"), 0, 255, 1, m_brightness } };
}

bool TestPatternDriver::setControl(quint32 id, int value)
{
    if (id != kBrightnessControl || value < 0 || value > 255)
        return false;
    m_brightness = value;
    return true;
}

QImage TestPatternDriver::drawFrame(const QSize &size, qint64 number, int brightness)
{
    QImage image(size, QImage::Format_RGB888);
    const int level = brightness;
    const QRgb bars[8] = { qRgb(level, level, level), qRgb(level, level, 0), qRgb(0, level, level),
        qRgb(0, level, 0), qRgb(level, 0, level), qRgb(level, 0, 0), qRgb(0, 0, level),
        qRgb(0, 0, 0) };
    const int width = size.width();
    const int shift = int(number * 4 % width);
    // One row of moving bars, copied to every row above the counter strip.
    QImage row(width, 1, QImage::Format_RGB888);
    for (int x = 0; x < width; ++x)
        fill(row, QRect(x, 0, 1, 1), bars[((x + shift) % width) * 8 / width]);
    for (int y = 0; y < size.height(); ++y)
        memcpy(image.scanLine(y), row.constScanLine(0), size_t(width) * 3);
    // The frame number, six digits on a dark strip at the bottom.
    const int unit = qMax(1, size.height() / 60);
    const int strip = unit * 9;
    fill(image, QRect(0, size.height() - strip, width, strip), qRgb(16, 16, 16));
    qint64 value = number;
    for (int d = 5; d >= 0; --d) {
        drawDigit(image, int(value % 10), QPoint(unit + d * unit * 6, size.height() - strip + unit),
            unit);
        value /= 10;
    }
    return image;
}

bool TestPatternDriver::readFrame(QImage &frame, QString &error)
{
    if (!m_connected || m_frame == m_failAfter) {
        error = QStringLiteral("The capture device is no longer available.");
        return false;
    }
    if (!m_unpaced) {
        const auto due = m_start + std::chrono::microseconds(m_pacedFrames * m_interval);
        const auto now = std::chrono::steady_clock::now();
        if (due > now)
            QThread::usleep(
                std::chrono::duration_cast<std::chrono::microseconds>(due - now).count());
    }
    frame = drawFrame(m_size, m_frame, m_brightness);
    ++m_frame;
    ++m_pacedFrames;
    m_coveredMicroSec += m_interval;
    return true;
}

AudioCapabilities TestPatternDriver::audioCapabilities() const
{
    return { { 8000, 11025, 22050, 44100, 48000 }, { 8, 16 }, { 1, 2 } };
}

QByteArray TestPatternDriver::takeAudio(const WaveFormat &format)
{
    if (!audioCapabilities().allows(format))
        return {};
    // The tone for the time the frames read so far cover, the same in every channel. A change
    // of rate starts the count afresh.
    if (format.samplesPerSec != m_toneRate) {
        m_toneRate = format.samplesPerSec;
        m_samplesGiven = m_coveredMicroSec * m_toneRate / 1000000;
    }
    const qint64 due = m_coveredMicroSec * m_toneRate / 1000000;
    const qint64 count = due - m_samplesGiven;
    if (count <= 0)
        return {};
    QByteArray out(count * format.blockAlign, Qt::Uninitialized);
    char *at = out.data();
    for (qint64 i = 0; i < count; ++i) {
        const double t = double(m_samplesGiven + i) / m_toneRate;
        const double level = 0.25 * std::sin(2 * std::numbers::pi * 1000 * t);
        for (int channel = 0; channel < format.channels; ++channel) {
            if (format.bitsPerSample == 8) {
                *at++ = char(quint8(128 + std::lround(127 * level)));
            } else {
                const qint16 sample = qint16(std::lround(32767 * level));
                std::memcpy(at, &sample, 2); // little-endian, as the machine is
                at += 2;
            }
        }
    }
    m_samplesGiven = due;
    return out;
}

} // namespace glimmerix
