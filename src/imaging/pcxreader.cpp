// The PCX reader: 1-bit, 8-bit, 4 planes of 1 bit and 3 planes of 8 bits.

#include "othercodecs.h"
#include "pcxcodec.h"
#include "picturestate.h"
#include "picturestatus.h"
#include "platform/fillin.h"
#include "tiffpcxtargaio.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace glimmerix
{

namespace
{

// Run-length decoder over the encoded body. A run may continue into the next row.
class RleReader
{
public:
    explicit RleReader(ByteView body)
        : m_body(body)
    {
    }

    // Fills `count` bytes; false when the body ended first.
    bool fill(unsigned char *target, std::size_t count)
    {
        while (count > 0) {
            if (m_runLeft == 0) {
                if (m_body.atEnd())
                    return false;
                const std::uint8_t byte = m_body.u8();
                if (byte >= 192) {
                    m_runLeft = byte & 63;
                    m_runValue = m_body.u8();
                    if (m_body.truncated())
                        return false;
                } else {
                    m_runLeft = 1;
                    m_runValue = byte;
                }
                continue;
            }
            const std::size_t take = std::min(count, m_runLeft);
            std::memset(target, m_runValue, take);
            target += take;
            count -= take;
            m_runLeft -= take;
        }
        return true;
    }

private:
    ByteView m_body;
    std::size_t m_runLeft = 0;
    std::uint8_t m_runValue = 0;
};

enum class Layout { OneBit, EightBit, FourPlanes, ThreePlanes };

bool layoutOf(int bitsPerPixel, int planes, Layout &layout)
{
    if (planes == 1 && bitsPerPixel == 1)
        layout = Layout::OneBit;
    else if (planes == 1 && bitsPerPixel == 8)
        layout = Layout::EightBit;
    else if (planes == 4 && bitsPerPixel == 1)
        layout = Layout::FourPlanes;
    else if (planes == 3 && bitsPerPixel == 8)
        layout = Layout::ThreePlanes;
    else
        return false;
    return true;
}

// Turns one decoded row (`planes` planes of `bytesPerLine` bytes) into a block row.
void storeRow(Layout layout, const unsigned char *decoded, std::size_t bytesPerLine, int width,
    unsigned char *target, std::size_t rowLength)
{
    switch (layout) {
    case Layout::OneBit:
    case Layout::EightBit:
        std::memcpy(target, decoded, std::min(bytesPerLine, rowLength));
        return;
    case Layout::FourPlanes:
        // Plane k holds bit k of every pixel; pixels are packed two a byte, high nibble first.
        for (int x = 0; x < width; ++x) {
            const std::size_t byte = std::size_t(x) / 8;
            if (byte >= bytesPerLine)
                break;
            const int shift = 7 - x % 8;
            unsigned value = 0;
            for (int plane = 0; plane < 4; ++plane)
                value |= ((decoded[plane * bytesPerLine + byte] >> shift) & 1u) << plane;
            target[x / 2] |= std::uint8_t(x % 2 == 0 ? value << 4 : value);
        }
        return;
    case Layout::ThreePlanes:
        for (int x = 0; x < width && std::size_t(x) < bytesPerLine; ++x) {
            target[3 * x] = decoded[2 * bytesPerLine + std::size_t(x)];
            target[3 * x + 1] = decoded[bytesPerLine + std::size_t(x)];
            target[3 * x + 2] = decoded[std::size_t(x)];
        }
        return;
    }
}

} // namespace

DecodeResult decodePcx(const QByteArray &bytes)
{
    using namespace pcx;
    if (std::size_t(bytes.size()) < kHeaderBytes)
        return pictureFailure(DecodeStatus::WrongKind, QStringLiteral("shorter than a PCX header"));
    ByteView header(bytes);
    if (header.u8() != kManufacturer)
        return pictureFailure(DecodeStatus::WrongKind, QStringLiteral("not a PCX file"));
    header.seek(kOffsetBitsPerPixel);
    const int bitsPerPixel = header.u8();
    const int xmin = header.u16le();
    const int ymin = header.u16le();
    const int xmax = header.u16le();
    const int ymax = header.u16le();
    const int dpi = header.u16le();
    header.seek(kOffsetPlanes);
    const int planes = header.u8();
    const std::size_t bytesPerLine = header.u16le();
    const int paletteInfo = header.u16le();

    const int width = xmax - xmin + 1;
    const int height = ymax - ymin + 1;
    const int bitCount = bitsPerPixel * planes;
    Layout layout = Layout::OneBit;
    if (width <= 0 || height <= 0)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("the picture window is empty"));
    if (!layoutOf(bitsPerPixel, planes, layout))
        return pictureFailure(DecodeStatus::Unsupported,
            fillIn(QStringLiteral("PCX: %1 planes x %2 bits not supported"), planes, bitsPerPixel));
    const int colours = bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
    const PictureLayout picture = pictureLayout(width, height, bitCount, colours);
    if (!picture.valid)
        return layoutRefusal(width, height, bitCount);
    // Lines shorter than the window are malformed; refusing them also keeps the block in
    // proportion to the data that fills it.
    if (bytesPerLine < (std::size_t(width) * std::size_t(bitsPerPixel) + 7) / 8)
        return pictureFailure(DecodeStatus::Failed,
            fillIn(QStringLiteral("%1 bytes per line are too few for %2 pixels"), bytesPerLine,
                width));

    const std::size_t fileSize = std::size_t(bytes.size());
    const bool greyRamp = paletteInfo == kPaletteGreyscale && colours != 2;
    const bool trailer = colours == 256 && !greyRamp;
    if (trailer
        && (fileSize < kHeaderBytes + kPaletteTrailerBytes
            || std::uint8_t(bytes[qsizetype(fileSize - kPaletteTrailerBytes)]) != kPaletteMarker))
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("the palette is missing"));
    const std::size_t bodySize = fileSize - kHeaderBytes - (trailer ? kPaletteTrailerBytes : 0);
    // Two encoded bytes give at most 63 decoded ones: a body too short for the picture is
    // refused before the block is allocated.
    const std::uint64_t decodedBytes = std::uint64_t(bytesPerLine) * std::uint64_t(planes) * height;
    if (decodedBytes > std::uint64_t(bodySize) * 32 + 63)
        return pictureFailure(DecodeStatus::Failed, truncatedDetail());

    DecodeResult made = newPictureBlock(width, height, bitCount, colours, dpi * 3937 / 100);
    if (made.status != DecodeStatus::Ok)
        return made;
    OwnedBlock block(made.block);
    BITMAPINFOHEADER *dib = dibHeader(block.handle());
    RGBQUAD *table = dibColors(dib);
    if (greyRamp) {
        const int step = 255 / (colours - 1);
        for (int i = 0; i < colours; ++i)
            table[i]
                = { std::uint8_t(i * step), std::uint8_t(i * step), std::uint8_t(i * step), 0 };
    } else if (colours == 2) {
        table[0] = { 0, 0, 0, 0 };
        table[1] = { 255, 255, 255, 0 };
    } else if (colours == 16) {
        const auto *palette
            = reinterpret_cast<const std::uint8_t *>(bytes.constData()) + kOffsetPalette;
        for (int i = 0; i < 16; ++i)
            table[i] = { palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0 };
    } else if (colours == 256) {
        const auto *palette = reinterpret_cast<const std::uint8_t *>(bytes.constData()) + fileSize
            - kPaletteTrailerBytes + 1;
        for (int i = 0; i < 256; ++i)
            table[i] = { palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0 };
    }

    RleReader rle(ByteView(
        reinterpret_cast<const unsigned char *>(bytes.constData()) + kHeaderBytes, bodySize));
    std::vector<unsigned char> decoded(bytesPerLine * std::size_t(planes));
    unsigned char *bits = dibBits(dib);
    for (int y = 0; y < height; ++y) {
        if (y % 16 == 0) {
            if (codecEscapePressed())
                return pictureFailure(DecodeStatus::Cancelled, cancelledDetail());
            codecProgress(y * 100 / height);
        }
        if (!rle.fill(decoded.data(), decoded.size()))
            return pictureFailure(DecodeStatus::Failed, truncatedDetail());
        unsigned char *target = bits + std::size_t(height - 1 - y) * picture.rowLength;
        storeRow(layout, decoded.data(), bytesPerLine, width, target, picture.rowLength);
    }
    codecProgress(100);
    return { DecodeStatus::Ok, block.release(), {} };
}

DecodeResult loadPcxFile(const QString &path)
{
    return readPictureFile(path, decodePcx);
}

BlockHandle ReadPcxFile(const QString &path)
{
    return fileReaderResult(loadPcxFile(path), path, kReadFailed);
}

} // namespace glimmerix
