#pragma once

#include "dib.h"
#include "imagecodes.h"

#include <QByteArray>
#include <QString>

class QFileDevice;

#include <cstddef>
#include <cstdint>

namespace glimmerix
{

// Support shared by the TIFF, PCX and Targa codecs: a bounds-checked view of a file's bytes,
// the size limits checked before any picture block is allocated, the picture block builder,
// a checked view of a caller's block for the writers, and the Escape poll and progress report.

// Reads little- or big-endian values from a byte range. Reading past the end yields zeros and
// sets a sticky "truncated" flag, so parsers check values and the flag, not every read.
class ByteView
{
public:
    ByteView() = default;
    ByteView(const unsigned char *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }
    explicit ByteView(const QByteArray &bytes)
        : m_data(reinterpret_cast<const unsigned char *>(bytes.constData()))
        , m_size(std::size_t(bytes.size()))
    {
    }

    std::size_t size() const { return m_size; }
    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_position < m_size ? m_size - m_position : 0; }
    bool truncated() const { return m_truncated; }
    bool atEnd() const { return m_position >= m_size; }

    // Moves to `position`; a position past the end marks the view truncated.
    void seek(std::uint64_t position);
    void skip(std::uint64_t count) { seek(std::uint64_t(m_position) + count); }

    std::uint8_t u8();
    std::uint16_t u16le();
    std::uint16_t u16be();
    std::uint32_t u32le();
    std::uint32_t u32be();
    std::uint16_t u16(bool bigEndian) { return bigEndian ? u16be() : u16le(); }
    std::uint32_t u32(bool bigEndian) { return bigEndian ? u32be() : u32le(); }
    // Copies `count` bytes to `target`, zeros for the part past the end. Returns false when the
    // view ran out.
    bool read(unsigned char *target, std::size_t count);
    // The next `count` bytes in place, or nullptr (and truncated) when fewer remain.
    const unsigned char *take(std::size_t count);

private:
    const unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_position = 0;
    bool m_truncated = false;
};

// Largest image block a reader builds, and largest file it reads into memory. Both far above
// any real picture of the kinds these codecs handle, and checked before anything is allocated.
inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t(1) << 30;
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t(1) << 30;

// Reads the whole file at `path` (opened through openPictureFile) and returns what `decode`
// makes of its bytes: Failed for a file over kMaxPictureFileBytes, CannotOpen or Unreadable when
// it cannot be read. For an empty file the detail says so, whatever status the decoder gave.
DecodeResult readPictureFile(const QString &path, DecodeResult (*decode)(const QByteArray &));

// Layout of a picture block: the padded row length, the pixel bytes and the whole block size
// (header, colour table, pixels and `extra` bytes). `valid` is false when a dimension is not
// positive, the bit count is not 1, 4, 8 or 24, the pixels exceed the picture layer's limit
// (pictureByteLimit) or the block would exceed kMaxPictureBytes.
struct PictureLayout {
    bool valid = false;
    std::size_t rowLength = 0;
    std::size_t imageBytes = 0;
    std::size_t blockBytes = 0;
};
PictureLayout pictureLayout(
    std::int64_t width, std::int64_t height, int bitCount, int colours, std::size_t extra = 0);

// Why pictureLayout refused these dimensions: TooLarge (checkPictureSize) or Failed.
DecodeResult layoutRefusal(std::int64_t width, std::int64_t height, int bitCount);

// Allocates a picture block through the picture allocator and fills its header: biClrUsed =
// `colours`, biSizeImage = row length × height. The colour table and the pixels are zero.
// TooLarge, Failed or NoMemory when it cannot be had.
DecodeResult newPictureBlock(std::int64_t width, std::int64_t height, int bitCount, int colours,
    std::int32_t pixelsPerMetre, std::size_t extra = 0);

// A caller's image block, checked against its block size before a writer touches it.
struct PictureView {
    BlockHandle block = 0;
    const BITMAPINFOHEADER *header = nullptr;
    const RGBQUAD *colours = nullptr;
    int colourCount = 0;
    const unsigned char *bits = nullptr;
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::size_t rowLength = 0;

    // Block row `row` counted from the bottom, as stored.
    const unsigned char *blockRow(int row) const { return bits + std::size_t(row) * rowLength; }
    // Picture row `row` counted from the top.
    const unsigned char *topRow(int row) const { return blockRow(height - 1 - row); }
};
// False when `block` is not a block, or its header is not a 1-, 4-, 8- or 24-bit picture whose
// colour table and pixels fit inside the block.
bool viewPicture(BlockHandle block, PictureView &view);

// The image class of a viewed picture (ClassifyImage).
int pictureClass(const PictureView &view);
// True for a 1-bit picture whose first colour is brighter than its second (white on black
// reversed): writers of formats where 0 means black store such pixels inverted.
bool invertedMonochrome(const PictureView &view);

// A caller's block as the writers of formats with 16-bit dimensions take it: Unsuitable when it
// is not a valid picture or wider or taller than 65535 pixels.
WriteResult viewPictureToWrite(BlockHandle block, PictureView &view);

// Opens `file` to write a picture: CannotCreate with the cause when it cannot be created.
WriteResult openPictureOutput(QFileDevice &file);
// Writes `bytes` to the picture file: Failed with the cause ("disk full") when not all went out.
WriteResult writePictureBytes(QFileDevice &file, const char *bytes, qint64 size);
inline WriteResult writePictureBytes(QFileDevice &file, const QByteArray &bytes)
{
    return writePictureBytes(file, bytes.constData(), bytes.size());
}
// Commits a written picture and reports 100% progress; Failed with the cause when the commit
// fails.
WriteResult commitPictureOutput(QFileDevice &file);

// Escape poll and progress for the picture loops, through the picture layer.
bool codecEscapePressed();
void codecProgress(int percent);

} // namespace glimmerix
