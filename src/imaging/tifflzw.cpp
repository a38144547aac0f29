// TIFF LZW decoding (TIFF 6.0, section 13): MSB-first codes, 9 to 12 bits, early width change.

#include "tiffcodec.h"

#include <array>

namespace glimmerix
{

namespace
{

constexpr unsigned kClearCode = 256;
constexpr unsigned kEndCode = 257;
constexpr unsigned kFirstFreeCode = 258;
constexpr unsigned kTableSize = 4096;

struct LzwEntry {
    std::uint16_t prefix; // previous code of the string, or kTableSize for a single byte
    std::uint16_t length;
    std::uint8_t last; // last byte of the string
    std::uint8_t first; // first byte of the string
};

class BitReader
{
public:
    BitReader(const unsigned char *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    // The next `width` bits, or false when the input has fewer left.
    bool next(unsigned width, unsigned &code)
    {
        while (m_bitCount < width) {
            if (m_position >= m_size)
                return false;
            m_buffer = (m_buffer << 8) | m_data[m_position++];
            m_bitCount += 8;
        }
        m_bitCount -= width;
        code = unsigned(m_buffer >> m_bitCount) & ((1u << width) - 1);
        return true;
    }

private:
    const unsigned char *m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
    std::uint32_t m_buffer = 0;
    unsigned m_bitCount = 0;
};

} // namespace

bool decodeTiffLzw(const unsigned char *data, std::size_t size, TiffLzwSink &sink)
{
    std::array<LzwEntry, kTableSize> table {};
    for (unsigned i = 0; i < 256; ++i)
        table[i] = { std::uint16_t(kTableSize), 1, std::uint8_t(i), std::uint8_t(i) };
    std::array<unsigned char, kTableSize> string {};

    // Writes the string of `code` into the end of `string` and hands it to the sink.
    const auto output = [&](unsigned code) {
        const std::size_t length = table[code].length;
        std::size_t at = length;
        for (unsigned c = code; c != kTableSize && at > 0; c = table[c].prefix)
            string[--at] = table[c].last;
        return sink.put(string.data(), length);
    };

    BitReader bits(data, size);
    unsigned width = 9;
    unsigned next = kFirstFreeCode;
    unsigned previous = kTableSize; // none
    unsigned code = 0;
    while (bits.next(width, code)) {
        if (code == kEndCode)
            return true;
        if (code == kClearCode) {
            width = 9;
            next = kFirstFreeCode;
            previous = kTableSize;
            continue;
        }
        if (previous == kTableSize) {
            if (code > 255)
                return false;
            if (!output(code))
                return true;
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= kTableSize))
            return false;
        if (next < kTableSize) {
            // The new entry is the previous string plus the first byte of the current one; for
            // the code being defined right now (KwKwK) that is the previous string's first byte.
            const std::uint8_t first = code == next ? table[previous].first : table[code].first;
            table[next] = { std::uint16_t(previous), std::uint16_t(table[previous].length + 1),
                first, table[previous].first };
            ++next;
            if (next == 511)
                width = 10;
            else if (next == 1023)
                width = 11;
            else if (next == 2047)
                width = 12;
        }
        if (!output(code))
            return true;
        previous = code;
    }
    return true;
}

} // namespace glimmerix
