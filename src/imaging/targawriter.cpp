// The Targa writer: uncompressed, bottom row first, 24-bit colour map for palette pictures.

#include "othercodecs.h"
#include "picturestate.h"
#include "picturestatus.h"
#include "targacodec.h"
#include "tiffpcxtargaio.h"

#include <QFileDevice>

#include <algorithm>
#include <memory>
#include <new>

namespace glimmerix
{

namespace
{

using namespace targa;

constexpr qsizetype kWritePiece = 32767;

void putU16(QByteArray &bytes, std::uint32_t value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char((value >> 8) & 0xFF));
}

} // namespace

WriteResult saveTgaFile(const QString &path, BlockHandle block)
{
    PictureView picture;
    if (WriteResult viewed = viewPictureToWrite(block, picture); !viewed.ok())
        return viewed;
    const int imageClass = pictureClass(picture);
    const bool palette = imageClass == kClassPalette8 || imageClass == kClassPalette4;
    const int colours = palette ? picture.colourCount : 0;
    // Greyscale 1-bit files mean black for 0; a block whose first colour is white is inverted.
    const bool invert = invertedMonochrome(picture);

    QByteArray header;
    header.append(char(0));
    header.append(char(palette ? 1 : 0));
    header.append(char(palette       ? kTypeColourMapped
            : picture.bitCount == 24 ? kTypeTrueColour
                                     : kTypeGreyscale));
    putU16(header, 0);
    putU16(header, std::uint32_t(colours));
    header.append(char(palette ? 24 : 0));
    putU16(header, 0);
    putU16(header, 0);
    putU16(header, std::uint32_t(picture.width));
    putU16(header, std::uint32_t(picture.height));
    header.append(char(picture.bitCount));
    header.append(char(0));
    Q_ASSERT(header.size() == qsizetype(kHeaderBytes));

    const std::unique_ptr<QFileDevice> target = pictureTarget(path);
    QFileDevice &file = *target;
    if (WriteResult opened = openPictureOutput(file); !opened.ok())
        return opened;
    if (WriteResult written = writePictureBytes(file, header); !written.ok())
        return written;

    const std::size_t rowBytes = (std::size_t(picture.width) * picture.bitCount + 7) / 8;
    QByteArray data;
    try {
        data.reserve(qsizetype(colours) * 3 + qsizetype(rowBytes) * picture.height);
    } catch (const std::bad_alloc &) {
        return writeFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
    }
    for (int i = 0; i < colours; ++i) {
        data.append(char(picture.colours[i].rgbBlue));
        data.append(char(picture.colours[i].rgbGreen));
        data.append(char(picture.colours[i].rgbRed));
    }
    for (int y = 0; y < picture.height; ++y) {
        if (codecEscapePressed())
            return writeFailure(DecodeStatus::Cancelled, cancelledDetail());
        codecProgress(int(std::int64_t(y) * 50 / picture.height));
        const auto *row = reinterpret_cast<const char *>(picture.blockRow(y));
        if (!invert) {
            data.append(row, qsizetype(rowBytes));
            continue;
        }
        for (std::size_t i = 0; i < rowBytes; ++i)
            data.append(char(~row[i]));
    }
    for (qsizetype at = 0; at < data.size(); at += kWritePiece) {
        if (codecEscapePressed())
            return writeFailure(DecodeStatus::Cancelled, cancelledDetail());
        const qsizetype piece = std::min(kWritePiece, data.size() - at);
        if (WriteResult written = writePictureBytes(file, data.constData() + at, piece);
            !written.ok())
            return written;
        codecProgress(int(50 + std::int64_t(at + piece) * 50 / data.size()));
    }
    return commitPictureOutput(file);
}

int WriteTgaFile(const QString &path, BlockHandle block)
{
    const WriteResult result = saveTgaFile(path, block);
    if (result.status == DecodeStatus::NoMemory)
        return kTargaNoMemory;
    return fileWriterResult(result, kWriteUnsuitable);
}

} // namespace glimmerix
