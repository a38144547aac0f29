#include "capturedriver.h"

#include "imaging/dibblock.h"
#include "testpatterndriver.h"
#include "v4l2driver.h"

#include <cmath>

namespace glimmerix
{

namespace
{

QString &deviceFolderInForce()
{
    static QString folder = QStringLiteral("/dev");
    return folder;
}

QString videoNode(const QString &deviceFolder, int index)
{
    return deviceFolder + QStringLiteral("/video") + QString::number(index);
}

} // namespace

QString captureDeviceFolder()
{
    return deviceFolderInForce();
}

void setCaptureDeviceFolder(const QString &folder)
{
    deviceFolderInForce() = folder;
}

QList<CaptureDriverEntry> listCaptureDrivers(const CaptureDescriber &describe)
{
    QList<CaptureDriverEntry> out;
    for (int index = 0; index < 10; ++index) {
        if (std::optional<CaptureDriverEntry> entry = describe(index)) {
            entry->index = index;
            out.append(*entry);
        }
    }
    return out;
}

QList<CaptureDriverEntry> installedCaptureDrivers(const QString &deviceFolder)
{
    QList<CaptureDriverEntry> out = listCaptureDrivers([&deviceFolder](int index) {
        return V4l2Driver::describe(videoNode(deviceFolder, index), index);
    });
    out.append({ kTestPatternIndex, TestPatternDriver::driverName(), QStringLiteral("1.0") });
    return out;
}

std::unique_ptr<CaptureDriver> makeCaptureDriver(int index, const QString &deviceFolder)
{
    if (index == kTestPatternIndex)
        return std::make_unique<TestPatternDriver>();
    if (index < 0 || index > 9)
        return nullptr;
    return std::make_unique<V4l2Driver>(videoNode(deviceFolder, index));
}

int framesPerSecondOf(qint64 microSecPerFrame)
{
    if (microSecPerFrame <= 0)
        return 0;
    return int(std::lround(1000000.0 / double(microSecPerFrame)));
}

qint64 microSecPerFrameOf(int framesPerSecond)
{
    return 1000000 / qMax(1, framesPerSecond);
}

PreviewPlacement placePreview(const QSize &frame, const QRect &area)
{
    if (frame.isValid() && frame.width() <= area.width() && frame.height() <= area.height()) {
        const QPoint topLeft(area.left() + (area.width() - frame.width()) / 2,
            area.top() + (area.height() - frame.height()) / 2);
        return { QRect(topLeft, frame), false };
    }
    return { area, true };
}

BlockHandle frameToImageBlock(const QImage &frame)
{
    const QImage rgb = frame.convertToFormat(QImage::Format_RGB888);
    const DecodeResult made = createImageBlock(rgb.width(), rgb.height(), 24, 0);
    if (made.status != DecodeStatus::Ok)
        return 0;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar *in = rgb.constScanLine(y);
        uchar *out = dibRow(header, rgb.height() - 1 - y);
        for (int x = 0; x < rgb.width(); ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return made.block;
}

} // namespace glimmerix
