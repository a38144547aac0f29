#include "dibblock.h"

#include "picturestatus.h"

#include <cstring>

namespace glimmerix
{

std::size_t dibPixelBytes(std::int64_t width, std::int64_t height, int bitCount)
{
    if (width <= 0 || height <= 0 || bitCount <= 0 || bitCount > 32)
        return SIZE_MAX;
    if (width > (INT64_MAX - 31) / bitCount)
        return SIZE_MAX;
    const std::size_t rowBytes = dibRowBytes(width, bitCount);
    if (std::size_t(height) > SIZE_MAX / rowBytes)
        return SIZE_MAX;
    return rowBytes * std::size_t(height);
}

void initDibHeader(BITMAPINFOHEADER *header, std::int32_t width, std::int32_t height, int bitCount,
    std::uint32_t colors, std::size_t pixelBytes)
{
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = std::uint16_t(bitCount);
    header->biCompression = kBiRgb;
    header->biSizeImage = pixelBytes > UINT32_MAX ? 0 : std::uint32_t(pixelBytes);
    header->biClrUsed = colors;
}

DecodeResult createImageBlock(
    std::int32_t width, std::int32_t height, int bitCount, std::uint32_t colors, std::size_t extra)
{
    DecodeResult size = checkPictureSize(width, height, bitCount);
    if (size.status != DecodeStatus::Ok)
        return size;
    const std::size_t pixelBytes = dibPixelBytes(width, height, bitCount);
    const std::size_t total
        = sizeof(BITMAPINFOHEADER) + std::size_t(colors) * sizeof(RGBQUAD) + pixelBytes;
    if (colors > 256 || extra > SIZE_MAX - total)
        return pictureFailure(DecodeStatus::Failed, QStringLiteral("bad colour table"));
    const BlockHandle block = allocPictureBlock(total + extra);
    if (block == 0)
        return pictureFailure(DecodeStatus::NoMemory, QStringLiteral("not enough memory"));
    initDibHeader(dibHeader(block), width, height, bitCount, colors, pixelBytes);
    return { DecodeStatus::Ok, block };
}

BITMAPINFOHEADER *checkedDibHeader(BlockHandle block)
{
    if (!isBlockHandle(block))
        return nullptr;
    const std::size_t size = blockSize(block);
    if (size < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER *header = dibHeader(block);
    const int bits = header->biBitCount;
    if (header->biSize != sizeof(BITMAPINFOHEADER)
        || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return nullptr;
    const std::size_t pixelBytes = dibPixelBytes(header->biWidth, header->biHeight, bits);
    if (pixelBytes == SIZE_MAX)
        return nullptr;
    const std::size_t tableBytes = std::size_t(dibColorCount(*header)) * sizeof(RGBQUAD);
    if (sizeof(BITMAPINFOHEADER) + tableBytes > size
        || pixelBytes > size - sizeof(BITMAPINFOHEADER) - tableBytes)
        return nullptr;
    return header;
}

bool dibHasGreyTable(BITMAPINFOHEADER *header)
{
    if (header->biBitCount != 8 || header->biClrUsed != 256)
        return false;
    const RGBQUAD *table = dibColors(header);
    for (int i = 0; i < 256; ++i) {
        if (table[i].rgbBlue != i || table[i].rgbGreen != i || table[i].rgbRed != i)
            return false;
    }
    return true;
}

} // namespace glimmerix
