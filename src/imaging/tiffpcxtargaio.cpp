#include "tiffpcxtargaio.h"

#include "dibblock.h"
#include "imageconvert.h"
#include "picturestate.h"

#include "platform/host.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

void ByteView::seek(std::uint64_t position)
{
    if (position > m_size) {
        m_position = m_size;
        m_truncated = true;
        return;
    }
    m_position = std::size_t(position);
}

std::uint8_t ByteView::u8()
{
    if (m_position >= m_size) {
        m_truncated = true;
        return 0;
    }
    return m_data[m_position++];
}

std::uint16_t ByteView::u16le()
{
    const unsigned lo = u8();
    const unsigned hi = u8();
    return std::uint16_t(lo | hi << 8);
}

std::uint16_t ByteView::u16be()
{
    const unsigned hi = u8();
    const unsigned lo = u8();
    return std::uint16_t(lo | hi << 8);
}

std::uint32_t ByteView::u32le()
{
    const std::uint32_t lo = u16le();
    const std::uint32_t hi = u16le();
    return lo | hi << 16;
}

std::uint32_t ByteView::u32be()
{
    const std::uint32_t hi = u16be();
    const std::uint32_t lo = u16be();
    return lo | hi << 16;
}

bool ByteView::read(unsigned char *target, std::size_t count)
{
    const std::size_t available = std::min(count, remaining());
    if (available > 0)
        std::memcpy(target, m_data + m_position, available);
    if (available < count) {
        std::memset(target + available, 0, count - available);
        m_truncated = true;
    }
    m_position += available;
    return available == count;
}

const unsigned char *ByteView::take(std::size_t count)
{
    if (count > remaining()) {
        m_position = m_size;
        m_truncated = true;
        return nullptr;
    }
    const unsigned char *start = m_data + m_position;
    m_position += count;
    return start;
}

BlockHandle readPictureFile(const QString &path, BlockHandle (*decode)(const QByteArray &))
{
    QFile file;
    if (!openPictureFile(file, path))
        return kReadUnreadable;
    if (std::uint64_t(file.size()) > kMaxPictureFileBytes)
        return kReadFailed;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return kReadUnreadable;
    return decode(bytes);
}

PictureLayout pictureLayout(
    std::int64_t width, std::int64_t height, int bitCount, int colours, std::size_t extra)
{
    PictureLayout layout;
    if (width <= 0 || height <= 0 || colours < 0 || colours > 256)
        return layout;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)
        return layout;
    // Width and height fit in 32 bits here, so the row length cannot overflow 64 bits.
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return layout;
    const std::uint64_t rowLength = dibRowBytes(width, bitCount);
    if (rowLength > kMaxPictureBytes || std::uint64_t(height) > kMaxPictureBytes / rowLength)
        return layout;
    const std::uint64_t imageBytes = rowLength * std::uint64_t(height);
    if (imageBytes > pictureByteLimit())
        return layout;
    const std::uint64_t blockBytes
        = sizeof(BITMAPINFOHEADER) + 4 * std::uint64_t(colours) + imageBytes + extra;
    if (blockBytes > kMaxPictureBytes)
        return layout;
    layout.valid = true;
    layout.rowLength = std::size_t(rowLength);
    layout.imageBytes = std::size_t(imageBytes);
    layout.blockBytes = std::size_t(blockBytes);
    return layout;
}

BlockHandle newPictureBlock(std::int64_t width, std::int64_t height, int bitCount, int colours,
    std::int32_t pixelsPerMetre, std::size_t extra)
{
    const PictureLayout layout = pictureLayout(width, height, bitCount, colours, extra);
    if (!layout.valid)
        return 0;
    // The layout checks are at least as strict as the block builder's, so it refuses nothing
    // here but a failed allocation (message 54001).
    const DecodeResult made = createImageBlock(
        std::int32_t(width), std::int32_t(height), bitCount, std::uint32_t(colours), true, extra);
    if (made.status != DecodeStatus::Ok)
        return 0;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    header->biXPelsPerMeter = pixelsPerMetre;
    header->biYPelsPerMeter = pixelsPerMetre;
    return made.block;
}

bool viewPicture(BlockHandle block, PictureView &view)
{
    if (!isBlockHandle(block))
        return false;
    const std::size_t size = blockSize(block);
    const auto *header = static_cast<const BITMAPINFOHEADER *>(blockLock(block));
    if (header == nullptr || size < sizeof(BITMAPINFOHEADER)
        || header->biSize != sizeof(BITMAPINFOHEADER) || header->biCompression != kBiRgb)
        return false;
    const int colourCount = int(dibColorCount(*header));
    const PictureLayout layout
        = pictureLayout(header->biWidth, header->biHeight, header->biBitCount, colourCount);
    if (!layout.valid || layout.blockBytes > size)
        return false;
    view.block = block;
    view.header = header;
    view.colours = reinterpret_cast<const RGBQUAD *>(header + 1);
    view.colourCount = colourCount;
    view.bits = reinterpret_cast<const unsigned char *>(view.colours + colourCount);
    view.width = header->biWidth;
    view.height = header->biHeight;
    view.bitCount = header->biBitCount;
    view.rowLength = layout.rowLength;
    return true;
}

int pictureClass(const PictureView &view)
{
    return ClassifyImage(view.block);
}

bool invertedMonochrome(const PictureView &view)
{
    if (view.bitCount != 1 || view.colourCount < 2)
        return false;
    const auto brightness = [](const RGBQUAD &c) {
        return int(c.rgbRed) * 30 + int(c.rgbGreen) * 59 + int(c.rgbBlue) * 11;
    };
    return brightness(view.colours[0]) > brightness(view.colours[1]);
}

bool openPictureOutput(QSaveFile &file)
{
    if (file.open(QIODevice::WriteOnly))
        return true;
    host().showMessage(kMsgCannotCreate);
    return false;
}

int commitPictureOutput(QSaveFile &file)
{
    if (!file.commit())
        return 0;
    codecProgress(100);
    return 1;
}

bool codecEscapePressed()
{
    return pollEscape();
}

void codecProgress(int percent)
{
    reportProgress(percent);
}
