#include "tiffpcxtargaio.h"

#include "dibblock.h"
#include "imageconvert.h"
#include "picturestate.h"
#include "picturestatus.h"
#include "platform/fillin.h"

#include <QFile>
#include <QFileDevice>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace glimmerix
{

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

DecodeResult readPictureFile(const QString &path, DecodeResult (*decode)(const QByteArray &))
{
    QFile file;
    DecodeResult opened = openPictureFile(file, path);
    if (opened.status != DecodeStatus::Ok)
        return opened;
    if (std::uint64_t(file.size()) > kMaxPictureFileBytes)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("the file is larger than 1 GB"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return pictureFailure(DecodeStatus::Unreadable, file.errorString());
    DecodeResult result = decode(bytes);
    if (bytes.isEmpty())
        result.detail = emptyFileDetail();
    return result;
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

DecodeResult layoutRefusal(std::int64_t width, std::int64_t height, int bitCount)
{
    DecodeResult size = checkPictureSize(width, height, bitCount);
    if (size.status != DecodeStatus::Ok)
        return size;
    return pictureFailure(DecodeStatus::Failed,
        fillIn(QStringLiteral("unusable dimensions %1 x %2 at %3 bits"), width, height, bitCount));
}

DecodeResult newPictureBlock(std::int64_t width, std::int64_t height, int bitCount, int colours,
    std::int32_t pixelsPerMetre, std::size_t extra)
{
    const PictureLayout layout = pictureLayout(width, height, bitCount, colours, extra);
    if (!layout.valid)
        return layoutRefusal(width, height, bitCount);
    // The layout checks are at least as strict as the block builder's, so it refuses nothing
    // here but a failed allocation.
    DecodeResult made = createImageBlock(
        std::int32_t(width), std::int32_t(height), bitCount, std::uint32_t(colours), extra);
    if (made.status != DecodeStatus::Ok)
        return made;
    BITMAPINFOHEADER *header = dibHeader(made.block);
    header->biXPelsPerMeter = pixelsPerMetre;
    header->biYPelsPerMeter = pixelsPerMetre;
    return made;
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

WriteResult viewPictureToWrite(BlockHandle block, PictureView &view)
{
    if (!viewPicture(block, view))
        return writeFailure(DecodeStatus::Unsuitable, QStringLiteral("not a picture"));
    if (view.width > 0xFFFF || view.height > 0xFFFF)
        return writeFailure(DecodeStatus::Unsuitable,
            QStringLiteral("the picture is larger than 65535 pixels on a side"));
    return { DecodeStatus::Ok, {} };
}

WriteResult openPictureOutput(QFileDevice &file)
{
    if (file.open(QIODevice::WriteOnly))
        return { DecodeStatus::Ok, {} };
    return writeFailure(DecodeStatus::CannotCreate, file.errorString());
}

WriteResult writePictureBytes(QFileDevice &file, const char *bytes, qint64 size)
{
    errno = 0;
    if (file.write(bytes, size) == size)
        return { DecodeStatus::Ok, {} };
    return writeFailure(DecodeStatus::Failed, writeErrorDetail(file));
}

WriteResult commitPictureOutput(QFileDevice &file)
{
    errno = 0;
    if (!finishPictureTarget(file))
        return writeFailure(DecodeStatus::Failed, writeErrorDetail(file));
    codecProgress(100);
    return { DecodeStatus::Ok, {} };
}

bool codecEscapePressed()
{
    return pollEscape();
}

void codecProgress(int percent)
{
    reportProgress(percent);
}

} // namespace glimmerix
