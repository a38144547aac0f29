// The Targa writer: uncompressed, bottom row first, 24-bit colour map for palette pictures.

#include "othercodecs.h"
#include "targacodec.h"
#include "tiffpcxtargaio.h"

#include <QSaveFile>

#include <algorithm>
#include <new>

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

int WriteTgaFile(const QString &path, BlockHandle block)
{
    PictureView picture;
    if (!viewPicture(block, picture))
        return 2;
    if (picture.width > 0xFFFF || picture.height > 0xFFFF)
        return 2;
    const int imageClass = pictureClass(picture);
    const bool palette = imageClass == 3 || imageClass == 4;
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

    QSaveFile file(path);
    if (!openPictureOutput(file))
        return 3;
    if (file.write(header) != header.size())
        return 0;

    const std::size_t rowBytes = (std::size_t(picture.width) * picture.bitCount + 7) / 8;
    QByteArray data;
    try {
        data.reserve(qsizetype(colours) * 3 + qsizetype(rowBytes) * picture.height);
    } catch (const std::bad_alloc &) {
        return kTargaNoMemory;
    }
    for (int i = 0; i < colours; ++i) {
        data.append(char(picture.colours[i].rgbBlue));
        data.append(char(picture.colours[i].rgbGreen));
        data.append(char(picture.colours[i].rgbRed));
    }
    for (int y = 0; y < picture.height; ++y) {
        if (codecEscapePressed())
            return 2;
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
            return 2;
        const qsizetype piece = std::min(kWritePiece, data.size() - at);
        if (file.write(data.constData() + at, piece) != piece)
            return 0;
        codecProgress(int(50 + std::int64_t(at + piece) * 50 / data.size()));
    }
    return commitPictureOutput(file);
}
