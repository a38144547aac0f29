#include "bmpcodec.h"

#include "bmpformat.h"
#include "dibblock.h"
#include "picturestate.h"
#include "picturestatus.h"

#include "platform/fillin.h"
#include "platform/host.h"
#include "platform/paths.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace glimmerix
{

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "bitmap headers are read as little-endian records");

namespace
{

// Buffered reading of run-length data. Past the end it returns zeros and sets a sticky
// truncated flag, so the decoder checks the flag once per step instead of every read.
class ByteSource
{
public:
    explicit ByteSource(QIODevice &device)
        : m_device(device)
    {
    }

    std::uint8_t next()
    {
        if (m_position == m_length) {
            const qint64 got = m_truncated
                ? 0
                : m_device.read(reinterpret_cast<char *>(m_buffer), sizeof m_buffer);
            m_length = got > 0 ? std::size_t(got) : 0;
            m_position = 0;
            if (m_length == 0) {
                m_truncated = true;
                return 0;
            }
        }
        return m_buffer[m_position++];
    }
    bool truncated() const { return m_truncated; }

private:
    QIODevice &m_device;
    std::uint8_t m_buffer[4096];
    std::size_t m_position = 0;
    std::size_t m_length = 0;
    bool m_truncated = false;
};

bool readExactly(QIODevice &device, void *into, std::size_t bytes)
{
    return device.read(static_cast<char *>(into), qint64(bytes)) == qint64(bytes);
}

void setPixel(unsigned char *row, std::int64_t x, std::uint8_t value, bool fourBit)
{
    if (!fourBit) {
        row[x] = value;
        return;
    }
    unsigned char &byte = row[x / 2];
    byte = (x % 2 == 0) ? std::uint8_t((byte & 0x0F) | (value << 4))
                        : std::uint8_t((byte & 0xF0) | (value & 0x0F));
}

// Decodes RLE8 or RLE4 data into the block's rows, bottom row first. Encoders may run into the
// row's padding (ImageMagick does); those pixels are dropped. Runs that pass the padded row and
// moves past the picture are refused; data that ends before the last row is a short read.
DecodeStatus decodeRle(ByteSource &source, BITMAPINFOHEADER *header, bool interactive)
{
    const bool fourBit = header->biBitCount == 4;
    const std::int64_t width = header->biWidth;
    const std::int64_t height = header->biHeight;
    const std::int64_t paddedWidth
        = std::int64_t(dibRowBytes(width, header->biBitCount)) * 8 / header->biBitCount;
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t polledRow = -1;
    for (;;) {
        if (interactive && y != polledRow && y < height) {
            polledRow = y;
            if (y % 16 == 0) {
                if (pollEscape())
                    return DecodeStatus::Cancelled;
                reportProgress(int(y * 100 / height));
            }
        }
        const std::uint8_t count = source.next();
        const std::uint8_t value = source.next();
        if (source.truncated())
            return y >= height ? DecodeStatus::Ok : DecodeStatus::Unreadable;
        if (count > 0) {
            if (y >= height || x + count > paddedWidth)
                return DecodeStatus::Failed;
            unsigned char *row = dibRow(header, y);
            for (int i = 0; i < count; ++i, ++x) {
                const std::uint8_t pixel
                    = !fourBit ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F);
                if (x < width)
                    setPixel(row, x, pixel, fourBit);
            }
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return DecodeStatus::Ok;
        case 2: { // delta
            const std::uint8_t dx = source.next();
            const std::uint8_t dy = source.next();
            if (source.truncated())
                return DecodeStatus::Unreadable;
            x += dx;
            y += dy;
            if (x > paddedWidth || y > height)
                return DecodeStatus::Failed;
            break;
        }
        default: { // absolute run of `value` pixels, padded to a 16-bit boundary
            if (y >= height || x + value > paddedWidth)
                return DecodeStatus::Failed;
            unsigned char *row = dibRow(header, y);
            std::uint8_t packed = 0;
            for (int i = 0; i < value; ++i, ++x) {
                if (fourBit && i % 2 == 0)
                    packed = source.next();
                const std::uint8_t pixel
                    = !fourBit ? source.next() : (i % 2 == 0 ? packed >> 4 : packed & 0x0F);
                if (x < width)
                    setPixel(row, x, pixel, fourBit);
            }
            const int bytes = fourBit ? (value + 1) / 2 : value;
            if (bytes % 2 != 0)
                source.next();
            if (source.truncated())
                return DecodeStatus::Unreadable;
            break;
        }
        }
    }
}

// Reads `bytes` of plain pixel data in pieces, polling Escape before each piece.
DecodeStatus readPlainPixels(
    QIODevice &device, unsigned char *into, std::size_t bytes, bool interactive)
{
    std::size_t done = 0;
    while (done < bytes) {
        if (interactive && pollEscape())
            return DecodeStatus::Cancelled;
        const std::size_t piece = std::min(kBitmapPieceBytes, bytes - done);
        if (!readExactly(device, into + done, piece))
            return DecodeStatus::Unreadable;
        done += piece;
        if (interactive)
            reportProgress(int(done * 100 / bytes));
    }
    return DecodeStatus::Ok;
}

