// The TIFF directory parser: header, first image file directory and the directory summary.

#include "tiffcodec.h"
#include "tiffpcxtargaio.h"

namespace glimmerix
{

namespace
{

constexpr std::size_t kEntryBytes = 12;

int typeSize(std::uint16_t type)
{
    switch (type) {
    case kTypeByte:
    case kTypeAscii:
        return 1;
    case kTypeShort:
        return 2;
    case kTypeLong:
        return 4;
    case kTypeRational:
        return 8;
    }
    return 0;
}

struct Entry {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::uint64_t valueField = 0; // file position of the entry's 4-byte value field
    std::uint32_t offset = 0; // the value field read as an offset
};

// File position of an entry's values: in the value field itself when they fit in its four
// bytes, else at the offset the field holds.
std::uint64_t valuePosition(const Entry &entry)
{
    const std::uint64_t bytes = std::uint64_t(typeSize(entry.type)) * entry.count;
    return bytes <= 4 ? entry.valueField : entry.offset;
}

class DirectoryParser
{
public:
    DirectoryParser(const QByteArray &file, bool bigEndian)
        : m_view(file)
        , m_bigEndian(bigEndian)
    {
    }

    // The first value of a SHORT or LONG entry (other types give 0).
    std::uint32_t number(const Entry &entry)
    {
        m_view.seek(valuePosition(entry));
        switch (entry.type) {
        case kTypeShort:
            return m_view.u16(m_bigEndian);
        case kTypeLong:
            return m_view.u32(m_bigEndian);
        case kTypeByte:
            return m_view.u8();
        }
        return 0;
    }

    // A RATIONAL as numerator / denominator, integer division; 0 for a zero denominator.
    std::uint32_t quotient(const Entry &entry)
    {
        if (entry.type != kTypeRational)
            return number(entry);
        m_view.seek(valuePosition(entry));
        const std::uint32_t numerator = m_view.u32(m_bigEndian);
        const std::uint32_t denominator = m_view.u32(m_bigEndian);
        return denominator == 0 ? 0 : numerator / denominator;
    }

    bool startsWithRicoh(const Entry &entry)
    {
        static const char kRicoh[] = "RICOH";
        if (entry.type != kTypeAscii || entry.count < 5)
            return false;
        m_view.seek(valuePosition(entry));
        for (int i = 0; i < 5; ++i) {
            if (m_view.u8() != static_cast<unsigned char>(kRicoh[i]))
                return false;
        }
        return true;
    }

    ByteView &view() { return m_view; }

private:
    ByteView m_view;
    bool m_bigEndian;
};

std::uint32_t dotsPerInch(std::uint32_t quotient, int unit)
{
    switch (unit) {
    case 2:
        return quotient;
    case 3:
        return std::uint32_t((std::uint64_t(quotient) * 10000 + 3936) / 3937);
    }
    return 0;
}

} // namespace

int parseTiffDirectory(const QByteArray &file, TiffDirectory &directory)
{
    directory = TiffDirectory();
    ByteView header(file);
    const std::uint8_t first = header.u8();
    const std::uint8_t second = header.u8();
    if (first == 'I' && second == 'I')
        directory.bigEndian = false;
    else if (first == 'M' && second == 'M')
        directory.bigEndian = true;
    else
        return 0;
    const bool big = directory.bigEndian;
    header.seek(4);
    const std::uint32_t directoryOffset = header.u32(big);
    header.seek(directoryOffset);
    const int entryCount = header.u16(big);
    if (header.truncated() || entryCount > kTiffMaxEntries)
        return 0;
    // Every entry must be inside the file.
    if (header.remaining() < std::size_t(entryCount) * kEntryBytes)
        return 0;

    DirectoryParser parser(file, big);
    std::uint32_t xQuotient = 0;
    std::uint32_t yQuotient = 0;
    bool rowsPerStripSet = false;
    for (int i = 0; i < entryCount; ++i) {
        Entry entry;
        entry.tag = header.u16(big);
        entry.type = header.u16(big);
        entry.count = header.u32(big);
        entry.valueField = header.position();
        entry.offset = header.u32(big);
        switch (entry.tag) {
        case kTagImageWidth:
            directory.width = parser.number(entry);
            break;
        case kTagImageLength:
            directory.height = parser.number(entry);
            break;
        case kTagBitsPerSample:
            directory.bitsPerSample = int(parser.number(entry));
            break;
        case kTagCompression:
            directory.compression = int(parser.number(entry));
            break;
        case kTagPhotometric:
            directory.photometric = int(parser.number(entry));
            break;
        case kTagMake:
            directory.ricoh = parser.startsWithRicoh(entry);
            break;
        case kTagStripOffsets:
            directory.stripOffsets = { entry.type, entry.count, valuePosition(entry) };
            break;
        case kTagSamplesPerPixel:
            directory.samplesPerPixel = int(parser.number(entry));
            break;
        case kTagRowsPerStrip:
            directory.rowsPerStrip = parser.number(entry);
            rowsPerStripSet = true;
            break;
        case kTagStripByteCounts:
            directory.stripByteCounts = { entry.type, entry.count, valuePosition(entry) };
            break;
        case kTagXResolution:
            xQuotient = parser.quotient(entry);
            break;
        case kTagYResolution:
            yQuotient = parser.quotient(entry);
            break;
        case kTagPlanarConfiguration:
            directory.planarConfiguration = int(parser.number(entry));
            break;
        case kTagResolutionUnit:
            directory.resolutionUnit = int(parser.number(entry));
            break;
        case kTagPredictor:
            directory.predictor = int(parser.number(entry));
            break;
        case kTagColorMap:
            directory.colorMap = { entry.type, entry.count, valuePosition(entry) };
            break;
        }
    }
    if (!rowsPerStripSet || directory.rowsPerStrip == 0)
        directory.rowsPerStrip = directory.height;
    directory.xDotsPerInch = dotsPerInch(xQuotient, directory.resolutionUnit);
    directory.yDotsPerInch = dotsPerInch(yQuotient, directory.resolutionUnit);
    return big ? 2 : 1;
}

} // namespace glimmerix
