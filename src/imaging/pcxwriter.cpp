// The PCX writer: version 5, run-length encoded, planes as the bit depth needs them.

#include "othercodecs.h"
#include "pcxcodec.h"
#include "picturestate.h"
#include "picturestatus.h"
#include "tiffpcxtargaio.h"

#include <QFileDevice>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace glimmerix
{

namespace
{

void putU16(QByteArray &bytes, std::size_t at, std::uint32_t value)
{
    bytes[qsizetype(at)] = char(value & 0xFF);
    bytes[qsizetype(at + 1)] = char((value >> 8) & 0xFF);
}

// Splits one block row into the planes the file stores.
void planeRow(const PictureView &picture, const unsigned char *source, std::size_t bytesPerLine,
    bool invert, std::vector<unsigned char> &row)
{
    std::fill(row.begin(), row.end(), 0);
    switch (picture.bitCount) {
    case 1:
    case 8:
        std::memcpy(row.data(), source, std::min(bytesPerLine, picture.rowLength));
        if (invert) {
            for (std::size_t i = 0; i < bytesPerLine; ++i)
                row[i] = std::uint8_t(~row[i]);
        }
        return;
    case 4:
        for (int x = 0; x < picture.width; ++x) {
            const unsigned value = x % 2 == 0 ? source[x / 2] >> 4 : source[x / 2] & 0x0F;
            for (int plane = 0; plane < 4; ++plane) {
                if (value & (1u << plane))
                    row[std::size_t(plane) * bytesPerLine + std::size_t(x / 8)]
                        |= std::uint8_t(0x80 >> (x % 8));
            }
        }
        return;
    case 24:
        for (int x = 0; x < picture.width; ++x) {
            row[std::size_t(x)] = source[3 * x + 2];
            row[bytesPerLine + std::size_t(x)] = source[3 * x + 1];
            row[2 * bytesPerLine + std::size_t(x)] = source[3 * x];
        }
        return;
    }
}

} // namespace

void encodePcxRow(const unsigned char *row, std::size_t size, QByteArray &out)
{
    std::size_t i = 0;
    while (i < size) {
        const unsigned char value = row[i];
        std::size_t run = 1;
        while (i + run < size && run < 63 && row[i + run] == value)
            ++run;
        if (run > 1 || value >= 192) {
            out.append(char(192 + run));
            out.append(char(value));
        } else {
            out.append(char(value));
        }
        i += run;
    }
}

WriteResult savePcxFile(const QString &path, BlockHandle block)
{
    using namespace pcx;
    PictureView picture;
    if (WriteResult viewed = viewPictureToWrite(block, picture); !viewed.ok())
        return viewed;
    const int imageClass = pictureClass(picture);
    const int bitsPerPixel = picture.bitCount <= 4 ? 1 : 8;
    const int planes = picture.bitCount == 4 ? 4 : picture.bitCount == 24 ? 3 : 1;
    const std::size_t bytesPerLine = (std::size_t(picture.width) * bitsPerPixel + 7) / 8;
    // 1-bit files mean black for 0; a block whose first colour is white is stored inverted.
    const bool invert = invertedMonochrome(picture);

    QByteArray header(int(kHeaderBytes), '\0');
    header[kOffsetManufacturer] = char(kManufacturer);
    header[kOffsetVersion] = char(kVersion);
    header[kOffsetEncoding] = char(kEncodingRle);
    header[kOffsetBitsPerPixel] = char(bitsPerPixel);
    putU16(header, kOffsetWindow + 4, std::uint32_t(picture.width - 1));
    putU16(header, kOffsetWindow + 6, std::uint32_t(picture.height - 1));
    const auto dotsPerInch = [](std::int32_t perMetre) {
        return std::uint32_t(std::min<std::int64_t>(
            (std::max<std::int64_t>(perMetre, 0) * 100 + 3936) / 3937, 0xFFFF));
    };
    putU16(header, kOffsetDpi, dotsPerInch(picture.header->biXPelsPerMeter));
    putU16(header, kOffsetDpi + 2, dotsPerInch(picture.header->biYPelsPerMeter));
    if (picture.bitCount == 4) {
        for (int i = 0; i < std::min(16, picture.colourCount); ++i) {
            header[qsizetype(kOffsetPalette + 3 * i)] = char(picture.colours[i].rgbRed);
            header[qsizetype(kOffsetPalette + 3 * i + 1)] = char(picture.colours[i].rgbGreen);
            header[qsizetype(kOffsetPalette + 3 * i + 2)] = char(picture.colours[i].rgbBlue);
        }
    } else if (picture.bitCount == 1) {
        for (std::size_t i = 3; i < 6; ++i)
            header[qsizetype(kOffsetPalette + i)] = char(255);
    }
    header[kOffsetPlanes] = char(planes);
    putU16(header, kOffsetBytesPerLine, std::uint32_t(bytesPerLine));
    putU16(header, kOffsetPaletteInfo, imageClass == kClassGrey ? kPaletteGreyscale : 1);

    const std::unique_ptr<QFileDevice> target = pictureTarget(path);
    QFileDevice &file = *target;
    if (WriteResult opened = openPictureOutput(file); !opened.ok())
        return opened;
    if (WriteResult written = writePictureBytes(file, header); !written.ok())
        return written;

    std::vector<unsigned char> row(bytesPerLine * std::size_t(planes));
    QByteArray encoded;
    for (int y = 0; y < picture.height; ++y) {
        if (codecEscapePressed())
            return writeFailure(DecodeStatus::Cancelled, cancelledDetail());
        codecProgress(int(std::int64_t(y) * 100 / picture.height));
        planeRow(picture, picture.topRow(y), bytesPerLine, invert, row);
        encoded.clear();
        encodePcxRow(row.data(), row.size(), encoded);
        if (WriteResult written = writePictureBytes(file, encoded); !written.ok())
            return written;
    }
    if (picture.bitCount == 8 && imageClass != kClassGrey) {
        QByteArray trailer(int(kPaletteTrailerBytes), '\0');
        trailer[0] = char(kPaletteMarker);
        for (int i = 0; i < std::min(256, picture.colourCount); ++i) {
            trailer[1 + 3 * i] = char(picture.colours[i].rgbRed);
            trailer[2 + 3 * i] = char(picture.colours[i].rgbGreen);
            trailer[3 + 3 * i] = char(picture.colours[i].rgbBlue);
        }
        if (WriteResult written = writePictureBytes(file, trailer); !written.ok())
            return written;
    }
    return commitPictureOutput(file);
}

int WritePcxFile(const QString &path, BlockHandle block)
{
    return fileWriterResult(savePcxFile(path, block), kWriteFailed);
}

} // namespace glimmerix