void flipRows(BITMAPINFOHEADER *header)
{
    const std::size_t rowBytes = dibRowBytes(header->biWidth, header->biBitCount);
    std::vector<unsigned char> swap(rowBytes);
    for (std::int64_t top = 0, bottom = header->biHeight - 1; top < bottom; ++top, --bottom) {
        std::memcpy(swap.data(), dibRow(header, top), rowBytes);
        std::memcpy(dibRow(header, top), dibRow(header, bottom), rowBytes);
        std::memcpy(dibRow(header, bottom), swap.data(), rowBytes);
    }
}

// True when every pixel of a palette picture names an entry of its colour table.
bool indicesInTable(BITMAPINFOHEADER *header)
{
    const int bits = header->biBitCount;
    const std::uint32_t colors = header->biClrUsed;
    if (bits == 24 || colors >= (1u << bits))
        return true;
    for (std::int64_t y = 0; y < header->biHeight; ++y) {
        const unsigned char *row = dibRow(header, y);
        for (std::int64_t x = 0; x < header->biWidth; ++x) {
            if (dibPixelIndex(row, x, bits) >= colors)
                return false;
        }
    }
    return true;
}

bool isExtendedInfoHeader(std::uint32_t size)
{
    return size == kInfoHeaderSize || size == kV2HeaderSize || size == kV3HeaderSize
        || size == kV4HeaderSize || size == kV5HeaderSize;
}

} // namespace

DecodeResult readBmp(QIODevice &device, bool interactive)
{
    BITMAPFILEHEADER fileHeader {};
    if (!readExactly(device, &fileHeader, sizeof fileHeader)
        || fileHeader.bfType != kBitmapSignature)
        return pictureFailure(DecodeStatus::WrongKind, QStringLiteral("not a BMP file"));

    BITMAPINFOHEADER info {};
    if (!readExactly(device, &info.biSize, sizeof info.biSize))
        return { DecodeStatus::Unreadable, 0 };
    const std::uint32_t headerSize = info.biSize;
    const bool core = headerSize == kCoreHeaderSize;
    if (core) {
        BITMAPCOREHEADER coreHeader {};
        if (!readExactly(device, &coreHeader.bcWidth, sizeof coreHeader - sizeof coreHeader.bcSize))
            return { DecodeStatus::Unreadable, 0 };
        info.biWidth = coreHeader.bcWidth;
        info.biHeight = coreHeader.bcHeight;
        info.biPlanes = coreHeader.bcPlanes;
        info.biBitCount = coreHeader.bcBitCount;
        info.biCompression = kBiRgb;
    } else if (isExtendedInfoHeader(headerSize)) {
        if (!readExactly(device, &info.biWidth, sizeof info - sizeof info.biSize))
            return { DecodeStatus::Unreadable, 0 };
        char rest[kV5HeaderSize - kInfoHeaderSize];
        if (!readExactly(device, rest, headerSize - kInfoHeaderSize))
            return { DecodeStatus::Unreadable, 0 };
    } else {
        return pictureFailure(DecodeStatus::Unsupported,
            QStringLiteral("BMP: a %1-byte header is not supported").arg(headerSize));
    }

    // Check the whole header before anything is allocated.
    const int bits = info.biBitCount;
    const std::uint32_t compression = info.biCompression;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return pictureFailure(DecodeStatus::Unsupported,
            QStringLiteral("BMP: %1 bits per pixel not supported").arg(bits));
    if (compression != kBiRgb && !(compression == kBiRle8 && bits == 8)
        && !(compression == kBiRle4 && bits == 4))
        return pictureFailure(DecodeStatus::Unsupported,
            QStringLiteral("BMP: compression %1 not supported").arg(compression));
    const bool topDown = info.biHeight < 0;
    if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN
        || (topDown && compression != kBiRgb))
        return pictureFailure(DecodeStatus::Failed,
            fillIn(QStringLiteral("BMP: bad dimensions %1 x %2"), info.biWidth, info.biHeight));
    const std::int32_t height = topDown ? -info.biHeight : info.biHeight;
    std::uint32_t colors = 0;
    if (bits != 24) {
        const std::uint32_t full = 1u << bits;
        colors = info.biClrUsed != 0 && info.biClrUsed <= full ? info.biClrUsed : full;
    }

    DecodeResult made = createImageBlock(info.biWidth, height, bits, colors);
    if (made.status != DecodeStatus::Ok)
        return made;
    OwnedBlock block(made.block);
    BITMAPINFOHEADER *header = dibHeader(block.handle());
    header->biXPelsPerMeter = info.biXPelsPerMeter;
    header->biYPelsPerMeter = info.biYPelsPerMeter;
    header->biClrImportant = info.biClrImportant;

    RGBQUAD *table = dibColors(header);
    if (core) {
        for (std::uint32_t i = 0; i < colors; ++i) {
            std::uint8_t entry[3];
            if (!readExactly(device, entry, sizeof entry))
                return { DecodeStatus::Unreadable, 0 };
            table[i] = { entry[0], entry[1], entry[2], 0 };
        }
    } else if (!readExactly(device, table, colors * sizeof(RGBQUAD))) {
        return { DecodeStatus::Unreadable, 0 };
    }

    if (fileHeader.bfOffBits != 0) {
        if (!device.isSequential() && qint64(fileHeader.bfOffBits) > device.size())
            return { DecodeStatus::Unreadable, 0 };
        if (!device.seek(fileHeader.bfOffBits))
            return { DecodeStatus::Unreadable, 0 };
    }

    DecodeStatus status = DecodeStatus::Ok;
    if (compression == kBiRgb) {
        status = readPlainPixels(device, dibBits(header), header->biSizeImage, interactive);
        if (status == DecodeStatus::Ok && topDown)
            flipRows(header);
    } else {
        ByteSource source(device);
        status = decodeRle(source, header, interactive);
    }
    if (status != DecodeStatus::Ok)
        return { status, 0 };
    if (!indicesInTable(header))
        return pictureFailure(
            DecodeStatus::Failed, QStringLiteral("BMP: a pixel names a colour past the table"));
    return { DecodeStatus::Ok, block.release() };
}

