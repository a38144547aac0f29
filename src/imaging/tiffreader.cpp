// The own TIFF reader: uncompressed and LZW strips of the first image file directory, 1-, 4-,
// 8- and 24-bit pictures, and the Ricoh YCbCr 4:2:2 rows.

#include "othercodecs.h"
#include "picturestate.h"
#include "picturestatus.h"
#include "platform/fillin.h"
#include "tiffcodec.h"
#include "tiffpcxtargaio.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace glimmerix
{

namespace
{

// The own reader hands Group 4 files to the libtiff reader under this detail.
QString group4Detail()
{
    return QStringLiteral("TIFF: CCITT Group 4 goes through libtiff");
}

// Largest expansion of an LZW strip: no 9-bit or longer code yields more than 4096 bytes.
constexpr std::uint64_t kLzwMaxExpansion = 4096;

struct StripValues {
    const TiffArray &array;
    ByteView &view;
    bool bigEndian;

    bool present() const { return array.count > 0; }

    // Value `index`, 2 or 4 bytes by the entry type; false when it is not inside the file.
    bool at(std::uint32_t index, std::uint64_t &value) const
    {
        if (index >= array.count)
            return false;
        switch (array.type) {
        case kTypeShort:
            view.seek(array.position + std::uint64_t(index) * 2);
            value = view.u16(bigEndian);
            return !view.truncated();
        case kTypeLong:
            view.seek(array.position + std::uint64_t(index) * 4);
            value = view.u32(bigEndian);
            return !view.truncated();
        }
        return false;
    }
};

// Rows of the picture as they arrive (top first), stored from the last block row upwards.
class RowTarget
{
public:
    RowTarget(
        unsigned char *bits, std::size_t rowLength, std::uint32_t height, std::size_t fileRowBytes)
        : m_bits(bits)
        , m_rowLength(rowLength)
        , m_height(height)
        , m_fileRowBytes(fileRowBytes)
    {
    }

    bool full() const { return m_rowsDone >= m_height; }
    std::uint32_t rowsDone() const { return m_rowsDone; }
    std::uint32_t height() const { return m_height; }
    std::size_t fileRowBytes() const { return m_fileRowBytes; }
    unsigned char *currentRow() const
    {
        return m_bits + std::size_t(m_height - 1 - m_rowsDone) * m_rowLength;
    }
    void finishRow() { ++m_rowsDone; }

private:
    unsigned char *m_bits;
    std::size_t m_rowLength;
    std::uint32_t m_height;
    std::size_t m_fileRowBytes;
    std::uint32_t m_rowsDone = 0;
};

// Polls Escape and reports progress every 16 rows; true when the user pressed Escape.
bool cancelledAt(std::uint32_t row, int percent)
{
    if (row % 16 != 0)
        return false;
    if (codecEscapePressed())
        return true;
    codecProgress(percent);
    return false;
}

class LzwRows final : public TiffLzwSink
{
public:
    LzwRows(RowTarget &rows, int predictorComponents)
        : m_rows(rows)
        , m_components(predictorComponents)
    {
    }

    bool cancelled() const { return m_cancelled; }

    bool put(const unsigned char *bytes, std::size_t count) override
    {
        while (count > 0) {
            if (m_rows.full() || m_cancelled)
                return false;
            const std::size_t take = std::min(count, m_rows.fileRowBytes() - m_column);
            std::memcpy(m_rows.currentRow() + m_column, bytes, take);
            m_column += take;
            bytes += take;
            count -= take;
            if (m_column == m_rows.fileRowBytes())
                finishRow();
        }
        return !m_rows.full();
    }

private:
    void finishRow()
    {
        unsigned char *row = m_rows.currentRow();
        if (m_components > 0) {
            for (std::size_t i = std::size_t(m_components); i < m_rows.fileRowBytes(); ++i)
                row[i] = static_cast<unsigned char>(row[i] + row[i - std::size_t(m_components)]);
        }
        m_column = 0;
        m_rows.finishRow();
        const std::uint32_t done = m_rows.rowsDone();
        if (cancelledAt(done, int(std::uint64_t(done) * 100 / m_rows.height())))
            m_cancelled = true;
    }

    RowTarget &m_rows;
    int m_components; // 0: no predictor
    std::size_t m_column = 0;
    bool m_cancelled = false;
};

// Reads uncompressed strips; false on a strip outside the file or on Escape.
bool readPlainStrips(ByteView &file, const TiffDirectory &directory, RowTarget &rows)
{
    const StripValues offsets { directory.stripOffsets, file, directory.bigEndian };
    const StripValues counts { directory.stripByteCounts, file, directory.bigEndian };
    const std::uint32_t strips = directory.stripOffsets.count;
    const std::uint64_t rowsPerStrip = directory.rowsPerStrip;
    for (std::uint32_t strip = 0; strip < strips && !rows.full(); ++strip) {
        std::uint64_t offset = 0;
        if (!offsets.at(strip, offset))
            return false;
        std::uint64_t stripRows = rows.height();
        if (strips > 1) {
            std::uint64_t byteCount = rowsPerStrip * rows.fileRowBytes();
            if (counts.present() && !counts.at(strip, byteCount))
                return false;
            stripRows = byteCount / rows.fileRowBytes();
        }
        stripRows = std::min<std::uint64_t>(stripRows, rows.height() - rows.rowsDone());
        file.seek(offset);
        for (std::uint64_t row = 0; row < stripRows; ++row) {
            const std::uint64_t percent = strips == 1
                ? std::uint64_t(rows.rowsDone()) * 100 / rows.height()
                : (row + rowsPerStrip * strip) * 100 / (rowsPerStrip * strips);
            if (cancelledAt(rows.rowsDone(), int(percent)))
                return false;
            if (!file.read(rows.currentRow(), rows.fileRowBytes()))
                return false;
            rows.finishRow();
        }
    }
    return true;
}

// Decodes LZW strips; false on a strip outside the file, a corrupt code stream or Escape.
bool readLzwStrips(ByteView &file, const TiffDirectory &directory, RowTarget &rows, int bitCount)
{
    const StripValues offsets { directory.stripOffsets, file, directory.bigEndian };
    const StripValues counts { directory.stripByteCounts, file, directory.bigEndian };
    const int components = directory.predictor > 1 ? (bitCount == 24 ? 3 : 1) : 0;
    LzwRows sink(rows, components);
    for (std::uint32_t strip = 0; strip < directory.stripOffsets.count && !rows.full(); ++strip) {
        std::uint64_t offset = 0;
        if (!offsets.at(strip, offset) || offset > file.size())
            return false;
        std::uint64_t byteCount = file.size() - offset;
        if (counts.present() && !counts.at(strip, byteCount))
            return false;
        byteCount = std::min<std::uint64_t>(byteCount, file.size() - offset);
        if (codecEscapePressed())
            return false;
        file.seek(offset);
        const unsigned char *data = file.take(std::size_t(byteCount));
        if (data == nullptr || !decodeTiffLzw(data, std::size_t(byteCount), sink))
            return false;
        if (sink.cancelled())
            return false;
    }
    return true;
}

// Fills the colour table; false when a palette picture's colour map is missing or outside the
// file.
bool fillColourTable(
    ByteView &file, const TiffDirectory &directory, int bitCount, int colours, RGBQUAD *table)
{
    if (bitCount == 1) {
        const bool whiteIsZero = directory.photometric == 0;
        const unsigned char zero = whiteIsZero ? 255 : 0;
        table[0] = { zero, zero, zero, 0 };
        table[1]
            = { std::uint8_t(255 - zero), std::uint8_t(255 - zero), std::uint8_t(255 - zero), 0 };
        return true;
    }
    if (directory.photometric == 1) {
        const int step = 255 / (colours - 1);
        for (int i = 0; i < colours; ++i) {
            const auto grey = std::uint8_t(i * step);
            table[i] = { grey, grey, grey, 0 };
        }
        return true;
    }
    // Three arrays of 16-bit values, reds then greens then blues; the high byte is the colour.
    const std::uint64_t perChannel = directory.colorMap.count / 3;
    const bool big = directory.bigEndian;
    for (int i = 0; i < colours; ++i) {
        file.seek(directory.colorMap.position + 2 * std::uint64_t(i));
        const auto red = std::uint8_t(file.u16(big) >> 8);
        file.seek(directory.colorMap.position + 2 * (perChannel + std::uint64_t(i)));
        const auto green = std::uint8_t(file.u16(big) >> 8);
        file.seek(directory.colorMap.position + 2 * (2 * perChannel + std::uint64_t(i)));
        const auto blue = std::uint8_t(file.u16(big) >> 8);
        table[i] = { blue, green, red, 0 };
    }
    return !file.truncated();
}

// Number of colour-table entries, or -1 for a bit count the reader does not handle.
int colourCount(const TiffDirectory &directory, int bitCount)
{
    switch (bitCount) {
    case 1:
        return 2;
    case 24:
        return 0;
    case 4:
    case 8: {
        const int full = 1 << bitCount;
        if (directory.photometric == 1)
            return full;
        const std::uint32_t mapped = directory.colorMap.count / 3;
        return mapped == 0 ? -1 : int(std::min<std::uint32_t>(mapped, std::uint32_t(full)));
    }
    }
    return -1;
}

} // namespace

DecodeResult decodeTiff(const QByteArray &bytes)
{
    TiffDirectory directory;
    if (parseTiffDirectory(bytes, directory) == 0)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("no readable TIFF directory"));
    if (directory.compression == kCompressionGroup4)
        return pictureFailure(DecodeStatus::Unsupported, group4Detail());
    if (directory.compression != kCompressionNone && directory.compression != kCompressionLzw)
        return pictureFailure(DecodeStatus::Unsupported,
            QStringLiteral("TIFF compression %1 not supported").arg(directory.compression));
    if (directory.samplesPerPixel < 1 || directory.samplesPerPixel > 4
        || directory.bitsPerSample < 1 || directory.bitsPerSample > 16)
        return pictureFailure(DecodeStatus::Unsupported,
            fillIn(QStringLiteral("TIFF: %1 samples of %2 bits not supported"),
                directory.samplesPerPixel, directory.bitsPerSample));
    // Separate planes per sample would be read as interleaved pixels: refuse them.
    if (directory.planarConfiguration == 2 && directory.samplesPerPixel > 1)
        return pictureFailure(
            DecodeStatus::Unsupported, QStringLiteral("TIFF: separate planes not supported"));
    const int bitCount = directory.samplesPerPixel * directory.bitsPerSample;
    const int colours = colourCount(directory, bitCount);
    if (colours < 0)
        return pictureFailure(DecodeStatus::Unsupported,
            QStringLiteral("TIFF: %1 bits per pixel not supported").arg(bitCount));
    if (directory.stripOffsets.count == 0)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("TIFF: no strips"));
    const std::uint32_t width = directory.width;
    const std::uint32_t height = directory.height;
    const bool ricoh = directory.ricoh && bitCount == 24;
    const std::uint64_t fileRowBytes
        = ricoh ? (std::uint64_t(width) + 1) / 2 * 4 : (std::uint64_t(bitCount) * width + 7) / 8;
    const PictureLayout layout = pictureLayout(width, height, bitCount, colours, 50);
    if (!layout.valid)
        return layoutRefusal(width, height, bitCount);
    // A picture that the file's bytes cannot possibly hold is refused before allocating.
    const std::uint64_t fileSize = std::uint64_t(bytes.size());
    const std::uint64_t needed = fileRowBytes * height;
    if (directory.compression == kCompressionNone ? needed > fileSize
                                                  : needed > fileSize * kLzwMaxExpansion)
        return pictureFailure(DecodeStatus::Failed, truncatedDetail());

    const auto perMetre = [](std::uint32_t dpi) {
        return std::int32_t(std::min<std::uint64_t>(std::uint64_t(dpi) * 10000 / 254, 0x7FFFFFFF));
    };
    DecodeResult made
        = newPictureBlock(width, height, bitCount, colours, perMetre(directory.xDotsPerInch), 50);
    if (made.status != DecodeStatus::Ok)
        return made;
    OwnedBlock block(made.block);
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    header->biYPelsPerMeter = perMetre(directory.yDotsPerInch);
    ByteView file(bytes);
    if (!fillColourTable(file, directory, bitCount, colours, dibColors(header)))
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("TIFF: bad colour map"));

    unsigned char *bits = dibBits(header);
    RowTarget rows(bits, layout.rowLength, height, std::size_t(fileRowBytes));
    const bool decoded = directory.compression == kCompressionNone
        ? readPlainStrips(file, directory, rows)
        : readLzwStrips(file, directory, rows, bitCount);
    if (!decoded)
        return pictureFailure(
            DecodeStatus::Failed, QStringLiteral("TIFF: damaged or cancelled strips"));

    if (ricoh) {
        std::vector<unsigned char> samples(static_cast<std::size_t>(fileRowBytes));
        for (std::uint32_t row = 0; row < height; ++row) {
            unsigned char *line = bits + std::size_t(row) * layout.rowLength;
            std::memcpy(samples.data(), line, samples.size());
            convertRicohRow(samples.data(), int(width), line);
        }
    } else if (bitCount == 24) {
        for (std::uint32_t row = 0; row < height; ++row) {
            unsigned char *pixel = bits + std::size_t(row) * layout.rowLength;
            for (std::uint32_t x = 0; x < width; ++x, pixel += 3)
                std::swap(pixel[0], pixel[2]);
        }
    }
    codecProgress(100);
    return { DecodeStatus::Ok, block.release(), {} };
}

DecodeResult readTiffOwn(const QString &path)
{
    return readPictureFile(path, decodeTiff);
}

bool needsLibtiff(const DecodeResult &result)
{
    return result.status == DecodeStatus::Unsupported && result.detail == group4Detail();
}

DecodeResult loadTiffFile(const QString &path)
{
    const DecodeResult result = readTiffOwn(path);
    return needsLibtiff(result) ? readTiffWithLibtiff(path) : result;
}

BlockHandle ReadTiffFile(const QString &path)
{
    return fileReaderResult(loadTiffFile(path), path, kReadFailed);
}

} // namespace glimmerix
