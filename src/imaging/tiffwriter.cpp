// The TIFF writer: one fixed layout, little-endian, uncompressed, one strip.
//
//   0   header "II", 42, first directory at 8
//   8   16 directory entries, next-directory offset 0
//   206 X resolution, 214 Y resolution (dots per inch / 1)
//   222 document name, 16 bytes
//   238 bits per sample 8, 8, 8 (24-bit) or the colour map (palette pictures)
//   then the pixel rows, top row first, without padding

#include "othercodecs.h"
#include "picturestate.h"
#include "picturestatus.h"
#include "tiffcodec.h"
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

constexpr std::uint32_t kDirectoryOffset = 8;
constexpr int kEntryCount = 16;
constexpr std::uint32_t kXResolutionOffset = 206;
constexpr std::uint32_t kYResolutionOffset = 214;
constexpr std::uint32_t kDocumentNameOffset = 222;
constexpr std::uint32_t kExtraDataOffset = 238;
constexpr int kDocumentNameBytes = 16;
constexpr char kDocumentName[] = "Tamblyre";

static_assert(kDirectoryOffset + 2 + kEntryCount * 12 + 4 == kXResolutionOffset);
static_assert(kDocumentNameOffset + kDocumentNameBytes == kExtraDataOffset);

class LittleEndianBuffer
{
public:
    void u16(std::uint32_t value)
    {
        m_bytes.push_back(char(value & 0xFF));
        m_bytes.push_back(char((value >> 8) & 0xFF));
    }
    void u32(std::uint32_t value)
    {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value)
    {
        u16(tag);
        u16(type);
        u32(count);
        if (type == kTypeShort && count == 1) {
            u16(value);
            u16(0);
        } else {
            u32(value);
        }
    }
    void bytes(const char *data, int count) { m_bytes.append(data, count); }
    const QByteArray &data() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

} // namespace

