#include "gifreader.h"

#include "picturestatus.h"
#include "rgbblock.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

namespace glimmerix
{

DecodeResult readGif(std::span<const unsigned char> bytes)
{
    const QByteArray data = QByteArray::fromRawData(
        reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    if (!reader.canRead())
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("not a readable GIF file"));
    const QSize announced = reader.size();
    if (announced.isValid()) {
        DecodeResult size = checkPictureSize(announced.width(), announced.height(), 24);
        if (size.status != DecodeStatus::Ok)
            return size;
    }
    QImage frame;
    if (!reader.read(&frame) || frame.isNull())
        return pictureFailure(DecodeStatus::Failed,
            QStringLiteral("the GIF data is damaged (%1)").arg(reader.errorString()));
    frame.convertTo(QImage::Format_RGBA8888);
    DecodeResult made = newRgbBlock(frame.width(), frame.height());
    if (made.status != DecodeStatus::Ok)
        return made;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    for (int row = 0; row < frame.height(); ++row)
        storeRow(header, row, frame.constScanLine(row), RowLayout::Rgba);
    return made;
}

} // namespace glimmerix
