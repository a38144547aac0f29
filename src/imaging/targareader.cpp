// The Targa reader: colour-mapped, true-colour and greyscale pictures, raw or run-length.

#include "othercodecs.h"
#include "picturestate.h"
#include "picturestatus.h"
#include "platform/fillin.h"
#include "targacodec.h"
#include "tiffpcxtargaio.h"

#include "platform/host.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace glimmerix
{

namespace
{

using namespace targa;

// Run-length packets: a byte with bit 7 set repeats the following pixel (low 7 bits + 1 times),
// otherwise that many + 1 literal pixels follow. A packet may continue into the next row.
class PacketReader
{
public:
    PacketReader(ByteView &data, std::size_t pixelBytes)
        : m_data(data)
        , m_pixelBytes(pixelBytes)
    {
    }

    bool fill(unsigned char *target, std::size_t pixels)
    {
        while (pixels > 0) {
            if (m_left == 0) {
                const std::uint8_t packet = m_data.u8();
                m_left = (packet & 0x7F) + 1u;
                m_repeat = (packet & 0x80) != 0;
                if (m_repeat)
                    m_data.read(m_pixel, m_pixelBytes);
                if (m_data.truncated())
                    return false;
            }
            const std::size_t take = std::min<std::size_t>(pixels, m_left);
            if (m_repeat) {
                for (std::size_t i = 0; i < take; ++i, target += m_pixelBytes)
                    std::memcpy(target, m_pixel, m_pixelBytes);
            } else {
                if (!m_data.read(target, take * m_pixelBytes))
                    return false;
                target += take * m_pixelBytes;
            }
            pixels -= take;
            m_left -= unsigned(take);
        }
        return true;
    }

private:
    ByteView &m_data;
    std::size_t m_pixelBytes;
    unsigned m_left = 0;
    bool m_repeat = false;
    unsigned char m_pixel[3] = {};
};

Header readHeader(ByteView &view)
{
    Header header;
    header.idLength = view.u8();
    header.colourMapType = view.u8();
    header.imageType = view.u8();
    header.colourMapFirst = view.u16le();
    header.colourMapLength = view.u16le();
    header.colourMapEntryBits = view.u8();
    header.xOrigin = view.u16le();
    header.yOrigin = view.u16le();
    header.width = view.u16le();
    header.height = view.u16le();
    header.pixelDepth = view.u8();
    header.descriptor = view.u8();
    return header;
}

// Whether the reader handles this image type at this pixel depth.
bool supported(const Header &header)
{
    const int depth = header.pixelDepth;
    switch (header.imageType) {
    case kTypeColourMapped:
        return depth == 4 || depth == 8;
    case kTypeColourMappedRle:
    case kTypeGreyscaleRle:
        return depth == 8;
    case kTypeTrueColour:
        return depth == 15 || depth == 16 || depth == 24 || depth == 32;
    case kTypeTrueColourRle:
        return depth == 24;
    case kTypeGreyscale:
        return depth == 1 || depth == 8;
    }
    return false;
}

bool colourMapped(const Header &header)
{
    return header.imageType == kTypeColourMapped || header.imageType == kTypeColourMappedRle;
}

bool runLength(const Header &header)
{
    return header.imageType >= kTypeColourMappedRle;
}

// A 15- or 16-bit pixel: red in bits 10-14, green in 5-9, blue in 0-4.
void expand16(std::uint16_t value, unsigned char *target)
{
    for (int channel = 0; channel < 3; ++channel) {
        const unsigned v = (value >> (5 * channel)) & 0x1F;
        target[channel] = std::uint8_t(v * 8 + v / 4);
    }
}

} // namespace

DecodeResult decodeTga(const QByteArray &bytes)
{
    ByteView file(bytes);
    if (std::size_t(bytes.size()) < kHeaderBytes)
        return pictureFailure(
            DecodeStatus::WrongKind, QStringLiteral("shorter than a Targa header"));
    const Header header = readHeader(file);
    if (!supported(header))
        return pictureFailure(DecodeStatus::Unsupported,
            fillIn(QStringLiteral("Targa: image type %1 at %2 bits per pixel not supported"),
                header.imageType, header.pixelDepth));
    const int depth = header.pixelDepth;
    const int bitCount = depth > 8 ? 24 : depth;
    int colours = 0;
    if (colourMapped(header)) {
        colours = std::min(int(header.colourMapFirst) + header.colourMapLength, 1 << depth);
        if (header.colourMapType != 1 || colours == 0)
            return pictureFailure(
                DecodeStatus::Failed, QStringLiteral("the colour map is missing"));
    } else if (header.imageType == kTypeGreyscale || header.imageType == kTypeGreyscaleRle) {
        colours = depth == 1 ? 2 : 256;
    }
    const int entryBits = header.colourMapEntryBits;
    if (header.colourMapType == 1 && entryBits != 15 && entryBits != 16 && entryBits != 24
        && entryBits != 32)
        return pictureFailure(DecodeStatus::Failed,
            QStringLiteral("colour map entries of %1 bits are not supported").arg(entryBits));
    const PictureLayout layout = pictureLayout(header.width, header.height, bitCount, colours);
    if (!layout.valid)
        return layoutRefusal(header.width, header.height, bitCount);

    file.skip(header.idLength);
    const std::size_t entryBytes = std::size_t(entryBits + 7) / 8;
    const std::size_t mapPosition = file.position();
    if (header.colourMapType == 1)
        file.skip(std::uint64_t(header.colourMapLength) * entryBytes);
    if (file.truncated())
        return pictureFailure(DecodeStatus::Failed, truncatedDetail());
    // Refuse pixel data too short for the picture before allocating the block.
    const std::uint64_t pixels = std::uint64_t(header.width) * header.height;
    // 15-bit pixels take two bytes like 16-bit ones.
    const std::uint64_t rowBytes = depth > 8
        ? std::uint64_t(header.width) * std::uint64_t((depth + 7) / 8)
        : (std::uint64_t(header.width) * depth + 7) / 8;
    const std::uint64_t available = file.remaining();
    if (runLength(header) ? pixels > available * 128 : rowBytes * header.height > available)
        return pictureFailure(DecodeStatus::Failed, truncatedDetail());

    DecodeResult made = newPictureBlock(header.width, header.height, bitCount, colours, 0);
    if (made.status != DecodeStatus::Ok)
        return made;
    OwnedBlock block(made.block);
    BITMAPINFOHEADER *dib = dibHeader(block.handle());
    RGBQUAD *table = dibColors(dib);
    if (colourMapped(header)) {
        ByteView map(bytes);
        map.seek(mapPosition);
        for (int i = 0; i < header.colourMapLength; ++i) {
            RGBQUAD entry = { 0, 0, 0, 0 };
            if (entryBytes == 2) {
                const std::uint16_t value = map.u16le();
                entry
                    = { std::uint8_t((value & 0x1F) << 3), std::uint8_t(((value >> 5) & 0x1F) << 3),
                          std::uint8_t(((value >> 10) & 0x1F) << 3), 0 };
            } else {
                entry.rgbBlue = map.u8();
                entry.rgbGreen = map.u8();
                entry.rgbRed = map.u8();
                map.skip(entryBytes - 3);
            }
            const int index = header.colourMapFirst + i;
            if (index < colours)
                table[index] = entry;
        }
    } else if (colours == 2) {
        table[1] = { 255, 255, 255, 0 };
    } else if (colours == 256) {
        for (int i = 0; i < 256; ++i)
            table[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    }

    const bool topFirst = (header.descriptor & kDescriptorTopFirst) != 0;
    const int height = header.height;
    const int width = header.width;
    unsigned char *bits = dibBits(dib);
    const std::size_t pixelBytes = depth > 8 ? 3 : 1;
    PacketReader packets(file, pixelBytes);
    std::vector<unsigned char> raw(static_cast<std::size_t>(rowBytes));
    for (int y = 0; y < height; ++y) {
        if (y % 16 == 0) {
            if (codecEscapePressed())
                return pictureFailure(DecodeStatus::Cancelled, cancelledDetail());
            codecProgress(y * 100 / height);
        }
        unsigned char *target
            = bits + std::size_t(topFirst ? height - 1 - y : y) * layout.rowLength;
        if (runLength(header)) {
            if (!packets.fill(target, std::size_t(width)))
                return pictureFailure(DecodeStatus::Failed, truncatedDetail());
            continue;
        }
        if (!file.read(raw.data(), raw.size()))
            return pictureFailure(DecodeStatus::Failed, truncatedDetail());
        switch (depth) {
        case 15:
        case 16:
            for (int x = 0; x < width; ++x)
                expand16(std::uint16_t(raw[2 * x] | raw[2 * x + 1] << 8), target + 3 * x);
            break;
        case 32:
            for (int x = 0; x < width; ++x)
                std::memcpy(target + 3 * x, raw.data() + 4 * x, 3);
            break;
        default:
            std::memcpy(target, raw.data(), raw.size());
            break;
        }
    }
    codecProgress(100);
    return { DecodeStatus::Ok, block.release(), {} };
}

DecodeResult loadTgaFile(const QString &path)
{
    return readPictureFile(path, decodeTga);
}

BlockHandle ReadTgaFile(const QString &path)
{
    const DecodeResult result = loadTgaFile(path);
    if (result.status == DecodeStatus::Unsupported)
        host().showMessage(kMessageUnsupportedTarga);
    return fileReaderResult(result, path, kReadFailed);
}

} // namespace glimmerix