WriteResult saveTiffFile(const QString &path, BlockHandle block)
{
    PictureView picture;
    if (!viewPicture(block, picture))
        return writeFailure(DecodeStatus::Unsuitable, QStringLiteral("not a picture"));
    const int imageClass = pictureClass(picture);
    const bool trueColour = picture.bitCount == 24;
    // Greyscale and 1-bit pictures are stored without a colour map; a 1-bit picture whose first
    // colour is the brighter one is stored as WhiteIsZero so it keeps its look.
    const bool bilevelOrGrey = imageClass == kClassGrey || imageClass == kClassBilevel;
    const bool palette = !trueColour && !bilevelOrGrey;
    int photometric = 3;
    if (trueColour)
        photometric = 2;
    else if (bilevelOrGrey)
        photometric = invertedMonochrome(picture) ? 0 : 1;
    // The colour map always has 2^bits entries, as TIFF readers require; missing ones are black.
    const int mapColours = palette ? 1 << picture.bitCount : 0;

    const std::uint64_t rowBytes = (std::uint64_t(picture.width) * picture.bitCount + 7) / 8;
    const std::uint64_t pixelBytes = rowBytes * std::uint64_t(picture.height);
    const std::uint32_t pixelOffset
        = kExtraDataOffset + (trueColour ? 6 : 0) + 6 * std::uint32_t(mapColours);
    if (pixelBytes > 0xFFFFFFFFu - pixelOffset)
        return writeFailure(
            DecodeStatus::Unsuitable, QStringLiteral("the picture is larger than a TIFF holds"));

    const std::unique_ptr<QFileDevice> target = pictureTarget(path);
    QFileDevice &file = *target;
    if (WriteResult opened = openPictureOutput(file); !opened.ok())
        return opened;

    LittleEndianBuffer head;
    head.bytes("II", 2);
    head.u16(42);
    head.u32(kDirectoryOffset);
    head.u16(kEntryCount);
    const auto sizeType = [](int value) { return value > 0xFFFF ? kTypeLong : kTypeShort; };
    head.entry(kTagImageWidth, sizeType(picture.width), 1, std::uint32_t(picture.width));
    head.entry(kTagImageLength, sizeType(picture.height), 1, std::uint32_t(picture.height));
    if (trueColour)
        head.entry(kTagBitsPerSample, kTypeShort, 3, kExtraDataOffset);
    else
        head.entry(kTagBitsPerSample, kTypeShort, 1, std::uint32_t(picture.bitCount));
    head.entry(kTagCompression, kTypeShort, 1, kCompressionNone);
    head.entry(kTagPhotometric, kTypeShort, 1, std::uint32_t(photometric));
    head.entry(kTagDocumentName, kTypeAscii, kDocumentNameBytes, kDocumentNameOffset);
    head.entry(kTagStripOffsets, kTypeLong, 1, pixelOffset);
    head.entry(kTagSamplesPerPixel, kTypeShort, 1, trueColour ? 3 : 1);
    head.entry(kTagRowsPerStrip, kTypeLong, 1, std::uint32_t(picture.height));
    head.entry(kTagStripByteCounts, kTypeLong, 1, std::uint32_t(pixelBytes));
    head.entry(kTagXResolution, kTypeRational, 1, kXResolutionOffset);
    head.entry(kTagYResolution, kTypeRational, 1, kYResolutionOffset);
    head.entry(kTagPlanarConfiguration, kTypeShort, 1, 1);
    head.entry(kTagResolutionUnit, kTypeShort, 1, 2);
    head.entry(kTagPredictor, kTypeShort, 1, 1);
    if (palette)
        head.entry(kTagColorMap, kTypeShort, 3 * std::uint32_t(mapColours), kExtraDataOffset);
    else
        head.entry(kTagThreshholding, kTypeLong, 0, 255);
    head.u32(0);
    const auto dotsPerInch = [](std::int32_t perMetre) {
        return std::uint32_t((std::max<std::int64_t>(perMetre, 0) * 100 + 1968) / 3937);
    };
    head.u32(dotsPerInch(picture.header->biXPelsPerMeter));
    head.u32(1);
    head.u32(dotsPerInch(picture.header->biYPelsPerMeter));
    head.u32(1);
    char name[kDocumentNameBytes] = {};
    std::memcpy(name, kDocumentName, sizeof(kDocumentName) - 1);
    head.bytes(name, kDocumentNameBytes);
    if (trueColour) {
        head.u16(8);
        head.u16(8);
        head.u16(8);
    }
    // Colour map: all reds, then all greens, then all blues; the 8-bit colour in the high byte.
    for (int channel = 0; channel < 3 && palette; ++channel) {
        for (int i = 0; i < mapColours; ++i) {
            std::uint8_t value = 0;
            if (i < picture.colourCount) {
                const RGBQUAD &c = picture.colours[i];
                value = channel == 0 ? c.rgbRed : channel == 1 ? c.rgbGreen : c.rgbBlue;
            }
            head.u16(std::uint32_t(value) << 8);
        }
    }
    Q_ASSERT(head.data().size() == qsizetype(pixelOffset));
    if (WriteResult written = writePictureBytes(file, head.data()); !written.ok())
        return written;

    // Rows from the top of the picture; 24-bit pixels go out as red, green, blue. The caller's
    // block is never modified: each row is converted in a buffer of its own.
    std::vector<char> row(static_cast<std::size_t>(rowBytes));
    for (int y = 0; y < picture.height; ++y) {
        codecProgress(int(std::int64_t(y) * 100 / picture.height));
        std::memcpy(row.data(), picture.topRow(y), row.size());
        if (trueColour) {
            for (std::size_t x = 0; x + 2 < row.size(); x += 3)
                std::swap(row[x], row[x + 2]);
        }
        if (WriteResult written = writePictureBytes(file, row.data(), qint64(row.size()));
            !written.ok())
            return written;
        if (codecEscapePressed())
            return writeFailure(DecodeStatus::Cancelled, cancelledDetail());
    }
    return commitPictureOutput(file);
}

int WriteTiffFile(const QString &path, BlockHandle block)
{
    return fileWriterResult(saveTiffFile(path, block), kWriteUnsuitable);
}

} // namespace glimmerix