DecodeResult loadBmpFile(const QString &path)
{
    QFile file;
    DecodeResult opened = openPictureFile(file, path);
    if (opened.status != DecodeStatus::Ok)
        return opened;
    DecodeResult result = readBmp(file, true);
    if (file.size() == 0)
        result.detail = emptyFileDetail();
    return result;
}

BlockHandle ReadBmpFile(const QString &path)
{
    const QString fullPath = path.contains(u'/') ? path : joinPath(resourceFolder(), path);
    return fileReaderResult(loadBmpFile(fullPath), fullPath, kReadUnreadable);
}

WriteResult saveBmpFile(const QString &path, BlockHandle block)
{
    if (!isBlockHandle(block))
        return writeFailure(DecodeStatus::Unsuitable, QStringLiteral("not a picture"));
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    if (header == nullptr)
        return writeFailure(DecodeStatus::Failed, QStringLiteral("damaged picture block"));
    WaitCursor wait;
    const std::uint32_t colors = header->biBitCount == 24 ? 0 : dibColorCount(*header);
    const std::size_t pixelBytes
        = dibPixelBytes(header->biWidth, header->biHeight, header->biBitCount);
    const std::size_t tableBytes = std::size_t(colors) * sizeof(RGBQUAD);
    const std::size_t headersBytes
        = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + tableBytes;
    if (pixelBytes > UINT32_MAX - headersBytes)
        return writeFailure(
            DecodeStatus::Unsuitable, QStringLiteral("the picture is larger than a BMP holds"));

    // An existing picture is replaced only when the whole file went out (pictureTarget).
    const std::unique_ptr<QFileDevice> target = pictureTarget(path);
    QFileDevice &file = *target;
    if (!file.open(QIODevice::WriteOnly))
        return writeFailure(DecodeStatus::CannotCreate, file.errorString());
    const auto failed
        = [&file] { return writeFailure(DecodeStatus::Failed, writeErrorDetail(file)); };
    errno = 0;
    BITMAPFILEHEADER fileHeader {};
    fileHeader.bfType = kBitmapSignature;
    fileHeader.bfSize = std::uint32_t(headersBytes + pixelBytes);
    fileHeader.bfOffBits = std::uint32_t(headersBytes);
    BITMAPINFOHEADER info = *header;
    info.biCompression = kBiRgb;
    info.biSizeImage = std::uint32_t(pixelBytes);
    info.biClrUsed = colors;
    if (file.write(reinterpret_cast<const char *>(&fileHeader), sizeof fileHeader)
            != sizeof fileHeader
        || file.write(reinterpret_cast<const char *>(&info), sizeof info) != sizeof info)
        return failed();

    const auto *data = reinterpret_cast<const char *>(dibColors(header));
    const std::size_t total = tableBytes + pixelBytes;
    std::size_t done = 0;
    while (done < total) {
        if (pollEscape())
            return writeFailure(DecodeStatus::Cancelled, cancelledDetail());
        const std::size_t piece = std::min(kBitmapPieceBytes, total - done);
        if (file.write(data + done, qint64(piece)) != qint64(piece))
            return failed();
        done += piece;
        reportProgress(int(done * 100 / total));
    }
    // Buffered bytes reach the disk only now: a full disk shows here at the latest.
    if (!finishPictureTarget(file))
        return failed();
    return { DecodeStatus::Ok, {} };
}

int WriteBmpFile(const QString &path, BlockHandle block)
{
    const WriteResult result = saveBmpFile(path, block);
    // The bitmap writer answers 0 for a file it cannot create, without a message.
    if (result.status == DecodeStatus::CannotCreate)
        return kWriteFailed;
    return fileWriterResult(result, kWriteUnsuitable);
}

} // namespace glimmerix
