#include "picturetestutil.h"

#include "support/testenvironment.h"

#include "imaging/dib.h"
#include "imaging/dibblock.h"

#include <QFile>

using namespace glimmerix;

SamplePicture readPnm(const QString &path)
{
    const QByteArray data = fileBytes(path);
    if (data.size() < 2 || data[0] != 'P' || (data[1] != '6' && data[1] != '5' && data[1] != '4'))
        return {};
    const bool bilevel = data[1] == '4';
    // Header: magic, width, height, maximum (not for P4), each separated by white space.
    int position = 2;
    int fields[3] = {};
    for (int i = 0; i < (bilevel ? 2 : 3); ++i) {
        while (position < data.size() && std::isspace(static_cast<unsigned char>(data[position])))
            ++position;
        while (position < data.size() && std::isdigit(static_cast<unsigned char>(data[position])))
            fields[i] = fields[i] * 10 + (data[position++] - '0');
    }
    ++position; // the single white space before the samples
    SamplePicture picture;
    picture.width = fields[0];
    picture.height = fields[1];
    picture.channels = data[1] == '6' ? 3 : 1;
    const auto *raster = reinterpret_cast<const std::uint8_t *>(data.constData() + position);
    if (bilevel) {
        // One bit a pixel, rows padded to whole bytes, 1 is black.
        const qsizetype stride = (picture.width + 7) / 8;
        if (data.size() - position < stride * picture.height)
            return {};
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                picture.samples.push_back(
                    (raster[y * stride + x / 8] >> (7 - x % 8)) & 1 ? 0 : 255);
        return picture;
    }
    const qsizetype count = qsizetype(picture.width) * picture.height * picture.channels;
    if (data.size() - position < count)
        return {};
    picture.samples.assign(raster, raster + count);
    return picture;
}

SamplePicture blockPixels(BlockHandle block, bool keepGrey)
{
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    SamplePicture picture;
    if (header == nullptr)
        return picture;
    picture.width = header->biWidth;
    picture.height = header->biHeight;
    const bool grey = keepGrey && dibHasGreyTable(header);
    picture.channels = grey ? 1 : 3;
    const RGBQUAD *table = dibColors(header);
    const int bits = header->biBitCount;
    for (int y = picture.height - 1; y >= 0; --y) {
        const unsigned char *row = dibRow(header, y);
        for (int x = 0; x < picture.width; ++x) {
            if (bits == 24) {
                picture.samples.insert(
                    picture.samples.end(), { row[3 * x + 2], row[3 * x + 1], row[3 * x] });
                continue;
            }
            unsigned index = bits == 8 ? row[x]
                : bits == 4            ? ((x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 15)
                                       : (row[x / 8] >> (7 - x % 8)) & 1;
            if (grey)
                picture.samples.push_back(std::uint8_t(index));
            else
                picture.samples.insert(picture.samples.end(),
                    { table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue });
        }
    }
    return picture;
}

BlockHandle makeRgbBlock(int width, int height, const std::vector<std::uint8_t> &rgb)
{
    const DecodeResult made = createImageBlock(width, height, 24, 0);
    BITMAPINFOHEADER *header = dibHeader(made.block);
    for (int y = 0; y < height; ++y) {
        unsigned char *row = dibRow(header, height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t at = (std::size_t(y) * width + x) * 3;
            row[3 * x] = rgb[at + 2];
            row[3 * x + 1] = rgb[at + 1];
            row[3 * x + 2] = rgb[at];
        }
    }
    return made.block;
}

BlockHandle makeIndexedBlock(
    int width, int height, const std::vector<std::uint8_t> &indices, bool grey)
{
    const DecodeResult made = createImageBlock(width, height, 8, 256);
    BITMAPINFOHEADER *header = dibHeader(made.block);
    RGBQUAD *table = dibColors(header);
    for (int i = 0; i < 256; ++i) {
        const auto v = std::uint8_t(i);
        table[i] = grey ? RGBQUAD { v, v, v, 0 }
                        : RGBQUAD { std::uint8_t(255 - i), v, std::uint8_t(i / 2), 0 };
    }
    for (int y = 0; y < height; ++y) {
        unsigned char *row = dibRow(header, height - 1 - y);
        for (int x = 0; x < width; ++x)
            row[x] = indices[std::size_t(y) * width + x];
    }
    return made.block;
}

QString imagingFixture(const QString &name)
{
    return fixturePath(QStringLiteral("imaging/") + name);
}
